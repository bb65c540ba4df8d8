#include "actions/printout.h"

#include <algorithm>
#include <cstring>

namespace {
// Wider than any page in any font: a piece this long is never measured, so
// the 16-bit widths of the tabbed extent cannot wrap round.
constexpr size_t kLongestMeasured = 2000;

TPrinterMetrics MetricsOf(HDC dc) {
  TPrinterMetrics m;
  m.LogPixelsX = ::GetDeviceCaps(dc, LOGPIXELSX);
  m.LogPixelsY = ::GetDeviceCaps(dc, LOGPIXELSY);
  m.WidthMm = ::GetDeviceCaps(dc, HORZSIZE);
  m.HeightMm = ::GetDeviceCaps(dc, VERTSIZE);
  POINT offset{0, 0};
  const int query = GETPRINTINGOFFSET;
  // Memory and metafile DCs know no printing offset.
  if (::Escape(dc, QUERYESCSUPPORT, sizeof query, reinterpret_cast<const char*>(&query), nullptr) > 0 &&
      ::Escape(dc, GETPRINTINGOFFSET, 0, nullptr, &offset) > 0) {
    m.OffsetX = offset.x;
    m.OffsetY = offset.y;
  }
  return m;
}

// Draws `text` with its alignment at the current origin.
void DrawAligned(HDC dc, const std::string& text, int32_t align, double printableWidth) {
  const UINT mode = align == kAlignLeft ? TA_LEFT : align == kAlignRight ? TA_RIGHT : TA_CENTER;
  const UINT old = ::SetTextAlign(dc, mode | TA_TOP);
  ::TextOutA(dc, AlignedX(align, printableWidth), 0, text.c_str(), static_cast<int>(text.size()));
  ::SetTextAlign(dc, old);
}
}  // namespace

LOGFONTA PrintFontLogFont(const tsl::FontRecord& c) {
  LOGFONTA f;
  std::memset(&f, 0, sizeof f);
  f.lfHeight = c.PointSize / 10;
  f.lfWidth = c.lfWidth;
  f.lfEscapement = c.lfEscapement;
  f.lfOrientation = c.lfOrientation;
  f.lfWeight = c.lfWeight;
  f.lfItalic = c.lfItalic;
  f.lfUnderline = c.lfUnderline;
  f.lfStrikeOut = c.lfStrikeOut;
  f.lfCharSet = c.lfCharSet;
  f.lfOutPrecision = c.lfOutPrecision;
  f.lfClipPrecision = c.lfClipPrecision;
  f.lfQuality = c.lfQuality;
  f.lfPitchAndFamily = c.lfPitchAndFamily;
  std::memcpy(f.lfFaceName, c.lfFaceName, LF_FACESIZE - 1);
  return f;
}

void SelectBodyFont(HDC dc) { ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT)); }

void TPrintInfoFonts::Make(const TBasePrintOutInfo& s) {
  TitleFont = std::make_unique<TFont>(PrintFontLogFont(s.TitleFontData));
  PageNumberFont = std::make_unique<TFont>(PrintFontLogFont(s.PageNumberFontData));
}

// ---------------------------------------------------------------- TBasePrintOut

TBasePrintOut::TBasePrintOut(const char* title) : TPrintout(title) {}

void TBasePrintOut::SetPrintParams(TPrintDC* dc, TSize pageSize) {
  TPrintout::SetPrintParams(dc, pageSize);
  if (!dc) return;
  Page = ComputePageLayout(MetricsOf(*dc), Settings.MarginLeft, Settings.MarginTop, Settings.MarginRight,
                           Settings.MarginBottom);
}

void TBasePrintOut::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = maxPage = selFromPage = selToPage = 0;
}

void TBasePrintOut::BeginPrinting() {
  PageNo = 1;
  // The fonts follow the settings as the caller left them.
  Fonts.Make(Settings);
}

void TBasePrintOut::PrintPage(int, TRect&, uint) {
  BeginPage();
  Done = true;
}

void TBasePrintOut::SetPageOrigin(double x, double y) {
  const HDC dc = *DC;
  const TPageMapping m = PageMapping(Page.DotsPerPointX, Page.DotsPerPointY, x, y);
  ::SetMapMode(dc, MM_ANISOTROPIC);
  ::SetWindowExtEx(dc, m.WindowExtX, m.WindowExtY, nullptr);
  ::SetViewportExtEx(dc, kMappingExtent, kMappingExtent, nullptr);
  ::SetWindowOrgEx(dc, 0, 0, nullptr);
  ::SetViewportOrgEx(dc, m.ViewportOrgX, m.ViewportOrgY, nullptr);
  ::MoveToEx(dc, 0, 0, nullptr);
}

void TBasePrintOut::MoveOrigin(double x, double y) {
  const TPageMapping m = PageMapping(Page.DotsPerPointX, Page.DotsPerPointY, x, y);
  ::SetViewportOrgEx(*DC, m.ViewportOrgX, m.ViewportOrgY, nullptr);
  ::MoveToEx(*DC, 0, 0, nullptr);
}

