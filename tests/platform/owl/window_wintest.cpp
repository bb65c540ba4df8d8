#include "wintest.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/owl/owl.h"

namespace {

const uint WM_PING = WM_USER + 1;
const uint WM_OTHER = WM_USER + 2;
const uint WM_PAINTCOLOR = WM_USER + 3;
const uint WM_THROW = WM_USER + 4;

// A top-level popup: windows of the layer are created hidden-safe this way.
class TWindowPopup : public TWindow {
public:
  explicit TWindowPopup(TWindow* parent = nullptr) : TWindow(parent) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = 20;
    Attr.Y = 20;
    Attr.W = 200;
    Attr.H = 150;
  }
};

// Records which handlers ran.
class TBaseWindow : public TWindowPopup {
public:
  std::vector<std::string> Log;
  TResult EvPing(TParam1 p1, TParam2) {
    Log.push_back("base ping " + std::to_string(p1));
    return 1;
  }
  TResult EvOther(TParam1, TParam2) {
    Log.push_back("base other");
    return 2;
  }
  void CmBase() { Log.push_back("base command"); }
  virtual void EvTimer(uint id) { Log.push_back("base timer " + std::to_string(id)); }
  DECLARE_RESPONSE_TABLE(TBaseWindow);
};
DEFINE_RESPONSE_TABLE1(TBaseWindow, TWindowPopup)
  EV_MESSAGE(WM_PING, EvPing),
  EV_MESSAGE(WM_OTHER, EvOther),
  EV_COMMAND(100, CmBase),
  EV_COMMAND(101, CmBase),
  EV_WM_TIMER,
END_RESPONSE_TABLE;

class TDerivedWindow : public TBaseWindow {
public:
  TResult EvPing(TParam1 p1, TParam2) {
    Log.push_back("derived ping " + std::to_string(p1));
    return 10;
  }
  void CmDerived() { Log.push_back("derived command"); }
  void CmRange(uint id) { Log.push_back("range " + std::to_string(id)); }
  // Reached through the base's table entry.
  void EvTimer(uint id) override { Log.push_back("derived timer " + std::to_string(id)); }
  void EvSysKeyDown(uint key, uint repeat, uint flags) {
    TWindow::EvSysKeyDown(key, repeat, flags);
    Log.push_back("syskey " + std::to_string(key));
  }
  DECLARE_RESPONSE_TABLE(TDerivedWindow);
};
DEFINE_RESPONSE_TABLE1(TDerivedWindow, TBaseWindow)
  EV_MESSAGE(WM_PING, EvPing),
  EV_COMMAND(101, CmDerived),
  EV_COMMAND_RANGE(150, 160, CmRange),
  EV_WM_SYSKEYDOWN,
END_RESPONSE_TABLE;

TEST(OwlWindow, DerivedTableFirstThenBasesThenDefaultProcessing) {
  TDerivedWindow w;
  ASSERT_TRUE(w.Create());
  EXPECT_EQ(TWindow::GetWindowPtr(w.HWindow), &w);

  EXPECT_EQ(w.SendMessage(WM_PING, 7), 10);  // only the derived entry
  EXPECT_EQ(w.SendMessage(WM_OTHER), 2);     // found in the base table
  w.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0));
  w.SendMessage(WM_COMMAND, MAKEWPARAM(101, 0));
  w.SendMessage(WM_COMMAND, MAKEWPARAM(155, 1));  // an accelerator in the range
  w.SendMessage(WM_COMMAND, MAKEWPARAM(161, 0));  // outside it: nobody
  w.SendMessage(WM_TIMER, 42);
  EXPECT_EQ(w.Log, (std::vector<std::string>{"derived ping 7", "base other", "base command", "derived command",
                                              "range 155", "derived timer 42"}));

  // Unhandled messages reach the default window procedure.
  w.SendMessage(WM_SETTEXT, 0, reinterpret_cast<TParam2>("Titel \xc4"));
  char text[32] = {};
  w.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "Titel \xc4");
  // A handler that asks for the default processing first gets it: Alt+F4
  // (default: WM_SYSCOMMAND SC_CLOSE -> WM_CLOSE -> the window is destroyed).
  w.Log.clear();
  w.ModifyStyle(0, WS_CAPTION | WS_SYSMENU);
  w.SendMessage(WM_SYSKEYDOWN, VK_F4, 0x20000000);
  EXPECT_EQ(w.Log, (std::vector<std::string>{"syskey 115"}));
  MSG m;
  while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&m);
  EXPECT_FALSE(::IsWindow(w.HWindow));
  EXPECT_EQ(w.HWindow, nullptr);
}

