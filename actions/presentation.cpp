#include "actions/presentation.h"

#include "engine/bookstruct.h"
#include "engine/deskframe.h"
#include "engine/objectwindow.h"
#include "platform/owl/applicat.h"
#include "platform/owl/framewin.h"

uint8_t SignalPageChildState = 1;

bool QuitPresentation(TBookStruct* book) {
  TObjectWindow* page = book ? book->PageWindow : nullptr;
  HWND pageHandle = page ? page->HWindow : nullptr;
  if (DeskFrame && page) {
    if (TWindow* frame = page->GetParentO()) {
      if (frame->GetParentO() == DeskFrame) {
        frame->SetParent(nullptr);
        if (frame->HWindow) {
          ::SetParent(frame->HWindow, nullptr);
          ::ShowWindow(frame->HWindow, SW_SHOW);
        }
      }
    }
  }
  if (!pageHandle) {
    ::PostQuitMessage(0);
    return true;
  }
  return ::PostMessageA(pageHandle, WM_QUIT, 0, 0) != 0;
}

bool IsPresentationWindow(TBookStruct*, HWND window) {
  if (!window) return false;
  if (DeskFrame) return DeskFrame->HWindow == window;
  TApplication* app = TApplication::GetApplicationObject();
  TFrameWindow* main = app ? app->GetMainWindow() : nullptr;
  return main && main->HWindow == window;
}

void SignalPageChild(TBookStruct* book, uint8_t state) {
  TObjectWindow* page = book ? book->PageWindow : nullptr;
  if (!page || !page->HWindow || !::IsWindow(page->HWindow)) return;
  TTooltip* tip = page->Tooltip;
  if (!tip || !tip->HWindow || !::IsWindow(tip->HWindow)) return;
  try {
    tip->SendMessage(TTM_ACTIVATE, state, 0);
  } catch (...) {
    // A failing child must not stop the page change.
  }
}
