#include "playerrun.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "objects/kvrscroller.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/window.h"

namespace {

// Sizes of our pictures (tools/core/scrollerbmp.h): style 1 arrows 16 × 16,
// thumb style 5 10 × 12 (horizontal) and 12 × 10 (vertical).
constexpr int kArrow = 16;
constexpr int kThumbLength = 10;
constexpr int kThumbCross = 12;

bool Pump(const std::function<bool()>& done, DWORD limitMs = 5000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (::GetTickCount() - start > limitMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

struct Report {
  int part;
  int32_t old, now;
  bool operator==(const Report& o) const { return part == o.part && old == o.old && now == o.now; }
};
std::ostream& operator<<(std::ostream& os, const Report& r) {
  return os << "{part " << r.part << ", old " << r.old << ", now " << r.now << "}";
}

struct Recorder : TScrollAble {
  std::vector<Report> Reports;
  int Paints = 0;
  void PositionChanged(int part, int32_t old, TKVR_Scroller& s) override { Reports.push_back({part, old, s.Position}); }
  bool BeforePainting(TPoint&) override {
    ++Paints;
    return true;
  }
};

// A window that hands its mouse, key and timer messages to a bar and
// paints a pattern with the bar over it.
class BarHost : public TWindow {
public:
  BarHost(int x, int y, int w, int h) : TWindow(nullptr, "bar host") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = x;
    Attr.Y = y;
    Attr.W = w;
    Attr.H = h;
  }
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override {
    const TPoint p(short(LOWORD(p2)), short(HIWORD(p2)));
    switch (msg) {
      case WM_LBUTTONDOWN: Bar.OnLButtonDown(uint(p1), p); return 0;
      case WM_MOUSEMOVE: Bar.OnMouseMove(uint(p1), p); return 0;
      case WM_LBUTTONUP: Bar.OnLButtonUp(); return 0;
      case WM_TIMER: Bar.OnTimer(uint(p1)); return 0;
      case WM_KEYDOWN: Bar.OnKeyDown(uint(p1)); return 0;
      default: return TWindow::WindowProc(msg, p1, p2);
    }
  }
  void Paint(TDC& dc, bool, TRect&) override {
    // A checker of 4-pixel cells: what a transparent bar shows through.
    const TRect client = GetClientRect();
    TBrush a(kPatternA), b(kPatternB);
    for (int y = 0; y < client.bottom; y += 4)
      for (int x = 0; x < client.right; x += 4) dc.FillRect(TRect(x, y, x + 4, y + 4), ((x + y) / 4) % 2 ? b : a);
    Bar.BackgroundToSave = 1;
    Bar.Paint(dc, Bar.Area.TopLeft(), true, false);
  }
  COLORREF At(int x, int y) const {
    HDC dc = ::GetDC(HWindow);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(HWindow, dc);
    return c;
  }
  TPoint Screen(int x, int y) const {
    POINT p{x, y};
    ::ClientToScreen(HWindow, &p);
    return TPoint(p.x, p.y);
  }
  static COLORREF PatternAt(int x, int y) { return ((x / 4 * 4 + y / 4 * 4) / 4) % 2 ? kPatternB : kPatternA; }

  static constexpr COLORREF kPatternA = RGB(250, 220, 40);
  static constexpr COLORREF kPatternB = RGB(40, 60, 200);
  TKVR_Scroller Bar;
};

// A host with a laid-out bar: thumb style 5, arrow style 1, maximum 100.
struct Fixture {
  std::unique_ptr<BarHost> host;
  Recorder target;
  Fixture(bool vertical, const TRect& area, int32_t maximum = 100, int32_t position = 50, bool owner = true) {
    host = std::make_unique<BarHost>(40, 40, 400, 360);
    EXPECT_TRUE(host->Create());
    TKVR_Scroller& b = host->Bar;
    TKVR_ScrollerSettings s;
    s.ThumbStyle = 5;
    s.Vertical = vertical;
    b.SetSettings(s);
    b.Area = area;
    b.Layout();
    b.Maximum = maximum;
    b.Position = b.ReportedPosition = position;
    b.Shown = 1;
    b.Target = &target;
    if (owner) b.Owner = host.get();
  }
  ~Fixture() {
    host->Bar.DeleteBuffers();
    host->Destroy();
  }
  void Send(uint msg, WPARAM w, int x, int y) { ::SendMessageA(host->HWindow, msg, w, MAKELPARAM(x, y)); }
};

}  // namespace

TEST(KvrScroller, LayoutAndThumbGeometry) {
  Fixture f(false, TRect(20, 30, 320, 46));
  const TKVR_Scroller& b = f.host->Bar;
  EXPECT_EQ(b.BarRect, TRect(0, 0, 300, kArrow));
  EXPECT_EQ(b.TrackRect, TRect(kArrow, 0, 300 - kArrow, kArrow));
  EXPECT_EQ(b.TrackLengthX, 300 - 2 * kArrow);
  EXPECT_EQ(b.ThumbSize, TRect(0, 0, kThumbLength, kThumbCross));
  // (268 - 10) × 50 / 100 = 129, centred across: 16 / 2 - 12 / 2 = 2.
  EXPECT_EQ(b.ThumbRect(), TRect(kArrow + 129, 2, kArrow + 139, 14));
  struct Case {
    const char* what;
    int32_t maximum, position;
    int offset;
  } cases[] = {
      {"start", 100, 0, 0},  {"end", 100, 100, 258}, {"a third, truncated", 3, 1, 86},
      {"maximum 0 stays at the start", 0, 0, 0},    {"a position past the maximum stays on the track", 10, 50, 258},
  };
  Fixture g(false, TRect(20, 30, 320, 46));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g.host->Bar.Maximum = c.maximum;
    EXPECT_EQ(g.host->Bar.ThumbOffset(c.position), c.offset);
  }
  g.host->Bar.Settings.Scale = 1;
  EXPECT_EQ(g.host->Bar.GetBarRect(), TRect(0, 0, 300, kArrow + 6));
}

