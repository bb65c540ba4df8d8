#include "panes/webpane/core/elementtable.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// An element that counts its deletions.
struct Element {
  explicit Element(int* deleted = nullptr) : Deleted(deleted) {}
  ~Element() {
    if (Deleted) ++*Deleted;
  }
  int* Deleted;
};

std::vector<int> Ids(const TElementTable<Element>& t) {
  std::vector<int> ids;
  for (int i = 0; i < t.Count(); ++i) ids.push_back(t.IdAt(i));
  return ids;
}

TEST(WebpaneElementTable, HoldsAtMost249AndNeverGivesAnIdTwice) {
  TElementTable<Element> t;
  for (int i = 0; i < 249; ++i) ASSERT_EQ(t.Add(std::make_unique<Element>()), i);
  EXPECT_EQ(t.Add(std::make_unique<Element>()), -1) << "the 250th element";
  EXPECT_EQ(t.Count(), 249);
  EXPECT_TRUE(t.Take(17));
  EXPECT_EQ(t.Add(std::make_unique<Element>()), 249) << "the freed slot takes the next id, not 17";
  EXPECT_EQ(t.Add(std::make_unique<Element>()), -1);
  EXPECT_EQ(t.Find(17), nullptr);
  EXPECT_NE(t.Find(249), nullptr);
}

TEST(WebpaneElementTable, DeletingKeepsTheOthersInOrder) {
  const struct {
    const char* what;
    int take;
    bool known;
    std::vector<int> left;
  } cases[] = {
      {"the first of three", 0, true, {1, 2}},
      {"the middle one", 1, true, {0, 2}},
      {"the last one", 2, true, {0, 1}},
      {"an unknown id", 7, false, {0, 1, 2}},
      {"-1", -1, false, {0, 1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TElementTable<Element> t;
    int deleted = 0;
    std::vector<Element*> made;
    for (int i = 0; i < 3; ++i) {
      auto e = std::make_unique<Element>(&deleted);
      made.push_back(e.get());
      t.Add(std::move(e));
    }
    EXPECT_EQ(static_cast<bool>(t.Take(c.take)), c.known);
    EXPECT_EQ(deleted, c.known ? 1 : 0);
    EXPECT_EQ(Ids(t), c.left);
    for (int id : c.left) EXPECT_EQ(t.Find(id), made[static_cast<size_t>(id)]) << "id " << id;
    EXPECT_EQ(t.Find(c.take), nullptr);
  }
}

TEST(WebpaneElementTable, ClearDeletesEveryElementAndIdsGoOn) {
  TElementTable<Element> t;
  int deleted = 0;
  for (int i = 0; i < 4; ++i) t.Add(std::make_unique<Element>(&deleted));
  t.Clear();
  EXPECT_EQ(deleted, 4);
  EXPECT_EQ(t.Count(), 0);
  EXPECT_EQ(t.Add(std::make_unique<Element>()), 4);
  EXPECT_EQ(t.Add(nullptr), -1);
  EXPECT_EQ(t.Add(std::make_unique<Element>()), 5);
}

}  // namespace
