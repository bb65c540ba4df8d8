// The standard pictures of the tree lists, drawn here so that the player
// carries its own: 16 × 16, 16 colours, white around the figure (the
// colour a tree list leaves out when it draws them transparent). Set 1 is a
// plain folder closed and open, set 2 a yellow folder closed and open, and
// the data item a sheet with lines.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/core/scrollerbmp.h"

namespace treelistbmp {

using scrollerbmp::Box;
using scrollerbmp::Set;
using namespace scrollerbmp;  // the palette names

inline bmpgen::Picture White() {
  bmpgen::Picture p = scrollerbmp::Canvas(16, 16);
  Box(p, 0, 0, 16, 16, kLight);
  return p;
}

inline void Frame(bmpgen::Picture& p, int x0, int y0, int w, int h, uint8_t c) {
  for (int i = 0; i < w; ++i) Set(p, x0 + i, y0, c), Set(p, x0 + i, y0 + h - 1, c);
  for (int i = 0; i < h; ++i) Set(p, x0, y0 + i, c), Set(p, x0 + w - 1, y0 + i, c);
}

inline bmpgen::Picture Folder(bool open, uint8_t face) {
  bmpgen::Picture p = White();
  Box(p, 1, 3, 6, 2, face);  // the tab
  Frame(p, 1, 3, 6, 2, kBlack);
  if (!open) {
    Box(p, 1, 5, 14, 9, face);
    Frame(p, 1, 5, 14, 9, kBlack);
  } else {
    Box(p, 1, 5, 13, 9, kShadow);
    Frame(p, 1, 5, 13, 9, kBlack);
    for (int y = 8; y < 14; ++y)  // the opened front, slanted
      for (int x = 3 + (13 - y) / 2; x < 16 - (13 - y) / 3; ++x) Set(p, x, y, face);
    for (int x = 3; x < 16; ++x) Set(p, x, 8, kBlack);
  }
  return p;
}

inline bmpgen::Picture DataItem() {
  bmpgen::Picture p = White();
  Box(p, 3, 1, 10, 14, kLight);
  Frame(p, 3, 1, 10, 14, kBlack);
  for (int y = 4; y < 13; y += 2) Box(p, 5, y, 6, 1, kDarkBlue);
  return p;
}

inline std::vector<std::pair<std::string, bmpgen::Picture>> Pictures() {
  return {{"TREELIST_FOLDER_CLOSED1", Folder(false, kFace)},
          {"TREELIST_FOLDER_OPEN1", Folder(true, kFace)},
          {"TREELIST_FOLDER_CLOSED2", Folder(false, kYellow)},
          {"TREELIST_FOLDER_OPEN2", Folder(true, kYellow)},
          {"TREELIST_DATAITEM1", DataItem()}};
}

}  // namespace treelistbmp
