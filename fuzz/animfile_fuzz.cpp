// The animation file reader on hostile bytes: headers with any signature,
// type and frame count, picture blocks whose lengths lie, FLX records
// followed by damaged FLC data. Loads the list (from the file or the memory
// copy, as the last byte says), asks for at most 64 frames in an order taken
// from the input, and reads the first frame alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "imaging/core/animfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t last = size ? data[size - 1] : 0;
  tsl::TAnimatedBmpListCore l;
  if (l.Load(std::make_unique<tsl::MemoryStream>(data, size), last & 1)) {
    const int n = l.FrameCount();
    if (n > (l.Header.FrameCount > 0 ? l.Header.FrameCount : 0)) std::abort();
    for (int i = 0; i < 64 && n; ++i) {
      const int frame = data[i % size] % (n + 2) - 1;
      const std::vector<uint8_t>* p = l.FramePicture(frame);
      if ((p != nullptr) != l.Has(frame)) std::abort();
    }
  }
  tsl::TAnimatedBmpListCore::ReadFirstFrame(std::make_unique<tsl::MemoryStream>(data, size));
  return 0;
}
