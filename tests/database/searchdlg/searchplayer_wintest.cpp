// The search dialog through the real player: the demo's two database pages
// as a project of their own, searched over both pages and over one, with
// xdotool typing and clicking as a user would.
#include "playerscreen.h"

#include "engine/core/format/rawio.h"
#include "engine/core/format/standarddata.h"
#include "engine/objectfactory.h"
#include "tools/core/tslmake_db.h"

namespace {

std::string DemoFile(const std::string& name) {
  const std::vector<uint8_t> bytes = wintest::ReadFileBytes(ProgramFolder() + "..\\..\\..\\examples\\demo\\" + name);
  return std::string(bytes.begin(), bytes.end());
}

// The demo's page `heading` as page `number`, its database renamed.
std::string DemoPage(const std::string& demo, const std::string& heading, int number, const std::string& from,
                     const std::string& to) {
  const size_t start = demo.find("\n" + heading);
  if (start == std::string::npos) return {};
  const size_t end = demo.find("\npage ", start + 1);
  std::string page = demo.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
  page.replace(0, page.find('"') - 1, "page " + std::to_string(number));
  const size_t db = page.find(from);
  if (db != std::string::npos) page.replace(db, from.size(), to);
  return page + "\n";
}

bool WriteDatabase(const std::string& description, const std::string& stem) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  EXPECT_TRUE(tslmake::ParseDatabase(description, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  return wintest::WriteFileBytes(stem + ".dbd", dbd.Data()) && wintest::WriteFileBytes(stem + ".dbi", dbi.Data());
}

struct TDialogQuery {
  DWORD Pid;
  HWND Except;
  std::string Caption;
  HWND Found = nullptr;
};
BOOL CALLBACK MatchDialog(HWND w, LPARAM l) {
  auto* q = reinterpret_cast<TDialogQuery*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[32] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid != q->Pid || w == q->Except || lstrcmpiA(cls, "#32770") != 0 || !::IsWindowVisible(w)) return TRUE;
  if (!q->Caption.empty() && WindowText(w) != q->Caption) return TRUE;
  // Without a caption: a message box (the progress dialog has no text).
  if (q->Caption.empty() && MessageBoxText(w).empty()) return TRUE;
  q->Found = w;
  return FALSE;
}
// A visible dialog of the player with the caption (a message box with ""),
// other than `except`; null when none came within the time.
HWND WaitForDialog(const TPlayerRun& player, const std::string& caption, HWND except = nullptr, DWORD ms = 20000) {
  const DWORD start = ::GetTickCount();
  do {
    TDialogQuery q{player.Info.dwProcessId, except, caption};
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&q));
    if (q.Found) return q.Found;
    ::Sleep(20);
  } while (::GetTickCount() - start < ms);
  return nullptr;
}
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(50);
  }
  return true;
}

// Pixels of an area of the page that are close to `colour`, and the area
// itself, as the screen shows them.
struct TArea {
  int Left, Top, Right, Bottom;
};
int CountNear(const ClientShot& shot, const TArea& a, COLORREF colour, int tolerance = 40) {
  int n = 0;
  for (int y = a.Top; y < a.Bottom && y < shot.Height; ++y)
    for (int x = a.Left; x < a.Right && x < shot.Width; ++x) {
      const COLORREF c = shot.At(x, y);
      if (std::abs(GetRValue(c) - GetRValue(colour)) < tolerance &&
          std::abs(GetGValue(c) - GetGValue(colour)) < tolerance && std::abs(GetBValue(c) - GetBValue(colour)) < tolerance)
        ++n;
    }
  return n;
}
std::vector<uint32_t> Cut(const ClientShot& shot, const TArea& a) {
  std::vector<uint32_t> out;
  for (int y = a.Top; y < a.Bottom; ++y)
    for (int x = a.Left; x < a.Right; ++x) out.push_back(shot.Pixels[static_cast<size_t>(y) * shot.Width + x]);
  return out;
}

