// Writers of small picture files for the picture tests: GIF through the
// codec's own writer, PCX, TGA, TIFF and Photo CD base images by hand, to
// the layouts the codecs read. Pictures are given top-down.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/core/gifcodec.h"
#include "imaging/core/pcdcodec.h"

namespace picgen {

using Bytes = std::vector<uint8_t>;

// One byte per pixel, top row first, with an RGB palette.
struct Indexed {
  int w = 0, h = 0;
  Bytes px;
  Bytes rgb;  // 3 bytes per entry
  uint8_t At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
};

inline Indexed Pattern(int w, int h, int colours) {
  Indexed p;
  p.w = w, p.h = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.px.push_back(uint8_t((x * 7 + y * 13 + (x * y) % 5) % colours));
  for (int i = 0; i < colours; ++i) p.rgb.insert(p.rgb.end(), {uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5 + 3)});
  return p;
}

// A heap packed DIB of 1, 4 or 8 bits holding the picture.
inline Bytes PackedDib(const Indexed& p, uint16_t bits) {
  const uint32_t colours = 1u << bits, row = ((uint32_t(p.w) * bits + 31) / 32) * 4;
  Bytes b(40 + 4 * colours + size_t(row) * uint32_t(p.h), 0);
  tsl::DibInfoHeader h{40, p.w, p.h, 1, bits, 0, row * uint32_t(p.h), 2953, 2953, colours, 0};
  std::memcpy(b.data(), &h, 40);
  for (uint32_t i = 0; i < colours && 3 * i + 2 < p.rgb.size(); ++i) {
    b[40 + 4 * i] = p.rgb[3 * i + 2];
    b[40 + 4 * i + 1] = p.rgb[3 * i + 1];
    b[40 + 4 * i + 2] = p.rgb[3 * i];
  }
  uint8_t* bitsAt = b.data() + 40 + 4 * colours;
  for (int y = 0; y < p.h; ++y) {
    uint8_t* r = bitsAt + size_t(p.h - 1 - y) * row;
    for (int x = 0; x < p.w; ++x) {
      const uint8_t v = p.At(x, y);
      if (bits == 8) r[x] = v;
      else if (bits == 4) r[x / 2] |= uint8_t((x & 1) ? v & 15 : v << 4);
      else r[x / 8] |= uint8_t((v & 1) << (7 - (x & 7)));
    }
  }
  return b;
}

struct GifFrame {
  Indexed picture;
  uint16_t left = 0, top = 0;
  bool interlaced = false;
  bool localTable = false;
  int transparentIndex = -1;
  uint32_t delayMs = 0;
  uint8_t disposal = 0;
};

// A GIF89a file through TGIF's writer: screen size, global table of
// 2^bits entries from `globalRgb` (none when empty), the frames.
inline Bytes Gif(int screenW, int screenH, uint16_t bits, const Bytes& globalRgb, const std::vector<GifFrame>& frames,
                 uint32_t loops = 0, const char* comment = nullptr) {
  tsl::MemoryStream m;
  TGIF w;
  w.LoopCount = loops;
  std::vector<tsl::DibRgbQuad> table(256, tsl::DibRgbQuad{0, 0, 0, 0});
  for (size_t i = 0; 3 * i + 2 < globalRgb.size() && i < 256; ++i)
    table[i] = {globalRgb[3 * i + 2], globalRgb[3 * i + 1], globalRgb[3 * i], 0};
  w.WriteGifHeader(&m, uint32_t(screenW), uint32_t(screenH), bits, globalRgb.empty() ? nullptr : table.data());
  if (comment) {
    w.Comment = comment;
    w.WriteGifComment(&m);
  }
  for (const GifFrame& f : frames) {
    GifFrameInfo info{};
    info.Left = f.left;
    info.Top = f.top;
    info.Interlaced = f.interlaced ? 0x40 : 0;
    info.HasLocalTable = f.localTable;
    info.Delay = f.delayMs;
    info.Disposal = f.disposal;
    info.Transparent = f.transparentIndex >= 0;
    info.TransparentIndex = uint32_t(f.transparentIndex >= 0 ? f.transparentIndex : 0);
    w.WriteGifFrameExtensions(&m, info, nullptr);
    uint16_t fbits = 8;
    const size_t colours = f.picture.rgb.size() / 3;
    if (colours <= 2) fbits = 1;
    else if (colours <= 16) fbits = 4;
    const Bytes dib = PackedDib(f.picture, fbits);
    w.WriteGifImage(&m, info, dib.data(), dib.size());
  }
  w.WriteGifTrailer(&m);
  return m.Data();
}

