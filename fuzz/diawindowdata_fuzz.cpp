// The slide window's record on hostile bytes: nothing out of bounds, no
// list larger than the input can hold, the stream never behind the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "objects/core/diawindowdata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  tsl::MemoryStream m(data, size);
  TDiaWindowData d;
  d.Read(m);
  if (m.Position() < 0 || static_cast<size_t>(m.Position()) > size) std::abort();
  if (static_cast<size_t>(d.Option.Pictures.Count()) * kDiaPictureMinBytes > size) std::abort();
  tsl::MemoryStream out;
  d.Write(out);
  out.Seek(0);
  TDiaWindowData back;
  back.Read(out);
  if (out.Position() != out.Length() || back.Option.Pictures.Count() != d.Option.Pictures.Count()) std::abort();
  return 0;
}
