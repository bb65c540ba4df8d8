// TProfiScroller: a window scroller for views larger than a scroll bar's
// 16-bit range. Positions and ranges stay in full 32-bit units; each bar
// shows at most 32767 steps through an x and a y factor (range / 32767 from
// 32768 up, else 1.0). A line can be a tenth of the client area, and the
// view scrolls on its own while the mouse is dragged outside the window.
#pragma once
#include <cstdint>

#include "platform/owl/scroller.h"

class TProfiScroller : public TScroller {
public:
  TProfiScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange);

  void UpdateFactors();
  void SetRange(long xRange, long yRange) override;
  // Each present bar's range: the scroller's with a factor of 1.0, else
  // 32767; set only when it changes.
  void SetBarRange();
  void SetSBarRange() override { SetBarRange(); }
  void ScrollTo(long x, long y) override;
  void HScroll(uint scrollCode, int thumbPos) override;
  void VScroll(uint scrollCode, int thumbPos) override;
  void AutoScroll() override;

  double XFactor = 1.0;
  double YFactor = 1.0;
  // Line steps from the client area (a tenth of it) on SetRange.
  uint8_t LineStepsFromClient = 1;
  // Erase the background when a move invalidates the window.
  uint8_t Erase = 0;
  // Update the window at once after a move.
  uint8_t Redraw = 1;

private:
  long Position(double factor, int thumb) const;
  void Scroll(bool horizontal, uint scrollCode, int thumbPos);
};
