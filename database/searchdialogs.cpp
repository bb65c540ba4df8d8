#include "database/searchdialogs.h"

#include "database/searchdlg.h"
#include "database/searchlist.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"

namespace {

// Asks a dialog to end itself after the handler that posted it returned.
constexpr uint kEndSearchDialogMsg = WM_APP + 0x5D1;

TSearchDialogBase* Slots[3] = {};

TSearchDialogBase*& SlotOf(TSearchDialogKind kind) { return Slots[static_cast<int>(kind)]; }

}  // namespace

DEFINE_RESPONSE_TABLE1(TSearchDialogBase, TDialog)
  EV_WM_CLOSE,
  EV_MESSAGE(kEndSearchDialogMsg, EvEndDialog),
END_RESPONSE_TABLE;

TSearchDialogBase::TSearchDialogBase(TWindow* parent, TResId resId, TSearchDialogKind kind)
    : TDialog(parent, resId), Kind(kind) {
  SlotOf(kind) = this;
}

TSearchDialogBase::~TSearchDialogBase() {
  if (SlotOf(Kind) == this) SlotOf(Kind) = nullptr;
}

void TSearchDialogBase::CleanupWindow() {
  TDialog::CleanupWindow();
  // The action may open a new dialog from here on.
  if (SlotOf(Kind) == this) SlotOf(Kind) = nullptr;
}

void TSearchDialogBase::CmCancel() {
  if (IsBusy()) {
    CloseWanted = true;
    return;
  }
  ShutDownWindow(IDCANCEL);
}

void TSearchDialogBase::EvClose() { CmCancel(); }

void TSearchDialogBase::EndLater() {
  if (SlotOf(Kind) == this) SlotOf(Kind) = nullptr;
  Ending = true;
  PostEnd();
}

void TSearchDialogBase::PostEnd() {
  if (HWindow) ::PostMessageA(HWindow, kEndSearchDialogMsg, 0, 0);
}

TResult TSearchDialogBase::EvEndDialog(TParam1, TParam2) {
  // A busy dialog posts again when its handler returns.
  if (!IsBusy()) ShutDownWindow(IDCANCEL);
  return 0;
}

TSearchDialogBase::TBusyScope::TBusyScope(TSearchDialogBase& dialog, bool walk) : Dialog(dialog), Walk(walk) {
  if (Dialog.BusyDepth++ == 0 && Walk && Dialog.HWindow) ::EnableWindow(Dialog.HWindow, FALSE);
}

TSearchDialogBase::TBusyScope::~TBusyScope() {
  if (--Dialog.BusyDepth > 0) return;
  if (Walk && Dialog.HWindow) ::EnableWindow(Dialog.HWindow, TRUE);
  // A posted end may have been taken from the queue by the progress pump,
  // which discards what it does not paint: post it again.
  if (Dialog.Ending || Dialog.CloseWanted) Dialog.PostEnd();
}

TSearchDialogBase* OpenSearchDialogOf(TSearchDialogKind kind) { return SlotOf(kind); }

void EndSearchDialogs() {
  for (TSearchDialogBase*& d : Slots) {
    if (!d) continue;
    if (d->StaysOpen) {
      if (d->HWindow) ::ShowWindow(d->HWindow, SW_HIDE);
    } else {
      d->EndLater();
    }
  }
}

void ShowStayingSearchDialogs() {
  for (TSearchDialogBase* d : Slots)
    if (d && d->StaysOpen && d->HWindow) ::ShowWindow(d->HWindow, SW_SHOW);
}

void OpenSearchDialogFor(TSearchDialogKind kind, const TActionStruct& action, TBookStruct* book) {
  if (!book || OpenSearchDialogOf(kind)) return;
  TWindow* parent = book->PageWindow;
  TSearchDialogBase* dialog = nullptr;
  switch (kind) {
    case TSearchDialogKind::Search: dialog = new TSearchDialog(parent, action, book); break;
    case TSearchDialogKind::SearchList: dialog = new TSearchListDialog(parent, action, book); break;
    case TSearchDialogKind::SearchList2: dialog = new TSearchListDialog2(parent, action, book); break;
  }
  if (!dialog) return;
  if (!dialog->Create()) {
    delete dialog;
    return;
  }
  dialog->Show(SW_SHOW);
}
