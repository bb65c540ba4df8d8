// The TPCX codec on hostile bytes: every size, count and offset the file
// gives is checked, nothing is written outside the picture, and a failed
// load leaves no memory behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/core/pcxcodec.h"

namespace {
// Refuses blocks a small file could only claim, so each run stays quick.
const tsl::HeapDibPlatform& Platform() {
  static const tsl::HeapDibPlatform p(size_t(4) << 20);
  return p;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPCX codec(Platform());
  tsl::MemoryStream m(data, size);
  if (codec.LoadStream(&m, size % 2 ? "trunc" : nullptr) == kBitmapOk) {
    // A decoded picture is a well-formed DIB of the size its header says.
    tsl::DibView v;
    if (!tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v)) std::abort();
    if (v.width != codec.Width || v.height != codec.Height) std::abort();
  }
  return 0;
}