void TBasePrintOut::BeginPage() {
  SetPageOrigin(0, 0);
  PrintTitleAndPageNumber();
  ++PageNo;
}

void TBasePrintOut::PrintTitleAndPageNumber() {
  if (!Settings.ShowTitle && !Settings.ShowPageNumber) return;
  if (!Fonts.Title()) Fonts.Make(Settings);
  const HDC dc = *DC;
  TEXTMETRICA tm;
  double x = 0, y = 0;
  if (Settings.ShowTitle) {
    const HGDIOBJ oldFont = ::SelectObject(dc, *Fonts.Title());
    const COLORREF oldColour = ::SetTextColor(dc, Settings.TitleFontData.Color);
    if (::GetTextMetricsA(dc, &tm) && TitleOrigin(Page, tm.tmHeight, x, y)) {
      MoveOrigin(x, y);
      DrawAligned(dc, Settings.Title.c_str(), Settings.TitleAlign, Page.PrintableWidth);
    }
    ::SetTextColor(dc, oldColour);
    ::SelectObject(dc, oldFont);
  }
  if (Settings.ShowPageNumber) {
    const HGDIOBJ oldFont = ::SelectObject(dc, *Fonts.PageNumber());
    const COLORREF oldColour = ::SetTextColor(dc, Settings.PageNumberFontData.Color);
    if (::GetTextMetricsA(dc, &tm) && PageNumberOrigin(Page, tm.tmHeight, x, y)) {
      MoveOrigin(x, y);
      DrawAligned(dc, PageNumberText(PageNo), Settings.PageNumberAlign, Page.PrintableWidth);
    }
    ::SetTextColor(dc, oldColour);
    ::SelectObject(dc, oldFont);
  }
}

// ---------------------------------------------------------------- TBmpPrintOut

TBmpPrintOut::TBmpPrintOut(const char* title, HGLOBAL dib) : TBasePrintOut(title) {
  if (dib) Picture = std::make_unique<TDib>(dib, NoAutoDelete);
  if (Picture && !Picture->IsOK()) Picture.reset();
}

void TBmpPrintOut::PrintPage(int, TRect&, uint) {
  if (Page.PrintableWidth < 0 || Page.PrintableHeight < 0) {
    Done = true;
    return;
  }
  BeginPage();
  if (!Picture) {
    Done = true;
    return;
  }
  MoveOrigin(Page.MarginLeft, Page.MarginTop);
  const int pw = Picture->Width(), ph = Picture->Height();
  LastBox = PlacePicture(Settings.PictureFlags, Settings.TargetWidth, Settings.TargetHeight, Page.PrintableWidth,
                         Page.PrintableHeight, pw, ph);
  const HDC dc = *DC;
  const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchDIBits(dc, LastBox.X, LastBox.Y, LastBox.Width, LastBox.Height, 0, 0, pw, ph, Picture->GetBits(),
                  Picture->GetInfo(), DIB_RGB_COLORS, SRCCOPY);
  ::SetStretchBltMode(dc, oldMode);
  Done = true;
}

// ---------------------------------------------------------------- TTextPrintOut

TTextPrintOut::TTextPrintOut(const char* title, const std::string& text) : TBasePrintOut(title), Text(text) {
  TabsAsBlanks = false;
}

void TTextPrintOut::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = 1;
  maxPage = 3;
  selFromPage = 1;
  selToPage = 3;
}

void TTextPrintOut::PrintPage(int, TRect&, uint) {
  if (Page.PrintableWidth < 0 || Page.PrintableHeight < 0) {
    Done = true;
    return;
  }
  BeginPage();
  MoveOrigin(Page.MarginLeft, Page.MarginTop);
  const HDC dc = *DC;
  SelectBodyFont(dc);
  if (!WrappedYet) {
    auto measure = [&](const char* p, size_t n) -> double {
      if (n > kLongestMeasured) return 1e12;
      if (TabsAsBlanks) {
        SIZE size{0, 0};
        ::GetTextExtentPoint32A(dc, p, static_cast<int>(n), &size);
        return size.cx;
      }
      return LOWORD(::GetTabbedTextExtentA(dc, p, static_cast<int>(n), TabStopCount, TabStops));
    };
    Wrapped = WrapText(Text, Page.PrintableWidth, measure, TabsAsBlanks);
    WrappedYet = true;
  }
  TEXTMETRICA tm;
  std::memset(&tm, 0, sizeof tm);
  ::GetTextMetricsA(dc, &tm);
  const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
  const size_t end = NextPageStart(NextLine, Wrapped.size(), lineHeight, Page.PrintableHeight);
  const UINT oldAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP);
  int y = 0;
  for (size_t i = NextLine; i < end; ++i) {
    const std::string& line = Wrapped[i];
    ::TabbedTextOutA(dc, 0, y, line.c_str(), static_cast<int>(line.size()), TabStopCount, TabStops, 0);
    y += lineHeight;
  }
  ::SetTextAlign(dc, oldAlign);
  NextLine = end;
  if (NextLine >= Wrapped.size()) Done = true;
}
