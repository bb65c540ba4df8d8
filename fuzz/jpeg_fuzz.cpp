// The JPEG reader on hostile bytes: every libjpeg error comes back as a
// null result with nothing left allocated; a picture that results is a
// well-formed DIB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "imaging/core/jpegcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tsl::HeapDibPlatform platform(size_t(4) << 20);
  tsl::MemoryStream m(data, size);
  std::string message;
  tsl::DibHandle h = tsl::ReadJpegDib(platform, m, &message);
  if (h) {
    tsl::DibView v;
    if (!tsl::ParseDib(platform.Lock(h), platform.Size(h), v)) std::abort();
    platform.Free(h);
  }
  return 0;
}
