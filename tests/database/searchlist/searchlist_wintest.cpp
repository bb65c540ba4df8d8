// The two search list dialogs in-process, on a project of three pages (two
// bound to one tree database, one without), with the scripted UI service:
// the word lines and what typing selects, showing on change or on request,
// the all-pages words from the run's cache, the three steps' marking and
// topics, and a page change arriving while a set-up walks the pages.
#include "pagefixture.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "actions/progressdlg.h"
#include "database/searchdlg.h"
#include "database/searchlist.h"
#include "foundation/gauge.h"
#include "platform/owl/uiscript.h"
#include "tools/core/tslmake_db.h"

namespace {

const std::string kLong(80, 'L');
const std::string kLongLine(59, 'L');

// Field "Ort" holds places, "Thema" the topics as a list cut at ','.
const std::string kTowns = R"(
field "Ort"
field "Thema"
category 1 -1 "Staedte"
category 2 -1 "Burgen"
data 10 "Kiel" "Kiel" "Hafen, Kirche"
data 11 "Bonn" "Bonn" "Rhein,Beethoven"
data 12 "Bergheim" "Bergheim" "Burg,Kirche"
data 13 "Lang" ")" + kLong + R"(" "Rhein"
data 14 "Berlin" "berlin" "Burg"
entry 0 1 -1 category pos 0
entry 1 1 10 data pos 0
entry 2 1 11 data pos 1
entry 3 2 -1 category pos 1
entry 4 2 12 data pos 0
entry 5 2 13 data pos 1
entry 6 2 14 data pos 2
)";

// Pages 1 and 3 are bound to the database; page 2 has none.
const char kProject[] = R"(
size 320 200
page 1 "Eins"
  database "tslsl_towns.dat"
page 2 "Zwei"
page 3 "Drei"
  database "tslsl_towns.dat"
)";

