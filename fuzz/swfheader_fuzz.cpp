// The Flash file header reader on hostile bytes, plain and compressed: it
// reads only what it holds, and a header it accepts has its stage in order
// of the fields it stored.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/swfpane/core/swfheader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSwfHeader h;
  if (ReadSwfHeader(data, size, h)) {
    if (h.FrameRate < 0 || h.FrameRate >= 256) std::abort();
  } else if (h.FrameCount != 0) {
    std::abort();
  }
  return 0;
}
