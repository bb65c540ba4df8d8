#include "foundation/core/index/keyentry.h"

#include <cstring>

namespace {
void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
}  // namespace

void TKeyEntry::SetKey(const char* key) {
  std::memset(Key, 0, sizeof Key);
  for (uint32_t i = 0; key && i + 1 < kKeyBytes && key[i]; ++i) Key[i] = key[i];
}

void TKeyEntry::Encode(uint8_t* p) const {
  std::memcpy(p, Key, kKeyBytes);
  p[kKeyBytes - 1] = 0;
  PutU32(p + 64, Value);
  PutU32(p + 68, UniqueNumber);
  p[72] = Flag;
  p[73] = RowOwned;
}

void TKeyEntry::Decode(const uint8_t* p) {
  std::memcpy(Key, p, kKeyBytes);
  Key[kKeyBytes - 1] = 0;
  Value = GetU32(p + 64);
  UniqueNumber = GetU32(p + 68);
  Flag = p[72];
  RowOwned = p[73];
}

void TKeyEntry::EncodeCompanion(uint8_t* p) const { std::memcpy(p, &Row, sizeof Row); }

void TKeyEntry::DecodeCompanion(const uint8_t* p) { std::memcpy(&Row, p, sizeof Row); }

bool TKeyEntry::Read(tsl::ByteStream& f) {
  uint8_t b[kBytes];
  if (f.Read(b, kBytes) != kBytes) return false;
  Decode(b);
  Row = nullptr;
  return true;
}

bool TKeyEntry::Write(tsl::ByteStream& f) const {
  uint8_t b[kBytes];
  Encode(b);
  return f.Write(b, kBytes) == kBytes;
}