// Paints its client area in a colour that a message changes.
class TPaintWindow : public TWindowPopup {
public:
  COLORREF Color = RGB(255, 0, 0);
  int Paints = 0;
  TResult EvPaintColor(TParam1 p1, TParam2) {
    Color = static_cast<COLORREF>(p1);
    Invalidate(false);
    return 0;
  }
  void Paint(TDC& dc, bool, TRect&) override {
    ++Paints;
    TBrush brush(Color);
    dc.FillRect(GetClientRect(), brush);
    TPen pen(TColor::White);
    dc.SelectObject(pen);
    dc.MoveTo(0, 10);
    dc.LineTo(50, 10);
  }
  DECLARE_RESPONSE_TABLE(TPaintWindow);
};
DEFINE_RESPONSE_TABLE1(TPaintWindow, TWindowPopup)
  EV_MESSAGE(WM_PAINTCOLOR, EvPaintColor),
END_RESPONSE_TABLE;

COLORREF ClientPixel(TWindow& w, int x, int y) {
  TClientDC dc(w.HWindow);
  return dc.GetPixel(x, y);
}

TEST(OwlWindow, PaintsThroughTheDefaultPaintHandler) {
  TPaintWindow w;
  ASSERT_TRUE(w.Create());
  w.UpdateWindow();
  EXPECT_GE(w.Paints, 1);
  EXPECT_EQ(ClientPixel(w, 100, 100), RGB(255, 0, 0));
  EXPECT_EQ(ClientPixel(w, 20, 10), RGB(255, 255, 255));

  w.SendMessage(WM_PAINTCOLOR, RGB(0, 0, 255));
  w.UpdateWindow();
  EXPECT_EQ(ClientPixel(w, 100, 100), RGB(0, 0, 255));
  // The same picture through a memory DC.
  TClientDC screen(w.HWindow);
  TMemoryDC mem(screen);
  TBitmap bmp(screen, 10, 10);
  mem.SelectObject(bmp);
  mem.BitBlt(0, 0, 10, 10, screen, 95, 95);
  EXPECT_EQ(mem.GetPixel(5, 5), RGB(0, 0, 255));
}

class TButtonParent : public TWindowPopup {
public:
  std::vector<std::string> Log;
  TButton* Ok;
  TButton* Plain;
  TButtonParent() {
    Ok = new TButton(this, IDOK, "OK", 5, 5, 60, 20);
    Plain = new TButton(this, 200, "Knopf", 5, 30, 60, 20);
  }
  void CmOk() { Log.push_back("ok command"); }
  void BnPlain() { Log.push_back("plain clicked"); }
  void EnPlain(uint code) { Log.push_back("plain code " + std::to_string(code)); }
  DECLARE_RESPONSE_TABLE(TButtonParent);
};
DEFINE_RESPONSE_TABLE1(TButtonParent, TWindowPopup)
  EV_COMMAND(IDOK, CmOk),
  EV_BN_CLICKED(200, BnPlain),
  EV_CHILD_NOTIFY_ALL_CODES(300, EnPlain),
END_RESPONSE_TABLE;

// A button that handles its own click, like the help button.
class TSelfButton : public TButton {
public:
  using TButton::TButton;
  int Clicks = 0;
  void BnClicked() { ++Clicks; }
  DECLARE_RESPONSE_TABLE(TSelfButton);
};
DEFINE_RESPONSE_TABLE1(TSelfButton, TButton)
  EV_NOTIFY_AT_CHILD(BN_CLICKED, BnClicked),
END_RESPONSE_TABLE;

TEST(OwlWindow, ControlNotificationsReachTheControlThenTheParent) {
  TButtonParent w;
  auto* self = new TSelfButton(&w, 300, "Hilfe", 5, 55, 60, 20);
  ASSERT_TRUE(w.Create());
  ASSERT_NE(w.Ok->HWindow, nullptr);  // children are created with their parent
  ASSERT_NE(self->HWindow, nullptr);
  EXPECT_EQ(w.ChildWithId(200), w.Plain);

  w.Ok->Click();     // a click is also the command of the button's id
  w.Plain->Click();  // the parent's notification entry
  self->Click();     // the button's own entry wins over the parent's
  w.SendMessage(WM_COMMAND, MAKEWPARAM(300, EN_CHANGE), reinterpret_cast<TParam2>(self->HWindow));
  EXPECT_EQ(self->Clicks, 1);
  EXPECT_EQ(w.Log, (std::vector<std::string>{"ok command", "plain clicked", "plain code 768"}));
}

