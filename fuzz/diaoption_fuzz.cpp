// The slide-show reader on hostile bytes: nothing out of bounds, no list
// larger than the input can hold, and what was read writes and reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "slideshow/core/diaoption.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  tsl::MemoryStream m(data, size);
  TDiaOption o;
  o.Read(m);
  if (static_cast<size_t>(o.Pictures.Count()) * kDiaPictureMinBytes > size) std::abort();
  tsl::MemoryStream out;
  o.Write(out);
  out.Seek(0);
  TDiaOption back;
  if (!back.Read(out) || back.Pictures.Count() != o.Pictures.Count()) std::abort();
  return 0;
}
