#include "imaging/core/dibutil.h"

#include <gtest/gtest.h>

#include "imaging/core/bmpcodec.h"
#include "imaging_util.h"

using bmpgen::Compression;
using bmpgen::Picture;
using imgtest::Bytes;
using imgtest::Heap;
using imgtest::Held;

namespace {

Bytes UtilRgbOf(const Picture& p) {
  Held h(imgtest::DibOf(p));
  return imgtest::ToRgb(h.View());
}

// A 24-bit picture filled with one colour per pixel from a function.
template <class F>
Picture UtilRgb24(int w, int h, F colour) {
  Picture p = bmpgen::Pattern(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* q = &p.rows[size_t(y) * p.RowBytes() + 3 * size_t(x)];
      const uint32_t c = colour(x, y);  // 0xRRGGBB
      q[0] = uint8_t(c), q[1] = uint8_t(c >> 8), q[2] = uint8_t(c >> 16);
    }
  return p;
}

}  // namespace

TEST(DibUtil, QueriesAndColourCounts) {
  tsl::DibInfoHeader h{};
  h.biSize = 40;
  h.biBitCount = 8;
  EXPECT_EQ(tsl::DibNumColors(&h), 256u);
  h.biClrUsed = 20;
  EXPECT_EQ(tsl::DibNumColors(&h), 20u);
  h.biClrUsed = 0;
  h.biBitCount = 24;
  EXPECT_EQ(tsl::DibNumColors(&h), 0u);
  h.biBitCount = 16;  // true colour: no table, not 65536 entries
  EXPECT_EQ(tsl::DibNumColors(&h), 0u);
  h.biCompression = tsl::kBiBitfields;
  EXPECT_EQ(tsl::DibBitsPtr(&h), reinterpret_cast<uint8_t*>(&h) + 52);
  EXPECT_EQ(tsl::DibBitsPtr(nullptr), nullptr);

  Held d(imgtest::DibOf(bmpgen::Pattern(13, 7, 4)));
  EXPECT_EQ(tsl::DibBitCount(Heap(), d.h), 4);
  EXPECT_EQ(tsl::DibWidth(Heap(), d.h), 13);
  EXPECT_EQ(tsl::DibHeight(Heap(), d.h), 7);
  EXPECT_EQ(tsl::DibWidth(Heap(), nullptr), 0);
  EXPECT_EQ(tsl::DibBitsPtr(reinterpret_cast<tsl::DibInfoHeader*>(Heap().Lock(d.h))), Heap().Lock(d.h) + 40 + 64);

  std::vector<tsl::DibRgbQuad> colours;
  ASSERT_TRUE(tsl::DibPaletteColours(Heap(), d.h, colours));
  ASSERT_EQ(colours.size(), 16u);
  EXPECT_EQ(colours[3].rgbRed, d.View().colours[3].rgbRed);
  Held t(imgtest::DibOf(bmpgen::Pattern(3, 3, 24)));
  ASSERT_TRUE(tsl::DibPaletteColours(Heap(), t.h, colours));
  ASSERT_EQ(colours.size(), 256u);
  EXPECT_EQ(colours[201].rgbRed, 32 * (201 % 8));
  EXPECT_EQ(colours[201].rgbGreen, 32 * ((201 / 8) % 8));
  EXPECT_EQ(colours[201].rgbBlue, 64 * (201 / 64));
  EXPECT_FALSE(tsl::DibPaletteColours(Heap(), nullptr, colours));

  Held copy(tsl::CopyGlobalBlock(Heap(), d.h));
  EXPECT_EQ(copy.Block(), d.Block());
}