TEST(OwlWindow, ObjectsAndWindowsLiveAndDieTogether) {
  auto* parent = new TWindowPopup;
  auto* child = new TWindow(parent);
  child->Attr.W = child->Attr.H = 10;
  auto* late = new TWindow(parent);
  ASSERT_TRUE(parent->Create());
  const HWND hParent = parent->HWindow;
  const HWND hChild = child->HWindow;
  ASSERT_TRUE(::IsWindow(hChild));
  EXPECT_EQ(::GetParent(hChild), hParent);

  // A child deleted first leaves its parent's list and takes its window.
  delete late;
  EXPECT_EQ(parent->NumChildren(), 1u);
  // Deleting the parent destroys the windows and the child objects.
  delete parent;
  EXPECT_FALSE(::IsWindow(hParent));
  EXPECT_FALSE(::IsWindow(hChild));
  EXPECT_EQ(TWindow::GetWindowPtr(hChild), nullptr);

  // Destroying the window leaves the object, unbound.
  TWindowPopup w;
  ASSERT_TRUE(w.Create());
  const HWND h = w.HWindow;
  ::DestroyWindow(h);
  EXPECT_EQ(w.HWindow, nullptr);
  EXPECT_EQ(TWindow::GetWindowPtr(h), nullptr);
}

TEST(OwlWindow, AliasWrapsAnExistingWindowWithoutOwningIt) {
  HWND h = ::CreateWindowExA(0, "STATIC", "fremd", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  {
    TWindow alias(h);
    EXPECT_EQ(TWindow::GetWindowPtr(h), &alias);
    char text[16] = {};
    alias.GetWindowText(text, sizeof text);
    EXPECT_STREQ(text, "fremd");
  }
  EXPECT_TRUE(::IsWindow(h));
  EXPECT_EQ(TWindow::GetWindowPtr(h), nullptr);
  ::DestroyWindow(h);
}

class TColorParent : public TWindowPopup {
public:
  TBrush Brush{TColor(0, 128, 0)};
  uint SeenType = 99;
  TStatic* Label;
  TColorParent() { Label = new TStatic(this, 10, "Text", 0, 0, 80, 20); }
  HBRUSH EvCtlColor(HDC, HWND child, uint type) {
    SeenType = type;
    return child == Label->HWindow ? static_cast<HBRUSH>(Brush) : TWindow::EvCtlColor(nullptr, child, type);
  }
  DECLARE_RESPONSE_TABLE(TColorParent);
};
DEFINE_RESPONSE_TABLE1(TColorParent, TWindowPopup)
  EV_WM_CTLCOLOR,
END_RESPONSE_TABLE;

TEST(OwlWindow, ControlColourMessagesCarryTheControlType) {
  TColorParent w;
  ASSERT_TRUE(w.Create());
  TClientDC dc(w.Label->HWindow);
  const TResult r = w.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<TParam1>(dc.GetHDC()),
                                  reinterpret_cast<TParam2>(w.Label->HWindow));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(r), static_cast<HBRUSH>(w.Brush));
  EXPECT_EQ(w.SeenType, static_cast<uint>(CTLCOLOR_STATIC));
}

// The frame hands menu commands to its client window.
class TClient : public TWindow {
public:
  TClient() : TWindow(nullptr) {}
  std::vector<uint> Commands;
  void CmAny(uint id) { Commands.push_back(id); }
  DECLARE_RESPONSE_TABLE(TClient);
};
DEFINE_RESPONSE_TABLE1(TClient, TWindow)
  EV_COMMAND_RANGE(100, 221, CmAny),
END_RESPONSE_TABLE;

