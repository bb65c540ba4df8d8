#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "foundation/core/drawgeom.h"
#include "foundation/core/filesel.h"

namespace {

struct FitCase {
  int32_t w, h, bw, bh;
  bool ok;
  int32_t ow, oh;
};

TEST(FitSizeIntoBox, FitsByTheLongerSide) {
  const FitCase cases[] = {
      {400, 300, 200, 200, true, 200, 150},  // wider: width first
      {300, 400, 200, 200, true, 150, 200},  // taller: height first
      {300, 300, 200, 100, true, 100, 100},  // square takes the height branch
      {100, 50, 60, 20, true, 40, 20},       // width fits, height too big: scaled back
      {50, 100, 20, 60, true, 20, 40},       // height first, then width too big
      {3, 2, 100, 100, true, 100, 67},       // 66.67 rounds up
      {1, 1, 7, 9, true, 7, 7},
  };
  for (const FitCase& c : cases) {
    int32_t ow = -1, oh = -1;
    EXPECT_EQ(FitSizeIntoBox(c.w, c.h, c.bw, c.bh, ow, oh), c.ok) << c.w << "x" << c.h;
    EXPECT_EQ(ow, c.ow) << c.w << "x" << c.h << " in " << c.bw << "x" << c.bh;
    EXPECT_EQ(oh, c.oh) << c.w << "x" << c.h << " in " << c.bw << "x" << c.bh;
  }
}

TEST(FitSizeIntoBox, ZeroSizesFailWithZeroOutputs) {
  const int32_t zeros[][4] = {{0, 10, 10, 10}, {10, 0, 10, 10}, {10, 10, 0, 10}, {10, 10, 10, 0}};
  for (const auto& z : zeros) {
    int32_t ow = 77, oh = 77;
    EXPECT_FALSE(FitSizeIntoBox(z[0], z[1], z[2], z[3], ow, oh));
    EXPECT_EQ(ow, 0);
    EXPECT_EQ(oh, 0);
  }
}

TEST(FitSizeIntoBox, ExtremeSizesStayInRange) {
  int32_t ow = 0, oh = 0;
  const int32_t big = std::numeric_limits<int32_t>::max();
  EXPECT_TRUE(FitSizeIntoBox(1, big, big, big, ow, oh));
  EXPECT_EQ(oh, big);
  EXPECT_GE(ow, 0);
}

TEST(RoundToInt, RoundsHalvesUpAndClamps) {
  EXPECT_EQ(RoundToInt(2.5), 3);
  EXPECT_EQ(RoundToInt(2.49), 2);
  EXPECT_EQ(RoundToInt(-0.4), 0);
  EXPECT_EQ(RoundToInt(1e30), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(RoundToInt(-1e30), std::numeric_limits<int32_t>::min());
}

TEST(AlignOffset, StartCentreEnd) {
  EXPECT_EQ(AlignOffset(0, 200, 150), 0);
  EXPECT_EQ(AlignOffset(1, 200, 150), 25);
  EXPECT_EQ(AlignOffset(1, 201, 150), 25);  // 100 - 75
  EXPECT_EQ(AlignOffset(1, 200, 151), 25);  // 100 - 75: each half truncated
  EXPECT_EQ(AlignOffset(2, 200, 150), 50);
  EXPECT_EQ(AlignOffset(7, 200, 150), 0);
}

TEST(TestBits, AnyCommonBit) {
  EXPECT_TRUE(TestBits(0x2001, 0x2000));
  EXPECT_FALSE(TestBits(0x1000, 0x2000));
}

// A contour file image.
std::vector<uint8_t> Contour(const char* magic, int32_t count, const std::vector<ContourPoint>& points) {
  std::vector<uint8_t> b(magic, magic + std::strlen(magic));
  b.insert(b.end(), {1, 2, 3, 4});
  auto put = [&](int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  };
  put(count);
  for (const ContourPoint& p : points) put(p.x), put(p.y);
  return b;
}

TEST(ReadContour, ReadsThePolygon) {
  const std::vector<ContourPoint> tri = {{0, 0}, {100, -5}, {50, 80}};
  tsl::MemoryStream f(Contour("KONTUR", 3, tri));
  std::vector<ContourPoint> got;
  ASSERT_EQ(ReadContour(f, got), ContourResult::Ok);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1].x, 100);
  EXPECT_EQ(got[1].y, -5);
  EXPECT_EQ(got[2].y, 80);
}

