// TBmpContData: the data record of the bitmap container object (kind 13
// "Diaübersicht"): the symbol on the page and the container file whose
// pictures the overview shows. Portable: no Windows headers.
//
// Stream form (little endian; n = length of the file name):
//   0     4    u32 record length          4   4  u32 TData flags (0x1001)
//   8     4    i32 TData value (-1)       12  4  i32 TData value (-1)
//   16    2+n  container file name (short string), resolved against the project
//   18+n  32   reserved bytes
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

constexpr uint32_t kBmpContSymbolShown = 0x0001;  // the symbol is drawn on the page
constexpr uint32_t kBmpContDefaultFlags = 0x1000 | kBmpContSymbolShown;

class TBmpContData : public TData {
public:
  TBmpContData();
  TBmpContData(const TBmpContData&) = delete;
  TBmpContData& operator=(const TBmpContData&) = delete;

  void Init() override;
  // A record of another class leaves this one as it is.
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  string FileName;
  uint8_t Reserved[32] = {};
};
