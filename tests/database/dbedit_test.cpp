// Sorting a category's entries and the editing aids of the tree database:
// moving, copying and detaching entries and the outline drawing, on trees
// described in tslmake's database language.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "database/core/dbdump.h"
#include "database/core/dbnodes.h"
#include "foundation/core/index/keycompare.h"
#include "tools/core/tslmake_db.h"

namespace {

void Describe(TDBNodeManager& m, const std::string& text) {
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(text, m, extras, line, reason)) << line << ": " << reason;
  m.RebuildTree();
}

// A category (entry 0) with data entries named by `names`, stored with
// positions 0, 2, 4 ... so the list has empty slots between them.
std::string Category(const std::vector<std::string>& names) {
  std::string t = "category 1 -1 \"K\"\nentry 0 1 -1 category\n";
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string id = std::to_string(10 + i);
    t += "data " + id + " \"" + names[i] + "\"\nentry " + id + " 1 " + id + " data pos " + std::to_string(2 * i) + "\n";
  }
  return t;
}

std::vector<std::string> ChildNames(const TDBNodeManager& m, const TDBNode* node) {
  std::vector<std::string> out;
  for (const TDBNode* c : *node->Children) {
    const char* n = c ? m.GetEntryName(m.FindEntry(c->EntryId)) : "<empty>";
    out.push_back(n ? n : "?");
  }
  return out;
}

TDbSortCompare Portable() {
  return {[](const char* a, const char* b) { return strcasecmp(a, b); }, &tsl::AnsiWordCompare};
}

}  // namespace

TEST(SortSubtree, Orders) {
  struct Case {
    const char* what;
    std::vector<std::string> names;
    bool ascending, text, locale;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"numbers: 2 before 10, no number counts 0 and keeps its place", {"10", "x", "2", "1a", "y", "-3"}, true, false, false,
       {"-3", "x", "y", "1a", "2", "10"}},
      {"numbers descending keep equal keys in order", {"x", "5", "y", "+7"}, false, false, false, {"+7", "5", "x", "y"}},
      {"text ignores case, equal names keep their order", {"b", "A", "a", "B"}, true, true, false, {"A", "a", "b", "B"}},
      {"text descending", {"b", "A", "a", "B", "c"}, false, true, false, {"c", "b", "B", "A", "a"}},
      {"locale collation", {"B", "a", "b", "A"}, true, true, true, {"a", "A", "b", "B"}},
      {"locale descending", {"B", "a", "b", "A"}, false, true, true, {"B", "b", "A", "a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDBNodeManager m;
    Describe(m, Category(c.names));
    TDBNode* node = m.FindTreeNode(m.FindEntry(0));
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->SlotCount(), static_cast<int>(2 * c.names.size() - 1)) << "the fixture has gaps";
    m.SortSubtree(0, c.ascending, c.text, c.locale, false, Portable());
    EXPECT_EQ(ChildNames(m, node), c.expected);
    for (int i = 0; i < node->SlotCount(); ++i) {
      const TDBNode* child = (*node->Children)[static_cast<size_t>(i)];
      EXPECT_EQ(child->Parent, node);
      EXPECT_EQ(m.FindEntry(child->EntryId)->Position, i);
    }
    // The order survives a save and reload.
    tsl::MemoryStream s;
    m.Save(s);
    s.Seek(0);
    TDBNodeManager again;
    again.Load(s);
    EXPECT_EQ(DumpTreeDatabase(again), DumpTreeDatabase(m));
  }
}

TEST(SortSubtree, WholeTreeOneLevelAndMissingEntries) {
  const char tree[] = R"(
category 1 -1 "b"
category 2 -1 "a"
category 3 1 "z"
category 4 1 "y"
data 10 "D"
data 11 "c"
entry 0 1 -1 category
entry 1 2 -1 category
entry 2 3 -1 category
entry 3 4 -1 category
entry 4 3 10 data
entry 5 3 11 data
)";
  TDBNodeManager all;
  Describe(all, tree);
  all.SortSubtree(kNoDbId, true, true, false, true, Portable());
  EXPECT_EQ(DumpTreeDatabase(all), "a #1\nb #0\n  y #3\n  z #2\n    c #5\n    D #4\n");

  // One level: the top is sorted, b's subtree keeps the order it had.
  TDBNodeManager top;
  Describe(top, tree);
  std::string rest = DumpTreeDatabase(top);
  rest.erase(rest.find("a #1\n"), 5);
  top.SortSubtree(kNoDbId, true, true, false, false, Portable());
  EXPECT_EQ(DumpTreeDatabase(top), "a #1\n" + rest);

  TDBNodeManager none;
  Describe(none, tree);
  const std::string before = DumpTreeDatabase(none);
  none.SortSubtree(99, true, true, false, true, Portable());
  EXPECT_EQ(DumpTreeDatabase(none), before);
  EXPECT_EQ(none.FindEntry(4)->Position, -1) << "nothing renumbered";
}

