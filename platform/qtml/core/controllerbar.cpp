#include "platform/qtml/core/controllerbar.h"

namespace qtml {

namespace {
// Space between the track and the bar's edges, and the thumb's half width.
constexpr int kTrackInset = 4;
}  // namespace

TControllerBarLayout LayoutControllerBar(const TBarRect& bar, bool playShown, bool trackShown) {
  TControllerBarLayout l;
  if (bar.Empty()) return l;
  int left = bar.left;
  if (playShown) {
    const int side = bar.bottom - bar.top;
    l.play = TBarRect{bar.left, bar.top, bar.left + side < bar.right ? bar.left + side : bar.right, bar.bottom};
    left = l.play.right;
  }
  if (trackShown && bar.right - left > 2 * kTrackInset) {
    l.track = TBarRect{left + kTrackInset, bar.top, bar.right - kTrackInset, bar.bottom};
  }
  return l;
}

int TrackX(const TBarRect& track, long time, long duration) {
  const int width = track.right - track.left;
  if (width <= 1 || duration <= 0) return track.left;
  if (time < 0) time = 0;
  if (time > duration) time = duration;
  return track.left + static_cast<int>(static_cast<long long>(time) * (width - 1) / duration);
}

long TimeAtX(const TBarRect& track, int x, long duration) {
  const int width = track.right - track.left;
  if (width <= 1 || duration <= 0) return 0;
  if (x <= track.left) return 0;
  if (x >= track.right - 1) return duration;
  return static_cast<long>(static_cast<long long>(x - track.left) * duration / (width - 1));
}

}  // namespace qtml
