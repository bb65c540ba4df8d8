// The demo's "Drucken" page end to end: the real player prints on the
// default printer (cups-pdf), the test answers the page set-up dialog and
// Wine's print dialog, and reads the PDFs with poppler's tools.
#include "playerscreen.h"

#include <functional>
#include <string>
#include <vector>

#include "actions/printdlg.h"
#include "printtest.h"

namespace {

using printtest::Near;
using printtest::TPdf;
using printtest::TPdfWatch;

std::string UnixName(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Convert>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unix = convert ? convert(wide.c_str()) : nullptr;
  std::string out = unix ? unix : "";
  if (unix) ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

void WriteText(const std::string& path, const std::string& text) {
  wintest::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// The demo's page "Drucken" as a project of its own, titled `title`.
std::string DruckenPage(const std::string& title) {
  const std::vector<uint8_t> bytes = wintest::ReadFileBytes(ProgramFolder() + "..\\..\\..\\examples\\demo\\demo.tsd");
  const std::string demo(bytes.begin(), bytes.end());
  const size_t start = demo.find("\npage 11 \"Drucken\"");
  if (start == std::string::npos) return {};
  size_t end = demo.find("\npage ", start + 1);
  std::string page = demo.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
  page.replace(0, 7, "page 1");
  return "title \"" + title + "\"\nsize 640 480\nflags caption sysmenu\n" + page;
}

struct TDialogQuery {
  DWORD Pid;
  std::string Caption;
  HWND Found = nullptr;
};
BOOL CALLBACK MatchDialog(HWND w, LPARAM l) {
  auto* q = reinterpret_cast<TDialogQuery*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[32] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid != q->Pid || lstrcmpiA(cls, "#32770") != 0 || !::IsWindowVisible(w)) return TRUE;
  if (!q->Caption.empty() && WindowText(w) != q->Caption) return TRUE;
  q->Found = w;
  return FALSE;
}
// A dialog of the player with the caption (any with ""), or null.
HWND DialogOf(const TPlayerRun& player, const std::string& caption) {
  TDialogQuery q{player.Info.dwProcessId, caption};
  ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&q));
  return q.Found;
}
HWND WaitForDialog(const TPlayerRun& player, const std::string& caption, DWORD ms = 20000) {
  const DWORD start = ::GetTickCount();
  do {
    if (HWND w = DialogOf(player, caption)) return w;
    ::Sleep(50);
  } while (::GetTickCount() - start < ms);
  return nullptr;
}
bool WaitUntilGone(HWND w, DWORD ms = 10000) {
  const DWORD start = ::GetTickCount();
  while (::IsWindow(w) && ::IsWindowVisible(w)) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(50);
  }
  return true;
}

constexpr char kSetup[] = "Druckseite einrichten";
constexpr char kPrint[] = "Print";  // Wine's print dialog

class PrintPlayer : public ::testing::Test {
protected:
  void SetUp() override {
    // Jobs are named by the window title, the player's default here ("TSL
    // FÜR WINDOWS V4.77"), which cups-pdf's file names begin with.
    Title = "TSL_F";
    const std::string folder = TempFolder();
    ASSERT_TRUE(printtest::Shell("convert -size 160x80 xc:'#00A000' bmp3:" +
                                 printtest::Quoted(UnixName(folder + "drucken.bmp")) + " && echo ok") == "ok\n");
    std::string text;
    for (int i = 1; i <= 150; ++i) text += "Zeile " + std::to_string(i) + " der Textdatei\r\n";
    WriteText(folder + "drucken.txt", text);
    WriteText(folder + "drucken.rtf",
              "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 "
              "Erstens kommt der Anfang.\\par Zweitens folgt die Mitte.\\par Drittens steht hier das Ende.\\par }");
    const std::string description = DruckenPage("Druckprobe");
    ASSERT_FALSE(description.empty()) << "the demo has no page \"Drucken\"";
    Project = WriteProjectFile(folder + "tsl_print_e2e.crt", description);
  }

  // Clicks a point of the page (its client coordinates).
  void Click(HWND page, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(page, &p);
    ASSERT_TRUE(ClickAt(p));
  }

  // Answers the page set-up dialog (after `edit`, with OK or Cancel).
  void AnswerSetup(const TPlayerRun& player, bool ok, const std::function<void(HWND)>& edit = {}) {
    HWND setup = WaitForDialog(player, kSetup);
    ASSERT_NE(setup, nullptr) << "no page set-up dialog";
    if (edit) edit(setup);
    ASSERT_TRUE(PressButton(setup, ok ? IDOK : IDCANCEL));
    ASSERT_TRUE(WaitUntilGone(setup));
  }
  void AnswerPrint(const TPlayerRun& player) {
    HWND print = WaitForDialog(player, kPrint);
    ASSERT_NE(print, nullptr) << "no print dialog";
    ASSERT_TRUE(PressButton(print, IDOK));
    ASSERT_TRUE(WaitUntilGone(print));
  }

  std::string Title;
  std::string Project;
};

// The buttons of the page (their centres, from the demo's page).
const POINT kPicture{120, 195}, kPictureFile{120, 230}, kScreen{120, 265}, kTextObject{510, 285},
    kRtfObject{510, 320}, kTextFile{120, 315}, kRtfFile{120, 350};

constexpr COLORREF kPaperWhite = RGB(255, 255, 255);

