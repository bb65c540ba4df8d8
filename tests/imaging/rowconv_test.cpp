#include "imaging/core/rowconv.h"

#include <gtest/gtest.h>

#include "imaging/core/bmpcodec.h"
#include "imaging_util.h"

using imgtest::Bytes;
using imgtest::Heap;
using imgtest::Held;

TEST(RowConversions, DepthsAndTheirRules) {
  uint8_t out[16] = {};
  const uint8_t white555[2] = {0xFF, 0x7F}, top[2] = {0x00, 0x80};
  tsl::Row555To24(out, white555, 1);
  EXPECT_EQ(Bytes(out, out + 3), Bytes({248, 248, 248}));
  tsl::Row555To24(out, top, 1);
  EXPECT_EQ(Bytes(out, out + 3), Bytes({0, 0, 0}));
  const uint8_t bgr[6] = {0x10, 0x20, 0xF0, 0xFF, 0x08, 0x00};
  tsl::Row24To555(out, bgr, 2);
  EXPECT_EQ(tsl::GetLe16(out), (0xF0 & 0xF8) << 7 | (0x20 & 0xF8) << 2 | 0x10 >> 3);
  EXPECT_EQ(tsl::GetLe16(out + 2), 0x08 << 2 | 0xFF >> 3);

  const uint8_t greys[6] = {128, 128, 128, 127, 127, 127};
  tsl::Row24To1(out, greys, 2);
  EXPECT_EQ(out[0], 0x80);
  const uint8_t bits[1] = {0xA0};
  tsl::Row1To24(out, bits, 3);
  EXPECT_EQ(Bytes(out, out + 9), Bytes({255, 255, 255, 0, 0, 0, 255, 255, 255}));

  const uint8_t idx[3] = {200, 3, 15};
  tsl::Row8To4(out, idx, 3);
  EXPECT_EQ(out[0], 0xF3);
  EXPECT_EQ(out[1], 0xF0);

  uint8_t four[4] = {1, 2, 3, 0xAA};
  tsl::Row24To32(four, bgr, 1);
  EXPECT_EQ(Bytes(four, four + 4), Bytes({0x10, 0x20, 0xF0, 0xAA}));
  tsl::Row32To24(out, four, 1);
  EXPECT_EQ(Bytes(out, out + 3), Bytes({0x10, 0x20, 0xF0}));

  // Palette look-ups: nearest entry, the first of equals; black beyond it.
  const tsl::DibRgbQuad table[3] = {{0, 0, 0, 0}, {0, 0, 200, 0}, {0, 0, 200, 0}};
  const uint8_t reds[6] = {0, 0, 190, 0, 0, 20};
  tsl::Row24To8(out, reds, 2, table, 3);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 0);
  tsl::Row24To4(out, reds, 2, table, 3);
  EXPECT_EQ(out[0], 0x10);
  const uint8_t indexes[2] = {1, 7};
  tsl::Row8To24(out, indexes, 2, table, 3);
  EXPECT_EQ(Bytes(out, out + 6), Bytes({0, 0, 200, 0, 0, 0}));
  const uint8_t nib[1] = {0x17};
  tsl::Row4To24(out, nib, 2, table, 3);
  EXPECT_EQ(Bytes(out, out + 6), Bytes({0, 0, 200, 0, 0, 0}));
}

TEST(RowConversions, MirrorAndFlip) {
  // 1 bit, 3 pixels: 1, 1, 0 becomes 0, 1, 1 with clear padding.
  _TDIB one(3, 2, 1);
  one.Bits[0] = 0xC0 | 0x15;  // garbage in the padding bits
  ASSERT_EQ(MirrorDibRows(one), 0);
  EXPECT_EQ(one.Bits[0], 0x60);
  // Every depth and width against a pixel-by-pixel mirror.
  for (uint32_t bits : {1u, 4u, 8u, 24u}) {
    for (int w : {1, 2, 3, 7, 8, 9, 13, 16, 17}) {
      const bmpgen::Picture p = bmpgen::Pattern(w, 3, uint16_t(bits));
      _TDIB d(w, 3, bits);
      std::memcpy(d.Bits, p.rows.data(), p.rows.size());
      ASSERT_EQ(MirrorDibRows(d), 0);
      tsl::DibView v;
      tsl::ParseDib(d.LockedBase, d.Platform().Size(d.Dib), v);
      if (!p.palette.empty()) std::memcpy(v.colours, p.palette.data(), p.palette.size());
      const Bytes got = imgtest::ToRgb(v);
      Held orig(imgtest::DibOf(p));
      const Bytes want = imgtest::ToRgb(orig.View());
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x)
          for (int c = 0; c < 3; ++c)
            ASSERT_EQ(got[size_t(y * w + x) * 3 + c], want[size_t(y * w + (w - 1 - x)) * 3 + c]) << bits << " " << w;
    }
  }
  _TDIB f(2, 3, 8);
  for (int i = 0; i < 12; ++i) f.Bits[i] = uint8_t(i);
  ASSERT_EQ(FlipDibRows(f), 0);
  EXPECT_EQ(Bytes(f.Bits, f.Bits + 12), Bytes({8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3}));
  const TUtilVarMan& t = TUtilVarMan::Instance();
  EXPECT_EQ(t.Reversed()[0x01], 0x80);
  EXPECT_EQ(t.NibbleSwapped()[0x12], 0x21);
  EXPECT_EQ(t.ReversedTop(3)[0xC0], 0x60);
  EXPECT_EQ(t.MatchingLow(3)[0xFF], 0x1F);
}

TEST(RowConversions, QuantizeTo8Bits) {
  bmpgen::Picture p = bmpgen::Pattern(21, 13, 24);
  // Four colours only: the network learns them closely.
  const uint8_t cols[4][3] = {{10, 20, 200}, {250, 250, 250}, {0, 128, 0}, {90, 30, 60}};
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 21; ++x) std::memcpy(&p.rows[size_t(y) * p.RowBytes() + 3 * size_t(x)], cols[(x / 3 + y) % 4], 3);
  Held src(imgtest::DibOf(p));
  Held q(tsl::QuantizeDibTo8Bit(Heap(), src.h, 16, 8, 1));
  ASSERT_NE(q.h, nullptr);
  const tsl::DibView v = q.View();
  EXPECT_EQ(v.bitCount, 8);
  EXPECT_EQ(v.numColours, 256u);
  EXPECT_EQ(v.header->biXPelsPerMeter, 2953);
  const Bytes a = imgtest::ToRgb(src.View()), b = imgtest::ToRgb(v);
  for (size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a[i], b[i], 12) << i;
  for (int i = 16; i < 256; ++i) EXPECT_EQ(v.colours[i].rgbRed | v.colours[i].rgbGreen | v.colours[i].rgbBlue, 0);

  Held d8(imgtest::DibOf(bmpgen::Pattern(4, 4, 8)));
  EXPECT_EQ(tsl::QuantizeDibTo8Bit(Heap(), d8.h, 256, 8, 1), nullptr);
  EXPECT_EQ(tsl::QuantizeDibTo8Bit(Heap(), src.h, 256, 9, 1), nullptr);
  EXPECT_EQ(tsl::QuantizeDibTo8Bit(Heap(), nullptr, 256, 8, 1), nullptr);
  // A picture far smaller than one sampling step still works.
  Held tiny(imgtest::DibOf(bmpgen::Pattern(2, 1, 24)));
  Held tq(tsl::QuantizeDibTo8Bit(Heap(), tiny.h, 256, 8, 10));
  EXPECT_NE(tq.h, nullptr);
}