TEST(MoveEntry, MovesWithinItsSiblings) {
  struct Case {
    const char* what;
    int32_t entry;
    bool up;
    bool moved;
    std::vector<std::string> expected;
  };
  // Category K holds a, b, c with empty slots between them.
  const std::vector<Case> cases = {
      {"first up: at the end", 10, true, false, {"a", "b", "c"}},
      {"last down: at the end", 12, false, false, {"a", "b", "c"}},
      {"middle up", 11, true, true, {"b", "a", "c"}},
      {"middle down", 11, false, true, {"a", "c", "b"}},
      {"first down over a gap", 10, false, true, {"b", "a", "c"}},
      {"unknown entry", 99, true, false, {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDBNodeManager m;
    Describe(m, Category({"a", "b", "c"}));
    int ends = 0;
    const bool moved = m.MoveEntry(&m.Root(), m.FindEntry(c.entry), c.up, [&] { ++ends; });
    EXPECT_EQ(moved, c.moved);
    EXPECT_EQ(ends, !c.moved && c.entry != 99 ? 1 : 0);
    std::vector<std::string> names = ChildNames(m, m.FindTreeNode(m.FindEntry(0)));
    names.erase(std::remove(names.begin(), names.end(), "<empty>"), names.end());
    EXPECT_EQ(names, c.expected);
    EXPECT_EQ(m.FindEntry(10)->Position, 0) << "positions are not touched";
  }
}

TEST(CopySubtree, CopiesRecordsNotData) {
  TDBNodeManager m;
  Describe(m, R"(
category 1 -1 "Top"
category 2 1 "Sub"
category 3 2 "Unter"
data 10 "x"
data 11 "y"
entry 0 1 -1 category
entry 1 2 -1 category pos 0
entry 2 2 10 data pos 0
entry 3 2 11 data pos 1
entry 4 3 -1 category pos 2
entry 5 3 10 data
)");
  const int data = m.DataCount();
  ASSERT_EQ(m.NextCategoryId, 4u);
  ASSERT_EQ(m.NextEntryId, 6u);
  m.CopySubtree(&m.Root(), m.FindEntry(1), false, 1);
  EXPECT_EQ(m.CategoryCount(), 5);
  EXPECT_EQ(m.EntryCount(), 11);
  EXPECT_EQ(m.DataCount(), data) << "data records are shared";
  EXPECT_EQ(m.NextCategoryId, 6u);
  EXPECT_EQ(m.NextEntryId, 11u);
  struct Copy {
    int32_t entry, category, data, position;
    uint8_t isCategory;
  };
  for (const Copy& c : std::vector<Copy>{{6, 4, -1, 0, 1}, {7, 4, 10, 0, 0}, {8, 4, 11, 1, 0}, {9, 5, -1, 2, 1}, {10, 5, 10, -1, 0}}) {
    SCOPED_TRACE(c.entry);
    const TDBCategoryData* e = m.FindEntry(c.entry);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->CategoryId, c.category);
    EXPECT_EQ(e->DataId, c.data);
    EXPECT_EQ(e->Position, c.position);
    EXPECT_EQ(e->IsCategory, c.isCategory);
  }
  EXPECT_EQ(m.FindCategory(4)->ParentId, 1);
  EXPECT_EQ(m.FindCategory(4)->Name, string("Sub"));
  EXPECT_EQ(m.FindCategory(5)->ParentId, 4);
  EXPECT_EQ(DumpTreeDatabase(m).find("#6"), std::string::npos) << "the tree waits for a rebuild";
  m.RebuildTree();
  const std::string dump = DumpTreeDatabase(m);
  EXPECT_NE(dump.find("  Sub #6\n    x #7\n    y #8\n    Unter #9\n      x #10\n"), std::string::npos) << dump;

  // One category with two data entries: one category, three entries.
  TDBNodeManager one;
  Describe(one, Category({"a", "b"}));
  one.CopySubtree(&one.Root(), one.FindEntry(0), false, kNoDbId);
  EXPECT_EQ(one.CategoryCount(), 2);
  EXPECT_EQ(one.EntryCount(), 6);
  EXPECT_EQ(one.DataCount(), 2);

  // A data entry or an entry outside the tree copies nothing.
  TDBNodeManager n;
  Describe(n, Category({"a"}));
  n.CopySubtree(&n.Root(), n.FindEntry(10), false, kNoDbId);
  TDBCategoryData stray;
  stray.EntryId = 77;
  stray.IsCategory = 1;
  stray.CategoryId = 1;
  n.CopySubtree(&n.Root(), &stray, false, kNoDbId);
  EXPECT_EQ(n.EntryCount(), 2);
  EXPECT_EQ(n.CategoryCount(), 1);
}

TEST(DetachCategoryNode, EmptiesTheSlotsOfTheCategory) {
  TDBNodeManager m;
  Describe(m, R"(
category 1 -1 "A"
category 2 1 "B"
category 3 -1 "C"
data 10 "d"
entry 0 1 -1 category
entry 1 2 -1 category
entry 2 3 -1 category
entry 3 2 10 data
)");
  TDBNode* b = m.FindCategoryNode(2);
  ASSERT_NE(b, nullptr);
  m.DetachCategoryNode(&m.Root(), b);
  EXPECT_EQ(DumpTreeDatabase(m), "A #0\nC #2\n");
  EXPECT_EQ(m.FindTreeNode(m.FindEntry(0))->SlotCount(), 1) << "the slot stays, empty";
}

TEST(DrawOutline, IndentsByLevel) {
  struct Canvas : TDbOutlineCanvas {
    std::vector<std::string> lines;
    void DrawText(int x, int y, const char* text) override {
      lines.push_back(std::to_string(x) + "," + std::to_string(y) + " " + text);
    }
  } canvas;
  TDBNodeManager m;
  Describe(m, R"(
category 1 -1 "A"
category 2 1 "B"
data 10 "d"
entry 0 1 -1 category
entry 1 2 -1 category pos 0
entry 2 2 10 data
entry 3 1 10 data pos 1
)");
  int x = 5, y = 0;
  m.DrawOutline(&m.Root(), canvas, x, y);
  // The root has no entry: its line is skipped, its place is not.
  EXPECT_EQ(canvas.lines, (std::vector<std::string>{"65,40 A", "125,60 B", "185,80 invalid", "125,100 invalid"}));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 100);
}

