#include "wintest.h"

#include <functional>
#include <memory>

#include "canvas.h"
#include "foundation/sysinfo.h"
#include "platform/owl/applicat.h"
#include "platform/owl/scroller.h"
#include "slideshow/newscroller.h"
#include "slideshow/picdlg.h"

namespace {

// Runs the viewer; while it is open, `look` sees it once, then `close`
// is posted to it.
TPicDlg* running = nullptr;
std::function<void(TPicDlg&)> look;
UINT closeMessage = WM_KEYDOWN;
WPARAM closeParam = VK_ESCAPE;
int looked = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!running || !running->HWindow || !IsWindowVisible(running->HWindow)) return;
  if (!looked++) look(*running);
  PostMessageA(running->HWindow, closeMessage, closeParam, 0);
}

int RunViewer(TPicDlg& dlg, std::function<void(TPicDlg&)> check, UINT message = WM_KEYDOWN, WPARAM param = VK_ESCAPE) {
  running = &dlg;
  look = std::move(check);
  closeMessage = message;
  closeParam = param;
  looked = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 80, Tick);
  const int result = dlg.Execute();
  KillTimer(nullptr, timer);
  running = nullptr;
  return result;
}

std::unique_ptr<TDib> Solid(int w, int h, COLORREF c) {
  return TrueColourDib(w, h, 24, [c](int, int) { return c; });
}

RECT WindowRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

bool HasStyle(HWND h, LONG style) { return (GetWindowLongA(h, GWL_STYLE) & style) != 0; }

struct PicDlgTest : ::testing::Test {
  TApplication app{"Spieler"};  // its loop gives the viewer its dialog keys
  int sw = SystemInfo().ScreenWidth, sh = SystemInfo().ScreenHeight;
};

TEST_F(PicDlgTest, SmallPictureCentredWithoutScrollBars) {
  auto picture = Solid(300, 200, RGB(255, 0, 0));
  TPicDlg dlg(nullptr, picture.get(), false, TColor(0));
  RECT seen{};
  bool h = true, v = true;
  COLORREF corner = 0;
  RunViewer(dlg, [&](TPicDlg& d) {
    seen = WindowRect(d.HWindow);
    h = HasStyle(d.HWindow, WS_HSCROLL);
    v = HasStyle(d.HWindow, WS_VSCROLL);
    d.UpdateWindow();
    HDC dc = GetDC(d.HWindow);
    corner = GetPixel(dc, 2, 2);
    ReleaseDC(d.HWindow, dc);
  });
  EXPECT_EQ(looked, 1);
  const RECT expected{(sw - 300) / 2, (sh - 200) / 2, (sw - 300) / 2 + 300, (sh - 200) / 2 + 200};
  EXPECT_TRUE(EqualRect(&seen, &expected));
  EXPECT_FALSE(h);
  EXPECT_FALSE(v);
  EXPECT_EQ(corner, RGB(255, 0, 0));
  EXPECT_NE(dynamic_cast<TNewScroller*>(dlg.Scroller), nullptr);
}

// 476 pixels wider than the screen: 24 steps of 20, only the horizontal bar.
TEST_F(PicDlgTest, WidePictureScrollsSideways) {
  auto picture = Solid(sw + 476, 300, RGB(0, 0, 255));
  TPicDlg dlg(nullptr, picture.get(), false, TColor(0));
  long xRange = -1, yRange = -1;
  bool h = false, v = true;
  RECT seen{};
  RunViewer(dlg, [&](TPicDlg& d) {
    xRange = d.Scroller->XRange;
    yRange = d.Scroller->YRange;
    h = HasStyle(d.HWindow, WS_HSCROLL);
    v = HasStyle(d.HWindow, WS_VSCROLL);
    seen = WindowRect(d.HWindow);
  });
  EXPECT_EQ(xRange, 24);
  EXPECT_EQ(yRange, 0);
  EXPECT_TRUE(h);
  EXPECT_FALSE(v);
  EXPECT_EQ(seen.left, 0);
  EXPECT_EQ(seen.right - seen.left, sw);
  EXPECT_EQ(seen.bottom - seen.top, 300);
}

// Full screen: the screen in the background colour, the picture centred.
TEST_F(PicDlgTest, FullScreenOnTheBackgroundColour) {
  auto picture = Solid(640, 480, RGB(0, 255, 0));
  TPicDlg dlg(nullptr, picture.get(), true, TColor(RGB(200, 30, 60)));
  RECT seen{};
  COLORREF outside = 0, inside = 0, before = 0;
  const int x = (sw - 640) / 2, y = (sh - 480) / 2;
  RunViewer(dlg, [&](TPicDlg& d) {
    seen = WindowRect(d.HWindow);
    d.Invalidate(true);
    d.UpdateWindow();
    HDC dc = GetDC(d.HWindow);
    outside = GetPixel(dc, 5, 5);
    before = GetPixel(dc, x - 3, y + 10);
    inside = GetPixel(dc, x + 1, y + 1);
    ReleaseDC(d.HWindow, dc);
  });
  const RECT screen{0, 0, sw, sh};
  EXPECT_TRUE(EqualRect(&seen, &screen));
  EXPECT_EQ(dlg.PictureOrigin(), TPoint(x, y));
  EXPECT_EQ(outside, RGB(200, 30, 60));
  EXPECT_EQ(before, RGB(200, 30, 60));
  EXPECT_EQ(inside, RGB(0, 255, 0));
}

TEST_F(PicDlgTest, ClickAndEnterClose) {
  for (UINT message : {UINT(WM_LBUTTONDOWN), UINT(WM_KEYDOWN)}) {
    auto picture = Solid(50, 50, RGB(0, 0, 0));
    TPicDlg dlg(nullptr, picture.get(), false, TColor(0));
    RunViewer(dlg, [](TPicDlg&) {}, message, message == WM_KEYDOWN ? VK_RETURN : 0);
    EXPECT_EQ(looked, 1);
    EXPECT_EQ(dlg.HWindow, nullptr);
  }
}

// Nothing to show: the viewer ends at once.
TEST_F(PicDlgTest, NoPictureEndsAtOnce) {
  TPicDlg dlg(nullptr, static_cast<TDib*>(nullptr), false, TColor(0));
  RunViewer(dlg, [](TPicDlg&) {});
  EXPECT_EQ(looked, 0);
  TPicDlg missing(nullptr, "gibt_es_nicht.bmp", 0u);
  EXPECT_EQ(missing.Picture, nullptr);
  RunViewer(missing, [](TPicDlg&) {});
  EXPECT_EQ(looked, 0);
}

// The file constructor: a picture in the program's folder, closing itself
// after its delay.
TEST_F(PicDlgTest, FileWithDelayClosesItself) {
  const std::string name = "tsl_picdlg_test.bmp";
  const std::string path = std::string(SystemInfo().ProgramDirectory.c_str()) + name;
  ASSERT_TRUE(Solid(40, 30, RGB(9, 9, 9))->WriteFile(path.c_str()));
  {
    TPicDlg dlg(nullptr, name.c_str(), 150u);
    ASSERT_NE(dlg.Picture, nullptr);
    const DWORD start = GetTickCount();
    dlg.Execute();
    EXPECT_GE(GetTickCount() - start, 140u);
  }
  DeleteFileA(path.c_str());
}

}  // namespace
