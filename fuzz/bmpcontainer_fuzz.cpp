// The bitmap container reader on hostile bytes: any version, counts beyond
// the file, names and pictures whose lengths lie. What was read writes a
// file that reads back to the same items.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "objects/core/bmpcontainer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::MemoryStream m(data, size);
  TBmpContainer c;
  if (!c.Read(m)) return 0;
  tsl::MemoryStream out;
  c.Write(out);
  out.Seek(0);
  TBmpContainer again;
  if (!again.Read(out) || again.Items.size() != c.Items.size()) std::abort();
  for (size_t i = 0; i < c.Items.size(); ++i)
    if (again.Items[i]->Picture != c.Items[i]->Picture) std::abort();
  return 0;
}
