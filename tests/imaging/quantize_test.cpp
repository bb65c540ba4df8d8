#include "imaging/core/quantize.h"

#include <gtest/gtest.h>

#include <set>

#include "imaging_util.h"

using imgtest::Heap;
using imgtest::Held;

TEST(NeuQuant, PixelStepAvoidsTheLengthsFactors) {
  EXPECT_EQ(TNeuQuant::PixelStep(3 * 1000), 3 * 499);
  EXPECT_EQ(TNeuQuant::PixelStep(499 * 491 * 3), 3 * 487);
  EXPECT_EQ(TNeuQuant::PixelStep(499 * 491 * 487), 3 * 503);
  EXPECT_EQ(TNeuQuant::PixelStep(499 * 3), 3 * 491);
}

TEST(NeuQuant, LearnsAFewColours) {
  std::vector<uint8_t> px;
  const uint8_t cols[3][3] = {{255, 0, 0}, {0, 255, 0}, {30, 30, 220}};
  for (int i = 0; i < 3000; ++i) px.insert(px.end(), cols[i % 3], cols[i % 3] + 3);
  TNeuQuant net(px.data(), int(px.size()), 1, 64);
  net.Run();
  tsl::DibRgbQuad map[256];
  net.ColourMap(map);
  for (const auto& c : cols) {
    const int i = net.Search(c[0], c[1], c[2]);
    ASSERT_GE(i, 0);
    ASSERT_LT(i, 64);
    EXPECT_NEAR(map[i].rgbBlue, c[0], 8);
    EXPECT_NEAR(map[i].rgbGreen, c[1], 8);
    EXPECT_NEAR(map[i].rgbRed, c[2], 8);
  }
  for (int i = 64; i < 256; ++i) EXPECT_EQ(map[i].rgbRed | map[i].rgbGreen | map[i].rgbBlue, 0);
  // Degenerate inputs do not fail.
  TNeuQuant empty(nullptr, 0, 0, 0);
  empty.Run();
  EXPECT_EQ(empty.NetSize(), 1);
}

TEST(Octree, LeavesNeverExceedTheMaximum) {
  TOctreeQuantizer tree(7, 8);
  for (int i = 0; i < 5000; ++i) {
    tree.Add(uint8_t(i * 37), uint8_t(i * 11 + 3), uint8_t(i * 101));
    ASSERT_LE(tree.LeafCount(), 7u) << i;
  }
  std::vector<tsl::DibRgbQuad> out;
  tree.Colours(out);
  EXPECT_EQ(out.size(), tree.LeafCount());
  TOctreeQuantizer single(1, 8);
  for (int i = 0; i < 100; ++i) single.Add(uint8_t(i), 0, 200);
  single.Colours(out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].rgbRed, 49);
  EXPECT_EQ(out[0].rgbBlue, 200);
}

TEST(Octree, PaletteOfAPicture) {
  bmpgen::Picture p = bmpgen::Pattern(10, 4, 24);
  const uint32_t cols[3] = {0x102030, 0xFFEEDD, 0x0000FF};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 10; ++x) {
      uint8_t* q = &p.rows[size_t(y) * p.RowBytes() + 3 * size_t(x)];
      const uint32_t c = cols[(x + y) % 3];
      q[0] = uint8_t(c), q[1] = uint8_t(c >> 8), q[2] = uint8_t(c >> 16);
    }
  Held d(imgtest::DibOf(p));
  std::vector<tsl::DibRgbQuad> out;
  ASSERT_TRUE(tsl::OctreeColours(d.View(), 256, 8, out));
  ASSERT_EQ(out.size(), 3u);
  std::set<uint32_t> got;
  for (const auto& e : out) got.insert(uint32_t(e.rgbRed) << 16 | uint32_t(e.rgbGreen) << 8 | e.rgbBlue);
  EXPECT_EQ(got, std::set<uint32_t>(cols, cols + 3));
  EXPECT_FALSE(tsl::OctreeColours(d.View(), 256, 9, out));
  Held d8(imgtest::DibOf(bmpgen::Pattern(4, 4, 8)));
  EXPECT_FALSE(tsl::OctreeColours(d8.View(), 256, 8, out));
  // 16 bits: 5-5-5 fields widened to 8 bits; bit fields as the picture says.
  bmpgen::Picture p16 = bmpgen::Pattern(2, 1, 16);
  tsl::PutLe16(&p16.rows[0], 0x7C00);
  tsl::PutLe16(&p16.rows[2], 0x001F);
  Held d16(imgtest::DibOf(p16));
  ASSERT_TRUE(tsl::OctreeColours(d16.View(), 256, 8, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].rgbBlue, 248);
  EXPECT_EQ(out[1].rgbRed, 248);
  p16.masks[0] = 0xF800, p16.masks[1] = 0x7E0, p16.masks[2] = 0x1F;
  tsl::PutLe16(&p16.rows[0], 0x07E0);
  Held d565(imgtest::DibOf(p16, tsl::kBiBitfields));
  ASSERT_TRUE(tsl::OctreeColours(d565.View(), 256, 8, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].rgbGreen, 252);  // blue (child 1) comes before green (child 2)
}
