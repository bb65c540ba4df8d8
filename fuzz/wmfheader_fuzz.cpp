// The metafile header tests on hostile bytes: what they hand to GDI always
// lies inside the file, and a valid placeable header has units per inch.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/core/wmfheader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tsl::MetafileInfo info = tsl::InspectMetafile(data, size);
  if (info.kind == tsl::MetafileKind::Placeable || info.kind == tsl::MetafileKind::Plain) {
    if (info.metafileAt > size || info.metafileBytes > size - info.metafileAt) std::abort();
    if (info.metafileBytes < tsl::kWmfHeaderBytes) std::abort();
    // Touch every byte handed on.
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < info.metafileBytes; ++i) sum = uint8_t(sum + data[info.metafileAt + i]);
  }
  if (info.kind == tsl::MetafileKind::Placeable && info.unitsPerInch == 0) std::abort();
  return 0;
}
