#include "wintest.h"

#include <string>

#include "engine/objectkinds.h"
#include "engine/paintinfo.h"
#include "objects/text.h"
#include "objectpage.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);

// A white 600 x 400 page that scrolls, holding one text object.
std::string Project(const std::string& rect, const std::string& text) {
  return "size 600 400\nflags hscroll vscroll\npage 1\n  background colour #FFFFFF\n  object text \"T\" " + rect +
         "\n    text " + text + "\n";
}

TTextObject* TextAt(ObjectPage& page) { return dynamic_cast<TTextObject*>(page.Object(1)); }

TEST(TextObject, TheFactoryMakesTextObjects) {
  ObjectPage page(Project("20 20 320 80", "\"MMMM\""), 600, 400);
  ASSERT_TRUE(page.Ok);
  TTextObject* text = TextAt(page);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(text->GetTextData(), nullptr);
  EXPECT_STREQ(text->GetTextData()->Text.c_str(), "MMMM");
  EXPECT_NE(GetTextFont(*text->GetTextData()), nullptr);
  std::unique_ptr<TData> fresh(CreateTextData());
  EXPECT_NE(dynamic_cast<TTextData*>(fresh.get()), nullptr);
}

TEST(TextObject, Alignments) {
  struct Case {
    const char* align;
    int where;  // 0 left, 1 centre, 2 right
  } cases[] = {{"left", 0}, {"centre", 1}, {"right", 2}, {"3", 0}};
  const TRect rect(20, 20, 320, 80);
  for (const Case& c : cases) {
    ObjectPage page(Project("20 20 320 80",
                            std::string("\"MMMM\" font \"Arial\" 40 bold colour #FF0000 align ") + c.align),
                    600, 400);
    ASSERT_TRUE(page.Ok);
    auto canvas = page.PaintClient();
    const ColourBox red = FindColour(*canvas, kRed, TRect(0, 0, 600, 400));
    ASSERT_GT(red.Count, 50) << c.align;
    EXPECT_TRUE(rect.Contains(red.Box)) << c.align;
    const int gap[] = {red.Box.left - rect.left,
                       std::abs((red.Box.left + red.Box.right) / 2 - (rect.left + rect.right) / 2),
                       rect.right - red.Box.right};
    EXPECT_LT(gap[c.where], 8) << c.align;
  }
}

TEST(TextObject, DropShadow) {
  for (bool shadow : {true, false}) {
    const std::string text = std::string("\"MMMM\" font \"Arial\" 40 bold colour #FF0000") +
                             (shadow ? " shadow #00FF00 4 6" : " flags 0");
    ObjectPage page(Project("20 20 320 120", text), 600, 400);
    ASSERT_TRUE(page.Ok);
    if (!shadow) TextAt(page)->GetTextData()->ShadowColour = 0x00FF00;
    auto canvas = page.PaintClient();
    const ColourBox red = FindColour(*canvas, kRed, TRect(0, 0, 600, 400));
    const ColourBox green = FindColour(*canvas, kGreen, TRect(0, 0, 600, 400));
    ASSERT_GT(red.Count, 50);
    if (!shadow) {
      EXPECT_EQ(green.Count, 0);
      continue;
    }
    ASSERT_GT(green.Count, 20);
    EXPECT_NEAR(green.Box.right, red.Box.right + 4, 1);
    EXPECT_NEAR(green.Box.bottom, red.Box.bottom + 6, 1);
  }
}

TEST(TextObject, WrappingAtWordBoundaries) {
  int heights[2];
  for (int wrap = 0; wrap < 2; ++wrap) {
    const std::string text =
        std::string("\"aaaa bbbb cccc dddd eeee\" font \"Arial\" 20 colour #FF0000") + (wrap ? "" : " nowrap");
    ObjectPage page(Project("20 20 120 300", text), 600, 400);
    ASSERT_TRUE(page.Ok);
    auto canvas = page.PaintClient();
    const ColourBox red = FindColour(*canvas, kRed, TRect(0, 0, 600, 400));
    ASSERT_GT(red.Count, 20);
    heights[wrap] = red.Box.Height();
    if (wrap) {
      EXPECT_LE(red.Box.right, 120);
    }
  }
  EXPECT_LT(heights[0], 24);  // one line
  EXPECT_GT(heights[1], 2 * heights[0]);  // several lines
}

// Rotated text runs upwards from the rectangle's left edge, one line,
// clipped to the rectangle; its shadow is rotated too.
TEST(TextObject, RotatedBy90Degrees) {
  ObjectPage page(Project("100 20 200 380", "\"MMMMM\" font \"Arial\" 40 bold colour #FF0000 angle 90 shadow #00FF00 3 3"),
                  600, 400);
  ASSERT_TRUE(page.Ok);
  auto canvas = page.PaintClient();
  const ColourBox red = FindColour(*canvas, kRed, TRect(0, 0, 600, 400));
  const ColourBox green = FindColour(*canvas, kGreen, TRect(0, 0, 600, 400));
  ASSERT_GT(red.Count, 50);
  EXPECT_GT(red.Box.Height(), 2 * red.Box.Width());
  EXPECT_TRUE(TRect(100, 20, 200, 380).Contains(red.Box));
  EXPECT_LT(red.Box.left - 100, 10);
  EXPECT_GT(green.Count, 10);
  EXPECT_GT(green.Box.Height(), 2 * green.Box.Width());
}

