// The key catalogue: default entry and numbering, sorted nodes, records in
// arrival order, and the file form read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/core/index/keycat.h"
#include "platform/core/bytestream.h"

namespace {

class KeyCatalogue : public ::testing::Test {
protected:
  void SetUp() override { SetKeyEntryUniqueCounter(1); }
};

TKeyEntry Rec(const char* key, uint32_t value = 0) {
  TKeyEntry e(key);
  e.Value = value;
  return e;
}

TEST_F(KeyCatalogue, DefaultEntryIsNumberedOneTwoThree) {
  TKeyEntryArrayManager m;
  EXPECT_EQ(m.TotalCount(), 0);
  EXPECT_EQ(m.AddEntry("CAT", "SUBCAT", Rec("DATA1")), 0);
  SetKeyEntryUniqueCounter(1);
  TKeyEntryArrayManager d;
  d.AddDefaultEntry();
  ASSERT_EQ(d.CategoryCount(), 1);
  TKeyEntryArrayArray* cat = d.Category(0);
  EXPECT_STREQ(cat->Name(), "CAT");
  EXPECT_EQ(cat->Header.UniqueNumber, 1u);
  ASSERT_EQ(cat->ChildCount(), 1);
  EXPECT_STREQ(cat->Child(0)->Name(), "SUBCAT");
  EXPECT_EQ(cat->Child(0)->Header.UniqueNumber, 2u);
  TKeyEntry e;
  ASSERT_TRUE(cat->Child(0)->Tree().GetAt(0, e));
  EXPECT_STREQ(e.Key, "DATA1");
  EXPECT_EQ(e.UniqueNumber, 3u);
  EXPECT_EQ(d.TotalCount(), 1);
  EXPECT_EQ(GetKeyEntryUniqueCounter(), 4u);
  EXPECT_EQ(d.CurrentCategory, 0);
}

TEST_F(KeyCatalogue, NodesSortedByNameAndFoundByName) {
  TKeyEntryArrayManager m;
  for (const char* c : {"Zoo", "apple", "Apple", "\xC4pfel", "banana"}) m.AddEntry(c, "s", Rec("r"));
  std::vector<std::string> names;
  for (int32_t i = 0; i < m.CategoryCount(); ++i) names.push_back(m.Category(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"\xC4pfel", "apple", "Apple", "banana", "Zoo"}));
  EXPECT_EQ(m.FindCategory("banana"), 3);
  EXPECT_EQ(m.FindCategory("none"), -1);
  EXPECT_EQ(m.FindSubcategory(3, "s"), 0);
  EXPECT_EQ(m.FindSubcategory(9, "s"), -1);
  EXPECT_EQ(m.FindSubcategory(-1, "s"), -1);
  TKeyEntry h;
  EXPECT_TRUE(m.GetCategoryHeader(4, h));
  EXPECT_STREQ(h.Key, "Zoo");
  EXPECT_FALSE(m.GetCategoryHeader(5, h));
  EXPECT_FALSE(m.Category(0)->GetChildHeader(1, h));
  // A node whose name is taken is not filed and stays with the caller.
  auto dup = std::make_unique<TKeyEntryArrayArray>();
  dup->SetName("Zoo");
  EXPECT_EQ(m.InsertSorted(dup), -1);
  EXPECT_NE(dup, nullptr);
  EXPECT_EQ(m.CategoryCount(), 5);
}

TEST_F(KeyCatalogue, EqualKeysKeepArrivalOrder) {
  TKeyEntryArrayManager m;
  EXPECT_EQ(m.AddEntry("c", "s", Rec("b", 1)), 0);
  EXPECT_EQ(m.AddEntry("c", "s", Rec("a", 2)), 0);
  EXPECT_EQ(m.AddEntry("c", "s", Rec("b", 3)), 2);
  EXPECT_EQ(m.AddEntry("c", "s", Rec("b", 4)), 3);
  MTREE<TKeyEntry>& t = m.Category(0)->Child(0)->Tree();
  std::vector<uint32_t> values;
  for (int32_t i = 0; i < 4; ++i) {
    TKeyEntry e;
    t.GetAt(i, e);
    values.push_back(e.Value);
  }
  EXPECT_EQ(values, (std::vector<uint32_t>{2, 1, 3, 4}));
}

TEST_F(KeyCatalogue, LongNamesAreCutTo63) {
  TKeyEntryArrayManager m;
  const std::string name(80, 'n');
  m.AddEntry(name.c_str(), name.c_str(), Rec(name.c_str()));
  EXPECT_EQ(std::string(m.Category(0)->Name()), name.substr(0, 63));
  EXPECT_EQ(std::string(m.Category(0)->Child(0)->Name()), name.substr(0, 63));
  EXPECT_EQ(m.FindCategory(name.substr(0, 63).c_str()), 0);
}

