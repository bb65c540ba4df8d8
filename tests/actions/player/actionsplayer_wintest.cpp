// The action codes through the real player: projects written here with
// buttons for the picture, clipboard, program, mail, page-list, history,
// reload, object and tooltip codes, clicked with xdotool under Xvfb; what
// they do is read from the screen, the clipboard, the registry and the
// files the stand-in program "cmdlog" writes.
#include "wintest.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "pagefixture.h"
#include "playerrun.h"
#include "objects/core/bmpcontainer.h"
#include "platform/owl/file.h"

namespace {

const COLORREF kPage = RGB(0x30, 0x40, 0x50);

bool Near(COLORREF a, COLORREF b, int tolerance = 30) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
  char s[16];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

// A COLORREF as the action's Value1 in the description.
std::string ColourRef(COLORREF c) { return std::to_string(static_cast<unsigned long>(c)); }

std::string Escaped(const std::string& path) {
  std::string out;
  for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
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

// A text button at (x, y), 60 x 24, with one action; numbered from 100 on,
// clear of the objects the tests number themselves.
std::string Button(const std::string& name, int x, int y, const std::string& action) {
  static int number = 100;
  return "  object button \"" + name + "\" " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(x + 60) +
         " " + std::to_string(y + 24) + " number " + std::to_string(number++) + "\n    action " + action +
         "\n    button text caption \"" + name + "\"\n";
}

// A packed 24-bit DIB of one colour.
std::vector<uint8_t> PackedDib(int w, int h, COLORREF c) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b(40 + static_cast<size_t>(stride) * h, 0);
  BITMAPINFOHEADER bi{};
  bi.biSize = 40;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  std::memcpy(b.data(), &bi, 40);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &b[40 + static_cast<size_t>(y) * stride + x * 3];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return b;
}

// The size of the CF_DIB on the clipboard; {0, 0} without one.
SIZE ClipboardDibSize() {
  SIZE size{0, 0};
  if (!::OpenClipboard(nullptr)) return size;
  if (HANDLE h = ::GetClipboardData(CF_DIB)) {
    if (const auto* bi = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(h))) {
      size = SIZE{bi->biWidth, std::abs(bi->biHeight)};
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  return size;
}

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
      text = p;
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  return text;
}

void EmptyTheClipboard() {
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
}

std::string FileText(const std::string& path) {
  const std::vector<uint8_t> b = wintest::ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

// The player on a project; its frame and page window.
struct Playing {
  explicit Playing(const std::string& project) : Player("\"" + project + "\"") {
    Frame = Player.WaitForFrame();
    Page = Frame ? ::GetWindow(Frame, GW_CHILD) : nullptr;
  }
  // xdotool's synchronous move waits for a motion that never comes when
  // the pointer already stands there: a click on the same spot as the last
  // one goes one pixel aside.
  bool Click(int x, int y) {
    Aside = !Aside;
    return ClickAt(OnScreen(Page, x + (Aside ? 1 : 0), y));
  }
  bool Aside = false;
  COLORREF Pixel(int x, int y) {
    const POINT p = OnScreen(Page, x, y);
    return wintest::ScreenPixel(p.x, p.y);
  }
  // Waits until the page shows `colour` at (x, y).
  bool Shows(int x, int y, COLORREF colour, DWORD ms = 5000) {
    return WaitFor([&] { return Near(Pixel(x, y), colour); }, ms);
  }
  void Close() {
    if (Frame && ::IsWindow(Frame)) ::PostMessageA(Frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, Player.WaitForExit(10000));
  }
  TPlayerRun Player;
  HWND Frame = nullptr;
  HWND Page = nullptr;
};

const char* const kHead = "size 640 480\nflags caption sysmenu\npathmode 0\n";

// A red picture object (60 x 40 at 20, 20), a slide window over one blue
// picture with its own green viewer, a picture container, and buttons for
// codes 25, 26, 31, 35, 33 and 34.
TEST(ActionsPlayer, PictureViewerAndClipboardCodes) {
  const COLORREF kRed = RGB(255, 0, 0), kYellow = RGB(255, 255, 0), kBlue = RGB(0, 0, 255);
  const COLORREF kViewer = RGB(200, 30, 60), kFileViewer = RGB(0, 160, 160), kSlideViewer = RGB(0, 255, 0);
  const std::string folder = wintest::TempPath("tsl_actions_pictures");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\gelb.bmp";
  ASSERT_TRUE(TrueColourDib(50, 30, 24, [&](int, int) { return kYellow; })->WriteFile(file.c_str()));
  const std::string slides = folder + "\\dias";
  ::CreateDirectoryA(slides.c_str(), nullptr);
  ASSERT_TRUE(TrueColourDib(120, 80, 24, [&](int, int) { return kBlue; })->WriteFile((slides + "\\blau.bmp").c_str()));
  const std::string container = folder + "\\bilder.bmc";
  {
    TBmpContainer c;
    c.AddItem("Eins", PackedDib(40, 30, kRed));
    c.AddItem("Zwei", PackedDib(40, 30, kBlue));
    TFile f(container.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(c.Write(f));
  }
  const std::string project = wintest::TempPath("tsl_actions_pictures.crt");
  const std::string description =
      std::string(kHead) + "page 1 \"Bilder\"\n  background colour #304050\n"
      "  object picture \"Bild\" 20 20 80 60 number 1\n"
      "    data flags 0x4 str \"\" u8 0 colour #000000 colour #000000 u8 3 u8 2 zeros 5\n"
      "    data u8 1 dib gradient 60 40 #FF0000 #FF0000\n"
      "  object slides \"Dias\" 20 200 220 300 number 5\n"
      "    slides folder \"" + Escaped(slides) + "\" flags 0x0A viewer #00FF00\n"
      "  object slideoverview \"Uebersicht\" 400 20 432 52 number 13\n"
      "    slideoverview \"" + Escaped(container) + "\"\n" +
      Button("B25", 20, 400, "code 25 target 1 flags 0x1000000 value1 " + ColourRef(kViewer)) +
      Button("B26", 90, 400, "code 26 short1 0 text1 \"" + Escaped(file) + "\" flags 0x1000000 value1 " + ColourRef(kFileViewer)) +
      Button("B31", 160, 400, "code 31 target 1") +
      Button("B35", 230, 400, "code 35 short1 0 text1 \"" + Escaped(file) + "\"") +
      Button("S25", 300, 400, "code 25 target 5 flags 0x1000000 value1 " + ColourRef(kViewer)) +
      Button("S31", 370, 400, "code 31 target 5") +
      Button("B33", 440, 400, "code 33 target 13") +
      Button("B34", 510, 400, "code 34 short1 0 text1 \"" + Escaped(container) + "\"") +
      Button("B26X", 20, 440, "code 26 short1 0 text1 \"" + Escaped(folder) + "\\\\fehlt.bmp\"") +
      Button("B34X", 90, 440, "code 34 short1 0 text1 \"" + Escaped(folder) + "\\\\fehlt.bmc\"");
  ASSERT_TRUE(wintest::WriteDescribedProject(description, project));

  Playing p(project);
  ASSERT_NE(nullptr, p.Page);
  ASSERT_TRUE(p.Shows(50, 40, kRed)) << Hex(p.Pixel(50, 40));
  const int W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);
  const auto screen = [](int x, int y) { return wintest::ScreenPixel(x, y); };
  // The viewer full-screen on the action's colour, the picture in the
  // middle; Escape closes it.
  const auto viewerShows = [&](COLORREF background, COLORREF picture) {
    EXPECT_TRUE(WaitFor([&] { return Near(screen(5, 5), background) && Near(screen(W / 2, H / 2), picture); }))
        << "corner " << Hex(screen(5, 5)) << " middle " << Hex(screen(W / 2, H / 2));
    ASSERT_TRUE(PressKeys("Escape"));
    EXPECT_TRUE(p.Shows(50, 40, kRed)) << "back on the page";
  };
  ASSERT_TRUE(p.Click(50, 412));
  viewerShows(kViewer, kRed);
  ASSERT_TRUE(p.Click(120, 412));
  viewerShows(kFileViewer, kYellow);

  // A missing file shows nothing and says nothing.
  ASSERT_TRUE(p.Click(50, 452));
  ::Sleep(600);
  EXPECT_EQ(nullptr, p.Player.FindWindowOf("#32770")) << "no viewer, no box";
  EXPECT_TRUE(Near(p.Pixel(50, 40), kRed)) << "the page stays uncovered";

  // The clipboard gets a CF_DIB of the picture's size; the object keeps
  // its picture.
  EmptyTheClipboard();
  ASSERT_TRUE(p.Click(190, 412));
  EXPECT_TRUE(WaitFor([] { return ClipboardDibSize().cx == 60; })) << ClipboardDibSize().cx;
  EXPECT_EQ(40, ClipboardDibSize().cy);
  ::InvalidateRect(p.Page, nullptr, TRUE);
  EXPECT_TRUE(p.Shows(50, 40, kRed)) << "the object still has its picture";
  EmptyTheClipboard();
  ASSERT_TRUE(p.Click(260, 412));
  EXPECT_TRUE(WaitFor([] { return ClipboardDibSize().cx == 50; })) << ClipboardDibSize().cx;
  EXPECT_EQ(30, ClipboardDibSize().cy);

  // The slide window without a selected entry asks for one, over the page.
  ASSERT_TRUE(p.Click(330, 412));
  HWND box = p.Player.WaitForMessageBox(5000);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ("W\xE4hlen Sie zuerst einen Eintrag aus!", MessageBoxText(box));
  EXPECT_EQ(::GetAncestor(p.Page, GA_ROOT), ::GetWindow(box, GW_OWNER)) << "over the page";
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  // With the cell chosen, its picture on the slide window's own green
  // (the action's colour does not count), and on the clipboard.
  ASSERT_TRUE(p.Click(20 + 48, 200 + 48));
  ::Sleep(300);
  ASSERT_TRUE(p.Click(330, 412));
  viewerShows(kSlideViewer, kBlue);
  EmptyTheClipboard();
  ASSERT_TRUE(p.Click(400, 412));
  EXPECT_TRUE(WaitFor([] { return ClipboardDibSize().cx == 120; })) << ClipboardDibSize().cx;
  EXPECT_EQ(80, ClipboardDibSize().cy);

  // 33 opens the container's overview; 34 a temporary container's, which
  // stays open after that container went.
  ASSERT_TRUE(p.Click(470, 412));
  HWND overview = p.Player.WaitForWindow("TSLOVERVIEWFRAME", 5000);
  if (!overview) overview = ::FindWindowExA(p.Page, nullptr, "TSLOVERVIEWFRAME", nullptr);
  ASSERT_NE(nullptr, overview);
  // Found as soon as it exists; maximised when it is shown.
  EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(overview) != FALSE; }, 5000));
  ::PostMessageA(overview, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(overview); }));
  // A picture list that is not there opens nothing.
  ASSERT_TRUE(p.Click(120, 452));
  ::Sleep(600);
  EXPECT_EQ(nullptr, p.Player.FindWindowOf("TSLOVERVIEWFRAME"));
  EXPECT_EQ(nullptr, ::FindWindowExA(p.Page, nullptr, "TSLOVERVIEWFRAME", nullptr));
  ASSERT_TRUE(p.Click(540, 412));
  overview = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    overview = p.Player.FindWindowOf("TSLOVERVIEWFRAME");
    if (!overview) overview = ::FindWindowExA(p.Page, nullptr, "TSLOVERVIEWFRAME", nullptr);
    return overview && ::IsWindowVisible(overview);
  }));
  ::Sleep(500);
  EXPECT_TRUE(::IsWindow(overview) && ::IsWindowVisible(overview)) << "the overview lives on";
  ::PostMessageA(overview, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(overview); }));

  p.Close();
  ::DeleteFileA(project.c_str());
  ::DeleteFileA(file.c_str());
  ::DeleteFileA(container.c_str());
  ::DeleteFileA((slides + "\\blau.bmp").c_str());
  ::RemoveDirectoryA(slides.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

// A visible tooltip window of the player.
bool TooltipShows(const TPlayerRun& player) {
  const HWND tip = player.FindWindowOf("tooltips_class32");
  return tip && ::IsWindowVisible(tip);
}

// Rests the mouse on a point of the page, as a user's hand does, and waits
// up to `ms` for a tooltip: one step into the point and one pixel on, then
// no more moves (every move starts the tooltip's delay again).
bool HoverShowsTooltip(Playing& p, int x, int y, DWORD ms) {
  for (int dx : {0, 1}) {
    const POINT at = OnScreen(p.Page, x + dx, y);
    XdoToolArgs({"mousemove", "--sync", std::to_string(at.x), std::to_string(at.y)});
  }
  return WaitFor([&] { return TooltipShows(p.Player); }, ms);
}

void MoveAway(Playing& p) {
  const POINT away = OnScreen(p.Page, 600, 300);
  XdoToolArgs({"mousemove", "--sync", std::to_string(away.x), std::to_string(away.y)});
  WaitFor([&] { return !TooltipShows(p.Player); }, 3000);
}

// Hiding and showing an object, the author's message box, a text to the
// clipboard, and the tooltip switch on this page and the next.
TEST(ActionsPlayer, ObjectMessageClipboardAndTooltipCodes) {
  const COLORREF kRed = RGB(255, 0, 0);
  const std::string project = wintest::TempPath("tsl_actions_objects.crt");
  // The text with its tooltip and the buttons stand on every page.
  const std::string description =
      std::string(kHead) +
      "object text \"Text\" 100 20 300 60 number 2\n"
      "  tooltip \"Ein Tipp\"\n"
      "  data flags 0x0 colour #808080 i32 2 i32 2 i16 0 u32 1\n"
      "  data font \"Arial\" 20 colour #FFFFFF str \"Hallo Ablage\" zeros 16\n" +
      Button("B17", 20, 400, "code 17 target 1") + Button("B18", 90, 400, "code 18 target 1") +
      Button("B39", 160, 400, "code 39 text3 \"Hinweis\" text4 \"Alles gut\"") +
      Button("B72", 230, 400, "code 72 target 2") + Button("B72X", 300, 400, "code 72 target 1") +
      Button("B79", 370, 400, "code 79") + Button("B78", 440, 400, "code 78") + Button("Next", 510, 400, "next") +
      "page 1 \"Eins\"\n  background colour #304050\n"
      "  object picture \"Bild\" 20 100 80 140 number 1\n"
      "    data flags 0x4 str \"\" u8 0 colour #000000 colour #000000 u8 3 u8 2 zeros 5\n"
      "    data u8 1 dib gradient 60 40 #FF0000 #FF0000\n"
      "page 2 \"Zwei\"\n  background colour #503040\n";
  ASSERT_TRUE(wintest::WriteDescribedProject(description, project));

  Playing p(project);
  ASSERT_NE(nullptr, p.Page);
  ASSERT_TRUE(p.Shows(50, 120, kRed)) << Hex(p.Pixel(50, 120));

  ASSERT_TRUE(p.Click(50, 412));
  EXPECT_TRUE(p.Shows(50, 120, kPage)) << "hidden: " << Hex(p.Pixel(50, 120));
  ASSERT_TRUE(p.Click(120, 412));
  EXPECT_TRUE(p.Shows(50, 120, kRed)) << "shown again: " << Hex(p.Pixel(50, 120));

  ASSERT_TRUE(p.Click(190, 412));
  HWND box = p.Player.WaitForMessageBox(5000);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ("Hinweis", WindowText(box));
  EXPECT_EQ("Alles gut", MessageBoxText(box));
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));

  // The text object's text as CF_TEXT; a picture has no text to give, and
  // the clipboard stays as it was.
  EmptyTheClipboard();
  ASSERT_TRUE(p.Click(260, 412));
  EXPECT_TRUE(WaitFor([] { return ClipboardText() == "Hallo Ablage"; })) << ClipboardText();
  ASSERT_TRUE(p.Click(330, 412));
  ::Sleep(500);
  EXPECT_EQ("Hallo Ablage", ClipboardText());

  // Tooltips on, as the project starts; 79 switches them off here and on
  // the next page; 78 on again.
  EXPECT_TRUE(HoverShowsTooltip(p, 150, 40, 6000)) << "a tooltip before the switch";
  MoveAway(p);
  ASSERT_TRUE(p.Click(400, 412));
  EXPECT_FALSE(HoverShowsTooltip(p, 150, 40, 2500)) << "off on this page";
  MoveAway(p);
  ASSERT_TRUE(p.Click(540, 412));
  ASSERT_TRUE(p.Shows(600, 300, RGB(0x50, 0x30, 0x40))) << "the second page";
  EXPECT_FALSE(HoverShowsTooltip(p, 150, 40, 2500)) << "off on the next page";
  MoveAway(p);
  ASSERT_TRUE(p.Click(470, 412));
  EXPECT_TRUE(HoverShowsTooltip(p, 150, 40, 6000)) << "on again";
  MoveAway(p);

  p.Close();
  ::DeleteFileA(project.c_str());
}

