#include "imaging/core/dibscale.h"

#include <gtest/gtest.h>

#include <random>

#include "imaging_util.h"

using bmpgen::Picture;
using imgtest::Heap;
using tsl::TDibScaler;

namespace {

// A 24-bit picture whose stored pixel (x, y) has the channels f(x, y, c).
template <class F>
Picture Rgb24(int w, int h, F f) {
  Picture p = bmpgen::Pattern(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) p.rows[size_t(y) * p.RowBytes() + 3 * size_t(x) + size_t(c)] = uint8_t(f(x, y, c));
  return p;
}

// Channel c of stored pixel (x, y) of the record's result.
int At(const TDibScaler& s, int x, int y, int c) {
  const uint8_t* b = Heap().Lock(s.Result);
  const uint32_t row = uint32_t(tsl::Row24Bytes(s.ResultHeader.biWidth));
  return b[40 + size_t(y) * row + 3 * size_t(x) + size_t(c)];
}

struct ScaledLoad : TDibScaler {
  explicit ScaledLoad(const Picture& p) { EXPECT_TRUE(Load(imgtest::DibOf(p))); }
};

}  // namespace

TEST(DibScale, HalvingAveragesTwoByTwoBlocksRoundingHalfUp) {
  // Each 2 × 2 block holds a, a, a, a + d: the mean's fraction is d / 4, and
  // blue is built so that one block in four ends in exactly .5.
  const Picture p = Rgb24(100, 100, [](int x, int y, int c) {
    const int base = (x / 2 * 7 + y / 2 * 3 + c * 50) % 200;
    const int d = (x % 2 && y % 2) ? (x / 2 + y / 2) % 4 * (c + 1) : 0;
    return base + d;
  });
  ScaledLoad s(p);
  ASSERT_EQ(tsl::ShrinkDib24(s, 50, 50), 1);
  EXPECT_EQ(s.ResultHeader.biWidth, 50);
  EXPECT_EQ(s.ResultHeader.biHeight, 50);
  EXPECT_EQ(s.ResultHeader.biSizeImage, 152u * 50u);
  EXPECT_EQ(s.ResultHeader.biBitCount, 24);
  EXPECT_EQ(std::memcmp(Heap().Lock(s.Result), &s.ResultHeader, 40), 0);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = 0; k < 4; ++k) sum += p.rows[size_t(2 * y + k / 2) * p.RowBytes() + 3 * size_t(2 * x + k % 2) + size_t(c)];
        const int expected = (2 * sum + 4) / 8;  // trunc(sum / 4 + 0.5)
        ASSERT_EQ(At(s, x, y, c), expected) << "pixel " << x << "," << y << " channel " << c << " sum " << sum;
      }
}

TEST(DibScale, SameSizeCopiesAndDoublingRepeatsPixels) {
  const Picture p = Rgb24(37, 23, [](int x, int y, int c) { return (x * 31 + y * 17 + c * 91) & 255; });
  for (bool enlarge : {false, true}) {
    SCOPED_TRACE(enlarge ? "enlarge" : "shrink");
    ScaledLoad s(p);
    ASSERT_EQ(enlarge ? tsl::EnlargeDib24(s, 37, 23) : tsl::ShrinkDib24(s, 37, 23), 1);
    EXPECT_EQ(std::memcmp(Heap().Lock(s.Result) + 40, p.rows.data(), p.rows.size()), 0);
  }
  ScaledLoad s(Rgb24(2, 1, [](int x, int, int c) { return x ? 200 + c : 10 + c; }));
  ASSERT_EQ(tsl::EnlargeDib24(s, 4, 1), 1);
  for (int x = 0; x < 4; ++x)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(At(s, x, 0, c), (x < 2 ? 10 : 200) + c) << "x " << x;
  // The source is replaced by a copy with one more, zeroed, row.
  EXPECT_EQ(Heap().Size(s.Source), 40u + 8u + 8u);
}

TEST(DibScale, EnlargingWeighsTheTwoCoveredPixels) {
  // 2 → 3: output 1 spans [0.667, 1.333): the edge lies at 1.5, so both
  // source pixels weigh one half.
  ScaledLoad s(Rgb24(2, 1, [](int x, int, int) { return x ? 100 : 0; }));
  ASSERT_EQ(tsl::EnlargeDib24(s, 3, 1), 1);
  EXPECT_EQ(At(s, 0, 0, 0), 0);
  EXPECT_EQ(At(s, 1, 0, 0), 50);
  EXPECT_EQ(At(s, 2, 0, 0), 100);
}

