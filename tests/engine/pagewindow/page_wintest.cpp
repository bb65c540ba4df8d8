#include "wintest.h"

#include <string>

#include "engine/pageinput.h"
#include "engine/pagepaint.h"
#include "engine/presentpump.h"
#include "canvas.h"
#include "probepage.h"

namespace {

// A 600 x 400 page that scrolls both ways and may be dragged; Esc quits.
// Page 1 holds three framed, filled objects and the focus order 3, 1, 2.
const char* kProject = R"(title "Seitentest"
size 600 400
flags hscroll vscroll drag
quitkeys 2
page 1 "Farbe"
  background colour #3050A0
  keys 3 1 2
  object text "A" 20 20 80 60
    border 1
    fill #FF0000
    action next
  object picture "B" 150 100 200 150
    border 1
    fill #00FF00
    action goto 2
  object button "C" 300 20 360 60
    border 1
    fill #0000FF
page 2 "Muster"
  background pattern 6 #000000
page 3 "Verlauf"
  background gradient #000000 #FFFFFF
page 4 "Bild"
  background stretch checker 40 40 #FF0000 #0000FF 20
)";

const COLORREF kPage = RGB(0x30, 0x50, 0xA0);

// The page window's paint as WM_PAINT does it: the scroller moves the DC's
// origin and the paint rectangle, then Paint.
void PaintClient(PageFixture& f, Canvas& c) {
  TRect rect(0, 0, c.W, c.H);
  if (f.Window->Scroller) f.Window->Scroller->BeginView(c.Dc_(), rect);
  f.Window->Paint(c.Dc_(), false, rect);
  c.Dc_().SetViewportOrg(TPoint(0, 0));
}

TEST(PagePainting, BackgroundAndObjects) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  Canvas c(400, 300);
  TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, TRect(0, 0, 400, 300), TRect(0, 0, 400, 300), false, nullptr,
                          false, nullptr);
  EXPECT_EQ(c.At(5, 5), kPage);
  EXPECT_EQ(c.At(20, 20), RGB(255, 0, 0));
  EXPECT_EQ(c.At(79, 59), RGB(255, 0, 0));
  EXPECT_NE(c.At(80, 30), kPage);  // the frame one pixel outside
  EXPECT_NE(c.At(80, 30), RGB(255, 0, 0));
  EXPECT_EQ(c.At(81, 30), kPage);
  EXPECT_EQ(c.At(175, 125), RGB(0, 255, 0));
  EXPECT_EQ(c.At(330, 40), RGB(0, 0, 255));
  EXPECT_EQ(PaintRect, TRect(0, 0, 400, 300));
  // The bitmap covers at least the screen, for later paints to reuse.
  ASSERT_NE(GetPaintBitmap(), nullptr);
  EXPECT_GE(GetPaintBitmap()->Width(), 600);
  TBitmap* first = GetPaintBitmap();
  TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, TRect(10, 10, 50, 50), TRect(0, 0, 400, 300), false, nullptr,
                          false, nullptr);
  EXPECT_EQ(GetPaintBitmap(), first);
}

