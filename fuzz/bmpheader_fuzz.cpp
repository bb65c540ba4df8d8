// The second bitmap file reader (header, then rows) on hostile bytes: a
// damaged file gives no picture, never a read or allocation out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/core/dibutil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tsl::HeapDibPlatform platform(size_t(4) << 20);
  tsl::MemoryStream probe(data, size);
  tsl::IsBmpFile(probe);
  tsl::MemoryStream m(data, size);
  tsl::DibHolder dib(platform, tsl::ReadBmpFile(platform, m));
  if (dib) {
    // What it hands out is a DIB whose rows (or run-length data) it holds.
    tsl::DibLock l(platform, dib.get());
    tsl::DibView v;
    if (!tsl::ParseDib(l.get(), l.size(), v)) std::abort();
    tsl::DibHolder expanded(platform, tsl::ExpandRleDib(platform, dib.get()));
  }
  return 0;
}
