// The browse buttons' picture (resource 24332): 20 x 20 in the standard 16
// colours, an open folder in black outline (white back, grey front flap)
// with a small curved black arrow above it pointing down into it, on light
// grey.
#pragma once
#include <cstring>

#include "tools/core/bmpgen.h"

namespace browsebmp {

inline bmpgen::Picture Picture() {
  // The standard 16-colour palette, in its order.
  static const uint32_t kRgb[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  // k black, w white, g grey (128), . light grey (192); row 0 at the top.
  static const char* const kRows[20] = {
      "....................",
      "..........kkk.......",
      ".........k...k......",
      "..............k.....",
      "............k.k.k...",
      ".............kkk....",
      "..............k.....",
      ".kkkk...............",
      "kwwwwk..............",
      "kwwwwwkkkkkkkk......",
      "kwwwwwwwwwwwwk......",
      "kwwwkkkkkkkkkkkkk...",
      "kwwkgggggggggggk....",
      "kwkgggggggggggk.....",
      "kwkggggggggggk......",
      "kkgggggggggggk......",
      "kkkkkkkkkkkkk.......",
      "....................",
      "....................",
      "....................",
  };
  bmpgen::Picture p;
  p.width = 20;
  p.height = 20;
  p.bits = 4;
  for (uint32_t c : kRgb) {
    p.palette.push_back(uint8_t(c));
    p.palette.push_back(uint8_t(c >> 8));
    p.palette.push_back(uint8_t(c >> 16));
    p.palette.push_back(0);
  }
  p.rows.assign(size_t(p.RowBytes()) * 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const char c = kRows[y][x];
      const uint8_t index = c == 'k' ? 0 : c == 'w' ? 15 : c == 'g' ? 8 : 7;
      uint8_t& b = p.rows[size_t(19 - y) * p.RowBytes() + size_t(x / 2)];  // bottom-up
      b = (x & 1) ? uint8_t((b & 0xF0) | index) : uint8_t((b & 0x0F) | (index << 4));
    }
  return p;
}

}  // namespace browsebmp
