// The fast search field and the help register on the real player under
// Xvfb, driven with xdotool: a typed value and Enter make its entry current
// (a text bound to another field shows it), a value that is only the
// beginning of one shows the not-found box under the program's title,
// Enter never ends the presentation from the field while Esc does; the
// help register's "Index" hides the tree, leaving the panel's background,
// and "Inhalt" shows it again.
#include "engine/pages/winpages.h"
#include "playerrun.h"

#include <cstdlib>
#include <functional>

#include "tools/core/tslmake_db.h"

namespace {

// The page starts on the category, whose first entry, Birne, has no
// Hinweis: the bound text stays empty until Apfel is current.
const char kDatabase[] = R"(
field "Stichwort"
field "Hinweis"
category 1 -1 "Obst"
data 10 "Birne" "Birne" ""
data 11 "Apfel" "Apfel" "Gefunden"
entry 0 1 -1 category pos 0
entry 1 1 10 data pos 0
entry 2 1 11 data pos 1
)";

// Enter and Esc are the quit keys (the default, said here for the test).
const char kProject[] = R"(
size 640 480
quitkeys 3
page 1 "Suche"
  background colour #E0E0E0
  database "tslpages_fastsearch.dbd"
  object quicksearch "Suche" 20 20 220 50
    quicksearch "Stichwort" background #FFFFFF font "Arial" 17
  object text "Hinweis" 300 20 620 70
    proptext "Hinweis"
    text "" font "Arial" 28 bold colour #C00000
  object helpregister "Register" 20 100 320 420
    helpregister background #FF8000
)";

constexpr COLORREF kRed = RGB(0xC0, 0x00, 0x00);
constexpr COLORREF kOrange = RGB(0xFF, 0x80, 0x00);

struct Found {
  HWND page = nullptr, field = nullptr, panel = nullptr, tabs = nullptr, tree = nullptr;
};

BOOL CALLBACK FindWindows(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<Found*>(l);
  char name[256] = {};
  ::GetClassNameA(w, name, sizeof name);
  const std::string cls = name;
  if (cls.find("TObjectWindow") != std::string::npos) f->page = w;
  if (lstrcmpiA(name, "Edit") == 0 && ::IsWindowVisible(w)) f->field = w;
  if (cls == "TSLHelpRegister" && ::IsWindowVisible(w)) f->panel = w;
  if (cls == "SysTabControl32") f->tabs = w;
  if (lstrcmpiA(name, "ListBox") == 0 && ::GetDlgCtrlID(w) == 100) f->tree = w;
  return TRUE;
}

Found Windows(HWND frame) {
  Found f;
  ::EnumChildWindows(frame, &FindWindows, reinterpret_cast<LPARAM>(&f));
  return f;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000) {
  for (DWORD waited = 0; waited < ms; waited += 50, ::Sleep(50))
    if (done()) return true;
  return done();
}

// Pixels of the colour in a window's client area (every third pixel).
int CountColour(HWND w, COLORREF colour, int& all) {
  RECT r{};
  ::GetClientRect(w, &r);
  int n = 0;
  all = 0;
  for (int y = 1; y < r.bottom - 1; y += 3)
    for (int x = 1; x < r.right - 1; x += 3) {
      POINT p{x, y};
      ::ClientToScreen(w, &p);
      ++all;
      if (wintest::ScreenPixel(p.x, p.y) == colour) ++n;
    }
  return n;
}

// The help register's area below the tabs, inside the tree's inset: how
// much of it shows the panel's background.
int PanelBackground(HWND panel, HWND tabs, int& all) {
  RECT pr{}, tr{};
  ::GetWindowRect(panel, &pr);
  ::GetWindowRect(tabs, &tr);
  int n = 0;
  all = 0;
  for (int y = tr.bottom + 6; y < pr.bottom - 6; y += 7)
    for (int x = pr.left + 6; x < pr.right - 6; x += 7) {
      ++all;
      if (wintest::ScreenPixel(x, y) == kOrange) ++n;
    }
  return n;
}

}  // namespace

