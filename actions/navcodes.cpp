#include "actions/navcodes.h"

#include "actions/execservices.h"
#include "database/searchdialogs.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "objects/button.h"
#include "platform/owl/window.h"

namespace {
TObjectElement* FindTarget(TBookStruct* book, uint32_t target) {
  return book && book->ObjectManager ? book->ObjectManager->FindObjectById(target) : nullptr;
}
}  // namespace

void NavigationMediaFamily(TActionRun& run) {
  TBookNavigationHost host(run.Book);
  RunNavigationCode(run, host);
}

int TBookNavigationHost::PageCount() { return Book ? Book->GetPageCount() : 0; }
int TBookNavigationHost::CurrentPage() { return Book ? Book->CurrentPage : 0; }
int TBookNavigationHost::PreviousPage() { return Book ? Book->PreviousPage : -1; }
uint32_t TBookNavigationHost::ProjectOptions() { return Book ? Book->Info.Flags : 0; }
int TBookNavigationHost::FindPageIndex(uint32_t number) { return Book ? Book->FindPageIndex(number) : -1; }

void TBookNavigationHost::GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) {
  // The page's start effects and a history step; the page change checks
  // the index.
  if (Book) Book->GotoPage(index, 1, -1, 1, std::move(chained));
}

void TBookNavigationHost::MediaCommand(uint32_t target, int command, uint32_t argument) {
  if (TObjectElement* o = FindTarget(Book, target)) o->MediaControl(command, argument);
}

void TBookNavigationHost::PressButton(uint32_t target) {
  TObjectElement* o = FindTarget(Book, target);
  auto* button = dynamic_cast<TButtonItem*>(o);
  if (!button) return;
  // Key state 6: only the pressed state and its drawing change.
  const TPoint origin(0, 0);
  button->EvMouseDown(6, origin);
  button->EvMouseUp(6, origin);
}

void TBookNavigationHost::Quit() { QuitPresentation(Book); }

void TBookNavigationHost::ShowInfoBox() { ::ShowInfoBox(Book); }

void TBookNavigationHost::Minimize() {
  if (TWindow* w = GetPresentationWindow(Book))
    if (w->HWindow) ::ShowWindow(w->HWindow, SW_SHOWMINIMIZED);
}

void TBookNavigationHost::OpenSearchDialog(TSearchDialogKind kind, const TActionStruct& action) {
  OpenSearchDialogFor(kind, action, Book);
}
