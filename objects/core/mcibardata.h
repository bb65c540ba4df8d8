// TMCIBarData: the data record of the MCI control bar (kind 7): which
// buttons it shows and how, the media object it steers, and the settings of
// its position bar.
//
// Stored form, little endian, after the 16-byte TData base (the writer sets
// flag kMciBarHasSettings):
//   16   u16  style: low nibble 0 small images, odd large, other none;
//             high byte the layout, kMciBarRow tested before kMciBarColumn
//   18   u16  button mask (kMciBarButtons)
//   20   i32  media object id (-1 none)
//   24   16   reserved block, carried unread; absent up to version 2.4
//   40   u8   show the position bar   } only with kMciBarHasSettings
//   41   82   position-bar settings   } (TKVR_ScrollerSettings)
// Files up to version 2.4 get the default style whatever they stored.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"
#include "objects/core/scrollersettings.h"

constexpr uint32_t kMciBarHasSettings = 0x0008;
constexpr uint16_t kMciBarDefaultStyle = 0x0100;
constexpr uint16_t kMciBarDefaultMask = 0x0005;  // play and stop
constexpr uint8_t kMciBarRow = 0x01;
constexpr uint8_t kMciBarColumn = 0x02;
// Space between the position bar and the buttons below it.
constexpr int kMciBarGap = 2;

// The buttons in panel order: the mask bit that makes one present, the
// action code a click sends and the bitmap cel it shows (its index).
struct TMciBarButton {
  uint16_t Mask;
  int16_t ActionCode;
};
constexpr int kMciBarButtonCount = 6;
constexpr TMciBarButton kMciBarButtons[kMciBarButtonCount] = {
    {0x01, 0},  // play
    {0x02, 2},  // pause
    {0x04, 1},  // stop
    {0x10, 5},  // to the start
    {0x08, 4},  // to the end
    {0x20, 6},  // the device's own command (a CD's door)
};

// The two image sets (bitmaps 41 and 42): one row of six cels, each three
// images side by side (up, pressed, inactive).
enum class TMciBarImages { None, Small, Large };
constexpr int kMciBarSmallImageWidth = 20, kMciBarSmallHeight = 18;
constexpr int kMciBarLargeImageWidth = 30, kMciBarLargeHeight = 26;
int MciBarCelWidth(TMciBarImages set);   // three images
int MciBarCelHeight(TMciBarImages set);

enum class TMciBarLayout { None, Row, Column };

class TMCIBarData : public TData {
public:
  TMCIBarData();

  void Init() override;
  // Another class's record resets this one to its defaults.
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  TMciBarImages ImageSet() const;
  TMciBarLayout Layout() const;
  // Present buttons, and whether any can be drawn and pressed.
  int ButtonCount() const;
  bool HasButtons() const { return ImageSet() != TMciBarImages::None && Layout() != TMciBarLayout::None && ButtonCount() > 0; }
  // The index (0-5) of the present button under a point relative to the
  // panel's top-left corner; -1 for none.
  int ButtonAt(int x, int y) const;
  // Button states from the mask and the panel size from the layout.
  void Recompute();

  TKVR_ScrollerSettings BarSettings;
  uint16_t Style = kMciBarDefaultStyle;
  uint16_t ButtonMask = kMciBarDefaultMask;
  int32_t MediaObjectId = -1;
  uint8_t ShowBar = 1;
  uint8_t Reserved[16] = {};
  int32_t ButtonStates[kMciBarButtonCount] = {};  // -1 absent, 0 up, 1 pressed
  int32_t PanelWidth = 100;
  int32_t PanelHeight = 100;
};
