// The document record reader on hostile bytes: a record read and written
// back reads again to the same fields, and no length from the file reaches
// outside the stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "objects/core/textdocdata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::MemoryStream in(data, size);
  TTextDocData d;
  if (!d.Read(in)) return 0;
  tsl::MemoryStream out;
  d.Write(out);
  tsl::MemoryStream again(out.Data());
  TTextDocData r;
  if (!r.Read(again)) std::abort();
  if (r.Flags != d.Flags || r.Margin != d.Margin || r.Bar != d.Bar || r.BackgroundColour != d.BackgroundColour)
    std::abort();
  return 0;
}