TEST(PagePainting, ScrolledPaintLandsOnce) {
  PageFixture f(kProject, 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  f.Window->Scroller->ScrollTo(100, 50);
  ASSERT_EQ(f.Window->GetScrollOffset(), TPoint(100, 50));
  const TRect client = f.Window->GetClientRect();
  Canvas c(client.Width(), client.Height());
  PaintClient(f, c);
  // Object B at page (150, 100)-(200, 150) shows at client (50, 50).
  EXPECT_EQ(c.At(50, 50), RGB(0, 255, 0));
  EXPECT_EQ(c.At(99, 99), RGB(0, 255, 0));
  EXPECT_EQ(c.At(101, 75), kPage);
  EXPECT_EQ(c.At(48, 75), kPage);
  // Object A at page (20, 20)-(80, 60) is scrolled out of sight.
  EXPECT_EQ(c.At(0, 0), kPage);
}

// The same through a real WM_PAINT of the window on the screen.
TEST(PagePainting, OnScreenAtAScrollOffset) {
  PageFixture f(kProject, 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  f.Window->Scroller->ScrollTo(100, 50);
  f.Window->Invalidate(false);
  f.Window->UpdateWindow();
  HDC dc = GetDC(f.Window->HWindow);
  EXPECT_EQ(GetPixel(dc, 60, 60), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 120, 60), kPage);
  ReleaseDC(f.Window->HWindow, dc);
}

TEST(PagePainting, HiddenObjectsExclusionsAndBuild) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  Canvas c(400, 300);
  const TRect all(0, 0, 400, 300);
  f.Manager->HiddenList.Add(1);
  TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, all, all, false, nullptr, false, nullptr);
  EXPECT_EQ(c.At(40, 40), kPage);
  EXPECT_EQ(f.Manager->GetObjectCount(), 3);
  f.Manager->HiddenList.Remove(1);

  // A transparent window's backdrop: its own bitmap, at the origin, without
  // itself.
  TBitmap own(c.Dc_(), 100, 100);
  TPaintExclusions self = {f.Probe(2)};
  Canvas t(100, 100);
  TPagePainter::PaintArea(f.Manager, t.Dc_(), nullptr, TRect(140, 90, 240, 190), TRect(140, 90, 240, 190), true,
                          &own, true, &self);
  EXPECT_EQ(t.At(20, 20), kPage);  // where B would be

  PaintEnabled = 0;
  TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, all, all, false, nullptr, false, nullptr);
  PaintEnabled = 1;
  EXPECT_EQ(c.At(40, 40), kPage);
}

TEST(PagePainting, LargePagesUseASection) {
  PageFixture f(R"(size 2000 1000
page 1
  background colour #102030
)", 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  ReleasePaintBitmap();
  Canvas c(300, 200);
  TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, TRect(1700, 800, 2000, 1000), TRect(0, 0, 300, 200), false,
                          nullptr, true, nullptr);
  ASSERT_NE(GetPaintBitmap(), nullptr);
  EXPECT_NE(dynamic_cast<TDiBitmap*>(GetPaintBitmap()), nullptr);
  EXPECT_EQ(c.At(150, 100), RGB(0x10, 0x20, 0x30));
  ReleasePaintBitmap();
}

// Background modes, each on its own page.
TEST(PagePainting, BackgroundModes) {
  {
    PageFixture f(kProject, 1, 200, 100);
    ASSERT_TRUE(f.Ok);
    Canvas c(64, 64);
    TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, TRect(0, 0, 64, 64), TRect(0, 0, 64, 64), false, nullptr,
                            false, nullptr);
    int differ = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(c.At(x, y), c.At(x + 8, y + 8)) << "an 8 x 8 pattern at " << x << "," << y;
        differ += c.At(x, y) != c.At(0, 0);
      }
    EXPECT_GT(differ, 0) << "a pattern, not a plain fill";
  }
  {
    PageFixture f(kProject, 2, 200, 100);
    ASSERT_TRUE(f.Ok);
    Canvas c(600, 400);
    TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, TRect(0, 0, 600, 400), TRect(0, 0, 600, 400), false, nullptr,
                            false, nullptr);
    EXPECT_EQ(c.At(10, 2), RGB(0, 0, 0)) << "gradient top";
    EXPECT_GT(GetRValue(c.At(10, 396)), 240) << "gradient bottom";
    EXPECT_LT(GetRValue(c.At(10, 150)), GetRValue(c.At(10, 250)));
  }
  {
    PageFixture f(kProject, 3, 200, 100);
    ASSERT_TRUE(f.Ok);
    Canvas c(600, 400);
    TPagePainter::PaintArea(f.Manager, c.Dc_(), nullptr, TRect(0, 0, 600, 400), TRect(0, 0, 600, 400), false, nullptr,
                            false, nullptr);
    // A 40 x 40 checker of 20-pixel cells stretched over 600 x 400.
    EXPECT_EQ(c.At(10, 10), c.At(590, 390));
    EXPECT_NE(c.At(10, 10), c.At(310, 10));
    EXPECT_TRUE(c.At(10, 10) == RGB(255, 0, 0) || c.At(10, 10) == RGB(0, 0, 255));
  }
}

