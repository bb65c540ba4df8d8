// The page-object base on Win32: showing and hiding with and without an own
// window, the page's scroll offset, tooltips, the file-name rule, borders
// and focus frames, data records, and actions queued as pending timed
// messages.
#include "winpages.h"

#include "engine/actionqueue.h"
#include "platform/owl/dc.h"
#include "platform/owl/scroller.h"

namespace {

// A white 32-bit canvas in a memory DC.
class Canvas {
public:
  Canvas(int w, int h) : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp_ = ::CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = ::SelectObject(dc_, bmp_);
    RECT r{0, 0, w, h};
    ::FillRect(dc_, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ~Canvas() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bmp_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y) & 0xFFFFFF; }

private:
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

const COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

TEST(ObjectElement, ShowHideAndRefresh) {
  TTestWindow w;
  TRecorder o(&w.Window, 0, 1, 0x184, Rect(10, 10, 60, 40));
  EXPECT_TRUE(o.IsVisible()) << "an object starts visible until the page hides it";
  o.SetVisible(false);
  o.Show(true, false);
  EXPECT_TRUE(o.IsVisible());
  EXPECT_EQ(o.Paints, 1) << "a windowless object is painted at once";
  o.Show(true, false);
  EXPECT_EQ(o.Paints, 1) << "nothing happens when it is shown already";
  o.Show(true, true);
  EXPECT_EQ(o.Paints, 2) << "unless forced";
  o.Hide(true, true);
  EXPECT_FALSE(o.IsVisible());
  o.Refresh(true);
  EXPECT_EQ(o.Paints, 2) << "an invisible object is not refreshed";
  o.Show(true, false);
  o.Refresh(true);
  EXPECT_EQ(o.Paints, 4);
  o.Hide(false, false);
  o.ThroughPage = true;
  o.Show(true, false);
  EXPECT_EQ(o.Paints, 4) << "repainted through the page window instead";
  EXPECT_TRUE(o.IsVisible());
}

TEST(ObjectElement, AWindowFollowsThePagesScrollOffset) {
  TTestWindow w;
  TRecorder o(&w.Window, 18, 1, 0x184, Rect(100, 100, 200, 150));
  o.Window = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, w.Window.HWindow, nullptr, nullptr, nullptr);
  o.SetVisible(false);
  ASSERT_NE(w.Window.Scroller, nullptr);
  w.Window.Scroller->XPos = 30;
  w.Window.Scroller->YPos = 20;
  TPoint offset;
  EXPECT_TRUE(o.GetScrollOffset(offset));
  EXPECT_EQ(offset, TPoint(30, 20));
  auto placed = [&] {
    RECT r;
    ::GetWindowRect(o.Window, &r);
    ::MapWindowPoints(HWND_DESKTOP, w.Window.HWindow, reinterpret_cast<POINT*>(&r), 2);
    return TRect(r);
  };
  o.Show(true, false);
  EXPECT_TRUE(::IsWindowVisible(o.Window));
  EXPECT_EQ(placed(), TRect(70, 80, 170, 130));
  o.Hide(true, true);
  EXPECT_FALSE(::IsWindowVisible(o.Window));
  w.Window.Scroller->XPos = 0;
  w.Window.Scroller->YPos = 50;
  o.Show(true, false);
  EXPECT_EQ(placed(), TRect(100, 50, 200, 100));
  w.Window.Scroller->YPos = 0;
  ::DestroyWindow(o.Window);
  o.Window = nullptr;
}

TEST(ObjectElement, TooltipsFollowTheVisibleFlag) {
  TTestWindow w;
  ASSERT_NE(w.Window.Tooltip, nullptr);
  ASSERT_TRUE(w.Window.Tooltip->IsWindow());
  TRecorder o(&w.Window, 1, 7, 0x184 | kPropToolTip, Rect(0, 0, 50, 50));
  std::string text;
  for (int i = 0; i < 100; ++i) text += static_cast<char>('a' + i % 26);
  o.Info.Property.ToolTip.Text = text.c_str();
  TRecorder plain(&w.Window, 1, 8, 0x184, Rect(0, 0, 50, 50));
  plain.Info.Property.ToolTip.Text = "nie";
  const int before = w.Window.Tooltip->GetToolCount();

  o.SetVisible(false);
  plain.SetVisible(false);
  o.SetVisible(true);
  plain.SetVisible(true);
  EXPECT_EQ(w.Window.Tooltip->GetToolCount(), before + 1) << "only the object with the tooltip flag";
  char got[256] = {};
  TToolInfo probe;
  probe.hwnd = w.Window.HWindow;
  probe.uId = 7;
  probe.lpszText = got;
  w.Window.Tooltip->SendMessage(TTM_GETTEXTA, sizeof got, reinterpret_cast<TParam2>(&probe));
  EXPECT_EQ(std::string(got), text.substr(0, 80));
  o.SetVisible(true);
  EXPECT_EQ(w.Window.Tooltip->GetToolCount(), before + 1) << "no change, no second tool";
  o.SetVisible(false);
  EXPECT_EQ(w.Window.Tooltip->GetToolCount(), before);
}

