// Filling tree-list lines from the tree database: the level widths, one line
// per entry with "not found" for missing records, categories stored open
// reopened, and a deep chain without recursion.
#include <gtest/gtest.h>

#include "database/core/treefill.h"
#include "database/dbtrees.h"
#include "engine/format/bytes.h"
#include "objects/core/usertree.h"

namespace {

// A packed DIB header of that width (no pixels: only the width is read).
std::vector<uint8_t> Dib(int32_t width) {
  Bytes b;
  b.u32(40).i32(width).i32(1).u16(1).u16(24).zeros(24);
  return b.data();
}

std::unique_ptr<TDBSpecial> Pictures(int32_t id, int32_t w1, int32_t w2) {
  auto s = std::make_unique<TDBSpecial>();
  s->Id = id;
  s->Kind = kSpecialPictures;
  if (w1) s->Picture1 = Dib(w1);
  if (w2) s->Picture2 = Dib(w2);
  return s;
}

// The visible lines as "name/level" with "+" for an open line.
std::string Lines(const TUserTreeLines& lines, const TTestTree& t) {
  std::string out;
  for (int i = 0; i < lines.Count(); ++i) {
    const TUserTreeLink* l = lines.At(i);
    out += (i ? " " : "") + std::string(l->Item->Text()) + (l->Open ? "+" : "") + "/" +
           std::to_string(l->Level);
    EXPECT_EQ(t.Name(static_cast<int32_t>(l->Value())), l->Item->Text()) << "value of line " << i;
  }
  return out;
}

void Fill(const TTestTree& t, TUserTreeLines& lines) {
  lines.ResetTree();
  TUserTreeFillTarget target(lines);
  AddChildrenToTreeList(*t.M, t.M->Root(), target, target.RootLine());
  target.Refill();
  RestoreOpenCategories(*t.M, target);
}

TEST(TreeFill, LevelWidths) {
  TDBSpecialManager specials;
  specials.Add(Pictures(1, 32, 0));
  specials.Add(Pictures(2, 0, 48));
  specials.Add(Pictures(3, 0, 0));  // no pictures
  auto actions = std::make_unique<TDBSpecial>();
  actions->Id = 4;
  actions->Kind = kSpecialActions;
  specials.Add(std::move(actions));
  const struct {
    const char* what;
    const char* tree;
    std::vector<std::pair<int32_t, int32_t>> levels;  // level, width
  } cases[] = {
      {"pictures 32 and 48 on level 1: 48; defaults on level 0", "A( a1#1 a2#2 ) b1",
       {{0, 20}, {1, 48}}},
      {"a category alone gives the category default", "A()", {{0, 20}}},
      {"data alone gives the data default", "a1 a2", {{0, 16}}},
      {"a category whose picture id names nothing counts the data default", "A#99( ) B( C#99() )",
       {{0, 20}, {1, 16}}},
      {"a record without pictures or of another kind counts 0", "A( a1#3 ) B( b1#4 )", {{0, 20}, {1, 0}}},
      {"an empty tree gives no levels", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TTestTree t = MakeTree(c.tree);
    TDBIndentLevelWidths widths;
    widths.Merge(7, 999);  // emptied first
    CollectIndentLevelWidths(*t.M, &specials, widths, 20, 16);
    std::vector<std::pair<int32_t, int32_t>> got;
    for (const auto& l : widths.Levels()) got.push_back({l.Level, l.Width});
    EXPECT_EQ(got, c.levels);
  }
}

TEST(TreeFill, LinesAndOpenCategories) {
  const struct {
    const char* what;
    const char* tree;
    const char* lines;
  } cases[] = {
      {"closed categories show their own line only", "A( a1 ) b1", "A/1 b1/1"},
      {"an open category inside an open one: both opened", "A*( B*( b1 ) a1 ) c1",
       "A+/1 B+/2 b1/3 a1/2 c1/1"},
      {"an open category inside a closed one stays hidden", "A( B*( b1 ) )", "A/1"},
      {"an open category without children has nothing to open", "A*() b1", "A/1 b1/1"},
      {"empty slots leave no lines", "_ A*( _ a1 _ a2 ) _", "A+/1 a1/2 a2/2"},
      {"an empty database", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TTestTree t = MakeTree(c.tree);
    TUserTreeLines lines;
    Fill(t, lines);
    EXPECT_EQ(Lines(lines, t), c.lines);
  }
}

TEST(TreeFill, MissingRecords) {
  TTestTree t = MakeTree("A( a1 a2 ) B( b1 )");
  // A data entry whose record is gone reads "not found"; a category entry
  // whose entry record is gone takes its subtree with it.
  auto e = std::make_unique<TDBCategoryData>();
  e->EntryId = 50;
  e->CategoryId = 100;
  e->DataId = 4711;
  t.M->AddEntry(std::move(e));
  t.M->RebuildTree();
  t.M->FindCategoryNode(101)->EntryId = 999;
  TUserTreeLines lines;
  TUserTreeFillTarget target(lines);
  AddChildrenToTreeList(*t.M, t.M->Root(), target, target.RootLine());
  target.Refill();
  lines.ExpandLine(lines.At(0), 0);
  std::string texts;
  for (int i = 0; i < lines.Count(); ++i) texts += std::string(lines.At(i)->Item->Text()) + " ";
  EXPECT_EQ(texts, "A a1 a2 not found ");
}

TEST(TreeFill, DeepChainWithoutRecursion) {
  // 100,000 nested open categories: filled, opened and torn down iteratively.
  auto m = std::make_unique<TDBNodeManager>();
  const int depth = 100000;
  for (int i = 0; i < depth; ++i) {
    auto c = std::make_unique<TDBCategory>();
    c->Id = i;
    c->ParentId = i - 1;
    c->Name = "c";
    c->Open = 1;
    m->AddCategory(std::move(c));
    auto e = std::make_unique<TDBCategoryData>();
    e->EntryId = i;
    e->CategoryId = i;
    e->IsCategory = 1;
    m->AddEntry(std::move(e));
  }
  m->RebuildTree();
  TDBIndentLevelWidths widths;
  CollectIndentLevelWidths(*m, nullptr, widths, 5, 3);
  EXPECT_EQ(widths.Levels().size(), static_cast<size_t>(depth));
  auto lines = std::make_unique<TUserTreeLines>();
  TUserTreeFillTarget target(*lines);
  AddChildrenToTreeList(*m, m->Root(), target, target.RootLine());
  target.Refill();
  RestoreOpenCategories(*m, target);
  ASSERT_EQ(lines->Count(), depth);
  EXPECT_EQ(lines->At(depth - 1)->Level, depth);
  lines.reset();
}

}  // namespace
