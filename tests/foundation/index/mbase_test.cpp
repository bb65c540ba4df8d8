// The block pool: byte accounting, handles, validity and allocation failure.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/core/index/mbase.h"
#include "index_test_util.h"

namespace {

TEST(BlockPool, CountsBytesOfLivePagesOnly) {
  BT_MBASE pool(5258);
  EXPECT_EQ(pool.BytesInUse(), 0u);
  std::vector<uint8_t*> pages;
  for (int i = 0; i < 5; ++i) {
    uint32_t h = 0;
    uint8_t* p = pool.AllocPage(h);
    ASSERT_NE(p, nullptr);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(pool.FetchPage(h), p);
    EXPECT_EQ(pool.HandleOfPage(p), h);
    EXPECT_TRUE(pool.IsValidPage(p));
    for (int b = 0; b < 5258; ++b) ASSERT_EQ(p[b], 0) << b;
    p[5257] = 0xFF;  // the whole page is ours
    pages.push_back(p);
  }
  EXPECT_EQ(pool.BytesInUse(), 5u * 5258u);
  // Free the newest (the ring head), one in the middle and the oldest.
  for (int i : {4, 2, 0, 1, 3}) EXPECT_TRUE(pool.FreePage(pages[i]));
  EXPECT_EQ(pool.BytesInUse(), 0u);
  pool.FreeAllPages();  // on an empty pool only the fields reset
  EXPECT_EQ(pool.BytesInUse(), 0u);
}

TEST(BlockPool, HandlesOfFreedPagesNameNothing) {
  BT_MBASE pool(100);
  uint32_t a = 0, b = 0;
  uint8_t* pa = pool.AllocPage(a);
  pool.AllocPage(b);
  ASSERT_TRUE(pool.FreePage(pa));
  EXPECT_EQ(pool.FetchPage(a), nullptr);
  EXPECT_EQ(pool.FetchPage(0), nullptr);
  EXPECT_EQ(pool.FetchPage(12345), nullptr);
  EXPECT_FALSE(pool.IsValidPage(nullptr));
  uint32_t c = 0;
  uint8_t* pc = pool.AllocPage(c);
  EXPECT_EQ(pool.FetchPage(c), pc);
}

TEST(BlockPool, HeaderWordsAndFreeAll) {
  BT_MBASE pool(64);
  EXPECT_TRUE(pool.SetHeader(7, 9));
  uint32_t root = 0, count = 0;
  pool.GetHeader(root, count);
  EXPECT_EQ(root, 7u);
  EXPECT_EQ(count, 9u);
  uint32_t h;
  for (int i = 0; i < 10; ++i) pool.AllocPage(h);
  pool.FreeAllPages();
  pool.GetHeader(root, count);
  EXPECT_EQ(root, 0u);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(pool.BytesInUse(), 0u);
  EXPECT_TRUE(pool.ReleasePage(nullptr, true));
  EXPECT_TRUE(pool.FlushPages());
}

TEST(BlockPool, ExhaustedHeapWritesOneLine) {
  struct Case {
    int16_t pageSize;
    const char* line;
  } cases[] = {{5258, "#ERR> NOMEM_ERR: new char[5270] failed"},
               {17930, "#ERR> NOMEM_ERR: new char[17942] failed"}};
  for (const Case& c : cases) {
    ErrorLines errors;
    BT_MBASE pool(c.pageSize);
    uint32_t h = 99;
    tsl::index_testing::FailAllocations(1);
    EXPECT_EQ(pool.AllocPage(h), nullptr);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(pool.BytesInUse(), 0u);
    EXPECT_EQ(errors.Lines(), std::vector<std::string>{c.line});
    EXPECT_NE(pool.AllocPage(h), nullptr);
  }
}

}  // namespace
