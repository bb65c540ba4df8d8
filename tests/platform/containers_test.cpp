#include <gtest/gtest.h>

#include "platform/core/containers.h"
#include "platform/core/cstring.h"

namespace {
struct Item {
  static int alive;
  int key, tag;
  Item(int k, int t = 0) : key(k), tag(t) { ++alive; }
  ~Item() { --alive; }
  bool operator==(const Item& o) const { return key == o.key; }
  bool operator<(const Item& o) const { return key < o.key; }
  unsigned HashValue() const { return static_cast<unsigned>(key); }
};
int Item::alive = 0;
}  // namespace

TEST(Containers, IndirectArrayOwnershipAndValueFind) {
  {
    TIArrayAsVector<Item> a;
    a.Add(new Item(1));
    a.Add(new Item(2));
    a.AddAt(new Item(0), 0);
    Item probe(2);
    EXPECT_EQ(a.Find(&probe), 2);
    EXPECT_EQ(a.FirstThat([](const Item& i) { return i.key > 0; })->key, 1);
    EXPECT_EQ(a.LastThat([](const Item& i) { return i.key > 0; })->key, 2);
    Item* kept = a[0];
    a.Detach(kept);  // not deleted
    EXPECT_EQ(a.GetItemsInContainer(), 2);
    delete kept;
    a.Destroy(0);
    EXPECT_EQ(a.GetItemsInContainer(), 1);
  }
  EXPECT_EQ(Item::alive, 0);
  {
    Item outside(5);
    TIArrayAsVector<Item> borrowed;
    borrowed.OwnsElements(false);
    borrowed.Add(&outside);
  }
  EXPECT_EQ(Item::alive, 0);
}

TEST(Containers, SortedArrayInsertsAfterEquals) {
  TISArrayAsVector<Item> s;
  s.Add(new Item(5, 1));
  s.Add(new Item(1, 1));
  s.Add(new Item(5, 2));
  s.Add(new Item(3, 1));
  s.Add(new Item(5, 3));
  std::vector<std::pair<int, int>> got;
  for (Item* i : s) got.push_back({i->key, i->tag});
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{1, 1}, {3, 1}, {5, 1}, {5, 2}, {5, 3}}));
  Item five(5), four(4);
  EXPECT_EQ(s.Find(&five), 2);
  EXPECT_EQ(s.Find(&four), tsl::kNotFound);
}

TEST(Containers, HashTableFindDetachFlush) {
  {
    TIHashTableImp<Item> h(7);
    for (int k = 0; k < 50; ++k) h.Add(new Item(k, k * 10));
    Item probe(42);
    ASSERT_NE(h.Find(&probe), nullptr);
    EXPECT_EQ(h.Find(&probe)->tag, 420);
    EXPECT_EQ(h.Detach(&probe, tsl::DeleteType::Delete), 1);
    EXPECT_EQ(h.Find(&probe), nullptr);
    EXPECT_EQ(h.GetItemsInContainer(), 49);
  }
  EXPECT_EQ(Item::alive, 0);
}

TEST(Containers, HashTableWalksInBucketOrder) {
  struct Case {
    const char* what;
    unsigned buckets;  // sparse tables walk the filled buckets only
  };
  for (const Case& c : {Case{"sparse", 1000}, Case{"dense", 20}}) {
    SCOPED_TRACE(c.what);
    TIHashTableImp<Item> h(c.buckets);
    for (int k : {12, 3, 5, 12 + int(c.buckets), 3 + int(c.buckets)}) h.Add(new Item(k));
    Item five(5);
    h.Detach(&five, tsl::DeleteType::Delete);  // empties a bucket ...
    h.Add(new Item(5, 1));                      // ... that fills again
    std::vector<int> keys;
    h.ForEach([&](Item& i) { keys.push_back(i.key); });
    EXPECT_EQ(keys, (std::vector<int>{3, 3 + int(c.buckets), 5, 12, 12 + int(c.buckets)}));
    Item probe(3 + int(c.buckets));
    EXPECT_EQ(h.FindIf(3, [&](const Item& i) { return i.key == probe.key; })->key, probe.key);
    h.Flush();
    EXPECT_TRUE(h.IsEmpty());
    keys.clear();
    h.ForEach([&](Item& i) { keys.push_back(i.key); });
    EXPECT_TRUE(keys.empty());
  }
  EXPECT_EQ(Item::alive, 0);
}

TEST(ClassLibString, CaseModeStripAndSearch) {
  string s("  Hallo Welt  ");
  EXPECT_EQ(s.strip(string::Both), "Hallo Welt");
  EXPECT_EQ(s.strip(string::Leading), "Hallo Welt  ");
  EXPECT_EQ(s.strip(), "  Hallo Welt");
  EXPECT_TRUE(s.contains("Welt"));
  EXPECT_FALSE(s.contains("welt"));
  {
    tsl::CaseInsensitiveScope ci;
    EXPECT_TRUE(s.contains("welt"));
    EXPECT_EQ(string("abc"), string("ABC"));
    EXPECT_TRUE(string("abc") < string("ABD"));
  }
  string cp("\xe4\xf6\xfc\xdf");  // äöüß in code page 1252
  cp.to_upper();
  EXPECT_EQ(cp, "\xc4\xd6\xdc\xdf");
  EXPECT_EQ(string("abc").substr(5), "");
  EXPECT_EQ(string("abcdef")(1, 3), "bcd");
}