TEST(TextObject, RotatedStartByAngle) {
  struct Case {
    int angle;
    TPoint start;
  } cases[] = {{0, TPoint(0, 0)},       {45, TPoint(0, 71)},    {90, TPoint(0, 100)},  {180, TPoint(100, 20)},
               {270, TPoint(20, 0)},    {360, TPoint(0, 0)},    {-10, TPoint(0, 0)},   {400, TPoint(0, 0)},
               {135, TPoint(71, 85)},   {225, TPoint(85, 14)},  {315, TPoint(14, 0)}};
  for (const Case& c : cases) EXPECT_EQ(RotatedTextStart(c.angle, 100, 20), c.start) << c.angle;
}

// Scrolled by (100, 50), the text lands 100 to the left and 50 higher, once.
TEST(TextObject, PaintsAtTheScrollOffset) {
  ObjectPage page(Project("150 100 450 160", "\"MMMM\" font \"Arial\" 40 bold colour #FF0000"), 300, 200);
  ASSERT_TRUE(page.Ok);
  page.Window->Scroller->ScrollTo(0, 0);
  auto before = page.PaintClient();
  const ColourBox a = FindColour(*before, kRed, TRect(0, 0, 300, 200));
  page.Window->Scroller->ScrollTo(100, 50);
  ASSERT_EQ(page.Window->GetScrollOffset(), TPoint(100, 50));
  auto after = page.PaintClient();
  const ColourBox b = FindColour(*after, kRed, TRect(0, 0, 300, 200));
  ASSERT_GT(a.Count, 50);
  TRect expected = a.Box;
  expected.Offset(-100, -50);
  EXPECT_EQ(b.Box.left, expected.left);
  EXPECT_EQ(b.Box.top, expected.top);
}

// The page's DC comes back as it was: clip, font, colour and mode; the
// rotated line stays inside the clip the page had set.
TEST(TextObject, LeavesTheDeviceContextAsItFoundIt) {
  for (int angle : {0, 90}) {
    ObjectPage page(Project("0 0 300 300", "\"MMMMMM\" font \"Arial\" 40 bold colour #FF0000 shadow #00FF00 2 2 angle " +
                                                std::to_string(angle)),
                    600, 400);
    ASSERT_TRUE(page.Ok);
    Canvas c(300, 300, kWhite);
    TDC& dc = c.Dc_();
    dc.IntersectClipRect(TRect(0, 0, 300, 120));
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    SelectObject(dc, font);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(OPAQUE);
    TRect clipBefore;
    dc.GetClipBox(clipBefore);
    TPaintInfo paint(dc, dc);
    paint.Area = TRect(0, 0, 300, 300);
    TextAt(page)->Paint(paint);
    TRect clipAfter;
    dc.GetClipBox(clipAfter);
    EXPECT_EQ(clipAfter, clipBefore) << angle;
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font) << angle;
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3)) << angle;
    EXPECT_EQ(dc.GetBkMode(), OPAQUE) << angle;
    EXPECT_GT(FindColour(c, kRed, TRect(0, 0, 300, 120)).Count, 20) << angle;
    EXPECT_EQ(FindColour(c, kRed, TRect(0, 120, 300, 300)).Count, 0) << angle;
  }
}

TEST(TextObject, FileNameSetsTheText) {
  ObjectPage page(Project("20 20 320 80", "\"MMMM\"") + "    props 0x200104\n", 600, 400);
  ASSERT_TRUE(page.Ok);
  TTextObject* text = TextAt(page);
  string name = "Neu";
  text->SetFileName(name);
  EXPECT_STREQ(text->GetTextData()->Text.c_str(), "Neu");
  EXPECT_TRUE(text->IsVisible());
  string empty;
  text->SetFileName(empty);
  EXPECT_TRUE(text->GetTextData()->Text.is_null());
  EXPECT_FALSE(text->IsVisible());

  EXPECT_EQ(text->GetFileCount(), 0);
  bool flag = true;
  string path = "x";
  EXPECT_FALSE(text->GetFile(0, flag, path));
  EXPECT_FALSE(flag);
  EXPECT_TRUE(path.is_null());
  string exchanged = "bleibt";
  int32_t first = 0, second = 0;
  EXPECT_TRUE(text->ExchangeText(exchanged, first, second));
  EXPECT_EQ(first, -1);
  EXPECT_EQ(second, -1);
  EXPECT_STREQ(exchanged.c_str(), "bleibt");
}

}  // namespace
