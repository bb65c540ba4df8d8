// The index-file node store: file layout, free list, growth, cache and its
// error lines, over the in-memory host.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/core/index/fbase.h"
#include "foundation/core/index/keyentry.h"
#include "foundation/core/index/memhost.h"
#include "foundation/core/index/mtree.h"
#include "index_test_util.h"

namespace {

const char kPath[] = "C:\\IDX\\T.IDX";
constexpr int16_t kNode = 32;

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct Store {
  tsl::TMemPackHost host;
  std::unique_ptr<BT_FBASE> s;
  explicit Store(int16_t growth = 1, uint32_t cache = 1 << 20, bool writeThrough = false) {
    host.AddFolder("C:\\IDX");
    s = std::make_unique<BT_FBASE>(kNode, cache, growth, writeThrough, host);
  }
  const std::vector<uint8_t>& File() { return *host.File(kPath); }
};

TEST(IndexFile, NewFileHoldsTheHeaderAndNodeOneFollowsIt) {
  Store st;
  ASSERT_TRUE(st.s->Open(kPath, 2));
  EXPECT_EQ(st.File(), (std::vector<uint8_t>{32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  uint32_t n = 0;
  uint8_t* d = st.s->AllocPage(n);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(n, 1u);
  std::memset(d, 0xAB, kNode);
  ASSERT_TRUE(st.s->ReleasePage(d, true));
  ASSERT_TRUE(st.s->SetHeader(1, 5));
  ASSERT_TRUE(st.s->Close());
  const std::vector<uint8_t>& f = st.File();
  ASSERT_EQ(f.size(), 14u + kNode);
  EXPECT_EQ(U32(f, 6), 1u);   // root
  EXPECT_EQ(U32(f, 10), 5u);  // count
  EXPECT_EQ(f[14], 0xAB);
  EXPECT_EQ(f[14 + kNode - 1], 0xAB);
}

TEST(IndexFile, GrowthPutsTheExtraNodesOnTheFreeList) {
  Store st(4);
  ASSERT_TRUE(st.s->Open(kPath, 2));
  uint32_t n = 0;
  uint8_t* d = st.s->AllocPage(n);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(st.s->FirstFreeNode(), 3u);
  const std::vector<uint8_t>& f = st.File();
  ASSERT_EQ(f.size(), 14u + 4 * kNode);
  EXPECT_EQ(U32(f, 14 + 2 * kNode), 2u);  // node 3 links to 2
  EXPECT_EQ(U32(f, 14 + 1 * kNode), 1u);  // node 2 to 1
  EXPECT_EQ(U32(f, 14 + 0 * kNode), 0u);  // node 1 ends the list
  st.s->ReleasePage(d, false);
  // The next three come from the list, top first.
  for (uint32_t want : {3u, 2u, 1u}) {
    d = st.s->AllocPage(n);
    EXPECT_EQ(n, want);
    st.s->ReleasePage(d, true);
  }
  EXPECT_EQ(st.s->FirstFreeNode(), 0u);
}

TEST(IndexFile, FreedNodeIsHandedOutAgain) {
  Store st;
  ASSERT_TRUE(st.s->Open(kPath, 2));
  uint32_t a = 0, b = 0, c = 0;
  uint8_t* pa = st.s->AllocPage(a);
  uint8_t* pb = st.s->AllocPage(b);
  st.s->ReleasePage(pa, true);
  ASSERT_TRUE(st.s->FreePage(pb));
  EXPECT_EQ(st.s->FirstFreeNode(), b);
  uint8_t* pc = st.s->AllocPage(c);
  EXPECT_EQ(c, b);
  for (int i = 0; i < kNode; ++i) ASSERT_EQ(pc[i], 0);
  st.s->ReleasePage(pc, false);
  EXPECT_EQ(st.s->FirstFreeNode(), 0u);
}

TEST(IndexFile, OpenFailures) {
  ErrorLines errors;
  Store st;
  EXPECT_FALSE(st.s->Open("C:\\IDX\\NONE.IDX", 0));
  EXPECT_FALSE(st.s->Open("C:\\IDX\\NONE.IDX", 3));
  ASSERT_TRUE(st.s->Open(kPath, 1));  // made, as it was missing
  EXPECT_FALSE(st.s->Open(kPath, 0));
  ASSERT_TRUE(st.s->Close());
  BT_FBASE other(64, 1000, 1, false, st.host);
  EXPECT_FALSE(other.Open(kPath, 3));
  EXPECT_FALSE(other.IsOpen());
  st.host.PutFile("C:\\IDX\\SHORT.IDX", std::string("\x20\x00\x01", 3));
  EXPECT_FALSE(st.s->Open("C:\\IDX\\SHORT.IDX", 0));
  EXPECT_EQ(errors.Lines(), (std::vector<std::string>{
                                "#ERR> OPEN_ERR: open('C:\\IDX\\NONE.IDX',0) failed",
                                "#ERR> OPEN_ERR: open('C:\\IDX\\NONE.IDX',3) failed",
                                "#ERR> STATUS_ERR: indexfile already open",
                                "#ERR> SIZEINFO_ERR: mismatched size-information in indexfile",
                                "#ERR> READ_ERR: fread failed, no syserror",
                            }));
}

TEST(IndexFile, ReleasedNodeCannotBeFreedOrReleasedAgain) {
  ErrorLines errors;
  Store st;
  ASSERT_TRUE(st.s->Open(kPath, 2));
  uint32_t n = 0;
  uint8_t* d = st.s->AllocPage(n);
  ASSERT_TRUE(st.s->ReleasePage(d, true));
  EXPECT_FALSE(st.s->FreePage(d));
  EXPECT_FALSE(st.s->ReleasePage(d, false));
  EXPECT_EQ(st.s->FirstFreeNode(), 0u);
  EXPECT_EQ(errors.Lines(), (std::vector<std::string>{"#ERR> INTERNAL_ERR: node 1 already cached",
                                                      "#ERR> INTERNAL_ERR: node 1 already cached"}));
  // Fetched again from the cache, with what was written.
  EXPECT_EQ(st.s->FetchPage(n), d);
  st.s->ReleasePage(d, false);
}

TEST(IndexFile, ZeroCacheWritesBackAndFreesAtOnce) {
  Store st(1, 0);
  ASSERT_TRUE(st.s->Open(kPath, 2));
  uint32_t n = 0;
  uint8_t* d = st.s->AllocPage(n);
  EXPECT_EQ(st.s->CacheBytes(), static_cast<uint32_t>(kNode));
  d[0] = 0x5A;
  ASSERT_TRUE(st.s->ReleasePage(d, true));
  EXPECT_EQ(st.s->CacheBytes(), 0u);
  EXPECT_EQ(st.File()[14], 0x5A);
  d = st.s->FetchPage(n);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d[0], 0x5A);
  st.s->ReleasePage(d, false);
  EXPECT_EQ(st.s->CacheBytes(), 0u);
}

TEST(IndexFile, CacheDefersWritesUntilTrimmedOrFlushed) {
  Store st(1, 10 * (kNode + 21));
  ASSERT_TRUE(st.s->Open(kPath, 2));
  std::vector<uint32_t> numbers;
  for (int i = 0; i < 5; ++i) {
    uint32_t n = 0;
    uint8_t* d = st.s->AllocPage(n);
    d[1] = static_cast<uint8_t>(0x10 + i);
    st.s->ReleasePage(d, true);
    numbers.push_back(n);
  }
  EXPECT_EQ(st.File()[14 + 1], 0);  // not written yet
  EXPECT_EQ(st.s->CacheBytes(), 5u * kNode);
  ASSERT_TRUE(st.s->TrimCache(3 * kNode));  // drops the least recently released first
  EXPECT_EQ(st.s->CacheBytes(), 2u * kNode);
  EXPECT_EQ(st.File()[14 + 1], 0x10);
  EXPECT_EQ(st.File()[14 + 2 * kNode + 1], 0x12);
  EXPECT_EQ(st.File()[14 + 3 * kNode + 1], 0);
  ASSERT_TRUE(st.s->FlushAll());
  EXPECT_EQ(st.File()[14 + 4 * kNode + 1], 0x14);
  ASSERT_TRUE(st.s->SetCacheLimit(0));
  EXPECT_EQ(st.s->CacheBytes(), 0u);
  EXPECT_EQ(st.s->CacheLimit(), 0u);
}

TEST(IndexFile, WriteThroughWritesHeaderAndNodesAtOnce) {
  Store st(1, 1 << 20, true);
  ASSERT_TRUE(st.s->Open(kPath, 2));
  ASSERT_TRUE(st.s->SetHeader(3, 4));
  EXPECT_EQ(U32(st.File(), 6), 3u);
  uint32_t n = 0;
  uint8_t* d = st.s->AllocPage(n);
  d[0] = 0x77;
  st.s->ReleasePage(d, true);
  EXPECT_EQ(st.File()[14], 0x77);
}

TEST(IndexFile, FlushReportsUnreturnedNodes) {
  ErrorLines errors;
  Store st;
  ASSERT_TRUE(st.s->Open(kPath, 2));
  uint32_t a = 0, b = 0;
  st.s->AllocPage(a);
  st.s->ReleasePage(st.s->AllocPage(b), false);
  EXPECT_FALSE(st.s->FlushPages());
  EXPECT_EQ(errors.Lines(), std::vector<std::string>{"#ERR> INTERNAL_ERR: unreturned node 1"});
  EXPECT_TRUE(st.s->FlushPages());  // it went back to the ring
  EXPECT_TRUE(st.s->Close());
}

TEST(IndexFile, NodesOutsideTheFileAndFetchedTwiceAreDamage) {
  ErrorLines errors;
  Store st;
  ASSERT_TRUE(st.s->Open(kPath, 2));
  uint32_t a = 0;
  uint8_t* d = st.s->AllocPage(a);
  EXPECT_EQ(st.s->FetchPage(0), nullptr);
  EXPECT_EQ(st.s->FetchPage(2), nullptr);
  EXPECT_EQ(st.s->FetchPage(a), nullptr);  // still in use
  st.s->ReleasePage(d, false);
  EXPECT_EQ(errors.Lines(), std::vector<std::string>(3, "#ERR> INTERNAL_ERR: damaged index-data in indexfile"));
}

TEST(IndexFile, ReadOnlyFileCannotBeWritten) {
  ErrorLines errors;
  Store st;
  ASSERT_TRUE(st.s->Open(kPath, 2));
  ASSERT_TRUE(st.s->Close());
  ASSERT_TRUE(st.s->Open(kPath, 3));
  uint32_t n = 0;
  EXPECT_EQ(st.s->AllocPage(n), nullptr);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(errors.Lines(), std::vector<std::string>{"#ERR> WRITE_ERR: fwrite failed, no syserror"});
  EXPECT_TRUE(st.s->Close());
}

// A tree of TKeyEntry in an index file, written and read back.
TEST(IndexFile, TreeRoundTrip) {
  tsl::TMemPackHost host;
  host.AddFolder("C:\\IDX");
  using FileTree = MTREE<TKeyEntry, BT_FBASE>;
  {
    FileTree t(nullptr, 4 * 5258u, static_cast<int16_t>(8), false, host);
    ASSERT_TRUE(t.Open(kPath, 2));
    for (int i = 0; i < 1000; ++i) {
      TKeyEntry e(("key" + std::to_string((i * 7919) % 1000)).c_str());
      e.Value = static_cast<uint32_t>(i);
      ASSERT_TRUE(t.Insert(e, 1));
    }
    ASSERT_TRUE(t.Close());
  }
  const size_t size = host.File(kPath)->size();
  EXPECT_EQ((size - 14) % 5258, 0u);
  FileTree t(nullptr, 4 * 5258u, static_cast<int16_t>(8), false, host);
  ASSERT_TRUE(t.Open(kPath, 3));
  EXPECT_EQ(t.Count(), 1000u);
  TKeyEntry prev, e;
  for (int32_t i = 0; i < 1000; ++i) {
    ASSERT_TRUE(t.GetAt(i, e));
    if (i) {
      EXPECT_LT(tsl::AnsiWordCompare(prev.Key, e.Key), 0);
    }
    prev = e;
  }
  ASSERT_TRUE(t.Find("key500", 0, &e));
  EXPECT_EQ(e.Value * 7919 % 1000, 500u);
  EXPECT_TRUE(t.Close());
}

// Damaged nodes in a file fail the operation with the INTERNAL_ERR line.
TEST(IndexFile, DamagedNodesFailTheOperation) {
  using FileTree = MTREE<TKeyEntry, BT_FBASE>;
  tsl::TMemPackHost host;
  host.AddFolder("C:\\IDX");
  {
    FileTree t(nullptr, 1u << 20, static_cast<int16_t>(1), false, host);
    ASSERT_TRUE(t.Open(kPath, 2));
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(t.Insert(TKeyEntry(("k" + std::to_string(1000 + i)).c_str())));
    ASSERT_TRUE(t.Close());
  }
  const std::vector<uint8_t> good = *host.File(kPath);
  const uint32_t root = U32(good, 6);
  const size_t rootAt = 14 + (root - 1) * 5258;
  const size_t leafAt = 14 + (root == 1 ? 1 : 0) * 5258;  // a node other than the root
  struct Case {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"count above 64", rootAt, {65, 0}},
      {"negative count", leafAt, {0xFF, 0xFF}},
      {"empty page", leafAt, {0, 0}},
      {"child outside the file", rootAt + 2 + 64 * 74, {0xFF, 0, 0, 0}},
      {"child 0 is the page itself", rootAt + 2 + 64 * 74, {static_cast<uint8_t>(root), 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + static_cast<long>(c.at));
    host.PutFile(kPath, bad);
    ErrorLines errors;
    FileTree t(nullptr, 1u << 20, static_cast<int16_t>(1), false, host);
    ASSERT_TRUE(t.Open(kPath, 0)) << c.what;
    bool allOk = true;
    TKeyEntry e;
    for (int32_t i = 0; i < 200; ++i) allOk = t.GetAt(i, e) && allOk;
    allOk = t.Find("k1000", 0) && allOk;
    allOk = t.Find("k1199", 1) && allOk;
    allOk = t.Insert(TKeyEntry("k1100")) && allOk;
    allOk = t.RemoveAt(0) && allOk;
    allOk = t.RemoveAt(-1) && allOk;
    EXPECT_FALSE(allOk) << c.what;
    EXPECT_NE(errors.Text().find("#ERR> INTERNAL_ERR: damaged index-data in indexfile"), std::string::npos) << c.what;
    t.Close();
  }
  // Keys without their zero are cut at 63 characters in memory.
  std::vector<uint8_t> bad = good;
  std::fill(bad.begin() + static_cast<long>(leafAt) + 2, bad.begin() + static_cast<long>(leafAt) + 2 + 74 * 64, 'x');
  host.PutFile(kPath, bad);
  FileTree t(nullptr, 1u << 20, static_cast<int16_t>(1), false, host);
  ASSERT_TRUE(t.Open(kPath, 3));
  TKeyEntry e;
  bool seen = false;
  for (int32_t i = 0; i < 200; ++i)
    if (t.GetAt(i, e) && e.Key[0] == 'x') {
      EXPECT_EQ(std::string(e.Key), std::string(63, 'x'));
      seen = true;
    }
  EXPECT_TRUE(seen);
}

}  // namespace
