#include "imaging/core/wmfheader.h"

#include "imaging/core/dib.h"

namespace tsl {

namespace {
// A Windows metafile header: type 1 (memory) or 2 (disk), 9 words long,
// version 0x100 or 0x300.
bool IsWmfHeader(const uint8_t* p, size_t n) {
  if (n < kWmfHeaderBytes) return false;
  const uint16_t type = GetLe16(p), words = GetLe16(p + 2), version = GetLe16(p + 4);
  return (type == 1 || type == 2) && words == 9 && (version == 0x100 || version == 0x300);
}
}  // namespace

MetafileInfo InspectMetafile(const uint8_t* data, size_t size) {
  MetafileInfo info;
  if (!data) return info;
  if (size >= 88 && GetLe32(data + 40) == kEmfSignature && GetLe32(data) == 1) {
    info.kind = MetafileKind::Enhanced;
    return info;
  }
  if (size >= 4 && GetLe32(data) == kPlaceableKey) {
    if (size < kPlaceableHeaderBytes + kWmfHeaderBytes) return info;
    const uint8_t* h = data;
    info.left = int16_t(GetLe16(h + 6));
    info.top = int16_t(GetLe16(h + 8));
    info.right = int16_t(GetLe16(h + 10));
    info.bottom = int16_t(GetLe16(h + 12));
    info.unitsPerInch = GetLe16(h + 14);
    if (info.unitsPerInch == 0) return info;
    const uint8_t* wmf = data + kPlaceableHeaderBytes;
    const size_t left = size - kPlaceableHeaderBytes;
    if (!IsWmfHeader(wmf, left)) return info;
    info.extentX = int32_t((int64_t(info.right) - info.left) * 2540 / info.unitsPerInch);
    info.extentY = int32_t((int64_t(info.bottom) - info.top) * 2540 / info.unitsPerInch);
    const uint64_t said = uint64_t(GetLe32(wmf + 6)) * 2;
    info.metafileAt = kPlaceableHeaderBytes;
    info.metafileBytes = said < left ? size_t(said) : left;
    if (info.metafileBytes < kWmfHeaderBytes) return info;
    info.kind = MetafileKind::Placeable;
    return info;
  }
  if (!IsWmfHeader(data, size)) return info;
  info.kind = MetafileKind::Plain;
  info.metafileAt = 0;
  info.metafileBytes = size;
  return info;
}

void MakePlaceableHeader(uint8_t* out, int16_t left, int16_t top, int16_t right, int16_t bottom,
                         uint16_t unitsPerInch) {
  PutLe32(out, kPlaceableKey);
  PutLe16(out + 4, 0);
  PutLe16(out + 6, uint16_t(left));
  PutLe16(out + 8, uint16_t(top));
  PutLe16(out + 10, uint16_t(right));
  PutLe16(out + 12, uint16_t(bottom));
  PutLe16(out + 14, unitsPerInch);
  PutLe32(out + 16, 0);
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= GetLe16(out + 2 * i);
  PutLe16(out + 20, sum);
}

}  // namespace tsl
