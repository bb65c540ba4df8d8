#include "imaging/core/pcxcodec.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/core/picinput.h"
#include "imaging/core/rowconv.h"

using tsl::ByteStream;
using tsl::GetLe16;
using tsl::PictureInput;

namespace {

// PCX runs: a byte with both top bits set repeats the next byte; a run that
// outlasts its line goes on in the next one unless runs are cut.
class PcxRuns {
public:
  PcxRuns(PictureInput& in, bool truncate) : in_(in), truncate_(truncate) {}
  bool Line(uint8_t* line, uint32_t n) {
    uint32_t i = 0;
    while (i < n) {
      if (count_) {
        const uint32_t take = count_ < n - i ? count_ : n - i;
        std::memset(line + i, value_, take);
        i += take;
        count_ -= take;
        continue;
      }
      const int b = in_.Byte();
      if (b < 0) return false;
      if ((b & 0xC0) == 0xC0) {
        const int v = in_.Byte();
        if (v < 0) return false;
        count_ = uint32_t(b & 0x3F);
        value_ = uint8_t(v);
      } else {
        line[i++] = uint8_t(b);
      }
    }
    if (truncate_) count_ = 0;
    return true;
  }

private:
  PictureInput& in_;
  bool truncate_;
  uint32_t count_ = 0;
  uint8_t value_ = 0;
};

}  // namespace

TPCX::TPCX(const tsl::DibPlatform& platform) : TBitmap_Base(platform) {
  TruncateRuns = 0;
  Version = 0;
  Planes = 0;
  BytesPerLine = 0;
  std::memset(headerPalette_, 0, sizeof headerPalette_);
}

int TPCX::ReadHeader(ByteStream* f, const char* options) {
  TruncateRuns = tsl::FindOptionWord(options, "trunc") != nullptr;
  if (!f || f->Seek(StartOffset) < 0) return kBitmapShortRead;
  uint8_t h[70];
  if (f->Read(h, sizeof h) != sizeof h) return kBitmapShortRead;
  if (h[0] != 10) return kBitmapBadSignature;
  Version = h[1];
  if (Version == 4 || Version > 5) return kBitmapBadVersion;
  if (h[2] != 1) return kBitmapBadDepth;
  Planes = h[65];
  switch (uint32_t(h[3]) << 8 | Planes) {
    case 0x101: BitsPerPixel = 1; break;
    case 0x104:
    case 0x401: BitsPerPixel = 4; break;
    case 0x801: BitsPerPixel = 8; break;
    case 0x803: BitsPerPixel = 24; break;
    default: return kBitmapBadCombination;
  }
  Width = int32_t(GetLe16(h + 8)) - int32_t(GetLe16(h + 4)) + 1;
  Height = int32_t(GetLe16(h + 10)) - int32_t(GetLe16(h + 6)) + 1;
  if (Width < 1 || Height < 1) return kBitmapBadSize;
  BytesPerLine = GetLe16(h + 66);
  // A plane line must hold the picture's width; a longer one is cut.
  const uint32_t w = uint32_t(Width);
  const uint32_t needed = h[3] == 8 ? w : BitsPerPixel == 4 && Planes == 1 ? (w + 1) / 2 : (w + 7) / 8;
  if (BytesPerLine == 0 || BytesPerLine < needed) return kBitmapBadSize;
  std::memcpy(headerPalette_, h + 16, sizeof headerPalette_);
  Colours = ColoursForBits(BitsPerPixel);
  if (!ComputeSizes()) return kBitmapNoMemory;
  return kBitmapOk;
}

int TPCX::ReadPalette(ByteStream* f, tsl::DibRgbQuad* table) {
  if (BitsPerPixel == 1) {
    table[0] = {0, 0, 0, 0};
    table[1] = {255, 255, 255, 0};
  } else if (BitsPerPixel == 4) {
    for (int i = 0; i < 16; ++i)
      table[i] = {headerPalette_[3 * i + 2], headerPalette_[3 * i + 1], headerPalette_[3 * i], 0};
  } else if (BitsPerPixel == 8) {
    const int64_t end = PictureEnd(f);
    // The table lies at the picture's end, never inside its header.
    if (end < 0 || end - 769 < int64_t(StartOffset) + 128) return kBitmapBadCompression;
    uint8_t p[769];
    if (f->Seek(end - 769) < 0 || f->Read(p, 769) != 769) return kBitmapShortRead;
    if (p[0] != 12) return kBitmapBadCompression;
    for (int i = 0; i < 256; ++i) table[i] = {p[3 * i + 3], p[3 * i + 2], p[3 * i + 1], 0};
  }
  return kBitmapOk;
}