// The page's search buttons and the text bound to "Beschreibung" on the
// towns' page (from the demo's pages).
const POINT kSearchAll{380, 365}, kSearchHere{550, 365};
const TArea kDescription{300, 140, 620, 180}, kTown{300, 40, 620, 80};
constexpr COLORREF kDescriptionInk = RGB(0x40, 0x40, 0x40), kTownInk = RGB(0, 0, 0x60);

// The books' page is up: the top of its gradient beside the tree.
bool ShowsBooksPage(HWND page) {
  return ::IsWindowVisible(page) && CountNear(ShootClient(page), TArea{280, 2, 290, 8}, RGB(0xF0, 0xF0, 0xE0), 12) == 60;
}

class SearchPlayer : public ::testing::Test {
protected:
  // The project and its databases go into `folder`.
  void SetUp() override { Write(TempFolder()); }
  void Write(const std::string& folder) {
    Folder = folder;
    ASSERT_TRUE(WriteDatabase(DemoFile("demo.tdb"), folder + "tslsp_buch"));
    ASSERT_TRUE(WriteDatabase(DemoFile("demo_orte.tdb"), folder + "tslsp_orte"));
    const std::string demo = DemoFile("demo.tsd");
    const std::string books = DemoPage(demo, "page 4 \"Datenbank\"", 1, "demo.dbd", "tslsp_buch.dbd");
    const std::string towns = DemoPage(demo, "page 12 \"Orte\"", 2, "demo_orte.dbd", "tslsp_orte.dbd");
    ASSERT_FALSE(books.empty() || towns.empty()) << "the demo's database pages";
    Project = WriteProjectFile(folder + "tsl_search_e2e.crt",
                               "title \"Suchprobe\"\nsize 640 480\nflags caption sysmenu\n" + books + towns);
  }
  void TearDown() override {
    const std::string& folder = Folder;
    for (const char* f : {"tslsp_buch.dbd", "tslsp_buch.dbi", "tslsp_orte.dbd", "tslsp_orte.dbi", "tsl_search_e2e.crt"})
      ::DeleteFileA((folder + f).c_str());
  }

  void Click(HWND page, POINT p) {
    ::ClientToScreen(page, &p);
    ASSERT_TRUE(ClickAt(p));
  }
  // Opens the dialog by the page's button, puts `word` into its edit and
  // presses "&Suchen"; returns the dialog and the message box that follows.
  void Search(const TPlayerRun& player, HWND page, POINT button, const std::string& word, HWND& dialog, HWND& box,
              bool typed = true, DWORD messageMs = 20000) {
    dialog = WaitForDialog(player, "Suchfunktion", nullptr, 0);
    if (!dialog) {
      Click(page, button);
      dialog = WaitForDialog(player, "Suchfunktion");
    }
    ASSERT_NE(dialog, nullptr) << "no search dialog";
    HWND edit = ::GetDlgItem(dialog, 101);
    if (typed) {
      ASSERT_TRUE(ClickWindow(edit));
      ASSERT_TRUE(PressKeys("End shift+Home BackSpace"));
      ASSERT_TRUE(TypeText(word));
    } else {
      ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()));
    }
    ASSERT_TRUE(ClickWindow(::GetDlgItem(dialog, IDOK)));
    box = WaitForDialog(player, "", dialog, messageMs);
    ASSERT_NE(box, nullptr) << "no message after the search";
  }
  static void Dismiss(HWND box) {
    ::SetForegroundWindow(box);
    ASSERT_TRUE(PressKeys("Return"));
    ASSERT_TRUE(WaitUntil([box] { return !::IsWindow(box) || !::IsWindowVisible(box); }));
  }

  // The items of the dialog's hit list.
  static std::vector<std::string> Items(HWND dialog) {
    std::vector<std::string> items;
    HWND list = ::GetDlgItem(dialog, 104);
    const int n = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[512] = {};
      ::SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }

  std::string Folder;
  std::string Project;
};

}  // namespace

