// TBackground: the fill of a page or of the desk frame behind it, and its
// stored form. The portable record holds the picture as a packed DIB; brush
// making and painting are the Win32 side's (engine/background.h).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/core/streamenc.h"

// The framework's GDI classes (platform/owl), used by the Win32 side only.
class TBrush;
class TDC;
class TPoint;
class TRect;

// Fill modes.
enum : uint16_t {
  kFillWindow = 0,        // the system window colour
  kFillPattern = 1,       // pattern bitmap 9000 + pattern
  kFillColour = 2,        // solid Colour1
  kFillStretch = 3,       // the picture stretched over the area
  kFillGradientDown = 4,  // Colour1 at the top to Colour2 at the bottom
  kFillGradientUp = 5,    // Colour2 at the top to Colour1 at the bottom
  kFillTile = 6,          // the picture tiled from the top-left corner
};
constexpr uint32_t kBackgroundLinked = 0x1;      // picture named by file, not embedded
constexpr uint32_t kBackgroundHasByte = 0x4;     // stored record carries a has-picture byte
constexpr uint16_t kBackgroundPatterns = 12;

class TBackground {
public:
  TBackground() = default;
  // Copies mode, length, flags, colours, file name, pattern and picture; a
  // copy's reserved bytes are zero, an assigned record keeps its own.
  TBackground(const TBackground& o);
  TBackground& operator=(const TBackground& o);
  virtual ~TBackground() = default;

  virtual void Read(tsl::ByteStream& f);
  // Stores flag 0x4 and the measured length.
  virtual void Write(tsl::ByteStream& f);

  bool UsesPicture() const { return Mode == kFillStretch || Mode == kFillTile; }
  // Loads the picture file (flag 0x1) through the open project; true when a
  // picture resulted.
  bool LoadPicture();
  // Drops what the mode does not use.
  void FreeGdiObjects();
  // The picture's size; false when there is no picture with pixels, in which
  // case the area is filled with the window colour.
  bool GetPictureSize(int32_t& width, int32_t& height) const;

  // The Win32 side (engine/background.cpp). The brush is made anew for every
  // paint, so the record keeps no GDI objects.
  // Modes 1 and 2: a pattern brush of bitmap 9000 + pattern or a solid brush
  // of Colour1; null for other modes and patterns outside 0-11.
  std::unique_ptr<TBrush> CreateBrush() const;
  // Fills `rect` by mode; without brush or picture with the window colour
  // over `rect` moved by `origin`. `drawDib` is the page's DrawDib handle.
  void Paint(TDC& dc, const TRect& rect, const TPoint& origin, void* drawDib) const;
  // The part `area` (page coordinates) of a page's background into an
  // off-screen bitmap whose top-left pixel is page point `origin`: patterns,
  // gradients, stretched and tiled pictures stay where they lie on the page
  // `pageRect`, whatever part is painted.
  void PaintPart(TDC& dc, const TRect& area, const TPoint& origin, const TRect& pageRect,
                 void* drawDib) const;
  // Bands of 8 pixels from the first colour to the second (mode 5: from
  // Colour2 to Colour1).
  void PaintGradient(TDC& dc, const TRect& rect) const;

  uint16_t Mode = kFillColour;
  uint32_t Length = 0xFFFFFFFF;
  uint32_t Flags = kBackgroundLinked;
  uint32_t Colour1 = 0xC0C0C0;
  uint32_t Colour2 = 0x00FFFF;
  string PictureFile;
  uint16_t Pattern = 0;
  uint8_t Reserved16[16] = {};
  std::vector<uint8_t> Picture;  // packed DIB of modes 3 and 6
};
