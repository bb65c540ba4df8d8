#include "imaging/core/dibutil.h"

#include <cstring>
#include <memory>

#include "imaging/core/bmpcodec.h"
#include "imaging/core/rle.h"
#include "imaging/core/rowconv.h"

namespace tsl {

const DibRgbQuad kFixed16Colours[16] = {
    {0, 0, 0, 0},     {128, 0, 0, 0},     {0, 128, 0, 0},   {128, 128, 0, 0},
    {0, 0, 128, 0},   {128, 0, 128, 0},   {0, 128, 128, 0}, {128, 128, 128, 0},
    {192, 192, 192, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
    {0, 0, 255, 0},   {255, 0, 255, 0},   {0, 255, 255, 0}, {255, 255, 255, 0},
};

namespace {

// A locked, parsed source that an operation may read.
struct Source {
  DibLock lock;
  DibView v;
  bool ok = false;
  Source(const DibPlatform& p, DibHandle h) : lock(p, h) { ok = lock && ParseDib(lock.get(), lock.size(), v); }
  // A 40-byte, uncompressed picture of one of the given depths.
  bool Plain(std::initializer_list<int> depths) const {
    if (!ok || v.header->biSize != kInfoHeaderBytes || v.compression != kBiRgb) return false;
    for (int d : depths)
      if (v.bitCount == d) return true;
    return false;
  }
};

// A new block being filled; freed unless released.
struct Target {
  DibHolder hold;
  std::unique_ptr<DibLock> lock;
  DibView v;
  Target(const DibPlatform& p, int32_t w, int32_t h, uint16_t bits, uint32_t colours)
      : hold(p, NewDib(p, w, h, bits, colours)) {
    if (!hold) return;
    lock = std::make_unique<DibLock>(p, hold.get());
    if (!*lock || !ParseDib(lock->get(), lock->size(), v)) {
      lock.reset();
      hold.reset();
    }
  }
  bool ok() const { return lock != nullptr; }
  DibHandle Release() {
    lock.reset();
    return hold.release();
  }
  void CopyResolution(const DibView& s) {
    v.header->biXPelsPerMeter = s.header->biXPelsPerMeter;
    v.header->biYPelsPerMeter = s.header->biYPelsPerMeter;
  }
};

uint8_t Clamp(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// Spreads the error of pixel (x, y) of a 24-bit picture over its neighbours
// that come later in storage order.
void Diffuse(const DibView& v, int32_t x, int32_t y, const int e[3]) {
  const bool right = x + 1 < v.width, up = y + 1 < v.height;
  auto add = [&](int32_t px, int32_t py, int num, int den) {
    uint8_t* q = v.Row(py) + size_t(px) * 3;
    for (int c = 0; c < 3; ++c) q[c] = Clamp(q[c] + e[c] * num / den);
  };
  if (right) add(x + 1, y, 3, 8);
  if (up) add(x, y + 1, 3, 8);
  if (right && up) add(x + 1, y + 1, 1, 4);
}

// The conversion of a copy of a picture that the next step may change.
template <class Step>
DibHandle OnCopy(const DibPlatform& p, DibHandle dib, Step step) {
  DibHolder copy(p, DuplicateGlobal(p, dib));
  if (!copy) return nullptr;
  return step(p, copy.get());
}

template <class First, class Second>
DibHandle Chain(const DibPlatform& p, DibHandle dib, First first, Second second) {
  DibHolder mid(p, first(p, dib));
  if (!mid) return nullptr;
  return second(p, mid.get());
}

}  // namespace

uint16_t DibBitCount(const DibPlatform& p, DibHandle dib) {
  DibLock l(p, dib);
  return l && l.size() >= kInfoHeaderBytes ? reinterpret_cast<DibInfoHeader*>(l.get())->biBitCount : 0;
}

int32_t DibWidth(const DibPlatform& p, DibHandle dib) {
  DibLock l(p, dib);
  return l && l.size() >= kInfoHeaderBytes ? reinterpret_cast<DibInfoHeader*>(l.get())->biWidth : 0;
}

int32_t DibHeight(const DibPlatform& p, DibHandle dib) {
  DibLock l(p, dib);
  return l && l.size() >= kInfoHeaderBytes ? reinterpret_cast<DibInfoHeader*>(l.get())->biHeight : 0;
}

bool DibPaletteColours(const DibPlatform& p, DibHandle dib, std::vector<DibRgbQuad>& out) {
  out.clear();
  Source s(p, dib);
  if (!s.ok || s.v.header->biSize != kInfoHeaderBytes) return false;
  if (s.v.numColours > 0) {
    out.assign(s.v.colours, s.v.colours + s.v.numColours);
    return true;
  }
  out.resize(256);
  for (int i = 0; i < 256; ++i)
    out[size_t(i)] = {uint8_t(64 * (i / 64)), uint8_t(32 * ((i / 8) % 8)), uint8_t(32 * (i % 8)), 0};
  return true;
}

DibHandle CopyGlobalBlock(const DibPlatform& p, DibHandle dib) { return DuplicateGlobal(p, dib); }

namespace {
// The 40-byte header of a bitmap file (a 12-byte one widened) and whether
// it was a core header. False for anything else.
bool ReadInfoHeader(ByteStream& f, DibInfoHeader& h, bool& core) {
  uint8_t b[40];
  if (f.Read(b, 4) != 4) return false;
  const uint32_t size = GetLe32(b);
  if (size != 12 && size != 40) return false;
  if (f.Read(b + 4, size - 4) != size - 4) return false;
  core = size == 12;
  std::memset(&h, 0, sizeof h);
  h.biSize = kInfoHeaderBytes;
  if (core) {
    h.biWidth = GetLe16(b + 4);
    h.biHeight = GetLe16(b + 6);
    h.biPlanes = GetLe16(b + 8);
    h.biBitCount = GetLe16(b + 10);
    h.biXPelsPerMeter = h.biYPelsPerMeter = kDefaultPelsPerMeter;
  } else {
    std::memcpy(&h, b, 40);
  }
  return true;
}
}  // namespace

bool IsBmpFile(ByteStream& f) {
  uint8_t fh[14];
  if (f.Read(fh, 14) != 14 || GetLe16(fh) != 0x4D42) return false;
  DibInfoHeader h;
  bool core = false;
  return ReadInfoHeader(f, h, core);
}

DibHandle ReadBmpHeader(const DibPlatform& p, ByteStream& f) {
  uint8_t fh[14];
  if (f.Read(fh, 14) != 14 || GetLe16(fh) != 0x4D42) return nullptr;
  const uint32_t bitsOffset = GetLe32(fh + 10);
  DibInfoHeader h;
  bool core = false;
  if (!ReadInfoHeader(f, h, core)) return nullptr;
  const uint32_t b = h.biBitCount;
  if (h.biWidth <= 0 || h.biHeight <= 0) return nullptr;
  if (core ? !(b == 1 || b == 4 || b == 8 || b == 24) : !(b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32))
    return nullptr;
  switch (h.biCompression) {
    case kBiRgb: break;
    case kBiRle8: if (b != 8) return nullptr; break;
    case kBiRle4: if (b != 4) return nullptr; break;
    case kBiBitfields: if (b != 16 && b != 32) return nullptr; break;
    default: return nullptr;
  }
  const uint64_t computed = RowBytesFor(h.biWidth, b) * uint64_t(h.biHeight);
  if (computed > kMaxDibBytes) return nullptr;
  const bool plain = h.biCompression == kBiRgb || h.biCompression == kBiBitfields;
  if (h.biSizeImage == 0 || (plain && h.biSizeImage != computed)) h.biSizeImage = uint32_t(computed);
  if (h.biClrUsed == 0) h.biClrUsed = DibNumColors(&h);
  if (h.biClrUsed > 256) return nullptr;
  const uint32_t masks = h.biCompression == kBiBitfields ? kMaskBytes : 0;
  DibHolder block(p, p.Alloc(kInfoHeaderBytes + masks + 4 * h.biClrUsed, true));
  DibLock l(p, block.get());
  if (!l) return nullptr;
  std::memcpy(l.get(), &h, sizeof h);
  if (masks && f.Read(l.get() + kInfoHeaderBytes, masks) != masks) return nullptr;
  auto* table = reinterpret_cast<DibRgbQuad*>(l.get() + kInfoHeaderBytes + masks);
  if (core) {
    uint8_t rgb[256 * 3];
    const uint32_t n = 3 * h.biClrUsed;
    if (f.Read(rgb, n) != n) return nullptr;
    for (uint32_t i = 0; i < h.biClrUsed; ++i) table[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 0};
  } else {
    const uint32_t n = 4 * h.biClrUsed;
    if (f.Read(table, n) != n) return nullptr;
  }
  if (bitsOffset != 0 && f.Seek(bitsOffset) < 0) return nullptr;
  return block.release();
}

DibHandle ReadBmpFile(const DibPlatform& p, ByteStream& f) {
  DibHolder head(p, ReadBmpHeader(p, f));
  DibLock hl(p, head.get());
  if (!hl) return nullptr;
  const auto* h = reinterpret_cast<const DibInfoHeader*>(hl.get());
  const size_t headBytes = hl.size();
  const uint32_t image = h->biSizeImage;
  // Nothing is allocated for rows that the file does not hold.
  const int64_t left = f.Remaining();
  if (left >= 0 && left < int64_t(image)) return nullptr;
  if (headBytes + uint64_t(image) > kMaxDibBytes) return nullptr;
  DibHolder out(p, p.Alloc(headBytes + image, true));
  DibLock ol(p, out.get());
  if (!ol) return nullptr;
  std::memcpy(ol.get(), hl.get(), headBytes);
  if (f.Read(ol.get() + headBytes, image) != image) return nullptr;
  return out.release();
}

bool WriteBmpFile(const DibPlatform& p, ByteStream& f, DibHandle dib) {
  DibLock l(p, dib);
  if (!l || l.size() > kMaxDibBytes) return false;
  uint8_t fh[14] = {'B', 'M'};
  PutLe32(fh + 2, uint32_t(l.size() + 14));
  PutLe32(fh + 10, PackedDibBitsOffset(l.get(), l.size()));
  return f.Write(fh, 14) == 14 && f.Write(l.get(), uint32_t(l.size())) == l.size();
}

DibHandle CopyDibRect(const DibPlatform& p, DibHandle dib, int32_t x, int32_t y, int32_t width, int32_t height) {
  Source s(p, dib);
  if (!s.Plain({1, 4, 8, 24})) return nullptr;
  const DibView& v = s.v;
  const int64_t x0 = x > 0 ? x : 0, y0 = y > 0 ? y : 0;
  const int64_t x1 = int64_t(x) + width < v.width ? int64_t(x) + width : v.width;
  const int64_t y1 = int64_t(y) + height < v.height ? int64_t(y) + height : v.height;
  if (x1 <= x0 || y1 <= y0) return nullptr;
  const int32_t w = int32_t(x1 - x0), h = int32_t(y1 - y0);
  Target t(p, w, h, v.bitCount, v.numColours);
  if (!t.ok()) return nullptr;
  std::memcpy(t.v.colours, v.colours, 4 * size_t(v.numColours));
  const uint32_t srcRow = v.rowBytes;
  for (int32_t r = 0; r < h; ++r) {
    const uint8_t* src = v.Row(int32_t(y0) + r);
    uint8_t* dst = t.v.Row(r);
    auto at = [&](uint64_t i) -> uint8_t { return i < srcRow ? src[i] : 0; };
    switch (v.bitCount) {
      case 1: {
        const uint64_t first = uint64_t(x0) / 8;
        const int shift = int(x0 % 8);
        const uint32_t n = (uint32_t(w) + 7) / 8;
        for (uint32_t j = 0; j < n; ++j)
          dst[j] = uint8_t(shift ? (at(first + j) << shift | at(first + j + 1) >> (8 - shift)) : at(first + j));
        if (w % 8) dst[n - 1] &= uint8_t(0xFF << (8 - w % 8));
        break;
      }
      case 4: {
        const uint64_t first = uint64_t(x0) / 2;
        const uint32_t n = (uint32_t(w) + 1) / 2;
        for (uint32_t j = 0; j < n; ++j)
          dst[j] = uint8_t((x0 & 1) ? (at(first + j) << 4 | at(first + j + 1) >> 4) : at(first + j));
        if (w & 1) dst[n - 1] &= 0xF0;
        break;
      }
      default: {
        const size_t bpp = v.bitCount / 8;
        std::memcpy(dst, src + size_t(x0) * bpp, size_t(w) * bpp);
        break;
      }
    }
  }
  return t.Release();
}

DibHandle ExpandRleDib(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.ok || s.v.header->biSize != kInfoHeaderBytes || !s.v.Compressed()) return nullptr;
  const DibView& v = s.v;
  Target t(p, v.width, v.height, v.bitCount, v.numColours);
  if (!t.ok()) return nullptr;
  std::memcpy(t.v.colours, v.colours, 4 * size_t(v.numColours));
  RleMemorySource src(v.bits, v.imageBytes);
  const RleResult r = v.compression == kBiRle8 ? DecodeRle8(src, t.v.bits, t.v.rowBytes, v.height)
                                               : DecodeRle4(src, t.v.bits, t.v.rowBytes, v.height);
  return r == RleResult::Ok ? t.Release() : nullptr;
}

DibHandle MakeGreyDib(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.Plain({1, 4, 8, 24})) return nullptr;
  const DibView& v = s.v;
  if (v.bitCount == 24) {
    Target t(p, v.width, v.height, 8, 256);
    if (!t.ok()) return nullptr;
    for (int i = 0; i < 256; ++i) t.v.colours[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    for (int32_t y = 0; y < v.height; ++y) {
      const uint8_t* in = v.Row(y);
      uint8_t* o = t.v.Row(y);
      for (int32_t x = 0; x < v.width; ++x, in += 3) o[x] = GreyValue(in[2], in[1], in[0]);
    }
    return t.Release();
  }
  DibHolder copy(p, DuplicateGlobal(p, dib));
  DibLock l(p, copy.get());
  DibView c;
  if (!l || !ParseDib(l.get(), l.size(), c)) return nullptr;
  for (uint32_t i = 0; i < c.numColours; ++i) {
    DibRgbQuad& e = c.colours[i];
    const uint8_t g = GreyValue(e.rgbRed, e.rgbGreen, e.rgbBlue);
    e = {g, g, g, 0};
  }
  return copy.release();
}

GreyResult GreyDibInPlace(const DibPlatform& p, DibHandle dib, uint16_t mode, double red, double green, double blue,
                          uint32_t invert) {
  Source s(p, dib);
  if (!s.ok || s.v.compression != kBiRgb) return GreyResult::Failed;
  if (mode > 2) return GreyResult::UnknownMode;
  const DibView& v = s.v;
  if (v.numColours == 0 && v.bitCount != 24) return GreyResult::Failed;
  auto grey = [&](int r, int g, int b) -> uint8_t {
    int value = 0;
    if (mode == 0) {
      value = r > g ? r : g;
      if (b > value) value = b;
    } else if (mode == 1) {
      value = r / 3 + g / 3 + b / 3;
    } else {
      const double d = r * red + g * green + b * blue;
      // Out-of-range weights must not reach the conversion to int.
      value = d >= 255.0 ? 255 : d > 0.0 ? int(d) : 0;
    }
    if (value > 255) value = 255;
    return uint8_t(invert ? 255 - value : value);
  };
  if (v.numColours > 0) {
    for (uint32_t i = 0; i < v.numColours; ++i) {
      DibRgbQuad& e = v.colours[i];
      const uint8_t g = grey(e.rgbRed, e.rgbGreen, e.rgbBlue);
      e.rgbRed = e.rgbGreen = e.rgbBlue = g;
    }
  } else {
    for (int32_t y = 0; y < v.height; ++y) {
      uint8_t* q = v.Row(y);
      for (int32_t x = 0; x < v.width; ++x, q += 3) q[0] = q[1] = q[2] = grey(q[2], q[1], q[0]);
    }
  }
  return GreyResult::Changed;
}

DibHandle Dib1To4(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.Plain({1})) return nullptr;
  const DibView& v = s.v;
  Target t(p, v.width, v.height, 4, 16);
  if (!t.ok()) return nullptr;
  t.CopyResolution(v);
  t.v.header->biClrImportant = v.numColours;
  std::memcpy(t.v.colours, v.colours, 4 * size_t(v.numColours < 16 ? v.numColours : 16));
  for (int32_t y = 0; y < v.height; ++y) {
    const uint8_t* in = v.Row(y);
    uint8_t* o = t.v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) {
      const uint8_t bit = (in[x >> 3] >> (7 - (x & 7))) & 1;
      if (x & 1) o[x >> 1] |= bit;
      else o[x >> 1] = uint8_t(bit << 4);
    }
  }
  return t.Release();
}

