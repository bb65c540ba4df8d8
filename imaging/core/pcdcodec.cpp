#include "imaging/core/pcdcodec.h"

#include <cmath>
#include <cstring>

using tsl::ByteStream;

namespace {

// Y, C1 and C2 terms in 1/65536, so a pixel is three table sums.
struct YccTables {
  int32_t y[256], c1b[256], c1g[256], c2r[256], c2g[256];
  YccTables() {
    for (int i = 0; i < 256; ++i) {
      y[i] = int32_t(std::lround(1.3584 * i * 65536));
      c2r[i] = int32_t(std::lround(1.8215 * (i - 137) * 65536));
      c2g[i] = int32_t(std::lround(-0.9271435 * (i - 137) * 65536));
      c1g[i] = int32_t(std::lround(-0.4302726 * (i - 156) * 65536));
      c1b[i] = int32_t(std::lround(2.2179 * (i - 156) * 65536));
    }
  }
};
const YccTables& Tables() {
  static const YccTables t;
  return t;
}

uint8_t Clamp(int32_t v) {
  v = (v + 32768) >> 16;
  return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

namespace tsl {
void PhotoYccToBgr(uint8_t y, uint8_t c1, uint8_t c2, uint8_t* bgr) {
  const YccTables& t = Tables();
  bgr[0] = Clamp(t.y[y] + t.c1b[c1]);
  bgr[1] = Clamp(t.y[y] + t.c2g[c2] + t.c1g[c1]);
  bgr[2] = Clamp(t.y[y] + t.c2r[c2]);
}
}  // namespace tsl

TChromaMan& TChromaMan::Instance() {
  static TChromaMan man;
  return man;
}

TPCD::TPCD(const tsl::DibPlatform& platform) : TBitmap_Base(platform) {
  ImageAttributes = 0;
  ResolutionIndex = 2;
  StoredWidth = StoredHeight = 0;
}

bool TPCD::StoredSize(uint32_t index, uint32_t& width, uint32_t& height, uint32_t& offset) {
  static const uint32_t kOffsets[3] = {8192, 47104, 196608};
  if (index > 2) return false;
  width = 192u << index;
  height = 128u << index;
  offset = kOffsets[index];
  return true;
}

int TPCD::ReadHeader(ByteStream* f, const char*) {
  if (!f || f->Seek(int64_t(StartOffset) + 2048) < 0) return kBitmapShortRead;
  char sig[7];
  if (f->Read(sig, 7) != 7) return kBitmapShortRead;
  if (std::memcmp(sig, "PCD_IPI", 7) != 0) return kBitmapBadSignature;
  if (f->Seek(int64_t(StartOffset) + 194635) < 0 || f->Read(&ImageAttributes, 1) != 1) return kBitmapShortRead;
  uint32_t offset;
  if (!StoredSize(ResolutionIndex, StoredWidth, StoredHeight, offset)) return kBitmapBadDepth;
  // Rotation 1 and 3: an upright portrait, stored turned by a quarter.
  const uint32_t rotation = ImageAttributes & 3;
  const bool portrait = rotation == 1 || rotation == 3;
  Width = int32_t(portrait ? StoredHeight : StoredWidth);
  Height = int32_t(portrait ? StoredWidth : StoredHeight);
  BitsPerPixel = 24;
  Colours = 0;
  if (!ComputeSizes()) return kBitmapNoMemory;
  return kBitmapOk;
}

int TPCD::ReadPalette(ByteStream*, tsl::DibRgbQuad*) { return kBitmapOk; }

int TPCD::ReadData(ByteStream* f, uint8_t* bits) {
  uint32_t sw, sh, offset;
  if (!StoredSize(ResolutionIndex, sw, sh, offset)) return kBitmapBadDepth;
  if (f->Seek(int64_t(StartOffset) + offset) < 0) return kBitmapShortRead;
  // Work area: this pair and the next, each two luma rows, then the C1 and
  // C2 rows of half width, each extended by a repeated last sample.
  const uint32_t half = sw / 2, pairBytes = sw * 3;
  if (2ull * (pairBytes + 2) > TChromaMan::kBytes) return kBitmapNoMemory;
  uint8_t* area = TChromaMan::Instance().Area();
  uint8_t* pair[2] = {area, area + pairBytes + 2};

  auto readPair = [&](uint8_t* p) {
    if (f->Read(p, pairBytes) != pairBytes) return false;
    // Extend both chroma rows by their last sample.
    uint8_t* c1 = p + 2 * sw;
    std::memmove(c1 + half + 1, c1 + half, half);
    c1[half] = c1[half - 1];
    uint8_t* c2 = c1 + half + 1;
    c2[half] = c2[half - 1];
    return true;
  };
  const uint32_t pairs = sh / 2;
  const uint32_t rotation = ImageAttributes & 3;
  const uint64_t rowBytes = uint64_t(RowBytes());
  auto put = [&](uint32_t x, uint32_t y, const uint8_t* bgr) {
    uint32_t dx = x, dy = y;  // top-down destination
    switch (rotation) {
      case 1: dx = y, dy = sw - 1 - x; break;
      case 2: dx = sw - 1 - x, dy = sh - 1 - y; break;
      case 3: dx = sh - 1 - y, dy = x; break;
      default: break;
    }
    uint8_t* d = bits + uint64_t(uint32_t(Height) - 1 - dy) * rowBytes + 3ull * dx;
    d[0] = bgr[0];
    d[1] = bgr[1];
    d[2] = bgr[2];
  };
  if (!readPair(pair[0])) return kBitmapShortRead;
  for (uint32_t p = 0; p < pairs; ++p) {
    uint8_t* cur = pair[p & 1];
    uint8_t* nxt = cur;
    if (p + 1 < pairs) {
      nxt = pair[(p + 1) & 1];
      if (!readPair(nxt)) return kBitmapShortRead;
    }
    const uint8_t* c1 = cur + 2 * sw;
    const uint8_t* c2 = c1 + half + 1;
    const uint8_t* n1 = nxt + 2 * sw;
    const uint8_t* n2 = n1 + half + 1;
    for (uint32_t row = 0; row < 2; ++row) {
      const uint8_t* luma = cur + size_t(row) * sw;
      const uint32_t y = 2 * p + row;
      uint8_t* d = bits + uint64_t(uint32_t(Height) - 1 - y) * rowBytes;
      uint8_t bgr[3];
      for (uint32_t x = 0; x < sw; ++x) {
        // Chroma doubled across (odd pixels the mean of their neighbours)
        // and down (the second row the mean with the next pair).
        const uint32_t i = x / 2;
        uint32_t u, v;
        if (row == 0) {
          u = (x & 1) ? (c1[i] + c1[i + 1]) / 2 : c1[i];
          v = (x & 1) ? (c2[i] + c2[i + 1]) / 2 : c2[i];
        } else {
          u = (x & 1) ? (c1[i] + c1[i + 1] + n1[i] + n1[i + 1]) / 4 : (c1[i] + n1[i]) / 2;
          v = (x & 1) ? (c2[i] + c2[i + 1] + n2[i] + n2[i + 1]) / 4 : (c2[i] + n2[i]) / 2;
        }
        if (rotation == 0) {
          tsl::PhotoYccToBgr(luma[x], uint8_t(u), uint8_t(v), d + 3 * x);
        } else {
          tsl::PhotoYccToBgr(luma[x], uint8_t(u), uint8_t(v), bgr);
          put(x, y, bgr);
        }
      }
    }
  }
  return kBitmapOk;
}

int TPCD::Write(ByteStream*, tsl::DibHandle) { return kBitmapOk; }

namespace tsl {
int32_t ChoosePcdResolution(uint32_t available, int32_t requested, int32_t searchMode) {
  auto has = [&](int32_t r) { return r >= 0 && r < 32 && ((available >> r) & 1); };
  if (has(requested)) return requested;
  if (searchMode == 1)
    for (int32_t r = requested + 1; r <= 5; ++r)
      if (has(r)) return r;
  for (int32_t r = requested > 32 ? 31 : requested - 1; r >= 0; --r)
    if (has(r)) return r;
  for (int32_t r = requested < 0 ? 0 : requested + 1; r < 32; ++r)
    if (has(r)) return r;
  return -1;
}
}  // namespace tsl
