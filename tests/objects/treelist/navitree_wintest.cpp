// The database tree on the real player under Xvfb, driven with xdotool: a
// click on a line shows the entry's fields in the bound texts, "+" and a
// double click open a category, the record buttons move the selected line,
// an entry's action changes the page, and a transparent tree shows the page
// under it.
#include "engine/pages/winpages.h"
#include "playerrun.h"

#include <cstdlib>

#include "tools/core/tslmake_db.h"

namespace {

const char kDatabase[] = R"(
field "Autor"
field "Jahr"
category 1 -1 "Klassiker" open
category 2 -1 "Moderne"
data 10 "Faust" "Goethe" "1808"
data 11 "Kabale und Liebe" "Schiller" "1784"
data 12 "Der Zauberberg" "Thomas Mann" "1924"
data 13 "Zur Seite zwei" "" ""
entry 0 1 -1 category pos 0 pictures 100
entry 1 1 10 data pos 0 font 200
entry 2 1 11 data pos 1
entry 3 2 -1 category pos 1
entry 4 2 12 data pos 0
entry 5 -1 13 data pos 2 actions 300
extras 100 1 "Bild" picture1 16 16 0x4080C0 0x204080 picture2 16 16 0x80C0FF 0x4080C0
extras 200 2 "Schrift" font "Arial" 16 bold colour 0x000080
extras 300 0 "Seite" goto 2
)";

// Page 1: an opaque tree, two bound texts and the record buttons; page 2:
// a plain red page with a transparent tree on it.
const char kProject[] = R"(
size 640 480
page 1 "Datenbank"
  background colour #C0E0C0
  database "tslpages_navitree.dbd"
  object tree "Baum" 20 20 260 300
    props 0x8184
    tree set 2 font "Arial" 16
  object text "Autor" 300 40 620 90
    proptext "Autor"
    text "" font "Arial" 28 bold
  object text "Jahr" 300 100 620 150
    proptext "jahr"
    text "" font "Arial" 28
  object button "Voriger" 300 300 400 340
    action code 24 clearflags 0x80 flags 0x100 value2 0xFFFFFFFF
    button text caption "Voriger"
  object button "Naechster" 410 300 510 340
    action code 24 clearflags 0x80 flags 0x100 value2 1
    button text caption "Naechster"
page 2 "Rot"
  background colour #C00000
  database "tslpages_navitree.dbd"
  object tree "Durchsichtig" 20 20 260 300
    tree set 2 transparent scroll none
)";

struct Found {
  HWND page = nullptr;
  HWND list = nullptr;
};

BOOL CALLBACK FindWindows(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<Found*>(l);
  char name[256] = {};
  ::GetClassNameA(w, name, sizeof name);
  const std::string cls = name;
  if (cls.find("TObjectWindow") != std::string::npos) f->page = w;
  if (cls == "ListBox" && ::IsWindowVisible(w)) f->list = w;
  return TRUE;
}

Found Windows(HWND frame) {
  Found f;
  ::EnumChildWindows(frame, &FindWindows, reinterpret_cast<LPARAM>(&f));
  return f;
}

COLORREF Pixel(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return wintest::ScreenPixel(p.x, p.y);
}

// A fingerprint of what the screen shows in a client rectangle of `w`.
uint64_t AreaPrint(HWND w, int left, int top, int right, int bottom) {
  uint64_t h = 1469598103934665603ull;
  for (int y = top; y < bottom; y += 2)
    for (int x = left; x < right; x += 2) h = (h ^ Pixel(w, x, y)) * 1099511628211ull;
  return h;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000) {
  for (DWORD waited = 0; waited < ms; waited += 50, ::Sleep(50))
    if (done()) return true;
  return done();
}

int Count(HWND list) { return static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); }
int Selected(HWND list) { return static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0)); }

// The middle of line `index` of the list, on the screen.
POINT LinePoint(HWND list, int index, int x = 60) {
  const int top = static_cast<int>(::SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  int y = 0;
  for (int i = top; i < index; ++i) y += static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, i, 0));
  POINT p{x, y + static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, index, 0)) / 2};
  ::ClientToScreen(list, &p);
  return p;
}

POINT ClientPoint(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return p;
}

}  // namespace

