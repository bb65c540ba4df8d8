// The search dialog in-process, on a project of four pages bound to one
// tree database, with the scripted UI service answering its messages: the
// texts of a search, the ini texts, the progress of an all-pages walk, a
// hit on another page, and a page change and an Escape arriving while the
// dialog walks the pages.
#include "pagefixture.h"

#include <vector>

#include "actions/progressdlg.h"
#include "database/searchdlg.h"
#include "engine/startup.h"
#include "foundation/gauge.h"
#include "platform/owl/combobox.h"
#include "platform/owl/uiscript.h"
#include "tools/core/tslmake_db.h"

namespace {

const char kBooks[] = R"(
field "Autor"
field "Ort"
field "Titel"
category 1 -1 "Buecher"
data 10 "Faust" "Goethe" "Weimar" "Faust"
data 11 "Kabale" "Schiller" "Mannheim" "Kabale und Liebe"
data 12 "Werther" "Goethe" "Wetzlar" "Die Leiden des jungen Werther"
data 13 "Raeuber" "Schiller" "Mannheim" "Die Raeuber"
data 14 "Tell" "Schiller" "Altdorf" "Wilhelm Tell"
entry 0 1 -1 category
entry 1 1 10 data pos 0
entry 2 1 11 data pos 1
entry 3 1 12 data pos 2
entry 4 1 13 data pos 3
entry 5 1 14 data pos 4
)";

// Four pages bound to the database; the text bound to "Ort" shows the
// current entry's place.
const char kProject[] = R"(
size 320 200
page 1 "Eins"
  database "tslsd_books.dat"
page 2 "Zwei"
  database "tslsd_books.dat"
page 3 "Drei"
  database "tslsd_books.dat"
page 4 "Vier"
  database "tslsd_books.dat"
  object text "Ort" 10 10 200 40
    proptext "Ort"
)";

