// The button on a real page: a page window in a frame opens a generated
// project whose pages hold buttons; mouse and key messages go through the
// presentation's message filter and the page window as the player's loop
// sends them, and the 10 ms timer runs the actions.
#include "pagefixture.h"

#include <functional>
#include <string>

#include "actions/dispatcher.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/presentpump.h"
#include "objects/button.h"

namespace {

class Presentation : public wintest::FramedPage {
public:
  explicit Presentation(const std::string& description)
      : FramedPage(description, {"tsl_buttons.crt", "buttons", 0, 0, 300, 200}) {
    ::SetForegroundWindow(Frame->HWindow);
    ::SetFocus(Page->HWindow);
  }
  TButtonItem* Button(uint32_t number) {
    TObjectManager* m = Book ? Book->ObjectManager.get() : nullptr;
    return m ? dynamic_cast<TButtonItem*>(m->FindObjectById(number)) : nullptr;
  }
  // A message to the page window as the loop hands it on: the filter
  // first, with the point on the screen where the loop takes it from.
  void Send(UINT message, int x, int y, WPARAM wParam = 0) {
    ::SetFocus(Page->HWindow);
    MSG msg{};
    msg.hwnd = Page->HWindow;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = MAKELPARAM(x, y);
    msg.time = ::GetTickCount();
    msg.pt = POINT{x, y};
    ::ClientToScreen(Page->HWindow, &msg.pt);
    if (PresentationMessageFilter(msg)) return;
    ::DispatchMessageA(&msg);
  }
  void Click(int x, int y) {
    Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Send(WM_LBUTTONUP, x, y);
  }
  bool Shows(int index) {
    return wintest::PumpUntil([&] { return Book && Book->CurrentPage == index; }, 10000, nullptr,
                             &PresentationMessageFilter);
  }
  // Lets the timer run for a while.
  void Idle(DWORD ms, bool* quit = nullptr) {
    wintest::PumpUntil([] { return false; }, ms, quit, &PresentationMessageFilter);
  }
};

uint32_t State(TButtonItem* b) { return b ? b->ButtonData().DisplayState : 99; }
uint32_t Latch(TButtonItem* b) { return b ? b->ButtonData().LatchedState : 99; }

const char* const kTwoPages =
    "size 300 200\n"
    "quitkeys 2\n"
    "page 1\n  background colour #FF0000\n"
    "  object button \"Weiter\" 10 10 110 40\n    action next\n    button text caption \"&Weiter\"\n"
    "  object button \"Ende\" 150 10 250 40\n    action quit\n    button text caption \"Ende\"\n"
    "  object button \"A\" 10 100 60 130\n    button text caption \"A\" group 3\n"
    "  object button \"B\" 70 100 120 130\n    button text caption \"B\" group 3 default\n"
    "  object button \"Hover\" 150 100 250 150\n"
    "    button pictures3 up gradient 10 10 #FFFF00 #FFFF00 down gradient 10 10 #00FF00 #00FF00 "
    "hover gradient 10 10 #0000FF #0000FF hidden\n"
    "  object button \"Spot\" 260 100 290 150\n    button hotspot cursor 3\n"
    "page 2\n  background colour #00FF00\n";

}  // namespace

TEST(ButtonOnPage, ClickingNextShowsTheNextPage) {
  Presentation p(kTwoPages);
  ASSERT_TRUE(p.Shows(0));
  TButtonItem* next = p.Button(1);
  ASSERT_TRUE(next);
  p.Send(WM_LBUTTONDOWN, 50, 25, MK_LBUTTON);
  EXPECT_EQ(State(next), 1u);
  EXPECT_EQ(Latch(next), 1u);
  p.Send(WM_LBUTTONUP, 50, 25);
  EXPECT_EQ(State(next), 0u);  // released up (no group)
  EXPECT_TRUE(p.Shows(1));
}

TEST(ButtonOnPage, PressMoveOffAndReleaseRunsNothing) {
  Presentation p(kTwoPages);
  ASSERT_TRUE(p.Shows(0));
  TButtonItem* next = p.Button(1);
  ASSERT_TRUE(next);
  p.Send(WM_LBUTTONDOWN, 50, 25, MK_LBUTTON);
  p.Send(WM_MOUSEMOVE, 50, 80, MK_LBUTTON);
  p.Send(WM_LBUTTONUP, 50, 80);
  EXPECT_EQ(State(next), 0u);
  EXPECT_EQ(Latch(next), 0u);
  p.Idle(400);
  EXPECT_EQ(p.Book->CurrentPage, 0);

  // Pressed elsewhere and released over the button: nothing either.
  p.Send(WM_LBUTTONDOWN, 50, 80, MK_LBUTTON);
  p.Send(WM_LBUTTONUP, 50, 25);
  p.Idle(400);
  EXPECT_EQ(p.Book->CurrentPage, 0);
}

TEST(ButtonOnPage, ARadioGroupKeepsOneButtonDown) {
  Presentation p(kTwoPages);
  ASSERT_TRUE(p.Shows(0));
  TButtonItem *a = p.Button(3), *b = p.Button(4);
  ASSERT_TRUE(a && b);
  PressGroupDefaults(p.Book->ObjectManager.get());
  EXPECT_EQ(State(b), 1u);
  EXPECT_EQ(State(a), 0u);
  p.Click(30, 115);
  EXPECT_EQ(State(a), 1u);
  EXPECT_EQ(Latch(a), 1u);
  EXPECT_EQ(State(b), 0u);
  EXPECT_EQ(Latch(b), 0u);
  p.Click(30, 115);  // a down grouped button clicked again stays down
  EXPECT_EQ(State(a), 1u);
  p.Click(90, 115);
  EXPECT_EQ(State(b), 1u);
  EXPECT_EQ(State(a), 0u);
}

