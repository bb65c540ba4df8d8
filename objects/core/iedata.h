// TIEData: the data record of a browser object (kind 18): the address (a
// web address or a file) of the page the element shows first.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

// Flag bits of the record (the second base field).
constexpr uint32_t kIEHideHScroll = 0x0001;  // the element is a scroll bar taller than the host
constexpr uint32_t kIEHideVScroll = 0x0002;  // the element is a scroll bar wider than the host
constexpr uint32_t kIEFileFlag = 0x1000;     // reported beside the file

// Stream layout after the TData base (offset 16):
//   2 + n  address (u16 length, n characters, no NUL)
//   16     reserved bytes, carried unread
// A record of this version is 34 + n bytes; a longer one is skipped to its
// stored end.
class TIEData : public TData {
public:
  TIEData();

  void Init() override;
  void Assign(const TData* other) override;
  // A stored address that is no web address or relative name (a path with
  // a drive) is resolved against the open project.
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  bool Has(uint32_t flag) const { return (Flags & flag) != 0; }

  string Address;
  uint8_t Reserved[16] = {};
};
