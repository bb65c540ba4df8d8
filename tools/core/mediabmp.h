// The pictures of the media kinds, drawn here so that the player carries its
// own: the symbols of sound and CD objects (32 × 32: a speaker for wave
// sound, a note for MIDI, a disc for CD audio) and the MCI control bar's two
// button strips: six cels in one row (play, pause, stop, to the start, to
// the end, the door), each three images side by side (up, pressed,
// inactive), in the cel sizes the bar's record computes its panel from.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "objects/core/mcibardata.h"
#include "tools/core/scrollerbmp.h"

namespace mediabmp {

using namespace scrollerbmp;

inline bmpgen::Picture Symbol(int which) {
  bmpgen::Picture p = Canvas(32, 32);
  Box(p, 0, 0, 32, 32, kFace);
  switch (which) {
    case 0:  // speaker with two waves
      Box(p, 5, 12, 6, 8, kBlack);
      for (int i = 0; i < 8; ++i) Box(p, 11 + i, 12 - i, 1, 8 + 2 * i, kBlack);
      for (int y = 8; y < 24; ++y) Set(p, 23 + (y == 8 || y == 23), y, kBlue), Set(p, 27 + (y < 11 || y > 20), y, kBlue);
      break;
    case 1:  // a quaver
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
          if ((2 * x - 7) * (2 * x - 7) + (2 * y - 5) * (2 * y - 5) * 2 <= 60) Set(p, 8 + x, 20 + y, kBlack);
      Box(p, 15, 5, 2, 18, kBlack);
      for (int i = 0; i < 7; ++i) Box(p, 17 + i / 2, 5 + i, 2, 2, kBlack);
      break;
    default:  // a disc with its hole
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          const int d = (2 * x - 31) * (2 * x - 31) + (2 * y - 31) * (2 * y - 31);
          if (d <= 29 * 29) Set(p, x, y, d <= 7 * 7 ? kFace : d <= 11 * 11 ? kLight : (x + y) % 5 ? kGrey : kLight);
        }
      break;
  }
  return p;
}

// The glyph of button `k` in an image at x0 (w × h), dark or greyed.
inline void Glyph(bmpgen::Picture& p, int x0, int w, int h, int k, uint8_t c, int shift) {
  const int s = h / 2, cx = x0 + w / 2 + shift, cy = h / 2 + shift, top = cy - s / 2;
  const auto triangle = [&](int left, bool right) {
    for (int i = 0; i <= s / 2; ++i) Box(p, right ? left + i : left + s / 2 - i, top + i, 1, s - 2 * i, c);
  };
  switch (k) {
    case 0: triangle(cx - s / 4, true); break;
    case 1: Box(p, cx - s / 3, top, s / 4 + 1, s, c), Box(p, cx + s / 6, top, s / 4 + 1, s, c); break;
    case 2: Box(p, cx - s / 2, top, s, s, c); break;
    case 3: Box(p, cx - s / 2, top, 2, s, c), triangle(cx - s / 2 + 2, false); break;
    case 4: triangle(cx - s / 2, true), Box(p, cx + 1, top, 2, s, c); break;
    default:
      for (int i = 0; i < s / 2; ++i) Box(p, cx - i, top + i, 2 * i + 1, 1, c);
      Box(p, cx - s / 2, top + s / 2 + 2, s, 2, c);
      break;
  }
}

inline bmpgen::Picture BarStrip(int imageWidth, int height) {
  bmpgen::Picture p = Canvas(6 * 3 * imageWidth, height);
  for (int k = 0; k < 6; ++k)
    for (int state = 0; state < 3; ++state) {
      const int x0 = (3 * k + state) * imageWidth;
      Button(p, x0, 0, imageWidth, height, state == 1);
      Glyph(p, x0, imageWidth, height, k, state == 2 ? kShadow : k == 0 ? kGreen : k == 2 ? kRed : kBlack,
            state == 1 ? 1 : 0);
    }
  return p;
}

inline std::vector<std::pair<std::string, bmpgen::Picture>> Pictures() {
  return {
      {"IDB_MCI_WAVE", Symbol(0)},
      {"IDB_MCI_MIDI", Symbol(1)},
      {"IDB_MCI_CD", Symbol(2)},
      {"IDB_MCIBAR_SMALL", BarStrip(kMciBarSmallImageWidth, kMciBarSmallHeight)},
      {"IDB_MCIBAR_LARGE", BarStrip(kMciBarLargeImageWidth, kMciBarLargeHeight)},
  };
}

}  // namespace mediabmp
