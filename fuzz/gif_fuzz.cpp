// The GIF codec on hostile bytes: code sizes, codes beyond the table,
// frames of any size anywhere, colour tables of any size; the output stops
// at each frame's pixels and the picture's rows. Loads frame after frame in
// sequence, or one frame by number, as the input's last byte says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/core/gifcodec.h"

namespace {
const tsl::HeapDibPlatform& Platform() {
  static const tsl::HeapDibPlatform p(size_t(4) << 20);
  return p;
}

void Check(const TGIF& codec) {
  tsl::DibView v;
  if (!tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v)) std::abort();
  if (v.width != codec.Width || v.height != codec.Height) std::abort();
  if (codec.Frame.Left + codec.Frame.Width > uint32_t(codec.Width)) std::abort();
  if (codec.Frame.Top + codec.Frame.Height > uint32_t(codec.Height)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t mode = size ? data[size - 1] : 0;
  tsl::MemoryStream m(data, size);
  TGIF codec(Platform());
  if (mode & 1) {
    codec.SequentialMode = 1;
    for (int i = 0; i < 64; ++i) {
      if (codec.LoadStream(&m, nullptr) != kBitmapOk) break;
      Check(codec);
    }
  } else {
    codec.RequestedFrame = mode >> 5;
    if (codec.LoadStream(&m, nullptr) == kBitmapOk) Check(codec);
  }
  return 0;
}
