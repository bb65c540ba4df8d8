// The pictures of the bitmap scroll bar, drawn here so that the player
// carries its own: 16-colour strips of equal-width images. Arrow strips
// "IDB_SCR_1" (vertical: up, down), "IDB_SCR_2" (horizontal: left, right)
// and "IDB_SCR_3" (both: back, forward) hold four images each: first,
// second, first pressed, second pressed. Thumb strips of styles 1, 2 and 5
// hold two images (normal, and dragging or disabled); style 3 is the pair
// "IDB_THUMB_3" / "IDB_THUMB_4" and style 4 a single image. Index 15 is the
// background key that the bar replaces by its background colour; the style
// 2 thumbs stand on yellow, the key of their masked image list.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/core/bmpgen.h"

namespace scrollerbmp {

enum : uint8_t {
  kBlack = 0, kShadow = 1, kFace = 2, kLight = 3, kDarkBlue = 4, kBlue = 5, kGreen = 6, kRed = 7,
  kYellow = 8, kDarkGreen = 9, kOrange = 10, kGrey = 11, kKey = 15,
};

inline bmpgen::Picture Canvas(int w, int h) {
  bmpgen::Picture p;
  p.width = w;
  p.height = h;
  p.bits = 4;
  const uint32_t rgb[16] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000080, 0x0000FF, 0x00C000, 0xFF0000,
                            0xFFFF00, 0x008000, 0xFF8000, 0xA0A0A0, 0x404040, 0x800080, 0x008080, 0xFF00FF};
  for (uint32_t c : rgb) {
    p.palette.push_back(uint8_t(c));
    p.palette.push_back(uint8_t(c >> 8));
    p.palette.push_back(uint8_t(c >> 16));
    p.palette.push_back(0);
  }
  p.rows.assign(size_t(p.RowBytes()) * size_t(h), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t& b = p.rows[size_t(y) * p.RowBytes() + size_t(x / 2)];
      b = uint8_t((x & 1) ? (b & 0xF0) | kKey : (b & 0x0F) | kKey << 4);
    }
  return p;
}

// Sets pixel (x, y) counted from the top.
inline void Set(bmpgen::Picture& p, int x, int y, uint8_t c) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  uint8_t& b = p.rows[size_t(p.height - 1 - y) * p.RowBytes() + size_t(x / 2)];
  b = uint8_t((x & 1) ? (b & 0xF0) | c : (b & 0x0F) | c << 4);
}

inline void Box(bmpgen::Picture& p, int x0, int y0, int w, int h, uint8_t c) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) Set(p, x, y, c);
}

// A raised (or pressed) button face with a 3D edge.
inline void Button(bmpgen::Picture& p, int x0, int y0, int w, int h, bool pressed, uint8_t face = kFace) {
  Box(p, x0, y0, w, h, face);
  const uint8_t tl = pressed ? kShadow : kLight, br = pressed ? kLight : kBlack;
  for (int i = 0; i < w; ++i) Set(p, x0 + i, y0, tl), Set(p, x0 + i, y0 + h - 1, br);
  for (int i = 0; i < h; ++i) Set(p, x0, y0 + i, tl), Set(p, x0 + w - 1, y0 + i, br);
}

// A filled triangle pointing in direction d (0 up, 1 down, 2 left, 3 right)
// centred in the cell.
inline void Arrow(bmpgen::Picture& p, int x0, int y0, int size, int d, uint8_t c, int shift) {
  const int n = size / 4 + 1, cx = x0 + size / 2 + shift, cy = y0 + size / 2 + shift;
  for (int i = 0; i < n; ++i)
    for (int j = -i; j <= i; ++j) {
      const int a = i - n / 2;
      switch (d) {
        case 0: Set(p, cx + j, cy + a, c); break;
        case 1: Set(p, cx + j, cy - a, c); break;
        case 2: Set(p, cx + a, cy + j, c); break;
        default: Set(p, cx - a, cy + j, c); break;
      }
    }
}

