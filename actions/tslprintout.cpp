#include "actions/tslprintout.h"

#include <cstring>

#include "actions/printout.h"

namespace {
TPrinterMetrics MetricsOf(HDC dc) {
  TPrinterMetrics m;
  m.LogPixelsX = ::GetDeviceCaps(dc, LOGPIXELSX);
  m.LogPixelsY = ::GetDeviceCaps(dc, LOGPIXELSY);
  m.WidthMm = ::GetDeviceCaps(dc, HORZSIZE);
  m.HeightMm = ::GetDeviceCaps(dc, VERTSIZE);
  POINT offset{0, 0};
  const int query = GETPRINTINGOFFSET;
  if (::Escape(dc, QUERYESCSUPPORT, sizeof query, reinterpret_cast<const char*>(&query), nullptr) > 0 &&
      ::Escape(dc, GETPRINTINGOFFSET, 0, nullptr, &offset) > 0) {
    m.OffsetX = offset.x;
    m.OffsetY = offset.y;
  }
  return m;
}

UINT AnchorAlign(TTslAnchor anchor) {
  return anchor == TTslAnchor::Left ? TA_LEFT : anchor == TTslAnchor::Right ? TA_RIGHT : TA_CENTER;
}

// The file through Win32 ("C:\..." paths), part by part.
class TReadFile {
public:
  explicit TReadFile(const std::string& name)
      : Handle(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~TReadFile() {
    if (IsOpen()) ::CloseHandle(Handle);
  }
  TReadFile(const TReadFile&) = delete;
  TReadFile& operator=(const TReadFile&) = delete;
  bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }
  // Bytes read; 0 at the end or on an error.
  size_t Read(char* buffer, size_t size) {
    DWORD got = 0;
    if (!::ReadFile(Handle, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
    return got;
  }

private:
  HANDLE Handle;
};
}  // namespace

TTSLPrintOut::TTSLPrintOut(const char* title, TBookStruct* book, int source, const char* fileName)
    : TPrintout(title), Book(book), Source(source), FileName(fileName ? std::string(fileName).substr(0, 259) : "") {}

void TTSLPrintOut::SetSettings(const TTSLPrintSettings& settings) {
  Settings = settings;
  Settings.HeaderText[sizeof Settings.HeaderText - 1] = 0;
  Settings.FontFace[sizeof Settings.FontFace - 1] = 0;
  RecomputeTslTextArea(TextArea, Settings);
}

void TTSLPrintOut::SetHeaderText(const char* text) {
  std::memset(Settings.HeaderText, 0, sizeof Settings.HeaderText);
  if (text) std::strncpy(Settings.HeaderText, text, sizeof Settings.HeaderText - 1);
}

void TTSLPrintOut::SetPageNumber(int number) {
  PageNo = number;
  PageNumberText = "-" + std::to_string(number) + "-";
}

void TTSLPrintOut::SetPrintParams(TPrintDC* dc, TSize pageSize) {
  TPrintout::SetPrintParams(dc, pageSize);
  if (dc) TextArea = ComputeTslTextArea(MetricsOf(*dc), Settings);
}

void TTSLPrintOut::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = maxPage = selFromPage = selToPage = 0;
}

void TTSLPrintOut::BeginPrinting() {
  TPrintout::BeginPrinting();
  SetPageOrigin(0, 0);
  SetPageNumber(1);
}

void TTSLPrintOut::SetPageOrigin(double x, double y) {
  if (!DC) return;
  const HDC dc = *DC;
  const TPageMapping m = PageMappingTruncated(TextArea.DotsPerPointX, TextArea.DotsPerPointY, x, y);
  ::SetMapMode(dc, MM_ANISOTROPIC);
  ::SetViewportOrgEx(dc, m.ViewportOrgX, m.ViewportOrgY, nullptr);
  ::SetWindowOrgEx(dc, 0, 0, nullptr);
  ::MoveToEx(dc, 0, 0, nullptr);
  ::SetWindowExtEx(dc, m.WindowExtX, m.WindowExtY, nullptr);
  ::SetViewportExtEx(dc, kMappingExtent, kMappingExtent, nullptr);
}

void TTSLPrintOut::PrintHeaderAndPageNumber() {
  if (!Settings.ShowHeader && !Settings.ShowPageNumber) return;
  const HDC dc = *DC;
  const HFONT font = ::CreateFontA(Settings.FontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, Settings.FontFace);
  const HGDIOBJ old = ::SelectObject(dc, font);
  const UINT oldAlign = ::GetTextAlign(dc);
  TTslAnchor anchor = TTslAnchor::Centre;
  if (Settings.ShowHeader) {
    HeaderX = TslAlignedX(Settings.HeaderAlign, Settings, TextArea.PageWidth, anchor);
    ::SetTextAlign(dc, AnchorAlign(anchor) | TA_TOP);
    ::TextOutA(dc, HeaderX, 0, Settings.HeaderText, static_cast<int>(std::strlen(Settings.HeaderText)));
  }
  if (Settings.ShowPageNumber) {
    PageNumberX = TslAlignedX(Settings.PageNumberAlign, Settings, TextArea.PageWidth, anchor);
    ::SetTextAlign(dc, AnchorAlign(anchor) | TA_BOTTOM);
    ::TextOutA(dc, PageNumberX, TslPageNumberY(TextArea.PageHeight), PageNumberText.c_str(),
               static_cast<int>(PageNumberText.size()));
  }
  ::SetTextAlign(dc, oldAlign);
  ::SelectObject(dc, old);
  ::DeleteObject(font);
}

void TTSLPrintOut::NewPage() {
  DC->EndPage();
  DC->StartPage();
  SetPageOrigin(0, 0);
  PrintHeaderAndPageNumber();
  SetPageNumber(PageNo + 1);
}

void TTSLPrintOut::PrintTextBlock(double& x, double& y, HFONT font, const char* text, int maxLineWidth,
                                  double available, double availableNext, bool advance, bool newPage) {
  if (!DC) return;
  const HDC dc = *DC;
  HGDIOBJ old = ::SelectObject(dc, font);
  UINT oldAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP);
  std::string clean = text ? text : "";
  for (char& c : clean) {
    if (c == 0x08 || c == 0x0D || c == 0x09 || c == 0x0B) c = ' ';
    else if (c == 0x0C) c = '\n';
  }
  if (clean.empty()) clean = "\n";
  TEXTMETRICA tm;
  std::memset(&tm, 0, sizeof tm);
  ::GetTextMetricsA(dc, &tm);
  const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
  double top = y;  // the caller's y, from which the available height counts
  double at = y;
  auto nextPage = [&] {
    ::SetTextAlign(dc, oldAlign);
    ::SelectObject(dc, old);
    NewPage();
    SetPageOrigin(Settings.MarginLeft, Settings.MarginTop);
    old = ::SelectObject(dc, font);
    oldAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    at = top = y = 0;
    available = availableNext;
  };
  if (lineHeight > available && newPage) nextPage();
  std::string line;
  for (size_t i = 0; i < clean.size(); ++i) {
    const bool feed = clean[i] == '\n';
    if (!feed) line += clean[i];
    if (!feed && i + 1 < clean.size()) continue;
    // A line as wide as the maximum loses the character that reaches it:
    // the rest of the line is dropped, not wrapped.
    std::string shown = line;
    SIZE whole{};
    ::GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &whole);
    if (whole.cx >= maxLineWidth) {
      size_t n = 1;
      for (; n < line.size(); ++n) {
        SIZE part{};
        ::GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(n), &part);
        if (part.cx >= maxLineWidth) break;
      }
      shown = line.substr(0, n - 1);
    }
    ::TextOutA(dc, static_cast<int>(x), static_cast<int>(at), shown.c_str(), static_cast<int>(shown.size()));
    ++LinesDrawn;
    CharactersDrawn += shown.size();
    line.clear();
    at += lineHeight;
    if (at + lineHeight - top > available) {
      if (advance && newPage) {
        nextPage();
      } else {
        break;
      }
    }
  }
  if (advance) y = at;
  ::SetTextAlign(dc, oldAlign);
  ::SelectObject(dc, old);
}

