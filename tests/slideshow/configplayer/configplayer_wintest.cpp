// The slide-show configuration through the real player, on a page laid out
// like the demo's slide page: code 51 opens the dialog, pictures come in
// through the real open dialog, the background becomes a gradient, "&Test"
// plays the show, "Speichern &unter..." writes a show file, and code 52
// plays the edited show after "Beenden". Driven with xdotool under Xvfb.
#include "wintest.h"

#include <dlgs.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "canvas.h"
#include "pagefixture.h"
#include "playerrun.h"
#include "platform/owl/file.h"
#include "slideshow/core/diaoption.h"
#include "slideshow/diaconfig.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);

bool Near(COLORREF a, COLORREF b, int tolerance = 40) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
  char s[16];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

std::string Escaped(const std::string& path) {
  std::string out;
  for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    if (done()) return true;
    ::Sleep(50);
  }
  return done();
}

POINT OnScreen(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return p;
}

POINT Centre(HWND w) {
  RECT r{};
  ::GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A visible dialog of the process: by its caption, or (null caption) the
// Explorer open or save dialog.
struct TFind {
  DWORD Pid;
  const char* Caption;
  HWND Found = nullptr;
};
BOOL CALLBACK MatchDialog(HWND w, LPARAM l) {
  auto* q = reinterpret_cast<TFind*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  if (pid != q->Pid || !::IsWindowVisible(w)) return TRUE;
  const bool match = q->Caption ? WindowText(w) == q->Caption
                                : ::FindWindowExA(w, nullptr, "SHELLDLL_DefView", nullptr) != nullptr;
  if (!match) return TRUE;
  q->Found = w;
  return FALSE;
}
HWND WaitForDialog(const TPlayerRun& player, const char* caption, DWORD ms = 15000) {
  TFind q{player.Info.dwProcessId, caption};
  WaitFor([&] {
    q.Found = nullptr;
    ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&q));
    return q.Found != nullptr;
  }, ms);
  return q.Found;
}

// Types `name` into the file dialog's name field and presses Enter.
bool ChooseInFileDialog(HWND dialog, const std::string& name) {
  HWND field = ::GetDlgItem(dialog, cmb13);
  if (!field) field = ::GetDlgItem(dialog, edt1);
  if (!field) return false;
  ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  return PressButton(dialog, IDOK);
}

// The screen shows a picture of `colour` in the middle on the gradient from
// black (top) to yellow (bottom).
bool ShowsOnGradient(COLORREF colour, int W, int H) {
  return Near(wintest::ScreenPixel(W / 2, H / 2), colour) && Near(wintest::ScreenPixel(4, H - 4), RGB(255, 255, 0), 60) &&
         Near(wintest::ScreenPixel(4, 40), RGB(0, 0, 0), 60);
}

