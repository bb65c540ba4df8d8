// The counted B-tree: the edge cases of splits, borrows and merges, the
// look-up modes, damaged pages, and a model-based random test against
// std::multimap with ordinals, in memory and in an index file.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <string>

#include "foundation/core/index/fbase.h"
#include "foundation/core/index/keyentry.h"
#include "foundation/core/index/memhost.h"
#include "foundation/core/index/mtree.h"
#include "index_test_util.h"

namespace {

using Tree = Probe<MTREE<TKeyEntry>>;
using FileTree = Probe<MTREE<TKeyEntry, BT_FBASE>>;

TKeyEntry Make(const std::string& key, uint32_t id) {
  TKeyEntry e(key.c_str());
  e.Value = id;
  e.UniqueNumber = id * 7;
  e.Flag = static_cast<uint8_t>(id);
  e.RowOwned = static_cast<uint8_t>(id >> 8);
  e.Row = reinterpret_cast<void*>(static_cast<uintptr_t>(id) * 16 + 8);
  return e;
}

std::string Num(int i) {
  char b[16];
  std::snprintf(b, sizeof b, "k%04d", i);
  return b;
}

// Keys in the tree, in ordinal order.
template <class T>
std::vector<std::string> Keys(T& t) {
  std::vector<std::string> out;
  for (uint32_t i = 0; i < t.Count(); ++i) {
    TKeyEntry e;
    EXPECT_TRUE(t.GetAt(static_cast<int32_t>(i), e));
    out.push_back(e.Key);
  }
  return out;
}

TEST(MTree, PageSizesOfBothInstances) {
  EXPECT_EQ((MTREE<TKeyEntry>::kPageBytes), 5258u);
  MTREE<TKeyEntry> t;
  EXPECT_EQ(t.PageSize(), 5258);
}

TEST(MTree, SixtyFifthInsertSplitsTheRootLeaf) {
  Tree t;
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i), 0));
  uint32_t root = t.RootHandle();
  t.WithPage(root, [&](uint8_t* p) {
    EXPECT_TRUE(Tree::IsLeaf(p));
    EXPECT_EQ(Tree::N(p), 64);
    return false;
  });
  EXPECT_EQ(t.BytesInUse(), 5258u);
  ASSERT_TRUE(t.Insert(Make(Num(64), 64), 0));
  root = t.RootHandle();
  t.WithPage(root, [&](uint8_t* p) {
    EXPECT_FALSE(Tree::IsLeaf(p));
    EXPECT_EQ(Tree::N(p), 1);
    EXPECT_STREQ(Tree::Key(p, 0), Num(32).c_str());  // the 33rd key
    EXPECT_EQ(Tree::ChildCount(p, 0), 32u);
    EXPECT_EQ(Tree::ChildCount(p, 1), 32u);
    return false;
  });
  EXPECT_EQ(t.BytesInUse(), 3u * 5258u);
  EXPECT_EQ(t.Validate(), "");
}

TEST(MTree, SplitAtEveryInsertPositionKeepsOrderAndCounts) {
  // The carried entry lands before, at and after the middle of the full page.
  for (int at : {0, 10, 31, 32, 33, 50, 64}) {
    Tree t;
    for (int i = 0; i < 65; ++i)
      if (i != at) {
        ASSERT_TRUE(t.Insert(Make(Num(i), i), 0));
      }
    int32_t ord = -1;
    ASSERT_TRUE(t.Insert(Make(Num(at), at), 0, &ord));
    EXPECT_EQ(ord, at);
    EXPECT_EQ(t.Validate(), "") << at;
    std::vector<std::string> want;
    for (int i = 0; i < 65; ++i) want.push_back(Num(i));
    EXPECT_EQ(Keys(t), want) << at;
  }
}

