#include "platform/owl/framewin.h"

#include <vector>

#include "platform/owl/module.h"

DEFINE_RESPONSE_TABLE1(TFrameWindow, TWindow)
  EV_WM_SIZE,
  EV_WM_SETFOCUS,
  EV_WM_INITMENUPOPUP,
END_RESPONSE_TABLE;

namespace {

// Command enabling of one popup menu item.
class TMenuItemEnabler : public TCommandEnabler {
public:
  TMenuItemEnabler(HMENU menu, uint id, uint position) : TCommandEnabler(id), Menu(menu), Position(position) {}
  void Enable(bool enable) override {
    TCommandEnabler::Enable(enable);
    ::EnableMenuItem(Menu, Position, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
  }
  void SetCheck(int state) override {
    TCommandEnabler::SetCheck(state);
    ::CheckMenuItem(Menu, Position, MF_BYPOSITION | (state == Checked ? MF_CHECKED : MF_UNCHECKED));
  }
  void SetText(const char* text) override {
    TCommandEnabler::SetText(text);
    ::ModifyMenuA(Menu, Position, MF_BYPOSITION | MF_STRING, GetId(), text);
  }

private:
  HMENU Menu;
  uint Position;
};

}  // namespace

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd, bool shrinkToClient,
                           TModule* module)
    : TWindow(parent, title, module) {
  Attr.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  Attr.X = Attr.Y = Attr.W = Attr.H = CW_USEDEFAULT;
  if (shrinkToClient) SetFlag(wfShrinkToClient);
  SetClientWindow(clientWnd);
}

TWindow* TFrameWindow::SetClientWindow(TWindow* clientWnd) {
  TWindow* old = ClientWnd;
  if (old == clientWnd) return old;
  if (old) old->SetParent(nullptr);
  ClientWnd = clientWnd;
  if (ClientWnd) {
    ClientWnd->Attr.Style = (ClientWnd->Attr.Style | WS_CHILD) & ~WS_POPUP;
    ClientWnd->SetParent(this);
    ClientWnd->EnableAutoCreate();
    if (HWindow) {
      if (!ClientWnd->HWindow) ClientWnd->Create();
      SizeClient();
    }
  }
  return old;
}

bool TFrameWindow::AssignMenu(TResId menuResId) {
  Attr.Menu = menuResId;
  if (!HWindow) return true;
  HMENU menu = menuResId.IsNull() ? nullptr : GetModule()->LoadMenu(menuResId);
  if (!menuResId.IsNull() && !menu) return false;
  HMENU old = GetMenu();
  SetMenu(menu);
  if (old) ::DestroyMenu(old);
  DrawMenuBar();
  return true;
}

bool TFrameWindow::SetIcon(TModule* module, TResId resId) {
  HIcon = module ? module->LoadIcon(resId) : ::LoadIconA(nullptr, resId);
  if (HWindow) {
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<TParam2>(HIcon));
    if (!HIconSm) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<TParam2>(HIcon));
  }
  return HIcon != nullptr;
}

bool TFrameWindow::SetIconSm(TModule* module, TResId resId) {
  HIconSm = module ? module->LoadIcon(resId) : ::LoadIconA(nullptr, resId);
  if (HWindow) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<TParam2>(HIconSm));
  return HIconSm != nullptr;
}

void TFrameWindow::SetupWindow() {
  TWindow::SetupWindow();
  if (HIcon) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<TParam2>(HIcon));
  if (HIcon || HIconSm) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<TParam2>(HIconSm ? HIconSm : HIcon));
  SizeClient();
}

void TFrameWindow::SizeClient() {
  if (!HWindow || !ClientWnd || !ClientWnd->HWindow) return;
  if (IsFlagSet(wfShrinkToClient)) {
    // The frame takes the client's size.
    const TRect c = ClientWnd->GetWindowRect();
    TRect r(0, 0, c.Width(), c.Height());
    ::AdjustWindowRectEx(&r, GetStyle(), GetMenu() != nullptr, GetExStyle());
    SetWindowPos(nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ClientWnd->MoveWindow(0, 0, c.Width(), c.Height(), true);
    ClearFlag(wfShrinkToClient);
    return;
  }
  const TRect r = GetClientRect();
  ClientWnd->MoveWindow(0, 0, r.Width(), r.Height(), true);
}

void TFrameWindow::EvSize(uint sizeType, TSize& size) {
  TWindow::EvSize(sizeType, size);
  if (sizeType != SIZE_MINIMIZED && ClientWnd && ClientWnd->HWindow)
    ClientWnd->MoveWindow(0, 0, size.cx, size.cy, true);
}

void TFrameWindow::EvSetFocus(HWND hWndLostFocus) {
  if (ClientWnd && ClientWnd->HWindow && ClientWnd->IsWindowEnabled())
    ClientWnd->SetFocus();
  else
    TWindow::EvSetFocus(hWndLostFocus);
}

TResult TFrameWindow::EvCommand(uint id, HWND hWndCtl, uint notifyCode) {
  if (hWndCtl) return TWindow::EvCommand(id, hWndCtl, notifyCode);
  TResult result = 0;
  bool clientTried = false;
  const HWND focus = ::GetFocus();
  if (focus && HWindow && ::IsChild(HWindow, focus)) {
    for (HWND h = focus; h && h != HWindow; h = ::GetParent(h)) {
      TWindow* w = GetWindowPtr(h);
      if (!w) continue;
      if (w == ClientWnd) clientTried = true;
      if (w->HandleCommand(id, notifyCode, result)) return result;
    }
  }
  if (!clientTried && ClientWnd && ClientWnd->HWindow && ClientWnd->HandleCommand(id, notifyCode, result))
    return result;
  return TWindow::EvCommand(id, hWndCtl, notifyCode);
}

void TFrameWindow::EvCommandEnable(TCommandEnabler& ce) {
  bool clientTried = false;
  const HWND focus = ::GetFocus();
  if (focus && HWindow && ::IsChild(HWindow, focus)) {
    for (HWND h = focus; h && h != HWindow; h = ::GetParent(h)) {
      TWindow* w = GetWindowPtr(h);
      if (!w) continue;
      if (w == ClientWnd) clientTried = true;
      w->EvCommandEnable(ce);
      if (ce.WasHandled()) return;
    }
  }
  if (!clientTried && ClientWnd) {
    ClientWnd->EvCommandEnable(ce);
    if (ce.WasHandled()) return;
  }
  TWindow::EvCommandEnable(ce);
}

void TFrameWindow::EvInitMenuPopup(HMENU hPopup, uint index, bool sysMenu) {
  if (!sysMenu && hPopup) {
    const int count = ::GetMenuItemCount(hPopup);
    for (int i = 0; i < count; ++i) {
      const UINT id = ::GetMenuItemID(hPopup, i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and popups
      TMenuItemEnabler ce(hPopup, id, static_cast<uint>(i));
      EvCommandEnable(ce);
    }
  }
  TWindow::EvInitMenuPopup(hPopup, index, sysMenu);
}
