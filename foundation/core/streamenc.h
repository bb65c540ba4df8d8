// The encodings of the project file and the program's other data files:
// little-endian, unaligned, field by field. Every record reader uses these,
// and they carry the reading rules for truncated or hostile files:
//  - no bytes left: the destination keeps its preset;
//  - the file ends inside a value or a string: zero values, an empty string;
//  - a length is checked against the bytes left before anything is
//    allocated for it.
// Portable: no Windows headers. The player's TFile is a ByteStream.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

using tsl::ByteStream;

// Reads exactly `n` bytes into `dst`. Returns false (dst untouched) when no
// byte was left; a partial read zero-fills `dst` and returns true.
bool ReadFixed(void* dst, uint32_t n, ByteStream& f);
bool WriteFixed(const void* src, uint32_t n, ByteStream& f);

// Short string: u16 length + characters; long string: u32 length + characters.
bool WriteShortString(const char* s, ByteStream& f);
bool WriteShortString(const string& s, ByteStream& f);
bool WriteLongString(const char* s, ByteStream& f);
bool WriteLongString(const string& s, ByteStream& f);
void ReadShortString(string& s, ByteStream& f);
void ReadLongString(string& s, ByteStream& f);

// The short string on a buffered standard I/O stream.
bool FWriteShortString(const string& s, std::FILE* f);
void FReadShortString(string& s, std::FILE* f);

bool WriteLong(int32_t v, ByteStream& f);
bool WriteLong(uint32_t v, ByteStream& f);
void ReadLong(int32_t& v, ByteStream& f);
void ReadLong(uint32_t& v, ByteStream& f);

// Rectangles (left, top, right, bottom), sizes (cx, cy) and points (x, y)
// as 32-bit values; templates so both Win32 and portable types fit.
template <class R>
bool WriteRect(const R& r, ByteStream& f) {
  const int32_t v[4] = {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top),
                        static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
  return WriteFixed(v, sizeof v, f);
}
template <class R>
void ReadRect(R& r, ByteStream& f) {
  int32_t v[4];
  if (!ReadFixed(v, sizeof v, f)) return;
  r.left = v[0]; r.top = v[1]; r.right = v[2]; r.bottom = v[3];
}
template <class S>
bool WriteSize(const S& s, ByteStream& f) {
  const int32_t v[2] = {static_cast<int32_t>(s.cx), static_cast<int32_t>(s.cy)};
  return WriteFixed(v, sizeof v, f);
}
template <class S>
void ReadSize(S& s, ByteStream& f) {
  int32_t v[2];
  if (!ReadFixed(v, sizeof v, f)) return;
  s.cx = v[0]; s.cy = v[1];
}
template <class P>
bool WritePoint(const P& p, ByteStream& f) {
  const int32_t v[2] = {static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
  return WriteFixed(v, sizeof v, f);
}
template <class P>
void ReadPoint(P& p, ByteStream& f) {
  int32_t v[2];
  if (!ReadFixed(v, sizeof v, f)) return;
  p.x = v[0]; p.y = v[1];
}

namespace tsl {

// The 82-byte font record: a font-dialog choice around a LOGFONT.
struct FontRecord {
  uint32_t Flags = 0;
  int32_t lfHeight = 0, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = 0;
  uint8_t lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0;
  uint8_t lfOutPrecision = 0, lfClipPrecision = 0, lfQuality = 0, lfPitchAndFamily = 0;
  char lfFaceName[32] = {};
  int32_t PointSize = 0;
  uint32_t Color = 0;
  uint16_t FontType = 0;
  int32_t SizeMin = 0, SizeMax = 0;
};
constexpr uint32_t kFontRecordSize = 82;

bool WriteFontRecord(const FontRecord& r, ByteStream& f);
// Face name always terminated in memory (byte 31) after a read.
void ReadFontRecord(FontRecord& r, ByteStream& f);

// Embedded picture: a 14-byte bitmap file header whose size field is the
// packed DIB's block size + 40, then the block.
constexpr uint16_t kBitmapFileType = 0x4D42;  // "BM"
// The smallest size field a reader accepts: a BITMAPINFOHEADER and no more.
constexpr uint32_t kMinEmbeddedDibSize = 80;

// Reads one embedded picture into `block`. False (and `block` empty) for a
// wrong type (only the 14 header bytes are consumed), a size below 80 or one
// running past the end of the stream.
bool ReadEmbeddedDib(std::vector<uint8_t>& block, ByteStream& f);

}  // namespace tsl
