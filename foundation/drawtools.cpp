#include "foundation/drawtools.h"

#include <cstring>
#include <vector>

#include "foundation/fileutil.h"
#include "platform/owl/file.h"
#include "platform/owl/printer.h"

void FillRectWithBrush(TDC& dc, int left, int top, int right, int bottom, const TBrush& brush) {
  dc.FillRect(TRect(left, top, right, bottom), brush);
}

bool DrawRectOutline(TDC& dc, const TRect& r) {
  dc.MoveTo(r.left, r.top);
  dc.LineTo(r.right - 1, r.top);
  dc.LineTo(r.right - 1, r.bottom - 1);
  dc.LineTo(r.left, r.bottom - 1);
  dc.LineTo(r.left, r.top);
  return true;
}

void FillFrame(TDC& dc, const TRect& r, int x, int y, TColor colour) {
  TBrush brush(colour);
  dc.FillRect(TRect(r.left, r.top, r.right - x, r.top + y), brush);
  dc.FillRect(TRect(r.right - x, r.top, r.right, r.bottom - y), brush);
  dc.FillRect(TRect(r.left + x, r.bottom - y, r.right, r.bottom), brush);
  dc.FillRect(TRect(r.left, r.top + y, r.left + x, r.bottom), brush);
}

namespace {

// Light and dark bevel colours that stay visible against the face.
void BevelColours(const TDC& dc, TColor face, COLORREF& light, COLORREF& dark) {
  light = TColor::White;
  dark = TColor::Gray;
  const COLORREF nearest = dc.GetNearestColor(face);
  if (nearest == static_cast<COLORREF>(TColor::White)) light = TColor::LtGray;
  if (nearest == static_cast<COLORREF>(TColor::Gray)) dark = TColor::Black;
}

// Edges of a rectangle given by its outermost pixel lines.
void TopLeftEdge(TDC& dc, int l, int t, int r, int b) {
  dc.MoveTo(l, b);
  dc.LineTo(l, t);
  dc.LineTo(r, t);
}
void BottomRightEdge(TDC& dc, int l, int t, int r, int b) {
  dc.MoveTo(l, b);
  dc.LineTo(r, b);
  dc.LineTo(r, t);
}

// Selects a pen for its lifetime and puts the previous one back.
class TPenScope {
public:
  TPenScope(TDC& dc, COLORREF colour) : Dc(dc), Pen(TColor(colour), 1, PS_SOLID) {
    Old = ::SelectObject(dc, Pen);
  }
  ~TPenScope() { ::SelectObject(Dc, Old); }
  TPenScope(const TPenScope&) = delete;
  TPenScope& operator=(const TPenScope&) = delete;

private:
  TDC& Dc;
  TPen Pen;
  HGDIOBJ Old;
};

}  // namespace

void Draw3DEdge(TDC& dc, const TRect& rect, TColor face, bool raised) {
  COLORREF light, dark;
  BevelColours(dc, face, light, dark);
  const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
  {
    TPenScope pen(dc, raised ? light : dark);
    TopLeftEdge(dc, l, t, r, b);
  }
  {
    TPenScope pen(dc, raised ? dark : light);
    BottomRightEdge(dc, l, t, r, b);
  }
  TBrush brush(face);
  dc.FillRect(TRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1), brush);
}

void Draw3DEdgeFramed(TDC& dc, const TRect& rect, int tx, int ty, TColor face, bool fill, bool raised) {
  COLORREF light, dark;
  BevelColours(dc, face, light, dark);
  const COLORREF first = raised ? light : dark;
  const COLORREF second = raised ? dark : light;
  // Outer and inner bevels by their pixel lines.
  const int ol = rect.left, ot = rect.top, orr = rect.right - 1, ob = rect.bottom - 1;
  const int il = rect.left + tx + 1, it = rect.top + ty + 1, ir = rect.right - tx - 2, ib = rect.bottom - ty - 2;
  {
    TPenScope pen(dc, first);
    TopLeftEdge(dc, ol, ot, orr, ob);
    BottomRightEdge(dc, il, it, ir, ib);
  }
  {
    TPenScope pen(dc, second);
    TopLeftEdge(dc, il, it, ir, ib);
    BottomRightEdge(dc, ol, ot, orr, ob);
  }
  FillFrame(dc, TRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1), tx, ty, face);
  if (fill) {
    TBrush brush(face);
    dc.FillRect(TRect(il + 1, it + 1, ir, ib), brush);
  }
}

bool ApplyContourRegion(const char* fileName, HWND window) {
  if (!fileName || !*fileName || !window || !FileExists(fileName)) return false;
  std::vector<ContourPoint> points;
  {
    TFile file;
    if (!file.Open(fileName)) return false;
    if (ReadContour(file, points) != ContourResult::Ok) return false;
  }
  std::vector<POINT> poly(points.size());
  for (size_t i = 0; i < points.size(); ++i) poly[i] = {points[i].x, points[i].y};
  HRGN region = ::CreatePolygonRgn(poly.data(), static_cast<int>(poly.size()), WINDING);
  if (!region) return false;
  // The window system owns the region once it is set.
  if (!::SetWindowRgn(window, region, TRUE)) {
    ::DeleteObject(region);
    return false;
  }
  return true;
}

TPrinter& GetSharedPrinter() {
  static TPrinter printer;
  return printer;
}

void InitChooseFontData(TChooseFontDialog::TData& data, int size, bool trueTypeOnly, const char* faceName) {
  constexpr DWORD kFlags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS | CF_FORCEFONTEXIST;
  data.Flags = trueTypeOnly ? kFlags | CF_TTONLY : kFlags;
  data.DC = nullptr;
  std::memset(&data.LogFont, 0, sizeof data.LogFont);
  data.LogFont.lfHeight = size;
  if (trueTypeOnly) data.LogFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  const char* face = faceName ? faceName : "Arial";
  std::strncpy(data.LogFont.lfFaceName, face, LF_FACESIZE - 1);
  data.LogFont.lfFaceName[LF_FACESIZE - 1] = 0;
  data.PointSize = size * 10;
  data.Color = TColor::Black;
  data.Style = nullptr;
  data.FontType = SCREEN_FONTTYPE | PRINTER_FONTTYPE;
  data.SizeMin = 0;
  data.SizeMax = 0;
}

TFont* CreateFontFromData(TChooseFontDialog::TData& data) {
  data.LogFont.lfQuality = static_cast<BYTE>((data.LogFont.lfQuality & 0xFC) | ANTIALIASED_QUALITY);
  return new TFont(data.LogFont);
}
