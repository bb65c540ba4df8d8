#include "platform/owl/window.h"

#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <typeinfo>

#include "platform/owl/applicat.h"
#include "platform/owl/control.h"
#include "platform/owl/dc.h"
#include "platform/owl/framewin.h"
#include "platform/owl/module.h"
#include "platform/owl/scroller.h"
#include "platform/owl/uiservice.h"

namespace {

// The object of a window, and the procedure a subclassed window had before.
const char kObjectProp[] = "TslOwlObject";
const char kProcProp[] = "TslOwlProc";

// The object whose window is being created on this thread; the window
// procedure binds it at the window's first message.
thread_local TWindow* CreationWindow = nullptr;

std::mutex ClassMutex;
std::set<std::string>& OwnClasses() {
  static std::set<std::string> names;
  return names;
}
bool IsOwnClass(const char* name) {
  std::lock_guard<std::mutex> lock(ClassMutex);
  return OwnClasses().count(name) != 0;
}

char* CopyText(const char* s) {
  if (!s) return nullptr;
  const size_t n = std::strlen(s);
  char* c = new char[n + 1];
  std::memcpy(c, s, n + 1);
  return c;
}

}  // namespace

bool TEventHandler::SearchEntries(const TResponseTableEntry* e, TEventInfo& info, void* object) {
  for (; e->Kind != TEntryKind::End; ++e) {
    bool match = false;
    switch (info.Kind) {
      case TEntryKind::Message:
        match = e->Kind == TEntryKind::Message && e->Msg == info.Msg;
        break;
      case TEntryKind::Command:
      case TEntryKind::CommandEnable:
        match = e->Kind == info.Kind && info.Id >= e->Id && info.Id <= e->IdLast;
        break;
      case TEntryKind::ChildNotify:
        match = (e->Kind == TEntryKind::ChildNotify && e->Id == info.Id && e->Code == info.Code) ||
                (e->Kind == TEntryKind::ChildNotifyAllCodes && e->Id == info.Id);
        break;
      case TEntryKind::NotifyAtChild:
        match = e->Kind == TEntryKind::NotifyAtChild && e->Code == info.Code;
        break;
      case TEntryKind::Notify:
        match = e->Kind == TEntryKind::Notify && e->Id == info.Id && e->Code == info.Code;
        break;
      default:
        break;
    }
    if (match) {
      info.Entry = e;
      info.Object = object;
      return true;
    }
  }
  return false;
}

DEFINE_RESPONSE_TABLE(TWindow)
  EV_WM_CREATE,
  EV_WM_PAINT,
  EV_WM_SIZE,
  EV_WM_HSCROLL,
  EV_WM_VSCROLL,
  EV_WM_CLOSE,
  EV_WM_SETCURSOR,
  EV_WM_DRAWITEM,
  EV_WM_MEASUREITEM,
  EV_WM_COMPAREITEM,
  EV_WM_DELETEITEM,
END_RESPONSE_TABLE;

// ---- window procedures ----

LRESULT CALLBACK OwlWindowProc(HWND hWnd, UINT msg, WPARAM p1, LPARAM p2) {
  TWindow* w = TWindow::GetWindowPtr(hWnd);
  if (!w) {
    // A window of ours whose object went away keeps its old procedure.
    if (auto old = reinterpret_cast<WNDPROC>(GetPropA(hWnd, kProcProp))) {
      if (msg == WM_NCDESTROY) RemovePropA(hWnd, kProcProp);
      return CallWindowProcA(old, hWnd, msg, p1, p2);
    }
    if (msg == WM_GETMINMAXINFO || msg == WM_NCCREATE || msg == WM_NCCALCSIZE || msg == WM_CREATE)
      w = TWindow::TakeCreationWindow();
    if (!w) return DefWindowProcA(hWnd, msg, p1, p2);
    w->Attach(hWnd);
  }
  return w->ReceiveMessage(msg, p1, p2);
}

// Dialog windows: the object is bound at the dialog's first message and the
// dialog is subclassed, so from then on every message reaches the object
// before the dialog manager; this procedure then only answers "not handled".
INT_PTR CALLBACK OwlDialogProc(HWND hWnd, UINT msg, WPARAM p1, LPARAM p2) {
  if (TWindow::GetWindowPtr(hWnd)) return FALSE;
  TWindow* w = TWindow::TakeCreationWindow();
  if (!w) return FALSE;
  w->SetFlag(wfDialog);
  w->Attach(hWnd);
  // This first message came through the dialog manager, not the subclass:
  // answer it the dialog procedure's way.
  const TResult r = w->ReceiveMessage(msg, p1, p2);
  switch (msg) {
    case WM_INITDIALOG:
      return r ? TRUE : FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return static_cast<INT_PTR>(r);
    default:
      if (::IsWindow(hWnd)) ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, r);
      return TRUE;
  }
}

