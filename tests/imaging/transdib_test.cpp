#include "imaging/core/transdib.h"

#include <gtest/gtest.h>

#include "imaging_util.h"

using imgtest::Bytes;
using imgtest::Held;

TEST(TransparentDib, PixelAddresses) {
  Held d(imgtest::DibOf(bmpgen::Pattern(5, 4, 24)));
  const tsl::DibView v = d.View();
  EXPECT_EQ(tsl::DibPixelPtr(v.header, v.bits, 0, 0), v.Row(3));
  EXPECT_EQ(tsl::DibPixelPtr(v.header, v.bits, 2, 3), v.Row(0) + 6);
  EXPECT_EQ(tsl::DibPixelPtr(v.header, v.bits, 5, 0), nullptr);
  EXPECT_EQ(tsl::DibPixelPtr(v.header, v.bits, 0, 4), nullptr);
  EXPECT_EQ(tsl::DibPixelPtr(v.header, v.bits, -1, 0), nullptr);
  Held one(imgtest::DibOf(bmpgen::Pattern(20, 2, 1)));
  const tsl::DibView o = one.View();
  EXPECT_EQ(tsl::DibPixelPtr(o.header, o.bits, 17, 1), o.Row(0) + 2);
}

TEST(TransparentDib, ColourTablePasses) {
  std::vector<tsl::DibRgbQuad> table = {{255, 0, 255, 0}, {1, 2, 3, 0}, {255, 255, 255, 0}, {255, 0, 255, 0}};
  const auto orig = table;
  std::vector<tsl::DibRgbQuad> saved;
  tsl::MaskColourTable(table.data(), 4, 255, 0, 255, saved);
  EXPECT_EQ(table[0].rgbRed, 255);
  EXPECT_EQ(table[1].rgbRed, 0);
  EXPECT_EQ(table[2].rgbRed, 0);  // white that is not transparent draws black in the mask
  EXPECT_EQ(table[3].rgbGreen, 255);
  tsl::ImageColourTable(table.data(), 4, saved);
  EXPECT_EQ(table[0].rgbRed | table[0].rgbBlue, 0);
  EXPECT_EQ(table[1].rgbBlue, 1);
  EXPECT_EQ(table[2].rgbRed, 255);
  // The transparent colour is gone: a second pass finds nothing.
  tsl::MaskColourTable(table.data(), 4, 255, 0, 255, saved);
  for (const auto& e : table) EXPECT_TRUE(e.rgbRed == 0 || (e.rgbRed == 255 && orig[2].rgbRed == 255));
}

// Pixels compare at their real size; padding is never touched.
TEST(TransparentDib, PixelPassesAtEveryTrueColourDepth) {
  struct Case { uint16_t bits; uint32_t compression; uint32_t masks[3]; };
  const Case cases[] = {{24, 0, {0, 0, 0}},
                        {16, 0, {0, 0, 0}},
                        {16, 3, {0xF800, 0x7E0, 0x1F}},
                        {32, 0, {0, 0, 0}},
                        {32, 3, {0xFF, 0xFF00, 0xFF0000}}};
  for (const Case& c : cases) {
    bmpgen::Picture p = bmpgen::Pattern(3, 2, c.bits);
    std::memcpy(p.masks, c.masks, sizeof p.masks);
    // Pixel 1 of row 0 is magenta, the rest keep the pattern.
    Held d(imgtest::DibOf(p, c.compression));
    const tsl::DibView v = d.View();
    uint8_t* px = v.Row(0) + c.bits / 8;
    if (c.bits == 24) px[0] = 255, px[1] = 0, px[2] = 255;
    else if (c.bits == 16) tsl::PutLe16(px, c.compression ? 0xF81F : 0x7C1F);
    else tsl::PutLe32(px, c.compression ? 0xFF00FF : 0xAAFF00FF);  // 0xAA: unused byte
    const Bytes before = d.Block();
    std::vector<uint8_t> saved;
    ASSERT_TRUE(tsl::MaskPixels(v, 255, 0, 255, saved));
    const Bytes mask = imgtest::ToRgb(v);
    // Top-down: row 1 first, then row 0 with the magenta pixel second.
    const int white = c.bits == 16 ? 248 : 255;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(mask[size_t(i) * 3], i == 4 ? white : 0) << c.bits << " " << i;
    tsl::ImagePixels(v, saved);
    const Bytes image = imgtest::ToRgb(v);
    Held orig(imgtest::DibOf(p, c.compression));
    const Bytes want = imgtest::ToRgb(orig.View());
    for (int i = 0; i < 6; ++i)
      for (int k = 0; k < 3; ++k)
        EXPECT_EQ(image[size_t(i) * 3 + k], i == 4 ? 0 : want[size_t(i) * 3 + k]) << c.bits << " " << i;
    // Row padding as before.
    const size_t row0 = size_t(v.Row(0) - reinterpret_cast<uint8_t*>(v.header));
    for (uint32_t k = uint32_t(3 * c.bits / 8); k < v.rowBytes; ++k) EXPECT_EQ(v.Row(0)[k], before[row0 + k]);
  }
  Held d8(imgtest::DibOf(bmpgen::Pattern(3, 2, 8)));
  std::vector<uint8_t> saved;
  EXPECT_FALSE(tsl::MaskPixels(d8.View(), 0, 0, 0, saved));
}