TEST(KvrScroller, HitTestsOnBothOrientations) {
  // Horizontal: the thumb of position 50 at bar x 145..155, rows 2..14.
  Fixture h(false, TRect(20, 30, 320, 46));
  // Vertical: bar x 0..16 at the right end of a wider area, thumb rows
  // 145..155, columns 2..14.
  Fixture v(true, TRect(50, 10, 100, 310));
  const int vx = 100 - kArrow;
  struct Case {
    const char* what;
    Fixture* f;
    int x, y, part;
  } cases[] = {
      {"h: left of the bar", &h, 10, 35, -1},
      {"h: below the bar", &h, 100, 47, -1},
      {"h: first arrow", &h, 25, 35, 0},
      {"h: second arrow", &h, 315, 35, 1},
      {"h: track before the thumb", &h, 120, 35, 2},
      {"h: track after the thumb", &h, 220, 35, 3},
      {"h: the thumb", &h, 170, 40, 5},
      {"h: below the thumb", &h, 170, 44, 4},
      {"h: below the thumb's bottom, before it", &h, 120, 45, 4},
      {"h: above the thumb", &h, 170, 31, -1},
      {"v: the bar stands at the right of its area", &v, 55, 15, -1},
      {"v: first arrow", &v, vx + 5, 15, 0},
      {"v: second arrow", &v, vx + 5, 305, 1},
      {"v: track above the thumb", &v, vx + 8, 110, 2},
      {"v: track below the thumb", &v, vx + 8, 250, 3},
      {"v: the thumb", &v, vx + 8, 160, 5},
      {"v: right of the thumb", &v, vx + 15, 160, 4},
      {"v: left of the track's middle, above the thumb", &v, vx + 1, 110, 4},
      {"v: above the area", &v, vx + 8, 5, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.f->host->Bar.HitTest(TPoint(c.x, c.y)), c.part);
  }
}

