#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "imaging/core/transition.h"

using tsl::TransitionCanvas;
using tsl::TransitionPattern;
using tsl::TransitionPoint;
using tsl::TransitionRect;

namespace {

// Paints into a pixel grid around the effect rectangle and records every
// shape; a shape reaching outside the effect rectangle is a failure.
class GridCanvas : public TransitionCanvas {
public:
  explicit GridCanvas(const TransitionRect& area) : Area(area), W(area.right + 8), H(area.bottom + 8) {
    Pixels.assign(static_cast<size_t>(W) * H, 0);
  }
  void PaintRect(const TransitionRect& r) override {
    Check(r);
    Rects.push_back(r);
    Mark(r);
  }
  void FillBlack(const TransitionRect& r) override {
    Check(r);
    Fills.push_back(r);
    Mark(r);
  }
  void PenLine(TransitionPoint a, TransitionPoint b) override {
    Check({a.x, a.y, a.x + 1, a.y + 1});
    Check({b.x, b.y, b.x + 1, b.y + 1});
    EXPECT_TRUE(a.x == b.x || a.y == b.y);
    Mark({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1});
  }
  void Disc(const TransitionRect& r) override { Check(r); }

  bool Painted(int x, int y) const { return Pixels[static_cast<size_t>(y) * W + x] != 0; }
  // Pixels of the rectangle left unpainted.
  int Unpainted(const TransitionRect& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Painted(x, y) ? 0 : 1;
    return n;
  }

  TransitionRect Area;
  std::vector<TransitionRect> Rects;
  std::vector<TransitionRect> Fills;

private:
  void Check(const TransitionRect& r) {
    EXPECT_FALSE(r.Empty());
    EXPECT_TRUE(r.left >= Area.left && r.top >= Area.top && r.right <= Area.right && r.bottom <= Area.bottom)
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  void Mark(const TransitionRect& r) {
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, H); ++y)
      for (int x = std::max(r.left, 0); x < std::min(r.right, W); ++x) Pixels[static_cast<size_t>(y) * W + x] = 1;
  }
  int W, H;
  std::vector<uint8_t> Pixels;
};

void RunAll(TransitionPattern& p, uint32_t kind, const TransitionRect& area, GridCanvas& canvas) {
  const uint32_t n = p.SetKind(kind, area);
  p.SetSeed(12345);
  for (uint32_t s = 0; s < n; ++s) p.Step(s, canvas);
}

const TransitionRect kAreas[] = {
    {7, 11, 107, 111},   // 100 x 100: partial last blocks
    {0, 0, 64, 48},      // whole blocks
    {3, 5, 36, 22},      // 33 x 17
    {20, 30, 220, 150},  // 200 x 120
    {1, 2, 6, 7},        // smaller than a block
    {0, 0, 16, 16},      // one block
    {9, 4, 259, 264},    // 250 x 260: more than 16 bands
    {0, 0, 31, 127},     // remainders above half a block
    {0, 0, 72, 48},      // widths that W / 2n undershoots
    {0, 0, 744, 40},
};

}  // namespace

// Every kind, stepped to its end, paints the whole rectangle and never
// outside it; kind 13 leaves the odd last band of blocks as it is.
TEST(TransitionPattern, EveryKindCoversTheRectangle) {
  for (uint32_t kind = 1; kind <= 23; ++kind)
    for (const TransitionRect& area : kAreas) {
      SCOPED_TRACE("kind " + std::to_string(kind) + " area " + std::to_string(area.right - area.left) + "x" +
                   std::to_string(area.bottom - area.top));
      TransitionPattern p;
      GridCanvas canvas(area);
      RunAll(p, kind, area, canvas);
      TransitionRect covered = area;
      if (kind == 13) {
        covered.right = area.left + 32 * static_cast<int>(p.Columns() / 2);
        covered.bottom = area.top + 32 * static_cast<int>(p.Rows() / 2);
        covered.right = std::min(covered.right, area.right);
        covered.bottom = std::min(covered.bottom, area.bottom);
      }
      EXPECT_EQ(canvas.Unpainted(covered), 0);
      if (kind == 13 && p.Columns() % 2 == 1) {
        EXPECT_FALSE(canvas.Painted(area.right - 1, area.top));
      }
    }
}

