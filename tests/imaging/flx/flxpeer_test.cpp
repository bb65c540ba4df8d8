// Peer check: ffmpeg's FLIC decoder turns the files our writer makes into the
// same RGB frames as our reader, the ring frame included.
#include <gtest/gtest.h>

#include <random>

#include "../imaging_util.h"
#include "flxpics.h"

using namespace flxtest;

namespace {

bool HaveFfmpeg() {
  int s = -1;
  imgtest::Run("command -v ffmpeg", &s);
  return s == 0;
}

// Our reader's frames as top-down RGB: frame 1 .. N and the ring frame.
Block OurRgb(const Block& file) {
  tsl::TFLX f(StreamOf(file), false);
  Block out;
  if (!f.Valid()) return out;
  for (int i = 0; i <= f.FrameCount(); ++i) {
    const tsl::DibRgbQuad* pal = f.Palette();
    for (uint32_t y = 0; y < f.Height(); ++y) {
      const uint8_t* l = f.Line(y);
      for (uint32_t x = 0; x < f.Width(); ++x)
        out.insert(out.end(), {pal[l[x]].rgbRed, pal[l[x]].rgbGreen, pal[l[x]].rgbBlue});
    }
    if (i < f.FrameCount() && !f.NextFrame()) return {};
  }
  return out;
}

TEST(FlxPeer, FfmpegDecodesTheSameFrames) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not on PATH";
  const int w = 640, h = 480, frames = 8;
  std::mt19937 rng(21);
  // Noise over all 256 colours; each picture moves a band and re-rolls a
  // share of the pixels; the palette changes half-way.
  auto palette = [](int i) { return uint32_t(i * 0x010203u) & 0xFFFFFF; };
  auto shifted = [](int i) { return uint32_t(0xFFFFFF - i * 0x030201u) & 0xFFFFFF; };
  std::vector<Block> pics;
  Block prev;
  for (int n = 0; n < frames; ++n) {
    pics.push_back(Picture(
        w, h,
        [&](int x, int y) {
          if (n == 0 || rng() % 5 == 0) return uint8_t(rng());
          if (y / 16 == n) return uint8_t(x % 3);
          return prev[size_t(y) * w + x];
        },
        n < frames / 2 ? ColourFn(palette) : ColourFn(shifted)));
    prev = Pixels(pics.back());
  }
  const Block file = WriteFlc(pics, 50);
  ASSERT_FALSE(file.empty());
  const std::string dir = imgtest::TempDir();
  const std::string path = dir + "/noise.flc";
  imgtest::WriteFile(path, file);
  const Block theirs = imgtest::Run("ffmpeg -v error -i '" + path + "' -f rawvideo -pix_fmt rgb24 -");
  imgtest::Run("rm -rf '" + dir + "'");
  const Block ours = OurRgb(file);
  const size_t frameBytes = size_t(w) * h * 3;
  ASSERT_EQ(ours.size(), frameBytes * (frames + 1));
  ASSERT_EQ(theirs.size(), ours.size()) << "ffmpeg gave " << theirs.size() / frameBytes << " frames";
  for (int i = 0; i <= frames; ++i) {
    SCOPED_TRACE("frame " + std::to_string(i + 1));
    EXPECT_TRUE(std::equal(ours.begin() + i * frameBytes, ours.begin() + (i + 1) * frameBytes, theirs.begin() + i * frameBytes));
  }
  // The ring frame is the first picture again.
  EXPECT_TRUE(std::equal(ours.begin(), ours.begin() + frameBytes, ours.end() - frameBytes));
}

}  // namespace
