// The printouts on memory DCs (the layout in pixels) and on the default
// printer (cups-pdf: the PDF's pages, text and pixels), and the page
// set-up dialog driven by a timer.
#include "wintest.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "actions/printdlg.h"
#include "actions/printout.h"
#include "actions/tslprintout.h"
#include "platform/owl/dib.h"
#include "platform/owl/uiscript.h"
#include "printtest.h"

namespace {

using printtest::Near;
using printtest::TPdfWatch;

constexpr COLORREF kRed = RGB(0xC0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A packed DIB of one colour.
std::unique_ptr<TDib> SolidDib(int width, int height, COLORREF colour) {
  auto dib = std::make_unique<TDib>(width, height, 1u << 24);
  auto* bits = static_cast<uint8_t*>(dib->GetBits());
  const int pitch = dib->Pitch();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = bits + y * pitch + x * 3;
      p[0] = GetBValue(colour);
      p[1] = GetGValue(colour);
      p[2] = GetRValue(colour);
    }
  return dib;
}

// A memory DC over a white bitmap of the screen's size: a "printer" of the
// screen's resolution whose page is the screen.
class TMemoryPage {
public:
  TMemoryPage() {
    HDC screen = ::GetDC(nullptr);
    Width = ::GetDeviceCaps(screen, HORZRES);
    Height = ::GetDeviceCaps(screen, VERTRES);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = Width;
    bi.bmiHeader.biHeight = -Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    Bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&Bits), nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, Bitmap);
    std::fill(Bits, Bits + static_cast<size_t>(Width) * Height, 0xFFFFFFu);
    DC = std::make_unique<TPrintDC>(dc);
  }
  ~TMemoryPage() {
    DC.reset();
    ::DeleteObject(Bitmap);
  }
  COLORREF At(int x, int y) const {
    ::GdiFlush();
    const uint32_t p = Bits[static_cast<size_t>(y) * Width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The box of the non-white pixels within the rows [top, bottom).
  RECT Ink(int top, int bottom) const {
    RECT r{Width, Height, -1, -1};
    for (int y = std::max(top, 0); y < std::min(bottom, Height); ++y)
      for (int x = 0; x < Width; ++x)
        if (At(x, y) != kWhite) {
          r.left = std::min<LONG>(r.left, x);
          r.right = std::max<LONG>(r.right, x);
          r.top = std::min<LONG>(r.top, y);
          r.bottom = std::max<LONG>(r.bottom, y);
        }
    return r;
  }
  int Width = 0, Height = 0;
  std::unique_ptr<TPrintDC> DC;

private:
  HBITMAP Bitmap = nullptr;
  uint32_t* Bits = nullptr;
};

void PrintOnePage(TPrintout& printout, TMemoryPage& page) {
  printout.SetPrintParams(page.DC.get(), TSize(page.Width, page.Height));
  printout.BeginPrinting();
  TRect rect(0, 0, page.Width, page.Height);
  printout.PrintPage(1, rect, 0);
}

TEST(PrintOut, PictureFilledWithItsAspectCentredWithinTheMargins) {
  TMemoryPage page;
  const std::unique_ptr<TDib> picture = SolidDib(60, 30, kRed);
  TBmpPrintOut printout("Bild", picture->GetHandle());
  printout.Settings.PictureFlags = 0x1 | 0x4;
  printout.Settings.MarginLeft = printout.Settings.MarginRight = 10;
  printout.Settings.MarginTop = printout.Settings.MarginBottom = 10;
  PrintOnePage(printout, page);
  EXPECT_FALSE(printout.HasPage(2));
  const TPageLayout& l = printout.Layout();
  // A 2:1 picture on the screen's page is as wide as the area within the
  // margins and centred in its height.
  const double dpp = l.DotsPerPointX;
  const int left = static_cast<int>(l.MarginLeft * dpp), top = static_cast<int>(l.MarginTop * dpp);
  ASSERT_LT(l.PrintableWidth, 2 * l.PrintableHeight);
  EXPECT_TRUE(Near(page.At(page.Width / 2, page.Height / 2), kRed));
  EXPECT_EQ(page.At(left / 2, page.Height / 2), kWhite) << "the left margin";
  EXPECT_EQ(page.At(page.Width / 2, top + 5), kWhite) << "above the picture";
  const RECT ink = page.Ink(0, page.Height);
  EXPECT_NEAR(ink.left, left, 2);
  EXPECT_NEAR(ink.right - ink.left + 1, l.PrintableWidth * dpp, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (l.MarginTop + l.PrintableHeight / 2) * l.DotsPerPointY, 3);
  EXPECT_NEAR(ink.right - ink.left + 1, 2 * (ink.bottom - ink.top + 1), 4) << "the aspect kept";
}

TEST(PrintOut, FixedSizeLargerThanThePageScaledInProportion) {
  TMemoryPage page;
  const std::unique_ptr<TDib> picture = SolidDib(10, 10, kRed);
  TBmpPrintOut printout("Bild", picture->GetHandle());
  printout.Settings.PictureFlags = 0x2;
  printout.Settings.TargetWidth = 4000;
  printout.Settings.TargetHeight = 1000;
  PrintOnePage(printout, page);
  const RECT ink = page.Ink(0, page.Height);
  EXPECT_NEAR(ink.right - ink.left + 1, printout.Layout().PrintableWidth * printout.Layout().DotsPerPointX, 3)
      << "as wide as the page";
  EXPECT_NEAR((ink.right - ink.left + 1) / 4.0, ink.bottom - ink.top + 1, 3) << "4:1 as entered";
}

TEST(PrintOut, TitleAndPageNumberOnlyWhereTheirMarginsHoldThem) {
  struct Case {
    const char* what;
    double margin;  // mm, all four
    bool inked;
  };
  const Case cases[] = {{"margins of 20 mm hold a 10-point line", 20, true},
                        {"margins of 2 mm do not: left out", 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMemoryPage page;
    TBmpPrintOut printout("Bild", nullptr);
    TBasePrintOutInfo& s = printout.Settings;
    s.ShowTitle = s.ShowPageNumber = 1;
    s.Title = "Titelzeile";
    s.MarginLeft = s.MarginTop = s.MarginRight = s.MarginBottom = c.margin;
    PrintOnePage(printout, page);
    const TPageLayout& l = printout.Layout();
    const int top = static_cast<int>(l.MarginTop * l.DotsPerPointY);
    const int bottom = static_cast<int>((l.PageHeight - l.MarginBottom) * l.DotsPerPointY);
    const RECT title = page.Ink(0, top + 1);
    const RECT number = page.Ink(bottom, page.Height);
    EXPECT_EQ(title.right >= 0, c.inked);
    EXPECT_EQ(number.right >= 0, c.inked);
    if (c.inked) {
      // Centred, both.
      const double centre = (l.MarginLeft + l.PrintableWidth / 2) * l.DotsPerPointX;
      EXPECT_NEAR((title.left + title.right) / 2.0, centre, 6);
      EXPECT_NEAR((number.left + number.right) / 2.0, centre, 6);
    }
    EXPECT_EQ(page.Ink(top + 1, bottom).right, -1) << "nothing between the margins";
  }
}

TEST(PrintOut, TextPagesFollowTheLineHeightAndCountUp) {
  TMemoryPage page;
  std::string text;
  for (int i = 1; i <= 150; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
  text += std::string(400, 'W');  // wider than the line
  TTextPrintOut printout("Text", text);
  printout.Settings.MarginTop = printout.Settings.MarginBottom = 10;
  printout.SetPrintParams(page.DC.get(), TSize(page.Width, page.Height));
  printout.BeginPrinting();
  int pages = 0;
  int lineHeight = 0;
  std::vector<size_t> starts;
  for (int p = 1; printout.HasPage(p) && p < 100; ++p) {
    EXPECT_EQ(printout.PageNumber(), p);
    TRect rect(0, 0, page.Width, page.Height);
    printout.PrintPage(p, rect, 0);
    ++pages;
    if (!lineHeight) {
      TEXTMETRICA tm;
      ::GetTextMetricsA(*page.DC, &tm);
      lineHeight = tm.tmHeight + tm.tmExternalLeading;
    }
  }
  const std::vector<std::string>& lines = printout.Lines();
  ASSERT_GT(lines.size(), 151u) << "the long word broken";
  EXPECT_EQ(lines[0], "Zeile 1");
  EXPECT_EQ(lines[149], "Zeile 150");
  std::string joined;
  for (size_t i = 150; i < lines.size(); ++i) joined += lines[i];
  EXPECT_EQ(joined, std::string(400, 'W'));
  size_t expected = 0;
  for (size_t i = 0; i < lines.size(); i = NextPageStart(i, lines.size(), lineHeight, printout.Layout().PrintableHeight))
    ++expected;
  EXPECT_GE(expected, 2u);
  EXPECT_EQ(static_cast<size_t>(pages), expected);
}

std::string WriteTextFile(const std::string& name, const std::string& text) {
  const std::string path = wintest::TempPath(name);
  wintest::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
  return path;
}

// The text block: lines at the caller's place, cut at the maximum width,
// the position handed back only when asked to advance.
TEST(TslPrintOut, TextBlocks) {
  const std::string path = WriteTextFile("tsl_print_block.txt", "");
  TMemoryPage page;
  TTSLPrintOut printout("Datei", nullptr, 0, path.c_str());
  printout.SetPrintParams(page.DC.get(), TSize(page.Width, page.Height));
  printout.BeginPrinting();
  const HFONT font = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
  const HGDIOBJ old = ::SelectObject(*page.DC, font);
  TEXTMETRICA tm{};
  ::GetTextMetricsA(*page.DC, &tm);
  SIZE w{};
  ::GetTextExtentPoint32A(*page.DC, "WWWWW", 5, &w);
  ::SelectObject(*page.DC, old);
  const int lh = tm.tmHeight + tm.tmExternalLeading;
  struct Case {
    const char* what;
    const char* text;
    int maxWidth;
    double available;
    bool advance;
    int lines;
    size_t chars;
    double y;  // handed back, from 100
  };
  const Case cases[] = {
      {"two lines, the closing feed adds none", "A\nB\n", 10000, 1000, true, 2, 2, 100.0 + 2 * lh},
      {"an empty block is one empty line", "", 10000, 1000, true, 1, 0, 100.0 + lh},
      {"controls become blanks, form feed a line", "a\tb\x0C" "c", 10000, 1000, true, 2, 4, 100.0 + 2 * lh},
      {"a line as wide as the maximum loses the rest", "WWWWWWWWWW", w.cx, 1000, true, 1, 4, 100.0 + lh},
      {"without advance it stops at the bottom, y stays", "1\n2\n3\n4\n5", 10000, 2.5 * lh, false, 2, 2, 100.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    printout.LinesDrawn = 0;
    printout.CharactersDrawn = 0;
    double x = 10, y = 100;
    printout.PrintTextBlock(x, y, font, c.text, c.maxWidth, c.available, c.available, c.advance, false);
    EXPECT_EQ(printout.LinesDrawn, c.lines);
    EXPECT_EQ(printout.CharactersDrawn, c.chars);
    EXPECT_DOUBLE_EQ(y, c.y);
    EXPECT_DOUBLE_EQ(x, 10);
  }
  ::DeleteObject(font);
  ::DeleteFileA(path.c_str());
}

TEST(TslPrintOut, FileLinesHeaderAndEdgeCases) {
  {
    SCOPED_TRACE("a 5000-character line is printed whole");
    const std::string path = WriteTextFile("tsl_print_long.txt", "Anfang\r\n" + std::string(5000, 'x') + "\r\nEnde");
    TMemoryPage page;
    TTSLPrintOut printout("Datei", nullptr, 0, path.c_str());
    PrintOnePage(printout, page);
    EXPECT_FALSE(printout.HasPage(2));
    EXPECT_EQ(printout.CharactersDrawn, 5000u + 6 + 4);
    EXPECT_EQ(printout.LinesDrawn, 2 + 5);
    ::DeleteFileA(path.c_str());
  }
  {
    SCOPED_TRACE("an empty file is one page");
    const std::string path = WriteTextFile("tsl_print_empty.txt", "");
    TMemoryPage page;
    TTSLPrintOut printout("Datei", nullptr, 0, path.c_str());
    PrintOnePage(printout, page);
    EXPECT_FALSE(printout.HasPage(2));
    EXPECT_EQ(printout.LinesDrawn, 0);
    ::DeleteFileA(path.c_str());
  }
  {
    SCOPED_TRACE("a missing file ends the job");
    TMemoryPage page;
    TTSLPrintOut printout("Datei", nullptr, 0, "C:\\gibt\\es\\nicht.txt");
    PrintOnePage(printout, page);
    EXPECT_FALSE(printout.HasPage(1));
  }
  // The header's ink lies right of, around or left of its x as aligned.
  const std::string path = WriteTextFile("tsl_print_header.txt", "Text\r\n");
  struct Case {
    int32_t align;
    const char* what;
  };
  for (const Case& c : {Case{kTslAlignLeft, "left"}, Case{kTslAlignRight, "right"}, Case{kTslAlignCentre, "centre"}}) {
    SCOPED_TRACE(c.what);
    TMemoryPage page;
    TTSLPrintOut printout("Datei", nullptr, 0, path.c_str());
    TTSLPrintSettings s;
    s.ShowHeader = 1;
    s.HeaderAlign = c.align;
    s.FontHeight = 20;
    std::strcpy(s.HeaderText, "Kopfzeile");
    printout.SetSettings(s);
    PrintOnePage(printout, page);
    const TTslTextArea& a = printout.Area();
    const double x = printout.HeaderX * a.DotsPerPointX;
    const RECT ink = page.Ink(0, static_cast<int>(22 * a.DotsPerPointY));
    ASSERT_GE(ink.right, 0);
    if (c.align == kTslAlignLeft) EXPECT_NEAR(ink.left, x, 4);
    if (c.align == kTslAlignRight) EXPECT_NEAR(ink.right, x, 4);
    if (c.align == kTslAlignCentre) EXPECT_NEAR((ink.left + ink.right) / 2.0, x, 4);
  }
  ::DeleteFileA(path.c_str());
}

// ---------------------------------------------------------------- the default printer

std::string UniqueTitle(const char* stem) { return stem + std::to_string(::GetCurrentProcessId()); }

TEST(PrintOnPrinter, PictureCentredWithWhiteMargins) {
  const std::string title = UniqueTitle("BildProbe");
  TPdfWatch watch(title);
  ASSERT_TRUE(watch.HasPrinter()) << "no test printer (scripts/printer.sh)";
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.UseDefaultPrinter();
  ui.AnswerPrint();
  const std::unique_ptr<TDib> picture = SolidDib(80, 40, kRed);
  TBmpPrintOut printout(title.c_str(), picture->GetHandle());
  printout.Settings.PictureFlags = 0x1 | 0x4;
  printout.Settings.MarginLeft = printout.Settings.MarginTop = 20;
  printout.Settings.MarginRight = printout.Settings.MarginBottom = 20;
  TPrinter printer;
  ASSERT_TRUE(printer.Print(nullptr, printout, true)) << printer.GetError();
  const printtest::TPdf pdf = watch.Wait();
  ASSERT_TRUE(pdf);
  EXPECT_EQ(pdf.Pages, 1);
  EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.5, 0.5), kRed)) << "the picture at the centre";
  EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.5, 0.3), kWhite)) << "above it: the aspect kept";
  EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.04, 0.5), kWhite)) << "the left margin";
  EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.12, 0.5), kRed)) << "the picture from the margin on";
}

