// Geometry of the movie controller bar: a play/pause button at its left
// and a position bar filling the rest; a click on the position bar seeks.
#pragma once

namespace qtml {

struct TBarRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// The bar's standard height in pixels.
constexpr int kControllerBarHeight = 16;

struct TControllerBarLayout {
  TBarRect play;   // empty when the button is hidden
  TBarRect track;  // empty when the position bar is hidden
};

TControllerBarLayout LayoutControllerBar(const TBarRect& bar, bool playShown, bool trackShown);

// The thumb's centre for `time`, and the time under x, clamped to the track.
int TrackX(const TBarRect& track, long time, long duration);
long TimeAtX(const TBarRect& track, int x, long duration);

}  // namespace qtml