// Kinds 1, 22 and 23 paint with the black brush or pen; the others only
// through the paint-mode primitive.
TEST(TransitionPattern, BlackOnlyKindsUseBrushAndPen) {
  const TransitionRect area{7, 11, 107, 111};
  for (uint32_t kind = 1; kind <= 23; ++kind) {
    TransitionPattern p;
    GridCanvas canvas(area);
    RunAll(p, kind, area, canvas);
    const bool black = kind == 1 || kind == 22 || kind == 23;
    EXPECT_EQ(canvas.Rects.empty(), black) << kind;
    if (kind == 1 || kind == 23) {
      ASSERT_EQ(canvas.Fills.size(), 1u) << kind;
      EXPECT_EQ(canvas.Fills[0], area);
    }
  }
}

TEST(TransitionPattern, StepCountsAndKindTable) {
  struct Case {
    uint32_t kind;
    uint32_t steps;
    uint32_t index;
  };
  // 100 x 100: 7 columns and 7 rows.
  const Case cases[] = {{1, 1, 0},   {2, 16, 1},  {5, 16, 4},  {6, 23, 5},  {7, 23, 6},  {8, 23, 7},
                        {9, 23, 8},  {10, 24, 9}, {11, 24, 10}, {12, 16, 11}, {13, 16, 12}, {14, 24, 13},
                        {15, 32, 14}, {16, 32, 15}, {17, 16, 16}, {18, 16, 17}, {19, 28, 18}, {20, 32, 19},
                        {21, 16, 20}, {22, 31, 21}, {23, 20, 22}, {0, 1, 0},  {24, 1, 0},  {40, 1, 0},
                        {0xFFFFFFFFu, 1, 0}};
  for (const Case& c : cases) {
    TransitionPattern p;
    EXPECT_EQ(p.SetKind(c.kind, {0, 0, 100, 100}), c.steps) << c.kind;
    EXPECT_EQ(p.KindIndex(), c.index) << c.kind;
    EXPECT_EQ(p.Columns(), 7u);
    EXPECT_EQ(p.Rows(), 7u);
  }
  // Kinds 8 and 9 count columns, 6 and 7 rows.
  TransitionPattern p;
  EXPECT_EQ(p.SetKind(8, {0, 0, 33, 100}), 19u);
  EXPECT_EQ(p.SetKind(6, {0, 0, 33, 100}), 23u);
  EXPECT_EQ(tsl::TransitionStepCount(23, 5, 5), 0u);  // the empty last row
  EXPECT_EQ(p.SetKind(2, {0, 0, 0, 0}), 16u);
  EXPECT_EQ(p.Columns(), 0u);
  // An inverted rectangle is empty.
  p.SetKind(14, {50, 50, 10, 10});
  EXPECT_EQ(p.Columns(), 0u);
  EXPECT_EQ(p.Rows(), 0u);
}

TEST(TransitionPattern, Interval) {
  EXPECT_EQ(tsl::TransitionInterval(1000, 16), 62u);
  EXPECT_EQ(tsl::TransitionInterval(1000, 24), 55u);  // 41 raised
  EXPECT_EQ(tsl::TransitionInterval(0, 1), 55u);
  EXPECT_EQ(tsl::TransitionInterval(5000, 1), 5000u);
  EXPECT_EQ(tsl::TransitionInterval(1000, 23), 55u);  // 43 raised
  EXPECT_EQ(tsl::TransitionInterval(2000, 23), 86u);
}

TEST(TransitionPattern, ClipAndGrid) {
  EXPECT_EQ(tsl::ClipTransitionRect({-5, -5, 20, 20}, {0, 0, 10, 10}), (TransitionRect{0, 0, 10, 10}));
  EXPECT_TRUE(tsl::ClipTransitionRect({20, 20, 30, 30}, {0, 0, 10, 10}).Empty());
  EXPECT_TRUE(tsl::ClipTransitionRect({8, 0, 2, 10}, {0, 0, 10, 10}).Empty());
  EXPECT_EQ(tsl::TransitionColumns({0, 0, 16, 0}), 1u);
  EXPECT_EQ(tsl::TransitionColumns({0, 0, 17, 0}), 2u);
  EXPECT_EQ(tsl::TransitionRows({0, 3, 0, 103}), 7u);
}