// ZSoft PCX run-length coding of one plane line.
inline void PcxLine(Bytes& out, const uint8_t* line, size_t n) {
  for (size_t i = 0; i < n;) {
    size_t run = 1;
    while (i + run < n && run < 63 && line[i + run] == line[i]) ++run;
    if (run > 1 || line[i] >= 0xC0) {
      out.push_back(uint8_t(0xC0 | run));
      out.push_back(line[i]);
    } else {
      out.push_back(line[i]);
    }
    i += run;
  }
}

// A PCX file: planes lines of bytesPerLine bytes for each scan line, from
// `plane(y, p)` (each returns bytesPerLine bytes); the 16-colour header
// table and, for 8 bits × 1 plane, the 256-colour table at the end.
inline Bytes Pcx(int w, int h, uint8_t bitsPerPlane, uint8_t planes, uint16_t bytesPerLine,
                 const std::function<Bytes(int, int)>& plane, const Bytes& rgb, uint8_t version = 5) {
  Bytes f(128, 0);
  f[0] = 10, f[1] = version, f[2] = 1, f[3] = bitsPerPlane;
  tsl::PutLe16(&f[8], uint16_t(w - 1));
  tsl::PutLe16(&f[10], uint16_t(h - 1));
  for (size_t i = 0; i < 48 && i < rgb.size(); ++i) f[16 + i] = rgb[i];
  f[65] = planes;
  tsl::PutLe16(&f[66], bytesPerLine);
  for (int y = 0; y < h; ++y)
    for (int p = 0; p < planes; ++p) {
      const Bytes line = plane(y, p);
      PcxLine(f, line.data(), line.size());
    }
  if (bitsPerPlane == 8 && planes == 1) {
    f.push_back(12);
    for (size_t i = 0; i < 768; ++i) f.push_back(i < rgb.size() ? rgb[i] : 0);
  }
  return f;
}

