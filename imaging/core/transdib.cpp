#include "imaging/core/transdib.h"

#include <cstring>

namespace tsl {

uint8_t* DibPixelPtr(const DibInfoHeader* h, uint8_t* bits, int x, int y) {
  if (!h || !bits || x < 0 || y < 0 || x >= h->biWidth || y >= h->biHeight) return nullptr;
  const uint64_t row = RowBytesFor(h->biWidth, h->biBitCount);
  return bits + uint64_t(h->biHeight - 1 - y) * row + uint64_t(x) * h->biBitCount / 8;
}

void MaskColourTable(DibRgbQuad* table, uint32_t n, uint8_t r, uint8_t g, uint8_t b, std::vector<DibRgbQuad>& saved) {
  saved.assign(table, table + n);
  for (uint32_t i = 0; i < n; ++i) {
    const bool clear = table[i].rgbRed == r && table[i].rgbGreen == g && table[i].rgbBlue == b;
    const uint8_t v = clear ? 255 : 0;
    table[i] = {v, v, v, 0};
  }
}

void ImageColourTable(DibRgbQuad* table, uint32_t n, const std::vector<DibRgbQuad>& saved) {
  for (uint32_t i = 0; i < n && i < saved.size(); ++i) {
    const bool white = table[i].rgbRed == 255 && table[i].rgbGreen == 255 && table[i].rgbBlue == 255;
    table[i] = white ? DibRgbQuad{0, 0, 0, 0} : saved[i];
  }
}

namespace {
// A pixel format: its size and, for 16 and 32 bits, the colour masks.
struct PixelFormat {
  int bytes = 0;
  uint32_t masks[3] = {};
  explicit PixelFormat(const DibView& v) {
    bytes = v.bitCount / 8;
    if (v.bitCount == 16) {
      masks[0] = 0x7C00;
      masks[1] = 0x3E0;
      masks[2] = 0x1F;
    } else if (v.bitCount == 32) {
      masks[0] = 0xFF0000;
      masks[1] = 0xFF00;
      masks[2] = 0xFF;
    }
    if (v.masks) std::memcpy(masks, v.masks, sizeof masks);
  }
  uint32_t All() const { return masks[0] | masks[1] | masks[2]; }
  // An 8-bit channel value placed in its field, at the field's precision.
  static uint32_t Place(uint32_t mask, uint8_t c) {
    if (!mask) return 0;
    int shift = 0, width = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while (shift + width < 32 && ((mask >> (shift + width)) & 1)) ++width;
    const uint32_t f = width <= 8 ? uint32_t(c) >> (8 - width) : uint32_t(c) << (width - 8);
    return (f << shift) & mask;
  }
  uint32_t Encode(uint8_t r, uint8_t g, uint8_t b) const { return Place(masks[0], r) | Place(masks[1], g) | Place(masks[2], b); }
  uint32_t Get(const uint8_t* p) const { return bytes == 2 ? GetLe16(p) : GetLe32(p); }
  void Put(uint8_t* p, uint32_t v) const {
    if (bytes == 2) PutLe16(p, uint16_t(v));
    else PutLe32(p, v);
  }
};
}  // namespace

bool MaskPixels(const DibView& v, uint8_t r, uint8_t g, uint8_t b, std::vector<uint8_t>& saved) {
  if (!v.bits || v.Compressed() || (v.bitCount != 16 && v.bitCount != 24 && v.bitCount != 32)) return false;
  saved.assign(v.bits, v.bits + v.imageBytes);
  const PixelFormat f(v);
  const uint32_t all = f.All(), key = f.Encode(r, g, b);
  for (int32_t y = 0; y < v.height; ++y) {
    uint8_t* p = v.Row(y);
    for (int32_t x = 0; x < v.width; ++x, p += f.bytes) {
      if (f.bytes == 3) {
        const uint8_t c = (p[0] == b && p[1] == g && p[2] == r) ? 255 : 0;
        p[0] = p[1] = p[2] = c;
      } else {
        f.Put(p, (f.Get(p) & all) == key ? all : 0);
      }
    }
  }
  return true;
}

void ImagePixels(const DibView& v, const std::vector<uint8_t>& saved) {
  if (!v.bits || saved.size() < v.imageBytes) return;
  const PixelFormat f(v);
  const uint32_t all = f.All();
  for (int32_t y = 0; y < v.height; ++y) {
    uint8_t* p = v.Row(y);
    const uint8_t* s = saved.data() + size_t(y) * v.rowBytes;
    for (int32_t x = 0; x < v.width; ++x, p += f.bytes, s += f.bytes) {
      const bool white = f.bytes == 3 ? (p[0] == 255 && p[1] == 255 && p[2] == 255) : f.Get(p) == all;
      if (white) std::memset(p, 0, size_t(f.bytes));
      else std::memcpy(p, s, size_t(f.bytes));
    }
  }
}

}  // namespace tsl