TEST(PrintOnPrinter, TextOnPagesWithTitleAndNumbers) {
  const std::string title = UniqueTitle("TextProbe");
  TPdfWatch watch(title);
  ASSERT_TRUE(watch.HasPrinter()) << "no test printer (scripts/printer.sh)";
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.UseDefaultPrinter();
  ui.AnswerPrint();
  std::string text;
  for (int i = 1; i <= 120; ++i) text += "Zeile " + std::to_string(i) + " des Textes\r\n";
  TTextPrintOut printout(title.c_str(), text);
  TBasePrintOutInfo& s = printout.Settings;
  s.ShowTitle = s.ShowPageNumber = 1;
  s.Title = "Ueberschrift";
  s.MarginLeft = s.MarginTop = s.MarginRight = s.MarginBottom = 20;
  TPrinter printer;
  ASSERT_TRUE(printer.Print(nullptr, printout, true)) << printer.GetError();
  const printtest::TPdf pdf = watch.Wait();
  ASSERT_TRUE(pdf);
  EXPECT_GE(pdf.Pages, 2);
  EXPECT_EQ(printout.PageNumber(), pdf.Pages + 1);
  for (int p = 1; p <= pdf.Pages; ++p) EXPECT_NE(pdf.Text.find("-" + std::to_string(p) + "-"), std::string::npos) << p;
  EXPECT_EQ(pdf.Text.find("-" + std::to_string(pdf.Pages + 1) + "-"), std::string::npos);
  EXPECT_NE(pdf.Text.find("Ueberschrift"), std::string::npos);
  const size_t first = pdf.Text.find("Zeile 1 des"), last = pdf.Text.find("Zeile 120 des");
  ASSERT_NE(first, std::string::npos) << pdf.Text;
  ASSERT_NE(last, std::string::npos) << pdf.Text;
  EXPECT_LT(first, last);
}