DibHandle Dib4To8(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.Plain({4})) return nullptr;
  const DibView& v = s.v;
  Target t(p, v.width, v.height, 8, 256);
  if (!t.ok()) return nullptr;
  t.CopyResolution(v);
  t.v.header->biClrImportant = v.numColours;
  std::memcpy(t.v.colours, v.colours, 4 * size_t(v.numColours < 256 ? v.numColours : 256));
  for (int32_t y = 0; y < v.height; ++y) {
    const uint8_t* in = v.Row(y);
    uint8_t* o = t.v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) o[x] = (x & 1) ? in[x >> 1] & 15 : in[x >> 1] >> 4;
  }
  return t.Release();
}

DibHandle Dib8To24(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.Plain({8})) return nullptr;
  const DibView& v = s.v;
  Target t(p, v.width, v.height, 24, 0);
  if (!t.ok()) return nullptr;
  t.CopyResolution(v);
  for (int32_t y = 0; y < v.height; ++y) Row8To24(t.v.Row(y), v.Row(y), v.width, v.colours, v.numColours);
  return t.Release();
}

DibHandle Dib1To8(const DibPlatform& p, DibHandle dib) { return Chain(p, dib, Dib1To4, Dib4To8); }
DibHandle Dib1To24(const DibPlatform& p, DibHandle dib) { return Chain(p, dib, Dib1To8, Dib8To24); }
DibHandle Dib4To24(const DibPlatform& p, DibHandle dib) { return Chain(p, dib, Dib4To8, Dib8To24); }
DibHandle Dib24To1(const DibPlatform& p, DibHandle dib) {
  return DibBitCount(p, dib) == 24 ? OnCopy(p, dib, Dib24To1Dithered) : nullptr;
}
DibHandle Dib8To1(const DibPlatform& p, DibHandle dib) { return Chain(p, dib, Dib8To24, Dib24To1Dithered); }
DibHandle Dib4To1(const DibPlatform& p, DibHandle dib) { return Chain(p, dib, Dib4To24, Dib24To1Dithered); }
DibHandle Dib24To4(const DibPlatform& p, DibHandle dib) {
  return DibBitCount(p, dib) == 24 ? OnCopy(p, dib, Dib24To4Dithered) : nullptr;
}
DibHandle Dib8To4(const DibPlatform& p, DibHandle dib) { return Chain(p, dib, Dib8To24, Dib24To4Dithered); }