TEST(ObjectElement, TheFileNameDecidesWhetherItIsShown) {
  TTestWindow w;
  TRecorder o(&w.Window, 1, 1, 0x184 | kPropFileShows, Rect(0, 0, 20, 20));
  TRecorder plain(&w.Window, 1, 2, 0x184, Rect(0, 0, 20, 20));
  string empty, name = "bild.bmp";
  o.SetFileName(empty);
  EXPECT_FALSE(o.IsVisible());
  PageBuilt = 0;
  o.SetFileName(name);
  EXPECT_TRUE(o.IsVisible());
  EXPECT_EQ(o.Paints, 0) << "before the page is built the page paints it";
  o.SetFileName(empty);
  PageBuilt = 1;
  o.SetFileName(name);
  EXPECT_EQ(o.Paints, 1);
  PageBuilt = 0;
  plain.SetFileName(empty);
  EXPECT_TRUE(plain.IsVisible()) << "without the flag the name changes nothing";
}

TEST(ObjectElement, Geometry) {
  TTestWindow w;
  TRecorder o(&w.Window, 0, 1, 0x184, Rect(10, 20, 110, 70));
  EXPECT_TRUE(o.ContainsPoint(TPoint(10, 20)));
  EXPECT_TRUE(o.ContainsPoint(TPoint(109, 69)));
  EXPECT_FALSE(o.ContainsPoint(TPoint(110, 50)));
  EXPECT_FALSE(o.ContainsPoint(TPoint(50, 70)));
  EXPECT_TRUE(o.IntersectsRect(TRect(10, 20, 110, 70))) << "inside with coinciding edges";
  EXPECT_TRUE(o.IntersectsRect(TRect(100, 60, 300, 300)));
  EXPECT_FALSE(o.IntersectsRect(TRect(110, 0, 200, 300))) << "touching is no overlap";
  TPoint p(5, 5);
  o.ClientToPage(p);
  EXPECT_EQ(p, TPoint(15, 25));

  struct Border {
    uint16_t style;
    int grows;
  };
  for (const Border b : {Border{0, 0}, Border{1, 1}, Border{2, 1}, Border{4, 2}, Border{7, 2}, Border{42, 2}}) {
    o.Info.Property.BorderStyle = b.style;
    TRect r;
    o.GetRect(r);
    EXPECT_EQ(r, TRect(10 - b.grows, 20 - b.grows, 110 + b.grows, 70 + b.grows)) << b.style;
  }

  struct Kind {
    int kind;
    const char* name;
  };
  for (const Kind k : {Kind{0, "Text-Objekt"}, Kind{3, "Animations-Objekt"}, Kind{4, "Sound-Objekt"},
                       Kind{13, "Dia\xFC" "bersichts-Objekt"}, Kind{19, "Listen-Objekt"},
                       Kind{21, "Shockwave-Flash-Objekt"}, Kind{-1, "Unbekannt"}, Kind{22, "Unbekannt"}}) {
    string name;
    TObjectElement::KindName(k.kind, name);
    EXPECT_EQ(name, k.name) << k.kind;
  }
}

TEST(ObjectElement, BordersFocusFramesAndFill) {
  TTestWindow w;
  TRecorder o(&w.Window, 0, 1, 0x184 | kPropFill | kPropFocusFrame, Rect(50, 50, 100, 100));
  o.Info.Property.Colour = RGB(255, 0, 0);
  o.Info.Property.BorderStyle = 1;
  Canvas c(200, 200);
  TDC dc(c.dc());
  TPaintInfo paint(dc, dc);
  paint.OriginX = 10;
  paint.OriginY = 10;
  o.Paint(paint);
  EXPECT_EQ(c.At(45, 45), RGB(255, 0, 0)) << "filled, in page coordinates less the origin";
  EXPECT_NE(c.At(39, 39), kWhite) << "the frame one pixel outside";
  EXPECT_EQ(c.At(38, 38), kWhite);
  o.Visible = 0;
  Canvas blank(200, 200);
  TDC blankDc(blank.dc());
  TPaintInfo none(blankDc, blankDc);
  o.Paint(none);
  EXPECT_EQ(blank.At(60, 60), kWhite) << "an invisible object paints nothing";
  o.Visible = 1;

  // The focus frame: only for the focused object when asked, twice erases.
  Canvas f(200, 200);
  TDC fdc(f.dc());
  o.DrawFocusFrame(fdc, true);
  EXPECT_EQ(f.At(49, 49), kWhite) << "not the focused object";
  FocusedObject = &o;
  o.DrawFocusFrame(fdc, true);
  EXPECT_NE(f.At(49, 49), kWhite);
  EXPECT_NE(f.At(100, 100), kWhite);
  EXPECT_EQ(f.At(50, 50), kWhite) << "the object's own pixels stay";
  EXPECT_EQ(f.At(101, 101), kWhite);
  o.DrawFocusFrame(fdc, false);
  EXPECT_EQ(f.At(49, 49), kWhite) << "drawing twice erases";
  EditMode = 1;
  o.DrawFocusFrame(fdc, false);
  EXPECT_EQ(f.At(49, 49), kWhite) << "not in the editing mode";
  EditMode = 0;
  FocusedObject = nullptr;
}

