// TFLXData: the data record of the animation object (kind 3 "Animation"):
// an FLI/FLC file played frame by frame. Portable: no Windows headers.
//
// Stream form (little endian; n = length of the file name):
//   0      4   u32 record length          4   4  u32 TData flags
//   8      4   i32 TData value (-1)       12  4  i32 TData value (-1)
//   16     2   u16 reserved
//   18     2   u16 options (kFlxLoop, kFlxLoadIntoMemory)
//   20     2+n file name (short string)
//   22+n   16  reserved bytes
// A record of this version is 38 + n bytes.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

constexpr uint16_t kFlxLoop = 0x04;            // go on with frame 1 after the last frame
constexpr uint16_t kFlxLoadIntoMemory = 0x20;  // the reader holds the whole file in memory

class TFLXData : public TData {
public:
  TFLXData();
  TFLXData(const TFLXData&) = delete;
  TFLXData& operator=(const TFLXData&) = delete;

  void Init() override;
  void Assign(const TData* other) override;
  // The file name is resolved against the open project after the record end.
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  uint16_t Reserved = 0;
  uint16_t Options = 0;
  string FileName;
  uint8_t Reserved2[16] = {};
};
