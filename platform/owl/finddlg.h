// The system's modeless find and replace dialogs ("commdlg_FindReplace"
// reports to the owner window). The dialog window is bound to the object,
// so the program's message loop gives it the dialog keys (IsDialogMessage).
#pragma once
#include "platform/owl/defs.h"
#include <commdlg.h>

#include <cstdint>

#include "platform/owl/window.h"

class TFindReplaceDialog : public TWindow {
public:
  // The search text, the replacement and the FR_ flags.
  struct TData {
    static constexpr int kBufferSize = 81;
    uint32_t Flags = FR_DOWN;
    char FindWhat[kBufferSize] = {};
    char ReplaceWith[kBufferSize] = {};
  };

  // `owner` receives the registered message; the data outlives the dialog.
  TFindReplaceDialog(HWND owner, TData& data, bool replace);
  // Opens the dialog modeless; false when the system refused.
  bool Create() override;
  bool PreProcessMsg(MSG& msg) override;
  // The dialog's current entries into the data.
  void UpdateData();
  // The entries of a report (the registered message's parameter).
  static void CopyEntries(const FINDREPLACEA& from, TData& to);
  bool IsReplace() const { return Replace; }

private:
  FINDREPLACEA Record{};
  TData& Data;
  char FindBuffer[TData::kBufferSize] = {};
  char ReplaceBuffer[TData::kBufferSize] = {};
  bool Replace;
};

class TFindDialog : public TFindReplaceDialog {
public:
  TFindDialog(HWND owner, TData& data) : TFindReplaceDialog(owner, data, false) {}
};

class TReplaceDialog : public TFindReplaceDialog {
public:
  TReplaceDialog(HWND owner, TData& data) : TFindReplaceDialog(owner, data, true) {}
};
