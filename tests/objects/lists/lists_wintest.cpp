// The lists on the real player under Xvfb, driven with xdotool: a page list
// box changes the page (not on the current page's line), a transparent list
// over a gradient shows the page through its empty rows and between its
// letters with the highlight on the current row, and a combo box of the
// same category follows when the list (by a click or a key) makes another
// record current.
#include "engine/pages/winpages.h"
#include "playerrun.h"

#include <cstdlib>
#include <cstring>
#include <functional>

#include "tools/core/tslmake_db.h"

namespace {

const char kDatabase[] = R"(
field "Farbe"
category 1 -1 "Obst"
category 2 -1 "Gemuese"
data 10 "Apfel" "rot"
data 11 "Birne" "gelb"
data 12 "Kohl" "gruen"
entry 0 1 -1 category pos 0
entry 1 1 10 data pos 0
entry 2 1 11 data pos 1
entry 3 2 -1 category pos 1
entry 4 2 12 data pos 0
)";

// Page 1: the page list (kind 9), the transparent list of the current
// record's category (kind 19) over a top-to-bottom gradient, a combo box of
// the same category (kind 11); page 2 is plain red.
const char kProject[] = R"(
size 640 480
page 1 "Listen"
  background gradient #2040C0 #000010
  database "tslpages_lists.dbd"
  object list "Seiten" 20 20 200 140
    list pages 1 2 font "Arial" 17
  object listwindow "Eintraege" 220 20 420 300
    list category 1 font "Arial" 17 colour #FFFFFF
  object combo "Auswahl" 440 20 620 200
    combo category 1
page 2 "Zwei"
  background colour #C00000
)";

struct Found {
  HWND page = nullptr, pages = nullptr, list = nullptr, combo = nullptr;
};

BOOL CALLBACK FindWindows(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<Found*>(l);
  char name[256] = {};
  ::GetClassNameA(w, name, sizeof name);
  const std::string cls = name;
  if (cls.find("TObjectWindow") != std::string::npos) f->page = w;
  if (!::IsWindowVisible(w)) return TRUE;
  if (cls == "ListBox") f->pages = w;
  if (cls == "TSLListWindow") f->list = w;
  if (cls == "ComboBox") f->combo = w;
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

bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000) {
  for (DWORD waited = 0; waited < ms; waited += 50, ::Sleep(50))
    if (done()) return true;
  return done();
}

POINT ClientPoint(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return p;
}

// The transparent list's row height: its font's "MgGyÖ" plus the margins.
int RowHeight() {
  HDC screen = ::GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfHeight = -::MulDiv(17, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  lf.lfOutPrecision = OUT_STROKE_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  std::strcpy(lf.lfFaceName, "Arial");
  HFONT font = ::CreateFontIndirectA(&lf);
  HGDIOBJ old = ::SelectObject(screen, font);
  SIZE s{};
  ::GetTextExtentPoint32A(screen, "MgGy\xD6", 5, &s);
  ::SelectObject(screen, old);
  ::DeleteObject(font);
  ::ReleaseDC(nullptr, screen);
  return s.cy + 4;
}

// How many pixels of a row of the list show the page (the colour the page
// has at the same height just left of the list), the highlight, and white
// (the text).
struct RowPixels {
  int Page = 0, Highlight = 0, Text = 0, All = 0;
};

RowPixels CountRow(HWND page, HWND list, int top, int bottom) {
  RECT r;
  ::GetWindowRect(list, &r);
  ::MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&r), 2);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  RowPixels n;
  for (int y = top + 2; y < bottom - 2; y += 2) {
    const COLORREF beside = Pixel(page, r.left - 6, r.top + y);
    for (int x = 4; x < r.right - r.left - 4; x += 3) {
      const COLORREF c = Pixel(list, x, y);
      ++n.All;
      if (c == beside) ++n.Page;
      else if (c == highlight) ++n.Highlight;
      else if (c == RGB(255, 255, 255)) ++n.Text;
    }
  }
  return n;
}

}  // namespace

