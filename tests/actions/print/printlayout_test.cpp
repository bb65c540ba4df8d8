#include "actions/core/printlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr double kA4Width = 210 * 2.849, kA4Height = 297 * 2.849;

TEST(PrintLayout, PageFromPrinterMetricsAndMargins) {
  struct Case {
    const char* what;
    TPrinterMetrics m;
    double left, top, right, bottom;  // millimetres
    double dppX, dppY, marginLeft, marginTop, marginRight, marginBottom;
  };
  const double dpp300 = 300 * 0.013837, dpp600 = 600 * 0.013837;
  const Case cases[] = {
      {"300 dpi A4 without border", {300, 300, 0, 0, 210, 297}, 10, 20, 30, 40, dpp300, dpp300, 28.49, 56.98, 85.47,
       113.96},
      {"the printer's border counts towards the margins", {600, 300, 60, 30, 210, 297}, 10, 20, 30, 40, dpp600,
       dpp300, 28.49 - 60 / dpp600, 56.98 - 30 / dpp300, 85.47 - 60 / dpp600, 113.96 - 30 / dpp300},
      {"margins inside the border become 0", {300, 300, 300, 300, 210, 297}, 10, 0, 20, 100, dpp300, dpp300, 0, 0, 0,
       284.9 - 300 / dpp300},
      {"a printer without a resolution: one dot per point", {0, -5, 0, 0, 210, 297}, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TPageLayout l = ComputePageLayout(c.m, c.left, c.top, c.right, c.bottom);
    EXPECT_NEAR(l.DotsPerPointX, c.dppX, 1e-9);
    EXPECT_NEAR(l.DotsPerPointY, c.dppY, 1e-9);
    EXPECT_NEAR(l.MarginLeft, c.marginLeft, 1e-9);
    EXPECT_NEAR(l.MarginTop, c.marginTop, 1e-9);
    EXPECT_NEAR(l.MarginRight, c.marginRight, 1e-9);
    EXPECT_NEAR(l.MarginBottom, c.marginBottom, 1e-9);
    EXPECT_NEAR(l.PageWidth, kA4Width, 1e-9);
    EXPECT_NEAR(l.PageHeight, kA4Height, 1e-9);
    EXPECT_NEAR(l.PrintableWidth, kA4Width - c.marginLeft - c.marginRight, 1e-9);
    EXPECT_NEAR(l.PrintableHeight, kA4Height - c.marginTop - c.marginBottom, 1e-9);
  }
  // Margins wider than the paper leave a negative printable size.
  EXPECT_LT(ComputePageLayout({300, 300, 0, 0, 210, 297}, 150, 0, 150, 0).PrintableWidth, 0);
}

TEST(PrintLayout, OneLogicalUnitIsOnePoint) {
  const double dpp = 300 * 0.013837;  // 4.1511
  const TPageMapping rounded = PageMapping(dpp, dpp, 28.49, 10.2);
  EXPECT_EQ(rounded.WindowExtX, 7894);  // 32767 / 4.1511 = 7893.6
  EXPECT_EQ(rounded.WindowExtY, 7894);
  EXPECT_EQ(rounded.ViewportOrgX, 118);  // 118.27
  EXPECT_EQ(rounded.ViewportOrgY, 42);   // 42.34
  const TPageMapping truncated = PageMappingTruncated(dpp, dpp * 2, 28.49, 10.2);
  EXPECT_EQ(truncated.WindowExtX, 7893);
  EXPECT_EQ(truncated.WindowExtY, 3946);
  EXPECT_EQ(truncated.ViewportOrgX, 118);
  EXPECT_EQ(truncated.ViewportOrgY, 84);  // 84.68
}

TEST(PrintLayout, TitleAndPageNumberInTheirMarginsOrLeftOut) {
  TPageLayout l;
  l.MarginLeft = 30;
  l.MarginTop = 40;
  l.MarginBottom = 20;
  l.PageHeight = 800;
  double x = -1, y = -1;
  ASSERT_TRUE(TitleOrigin(l, 10, x, y));
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 15);
  EXPECT_FALSE(TitleOrigin(l, 40, x, y));  // as tall as the margin
  ASSERT_TRUE(PageNumberOrigin(l, 10, x, y));
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 5 + 780);
  EXPECT_FALSE(PageNumberOrigin(l, 25, x, y));

  EXPECT_EQ(AlignedX(kAlignLeft, 401), 0);
  EXPECT_EQ(AlignedX(kAlignCentre, 401), 201);  // 200.5 rounded
  EXPECT_EQ(AlignedX(kAlignRight, 401.4), 401);
  EXPECT_EQ(AlignedX(7, 100), 50);  // any other value centres
  EXPECT_EQ(PageNumberText(1), "-1-");
  EXPECT_EQ(PageNumberText(12), "-12-");
}