TEST(DibUtil, BmpFilesReadAndWrite) {
  // A 12-byte header becomes a 40-byte DIB with 2953 pixels per metre.
  const Picture p = bmpgen::Pattern(11, 5, 8);
  tsl::MemoryStream core(bmpgen::Bmp(p, 12));
  EXPECT_TRUE(tsl::IsBmpFile(core));
  core.Seek(0);
  Held a(tsl::ReadBmpFile(Heap(), core));
  ASSERT_NE(a.h, nullptr);
  tsl::DibView v = a.View();
  EXPECT_EQ(v.header->biSize, 40u);
  EXPECT_EQ(v.header->biXPelsPerMeter, 2953);
  EXPECT_EQ(v.header->biClrUsed, 256u);
  EXPECT_EQ(imgtest::ToRgb(v), UtilRgbOf(p));

  // A wrong image size is replaced by the computed one.
  Bytes f = bmpgen::Bmp(p, 40);
  bmpgen::Set32(f, 14 + 20, 5);
  tsl::MemoryStream wrong(f);
  Held b(tsl::ReadBmpFile(Heap(), wrong));
  ASSERT_NE(b.h, nullptr);
  EXPECT_EQ(b.View().header->biSizeImage, 12u * 5);
  EXPECT_EQ(imgtest::ToRgb(b.View()), UtilRgbOf(p));

  // Run-length files stay compressed, with the stored size.
  tsl::MemoryStream rle(bmpgen::Bmp(p, 40, Compression::Rle8));
  Held c(tsl::ReadBmpFile(Heap(), rle));
  ASSERT_NE(c.h, nullptr);
  EXPECT_EQ(c.View().compression, tsl::kBiRle8);
  Held expanded(tsl::ExpandRleDib(Heap(), c.h));
  ASSERT_NE(expanded.h, nullptr);
  EXPECT_EQ(imgtest::ToRgb(expanded.View()), UtilRgbOf(p));
  {
    const Picture q = bmpgen::Pattern(9, 4, 4);
    const Bytes data = bmpgen::EncodeRle4(q);
    Held packed(imgtest::DibOf(q, tsl::kBiRle4, &data));
    Held e4(tsl::ExpandRleDib(Heap(), packed.h));
    ASSERT_NE(e4.h, nullptr);
    EXPECT_EQ(imgtest::ToRgb(e4.View()), UtilRgbOf(q));
  }
  EXPECT_EQ(tsl::ExpandRleDib(Heap(), a.h), nullptr);  // not compressed

  // What is not a 12- or 40-byte bitmap file, or falls short, gives nothing.
  Bytes v4 = bmpgen::Bmp(p, 108);
  tsl::MemoryStream s4(v4);
  EXPECT_FALSE(tsl::IsBmpFile(s4));
  s4.Seek(0);
  EXPECT_EQ(tsl::ReadBmpFile(Heap(), s4), nullptr);
  Bytes shortRows = bmpgen::Bmp(p, 40);
  shortRows.pop_back();
  tsl::MemoryStream s5(shortRows);
  EXPECT_EQ(tsl::ReadBmpFile(Heap(), s5), nullptr);
  Bytes hugeColours = bmpgen::Bmp(p, 40);
  bmpgen::Set32(hugeColours, 14 + 32, 0x40000000);
  tsl::MemoryStream s6(hugeColours);
  EXPECT_EQ(tsl::ReadBmpFile(Heap(), s6), nullptr);
  Bytes huge = bmpgen::Bmp(p, 40);
  bmpgen::Set32(huge, 14 + 4, 0x7FFFFFFF);
  bmpgen::Set32(huge, 14 + 8, 0x7FFFFFFF);
  tsl::MemoryStream s7(huge);
  EXPECT_EQ(tsl::ReadBmpFile(Heap(), s7), nullptr);

  // Written and read again: the same block.
  tsl::MemoryStream out;
  ASSERT_TRUE(tsl::WriteBmpFile(Heap(), out, a.h));
  EXPECT_EQ(tsl::GetLe32(&out.Data()[10]), 54u + 1024);
  out.Seek(0);
  Held back(tsl::ReadBmpFile(Heap(), out));
  EXPECT_EQ(back.Block(), a.Block());
  EXPECT_FALSE(tsl::WriteBmpFile(Heap(), out, nullptr));
}

TEST(DibUtil, CopyDibRect) {
  for (uint16_t bits : {1, 4, 8, 24}) {
    const Picture p = bmpgen::Pattern(29, 11, bits);
    Held src(imgtest::DibOf(p));
    const Bytes all = imgtest::ToRgb(src.View());  // top-down
    struct R { int x, y, w, h; };
    for (R r : {R{3, 2, 9, 5}, R{0, 0, 29, 11}, R{7, 0, 1, 1}, R{5, 4, 24, 7}, R{-4, -3, 10, 6}, R{20, 8, 50, 50}}) {
      Held cut(tsl::CopyDibRect(Heap(), src.h, r.x, r.y, r.w, r.h));
      ASSERT_NE(cut.h, nullptr);
      const tsl::DibView v = cut.View();
      const int x0 = r.x > 0 ? r.x : 0, y0 = r.y > 0 ? r.y : 0;
      const int w = std::min(r.x + r.w, 29) - x0, h = std::min(r.y + r.h, 11) - y0;
      ASSERT_EQ(v.width, w);
      ASSERT_EQ(v.height, h);
      EXPECT_EQ(v.numColours, p.Colours());
      const Bytes got = imgtest::ToRgb(v);
      for (int yy = 0; yy < h; ++yy)      // stored row y0 + yy
        for (int xx = 0; xx < w; ++xx) {
          const int top = 10 - (y0 + yy), gotTop = h - 1 - yy;
          for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(got[size_t(gotTop * w + xx) * 3 + c], all[size_t(top * 29 + x0 + xx) * 3 + c])
                << bits << " bits at " << xx << "," << yy;
          }
        }
      // Padding bits of a partial last byte stay clear.
      if (bits == 4 && (w & 1)) {
        EXPECT_EQ(v.Row(0)[w / 2] & 0x0F, 0);
      }
    }
    EXPECT_EQ(tsl::CopyDibRect(Heap(), src.h, 29, 0, 5, 5), nullptr);
    EXPECT_EQ(tsl::CopyDibRect(Heap(), src.h, 3, 3, 0, 5), nullptr);
    EXPECT_EQ(tsl::CopyDibRect(Heap(), src.h, -10, 0, 5, 5), nullptr);
  }
  EXPECT_EQ(tsl::CopyDibRect(Heap(), nullptr, 0, 0, 1, 1), nullptr);
}