TEST(TreeEdits, DeepChainWithoutRecursion) {
  const int depth = 100000;
  TDBNodeManager m;
  for (int i = 0; i < depth; ++i) {
    auto c = std::make_unique<TDBCategory>();
    c->Id = i;
    c->ParentId = i - 1;
    c->Name = "c";
    m.AddCategory(std::move(c));
    auto e = std::make_unique<TDBCategoryData>();
    e->EntryId = e->CategoryId = i;
    e->IsCategory = 1;
    m.AddEntry(std::move(e));
  }
  m.NextCategoryId = m.NextEntryId = depth;
  m.RebuildTree();
  m.SortSubtree(kNoDbId, true, true, true, true, Portable());
  struct Count : TDbOutlineCanvas {
    int n = 0;
    void DrawText(int, int, const char*) override { ++n; }
  } canvas;
  int x = 0, y = 0;
  m.DrawOutline(&m.Root(), canvas, x, y);
  EXPECT_EQ(canvas.n, depth);
  EXPECT_FALSE(m.MoveEntry(&m.Root(), m.FindEntry(depth - 1), true, [] {}));
  m.CopySubtree(&m.Root(), m.FindEntry(0), false, kNoDbId);
  EXPECT_EQ(m.EntryCount(), 2 * depth);
  m.DetachCategoryNode(&m.Root(), m.FindCategoryNode(depth - 1));
}