TEST(MTree, EqualKeysKeepArrivalOrderAndFindFirstAndLast) {
  Tree t;
  ASSERT_TRUE(t.Insert(Make("a", 1), 0));
  ASSERT_TRUE(t.Insert(Make("c", 2), 0));
  for (uint32_t id = 10; id < 110; ++id) ASSERT_TRUE(t.Insert(Make("b", id), 1));
  EXPECT_EQ(t.Validate(), "");
  TKeyEntry e;
  int32_t ord = -1;
  ASSERT_TRUE(t.Find("b", -1, &e, &ord));
  EXPECT_EQ(e.Value, 10u);
  EXPECT_EQ(ord, 1);
  ASSERT_TRUE(t.Find("b", 1, &e, &ord));
  EXPECT_EQ(e.Value, 109u);
  EXPECT_EQ(ord, 100);
  for (int32_t i = 1; i <= 100; ++i) {
    ASSERT_TRUE(t.GetAt(i, e));
    EXPECT_EQ(e.Value, static_cast<uint32_t>(9 + i));
  }
  // Mode -1 puts a new equal key in front of them.
  ASSERT_TRUE(t.Insert(Make("b", 5), -1, &ord));
  EXPECT_EQ(ord, 1);
}

TEST(MTree, NearestModes) {
  Tree t;
  for (const char* k : {"b", "d", "d", "f"}) ASSERT_TRUE(t.Insert(Make(k, k[0]), 1));
  struct Case {
    const char* key;
    int mode;
    bool found;
    const char* want;
    int32_t ordinal;
  } cases[] = {
      {"c", -2, true, "b", 0}, {"c", 2, true, "d", 1}, {"d", -2, true, "d", 1},
      {"d", 2, true, "d", 2},  {"d", -3, true, "b", 0}, {"d", 3, true, "f", 3},
      {"b", -3, false, "", 0}, {"f", 3, false, "", 0},  {"a", -2, false, "", 0},
      {"g", 2, false, "", 0},  {"a", 2, true, "b", 0},  {"g", -2, true, "f", 3},
      {"c", 0, false, "", 0},  {"c", -1, false, "", 0}, {"c", 1, false, "", 0},
  };
  for (const Case& c : cases) {
    TKeyEntry e;
    int32_t ord = -1;
    EXPECT_EQ(t.Find(c.key, c.mode, &e, &ord), c.found) << c.key << " " << c.mode;
    if (c.found) {
      EXPECT_STREQ(e.Key, c.want) << c.key << " " << c.mode;
      EXPECT_EQ(ord, c.ordinal) << c.key << " " << c.mode;
    }
    EXPECT_TRUE(t.PathEmpty());
  }
}

TEST(MTree, OrdinalRangeAndRemoveLast) {
  ErrorLines errors;
  Tree t;
  TKeyEntry e;
  EXPECT_FALSE(t.GetAt(0, e));
  EXPECT_FALSE(t.RemoveAt(-1));
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
  EXPECT_FALSE(t.GetAt(100, e));
  EXPECT_FALSE(t.GetAt(-1, e));
  EXPECT_FALSE(t.SetAt(100, e));
  EXPECT_EQ(errors.Text(), "");  // out of range through the public operations: no message
  EXPECT_FALSE(t.SeekOrdinal(100));
  EXPECT_EQ(errors.Lines(), std::vector<std::string>{"#ERR> PARA_ERR: index-parameter '100' out of range"});
  t.DropPath();
  ASSERT_TRUE(t.RemoveAt(-1, &e));
  EXPECT_STREQ(e.Key, Num(99).c_str());
  EXPECT_EQ(t.Count(), 99u);
  ASSERT_TRUE(t.GetAt(98, e));
  EXPECT_STREQ(e.Key, Num(98).c_str());
}

TEST(MTree, SetAtKeepsPlaceAndRowPointer) {
  Tree t;
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
  TKeyEntry e = Make(Num(150), 9999);
  ASSERT_TRUE(t.SetAt(150, e));
  TKeyEntry got;
  ASSERT_TRUE(t.GetAt(150, got));
  EXPECT_EQ(got.Value, 9999u);
  EXPECT_EQ(got.Row, e.Row);
}

