#include "slideshow/core/overview.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(OverviewGrid, ColumnsRowsAndRanges) {
  const struct { const char* what; int count, width, height, columns, rows, rangeX, rangeY; } cases[] = {
      {"3 pictures on 1024: one row, no scroll bar", 3, 1024, 768, 8, 1, 0, 0},
      {"20 pictures on 1024 x 768: 3 rows, still no vertical range", 20, 1024, 768, 8, 3, 0, 0},
      {"60 pictures on 1024 x 768 scroll by two rows", 60, 1024, 768, 8, 8, 0, 2},
      {"a screen narrower than a cell keeps one column", 4, 100, 768, 1, 4, 1, 0},
      {"16 pictures fill two rows exactly", 16, 1024, 768, 8, 2, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TOverviewGrid g = OverviewGrid(c.count, c.width, c.width, c.height);
    EXPECT_EQ(c.columns, g.Columns);
    EXPECT_EQ(c.rows, g.Rows);
    EXPECT_EQ(c.rangeX, g.RangeX);
    EXPECT_EQ(c.rangeY, g.RangeY);
  }
}

TEST(OverviewGrid, HitTest) {
  const struct { const char* what; int x, y, scrollX, scrollY, columns, count, hit; } cases[] = {
      {"first cell", 10, 10, 0, 0, 8, 3, 0},
      {"third cell's last pixel", 374, 124, 0, 0, 8, 3, 2},
      {"beyond the last picture of the row", 400, 10, 0, 0, 8, 3, -1},
      {"right of the last column", 1010, 10, 0, 0, 8, 20, -1},
      {"below the last picture", 10, 300, 0, 0, 8, 10, -1},
      {"second row", 130, 130, 0, 0, 8, 20, 9},
      {"scrolled down one row", 130, 5, 0, 125, 8, 20, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.hit, OverviewHit(c.x, c.y, c.scrollX, c.scrollY, c.columns, c.count));
  }
}

TEST(OverviewGrid, FramesAndLayout) {
  EXPECT_STREQ("DIANORMAL_1", OverviewLandscapeFrame(12));
  EXPECT_STREQ("DIANORMAL_2", OverviewPortraitFrame(12));
  EXPECT_STREQ("DIANORMAL_19", OverviewLandscapeFrame(9));
  EXPECT_STREQ("DIANORMAL_8", OverviewPortraitFrame(3));
  EXPECT_FALSE(OverviewIsLandscape(64, 64)) << "a square picture takes the portrait mount";
  EXPECT_TRUE(OverviewIsLandscape(65, 64));
  const TOverviewCellLayout land = OverviewCellLayout(9, 8, true, 10, 14);
  EXPECT_EQ(125 + 12, land.PictureLeft);
  EXPECT_EQ(125 + 28, land.PictureTop);
  EXPECT_EQ(125 + 55, land.NumberLeft);
  EXPECT_EQ(125 + 7, land.NumberTop);
  const TOverviewCellLayout port = OverviewCellLayout(0, 8, false, 10, 14);
  EXPECT_EQ(28, port.PictureLeft);
  EXPECT_EQ(12, port.PictureTop);
  EXPECT_EQ(120 - 14 - 5, port.NumberLeft);
  EXPECT_EQ(60 - 7, port.NumberTop);
}

}  // namespace
