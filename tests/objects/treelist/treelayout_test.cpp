// Line layout of the tree lists: level offsets, the three rectangles, odd
// line heights, the measured item height and dotted lines.
#include "objects/core/treelayout.h"

#include <gtest/gtest.h>

namespace {

TEST(TreeLayout, LevelOffsetsAndCells) {
  TTreeListItemDataCore look;  // gap 6, fixed width 4, extra cell width 0
  TDBIndentLevelWidths widths;
  widths.Merge(0, 16);
  widths.Merge(2, 30);
  const TTreeLevels levels(widths, look);
  const struct {
    const char* what;
    int32_t got, want;
  } cases[] = {
      {"level 0 is 0", levels.LevelLineOffset(0, true), 0},
      {"level 1: w0 / 2 + gap", levels.LevelLineOffset(1, false), 20 / 2 + 6},
      {"level 1, whole last: w0 + gap", levels.LevelLineOffset(1, true), 20 + 6},
      {"level 2: a level without a width counts the fixed width", levels.LevelLineOffset(2, false), 16 + 4 / 2 + 6},
      {"level 3", levels.LevelLineOffset(3, false), 24 + 34 / 2 + 6},
      {"level 3, whole last", levels.LevelLineOffset(3, true), 24 + 34 + 6},
      {"cell of level 1", levels.LevelCellWidth(1), 16 + 6 + 4},
      {"cell of level 2", levels.LevelCellWidth(2), 6 + 4},
      {"level point of level 1", LevelPointX(levels, 1), 5},
      {"level point of level 2", LevelPointX(levels, 2), 16 + 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got, c.want);
  }
  // A deep level reuses the sums: 100,000 levels of 4 pixels plus the gap.
  EXPECT_EQ(levels.LevelLineOffset(100000, false), (10 + 6) + (2 + 6) + (17 + 6) + 99997 * (2 + 6));
}

TEST(TreeLayout, LinesAreOddAndAtLeastEleven) {
  TDBIndentLevelWidths widths;
  widths.Merge(0, 16);
  const struct {
    const char* what;
    uint32_t flags;
    int16_t spacing;
    TTreeLineParts parts;
    int32_t height, item, pictureLeft, pictureTop, textLeft, textTop, width;
  } cases[] = {
      {"picture and text", 0x11E3, 4, {1, 16, 16, true, 30, 13}, 21, 22, 13, 2, 31, 4, 61},
      {"a wide picture widens the cell", 0x11E3, 4, {1, 40, 10, true, 30, 13}, 17, 18, 8, 2, 45, 2, 75},
      {"no text, no picture: 12 + spacing, made odd", 0x11E3, 4, {1, 0, 0, false, 0, 0}, 17, 18, 21, 2, 31, 8, 31},
      {"odd already", 0x11E3, 3, {1, 0, 0, false, 0, 0}, 15, 16, 21, 1, 31, 7, 31},
      {"a negative spacing keeps the item at 11", 0x11E3, -10, {1, 0, 0, false, 0, 0}, 3, 11, 21, -4, 31, 1, 31},
      {"fixed cell: no picture width, cell 4", 0x11E3 | kTreeFixedPictureCell, 4, {1, 32, 32, true, 10, 20}, 25,
       26, 8, 6, 9, 2, 19},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TTreeListItemDataCore look;
    look.Flags = c.flags;
    look.LineSpacing = c.spacing;
    const TTreeLevels levels(widths, look);
    const TTreeLineLayout l = LayoutLine(look, levels, c.parts);
    EXPECT_EQ(l.Height, c.height);
    EXPECT_EQ(l.Height % 2, 1);
    EXPECT_EQ(MeasuredItemHeight(l.Height), c.item);
    EXPECT_EQ(l.Expander.Left, -4);
    EXPECT_EQ(l.Expander.Width(), 9);
    EXPECT_EQ(l.Expander.Top, l.Height / 2 + 1 - 4);
    EXPECT_EQ(l.Picture.Left, c.pictureLeft);
    EXPECT_EQ(l.Picture.Top, c.pictureTop);
    EXPECT_EQ(l.Text.Left, c.textLeft);
    EXPECT_EQ(l.Text.Top, c.textTop);
    EXPECT_EQ(l.Width, c.width);
  }
}

TEST(TreeLayout, DottedLinesSetEverySecondPixel) {
  EXPECT_EQ(DottedPixels(3, 9), (std::vector<int32_t>{3, 5, 7}));
  EXPECT_EQ(DottedPixels(9, 3), (std::vector<int32_t>{3, 5, 7})) << "from the smaller end";
  EXPECT_EQ(DottedPixels(0, 7).size(), 4u);
  EXPECT_TRUE(DottedPixels(4, 4).empty());
}

}  // namespace
