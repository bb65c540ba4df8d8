#include "imaging/core/dibscale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace tsl {

namespace {

// The source pixels one output pixel covers along one axis, with their
// weights: the first, the last (when it differs) and those between.
struct Span {
  int32_t first;
  int32_t last;
  float wFirst;
  float wLast;
  float wMid;
};

// The covered span of output index i for the factor s: from trunc(i s) to
// trunc((i + 1) s), less one when that end is whole. Limited to the source,
// which single-precision products may overshoot by a fraction.
void Cover(int32_t i, float s, int32_t n, float& from, float& to, int32_t& first, int32_t& last) {
  from = float(i) * s;
  to = float(i + 1) * s;
  first = int32_t(from);
  last = int32_t(to);
  if (float(last) == to) --last;
  if (first > n - 1) first = n - 1;
  if (last > n - 1) last = n - 1;
  if (last < first) last = first;
}

std::vector<Span> ShrinkSpans(int32_t out, int32_t n, float s) {
  std::vector<Span> spans(static_cast<size_t>(out));
  const float unit = 1.0f / s;
  for (int32_t i = 0; i < out; ++i) {
    Span& sp = spans[size_t(i)];
    float from, to;
    Cover(i, s, n, from, to, sp.first, sp.last);
    sp.wFirst = (float(sp.first) + 1.0f - from) * unit;
    sp.wLast = (to - float(sp.last)) * unit;
    sp.wMid = unit;
  }
  return spans;
}

std::vector<Span> EnlargeSpans(int32_t out, int32_t n, float s) {
  std::vector<Span> spans(static_cast<size_t>(out));
  for (int32_t i = 0; i < out; ++i) {
    Span& sp = spans[size_t(i)];
    float from, to;
    Cover(i, s, n, from, to, sp.first, sp.last);
    if (sp.last > sp.first) {
      // The edge between the two source pixels, in output units.
      const float e = float(sp.last) / s;
      sp.wFirst = e - float(i);
      sp.wLast = float(i + 1) - e;
    } else {
      sp.wFirst = 1.0f;
      sp.wLast = 0.0f;
    }
    sp.wMid = 0.0f;  // an enlarging span never covers more than two pixels
  }
  return spans;
}

// Adds one source row, weighted by `wy`, to the output row's sums.
void AddRow(const uint8_t* src, const std::vector<Span>& cols, float wy, float* acc) {
  const size_t w = cols.size();
  for (size_t x = 0; x < w; ++x) {
    const Span& c = cols[x];
    const uint8_t* p = src + 3 * size_t(c.first);
    float b = p[0] * c.wFirst, g = p[1] * c.wFirst, r = p[2] * c.wFirst;
    if (c.last > c.first) {
      for (int32_t k = c.first + 1; k < c.last; ++k) {
        p += 3;
        b += p[0] * c.wMid;
        g += p[1] * c.wMid;
        r += p[2] * c.wMid;
      }
      const uint8_t* q = src + 3 * size_t(c.last);
      b += q[0] * c.wLast;
      g += q[1] * c.wLast;
      r += q[2] * c.wLast;
    }
    float* a = acc + 3 * x;
    a[0] += b * wy;
    a[1] += g * wy;
    a[2] += r * wy;
  }
}

uint8_t Store(float sum) {
  const float v = std::trunc(sum + 0.5f);
  if (!(v > 0.0f)) return 0;
  return v >= 255.0f ? 255 : uint8_t(v);
}

int Scale(TDibScaler& sc, int32_t w, int32_t h, bool enlarge) {
  const DibPlatform& pf = *sc.Platform;
  const int32_t sw = sc.SourceHeader.biWidth, sh = sc.SourceHeader.biHeight;
  const uint64_t srcRow = Row24Bytes(sw), dstRow = Row24Bytes(w);
  const uint64_t resultBytes = kInfoHeaderBytes + dstRow * uint64_t(h);
  if (resultBytes > kMaxDibBytes) return 0;

  // The source gets one more zeroed row at its end.
  const size_t oldSize = pf.Size(sc.Source);
  if (uint64_t(oldSize) + srcRow > kMaxDibBytes) return 0;
  DibHolder copy(pf, pf.Alloc(oldSize + size_t(srcRow), true));
  DibHolder result(pf, pf.Alloc(size_t(resultBytes), true));
  if (!copy || !result) return 0;
  DibView src;
  {
    DibLock from(pf, sc.Source), to(pf, copy.get());
    if (!from || !to) return 0;
    std::memcpy(to.get(), from.get(), oldSize);
  }
  DibLock in(pf, copy.get()), out(pf, result.get());
  if (!in || !out || !ParseDib(in.get(), in.size(), src) || src.bitCount != 24) return 0;

  const float sx = float(sw) / float(w), sy = float(sh) / float(h);
  std::vector<Span> cols, rows;
  std::vector<float> acc;
  try {
    cols = enlarge ? EnlargeSpans(w, sw, sx) : ShrinkSpans(w, sw, sx);
    rows = enlarge ? EnlargeSpans(h, sh, sy) : ShrinkSpans(h, sh, sy);
    acc.resize(3 * size_t(w));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  uint8_t* dstBits = out.get() + kInfoHeaderBytes;
  for (int32_t y = 0; y < h; ++y) {
    const Span& r = rows[size_t(y)];
    std::fill(acc.begin(), acc.end(), 0.0f);
    AddRow(src.Row(r.first), cols, r.wFirst, acc.data());
    for (int32_t k = r.first + 1; k < r.last; ++k) AddRow(src.Row(k), cols, r.wMid, acc.data());
    if (r.last > r.first) AddRow(src.Row(r.last), cols, r.wLast, acc.data());
    uint8_t* d = dstBits + size_t(y) * size_t(dstRow);
    for (size_t i = 0; i < acc.size(); ++i) d[i] = Store(acc[i]);
  }

  DibInfoHeader header = sc.SourceHeader;
  header.biWidth = w;
  header.biHeight = h;
  header.biSizeImage = uint32_t(dstRow * uint64_t(h));
  std::memcpy(out.get(), &header, sizeof header);

  pf.Free(sc.Source);
  sc.Source = copy.release();
  if (sc.Result) pf.Free(sc.Result);
  sc.Result = result.release();
  sc.ResultHeader = header;
  return 1;
}

}  // namespace

bool TDibScaler::Load(DibHandle source) {
  Clear();
  if (!source) return false;
  DibView v;
  bool ok;
  {
    DibLock lock(*Platform, source);
    ok = lock && ParseDib(lock.get(), lock.size(), v) && v.header->biSize == kInfoHeaderBytes &&
         v.bitCount == 24 && v.compression == kBiRgb;
    if (ok) SourceHeader = *v.header;
  }
  if (!ok) {
    Platform->Free(source);
    SourceHeader = DibInfoHeader{};
    return false;
  }
  Source = source;
  Loaded = 1;
  return true;
}

void TDibScaler::Clear() {
  if (Source) Platform->Free(Source);
  if (Result) Platform->Free(Result);
  Source = Result = nullptr;
  SourceHeader = ResultHeader = DibInfoHeader{};
  Loaded = 0;
}

DibHandle TDibScaler::ReleaseResult() {
  DibHandle h = Result;
  Result = nullptr;
  return h;
}

int ShrinkDib24(TDibScaler& sc, int32_t w, int32_t h) {
  if (!sc.Loaded || !sc.Source || w <= 0 || h <= 0) return 0;
  if (w > sc.SourceHeader.biWidth || h > sc.SourceHeader.biHeight) return 0;
  return Scale(sc, w, h, false);
}

int EnlargeDib24(TDibScaler& sc, int32_t w, int32_t h) {
  if (!sc.Loaded || !sc.Source || w <= 0 || h <= 0) return 0;
  if (w < sc.SourceHeader.biWidth || h < sc.SourceHeader.biHeight) return 0;
  return Scale(sc, w, h, true);
}

}  // namespace tsl