void WriteTowns() {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(kTowns, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  wintest::WriteFileBytes(wintest::TempPath("tslsl_towns.dbd"), dbd.Data());
  wintest::WriteFileBytes(wintest::TempPath("tslsl_towns.dbi"), dbi.Data());
  wintest::WriteFileBytes(wintest::TempPath("tslsl_towns.dat"), {'x'});
}

constexpr uint32_t kList = 0x02, kCut = 0x04, kAll = 0x08, kOnRequest = 0x20, kThreeSteps = 0x40;

TActionStruct ListAction(uint32_t options) {
  TActionStruct a;
  a.Code = StoredActionCode(TActionCode::OpenSearchDialog);
  a.Flags2 = options;
  a.Flags &= ~kSearchTestNames;  // the fields' texts only, not the entries' names
  a.Strings.Add("Ort");
  a.Strings.Add("Thema");
  return a;
}

std::vector<std::string> Lines(HWND dialog, int id) {
  std::vector<std::string> lines;
  HWND list = ::GetDlgItem(dialog, id);
  const int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[256] = {};
    ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}

std::string Selected(HWND dialog, int id) {
  HWND list = ::GetDlgItem(dialog, id);
  const int at = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
  if (at < 0) return "<none>";
  char text[256] = {};
  ::SendMessageA(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<std::string> Marked(HWND dialog) {
  std::vector<std::string> marked;
  HWND list = ::GetDlgItem(dialog, kListMarkingId);
  const int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i)
    if (::SendMessageA(list, LB_GETSEL, i, 0) > 0) {
      char text[256] = {};
      ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      marked.push_back(text);
    }
  return marked;
}

// Selects a line as a click would, its notification included.
void Choose(HWND dialog, int id, int line) {
  HWND list = ::GetDlgItem(dialog, id);
  ::SendMessageA(list, LB_SETCURSEL, line, 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Watches the progress dialog of a set-up's walk: the gauge values seen
// while messages pass (not every step need show), and a hook into the walk
// at each new value.
struct ProgressWatch {
  static ProgressWatch* Current;
  std::vector<int> Values;
  std::string Title;
  std::function<void(int step)> AtStep;
  HHOOK Hook = nullptr;

  ProgressWatch() {
    Current = this;
    Hook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &Sent, nullptr, ::GetCurrentThreadId());
    Pumped = ::SetWindowsHookExA(WH_GETMESSAGE, &Taken, nullptr, ::GetCurrentThreadId());
  }
  ~ProgressWatch() {
    ::UnhookWindowsHookEx(Hook);
    ::UnhookWindowsHookEx(Pumped);
    Current = nullptr;
  }
  // The walk lets a message through per step, when there is one.
  static LRESULT CALLBACK Taken(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && w == PM_REMOVE) Look();
    return ::CallNextHookEx(nullptr, code, w, l);
  }
  static LRESULT CALLBACK Sent(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) Look();
    return ::CallNextHookEx(nullptr, code, w, l);
  }
  static void Look() {
    ProgressWatch* self = Current;
    TProgressDialog* p = ReportProgressDialog();
    // 100 is the walk's end, which closes the dialog; the gauge shows 0 as 1.
    if (!self || !p || !p->Gauge || p->Gauge->Value >= 100) return;
    const int value = std::max(1, static_cast<int>(p->Gauge->Value));
    if (!self->Values.empty() && self->Values.back() == value) return;
    self->Values.push_back(value);
    char title[128] = {};
    ::GetWindowTextA(p->HWindow, title, sizeof title);
    self->Title = title;
    if (self->AtStep) self->AtStep(static_cast<int>(self->Values.size()));
  }
  HHOOK Pumped = nullptr;
};
ProgressWatch* ProgressWatch::Current = nullptr;

class SearchListTest : public ::testing::Test {
protected:
  void SetUp() override {
    WriteTowns();
    wintest::PageOptions o;
    o.File = "tslsl_towns.crt";
    o.W = 320;
    o.H = 200;
    Page = std::make_unique<wintest::FramedPage>(kProject, o);
    ASSERT_NE(Page->Book, nullptr);
    SetSearchDialogIniPath(wintest::TempPath("tslsl_none.ini"));
    // The caches live for the run: every test starts from empty ones.
    SearchWordCache().Flush(tsl::DeleteType::Delete);
    SearchWordCache2().Flush(tsl::DeleteType::Delete);
  }
  void TearDown() override {
    for (TSearchDialogKind k : {TSearchDialogKind::SearchList, TSearchDialogKind::SearchList2})
      if (TSearchDialogBase* d = OpenSearchDialogOf(k)) ::SendMessageA(d->HWindow, WM_COMMAND, IDCANCEL, 0);
    wintest::PumpUntil([] { return false; }, 50);
    Page.reset();
    SetSearchDialogIniPath("");
    for (const char* ext : {".dbd", ".dbi", ".dat"}) ::DeleteFileA(wintest::TempPath(std::string("tslsl_towns") + ext).c_str());
  }

  TSearchDialogBase* Open(uint32_t options) {
    const TSearchDialogKind kind = (options & kThreeSteps) ? TSearchDialogKind::SearchList2 : TSearchDialogKind::SearchList;
    OpenSearchDialogFor(kind, ListAction(options), Page->Book);
    return OpenSearchDialogOf(kind);
  }
  static void Type(HWND dialog, const char* text) { ::SetDlgItemTextA(dialog, kListWordId, text); }
  static bool Gone(HWND dialog, TSearchDialogKind kind) {
    return wintest::PumpUntil([&] { return !::IsWindow(dialog) && !OpenSearchDialogOf(kind); }, 5000);
  }
  int32_t Current() const { return Page->Book->CurrentRecord(); }

  std::unique_ptr<wintest::FramedPage> Page;
};

TEST_F(SearchListTest, WordsOfThePageShownAsTheSelectionChanges) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  auto* d = dynamic_cast<TSearchListDialog*>(Open(kList | kCut));
  ASSERT_NE(d, nullptr);
  HWND w = d->HWindow;
  // One line per word and entry, in the case-insensitive order; the long
  // place cut to 59 characters; texts cut at ',' without trailing blanks.
  const std::vector<std::string> lines = {" Kirche", "Beethoven", "Bergheim", "berlin", "Bonn", "Burg", "Burg",
                                          "Hafen", "Kiel", "Kirche", kLongLine, "Rhein", "Rhein"};
  EXPECT_EQ(Lines(w, kListHitsId), lines);
  EXPECT_EQ(d->Words().GetItemsInContainer(), static_cast<int>(lines.size()));
  EXPECT_TRUE(ui.Requests().empty());

  // Without "show on request": "Anzeigen" hidden, "Abbruch" in the middle,
  // and the first word shown at once (" Kirche" of Kiel, entry 1).
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(w, IDOK)));
  RECT client{}, cancel{};
  ::GetClientRect(w, &client);
  ::GetWindowRect(::GetDlgItem(w, IDCANCEL), &cancel);
  ::MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&cancel), 2);
  EXPECT_EQ(cancel.left, client.right / 2 - (cancel.right - cancel.left) / 2);
  EXPECT_EQ(Selected(w, kListHitsId), " Kirche");
  EXPECT_EQ(Current(), 1);
  // A selection change shows its entry at once.
  Choose(w, kListHitsId, 3);  // "berlin"
  EXPECT_EQ(Current(), 6);
  Choose(w, kListHitsId, 2);  // "Bergheim"
  EXPECT_EQ(Current(), 4);

  struct Case {
    const char* what;
    const char* typed;
    const char* selected;
    int32_t current;  // typing shows nothing, but the empty text does
  };
  const Case cases[] = {
      {"mixed case", "BERL", "berlin", 4},
      {"the first of equal beginnings", "b", "Beethoven", 4},
      {"no word begins so: the selection stays", "xyz", "Beethoven", 4},
      {"a word listed twice", "rh", "Rhein", 4},
      {"the text deleted: the first line, shown", "", " Kirche", 1},
      {"the long word", "LLL", kLongLine.c_str(), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Type(w, c.typed);
    EXPECT_EQ(Selected(w, kListHitsId), c.selected);
    EXPECT_EQ(Current(), c.current);
  }
  EXPECT_EQ(Page->Book->CurrentPage, 0) << "the page's own words never change the page";

  // A second opening while it is open does nothing.
  EXPECT_EQ(Open(kList), d);
  ::SendMessageA(w, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Gone(w, TSearchDialogKind::SearchList));
}