TEST(KvrScroller, PagingByTrackLengthAndByPageStep) {
  // A track of 200: the area is 200 plus the two arrows wide.
  Fixture f(false, TRect(0, 0, 200 + 2 * kArrow, 16), 1000, 500);
  TKVR_Scroller& b = f.host->Bar;
  ASSERT_EQ(b.TrackLengthX, 200);
  b.Settings.AutoRepeat = 0;
  struct Case {
    const char* what;
    bool byTrack;
    int x;
    int32_t expected;
    int part;
  } cases[] = {
      {"after the thumb by the track length", true, 200, 700, 3},
      {"before the thumb by the track length", true, 30, 300, 2},
      {"after the thumb by the page step", false, 200, 502, 3},
      {"before the thumb by the page step", false, 30, 498, 2},
      {"first arrow by the line step", true, 5, 490, 0},
      {"second arrow by the line step", true, 225, 510, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    b.Position = b.ReportedPosition = 500;
    b.PageByTrackLength = c.byTrack;
    f.target.Reports.clear();
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, c.x, 8);
    f.Send(WM_LBUTTONUP, 0, c.x, 8);
    EXPECT_EQ(b.Position, c.expected);
    ASSERT_EQ(f.target.Reports.size(), 1u);
    EXPECT_EQ(f.target.Reports[0], (Report{c.part, 500, c.expected}));
  }
  // Clamped at both ends.
  b.Position = b.ReportedPosition = 900;
  b.PageByTrackLength = 1;
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 205, 8);
  EXPECT_EQ(b.Position, 1000);
  b.Position = b.ReportedPosition = 100;
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 8);
  EXPECT_EQ(b.Position, 0);
  b.Position = b.ReportedPosition = 1000;
  // A hidden or disabled bar ignores input.
  b.Shown = 0;
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 8);
  b.Shown = 1;
  b.Enabled = 0;
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 8);
  EXPECT_EQ(b.Position, 1000);
}

TEST(KvrScroller, HoldingAnArrowRepeatsOnTheOwnersTimer) {
  Fixture f(false, TRect(0, 0, 200 + 2 * kArrow, 16), 1000, 500);
  TKVR_Scroller& b = f.host->Bar;
  b.Settings.AutoRepeatInterval = 60000;  // the test posts the timer itself
  const TPoint arrow = f.host->Screen(5, 8);
  ASSERT_TRUE(::SetCursorPos(arrow.x, arrow.y));
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 8);
  EXPECT_EQ(b.Position, 490);
  EXPECT_TRUE(b.TimerRunning);
  EXPECT_TRUE(b.ArrowPressed);
  for (int32_t expected : {480, 470}) {
    ::PostMessageA(f.host->HWindow, WM_TIMER, TKVR_Scroller::kRepeatTimer, 0);
    EXPECT_TRUE(Pump([&] { return b.Position == expected; })) << "position " << b.Position;
  }
  // Another timer of the owner is not the bar's.
  ::SendMessageA(f.host->HWindow, WM_TIMER, 17501, 0);
  EXPECT_EQ(b.Position, 470);
  // The cursor moves onto the track after the thumb: the repeat pages.
  const TPoint track = f.host->Screen(200, 8);
  ASSERT_TRUE(::SetCursorPos(track.x, track.y));
  ::PostMessageA(f.host->HWindow, WM_TIMER, TKVR_Scroller::kRepeatTimer, 0);
  EXPECT_TRUE(Pump([&] { return b.Position == 670; })) << "position " << b.Position;
  EXPECT_EQ(f.target.Reports.back(), (Report{3, 470, 670}));
  f.Send(WM_LBUTTONUP, 0, 200, 8);
  EXPECT_FALSE(b.TimerRunning);
  EXPECT_FALSE(b.ArrowPressed);
  // The repeat timer is gone from the owner: killing it again fails.
  EXPECT_FALSE(::KillTimer(f.host->HWindow, TKVR_Scroller::kRepeatTimer));
}