TEST(DibUtil, GreyPictures) {
  const Picture p = UtilRgb24(6, 3, [](int x, int y) { return uint32_t(x * 40) << 16 | uint32_t(y * 90) << 8 | 77; });
  Held src(imgtest::DibOf(p));
  Held grey(tsl::MakeGreyDib(Heap(), src.h));
  ASSERT_NE(grey.h, nullptr);
  const tsl::DibView g = grey.View();
  ASSERT_EQ(g.bitCount, 8);
  EXPECT_EQ(g.numColours, 256u);
  EXPECT_EQ(g.colours[200].rgbGreen, 200);
  EXPECT_EQ(g.Row(2)[5], tsl::GreyValue(200, 180, 77));

  Held pal(imgtest::DibOf(bmpgen::Pattern(5, 2, 4)));
  Held greyPal(tsl::MakeGreyDib(Heap(), pal.h));
  const tsl::DibView gp = greyPal.View(), op = pal.View();
  const tsl::DibRgbQuad e = op.colours[5];
  EXPECT_EQ(gp.colours[5].rgbRed, tsl::GreyValue(e.rgbRed, e.rgbGreen, e.rgbBlue));
  EXPECT_EQ(gp.colours[5].rgbBlue, gp.colours[5].rgbRed);
  EXPECT_EQ(Bytes(gp.bits, gp.bits + gp.imageBytes), Bytes(op.bits, op.bits + op.imageBytes));

  // In place: modes 0 to 2, inverted; an unknown mode changes nothing.
  const Bytes before = src.Block();
  EXPECT_EQ(tsl::GreyDibInPlace(Heap(), src.h, 3, 1, 1, 1, 0), tsl::GreyResult::UnknownMode);
  EXPECT_EQ(src.Block(), before);
  EXPECT_EQ(tsl::GreyDibInPlace(Heap(), src.h, 0, 0, 0, 0, 0), tsl::GreyResult::Changed);
  EXPECT_EQ(src.View().Row(2)[15], 200);  // max(200, 180, 77)
  EXPECT_EQ(src.View().Row(2)[16], 200);
  Held w(imgtest::DibOf(p));
  EXPECT_EQ(tsl::GreyDibInPlace(Heap(), w.h, 2, 2.0, 0.5, -1e300, 1), tsl::GreyResult::Changed);
  EXPECT_EQ(w.View().Row(0)[3], 255 - 0);   // 40 × 2 + 0 × 0.5 - huge → 0, inverted
  Held m1(imgtest::DibOf(p));
  EXPECT_EQ(tsl::GreyDibInPlace(Heap(), m1.h, 1, 0, 0, 0, 0), tsl::GreyResult::Changed);
  EXPECT_EQ(m1.View().Row(2)[15], 200 / 3 + 180 / 3 + 77 / 3);
  // Row padding stays as it was.
  EXPECT_EQ(m1.View().Row(0)[18], before[40 + 18]);
}