TEST_F(SearchPlayer, FindsShowsAndSurvivesHostileQueries) {
  TPlayerRun player("\"" + Project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = ::GetWindow(frame, GW_CHILD);
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(WaitUntil([page] { return ShowsBooksPage(page); })) << "page 1";

  HWND dialog = nullptr, box = nullptr;
  {
    SCOPED_TRACE("a word over both pages");
    Search(player, page, kSearchAll, "Frauenkirche", dialog, box);
    EXPECT_EQ(MessageBoxText(box), "Es wurde ein Eintrag gefunden.");
    Dismiss(box);
    HWND list = ::GetDlgItem(dialog, 104);
    EXPECT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), 1);
    // Choosing the hit, which lies on the other page: the list opens below
    // the box and its first line is the hit.
    RECT r{};
    ::GetWindowRect(list, &r);
    ASSERT_TRUE(ClickWindow(list));
    ASSERT_TRUE(WaitUntil([list] { return ::SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, r.bottom + 6}));
    EXPECT_TRUE(WaitUntil([dialog] { return !::IsWindow(dialog); })) << "the page change ends the dialog";
  }
  ClientShot dresden;
  EXPECT_TRUE(WaitUntil([&] {
    dresden = ShootClient(page);
    return CountNear(dresden, kTown, kTownInk) > 20 && CountNear(dresden, kDescription, kDescriptionInk) > 20;
  })) << "the town's name and description on the towns' page";
  {
    SCOPED_TRACE("quoted words joined by und over this page");
    Search(player, page, kSearchHere, "\"dom\" und \"rhein\"", dialog, box);
    EXPECT_EQ(MessageBoxText(box), "Es wurde ein Eintrag gefunden.");
    Dismiss(box);
    EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, 104), CB_GETCOUNT, 0, 0), 1);
    ClientShot cologne;
    EXPECT_TRUE(WaitUntil([&] {
      cologne = ShootClient(page);
      return Cut(cologne, kTown) != Cut(dresden, kTown) && Cut(cologne, kDescription) != Cut(dresden, kDescription);
    })) << "another entry shown at once";
    EXPECT_GT(CountNear(cologne, kTown, kTownInk), 20);
    EXPECT_GT(CountNear(cologne, kDescription, kDescriptionInk), 20);
  }
  struct Hostile {
    const char* what;
    std::string query;
  };
  const Hostile hostile[] = {
      {"an endless loop outside the quotes", "solange 1 mache \"dom\""},
      {"parentheses nested 10,000 deep", std::string(10000, '(') + "\"dom\"" + std::string(10000, ')')},
  };
  for (const Hostile& h : hostile) {
    SCOPED_TRACE(h.what);
    // The message within two seconds of the click.
    Search(player, page, kSearchHere, h.query, dialog, box, false, 2000);
    EXPECT_EQ(MessageBoxText(box), "Fehlerhafte Suchabfrage!");
    Dismiss(box);
    ASSERT_TRUE(player.Running());
  }
  {
    SCOPED_TRACE("and the player goes on");
    Search(player, page, kSearchHere, "Bonn", dialog, box);
    EXPECT_EQ(MessageBoxText(box), "Es wurde ein Eintrag gefunden.");
    Dismiss(box);
  }
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
}