TEST(FastSearch, FieldAndHelpRegisterOnThePlayer) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(kDatabase, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  WriteBytes(TempPath("fastsearch.dbd"), dbd.Data());
  WriteBytes(TempPath("fastsearch.dbi"), dbi.Data());
  const std::string project = TempPath("fastsearch.crt");
  WriteBytes(project, BuildProject(kProject));

  TPlayerRun player("\"" + project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  Found f;
  ASSERT_TRUE(WaitFor([&] { return (f = Windows(frame)).page && f.field && f.panel && f.tabs && f.tree; }))
      << "page " << f.page << " field " << f.field << " panel " << f.panel << " tabs " << f.tabs << " tree " << f.tree;
  RECT textRect{300, 20, 620, 70};
  ::MapWindowPoints(f.page, HWND_DESKTOP, reinterpret_cast<POINT*>(&textRect), 2);
  const auto redInText = [&] {
    int n = 0;
    for (int y = textRect.top; y < textRect.bottom; y += 2)
      for (int x = textRect.left; x < textRect.right; x += 2) n += wintest::ScreenPixel(x, y) == kRed;
    return n;
  };
  wintest::PumpFor(300);
  EXPECT_EQ(redInText(), 0) << "Birne has no Hinweis";

  // Only the beginning of a value: the not-found box, and the presentation
  // goes on.
  ASSERT_TRUE(ClickWindow(f.field));
  ASSERT_TRUE(PressKeys("A p f Return"));
  HWND box = player.WaitForMessageBox(10000);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(WindowText(box), "TSL F\xDCR WINDOWS V4.77");
  EXPECT_EQ(MessageBoxText(box), "Der Eintrag wurde nicht gefunden.");
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }));
  EXPECT_TRUE(player.Running()) << "Enter in the field ended the presentation";

  // The whole value in other case: its entry is current and the bound
  // text shows its Hinweis.
  ASSERT_TRUE(ClickWindow(f.field));
  ASSERT_TRUE(PressKeys("End BackSpace BackSpace BackSpace a p f e l Return"));
  EXPECT_TRUE(WaitFor([&] { return redInText() > 20; })) << "the bound text shows " << redInText() << " red pixels";
  EXPECT_EQ(player.FindWindowOf("#32770"), nullptr) << "a box after a hit: " << MessageBoxText(player.FindWindowOf("#32770"));
  EXPECT_TRUE(player.Running()) << "Enter in the field ended the presentation";

  // The help register: "Inhalt" first, the tree over the panel; "Index"
  // (the arrow key on the tabs) hides it, "Inhalt" shows it again.
  int all = 0;
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(f.tree) && PanelBackground(f.panel, f.tabs, all) == 0; }))
      << "background below the tabs: " << PanelBackground(f.panel, f.tabs, all) << " of " << all;
  RECT tr{};
  ::GetWindowRect(f.tabs, &tr);
  ASSERT_TRUE(ClickAt(POINT{tr.left + 8, (tr.top + tr.bottom) / 2}));
  ASSERT_TRUE(PressKeys("Right"));
  EXPECT_TRUE(WaitFor([&] { return PanelBackground(f.panel, f.tabs, all) == all; }))
      << "after Index: background " << PanelBackground(f.panel, f.tabs, all) << " of " << all;
  EXPECT_FALSE(::IsWindowVisible(f.tree));
  if (const char* dir = std::getenv("TSL_SCREENSHOT_DIR"))
    std::system(("import -window root '" + std::string(dir) + "/fastsearch.png'").c_str());
  ASSERT_TRUE(PressKeys("Right"));  // "Suchen" keeps the tree hidden
  wintest::PumpFor(300);
  EXPECT_EQ(PanelBackground(f.panel, f.tabs, all), all) << "after Suchen";
  ASSERT_TRUE(PressKeys("Left Left"));
  EXPECT_TRUE(WaitFor([&] { return PanelBackground(f.panel, f.tabs, all) == 0; }))
      << "after Inhalt: background " << PanelBackground(f.panel, f.tabs, all) << " of " << all;
  EXPECT_TRUE(::IsWindowVisible(f.tree));
  EXPECT_EQ(CountColour(f.tree, kOrange, all), 0) << "the tree over the panel";

  // Esc from the field ends the presentation.
  ASSERT_TRUE(ClickWindow(f.field));
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_EQ(player.WaitForExit(10000), 0u);
  for (const char* ext : {".dbd", ".dbi", ".crt"}) ::DeleteFileA(TempPath(std::string("fastsearch") + ext).c_str());
}
