// Conversion between an LZSS member and Microsoft's SZDD ("compress.exe")
// file, so Debian's mscompress and msexpand serve as peers of the coder.
// Both code the same groups; SZDD starts writing its ring at 4080 where the
// member starts at 4078, so every match position moves by 2 (mod 4096).
//
// SZDD header (14 bytes): "SZDD" 88 F0 27 33, 'A', the name's missing last
// character, u32 unpacked length; the coded data runs to the file's end.
#pragma once
#include <cstdint>
#include <vector>

#include "actions/core/lzss.h"

namespace szdd {

constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr size_t kHeaderSize = 14;

// Moves every match position of coded data by `delta`; false when the data
// ends inside an item (a truncated tail is kept as it is).
inline bool ShiftPositions(std::vector<uint8_t>& coded, size_t from, int delta) {
  size_t i = from;
  while (i < coded.size()) {
    const uint8_t flags = coded[i++];
    for (int bit = 0; bit < 8 && i < coded.size(); ++bit) {
      if (flags & (1u << bit)) {
        ++i;
        continue;
      }
      if (i + 1 >= coded.size()) return false;
      int pos = coded[i] | ((coded[i + 1] & 0xF0) << 4);
      pos = (pos + delta) & 0xFFF;
      coded[i] = uint8_t(pos);
      coded[i + 1] = uint8_t(((pos >> 4) & 0xF0) | (coded[i + 1] & 0x0F));
      i += 2;
    }
  }
  return true;
}

inline uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int k = 0; k < 4; ++k) v.push_back(uint8_t(x >> (8 * k)));
}

// An SZDD file to a member (zero date); empty when it is no SZDD file.
inline std::vector<uint8_t> ToMember(const std::vector<uint8_t>& file) {
  if (file.size() < kHeaderSize || !std::equal(kMagic, kMagic + 8, file.begin()) || file[8] != 'A') return {};
  std::vector<uint8_t> m;
  Put32(m, kLzssMagic);
  for (int i = 0; i < 6; ++i) Put32(m, 0);
  Put32(m, Le32(&file[10]));
  Put32(m, uint32_t(file.size() - kHeaderSize));
  m.insert(m.end(), file.begin() + kHeaderSize, file.end());
  ShiftPositions(m, kLzssHeaderSize, -2);
  return m;
}

// A member (its first one) to an SZDD file; empty when it is no member.
inline std::vector<uint8_t> FromMember(const std::vector<uint8_t>& member, uint8_t lastChar = 0) {
  if (member.size() < kLzssHeaderSize || Le32(&member[0]) != kLzssMagic) return {};
  const uint32_t packed = Le32(&member[32]);
  if (member.size() - kLzssHeaderSize < packed) return {};
  std::vector<uint8_t> f(kMagic, kMagic + 8);
  f.push_back('A');
  f.push_back(lastChar);
  Put32(f, Le32(&member[28]));
  f.insert(f.end(), member.begin() + kLzssHeaderSize, member.begin() + kLzssHeaderSize + packed);
  ShiftPositions(f, kHeaderSize, 2);
  return f;
}

}  // namespace szdd