// Two leaves of 32 under a root: removing from the left one merges them into
// one page of 64, which becomes the root.
TEST(MTree, MergeIntoSixtyFourAndCollapseRoot) {
  Tree t;
  for (int i = 0; i < 65; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
  ASSERT_TRUE(t.Find(Num(5).c_str(), 0));
  ASSERT_TRUE(t.FindAndRemove(Num(5).c_str(), 0));
  const uint32_t root = t.RootHandle();
  t.WithPage(root, [&](uint8_t* p) {
    EXPECT_TRUE(Tree::IsLeaf(p));
    EXPECT_EQ(Tree::N(p), 64);
    return false;
  });
  EXPECT_EQ(t.Count(), 64u);
  EXPECT_EQ(t.BytesInUse(), 5258u);
  EXPECT_EQ(t.Validate(), "");
}

// A right sibling of 33 lends its first entry through the separator.
TEST(MTree, BorrowFromSiblingOfThirtyThree) {
  Tree t;
  for (int i = 0; i < 66; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
  ASSERT_TRUE(t.FindAndRemove(Num(0).c_str(), 0));
  const uint32_t root = t.RootHandle();
  t.WithPage(root, [&](uint8_t* p) {
    EXPECT_EQ(Tree::N(p), 1);
    EXPECT_STREQ(Tree::Key(p, 0), Num(33).c_str());
    EXPECT_EQ(Tree::ChildCount(p, 0), 32u);
    EXPECT_EQ(Tree::ChildCount(p, 1), 32u);
    return false;
  });
  EXPECT_EQ(t.Validate(), "");
  // And from the left: empty the right leaf below 32.
  ASSERT_TRUE(t.Insert(Make(Num(0), 0)));
  ASSERT_TRUE(t.FindAndRemove(Num(60).c_str(), 0));
  EXPECT_EQ(t.Validate(), "");
}

TEST(MTree, RemovingTheOnlyEntryEmptiesTheTree) {
  Tree t;
  ASSERT_TRUE(t.Insert(Make("x", 1)));
  ASSERT_TRUE(t.RemoveAt(0));
  EXPECT_EQ(t.RootHandle(), 0u);
  EXPECT_EQ(t.Count(), 0u);
  EXPECT_EQ(t.BytesInUse(), 0u);
  ASSERT_TRUE(t.Insert(Make("y", 2)));
  EXPECT_EQ(t.Count(), 1u);
}

TEST(MTree, RemovingFromInternalPageTakesThePredecessor) {
  Tree t;
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
  // Root keys are internal; remove them one by one.
  for (int round = 0; round < 40; ++round) {
    const uint32_t root = t.RootHandle();
    std::string key;
    t.WithPage(root, [&](uint8_t* p) {
      key = Tree::Key(p, 0);
      return false;
    });
    TKeyEntry e;
    int32_t ord = -1;
    int32_t want = -1;
    ASSERT_TRUE(t.Find(key.c_str(), 0, nullptr, &want));
    ASSERT_TRUE(t.FindAndRemove(key.c_str(), 0, &e, &ord));
    EXPECT_EQ(key, e.Key);
    EXPECT_EQ(ord, want);
    ASSERT_EQ(t.Validate(), "");
  }
  EXPECT_EQ(t.Count(), 2960u);
}

TEST(MTree, LongKeysAreCutTo63) {
  Tree t;
  const std::string longKey(100, 'q');
  ASSERT_TRUE(t.Insert(Make(longKey, 1)));
  TKeyEntry e;
  ASSERT_TRUE(t.GetAt(0, e));
  EXPECT_EQ(std::string(e.Key), longKey.substr(0, 63));
  EXPECT_TRUE(t.Find(longKey.substr(0, 63).c_str(), 0));
}

TEST(MTree, ClearFreesEveryPage) {
  Tree t;
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
  t.Clear();
  EXPECT_EQ(t.Count(), 0u);
  EXPECT_EQ(t.BytesInUse(), 0u);
  EXPECT_FALSE(t.Find(Num(3).c_str(), 0));
  ASSERT_TRUE(t.Insert(Make("z", 1)));
  EXPECT_EQ(t.Count(), 1u);
}

// A failed page allocation in the middle of a split leaves the tree as it
// was: the 65th entry needs two pages (the right half and a new root).
TEST(MTree, FailedAllocationLeavesTreeIntact) {
  ErrorLines errors;
  Tree t;
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(t.Insert(Make(Num(i * 2), i)));
  const uint32_t bytes = t.BytesInUse();
  for (int skip : {0, 1}) {
    tsl::ClearIndexErrorStream();
    tsl::index_testing::FailAllocations(1, skip);
    EXPECT_FALSE(t.Insert(Make(Num(7), 99)));
    tsl::index_testing::FailAllocations(0);
    EXPECT_EQ(errors.Lines(), std::vector<std::string>{"#ERR> NOMEM_ERR: new char[5270] failed"});
    EXPECT_EQ(t.Count(), 64u);
    EXPECT_EQ(t.BytesInUse(), bytes);
    EXPECT_EQ(t.Validate(), "");
    EXPECT_TRUE(t.PathEmpty());
  }
  ASSERT_TRUE(t.Insert(Make(Num(7), 99)));
  EXPECT_EQ(t.Count(), 65u);
  EXPECT_EQ(t.Validate(), "");
}

TEST(MTree, DamagedPagesFailWithoutHarm) {
  ErrorLines errors;
  const std::string damaged = "#ERR> INTERNAL_ERR: damaged index-data in indexfile";
  {
    // Subtree counts that do not add up.
    Tree t;
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
    t.WithPage(t.RootHandle(), [](uint8_t* p) {
      Tree::SetChildCount(p, 0, Tree::ChildCount(p, 0) + 500);
      return true;
    });
    TKeyEntry e;
    tsl::ClearIndexErrorStream();
    EXPECT_FALSE(t.GetAt(199, e));
    EXPECT_EQ(errors.Lines(), std::vector<std::string>{damaged});
    EXPECT_TRUE(t.PathEmpty());
  }
  {
    // An entry count beyond the page.
    Tree t;
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
    t.WithPage(t.RootHandle(), [](uint8_t* p) {
      Tree::SetN(p, 65);
      return true;
    });
    tsl::ClearIndexErrorStream();
    EXPECT_FALSE(t.Find(Num(3).c_str(), 0));
    EXPECT_FALSE(t.Insert(Make("x", 1)));
    EXPECT_EQ(errors.Lines(), (std::vector<std::string>{damaged, damaged}));
    t.WithPage(t.RootHandle(), [](uint8_t* p) {
      Tree::SetN(p, 3);
      return true;
    });
  }
  {
    // A child link back to its own page: the path stack runs full.
    Tree t;
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(t.Insert(Make(Num(i), i)));
    const uint32_t root = t.RootHandle();
    uint32_t saved = 0;
    t.WithPage(root, [&](uint8_t* p) {
      saved = Tree::ChildHandle(p, 0);
      Tree::SetChild(p, 0, root, Tree::ChildCount(p, 0));
      return true;
    });
    tsl::ClearIndexErrorStream();
    EXPECT_FALSE(t.Find(Num(0).c_str(), 0));
    EXPECT_EQ(errors.Lines(), std::vector<std::string>{"#ERR> DEEP_ERR: tree too deep"});
    EXPECT_TRUE(t.PathEmpty());
    t.WithPage(root, [&](uint8_t* p) {
      Tree::SetChild(p, 0, saved, Tree::ChildCount(p, 0));
      return true;
    });
    EXPECT_EQ(t.Validate(), "");
  }
}

// ---- model-based random test ------------------------------------------------

struct ModelLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return tsl::AnsiWordCompare(a.c_str(), b.c_str()) < 0;
  }
};
using Model = std::multimap<std::string, uint32_t, ModelLess>;