void WriteBooks() {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(kBooks, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  wintest::WriteFileBytes(wintest::TempPath("tslsd_books.dbd"), dbd.Data());
  wintest::WriteFileBytes(wintest::TempPath("tslsd_books.dbi"), dbi.Data());
  wintest::WriteFileBytes(wintest::TempPath("tslsd_books.dat"), {'x'});
}

TActionStruct SearchAction(uint32_t options) {
  TActionStruct a;
  a.Code = StoredActionCode(TActionCode::OpenSearchDialog);
  a.Flags2 = options;
  a.Strings.Add("Autor");
  a.Strings.Add("Ort");
  a.Strings.Add("Titel");
  return a;
}

class SearchDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    WriteBooks();
    wintest::PageOptions o;
    o.File = "tslsd_books.crt";
    o.W = 320;
    o.H = 200;
    Page = std::make_unique<wintest::FramedPage>(kProject, o);
    ASSERT_NE(Page->Book, nullptr);
    SetSearchDialogIniPath(wintest::TempPath("tslsd_none.ini"));
    SearchDialogState() = TSearchDialogState();
  }
  void TearDown() override {
    Page.reset();
    SetSearchDialogIniPath("");
    for (const char* ext : {".dbd", ".dbi", ".dat"}) ::DeleteFileA(wintest::TempPath(std::string("tslsd_books") + ext).c_str());
  }

  TSearchDialog* Open(uint32_t options) {
    OpenSearchDialogFor(TSearchDialogKind::Search, SearchAction(options), Page->Book);
    return static_cast<TSearchDialog*>(OpenSearchDialogOf(TSearchDialogKind::Search));
  }
  static void Type(TSearchDialog* d, const char* word) { ::SetDlgItemTextA(d->HWindow, kSearchWordId, word); }
  static void Tick(TSearchDialog* d, int id, bool on) {
    ::SendDlgItemMessageA(d->HWindow, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  static std::vector<std::string> Items(TSearchDialog* d) {
    std::vector<std::string> items;
    HWND list = ::GetDlgItem(d->HWindow, kHitListId);
    const int n = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[512] = {};
      ::SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  // Waits for the dialog's deferred end.
  static bool Gone(HWND dialog) {
    return wintest::PumpUntil([&] { return !::IsWindow(dialog) && !OpenSearchDialogOf(TSearchDialogKind::Search); },
                              5000);
  }

  std::unique_ptr<wintest::FramedPage> Page;
};

std::string Text(const TScriptedUiService& ui, size_t i) {
  return i < ui.Requests().size() ? ui.Requests()[i].Text : "<no message " + std::to_string(i) + ">";
}

}  // namespace

TEST_F(SearchDialogTest, MessagesOfTheCurrentPage) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TSearchDialog* d = Open(0x10);
  ASSERT_NE(d, nullptr);
  HWND ok = ::GetDlgItem(d->HWindow, IDOK);
  EXPECT_FALSE(::IsWindowEnabled(ok)) << "no word, no search";
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(d->HWindow, kShowHitId)));
  EXPECT_EQ(::IsDlgButtonChecked(d->HWindow, kClearHitsId), UINT(BST_CHECKED));
  {
    // The resource gives the controls their places: inside the dialog, none
    // over another.
    RECT client{};
    ::GetClientRect(d->HWindow, &client);
    std::vector<std::pair<int, RECT>> controls;
    for (HWND c = ::GetWindow(d->HWindow, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(c)) continue;
      RECT r{};
      ::GetWindowRect(c, &r);
      ::MapWindowPoints(nullptr, d->HWindow, reinterpret_cast<POINT*>(&r), 2);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << "control " << ::GetDlgCtrlID(c);
      for (const auto& [id, other] : controls) {
        RECT both{};
        EXPECT_FALSE(::IntersectRect(&both, &r, &other)) << ::GetDlgCtrlID(c) << " over " << id;
      }
      controls.emplace_back(::GetDlgCtrlID(c), r);
    }
    EXPECT_EQ(controls.size(), 11u);
  }

  struct Case {
    const char* what;
    const char* typed;
    bool clearBefore;
    const char* message;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"one hit", "Wetzlar", true, "Es wurde ein Eintrag gefunden.", {"Suchwort=Wetzlar, 1.er Eintrag"}},
      {"the same again, the list kept", "  Wetzlar ", false, "Es wurde ein Eintrag gefunden.",
       {"Suchwort=Wetzlar, 1.er Eintrag", "Suchwort=Wetzlar, 1.er Eintrag"}},
      {"three hits", "schiller", true, "Es wurden 3 Eintr\xE4ge gefunden",
       {"Suchwort=schiller, 1.er Eintrag", "Suchwort=schiller, 2.er Eintrag", "Suchwort=schiller, 3.er Eintrag"}},
      {"none", "Kafka", true, "Eintrag nicht gefunden!", {}},
      {"quoted words joined by und, both in one field", "\"leiden\" und \"werther\"", true,
       "Es wurde ein Eintrag gefunden.", {"Suchwort=\"leiden\" und \"werther\", 1.er Eintrag"}},
      {"quoted words in two fields", "\"goethe\" und \"weimar\"", true, "Eintrag nicht gefunden!", {}},
      {"odd quotes", "\"goethe", true, "Falsche Anzahl von Anf\xFChrungsstrichen!", {}},
      {"a faulty query", "\"goethe\" und", true, "Fehlerhafte Suchabfrage!", {}},
      {"an endless loop outside the quotes", "solange 1 mache \"a\"", true, "Fehlerhafte Suchabfrage!", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui.Clear();
    Type(d, c.typed);
    EXPECT_TRUE(::IsWindowEnabled(ok));
    Tick(d, kClearHitsId, c.clearBefore);
    d->Search();
    ASSERT_EQ(ui.Requests().size(), 1u);
    EXPECT_EQ(Text(ui, 0), c.message);
    EXPECT_STREQ(ui.Requests()[0].Caption.c_str(), ProgramTitle());
    EXPECT_EQ(ui.Requests()[0].Type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(Items(d), c.items);
  }
  EXPECT_EQ(SearchDialogState().LastWord, "solange 1 mache \"a\"") << "the user's word, not the query text";

  ui.Clear();
  ::SendMessageA(d->HWindow, WM_COMMAND, kSearchHelpId, 0);
  const std::string help = Text(ui, 0);
  EXPECT_NE(help.find("\"Bonn\" und \"Rhein\""), std::string::npos) << help;
  EXPECT_NE(help.find("Klammern"), std::string::npos) << help;

  // A second opening while the dialog is open does nothing.
  EXPECT_EQ(Open(0), d);
  HWND dialog = d->HWindow;
  ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Gone(dialog));
  // The next one opens with the last word and box 105 ticked again.
  TSearchDialog* next = Open(0);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(::IsDlgButtonChecked(next->HWindow, kClearHitsId), UINT(BST_CHECKED));
  char word[64] = {};
  ::GetDlgItemTextA(next->HWindow, kSearchWordId, word, sizeof word);
  EXPECT_STREQ(word, "solange 1 mache \"a\"");
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(next->HWindow, kShowHitId)));
}

