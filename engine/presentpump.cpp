#include "engine/presentpump.h"

#include "actions/presentation.h"
#include "engine/bookstruct.h"
#include "engine/core/format/objectkinds.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/pageinput.h"
#include "platform/owl/applicat.h"
#include "platform/owl/framewin.h"
#include "platform/owl/msgthred.h"

namespace {

// A presentation runs: not editing, a project open with a loaded page.
TObjectManager* RunningPage() {
  if (EditMode) return nullptr;
  TBookStruct* book = GetOpenBook();
  if (!book || !book->ObjectManager || !book->ObjectManager->PageLoaded) return nullptr;
  return book->ObjectManager.get();
}

}  // namespace

bool PresentationMessageFilter(MSG& msg) {
  TObjectManager* page = RunningPage();
  if (!page) return false;
  if (msg.message == WM_KEYDOWN) {
    TBookStruct* book = GetOpenBook();
    const uint key = static_cast<uint>(msg.wParam);
    TObjectElement* focused = TObjectManager::FindObjectByWindow(page, msg.hwnd, false);
    const bool takesEnter = key == VK_RETURN && focused && ObjectKindHas(focused->GetKind(), kTakesEnter);
    if (!takesEnter && book->IsQuitKey(key) &&
        (TObjectManager::FindObjectByWindow(page, msg.hwnd, true) || IsPresentationWindow(book, msg.hwnd))) {
      TPageInput::EvKeyDown(page, key, LOWORD(msg.lParam), HIWORD(msg.lParam));
      return true;
    }
  }
  TPageInput::RouteMouseMessage(page, msg);
  return false;
}

void InstallPresentationRules() { TMsgThread::SetMessageFilter(&PresentationMessageFilter); }

void RemovePresentationRules() {
  if (TMsgThread::GetMessageFilter() == &PresentationMessageFilter) TMsgThread::SetMessageFilter(nullptr);
}
