#include "foundation/drawtools.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "foundation/fileutil.h"
#include "foundation/orthopal.h"
#include "foundation/sysinfo.h"
#include "imaging/halftone.h"
#include "imaging/picload.h"
#include "platform/owl/file.h"
#include "platform/owl/printer.h"

namespace {

std::atomic<TPicturePaletteQuery> PaletteQuery{nullptr};

// The shared halftone palettes of the two drawing calls, made on first use
// and kept for the run.
TPalette& HalftoneFor(std::unique_ptr<TPalette>& slot) {
  if (!slot) slot.reset(MakeHalftonePalette());
  return *slot;
}
std::unique_ptr<TPalette> RectHalftone;
std::unique_ptr<TPalette> AreaHalftone;

bool IsPaletteDisplay() { return SystemInfo().ColorBits <= 8; }

bool HasColourTable(const TDib& dib) { return dib.NumColors() > 0 && dib.Usage() == DIB_RGB_COLORS; }

// The drawing common to both calls: the source rectangle of the picture at
// the destination, unstretched (with the destination's size) or stretched.
void DrawPicture(TDC& dc, const TDib& dib, HPALETTE palette, const TRect& src, const TRect& dst, bool stretch,
                 HDRAWDIB drawDib) {
  if (!drawDib) {
    HPALETTE old = nullptr;
    if (palette) {
      old = ::SelectPalette(dc, palette, FALSE);
      ::RealizePalette(dc);
    }
    if (!stretch) {
      dc.SetDIBitsToDevice(dst, src.TopLeft(), dib);
    } else {
      dc.SetStretchBltMode(COLORONCOLOR);
      if (dc.GetAttributeHDC() != dc.GetHDC()) ::SetStretchBltMode(dc.GetAttributeHDC(), COLORONCOLOR);
      dc.StretchDIBits(dst, src, dib, SRCCOPY);
    }
    if (old) ::SelectPalette(dc, old, FALSE);
    return;
  }
  // Only a palette display has anything to realise. Without a palette of
  // ours, DrawDib makes a halftone palette of its own, and Wine's DrawDib
  // drops it unfreed at the next picture of another format: one palette
  // lost for every such paint.
  if (palette) {
    ::DrawDibSetPalette(drawDib, palette);
    ::DrawDibRealize(drawDib, dc, TRUE);
  }
  auto* header = const_cast<BITMAPINFOHEADER*>(dib.GetInfoHeader());
  const int w = stretch ? dst.Width() : src.Width();
  const int h = stretch ? dst.Height() : src.Height();
  ::DrawDibDraw(drawDib, dc, dst.left, dst.top, w, h, header, dib.GetBits(), src.left, src.top, src.Width(),
                src.Height(), 0);  // not DDF_SAME_HDC: each paint brings a new (off-screen) DC
}

}  // namespace

TPicturePaletteQuery SetPicturePaletteQuery(TPicturePaletteQuery query) { return PaletteQuery.exchange(query); }

bool DrawDibToRect(TDC& dc, const TDib* dib, TDibDrawOptions& options) {
  if (!dib) return false;
  TPalette& halftone = HalftoneFor(RectHalftone);
  std::unique_ptr<TPalette> own;
  HPALETTE palette = nullptr;
  if (IsPaletteDisplay()) {
    palette = halftone;
    if (options.UseOwnPalette && HasColourTable(*dib)) {
      own = std::make_unique<TPalette>(*dib);
      if (own->IsOK()) palette = *own;
    }
  }
  if (options.Fit && options.Stretch) {
    TRect& d = options.Dest;
    int32_t fw = 0, fh = 0;
    if (FitSizeIntoBox(dib->Width(), dib->Height(), d.Width(), d.Height(), fw, fh)) {
      const int x = d.left + AlignOffset(options.HAlign, d.Width(), fw);
      const int y = d.top + AlignOffset(options.VAlign, d.Height(), fh);
      d = TRect(x, y, x + fw, y + fh);
    }
  }
  DrawPicture(dc, *dib, palette, options.Source, options.Dest, options.Stretch != 0, options.DrawDib);
  return true;
}

bool DrawDibArea(TDC& dc, const TDib* dib, int srcLeft, int srcTop, int srcRight, int srcBottom, int dstLeft,
                 int dstTop, int dstRight, int dstBottom, bool stretch, HDRAWDIB drawDib) {
  if (!dib) return false;
  TPalette& halftone = HalftoneFor(AreaHalftone);
  std::unique_ptr<TOrthoPal> own;
  HPALETTE palette = nullptr;
  if (IsPaletteDisplay()) {
    palette = halftone;
    const TPicturePaletteQuery query = PaletteQuery.load();
    if (query && query() == 1 && HasColourTable(*dib)) {
      own = std::make_unique<TOrthoPal>(*dib);
      if (own->IsOK()) palette = *own;
    }
  }
  DrawPicture(dc, *dib, palette, TRect(srcLeft, srcTop, srcRight, srcBottom),
              TRect(dstLeft, dstTop, dstRight, dstBottom), stretch, drawDib);
  return true;
}

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

TDib* LoadPictureDib(const char* fileName) {
  if (!fileName || !*fileName || !FileExists(fileName)) return nullptr;
  auto* dib = new TDib(fileName);
  if (!dib->IsOK() || !dib->GetInfoHeader()) {
    delete dib;
    return nullptr;
  }
  return dib;
}

TDib* LoadPictureDibPcd(const char* fileName, int16_t resolution, int16_t searchMode) {
  const int16_t oldResolution = PcdResolution, oldSearch = PcdSearchMode;
  PcdResolution = resolution;
  PcdSearchMode = searchMode;
  TDib* dib = LoadPictureDib(fileName);
  PcdResolution = oldResolution;
  PcdSearchMode = oldSearch;
  return dib;
}

TPrinter& GetSharedPrinter() {
  static TPrinter printer;
  return printer;
}

void InitChooseFontData(TChooseFontDialog::TData& data, int size, bool trueTypeOnly, const char* faceName) {
  data.Flags = trueTypeOnly ? 0x50103 : 0x10103;
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
  data.FontType = 0x6000;
  data.SizeMin = 0;
  data.SizeMax = 0;
}

TFont* CreateFontFromData(TChooseFontDialog::TData& data) {
  data.LogFont.lfQuality = static_cast<BYTE>((data.LogFont.lfQuality & 0xFC) | ANTIALIASED_QUALITY);
  return new TFont(data.LogFont);
}