// Keys from a small alphabet: many equal keys, and equal-comparing keys with
// different bytes (the soft hyphen has no weight).
std::string RandomKey(std::mt19937& rng) {
  static const char* const alphabet[] = {"a", "A", "b", "B", "-", "\xAD", "\xE4", "\xC4", "ss", "\xDF", "1", "'"};
  std::string k;
  const int len = static_cast<int>(rng() % 4);
  for (int i = 0; i < len; ++i) k += alphabet[rng() % 12];
  if (rng() % 200 == 0) k = std::string(63 + rng() % 10, 'z');
  if (k.size() > 63) k.resize(63);
  return k;
}

template <class T>
class ModelRun {
public:
  ModelRun(T& t, uint32_t seed) : t_(t), rng_(seed) {}

  int32_t Ordinal(typename Model::iterator it) { return static_cast<int32_t>(std::distance(m_.begin(), it)); }

  void CheckEntry(const TKeyEntry& e, typename Model::iterator it) {
    ASSERT_EQ(std::string(e.Key), it->first);
    ASSERT_EQ(e.Value, it->second);
    ASSERT_EQ(e.UniqueNumber, it->second * 7);
    void* row = reinterpret_cast<void*>(static_cast<uintptr_t>(it->second) * 16 + 8);
    ASSERT_EQ(e.Row, T::kCompanionBytes ? row : nullptr);
  }

