#include "actions/conditiondlg.h"

#include <string>

#include "actions/ownerdrawbutton.h"
#include "actions/sysconditions.h"
#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/helpbutton.h"
#include "foundation/resstring.h"
#include "foundation/winutil.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_actions.h"

DEFINE_RESPONSE_TABLE1(TSystemConditionCheckerDialog, TDialog)
  EV_COMMAND(kCondNew, CmNew),
  EV_COMMAND(kCondDelete, CmDelete),
  EV_COMMAND(kCondRename, CmRename),
  EV_COMMAND(kCondBrowse, CmBrowse),
  EV_CBN_SELCHANGE(kCondList, EvListChange),
  EV_CBN_SELCHANGE(kCondCriterion, EvCriterionChange),
END_RESPONSE_TABLE;

namespace {

// The criterion box's entries, in this order, with their bits.
const char* const kCriteria[] = {"Verkn\xFCpfung mit Dateiendung(en) vorhanden",
                                 "Dateiname (ohne Pfad) auf einem Laufwerk vorhanden", "Registry-Eintrag vorhanden"};
constexpr uint32_t kCriterionBits[] = {kCondExtensions, kCondFileName, kCondRegistryKey};
const char* const kHints[] = {
    "Geben Sie Semikolon-getrennt die Dateiendungen an, nach denen gesucht werden soll, z.B. mov;qt oder avi",
    "Diese Einstellung wird bisher noch nicht unterst\xFCtzt!",
    "Geben Sie einen Registry-Zweig an, nach dem gesucht werden soll, z.B. HKEY_CLASSES_ROOT "
    "\\ShockwaveFlash.ShockwaveFlash.1"};
// Disabled while no condition is shown.
const int kRecordControls[] = {kCondActive, kCondCriterion, kCondValue, kCondMessage, kCondInform, kCondAskRadio,
                               kCondInstaller, kCondDelete, kCondRename, 111, 112, 113, 114, 115, 116};

std::string ItemText(HWND dlg, int id) {
  char text[1024] = {};
  ::GetDlgItemTextA(dlg, id, text, sizeof text);
  return text;
}

int Selected(HWND dlg, int id) { return static_cast<int>(::SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0)); }

}  // namespace

TSystemConditionCheckerDialog::TSystemConditionCheckerDialog(TWindow* parent)
    : TDialog(parent, "IDD_SYSTEMCONDITIONCHECKER") {
  new TOwnerDrawPushbutton(this, kCondBrowse, kBrowseBitmapId);
  new THelpButton(this, kCondHelp, kCondHelpContext);
}

void TSystemConditionCheckerDialog::SetupWindow() {
  TDialog::SetupWindow();
  const HWND dlg = GetHandle();
  ReadConditions();
  for (const TSystemConditionChecker& c : SystemConditions())
    ::SendDlgItemMessageA(dlg, kCondList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Name.c_str()));
  ::CheckRadioButton(dlg, kCondInform, kCondAskRadio, kCondInform);
  for (const char* c : kCriteria) ::SendDlgItemMessageA(dlg, kCondCriterion, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c));
  ::SendDlgItemMessageA(dlg, kCondCriterion, CB_SETCURSEL, 0, 0);
  ::SendDlgItemMessageA(dlg, kCondList, CB_SETCURSEL, 0, 0);
  ShowSelection();
  CenterWindow(dlg, nullptr);
}

void TSystemConditionCheckerDialog::UpdateHint() {
  const int i = Selected(GetHandle(), kCondCriterion);
  ::SetDlgItemTextA(GetHandle(), kCondHint, i >= 0 && i < 3 ? kHints[i] : "");
}

void TSystemConditionCheckerDialog::StoreShown() {
  auto& list = SystemConditions();
  if (Shown < 0 || Shown >= static_cast<int>(list.size())) return;
  const HWND dlg = GetHandle();
  TSystemConditionChecker& c = list[Shown];
  bool boxes[kSystemCount];
  for (int i = 0; i < kSystemCount; ++i) boxes[i] = ::IsDlgButtonChecked(dlg, kCondSystemFirst + i) == BST_CHECKED;
  c.SystemFlags = SystemFlagsFromBoxes(boxes);
  c.Active = ::IsDlgButtonChecked(dlg, kCondActive) == BST_CHECKED ? 1 : 0;
  c.CriteriaFlags &= ~(kCondExtensions | kCondRegistryKey | kCondFileName);
  const int criterion = Selected(dlg, kCondCriterion);
  const std::string value = ItemText(dlg, kCondValue);
  if (criterion >= 0 && criterion < 3) c.CriteriaFlags |= kCriterionBits[criterion];
  if (criterion == 0) {
    c.Extensions = value;
  } else if (criterion == 1) {
    c.FileName = value;
    UiMessageBox(dlg, "Dieses Kriterium wurde noch nicht implementiert", ProgramTitle(), MB_ICONINFORMATION);
  } else if (criterion == 2) {
    c.RegistryKey = value;
  }
  if (::IsDlgButtonChecked(dlg, kCondAskRadio) == BST_CHECKED)
    c.CriteriaFlags |= kCondAsk;
  else
    c.CriteriaFlags &= ~kCondAsk;
  c.Message = ItemText(dlg, kCondMessage);
  c.Installer = ItemText(dlg, kCondInstaller);
}