TEST(ButtonOnPage, EnterAndTheAcceleratorClickTheKeyFocusButtonWithoutItsActions) {
  Presentation p(kTwoPages);  // quit keys: Esc only
  ASSERT_TRUE(p.Shows(0));
  TButtonItem *a = p.Button(3), *b = p.Button(4), *next = p.Button(1);
  ASSERT_TRUE(a && b && next);
  p.Click(90, 115);  // b down
  ASSERT_EQ(State(b), 1u);
  // a becomes the key-focus button by a press released off it.
  p.Send(WM_LBUTTONDOWN, 30, 115, MK_LBUTTON);
  p.Send(WM_LBUTTONUP, 30, 190);
  p.Send(WM_CHAR, 0, 0, 13);  // Enter on the key-focus button a
  EXPECT_EQ(State(a), 1u) << "pressed and released at its corner: a grouped button stays down";
  EXPECT_EQ(State(b), 0u);

  EXPECT_TRUE(next->MatchesAccelerator('w'));
  EXPECT_TRUE(next->MatchesAccelerator('W'));
  EXPECT_FALSE(next->MatchesAccelerator('e'));
  p.Send(WM_SYSKEYDOWN, 0, 0, 'W');  // Alt+W: the accelerator of "&Weiter"
  EXPECT_EQ(State(next), 0u);
  p.Idle(400);
  EXPECT_EQ(p.Book->CurrentPage, 0) << "a keyboard click runs no actions";
}

TEST(ButtonOnPage, HoverPictureAndCursor) {
  Presentation p(kTwoPages);
  ASSERT_TRUE(p.Shows(0));
  TButtonItem* hover = p.Button(5);
  ASSERT_TRUE(hover);
  p.Idle(100);
  EXPECT_EQ(p.PixelAt(200, 125), RGB(255, 255, 0));
  p.Send(WM_MOUSEMOVE, 200, 125);
  EXPECT_EQ(State(hover), 2u);
  p.Idle(100);
  EXPECT_EQ(p.PixelAt(200, 125), RGB(0, 0, 255));
  p.Send(WM_LBUTTONDOWN, 200, 125, MK_LBUTTON);
  EXPECT_EQ(State(hover), 1u);
  p.Send(WM_MOUSEMOVE, 200, 126, MK_LBUTTON);  // held down and hovered
  EXPECT_EQ(State(hover), 2u);
  p.Send(WM_MOUSEMOVE, 100, 180, MK_LBUTTON);  // off: back to the latched state
  EXPECT_EQ(State(hover), 1u);
  p.Idle(100);
  EXPECT_EQ(p.PixelAt(200, 125), RGB(0, 255, 0));
  p.Send(WM_LBUTTONUP, 100, 180);
  EXPECT_EQ(State(hover), 0u);

  // The hot spot shows the cross, with the mouse over it.
  POINT spot{275, 125};
  ::ClientToScreen(p.Page->HWindow, &spot);
  ::SetCursorPos(spot.x, spot.y);
  p.Send(WM_MOUSEMOVE, 275, 125);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_CROSS));
}

TEST(ButtonOnPage, CursorSixIsTheProgramsOwnCursor) {
  // The program ships it: 32 x 32, the hot spot in the middle.
  HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kButtonOwnCursorResource));
  ASSERT_NE(own, nullptr) << "cursor resource " << kButtonOwnCursorResource << " is not in the program";
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(own, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 15u);
  EXPECT_EQ(info.yHotspot, 15u);
  BITMAP mask{};
  ASSERT_TRUE(::GetObjectA(info.hbmMask, sizeof mask, &mask));
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, info.hbmColor ? 32 : 64) << "a monochrome cursor holds both masks";
  ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);

  Presentation p(
      "size 300 200\n"
      "page 1\n  background colour #FF0000\n"
      "  object button \"Spot\" 100 50 200 150\n    button hotspot cursor 6\n");
  ASSERT_TRUE(p.Shows(0));
  POINT spot{150, 100};
  ::ClientToScreen(p.Page->HWindow, &spot);
  ::SetCursorPos(spot.x, spot.y);
  p.Send(WM_MOUSEMOVE, 150, 100);
  EXPECT_EQ(::GetCursor(), own);
  EXPECT_NE(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND));
}

TEST(ButtonOnPage, TheQuitButtonEndsTheLoop) {
  Presentation p(kTwoPages);
  ASSERT_TRUE(p.Shows(0));
  p.Click(200, 25);
  bool quit = false;
  p.Idle(5000, &quit);
  EXPECT_TRUE(quit);
}

TEST(ButtonOnPage, PressButtonCode) {
  Presentation p(kTwoPages);
  ASSERT_TRUE(p.Shows(0));
  TButtonItem* a = p.Button(3);
  ASSERT_TRUE(a);
  TActionStruct press;
  press.Code = static_cast<uint16_t>(-333);
  press.Target = 3;
  ExecuteActionCode(p.Book, press, -1);
  // Pressed and released at the page's (0, 0), outside the button: up.
  EXPECT_EQ(State(a), 0u);
  press.Target = 99;  // no such object
  ExecuteActionCode(p.Book, press, -1);
}
