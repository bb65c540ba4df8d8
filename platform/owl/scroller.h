// TScroller: scrolls a window's contents in units (pixels per step). Positions
// and ranges are in units; scroll bars show at most 32767 steps, larger
// ranges are mapped onto them.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/defs.h"
#include "platform/owl/geometry.h"

class TWindow;
class TDC;

class TScroller {
public:
  TScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange);
  virtual ~TScroller() = default;
  TScroller(const TScroller&) = delete;
  TScroller& operator=(const TScroller&) = delete;

  virtual void SetWindow(TWindow* window);
  virtual void SetUnits(int xUnit, int yUnit);
  // Page steps from the window's client size (in units, at least 1).
  virtual void SetPageSize();
  // Scroll bar ranges and thumbs from the scroller's.
  virtual void SetSBarRange();
  // New ranges; the position is clamped into them.
  virtual void SetRange(long xRange, long yRange);
  // Moves to the position, clamped to 0..range: the window's contents are
  // scrolled, or repainted whole when the move is a page or more and AutoOrg
  // is off.
  virtual void ScrollTo(long x, long y);
  void ScrollBy(long dx, long dy) { ScrollTo(XPos + dx, YPos + dy); }
  // WM_HSCROLL / WM_VSCROLL of the window's own scroll bars.
  virtual void HScroll(uint scrollCode, int thumbPos);
  virtual void VScroll(uint scrollCode, int thumbPos);
  // In auto mode, scrolls toward the mouse when it is outside the client
  // area (while dragging).
  virtual void AutoScroll();
  // Paint support: with AutoOrg, moves the DC's origin so that painting can
  // use scrolled coordinates, and the rectangle with it.
  virtual void BeginView(TDC& dc, TRect& rect);
  virtual void EndView();
  // Whether a rectangle in units is at least partly visible.
  virtual bool IsVisibleRect(long x, long y, int xExt, int yExt) const;

  bool IsAutoMode() const { return AutoMode; }
  // The scroll bar's thumb for a position and the position for a thumb.
  int XScrollValue(long rangeUnit) const;
  int YScrollValue(long rangeUnit) const;
  long XRangeValue(int barUnit) const;
  long YRangeValue(int barUnit) const;

  TWindow* Window;
  long XPos = 0;
  long YPos = 0;
  long XRange;
  long YRange;
  int XUnit;
  int YUnit;
  long XLine = 1;
  long YLine = 1;
  long XPage = 1;
  long YPage = 1;
  bool AutoMode = true;
  bool TrackMode = true;
  // Always scroll the window contents, however far the move.
  bool AutoOrg = true;
  bool HasHSBar = false;
  bool HasVSBar = false;
};