TEST_F(SearchDialogTest, TextsFromTheIniFile) {
  const std::string ini = wintest::TempPath("tslsd_texts.ini");
  const std::string text =
      "[SEARCHDIALOG_RC]\r\nCAPTION=Finden\r\nTITLE_SEARCHWORD=Begriff:\r\nTITLE_OK_BUTTON=&Los\r\n"
      "TITLE_CASESENSITIVE=Gro\xDF und klein\r\nTITLE_HELP_TEXT=Erstens$\xA7Zweitens\r\n"
      "TITLE_MULTIPLE_ENTRIES_FOUND=%s %d\r\nTITLE_NOT_FOUND=Nichts da\r\nTITLE_ERR_MSG=Falsch!\r\n";
  ASSERT_TRUE(wintest::WriteFileBytes(ini, std::vector<uint8_t>(text.begin(), text.end())));
  SetSearchDialogIniPath(ini);
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TSearchDialog* d = Open(0x10);
  ASSERT_NE(d, nullptr);
  auto item = [d](int id) {
    char s[256] = {};
    if (id) ::GetDlgItemTextA(d->HWindow, id, s, sizeof s);
    else ::GetWindowTextA(d->HWindow, s, sizeof s);
    return std::string(s);
  };
  EXPECT_EQ(item(0), "Finden");
  EXPECT_EQ(item(kSearchWordLabelId), "Begriff:");
  EXPECT_EQ(item(IDOK), "&Los");
  EXPECT_EQ(item(kMatchCaseId), "Gro\xDF und klein");
  EXPECT_EQ(item(kWholeWordId), "Ganzes Wort") << "an unset key keeps the resource's text";

  ::SendMessageA(d->HWindow, WM_COMMAND, kSearchHelpId, 0);
  EXPECT_EQ(Text(ui, 0), "Erstens\n\tZweitens");
  struct Case {
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"Schiller", "%s 3"},  // the first %d takes the number; no printf of the rest
      {"Kafka", "Nichts da"},
      {"\"a", "Falsch!"},
      {"\"a\" oder", "Falsch!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ui.Clear();
    Type(d, c.typed);
    d->Search();
    EXPECT_EQ(Text(ui, 0), c.message);
  }
  ::DeleteFileA(ini.c_str());
}

namespace {

// Sees the search dialog repainted after every page of a walk (the WM_PAINT
// sent to it at once) and the progress gauge then.
struct WalkWatch {
  static WalkWatch* Current;
  HWND Dialog = nullptr;
  std::vector<int> Progress;
  std::string ProgressTitle;
  std::function<void(int step)> AtStep;
  HHOOK Hook = nullptr;

  explicit WalkWatch(HWND dialog) : Dialog(dialog) {
    Current = this;
    Hook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &Proc, nullptr, ::GetCurrentThreadId());
  }
  ~WalkWatch() {
    ::UnhookWindowsHookEx(Hook);
    Current = nullptr;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(l);
    WalkWatch* self = Current;
    if (code == HC_ACTION && self && m->hwnd == self->Dialog && m->message == WM_PAINT) {
      if (TProgressDialog* p = ReportProgressDialog()) {
        if (p->Gauge && (self->Progress.empty() || self->Progress.back() != p->Gauge->Value)) {
          self->Progress.push_back(p->Gauge->Value);
          char title[128] = {};
          ::GetWindowTextA(p->HWindow, title, sizeof title);
          self->ProgressTitle = title;
          if (self->AtStep) self->AtStep(static_cast<int>(self->Progress.size()));
        }
      }
    }
    return ::CallNextHookEx(nullptr, code, w, l);
  }
};
WalkWatch* WalkWatch::Current = nullptr;

}  // namespace

