// A transparent frame as the image and mask pair the player draws with.
#include <gtest/gtest.h>

#include "flxpics.h"
#include "imaging/core/animfile.h"

using namespace flxtest;

namespace {

uint32_t At(const Block& rgb24, int x, int y) {
  tsl::DibView v;
  Block copy = rgb24;
  tsl::ParseDib(copy.data(), copy.size(), v);
  const uint8_t* p = v.Row(v.height - 1 - y) + 3 * x;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(MaskedPair, TransparentPixelsOnlyInTheMask) {
  // Index 0 is green (the transparent colour), 1 red.
  const Block pic = Picture(3, 2, [](int x, int y) { return uint8_t((x + y) % 2); },
                            [](int i) { return i == 0 ? 0x00FF00u : 0xFF0000u; });
  Block image, mask;
  ASSERT_TRUE(tsl::MakeMaskedPair(pic, 0x00FF00 /* COLORREF of green */, image, mask));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      SCOPED_TRACE(x + 10 * y);
      const bool transparent = (x + y) % 2 == 0;
      EXPECT_EQ(At(mask, x, y), transparent ? 0xFFFFFFu : 0u);
      EXPECT_EQ(At(image, x, y), transparent ? 0u : 0xFF0000u);
    }
  EXPECT_FALSE(tsl::MakeMaskedPair(Block(10, 0), 0, image, mask));
}

}  // namespace
