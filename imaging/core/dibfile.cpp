#include "imaging/core/dibfile.h"

#include <cstring>

namespace tsl {

namespace {
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiBitfields = 3;
uint32_t Le32(const uint8_t* p) { uint32_t v; std::memcpy(&v, p, 4); return v; }
uint16_t Le16(const uint8_t* p) { uint16_t v; std::memcpy(&v, p, 2); return v; }

uint32_t MaskBytes(const uint8_t* block, size_t size) {
  if (!block || size < kInfoHeaderSize) return 0;
  return Le32(block + 16) == kBiBitfields ? 12 : 0;
}
}  // namespace

uint32_t PackedDibColorEntries(const uint8_t* block, size_t size) {
  if (!block || size < kInfoHeaderSize) return 0;
  const uint16_t bits = Le16(block + 14);
  uint32_t colors = Le32(block + 32);  // biClrUsed
  if (colors == 0 && bits <= 8) colors = 1u << bits;
  const size_t room = (size - kInfoHeaderSize - MaskBytes(block, size)) / 4;
  return colors > room ? static_cast<uint32_t>(room) : colors;
}

uint32_t PackedDibBitsOffset(const uint8_t* block, size_t size) {
  return 14 + kInfoHeaderSize + MaskBytes(block, size) + 4 * PackedDibColorEntries(block, size);
}

int WriteEmbeddedDibImage(ByteStream& f, const uint8_t* block, size_t size) {
  if (!block || size == 0) return kDibWriteNoDib;
  uint8_t h[14] = {'B', 'M'};
  const uint32_t fileSize = static_cast<uint32_t>(size + 40);
  const uint32_t offset = PackedDibBitsOffset(block, size);
  std::memcpy(h + 2, &fileSize, 4);
  std::memcpy(h + 10, &offset, 4);
  if (f.Write(h, 14) != 14) return kDibWriteShort;
  if (f.Write(block, static_cast<uint32_t>(size)) != size) return kDibWriteShort;
  return kDibWriteOk;
}

}  // namespace tsl