TEST(ReadContour, RejectsBadFiles) {
  const std::vector<ContourPoint> tri = {{0, 0}, {100, 0}, {50, 80}};
  struct Case {
    std::vector<uint8_t> bytes;
    ContourResult want;
  } cases[] = {
      {Contour("KONTUX", 3, tri), ContourResult::NoMagic},
      {{'K', 'O', 'N'}, ContourResult::NoMagic},
      {Contour("KONTUR", 2, {{0, 0}, {1, 1}}), ContourResult::BadCount},
      {Contour("KONTUR", 0, {}), ContourResult::BadCount},
      {Contour("KONTUR", -1, tri), ContourResult::BadCount},
      {Contour("KONTUR", 4, tri), ContourResult::BadCount},           // more than the file holds
      {Contour("KONTUR", 0x7FFFFFFF, tri), ContourResult::BadCount},  // hostile count
  };
  cases[1].bytes.resize(3);
  for (Case& c : cases) {
    tsl::MemoryStream f(c.bytes);
    std::vector<ContourPoint> got = {{9, 9}};
    EXPECT_EQ(ReadContour(f, got), c.want);
    EXPECT_EQ(got.size(), 1u);  // untouched
  }
  // A header cut after the magic.
  tsl::MemoryStream cut(std::vector<uint8_t>{'K', 'O', 'N', 'T', 'U', 'R', 0, 0});
  std::vector<ContourPoint> got;
  EXPECT_EQ(ReadContour(cut, got), ContourResult::BadCount);
}

TEST(IsBmpFileAt, TestsAndSeeksBack) {
  std::vector<uint8_t> b = {'x', 'B', 'M'};
  b.resize(1 + 14);
  tsl::MemoryStream f(b);
  f.Seek(1);
  EXPECT_TRUE(IsBmpFileAt(f));
  EXPECT_EQ(f.Position(), 1);
  f.Seek(0);
  EXPECT_FALSE(IsBmpFileAt(f));
  EXPECT_EQ(f.Position(), 0);
  f.Seek(2);  // 13 bytes left: no whole header
  EXPECT_FALSE(IsBmpFileAt(f));
  EXPECT_EQ(f.Position(), 2);
}

std::vector<char> Buffer(const std::vector<std::string>& parts, size_t size = 0) {
  std::vector<char> b;
  for (const std::string& p : parts) {
    b.insert(b.end(), p.begin(), p.end());
    b.push_back('\0');
  }
  b.push_back('\0');
  if (size) b.resize(size, 'x');
  return b;
}

TEST(SplitMultiSelection, FolderAndNames) {
  TUSStrings out;
  auto b = Buffer({"C:\\", "a.bmp", "b.bmp", "\\c.bmp"});
  SplitMultiSelection(b.data(), b.size(), out);
  ASSERT_EQ(out.Count(), 3);
  EXPECT_EQ(out[0], string("C:\\a.bmp"));
  EXPECT_EQ(out[1], string("C:\\b.bmp"));
  EXPECT_EQ(out[2], string("C:\\c.bmp"));

  TUSStrings sub;
  auto s = Buffer({"C:\\bilder", "x.gif"});
  SplitMultiSelection(s.data(), s.size(), sub);
  ASSERT_EQ(sub.Count(), 1);
  EXPECT_EQ(sub[0], string("C:\\bilder\\x.gif"));
}

TEST(SplitMultiSelection, OneFileAndEdges) {
  TUSStrings one;
  auto b = Buffer({"C:\\bilder\\x.gif"});
  SplitMultiSelection(b.data(), b.size(), one);
  ASSERT_EQ(one.Count(), 1);
  EXPECT_EQ(one[0], string("C:\\bilder\\x.gif"));

  TUSStrings none;
  auto e = Buffer({});
  SplitMultiSelection(e.data(), e.size(), none);
  EXPECT_EQ(none.Count(), 0);

  // Long names are skipped; a part that runs into the end is not taken.
  TUSStrings some;
  std::vector<char> t = Buffer({"D:\\", std::string(260, 'n'), "ok.bmp", "cut"});
  t.resize(t.size() - 2);  // "cut" loses its terminator and the end mark
  SplitMultiSelection(t.data(), t.size(), some);
  ASSERT_EQ(some.Count(), 1);
  EXPECT_EQ(some[0], string("D:\\ok.bmp"));

  TUSStrings unterminated;
  const char raw[] = {'C', ':', '\\'};
  SplitMultiSelection(raw, sizeof raw, unterminated);
  EXPECT_EQ(unterminated.Count(), 0);
}

}  // namespace