// The search list dialogs of the towns' page, over that page: in the word
// list typing picks a town and "Anzeigen" shows its entry; in the three
// steps, unmarking the one word typed empties the topic list.
TEST_F(SearchPlayer, WordListsPickAndNarrow) {
  const POINT wordList{380, 315}, threeSteps{550, 315};
  TPlayerRun player("\"" + Project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = ::GetWindow(frame, GW_CHILD);
  ASSERT_TRUE(WaitUntil([page] { return ShowsBooksPage(page); })) << "page 1";
  HWND dialog = nullptr, box = nullptr;
  // To the towns' page by a hit there.
  Search(player, page, kSearchAll, "Frauenkirche", dialog, box);
  Dismiss(box);
  HWND hits = ::GetDlgItem(dialog, 104);
  RECT r{};
  ::GetWindowRect(hits, &r);
  ASSERT_TRUE(ClickWindow(hits));
  ASSERT_TRUE(WaitUntil([hits] { return ::SendMessageA(hits, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, r.bottom + 6}));
  ASSERT_TRUE(WaitUntil([dialog] { return !::IsWindow(dialog); }));
  // The description once it shows another entry than `before`, and stays.
  const auto shownAfter = [page](const std::vector<uint32_t>& before, ClientShot& shot) {
    return WaitUntil([&] {
      shot = ShootClient(page);
      if (CountNear(shot, kDescription, kDescriptionInk) <= 20 || Cut(shot, kDescription) == before) return false;
      ::Sleep(150);
      const ClientShot again = ShootClient(page);
      const bool settled = Cut(again, kDescription) == Cut(shot, kDescription);
      shot = again;
      return settled;
    });
  };
  ClientShot frauenkirche;
  ASSERT_TRUE(shownAfter({}, frauenkirche)) << "the towns' page";

  Click(page, wordList);
  HWND list = WaitForDialog(player, "Suchfunktion");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(::SendDlgItemMessageA(list, 101, LB_GETCOUNT, 0, 0), 5) << "the five towns";
  // The dialog opens centred over the page: moved beside it, the page's
  // texts can be seen.
  RECT frameRect{};
  ::GetWindowRect(frame, &frameRect);
  ::SetWindowPos(list, nullptr, frameRect.right + 10, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  // The towns' lines in their order: Bonn, Dresden, Koeln, Magdeburg, Mainz.
  const auto focusOn = [](HWND control) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(control, nullptr), &info) && info.hwndFocus == control;
  };
  HWND edit = ::GetDlgItem(list, 100);
  auto show = [&](const std::string& typed, int line, const ClientShot& before, ClientShot& after) {
    SCOPED_TRACE(typed);
    ASSERT_TRUE(ClickWindow(edit));
    ASSERT_TRUE(WaitUntil([&] { return focusOn(edit); })) << "the edit has the keys";
    ASSERT_TRUE(PressKeys("End shift+Home BackSpace"));
    ASSERT_TRUE(TypeText(typed));
    ASSERT_TRUE(WaitUntil([&] {
      char text[64] = {};
      ::SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      return typed == text;
    }));
    EXPECT_EQ(::SendDlgItemMessageA(list, 101, LB_GETCURSEL, 0, 0), line) << "typing selects the town";
    ASSERT_TRUE(ClickWindow(::GetDlgItem(list, IDOK)));
    ASSERT_TRUE(shownAfter(Cut(before, kDescription), after)) << "its entry shown";
  };
  ClientShot cologne, magdeburg, again;
  show("koe", 2, frauenkirche, cologne);
  show("MAG", 3, cologne, magdeburg);
  show("k", 2, magdeburg, again);
  EXPECT_EQ(Cut(cologne, kDescription), Cut(again, kDescription)) << "the same entry again";
  EXPECT_TRUE(::IsWindow(list)) << "shown on request, the list stays open";
  ASSERT_TRUE(PressButton(list, IDCANCEL));
  ASSERT_TRUE(WaitUntil([list] { return !::IsWindow(list); }));

  Click(page, threeSteps);
  HWND steps = WaitForDialog(player, "Suchfunktion");
  ASSERT_NE(steps, nullptr);
  HWND marking = ::GetDlgItem(steps, 103), topics = ::GetDlgItem(steps, 101);
  ASSERT_TRUE(ClickWindow(::GetDlgItem(steps, 100)));
  ASSERT_TRUE(TypeText("frauen"));
  ASSERT_TRUE(WaitUntil([marking] { return ::SendMessageA(marking, LB_GETCOUNT, 0, 0) == 1; }));
  ASSERT_TRUE(WaitUntil([topics] { return ::SendMessageA(topics, LB_GETCOUNT, 0, 0) == 1; }));
  const auto ink = [](const ClientShot& shot) {
    return CountNear(shot, TArea{0, 0, shot.Width, shot.Height}, RGB(0, 0, 0)) +
           CountNear(shot, TArea{0, 0, shot.Width, shot.Height}, ::GetSysColor(COLOR_HIGHLIGHT));
  };
  EXPECT_TRUE(WaitUntil([&] { return ink(ShootClient(topics)) > 20; })) << "the topic of the word";
  // A click with Ctrl takes the mark off the word.
  POINT at{10, static_cast<int>(::SendMessageA(marking, LB_GETITEMHEIGHT, 0, 0)) / 2};
  ::ClientToScreen(marking, &at);
  ASSERT_TRUE(XdoTool("keydown ctrl"));
  ASSERT_TRUE(ClickAt(at));
  ASSERT_TRUE(XdoTool("keyup ctrl"));
  ASSERT_TRUE(WaitUntil([topics] { return ::SendMessageA(topics, LB_GETCOUNT, 0, 0) == 0; }));
  EXPECT_TRUE(WaitUntil([&] { return ink(ShootClient(topics)) == 0; })) << "the topic list shows nothing";
  ASSERT_TRUE(PressButton(steps, IDCANCEL));
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
}

namespace {

// "STANDARD.DAT" as the writer makes it, then damaged by `damage`.
void WriteStandardData(const std::string& path, const std::function<void(std::vector<uint8_t>&, size_t)>& damage) {
  const TDataCreator creator = [](int16_t k) { return std::unique_ptr<TData>(CreateKindRecord(k)); };
  TKindDefaults tables;
  MakeKindDefaults(tables, creator);
  tsl::MemoryStream all;
  ASSERT_TRUE(WriteKindDefaults(all, tables, creator));
  // Where the first kind's data record begins: its length field.
  tsl::MemoryStream head;
  tsl::WriteU32(kStandardDataMagic, head);
  tables.Infos[0]->Write(head);
  std::vector<uint8_t> bytes = all.Data();
  damage(bytes, static_cast<size_t>(head.Position()));
  ASSERT_TRUE(wintest::WriteFileBytes(path, bytes));
}

}  // namespace

// The defaults file that an all-pages search reloads for every page, in the
// project's folder (which is the player's, its data path): damaged, it
// changes no hit.
TEST_F(SearchPlayer, AllPagesFindTheSameWithADamagedStandardData) {
  TearDown();
  Write(ProgramFolder());
  const std::string standard = ProgramFolder() + "STANDARD.DAT";
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&, size_t)> damage;
  };
  const Case cases[] = {
      {"no file", nullptr},
      {"cut inside a record", [](std::vector<uint8_t>& b, size_t data) { b.resize(data + 6); }},
      {"a huge length", [](std::vector<uint8_t>& b, size_t data) {
         for (int i = 0; i < 4; ++i) b[data + i] = i == 3 ? 0x7F : 0xFF;
       }},
  };
  std::vector<std::string> plain;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::DeleteFileA(standard.c_str());
    if (c.damage) WriteStandardData(standard, c.damage);
    TPlayerRun player("\"" + Project + "\"");
    ASSERT_TRUE(player.Started);
    HWND frame = player.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    HWND page = ::GetWindow(frame, GW_CHILD);
    ASSERT_TRUE(WaitUntil([page] { return ShowsBooksPage(page); })) << "page 1";
    HWND dialog = nullptr, box = nullptr;
    Search(player, page, kSearchAll, "e", dialog, box, false);
    const std::string message = MessageBoxText(box);
    Dismiss(box);
    const std::vector<std::string> items = Items(dialog);
    if (!c.damage) {
      plain = items;
      EXPECT_EQ(message, "Es wurden " + std::to_string(items.size()) + " Eintr\xE4ge gefunden");
      EXPECT_GT(items.size(), 5u) << "hits on both pages";
    } else {
      EXPECT_EQ(items, plain);
    }
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.WaitForExit(), 0u);
  }
  ::DeleteFileA(standard.c_str());
}
