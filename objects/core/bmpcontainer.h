// The bitmap container file of the slide overview: named pictures, each
// optionally with its bitmap inside the file. One container is shared by the
// whole program (TBmpContObject refills it); the overview window shows its
// items. Portable: no Windows headers.
//
// File (little endian, no padding):
//   0  2  u16 version, must be 1
//   2  4  u32 first header long         6  4  u32 second header long
//   10 2  u16 header word               12 2  u16 item count
//   14 .. the items, one after the other:
//         name (u16 length, characters), u32 magic 0x006874C5,
//         u16 picture flag (0 none, else an embedded picture follows:
//         "BM" file header whose size field is the DIB's size + 40, the DIB)
// The header fields belong to the overview and the authoring tool.
//
// Tolerance: another version reads nothing; an item with a wrong magic ends
// the list and the items before it stay; a count beyond the file stops at
// its end.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

constexpr uint16_t kBmpContainerVersion = 1;
constexpr uint32_t kBmpItemMagic = 0x006874C5;

class TBmpItem {
public:
  // False for a wrong magic (or a file ending before it). The name passes
  // through `resolve` when one is given.
  bool Read(tsl::ByteStream& f, const std::function<string(const string&)>& resolve = nullptr);
  // False only when the picture cannot be written.
  bool Write(tsl::ByteStream& f) const;

  string Name;
  std::vector<uint8_t> Picture;  // packed DIB; empty: none
};

class TBmpContainer {
public:
  // Empties the list, then reads; false for a version other than 1.
  bool Read(tsl::ByteStream& f, const std::function<string(const string&)>& resolve = nullptr);
  bool Write(tsl::ByteStream& f) const;
  // Only the version and the three header fields, at the stream's start.
  bool ReadHeader(tsl::ByteStream& f);
  bool WriteHeader(tsl::ByteStream& f) const;
  void AddItem(const string& name, std::vector<uint8_t> picture);

  std::vector<std::unique_ptr<TBmpItem>> Items;
  uint16_t HeaderWord = 0;
  uint32_t SecondLong = 0;
  uint32_t FirstLong = 0;
};

// Fills the 256-entry colour table behind a 40-byte info header from RGB
// 5-5-5 values (each channel × 8); the reserved bytes stay as they are.
void ConvertRgb555Palette(uint8_t* info, const uint32_t colours[256]);