// ---------------------------------------------------------------- the page set-up dialog

std::function<void(HWND)> DialogStep;
void CALLBACK OnDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dlg = ::GetActiveWindow();
  if (!dlg || !::GetDlgItem(dlg, kPrintTitleId)) return;
  ::KillTimer(nullptr, id);
  DialogStep(dlg);
}

int RunDialog(TBasePrintOutInfo& settings, const TDib* picture, TPrinter* printer,
              const std::function<void(HWND)>& step) {
  DialogStep = step;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, OnDialog);
  TBasePrintInfoDialog dialog(nullptr, settings, picture, printer);
  const int result = dialog.Execute();
  ::KillTimer(nullptr, timer);
  return result;
}

std::string ItemText(HWND dlg, int id) {
  char b[64] = {};
  ::GetDlgItemTextA(dlg, id, b, sizeof b);
  return b;
}

TEST(PrintDialog, SizesCoupledByThePicturesAspectAndAtLeastATenth) {
  const std::unique_ptr<TDib> picture = SolidDib(200, 100, kRed);
  TBasePrintOutInfo settings;
  settings.PictureFlags = 0x2 | 0x4;  // fixed, aspect
  std::string coupled, back, filtered;
  bool widthEnabled = false;
  const int result = RunDialog(settings, picture.get(), nullptr, [&](HWND dlg) {
    widthEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, kPrintWidthId));
    ::SetDlgItemTextA(dlg, kPrintWidthId, "50");
    coupled = ItemText(dlg, kPrintHeightId);
    ::SetDlgItemTextA(dlg, kPrintHeightId, "40");
    back = ItemText(dlg, kPrintWidthId);
    ::SetDlgItemTextA(dlg, kPrintMarginLeftId, "1a2.5");
    filtered = ItemText(dlg, kPrintMarginLeftId);
    ::SetDlgItemTextA(dlg, kPrintWidthId, "0");
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(widthEnabled);
  EXPECT_EQ(coupled, "25.00");
  EXPECT_EQ(back, "80.00");
  EXPECT_EQ(filtered, "12.5");
  EXPECT_EQ(settings.MarginLeft, 12.5);
  EXPECT_EQ(settings.TargetWidth, 0.1) << "the least size";
  EXPECT_EQ(settings.TargetHeight, 0.1) << "0 / 2 = 0, the least size";
  EXPECT_EQ(settings.PictureFlags, 0x2u | 0x4u);
}

