// The Photo CD base-image reader on hostile bytes. A real image file is
// far larger than a fuzz input, so the input is laid into one: its first
// byte is the attributes byte, the rest fills the chosen resolution's data
// (repeated), and the file is cut where the input's second byte says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/core/pcdcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tsl::HeapDibPlatform platform(size_t(4) << 20);
  if (size < 3) return 0;
  // Mostly the smallest resolution (quick), now and then the larger ones,
  // or the refused index 3.
  const uint32_t resolution = data[2] == 0xFF ? 2 : data[2] == 0xFE ? 1 : data[2] % 4 == 3 ? 3 : 0;
  uint32_t w, h, at;
  if (!TPCD::StoredSize(resolution % 3, w, h, at)) return 0;
  // Always long enough to hold the attributes byte.
  const size_t end = size_t(at) + size_t(w) * h * 3 / 2;
  std::vector<uint8_t> file(end > 194636 ? end : 194636, 0);
  if (data[1] & 1) std::memcpy(&file[2048], "PCD_IPI", 7);
  file[194635] = data[0];
  for (size_t i = at; size > 3 && i < end; i += size - 3)
    std::memcpy(&file[i], data + 3, end - i < size - 3 ? end - i : size - 3);
  // Cut somewhere when asked.
  if (data[1] & 2) file.resize(file.size() * (data[1] >> 2) / 64);
  TPCD codec(platform);
  codec.ResolutionIndex = resolution;
  tsl::MemoryStream m(file.data(), file.size());
  if (codec.LoadStream(&m, nullptr) == kBitmapOk) {
    tsl::DibView v;
    if (!tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v)) std::abort();
  }
  return 0;
}
