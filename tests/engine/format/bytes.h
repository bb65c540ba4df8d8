// Hand assembly of stored records for the format tests: the bytes are laid
// down field by field from the record tables, independent of our writers.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/bytestream.h"

class Bytes {
public:
  Bytes& u8(uint8_t v) { b_.push_back(v); return *this; }
  Bytes& u16(uint16_t v) { return raw(&v, 2); }
  Bytes& i16(int16_t v) { return raw(&v, 2); }
  Bytes& u32(uint32_t v) { return raw(&v, 4); }
  Bytes& i32(int32_t v) { return raw(&v, 4); }
  Bytes& f64(double v) { return raw(&v, 8); }
  Bytes& str(const std::string& s) { u16(static_cast<uint16_t>(s.size())); return raw(s.data(), s.size()); }
  Bytes& fixed(const std::string& s, size_t n) {
    std::string t = s;
    t.resize(n, '\0');
    return raw(t.data(), n);
  }
  Bytes& zeros(size_t n) { b_.insert(b_.end(), n, 0); return *this; }
  Bytes& raw(const void* p, size_t n) {
    b_.insert(b_.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
    return *this;
  }
  Bytes& append(const std::vector<uint8_t>& v) { b_.insert(b_.end(), v.begin(), v.end()); return *this; }
  // Overwrites a u32 at `at` (offsets known only later).
  Bytes& put32(size_t at, uint32_t v) { std::memcpy(&b_[at], &v, 4); return *this; }
  size_t size() const { return b_.size(); }
  const std::vector<uint8_t>& data() const { return b_; }
  tsl::MemoryStream stream() const { return tsl::MemoryStream(b_); }

private:
  std::vector<uint8_t> b_;
};

// An 82-byte font record with a face name and a point size.
inline Bytes& FontBytes(Bytes& b, const char* face, int32_t height) {
  b.u32(0x50103).i32(height).i32(0).i32(0).i32(0).i32(400);
  b.u8(0).u8(0).u8(0).u8(0).u8(7).u8(0).u8(0).u8(0);
  b.fixed(face, 32).i32(height * 10).u32(0).u16(0x6000).i32(0).i32(0);
  return b;
}

// The tooltip block with the text "Tip" and mode 0.
inline Bytes& ToolTipBytes(Bytes& b) {
  b.u16(0).u32(0xC0C0C0).str("Tip");
  FontBytes(b, "Arial", 17);
  return b.u32(0).zeros(20);
}