TEST(PrintDialog, WithoutPictureOptionsTheDialogIsShorter) {
  struct Shown {
    int height = 0;
    bool fillVisible = false;
    bool okVisible = false;
  };
  auto open = [](uint32_t flags) {
    TBasePrintOutInfo settings;
    settings.PictureFlags = flags;
    Shown shown;
    RunDialog(settings, nullptr, nullptr, [&](HWND dlg) {
      RECT r{};
      ::GetWindowRect(dlg, &r);
      shown.height = r.bottom - r.top;
      shown.fillVisible = ::IsWindowVisible(::GetDlgItem(dlg, kPrintFillId));
      RECT ok{};
      ::GetWindowRect(::GetDlgItem(dlg, IDOK), &ok);
      shown.okVisible = ok.bottom <= r.bottom;
      ::PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    return shown;
  };
  const Shown full = open(5), text = open(5 | 0x8);
  EXPECT_TRUE(full.fillVisible);
  EXPECT_FALSE(text.fillVisible);
  EXPECT_LT(text.height, full.height - 50);
  EXPECT_TRUE(text.okVisible);
}

TEST(PrintDialog, CancelLeavesTheRecordAlsoAfterAFontChange) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  LOGFONTA font{};
  std::strcpy(font.lfFaceName, "Arial");
  font.lfHeight = -40;
  ui.AnswerFont(font, RGB(0, 0, 255), 300);
  ui.AnswerFont(font, RGB(0, 0, 255), 300);
  TBasePrintOutInfo settings;
  settings.Title = "Vorher";
  const TBasePrintOutInfo before = settings;
  EXPECT_EQ(RunDialog(settings, nullptr, nullptr,
                      [](HWND dlg) {
                        ::SendMessageA(dlg, WM_COMMAND, kPrintTitleFontId, 0);
                        ::SetDlgItemTextA(dlg, kPrintTitleId, "Nachher");
                        ::PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                      }),
            IDCANCEL);
  EXPECT_EQ(ui.Count(TUiRequest::FontChoice), 1u);
  EXPECT_STREQ(settings.Title.c_str(), "Vorher");
  EXPECT_STREQ(settings.TitleFontData.lfFaceName, before.TitleFontData.lfFaceName);
  EXPECT_EQ(settings.TitleFontData.PointSize, before.TitleFontData.PointSize);
  // OK takes the font.
  EXPECT_EQ(RunDialog(settings, nullptr, nullptr,
                      [](HWND dlg) {
                        ::SendMessageA(dlg, WM_COMMAND, kPrintTitleFontId, 0);
                        ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                      }),
            IDOK);
  EXPECT_STREQ(settings.TitleFontData.lfFaceName, "Arial");
  EXPECT_EQ(settings.TitleFontData.PointSize, 300);
  EXPECT_EQ(PrintFontLogFont(settings.TitleFontData).lfHeight, 30) << "the height in points";
}

TEST(PrintDialog, LandscapeTurnsThePrintersPaper) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.UseDefaultPrinter();
  TPrinter printer;
  ASSERT_EQ(printer.GetOrientation(), DMORIENT_PORTRAIT) << "no test printer (scripts/printer.sh)";
  TBasePrintOutInfo settings;
  EXPECT_EQ(RunDialog(settings, nullptr, &printer,
                      [](HWND dlg) {
                        ::SendDlgItemMessageA(dlg, kPrintPortraitId, BM_SETCHECK, BST_UNCHECKED, 0);
                        ::SendDlgItemMessageA(dlg, kPrintLandscapeId, BM_SETCHECK, BST_CHECKED, 0);
                        ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                      }),
            IDOK);
  EXPECT_EQ(settings.Landscape, 1);
  EXPECT_EQ(printer.GetOrientation(), DMORIENT_LANDSCAPE);
}

}  // namespace
