// What the list and combo kinds list, choose and follow, on a five-entry
// database and a stub project that writes down what the lists ask of it.
#include "objects/core/listfill.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "database/dbtrees.h"

namespace {

class TStubProject : public TListProject {
public:
  explicit TStubProject(TDBNodeManager* db) : Db(db) {}
  TDBNodeManager* Database() override { return Db; }
  int32_t FindPageIndex(uint32_t number) override {
    auto it = Index.find(number);
    return it == Index.end() ? -1 : it->second;
  }
  bool PageNames(int32_t index, std::string& first, std::string& second) override {
    if (index == Unreadable) return false;
    first = "Seite " + std::to_string(index);
    second = "Kurz " + std::to_string(index);
    return true;
  }
  int32_t CurrentPageIndex() override { return Current; }
  void GotoDBRecord(int32_t id) override { Calls += "record " + std::to_string(id) + ";"; }
  void PostPageChange(int32_t index) override { Calls += "page " + std::to_string(index) + ";"; }

  TDBNodeManager* Db;
  std::map<uint32_t, int32_t> Index{{10, 0}, {20, 1}, {30, 2}};
  int32_t Unreadable = 2;
  int32_t Current = 0;
  std::string Calls;
};

std::string Texts(const TListFill& f) {
  std::string s;
  for (const auto& i : f.Items) s += (s.empty() ? "" : ",") + i.Text;
  return s;
}

TListItemDataCore Record(uint32_t flags, uint32_t start = 0, std::vector<int32_t> pages = {}) {
  TListItemDataCore r;
  r.Flags = flags;
  r.StartValue = start;
  r.Pages = std::move(pages);
  return r;
}

}  // namespace

