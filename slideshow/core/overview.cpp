#include "slideshow/core/overview.h"

namespace {
const char* const kFrames[kOverviewFrameSets][2] = {
    {"DIANORMAL_1", "DIANORMAL_2"},   {"DIANORMAL_3", "DIANORMAL_4"},   {"DIANORMAL_5", "DIANORMAL_6"},
    {"DIANORMAL_7", "DIANORMAL_8"},   {"DIANORMAL_9", "DIANORMAL_10"},  {"DIANORMAL_11", "DIANORMAL_12"},
    {"DIANORMAL_13", "DIANORMAL_14"}, {"DIANORMAL_15", "DIANORMAL_16"}, {"DIANORMAL_17", "DIANORMAL_18"},
    {"DIANORMAL_19", "DIANORMAL_20"},
};
unsigned FrameSet(unsigned style) { return style < kOverviewFrameSets ? style : 0; }
}  // namespace

TOverviewGrid OverviewGrid(int count, int width, int screenWidth, int screenHeight) {
  TOverviewGrid g;
  g.Columns = width / kOverviewCell;
  if (g.Columns < 1) g.Columns = 1;
  g.Rows = count / g.Columns + (count % g.Columns ? 1 : 0);
  if (g.Rows < 1) g.Rows = 1;
  g.RangeX = g.Columns - screenWidth / kOverviewCell;
  g.RangeY = g.Rows - screenHeight / kOverviewCell;
  if (g.RangeX < 0) g.RangeX = 0;
  if (g.RangeY < 0) g.RangeY = 0;
  return g;
}

int OverviewHit(int x, int y, int scrollX, int scrollY, int columns, int count) {
  const int64_t px = static_cast<int64_t>(x) + scrollX, py = static_cast<int64_t>(y) + scrollY;
  if (px < 0 || py < 0) return -1;
  const int64_t column = px / kOverviewCell, row = py / kOverviewCell;
  if (column >= columns) return -1;
  const int64_t index = row * columns + column + 1;
  if (index < 1 || index > count) return -1;
  return static_cast<int>(index - 1);
}

const char* OverviewLandscapeFrame(unsigned style) { return kFrames[FrameSet(style)][0]; }
const char* OverviewPortraitFrame(unsigned style) { return kFrames[FrameSet(style)][1]; }

bool OverviewIsLandscape(int width, int height) { return width > height; }

TOverviewCellLayout OverviewCellLayout(int index, int columns, bool landscape, int textWidth, int textHeight) {
  const int x = (index % columns) * kOverviewCell, y = (index / columns) * kOverviewCell;
  TOverviewCellLayout l;
  l.PictureWidth = landscape ? 96 : 64;
  l.PictureHeight = landscape ? 64 : 96;
  l.PictureLeft = x + (kOverviewFrameSize - l.PictureWidth) / 2;
  l.PictureTop = y + (kOverviewFrameSize - l.PictureHeight) / 2;
  const int halfBand = kOverviewLabelBand / 2;
  if (landscape) {
    l.NumberLeft = x + kOverviewFrameSize / 2 - textWidth / 2;
    l.NumberTop = y + halfBand - textHeight / 2;
  } else {
    l.NumberLeft = x + kOverviewFrameSize - halfBand - textWidth / 2;
    l.NumberTop = y + kOverviewFrameSize / 2 - textHeight / 2;
  }
  return l;
}
