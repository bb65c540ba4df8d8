#include "engine/objectborder.h"

#include "platform/owl/dc.h"
#include "platform/owl/uiborder.h"

namespace {

// The framework's border of a style; 6 and 7 (buttons) soft, 10 (the well)
// flat.
TUIBorder BorderOf(const TRect& frame, int style) {
  if (style < 0 || style > 10) style = 9;
  uint flags = 0;
  if (style == 6 || style == 7) flags = TUIBorder::Soft;
  if (style == 10) flags = TUIBorder::Mono;
  return TUIBorder(frame, static_cast<TUIBorder::TStyle>(style), flags);
}

}  // namespace

TSize BorderExtent(int style) {
  const int t = BorderOf(TRect(0, 0, 0, 0), style).Thickness();
  return TSize(t, t);
}

void DrawObjectBorder(TDC& dc, const TRect& rect, int style) {
  const TSize e = BorderExtent(style);
  if (e.cx == 0) return;
  BorderOf(rect.InflatedBy(e.cx, e.cy), style).Paint(dc);
}
