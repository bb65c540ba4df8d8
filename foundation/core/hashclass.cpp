#include "foundation/core/hashclass.h"

#include <ostream>
#include <string>

HashClass::HashClass(unsigned value, long number) : value_(value), key_(std::to_string(number)) {}

uint32_t tsl::HashKeyString(const string& key) {
  if (string::is_case_sensitive()) return HashKeyChars(key.c_str(), key.length());
  string k(key);
  k.to_upper();
  return HashKeyChars(k.c_str(), k.length());
}

uint32_t tsl::HashKeyChars(const char* chars, size_t n) {
  const auto* p = reinterpret_cast<const unsigned char*>(chars);
  uint32_t h = static_cast<uint32_t>(n);
  size_t i = 0;
  for (; i + 4 <= n; i += 4)
    h ^= static_cast<uint32_t>(p[i]) | static_cast<uint32_t>(p[i + 1]) << 8 |
         static_cast<uint32_t>(p[i + 2]) << 16 | static_cast<uint32_t>(p[i + 3]) << 24;
  uint32_t tail = 0;
  for (size_t j = 0; i + j < n; ++j) tail |= static_cast<uint32_t>(p[i + j]) << (8 * j);
  return h ^ tail;
}

uint32_t HashClass::HashValue() const { return tsl::HashKeyString(key_); }

std::ostream& operator<<(std::ostream& os, HashClass h) {
  return os << "'" << h.Key() << "' hash = " << h.HashValue();
}
