// TFlashPlayerData: the data record of a Flash object (kind 21): one movie
// file with the quality and scale mode handed to swfpane.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

// Flag bits of the record (the second base field).
constexpr uint32_t kFlashLoop = 0x0001;      // the movie repeats at its end
constexpr uint32_t kFlashFileFlag = 0x1000;  // reported beside the file

// Stream layout after the TData base (offset 16):
//   2 + n  file name (u16 length, n characters, no NUL)
//   2      u16 quality     (default 1)
//   2      u16 scale mode  (default 0)
//   16     reserved bytes, carried unread
// A record of this version is 38 + n bytes; a longer one is skipped to its
// stored end.
class TFlashPlayerData : public TData {
public:
  TFlashPlayerData();

  void Init() override;
  void Assign(const TData* other) override;
  // The stored file name is resolved against the open project.
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  bool Has(uint32_t flag) const { return (Flags & flag) != 0; }

  string FileName;
  uint16_t Quality = 1;
  uint16_t ScaleMode = 0;
  uint8_t Reserved[16] = {};
};
