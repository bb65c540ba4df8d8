#include "wintest.h"

#include <memory>
#include <vector>

#include "engine/transpicture.h"
#include "canvas.h"

namespace {

const COLORREF kBack = RGB(10, 120, 30);
const COLORREF kKey = RGB(248, 0, 248);  // exact in 5-5-5 too

// Every third pixel of a row is the key colour; the rest a ramp.
COLORREF Picture(int x, int y) { return (x + y) % 3 == 0 ? kKey : RGB(8 * (x % 30), 8 * (y % 30), 64); }

// What an opaque draw of the picture gives, pixel for pixel.
std::unique_ptr<Canvas> Opaque(TDib& dib, const TRect& dest, const TRect& src) {
  auto c = std::make_unique<Canvas>(100, 60, kBack);
  c->Dc_().SetStretchBltMode(COLORONCOLOR);
  c->Dc_().StretchDIBits(dest, src, dib, SRCCOPY);
  return c;
}

TEST(DrawDibStretched, TrueColourDepths) {
  for (int bits : {16, 24, 32}) {
    // Odd widths, so rows carry padding.
    auto dib = TrueColourDib(37, 21, bits, Picture);
    const std::vector<uint8_t> before(static_cast<uint8_t*>(dib->GetBits()),
                                      static_cast<uint8_t*>(dib->GetBits()) + dib->SizeImage());
    TTransDib t;
    t.Picture = dib.get();
    t.TransparentColor = TColor(kKey);
    Canvas c(100, 60, kBack);
    const TRect dest(5, 7, 42, 28);
    DrawDibStretched(t, dest, c.Dc_());
    EXPECT_TRUE(t.Prepared) << bits;
    ASSERT_NE(t.Mask, nullptr);
    ASSERT_NE(t.Image, nullptr);
    auto want = Opaque(*dib, dest, TRect(0, 0, 37, 21));
    int seen = 0, through = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 100; ++x) {
        const bool inside = dest.Contains(TPoint(x, y));
        const bool key = inside && Picture(x - dest.left, y - dest.top) == kKey;
        const COLORREF expect = key ? kBack : want->At(x, y);
        if (c.At(x, y) != expect) ++seen;
        through += key && c.At(x, y) == kBack;
      }
    EXPECT_EQ(seen, 0) << bits << " bits: pixels that differ";
    EXPECT_GT(through, 200) << bits;
    // The picture itself is untouched; its masks are kept for the next draw.
    EXPECT_EQ(std::vector<uint8_t>(static_cast<uint8_t*>(dib->GetBits()),
                                   static_cast<uint8_t*>(dib->GetBits()) + dib->SizeImage()),
              before);
    TDib* mask = t.Mask;
    DrawDibStretched(t, dest, c.Dc_(), -1, 0, nullptr);
    EXPECT_EQ(t.Mask, mask);
    t.Reset();
    EXPECT_EQ(t.Mask, nullptr);
    EXPECT_FALSE(t.Prepared);
  }
}

TEST(DrawDibStretched, WithoutTheKeyColourLikeOpaque) {
  auto dib = TrueColourDib(20, 10, 24, [](int x, int y) { return RGB(x * 10, y * 20, 200); });
  TTransDib t;
  t.Picture = dib.get();
  t.TransparentColor = TColor(kKey);
  Canvas c(100, 60, kBack);
  const TRect dest(0, 0, 40, 20);
  DrawDibStretched(t, dest, c.Dc_());
  auto want = Opaque(*dib, dest, TRect(0, 0, 20, 10));
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 45; ++x) ASSERT_EQ(c.At(x, y), want->At(x, y)) << x << "," << y;
}

TEST(DrawDibStretched, PaletteEntriesOfTheKeyShowThePage) {
  // Entries 1 and 3 are both the key colour.
  const std::vector<COLORREF> table = {RGB(255, 0, 0), kKey, RGB(0, 0, 255), kKey};
  auto dib = PaletteDib(8, 4, table, [](int x, int) { return x % 4; });
  std::vector<RGBQUAD> before(dib->GetColors(), dib->GetColors() + dib->NumColors());
  TTransDib t;
  t.Picture = dib.get();
  t.TransparentColor = TColor(kKey);
  Canvas c(100, 60, kBack);
  DrawDibStretched(t, TRect(0, 0, 8, 4), c.Dc_());
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 0), kBack);
  EXPECT_EQ(c.At(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(3, 0), kBack);
  EXPECT_EQ(c.At(7, 3), kBack);
  EXPECT_EQ(t.Mask, nullptr);  // palette pictures need no copies
  for (int i = 0; i < dib->NumColors(); ++i) {
    EXPECT_EQ(dib->GetColors()[i].rgbRed, before[i].rgbRed) << i;
    EXPECT_EQ(dib->GetColors()[i].rgbGreen, before[i].rgbGreen) << i;
    EXPECT_EQ(dib->GetColors()[i].rgbBlue, before[i].rgbBlue) << i;
  }
}

TEST(DrawDibStretched, FramesOfAStrip) {
  // Four frames of 40 pixels, each its own colour.
  const COLORREF frames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
  auto dib = TrueColourDib(160, 10, 24, [&](int x, int) { return frames[x / 40]; });
  TTransDib t;
  t.Picture = dib.get();
  t.TransparentColor = TColor(kKey);
  Canvas c(100, 60, kBack);
  DrawDibStretched(t, TRect(0, 0, 40, 10), c.Dc_(), 2, 40);
  EXPECT_EQ(c.At(0, 0), frames[2]);
  EXPECT_EQ(c.At(39, 9), frames[2]);
  EXPECT_EQ(c.At(40, 0), kBack);
  // frame -1: the whole strip into the rectangle.
  Canvas whole(100, 60, kBack);
  DrawDibStretched(t, TRect(0, 0, 80, 10), whole.Dc_(), -1, 40);
  EXPECT_EQ(whole.At(0, 0), frames[0]);
  EXPECT_EQ(whole.At(79, 0), frames[3]);
}

TEST(DrawDibStretched, NothingWithoutAPicture) {
  TTransDib t;
  Canvas c(10, 10, kBack);
  DrawDibStretched(t, TRect(0, 0, 10, 10), c.Dc_());
  EXPECT_EQ(c.At(5, 5), kBack);
  PrepareTransparencyMasks(t);
  EXPECT_FALSE(t.Prepared);
}

}  // namespace