TEST_F(SearchListTest, ShownOnlyOnRequest) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  const int32_t before = Current();
  TSearchDialogBase* d = Open(kList | kOnRequest);
  ASSERT_NE(d, nullptr);
  HWND w = d->HWindow;
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(w, IDOK)));
  EXPECT_EQ(Current(), before) << "nothing shown at the opening";
  // Without cutting, each text is one word.
  const std::vector<std::string> lines = Lines(w, kListHitsId);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Bergheim");
  EXPECT_EQ(lines[1], "berlin");
  Choose(w, kListHitsId, 0);
  EXPECT_EQ(Current(), before);
  ::SendMessageA(w, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Current(), 4);
  EXPECT_TRUE(::IsWindow(w)) << "the dialog stays open";
  ::SendDlgItemMessageA(w, kListHitsId, LB_SETCURSEL, 1, 0);
  ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(kListHitsId, LBN_DBLCLK), reinterpret_cast<LPARAM>(::GetDlgItem(w, kListHitsId)));
  EXPECT_EQ(Current(), 6);
  EXPECT_TRUE(ui.Requests().empty());
}

TEST_F(SearchListTest, AllPagesOnceThenFromTheCache) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  std::vector<std::string> first;
  {
    ProgressWatch watch;
    TSearchDialogBase* d = Open(kList | kAll | kOnRequest);
    ASSERT_NE(d, nullptr);
    // Two of three pages have the database: 0 (shown by the gauge as 1)
    // and 66, then closed.
    ASSERT_FALSE(watch.Values.empty());
    EXPECT_EQ(watch.Values[0], 1);
    for (int v : watch.Values) EXPECT_TRUE(v == 1 || v == 66) << v;
    EXPECT_EQ(watch.Title, "Lade Datenbankinformation...");
    EXPECT_EQ(ReportProgressDialog(), nullptr);
    first = Lines(d->HWindow, kListHitsId);
    EXPECT_EQ(first.size(), 20u) << "each page's words";
    const auto* list = dynamic_cast<TSearchListDialog*>(d);
    ASSERT_NE(list, nullptr);
    std::vector<int> pages;
    for (const TSearchTripelWord* r : list->Words())
      if (r->Word == string("Bonn")) pages.push_back(r->PageIndex);
    EXPECT_EQ(pages, (std::vector<int>{0, 2}));
    EXPECT_EQ(SearchWordCache().GetItemsInContainer(), 20);
    ::SendMessageA(d->HWindow, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Gone(d->HWindow, TSearchDialogKind::SearchList));
  }
  ProgressWatch watch;
  TSearchDialogBase* d = Open(kList | kAll | kOnRequest);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(watch.Values.empty()) << "the second opening reads no page";
  HWND w = d->HWindow;
  EXPECT_EQ(Lines(w, kListHitsId), first);

  // Typing selects the first "Bonn" of the words (page 1's); "Anzeigen" on
  // the other shows the entry on page 3, which changes the page and ends
  // the dialog after the handler.
  HWND list = ::GetDlgItem(w, kListHitsId);
  auto recordAt = [list](int line) {
    return reinterpret_cast<const TSearchTripelWord*>(::SendMessageA(list, LB_GETITEMDATA, line, 0));
  };
  Type(w, "bonn");
  const int typed = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
  ASSERT_GE(typed, 0);
  EXPECT_EQ(recordAt(typed)->Word, string("Bonn"));
  EXPECT_EQ(recordAt(typed)->PageIndex, 0);
  int other = -1;
  for (int i = 0; i < static_cast<int>(first.size()); ++i)
    if (recordAt(i)->Word == string("Bonn") && recordAt(i)->PageIndex == 2) other = i;
  ASSERT_GE(other, 0);
  ::SendMessageA(list, LB_SETCURSEL, other, 0);
  ::SendMessageA(w, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Page->Book->CurrentPage, 2);
  EXPECT_EQ(Current(), 2);
  EXPECT_TRUE(Gone(w, TSearchDialogKind::SearchList));
  EXPECT_TRUE(ui.Requests().empty());
}