  // Every look-up mode of one key against the model.
  void CheckFinds(const std::string& key) {
    const auto lo = m_.lower_bound(key), hi = m_.upper_bound(key);
    const bool present = lo != hi;
    for (int mode = -3; mode <= 3; ++mode) {
      typename Model::iterator want = m_.end();
      switch (mode) {
        case -3: want = lo == m_.begin() ? m_.end() : std::prev(lo); break;
        case -2: want = present ? lo : lo == m_.begin() ? m_.end() : std::prev(lo); break;
        case -1: want = present ? lo : m_.end(); break;
        case 0: want = present ? lo : m_.end(); break;
        case 1: want = present ? std::prev(hi) : m_.end(); break;
        case 2: want = present ? std::prev(hi) : hi; break;
        case 3: want = hi; break;
      }
      TKeyEntry e;
      int32_t ord = -1;
      const bool found = t_.Find(key.c_str(), mode, &e, &ord);
      ASSERT_EQ(found, want != m_.end()) << "mode " << mode;
      if (!found) continue;
      if (mode == 0) {  // any equal entry
        ASSERT_EQ(tsl::AnsiWordCompare(e.Key, key.c_str()), 0);
        ASSERT_GE(ord, Ordinal(lo));
        ASSERT_LT(ord, Ordinal(hi));
        want = std::next(m_.begin(), ord);
      }
      ASSERT_EQ(ord, Ordinal(want)) << "mode " << mode;
      CheckEntry(e, want);
    }
  }

  void CheckAll() {
    ASSERT_EQ(t_.Count(), m_.size());
    ASSERT_EQ(t_.Validate(), "");
    int32_t i = 0;
    for (auto it = m_.begin(); it != m_.end(); ++it, ++i) {
      TKeyEntry e;
      ASSERT_TRUE(t_.GetAt(i, e));
      CheckEntry(e, it);
    }
  }

  void Step(bool grow) {
    const uint32_t op = rng_() % 100;
    const std::string key = RandomKey(rng_);
    const size_t n = m_.size();
    if (op < (grow ? 60u : 25u)) {
      const int mode = static_cast<int>(rng_() % 3) - 1;
      const uint32_t id = nextId_++;
      int32_t ord = -1;
      ASSERT_TRUE(t_.Insert(Make(key, id), mode, &ord));
      const auto it = mode > 0 ? m_.insert(std::make_pair(key, id))
                               : m_.insert(m_.lower_bound(key), std::make_pair(key, id));
      ASSERT_EQ(ord, Ordinal(it));
    } else if (op < 75 && n > 0) {
      int32_t ordinal = static_cast<int32_t>(rng_() % n);
      if (rng_() % 8 == 0) ordinal = -1;
      TKeyEntry e;
      ASSERT_TRUE(t_.RemoveAt(ordinal, &e));
      auto it = std::next(m_.begin(), ordinal < 0 ? n - 1 : ordinal);
      CheckEntry(e, it);
      m_.erase(it);
    } else if (op < 85) {
      const int mode = static_cast<int>(rng_() % 5) - 2;  // -2..2
      const auto lo = m_.lower_bound(key), hi = m_.upper_bound(key);
      TKeyEntry e;
      int32_t ord = -1;
      const bool found = t_.FindAndRemove(key.c_str(), mode, &e, &ord);
      typename Model::iterator want = m_.end();
      if (lo != hi) want = mode > 0 ? std::prev(hi) : lo;
      else if (mode == -2 && lo != m_.begin()) want = std::prev(lo);
      else if (mode == 2) want = hi;
      ASSERT_EQ(found, want != m_.end());
      if (found) {
        if (mode == 0) want = std::next(m_.begin(), ord);
        ASSERT_EQ(ord, Ordinal(want));
        CheckEntry(e, want);
        m_.erase(want);
      }
    } else if (op < 92 && n > 0) {
      const int32_t ordinal = static_cast<int32_t>(rng_() % n);
      auto it = std::next(m_.begin(), ordinal);
      const uint32_t id = nextId_++;
      ASSERT_TRUE(t_.SetAt(ordinal, Make(it->first, id)));
      it->second = id;
    } else {
      CheckFinds(key);
    }
    ASSERT_EQ(t_.Count(), m_.size());
    if (!m_.empty()) {
      const int32_t probe = static_cast<int32_t>(rng_() % m_.size());
      TKeyEntry e;
      ASSERT_TRUE(t_.GetAt(probe, e));
      CheckEntry(e, std::next(m_.begin(), probe));
    }
    ASSERT_TRUE(t_.PathEmpty());
  }