TEST(PageWindow, ScrollBarsFollowTheOptions) {
  PageFixture f(kProject, 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  const TRect client = f.Window->GetClientRect();
  EXPECT_EQ(f.Window->Scroller->XRange, 600 - client.Width());
  EXPECT_EQ(f.Window->Scroller->YRange, 400 - client.Height());
  EXPECT_EQ(f.Window->Scroller->XLine, client.Width() / 10);
  EXPECT_EQ(f.Window->Scroller->XPage, client.Width());

  f.Book->Info.Flags &= ~0x20u;  // no vertical scrolling
  f.Window->AdjustScrollbars();
  EXPECT_EQ(f.Window->Scroller->YRange, 0);
  EXPECT_FALSE(f.Window->GetStyle() & WS_VSCROLL);

  // A client 95 pixels wide scrolls 9 pixels per line.
  f.Host->MoveWindow(30, 40, 95 + GetSystemMetrics(SM_CXVSCROLL), 150, true);
  f.Window->MoveWindow(0, 0, 95, 150, true);
  EXPECT_EQ(f.Window->Scroller->XLine, 9);
}

TEST(PageWindow, MessagesInPageCoordinates) {
  PageFixture f(kProject, 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  f.Book->Info.Flags &= ~0x80000u;  // no window drag
  f.Window->Scroller->ScrollTo(100, 50);
  // A click at client (60, 60) is page (160, 110), inside object B.
  f.Window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(60, 60));
  f.Window->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(70, 65));
  ProbeObject* b = f.Probe(2);
  ASSERT_EQ(b->Downs.size(), 1u);
  EXPECT_EQ(b->Downs[0], TPoint(160, 110));
  ASSERT_EQ(b->Ups.size(), 1u);
  EXPECT_EQ(b->Ups[0], TPoint(170, 115));
  EXPECT_EQ(FocusedObject, b);
  EXPECT_EQ(PressedObject, b);

  EXPECT_EQ(f.Window->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetDC(nullptr))), 1);
  f.Window->SendMessage(WM_TIMER, 77);
  EXPECT_EQ(f.Probe(1)->Timers, std::vector<uint>{77});
  EXPECT_EQ(f.Probe(3)->Timers, std::vector<uint>{77});
  f.Window->SendMessage(WM_CHAR, 'x');
  EXPECT_EQ(b->Chars, std::vector<uint>{'x'});

  // A system key goes to the window's default processing, then to the
  // objects: the first that takes it gets the focus.
  f.Probe(3)->SysKey = 'K';
  f.Window->SendMessage(WM_SYSKEYDOWN, 'K', 0);
  EXPECT_EQ(FocusedObject, f.Probe(3));

  // Nothing reaches the page while no project is open.
  TBookStruct* book = SetOpenBook(nullptr);
  f.Window->SendMessage(WM_TIMER, 78);
  EXPECT_EQ(f.Probe(1)->Timers.size(), 1u);
  SetOpenBook(book);
}

TEST(PageWindow, MeasureItemAndControlColours) {
  PageFixture f(R"(size 300 200
page 1
  object slides "D" 10 10 100 100 number 5
  object list "L" 110 10 200 100 number 6
)", 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ODT_LISTBOX;
  mi.CtlID = 5;
  mi.itemHeight = 17;
  f.Window->SendMessage(WM_MEASUREITEM, 5, reinterpret_cast<LPARAM>(&mi));
  EXPECT_EQ(mi.itemWidth, 96u);
  EXPECT_EQ(mi.itemHeight, 96u);
  MEASUREITEMSTRUCT other{};
  other.CtlType = ODT_LISTBOX;
  other.CtlID = 6;
  other.itemHeight = 17;
  f.Window->SendMessage(WM_MEASUREITEM, 6, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(other.itemHeight, 17u);

  // A control of an object gets the object's brush.
  ProbeObject* list = f.Probe(6);
  list->Window = CreateWindowExA(0, "EDIT", "", WS_CHILD, 110, 10, 90, 20, f.Window->HWindow, HMENU(6), nullptr, nullptr);
  TBrush brush(TColor(9, 9, 9));
  list->Brush = brush;
  HDC dc = GetDC(list->Window);
  EXPECT_EQ(f.Window->SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list->Window)),
            reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)));
  ReleaseDC(list->Window, dc);
  DestroyWindow(list->Window);
  list->Window = nullptr;
}

size_t Pending() { return PendingActions() ? size_t(PendingActions()->GetItemsInContainer()) : 0; }

