// Moving through the category tree: single steps in every mode over gaps,
// empty categories and top-level data entries, long steps, paths and
// ancestors, a parent cycle, and the first data entry.
#include <gtest/gtest.h>

#include "database/core/dbstep.h"
#include "database/dbtrees.h"

namespace {

// Pre-order: A a1 a2 B C D d1 c1 t1 Z. C's slot 0 and the slot after A
// are empty; B and Z are empty categories; t1 is a top-level data entry.
const char* kTree = "A( a1 _ a2 ) _ B() C( _ D( d1 ) c1 ) t1 Z()";

struct StepCase {
  const char* what;
  const char* from;
  int32_t step;
  bool wrap, deep;
  const char* to;
};

TEST(StepEntry, SingleAndLongSteps) {
  const TTestTree t = MakeTree(kTree);
  const StepCase cases[] = {
      {"step 0 stays", "a1", 0, false, true, "a1"},
      {"step 0 on a top-level data entry", "t1", 0, false, false, "t1"},
      {"deep: into a category", "A", 1, false, true, "a1"},
      {"deep: over an empty slot", "a1", 1, false, true, "a2"},
      {"deep: last child climbs to the next top-level entry", "a2", 1, false, true, "B"},
      {"deep: an empty category goes to its sibling", "B", 1, false, true, "C"},
      {"deep: a category with slot 0 empty is entered", "C", 1, false, true, "D"},
      {"deep: climbs one level", "d1", 1, false, true, "c1"},
      {"deep: from a top-level data entry", "t1", 1, false, true, "Z"},
      {"deep: the end without wrap", "Z", 1, false, true, "-"},
      {"deep: the end with wrap", "Z", 1, true, true, "A"},
      {"deep back: a first child gives its category", "a1", -1, false, true, "A"},
      {"deep back: over an empty slot", "a2", -1, false, true, "a1"},
      {"deep back: the last descendant of the previous sibling", "c1", -1, false, true, "d1"},
      {"deep back: a top-level entry gives the previous one's last descendant", "B", -1, false, true,
       "a2"},
      {"deep back: a top-level data entry too", "t1", -1, false, true, "c1"},
      {"deep back: from the first entry without wrap", "A", -1, false, true, "-"},
      {"deep back: from the first entry with wrap", "A", -1, true, true, "Z"},
      {"siblings: next", "a1", 1, false, false, "a2"},
      {"siblings: the last child without wrap", "a2", 1, false, false, "-"},
      {"siblings: the last child wraps within its parent", "a2", 1, true, false, "a1"},
      {"siblings: top level over an empty slot", "A", 1, false, false, "B"},
      {"siblings: a category is not entered", "C", 1, false, false, "t1"},
      {"siblings back: first child wraps to the last", "D", -1, true, false, "c1"},
      {"siblings back: first child without wrap", "D", -1, false, false, "-"},
      {"siblings back: top level", "C", -1, false, false, "B"},
      {"siblings back: top-level data entry", "t1", -1, false, false, "C"},
      {"siblings: top-level data entry wraps to slot 0", "t1", 3, true, false, "A"},
      {"deep: two steps", "A", 2, false, true, "a2"},
      {"deep back: two steps", "c1", -2, false, true, "D"},
      {"deep: steps past the end", "c1", 4, false, true, "-"},
      {"deep with wrap: a billion steps go round by the period", "A", 1000000003, true, true, "B"},
      {"deep back with wrap: a billion steps", "A", -1000000003, true, true, "c1"},
      {"siblings with wrap: a huge step", "a1", 0x7FFFFFFF, true, false, "a2"},
      {"an unknown entry", "-", 1, true, true, "-"},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(t.Name(t.M->StepEntry(t[c.from], c.step, c.wrap, c.deep)), c.to);
  }
}

TEST(StepEntry, TopLevelDataEntriesJumpSlots) {
  // Slots 0 1 _ 3 _ 5 6.
  const TTestTree t = MakeTree("e0 e1 _ e3 _ e5 e6");
  const StepCase cases[] = {
      {"two slots from slot 3 reach slot 5 or later", "e3", 2, false, false, "e5"},
      {"one slot over a gap", "e3", 1, false, false, "e5"},
      {"back over a gap", "e3", -1, false, false, "e1"},
      {"back two slots reach slot 1 or before", "e3", -2, false, false, "e1"},
      {"back beyond slot 0 without wrap", "e1", -2, false, false, "-"},
      {"back beyond slot 0 wraps to the last slot", "e1", -2, true, false, "e6"},
      {"deep steps count entries", "e3", 2, false, true, "e6"},
      {"deep past the end with wrap", "e6", 1, true, true, "e0"},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(t.Name(t.M->StepEntry(t[c.from], c.step, c.wrap, c.deep)), c.to);
  }
}

TEST(StepEntry, WalksAllEntriesBothWaysInTreeOrder) {
  const TTestTree t = MakeTree(kTree);
  std::vector<TDBCategoryData*> order;
  t.M->CollectEntries(order);
  ASSERT_EQ(order.size(), 10u);
  for (size_t i = 0; i + 1 < order.size(); ++i) {
    SCOPED_TRACE(t.Name(order[i]->EntryId));
    EXPECT_EQ(t.M->StepEntry(order[i]->EntryId, 1, false, true), order[i + 1]->EntryId);
    EXPECT_EQ(t.M->StepEntry(order[i + 1]->EntryId, -1, false, true), order[i]->EntryId);
  }
}

TEST(TDBNodeManager, PathsAndAncestors) {
  const TTestTree t = MakeTree(kTree);
  const struct {
    const char* what;
    const char* entry;
    int depth;
    const char* node;  // "root" for the root, "-" for none
  } cases[] = {
      {"depth 0 is the root", "d1", 0, "root"},
      {"depth 1 is the top-level ancestor", "d1", 1, "C"},
      {"depth 2", "d1", 2, "D"},
      {"the entry's own depth", "d1", 3, "d1"},
      {"deeper descends into the first branch with children", "C", 2, "D"},
      {"deeper still", "C", 3, "d1"},
      {"beyond the deepest branch", "C", 4, "-"},
      {"an entry without children", "B", 2, "-"},
      {"a data entry", "t1", 2, "-"},
      {"a top-level data entry at depth 1", "t1", 1, "t1"},
      {"an unknown entry", "-", 1, "-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TDBNode* n = t.M->GetAncestor(t[c.entry], c.depth);
    const std::string got = !n ? "-" : n == &t.M->Root() ? "root" : t.Name(n->EntryId);
    EXPECT_EQ(got, c.node);
  }
  std::vector<TDBNode*> path;
  ASSERT_EQ(t.M->GetEntryPath(t["d1"], path), 3);
  EXPECT_EQ(t.Name(path[0]->EntryId) + t.Name(path[1]->EntryId) + t.Name(path[2]->EntryId), "CDd1");
  EXPECT_EQ(t.M->GetEntryPath(-1, path), 0);
  EXPECT_TRUE(path.empty());
}

TEST(TDBNodeManager, ParentIdsInACycleEndEveryWalk) {
  TTestTree t = MakeTree("X( x1 ) Y( y1 )");
  // Bend the records into a cycle and build again: the build puts both on
  // the top level.
  t.M->FindCategory(100)->ParentId = 101;
  t.M->FindCategory(101)->ParentId = 100;
  t.M->RebuildTree();
  std::vector<TDBNode*> path;
  EXPECT_EQ(t.M->GetEntryPath(t["y1"], path), 2);
  EXPECT_EQ(t.Name(t.M->GetAncestor(t["x1"], 1)->EntryId), "X");
  int32_t id = t.M->GetFirstTopLevelId();
  std::string walk;
  for (int i = 0; i < 6 && id != -1; ++i, id = t.M->StepEntry(id, 1, false, true)) walk += t.Name(id) + " ";
  EXPECT_TRUE(walk == "X x1 Y y1 " || walk == "Y y1 X x1 ") << walk;
}

TEST(TDBNodeManager, FirstDataEntryAndSubtrees) {
  const TTestTree t = MakeTree(kTree);
  const struct {
    const char* what;
    const char* from;
    const char* to;
  } cases[] = {
      {"a category gives its first data entry", "A", "a1"},
      {"an empty category gives the next data entry after it", "B", "d1"},
      {"a data entry gives itself", "c1", "c1"},
      {"a top-level data entry gives itself", "t1", "t1"},
      {"no data entry after the category", "Z", "-"},
      {"an unknown entry", "-", "-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(t.Name(FirstDataEntryFrom(*t.M, t[c.from])), c.to);
  }
  const TDBNode* nodeC = t.M->FindEntryNode(t.M->FindEntry(t["C"]));
  bool found = false;
  t.M->SubtreeContains(nodeC, t["a1"], found);
  EXPECT_FALSE(found);
  t.M->SubtreeContains(nodeC, t["d1"], found);
  EXPECT_TRUE(found);
  t.M->SubtreeContains(nullptr, t["d1"], found);
  EXPECT_TRUE(found) << "a set flag stays";
}

TEST(TDBNodeManager, FindChildOfAgreesWithTheScan) {
  TTestTree t = MakeTree("A( a1 a2 a3 ) b1 b2");
  // A second node for an id: the answer is the first slot that shows it.
  auto dup = std::make_unique<TDBCategoryData>();
  dup->EntryId = t["a3"];
  dup->CategoryId = 100;
  dup->DataId = 1000;
  dup->Position = 0;
  t.M->AddEntry(std::move(dup));
  t.M->RebuildTree();
  const TDBNode* a = t.M->FindCategoryNode(100);
  for (const char* name : {"a1", "a2", "a3", "b1"}) {
    SCOPED_TRACE(name);
    int fast = -1, scan = -1;
    EXPECT_EQ(t.M->FindChildOf(a, t[name], &fast), a->FindChild(t[name], &scan));
    EXPECT_EQ(fast, scan);
    EXPECT_EQ(t.M->FindChildOf(&t.M->Root(), t[name], &fast), t.M->Root().FindChild(t[name], &scan));
    EXPECT_EQ(fast, scan);
  }
  // Slots moved behind the hints' back: still the scan's answer.
  std::reverse(t.M->Root().Children->begin(), t.M->Root().Children->end());
  int fast = -1, scan = -1;
  EXPECT_EQ(t.M->FindChildOf(&t.M->Root(), t["b1"], &fast), t.M->Root().FindChild(t["b1"], &scan));
  EXPECT_EQ(fast, scan);
}

}  // namespace
