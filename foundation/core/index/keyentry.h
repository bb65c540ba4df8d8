// TKeyEntry: the 74-byte key record of the key catalogue, also the header of
// every catalogue node. Stored field by field, little-endian:
//   0-63   key: NUL-terminated text (a node's name; at most 63 characters)
//   64-67  u32 value: the row reference (offset of the entry's row in the
//          database's record store, 0 = none)
//   68-71  u32 unique number, 0 = not yet numbered
//   72     u8 flag
//   73     u8 row-owned flag
// The value and both flags are stored and returned unchanged. In memory an
// entry also carries `Row`, the pointer to its loaded row; it rides with the
// entry through the key tree but is never written to a file.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "platform/core/bytestream.h"

struct TKeyEntry {
  static constexpr uint32_t kBytes = 74;
  static constexpr uint32_t kKeyBytes = 64;
  static constexpr uint32_t kCompanionBytes = sizeof(void*);

  char Key[kKeyBytes] = {};
  uint32_t Value = 0;
  uint32_t UniqueNumber = 0;
  uint8_t Flag = 0;
  uint8_t RowOwned = 0;
  void* Row = nullptr;  // in memory only

  TKeyEntry() = default;
  explicit TKeyEntry(const char* key) { SetKey(key); }
  // Copies at most 63 characters; the 64th byte is always 0.
  void SetKey(const char* key);

  void Encode(uint8_t* p) const;
  // The key is terminated in memory whatever the bytes hold.
  void Decode(const uint8_t* p);
  void EncodeCompanion(uint8_t* p) const;
  void DecodeCompanion(const uint8_t* p);

  // 74 bytes; false when fewer were transferred (the entry then keeps what
  // it held). A read entry has no row pointer.
  bool Read(tsl::ByteStream& f);
  bool Write(tsl::ByteStream& f) const;
};
