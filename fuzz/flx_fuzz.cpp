// The FLI/FLC reader on hostile bytes: headers of any size, frames and
// chunks whose sizes lie, packets that run past their chunk or the picture.
// At most 64 steps per input, from the file or from the memory copy as the
// input's last byte says; the picture keeps its size throughout.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "imaging/core/flx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool memory = size && (data[size - 1] & 1);
  tsl::TFLX f(std::make_unique<tsl::MemoryStream>(data, size), memory);
  const size_t expected = f.HasPicture() ? f.Picture().size() : 0;
  for (int i = 0; i < 64 && f.NextFrame(); ++i) {
    if (f.Picture().size() != expected) std::abort();
    // A frame count of 0 wraps at every step, to frame 2 (current 1).
    if (f.CurrentFrame() > (f.FrameCount() ? f.FrameCount() : 1)) std::abort();
  }
  return 0;
}
