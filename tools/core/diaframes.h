// The slide mounts of the thumbnail overview, drawn at build time: ten
// frame sets of a landscape and a portrait mount, 120 x 120 pixels in 8
// bits. A landscape mount holds a 96 x 64 window with the number strip along
// its top and the label strip along its bottom; a portrait one a 64 x 96
// window, the number strip along its right edge and the label strip along
// its left edge.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/core/bmpgen.h"

namespace diaframes {

// The mount colour of each frame set (red, green, blue).
constexpr uint8_t kMountColours[10][3] = {
    {236, 236, 228}, {250, 250, 250}, {40, 40, 40},   {200, 170, 120}, {150, 180, 210},
    {210, 150, 150}, {160, 200, 150}, {230, 210, 120}, {120, 120, 140}, {180, 150, 200},
};

inline bmpgen::Picture Mount(int set, bool landscape) {
  bmpgen::Picture p;
  p.width = 120;
  p.height = 120;
  p.bits = 8;
  // 0 mount, 1 outline, 2 window, 3 strips
  const uint8_t* c = kMountColours[set];
  const uint8_t entries[4][3] = {
      {c[0], c[1], c[2]}, {60, 60, 60}, {0, 0, 0},
      {static_cast<uint8_t>(c[0] * 7 / 8), static_cast<uint8_t>(c[1] * 7 / 8), static_cast<uint8_t>(c[2] * 7 / 8)}};
  for (int i = 0; i < 256; ++i) {
    const int e = i < 4 ? i : 0;
    p.palette.push_back(entries[e][2]);
    p.palette.push_back(entries[e][1]);
    p.palette.push_back(entries[e][0]);
    p.palette.push_back(0);
  }
  p.rows.assign(size_t(p.RowBytes()) * 120, 0);
  for (int y = 0; y < 120; ++y) {      // y from the top
    uint8_t* row = &p.rows[size_t(119 - y) * p.RowBytes()];
    for (int x = 0; x < 120; ++x) {
      uint8_t v = 0;
      const bool strip = landscape ? (y < 28 || y >= 92) : (x < 28 || x >= 92);
      if (strip) v = 3;
      const bool window = landscape ? (x >= 12 && x < 108 && y >= 28 && y < 92) : (x >= 28 && x < 92 && y >= 12 && y < 108);
      if (window) v = 2;
      if (x == 0 || y == 0 || x == 119 || y == 119) v = 1;
      row[x] = v;
    }
  }
  return p;
}

// ("DIANORMAL_1", landscape of set 0), ("DIANORMAL_2", portrait of set 0) ...
inline std::vector<std::pair<std::string, bmpgen::Picture>> Pictures() {
  std::vector<std::pair<std::string, bmpgen::Picture>> out;
  for (int set = 0; set < 10; ++set) {
    out.emplace_back("DIANORMAL_" + std::to_string(set * 2 + 1), Mount(set, true));
    out.emplace_back("DIANORMAL_" + std::to_string(set * 2 + 2), Mount(set, false));
  }
  return out;
}

}  // namespace diaframes