// A click on an object queues its actions through the message pump's
// routing: a pending entry and a kind-7 timed message, nothing run yet.
TEST(PageInput, ClickQueuesTheObjectsActions) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  FlushPendingActions();
  TSysTimeManager& queue = *f.Book->GetTimeManager();
  const size_t before = queue.IncomingCount();
  f.Window->SetFocus();
  MSG up{};
  up.hwnd = f.Window->HWindow;
  up.message = WM_LBUTTONUP;
  up.pt = TPoint(40, 40);
  ClientToScreen(f.Window->HWindow, &up.pt);
  EXPECT_FALSE(PresentationMessageFilter(up));  // routed, not dropped
  EXPECT_EQ(queue.IncomingCount(), before + 1);
  ASSERT_EQ(Pending(), 1u);
  const TActionStruct* a = (*PendingActions())[0]->Action.get();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Owner, 1u);

  // A button-down is no click: object A's action waits for WM_LBUTTONUP.
  up.message = WM_LBUTTONDOWN;
  PresentationMessageFilter(up);
  EXPECT_EQ(Pending(), 1u);

  // Not the focus window: nothing.
  up.message = WM_LBUTTONUP;
  up.hwnd = f.Host->HWindow;
  PresentationMessageFilter(up);
  EXPECT_EQ(Pending(), 1u);
  // No project page, no routing.
  up.hwnd = f.Window->HWindow;
  f.Manager->PageLoaded = 0;
  PresentationMessageFilter(up);
  EXPECT_EQ(Pending(), 1u);
  f.Manager->PageLoaded = 1;
  FlushPendingActions();
}

TEST(PageInput, OverlapEndsAtTheFirstObjectThatQueues) {
  PageFixture f(R"(size 300 200
page 1
  object text "unten" 10 10 100 100
    action next
  object text "oben" 50 50 150 150
    action next
)", 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  FlushPendingActions();
  f.Window->SetFocus();
  MSG up{};
  up.hwnd = f.Window->HWindow;
  up.message = WM_LBUTTONUP;
  up.pt = TPoint(60, 60);
  ClientToScreen(f.Window->HWindow, &up.pt);
  EXPECT_TRUE(TPageInput::RouteMouseMessage(f.Manager, up));
  ASSERT_EQ(Pending(), 1u);
  TObjectElement* first = nullptr;
  ASSERT_TRUE(f.Manager->GetObjectAt(0, first));
  EXPECT_EQ((*PendingActions())[0]->Action->Owner, first->GetNumber());  // the first in page order
  FlushPendingActions();
}

void SetShift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST(PageInput, TabFollowsTheFocusOrder) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  SetShift(false);
  EXPECT_EQ(FocusedObject, f.Probe(3));  // the first of the order when read
  auto tab = [&] { f.Window->SendMessage(WM_KEYDOWN, VK_TAB, 1); };
  tab();
  EXPECT_EQ(FocusedObject, f.Probe(1));
  tab();
  EXPECT_EQ(FocusedObject, f.Probe(2));
  tab();  // the last goes to the first
  EXPECT_EQ(FocusedObject, f.Probe(3));
  SetShift(true);
  tab();  // Shift+Tab on the first goes to the last
  EXPECT_EQ(FocusedObject, f.Probe(2));
  SetShift(false);
  f.Probe(3)->Visible = 0;  // hidden objects are skipped
  tab();
  EXPECT_EQ(FocusedObject, f.Probe(1));
  // The focused object also got the keys.
  EXPECT_EQ(f.Probe(2)->Keys, (std::vector<uint>{VK_TAB, VK_TAB}));
}

bool TakeQuit() {
  MSG m;
  return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

TEST(PageInput, QuitKeys) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  while (TakeQuit()) {
  }
  // Esc with quit flag 2: the page's objects end and the presentation quits.
  f.Window->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(TakeQuit());
  EXPECT_EQ(f.Manager->GetObjectCount(), 0);  // page-local objects are gone
}

TEST(PageInput, EscWithoutItsFlagGoesToTheObject) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  f.Book->Info.QuitKeys = 1;
  while (TakeQuit()) {
  }
  f.Window->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_FALSE(TakeQuit());
  EXPECT_EQ(f.Probe(3)->Keys, std::vector<uint>{VK_ESCAPE});
  f.Window->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_TRUE(TakeQuit());
}