void TSystemConditionCheckerDialog::ShowSelection() {
  const HWND dlg = GetHandle();
  for (int id : kRecordControls) ::EnableWindow(::GetDlgItem(dlg, id), TRUE);
  StoreShown();
  const int sel = Selected(dlg, kCondList);
  auto& list = SystemConditions();
  if (sel < 0 || sel >= static_cast<int>(list.size())) {
    for (int id : kRecordControls) ::EnableWindow(::GetDlgItem(dlg, id), FALSE);
    for (int id : {kCondValue, kCondMessage, kCondInstaller}) ::SetDlgItemTextA(dlg, id, "");
    UpdateHint();
    Shown = -1;
    return;
  }
  const TSystemConditionChecker& c = list[sel];
  bool boxes[kSystemCount];
  SystemFlagsToBoxes(c.SystemFlags, boxes);
  for (int i = 0; i < kSystemCount; ++i) ::CheckDlgButton(dlg, kCondSystemFirst + i, boxes[i] ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(dlg, kCondActive, c.Active ? BST_CHECKED : BST_UNCHECKED);
  ::SetDlgItemTextA(dlg, kCondNameEdit, c.Name.c_str());
  // Bits tested in the order 0x01, 0x04, 0x02: the last set one wins.
  const struct {
    uint32_t bit;
    int entry;
    const tsl::string* text;
  } order[] = {{kCondExtensions, 0, &c.Extensions}, {kCondFileName, 1, &c.FileName}, {kCondRegistryKey, 2, &c.RegistryKey}};
  for (const auto& o : order)
    if (c.CriteriaFlags & o.bit) {
      ::SendDlgItemMessageA(dlg, kCondCriterion, CB_SETCURSEL, o.entry, 0);
      ::SetDlgItemTextA(dlg, kCondValue, o.text->c_str());
    }
  ::CheckRadioButton(dlg, kCondInform, kCondAskRadio, (c.CriteriaFlags & kCondAsk) ? kCondAskRadio : kCondInform);
  ::SetDlgItemTextA(dlg, kCondMessage, c.Message.c_str());
  ::SetDlgItemTextA(dlg, kCondInstaller, c.Installer.c_str());
  UpdateHint();
  Shown = sel;
}

void TSystemConditionCheckerDialog::EvListChange() { ShowSelection(); }
void TSystemConditionCheckerDialog::EvCriterionChange() { UpdateHint(); }

void TSystemConditionCheckerDialog::CmNew() {
  const HWND dlg = GetHandle();
  TSystemConditionChecker c;
  c.Name = ItemText(dlg, kCondNameEdit);
  SystemConditions().push_back(c);
  ShowSelection();
  Shown = -1;
  const LRESULT at = ::SendDlgItemMessageA(dlg, kCondList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Name.c_str()));
  ::SendDlgItemMessageA(dlg, kCondList, CB_SETCURSEL, at, 0);
  ShowSelection();
}

void TSystemConditionCheckerDialog::CmDelete() {
  const HWND dlg = GetHandle();
  const int sel = Selected(dlg, kCondList);
  if (sel < 0 || sel >= static_cast<int>(SystemConditions().size())) return;
  if (UiMessageBox(dlg, LoadResString(IDS_CONDITION_DELETE), ProgramTitle(), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  SystemConditions().erase(SystemConditions().begin() + sel);
  ::SendDlgItemMessageA(dlg, kCondList, CB_DELETESTRING, sel, 0);
  Shown = -1;
  ::SendDlgItemMessageA(dlg, kCondList, CB_SETCURSEL, 0, 0);
  ShowSelection();
}

void TSystemConditionCheckerDialog::CmRename() {
  const HWND dlg = GetHandle();
  const int sel = Selected(dlg, kCondList);
  if (sel < 0 || sel >= static_cast<int>(SystemConditions().size())) return;
  const std::string name = ItemText(dlg, kCondNameEdit);
  SystemConditions()[sel].Name = name;
  ::SendDlgItemMessageA(dlg, kCondList, CB_DELETESTRING, sel, 0);
  ::SendDlgItemMessageA(dlg, kCondList, CB_INSERTSTRING, sel, reinterpret_cast<LPARAM>(name.c_str()));
  ::SendDlgItemMessageA(dlg, kCondList, CB_SETCURSEL, sel, 0);
}

void TSystemConditionCheckerDialog::CmBrowse() {
  char path[MAX_PATH + 1] = {};
  ::GetDlgItemTextA(GetHandle(), kCondInstaller, path, MAX_PATH);
  const TResString filter = LoadResString(IDS_CONDITION_INSTALLER_FILTER);
  if (SelectFileName(this, path, true, filter, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, nullptr, nullptr))
    ::SetDlgItemTextA(GetHandle(), kCondInstaller, path);
}

void TSystemConditionCheckerDialog::CmOk() {
  ShowSelection();
  WriteConditions();
  TDialog::CmOk();
}
