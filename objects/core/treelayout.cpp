#include "objects/core/treelayout.h"

#include <algorithm>

int32_t TTreeLevels::W(int32_t k) const {
  return widths_->LevelWidth(k, look_->FixedPictureWidth + look_->ExtraCellWidth);
}

int32_t TTreeLevels::LevelCellWidth(int32_t level) const {
  return widths_->LevelWidth(level - 1, look_->PictureGap + look_->FixedPictureWidth + look_->ExtraCellWidth);
}

int32_t TTreeLevels::LevelLineOffset(int32_t level, bool wholeLast) const {
  if (level <= 0) return 0;
  if (sums_.empty()) sums_.push_back(0);
  while (static_cast<int32_t>(sums_.size()) <= level) {
    const int32_t k = static_cast<int32_t>(sums_.size()) - 1;
    sums_.push_back(sums_.back() + W(k) / 2 + look_->PictureGap);
  }
  int64_t offset = sums_[static_cast<size_t>(level)];
  if (wholeLast) offset += W(level - 1) - W(level - 1) / 2;
  return static_cast<int32_t>(offset);
}

int32_t LevelPointX(const TTreeLevels& levels, int32_t level) {
  return levels.LevelLineOffset(level - 1, false) + kTreeLeftMargin;
}

TTreeLineLayout LayoutLine(const TTreeListItemDataCore& look, const TTreeLevels& levels, const TTreeLineParts& parts) {
  TTreeLineLayout out;
  int32_t h, cellWidth, boxW, boxH;
  if (look.Flags & kTreeFixedPictureCell) {
    cellWidth = look.FixedPictureWidth;
    boxW = look.FixedPictureWidth;
    boxH = kTreeMinLineHeight;
    h = kTreeMinLineHeight;
  } else {
    h = std::max(kTreeMinLineHeight, parts.PictureHeight);
    boxW = parts.PictureWidth;
    boxH = std::max(parts.PictureHeight, kTreeMinLineHeight);
    cellWidth = std::max(parts.PictureWidth, levels.LevelCellWidth(parts.Level));
  }
  int32_t textW = 0, textH = 0;
  if (parts.HasText) {
    textW = parts.TextWidth;
    textH = std::max(parts.TextHeight, kTreeMinLineHeight);
    h = std::max(h, textH);
  }
  h += look.LineSpacing + kTreeExtraLineHeight;
  if (h % 2 == 0) h += 1;  // line heights are odd
  const int32_t mid = h / 2 + 1;
  out.Expander.Left = -look.ExpanderWidth / 2;
  out.Expander.Top = mid - look.ExpanderHeight / 2;
  out.Expander.Right = out.Expander.Left + look.ExpanderWidth;
  out.Expander.Bottom = out.Expander.Top + look.ExpanderHeight;
  out.Picture.Left = out.Expander.Right + look.PictureGap + (cellWidth - look.PictureGap - boxW) / 2;
  out.Picture.Top = (h - boxH) / 2;
  out.Picture.Right = out.Picture.Left + boxW;
  out.Picture.Bottom = out.Picture.Top + boxH;
  out.Text.Left = out.Expander.Right + cellWidth;
  out.Text.Top = (h - textH) / 2;
  out.Text.Right = out.Text.Left + textW;
  out.Text.Bottom = out.Text.Top + textH;
  out.Width = out.Text.Right;
  out.Height = h;
  return out;
}

std::vector<int32_t> DottedPixels(int32_t a, int32_t b) {
  std::vector<int32_t> out;
  const int32_t lo = std::min(a, b), hi = std::max(a, b);
  for (int32_t v = lo; v < hi; v += 2) out.push_back(v);
  return out;
}