void TTSLPrintOut::PrintPage(int, TRect&, uint) {
  LinesDrawn = 0;
  CharactersDrawn = 0;
  if (Source != 0) {
    Done = true;
    return;
  }
  TReadFile file(FileName);
  if (!file.IsOpen()) {
    Done = true;
    return;
  }
  SetPageOrigin(0, 0);
  PrintHeaderAndPageNumber();
  SetPageNumber(PageNo + 1);
  const HDC dc = *DC;
  // The body in the DC's own font: the header's is gone again.
  SelectBodyFont(dc);
  TEXTMETRICA tm;
  std::memset(&tm, 0, sizeof tm);
  ::GetTextMetricsA(dc, &tm);
  TTslLineFlow flow(TextArea.Height, tm.tmHeight + tm.tmExternalLeading);
  const int x = TextArea.Left - static_cast<int>(TextArea.OffsetX);
  auto draw = [&](const std::string& line) {
    if (flow.Next()) {
      NewPage();
      SelectBodyFont(dc);
    }
    const int y = TextArea.Top + flow.LineY() - static_cast<int>(TextArea.OffsetY);
    const UINT oldAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    ::TextOutA(dc, x, y, line.c_str(), static_cast<int>(line.size()));
    ::SetTextAlign(dc, oldAlign);
    ++LinesDrawn;
    CharactersDrawn += line.size();
  };
  TTslLineSplitter splitter;
  char buffer[4096];
  for (size_t got; (got = file.Read(buffer, sizeof buffer)) > 0;) splitter.Feed(buffer, got, draw);
  splitter.Finish(draw);
  Done = true;
}