TEST(KvrScroller, Keys) {
  struct Case {
    const char* what;
    bool vertical;
    uint key;
    bool ctrl;
    int32_t expected;
    int part;  // -1: no report
  } cases[] = {
      {"Ctrl+End goes to the maximum", false, VK_END, true, 100, 5},
      {"End alone does nothing", false, VK_END, false, 50, -1},
      {"Ctrl+Home goes to 0", true, VK_HOME, true, 0, 5},
      {"Home alone does nothing", true, VK_HOME, false, 50, -1},
      {"Page Down steps by the page step", false, VK_NEXT, false, 52, 3},
      {"Page Up steps by the page step", true, VK_PRIOR, false, 48, 2},
      {"Right on a horizontal bar", false, VK_RIGHT, false, 60, 1},
      {"Left on a horizontal bar", false, VK_LEFT, false, 40, 0},
      {"Up on a horizontal bar does nothing", false, VK_UP, false, 50, -1},
      {"Down on a vertical bar", true, VK_DOWN, false, 60, 1},
      {"Right on a vertical bar does nothing", true, VK_RIGHT, false, 50, -1},
      {"another key does nothing", false, 'A', true, 50, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f(c.vertical, c.vertical ? TRect(0, 0, 16, 300) : TRect(0, 0, 300, 16));
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
    f.Send(WM_KEYDOWN, c.key, 0, 0);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(f.host->Bar.Position, c.expected);
    if (c.part < 0)
      EXPECT_TRUE(f.target.Reports.empty());
    else
      EXPECT_EQ(f.target.Reports, (std::vector<Report>{{c.part, 50, c.expected}}));
  }
}

TEST(KvrScroller, DragReportsThePositionOnEveryMoveAndOnRelease) {
  Fixture f(false, TRect(0, 0, 300, 16), 258, 0);
  TKVR_Scroller& b = f.host->Bar;
  // Span 258 for 258 positions: a pixel is a position. The thumb starts at
  // bar x 16..26.
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 8);
  EXPECT_TRUE(b.Dragging);
  EXPECT_EQ(::GetCapture(), f.host->HWindow);
  EXPECT_TRUE(f.target.Reports.empty());  // the thumb itself did not move
  f.Send(WM_MOUSEMOVE, MK_LBUTTON, 50, 8);
  f.Send(WM_MOUSEMOVE, MK_LBUTTON, 45, 30);  // off the bar: only x counts
  f.Send(WM_MOUSEMOVE, MK_LBUTTON, 400, 8);  // past the end: clamped
  EXPECT_EQ(b.ThumbRect().left, 16 + 258);
  f.Send(WM_LBUTTONUP, 0, 400, 8);
  EXPECT_FALSE(b.Dragging);
  EXPECT_EQ(::GetCapture(), nullptr);
  const std::vector<Report> expected = {{5, 0, 30}, {5, 30, 25}, {5, 25, 258}, {5, 258, 258}};
  EXPECT_EQ(f.target.Reports, expected);

  // A move without the left button ends the drag as a release does.
  f.target.Reports.clear();
  b.Position = b.ReportedPosition = 100;
  f.Send(WM_LBUTTONDOWN, MK_LBUTTON, 16 + 100 + 3, 8);
  ASSERT_TRUE(b.Dragging);
  f.Send(WM_MOUSEMOVE, 0, 200, 8);
  EXPECT_FALSE(b.Dragging);
  EXPECT_EQ(f.target.Reports, (std::vector<Report>{{5, 100, 100}}));
}

