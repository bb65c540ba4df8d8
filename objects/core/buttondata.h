// The stored part of the button's data record (object kind 6): style,
// caption and font, up to three pictures with their transparency, a system
// icon or an icon from a file, the cursor, the group, a strip of frames and,
// in files of older versions, four inline actions. Pictures are kept here
// as packed DIBs; the Win32 record (objects/button.h) makes its pictures,
// font and icon from these.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/format/objectrecords.h"
#include "resources/ids_engine.h"

// TData flags of the button record.
constexpr uint32_t kButtonCaptionHidden = 0x02;
constexpr uint32_t kButtonPresenceBytes = 0x04;     // each embedded picture has a presence byte
constexpr uint32_t kButtonLinkedPictures = 0x1000;  // pictures are loaded from their files
constexpr uint32_t kButtonActionsInList = 0x1000000;  // no inline actions stored

// StyleFlags.
constexpr uint32_t kButtonHasCaptionFields = 0x10;  // caption, font and frames are stored
constexpr uint32_t kButtonHasGroup = 0x20;
constexpr uint32_t kButtonGroupDefault = 0x40;  // pressed at page start

constexpr int16_t kButtonNoGroup = -1;
constexpr int kButtonLegacyActions = 4;

enum TButtonStyle : int16_t {
  kButtonText = 0,         // 3D frame and caption
  kButtonPicture = 1,      // one picture, also shown while down
  kButtonSystemIcon = 2,
  kButtonHotSpot = 3,      // invisible; only its cursor shows
  kButtonTwoPictures = 4,  // up, down
  kButtonFileIcon = 5,
  kButtonThreePictures = 6,  // up, down, hover
};

// The system icons and cursors by their index in the record.
constexpr uint16_t kButtonSystemIcons[5] = {32512, 32513, 32514, 32515, 32516};
constexpr uint16_t kButtonCursors[6] = {32512, 32513, 32516, 32515, 32514, 32641};  // 6: the program's own
constexpr int kButtonOwnCursor = 6;
constexpr uint16_t kButtonOwnCursorResource = IDC_PROGRAM_CURSOR;

class TButtonDataCore : public TData {
public:
  TButtonDataCore();
  TButtonDataCore(const TButtonDataCore&) = default;
  TButtonDataCore& operator=(const TButtonDataCore&) = default;

  void Init() override;
  // Copies every field (LatchedState follows DisplayState); nothing for
  // itself; a record of another kind leaves this one at its defaults.
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  // Always the newest form: presence bytes, actions in the object's list,
  // caption fields and group stored.
  bool Write(tsl::ByteStream& f) override;

  // Loads the three pictures from their files again (the linked form).
  void LoadLinkedPictures();
  // Picture 1-3 and its name.
  std::vector<uint8_t>& PictureBlock(int n);
  string& PictureName(int n);
  bool IsGroupDefault() const { return (StyleFlags & kButtonGroupDefault) != 0; }

  int16_t Style = kButtonText;
  uint32_t DisplayState = 0;  // 0 up, 1 down, 2 hover; never stored
  uint32_t LatchedState = 0;  // 1 while held or latched down; never stored
  uint32_t FaceColor = 0xC0C0C0;
  TActionStruct LegacyActions[kButtonLegacyActions];
  uint8_t Transparent1 = 0, Transparent2 = 0, Transparent3 = 0;
  uint32_t TransparentColor1 = 0, TransparentColor2 = 0, TransparentColor3 = 0;
  uint16_t TextAlign = 0;  // 0 centred, 1 left, 2 right
  uint32_t StyleFlags = 0;
  int16_t FrameCount = 1;
  int16_t FrameIndex = 1;  // 1-based
  int16_t Group = kButtonNoGroup;
  string Caption;
  tsl::FontRecord Font;
  string PictureName1;
  std::vector<uint8_t> PictureBlock1;  // packed DIB, empty when none
  int16_t IconIndex = 0;
  int16_t CursorIndex = 0;
  string PictureName2;
  std::vector<uint8_t> PictureBlock2;
  string PictureName3;
  std::vector<uint8_t> PictureBlock3;

  // The caption a new button gets; the Win32 record takes it from the
  // string table.
  static const char* const kDefaultCaption;

private:
  void ReadPicture(string& name, std::vector<uint8_t>& block, tsl::ByteStream& f);
  void WritePicture(const string& name, const std::vector<uint8_t>& block, tsl::ByteStream& f) const;
};

// The frame of a strip of equal-width frames that is shown, as source
// columns [left, right) of a picture `width` pixels wide; count and index
// below 1 count as 1.
void ButtonFrameColumns(int width, int16_t frameCount, int16_t frameIndex, int& left, int& right);
