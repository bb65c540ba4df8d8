// The stored record of the database tree (object kind 12), also the look of
// every tree-list window: colours, font, the four line pictures with their
// transparency, connector lines and expander boxes. After the TData base:
//   u32       background colour
//   82 bytes  font record
//   u32       line colour
//   2 × u8    transparent flags of the folder pictures (closed, open)
//   2 × u32   their transparent colours
//   u8        transparent window; u8 unnamed (kept)
//   u32       expander colour; u8 expander not filled; u32 expander fill
//   i16       fixed picture width; i16 line spacing
//   2 × str   file names of the folder pictures
//   flag 0x20000: 2 × u8, 2 × u32, 2 × str  the same for the data pictures
//   flag 0x80000: str fifth name, 3 × u32 extra colours (kept)
//   pictures  unless a standard set (0x100, 0x40000) or files (0x1000):
//             each picture embedded, with 0x800 behind a presence byte,
//             without it present only where a bitmap file header follows
//   i16       extra cell width (valid with 0x10000, else 4)
//   30 bytes  reserved (kept)
// Pictures stay packed DIBs here; the window loads the standard sets.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/format/objectrecords.h"

// TData flags of the record.
constexpr uint32_t kTreeVScroll = 0x1;
constexpr uint32_t kTreeHScroll = 0x2;           // and the horizontal extent follows the widest line
constexpr uint32_t kTreeDottedLines = 0x20;
constexpr uint32_t kTreeLines = 0x40;
constexpr uint32_t kTreeExpanders = 0x80;
constexpr uint32_t kTreeStandardSet2 = 0x100;
constexpr uint32_t kTreeClickToggles = 0x200;
constexpr uint32_t kTreePresenceBytes = 0x800;
constexpr uint32_t kTreeLinkedPictures = 0x1000;
constexpr uint32_t kTreeFixedPictureCell = 0x4000;  // and no pictures
constexpr uint32_t kTreeCellWidthValid = 0x10000;
constexpr uint32_t kTreeDataBlock = 0x20000;
constexpr uint32_t kTreeStandardSet1 = 0x40000;
constexpr uint32_t kTreeThirdBlock = 0x80000;
constexpr uint32_t kTreeDefaultFlags = 0x11E3;

enum TTreePicture { kFolderClosed = 0, kFolderOpen = 1, kEntryPicture = 2, kEntrySelected = 3 };

class TTreeListItemDataCore : public TData {
public:
  TTreeListItemDataCore();
  TTreeListItemDataCore(const TTreeListItemDataCore&) = default;
  TTreeListItemDataCore& operator=(const TTreeListItemDataCore&) = default;

  void Init() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  // Always the newest form: presence bytes, the cell width and both blocks.
  bool Write(tsl::ByteStream& f) override;

  // The standard set the flags name (2 wins over 1), 0 for none.
  int StandardSet() const;
  // The four resource names of a standard set, in picture order.
  static const char* const* StandardSetNames(int set);
  // Pictures stored in the record (neither a standard set nor files).
  bool StoresPictures() const;

  uint32_t BackgroundColour = 0xFFFFFF;
  uint32_t LineColour = 0xC0C0C0;
  tsl::FontRecord FontData;
  uint32_t ExtraColours[3] = {0, 0, 0};
  std::vector<uint8_t> Pictures[4];  // packed DIBs; empty: none
  uint8_t TransparentFlags[4] = {0, 0, 0, 0};
  uint32_t TransparentColours[4] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  uint8_t Transparent = 0;
  uint8_t UnnamedByte = 1;
  uint8_t ExpanderNoFill = 0;
  uint32_t ExpanderColour = 0;
  uint32_t ExpanderFillColour = 0xFFFFFF;
  int16_t FixedPictureWidth = 4;
  int16_t LineSpacing = 4;
  string PictureNames[4];
  string FifthName;
  uint8_t Reserved[30] = {};
  int16_t ExtraCellWidth = 0;
  // Not stored.
  int32_t ExpanderWidth = 9;
  int32_t ExpanderHeight = 9;
  int32_t PictureGap = 6;

protected:
  // Loads the pictures the flags name from files (the Win32 record also
  // loads the standard sets); the core loads files through the open project.
  virtual void LoadLinkedPictures();
};
