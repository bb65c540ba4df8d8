#include "foundation/pagescroller.h"

#include <algorithm>
#include <cstdlib>

#include "platform/owl/window.h"

_TScroller::_TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange)
    : TScroller(window, xUnit, yUnit, xRange, yRange) {}

_TScroller::~_TScroller() = default;

void _TScroller::ScrollTo(long x, long y) {
  if (!Window || !Window->HWindow) return;
  const long newX = std::clamp(x, 0L, XRange);
  const long newY = std::clamp(y, 0L, YRange);
  if (newX == XPos && newY == YPos) return;
  const long dx = XPos - newX;
  const long dy = YPos - newY;
  if (!AutoOrg && (std::labs(dx) >= XPage || std::labs(dy) >= YPage))
    ::InvalidateRect(Window->HWindow, nullptr, FALSE);
  else
    ::ScrollWindowEx(Window->HWindow, static_cast<int>(dx * XUnit), static_cast<int>(dy * YUnit), nullptr, nullptr,
                     nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  XPos = newX;
  YPos = newY;
  // The bars follow the position, as they do for every scroller.
  if (HasHSBar && dx) Window->SetScrollPos(SB_HORZ, XScrollValue(XPos), true);
  if (HasVSBar && dy) Window->SetScrollPos(SB_VERT, YScrollValue(YPos), true);
  Window->UpdateWindow();
}