TEST(KvrScroller, SetPositionToTheReportedOnePaintsWithoutNotifying) {
  Fixture f(false, TRect(0, 0, 300, 16));
  TKVR_Scroller& b = f.host->Bar;
  f.target.Paints = 0;
  b.SetPosition(50, 5);
  EXPECT_TRUE(f.target.Reports.empty());
  EXPECT_EQ(f.target.Paints, 1);
  b.SetPosition(70, 3);
  EXPECT_EQ(f.target.Reports, (std::vector<Report>{{3, 50, 70}}));
  EXPECT_EQ(b.ReportedPosition, 70);
  EXPECT_EQ(f.target.Paints, 2);

  // A target may correct the position; the correction is what counts as
  // reported.
  struct Corrector : Recorder {
    void PositionChanged(int part, int32_t old, TKVR_Scroller& s) override {
      Recorder::PositionChanged(part, old, s);
      s.Position = s.Position / 10 * 10;
    }
  } corrector;
  b.Target = &corrector;
  b.SetPosition(77, 1);
  EXPECT_EQ(b.Position, 70);
  EXPECT_EQ(b.ReportedPosition, 70);
  EXPECT_EQ(corrector.Reports, (std::vector<Report>{{1, 70, 77}}));

  // Without an owner: no timer, no capture, no painting.
  Fixture n(false, TRect(0, 0, 300, 16), 100, 50, false);
  n.target.Paints = 0;
  n.host->Bar.SetPosition(60, 1);
  n.host->Bar.OnLButtonDown(MK_LBUTTON, TPoint(5, 8));
  EXPECT_EQ(n.target.Paints, 0);
  EXPECT_EQ(n.host->Bar.Position, 50);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(KvrScroller, PaintsStoredValuesOutOfRangeSafely) {
  // Thumb style 9 draws as 1 (IDB_THUMB_8: 11 wide), arrow style 7 as 1,
  // a groove of 1000 pixels is clipped to the bar.
  auto host = std::make_unique<BarHost>(40, 40, 300, 100);
  ASSERT_TRUE(host->Create());
  TKVR_Scroller& b = host->Bar;
  b.Settings.ThumbStyle = 9;
  b.Settings.ArrowStyle = 7;
  b.Settings.GrooveThickness = 1000;
  b.Settings.ProgressFill = 1;
  b.Area = TRect(0, 0, 200, 16);
  b.Layout();
  EXPECT_EQ(b.ThumbSize, TRect(0, 0, 11, 16));
  EXPECT_EQ(b.ArrowSize, TRect(0, 0, 16, 16));
  b.Shown = 1;
  b.Maximum = 10;
  Canvas c(200, 30, RGB(1, 2, 3));
  b.Paint(c.Dc_(), TPoint(0, 0), true, false);
  EXPECT_NE(c.At(100, 8), RGB(1, 2, 3));
  EXPECT_EQ(c.At(100, 25), RGB(1, 2, 3));  // nothing below the bar
  b.DeleteBuffers();
}

namespace {

struct Look {
  const char* what;
  bool vertical, transparent;
  int thumbStyle;
};

}  // namespace

TEST(KvrScroller, ScreenShowsThumbProgressArrowsAndPattern) {
  const Look looks[] = {
      {"horizontal opaque", false, false, 5},
      {"horizontal transparent", false, true, 5},
      {"vertical opaque", true, false, 5},
      {"vertical transparent, masked thumb", true, true, 2},
  };
  const char* shots = std::getenv("TSL_SCREENSHOT_DIR");
  for (const Look& look : looks) {
    SCOPED_TRACE(look.what);
    auto host = std::make_unique<BarHost>(60, 60, 320, 320);
    TKVR_Scroller& b = host->Bar;
    TKVR_ScrollerSettings s;
    s.Vertical = look.vertical;
    s.Transparent = look.transparent;
    s.ThumbStyle = uint32_t(look.thumbStyle);
    s.ProgressFill = 1;
    s.ProgressColourBefore = RGB(0, 255, 0);
    s.ProgressColourAfter = RGB(0, 0, 255);
    s.GrooveBorder = 0;
    s.AutoRepeatInterval = 60000;  // no repeat while the screen is read
    s.BackgroundColour = RGB(200, 200, 200);
    b.SetSettings(s);
    b.Area = look.vertical ? TRect(100, 20, 116, 280) : TRect(20, 100, 280, 116);
    b.Layout();
    b.Maximum = 200;
    b.Position = b.ReportedPosition = 50;
    b.Shown = 1;
    b.Owner = host.get();
    ASSERT_TRUE(host->Create());
    host->UpdateWindow();
    ASSERT_TRUE(Pump([] { return true; }));

    // The thumb at (track - thumb) × 50 / 200 along the track.
    const int length = look.vertical ? b.ThumbSize.Height() : b.ThumbSize.Width();
    const int offset = int(double(b.TrackLength() - length) * 50 / 200);
    const TRect thumb = b.ThumbRect().OffsetBy(b.Area.left, b.Area.top);
    EXPECT_EQ(look.vertical ? thumb.top : thumb.left, (look.vertical ? b.Area.top : b.Area.left) + kArrow + offset);
    const TPoint mid((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    // Before and after the thumb along the groove, in the middle across.
    const int before = (look.vertical ? thumb.top : thumb.left) - 20;
    const int after = (look.vertical ? thumb.bottom : thumb.right) + 20;
    const TPoint pb = look.vertical ? TPoint(mid.x, before) : TPoint(before, mid.y);
    const TPoint pa = look.vertical ? TPoint(mid.x, after) : TPoint(after, mid.y);
    // A vertical bar runs forward upward: its before-colour lies below.
    EXPECT_EQ(host->At(pb.x, pb.y), look.vertical ? RGB(0, 0, 255) : RGB(0, 255, 0));
    EXPECT_EQ(host->At(pa.x, pa.y), look.vertical ? RGB(0, 255, 0) : RGB(0, 0, 255));
    if (look.thumbStyle == 5) {
      // Our style-5 thumb: a black frame around a green block.
      EXPECT_EQ(host->At(thumb.left, thumb.top), RGB(0, 0, 0));
      EXPECT_EQ(host->At(mid.x, mid.y), RGB(0, 0xC0, 0));
    } else {
      // Masked on yellow: the thumb's corners show what lies under it.
      EXPECT_EQ(host->At(mid.x, mid.y), RGB(0, 0, 0x80));
      EXPECT_NE(host->At(thumb.left, thumb.top), RGB(255, 255, 0));
    }
    // Beside the groove, inside the bar: the fill, or the pattern through a
    // transparent bar.
    const TPoint side = look.vertical ? TPoint(b.Area.left + 1, mid.y - 40) : TPoint(mid.x - 40, b.Area.top + 1);
    EXPECT_EQ(host->At(side.x, side.y), look.transparent ? BarHost::PatternAt(side.x, side.y) : RGB(200, 200, 200));

    // Held with the real mouse (xdotool), the first arrow shows its pressed
    // image: its top-left edge turns from light to shadow. No --sync: two
    // looks press at the same point, and xdotool would wait for a move that
    // never comes.
    const TPoint arrowEdge(b.Area.left, b.Area.top);
    EXPECT_EQ(host->At(arrowEdge.x, arrowEdge.y), RGB(255, 255, 255));
    const TPoint press = host->Screen(b.Area.left + 6, b.Area.top + 6);
    ASSERT_TRUE(XdoTool("mousemove " + std::to_string(press.x) + " " + std::to_string(press.y) + " mousedown 1"));
    EXPECT_TRUE(Pump([&] { return b.ArrowPressed != 0; }));
    EXPECT_TRUE(Pump([&] { return host->At(arrowEdge.x, arrowEdge.y) == RGB(128, 128, 128); }))
        << "edge " << std::hex << host->At(arrowEdge.x, arrowEdge.y);
    if (shots) {
      const std::string name = std::string(shots) + "/kvrscroller-" + std::to_string(&look - looks) + ".png";
      std::system(("import -window root '" + name + "'").c_str());
    }
    ASSERT_TRUE(XdoTool("mouseup 1"));
    EXPECT_TRUE(Pump([&] { return b.ArrowPressed == 0; }));
    EXPECT_EQ(b.Position, 40);
    EXPECT_EQ(host->At(arrowEdge.x, arrowEdge.y), RGB(255, 255, 255));
    b.DeleteBuffers();
    host->Destroy();
  }
}
