#include "platform/owl/scroller.h"

#include <algorithm>
#include <cstdlib>

#include "platform/owl/dc.h"
#include "platform/owl/window.h"

namespace {
const long kBarMax = 32767;

long Clamp(long v, long lo, long hi) { return v < lo ? lo : (v > hi ? hi : v); }
}  // namespace

TScroller::TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange)
    : Window(nullptr), XRange((std::max)(0L, xRange)), YRange((std::max)(0L, yRange)), XUnit((std::max)(1, xUnit)),
      YUnit((std::max)(1, yUnit)) {
  SetWindow(window);
}

void TScroller::SetWindow(TWindow* window) {
  Window = window;
  if (Window) {
    const uint32_t style = Window->GetStyle();
    HasHSBar = (style & WS_HSCROLL) != 0;
    HasVSBar = (style & WS_VSCROLL) != 0;
  }
}

void TScroller::SetUnits(int xUnit, int yUnit) {
  XUnit = (std::max)(1, xUnit);
  YUnit = (std::max)(1, yUnit);
  SetPageSize();
}

void TScroller::SetPageSize() {
  if (!Window || !Window->HWindow) return;
  const TRect r = Window->GetClientRect();
  XPage = (std::max)(1L, static_cast<long>(r.Width() / XUnit));
  YPage = (std::max)(1L, static_cast<long>(r.Height() / YUnit));
}

int TScroller::XScrollValue(long rangeUnit) const {
  if (XRange > kBarMax) return static_cast<int>((static_cast<long long>(rangeUnit) * kBarMax) / XRange);
  return static_cast<int>(rangeUnit);
}
int TScroller::YScrollValue(long rangeUnit) const {
  if (YRange > kBarMax) return static_cast<int>((static_cast<long long>(rangeUnit) * kBarMax) / YRange);
  return static_cast<int>(rangeUnit);
}
long TScroller::XRangeValue(int barUnit) const {
  if (XRange > kBarMax) return static_cast<long>((static_cast<long long>(barUnit) * XRange) / kBarMax);
  return barUnit;
}
long TScroller::YRangeValue(int barUnit) const {
  if (YRange > kBarMax) return static_cast<long>((static_cast<long long>(barUnit) * YRange) / kBarMax);
  return barUnit;
}

void TScroller::SetSBarRange() {
  if (!Window || !Window->HWindow) return;
  if (HasHSBar) {
    Window->SetScrollRange(SB_HORZ, 0, static_cast<int>((std::min)(XRange, kBarMax)), false);
    Window->SetScrollPos(SB_HORZ, XScrollValue(XPos), true);
  }
  if (HasVSBar) {
    Window->SetScrollRange(SB_VERT, 0, static_cast<int>((std::min)(YRange, kBarMax)), false);
    Window->SetScrollPos(SB_VERT, YScrollValue(YPos), true);
  }
}

void TScroller::SetRange(long xRange, long yRange) {
  XRange = (std::max)(0L, xRange);
  YRange = (std::max)(0L, yRange);
  SetSBarRange();
  ScrollTo(XPos, YPos);
}

void TScroller::ScrollTo(long x, long y) {
  const long newX = Clamp(x, 0, XRange);
  const long newY = Clamp(y, 0, YRange);
  const long dx = newX - XPos;
  const long dy = newY - YPos;
  if (!dx && !dy) return;
  if (!Window || !Window->HWindow) {
    XPos = newX;
    YPos = newY;
    return;
  }
  if (AutoOrg || (std::labs(dx) < XPage && std::labs(dy) < YPage))
    Window->ScrollWindow(static_cast<int>(-dx * XUnit), static_cast<int>(-dy * YUnit));
  else
    Window->Invalidate();
  XPos = newX;
  YPos = newY;
  if (HasHSBar && dx) Window->SetScrollPos(SB_HORZ, XScrollValue(XPos), true);
  if (HasVSBar && dy) Window->SetScrollPos(SB_VERT, YScrollValue(YPos), true);
  Window->UpdateWindow();
}

void TScroller::HScroll(uint code, int thumbPos) {
  switch (code) {
    case SB_LINEUP: ScrollBy(-XLine, 0); break;
    case SB_LINEDOWN: ScrollBy(XLine, 0); break;
    case SB_PAGEUP: ScrollBy(-XPage, 0); break;
    case SB_PAGEDOWN: ScrollBy(XPage, 0); break;
    case SB_TOP: ScrollTo(0, YPos); break;
    case SB_BOTTOM: ScrollTo(XRange, YPos); break;
    case SB_THUMBPOSITION: ScrollTo(XRangeValue(thumbPos), YPos); break;
    case SB_THUMBTRACK:
      if (TrackMode) ScrollTo(XRangeValue(thumbPos), YPos);
      break;
    default: break;
  }
}

void TScroller::VScroll(uint code, int thumbPos) {
  switch (code) {
    case SB_LINEUP: ScrollBy(0, -YLine); break;
    case SB_LINEDOWN: ScrollBy(0, YLine); break;
    case SB_PAGEUP: ScrollBy(0, -YPage); break;
    case SB_PAGEDOWN: ScrollBy(0, YPage); break;
    case SB_TOP: ScrollTo(XPos, 0); break;
    case SB_BOTTOM: ScrollTo(XPos, YRange); break;
    case SB_THUMBPOSITION: ScrollTo(XPos, YRangeValue(thumbPos)); break;
    case SB_THUMBTRACK:
      if (TrackMode) ScrollTo(XPos, YRangeValue(thumbPos));
      break;
    default: break;
  }
}

void TScroller::AutoScroll() {
  if (!AutoMode || !Window || !Window->HWindow) return;
  TPoint p;
  ::GetCursorPos(&p);
  Window->ScreenToClient(p);
  const TRect r = Window->GetClientRect();
  long dx = 0, dy = 0;
  if (p.y < 0) dy = -(std::min)(YPage, (std::max)(YLine, static_cast<long>(-p.y / 10) * YLine));
  else if (p.y > r.bottom) dy = (std::min)(YPage, (std::max)(YLine, static_cast<long>((p.y - r.bottom) / 10) * YLine));
  if (p.x < 0) dx = -(std::min)(XPage, (std::max)(XLine, static_cast<long>(-p.x / 10) * XLine));
  else if (p.x > r.right) dx = (std::min)(XPage, (std::max)(XLine, static_cast<long>((p.x - r.right) / 10) * XLine));
  if (dx || dy) ScrollBy(dx, dy);
}

void TScroller::BeginView(TDC& dc, TRect& rect) {
  if (!AutoOrg) return;
  const int ox = static_cast<int>(XPos * XUnit);
  const int oy = static_cast<int>(YPos * YUnit);
  dc.SetViewportOrg(TPoint(-ox, -oy));
  rect.Offset(ox, oy);
}

void TScroller::EndView() {}

bool TScroller::IsVisibleRect(long x, long y, int xExt, int yExt) const {
  return x + xExt > XPos && y + yExt > YPos && x < XPos + XPage + 1 && y < YPos + YPage + 1;
}
