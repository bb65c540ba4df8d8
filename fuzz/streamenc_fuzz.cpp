// Every record reader stands on the stream encodings: no input may make them
// read out of bounds or allocate what the file merely claims.
#include <cstddef>
#include <cstdint>

#include "foundation/core/streamenc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::MemoryStream m(data, size);
  string s;
  int32_t v = 0;
  struct { int32_t left, top, right, bottom; } r{};
  tsl::FontRecord font;
  std::vector<uint8_t> dib;
  while (m.Remaining() > 0) {
    uint8_t op = 0;
    if (m.Read(&op, 1) != 1) break;
    switch (op % 6) {
      case 0: ReadShortString(s, m); break;
      case 1: ReadLongString(s, m); break;
      case 2: ReadLong(v, m); break;
      case 3: ReadRect(r, m); break;
      case 4: tsl::ReadFontRecord(font, m); break;
      case 5: tsl::ReadEmbeddedDib(dib, m); break;
    }
  }
  return 0;
}
