#include "engine/core/format/rawio.h"

#include <cstdlib>
#include <cstring>

namespace tsl {

string FixedFieldText(const char* field, size_t size) {
  const void* z = std::memchr(field, 0, size);
  return string(field, z ? static_cast<size_t>(static_cast<const char*>(z) - field) : size);
}

void SetFixedFieldText(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  if (!text || size == 0) return;
  const size_t n = std::min(std::strlen(text), size - 1);
  std::memcpy(field, text, n);
}

RecordEnd ContinueAtRecordEnd(ByteStream& f, int64_t start, uint32_t length) {
  const int64_t pos = f.Position();
  const int64_t end = start + static_cast<int64_t>(length);
  if (length == 0 || pos < 0 || end < pos) return RecordEnd::Continued;
  const int64_t len = f.Length();
  if (len >= 0 && end > len) return RecordEnd::PastEnd;
  if (end != pos) f.Seek(end);
  return RecordEnd::Continued;
}

uint32_t PatchRecordLength(ByteStream& f, int64_t start) {
  const int64_t end = f.Position();
  const int64_t n = end - start;
  const uint32_t length = n > 0 && n <= 0xFFFFFFFFLL ? static_cast<uint32_t>(n) : 0;
  f.Seek(start);
  WriteU32(length, f);
  f.Seek(end);
  return length;
}

bool SeekInside(ByteStream& f, int64_t offset) {
  if (offset < 0) return false;
  const int64_t len = f.Length();
  if (len >= 0 && offset > len) return false;
  return f.Seek(offset) == offset;
}

bool PeekBitmapHeader(ByteStream& f) {
  const int64_t pos = f.Position();
  uint8_t h[14];
  const uint32_t got = f.Read(h, sizeof h);
  f.Seek(pos);
  return got == sizeof h && h[0] == 'B' && h[1] == 'M';
}

bool PackedDibSize(const std::vector<uint8_t>& dib, int32_t& width, int32_t& height) {
  width = height = 0;
  if (dib.size() < 12) return false;
  uint32_t headerSize;
  std::memcpy(&headerSize, dib.data(), 4);
  if (headerSize == 12) {
    uint16_t w, h;
    std::memcpy(&w, dib.data() + 4, 2);
    std::memcpy(&h, dib.data() + 6, 2);
    width = w;
    height = h;
  } else if (headerSize >= 16 && headerSize <= dib.size()) {
    int32_t w, h;
    std::memcpy(&w, dib.data() + 4, 4);
    std::memcpy(&h, dib.data() + 8, 4);
    if (w < 0 || h == INT32_MIN) return false;
    width = w;
    height = h < 0 ? -h : h;  // top-down rows
  } else {
    return false;
  }
  return width > 0 && height > 0;
}

}  // namespace tsl