TWindow* TWindow::TakeCreationWindow() {
  TWindow* w = CreationWindow;
  CreationWindow = nullptr;
  return w;
}

void TWindow::SetCreationWindow(TWindow* w) { CreationWindow = w; }

TWindow* TWindow::GetWindowPtr(HWND hWnd) {
  if (!hWnd) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(hWnd, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWindow*>(GetPropA(hWnd, kObjectProp));
}

// ---- construction ----

TWindow::TWindow(TWindow* parent, const char* title, TModule* module) { Init(parent, title, module); }

TWindow::TWindow(HWND hWnd, TModule* module) {
  Init(nullptr, nullptr, module);
  SetFlag(wfAlias);
  if (hWnd && ::IsWindow(hWnd)) {
    Attach(hWnd);
    Attr.Style = static_cast<uint32_t>(::GetWindowLongA(hWnd, GWL_STYLE));
    Attr.ExStyle = static_cast<uint32_t>(::GetWindowLongA(hWnd, GWL_EXSTYLE));
    Attr.Id = ::GetDlgCtrlID(hWnd);
    SetFlag(wfFullyCreated);
  }
}

void TWindow::Init(TWindow* parent, const char* title, TModule* module) {
  Module = module;
  Title = CopyText(title);
  Attr.Style = WS_CHILD | WS_VISIBLE;
  if (parent) {
    Parent = parent;
    parent->AddChild(this);
    EnableAutoCreate();
  }
}

TWindow::~TWindow() {
  *Alive = false;
  if (HWindow) {
    const HWND h = HWindow;
    const bool destroy = !IsFlagSet(wfAlias);
    // No message reaches the half-destroyed object any more.
    Detach();
    if (destroy && ::IsWindow(h)) ::DestroyWindow(h);
  }
  while (!Children.empty()) delete Children.back();
  if (Parent) Parent->RemoveChild(this);
  if (TApplication* app = TApplication::GetApplicationObject()) {
    if (app->GetMainWindow() && static_cast<TWindow*>(app->GetMainWindow()) == this) app->SetMainWindow(nullptr);
  }
  delete Scroller;
  delete[] Title;
}

void TWindow::AddChild(TWindow* child) { Children.push_back(child); }

void TWindow::RemoveChild(TWindow* child) {
  for (auto it = Children.begin(); it != Children.end(); ++it) {
    if (*it == child) {
      Children.erase(it);
      return;
    }
  }
}

void TWindow::SetParent(TWindow* newParent) {
  if (newParent == Parent) return;
  if (Parent) Parent->RemoveChild(this);
  Parent = newParent;
  if (Parent) Parent->AddChild(this);
  // Without a new parent window the window stays where it is.
  if (HWindow && Parent && Parent->HWindow) ::SetParent(HWindow, Parent->HWindow);
}

TWindow* TWindow::ChildWithId(int id) const {
  for (TWindow* c : Children)
    if (c->GetId() == id) return c;
  return nullptr;
}

TWindow* TWindow::ChildObject(HWND hWnd, uint id) const {
  if (hWnd) {
    if (TWindow* w = GetWindowPtr(hWnd)) return w;
  }
  for (TWindow* c : Children)
    if (static_cast<uint>(c->Attr.Id) == id) return c;
  return nullptr;
}

TModule* TWindow::GetModule() const {
  if (Module) return Module;
  if (TApplication* app = TApplication::GetApplicationObject()) return app;
  return &GetProgramModule();
}

TApplication* TWindow::GetApplication() const { return TApplication::GetApplicationObject(); }

// ---- binding ----

void TWindow::Attach(HWND hWnd) {
  HWindow = hWnd;
  if (GetPropA(hWnd, kObjectProp)) return;  // another object has it
  SetPropA(hWnd, kObjectProp, this);
  OwnsAttachment = true;
  const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
  if (current != OwlWindowProc) {
    DefaultProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwlWindowProc)));
    SetPropA(hWnd, kProcProp, reinterpret_cast<HANDLE>(DefaultProc));
    Subclassed = true;
    if (!IsFlagSet(wfDialog)) SetFlag(wfPredefinedClass);
  } else {
    DefaultProc = nullptr;
  }
}