DibHandle ReduceDib24(const DibPlatform& p, DibHandle dib, uint32_t grey) {
  if (DibBitCount(p, dib) != 24) return nullptr;
  return grey == 0 ? QuantizeDib24(p, dib, 8, kQuantizeDither | kQuantizeMedianCut) : MakeGreyDib(p, dib);
}

DibHandle Dib24To1Dithered(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.Plain({24})) return nullptr;
  const DibView& v = s.v;
  Target t(p, v.width, v.height, 1, 2);
  if (!t.ok()) return nullptr;
  t.CopyResolution(v);
  t.v.header->biClrImportant = 2;
  t.v.colours[0] = {0, 0, 0, 0};
  t.v.colours[1] = {255, 255, 255, 0};
  for (int32_t y = 0; y < v.height; ++y) {
    uint8_t* o = t.v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) {
      const uint8_t* q = v.Row(y) + size_t(x) * 3;
      const bool white = GreyValue(q[2], q[1], q[0]) > 127;
      if (white) o[x >> 3] |= uint8_t(0x80 >> (x & 7));
      const int c = white ? 255 : 0;
      const int e[3] = {q[0] - c, q[1] - c, q[2] - c};
      Diffuse(v, x, y, e);
    }
  }
  return t.Release();
}

DibHandle Dib24To4Dithered(const DibPlatform& p, DibHandle dib) {
  Source s(p, dib);
  if (!s.Plain({24})) return nullptr;
  const DibView& v = s.v;
  Target t(p, v.width, v.height, 4, 16);
  if (!t.ok()) return nullptr;
  t.CopyResolution(v);
  t.v.header->biClrImportant = 16;
  std::memcpy(t.v.colours, kFixed16Colours, sizeof kFixed16Colours);
  std::vector<uint8_t> lookup(kColourCells);
  for (int cell = 0; cell < kColourCells; ++cell) {
    const int r = (cell >> 10) << 3, g = ((cell >> 5) & 31) << 3, b = (cell & 31) << 3;
    uint32_t best = 0, bestD = 0xFFFFFFFFu;
    for (uint32_t i = 0; i < 16; ++i) {
      const DibRgbQuad& e = kFixed16Colours[i];
      const uint32_t d = ColorDistance2(r, g, b, e.rgbRed, e.rgbGreen, e.rgbBlue);
      if (d < bestD) {
        bestD = d;
        best = i;
      }
    }
    lookup[size_t(cell)] = uint8_t(best);
  }
  for (int32_t y = 0; y < v.height; ++y) {
    uint8_t* o = t.v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) {
      const uint8_t* q = v.Row(y) + size_t(x) * 3;
      const uint8_t i = lookup[ColourCell(q[2], q[1], q[0])];
      if (x & 1) o[x >> 1] |= i;
      else o[x >> 1] = uint8_t(i << 4);
      const DibRgbQuad& c = kFixed16Colours[i];
      const int e[3] = {q[0] - c.rgbBlue, q[1] - c.rgbGreen, q[2] - c.rgbRed};
      Diffuse(v, x, y, e);
    }
  }
  return t.Release();
}

