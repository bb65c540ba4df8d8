// The grid of the thumbnail overview: numbered slide mounts of 125 pixels
// on a grid as wide as the screen, scrolled by whole cells. Which cell a
// point hits, where the mounts, numbers and pictures go, and which frame
// set a style draws. Portable: no Windows headers.
#pragma once
#include <cstdint>

constexpr int kOverviewCell = 125;
constexpr int kOverviewFrameSize = 120;  // the mount bitmaps are 120 x 120
constexpr int kOverviewLabelBand = 28;
constexpr int kOverviewFrameSets = 10;
// Container flags.
constexpr uint32_t kOverviewOpensPicture = 0x1;  // a double-click shows the picture
constexpr uint32_t kOverviewLabels = 0x2;        // file-name labels under the mounts

struct TOverviewGrid {
  int Columns = 1;
  int Rows = 1;
  int RangeX = 0;  // scroll ranges in cells
  int RangeY = 0;
};

// Columns from the width (at least 1), rows for `count` pictures (at least
// 1), and the scroll ranges beyond what the screen shows.
TOverviewGrid OverviewGrid(int count, int width, int screenWidth, int screenHeight);

// The picture under a client point with the scroll position in pixels
// added; -1 for none (beyond the last column or picture).
int OverviewHit(int x, int y, int scrollX, int scrollY, int columns, int count);

// Names of the two frame bitmaps of a frame style ("DIANORMAL_1" ...);
// styles outside 0..9 draw set 0.
const char* OverviewLandscapeFrame(unsigned style);
const char* OverviewPortraitFrame(unsigned style);

// A thumbnail is landscape when wider than high; none counts as portrait.
bool OverviewIsLandscape(int width, int height);

struct TOverviewCellLayout {
  int PictureLeft, PictureTop, PictureWidth, PictureHeight;
  int NumberLeft, NumberTop;  // top-left of the number text
};
// Where the picture and the number of picture `index` go, for a number text
// of the given extent.
TOverviewCellLayout OverviewCellLayout(int index, int columns, bool landscape, int textWidth, int textHeight);