TEST_F(SearchListTest, ThreeStepsMarkWordsAndListTheirTopics) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  auto* d = dynamic_cast<TSearchListDialog2*>(Open(kList | kThreeSteps | kCut | kOnRequest));
  ASSERT_NE(d, nullptr);
  HWND w = d->HWindow;
  // Every word once, all marked, in the case-insensitive order; topics are
  // the entries' category names, one per text holding the word.
  const std::vector<std::string> words = {" Kirche", "Beethoven", "Bergheim", "berlin", "Bonn", "Burg",
                                          "Hafen", "Kiel", "Kirche", kLongLine, "Rhein"};
  EXPECT_EQ(Lines(w, kListMarkingId), words);
  EXPECT_EQ(Marked(w), words);
  EXPECT_EQ(Lines(w, kListHitsId).size(), 13u);

  struct Case {
    const char* what;
    const char* typed;
    std::vector<std::string> marked, topics;
  };
  const Case cases[] = {
      {"a beginning in any case", "BER", {"Bergheim", "berlin"}, {"Burgen", "Burgen"}},
      {"a word under two categories", "rhein", {"Rhein"}, {"Burgen", "Staedte"}},
      {"no word", "q", {}, {}},
      {"the words of Kiel", "ki", {"Kiel", "Kirche"}, {"Burgen", "Staedte"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Type(w, c.typed);
    EXPECT_EQ(Marked(w), c.marked);
    EXPECT_EQ(Lines(w, kListMarkingId), c.marked);
    EXPECT_EQ(Lines(w, kListHitsId), c.topics);
  }
  // Unmarking "Kiel" takes its topic away; the one of "Kirche" stays.
  HWND marking = ::GetDlgItem(w, kListMarkingId);
  ::SendMessageA(marking, LB_SETSEL, FALSE, 0);
  ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(kListMarkingId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(marking));
  EXPECT_EQ(Lines(w, kListHitsId), (std::vector<std::string>{"Burgen"}));
  // Showing the topic makes its entry (Bergheim) current.
  ::SendMessageA(w, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Current(), 4);
  ::SendMessageA(marking, LB_SETSEL, FALSE, 1);
  ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(kListMarkingId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(marking));
  EXPECT_TRUE(Lines(w, kListHitsId).empty()) << "no word marked, no topic";
}

TEST_F(SearchListTest, ThreeStepsWithALabelField) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TActionStruct a = ListAction(kList | kThreeSteps | kCut | kOnRequest);
  a.Flags |= 0x40000;
  a.Text1 = "Ort";
  OpenSearchDialogFor(TSearchDialogKind::SearchList2, a, Page->Book);
  TSearchDialogBase* d = OpenSearchDialogOf(TSearchDialogKind::SearchList2);
  ASSERT_NE(d, nullptr);
  Type(d->HWindow, "burg");
  EXPECT_EQ(Lines(d->HWindow, kListHitsId), (std::vector<std::string>{"Bergheim", "berlin"}));
  Type(d->HWindow, "bonn");
  EXPECT_EQ(Lines(d->HWindow, kListHitsId), (std::vector<std::string>{"Bonn"}));
}

