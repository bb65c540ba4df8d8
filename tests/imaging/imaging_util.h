// Helpers of the imaging tests: DIB blocks on the heap platform, a DIB's
// pixels as top-down RGB (for comparing with ImageMagick's raw output), and
// running ImageMagick's convert.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/dib.h"
#include "tools/core/bmpgen.h"

namespace imgtest {

using Bytes = std::vector<uint8_t>;

inline const tsl::DibPlatform& Heap() { return tsl::DefaultDibPlatform(); }

// A heap DIB block holding a generator picture (40-byte header).
inline tsl::DibHandle DibOf(const bmpgen::Picture& p, uint32_t compression = 0, const Bytes* data = nullptr) {
  const Bytes& rows = data ? *data : p.rows;
  const size_t masks = compression == tsl::kBiBitfields ? 12 : 0;
  const size_t size = 40 + masks + p.palette.size() + rows.size();
  tsl::DibHandle h = Heap().Alloc(size, true);
  uint8_t* b = Heap().Lock(h);
  auto* hd = reinterpret_cast<tsl::DibInfoHeader*>(b);
  hd->biSize = 40;
  hd->biWidth = p.width;
  hd->biHeight = p.height;
  hd->biPlanes = 1;
  hd->biBitCount = p.bits;
  hd->biCompression = compression;
  hd->biSizeImage = uint32_t(rows.size());
  hd->biXPelsPerMeter = hd->biYPelsPerMeter = 2953;
  hd->biClrUsed = p.Colours();
  if (masks) std::memcpy(b + 40, p.masks, 12);
  if (!p.palette.empty()) std::memcpy(b + 40 + masks, p.palette.data(), p.palette.size());
  if (!rows.empty()) std::memcpy(b + 40 + masks + p.palette.size(), rows.data(), rows.size());
  return h;
}

// Frees a heap block at the end of a scope.
struct Held {
  tsl::DibHandle h;
  explicit Held(tsl::DibHandle handle) : h(handle) {}
  ~Held() { Heap().Free(h); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  tsl::DibView View() const {
    tsl::DibView v;
    if (h) tsl::ParseDib(Heap().Lock(h), Heap().Size(h), v);
    return v;
  }
  Bytes Block() const {
    const uint8_t* p = Heap().Lock(h);
    return Bytes(p, p + Heap().Size(h));
  }
};

struct Field {
  int shift = 0, width = 0;
  explicit Field(uint32_t m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (shift + width < 32 && ((m >> (shift + width)) & 1)) ++width;
  }
  uint8_t Get(uint32_t v) const {
    if (!width) return 0;
    uint32_t f = (v >> shift) & ((1u << width) - 1);
    return uint8_t(width < 8 ? f << (8 - width) : f >> (width - 8));
  }
};

// Top-down RGB of an uncompressed DIB. `precision` receives the fewest bits
// any channel holds (8, or the narrowest mask of a 16-bit picture).
inline Bytes ToRgb(const tsl::DibView& v, int* precision = nullptr) {
  Bytes out;
  uint32_t masks[3] = {0, 0, 0};
  if (v.bitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
  } else if (v.bitCount == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }
  if (v.masks) std::memcpy(masks, v.masks, 12);
  const Field f[3] = {Field(masks[0]), Field(masks[1]), Field(masks[2])};
  if (precision) {
    *precision = 8;
    if (v.bitCount == 16 || v.bitCount == 32)
      for (const Field& x : f)
        if (x.width < *precision) *precision = x.width;
  }
  for (int32_t y = v.height - 1; y >= 0; --y) {
    const uint8_t* r = v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) {
      uint32_t idx = 0;
      switch (v.bitCount) {
        case 1: idx = (r[x >> 3] >> (7 - (x & 7))) & 1; break;
        case 4: idx = (x & 1) ? r[x >> 1] & 15 : r[x >> 1] >> 4; break;
        case 8: idx = r[x]; break;
        case 24:
          out.insert(out.end(), {r[3 * x + 2], r[3 * x + 1], r[3 * x]});
          continue;
        default: {
          const uint32_t px = v.bitCount == 16 ? tsl::GetLe16(r + 2 * x) : tsl::GetLe32(r + 4 * x);
          out.insert(out.end(), {f[0].Get(px), f[1].Get(px), f[2].Get(px)});
          continue;
        }
      }
      const tsl::DibRgbQuad e = idx < v.numColours ? v.colours[idx] : tsl::DibRgbQuad{0, 0, 0, 0};
      out.insert(out.end(), {e.rgbRed, e.rgbGreen, e.rgbBlue});
    }
  }
  return out;
}

inline std::string TempDir() {
  char tmpl[] = "/tmp/tslpicXXXXXX";
  const char* d = mkdtemp(tmpl);
  return d ? d : "/tmp";
}

inline void WriteFile(const std::string& path, const Bytes& b) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
}

inline Bytes ReadFile(const std::string& path) {
  Bytes b;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return b;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
  std::fclose(f);
  return b;
}

// Output of a shell command (stderr dropped).
inline Bytes Run(const std::string& cmd, int* status = nullptr) {
  Bytes out;
  std::FILE* p = popen((cmd + " 2>/dev/null").c_str(), "r");
  if (!p) return out;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.insert(out.end(), buf, buf + n);
  const int s = pclose(p);
  if (status) *status = s;
  return out;
}

inline bool HaveConvert() {
  int s = -1;
  Run("command -v convert", &s);
  return s == 0;
}

// ImageMagick's decoding of a picture file as 8-bit RGB, top-down.
inline Bytes ConvertToRgb(const std::string& file) {
  return Run("convert '" + file + "' -depth 8 rgb:-");
}

// The picture's bitmap file as a top-down one: the same pixels, rows
// stored top row first, the height negative.
inline Bytes TopDownBmp(const bmpgen::Picture& p, uint32_t headerSize, bmpgen::Compression c) {
  bmpgen::Picture flipped = p;
  const size_t row = p.RowBytes();
  for (int32_t y = 0; y < p.height; ++y)
    std::memcpy(&flipped.rows[size_t(y) * row], &p.rows[size_t(p.height - 1 - y) * row], row);
  Bytes f = bmpgen::Bmp(flipped, headerSize, c);
  bmpgen::Set32(f, 14 + 8, uint32_t(-p.height));
  return f;
}

}  // namespace imgtest
