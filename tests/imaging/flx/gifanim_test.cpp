// Animated GIFs (made by ImageMagick at test time) as animated bitmap lists:
// header, frame records, and frames composed by their disposal methods.
#include "imaging/core/gifanim.h"

#include <gtest/gtest.h>

#include "../codecs/picgen.h"
#include "../imaging_util.h"
#include "flxpics.h"

using namespace flxtest;

namespace {

class GifAnim : public ::testing::Test {
protected:
  void SetUp() override {
    if (!imgtest::HaveConvert()) GTEST_SKIP() << "ImageMagick's convert is not on PATH";
    dir_ = imgtest::TempDir();
  }
  void TearDown() override {
    if (!dir_.empty()) imgtest::Run("rm -rf '" + dir_ + "'");
  }
  // Runs convert with the arguments and loads the GIF it wrote.
  bool Load(const std::string& args, tsl::TAnimatedBmpListCore& l) {
    const std::string path = dir_ + "/a.gif";
    int status = -1;
    imgtest::Run("convert " + args + " '" + path + "'", &status);
    if (status != 0) return false;
    tsl::MemoryStream m(imgtest::ReadFile(path));
    return tsl::LoadGifFrames(m, l);
  }
  std::string dir_;
};

// The RGB of pixel (x, y) of a 24-bit frame (y from the top).
uint32_t Rgb(const Block& pic, int x, int y) {
  tsl::DibView v;
  Block copy = pic;
  if (!tsl::ParseDib(copy.data(), copy.size(), v) || v.bitCount != 24) return 0xDEAD;
  const uint8_t* p = v.Row(v.height - 1 - y) + 3 * x;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST_F(GifAnim, LoopCountDelaysAndSize) {
  tsl::TAnimatedBmpListCore l;
  // ImageMagick stores -loop 2 as one repetition: two passes.
  ASSERT_TRUE(Load("-delay 25 -loop 2 -size 12x8 xc:red xc:lime xc:blue", l));
  EXPECT_EQ(l.Header.LoopCount, 2);
  EXPECT_EQ(l.Header.Width, 12);
  EXPECT_EQ(l.Header.Height, 8);
  ASSERT_EQ(l.FrameCount(), 3);
  const uint32_t want[] = {0xFF0000, 0x00FF00, 0x0000FF};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(l.FrameRecord(i)->Delay, 250u);
    EXPECT_EQ(l.FrameRecord(i)->Transparent, 0);
    EXPECT_EQ(Rgb(*l.FramePicture(i), 11, 7), want[i]);
  }

  tsl::TAnimatedBmpListCore endless;
  ASSERT_TRUE(Load("-delay 10 -loop 0 -size 4x4 xc:red xc:blue", endless));
  EXPECT_EQ(endless.Header.LoopCount, -1);
}

// Frame i's pixels as RGB, uncovered (key-coloured) pixels as -1.
std::vector<int64_t> Composed(tsl::TAnimatedBmpListCore& l, int i) {
  const tsl::TAnimFrameRecord* r = l.FrameRecord(i);
  const uint32_t key = (r->TransparentColour & 0xFF) << 16 | (r->TransparentColour & 0xFF00) | r->TransparentColour >> 16;
  std::vector<int64_t> out;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const uint32_t c = Rgb(*l.FramePicture(i), x, y);
      out.push_back(r->Transparent && c == key ? -1 : int64_t(c));
    }
  return out;
}

