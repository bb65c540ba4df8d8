// TBasePrintOutInfo: the page set-up that a printing action carries, in its
// stream form. The fonts made from the two font choices belong to the
// printing side; the record keeps the choices.
#pragma once
#include <cstdint>

#include "foundation/core/streamenc.h"

class TBasePrintOutInfo {
public:
  TBasePrintOutInfo();
  TBasePrintOutInfo(const TBasePrintOutInfo&) = default;
  TBasePrintOutInfo& operator=(const TBasePrintOutInfo&) = default;
  virtual ~TBasePrintOutInfo() = default;

  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;

  // The font choice of both fonts when a record is made.
  static tsl::FontRecord DefaultFontData();

  uint8_t ShowPageNumber = 0;
  uint8_t ShowTitle = 0;
  string Title;
  double MarginLeft = 0.0;
  double MarginTop = 0.0;
  double MarginRight = 0.0;
  double MarginBottom = 0.0;
  tsl::FontRecord PageNumberFontData;
  tsl::FontRecord TitleFontData;
  int32_t TitleAlign = 1;       // 0 left, 1 centred, 2 right
  int32_t PageNumberAlign = 1;
  uint32_t PictureFlags = 5;    // 0x1 fill, 0x2 fixed size, 0x4 aspect, 0x8 no picture options
  double TargetWidth = 100.0;   // millimetres
  double TargetHeight = 100.0;
  uint8_t Landscape = 0;
  uint8_t Reserved[31] = {};
};
