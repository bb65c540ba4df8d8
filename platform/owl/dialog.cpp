#include "platform/owl/dialog.h"

#include "platform/owl/applicat.h"
#include "platform/owl/module.h"
#include "platform/owl/msgthred.h"

DEFINE_RESPONSE_TABLE1(TDialog, TWindow)
  EV_COMMAND(IDOK, CmOk),
  EV_COMMAND(IDCANCEL, CmCancel),
  EV_WM_CLOSE,
END_RESPONSE_TABLE;

TDialog::TDialog(TWindow* parent, TResId resId, TModule* module) : TWindow(parent, nullptr, module), ResId(resId) {
  DisableAutoCreate();
}

TDialog::TDialog(TWindow* parent, const DLGTEMPLATE* dlgTemplate, TModule* module)
    : TWindow(parent, nullptr, module), Template(dlgTemplate) {
  DisableAutoCreate();
}

bool TDialog::DoCreate(HWND owner) {
  const HINSTANCE inst = GetModule()->GetInstance();
  SetFlag(wfDialog);
  SetCreationWindow(this);
  HWND h = Template ? ::CreateDialogIndirectParamA(inst, Template, owner, OwlDialogProc, 0)
                    : ::CreateDialogParamA(inst, ResId, owner, OwlDialogProc, 0);
  // Nothing else may take the pending binding.
  TakeCreationWindow();
  if (!h) {
    if (HWindow && !::IsWindow(HWindow)) Detach();
    return false;
  }
  if (!HWindow) Attach(h);
  PerformSetup();
  return true;
}

bool TDialog::Create() {
  if (HWindow) return true;
  return DoCreate(Parent ? Parent->HWindow : nullptr);
}

int TDialog::Execute() {
  if (HWindow) return -1;
  const HWND owner = Parent ? Parent->HWindow : nullptr;
  SetFlag(wfModalWindow);
  ModalEnded = false;
  ModalResult = IDCANCEL;
  if (!DoCreate(owner)) {
    ClearFlag(wfModalWindow);
    return -1;
  }
  // The dialog's owner and everything behind it wait for the dialog.
  const HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  const bool disabled = top && ::IsWindowEnabled(top) && !::EnableWindow(top, FALSE);

  struct TCleanup {
    TDialog* Dlg;
    HWND Top;
    bool Disabled;
    ~TCleanup() {
      if (Disabled) ::EnableWindow(Top, TRUE);
      Dlg->ModalLoop = nullptr;
      Dlg->ClearFlag(wfModalWindow);
      if (Dlg->HWindow) ::DestroyWindow(Dlg->HWindow);
    }
  } cleanup{this, top, disabled};

  ::ShowWindow(HWindow, SW_SHOWNORMAL);
  TMsgThread* loop = TApplication::GetApplicationObject();
  if (!loop) loop = TMsgThread::Current();
  if (loop) {
    ModalLoop = loop;
    loop->BeginModal(this);
  } else {
    TMsgThread local;
    ModalLoop = &local;
    local.BeginModal(this);
  }
  return ModalEnded ? ModalResult : IDCANCEL;
}

void TDialog::SetupWindow() {
  TWindow::SetupWindow();
  if (Title) ::SetWindowTextA(HWindow, Title);
}

bool TDialog::EvInitDialog(HWND) {
  PerformSetup();
  return true;
}

void TDialog::CloseWindow(int retVal) {
  if (CanClose()) Destroy(retVal);
}

void TDialog::Destroy(int retVal) {
  if (IsFlagSet(wfModalWindow) && ModalLoop) {
    if (!ModalEnded) {
      ModalEnded = true;
      ModalResult = retVal;
      ModalLoop->EndModal(retVal);
    }
    return;
  }
  TWindow::Destroy(retVal);
}

bool TDialog::PreProcessMsg(MSG& msg) {
  if (TWindow::PreProcessMsg(msg)) return true;
  return HWindow && ::IsDialogMessageA(HWindow, &msg);
}

void TDialog::CmOk() { CloseWindow(IDOK); }
void TDialog::CmCancel() { Destroy(IDCANCEL); }
// The dialog manager turns the close into IDCANCEL.
void TDialog::EvClose() { DefaultProcessing(); }

int TDialog::GetDefaultId() const {
  const TResult r = SendMessage(DM_GETDEFID);
  return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : 0;
}
