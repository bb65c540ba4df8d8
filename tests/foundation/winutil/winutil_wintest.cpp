#include "wintest.h"

#include <memory>
#include <string>
#include <vector>

#include "foundation/pagescroller.h"
#include "foundation/winutil.h"
#include "platform/owl/combobox.h"
#include "platform/owl/dc.h"
#include "platform/owl/listbox.h"
#include "platform/owl/window.h"

namespace {

// A top-level window that counts what reaches it.
class CountingWindow : public TWindow {
public:
  CountingWindow() : TWindow(nullptr, "counting") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = Attr.Y = 0;
    Attr.W = 200;
    Attr.H = 150;
  }
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override {
    if (msg == WM_LBUTTONDOWN) ++Clicks;
    if (msg == WM_USER + 7) ++Users;
    if (msg == WM_PAINT) {
      ++Paints;
      PAINTSTRUCT ps;
      BeginPaint(HWindow, &ps);
      LastPaint = ps.rcPaint;
      EndPaint(HWindow, &ps);
      return 0;
    }
    return TWindow::WindowProc(msg, p1, p2);
  }
  int Clicks = 0, Users = 0, Paints = 0;
  TRect LastPaint;
};

void Drain() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

TEST(Pumps, CheckAbortDropsInputAndPaints) {
  CountingWindow w;
  ASSERT_TRUE(w.Create());
  Drain();
  int32_t abort = 0;
  EXPECT_EQ(PumpMessagesCheckAbort(abort), 0);  // empty queue

  w.PostMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  w.PostMessage(WM_USER + 7);
  while (PumpMessagesCheckAbort(abort)) {
  }
  EXPECT_EQ(w.Clicks, 0);
  EXPECT_EQ(w.Users, 0);
  EXPECT_EQ(abort, 0);

  w.Paints = 0;
  w.Invalidate();
  while (PumpMessagesCheckAbort(abort)) {
  }
  EXPECT_EQ(w.Paints, 1);

  // Esc for any window of the thread aborts; the flag is never cleared here.
  PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
  w.PostMessage(WM_KEYDOWN, 'A');
  while (PumpMessagesCheckAbort(abort)) {
  }
  EXPECT_EQ(abort, 1);
  w.PostMessage(WM_KEYDOWN, VK_RETURN);
  int32_t second = 0;
  while (PumpMessagesCheckAbort(second)) {
  }
  EXPECT_EQ(second, 1);
  EXPECT_EQ(abort, 1);
}

TEST(Pumps, PumpMessagesDeliversAll) {
  CountingWindow w;
  ASSERT_TRUE(w.Create());
  w.PostMessage(WM_USER + 7);
  w.PostMessage(WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(w.Users, 1);
  EXPECT_EQ(w.Clicks, 1);
}

TEST(Pumps, QuitSurvivesThePumps) {
  PostQuitMessage(3);
  int32_t abort = 0;
  PumpMessagesCheckAbort(abort);
  PumpMessages();
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

TEST(KeyState, ShiftAndCtrlFromTheThreadState) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE set[256];
  memcpy(set, keys, sizeof set);
  set[VK_SHIFT] = 0x80;
  set[VK_CONTROL] = 0;
  SetKeyboardState(set);
  EXPECT_TRUE(IsShiftKeyDown());
  EXPECT_FALSE(IsCtrlKeyDown());
  set[VK_SHIFT] = 0x01;  // toggled, not down
  set[VK_CONTROL] = 0x80;
  SetKeyboardState(set);
  EXPECT_FALSE(IsShiftKeyDown());
  EXPECT_TRUE(IsCtrlKeyDown());
  SetKeyboardState(keys);
}

HWND Popup(int x, int y, int w, int h) {
  return CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
}

TEST(CenterWindow, OnReferenceOrScreen) {
  HWND ref = Popup(200, 100, 201, 200);
  HWND w = Popup(0, 0, 100, 50);
  CenterWindow(w, ref);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 250);  // 200 + 101 / 2
  EXPECT_EQ(r.top, 175);
  EXPECT_EQ(r.right - r.left, 100);

  CenterWindow(w, nullptr);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 100) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 50) / 2);

  HWND big = Popup(0, 0, GetSystemMetrics(SM_CXSCREEN) + 101, 60);
  CenterWindow(big, nullptr);
  GetWindowRect(big, &r);
  EXPECT_EQ(r.left, -101 / 2);
  DestroyWindow(big);
  DestroyWindow(w);
  DestroyWindow(ref);
}

TEST(FitSizeIntoBox, TSizeForm) {
  TSize s(9, 9);
  EXPECT_TRUE(FitSizeIntoBox(400, 300, 200, 200, s));
  EXPECT_EQ(s, TSize(200, 150));
  EXPECT_FALSE(FitSizeIntoBox(0, 300, 200, 200, s));
  EXPECT_EQ(s, TSize(0, 0));
}

