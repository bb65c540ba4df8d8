// TABPData: the data record of the animated picture (kind 10 "ABP"): an
// animation file (.ABP/.FLX) or an animated GIF. Portable: no Windows
// headers.
//
// Stream form (little endian; n = length of the file name):
//   0     4    u32 record length          4   4  u32 TData flags (0x3000)
//   8     4    i32 TData value (-1)       12  4  i32 TData value (-1)
//   16    2+n  file name (short string), resolved against the open project
//   18+n  16   options, kept as they lie
// The preview picture and the animation header are filled by the authoring
// tool and never stored.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/format/objectrecords.h"
#include "imaging/core/animfile.h"

constexpr uint32_t kAbpDefaultFlags = 0x1000 | 0x2000;
constexpr uint32_t kAbpLoadIntoMemory = 0x2000;  // TData flag passed to the animation list

class TABPData : public TData {
public:
  TABPData();
  TABPData(const TABPData&) = delete;
  TABPData& operator=(const TABPData&) = delete;

  void Init() override;
  void Clear() override { Preview.clear(); }
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  std::vector<uint8_t> Preview;  // packed DIB, authoring only
  string FileName;
  uint8_t Options[16] = {};
  tsl::TAnimHeader Header;
};