void MedianCutBox(const uint32_t* hist, std::vector<DibRgbQuad>& palette, int r0, int r1, int g0, int g1, int b0,
                  int b1, uint32_t k, uint64_t n) {
  if (n == 0 || k == 0 || palette.size() >= 256) return;
  auto count = [&](int r, int g, int b) -> uint64_t { return hist[r << 10 | g << 5 | b]; };
  if (r0 == r1 && g0 == g1 && b0 == b1) {
    if (count(r0, g0, b0) != 0) palette.push_back({uint8_t(b0 << 3), uint8_t(g0 << 3), uint8_t(r0 << 3), 0});
    return;
  }
  if (k == 1 || n == 1) {
    uint64_t sr = 0, sg = 0, sb = 0, total = 0;
    for (int r = r0; r <= r1; ++r)
      for (int g = g0; g <= g1; ++g)
        for (int b = b0; b <= b1; ++b) {
          const uint64_t c = count(r, g, b);
          sr += c * uint64_t(r);
          sg += c * uint64_t(g);
          sb += c * uint64_t(b);
          total += c;
        }
    if (total == 0) return;
    palette.push_back({uint8_t((sb / total) << 3), uint8_t((sg / total) << 3), uint8_t((sr / total) << 3), 0});
    return;
  }
  const int er = r1 - r0, eg = g1 - g0, eb = b1 - b0;
  const int axis = (eb > er && eb > eg) ? 2 : (eg > er ? 1 : 0);
  const int lo = axis == 0 ? r0 : axis == 1 ? g0 : b0;
  const int hi = axis == 0 ? r1 : axis == 1 ? g1 : b1;
  auto plane = [&](int i) -> uint64_t {
    uint64_t sum = 0;
    const int ra = axis == 0 ? i : r0, rb = axis == 0 ? i : r1;
    const int ga = axis == 1 ? i : g0, gb = axis == 1 ? i : g1;
    const int ba = axis == 2 ? i : b0, bb = axis == 2 ? i : b1;
    for (int r = ra; r <= rb; ++r)
      for (int g = ga; g <= gb; ++g)
        for (int b = ba; b <= bb; ++b) sum += count(r, g, b);
    return sum;
  };
  uint64_t low = 0;
  int split = lo;
  for (; split <= hi; ++split) {
    low += plane(split);
    if (low >= n / 2) break;
  }
  if (split > hi) split = hi;
  if (split == hi) {  // the last plane goes to the high part
    low -= plane(hi);
    --split;
  }
  const uint64_t high = n >= low ? n - low : 0;
  int lr1 = r1, lg1 = g1, lb1 = b1, hr0 = r0, hg0 = g0, hb0 = b0;
  if (axis == 0) { lr1 = split; hr0 = split + 1; }
  else if (axis == 1) { lg1 = split; hg0 = split + 1; }
  else { lb1 = split; hb0 = split + 1; }
  MedianCutBox(hist, palette, r0, lr1, g0, lg1, b0, lb1, k / 2, low);
  MedianCutBox(hist, palette, hr0, r1, hg0, g1, hb0, b1, k / 2, high);
}