TEST_F(KeyCatalogue, WriteReadRoundTrip) {
  TKeyEntryArrayManager m;
  m.SetName("root");
  m.AddDefaultEntry();
  for (int i = 0; i < 300; ++i) {
    TKeyEntry r = Rec(("key" + std::to_string(i % 97)).c_str(), static_cast<uint32_t>(i));
    r.Flag = static_cast<uint8_t>(i);
    r.RowOwned = static_cast<uint8_t>(i & 1);
    m.AddEntry(i % 3 ? "Ort" : "Name", ("Teil" + std::to_string(i % 5)).c_str(), r);
  }
  tsl::MemoryStream out;
  ASSERT_TRUE(m.Write(out));
  const uint32_t counter = GetKeyEntryUniqueCounter();

  TKeyEntryArrayManager back;
  back.AddEntry("stale", "stale", Rec("stale"));
  tsl::MemoryStream in(out.Data());
  ASSERT_TRUE(back.Read(in));
  EXPECT_EQ(GetKeyEntryUniqueCounter(), counter + 3);  // only the stale nodes took numbers
  EXPECT_STREQ(back.Name(), "root");
  ASSERT_EQ(back.CategoryCount(), m.CategoryCount());
  EXPECT_EQ(back.TotalCount(), m.TotalCount());
  for (int32_t c = 0; c < m.CategoryCount(); ++c) {
    TKeyEntryArrayArray* a = m.Category(c);
    TKeyEntryArrayArray* b = back.Category(c);
    EXPECT_STREQ(a->Name(), b->Name());
    EXPECT_EQ(a->Header.UniqueNumber, b->Header.UniqueNumber);
    ASSERT_EQ(a->ChildCount(), b->ChildCount());
    for (int32_t s = 0; s < a->ChildCount(); ++s) {
      EXPECT_STREQ(a->Child(s)->Name(), b->Child(s)->Name());
      EXPECT_EQ(a->Child(s)->Header.UniqueNumber, b->Child(s)->Header.UniqueNumber);
      ASSERT_EQ(a->Child(s)->Count(), b->Child(s)->Count());
      for (int32_t i = 0; i < static_cast<int32_t>(a->Child(s)->Count()); ++i) {
        TKeyEntry x, y;
        a->Child(s)->Tree().GetAt(i, x);
        b->Child(s)->Tree().GetAt(i, y);
        EXPECT_STREQ(x.Key, y.Key);
        EXPECT_EQ(x.Value, y.Value);
        EXPECT_EQ(x.UniqueNumber, y.UniqueNumber);
        EXPECT_EQ(x.Flag, y.Flag);
        EXPECT_EQ(x.RowOwned, y.RowOwned);
      }
    }
  }
  // Written again, the same bytes.
  tsl::MemoryStream again;
  ASSERT_TRUE(back.Write(again));
  EXPECT_EQ(again.Data(), out.Data());
}

TEST_F(KeyCatalogue, FileLayout) {
  TKeyEntryArrayManager m;
  m.AddDefaultEntry();
  tsl::MemoryStream out;
  ASSERT_TRUE(m.Write(out));
  const std::vector<uint8_t>& b = out.Data();
  ASSERT_EQ(b.size(), 3u * (4 + 74) + 74);
  EXPECT_EQ(b[0], 1);                         // one category
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[4 + 74 + 4])), "CAT");
  EXPECT_EQ(b[4 + 74 + 4 + 68], 1);           // its unique number
  EXPECT_EQ(b[2 * (4 + 74)], 1);              // one subcategory
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[3 * (4 + 74)])), "DATA1");
  EXPECT_EQ(b[3 * (4 + 74) + 68], 3);
}

TEST_F(KeyCatalogue, ShortFileKeepsWhatWasRead) {
  TKeyEntryArrayManager m;
  for (int i = 0; i < 10; ++i) m.AddEntry("c", "s", Rec(("r" + std::to_string(i)).c_str()));
  tsl::MemoryStream out;
  ASSERT_TRUE(m.Write(out));
  std::vector<uint8_t> cut = out.Data();
  cut.resize(cut.size() - 74 * 3 - 10);  // inside the 7th record
  TKeyEntryArrayManager back;
  tsl::MemoryStream in(cut);
  EXPECT_FALSE(back.Read(in));
  EXPECT_EQ(back.TotalCount(), 6);
  ASSERT_EQ(back.CategoryCount(), 1);
  // Nothing at all: the count reads as 0 and the header fails.
  tsl::MemoryStream empty;
  EXPECT_FALSE(back.Read(empty));
  EXPECT_EQ(back.CategoryCount(), 0);
}

TEST_F(KeyCatalogue, RowPointerStaysInMemory) {
  TKeyEntryArrayManager m;
  m.AddDefaultEntry();
  MTREE<TKeyEntry>& t = m.Category(0)->Child(0)->Tree();
  TKeyEntry e;
  ASSERT_TRUE(t.GetAt(0, e));
  int row = 0;
  e.Row = &row;
  e.RowOwned = 1;
  ASSERT_TRUE(t.SetAt(0, e));
  TKeyEntry got;
  ASSERT_TRUE(t.GetAt(0, got));
  EXPECT_EQ(got.Row, &row);
  tsl::MemoryStream out;
  ASSERT_TRUE(m.Write(out));
  TKeyEntryArrayManager back;
  tsl::MemoryStream in(out.Data());
  ASSERT_TRUE(back.Read(in));
  ASSERT_TRUE(back.Category(0)->Child(0)->Tree().GetAt(0, got));
  EXPECT_EQ(got.Row, nullptr);
  EXPECT_EQ(got.RowOwned, 1);
}

}  // namespace