TEST_F(SearchListTest, APageChangeAndAnEscapeDuringTheSetUpWalk) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  bool disabled = false;
  HWND dialog = nullptr;
  {
    ProgressWatch watch;
    watch.AtStep = [&](int step) {
      if (step != 1) return;
      TSearchDialogBase* d = OpenSearchDialogOf(TSearchDialogKind::SearchList2);
      if (!d) return;
      dialog = d->HWindow;
      disabled = !::IsWindowEnabled(dialog);
      // What the timer would deliver: an automatic page change, then the
      // user's Escape.
      TSysTimeManagerMsg msg;
      msg.Receiver = Page->Book;
      msg.Kind = kAdvanceOnPageMsg;
      msg.OwnerId = 1;
      msg.Param3 = static_cast<uintptr_t>(Page->Book->CurrentPage);
      Page->Book->ExecuteAction(Page->Book->GetTimeManager(), msg);
      ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    Open(kList | kThreeSteps | kAll);
  }
  // The walk went on to its end: the words of both pages, every text a
  // topic.
  int topics = 0;
  for (const TSearchTripelWord2* word : SearchWordCache2()) topics += word->Topics->GetItemsInContainer();
  EXPECT_EQ(SearchWordCache2().GetItemsInContainer(), 10);
  EXPECT_EQ(topics, 20);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(disabled) << "disabled while it walks";
  EXPECT_EQ(Page->Book->CurrentPage, 1);
  EXPECT_TRUE(Gone(dialog, TSearchDialogKind::SearchList2));
  EXPECT_TRUE(ui.Requests().empty());
  // A new one opens after it, from the cache the first one filled.
  ProgressWatch watch;
  EXPECT_NE(Open(kList | kThreeSteps | kAll), nullptr);
  EXPECT_TRUE(watch.Values.empty());
}

}  // namespace