TEST_F(PrintPlayer, DruckenPage) {
  TPlayerRun player("\"" + Project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = ::GetWindow(frame, GW_CHILD);
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(TPdfWatch(Title).HasPrinter()) << "no test printer (scripts/printer.sh)";

  {
    SCOPED_TRACE("27 on the picture object");
    TPdfWatch watch(Title);
    Click(page, kPicture.x, kPicture.y);
    AnswerSetup(player, true);
    AnswerPrint(player);
    const TPdf pdf = watch.Wait();
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf.Pages, 1);
    EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.5, 0.5), RGB(0xC0, 0, 0))) << "the picture at the centre";
    EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.5, 0.25), kPaperWhite)) << "above it: its aspect kept";
    EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.03, 0.5), kPaperWhite)) << "the margin";
    EXPECT_NE(pdf.Text.find("Bild"), std::string::npos) << "the title";
    EXPECT_NE(pdf.Text.find("-1-"), std::string::npos) << "the page number";
  }
  {
    SCOPED_TRACE("28 on a picture file");
    TPdfWatch watch(Title);
    Click(page, kPictureFile.x, kPictureFile.y);
    AnswerSetup(player, true);
    AnswerPrint(player);
    const TPdf pdf = watch.Wait();
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.5, 0.5), RGB(0, 0xA0, 0)));
    EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.03, 0.5), kPaperWhite));
  }
  {
    SCOPED_TRACE("30: the page window as shown");
    TPdfWatch watch(Title);
    Click(page, kScreen.x, kScreen.y);
    AnswerSetup(player, true);
    AnswerPrint(player);
    const TPdf pdf = watch.Wait();
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(Near(TPdfWatch::Pixel(pdf, 1, 0.5, 0.5), RGB(0x30, 0x60, 0xC0))) << "the page's background";
  }
  {
    SCOPED_TRACE("23 on the RTF document: no dialog at all");
    TPdfWatch watch(Title);
    Click(page, kRtfObject.x, kRtfObject.y);
    TPdf pdf;
    bool dialog = false;
    const DWORD start = ::GetTickCount();
    while (!pdf && ::GetTickCount() - start < 60000) {
      dialog = dialog || DialogOf(player, "") != nullptr;
      pdf = watch.Wait(300);
    }
    ASSERT_TRUE(pdf);
    EXPECT_FALSE(dialog);
    const size_t a = pdf.Text.find("Erstens"), b = pdf.Text.find("Zweitens"), c = pdf.Text.find("Drittens");
    ASSERT_NE(a, std::string::npos) << pdf.Text;
    ASSERT_NE(b, std::string::npos) << pdf.Text;
    ASSERT_NE(c, std::string::npos) << pdf.Text;
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
  }
  {
    SCOPED_TRACE("23 on the text document: the print dialog, then the file");
    TPdfWatch watch(Title);
    Click(page, kTextObject.x, kTextObject.y);
    EXPECT_EQ(DialogOf(player, kSetup), nullptr);
    AnswerPrint(player);
    const TPdf pdf = watch.Wait();
    ASSERT_TRUE(pdf);
    EXPECT_GE(pdf.Pages, 2);
    EXPECT_NE(pdf.Text.find("Zeile 150 der Textdatei"), std::string::npos);
  }
  {
    SCOPED_TRACE("22 on a text file: title, page numbers, pages");
    TPdfWatch watch(Title);
    Click(page, kTextFile.x, kTextFile.y);
    bool pictureOptions = true;
    AnswerSetup(player, true, [&](HWND setup) {
      pictureOptions = ::IsWindowVisible(::GetDlgItem(setup, kPrintFillId));
      ::SendMessageA(::GetDlgItem(setup, kPrintTitleId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Textausdruck"));
      ::SendDlgItemMessageA(setup, kPrintShowTitleId, BM_SETCHECK, BST_CHECKED, 0);
      ::SendDlgItemMessageA(setup, kPrintShowPageNumberId, BM_SETCHECK, BST_CHECKED, 0);
      for (int id : {kPrintMarginLeftId, kPrintMarginTopId, kPrintMarginRightId, kPrintMarginBottomId})
        ::SendMessageA(::GetDlgItem(setup, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("20"));
    });
    EXPECT_FALSE(pictureOptions);
    AnswerPrint(player);
    const TPdf pdf = watch.Wait();
    ASSERT_TRUE(pdf);
    EXPECT_GE(pdf.Pages, 2);
    EXPECT_NE(pdf.Text.find("Textausdruck"), std::string::npos);
    EXPECT_NE(pdf.Text.find("-1-"), std::string::npos);
    EXPECT_NE(pdf.Text.find("-2-"), std::string::npos);
    EXPECT_NE(pdf.Text.find("-" + std::to_string(pdf.Pages) + "-"), std::string::npos);
    EXPECT_EQ(pdf.Text.find("-" + std::to_string(pdf.Pages + 1) + "-"), std::string::npos);
    EXPECT_NE(pdf.Text.find("Zeile 150 der Textdatei"), std::string::npos);
  }
  {
    SCOPED_TRACE("Cancel in the page set-up prints nothing; 22 on an RTF file prints without a dialog");
    TPdfWatch watch(Title);
    Click(page, kPicture.x, kPicture.y);
    AnswerSetup(player, false);
    Click(page, kRtfFile.x, kRtfFile.y);
    const TPdf pdf = watch.Wait();
    ASSERT_TRUE(pdf);
    // Jobs arrive in order: a job of the cancelled print would be first.
    EXPECT_NE(pdf.Text.find("Erstens"), std::string::npos) << pdf.Text;
    EXPECT_EQ(DialogOf(player, ""), nullptr);
  }
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(20000), 0u);
}

}  // namespace