TEST(ListFill, DatabaseModes) {
  const TTestTree t = MakeTree("A( a1 a2 ) B( b1 )");
  const struct {
    const char* what;
    uint32_t flags;
    const char* start;  // entry name (mode 0x10) or "" for the depth
    uint32_t depth;
    const char* current;
    const char* texts;
    int32_t select;
  } cases[] = {
      {"from a category: its siblings", kListFromEntry, "A", 0, "a1", "A,B", -1},
      {"from a data entry", kListFromEntry, "a1", 0, "a1", "a1,a2", -1},
      {"from the last entry", kListFromEntry, "b1", 0, "a1", "b1", -1},
      {"depth 0: the top level, the one holding the record", kListCategory, "", 0, "b1", "A,B", 1},
      {"depth 1: the record's own category", kListCategory, "", 1, "a2", "a1,a2", 1},
      {"a category record at depth 1 lists its children", kListCategory, "", 1, "A", "a1,a2", -1},
      {"deeper than the tree", kListCategory, "", 7, "a2", "", -1},
      {"no current record", kListCategory, "", 1, "-", "", -1},
      {"0x10 wins over 0x20", kListFromEntry | kListCategory | kListPages, "B", 0, "a1", "B", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    t.M->CurrentEntryId = t[c.current];
    TStubProject p(t.M.get());
    const uint32_t start = *c.start ? static_cast<uint32_t>(t[c.start]) : c.depth;
    const TListFill f = FillListItems(Record(c.flags, start), p);
    EXPECT_EQ(Texts(f), c.texts);
    EXPECT_EQ(f.Select, c.select);
    for (const auto& i : f.Items) EXPECT_EQ(t.Name(i.Value), i.Text) << "an item's value is its entry";
  }
  TStubProject none(nullptr);
  EXPECT_TRUE(FillListItems(Record(kListFromEntry, 1), none).Items.empty());
  TStubProject p(t.M.get());
  EXPECT_TRUE(FillListItems(Record(kListFromEntry, 4711), p).Items.empty()) << "an unknown start entry";
}

TEST(ListFill, AnEmptySlotDoesNotListAChildTwice) {
  const TTestTree t = MakeTree("A( a1 _ _ a2 ) B()");
  t.M->CurrentEntryId = t["a2"];
  TStubProject p(t.M.get());
  EXPECT_EQ(Texts(FillListItems(Record(kListCategory, 1), p)), "a1,a2");
}

TEST(ListFill, PagesByNumberWithEmptyItemsForMissingOnes) {
  TStubProject p(nullptr);
  EXPECT_EQ(Texts(FillListItems(Record(kListPages, 0, {20, 99, 30, 10}), p)), "Seite 1,,,Seite 0");
  EXPECT_EQ(Texts(FillListItems(Record(kListPagesShown | kListSecondNames, 0, {10, 20}), p)), "Kurz 0,Kurz 1");
  EXPECT_TRUE(FillListItems(Record(kListDefaultFlags), p).Items.empty()) << "the default: no pages";
  EXPECT_TRUE(FillListItems(Record(kListVScroll, 0, {10}), p).Items.empty()) << "no mode";
}

TEST(ListChoice, PagesPostTheChangeAndRecordsGoToTheEntry) {
  const TTestTree t = MakeTree("A( a1 a2 ) B( b1 )");
  const struct {
    const char* what;
    uint32_t flags;
    int32_t index;
    const char* calls;
    int32_t lastChosen;
  } cases[] = {
      {"another page", kListPages, 1, "page 1;", 1},
      {"the current page", kListPages, 0, "", 0},
      {"a missing page", kListPages, 2, "", 2},
      {"past the table", kListPages, 3, "", 3},
      {"no selection", kListPages, -1, "", -5},
      {"pages shown only", kListPagesShown, 1, "", -5},
      {"a database entry", kListCategory, 1, "record 3;", -5},
      {"past the items", kListFromEntry, 2, "", -5},
      {"a database list without selection", kListFromEntry, -1, "", -5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TStubProject p(t.M.get());
    const TListItemDataCore r = Record(c.flags, 1, {10, 20, 99});
    const std::vector<TListItem> items = {{"a1", t["a1"]}, {"a2", t["a2"]}};
    int32_t last = -5;
    ChooseListItem(r, items, c.index, p, last);
    EXPECT_EQ(p.Calls, c.calls);
    EXPECT_EQ(last, c.lastChosen);
  }
}

TEST(ListFollow, SelectsTheItemOrRefillsTheCategory) {
  const TTestTree t = MakeTree("A( a1 a2 ) B( b1 )");
  const struct {
    const char* what;
    uint32_t flags;
    std::vector<const char*> items;
    int32_t current;
    const char* record;
    int32_t select;
    bool refill;
  } cases[] = {
      {"the item itself", kListCategory, {"a1", "a2"}, 0, "a2", 1, false},
      {"already selected", kListCategory, {"a1", "a2"}, 1, "a2", -1, false},
      {"outside every item", kListCategory, {"a1", "a2"}, 0, "b1", -1, true},
      {"inside a category item", kListCategory, {"A", "B"}, 0, "b1", 1, false},
      {"from an entry: only the entry itself", kListFromEntry, {"A", "B"}, 0, "b1", -1, false},
      {"from an entry", kListFromEntry, {"A", "B"}, -1, "B", 1, false},
      {"a page list does not follow", kListPages, {"A", "B"}, 0, "B", -1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TStubProject p(t.M.get());
    std::vector<TListItem> items;
    for (const char* n : c.items) items.push_back({n, t[n]});
    bool refill = !c.refill;
    EXPECT_EQ(FollowListRecord(Record(c.flags), items, c.current, t[c.record], p, refill), c.select);
    EXPECT_EQ(refill, c.refill);
    EXPECT_EQ(p.Calls, "") << "following runs no choice";
  }
}

TEST(ContainsEntry, WalksAVeryDeepTree) {
  std::string text;
  const int depth = 20000;
  for (int i = 0; i < depth; ++i) text += "C" + std::to_string(i) + "( ";
  text += "leaf";
  for (int i = 0; i < depth; ++i) text += " )";
  const TTestTree t = MakeTree(text);
  bool found = false;
  ContainsEntry(*t.M, &t.M->Root(), t["leaf"], found);
  EXPECT_TRUE(found);
  found = false;
  ContainsEntry(*t.M, nullptr, t["leaf"], found);
  EXPECT_FALSE(found);
  found = true;
  ContainsEntry(*t.M, &t.M->Root(), 999999, found);
  EXPECT_TRUE(found) << "a set flag stays";
}
