// The BMP codec and the run-length expansion on hostile bytes: every size
// a header claims is checked against the file and against overflow, and
// nothing is written outside the rows. The input is a bitmap file for the
// codec and, behind its 14-byte file header, a packed DIB for the utilities.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/core/bmpcodec.h"
#include "imaging/core/dibutil.h"

namespace {
// Refuses blocks a small file could only claim, so each run stays quick.
const tsl::HeapDibPlatform& Platform() {
  static const tsl::HeapDibPlatform p(size_t(4) << 20);
  return p;
}

const char* const kOptions[] = {nullptr, "inv", "invb", "index=1", "index=2,inv"};

void Utilities(const uint8_t* data, size_t size) {
  if (size < 14 + 40) return;
  const tsl::DibPlatform& p = Platform();
  tsl::DibHolder dib(p, p.Alloc(size - 14, false));
  if (!dib) return;
  {
    tsl::DibLock l(p, dib.get());
    std::memcpy(l.get(), data + 14, size - 14);
  }
  tsl::DibHolder expanded(p, tsl::ExpandRleDib(p, dib.get()));
  // Rectangles as GIF frames give them: from the file itself.
  const int32_t x = int8_t(data[2]), y = int8_t(data[3]), w = data[4] * 3, h = data[5] * 3;
  tsl::DibHolder cut(p, tsl::CopyDibRect(p, expanded ? expanded.get() : dib.get(), x, y, w, h));
  std::vector<tsl::DibRgbQuad> colours;
  tsl::DibPaletteColours(p, dib.get(), colours);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  _TDIB codec(Platform());
  tsl::MemoryStream m(data, size);
  const int r = codec.LoadStream(&m, kOptions[size % 5]);
  if (r == kBitmapOk) {
    // A decoded picture is a well-formed DIB of the size its header says.
    tsl::DibView v;
    if (!tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v)) std::abort();
    if (v.width != codec.Width || v.height != codec.Height) std::abort();
  }
  Utilities(data, size);
  return 0;
}
