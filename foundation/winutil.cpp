#include "foundation/winutil.h"

#include <vector>

#include "platform/owl/listbox.h"

int PumpMessagesCheckAbort(int32_t& abortFlag) {
  MSG msg;
  if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return 0;
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN)) abortFlag = 1;
  if (msg.message == WM_PAINT) {
    ::DispatchMessageA(&msg);
  } else if (msg.message == WM_QUIT) {
    // Dropping a quit would keep the program running after the operation.
    ::PostQuitMessage(static_cast<int>(msg.wParam));
  }
  return 1;
}

int PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}

bool IsShiftKeyDown() { return (::GetKeyState(VK_SHIFT) & 0x8000) != 0; }
bool IsCtrlKeyDown() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

void CenterWindow(HWND window, HWND reference) {
  if (!window) return;
  RECT w;
  if (!::GetWindowRect(window, &w)) return;
  RECT r{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (reference) ::GetWindowRect(reference, &r);
  const int left = r.left + ((r.right - r.left) - (w.right - w.left)) / 2;
  const int top = r.top + ((r.bottom - r.top) - (w.bottom - w.top)) / 2;
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FitSizeIntoBox(int width, int height, int boxWidth, int boxHeight, TSize& out) {
  int32_t w = 0, h = 0;
  const bool ok = FitSizeIntoBox(width, height, boxWidth, boxHeight, w, h);
  out = TSize(w, h);
  return ok;
}

bool GetDlgItemClientRect(HWND dialog, int controlId, TRect& out, bool destroy) {
  if (!dialog || !::IsWindow(dialog)) return false;
  HWND control = ::GetDlgItem(dialog, controlId);
  if (!control) return false;
  RECT r;
  ::GetWindowRect(control, &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  ::ScreenToClient(dialog, &corners[0]);
  ::ScreenToClient(dialog, &corners[1]);
  out = TRect(corners[0], corners[1]);
  if (destroy) ::DestroyWindow(control);
  return true;
}

bool GetStaticItemClientRect(HWND dialog, int controlId, TRect& out) {
  if (!dialog || !::IsWindow(dialog)) return false;
  HWND control = ::GetDlgItem(dialog, controlId);
  if (!control || !(::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_STATIC)) return false;
  return GetDlgItemClientRect(dialog, controlId, out, true);
}

void AddListItemWithData(TListBox* control, int, const char* text, uint32_t value) {
  if (!control) return;
  const int index = control->AddString(text ? text : "");
  if (index >= 0) control->SetItemData(index, static_cast<LPARAM>(value));
}

bool GetSelectedListText(TListBox* control, string& out) {
  if (!control) return false;
  const int index = control->GetSelIndex();
  if (index < 0) return false;
  const int len = control->GetStringLen(index);
  if (len < 0) return false;
  std::vector<char> text(static_cast<size_t>(len) + 1, '\0');
  control->GetString(text.data(), index);
  out = string(text.data());
  return true;
}

uint32_t GetTickCountMs() { return ::GetTickCount(); }
