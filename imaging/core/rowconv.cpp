#include "imaging/core/rowconv.h"

#include <cstring>
#include <vector>

#include "imaging/core/quantize.h"

namespace tsl {

void Row24To32(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, dst += 4, src += 3) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
}

void Row32To24(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, dst += 3, src += 4) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
}

void Row24To555(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, dst += 2, src += 3) {
    const uint16_t v = uint16_t((src[2] & 0xF8) << 7 | (src[1] & 0xF8) << 2 | src[0] >> 3);
    PutLe16(dst, v);
  }
}

void Row555To24(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, dst += 3, src += 2) {
    const uint16_t v = GetLe16(src);
    dst[0] = uint8_t((v & 31) << 3);
    dst[1] = uint8_t((v & 0x3E0) >> 2);
    dst[2] = uint8_t((v & 0x7C00) >> 7);
  }
}

uint32_t NearestColourIndex(const DibRgbQuad* table, uint32_t count, uint8_t r, uint8_t g, uint8_t b) {
  uint32_t best = 0;
  int bestDist = 0x7FFFFFFF;
  for (uint32_t i = 0; i < count; ++i) {
    const int dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDist) {
      bestDist = d;
      best = i;
      if (d == 0) break;
    }
  }
  return best;
}

void Row24To8(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count) {
  for (int i = 0; i < n; ++i, src += 3) dst[i] = uint8_t(NearestColourIndex(table, count, src[2], src[1], src[0]));
}

namespace {
// A colour table entry, black beyond the table.
inline const DibRgbQuad& Entry(const DibRgbQuad* table, uint32_t count, uint32_t i) {
  static const DibRgbQuad black{0, 0, 0, 0};
  return i < count ? table[i] : black;
}
}  // namespace

void Row8To24(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count) {
  for (int i = 0; i < n; ++i, dst += 3) {
    const DibRgbQuad& e = Entry(table, count, src[i]);
    dst[0] = e.rgbBlue;
    dst[1] = e.rgbGreen;
    dst[2] = e.rgbRed;
  }
}

void Row8To4(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i) {
    const uint8_t v = src[i] > 15 ? 15 : src[i];
    if (i & 1) dst[i >> 1] = uint8_t(dst[i >> 1] | v);
    else dst[i >> 1] = uint8_t(v << 4);
  }
}

void Row24To4(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count) {
  for (int i = 0; i < n; ++i, src += 3) {
    uint32_t v = NearestColourIndex(table, count, src[2], src[1], src[0]);
    if (v > 15) v = 15;
    if (i & 1) dst[i >> 1] = uint8_t(dst[i >> 1] | v);
    else dst[i >> 1] = uint8_t(v << 4);
  }
}

void Row4To24(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count) {
  for (int i = 0; i < n; ++i, dst += 3) {
    const uint32_t v = (i & 1) ? src[i >> 1] & 15 : src[i >> 1] >> 4;
    const DibRgbQuad& e = Entry(table, count, v);
    dst[0] = e.rgbBlue;
    dst[1] = e.rgbGreen;
    dst[2] = e.rgbRed;
  }
}

void Row24To1(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, src += 3) {
    if ((i & 7) == 0) dst[i >> 3] = 0;
    if (((src[2] * 77 + src[1] * 151 + src[0] * 28) >> 8) > 127) dst[i >> 3] |= uint8_t(0x80 >> (i & 7));
  }
}

void Row1To24(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, dst += 3) {
    const uint8_t v = (src[i >> 3] & (0x80 >> (i & 7))) ? 255 : 0;
    dst[0] = dst[1] = dst[2] = v;
  }
}

DibHandle QuantizeDibTo8Bit(const DibPlatform& p, DibHandle dib24, int colours, int bits, int sampleFactor) {
  if (!dib24 || bits > 8 || colours < 1 || colours > 256) return nullptr;
  DibLock src(p, dib24);
  DibView s;
  if (!src || !ParseDib(src.get(), src.size(), s) || s.bitCount != 24 || s.compression != kBiRgb) return nullptr;
  // The network learns from whole pixels: the rows without their padding.
  std::vector<uint8_t> pixels(size_t(s.width) * 3 * size_t(s.height));
  for (int32_t y = 0; y < s.height; ++y) std::memcpy(&pixels[size_t(y) * s.width * 3], s.Row(y), size_t(s.width) * 3);
  if (pixels.size() > 0x7FFFFFFF) return nullptr;
  TNeuQuant net(pixels.data(), int(pixels.size()), sampleFactor, colours);
  net.Run();
  DibHolder out(p, NewDib(p, s.width, s.height, 8, 256));
  DibLock dst(p, out.get());
  DibView d;
  if (!dst || !ParseDib(dst.get(), dst.size(), d)) return nullptr;
  DibRgbQuad map[256];
  net.ColourMap(map);
  std::memcpy(d.colours, map, sizeof(DibRgbQuad) * size_t(colours));
  for (int32_t y = 0; y < s.height; ++y) {
    const uint8_t* in = &pixels[size_t(y) * s.width * 3];
    uint8_t* o = d.Row(y);
    for (int32_t x = 0; x < s.width; ++x, in += 3) o[x] = uint8_t(net.Search(in[0], in[1], in[2]));
  }
  return out.release();
}

}  // namespace tsl