TEST_F(GifAnim, FramesComposeByTheirDisposal) {
  // Full pictures: a striped background, then a square moving over it. The
  // background holds every colour, so that the first frame's colour table
  // is as large as the later frames' (the codec refuses larger ones later).
  const std::string bg =
      "xc:white -fill black -draw 'rectangle 0,0 39,4' -fill red -draw 'point 39,29' -fill blue -draw 'point 38,29'";
  const std::string full =
      "-size 40x30 -delay 10 \\( " + bg + " \\) "
      "\\( " + bg + " -fill red -draw 'rectangle 2,8 11,17' \\) "
      "\\( " + bg + " -fill red -draw 'rectangle 12,8 21,17' \\) "
      "\\( " + bg + " -fill blue -draw 'rectangle 22,12 31,21' \\)";
  // The same as a background and sprites that are taken away again.
  const std::string sprites = "-delay 10 -dispose none \\( -size 40x30 " + bg +
                              " \\) -dispose previous -size 10x10 -page +2+8 xc:red -page +12+8 xc:red "
                              "-page +22+12 xc:blue";
  // Sprites on nothing, each cleared to the background after it; the first
  // frame's two dots make its colour table larger than one bit, where the
  // codec would move frames to a byte boundary.
  const std::string dots = "xc:none -fill lime -draw 'point 39,29' -fill yellow -draw 'point 38,29'";
  const std::string cleared = "-delay 10 -dispose background -size 40x30 " + dots +
                              " -size 10x10 -page +2+8 xc:red -page +12+8 xc:red -page +22+12 xc:blue";
  const std::string clearedFull =
      "-delay 10 -dispose background -size 40x30 " + dots +
      " \\( xc:none -fill red -draw 'rectangle 2,8 11,17' \\) "
      "\\( xc:none -fill red -draw 'rectangle 12,8 21,17' \\) \\( xc:none -fill blue -draw 'rectangle 22,12 31,21' \\)";
  struct Case {
    const char* what;
    std::string made, reference;
  } cases[] = {
      {"optimised: changed rectangles, transparent pixels", full + " -layers optimize", full},
      {"disposal 3 restores the picture before the sprite", sprites, full},
      {"disposal 2 clears to the background", cleared, clearedFull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    tsl::TAnimatedBmpListCore made, reference;
    ASSERT_TRUE(Load(c.made, made));
    ASSERT_TRUE(Load(c.reference, reference));
    ASSERT_EQ(made.FrameCount(), 4);
    ASSERT_EQ(reference.FrameCount(), 4);
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      const std::vector<int64_t> a = Composed(made, i), b = Composed(reference, i);
      int wrong = 0;
      for (size_t k = 0; k < a.size(); ++k) wrong += a[k] != b[k];
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST_F(GifAnim, UncoveredPixelsAreTransparent) {
  // A transparent background with a square: the square's colour never
  // becomes the key.
  tsl::TAnimatedBmpListCore l;
  ASSERT_TRUE(Load("-size 10x10 -delay 10 xc:none -fill '#FF00FF' -draw 'rectangle 2,2 5,5' xc:none", l));
  ASSERT_GE(l.FrameCount(), 1);
  const tsl::TAnimFrameRecord* r = l.FrameRecord(0);
  EXPECT_EQ(r->Transparent, 1);
  const uint32_t key = (r->TransparentColour & 0xFF) << 16 | (r->TransparentColour & 0xFF00) | r->TransparentColour >> 16;
  EXPECT_EQ(Rgb(*l.FramePicture(0), 0, 0), key);
  EXPECT_EQ(Rgb(*l.FramePicture(0), 3, 3), 0xFF00FFu);
  EXPECT_NE(key, 0xFF00FFu);
}

// A 2 x 2 frame at an odd place on 1-, 4- and 8-bit screens: the codec
// draws it from a byte boundary below 8 bits, the animation shows it where
// the file places it.
TEST(GifAnimPlacement, FramesBelowEightBitsKeepTheirPlace) {
  struct Case {
    uint16_t bits, left;
  } cases[] = {{1, 5}, {1, 9}, {4, 3}, {4, 13}, {8, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "bits " << c.bits << " left " << c.left);
    const picgen::Indexed palette = picgen::Pattern(1, 1, 1 << c.bits);
    auto solid = [&](int w, int h, uint8_t v) {
      picgen::Indexed p = picgen::Pattern(w, h, 1 << c.bits);
      std::fill(p.px.begin(), p.px.end(), v);
      return p;
    };
    picgen::GifFrame screen, sprite;
    screen.picture = solid(16, 2, 0);
    sprite.picture = solid(2, 2, 1);
    sprite.left = c.left;
    tsl::MemoryStream m(picgen::Gif(16, 2, c.bits, palette.rgb, {screen, sprite}));
    tsl::TAnimatedBmpListCore l;
    ASSERT_TRUE(tsl::LoadGifFrames(m, l));
    ASSERT_EQ(l.FrameCount(), 2);
    auto rgbOf = [&](int i) { return uint32_t(palette.rgb[3 * i]) << 16 | uint32_t(palette.rgb[3 * i + 1]) << 8 | palette.rgb[3 * i + 2]; };
    std::string row, want;
    for (int x = 0; x < 16; ++x) {
      const uint32_t got = Rgb(*l.FramePicture(1), x, 1);
      row += got == rgbOf(1) ? '#' : got == rgbOf(0) ? '.' : '?';
      want += x >= c.left && x < c.left + 2 ? '#' : '.';
    }
    EXPECT_EQ(row, want);
  }
}

}  // namespace