TEST(SlideConfigPlayer, ConfigureTestSaveAndPlayThroughThePlayer) {
  const std::string folder = wintest::TempPath("tsl_diacfg_player");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string red = folder + "\\rot.bmp", green = folder + "\\gruen.bmp";
  TrueColourDib(300, 200, 24, [](int, int) { return kRed; })->WriteFile(red.c_str());
  TrueColourDib(300, 200, 24, [](int, int) { return kGreen; })->WriteFile(green.c_str());
  const std::string dia = folder + "\\neu.DIA";
  ::DeleteFileA(dia.c_str());
  const std::string project = wintest::TempPath("tsl_diacfg_player.crt");
  const std::string description =
      "size 640 480\nflags caption sysmenu\npathmode 0\npage 1 \"Diashow\"\n  background colour #304050\n"
      "  object slides \"Dias\" 20 20 620 140 number 100\n"
      "    slides folder \"" + Escaped(folder) + "\" interval 1000 header \"Diashow\" footer \"Demo\"\n"
      "  object button \"Diashow\" 20 200 140 230\n    action code 52 target 100\n    button text caption \"Diashow\"\n"
      "  object button \"Konfigurieren\" 150 200 270 230\n    action code 51 target 100\n"
      "    button text caption \"Konfigurieren\"\n";
  ASSERT_TRUE(wintest::WriteDescribedProject(description, project));

  TPlayerRun player("\"" + project + "\"");
  HWND frame = player.WaitForFrame();
  ASSERT_NE(nullptr, frame);
  HWND page = ::GetWindow(frame, GW_CHILD);
  ASSERT_NE(nullptr, page);
  ::Sleep(800);
  const int W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);

  // Code 51: the dialog.
  ASSERT_TRUE(ClickAt(OnScreen(page, 210, 215)));
  HWND config = WaitForDialog(player, "Diashow konfigurieren");
  ASSERT_NE(nullptr, config);
  HWND list = ::GetDlgItem(config, kDiaCfgPictureList);
  EXPECT_EQ(0, ::SendMessageA(list, LB_GETCOUNT, 0, 0));

  // Two pictures through the real open dialog.
  ASSERT_TRUE(ClickAt(Centre(::GetDlgItem(config, kDiaCfgInsert))));
  HWND open = WaitForDialog(player, nullptr);
  ASSERT_NE(nullptr, open);
  // Into the pictures' folder first, then both names at once.
  ASSERT_TRUE(ChooseInFileDialog(open, folder));
  ::Sleep(800);
  ASSERT_TRUE(ChooseInFileDialog(open, "\"rot.bmp\" \"gruen.bmp\""));
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(list, LB_GETCOUNT, 0, 0) == 2; })) << "two pictures inserted";

  // Hintergrund: Farbverlauf, OK.
  ASSERT_TRUE(ClickAt(Centre(::GetDlgItem(config, kDiaCfgBackground))));
  HWND background = WaitForDialog(player, "Hintergrund");
  ASSERT_NE(nullptr, background);
  HWND kinds = ::GetDlgItem(background, 9105);
  ::SendMessageA(kinds, CB_SETCURSEL, 2, 0);
  ::PostMessageA(background, WM_COMMAND, MAKEWPARAM(9105, CBN_SELCHANGE), reinterpret_cast<LPARAM>(kinds));
  ::Sleep(300);
  EXPECT_EQ(WindowText(::GetDlgItem(background, 9103)), "Anfangsfarbe...");
  ASSERT_TRUE(ClickAt(Centre(::GetDlgItem(background, IDOK))));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(background); }));

  // &Test: the first picture on the gradient; Escape back to the dialog.
  ASSERT_TRUE(ClickAt(Centre(::GetDlgItem(config, kDiaCfgTest))));
  EXPECT_TRUE(WaitFor([&] { return ShowsOnGradient(kRed, W, H) || ShowsOnGradient(kGreen, W, H); }, 8000))
      << Hex(wintest::ScreenPixel(W / 2, H / 2)) << " " << Hex(wintest::ScreenPixel(4, H - 4)) << " "
      << Hex(wintest::ScreenPixel(4, 40));
  ASSERT_TRUE(PressKeys("Escape"));
  ASSERT_TRUE(WaitFor([&] {
    const COLORREF c = wintest::ScreenPixel(W / 2, H / 2);
    return ::IsWindowVisible(config) && !Near(c, kRed) && !Near(c, kGreen);
  }));

  // Speichern unter: the file, and the frame's caption.
  ::PostMessageA(config, WM_COMMAND, kDiaCfgFileSaveAs, 0);
  HWND save = WaitForDialog(player, nullptr);
  ASSERT_NE(nullptr, save);
  ASSERT_TRUE(ChooseInFileDialog(save, dia));
  ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesA(dia.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  EXPECT_TRUE(WaitFor([&] { return WindowText(frame) == dia; })) << WindowText(frame);
  ::Sleep(300);
  {
    TDiaOption back;
    TFile f(dia.c_str());
    ASSERT_TRUE(f.IsOpen());
    ASSERT_TRUE(back.Read(f));
    ASSERT_EQ(back.Pictures.Count(), 2);
    EXPECT_EQ(std::string(back.Pictures[0].PictureFile.c_str()), red);
    EXPECT_EQ(std::string(back.Pictures[1].PictureFile.c_str()), green);
    EXPECT_EQ(back.Background.Mode, 4) << "Farbverlauf";
  }

  // Beenden, "Nein" to the question.
  ASSERT_TRUE(ClickAt(Centre(::GetDlgItem(config, IDOK))));
  HWND question = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    question = player.WaitForMessageBox(100);
    return question && question != config && MessageBoxText(question) == "Soll ich vorher sichern";
  }));
  ASSERT_TRUE(PressButton(question, IDNO));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(config); }));

  // Code 52 plays the edited show.
  ASSERT_TRUE(ClickAt(OnScreen(page, 80, 215)));
  EXPECT_TRUE(WaitFor([&] { return ShowsOnGradient(kRed, W, H) || ShowsOnGradient(kGreen, W, H); }, 8000))
      << Hex(wintest::ScreenPixel(W / 2, H / 2)) << " " << Hex(wintest::ScreenPixel(4, H - 4));
  ASSERT_TRUE(PressKeys("Escape"));
  ::Sleep(500);

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, player.WaitForExit(10000));
  ::DeleteFileA(project.c_str());
  for (const std::string& f : {red, green, dia}) ::DeleteFileA(f.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