// Code 13 starts the stand-in program with the document; code 80 writes a
// mail through the registered mailto: handler, and without one says so.
TEST(ActionsPlayer, ProgramAndMailCodes) {
  const std::string log = wintest::TempPath("tsl_actions_cmdlog.txt");
  ::DeleteFileA(log.c_str());
  ::SetEnvironmentVariableA("TSL_CMDLOG", log.c_str());
  const std::string cmdlog = ProgramFolder() + "cmdlog.exe.so";
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(cmdlog.c_str())) << cmdlog;
  const std::string document = wintest::TempPath("Mein Dokument.txt");
  ASSERT_TRUE(wintest::WriteFileBytes(document, {'x'}));

  // The recording program as the prefix's mailto: handler; the prefix's
  // own handler comes back at the end.
  const char* const kMailCommand = "mailto\\shell\\open\\command";
  char saved[1024] = {};
  LONG savedSize = sizeof saved;
  const bool hadHandler = ::RegQueryValueA(HKEY_CLASSES_ROOT, kMailCommand, saved, &savedSize) == ERROR_SUCCESS;
  const std::string command = "\"" + cmdlog + "\" %1";
  ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueA(HKEY_CLASSES_ROOT, kMailCommand, REG_SZ, command.c_str(),
                                          static_cast<DWORD>(command.size())));
  HKEY k = nullptr;
  if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, "mailto", 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) == ERROR_SUCCESS) {
    ::RegSetValueExA(k, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    ::RegCloseKey(k);
  }

  const std::string project = wintest::TempPath("tsl_actions_programs.crt");
  const std::string description =
      std::string(kHead) + "page 1 \"Programme\"\n  background colour #304050\n" +
      Button("B13", 20, 400, "code 13 short1 0 text1 \"" + Escaped(cmdlog) + "\" short2 0 text2 \"" +
                                 Escaped(document) + "\"") +
      Button("B80", 90, 400,
             "code 80 string \"post@example.org\" string \"Hallo Welt\" string \"Text & mehr\"") +
      Button("B80X", 160, 400, "code 80 string \"post@example.org\" string \"nur zwei\"");
  ASSERT_TRUE(wintest::WriteDescribedProject(description, project));

  Playing p(project);
  ASSERT_NE(nullptr, p.Page);
  ASSERT_TRUE(p.Shows(600, 300, kPage));
  // The document path has a blank: it reaches the program quoted.
  ASSERT_TRUE(p.Click(50, 412));
  EXPECT_TRUE(WaitFor([&] { return FileText(log).find("\r\n") != std::string::npos; }));
  EXPECT_NE(std::string::npos, FileText(log).find("\"" + document + "\"")) << FileText(log);

  ::DeleteFileA(log.c_str());
  ASSERT_TRUE(p.Click(120, 412));
  EXPECT_TRUE(WaitFor([&] { return FileText(log).find("\r\n") != std::string::npos; }));
  EXPECT_NE(std::string::npos,
            FileText(log).find("mailto:post@example.org?subject=Hallo Welt&body=Text & mehr"))
      << FileText(log);
  // Two strings: no mail.
  ::DeleteFileA(log.c_str());
  ASSERT_TRUE(p.Click(190, 412));
  ::Sleep(1000);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(log.c_str()));

  // Without any mailto: handler the player says there is no program, and
  // goes on.
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "mailto");
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\mailto");
  ASSERT_TRUE(p.Click(120, 412));
  HWND box = p.Player.WaitForMessageBox(8000);
  EXPECT_NE(nullptr, box);
  if (box) {
    EXPECT_EQ("Die zum Starten des Dokumentes passende Anwendung konnte nicht gefunden werden.", MessageBoxText(box));
    EXPECT_EQ(::GetAncestor(p.Page, GA_ROOT), ::GetWindow(box, GW_OWNER)) << "over the page";
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  }
  EXPECT_TRUE(p.Player.Running()) << "the player goes on";
  if (hadHandler) {
    ::RegSetValueA(HKEY_CLASSES_ROOT, kMailCommand, REG_SZ, saved, static_cast<DWORD>(std::strlen(saved)));
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, "mailto", 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) ==
        ERROR_SUCCESS) {
      ::RegSetValueExA(k, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
      ::RegCloseKey(k);
    }
  }

  p.Close();
  ::SetEnvironmentVariableA("TSL_CMDLOG", nullptr);
  ::DeleteFileA(log.c_str());
  ::DeleteFileA(document.c_str());
  ::DeleteFileA(project.c_str());
}