TEST(DibUtil, DepthConversionsKeepTheColours) {
  const Picture p1 = bmpgen::Pattern(19, 6, 1), p4 = bmpgen::Pattern(19, 6, 4), p8 = bmpgen::Pattern(19, 6, 8);
  Held d1(imgtest::DibOf(p1)), d4(imgtest::DibOf(p4)), d8(imgtest::DibOf(p8));
  using Op = tsl::DibHandle (*)(const tsl::DibPlatform&, tsl::DibHandle);
  struct Case { const char* name; Op op; const Held& src; uint16_t bits; };
  const Case cases[] = {
      {"1to4", tsl::Dib1To4, d1, 4}, {"1to8", tsl::Dib1To8, d1, 8}, {"1to24", tsl::Dib1To24, d1, 24},
      {"4to8", tsl::Dib4To8, d4, 8}, {"4to24", tsl::Dib4To24, d4, 24}, {"8to24", tsl::Dib8To24, d8, 24},
  };
  for (const Case& c : cases) {
    Held out(c.op(Heap(), c.src.h));
    ASSERT_NE(out.h, nullptr) << c.name;
    EXPECT_EQ(out.View().bitCount, c.bits) << c.name;
    EXPECT_EQ(imgtest::ToRgb(out.View()), imgtest::ToRgb(c.src.View())) << c.name;
    EXPECT_EQ(out.View().header->biXPelsPerMeter, 2953);
  }
  Held four(tsl::Dib1To4(Heap(), d1.h));
  EXPECT_EQ(four.View().header->biClrUsed, 16u);
  EXPECT_EQ(four.View().header->biClrImportant, 2u);
  // Wrong source depths give nothing.
  EXPECT_EQ(tsl::Dib1To4(Heap(), d8.h), nullptr);
  EXPECT_EQ(tsl::Dib8To24(Heap(), d4.h), nullptr);
  EXPECT_EQ(tsl::Dib24To1(Heap(), d8.h), nullptr);
  // Indexes beyond a short table come out black, not from outside it.
  Picture shortTable = p8;
  shortTable.palette.resize(4 * 3);
  Held st(imgtest::DibOf(shortTable));
  Held st24(tsl::Dib8To24(Heap(), st.h));
  ASSERT_NE(st24.h, nullptr);
}

TEST(DibUtil, ReductionsToFewColours) {
  // Black and white stay exact through the 1-bit conversion; the fixed
  // 16 colours through the 4-bit one; the source is left alone.
  const Picture bw = UtilRgb24(10, 4, [](int x, int y) { return (x + y) % 3 ? 0xFFFFFFu : 0u; });
  Held s(imgtest::DibOf(bw));
  const Bytes before = s.Block();
  Held one(tsl::Dib24To1(Heap(), s.h));
  ASSERT_NE(one.h, nullptr);
  EXPECT_EQ(one.View().bitCount, 1);
  EXPECT_EQ(imgtest::ToRgb(one.View()), imgtest::ToRgb(s.View()));
  EXPECT_EQ(s.Block(), before);

  const Picture fixed = UtilRgb24(16, 3, [](int x, int) {
    const tsl::DibRgbQuad& e = tsl::kFixed16Colours[x];
    return uint32_t(e.rgbRed) << 16 | uint32_t(e.rgbGreen) << 8 | e.rgbBlue;
  });
  Held f(imgtest::DibOf(fixed));
  Held four(tsl::Dib24To4(Heap(), f.h));
  ASSERT_NE(four.h, nullptr);
  EXPECT_EQ(four.View().numColours, 16u);
  EXPECT_EQ(imgtest::ToRgb(four.View()), imgtest::ToRgb(f.View()));

  // Middle grey dithers to about half white.
  Held grey(imgtest::DibOf(UtilRgb24(32, 32, [](int, int) { return 0x808080u; })));
  Held g1(tsl::Dib24To1(Heap(), grey.h));
  const Bytes rgb = imgtest::ToRgb(g1.View());
  size_t white = 0;
  for (size_t i = 0; i < rgb.size(); i += 3) white += rgb[i] == 255;
  EXPECT_GT(white, 400u);
  EXPECT_LT(white, 624u);

  Held d8(imgtest::DibOf(bmpgen::Pattern(12, 5, 8)));
  Held d8to1(tsl::Dib8To1(Heap(), d8.h));
  Held d8to4(tsl::Dib8To4(Heap(), d8.h));
  EXPECT_EQ(d8to1.View().bitCount, 1);
  EXPECT_EQ(d8to4.View().bitCount, 4);
}

