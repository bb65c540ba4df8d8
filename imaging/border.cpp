#include "imaging/border.h"

#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/uiborder.h"

namespace {

constexpr int kPlainStyle = 1;
constexpr int kOutOfRangeStyle = 9;

TUIBorder::TStyle StyleOf(int style) {
  return static_cast<TUIBorder::TStyle>(style < 0 || style > 10 ? kOutOfRangeStyle : style);
}

uint FlagsOf(TUIBorder::TStyle style) {
  if (style == TUIBorder::ButtonUp || style == TUIBorder::ButtonDn) return TUIBorder::Soft;
  if (style == TUIBorder::WellSet) return TUIBorder::Mono;
  return 0;
}

// The border's thickness across both sides, measured on a 4 × 4 painter.
TSize Thickness(TUIBorder::TStyle style) {
  const TUIBorder probe(TRect(0, 0, 4, 4), style, FlagsOf(style));
  const TRect bounds = probe.GetBoundingRect(), client = probe.GetClientRect();
  return TSize(bounds.Width() - client.Width(), bounds.Height() - client.Height());
}

TRect Outer(const TRect& r, int style) {
  if (style == kPlainStyle) return r.InflatedBy(1, 1);
  const TSize t = Thickness(StyleOf(style));
  return r.InflatedBy(t.cx / 2, t.cy / 2);
}

}  // namespace

void GetBorderOuterRect(const TRect& r, int style, TRect& out) { out = Outer(r, style); }

void DrawBorder(TDC& dc, const TRect& r, int style, TRect* out, uint8_t measureOnly) {
  const TRect outer = Outer(r, style);
  if (out) *out = outer;
  if (measureOnly) return;
  if (style == kPlainStyle) {
    TBrush black(TColor::Black);
    dc.FrameRect(outer, black);
    return;
  }
  const TUIBorder::TStyle s = StyleOf(style);
  TUIBorder(outer, s, FlagsOf(s)).Paint(dc);
}