void TWindow::Detach() {
  if (!HWindow) return;
  if (OwnsAttachment) {
    if (Subclassed &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(HWindow, GWLP_WNDPROC)) == OwlWindowProc) {
      ::SetWindowLongPtrA(HWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefaultProc));
      RemovePropA(HWindow, kProcProp);
    }
    RemovePropA(HWindow, kObjectProp);
  }
  Subclassed = false;
  OwnsAttachment = false;
  HWindow = nullptr;
  DefaultProc = nullptr;
  ClearFlag(wfFullyCreated | wfSettingUp);
}

// ---- creation ----

const char* TWindow::GetClassName() {
  if (ClassNameBuf.empty()) {
    ClassNameBuf = std::string("Owl_") + typeid(*this).name();
    if (ClassNameBuf.size() > 250) ClassNameBuf.resize(250);
  }
  return ClassNameBuf.c_str();
}

void TWindow::GetWindowClass(WNDCLASSA& wc) {
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = OwlWindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = GetModule()->GetInstance();
  wc.hIcon = nullptr;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = GetClassName();
}

bool TWindow::Register() {
  const char* name = GetClassName();
  const HINSTANCE inst = GetModule()->GetInstance();
  WNDCLASSA wc;
  if (::GetClassInfoA(inst, name, &wc) || ::GetClassInfoA(nullptr, name, &wc)) return true;
  std::memset(&wc, 0, sizeof wc);
  GetWindowClass(wc);
  wc.lpszClassName = name;
  if (!::RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  if (wc.lpfnWndProc == OwlWindowProc) {
    std::lock_guard<std::mutex> lock(ClassMutex);
    OwnClasses().insert(name);
  }
  return true;
}

bool TWindow::Create() {
  if (HWindow) return true;
  if (IsFlagSet(wfFromResource)) return BindToDialogItem();
  HWND parentH = nullptr;
  if (Parent) {
    if (!Parent->HWindow) return false;
    parentH = Parent->HWindow;
  }
  if (!Register()) return false;
  const char* cls = GetClassName();
  const HINSTANCE inst = GetModule()->GetInstance();
  HMENU menu = nullptr;
  bool ownMenu = false;
  if (Attr.Style & WS_CHILD) {
    menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(Attr.Id));
  } else if (!Attr.Menu.IsNull()) {
    menu = ::LoadMenuA(inst, Attr.Menu);
    ownMenu = menu != nullptr;
  }
  if (!Attr.AccelTable.IsNull() && !HAccel) HAccel = ::LoadAcceleratorsA(inst, Attr.AccelTable);

  const bool own = IsOwnClass(cls);
  TWindow* previous = CreationWindow;
  if (own) CreationWindow = this;
  HWND h = ::CreateWindowExA(Attr.ExStyle, cls, Title, Attr.Style, Attr.X, Attr.Y, Attr.W, Attr.H, parentH, menu,
                             inst, Attr.Param);
  CreationWindow = previous;
  if (!h) {
    if (ownMenu) ::DestroyMenu(menu);
    if (HWindow && !::IsWindow(HWindow)) Detach();
    return false;
  }
  if (!HWindow) Attach(h);
  PerformSetup();
  return true;
}

bool TWindow::BindToDialogItem() {
  if (HWindow) return true;
  if (!Parent || !Parent->HWindow) return false;
  HWND h = ::GetDlgItem(Parent->HWindow, Attr.Id);
  if (!h) return false;
  Attach(h);
  Attr.Style = static_cast<uint32_t>(::GetWindowLongA(h, GWL_STYLE));
  PerformSetup();
  return true;
}

void TWindow::PerformSetup() {
  if (!HWindow || IsFlagSet(wfFullyCreated | wfSettingUp)) return;
  SetFlag(wfSettingUp);
  SetupWindow();
  ClearFlag(wfSettingUp);
  if (HWindow) SetFlag(wfFullyCreated);
}

void TWindow::SetupWindow() {
  if (Scroller) {
    Scroller->SetPageSize();
    Scroller->SetSBarRange();
  }
  CreateChildren();
}

void TWindow::CreateChildren() {
  const auto copy = Children;
  for (TWindow* c : copy) {
    if (c->HWindow) continue;
    if (c->IsFlagSet(wfFromResource))
      c->BindToDialogItem();
    else if (c->IsFlagSet(wfAutoCreate))
      c->Create();
  }
}

void TWindow::CleanupWindow() {}

bool TWindow::CanClose() {
  const auto copy = Children;
  for (TWindow* c : copy)
    if (c->HWindow && !c->CanClose()) return false;
  return true;
}

void TWindow::CloseWindow(int retVal) {
  if (CanClose()) Destroy(retVal);
}