TEST(DibUtil, QuantizeDib24) {
  // One colour with median cut: that colour once.
  Held one(imgtest::DibOf(UtilRgb24(9, 9, [](int, int) { return 0x4080C0u; })));
  for (uint32_t flags : {2u, 3u}) {
    Held q(tsl::QuantizeDib24(Heap(), one.h, 8, flags));
    ASSERT_NE(q.h, nullptr);
    const tsl::DibView v = q.View();
    EXPECT_EQ(v.bitCount, 8);
    EXPECT_EQ(v.numColours, 256u);
    EXPECT_EQ(v.colours[0].rgbRed, 0x40);
    EXPECT_EQ(v.colours[0].rgbGreen, 0x80);
    EXPECT_EQ(v.colours[0].rgbBlue, 0xC0);
    EXPECT_EQ(v.colours[1].rgbRed | v.colours[1].rgbGreen | v.colours[1].rgbBlue, 0);
    for (int32_t y = 0; y < v.height; ++y)
      for (int32_t x = 0; x < v.width; ++x) ASSERT_EQ(v.Row(y)[x], 0);
  }
  // Popularity: the most frequent cells first; few colours stay exact.
  const uint32_t cols[3] = {0xF80000, 0x00F800, 0x0000F8};
  Held three(imgtest::DibOf(UtilRgb24(10, 3, [&](int x, int) { return cols[x < 6 ? 0 : x < 9 ? 1 : 2]; })));
  Held pop(tsl::QuantizeDib24(Heap(), three.h, 2, 0));
  ASSERT_NE(pop.h, nullptr);
  EXPECT_EQ(pop.View().colours[0].rgbRed, 0xF8);
  EXPECT_EQ(pop.View().colours[1].rgbGreen, 0xF8);
  EXPECT_EQ(pop.View().colours[2].rgbBlue, 0xF8);
  EXPECT_EQ(imgtest::ToRgb(pop.View()), imgtest::ToRgb(three.View()));
  Held cut(tsl::QuantizeDib24(Heap(), three.h, 4, tsl::kQuantizeMedianCut));
  EXPECT_EQ(imgtest::ToRgb(cut.View()), imgtest::ToRgb(three.View()));
  // A rich picture keeps its shape within a coarse tolerance.
  const Picture rich = bmpgen::Pattern(40, 30, 24);
  Held r(imgtest::DibOf(rich));
  Held reduced(tsl::ReduceDib24(Heap(), r.h, 0));
  ASSERT_NE(reduced.h, nullptr);
  const Bytes a = imgtest::ToRgb(r.View()), b = imgtest::ToRgb(reduced.View());
  long total = 0;
  for (size_t i = 0; i < a.size(); ++i) total += std::abs(int(a[i]) - int(b[i]));
  EXPECT_LT(total / long(a.size()), 24);
  Held greyed(tsl::ReduceDib24(Heap(), r.h, 1));
  EXPECT_EQ(greyed.View().colours[9].rgbRed, 9);

  EXPECT_EQ(tsl::QuantizeDib24(Heap(), r.h, 9, 0), nullptr);
  EXPECT_EQ(tsl::QuantizeDib24(Heap(), r.h, 0, 0), nullptr);
  Held d8(imgtest::DibOf(bmpgen::Pattern(4, 4, 8)));
  EXPECT_EQ(tsl::QuantizeDib24(Heap(), d8.h, 8, 0), nullptr);
}

TEST(DibUtil, MedianCutSplitsAtTheMiddle) {
  std::vector<uint32_t> hist(tsl::kColourCells, 0);
  hist[tsl::ColourCell(0, 0, 0)] = 10;
  hist[tsl::ColourCell(255, 0, 0)] = 10;
  hist[tsl::ColourCell(0, 0, 255)] = 5;
  std::vector<tsl::DibRgbQuad> pal;
  // Red first (no axis is longer): plane 0 holds 15 of 25. Its box then
  // splits on green, which leaves black and blue together for their mean.
  tsl::MedianCutBox(hist.data(), pal, 0, 31, 0, 31, 0, 31, 4, 25);
  ASSERT_EQ(pal.size(), 2u);
  EXPECT_EQ(pal[0].rgbBlue, (5 * 31 / 15) << 3);
  EXPECT_EQ(pal[0].rgbRed, 0);
  EXPECT_EQ(pal[1].rgbRed, 248);
  std::vector<tsl::DibRgbQuad> none;
  tsl::MedianCutBox(hist.data(), none, 0, 31, 0, 31, 0, 31, 4, 0);
  EXPECT_TRUE(none.empty());
  std::vector<tsl::DibRgbQuad> mean;
  tsl::MedianCutBox(hist.data(), mean, 0, 31, 0, 31, 0, 31, 1, 25);
  ASSERT_EQ(mean.size(), 1u);
  EXPECT_EQ(mean[0].rgbRed, (10 * 31 / 25) << 3);
  EXPECT_EQ(mean[0].rgbBlue, (5 * 31 / 25) << 3);
  EXPECT_EQ(tsl::ColorDistance2(1, 2, 3, 4, 6, 3), 25u);
}
