// Assembles bitmap files from pixel rows in the variants ImageMagick does
// not write: RLE4, OS/2 2.0 info headers and OS/2 bitmap arrays, and the
// others for hand-made cases (every info header size, RLE8, bit fields).
// Used by the imaging tests, the fuzz corpus and tools/core/bmpgen.cpp.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace bmpgen {

using Bytes = std::vector<uint8_t>;

// Pixels as a DIB holds them: bottom-up rows padded to 4 bytes.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 24;
  Bytes palette;               // blue, green, red, 0 per entry
  Bytes rows;                  // RowBytes() × height
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue for bit fields

  uint32_t RowBytes() const { return ((uint32_t(width) * bits + 31) / 32) * 4; }
  uint32_t Colours() const { return uint32_t(palette.size() / 4); }
  // Index (or byte) of pixel x in stored row y for depths up to 8.
  int Index(int x, int y) const {
    const uint8_t* r = &rows[size_t(y) * RowBytes()];
    switch (bits) {
      case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1;
      case 4: return (x & 1) ? r[x >> 1] & 15 : r[x >> 1] >> 4;
      default: return r[x];
    }
  }
};

enum class Compression { None, Rle8, Rle4, Bitfields };

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A deterministic picture: every depth gets colours and structure worth
// comparing (gradients, stripes, runs for the run-length coders).
inline Picture Pattern(int32_t w, int32_t h, uint16_t bits) {
  Picture p;
  p.width = w;
  p.height = h;
  p.bits = bits;
  p.rows.assign(size_t(p.RowBytes()) * size_t(h), 0);
  if (bits <= 8) {
    const int n = 1 << bits;
    for (int i = 0; i < n; ++i) {
      p.palette.push_back(uint8_t((i * 37 + 11) & 255));
      p.palette.push_back(uint8_t((i * 91 + 5) & 255));
      p.palette.push_back(uint8_t((i * 53 + 200) & 255));
      p.palette.push_back(0);
    }
  }
  for (int y = 0; y < h; ++y) {
    uint8_t* r = &p.rows[size_t(y) * p.RowBytes()];
    for (int x = 0; x < w; ++x) {
      // Long runs in the upper half, busy pixels in the lower one.
      const int v = y >= h / 2 ? (x / 7 + y / 3) : (x * 13 + y * 7 + (x * y) % 5);
      switch (bits) {
        case 1: if (v & 1) r[x >> 3] |= uint8_t(0x80 >> (x & 7)); break;
        case 4: r[x >> 1] |= uint8_t((x & 1) ? (v & 15) : (v & 15) << 4); break;
        case 8: r[x] = uint8_t(v); break;
        case 16: {
          const uint16_t c = uint16_t((v * 3 & 31) << 10 | (x & 31) << 5 | (y & 31));
          r[2 * x] = uint8_t(c);
          r[2 * x + 1] = uint8_t(c >> 8);
          break;
        }
        case 24:
        case 32: {
          const int b = bits / 8;
          r[b * x] = uint8_t(x * 255 / (w > 1 ? w - 1 : 1));
          r[b * x + 1] = uint8_t(y * 255 / (h > 1 ? h - 1 : 1));
          r[b * x + 2] = uint8_t(v * 29);
          break;
        }
      }
    }
  }
  return p;
}

// RLE8 of an 8-bit picture: repeated bytes as runs, the rest as absolute
// runs (3 bytes and more) or single runs; end of line after each row, end
// of picture last. With `deltas`, runs of index 0 of 4 pixels and more
// become delta moves.
inline Bytes EncodeRle8(const Picture& p, bool deltas = false) {
  Bytes out;
  for (int y = 0; y < p.height; ++y) {
    int x = 0;
    while (x < p.width) {
      int run = 1;
      while (x + run < p.width && run < 255 && p.Index(x + run, y) == p.Index(x, y)) ++run;
      if (deltas && p.Index(x, y) == 0 && run >= 4) {
        out.insert(out.end(), {0, 2, uint8_t(run), 0});
        x += run;
      } else if (run >= 3) {
        out.push_back(uint8_t(run));
        out.push_back(uint8_t(p.Index(x, y)));
        x += run;
      } else {
        int lit = 0;  // up to the next run of 3
        while (x + lit < p.width && lit < 255) {
          const int i = x + lit;
          if (i + 2 < p.width && p.Index(i, y) == p.Index(i + 1, y) && p.Index(i, y) == p.Index(i + 2, y)) break;
          ++lit;
        }
        if (lit >= 3) {
          out.push_back(0);
          out.push_back(uint8_t(lit));
          for (int i = 0; i < lit; ++i) out.push_back(uint8_t(p.Index(x + i, y)));
          if (lit & 1) out.push_back(0);
        } else {
          for (int i = 0; i < lit; ++i) out.insert(out.end(), {1, uint8_t(p.Index(x + i, y))});
        }
        x += lit;
      }
    }
    out.insert(out.end(), {0, 0});
  }
  out.insert(out.end(), {0, 1});
  return out;
}