void TWindow::Destroy(int) {
  if (HWindow) ::DestroyWindow(HWindow);
}

void TWindow::ShutDownWindow(int retVal) {
  Destroy(retVal);
  delete this;
}

bool TWindow::PreProcessMsg(MSG& msg) {
  return HAccel && HWindow && ::TranslateAcceleratorA(HWindow, HAccel, &msg);
}

bool TWindow::IdleAction(long idleCount) {
  bool more = false;
  const auto copy = Children;
  for (TWindow* c : copy)
    if (c->IdleAction(idleCount)) more = true;
  return more;
}

void TWindow::Paint(TDC&, bool, TRect&) {}

// ---- message handling ----

TResult TWindow::ReceiveMessage(uint msg, TParam1 p1, TParam2 p2) {
  const std::shared_ptr<bool> alive = Alive;
  const TCurrentEvent saved = CurrentEvent;
  CurrentEvent = TCurrentEvent{msg, p1, p2, true};
  TResult result = 0;
  try {
    if (msg == WM_DESTROY) CleanupWindow();
    result = WindowProc(msg, p1, p2);
  } catch (...) {
    TMsgThread::SuspendThrow(std::current_exception());
  }
  if (!*alive) return result;
  CurrentEvent = saved;
  if (msg == WM_DESTROY && IsFlagSet(wfMainWindow)) ::PostQuitMessage(0);
  if (msg == WM_NCDESTROY) {
    const HWND h = HWindow;
    Detach();
    if (h) RemovePropA(h, kProcProp);
  }
  return result;
}

TResult TWindow::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  switch (msg) {
    case WM_COMMAND: {
      TEventInfo raw(WM_COMMAND);
      if (Find(raw)) return Dispatch(raw, p1, p2);
      return EvCommand(LOWORD(p1), reinterpret_cast<HWND>(p2), HIWORD(p1));
    }
    case WM_NOTIFY: {
      TEventInfo raw(WM_NOTIFY);
      if (Find(raw)) return Dispatch(raw, p1, p2);
      auto* hdr = reinterpret_cast<NMHDR*>(p2);
      return EvNotify(static_cast<uint>(hdr->idFrom), *hdr);
    }
    case WM_INITDIALOG:
      return EvInitDialog(reinterpret_cast<HWND>(p1)) ? TRUE : FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      TEventInfo ei(WM_CTLCOLOR);
      if (!Find(ei)) break;
      owl_dispatch::TCtlColorArgs args{reinterpret_cast<HDC>(p1), reinterpret_cast<HWND>(p2), msg - WM_CTLCOLORMSGBOX};
      return Dispatch(ei, p1, reinterpret_cast<TParam2>(&args));
    }
    default:
      break;
  }
  TEventInfo ei(msg);
  if (Find(ei)) return Dispatch(ei, p1, p2);
  return DefaultProcessing();
}

TResult TWindow::DefaultProcessing() {
  if (!CurrentEvent.Valid || !HWindow) return 0;
  return DefWindowProc(CurrentEvent.Msg, CurrentEvent.P1, CurrentEvent.P2);
}

TResult TWindow::DefWindowProc(uint msg, TParam1 p1, TParam2 p2) {
  if (!HWindow) return 0;
  if (DefaultProc) return ::CallWindowProcA(DefaultProc, HWindow, msg, p1, p2);
  return ::DefWindowProcA(HWindow, msg, p1, p2);
}

bool TWindow::HandleCommand(uint id, uint notifyCode, TResult& result) {
  TEventInfo ei = TEventInfo::Command(id);
  if (!Find(ei)) return false;
  const TCurrentEvent saved = CurrentEvent;
  CurrentEvent = TCurrentEvent{WM_COMMAND, MAKEWPARAM(id, notifyCode), 0, true};
  const std::shared_ptr<bool> alive = Alive;
  result = Dispatch(ei, MAKEWPARAM(id, notifyCode), 0);
  if (*alive) CurrentEvent = saved;
  return true;
}

TResult TWindow::EvCommand(uint id, HWND hWndCtl, uint notifyCode) {
  const TParam1 p1 = MAKEWPARAM(id, notifyCode);
  const TParam2 p2 = reinterpret_cast<TParam2>(hWndCtl);
  if (hWndCtl) {
    // The control object may handle its own notification; then this
    // window's entry for the id and code; a click is also the command of
    // the button's id.
    TWindow* child = GetWindowPtr(hWndCtl);
    if (child && child != this) {
      TEventInfo ci = TEventInfo::NotifyAtChild(notifyCode);
      if (child->Find(ci)) return Dispatch(ci, p1, p2);
    }
    TEventInfo ni = TEventInfo::ChildNotify(id, notifyCode);
    if (Find(ni)) return Dispatch(ni, p1, p2);
    if (notifyCode == BN_CLICKED) {
      TEventInfo ci = TEventInfo::Command(id);
      if (Find(ci)) return Dispatch(ci, p1, p2);
    }
    return DefaultProcessing();
  }
  TEventInfo ci = TEventInfo::Command(id);
  if (Find(ci)) return Dispatch(ci, p1, p2);
  return DefaultProcessing();
}

