// TDialog: a dialog from a dialog template, modal (Execute) or modeless
// (Create). Modal dialogs run in the program's own message loop (nested), so
// the loop's rules and filter apply to them as to every other window.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/window.h"

class TMsgThread;

class TDialog : public TWindow {
public:
  // From a template resource (id or name) of the module.
  TDialog(TWindow* parent, TResId resId, TModule* module = nullptr);
  // From a template in memory, which must outlive the dialog's window.
  TDialog(TWindow* parent, const DLGTEMPLATE* dlgTemplate, TModule* module = nullptr);

  // Runs the dialog modally over its parent (disabled meanwhile) and
  // returns the value it ended with (IDOK, IDCANCEL, ...), or -1 when the
  // dialog could not be created. A WM_QUIT ends it with IDCANCEL.
  virtual int Execute();
  // Creates the dialog modeless.
  bool Create() override;
  void SetupWindow() override;
  bool EvInitDialog(HWND hWndFocus) override;
  // CanClose, then Destroy(retVal).
  void CloseWindow(int retVal = IDCANCEL) override;
  // A modal dialog ends its loop with retVal; a modeless one is destroyed.
  void Destroy(int retVal = IDCANCEL) override;
  // The dialog keys (Tab, Enter, Esc, mnemonics).
  bool PreProcessMsg(MSG& msg) override;

  virtual void CmOk();      // CloseWindow(IDOK)
  virtual void CmCancel();  // Destroy(IDCANCEL)
  void EvClose();

  HWND GetItemHandle(int childId) const { return GetDlgItem(childId); }
  void SetControlFocus(HWND hWndCtl) { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<TParam1>(hWndCtl), TRUE); }
  void SetDefaultId(int id) { SendMessage(DM_SETDEFID, static_cast<TParam1>(id)); }
  int GetDefaultId() const;
  bool IsModal() const { return IsFlagSet(wfModalWindow); }

protected:
  bool DoCreate(HWND owner);

  TResId ResId;
  const DLGTEMPLATE* Template = nullptr;

private:
  TMsgThread* ModalLoop = nullptr;
  int ModalResult = IDCANCEL;
  bool ModalEnded = false;

  DECLARE_RESPONSE_TABLE(TDialog);
};