// A page list walked once to its end, the history back and forward, and
// another project loaded in place of this one.
TEST(ActionsPlayer, PageListHistoryAndReloadCodes) {
  const COLORREF kTwo = RGB(0x80, 0x40, 0x00), kThree = RGB(0x00, 0x60, 0x20), kOther = RGB(0x60, 0x00, 0x60);
  const std::string second = wintest::TempPath("tsl_actions_zweites.crt");
  ASSERT_TRUE(wintest::WriteDescribedProject("size 400 300\nflags caption sysmenu\npathmode 0\n"
                                             "page 1 \"Anderes\"\n  background colour #600060\n"
                                             "page 2 \"Anderes 2\"\n  background colour #FFFFFF\n",
                                             second));
  const std::string project = wintest::TempPath("tsl_actions_pages.crt");
  // The reload names the project as ".tsl": the player takes its ".CRT".
  std::string asTsl = second.substr(0, second.size() - 4) + ".tsl";
  const std::string description =
      std::string(kHead) + Button("B12", 20, 400, "code 12 numbers 2 3") + Button("B73", 90, 400, "code 73") +
      Button("B74", 160, 400, "code 74") +
      Button("B21", 230, 400, "code 21 short1 0 text1 \"" + Escaped(asTsl) + "\"") +
      "page 1 \"Eins\"\n  background colour #304050\n"
      "page 2 \"Zwei\"\n  background colour #804000\n"
      "page 3 \"Drei\"\n  background colour #006020\n";
  ASSERT_TRUE(wintest::WriteDescribedProject(description, project));

  Playing p(project);
  ASSERT_NE(nullptr, p.Page);
  ASSERT_TRUE(p.Shows(600, 300, kPage));
  ASSERT_TRUE(p.Click(50, 412));
  EXPECT_TRUE(p.Shows(600, 300, kTwo)) << Hex(p.Pixel(600, 300));
  ASSERT_TRUE(p.Click(50, 412));
  EXPECT_TRUE(p.Shows(600, 300, kThree)) << Hex(p.Pixel(600, 300));
  // The list is walked: a third click stays.
  ASSERT_TRUE(p.Click(50, 412));
  ::Sleep(800);
  EXPECT_TRUE(Near(p.Pixel(600, 300), kThree)) << Hex(p.Pixel(600, 300));

  ASSERT_TRUE(p.Click(120, 412));
  EXPECT_TRUE(p.Shows(600, 300, kTwo)) << "back: " << Hex(p.Pixel(600, 300));
  ASSERT_TRUE(p.Click(120, 412));
  EXPECT_TRUE(p.Shows(600, 300, kPage)) << "back again: " << Hex(p.Pixel(600, 300));
  ASSERT_TRUE(p.Click(190, 412));
  EXPECT_TRUE(p.Shows(600, 300, kTwo)) << "forward: " << Hex(p.Pixel(600, 300));

  ASSERT_TRUE(p.Click(260, 412));
  EXPECT_TRUE(p.Shows(200, 150, kOther)) << "the other project's first page: " << Hex(p.Pixel(200, 150));
  RECT r{};
  ::GetWindowRect(p.Frame, &r);
  EXPECT_EQ(400, r.right - r.left);
  EXPECT_EQ(300, r.bottom - r.top);
  EXPECT_TRUE(p.Player.Running());

  p.Close();
  ::DeleteFileA(project.c_str());
  ::DeleteFileA(second.c_str());
}

}  // namespace
