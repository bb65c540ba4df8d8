#include "engine/core/format/printinfo.h"

#include <cstring>

#include "engine/core/format/rawio.h"

using namespace tsl;

namespace {
// The switches and the alignment values are stored in 16 bits, widened with
// their sign when read.
int32_t ReadShortValue(int32_t preset, ByteStream& f) {
  int16_t v = static_cast<int16_t>(preset);
  if (!ReadFixed(&v, 2, f)) return preset;
  return v;
}
}  // namespace

FontRecord TBasePrintOutInfo::DefaultFontData() {
  FontRecord r;
  r.Flags = 0x50103 | 0x2000;
  r.lfHeight = -13;
  std::strcpy(r.lfFaceName, "Courier New");
  r.PointSize = 100;
  r.Color = 0;
  r.FontType = 0x6000;
  r.SizeMin = 1;
  r.SizeMax = 36;
  return r;
}

TBasePrintOutInfo::TBasePrintOutInfo()
    : PageNumberFontData(DefaultFontData()), TitleFontData(DefaultFontData()) {}

void TBasePrintOutInfo::Read(ByteStream& f) {
  ShowPageNumber = ReadShortValue(ShowPageNumber, f) != 0;
  ShowTitle = ReadShortValue(ShowTitle, f) != 0;
  ReadShortString(Title, f);
  ReadDouble(MarginLeft, f);
  ReadDouble(MarginTop, f);
  ReadDouble(MarginRight, f);
  ReadDouble(MarginBottom, f);
  ReadFontRecord(PageNumberFontData, f);
  ReadFontRecord(TitleFontData, f);
  TitleAlign = ReadShortValue(TitleAlign, f);
  PageNumberAlign = ReadShortValue(PageNumberAlign, f);
  PictureFlags = static_cast<uint32_t>(ReadShortValue(static_cast<int32_t>(PictureFlags), f));
  ReadDouble(TargetWidth, f);
  ReadDouble(TargetHeight, f);
  ReadU8(Landscape, f);
  ReadFixed(Reserved, sizeof Reserved, f);
}

void TBasePrintOutInfo::Write(ByteStream& f) const {
  // The switches are bytes stored as sign-extended 16-bit values.
  WriteI16(static_cast<int8_t>(ShowPageNumber), f);
  WriteI16(static_cast<int8_t>(ShowTitle), f);
  WriteShortString(Title, f);
  WriteDouble(MarginLeft, f);
  WriteDouble(MarginTop, f);
  WriteDouble(MarginRight, f);
  WriteDouble(MarginBottom, f);
  WriteFontRecord(PageNumberFontData, f);
  WriteFontRecord(TitleFontData, f);
  WriteU16(static_cast<uint16_t>(TitleAlign), f);
  WriteU16(static_cast<uint16_t>(PageNumberAlign), f);
  WriteU16(static_cast<uint16_t>(PictureFlags), f);
  WriteDouble(TargetWidth, f);
  WriteDouble(TargetHeight, f);
  WriteU8(Landscape, f);
  WriteFixed(Reserved, sizeof Reserved, f);
}