TEST(Lists, PagesEntriesAndTheComboOnThePlayer) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(kDatabase, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  WriteBytes(TempPath("lists.dbd"), dbd.Data());
  WriteBytes(TempPath("lists.dbi"), dbi.Data());
  const std::string project = TempPath("lists.crt");
  WriteBytes(project, BuildProject(kProject));

  TPlayerRun player("\"" + project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  Found f;
  ASSERT_TRUE(WaitFor([&] { return (f = Windows(frame)).page && f.pages && f.list && f.combo; }))
      << "page " << f.page << " list box " << f.pages << " list " << f.list << " combo " << f.combo;
  HWND page = f.page;

  const auto count = [](HWND w, UINT msg) { return static_cast<int>(::SendMessageA(w, msg, 0, 0)); };
  EXPECT_TRUE(WaitFor([&] { return count(f.pages, LB_GETCOUNT) == 2; })) << "the page list: " << count(f.pages, LB_GETCOUNT);
  // The page starts on the first entry, a category: its first data entry,
  // Apfel, is current, and the combo lists Obst's entries with it selected.
  EXPECT_TRUE(WaitFor([&] { return count(f.combo, CB_GETCOUNT) == 2 && count(f.combo, CB_GETCURSEL) == 0; }))
      << count(f.combo, CB_GETCOUNT) << " items, selected " << count(f.combo, CB_GETCURSEL);

  // The transparent list: Apfel highlighted, Birne's row the page between
  // its white letters, the empty rows below the gradient.
  const int rh = RowHeight();
  wintest::PumpFor(300);
  RowPixels apfel, birne, empty;
  ASSERT_TRUE(WaitFor([&] {
    apfel = CountRow(page, f.list, 0, rh);
    return apfel.Highlight > apfel.All / 2 && apfel.Text > 0;
  })) << "highlight " << apfel.Highlight << " text " << apfel.Text << " of " << apfel.All;
  birne = CountRow(page, f.list, rh, 2 * rh);
  EXPECT_GT(birne.Text, 0) << "Birne's letters";
  EXPECT_GT(birne.Page, birne.All / 2) << "the page between the letters: " << birne.Page << " of " << birne.All;
  EXPECT_EQ(birne.Highlight, 0);
  empty = CountRow(page, f.list, 3 * rh, 280);
  EXPECT_EQ(empty.Page, empty.All) << "the empty rows show the page";
  EXPECT_NE(Pixel(f.list, 100, 3 * rh + 2), Pixel(f.list, 100, 270)) << "a gradient, not one colour";

  // A click on Birne makes it current: the highlight moves and the combo
  // follows.
  ASSERT_TRUE(ClickAt(ClientPoint(f.list, 60, rh + rh / 2)));
  EXPECT_TRUE(WaitFor([&] { return count(f.combo, CB_GETCURSEL) == 1; })) << "the combo stayed on "
                                                                           << count(f.combo, CB_GETCURSEL);
  EXPECT_TRUE(WaitFor([&] {
    birne = CountRow(page, f.list, rh, 2 * rh);
    return birne.Highlight > birne.All / 2;
  })) << "Birne's row: highlight " << birne.Highlight << " of " << birne.All;
  apfel = CountRow(page, f.list, 0, rh);
  EXPECT_EQ(apfel.Highlight, 0);
  // The arrow key moves the current row and chooses its record too.
  ASSERT_TRUE(PressKeys("Up"));
  EXPECT_TRUE(WaitFor([&] { return count(f.combo, CB_GETCURSEL) == 0; })) << "Up: the combo stayed on "
                                                                          << count(f.combo, CB_GETCURSEL);
  EXPECT_TRUE(WaitFor([&] {
    apfel = CountRow(page, f.list, 0, rh);
    return apfel.Highlight > apfel.All / 2;
  })) << "Apfel's row: highlight " << apfel.Highlight << " of " << apfel.All;
  if (const char* dir = std::getenv("TSL_SCREENSHOT_DIR"))
    std::system(("import -window root '" + std::string(dir) + "/lists.png'").c_str());

  // The page list: the current page's line changes nothing, the other one
  // goes to its page.
  const int itemHeight = static_cast<int>(::SendMessageA(f.pages, LB_GETITEMHEIGHT, 0, 0));
  const COLORREF red = RGB(0xC0, 0x00, 0x00);
  ASSERT_TRUE(ClickAt(ClientPoint(f.pages, 40, itemHeight / 2)));
  ASSERT_TRUE(WaitFor([&] { return count(f.pages, LB_GETCURSEL) == 0; }));
  wintest::PumpFor(500);
  EXPECT_NE(Pixel(page, 600, 450), red);
  EXPECT_TRUE(::IsWindow(f.pages) && ::IsWindowVisible(f.pages)) << "the page was built again";
  ASSERT_TRUE(ClickAt(ClientPoint(f.pages, 40, itemHeight + itemHeight / 2)));
  EXPECT_TRUE(WaitFor([&] { return Pixel(page, 600, 450) == red; })) << "the page did not change";

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  for (const char* ext : {".dbd", ".dbi", ".crt"}) ::DeleteFileA(TempPath(std::string("lists") + ext).c_str());
}
