#include "platform/owl/uihandle.h"

#include "platform/owl/dc.h"

void TUIHandle::HandleRects(TRect (&out)[8]) const {
  const int w = Thickness.cx > 0 ? Thickness.cx : 1, h = Thickness.cy > 0 ? Thickness.cy : 1;
  const int xs[3] = {Frame.left - w, (Frame.left + Frame.right - w) / 2, Frame.right};
  const int ys[3] = {Frame.top - h, (Frame.top + Frame.bottom - h) / 2, Frame.bottom};
  int n = 0;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      if (row != 1 || col != 1) out[n++] = TRect(xs[col], ys[row], xs[col] + w, ys[row] + h);
}

void TUIHandle::Paint(TDC& dc) const {
  TRect r[8];
  HandleRects(r);
  for (const TRect& h : r) dc.PatBlt(h, DSTINVERT);
}
