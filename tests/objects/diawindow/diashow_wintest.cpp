// The slide window through the real player: a page with a slide window over
// pictures made here and buttons for the slide-show codes, driven with
// xdotool under Xvfb.
#include "wintest.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "canvas.h"
#include "pagefixture.h"
#include "playerrun.h"
#include "platform/owl/file.h"
#include "slideshow/core/diaoption.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

bool Near(COLORREF a, COLORREF b, int tolerance = 30) {
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

std::vector<std::string> KvrFiles() {
  std::vector<std::string> found;
  for (const char* pattern : {"kvr*.tmp", "kvr*.bmp"}) {
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA(wintest::TempPath(pattern).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) continue;
    do found.push_back(d.cFileName);
    while (::FindNextFileA(h, &d));
    ::FindClose(h);
  }
  return found;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 8000) {
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

std::string ClickArgs(POINT p) { return "mousemove --sync " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1"; }

TEST(SlideShowPlayer, CellsShowAndCodesThroughThePlayer) {
  const std::vector<std::string> kvrBefore = KvrFiles();
  const std::string folder = wintest::TempPath("tsl_dias_player");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const COLORREF colours[3] = {kRed, kGreen, kBlue};
  const char* names[3] = {"rot.bmp", "gruen.bmp", "blau.bmp"};
  for (int i = 0; i < 3; ++i) {
    const COLORREF c = colours[i];
    TrueColourDib(300, 200, 24, [c](int, int) { return c; })->WriteFile((folder + "\\" + names[i]).c_str());
  }
  // A show file of our writer with the green picture alone.
  const std::string dia = folder + "\\gruen.dia";
  {
    TDiaOption show;
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = (folder + "\\gruen.bmp").c_str();
    show.Pictures.Add(std::move(e));
    TFile f(dia.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    show.Write(f);
  }
  const std::string project = wintest::TempPath("tsl_dias_player.crt");
  const std::string description =
      "size 640 480\nflags caption sysmenu\npathmode 0\npage 1 \"Diashow\"\n  background colour #304050\n"
      "  object slides \"Dias\" 10 10 410 130 number 50\n"
      "    slides folder \"" + Escaped(folder) + "\" flags 2 interval 1000 header \"OBEN\"\n"
      "  object button \"Hinzufuegen\" 10 200 110 230 number 51\n    action code 47 target 50\n    button text caption \"Dazu\"\n"
      "  object button \"Diashow\" 120 200 220 230 number 52\n    action code 52 target 50\n    button text caption \"Zeigen\"\n"
      "  object button \"Hintergrund\" 230 200 330 230 number 53\n    action code 58 target 50\n    button text caption \"Hintergrund\"\n"
      "  object button \"Ablage\" 340 200 440 230 number 54\n    action code 57 target 50\n    button text caption \"Ablage\"\n"
      "  object button \"Laden\" 450 200 550 230 number 55\n    action code 75 target 50 text1 \"" + Escaped(dia) +
      "\" short1 0\n    button text caption \"Laden\"\n";
  ASSERT_TRUE(wintest::WriteDescribedProject(description, project));
  for (const char* n : names) ::DeleteFileA((std::string("C:\\TSL_Out\\Wallpaper\\") + n).c_str());

  TPlayerRun player("\"" + project + "\"");
  HWND frame = player.WaitForFrame();
  ASSERT_NE(nullptr, frame);
  HWND page = ::GetWindow(frame, GW_CHILD);
  ASSERT_NE(nullptr, page);
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (list = ::FindWindowExA(page, nullptr, "ListBox", nullptr)) && ::IsWindowVisible(list); }));
  ::Sleep(800);
  // The cells come in the file system's order within the group: the
  // entries say which picture each one is.
  ASSERT_EQ(3, ::SendMessageA(list, LB_GETCOUNT, 0, 0));
  COLORREF cell[3] = {};
  std::string cellName[3];
  for (int i = 0; i < 3; ++i) {
    // Across processes the entry comes as wide text.
    wchar_t wide[MAX_PATH] = {};
    ASSERT_LT(::SendMessageW(list, LB_GETTEXTLEN, i, 0), MAX_PATH);
    ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    const std::string entry = text;
    cellName[i] = entry.substr(entry.find_last_of('\\') + 1);
    for (int k = 0; k < 3; ++k)
      if (cellName[i] == names[k]) cell[i] = colours[k];
  }
  // Cells of 96 pixels side by side, their pictures' colours in the middle.
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(cellName[i]);
    const POINT c = OnScreen(list, i * 96 + 48, 48);
    EXPECT_TRUE(Near(wintest::ScreenPixel(c.x, c.y), cell[i])) << Hex(wintest::ScreenPixel(c.x, c.y));
  }
  // Ctrl+click the first and the third: they take the red selection frame.
  ASSERT_TRUE(XdoTool("keydown ctrl " + ClickArgs(OnScreen(list, 48, 48)) + " " + ClickArgs(OnScreen(list, 2 * 96 + 48, 48)) +
                      " keyup ctrl"));
  ::Sleep(400);
  for (int i : {0, 2}) {
    const POINT edge = OnScreen(list, i * 96 + 2, 48);
    EXPECT_EQ(kRed, wintest::ScreenPixel(edge.x, edge.y)) << "cell " << i << " " << Hex(wintest::ScreenPixel(edge.x, edge.y));
  }
  const POINT unselected = OnScreen(list, 96 + 2, 48);
  EXPECT_EQ(RGB(192, 192, 192), wintest::ScreenPixel(unselected.x, unselected.y));

  // "Dazu", then "Zeigen": the first picture centred on black, the header
  // on top; the next one after a second; a right click goes back; Escape
  // ends the show.
  ASSERT_TRUE(ClickAt(OnScreen(page, 60, 215)));
  ::Sleep(300);
  ASSERT_TRUE(ClickAt(OnScreen(page, 170, 215)));
  const int W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_TRUE(WaitFor([&] { return Near(wintest::ScreenPixel(W / 2, H / 2), cell[0]); }, 5000))
      << Hex(wintest::ScreenPixel(W / 2, H / 2));
  EXPECT_TRUE(Near(wintest::ScreenPixel(W / 2 - 200, H / 2), RGB(0, 0, 0))) << "black beside the picture";
  int white = 0;
  for (int x = W / 2 - 60; x < W / 2 + 60; ++x)
    for (int y = 0; y < 24; ++y) white += Near(wintest::ScreenPixel(x, y), RGB(255, 255, 255), 40);
  EXPECT_GT(white, 10) << "header pixels";
  EXPECT_TRUE(WaitFor([&] { return Near(wintest::ScreenPixel(W / 2, H / 2), cell[2]); }, 3000)) << "the second after a second";
  ASSERT_TRUE(XdoTool("mousemove --sync " + std::to_string(W / 2) + " " + std::to_string(H / 2) + " click 3"));
  EXPECT_TRUE(WaitFor([&] { return Near(wintest::ScreenPixel(W / 2, H / 2), cell[0]); }, 900)) << "a right click goes back";
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(WaitFor([&] { return !Near(wintest::ScreenPixel(W / 2, H / 2), cell[0]) && !Near(wintest::ScreenPixel(W / 2, H / 2), cell[2]); }, 3000))
      << "back on the page";

  // The caret picture (the third cell, clicked last) as the wallpaper.
  ASSERT_TRUE(ClickAt(OnScreen(page, 280, 215)));
  const std::string wallpaper = "C:\\TSL_Out\\Wallpaper\\" + cellName[2];
  EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesA(wallpaper.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  ::Sleep(300);
  {
    const std::vector<uint8_t> bmp = wintest::ReadFileBytes(wallpaper);
    ASSERT_GT(bmp.size(), 54u + 3);
    const uint32_t bits = bmp[10] | bmp[11] << 8 | bmp[12] << 16 | static_cast<uint32_t>(bmp[13]) << 24;
    ASSERT_LT(bits + 3, bmp.size());
    EXPECT_EQ(cell[2], RGB(bmp[bits + 2], bmp[bits + 1], bmp[bits])) << "the picture's own pixels";
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &k));
    ::RegQueryValueExA(k, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(k);
    EXPECT_STREQ(wallpaper.c_str(), value);
  }

  // The caret picture on the clipboard.
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  ASSERT_TRUE(ClickAt(OnScreen(page, 390, 215)));
  EXPECT_TRUE(WaitFor([] { return ::IsClipboardFormatAvailable(CF_DIB) != 0; }, 4000));

  // Code 75 reads our show file, code 52 plays it: green.
  ASSERT_TRUE(ClickAt(OnScreen(page, 500, 215)));
  ::Sleep(300);
  ASSERT_TRUE(ClickAt(OnScreen(page, 170, 215)));
  EXPECT_TRUE(WaitFor([&] { return Near(wintest::ScreenPixel(W / 2, H / 2), kGreen); }, 5000))
      << Hex(wintest::ScreenPixel(W / 2, H / 2));
  ASSERT_TRUE(PressKeys("Escape"));
  ::Sleep(500);

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, player.WaitForExit(10000));
  EXPECT_EQ(kvrBefore, KvrFiles()) << "no thumbnail file outlives the run";
  ::DeleteFileA(wallpaper.c_str());
  ::DeleteFileA(project.c_str());
  for (const char* n : names) ::DeleteFileA((folder + "\\" + n).c_str());
  ::DeleteFileA(dia.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
