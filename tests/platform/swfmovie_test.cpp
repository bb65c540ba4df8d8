#include "platform/swfpane/core/swfmovie.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The smallest SWF movie: an empty stage (a 5-bit field width of 0), the
// rate as 8.8 fixed point, the frame count, then the end tag.
std::vector<uint8_t> Movie(uint8_t fps, uint16_t frames) {
  std::vector<uint8_t> f = {'F', 'W', 'S', 6, 15, 0, 0, 0, 0x00, 0x00, fps,
                            static_cast<uint8_t>(frames), static_cast<uint8_t>(frames >> 8), 0, 0};
  return f;
}

TSwfMovie Opened(uint16_t frames, bool loop = false) {
  TSwfMovie m;
  const auto f = Movie(12, frames);
  EXPECT_TRUE(m.Open(f.data(), f.size()));
  m.SetLoop(loop);
  return m;
}

TEST(SwfMovie, AnOpenedMovieRunsAtItsRateAndStopsAtItsLastFrame) {
  TSwfMovie m = Opened(12);
  EXPECT_TRUE(m.Running());
  EXPECT_EQ(m.FrameInterval(), 83u);  // 12 fps
  EXPECT_EQ(m.Label(), "0 / 12");
  for (int i = 1; i < 12; ++i) ASSERT_TRUE(m.Step()) << "tick " << i;
  EXPECT_EQ(m.Label(), "11 / 12");
  EXPECT_FALSE(m.Step());
  EXPECT_FALSE(m.Running());
  EXPECT_EQ(m.Frame(), 11);
}

TEST(SwfMovie, ALoopingMovieGoesOnAtTheFirstFrame) {
  TSwfMovie m = Opened(3, true);
  m.Step();
  m.Step();
  EXPECT_TRUE(m.Step());
  EXPECT_EQ(m.Frame(), 0);
  EXPECT_TRUE(m.Running());
}

TEST(SwfMovie, StatusAndFrameCalls) {
  const struct {
    const char* what;
    uint16_t frames;
    int startFrame;
    bool startRunning;
    int status;   // 0: none
    int goTo;     // -100: none
    int frame;
    bool running;
  } cases[] = {
      {"stop keeps the frame", 12, 5, true, kSwfStatusStop, -100, 5, false},
      {"play goes on from the frame", 12, 5, false, kSwfStatusPlay, -100, 5, true},
      {"rewind while running keeps running", 12, 5, true, kSwfStatusRewind, -100, 0, true},
      {"rewind while stopped stays stopped", 12, 5, false, kSwfStatusRewind, -100, 0, false},
      {"an unknown status changes nothing", 12, 5, true, 3, -100, 5, true},
      {"a frame call keeps a stopped movie stopped", 12, 0, false, 0, 7, 7, false},
      {"a frame past the end goes to the last", 12, 0, false, 0, 40, 11, false},
      {"a negative frame goes to the first", 12, 4, true, 0, -1, 0, true},
      {"the last frame of a 1-frame movie is 0", 1, 0, false, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSwfMovie m = Opened(c.frames);
    m.SetFrame(c.startFrame);
    m.SetStatus(c.startRunning ? kSwfStatusPlay : kSwfStatusStop);
    if (c.status) m.SetStatus(c.status);
    if (c.goTo != -100) m.SetFrame(c.goTo);
    EXPECT_EQ(m.Frame(), c.frame);
    EXPECT_EQ(m.Running(), c.running);
  }
}

TEST(SwfMovie, AFileThatIsNoMovieHasNoFramesAndNeverRuns) {
  const std::vector<uint8_t> text = {'<', 'h', 't', 'm', 'l', '>', ' ', ' ', ' ', ' '};
  TSwfMovie m = Opened(12);
  EXPECT_FALSE(m.Open(text.data(), text.size()));
  EXPECT_EQ(m.FrameCount(), 0);
  EXPECT_EQ(m.FrameInterval(), 0u);
  m.SetStatus(kSwfStatusPlay);
  EXPECT_FALSE(m.Running());
  EXPECT_FALSE(m.Step());
  // The object's "to the last frame" asks for frame count - 1.
  m.SetFrame(m.FrameCount() - 1);
  EXPECT_EQ(m.Frame(), 0);
  EXPECT_EQ(m.Label(), "0 / 0");
}

}  // namespace