  void Run(int steps, size_t high) {
    bool grow = true;
    for (int s = 0; s < steps; ++s) {
      if (m_.size() >= high) grow = false;
      if (m_.empty()) grow = true;
      ASSERT_NO_FATAL_FAILURE(Step(grow)) << "step " << s;
      if (s % 97 == 0) {
        ASSERT_NO_FATAL_FAILURE(CheckAll()) << "step " << s;
      }
    }
    // Down to nothing through merges and root collapses.
    while (!m_.empty()) {
      const int32_t ordinal = static_cast<int32_t>(rng_() % m_.size());
      ASSERT_TRUE(t_.RemoveAt(ordinal));
      m_.erase(std::next(m_.begin(), ordinal));
      if (m_.size() % 251 == 0) {
        ASSERT_NO_FATAL_FAILURE(CheckAll());
      }
    }
    ASSERT_NO_FATAL_FAILURE(CheckAll());
  }

  Model& model() { return m_; }

private:
  T& t_;
  std::mt19937 rng_;
  Model m_;
  uint32_t nextId_ = 1;
};

TEST(MTreeModel, MemoryTreeFollowsMultimap) {
  // The larger run grows three levels deep, so merges and borrows happen
  // between internal pages too.
  for (uint32_t seed : {1u, 2u, 3u}) {
    Tree t;
    ModelRun<Tree> run(t, seed);
    ASSERT_NO_FATAL_FAILURE(run.Run(seed == 3 ? 30000 : 10000, seed == 3 ? 9000 : 2500))
        << "seed " << seed;
    EXPECT_EQ(t.BytesInUse(), 0u);
  }
}

// The same tree in an index file behind a small cache, closed and reopened
// halfway.
TEST(MTreeModel, FileTreeFollowsMultimap) {
  tsl::TMemPackHost host;
  auto tree = std::make_unique<FileTree>(nullptr, 3 * 5258u, static_cast<int16_t>(4), false,
                                         host);
  host.AddFolder("C:\\IDX");
  ASSERT_TRUE(tree->Open("C:\\IDX\\KEYS.IDX", 2));
  ModelRun<FileTree> run(*tree, 7);
  for (int s = 0; s < 3000; ++s) ASSERT_NO_FATAL_FAILURE(run.Step(true)) << s;
  ASSERT_NO_FATAL_FAILURE(run.CheckAll());
  ASSERT_TRUE(tree->Close());
  tree = std::make_unique<FileTree>(nullptr, 8 * 5258u, static_cast<int16_t>(1), true, host);
  ASSERT_TRUE(tree->Open("C:\\IDX\\KEYS.IDX", 0));
  ModelRun<FileTree> again(*tree, 8);
  again.model() = run.model();
  ASSERT_NO_FATAL_FAILURE(again.CheckAll());
  ASSERT_NO_FATAL_FAILURE(again.Run(3000, 1500));
  ASSERT_TRUE(tree->Close());
}

}  // namespace
