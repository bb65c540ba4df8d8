#include "platform/owl/uiborder.h"

#include "platform/owl/gdiobjec.h"

int TUIBorder::Thickness() const {
  switch (Style) {
    case None:
      return 0;
    case Plain:
    case Raised:
    case Recessed:
      return 1;
    default:
      return 2;
  }
}

TRect TUIBorder::GetClientRect() const {
  const int t = Thickness();
  TRect r = Frame.InflatedBy(-t, -t);
  if (r.Width() < 0) r.right = r.left;
  if (r.Height() < 0) r.bottom = r.top;
  return r;
}

void TUIBorder::Paint(TDC& dc) const {
  TRect r = Frame;
  UINT edge = 0;
  UINT flags = BF_RECT | ((Flags & Soft) ? BF_SOFT : 0) | ((Flags & Mono) ? BF_MONO : 0);
  switch (Style) {
    case None:
      return;
    case Plain: {
      TBrush frame(TColor::Sys(COLOR_WINDOWFRAME));
      dc.FrameRect(r, frame);
      return;
    }
    case Raised: edge = BDR_RAISEDINNER; break;
    case Recessed: edge = BDR_SUNKENOUTER; break;
    case Embossed: edge = EDGE_BUMP; break;
    case Grooved: edge = EDGE_ETCHED; break;
    case ButtonUp: edge = EDGE_RAISED; break;
    case ButtonDn: edge = EDGE_SUNKEN; break;
    case WndRaised: edge = EDGE_RAISED; break;
    case WndRecessed: edge = EDGE_SUNKEN; break;
    case WellSet: edge = EDGE_SUNKEN | BDR_SUNKENINNER; break;
  }
  ::DrawEdge(dc, &r, edge, flags);
}
