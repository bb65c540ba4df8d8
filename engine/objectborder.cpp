#include "engine/objectborder.h"

#include "imaging/border.h"

TSize BorderExtent(int style) {
  TRect outer;
  GetBorderOuterRect(TRect(0, 0, 0, 0), style, outer);
  return TSize(-outer.left, -outer.top);
}

void DrawObjectBorder(TDC& dc, const TRect& rect, int style) { DrawBorder(dc, rect, style, nullptr, 0); }
