#include "imaging/profiscroller.h"

#include <algorithm>

#include "platform/owl/window.h"

namespace {

constexpr long kBarSteps = 32767;

double FactorFor(long range) { return range < kBarSteps + 1 ? 1.0 : double(range) / double(kBarSteps); }

long Clamp(long v, long lo, long hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The automatic step toward a mouse `beyond` pixels outside the client
// area (negative: before it): a line per ten pixels, between a line and a
// page. Left of the client starts at x < 1, so a mouse at 0 counts as
// before it.
long AutoStep(long beyond, long line, long page, bool before) {
  const long step = (beyond / 10) * line;
  if (before) return Clamp(step, -page, -line);
  return Clamp(step, line, page);
}

}  // namespace

TProfiScroller::TProfiScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange)
    : TScroller(window, xUnit, yUnit, xRange, yRange) {
  XLine = YLine = 1;
  UpdateFactors();
}

void TProfiScroller::UpdateFactors() {
  XFactor = FactorFor(XRange);
  YFactor = FactorFor(YRange);
}

void TProfiScroller::SetRange(long xRange, long yRange) {
  XRange = (std::max)(0L, xRange);
  YRange = (std::max)(0L, yRange);
  UpdateFactors();
  SetBarRange();
  ScrollTo(XPos, YPos);
  if (Window && Window->HWindow && LineStepsFromClient) {
    const TRect r = Window->GetClientRect();
    XLine = (std::max)(1L, long(r.Width() / 10));
    YLine = (std::max)(1L, long(r.Height() / 10));
  }
}

void TProfiScroller::SetBarRange() {
  if (!Window || !Window->HWindow) return;
  auto set = [&](int bar, long range, double factor) {
    const int wanted = factor == 1.0 ? int(range) : int(kBarSteps);
    int lo = 0, hi = 0;
    Window->GetScrollRange(bar, lo, hi);
    if (lo != 0 || hi != wanted) Window->SetScrollRange(bar, 0, wanted, true);
  };
  if (HasHSBar) set(SB_HORZ, XRange, XFactor);
  if (HasVSBar) set(SB_VERT, YRange, YFactor);
}

void TProfiScroller::ScrollTo(long x, long y) {
  const long newX = Clamp(x, 0, XRange), newY = Clamp(y, 0, YRange);
  if (newX == XPos && newY == YPos) return;
  XPos = newX;
  YPos = newY;
  if (!Window || !Window->HWindow) return;
  Window->Invalidate(Erase != 0);
  if (Redraw) Window->UpdateWindow();
  auto thumb = [&](int bar, long pos, double factor) {
    const int t = factor == 1.0 ? int(pos) : int(double(pos) / factor);
    if (Window->GetScrollPos(bar) != t) Window->SetScrollPos(bar, t, true);
  };
  if (HasHSBar) thumb(SB_HORZ, XPos, XFactor);
  if (HasVSBar) thumb(SB_VERT, YPos, YFactor);
}

long TProfiScroller::Position(double factor, int thumb) const {
  return factor == 1.0 ? long(thumb) : long(double(thumb) * factor);
}

void TProfiScroller::Scroll(bool horizontal, uint code, int thumbPos) {
  const long pos = horizontal ? XPos : YPos;
  const long line = horizontal ? XLine : YLine, page = horizontal ? XPage : YPage;
  const long range = horizontal ? XRange : YRange;
  long to;
  switch (code) {
    case SB_LINEUP: to = pos - line; break;
    case SB_LINEDOWN: to = pos + line; break;
    case SB_PAGEUP: to = pos - page; break;
    case SB_PAGEDOWN: to = pos + page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: to = Position(horizontal ? XFactor : YFactor, thumbPos); break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = range; break;
    default: return;
  }
  if (horizontal)
    ScrollTo(to, YPos);
  else
    ScrollTo(XPos, to);
}

void TProfiScroller::HScroll(uint code, int thumbPos) { Scroll(true, code, thumbPos); }
void TProfiScroller::VScroll(uint code, int thumbPos) { Scroll(false, code, thumbPos); }

void TProfiScroller::AutoScroll() {
  if (!AutoMode || !Window || !Window->HWindow) return;
  TPoint p;
  ::GetCursorPos(&p);
  Window->ScreenToClient(p);
  const TRect r = Window->GetClientRect();
  long dx = 0, dy = 0;
  if (p.y < 0)
    dy = AutoStep(p.y, YLine, YPage, true);
  else if (p.y > r.bottom)
    dy = AutoStep(p.y - r.bottom, YLine, YPage, false);
  if (p.x < 1)
    dx = AutoStep(p.x, XLine, XPage, true);
  else if (p.x >= r.right)
    dx = AutoStep(p.x - r.right, XLine, XPage, false);
  ScrollTo(XPos + dx, YPos + dy);
}
