// TSystemConditionCheckerDialog: the editor of the prerequisite conditions
// in "system.cnd". No player operation opens it; OK saves the list.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/dialog.h"

// Control ids of "IDD_SYSTEMCONDITIONCHECKER".
enum : int {
  kCondNameEdit = 100,
  kCondList = 101,
  kCondCriterion = 102,
  kCondValue = 103,
  kCondMessage = 104,
  kCondInform = 105,
  kCondAskRadio = 106,
  kCondInstaller = 107,
  kCondNew = 108,
  kCondDelete = 109,
  kCondActive = 110,
  kCondSystemFirst = 111,  // to 116: the six systems in flag order
  kCondBrowse = 117,
  kCondHint = 118,
  kCondRename = 119,
  kCondHelp = 998,
};
constexpr uint32_t kCondHelpContext = 840;

class TSystemConditionCheckerDialog : public TDialog {
public:
  explicit TSystemConditionCheckerDialog(TWindow* parent);
  void SetupWindow() override;
  void CmOk() override;

  void ShowSelection();
  void UpdateHint();
  void CmNew();
  void CmDelete();
  void CmRename();
  void CmBrowse();
  void EvListChange();
  void EvCriterionChange();

  int Shown = -1;  // the record in the controls, -1 for none

private:
  void StoreShown();
  DECLARE_RESPONSE_TABLE(TSystemConditionCheckerDialog);
};
