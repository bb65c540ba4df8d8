// The page transition covers the objects that have windows of their own:
// their area is black with the rest of the old page, and a window that
// stays on the next page shows itself again there.
#include "engine/transitionthread.h"
#include "running.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0), kBlack = RGB(0, 0, 0);

// A child of the page window that paints itself blue, as a list or a media
// window paints its own area.
class BlueChild {
public:
  BlueChild(HWND page, int x, int y, int w, int h) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = ::DefWindowProcA;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.hbrBackground = ::CreateSolidBrush(kBlue);
      wc.lpszClassName = "TslBlueChild";
      return ::RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    Window = ::CreateWindowA("TslBlueChild", "", WS_CHILD | WS_VISIBLE, x, y, w, h, page, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(Window, nullptr);
  }
  ~BlueChild() {
    if (::IsWindow(Window)) ::DestroyWindow(Window);
  }
  HWND Window = nullptr;
};

}  // namespace

TEST(TransitionOverChildWindows, TheBlackoutCoversThemAndTheyComeBack) {
  RunningProject p(
      "size 200 150\nflags transitions\n"
      "page 1\n  background colour #FF0000\n  transition 2\n  timing 0 0 0 2\n"
      "page 2\n  background colour #00FF00\n",
      200, 150);
  ASSERT_TRUE(p.Book);
  ASSERT_TRUE(p.Shows(0));
  BlueChild child(p.Page->HWindow, 50, 40, 60, 40);
  p.Idle(300);
  ASSERT_EQ(p.PixelAt(80, 60), kBlue) << "the child window shows";
  ASSERT_EQ(p.PixelAt(10, 10), RGB(255, 0, 0));

  // The effect alone, as the page change runs it before the new page is
  // built: nothing repaints in between.
  {
    TransitionThread thread(p.Book);
    ASSERT_NE(p.Book->Transition, nullptr);
    ASSERT_NE(thread.Start(), nullptr);
    EXPECT_EQ(thread.WaitForExit(INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    for (POINT pt : {POINT{51, 41}, POINT{80, 60}, POINT{108, 78}})
      EXPECT_EQ(p.PixelAt(pt.x, pt.y), kBlack) << "inside the child window at " << pt.x << "," << pt.y;
    EXPECT_EQ(p.PixelAt(10, 10), kBlack) << "the page around it";
  }

  // The whole page change: the new page, and the child window over it
  // again.
  ASSERT_TRUE(p.Book->GotoPage(1, 1, -1, 1));
  EXPECT_TRUE(p.PumpUntil([&] { return p.PixelAt(10, 10) == kGreen && p.PixelAt(80, 60) == kBlue; }, 3000))
      << "page " << std::hex << p.PixelAt(10, 10) << ", child " << p.PixelAt(80, 60);
}
