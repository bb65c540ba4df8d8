// Buffered reading of a picture stream for the codecs that walk their file
// byte by byte (GIF blocks, PCX and TGA runs): a ByteReader that also knows
// the logical file position, and a bound at the picture's end. Portable.
#pragma once
#include <cstdint>
#include <cstring>

#include "imaging/core/bitmapbase.h"

namespace tsl {

class PictureInput {
public:
  // Reads from the stream's current position; `end` (-1: none) is the
  // file position where the picture ends.
  PictureInput(ByteStream* f, int64_t end) : f_(f) {
    base_ = f ? f->Position() : -1;
    if (base_ < 0) base_ = 0;
    if (end >= 0) r_.Left = end > base_ ? end - base_ : 0;
  }

  // The next byte (0..255), or -1 at the end.
  int Byte() {
    if (r_.Position < r_.Count) return r_.Buffer[r_.Position++];
    return Refill() ? r_.Buffer[r_.Position++] : -1;
  }
  // Copies n bytes; false when the data ends first.
  bool Read(void* dst, uint32_t n) {
    auto* d = static_cast<uint8_t*>(dst);
    while (n > 0) {
      if (r_.Position >= r_.Count && !Refill()) return false;
      uint32_t take = uint32_t(r_.Count - r_.Position);
      if (take > n) take = n;
      std::memcpy(d, r_.Buffer.get() + r_.Position, take);
      r_.Position += int32_t(take);
      d += take;
      n -= take;
    }
    return true;
  }
  // Skips n bytes; false when the data ends first.
  bool Skip(uint32_t n) {
    while (n > 0) {
      if (r_.Position >= r_.Count && !Refill()) return false;
      uint32_t take = uint32_t(r_.Count - r_.Position);
      if (take > n) take = n;
      r_.Position += int32_t(take);
      n -= take;
    }
    return true;
  }
  // Where the next byte lies in the file.
  int64_t Position() const { return base_ + fetched_ - (r_.Count - r_.Position); }
  // Direct access to what is buffered, for tight decoding loops.
  const uint8_t* Data() const { return r_.Buffer.get() + r_.Position; }
  uint32_t Buffered() const { return uint32_t(r_.Count - r_.Position); }
  void Consume(uint32_t n) { r_.Position += int32_t(n); }
  // Refills an empty buffer; false at the end.
  bool Refill() {
    if (r_.Position < r_.Count) return true;
    const int c = ReadBufferedByte(r_, f_);
    if (c < 0) return false;
    fetched_ += r_.Count;
    --r_.Position;
    return true;
  }

private:
  ByteReader r_;
  ByteStream* f_;
  int64_t base_ = 0;
  int64_t fetched_ = 0;
};

}  // namespace tsl