// What the first steps paint, shape by shape.
TEST(TransitionPattern, FirstStepShapes) {
  struct Case {
    uint32_t kind;
    uint32_t step;
    std::vector<TransitionRect> rects;
  };
  // 64 x 48 at (10, 20): 4 columns, 3 rows.
  const TransitionRect a{10, 20, 74, 68};
  const Case cases[] = {
      {2, 0, {{10, 20, 74, 21}, {10, 36, 74, 37}, {10, 52, 74, 53}}},
      {2, 5, {{10, 25, 74, 26}, {10, 41, 74, 42}, {10, 57, 74, 58}}},
      {3, 0, {{10, 67, 74, 68}, {10, 51, 74, 52}, {10, 35, 74, 36}}},  // band 3 lies outside
      {4, 0, {{10, 20, 11, 68}, {26, 20, 27, 68}, {42, 20, 43, 68}, {58, 20, 59, 68}}},
      {5, 15, {{58, 20, 59, 68}, {42, 20, 43, 68}, {26, 20, 27, 68}, {10, 20, 11, 68}}},
      {6, 0, {{10, 20, 74, 21}}},
      {6, 1, {{10, 37, 74, 38}, {10, 21, 74, 22}}},
      {7, 1, {{10, 53, 74, 54}}},  // band 3 lies outside
      {10, 0, {{40, 20, 42, 68}, {42, 20, 44, 68}}},
      {11, 0, {{10, 20, 12, 68}, {72, 20, 74, 68}}},
      {12, 0, {{10, 26, 18, 32}, {10, 38, 18, 44}, {10, 50, 18, 56}, {10, 62, 18, 68}}},
      {12, 15, {{10, 20, 18, 26}, {10, 32, 18, 38}, {10, 44, 18, 50}, {10, 56, 18, 62}}},
      {17, 0, {{40, 42, 44, 46}}},  // a frame that is all ring is one rectangle
      {17, 1, {{38, 40, 40, 46}, {40, 40, 46, 42}, {38, 46, 44, 48}, {44, 42, 46, 48}}},
      {18, 0, {{10, 20, 12, 66}, {12, 20, 74, 22}, {10, 66, 72, 68}, {72, 22, 74, 68}}},
      {19, 0, {{37, 40, 47, 48}}},
      {20, 0, {{10, 20, 74, 23}}},
      {20, 1, {{70, 20, 74, 68}}},
      {21, 2, {{10, 20, 13, 23}, {26, 20, 29, 23}, {42, 20, 45, 23}, {58, 20, 61, 23},
               {10, 36, 13, 39}, {26, 36, 29, 39}, {42, 36, 45, 39}, {58, 36, 61, 39},
               {10, 52, 13, 55}, {26, 52, 29, 55}, {42, 52, 45, 55}, {58, 52, 61, 55}}},
  };
  for (const Case& c : cases) {
    TransitionPattern p;
    p.SetKind(c.kind, a);
    GridCanvas canvas(a);
    for (uint32_t s = 0; s <= c.step; ++s) {
      canvas.Rects.clear();
      p.Step(s, canvas);
    }
    std::vector<TransitionRect> got = canvas.Rects;
    // Kind 6 paints its window from first to last; compare as sets.
    auto less = [](const TransitionRect& x, const TransitionRect& y) {
      return std::tie(x.left, x.top, x.right, x.bottom) < std::tie(y.left, y.top, y.right, y.bottom);
    };
    std::vector<TransitionRect> want = c.rects;
    if (c.kind == 6) {
      std::sort(got.begin(), got.end(), less);
      std::sort(want.begin(), want.end(), less);
    }
    EXPECT_TRUE(got == want) << "kind " << c.kind << " step " << c.step << ": " << got.size() << " shapes";
  }
}

// Kind 6 over 7 row bands: a band enters one step after the one above it
// and gets all 16 of its lines before it leaves.
TEST(TransitionPattern, StaggeredBandsGetAllLines) {
  for (uint32_t kind : {6u, 7u, 8u, 9u}) {
    const TransitionRect area{0, 0, 100, 100};
    TransitionPattern p;
    const uint32_t n = p.SetKind(kind, area);
    EXPECT_EQ(n, 23u);
    std::vector<std::vector<int>> lines(8);
    for (uint32_t s = 0; s < n; ++s) {
      GridCanvas canvas(area);
      p.Step(s, canvas);
      for (const TransitionRect& r : canvas.Rects) {
        const int pos = kind < 8 ? r.top : r.left;
        lines[static_cast<size_t>(pos / 16)].push_back(pos % 16);
      }
    }
    for (size_t band = 0; band < 7; ++band) {
      std::vector<int> l = lines[band];
      std::sort(l.begin(), l.end());
      l.erase(std::unique(l.begin(), l.end()), l.end());
      EXPECT_EQ(l.size(), band == 6 ? 4u : 16u) << "kind " << kind << " band " << band;  // band 6 is 4 high
    }
  }
}