int TPCX::ReadData(ByteStream* f, uint8_t* bits) {
  if (f->Seek(int64_t(StartOffset) + 128) < 0) return kBitmapShortRead;
  PictureInput in(f, PictureEnd(f));
  PcxRuns runs(in, TruncateRuns != 0);
  const uint32_t bpl = BytesPerLine, w = uint32_t(Width), h = uint32_t(Height);
  const uint64_t rowBytes = uint64_t(RowBytes());
  std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[size_t(bpl) * 3]);
  if (!line) return kBitmapNoMemory;
  uint8_t* l = line.get();
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = bits + uint64_t(h - 1 - y) * rowBytes;
    if (BitsPerPixel == 24) {
      for (uint32_t p = 0; p < 3; ++p)
        if (!runs.Line(l + size_t(p) * bpl, bpl)) return kBitmapShortRead;
      const uint8_t *r = l, *g = l + bpl, *b = l + 2 * size_t(bpl);
      for (uint32_t x = 0; x < w; ++x, row += 3) {
        row[0] = b[x];
        row[1] = g[x];
        row[2] = r[x];
      }
    } else if (BitsPerPixel == 4 && Planes == 4) {
      static const uint8_t kMasks[4] = {0x11, 0x22, 0x44, 0x88};
      const uint32_t planeBytes = (w + 7) / 8;
      for (uint32_t p = 0; p < 4; ++p) {
        if (!runs.Line(l, bpl)) return kBitmapShortRead;
        for (uint32_t j = 0; j < planeBytes; ++j) {
          const uint32_t used = j + 1 < planeBytes || (w & 7) == 0 ? 8 : (w & 7);
          const uint8_t v = l[j];
          uint8_t* d = row + 4 * size_t(j);
          for (uint32_t k = 0; k < used; ++k)
            if (v & (0x80 >> k)) d[k / 2] |= kMasks[p] & ((k & 1) ? 0x0F : 0xF0);
        }
      }
    } else {
      if (!runs.Line(l, bpl)) return kBitmapShortRead;
      const uint32_t used = BitsPerPixel == 8 ? w : BitsPerPixel == 4 ? (w + 1) / 2 : (w + 7) / 8;
      std::memcpy(row, l, used);
    }
  }
  return kBitmapOk;
}

int TPCX::Write(ByteStream*, tsl::DibHandle) { return kBitmapOk; }

TTGA::TTGA(const tsl::DibPlatform& platform) : TBitmap_Base(platform) {
  ImageType = IdLength = ColourMapEntrySize = ColourMapType = ImageDescriptor = PixelDepth = 0;
  ColourMapFirst = ColourMapLength = 0;
}

int TTGA::ReadHeader(ByteStream* f, const char*) {
  if (!f || f->Seek(StartOffset) < 0) return kBitmapShortRead;
  uint8_t h[18];
  if (f->Read(h, sizeof h) != sizeof h) return kBitmapShortRead;
  IdLength = h[0];
  ColourMapType = h[1];
  ImageType = h[2];
  ColourMapFirst = GetLe16(h + 3);
  ColourMapLength = GetLe16(h + 5);
  ColourMapEntrySize = h[7];
  PixelDepth = h[16];
  ImageDescriptor = h[17];
  if (ImageType > 11) return kBitmapBadDepth;
  switch (ImageType) {
    case 1:
    case 9:
      if (PixelDepth != 8) return kBitmapBadVersion;
      if (ColourMapEntrySize != 24) return kBitmapBadCombination;
      break;
    case 2:
    case 10:
      if (PixelDepth != 16 && PixelDepth != 24 && PixelDepth != 32) return kBitmapBadVersion;
      break;
    case 3:
    case 11:
      if (PixelDepth != 8) return kBitmapBadVersion;
      break;
    default: return kBitmapBadDepth;
  }
  Width = GetLe16(h + 12);
  Height = GetLe16(h + 14);
  if (Width < 1 || Height == 0) return kBitmapBadSize;
  BitsPerPixel = PixelDepth == 8 ? 8 : 24;
  Colours = ColoursForBits(BitsPerPixel);
  if (!ComputeSizes()) return kBitmapNoMemory;
  return kBitmapOk;
}

