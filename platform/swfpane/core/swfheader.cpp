#include "platform/swfpane/core/swfheader.h"

#include <zlib.h>

#include <cstring>

namespace {

// The stage rectangle (5-bit field width, then four signed fields), the
// frame rate and the frame count: at most 17 + 4 bytes.
constexpr size_t kBodyHeaderMax = 21;

class TBitReader {
public:
  TBitReader(const uint8_t* data, size_t size) : Data(data), Size(size) {}
  bool Unsigned(int bits, uint32_t& out) {
    out = 0;
    for (int i = 0; i < bits; ++i) {
      if (Bit / 8 >= Size) return false;
      out = (out << 1) | ((Data[Bit / 8] >> (7 - Bit % 8)) & 1u);
      ++Bit;
    }
    return true;
  }
  bool Signed(int bits, int32_t& out) {
    uint32_t u = 0;
    if (!Unsigned(bits, u)) return false;
    if (bits > 0 && bits < 32 && (u & (1u << (bits - 1)))) u |= ~0u << bits;
    out = static_cast<int32_t>(u);
    return true;
  }
  size_t BytesUsed() const { return (Bit + 7) / 8; }

private:
  const uint8_t* Data;
  size_t Size;
  size_t Bit = 0;
};

// Inflates the start of a compressed body into `out`; the number of bytes
// made (possibly fewer than asked when the stream ends or breaks).
size_t InflateStart(const uint8_t* data, size_t size, uint8_t* out, size_t want) {
  z_stream z;
  std::memset(&z, 0, sizeof z);
  if (inflateInit(&z) != Z_OK) return 0;
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
  z.next_out = out;
  z.avail_out = static_cast<uInt>(want);
  while (z.avail_out > 0) {
    const int r = inflate(&z, Z_SYNC_FLUSH);
    if (r != Z_OK) break;
  }
  const size_t made = want - z.avail_out;
  inflateEnd(&z);
  return made;
}

}  // namespace

bool ReadSwfHeader(const uint8_t* data, size_t size, TSwfHeader& out) {
  out = TSwfHeader();
  if (!data || size < 8) return false;
  const bool compressed = data[0] == 'C';
  if (!((data[0] == 'F' || compressed) && data[1] == 'W' && data[2] == 'S')) return false;
  out.Compressed = compressed;
  out.Version = data[3];
  out.FileLength = static_cast<uint32_t>(data[4]) | static_cast<uint32_t>(data[5]) << 8 |
                   static_cast<uint32_t>(data[6]) << 16 | static_cast<uint32_t>(data[7]) << 24;
  uint8_t inflated[kBodyHeaderMax];
  const uint8_t* body = data + 8;
  size_t bodySize = size - 8;
  if (compressed) {
    bodySize = InflateStart(body, bodySize, inflated, sizeof inflated);
    body = inflated;
  }
  TBitReader bits(body, bodySize);
  uint32_t width = 0;
  if (!bits.Unsigned(5, width)) return false;
  const int n = static_cast<int>(width);
  if (!bits.Signed(n, out.XMin) || !bits.Signed(n, out.XMax) || !bits.Signed(n, out.YMin) ||
      !bits.Signed(n, out.YMax)) {
    return false;
  }
  const size_t at = bits.BytesUsed();
  if (bodySize < at + 4) return false;
  out.FrameRate = body[at + 1] + body[at] / 256.0;
  out.FrameCount = static_cast<uint16_t>(body[at + 2] | body[at + 3] << 8);
  return true;
}