TEST(DibScale, RefusedRequestsLeaveTheRecord) {
  const Picture p = Rgb24(8, 6, [](int x, int y, int c) { return x + y + c; });
  struct Case {
    const char* what;
    bool enlarge;
    int32_t w, h;
  } cases[] = {
      {"shrink wider", false, 9, 6},      {"shrink taller", false, 8, 7},
      {"shrink to zero", false, 0, 3},    {"shrink negative", false, 4, -1},
      {"enlarge narrower", true, 7, 6},   {"enlarge shorter", true, 8, 5},
      {"enlarge to zero", true, 0, 0},    {"enlarge past the size cap", true, 0x7FFFFFFF, 0x7FFFFFFF},
      {"enlarge one row past the cap", true, 0x2AAAAAAA, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScaledLoad s(p);
    ASSERT_EQ(tsl::ShrinkDib24(s, 4, 3), 1);
    const tsl::DibHandle source = s.Source, result = s.Result;
    const tsl::DibInfoHeader before = s.ResultHeader;
    EXPECT_EQ(c.enlarge ? tsl::EnlargeDib24(s, c.w, c.h) : tsl::ShrinkDib24(s, c.w, c.h), 0);
    EXPECT_EQ(s.Source, source);
    EXPECT_EQ(s.Result, result);
    EXPECT_EQ(std::memcmp(&s.ResultHeader, &before, sizeof before), 0);
  }
  TDibScaler empty;
  EXPECT_EQ(tsl::ShrinkDib24(empty, 1, 1), 0);
  EXPECT_EQ(tsl::EnlargeDib24(empty, 1, 1), 0);
}

TEST(DibScale, OnlyUncompressed24BitPicturesLoad) {
  struct Case {
    const char* what;
    tsl::DibHandle dib;
  } cases[] = {
      {"8-bit", imgtest::DibOf(bmpgen::Pattern(8, 4, 8))},
      {"32-bit", imgtest::DibOf(bmpgen::Pattern(8, 4, 32))},
      {"run-length", imgtest::DibOf(bmpgen::Pattern(8, 4, 8), tsl::kBiRle8)},
      {"null", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDibScaler s;
    EXPECT_FALSE(s.Load(c.dib));
    EXPECT_EQ(s.Loaded, 0u);
    EXPECT_EQ(s.Source, nullptr);
    EXPECT_EQ(tsl::ShrinkDib24(s, 1, 1), 0);
  }
}

// Under ASan: any read or write outside the pictures fails the run.
TEST(DibScale, RandomSizesStayInsideThePictures) {
  std::mt19937 rng(18);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 300; ++i) {
    const int w = pick(1, 61), h = pick(1, 47);
    const Picture p = Rgb24(w, h, [&](int x, int y, int c) { return (x * 7 + y * 13 + c * 5 + i) & 255; });
    ScaledLoad s(p);
    const bool enlarge = i % 2;
    const int nw = enlarge ? pick(w, 3 * w + 5) : pick(1, w), nh = enlarge ? pick(h, 3 * h + 5) : pick(1, h);
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " -> " + std::to_string(nw) + "x" + std::to_string(nh));
    ASSERT_EQ(enlarge ? tsl::EnlargeDib24(s, nw, nh) : tsl::ShrinkDib24(s, nw, nh), 1);
    EXPECT_EQ(Heap().Size(s.Result), 40 + tsl::Row24Bytes(nw) * uint64_t(nh));
    // A picture of one colour stays that colour at any size.
    ScaledLoad flat(Rgb24(w, h, [](int, int, int c) { return 90 + c; }));
    ASSERT_EQ(enlarge ? tsl::EnlargeDib24(flat, nw, nh) : tsl::ShrinkDib24(flat, nw, nh), 1);
    for (int y = 0; y < nh; y += 1 + nh / 5)
      for (int x = 0; x < nw; x += 1 + nw / 5) ASSERT_EQ(At(flat, x, y, 2), 92) << x << "," << y;
  }
}