TEST(NaviTree, BrowsingTheDatabaseOnThePlayer) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(kDatabase, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  WriteBytes(TempPath("navitree.dbd"), dbd.Data());
  WriteBytes(TempPath("navitree.dbi"), dbi.Data());
  const std::string project = TempPath("navitree.crt");
  WriteBytes(project, BuildProject(kProject));

  TPlayerRun player("\"" + project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  Found f;
  ASSERT_TRUE(WaitFor([&] { return (f = Windows(frame)).list && f.page; })) << "no tree window";
  HWND list = f.list, page = f.page;

  // Klassiker is stored open: its two entries show; Moderne is closed.
  ASSERT_TRUE(WaitFor([&] { return Count(list) == 5; })) << Count(list) << " lines";
  // The page starts on the first entry, a category: its first data entry
  // becomes current and its line is selected (the tree shows from the page
  // start on, after the record).
  EXPECT_TRUE(WaitFor([&] { return Selected(list) == 1; })) << Selected(list);
  wintest::PumpFor(300);
  const uint64_t faust = AreaPrint(page, 300, 40, 620, 150);

  // A click on "Kabale und Liebe" shows Schiller's fields.
  ASSERT_TRUE(ClickAt(LinePoint(list, 2)));
  EXPECT_TRUE(WaitFor([&] { return Selected(list) == 2; }));
  EXPECT_TRUE(WaitFor([&] { return AreaPrint(page, 300, 40, 620, 150) != faust; })) << "the bound texts kept Faust";
  const uint64_t schiller = AreaPrint(page, 300, 40, 620, 150);
  // Back on Faust: the same pixels as at the start.
  ASSERT_TRUE(ClickAt(LinePoint(list, 1)));
  EXPECT_TRUE(WaitFor([&] { return AreaPrint(page, 300, 40, 620, 150) == faust; })) << "Faust's fields again";

  // "+" on the closed category Moderne opens it; a double click closes and
  // opens it again.
  ASSERT_TRUE(ClickAt(LinePoint(list, 3)));
  ASSERT_TRUE(WaitFor([&] { return Selected(list) == 3; }));
  ASSERT_TRUE(PressKeys("plus"));
  EXPECT_TRUE(WaitFor([&] { return Count(list) == 6; })) << "+ opens: " << Count(list);
  ASSERT_TRUE(XdoToolArgs({"click", "--repeat", "2", "--delay", "80", "1"}));
  EXPECT_TRUE(WaitFor([&] { return Count(list) == 5; })) << "a double click closes: " << Count(list);
  ASSERT_TRUE(XdoToolArgs({"click", "--repeat", "2", "--delay", "80", "1"}));
  EXPECT_TRUE(WaitFor([&] { return Count(list) == 6; })) << "and opens again: " << Count(list);

  // The record buttons step through the data entries: from Faust the next
  // entry is one line down, the previous one back up.
  ASSERT_TRUE(ClickAt(LinePoint(list, 1)));
  ASSERT_TRUE(WaitFor([&] { return Selected(list) == 1; }));
  ASSERT_TRUE(ClickAt(ClientPoint(page, 460, 320)));
  EXPECT_TRUE(WaitFor([&] { return Selected(list) == 2; })) << "next: line " << Selected(list);
  EXPECT_TRUE(WaitFor([&] { return AreaPrint(page, 300, 40, 620, 150) == schiller; }));
  ASSERT_TRUE(ClickAt(ClientPoint(page, 350, 320)));
  EXPECT_TRUE(WaitFor([&] { return Selected(list) == 1; })) << "previous: line " << Selected(list);

  // The last entry's action goes to page 2, whose red shows through its
  // transparent tree.
  const COLORREF red = RGB(0xC0, 0x00, 0x00);
  EXPECT_NE(Pixel(page, 250, 290), red);
  ASSERT_TRUE(ClickAt(LinePoint(list, 5)));
  EXPECT_TRUE(WaitFor([&] { return Pixel(page, 600, 450) == red; })) << "the page did not change";
  EXPECT_TRUE(WaitFor([&] { return Pixel(page, 250, 290) == red; }))
      << "the transparent tree hides the page: " << std::hex << Pixel(page, 250, 290);
  if (const char* dir = std::getenv("TSL_SCREENSHOT_DIR"))
    std::system(("import -window root '" + std::string(dir) + "/navitree.png'").c_str());

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  for (const char* ext : {".dbd", ".dbi", ".crt"}) ::DeleteFileA(TempPath(std::string("navitree") + ext).c_str());
}
