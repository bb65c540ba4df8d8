#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/core/check.h"
#include "foundation/core/memstack.h"

namespace {
std::vector<std::string> g_checks;
void Record(const char* cond, const char* unit, int) { g_checks.push_back(std::string(unit) + ": " + cond); }

char* C(void* p) { return static_cast<char*>(p); }
}  // namespace

TEST(MemStack, SegmentsAreSharedUntilFull) {
  // Requests are rounded up to whole pointer-sized units (at least 4 bytes),
  // so that every record is aligned for the pointers it holds; the segment
  // head takes 8 bytes of the rounded segment size.
  const bool wide = sizeof(void*) == 8;
  const uint32_t seg = wide ? 96 : 92;          // 100 rounded up to 104 or 100, less the head
  const uint32_t five = 8, one = wide ? 8 : 4;  // 5 and 1 rounded up
  const uint32_t bigBlock = wide ? 104 : 96;    // seg + 1 rounded up
  MemStack stack(100, 0);
  EXPECT_EQ(stack.SegmentSize(), seg);
  EXPECT_EQ(stack.BytesInUse(), 0u);
  EXPECT_EQ(stack.Alloc(0), nullptr);
  EXPECT_EQ(stack.BytesInUse(), 0u);  // no segment before the first request

  char* a = C(stack.Alloc(40));
  char* b = C(stack.Alloc(40));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(b - a, 40);
  EXPECT_EQ(stack.Room(), seg - 80);
  EXPECT_EQ(stack.BlockCount(), 1u);
  char* c = C(stack.Alloc(40));  // does not fit: a new segment
  EXPECT_EQ(stack.BlockCount(), 2u);
  EXPECT_EQ(stack.Room(), seg - 40);
  EXPECT_EQ(stack.BytesInUse(), 2 * (seg + 8));

  char* d = C(stack.Alloc(5));
  char* e = C(stack.Alloc(1));
  EXPECT_EQ(d - c, 40);
  EXPECT_EQ(e - d, static_cast<long>(five));
  for (char* p : {a, b, c, d, e}) EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(void*), 0u);

  for (char* p : {a, b, c})
    for (int i = 0; i < 40; ++i) EXPECT_EQ(p[i], 0);  // zero-filled
  std::memset(a, 0x55, 80);
  std::memset(c, 0x55, 40);

  char* big = C(stack.Alloc(seg + 1));  // larger than a segment: a block of its own
  ASSERT_TRUE(big);
  EXPECT_EQ(stack.BlockCount(), 3u);
  EXPECT_EQ(stack.Room(), seg - 40 - five - one);  // current segment kept
  EXPECT_EQ(stack.BytesInUse(), 2 * (seg + 8) + bigBlock + 8);
  // No request overlaps another.
  std::memset(d, 0x11, 5);
  std::memset(e, 0x22, 1);
  std::memset(big, 0x33, seg + 1);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(c[i], 0x55);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d[i], 0x11);
  EXPECT_EQ(e[0], 0x22);

  stack.FreeAll();
  EXPECT_EQ(stack.BytesInUse(), 0u);
  EXPECT_EQ(stack.BlockCount(), 0u);
}

TEST(MemStack, MaximumWasteKeepsWellFilledSegments) {
  MemStack stack(96 + 8, 16);
  ASSERT_EQ(stack.SegmentSize(), 96u);
  ASSERT_TRUE(stack.Alloc(56));
  ASSERT_EQ(stack.Room(), 40u);
  char* own = C(stack.Alloc(48));  // 40 left is more than 16 of waste: a block of its own
  ASSERT_TRUE(own);
  EXPECT_EQ(stack.BlockCount(), 2u);
  EXPECT_EQ(stack.Room(), 40u);
  ASSERT_TRUE(stack.Alloc(32));
  ASSERT_EQ(stack.Room(), 8u);
  ASSERT_TRUE(stack.Alloc(48));  // 8 left is within the waste: a new segment
  EXPECT_EQ(stack.BlockCount(), 3u);
  EXPECT_EQ(stack.Room(), 48u);
}

TEST(MemStack, ProgrammingErrorsAreReported) {
  g_checks.clear();
  auto old = tsl::SetCheckHandler(Record);
  {
    MemStack tiny(8, 0);  // no room for anything after the segment head
    EXPECT_EQ(tiny.SegmentSize(), 0u);
    void* p = tiny.Alloc(4);  // still served, from a block of its own
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(tiny.BlockCount(), 1u);
    MemBaseManager m;
    EXPECT_EQ(m.AllocBlock(0), nullptr);
  }
  tsl::SetCheckHandler(old);
  EXPECT_EQ(g_checks, (std::vector<std::string>{"memstack: segmentSiz > MEM_ALLIGN(sizeof(Segment))",
                                                "memman: size > 0"}));
}

TEST(MemStack, DumpListsBlocksNewestFirst) {
  MemBaseManager m;
  void* a = m.AllocBlock(16);
  void* b = m.AllocBlock(100);
  ASSERT_TRUE(a && b);
  std::ostringstream os;
  m.Dump(os);
  std::istringstream lines(os.str());
  std::string line;
  std::vector<std::string> all;
  while (std::getline(lines, line)) all.push_back(line);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0], "segmentlist:");
  EXPECT_EQ(all[1].substr(0, 4), ". [ ");
  EXPECT_NE(all[1].find(" ], size   108"), std::string::npos) << all[1];
  EXPECT_NE(all[2].find(" ], size    24"), std::string::npos) << all[2];
  EXPECT_EQ(all[3], "- 132 bytes in 2 blocks");
  EXPECT_EQ(m.BytesInUse(), 132u);
}
