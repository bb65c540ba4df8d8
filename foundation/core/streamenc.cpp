#include "foundation/core/streamenc.h"

#include <cstring>

namespace {

// Chunk size for lengths read from streams that cannot tell their length:
// the buffer grows only as bytes really arrive.
constexpr uint32_t kChunk = 64 * 1024;

bool WriteString(const char* s, size_t n, bool longLength, ByteStream& f) {
  bool ok;
  if (longLength) {
    const uint32_t len = static_cast<uint32_t>(n);
    ok = WriteFixed(&len, 4, f);
  } else {
    const uint16_t len = static_cast<uint16_t>(n);
    ok = WriteFixed(&len, 2, f);
  }
  if (ok && n) ok = f.Write(s, static_cast<uint32_t>(n)) == n;
  return ok;
}

// Reads `len` characters. False when the stream ends first.
bool ReadChars(std::string& out, uint32_t len, ByteStream& f) {
  out.clear();
  if (len == 0) return true;
  const int64_t left = f.Remaining();
  if (left >= 0) {
    if (len > left) {
      f.Seek(0, ByteStream::end);  // nothing after a truncated string
      return false;
    }
    out.resize(len);
    return f.Read(&out[0], len) == len;
  }
  while (out.size() < len) {
    const uint32_t want = std::min<uint32_t>(kChunk, len - static_cast<uint32_t>(out.size()));
    const size_t at = out.size();
    out.resize(at + want);
    const uint32_t got = f.Read(&out[at], want);
    if (got != want) {
      out.clear();
      return false;
    }
  }
  return true;
}

void ReadString(string& s, bool longLength, ByteStream& f) {
  uint32_t len = 0;
  uint8_t raw[4];
  const uint32_t width = longLength ? 4 : 2;
  const uint32_t got = f.Read(raw, width);
  if (got == 0) return;  // nothing left: keep the preset
  if (got < width) {
    s = string();
    return;
  }
  len = longLength ? (raw[0] | raw[1] << 8 | raw[2] << 16 | static_cast<uint32_t>(raw[3]) << 24)
                   : static_cast<uint32_t>(raw[0] | raw[1] << 8);
  std::string chars;
  if (!ReadChars(chars, len, f)) {
    s = string();
    return;
  }
  // Characters are taken as they are, but like the C string they were read
  // into, the text ends at an embedded zero.
  const size_t z = chars.find('\0');
  if (z != std::string::npos) chars.resize(z);
  s = string(std::move(chars));
}

}  // namespace

bool ReadFixed(void* dst, uint32_t n, ByteStream& f) {
  uint8_t tmp[128];
  std::vector<uint8_t> big;
  uint8_t* buf = tmp;
  if (n > sizeof tmp) {
    big.resize(n);
    buf = big.data();
  }
  const uint32_t got = f.Read(buf, n);
  if (got == 0) return false;
  if (got < n)
    std::memset(dst, 0, n);
  else
    std::memcpy(dst, buf, n);
  return true;
}

bool WriteFixed(const void* src, uint32_t n, ByteStream& f) { return f.Write(src, n) == n; }

bool WriteShortString(const char* s, ByteStream& f) {
  return WriteString(s, s ? std::strlen(s) : 0, false, f);
}
bool WriteShortString(const string& s, ByteStream& f) { return WriteString(s.c_str(), s.length(), false, f); }
bool WriteLongString(const char* s, ByteStream& f) {
  return WriteString(s, s ? std::strlen(s) : 0, true, f);
}
bool WriteLongString(const string& s, ByteStream& f) { return WriteString(s.c_str(), s.length(), true, f); }
void ReadShortString(string& s, ByteStream& f) { ReadString(s, false, f); }
void ReadLongString(string& s, ByteStream& f) { ReadString(s, true, f); }

bool FWriteShortString(const string& s, std::FILE* f) {
  if (!f) return false;
  const uint16_t len = static_cast<uint16_t>(s.length());
  if (std::fwrite(&len, 2, 1, f) != 1) return false;
  return len == 0 || std::fwrite(s.c_str(), 1, len, f) == len;
}