// Four arrow images of size × size: first, second, both again pressed.
inline bmpgen::Picture ArrowStrip(int size, int first, int second, bool round) {
  bmpgen::Picture p = Canvas(4 * size, size);
  for (int k = 0; k < 4; ++k) {
    const bool pressed = k >= 2;
    const int x0 = k * size;
    if (round) {
      // A disc on the background key.
      const int r = size / 2 - 1;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const int dx = 2 * x - (size - 1), dy = 2 * y - (size - 1);
          if (dx * dx + dy * dy <= 4 * r * r) Set(p, x0 + x, y, pressed ? kDarkBlue : kBlue);
        }
      Arrow(p, x0, 0, size, k % 2 ? second : first, kLight, pressed ? 1 : 0);
    } else {
      Button(p, x0, 0, size, size, pressed);
      Arrow(p, x0, 0, size, k % 2 ? second : first, kBlack, pressed ? 1 : 0);
    }
  }
  return p;
}

// `count` thumb images of w × h; the second, if any, is the dragging look.
inline bmpgen::Picture ThumbStrip(int w, int h, int count, int look) {
  bmpgen::Picture p = Canvas(count * w, h);
  for (int k = 0; k < count; ++k) {
    const int x0 = k * w;
    const bool active = k == 1;
    switch (look) {
      case 1:  // a raised knob with a groove mark
        Button(p, x0, 0, w, h, active);
        if (w < h) Box(p, x0 + 2, h / 2, w - 4, 1, kShadow);
        else Box(p, x0 + w / 2, 2, 1, h - 4, kShadow);
        break;
      case 2:  // a diamond standing on yellow, the image list's key
        Box(p, x0, 0, w, h, kYellow);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const int dx = 2 * x - (w - 1), dy = 2 * y - (h - 1);
            if ((dx < 0 ? -dx : dx) * h + (dy < 0 ? -dy : dy) * w <= w * h) Set(p, x0 + x, y, active ? kRed : kDarkBlue);
          }
        break;
      case 3:  // a disc; the second picture is the pressed one
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const int dx = 2 * x - (w - 1), dy = 2 * y - (h - 1);
            if (dx * dx + dy * dy <= (w - 1) * (w - 1)) Set(p, x0 + x, y, active ? kOrange : kDarkGreen);
          }
        break;
      case 4:  // a flat bar
        Box(p, x0, 0, w, h, kGrey);
        Box(p, x0 + 1, 1, w - 2, h - 2, kDarkBlue);
        break;
      default:  // a framed block
        Box(p, x0, 0, w, h, kBlack);
        Box(p, x0 + 2, 2, w - 4, h - 4, active ? kRed : kGreen);
        break;
    }
  }
  return p;
}

// Image k of a strip of images `w` wide.
inline bmpgen::Picture Image(const bmpgen::Picture& strip, int k, int w) {
  bmpgen::Picture one = Canvas(w, strip.height);
  for (int y = 0; y < strip.height; ++y)
    for (int x = 0; x < w; ++x) Set(one, x, strip.height - 1 - y, uint8_t(strip.Index(k * w + x, y)));
  return one;
}

// Every picture by its resource name.
inline std::vector<std::pair<std::string, bmpgen::Picture>> Pictures() {
  return {
      {"IDB_SCR_1", ArrowStrip(16, 0, 1, false)},
      {"IDB_SCR_2", ArrowStrip(16, 2, 3, false)},
      {"IDB_SCR_3", ArrowStrip(14, 2, 3, true)},
      {"IDB_THUMB_1", ThumbStrip(16, 12, 2, 2)},
      {"IDB_THUMB_2", ThumbStrip(12, 16, 2, 2)},
      {"IDB_THUMB_3", ThumbStrip(14, 14, 1, 3)},
      {"IDB_THUMB_4", Image(ThumbStrip(14, 14, 2, 3), 1, 14)},
      {"IDB_THUMB_5", ThumbStrip(8, 16, 1, 4)},
      {"IDB_THUMB_6", ThumbStrip(16, 8, 1, 4)},
      {"IDB_THUMB_7", ThumbStrip(16, 11, 2, 1)},
      {"IDB_THUMB_8", ThumbStrip(11, 16, 2, 1)},
      {"IDB_THUMB_9", ThumbStrip(12, 10, 2, 5)},
      {"IDB_THUMB_10", ThumbStrip(10, 12, 2, 5)},
  };
}

}  // namespace scrollerbmp