TEST(DialogItems, ClientRectAndPlaceholders) {
  HWND dlg = CreateWindowExA(WS_EX_DLGMODALFRAME, "STATIC", "", WS_POPUP | WS_CAPTION, 50, 60, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
  HWND st = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 10, 20, 40, 30, dlg, HMENU(11), nullptr, nullptr);
  HWND bt = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 60, 20, 40, 30, dlg, HMENU(12), nullptr, nullptr);
  TRect r;
  EXPECT_TRUE(GetDlgItemClientRect(dlg, 12, r, false));
  EXPECT_EQ(r, TRect(60, 20, 100, 50));
  EXPECT_TRUE(IsWindow(bt));
  EXPECT_FALSE(GetStaticItemClientRect(dlg, 12, r));
  EXPECT_TRUE(IsWindow(bt));
  EXPECT_TRUE(GetStaticItemClientRect(dlg, 11, r));
  EXPECT_EQ(r, TRect(10, 20, 50, 50));
  EXPECT_FALSE(IsWindow(st));
  EXPECT_TRUE(GetDlgItemClientRect(dlg, 12, r, true));
  EXPECT_FALSE(IsWindow(bt));
  EXPECT_FALSE(GetDlgItemClientRect(dlg, 13, r, false));
  EXPECT_FALSE(GetDlgItemClientRect(nullptr, 12, r, false));
  DestroyWindow(dlg);
}

TEST(ListItems, TextWithDataInListsAndCombos) {
  TWindow parent(nullptr, "lists");
  parent.Attr.Style = WS_POPUP;
  parent.Attr.W = 300;
  parent.Attr.H = 300;
  auto* list = new TListBox(&parent, 21, 0, 0, 100, 100);
  auto* combo = new TComboBox(&parent, 22, 110, 0, 100, 100, CBS_DROPDOWNLIST);
  ASSERT_TRUE(parent.Create());
  for (TListBox* c : {static_cast<TListBox*>(list), static_cast<TListBox*>(combo)}) {
    string text;
    EXPECT_FALSE(GetSelectedListText(c, text));
    AddListItemWithData(c, 0, "Bilder", 0xCAFE);
    AddListItemWithData(c, 0, "Alles", 7);
    const int i = c->FindExactString("Bilder", -1);
    ASSERT_GE(i, 0);
    EXPECT_EQ(c->GetItemData(i), 0xCAFE);
    c->SetSelIndex(i);
    ASSERT_TRUE(GetSelectedListText(c, text));
    EXPECT_EQ(text, string("Bilder"));
  }
  AddListItemWithData(nullptr, 0, "x", 1);
  string t;
  EXPECT_FALSE(GetSelectedListText(nullptr, t));
}

// A window with scroll bars whose scroller is a _TScroller.
class ScrollingWindow : public CountingWindow {
public:
  ScrollingWindow() {
    Attr.Style |= WS_HSCROLL | WS_VSCROLL;
    Scroller = new _TScroller(this, 1, 1, 200, 300);
  }
};

TEST(PageScroller, ClampsScrollsAndRepaints) {
  ScrollingWindow w;
  ASSERT_TRUE(w.Create());
  w.Scroller->SetWindow(&w);
  w.Scroller->SetPageSize();
  w.Scroller->SetRange(200, 300);
  w.UpdateWindow();
  Drain();
  w.Scroller->ScrollTo(-5, 10000);
  EXPECT_EQ(w.Scroller->XPos, 0);
  EXPECT_EQ(w.Scroller->YPos, 300);
  EXPECT_EQ(w.GetScrollPos(SB_VERT), 300);

  // Less than a page: the contents move, only the uncovered strip repaints.
  w.Scroller->AutoOrg = false;
  const TRect client = w.GetClientRect();
  w.Paints = 0;
  w.Scroller->ScrollTo(0, 290);
  EXPECT_EQ(w.Paints, 1);
  EXPECT_EQ(w.LastPaint, TRect(0, 0, client.right, 10));
  // A page or more: the whole window.
  w.Paints = 0;
  w.Scroller->ScrollTo(0, 0);
  EXPECT_EQ(w.Paints, 1);
  EXPECT_EQ(w.LastPaint, client);
  // The same position again: nothing.
  w.Paints = 0;
  w.Scroller->ScrollTo(0, 0);
  EXPECT_EQ(w.Paints, 0);

  // Without a window nothing moves.
  _TScroller lone(nullptr, 1, 1, 50, 50);
  lone.ScrollTo(10, 10);
  EXPECT_EQ(lone.XPos, 0);
}

}  // namespace
