// TNewScroller: a scroller whose page sizes are set by its window, not
// from the client size.
#pragma once
#include "platform/owl/scroller.h"

class TNewScroller : public TScroller {
public:
  TNewScroller(TWindow* window, int xUnit, int yUnit, long xRange, long yRange)
      : TScroller(window, xUnit, yUnit, xRange, yRange) {}
  void SetPageSize() override;
};