TEST(OwlFrame, MenuCommandsGoToTheClientAndTheClientFillsTheFrame) {
  auto* client = new TClient;
  TFrameWindow frame(nullptr, "Rahmen", client);
  frame.Attr.Style = WS_POPUP | WS_VISIBLE;
  frame.Attr.X = frame.Attr.Y = 0;
  frame.Attr.W = 300;
  frame.Attr.H = 200;
  frame.SetIcon(nullptr, IDI_APPLICATION);
  ASSERT_TRUE(frame.Create());
  ASSERT_NE(client->HWindow, nullptr);
  EXPECT_EQ(::GetParent(client->HWindow), frame.HWindow);
  EXPECT_EQ(client->GetClientRect(), frame.GetClientRect());
  EXPECT_NE(frame.SendMessage(WM_GETICON, ICON_BIG), 0);

  frame.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0));
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(221, 0));
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(222, 0));
  EXPECT_EQ(client->Commands, (std::vector<uint>{100, 221}));

  frame.MoveWindow(0, 0, 400, 250, true);
  EXPECT_EQ(client->GetClientRect(), frame.GetClientRect());
}

class TThrowing : public TWindowPopup {
public:
  TResult EvThrow(TParam1, TParam2) { throw std::runtime_error("kaputt"); }
  DECLARE_RESPONSE_TABLE(TThrowing);
};
DEFINE_RESPONSE_TABLE1(TThrowing, TWindowPopup)
  EV_MESSAGE(WM_THROW, EvThrow),
END_RESPONSE_TABLE;

TEST(OwlWindow, ExceptionsDoNotCrossTheWindowProcedureButReachTheCaller) {
  TThrowing w;
  ASSERT_TRUE(w.Create());
  EXPECT_THROW(w.SendMessage(WM_THROW), std::runtime_error);
  EXPECT_NO_THROW(w.SendMessage(WM_NULL));
  // Through the message loop: the loop rethrows after dispatching.
  w.PostMessage(WM_THROW);
  TMsgThread loop;
  EXPECT_THROW(loop.MessageLoop(), std::runtime_error);
  MSG m;
  ASSERT_TRUE(::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop posted its quit
  EXPECT_EQ(static_cast<int>(m.wParam), -1);
}

class TScrolled : public TWindowPopup {
public:
  TRect Painted;
  TScrolled() {
    Attr.Style |= WS_HSCROLL | WS_VSCROLL;
    Scroller = new TScroller(this, 1, 1, 200, 300);
  }
  void Paint(TDC& dc, bool, TRect& rect) override {
    Painted = rect;
    TBrush brush(TColor(0, 255, 0));
    dc.FillRect(TRect(150, 250, 160, 260), brush);  // in scrolled coordinates
  }
};

TEST(OwlScroller, ClampsScrollsAndShiftsThePainting) {
  TScrolled w;
  ASSERT_TRUE(w.Create());
  w.Scroller->ScrollTo(-5, 10000);
  EXPECT_EQ(w.Scroller->XPos, 0);
  EXPECT_EQ(w.Scroller->YPos, 300);
  w.Scroller->ScrollTo(140, 240);
  w.Invalidate();
  w.UpdateWindow();
  EXPECT_EQ(w.GetScrollPos(SB_HORZ), 140);
  EXPECT_EQ(w.Painted.left, 140);  // the paint rectangle is in scrolled coordinates
  EXPECT_EQ(ClientPixel(w, 15, 15), RGB(0, 255, 0));
}

TEST(OwlTooltip, ToolsAreAddedMovedAndRemoved) {
  TWindowPopup w;
  auto* tip = new TTooltip(&w);
  ASSERT_TRUE(w.Create());
  ASSERT_NE(tip->HWindow, nullptr);
  EXPECT_EQ(::GetWindow(tip->HWindow, GW_OWNER), w.HWindow);
  EXPECT_TRUE(tip->GetStyle() & TTS_ALWAYSTIP);
  char text[] = "Hilfe";
  TToolInfo info(w.HWindow, TRect(0, 0, 50, 20), 7, text);
  EXPECT_TRUE(tip->AddTool(info));
  EXPECT_EQ(tip->GetToolCount(), 1);
  info.SetToolRect(TRect(10, 10, 60, 30));
  tip->NewToolRect(info);
  TToolInfo probe(w.HWindow, TRect(), 7, nullptr);
  ASSERT_TRUE(tip->GetToolInfo(probe));
  EXPECT_EQ(TRect(probe.rect), TRect(10, 10, 60, 30));
  MSG m{};
  m.hwnd = w.HWindow;
  m.message = WM_MOUSEMOVE;
  m.lParam = MAKELPARAM(15, 15);
  tip->RelayEvent(m);
  tip->DeleteTool(info);
  EXPECT_EQ(tip->GetToolCount(), 0);
}

}  // namespace