TEST(PrintLayout, PictureSizeAndCentring) {
  struct Case {
    const char* what;
    uint32_t flags;
    double targetW, targetH;  // mm
    double W, H;              // printable points
    int pw, ph;
    TPictureBox box;
  };
  const Case cases[] = {
      // 100 mm = 284.9 points.
      {"fixed size within the page", kPictureFixed, 100, 50, 500, 700, 10, 10, {108, 279, 284, 142}},
      {"fixed width wider than the page: scaled in proportion", kPictureFixed, 400, 200, 500, 700, 10, 10,
       {0, 225, 500, 250}},
      {"fixed height taller than the page: scaled in proportion", kPictureFixed, 100, 400, 500, 570, 10, 10,
       {179, 0, 142, 570}},
      {"fill without aspect: the whole area", kPictureFill, 0, 0, 500, 700, 30, 10, {0, 0, 500, 700}},
      {"fill keeping a landscape picture's aspect", kPictureFill | kPictureAspect, 0, 0, 500, 700, 200, 100,
       {0, 225, 500, 250}},
      {"a wide landscape area limits the height", kPictureFill | kPictureAspect, 0, 0, 900, 300, 200, 100,
       {150, 0, 600, 300}},
      {"fill keeping a portrait picture's aspect", kPictureFill | kPictureAspect, 0, 0, 500, 700, 100, 200,
       {75, 0, 350, 700}},
      {"a narrow area limits a portrait picture's width", kPictureFill | kPictureAspect, 0, 0, 300, 700, 100, 200,
       {0, 50, 300, 600}},
      {"fixed without a usable size: the least size", kPictureFixed, 0, -5, 500, 700, 10, 10, {250, 350, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TPictureBox b = PlacePicture(c.flags, c.targetW, c.targetH, c.W, c.H, c.pw, c.ph);
    EXPECT_EQ(b.X, c.box.X);
    EXPECT_EQ(b.Y, c.box.Y);
    EXPECT_EQ(b.Width, c.box.Width);
    EXPECT_EQ(b.Height, c.box.Height);
  }
}

// Every character is 10 points wide, a tab 30; "|" none.
double Measure(const char* p, size_t n) {
  double w = 0;
  for (size_t i = 0; i < n; ++i) w += p[i] == '\t' ? 30 : p[i] == '|' ? 0 : 10;
  return w;
}

TEST(PrintLayout, WrapRules) {
  using L = std::vector<std::string>;
  struct Case {
    const char* what;
    std::string text;
    double width;
    bool tabsAsBlanks;
    L lines;
  };
  const Case cases[] = {
      {"fits", "ab cd", 50, true, {"ab cd"}},
      {"the whole line is measured, its last character too", "abcdef", 50, true, {"abcde", "f"}},
      {"break after the last blank that fits", "ab cd ef", 60, true, {"ab cd", "ef"}},
      {"the first character that does not fit is a blank", "abcde fg", 50, true, {"abcde", "fg"}},
      {"trailing and leading blanks of wrapped lines dropped", "ab     cd   ", 40, true, {"ab", "cd"}},
      {"trailing blanks of a line that fits dropped", "ab   ", 100, true, {"ab"}},
      {"an empty line is one blank", "a\n\nb", 100, true, {"a", " ", "b"}},
      {"a line of blanks is one blank", "   \nb", 100, true, {" ", "b"}},
      {"a last line feed adds no line", "a\nb\n", 100, true, {"a", "b"}},
      {"carriage returns dropped", "a\r\nb\r", 100, true, {"a", "b"}},
      {"a long word broken at the line width", "ab abcdefghij", 40, true, {"ab", "abcd", "efgh", "ij"}},
      {"a first word wider than the line", "abcdefgh ij", 30, true, {"abc", "def", "gh", "ij"}},
      {"a line narrower than one glyph takes one character each", "abc", 5, true, {"a", "b", "c"}},
      {"zero-width characters all fit", std::string(50, '|'), 5, true, {std::string(50, '|')}},
      {"tabs as blanks", "a\tb", 25, true, {"a", "b"}},
      {"tabs measured as tabs", "a\tb", 50, false, {"a\tb"}},
      {"a tab alone on a line when nothing else fits", "a\tb", 35, false, {"a", "\t", "b"}},
      {"no text, no lines", "", 100, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WrapText(c.text, c.width, Measure, c.tabsAsBlanks), c.lines);
  }
}

TEST(PrintLayout, PagesEndAfterTheLineThatExceedsTheHeight) {
  // 12-point lines on a 50-point page: the fifth line reaches 60 and is the
  // page's last.
  std::vector<size_t> starts;
  for (size_t i = 0; i < 12; i = NextPageStart(i, 12, 12, 50)) starts.push_back(i);
  EXPECT_EQ(starts, (std::vector<size_t>{0, 5, 10}));
  EXPECT_EQ(NextPageStart(0, 3, 10, 30), 3u);     // exactly full: no new page
  EXPECT_EQ(NextPageStart(0, 3, 100, 30), 1u);    // a line taller than the page goes alone
  EXPECT_EQ(NextPageStart(0, 3, 10, -5), 1u);     // no printable height: still one line
  EXPECT_EQ(NextPageStart(0, 40, 0, 30), 40u);    // no line height: all on one page
  EXPECT_EQ(NextPageStart(7, 5, 10, 30), 5u);
}

}  // namespace