TUtilVarMan::TUtilVarMan() : table_(new uint8_t[4096]) {
  uint8_t* t = table_.get();
  for (int b = 0; b < 256; ++b) {
    int r = 0;
    for (int i = 0; i < 8; ++i)
      if (b & (1 << i)) r |= 0x80 >> i;
    t[b] = uint8_t(r);
    t[256 + b] = uint8_t((b << 4 | b >> 4) & 0xFF);
  }
  for (int p = 1; p <= 7; ++p)
    for (int b = 0; b < 256; ++b) {
      t[512 + 256 * (p - 1) + b] = uint8_t(t[b] << (8 - p));
      t[512 + 7 * 256 + 256 * (p - 1) + b] = uint8_t(t[b] >> p);
    }
}

const TUtilVarMan& TUtilVarMan::Instance() {
  static const TUtilVarMan tables;
  return tables;
}

int FlipDibRows(TBitmap_Base& codec) {
  if (!codec.Bits || codec.Height <= 0) return 0;
  const size_t row = size_t(codec.RowBytes());
  std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[row ? row : 1]);
  if (!buf) return 1;
  for (int32_t top = 0, bottom = codec.Height - 1; top < bottom; ++top, --bottom) {
    uint8_t* a = codec.Bits + size_t(top) * row;
    uint8_t* b = codec.Bits + size_t(bottom) * row;
    std::memcpy(buf.get(), a, row);
    std::memcpy(a, b, row);
    std::memcpy(b, buf.get(), row);
  }
  return 0;
}

int MirrorDibRows(TBitmap_Base& codec) {
  if (!codec.Bits || codec.Width <= 0 || codec.Height <= 0) return 0;
  const size_t row = size_t(codec.RowBytes());
  const uint32_t w = uint32_t(codec.Width);
  const TUtilVarMan& t = TUtilVarMan::Instance();
  std::unique_ptr<uint8_t[]> buf(new (std::nothrow) uint8_t[row ? row : 1]);
  if (!buf) return 1;
  for (int32_t y = 0; y < codec.Height; ++y) {
    uint8_t* r = codec.Bits + size_t(y) * row;
    switch (codec.BitsPerPixel) {
      case 1: {
        const size_t n = (w + 7) / 8;
        const int p = int(w % 8);
        std::memcpy(buf.get(), r, n);
        for (size_t j = 0; j < n; ++j) {
          const uint8_t b = buf[n - 1 - j];
          if (p == 0) {
            r[j] = t.Reversed()[b];
          } else {
            r[j] = uint8_t(t.ReversedTop(p)[b] | (j + 1 < n ? t.MatchingLow(p)[buf[n - 2 - j]] : 0));
          }
        }
        break;
      }
      case 4: {
        const size_t n = (w + 1) / 2;
        std::memcpy(buf.get(), r, n);
        for (size_t j = 0; j < n; ++j) {
          if (w % 2 == 0) r[j] = t.NibbleSwapped()[buf[n - 1 - j]];
          else r[j] = uint8_t((buf[n - 1 - j] & 0xF0) | (j + 1 < n ? buf[n - 2 - j] & 0x0F : 0));
        }
        break;
      }
      case 8:
        for (uint32_t a = 0, b = w - 1; a < b; ++a, --b) {
          const uint8_t v = r[a];
          r[a] = r[b];
          r[b] = v;
        }
        break;
      case 24:
        for (uint32_t a = 0, b = w - 1; a < b; ++a, --b)
          for (int k = 0; k < 3; ++k) {
            const uint8_t v = r[3 * a + k];
            r[3 * a + k] = r[3 * b + k];
            r[3 * b + k] = v;
          }
        break;
      default:
        return 0;
    }
  }
  return 0;
}
