#include "platform/owl/finddlg.h"

#include <cstring>

#include "platform/owl/uiservice.h"

TFindReplaceDialog::TFindReplaceDialog(HWND owner, TData& data, bool replace)
    : TWindow(static_cast<TWindow*>(nullptr)), Data(data), Replace(replace) {
  Record.lStructSize = sizeof Record;
  Record.hwndOwner = owner;
}

bool TFindReplaceDialog::Create() {
  lstrcpynA(FindBuffer, Data.FindWhat, sizeof FindBuffer);
  lstrcpynA(ReplaceBuffer, Data.ReplaceWith, sizeof ReplaceBuffer);
  Record.Flags = Data.Flags & ~(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM);
  Record.lpstrFindWhat = FindBuffer;
  Record.wFindWhatLen = sizeof FindBuffer;
  Record.lpstrReplaceWith = ReplaceBuffer;
  Record.wReplaceWithLen = sizeof ReplaceBuffer;
  const HWND dialog = GetUiService().FindReplaceDialog(Record, Replace);
  if (!dialog) return false;
  Attach(dialog);
  return true;
}

bool TFindReplaceDialog::PreProcessMsg(MSG& msg) { return HWindow && ::IsDialogMessageA(HWindow, &msg); }

void TFindReplaceDialog::UpdateData() { CopyEntries(Record, Data); }

void TFindReplaceDialog::CopyEntries(const FINDREPLACEA& from, TData& to) {
  to.Flags = from.Flags;
  if (from.lpstrFindWhat) lstrcpynA(to.FindWhat, from.lpstrFindWhat, sizeof to.FindWhat);
  if (from.lpstrReplaceWith) lstrcpynA(to.ReplaceWith, from.lpstrReplaceWith, sizeof to.ReplaceWith);
}
