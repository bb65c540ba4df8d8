#include "platform/owl/notetab.h"

#include "platform/owl/color.h"

namespace {
// Below the row of tabs the control draws the top edge of its page area.
constexpr int kEdgeBelowTabs = 2;
}  // namespace

TNoteTab::TNoteTab(TWindow* parent, int id, int x, int y, int w, int h, TWindow* buddy, bool dialogBuddy,
                   TModule* module)
    : TControl(parent, id, nullptr, x, y, w, h, module),
      Buddy(buddy),
      DialogBuddy(dialogBuddy),
      FitToTabs(h == 0),
      Background(TColor::SysColorFlag | COLOR_BTNFACE) {
  // A click takes the focus, so the arrow keys move between the tabs.
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_FOCUSONBUTTONDOWN;
}

bool TNoteTab::Create() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
  return TControl::Create();
}

int TNoteTab::Add(const char* label, LPARAM clientData) {
  if (!HWindow) return -1;
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = const_cast<char*>(label ? label : "");
  item.lParam = clientData;
  const int at = static_cast<int>(SendMessage(TCM_INSERTITEMA, GetCount(), reinterpret_cast<TParam2>(&item)));
  FitHeight();
  return at;
}

LPARAM TNoteTab::GetClientData(int index) const {
  TCITEMA item{};
  item.mask = TCIF_PARAM;
  if (!SendMessage(TCM_GETITEMA, index, reinterpret_cast<TParam2>(&item))) return 0;
  return item.lParam;
}

void TNoteTab::SetBkgndColor(uint32_t colour) {
  Background = colour;
  if (HWindow) ::InvalidateRect(HWindow, nullptr, TRUE);
}

void TNoteTab::FitHeight() {
  if (!FitToTabs || !HWindow || GetCount() == 0) return;
  RECT tab{};
  if (!SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<TParam2>(&tab))) return;
  RECT r{};
  ::GetWindowRect(HWindow, &r);
  ::SetWindowPos(HWindow, nullptr, 0, 0, r.right - r.left, tab.bottom + kEdgeBelowTabs,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

TResult TNoteTab::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  if (msg == WM_ERASEBKGND) {
    RECT r{};
    ::GetClientRect(HWindow, &r);
    HBRUSH brush = ::CreateSolidBrush(TColor(Background));
    ::FillRect(reinterpret_cast<HDC>(p1), &r, brush);
    ::DeleteObject(brush);
    return 1;
  }
  const TResult r = TControl::WindowProc(msg, p1, p2);
  // A new font changes the height of the tabs.
  if (msg == WM_SETFONT) FitHeight();
  return r;
}
