// The controller bar's layout and the mapping between its position bar and
// movie times.
#include <gtest/gtest.h>

#include "platform/qtml/core/controllerbar.h"

namespace qtml {
namespace {

TEST(ControllerBar, LayoutFollowsTheShownParts) {
  const TBarRect bar{0, 240, 320, 256};
  const struct {
    const char* what;
    bool play, track;
    TBarRect playRect, trackRect;
  } cases[] = {
      {"both", true, true, {0, 240, 16, 256}, {20, 240, 316, 256}},
      {"no play button: the track starts at the bar's left", false, true, {}, {4, 240, 316, 256}},
      {"no position bar", true, false, {0, 240, 16, 256}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TControllerBarLayout l = LayoutControllerBar(bar, c.play, c.track);
    EXPECT_EQ(l.play.left, c.playRect.left);
    EXPECT_EQ(l.play.right, c.playRect.right);
    EXPECT_EQ(l.play.Empty(), c.playRect.Empty());
    EXPECT_EQ(l.track.left, c.trackRect.left);
    EXPECT_EQ(l.track.right, c.trackRect.right);
    EXPECT_EQ(l.track.Empty(), c.trackRect.Empty());
  }
  // Too narrow for a track, and an empty bar.
  EXPECT_TRUE(LayoutControllerBar(TBarRect{0, 0, 20, 16}, true, true).track.Empty());
  EXPECT_TRUE(LayoutControllerBar(TBarRect{0, 0, 0, 16}, true, true).play.Empty());
}

TEST(ControllerBar, TrackMapsTimesBothWaysAndClamps) {
  const TBarRect track{20, 240, 321, 256};  // 301 pixels: 300 steps
  const struct {
    const char* what;
    int x;
    long time;
  } cases[] = {
      {"left end", 20, 0}, {"middle", 170, 600}, {"right end", 320, 1200},
      {"left of the track", 0, 0}, {"right of the track", 400, 1200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TimeAtX(track, c.x, 1200), c.time);
  }
  EXPECT_EQ(TrackX(track, 0, 1200), 20);
  EXPECT_EQ(TrackX(track, 600, 1200), 170);
  EXPECT_EQ(TrackX(track, 5000, 1200), 320);
  EXPECT_EQ(TrackX(track, -5, 1200), 20);
  // A movie without duration stays at the start.
  EXPECT_EQ(TimeAtX(track, 200, 0), 0);
  EXPECT_EQ(TrackX(track, 10, 0), 20);
}

}  // namespace
}  // namespace qtml