int TTGA::ReadPalette(ByteStream* f, tsl::DibRgbQuad* table) {
  if (ImageType == 3 || ImageType == 11) {
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  } else if (ImageType == 1 || ImageType == 9) {
    std::memset(table, 0, 1024);
    if (f->Seek(int64_t(StartOffset) + 18 + IdLength) < 0) return kBitmapShortRead;
    std::vector<uint8_t> map(size_t(ColourMapLength) * 3);
    if (!map.empty() && f->Read(map.data(), uint32_t(map.size())) != map.size()) return kBitmapShortRead;
    for (uint32_t i = 0; i < ColourMapLength; ++i) {
      const uint32_t index = ColourMapFirst + i;
      if (index < 256) table[index] = {map[3 * i], map[3 * i + 1], map[3 * i + 2], 0};
    }
  }
  return kBitmapOk;
}

int TTGA::ReadData(ByteStream* f, uint8_t* bits) {
  int64_t at = int64_t(StartOffset) + 18 + IdLength;
  if (ColourMapType) at += int64_t(ColourMapEntrySize == 15 ? 16 : ColourMapEntrySize) * ColourMapLength / 8;
  if (f->Seek(at) < 0) return kBitmapShortRead;
  const uint32_t w = uint32_t(Width), h = uint32_t(Height), in = PixelDepth / 8;
  const uint64_t rowBytes = uint64_t(RowBytes());
  const bool topDown = (ImageDescriptor & 0x20) != 0;
  auto rowAt = [&](uint32_t y) { return bits + uint64_t(topDown ? h - 1 - y : y) * rowBytes; };

  if (ImageType < 9) {
    std::unique_ptr<uint8_t[]> work;
    if (in != 1 && in != 3) {
      work.reset(new (std::nothrow) uint8_t[size_t(w) * in]);
      if (!work) return kBitmapNoMemory;
    }
    for (uint32_t y = 0; y < h; ++y) {
      uint8_t* row = rowAt(y);
      uint8_t* dst = work ? work.get() : row;
      if (f->Read(dst, w * in) != w * in) return kBitmapShortRead;
      if (in == 2) tsl::Row555To24(row, dst, int(w));
      if (in == 4) tsl::Row32To24(row, dst, int(w));
    }
    return kBitmapOk;
  }

  // Run-length packets; pixels run on across rows and stop at the picture's
  // end.
  PictureInput src(f, PictureEnd(f));
  const uint32_t out = in == 1 ? 1 : 3;
  uint32_t y = 0, x = 0;
  uint8_t* row = rowAt(0);
  // n pixels of `in` bytes from p into the row at x.
  auto convert = [&](uint8_t* d, const uint8_t* p, uint32_t n) {
    if (in == out)
      std::memcpy(d, p, size_t(n) * in);
    else if (in == 2)
      tsl::Row555To24(d, p, int(n));
    else
      tsl::Row32To24(d, p, int(n));
  };
  // Moves on by n pixels, which never pass the row's end.
  auto advance = [&](uint32_t n) {
    x += n;
    if (x == w) {
      x = 0;
      if (++y < h) row = rowAt(y);
    }
  };
  uint8_t px[4];
  while (y < h) {
    const int header = src.Byte();
    if (header < 0) return kBitmapShortRead;
    uint32_t count = uint32_t(header & 0x7F) + 1;
    if (header & 0x80) {
      if (!src.Read(px, in)) return kBitmapShortRead;
      uint8_t c[3];
      convert(c, px, 1);
      while (count > 0 && y < h) {
        const uint32_t n = count < w - x ? count : w - x;
        uint8_t* d = row + size_t(x) * out;
        if (out == 1) {
          std::memset(d, c[0], n);
        } else {
          for (uint32_t i = 0; i < n; ++i, d += 3) d[0] = c[0], d[1] = c[1], d[2] = c[2];
        }
        advance(n);
        count -= n;
      }
    } else {
      while (count > 0 && y < h) {
        const uint32_t n = count < w - x ? count : w - x;
        uint8_t* d = row + size_t(x) * out;
        if (src.Buffered() >= n * in) {
          convert(d, src.Data(), n);
          src.Consume(n * in);
        } else {
          for (uint32_t i = 0; i < n; ++i) {
            if (!src.Read(px, in)) return kBitmapShortRead;
            convert(d + size_t(i) * out, px, 1);
          }
        }
        advance(n);
        count -= n;
      }
    }
  }
  return kBitmapOk;
}

int TTGA::Write(ByteStream*, tsl::DibHandle) { return kBitmapOk; }
