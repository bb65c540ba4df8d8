#include "wintest.h"

#include <algorithm>
#include <memory>

#include "imaging/profiscroller.h"
#include "platform/owl/window.h"

namespace {

class TScrolledView : public TWindow {
public:
  TScrolledView(int w, int h) : TWindow(nullptr, "profi") {
    Attr.Style = WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL;
    // Away from the screen's edges, so the cursor can stand above and left of it.
    Attr.X = 200;
    Attr.Y = 200;
    Attr.W = w;
    Attr.H = h;
  }
};

struct View {
  std::unique_ptr<TScrolledView> window;
  std::unique_ptr<TProfiScroller> scroller;
  View(int w, int h, long xRange, long yRange) : window(std::make_unique<TScrolledView>(w, h)) {
    EXPECT_TRUE(window->Create());
    scroller = std::make_unique<TProfiScroller>(window.get(), 1, 1, 0, 0);
    scroller->SetRange(xRange, yRange);
  }
  int BarMax(int bar) const {
    int lo = 0, hi = 0;
    window->GetScrollRange(bar, lo, hi);
    return hi;
  }
  bool Invalid() const {
    RECT r;
    return ::GetUpdateRect(window->HWindow, &r, FALSE) != 0;
  }
};

}  // namespace

TEST(ProfiScroller, FactorsMapLargeRangesOntoTheBar) {
  View v(200, 150, 100000, 32767);
  EXPECT_NEAR(v.scroller->XFactor, 3.0519, 1e-4);
  EXPECT_EQ(v.scroller->YFactor, 1.0);
  EXPECT_EQ(v.BarMax(SB_HORZ), 32767);
  EXPECT_EQ(v.BarMax(SB_VERT), 32767);

  v.scroller->HScroll(SB_THUMBTRACK, 16000);
  EXPECT_EQ(v.scroller->XPos, 48829);
  EXPECT_EQ(v.window->GetScrollPos(SB_HORZ), 15999) << "the position over the factor, truncated";
  v.scroller->VScroll(SB_THUMBPOSITION, 1234);
  EXPECT_EQ(v.scroller->YPos, 1234);
  EXPECT_EQ(v.window->GetScrollPos(SB_VERT), 1234);

  struct Case {
    const char* what;
    uint code;
    long expected;
  } cases[] = {
      {"bottom goes to the range", SB_BOTTOM, 100000},
      {"a line down stops at the range", SB_LINEDOWN, 100000},
      {"top goes to 0", SB_TOP, 0},
      {"a page up stops at 0", SB_PAGEUP, 0},
      {"a line down moves a tenth of the client", SB_LINEDOWN, 0},  // width set below
      {"end scroll does nothing", SB_ENDSCROLL, 0},
  };
  cases[4].expected = (std::max)(1L, long(v.window->GetClientRect().Width() / 10));
  cases[5].expected = cases[4].expected;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    v.scroller->HScroll(c.code, 0);
    EXPECT_EQ(v.scroller->XPos, c.expected);
  }
  EXPECT_EQ(v.window->GetScrollPos(SB_HORZ), int(double(v.scroller->XPos) / v.scroller->XFactor));
}

TEST(ProfiScroller, ScrollingToTheSamePositionRepaintsNothing) {
  View v(200, 150, 500, 500);
  v.scroller->Redraw = 0;  // keep the invalid region for the test to see
  v.window->UpdateWindow();
  ::ValidateRect(v.window->HWindow, nullptr);
  v.scroller->ScrollTo(0, 0);
  EXPECT_FALSE(v.Invalid());
  v.scroller->ScrollTo(10, 20);
  EXPECT_TRUE(v.Invalid());
  EXPECT_EQ(v.window->GetScrollPos(SB_VERT), 20);
  ::ValidateRect(v.window->HWindow, nullptr);
  v.scroller->ScrollTo(10, 20);
  v.scroller->ScrollTo(-5, 900);  // clamped onto 0, 500
  EXPECT_EQ(v.scroller->XPos, 0);
  EXPECT_EQ(v.scroller->YPos, 500);
  ::ValidateRect(v.window->HWindow, nullptr);
  v.scroller->ScrollTo(0, 500);
  EXPECT_FALSE(v.Invalid());
}

TEST(ProfiScroller, ATinyClientScrollsOnePixelPerLine) {
  View v(120, 5 + ::GetSystemMetrics(SM_CYHSCROLL), 300, 300);
  ASSERT_EQ(v.window->GetClientRect().Height(), 5);
  EXPECT_EQ(v.scroller->YLine, 1);
  EXPECT_EQ(v.scroller->XLine, (std::max)(1L, long(v.window->GetClientRect().Width() / 10)));
  v.scroller->VScroll(SB_LINEDOWN, 0);
  EXPECT_EQ(v.scroller->YPos, 1);
}

TEST(ProfiScroller, AutoScrollStepsTowardTheMouseOutsideTheClient) {
  View v(200, 150, 5000, 5000);
  TProfiScroller& s = *v.scroller;
  s.XPage = s.YPage = 100;
  const long xl = s.XLine, yl = s.YLine;
  const TRect client = v.window->GetClientRect();
  struct Case {
    const char* what;
    int x, y;
    long dx, dy;
  } cases[] = {
      {"inside: nothing", 50, 50, 0, 0},
      {"above and left: a line per ten pixels", -25, -35, -2 * xl, -3 * yl},
      {"at x 0 counts as left of the client: at least a line", 0, 50, -xl, 0},
      {"just below: at least a line", 50, client.bottom + 1, 0, yl},
      {"far right: at most a page", client.right + 5000, 50, 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    s.ScrollTo(1000, 1000);
    POINT p{c.x, c.y};
    ::ClientToScreen(v.window->HWindow, &p);
    ASSERT_TRUE(::SetCursorPos(p.x, p.y));
    s.AutoScroll();
    EXPECT_EQ(s.XPos, 1000 + c.dx);
    EXPECT_EQ(s.YPos, 1000 + c.dy);
  }
}
