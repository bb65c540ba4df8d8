#include "objects/pageinputforward.h"

#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/pageinput.h"

bool ForwardInputToPage(TObjectElement& object, HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
      break;
    default:
      return false;
  }
  result = ::DefWindowProcA(window, msg, wp, lp);
  PassInputToPage(object, msg, wp, lp);
  return true;
}

void PassInputToPage(TObjectElement& object, UINT msg, WPARAM wp, LPARAM lp) {
  TBookStruct* book = GetOpenBook();
  TObjectManager* page = book ? book->ObjectManager.get() : nullptr;
  if (!page) return;
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP) {
    const uint key = static_cast<uint>(wp), repeat = LOWORD(lp), flags = HIWORD(lp);
    if (msg == WM_KEYDOWN) TPageInput::EvKeyDown(page, key, repeat, flags);
    if (msg == WM_SYSKEYDOWN) TPageInput::EvSysKeyDown(page, key, repeat, flags);
    if (msg == WM_KEYUP) TPageInput::EvKeyUp(page, key, repeat, flags);
    return;
  }
  TPoint p(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
  object.ClientToPage(p);
  const uint32_t keys = static_cast<uint32_t>(wp);
  if (msg == WM_LBUTTONDOWN) TPageInput::EvLButtonDown(page, keys, p);
  if (msg == WM_LBUTTONUP) TPageInput::EvLButtonUp(page, keys, p);
  if (msg == WM_LBUTTONDBLCLK) TPageInput::EvLButtonDblClk(page, keys, p);
  if (msg == WM_MOUSEMOVE) TPageInput::EvMouseMove(page, keys, p);
}
