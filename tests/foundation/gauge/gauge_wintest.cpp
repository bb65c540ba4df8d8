#include "wintest.h"

#include <memory>
#include <string>

#include "canvas.h"
#include "foundation/gauge.h"
#include "platform/owl/window.h"

namespace {

// A hidden parent window with one gauge of 106 x 16 pixels (border 1,
// margin 2: the bar area is x 3..102, y 3..12).
struct GaugeFixture {
  explicit GaugeFixture(const char* caption = "", bool horizontal = true, int w = 106, int h = 16) {
    parent = std::make_unique<TWindow>(nullptr, "gauge parent");
    parent->Attr.Style = WS_POPUP | WS_VISIBLE;
    parent->Attr.W = 300;
    parent->Attr.H = 200;
    gauge = new TxGauge(parent.get(), caption, 101, 0, 0, w, h, horizontal, 2);
    EXPECT_TRUE(parent->Create());
  }
  // Paints into a canvas of the gauge's size.
  void Paint(Canvas& c) { gauge->PaintGauge(c.Dc_()); }
  std::unique_ptr<TWindow> parent;
  TxGauge* gauge;  // owned by the parent
};

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
const COLORREF kBlue = RGB(0, 0, 255);

TEST(TxGauge, RangeAndValue) {
  GaugeFixture f;
  EXPECT_EQ(f.gauge->GetStyle() & WS_TABSTOP, 0u);
  EXPECT_EQ(f.gauge->Margin, 2 * GetSystemMetrics(SM_CXBORDER));
  f.gauge->SetRange(10, 10);
  EXPECT_EQ(f.gauge->Min, 10);
  EXPECT_EQ(f.gauge->Max, 11);
  f.gauge->SetRange(0, 100);
  f.gauge->SetValue(500);
  EXPECT_EQ(f.gauge->Value, 100);
  f.gauge->SetValue(-4);
  EXPECT_EQ(f.gauge->Value, 0);

  // The same value again does not repaint.
  f.gauge->SetValue(40);
  ValidateRect(f.gauge->GetHandle(), nullptr);
  f.gauge->SetValue(40);
  RECT u;
  EXPECT_FALSE(GetUpdateRect(f.gauge->GetHandle(), &u, FALSE));
  f.gauge->SetValue(41);
  EXPECT_TRUE(GetUpdateRect(f.gauge->GetHandle(), &u, FALSE));
  EXPECT_EQ(TRect(u), f.gauge->GetClientRect());
}

TEST(TxGauge, SolidBarAndBorder) {
  GaugeFixture f;
  f.gauge->SetValue(30);
  Canvas c(106, 16);
  f.Paint(c);
  EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(c.At(0, 8), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(c.At(50, 15), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(c.At(105, 8), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(c.At(1, 8), Face());  // the margin frames
  EXPECT_EQ(c.At(2, 8), Face());
  EXPECT_EQ(c.At(3, 8), kBlue);   // 30 of 100 over 100 pixels
  EXPECT_EQ(c.At(32, 8), kBlue);
  EXPECT_EQ(c.At(33, 8), Face());
  EXPECT_EQ(c.At(102, 8), Face());

  f.gauge->SetValue(500);
  f.Paint(c);
  EXPECT_EQ(c.At(102, 8), kBlue);  // a full bar
}

TEST(TxGauge, VerticalGrowsFromTheBottom) {
  GaugeFixture f("", false, 16, 106);
  f.gauge->SetValue(25);
  Canvas c(16, 106);
  f.Paint(c);
  EXPECT_EQ(c.At(8, 102), kBlue);
  EXPECT_EQ(c.At(8, 78), kBlue);
  EXPECT_EQ(c.At(8, 77), Face());
  EXPECT_EQ(c.At(8, 3), Face());
}

TEST(TxGauge, LedSegments) {
  GaugeFixture f("%d%%");
  f.gauge->SetLed(10, 50);
  f.gauge->SetValue(35);
  Canvas c(106, 16, RGB(1, 2, 3));
  f.Paint(c);
  // Pitch 10: lit 5, dark 5; four segments start before the filled end (35).
  int lit = 0;
  for (int s = 0; s < 10; ++s) {
    const bool on = c.At(3 + 10 * s, 8) == kBlue;
    lit += on;
    EXPECT_EQ(on, s < 4) << s;
    EXPECT_EQ(c.At(3 + 10 * s + 4, 8) == kBlue, s < 4) << s;
    EXPECT_EQ(c.At(3 + 10 * s + 5, 8), Face()) << s;
  }
  EXPECT_EQ(lit, 4);
  EXPECT_EQ(c.At(102, 8), Face());
  // No caption in this mode: no pixel but bar or face inside.
  for (int x = 3; x < 103; ++x) {
    const COLORREF p = c.At(x, 6);
    EXPECT_TRUE(p == kBlue || p == Face()) << x;
  }
}

TEST(TxGauge, FineSegmentsDoNotStall) {
  GaugeFixture f;
  f.gauge->SetRange(0, 100000);
  f.gauge->SetLed(1, 50);
  f.gauge->SetValue(100000);
  Canvas c(106, 16);
  f.Paint(c);  // a pitch of 0 pixels would loop for ever
  EXPECT_EQ(c.At(102, 8), Face());
}

TEST(TxGauge, CaptionFormats) {
  char out[64];
  TxGauge::FormatCaption("%d%%", 35, out, sizeof out);
  EXPECT_STREQ(out, "35%");
  TxGauge::FormatCaption("Fortschritt", 35, out, sizeof out);
  EXPECT_STREQ(out, "Fortschritt");
  TxGauge::FormatCaption("%s", 35, out, sizeof out);  // would read the value as a pointer
  EXPECT_STREQ(out, "%s");
  TxGauge::FormatCaption("%d von %d", 35, out, sizeof out);
  EXPECT_STREQ(out, "%d von %d");
  TxGauge::FormatCaption("%5d", 35, out, sizeof out);
  EXPECT_STREQ(out, "   35");

  // The caption shows in both colours: over the bar in the face colour,
  // over the rest in the bar colour.
  GaugeFixture f("%d", true, 206, 30);
  f.gauge->SetValue(50);
  Canvas c(206, 30);
  f.Paint(c);
  int faceOnBar = 0, blueOnRest = 0;
  for (int y = 3; y < 27; ++y)
    for (int x = 3; x < 203; ++x) {
      const bool onBar = x < 103;
      const COLORREF p = c.At(x, y);
      faceOnBar += onBar && p == Face();
      blueOnRest += !onBar && p == kBlue;
    }
  EXPECT_GT(faceOnBar, 0);
  EXPECT_GT(blueOnRest, 0);
}

}  // namespace