// The pump takes a quit key even from an object's own child window.
TEST(PageInput, QuitKeyFromAnObjectsChildWindow) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  ProbeObject* c = f.Probe(3);
  c->Window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 20, 60, 40, f.Window->HWindow, HMENU(3),
                              nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, c->Window, nullptr, nullptr, nullptr);
  while (TakeQuit()) {
  }
  MSG key{};
  key.hwnd = edit;
  key.message = WM_KEYDOWN;
  key.wParam = VK_ESCAPE;
  EXPECT_TRUE(PresentationMessageFilter(key));
  EXPECT_TRUE(TakeQuit());

  // Without the flag the key passes to the child.
  PageFixture g(kProject, 0, 400, 300);
  ASSERT_TRUE(g.Ok);
  g.Book->Info.QuitKeys = 0;
  ProbeObject* d = g.Probe(3);
  d->Window = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, g.Window->HWindow, nullptr, nullptr, nullptr);
  key.hwnd = d->Window;
  EXPECT_FALSE(PresentationMessageFilter(key));
  EXPECT_FALSE(TakeQuit());
}

TEST(PageInput, DraggingTheWindowByAnEmptySpot) {
  PageFixture f(kProject, 0, 400, 300);
  ASSERT_TRUE(f.Ok);
  RECT start;
  GetWindowRect(f.Host->HWindow, &start);
  f.Window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(250, 250));
  EXPECT_TRUE(WindowDrag.Active);
  EXPECT_EQ(GetCapture(), f.Window->HWindow);
  f.Window->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(260, 255));
  f.Window->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(270, 262));
  EXPECT_FALSE(WindowDrag.Active);
  RECT now;
  GetWindowRect(f.Host->HWindow, &now);
  EXPECT_EQ(now.left, start.left + 20);
  EXPECT_EQ(now.top, start.top + 12);
  EXPECT_NE(GetCapture(), f.Window->HWindow);

  // A text object drags too, and becomes focused, without a button-down.
  f.Window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(30, 30));
  EXPECT_TRUE(WindowDrag.Active);
  EXPECT_EQ(FocusedObject, f.Probe(1));
  EXPECT_TRUE(f.Probe(1)->Downs.empty());
  f.Window->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  // A button does not drag: it gets its button-down.
  f.Window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(320, 30));
  EXPECT_FALSE(WindowDrag.Active);
  EXPECT_EQ(f.Probe(3)->Downs.size(), 1u);
  f.Window->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(320, 30));

  // Without the flag nothing moves.
  f.Book->Info.Flags &= ~0x80000u;
  GetWindowRect(f.Host->HWindow, &start);
  f.Window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(250, 250));
  f.Window->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(290, 290));
  GetWindowRect(f.Host->HWindow, &now);
  EXPECT_EQ(now.left, start.left);
  EXPECT_FALSE(WindowDrag.Active);
}

TEST(PageWindow, MenuCommandsRunTheItemsActions) {
  PageFixture f(R"(size 300 200
page 1
  object text "A" 10 10 50 50
    action next
  menu "Seiten"
    item "Weiter" next
    item "A" object 1
)", 0, 300, 200);
  ASSERT_TRUE(f.Ok);
  ASSERT_EQ(f.Manager->MenuItems->GetItemsInContainer(), 3);
  // The menu build hands out the command ids from 100 on.
  (*f.Manager->MenuItems)[1]->CommandId = 100;
  (*f.Manager->MenuItems)[2]->CommandId = 101;
  FlushPendingActions();
  f.Window->SendMessage(WM_COMMAND, 100);
  ASSERT_EQ(Pending(), 1u);
  EXPECT_EQ((*PendingActions())[0]->Action->Owner, reinterpret_cast<uintptr_t>(f.Book));
  f.Window->SendMessage(WM_COMMAND, 101);
  ASSERT_EQ(Pending(), 2u);
  EXPECT_EQ((*PendingActions())[1]->Action->Owner, 1u);
  f.Window->SendMessage(WM_COMMAND, 102);
  EXPECT_EQ(Pending(), 2u);
  FlushPendingActions();
}

}  // namespace