// A TGA file: header, colour map (3-byte B, G, R) and pixel bytes as given.
inline Bytes Tga(uint8_t type, uint8_t depth, int w, int h, uint8_t descriptor, const Bytes& map, const Bytes& pixels,
                 uint8_t mapFirst = 0) {
  Bytes f(18, 0);
  f[1] = map.empty() ? 0 : 1;
  f[2] = type;
  tsl::PutLe16(&f[3], mapFirst);
  tsl::PutLe16(&f[5], uint16_t(map.size() / 3));
  f[7] = map.empty() ? 0 : 24;
  tsl::PutLe16(&f[12], uint16_t(w));
  tsl::PutLe16(&f[14], uint16_t(h));
  f[16] = depth;
  f[17] = descriptor;
  f.insert(f.end(), map.begin(), map.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

// TGA run-length packets over pixels of `size` bytes.
inline Bytes TgaRle(const Bytes& pixels, size_t size) {
  Bytes out;
  const size_t n = pixels.size() / size;
  auto same = [&](size_t a, size_t b) { return std::memcmp(&pixels[a * size], &pixels[b * size], size) == 0; };
  for (size_t i = 0; i < n;) {
    size_t run = 1;
    while (i + run < n && run < 128 && same(i, i + run)) ++run;
    if (run > 1) {
      out.push_back(uint8_t(0x80 | (run - 1)));
      out.insert(out.end(), pixels.begin() + long(i * size), pixels.begin() + long((i + 1) * size));
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < n && raw < 128 && !(i + raw + 1 < n && same(i + raw, i + raw + 1))) ++raw;
    out.push_back(uint8_t(raw - 1));
    out.insert(out.end(), pixels.begin() + long(i * size), pixels.begin() + long((i + raw) * size));
    i += raw;
  }
  return out;
}

struct TiffEntry {
  uint16_t tag, type;
  uint32_t count;
  std::vector<uint32_t> values;  // shorts or longs; rationals as pairs
};

// A TIFF file with one directory; strips are placed after the header and
// their offsets and byte counts (tags 273 and 279) filled in.
inline Bytes Tiff(bool bigEndian, std::vector<TiffEntry> entries, const std::vector<Bytes>& strips) {
  Bytes f;
  auto put16 = [&](Bytes& b, size_t at, uint32_t v) {
    if (b.size() < at + 2) b.resize(at + 2);
    b[at + (bigEndian ? 1 : 0)] = uint8_t(v);
    b[at + (bigEndian ? 0 : 1)] = uint8_t(v >> 8);
  };
  auto put32 = [&](Bytes& b, size_t at, uint32_t v) {
    if (b.size() < at + 4) b.resize(at + 4);
    for (int i = 0; i < 4; ++i) b[at + size_t(bigEndian ? 3 - i : i)] = uint8_t(v >> (8 * i));
  };
  f = {uint8_t(bigEndian ? 'M' : 'I'), uint8_t(bigEndian ? 'M' : 'I')};
  put16(f, 2, 42);
  put32(f, 4, 0);
  std::vector<uint32_t> offsets, counts;
  for (const Bytes& s : strips) {
    offsets.push_back(uint32_t(f.size()));
    counts.push_back(uint32_t(s.size()));
    f.insert(f.end(), s.begin(), s.end());
  }
  bool haveOffsets = false;
  for (TiffEntry& e : entries)
    if (e.tag == 273) haveOffsets = true;
  if (!haveOffsets && !strips.empty()) {
    entries.push_back({273, 4, uint32_t(offsets.size()), offsets});
    entries.push_back({279, 4, uint32_t(counts.size()), counts});
  }
  std::sort(entries.begin(), entries.end(), [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
  if (f.size() & 1) f.push_back(0);
  const size_t ifd = f.size();
  put32(f, 4, uint32_t(ifd));
  put16(f, ifd, uint32_t(entries.size()));
  size_t extra = ifd + 2 + 12 * entries.size() + 4;
  f.resize(extra, 0);
  for (size_t i = 0; i < entries.size(); ++i) {
    const TiffEntry& e = entries[i];
    const size_t at = ifd + 2 + 12 * i;
    put16(f, at, e.tag);
    put16(f, at + 2, e.type);
    put32(f, at + 4, e.count);
    const size_t unit = e.type == 3 ? 2 : e.type == 5 ? 8 : 4;
    const size_t bytes = unit * e.count;
    size_t where = at + 8;
    if (bytes > 4) {
      where = f.size();
      put32(f, at + 8, uint32_t(where));
      f.resize(where + bytes, 0);
    }
    for (size_t k = 0; k < e.values.size(); ++k) {
      if (e.type == 3)
        put16(f, where + 2 * k, e.values[k]);
      else
        put32(f, where + 4 * k, e.values[k]);
    }
  }
  return f;
}

// PackBits of one buffer.
inline Bytes PackBits(const Bytes& in) {
  Bytes out;
  for (size_t i = 0; i < in.size();) {
    size_t run = 1;
    while (i + run < in.size() && run < 128 && in[i + run] == in[i]) ++run;
    if (run >= 2) {
      out.push_back(uint8_t(int8_t(1 - int(run))));
      out.push_back(in[i]);
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < in.size() && raw < 128 && !(i + raw + 1 < in.size() && in[i + raw] == in[i + raw + 1])) ++raw;
    out.push_back(uint8_t(raw - 1));
    out.insert(out.end(), in.begin() + long(i), in.begin() + long(i + raw));
    i += raw;
  }
  return out;
}

// A Photo CD image file with the three base resolutions: luma and chroma
// from functions of the stored position (chroma at half resolution).
inline Bytes Pcd(uint8_t attributes, const std::function<uint8_t(uint32_t, uint32_t, uint32_t)>& luma,
                 const std::function<uint8_t(uint32_t, uint32_t, uint32_t, int)>& chroma) {
  Bytes f(196608 + 768 * 512 * 3 / 2, 0);
  std::memcpy(&f[2048], "PCD_IPI", 7);
  f[194635] = attributes;
  for (uint32_t r = 0; r < 3; ++r) {
    uint32_t w, h, at;
    TPCD::StoredSize(r, w, h, at);
    uint8_t* p = &f[at];
    for (uint32_t pair = 0; pair < h / 2; ++pair) {
      for (uint32_t row = 0; row < 2; ++row)
        for (uint32_t x = 0; x < w; ++x) *p++ = luma(r, x, 2 * pair + row);
      for (int c = 0; c < 2; ++c)
        for (uint32_t x = 0; x < w / 2; ++x) *p++ = chroma(r, x, pair, c);
    }
  }
  return f;
}

}  // namespace picgen