// RLE4 of a 4-bit picture: alternating pairs as runs, the rest as absolute
// runs padded to 16 bits.
inline Bytes EncodeRle4(const Picture& p) {
  Bytes out;
  for (int y = 0; y < p.height; ++y) {
    int x = 0;
    while (x < p.width) {
      const int a = p.Index(x, y), b = x + 1 < p.width ? p.Index(x + 1, y) : a;
      int run = 1;
      while (x + run < p.width && run < 255 && p.Index(x + run, y) == ((run & 1) ? b : a)) ++run;
      if (run >= 4 || x + run == p.width) {
        out.push_back(uint8_t(run));
        out.push_back(uint8_t(a << 4 | b));
        x += run;
      } else {
        int lit = 0;
        while (x + lit < p.width && lit < 64) ++lit;
        if (lit < 3) {
          out.push_back(uint8_t(lit));
          out.push_back(uint8_t(p.Index(x, y) << 4 | (lit > 1 ? p.Index(x + 1, y) : 0)));
        } else {
          out.push_back(0);
          out.push_back(uint8_t(lit));
          const int bytes = (lit + 1) / 2;
          for (int i = 0; i < bytes; ++i) {
            const int hi = p.Index(x + 2 * i, y);
            const int lo = 2 * i + 1 < lit ? p.Index(x + 2 * i + 1, y) : 0;
            out.push_back(uint8_t(hi << 4 | lo));
          }
          if (bytes & 1) out.push_back(0);
        }
        x += lit;
      }
    }
    out.insert(out.end(), {0, 0});
  }
  out.insert(out.end(), {0, 1});
  return out;
}

// A bitmap file with an info header of `headerSize` bytes: 12 (OS/2 1.x
// core header, 3-byte colour entries), or 16 to 124 (fields past the size
// left 0; bit-field masks at offset 40 for headers of 52 bytes and more, or
// after a 40-byte header). `base` is where the file will start inside a
// larger one (bitmap arrays): the bits offset counts from the outer start.
inline Bytes Bmp(const Picture& p, uint32_t headerSize, Compression c = Compression::None, uint32_t base = 0,
                 uint32_t bitsGap = 0) {
  Bytes data;
  uint32_t compression = 0;
  switch (c) {
    case Compression::None: data = p.rows; break;
    case Compression::Rle8: data = EncodeRle8(p); compression = 1; break;
    case Compression::Rle4: data = EncodeRle4(p); compression = 2; break;
    case Compression::Bitfields: data = p.rows; compression = 3; break;
  }
  const bool core = headerSize == 12;
  const uint32_t entry = core ? 3 : 4;
  const uint32_t masksAfter = (c == Compression::Bitfields && headerSize == 40) ? 12 : 0;
  const uint32_t table = entry * p.Colours();
  const uint32_t bitsAt = 14 + headerSize + masksAfter + table + bitsGap;
  Bytes f;
  f.push_back('B');
  f.push_back('M');
  Put32(f, bitsAt + uint32_t(data.size()));
  Put32(f, 0);
  Put32(f, base + bitsAt);
  if (core) {
    Put32(f, 12);
    Put16(f, uint32_t(p.width));
    Put16(f, uint32_t(p.height));
    Put16(f, 1);
    Put16(f, p.bits);
  } else {
    Bytes h(headerSize, 0);
    Set32(h, 0, headerSize);
    Set32(h, 4, uint32_t(p.width));
    Set32(h, 8, uint32_t(p.height));
    h[12] = 1;
    h[14] = uint8_t(p.bits);
    auto field = [&](size_t at, uint32_t v) {
      if (at + 4 <= headerSize) Set32(h, at, v);
    };
    field(16, compression);
    field(20, uint32_t(data.size()));
    field(24, 3780);
    field(28, 3780);
    field(32, p.Colours());
    if (c == Compression::Bitfields && headerSize >= 52)
      for (int i = 0; i < 3; ++i) field(40 + 4 * size_t(i), p.masks[i]);
    f.insert(f.end(), h.begin(), h.end());
    if (masksAfter)
      for (uint32_t m : p.masks) Put32(f, m);
  }
  for (uint32_t i = 0; i < p.Colours(); ++i)
    f.insert(f.end(), p.palette.begin() + 4 * i, p.palette.begin() + 4 * i + entry);
  f.insert(f.end(), bitsGap, 0);
  f.insert(f.end(), data.begin(), data.end());
  return f;
}

// An OS/2 bitmap array of the pictures, each entry "BA", entry size 14,
// offset of the next entry (0 for the last), display size, then the entry's
// bitmap file.
inline Bytes BitmapArray(const std::vector<Picture>& pictures, uint32_t headerSize,
                         Compression c = Compression::None) {
  Bytes f;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const uint32_t at = uint32_t(f.size());
    const Bytes bmp = Bmp(pictures[i], headerSize, c, at + 14);
    f.push_back('B');
    f.push_back('A');
    Put32(f, 14);
    Put32(f, i + 1 < pictures.size() ? at + 14 + uint32_t(bmp.size()) : 0);
    Put16(f, 640);
    Put16(f, 480);
    f.insert(f.end(), bmp.begin(), bmp.end());
  }
  return f;
}

}  // namespace bmpgen
