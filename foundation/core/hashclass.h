// HashClass: the key of the program's hash tables, a 32-bit value and a
// string key; equality, order and hash use the key only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "platform/core/cstring.h"

class HashClass {
public:
  HashClass() = default;
  explicit HashClass(const string& key) : key_(key) {}
  // Value and the decimal text of `number` as key (the database tables key
  // their records by the decimal id).
  HashClass(unsigned value, long number);

  // Value semantics: the value may be a pointer-sized handle in memory.
  uintptr_t Value() const { return value_; }
  void SetValue(uintptr_t v) { value_ = v; }
  const string& Key() const { return key_; }

  bool operator==(const HashClass& o) const { return key_ == o.key_; }
  bool operator<(const HashClass& o) const { return key_ < o.key_; }
  // Length XOR the key's little-endian 32-bit groups (the last one padded
  // with zeros); on the upper-cased key in case-insensitive mode.
  uint32_t HashValue() const;

private:
  uintptr_t value_ = 0;
  string key_;
};

std::ostream& operator<<(std::ostream& os, HashClass h);

namespace tsl {
uint32_t HashKeyString(const string& key);
// The same hash over characters as they stand (no case folding), for keys
// that have no letters, such as decimal ids, hashed without allocating.
uint32_t HashKeyChars(const char* chars, size_t n);
}
