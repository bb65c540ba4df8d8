#include "actions/core/tslprintlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TslPrintLayout, SettingsDefaults) {
  const TTSLPrintSettings s;
  EXPECT_EQ(+s.MarginTop, 56.98);
  EXPECT_EQ(+s.MarginLeft, 56.98);
  EXPECT_EQ(+s.HeaderAlign, kTslAlignCentre);
  EXPECT_EQ(+s.PageNumberAlign, kTslAlignCentre);
  EXPECT_EQ(+s.ShowHeader, 0);
  EXPECT_EQ(+s.ShowPageNumber, 0);
  EXPECT_STREQ(s.FontFace, "Courier New");
  EXPECT_EQ(+s.FontHeight, 12);
}

TEST(TslPrintLayout, TextAreaKeepsClearOfThePrintersBorder) {
  TTSLPrintSettings s;
  s.MarginLeft = 10;
  s.MarginRight = 100;
  s.MarginTop = 5;
  // 300 dpi, A4, a border of 83 by 166 dots: 20 by 40 points.
  const TTslTextArea a = ComputeTslTextArea({300, 300, 83, 166, 210, 297}, s);
  EXPECT_NEAR(a.OffsetX, 83 / 4.1511, 1e-9);
  EXPECT_NEAR(+s.MarginLeft, 83 / 4.1511, 1e-9);  // raised, and kept
  EXPECT_EQ(+s.MarginRight, 100);
  EXPECT_NEAR(+s.MarginTop, 166 / 4.1511, 1e-9);
  EXPECT_EQ(+s.MarginBottom, 56.98);
  EXPECT_EQ(a.Left, 19);
  EXPECT_EQ(a.Top, 39);
  EXPECT_EQ(a.Width, static_cast<int>(598 - 83 / 4.1511 - 100));   // 478
  EXPECT_EQ(a.Height, static_cast<int>(846 - 56.98 - 166 / 4.1511));  // 749
  EXPECT_EQ(a.Right, a.Left + a.Width);
  EXPECT_EQ(a.Bottom, a.Top + a.Height);
}

TEST(TslPrintLayout, HeaderAndPageNumberPositions) {
  TTSLPrintSettings s;
  s.MarginLeft = 30.7;
  s.MarginRight = 40.2;
  struct Case {
    int32_t align;
    int x;
    TTslAnchor anchor;
  };
  // 1 is right and 2 centred here.
  const Case cases[] = {{kTslAlignLeft, 30, TTslAnchor::Left},
                        {kTslAlignRight, 558, TTslAnchor::Right},  // 598.29 - 40.2
                        {kTslAlignCentre, 299, TTslAnchor::Centre},
                        {9, 299, TTslAnchor::Centre}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.align);
    TTslAnchor anchor = TTslAnchor::Left;
    EXPECT_EQ(TslAlignedX(c.align, s, 598.29, anchor), c.x);
    EXPECT_EQ(anchor, c.anchor);
  }
  EXPECT_EQ(TslPageNumberY(846.153), 841);
}

std::vector<std::string> Split(const std::vector<std::string>& parts) {
  std::vector<std::string> lines;
  TTslLineSplitter splitter;
  auto add = [&](const std::string& l) { lines.push_back(l); };
  for (const std::string& p : parts) splitter.Feed(p.data(), p.size(), add);
  splitter.Finish(add);
  return lines;
}

TEST(TslPrintLayout, FileLines) {
  using L = std::vector<std::string>;
  EXPECT_EQ(Split({}), L{});
  EXPECT_EQ(Split({"a\r\n\r\nb"}), (L{"a", "", "b"}));
  EXPECT_EQ(Split({"a\n"}), (L{"a"}));
  EXPECT_EQ(Split({"ab", "c\nd", "e\n"}), (L{"abc", "de"}));
  // A line longer than the buffer is printed whole, in pieces.
  const std::string longLine(5000, 'x');
  const L pieces = Split({longLine.substr(0, 3000), longLine.substr(3000) + "\nEnde"});
  ASSERT_EQ(pieces.size(), 6u);
  std::string joined;
  for (size_t i = 0; i < 5; ++i) joined += pieces[i];
  EXPECT_EQ(joined, longLine);
  EXPECT_EQ(pieces[0].size(), kTslLinePiece);
  EXPECT_EQ(pieces[5], "Ende");
  // A line that fills a piece exactly adds no empty line.
  EXPECT_EQ(Split({std::string(kTslLinePiece, 'y') + "\nz"}), (L{std::string(kTslLinePiece, 'y'), "z"}));
}

TEST(TslPrintLayout, LinesMoveDownAndStartNewPages) {
  // 100 points of text area, 30-point lines: the fourth line would end
  // below the bottom and goes on a new page.
  TTslLineFlow flow(100, 30);
  std::vector<std::pair<bool, int>> seen;
  for (int i = 0; i < 5; ++i) {
    const bool page = flow.Next();
    seen.emplace_back(page, flow.LineY());
  }
  EXPECT_EQ(seen, (std::vector<std::pair<bool, int>>{{false, 30}, {false, 60}, {false, 90}, {true, 30}, {false, 60}}));
  // A line taller than the area: one per page, and no endless loop.
  TTslLineFlow tall(10, 30);
  EXPECT_TRUE(tall.Next());
  EXPECT_TRUE(tall.Next());
}

}  // namespace