void TWindow::EvCommandEnable(TCommandEnabler& ce) {
  TEventInfo ei = TEventInfo::CommandEnable(ce.GetId());
  if (Find(ei)) Dispatch(ei, 0, reinterpret_cast<TParam2>(&ce));
}

TResult TWindow::EvNotify(uint id, NMHDR& info) {
  TEventInfo ei = TEventInfo::Notify(id, info.code);
  if (Find(ei)) return Dispatch(ei, static_cast<TParam1>(id), reinterpret_cast<TParam2>(&info));
  return DefaultProcessing();
}

bool TWindow::EvInitDialog(HWND) {
  PerformSetup();
  return true;
}

// ---- default handlers ----

void TWindow::EvActivate(uint, bool, HWND) { DefaultProcessing(); }
void TWindow::EvActivateApp(bool, DWORD) { DefaultProcessing(); }
void TWindow::EvCaptureChanged(HWND) { DefaultProcessing(); }
void TWindow::EvChar(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvDeadChar(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvDestroy() { DefaultProcessing(); }
void TWindow::EvEnable(bool) { DefaultProcessing(); }
bool TWindow::EvEraseBkgnd(HDC) { return DefaultProcessing() != 0; }
uint TWindow::EvGetDlgCode(MSG*) { return static_cast<uint>(DefaultProcessing()); }
HFONT TWindow::EvGetFont() { return reinterpret_cast<HFONT>(DefaultProcessing()); }
void TWindow::EvGetMinMaxInfo(MINMAXINFO&) { DefaultProcessing(); }
void TWindow::EvInitMenuPopup(HMENU, uint, bool) { DefaultProcessing(); }
void TWindow::EvKeyDown(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvKeyUp(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvKillFocus(HWND) { DefaultProcessing(); }
void TWindow::EvLButtonDblClk(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonDown(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonUp(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvMButtonDblClk(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvMButtonDown(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvMButtonUp(uint, TPoint&) { DefaultProcessing(); }
uint TWindow::EvMouseActivate(HWND, uint, uint) { return static_cast<uint>(DefaultProcessing()); }
void TWindow::EvMouseMove(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvMouseWheel(uint, int, TPoint&) { DefaultProcessing(); }
void TWindow::EvMove(TPoint&) { DefaultProcessing(); }
void TWindow::EvNCDestroy() { DefaultProcessing(); }
uint TWindow::EvNCHitTest(TPoint&) { return static_cast<uint>(DefaultProcessing()); }
void TWindow::EvPaletteChanged(HWND) { DefaultProcessing(); }
bool TWindow::EvQueryNewPalette() { return DefaultProcessing() != 0; }
void TWindow::EvRButtonDblClk(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonDown(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonUp(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvSetFocus(HWND) { DefaultProcessing(); }
void TWindow::EvSetFont(HFONT, bool) { DefaultProcessing(); }
void TWindow::EvShowWindow(bool, uint) { DefaultProcessing(); }
void TWindow::EvSysChar(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvSysCommand(uint, TPoint&) { DefaultProcessing(); }
void TWindow::EvSysKeyDown(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvSysKeyUp(uint, uint, uint) { DefaultProcessing(); }
void TWindow::EvTimer(uint) { DefaultProcessing(); }
void TWindow::EvWindowPosChanged(WINDOWPOS&) { DefaultProcessing(); }
void TWindow::EvWindowPosChanging(WINDOWPOS&) { DefaultProcessing(); }
HBRUSH TWindow::EvCtlColor(HDC, HWND, uint) { return reinterpret_cast<HBRUSH>(DefaultProcessing()); }

void TWindow::EvClose() {
  if (IsFlagSet(wfMainWindow)) {
    TApplication* app = GetApplication();
    if (!app || app->CanClose()) Destroy();
  } else {
    CloseWindow();
  }
}

int TWindow::EvCreate(CREATESTRUCTA&) {
  PerformSetup();
  return static_cast<int>(DefaultProcessing());
}

void TWindow::EvPaint() {
  if (IsFlagSet(wfAlias) || IsFlagSet(wfPredefinedClass)) {
    DefaultProcessing();
    return;
  }
  TPaintDC dc(HWindow);
  TRect rect(dc.Ps.rcPaint);
  if (Scroller) Scroller->BeginView(dc, rect);
  Paint(dc, dc.Ps.fErase != 0, rect);
  if (Scroller) Scroller->EndView();
}

void TWindow::EvSize(uint sizeType, TSize&) {
  if (Scroller && sizeType != SIZE_MINIMIZED) {
    Scroller->SetPageSize();
    Scroller->SetSBarRange();
  }
  DefaultProcessing();
}

void TWindow::EvHScroll(uint scrollCode, uint thumbPos, HWND hWndCtl) {
  if (!hWndCtl && Scroller)
    Scroller->HScroll(scrollCode, static_cast<int>(thumbPos));
  else
    DefaultProcessing();
}

void TWindow::EvVScroll(uint scrollCode, uint thumbPos, HWND hWndCtl) {
  if (!hWndCtl && Scroller)
    Scroller->VScroll(scrollCode, static_cast<int>(thumbPos));
  else
    DefaultProcessing();
}

bool TWindow::EvSetCursor(HWND hWndCursor, uint hitTest, uint) {
  if (HCursor && hitTest == HTCLIENT && hWndCursor == HWindow) {
    ::SetCursor(HCursor);
    return true;
  }
  return DefaultProcessing() != 0;
}

void TWindow::EvDrawItem(uint ctrlId, DRAWITEMSTRUCT& info) {
  if (info.CtlType != ODT_MENU) {
    if (auto* c = dynamic_cast<TControl*>(ChildObject(info.hwndItem, ctrlId))) {
      c->DrawItem(info);
      return;
    }
  }
  DefaultProcessing();
}

void TWindow::EvMeasureItem(uint ctrlId, MEASUREITEMSTRUCT& info) {
  if (info.CtlType != ODT_MENU) {
    if (auto* c = dynamic_cast<TControl*>(ChildObject(nullptr, ctrlId))) {
      c->MeasureItem(info);
      return;
    }
  }
  DefaultProcessing();
}

int TWindow::EvCompareItem(uint ctrlId, COMPAREITEMSTRUCT& info) {
  if (auto* c = dynamic_cast<TControl*>(ChildObject(info.hwndItem, ctrlId))) return c->CompareItem(info);
  return static_cast<int>(DefaultProcessing());
}

void TWindow::EvDeleteItem(uint ctrlId, DELETEITEMSTRUCT& info) {
  if (auto* c = dynamic_cast<TControl*>(ChildObject(info.hwndItem, ctrlId))) {
    c->DeleteItem(info);
    return;
  }
  DefaultProcessing();
}

// ---- window operations ----

TResult TWindow::SendMessage(uint msg, TParam1 p1, TParam2 p2) const {
  // A handler's exception from this very call reaches the caller; one left
  // from an earlier message waits for the loop.
  const bool pending = TMsgThread::HasSuspended();
  const TResult r = ::SendMessageA(HWindow, msg, p1, p2);
  if (!pending) TMsgThread::ResumeThrow();
  return r;
}

bool TWindow::PostMessage(uint msg, TParam1 p1, TParam2 p2) const {
  return ::PostMessageA(HWindow, msg, p1, p2) != 0;
}

TResult TWindow::SendDlgItemMessage(int childId, uint msg, TParam1 p1, TParam2 p2) const {
  return ::SendDlgItemMessageA(HWindow, childId, msg, p1, p2);
}

bool TWindow::Show(int cmdShow) {
  if (HWindow) return ::ShowWindow(HWindow, cmdShow) != 0;
  if (cmdShow == SW_HIDE)
    Attr.Style &= ~WS_VISIBLE;
  else
    Attr.Style |= WS_VISIBLE;
  return false;
}

void TWindow::Invalidate(bool erase) const { ::InvalidateRect(HWindow, nullptr, erase); }
void TWindow::InvalidateRect(const TRect& rect, bool erase) const { ::InvalidateRect(HWindow, &rect, erase); }
void TWindow::InvalidateRgn(HRGN rgn, bool erase) const { ::InvalidateRgn(HWindow, rgn, erase); }
void TWindow::Validate() const { ::ValidateRect(HWindow, nullptr); }
void TWindow::ValidateRect(const TRect& rect) const { ::ValidateRect(HWindow, &rect); }
void TWindow::UpdateWindow() const { ::UpdateWindow(HWindow); }

bool TWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  if (!HWindow) {
    Attr.X = x;
    Attr.Y = y;
    Attr.W = w;
    Attr.H = h;
    return true;
  }
  return ::MoveWindow(HWindow, x, y, w, h, repaint) != 0;
}

bool TWindow::SetWindowPos(HWND after, int x, int y, int w, int h, uint flags) {
  if (!HWindow) {
    if (!(flags & SWP_NOMOVE)) {
      Attr.X = x;
      Attr.Y = y;
    }
    if (!(flags & SWP_NOSIZE)) {
      Attr.W = w;
      Attr.H = h;
    }
    return true;
  }
  return ::SetWindowPos(HWindow, after, x, y, w, h, flags) != 0;
}

void TWindow::GetClientRect(TRect& rect) const {
  rect.SetNull();
  if (HWindow) ::GetClientRect(HWindow, &rect);
}

TRect TWindow::GetClientRect() const {
  TRect r;
  GetClientRect(r);
  return r;
}

void TWindow::GetWindowRect(TRect& rect) const {
  rect.SetNull();
  if (HWindow) ::GetWindowRect(HWindow, &rect);
}

TRect TWindow::GetWindowRect() const {
  TRect r;
  GetWindowRect(r);
  return r;
}

void TWindow::ClientToScreen(TPoint& p) const { ::ClientToScreen(HWindow, &p); }
void TWindow::ScreenToClient(TPoint& p) const { ::ScreenToClient(HWindow, &p); }
void TWindow::MapWindowPoints(HWND to, POINT* points, int count) const {
  ::MapWindowPoints(HWindow, to, points, static_cast<UINT>(count));
}

void TWindow::SetCaption(const char* title) {
  if (title != Title) {
    char* copy = CopyText(title);
    delete[] Title;
    Title = copy;
  }
  if (HWindow) ::SetWindowTextA(HWindow, Title ? Title : "");
}

void TWindow::SetWindowText(const char* text) { ::SetWindowTextA(HWindow, text); }
int TWindow::GetWindowText(char* buffer, int size) const { return ::GetWindowTextA(HWindow, buffer, size); }
int TWindow::GetWindowTextLength() const { return ::GetWindowTextLengthA(HWindow); }

uint TWindow::SetTimer(uint timerId, uint timeout, TIMERPROC proc) {
  return static_cast<uint>(::SetTimer(HWindow, timerId, timeout, proc));
}

bool TWindow::KillTimer(uint timerId) { return ::KillTimer(HWindow, timerId) != 0; }

int TWindow::MessageBox(const char* text, const char* caption, uint type) const {
  if (!caption) {
    const TApplication* app = GetApplication();
    caption = app && app->GetName() ? app->GetName() : "";
  }
  return GetUiService().Message(HWindow, text, caption, type);
}

HWND TWindow::SetFocus() { return ::SetFocus(HWindow); }
void TWindow::SetCapture() { ::SetCapture(HWindow); }
bool TWindow::EnableWindow(bool enable) { return ::EnableWindow(HWindow, enable) != 0; }
bool TWindow::IsWindowEnabled() const { return ::IsWindowEnabled(HWindow) != 0; }
bool TWindow::IsWindowVisible() const { return ::IsWindowVisible(HWindow) != 0; }
bool TWindow::IsIconic() const { return ::IsIconic(HWindow) != 0; }
bool TWindow::IsZoomed() const { return ::IsZoomed(HWindow) != 0; }

uint32_t TWindow::GetStyle() const {
  return HWindow ? static_cast<uint32_t>(::GetWindowLongA(HWindow, GWL_STYLE)) : Attr.Style;
}

uint32_t TWindow::SetStyle(uint32_t style) {
  const uint32_t old = GetStyle();
  Attr.Style = style;
  if (HWindow) ::SetWindowLongA(HWindow, GWL_STYLE, static_cast<LONG>(style));
  return old;
}

bool TWindow::ModifyStyle(uint32_t remove, uint32_t add, uint swpFlags) {
  const uint32_t old = GetStyle();
  const uint32_t style = (old & ~remove) | add;
  if (style == old) return false;
  SetStyle(style);
  if (swpFlags && HWindow)
    ::SetWindowPos(HWindow, nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

uint32_t TWindow::GetExStyle() const {
  return HWindow ? static_cast<uint32_t>(::GetWindowLongA(HWindow, GWL_EXSTYLE)) : Attr.ExStyle;
}

uint32_t TWindow::SetExStyle(uint32_t style) {
  const uint32_t old = GetExStyle();
  Attr.ExStyle = style;
  if (HWindow) ::SetWindowLongA(HWindow, GWL_EXSTYLE, static_cast<LONG>(style));
  return old;
}

bool TWindow::ModifyExStyle(uint32_t remove, uint32_t add, uint swpFlags) {
  const uint32_t old = GetExStyle();
  const uint32_t style = (old & ~remove) | add;
  if (style == old) return false;
  SetExStyle(style);
  if (swpFlags && HWindow)
    ::SetWindowPos(HWindow, nullptr, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

LONG_PTR TWindow::GetWindowLongPtr(int index) const { return ::GetWindowLongPtrA(HWindow, index); }
LONG_PTR TWindow::SetWindowLongPtr(int index, LONG_PTR value) { return ::SetWindowLongPtrA(HWindow, index, value); }
int TWindow::GetId() const { return HWindow ? ::GetDlgCtrlID(HWindow) : Attr.Id; }
HWND TWindow::GetDlgItem(int childId) const { return ::GetDlgItem(HWindow, childId); }

uint TWindow::GetDlgItemText(int childId, char* text, int max) const {
  return ::GetDlgItemTextA(HWindow, childId, text, max);
}

void TWindow::SetDlgItemText(int childId, const char* text) const { ::SetDlgItemTextA(HWindow, childId, text); }

uint TWindow::GetDlgItemInt(int childId, bool* translated, bool isSigned) const {
  BOOL ok = FALSE;
  const uint v = ::GetDlgItemInt(HWindow, childId, &ok, isSigned);
  if (translated) *translated = ok != 0;
  return v;
}

void TWindow::SetDlgItemInt(int childId, uint value, bool isSigned) const {
  ::SetDlgItemInt(HWindow, childId, value, isSigned);
}

void TWindow::CheckDlgButton(int buttonId, uint check) { ::CheckDlgButton(HWindow, buttonId, check); }
uint TWindow::IsDlgButtonChecked(int buttonId) const { return ::IsDlgButtonChecked(HWindow, buttonId); }
HMENU TWindow::GetMenu() const { return ::GetMenu(HWindow); }
bool TWindow::SetMenu(HMENU menu) { return ::SetMenu(HWindow, menu) != 0; }
void TWindow::DrawMenuBar() const { ::DrawMenuBar(HWindow); }
HMENU TWindow::GetSystemMenu(bool revert) const { return ::GetSystemMenu(HWindow, revert); }

void TWindow::ScrollWindow(int dx, int dy, const TRect* scroll, const TRect* clip) {
  ::ScrollWindow(HWindow, dx, dy, scroll, clip);
}

int TWindow::ScrollWindowEx(int dx, int dy, const TRect* scroll, const TRect* clip, HRGN update, TRect* updateRect,
                            uint flags) {
  return ::ScrollWindowEx(HWindow, dx, dy, scroll, clip, update, updateRect, flags);
}

void TWindow::ShowScrollBar(int bar, bool show) { ::ShowScrollBar(HWindow, bar, show); }
void TWindow::SetScrollRange(int bar, int minPos, int maxPos, bool redraw) {
  ::SetScrollRange(HWindow, bar, minPos, maxPos, redraw);
}
void TWindow::GetScrollRange(int bar, int& minPos, int& maxPos) const {
  minPos = maxPos = 0;
  ::GetScrollRange(HWindow, bar, &minPos, &maxPos);
}
int TWindow::SetScrollPos(int bar, int pos, bool redraw) { return ::SetScrollPos(HWindow, bar, pos, redraw); }
int TWindow::GetScrollPos(int bar) const { return ::GetScrollPos(HWindow, bar); }

bool TWindow::SetCursor(TModule* module, TResId resId) {
  HCURSOR c = module ? module->LoadCursor(resId) : ::LoadCursorA(nullptr, resId);
  if (!c) return false;
  HCursor = c;
  if (HWindow) {
    TPoint p;
    ::GetCursorPos(&p);
    if (::WindowFromPoint(p) == HWindow) {
      ScreenToClient(p);
      if (GetClientRect().Contains(p)) ::SetCursor(c);
    }
  }
  return true;
}

bool TWindow::SetWindowRgn(HRGN rgn, bool redraw) { return ::SetWindowRgn(HWindow, rgn, redraw) != 0; }
void TWindow::SetRedraw(bool redraw) { ::SendMessageA(HWindow, WM_SETREDRAW, redraw, 0); }
bool TWindow::BringWindowToTop() { return ::BringWindowToTop(HWindow) != 0; }
HWND TWindow::SetActiveWindow() { return ::SetActiveWindow(HWindow); }