DibHandle QuantizeDib24(const DibPlatform& p, DibHandle dib, uint32_t bits, uint32_t flags) {
  if (bits < 1 || bits > 8) return nullptr;
  const bool dither = flags & kQuantizeDither;
  DibHolder work(p, dither ? DuplicateGlobal(p, dib) : nullptr);
  Source s(p, dither ? work.get() : dib);
  if (!s.Plain({24})) return nullptr;
  const DibView& v = s.v;
  const uint32_t k = 1u << bits;
  std::vector<uint32_t> hist(kColourCells, 0);
  for (int32_t y = 0; y < v.height; ++y) {
    const uint8_t* q = v.Row(y);
    for (int32_t x = 0; x < v.width; ++x, q += 3) ++hist[ColourCell(q[2], q[1], q[0])];
  }
  Target t(p, v.width, v.height, 8, 256);
  if (!t.ok()) return nullptr;
  std::vector<DibRgbQuad> palette;
  if (flags & kQuantizeMedianCut) {
    MedianCutBox(hist.data(), palette, 0, 31, 0, 31, 0, 31, k, uint64_t(v.width) * uint64_t(v.height));
  } else {
    for (uint32_t i = 0; i < k; ++i) {
      uint32_t best = 0;
      for (uint32_t c = 1; c < uint32_t(kColourCells); ++c)
        if (hist[c] > hist[best]) best = c;
      palette.push_back({uint8_t((best & 31) << 3), uint8_t(((best >> 5) & 31) << 3), uint8_t((best >> 10) << 3), 0});
      hist[best] = 1;
    }
  }
  if (palette.empty()) palette.push_back({0, 0, 0, 0});
  std::memcpy(t.v.colours, palette.data(), 4 * palette.size());
  std::vector<uint8_t> lookup(kColourCells, 0);
  for (int cell = 0; cell < kColourCells; ++cell) {
    if (!dither && hist[size_t(cell)] == 0) continue;
    const int r = (cell >> 10) << 3, g = ((cell >> 5) & 31) << 3, b = (cell & 31) << 3;
    uint32_t best = 0, bestD = 0xFFFFFFFFu;
    for (uint32_t i = 0; i < palette.size(); ++i) {
      const uint32_t d = ColorDistance2(r, g, b, palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
      if (d < bestD) {
        bestD = d;
        best = i;
      }
    }
    lookup[size_t(cell)] = uint8_t(best);
  }
  for (int32_t y = 0; y < v.height; ++y) {
    uint8_t* o = t.v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) {
      const uint8_t* q = v.Row(y) + size_t(x) * 3;
      const uint8_t i = lookup[ColourCell(q[2], q[1], q[0])];
      o[x] = i;
      if (dither) {
        const DibRgbQuad& c = palette[i];
        const int e[3] = {q[0] - c.rgbBlue, q[1] - c.rgbGreen, q[2] - c.rgbRed};
        Diffuse(v, x, y, e);
      }
    }
  }
  return t.Release();
}

}  // namespace tsl
