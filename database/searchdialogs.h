// What the three search dialogs share: at most one open dialog of each kind
// (the one code 32 opens), the stays-open byte a page change asks, and the
// busy state of a handler that pumps messages or changes the page. A close,
// an Escape or the page change's deletion that arrives while the dialog is
// busy waits until the handler has returned; nothing deletes a dialog under
// its own handler.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "actions/core/navcodes.h"
#include "platform/owl/dialog.h"

class TBookStruct;

class TSearchDialogBase : public TDialog {
public:
  // Registers the dialog as the open one of its kind.
  TSearchDialogBase(TWindow* parent, TResId resId, TSearchDialogKind kind);
  ~TSearchDialogBase() override;

  void CleanupWindow() override;
  // Closing ("Abbruch", Escape, the close box) destroys and deletes the
  // dialog, once it is not busy.
  void CmCancel() override;
  void EvClose();
  // The page change: the dialog is no longer the open one of its kind and
  // goes by a posted message once no handler of it runs.
  void EndLater();

  bool IsBusy() const { return BusyDepth > 0; }
  bool IsEnding() const { return Ending; }

  // Held by a handler that may pump messages or change the page. A walk over
  // the pages also disables the dialog and shows it busy.
  class TBusyScope {
  public:
    TBusyScope(TSearchDialogBase& dialog, bool walk);
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

  private:
    TSearchDialogBase& Dialog;
    bool Walk;
  };

  const TSearchDialogKind Kind;
  // Set: a page change hides the dialog and the new page shows it again;
  // clear (always, so far): the page change ends it.
  uint8_t StaysOpen = 0;

private:
  TResult EvEndDialog(TParam1, TParam2);
  void PostEnd();
  int BusyDepth = 0;
  bool Ending = false;         // the page change ended it
  bool CloseWanted = false;    // closed while busy

  DECLARE_RESPONSE_TABLE(TSearchDialogBase);
};

// The open dialog of a kind, or null.
TSearchDialogBase* OpenSearchDialogOf(TSearchDialogKind kind);
// Step 3 of the page change: staying dialogs are hidden, the others end.
void EndSearchDialogs();
// The end of the page build: the staying dialogs are shown again.
void ShowStayingSearchDialogs();
// Code 32: makes the dialog of `kind` for the action over the project's
// page window and shows it, unless one of that kind is open.
void OpenSearchDialogFor(TSearchDialogKind kind, const TActionStruct& action, TBookStruct* book);