// The random kinds paint every cell of their list once, an even share per
// step; a rectangle too small for a single cell paints nothing.
TEST(TransitionPattern, RandomKindsShareTheirCells) {
  const TransitionRect area{0, 0, 100, 100};  // 7 x 7 blocks
  // Cells past the right and bottom edges are listed but clip to nothing.
  struct Case {
    uint32_t kind;
    size_t cells;
    size_t painted;
  };
  for (const Case c : {Case{13, 9, 9}, Case{14, 49, 49}, Case{15, 196, 169}, Case{16, 112, 100}}) {
    TransitionPattern p;
    const uint32_t n = p.SetKind(c.kind, area);
    p.SetSeed(7);
    const size_t per = c.cells / n + (c.cells % n ? 1 : 0);
    std::vector<TransitionRect> all;
    for (uint32_t s = 0; s < n; ++s) {
      GridCanvas canvas(area);
      p.Step(s, canvas);
      EXPECT_LE(canvas.Rects.size(), per) << c.kind;
      all.insert(all.end(), canvas.Rects.begin(), canvas.Rects.end());
    }
    EXPECT_EQ(all.size(), c.painted) << c.kind;
    std::sort(all.begin(), all.end(), [](const TransitionRect& x, const TransitionRect& y) {
      return std::tie(x.left, x.top, x.right, x.bottom) < std::tie(y.left, y.top, y.right, y.bottom);
    });
    EXPECT_TRUE(std::adjacent_find(all.begin(), all.end()) == all.end()) << c.kind;
  }
  for (uint32_t kind : {13u, 14u, 15u, 16u}) {
    const TransitionRect tiny = kind == 13 ? TransitionRect{0, 0, 16, 200} : TransitionRect{5, 5, 5, 5};
    TransitionPattern p;
    GridCanvas canvas(tiny);
    RunAll(p, kind, tiny, canvas);
    EXPECT_TRUE(canvas.Rects.empty()) << kind;
  }
}

TEST(TransitionPattern, ShuffleKeepsEveryCell) {
  for (uint32_t kind : {13u, 14u, 15u, 16u})
    for (size_t count : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(50)}) {
      std::vector<TransitionRect> cells;
      for (size_t i = 0; i < count; ++i) cells.push_back({int(i), 0, int(i) + 1, 1});
      std::minstd_rand random(99);
      tsl::ShuffleTransitionCells(cells, kind, random);
      ASSERT_EQ(cells.size(), count);
      std::vector<int> lefts;
      for (const auto& r : cells) lefts.push_back(r.left);
      std::sort(lefts.begin(), lefts.end());
      for (size_t i = 0; i < count; ++i) EXPECT_EQ(lefts[i], int(i)) << kind;
    }
  // It mixes: 50 cells do not stay in order.
  std::vector<TransitionRect> cells;
  for (int i = 0; i < 50; ++i) cells.push_back({i, 0, i + 1, 1});
  std::minstd_rand random(1);
  tsl::ShuffleTransitionCells(cells, 14, random);
  int moved = 0;
  for (int i = 0; i < 50; ++i) moved += cells[size_t(i)].left != i;
  EXPECT_GT(moved, 10);
}

// A pattern holds its own state: two effects of a stateful kind stepped in
// turn paint what each paints alone.
TEST(TransitionPattern, StateIsPerPattern) {
  const TransitionRect a{0, 0, 100, 100}, b{0, 0, 48, 64};
  for (uint32_t kind : {7u, 14u, 19u, 20u, 22u}) {
    TransitionPattern alone, first, second;
    GridCanvas ca(a), c1(a), c2(b);
    const uint32_t n = alone.SetKind(kind, a);
    first.SetKind(kind, a);
    const uint32_t m = second.SetKind(kind, b);
    alone.SetSeed(3), first.SetSeed(3), second.SetSeed(4);
    for (uint32_t s = 0; s < std::max(n, m); ++s) {
      if (s < n) alone.Step(s, ca), first.Step(s, c1);
      if (s < m) second.Step(s, c2);
    }
    EXPECT_TRUE(ca.Rects == c1.Rects) << kind;
    EXPECT_EQ(c2.Unpainted(b), 0) << kind;
  }
}
