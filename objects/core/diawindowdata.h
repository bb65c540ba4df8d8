// The data record of the slide window (object kind 16 "Diafenster"): the
// object's slide show, the folder whose pictures it lists, the folder and
// extension of prepared thumbnails, the colours of the list, the selection
// frame and the picture viewer, and the cell size shared by every slide
// window.
//
// Stored form, after the TData base (u32 record length, u32 flags, two i32):
//   the whole slide show (slideshow/core/diaoption.h, from its magic on)
//   PictureFolder, ThumbnailFolder, ThumbnailExtension (short strings)
//   i32 thumbnail width, i32 thumbnail height (class-wide, see ThumbnailSize)
//   u32 ListColor, u32 SelectionColor, u32 ViewerColor, 32 reserved bytes
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"
#include "slideshow/core/diaoption.h"

// Data flags of the record.
constexpr uint32_t kDiaSubfolders = 0x01;        // the list includes every subfolder's pictures
constexpr uint32_t kDiaViewerOnDblClk = 0x02;    // a double-click shows the caret entry in the viewer
constexpr uint32_t kDiaViewerFullScreen = 0x08;  // the viewer runs full-screen on ViewerColor
constexpr uint32_t kDiaDefaultFlags = kDiaSubfolders | kDiaViewerOnDblClk | kDiaViewerFullScreen;

constexpr int32_t kDiaDefaultThumbnail = 96;
// Cell sizes outside this range are kept and written back, but cells are
// drawn at the default.
constexpr int32_t kDiaSmallestThumbnail = 16;
constexpr int32_t kDiaLargestThumbnail = 255;
constexpr size_t kDiaWindowReservedBytes = 32;

class TDiaWindowData : public TData {
public:
  TDiaWindowData();
  TDiaWindowData(const TDiaWindowData&) = delete;
  TDiaWindowData& operator=(const TDiaWindowData&) = delete;

  // The kind's defaults; the slide show keeps its state.
  void Init() override;
  // Everything but the class-wide cell size; a record of another kind leaves
  // this one at its defaults.
  void Assign(const TData* other) override;
  // Names are resolved through the open project when one is open. Ends by
  // the record-end rule of TData.
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  // One cell size for every slide window: the last record read sets it, and
  // every record writes it as it was read.
  static tsl::SizeL ThumbnailSize;
  // The size cells are drawn at: a side outside 16..255 counts as 96.
  static tsl::SizeL CellSize();

  TDiaOption Option;
  string ThumbnailFolder;
  string PictureFolder;
  uint32_t SelectionColor = 0x0000FF;
  string ThumbnailExtension = "bmp";
  uint32_t ViewerColor = 0x000000;
  uint32_t ListColor = 0xC0C0C0;
  uint8_t Reserved[kDiaWindowReservedBytes] = {};
};
