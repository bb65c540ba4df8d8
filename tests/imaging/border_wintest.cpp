#include "wintest.h"

#include "imaging/border.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"

namespace {

const TColor kPaper(255, 0, 255);

struct Canvas {
  TScreenDC screen;
  TBitmap bmp{screen, 60, 40};
  TMemoryDC mem{screen};
  Canvas() {
    mem.SelectObject(bmp);
    TBrush paper(kPaper);
    mem.FillRect(TRect(0, 0, 60, 40), paper);
  }
  // Pixels that are no longer the paper.
  int Painted() const {
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) n += mem.GetPixel(x, y) != kPaper;
    return n;
  }
};

}  // namespace

TEST(Border, OuterRectanglesByStyle) {
  const TRect r(20, 10, 40, 30);
  struct Case {
    const char* what;
    int style;
    int reach;
  } cases[] = {
      {"below the range counts as 9", -1, 2}, {"none", 0, 0},        {"plain", 1, 1},
      {"raised", 2, 1},                       {"recessed", 3, 1},    {"embossed", 4, 2},
      {"grooved", 5, 2},                      {"button up", 6, 2},   {"button down", 7, 2},
      {"window raised", 8, 2},                {"window recessed", 9, 2}, {"well set", 10, 2},
      {"above the range counts as 9", 11, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TRect expected = r.InflatedBy(c.reach, c.reach);
    TRect measured;
    GetBorderOuterRect(r, c.style, measured);
    EXPECT_EQ(measured, expected);

    Canvas measureOnly;
    TRect out;
    DrawBorder(measureOnly.mem, r, c.style, &out, 1);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(measureOnly.Painted(), 0);

    // Painting stays inside the outer rectangle and, but for style 0,
    // reaches its edge.
    Canvas painted;
    DrawBorder(painted.mem, r, c.style, nullptr, 0);
    int outside = 0, edge = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool ink = painted.mem.GetPixel(x, y) != kPaper;
        const bool inside = x >= expected.left && x < expected.right && y >= expected.top && y < expected.bottom;
        outside += ink && !inside;
        edge += ink && inside && (x == expected.left || y == expected.top || x == expected.right - 1 || y == expected.bottom - 1);
      }
    EXPECT_EQ(outside, 0);
    if (c.style == 0)
      EXPECT_EQ(painted.Painted(), 0);
    else
      EXPECT_GT(edge, 0);
  }
}

TEST(Border, PlainIsBlackOnePixelOutside) {
  Canvas c;
  const TRect r(20, 10, 40, 30);
  DrawBorder(c.mem, r, 1, nullptr, 0);
  for (int x = 19; x <= 40; ++x) {
    EXPECT_EQ(c.mem.GetPixel(x, 9), TColor(0, 0, 0)) << "x " << x;
    EXPECT_EQ(c.mem.GetPixel(x, 30), TColor(0, 0, 0)) << "x " << x;
  }
  for (int y = 9; y <= 30; ++y) {
    EXPECT_EQ(c.mem.GetPixel(19, y), TColor(0, 0, 0)) << "y " << y;
    EXPECT_EQ(c.mem.GetPixel(40, y), TColor(0, 0, 0)) << "y " << y;
  }
  EXPECT_EQ(c.Painted(), 2 * 22 + 2 * 20);
}
