// _TScroller: the page window's scroller. Positions are clamped to the
// ranges; a move of a page or more in either direction repaints the whole
// window (unless AutoOrg asks to scroll always), a smaller one scrolls the
// window's contents and lets the uncovered part repaint.
#pragma once
#include "platform/owl/scroller.h"

class _TScroller : public TScroller {
public:
  _TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange);
  ~_TScroller() override;

  // Nothing without a window or window handle.
  void ScrollTo(long x, long y) override;
};