void FReadShortString(string& s, std::FILE* f) {
  if (!f) return;
  uint8_t raw[2];
  const size_t got = std::fread(raw, 1, 2, f);
  if (got == 0) return;
  if (got < 2) {
    s = string();
    return;
  }
  const uint16_t len = static_cast<uint16_t>(raw[0] | raw[1] << 8);
  std::string chars(len, '\0');
  if (len && std::fread(&chars[0], 1, len, f) != len) {
    s = string();
    return;
  }
  const size_t z = chars.find('\0');
  if (z != std::string::npos) chars.resize(z);
  s = string(std::move(chars));
}

bool WriteLong(int32_t v, ByteStream& f) { return WriteFixed(&v, 4, f); }
bool WriteLong(uint32_t v, ByteStream& f) { return WriteFixed(&v, 4, f); }
void ReadLong(int32_t& v, ByteStream& f) { ReadFixed(&v, 4, f); }
void ReadLong(uint32_t& v, ByteStream& f) { ReadFixed(&v, 4, f); }

namespace tsl {

namespace {
void Put32(uint8_t*& p, uint32_t v) { std::memcpy(p, &v, 4); p += 4; }
uint32_t Get32(const uint8_t*& p) { uint32_t v; std::memcpy(&v, p, 4); p += 4; return v; }
}  // namespace

bool WriteFontRecord(const FontRecord& r, ByteStream& f) {
  uint8_t b[kFontRecordSize];
  uint8_t* p = b;
  Put32(p, r.Flags);
  Put32(p, static_cast<uint32_t>(r.lfHeight));
  Put32(p, static_cast<uint32_t>(r.lfWidth));
  Put32(p, static_cast<uint32_t>(r.lfEscapement));
  Put32(p, static_cast<uint32_t>(r.lfOrientation));
  Put32(p, static_cast<uint32_t>(r.lfWeight));
  const uint8_t bytes[8] = {r.lfItalic, r.lfUnderline, r.lfStrikeOut, r.lfCharSet,
                            r.lfOutPrecision, r.lfClipPrecision, r.lfQuality, r.lfPitchAndFamily};
  std::memcpy(p, bytes, 8); p += 8;
  std::memcpy(p, r.lfFaceName, 32); p += 32;
  Put32(p, static_cast<uint32_t>(r.PointSize));
  Put32(p, r.Color);
  std::memcpy(p, &r.FontType, 2); p += 2;
  Put32(p, static_cast<uint32_t>(r.SizeMin));
  Put32(p, static_cast<uint32_t>(r.SizeMax));
  return WriteFixed(b, kFontRecordSize, f);
}

void ReadFontRecord(FontRecord& r, ByteStream& f) {
  uint8_t b[kFontRecordSize];
  if (ReadFixed(b, kFontRecordSize, f)) {
    const uint8_t* p = b;
    r.Flags = Get32(p);
    r.lfHeight = static_cast<int32_t>(Get32(p));
    r.lfWidth = static_cast<int32_t>(Get32(p));
    r.lfEscapement = static_cast<int32_t>(Get32(p));
    r.lfOrientation = static_cast<int32_t>(Get32(p));
    r.lfWeight = static_cast<int32_t>(Get32(p));
    r.lfItalic = p[0]; r.lfUnderline = p[1]; r.lfStrikeOut = p[2]; r.lfCharSet = p[3];
    r.lfOutPrecision = p[4]; r.lfClipPrecision = p[5]; r.lfQuality = p[6]; r.lfPitchAndFamily = p[7];
    p += 8;
    std::memcpy(r.lfFaceName, p, 32); p += 32;
    r.PointSize = static_cast<int32_t>(Get32(p));
    r.Color = Get32(p);
    std::memcpy(&r.FontType, p, 2); p += 2;
    r.SizeMin = static_cast<int32_t>(Get32(p));
    r.SizeMax = static_cast<int32_t>(Get32(p));
  }
  r.lfFaceName[31] = '\0';
}

bool ReadEmbeddedDib(std::vector<uint8_t>& block, ByteStream& f) {
  block.clear();
  uint8_t h[14];
  if (f.Read(h, 14) != 14) return false;
  const uint16_t type = static_cast<uint16_t>(h[0] | h[1] << 8);
  if (type != kBitmapFileType) return false;
  uint32_t size;
  std::memcpy(&size, h + 2, 4);
  if (size < kMinEmbeddedDibSize) return false;
  const uint32_t n = size - 40;
  const int64_t left = f.Remaining();
  if (left >= 0 && n > left) return false;
  std::string bytes;
  if (!ReadChars(bytes, n, f)) return false;
  block.assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace tsl