TEST_F(SearchDialogTest, AllPagesShowProgressAndAHitOnAnotherPage) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TSearchDialog* d = Open(0x08);
  ASSERT_NE(d, nullptr);
  Type(d, "Wetzlar");
  {
    WalkWatch watch(d->HWindow);
    d->Search();
    // The gauge's range starts at 1: 0 shows as 1.
    EXPECT_EQ(watch.Progress, (std::vector<int>{1, 25, 50, 75}));
    EXPECT_EQ(watch.ProgressTitle, "Durchsuche Datenbank...");
  }
  EXPECT_EQ(ReportProgressDialog(), nullptr) << "closed at the end";
  EXPECT_TRUE(::IsWindowEnabled(d->HWindow));
  EXPECT_EQ(Text(ui, 0), "Es wurden 4 Eintr\xE4ge gefunden");
  ASSERT_EQ(Items(d).size(), 4u);
  ASSERT_EQ(d->Hits().GetItemsInContainer(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d->Hits()[i]->PageIndex, i);
  ASSERT_NE(d->HiddenPageWindow(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(d->HiddenPageWindow()->HWindow));
  TObjectWindow* hidden = d->HiddenPageWindow();
  d->Search();
  EXPECT_EQ(d->HiddenPageWindow(), hidden) << "one hidden page window per dialog";

  // Choosing the hit of page 4 goes there and makes its entry current; the
  // page change ends the dialog after the handler.
  HWND dialog = d->HWindow;
  ::SendDlgItemMessageA(dialog, kHitListId, CB_SETCURSEL, 3, 0);
  d->HitSelected();
  EXPECT_EQ(Page->Book->CurrentPage, 3);
  EXPECT_EQ(Page->Book->CurrentRecord(), 3);
  EXPECT_TRUE(Gone(dialog));
}

TEST_F(SearchDialogTest, APageChangeAndAnEscapeDuringTheWalk) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TSearchDialog* d = Open(0x08);
  ASSERT_NE(d, nullptr);
  HWND dialog = d->HWindow;
  Type(d, "Goethe");
  {
    WalkWatch watch(dialog);
    watch.AtStep = [&](int step) {
      if (step != 2) return;
      // What the timer would deliver: an automatic page change, then the
      // user's Escape and a second "&Suchen".
      TSysTimeManagerMsg msg;
      msg.Receiver = Page->Book;
      msg.Kind = kAdvanceOnPageMsg;
      msg.OwnerId = 2;
      msg.Param3 = static_cast<uintptr_t>(Page->Book->CurrentPage);
      Page->Book->ExecuteAction(Page->Book->GetTimeManager(), msg);
      ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
    d->Search();
    EXPECT_EQ(watch.Progress.size(), 4u) << "the walk went on to its end";
  }
  EXPECT_EQ(Page->Book->CurrentPage, 2);
  EXPECT_EQ(Text(ui, 0), "Es wurden 8 Eintr\xE4ge gefunden");
  EXPECT_EQ(ui.Requests().size(), 1u);
  EXPECT_EQ(OpenSearchDialogOf(TSearchDialogKind::Search), nullptr) << "the page change let go of it";
  EXPECT_TRUE(Gone(dialog));
  // A new dialog opens after it.
  EXPECT_NE(Open(0), nullptr);
}

TEST_F(SearchDialogTest, AStayingDialogOutlivesThePageChange) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TSearchDialog* d = Open(0x08);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->StaysOpen, 0) << "nothing sets it";
  d->StaysOpen = 1;
  HWND dialog = d->HWindow;
  ASSERT_TRUE(Page->Book->GotoPage(1, 1, -1, 1));
  wintest::PumpFor(200);
  EXPECT_EQ(OpenSearchDialogOf(TSearchDialogKind::Search), d);
  EXPECT_TRUE(::IsWindowVisible(dialog)) << "hidden for the change, shown by the new page";
  ::SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Gone(dialog));
}
