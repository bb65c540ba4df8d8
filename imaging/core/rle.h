// Run-length decoding of bitmap pixel data (RLE8 and RLE4 as bitmap files
// and packed DIBs store them). Whatever the input, nothing is written
// outside rowBytes × height bytes; runs that overrun a row go on into the
// next one, writes past the last row are dropped. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tsl {

enum class RleResult {
  Ok,         // end of picture reached, every row written, or the data ended in the last row
  Truncated,  // the data ended before the last row
};

// Writers often leave out the end-of-picture code (and the last end of
// line): data that ends in the last row has shown every row it holds.
inline RleResult EndOfData(uint64_t row, int32_t height) {
  return row + 1 >= uint64_t(height > 0 ? height : 0) ? RleResult::Ok : RleResult::Truncated;
}

// A byte source: Next() gives 0..255, or -1 at the end.
class RleMemorySource {
public:
  RleMemorySource(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}
  int Next() { return p_ < end_ ? *p_++ : -1; }

private:
  const uint8_t* p_;
  const uint8_t* end_;
};

template <class Source>
RleResult DecodeRle8(Source& src, uint8_t* bits, uint32_t rowBytes, int32_t height) {
  const uint64_t total = uint64_t(rowBytes) * uint64_t(height > 0 ? height : 0);
  std::memset(bits, 0, size_t(total));
  uint64_t x = 0, y = 0;
  while (y < uint64_t(height)) {
    const int count = src.Next();
    const int value = src.Next();
    if (count < 0 || value < 0) return EndOfData(y, height);
    const uint64_t at = y * rowBytes + x;
    if (count > 0) {
      if (at < total) std::memset(bits + at, value, size_t(total - at < uint64_t(count) ? total - at : count));
      x += uint64_t(count);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        return RleResult::Ok;
      case 2: {  // delta
        const int dx = src.Next(), dy = src.Next();
        if (dx < 0 || dy < 0) return EndOfData(y, height);
        x += uint64_t(dx);
        y += uint64_t(dy);
        break;
      }
      default:  // absolute run, padded to 16 bits
        for (int i = 0; i < value; ++i) {
          const int b = src.Next();
          if (b < 0) return EndOfData(y, height);
          if (at + uint64_t(i) < total) bits[at + uint64_t(i)] = uint8_t(b);
        }
        x += uint64_t(value);
        if ((value & 1) && src.Next() < 0) return EndOfData(y, height);
        break;
    }
  }
  return RleResult::Ok;
}

template <class Source>
RleResult DecodeRle4(Source& src, uint8_t* bits, uint32_t rowBytes, int32_t height) {
  const uint64_t total = uint64_t(rowBytes) * uint64_t(height > 0 ? height : 0);
  std::memset(bits, 0, size_t(total));
  const uint64_t rowPixels = uint64_t(rowBytes) * 2;
  auto put = [&](uint64_t pixel, int nibble) {
    const uint64_t byte = pixel >> 1;
    if (byte < total) bits[byte] |= uint8_t((pixel & 1) ? nibble : nibble << 4);
  };
  uint64_t x = 0, y = 0;
  while (y < uint64_t(height)) {
    const int count = src.Next();
    const int value = src.Next();
    if (count < 0 || value < 0) return EndOfData(y, height);
    const uint64_t at = y * rowPixels + x;
    if (count > 0) {
      const int hi = value >> 4, lo = value & 15;
      for (int i = 0; i < count && ((at + uint64_t(i)) >> 1) < total; ++i) put(at + uint64_t(i), (i & 1) ? lo : hi);
      x += uint64_t(count);
      continue;
    }
    switch (value) {
      case 0:
        x = 0;
        ++y;
        break;
      case 1:
        return RleResult::Ok;
      case 2: {
        const int dx = src.Next(), dy = src.Next();
        if (dx < 0 || dy < 0) return EndOfData(y, height);
        x += uint64_t(dx);
        y += uint64_t(dy);
        break;
      }
      default: {
        const int bytes = (value + 1) / 2;
        for (int i = 0; i < bytes; ++i) {
          const int b = src.Next();
          if (b < 0) return EndOfData(y, height);
          put(at + uint64_t(2 * i), b >> 4);
          if (2 * i + 1 < value) put(at + uint64_t(2 * i + 1), b & 15);
        }
        x += uint64_t(value);
        if ((bytes & 1) && src.Next() < 0) return EndOfData(y, height);
        break;
      }
    }
  }
  return RleResult::Ok;
}

}  // namespace tsl
