#include "foundation/gauge.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/owl/gdiobjec.h"

DEFINE_RESPONSE_TABLE1(TxGauge, TControl)
  EV_WM_PAINT,
  EV_WM_ERASEBKGND,
END_RESPONSE_TABLE;

TxGauge::TxGauge(TWindow* parent, const char* title, int id, int x, int y, int w, int h, bool isHorizontal,
                 int marginFactor, TModule* module)
    : TControl(parent, id, title, x, y, w, h, module),
      Margin(::GetSystemMetrics(SM_CXBORDER) * marginFactor),
      IsHorizontal(isHorizontal ? 1 : 0) {
  Attr.Style &= ~static_cast<uint32_t>(WS_TABSTOP);
  SetRange(0, 100);
}

void TxGauge::SetRange(int min, int max) {
  Min = min;
  Max = max > min ? max : min + 1;
}

void TxGauge::SetValue(int value) {
  const int v = std::clamp(value, Min, Max);
  if (v == Value) return;
  Value = v;
  if (HWindow) ::InvalidateRect(HWindow, nullptr, FALSE);
}

void TxGauge::SetLed(int spacing, int thickPercent) {
  LedSpacing = spacing;
  LedThick = thickPercent;
}

bool TxGauge::EvEraseBkgnd(HDC) { return true; }

void TxGauge::FormatCaption(const char* format, int value, char* out, int size) {
  if (!out || size <= 0) return;
  out[0] = 0;
  if (!format) return;
  // Only integer conversions may meet the integer argument; a format that
  // asks for anything else (a string, a second argument) is shown as text.
  int conversions = 0;
  bool safe = true;
  for (const char* p = format; *p && safe; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ 0#", *p)) ++p;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    if (*p == '.') {
      ++p;
      while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    }
    if (*p == 'l' || *p == 'h') ++p;
    if (!*p || !std::strchr("diuxXo", *p)) safe = false;
    else if (++conversions > 1) safe = false;
    if (!*p) break;
  }
  char text[1025];
  if (safe && std::strlen(format) < 1024) {
    ::wsprintfA(text, format, value);
  } else {
    std::strncpy(text, format, sizeof text - 1);
    text[sizeof text - 1] = 0;
  }
  std::strncpy(out, text, static_cast<size_t>(size) - 1);
  out[size - 1] = 0;
}

void TxGauge::PaintBorder(TDC& dc) {
  const TRect c = GetClientRect();
  const int w = c.Width(), h = c.Height();
  const int bx = ::GetSystemMetrics(SM_CXBORDER), by = ::GetSystemMetrics(SM_CYBORDER);
  {
    TBrush shadow(TColor(::GetSysColor(COLOR_BTNSHADOW)));
    HGDIOBJ old = ::SelectObject(dc, shadow);
    dc.PatBlt(0, 0, w, by);
    dc.PatBlt(0, by, bx, h - by);
    ::SelectObject(dc, old);
  }
  {
    TBrush highlight(TColor(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    HGDIOBJ old = ::SelectObject(dc, highlight);
    dc.PatBlt(bx, h - by, w - bx, by);
    dc.PatBlt(w - bx, by, bx, h - 2 * by);
    ::SelectObject(dc, old);
  }
  TBrush face(TColor(::GetSysColor(COLOR_BTNFACE)));
  TRect frame(bx, by, w - bx, h - by);
  for (int i = 0; i < Margin; ++i) {
    dc.FrameRect(frame, face);
    frame.Inflate(-1, -1);
  }
}

void TxGauge::EvPaint() {
  TPaintDC dc(HWindow);
  PaintGauge(dc);
}

void TxGauge::PaintGauge(TDC& dc) {
  PaintBorder(dc);
  const TRect c = GetClientRect();
  const int bx = ::GetSystemMetrics(SM_CXBORDER), by = ::GetSystemMetrics(SM_CYBORDER);
  const TRect r(bx + Margin, by + Margin, c.Width() - bx - Margin, c.Height() - by - Margin);
  TBrush bar{TColor(BarColor)};
  TBrush face(TColor(::GetSysColor(COLOR_BTNFACE)));
  const long long span = static_cast<long long>(Max) - Min;
  const long long done = static_cast<long long>(Value) - Min;
  const bool horizontal = IsHorizontal != 0;
  const int length = horizontal ? r.Width() : r.Height();
  if (span <= 0 || r.IsEmpty()) return;

  // A band of the bar from `from` to `to` along its direction, cut to r.
  auto band = [&](long long from, long long to) {
    TRect b = horizontal ? TRect(static_cast<int>(from), r.top, static_cast<int>(to), r.bottom)
                         : TRect(r.left, static_cast<int>(to), r.right, static_cast<int>(from));
    return b & r;
  };

  if (LedSpacing) {
    // At least one pixel per segment, so a fine spacing cannot stall the
    // loop.
    const long long pitch = std::max(1LL, static_cast<long long>(length) * LedSpacing / span);
    const long long lit = pitch * LedThick / 100;
    const long long dark = pitch - lit;
    const long long filled = done * length / span;
    if (horizontal) {
      long long pos = r.left;
      const long long end = r.left + filled;
      for (; pos < end && pos < r.right; pos += pitch) {
        dc.FillRect(band(pos, pos + lit), bar);
        dc.FillRect(band(pos + lit, pos + lit + dark), face);
      }
      if (pos < r.right) dc.FillRect(band(pos, r.right), face);
    } else {
      long long pos = r.bottom;
      const long long end = r.bottom - filled;
      for (; pos > end && pos > r.top; pos -= pitch) {
        dc.FillRect(band(pos, pos - lit), bar);
        dc.FillRect(band(pos - lit, pos - lit - dark), face);
      }
      if (pos > r.top) dc.FillRect(band(pos, r.top), face);
    }
    return;
  }

  const int fill = static_cast<int>(done * length / span);
  TRect full, empty;
  if (horizontal) {
    full = TRect(r.left, r.top, r.left + fill, r.bottom);
    empty = TRect(r.left + fill, r.top, r.right, r.bottom);
  } else {
    full = TRect(r.left, r.bottom - fill, r.right, r.bottom);
    empty = TRect(r.left, r.top, r.right, r.bottom - fill);
  }
  dc.FillRect(empty, face);
  dc.FillRect(full, bar);

  const char* format = GetCaption();
  if (!format || !*format) return;
  char text[1025];
  FormatCaption(format, Value, text, sizeof text);
  const int n = static_cast<int>(std::strlen(text));
  SIZE extent{0, 0};
  ::GetTextExtentPoint32A(dc, text, n, &extent);
  const int x = r.left + (extent.cx < r.Width() ? (r.Width() - extent.cx) / 2 : 0);
  const int y = r.top + (extent.cy < r.Height() ? (r.Height() - extent.cy) / 2 : 0);
  dc.SetBkMode(TRANSPARENT);
  const TColor oldText = dc.GetTextColor();
  dc.SetTextColor(TColor(::GetSysColor(COLOR_BTNFACE)));
  dc.ExtTextOut(x, y, ETO_CLIPPED, &full, text, n);
  dc.SetTextColor(TColor(BarColor));
  dc.ExtTextOut(x, y, ETO_CLIPPED, &empty, text, n);
  dc.SetTextColor(oldText);
}