TEST(ObjectElement, DataRecords) {
  TTestWindow w;
  TRecorder o(&w.Window, 0, 1);
  o.Data->Flags = 7;
  o.SetData(nullptr);
  EXPECT_EQ(o.Data->Flags, 0x1000u) << "null resets the record to the defaults";
  auto* other = new TStandInData();
  other->Flags = 9;
  o.SetData(other);
  EXPECT_EQ(o.Data.get(), other);
  TStandInData copy;
  copy.Flags = 11;
  o.AssignData(&copy);
  EXPECT_EQ(o.Data->Flags, 11u);
  EXPECT_EQ(o.Data.get(), other);
  PressedObject = &o;
  FocusedObject = &o;
  {
    TRecorder gone(&w.Window, 0, 2);
    PressedObject = &gone;
  }
  EXPECT_EQ(PressedObject, nullptr) << "a destroyed object clears the pointers to it";
  EXPECT_EQ(FocusedObject, &o);
  FocusedObject = nullptr;
}

TEST(ObjectElement, RunActionsQueuesMatchingActionsInDelayOrder) {
  TTestWindow w;
  TBookStruct book(&w.Window, nullptr);
  TRecorder o(&w.Window, 6, 33);
  auto add = [&](uint32_t delay, uint16_t trigger, bool enabled, uint16_t code) {
    auto* a = new TActionStruct();
    a->Delay = delay;
    a->TriggerEvent = trigger;
    a->Code = code;
    if (enabled) a->Flags |= kActionEnabled; else a->Flags &= ~kActionEnabled;
    o.Info.Property.Actions->Add(a);
  };
  add(300, WM_LBUTTONUP, true, 11);
  add(100, WM_LBUTTONUP, true, 10);
  add(200, WM_LBUTTONUP, false, 12);
  add(50, WM_LBUTTONDBLCLK, true, 29);
  add(400, WM_LBUTTONUP, true, 8);
  SetActionSerialCounter(0x7FFFFFFD);

  TActionTrigger click;
  click.Message = WM_LBUTTONUP;
  click.Ext1 = 12345;  // takes no part in matching
  ASSERT_TRUE(o.RunActions(click, false));
  TPendingActionList& pending = *PendingActions();
  ASSERT_EQ(pending.GetItemsInContainer(), 3);
  // Serials 0x7FFFFFFD, then 0 and 1 after the wrap: in serial order the
  // two after the wrap come first.
  const TActionKeyStruct* a = FindPendingActionKey(&book, 0x7FFFFFFD);
  const TActionKeyStruct* b = FindPendingActionKey(&book, 0);
  const TActionKeyStruct* c = FindPendingActionKey(&book, 1);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->Action->Code, 10) << "the list is in delay order";
  EXPECT_EQ(b->Action->Code, 11);
  EXPECT_EQ(c->Action->Code, 8);
  EXPECT_EQ(a->WaitFor, kNoSerial);
  EXPECT_EQ(a->Next, 0);
  EXPECT_EQ(b->WaitFor, 0x7FFFFFFD);
  EXPECT_EQ(b->Next, 1);
  EXPECT_EQ(c->WaitFor, 0);
  EXPECT_EQ(c->Next, kNoSerial) << "the last has no successor";
  EXPECT_EQ(a->Action->Owner, 33u);
  EXPECT_EQ(book.GetTimeManager()->IncomingCount(), 3u);

  TActionTrigger down;
  down.Message = WM_LBUTTONDOWN;
  EXPECT_FALSE(o.RunActions(down, false));
  TActionTrigger other = click;
  other.Ext2 = 1;
  EXPECT_FALSE(o.RunActions(other, false)) << "the further trigger values must match too";
  EXPECT_TRUE(o.RunActions(down, true));
  EXPECT_EQ(pending.GetItemsInContainer(), 3 + 4) << "every enabled action";
  EditMode = 1;
  EXPECT_FALSE(o.RunActions(click, true));
  EditMode = 0;
  TRecorder quiet(&w.Window, 6, 34);
  EXPECT_FALSE(quiet.RunActions(click, true)) << "no actions";
}
