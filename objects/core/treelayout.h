// Where the parts of a tree-list line go: the indent of each level, the
// expander box, the picture cell and the text, and the pixels of a dotted
// connector line. Level offsets are prefix sums, so a line 100,000 levels
// deep is laid out without summing its levels each time.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

#include "database/core/treefill.h"
#include "objects/core/treelistdata.h"

constexpr int32_t kTreeLeftMargin = 5;
constexpr int32_t kTreeExtraLineHeight = 0;
constexpr int32_t kTreeMinLineHeight = 12;
constexpr int32_t kTreeMinItemHeight = 11;

struct TTreeRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

class TTreeLevels {
public:
  TTreeLevels(const TDBIndentLevelWidths& widths, const TTreeListItemDataCore& look)
      : widths_(&widths), look_(&look) {}
  int32_t LevelCellWidth(int32_t level) const;
  // Sum over k < level of w_k / 2 + PictureGap; with `wholeLast` the last
  // term takes the whole w_k.
  int32_t LevelLineOffset(int32_t level, bool wholeLast) const;
  // Forget the sums after the widths or the record changed.
  void Invalidate() { sums_.clear(); }

private:
  int32_t W(int32_t k) const;
  const TDBIndentLevelWidths* widths_;
  const TTreeListItemDataCore* look_;
  mutable std::vector<int64_t> sums_;  // sums_[k]: offset of level k
};

// What a line shows, measured by the window.
struct TTreeLineParts {
  int32_t Level = 1;
  int32_t PictureWidth = 0, PictureHeight = 0;  // the larger of the two pictures
  bool HasText = false;
  int32_t TextWidth = 0, TextHeight = 0;  // extent in the line font
};

struct TTreeLineLayout {
  TTreeRect Expander, Picture, Text;  // relative to the level point
  int32_t Width = 0, Height = 0;
};

TTreeLineLayout LayoutLine(const TTreeListItemDataCore& look, const TTreeLevels& levels, const TTreeLineParts& parts);
// The item height the list box is told: measured + 1, at least 11.
inline int32_t MeasuredItemHeight(int32_t lineHeight) {
  return lineHeight + 1 < kTreeMinItemHeight ? kTreeMinItemHeight : lineHeight + 1;
}
// The level point's x from the line's left edge.
int32_t LevelPointX(const TTreeLevels& levels, int32_t level);
// The coordinates a dotted line from `a` to `b` (inclusive of a, exclusive
// of b) sets: every second one, from the smaller end.
std::vector<int32_t> DottedPixels(int32_t a, int32_t b);
