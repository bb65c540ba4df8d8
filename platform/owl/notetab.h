// The note tab: a row of tabs over the common controls' tab control. A
// change of the chosen tab reaches the parent as WM_NOTIFY TCN_SELCHANGE
// from the note tab's id.
#pragma once
#include "platform/owl/defs.h"
#include <commctrl.h>

#include <cstdint>

#include "platform/owl/control.h"

class TNoteTab : public TControl {
public:
  // `buddy` is the window whose area the tabs choose between (not owned);
  // a height of 0 takes the height of the row of tabs once they are there.
  TNoteTab(TWindow* parent, int id, int x, int y, int w, int h, TWindow* buddy = nullptr, bool dialogBuddy = true,
           TModule* module = nullptr);

  const char* GetClassName() override { return WC_TABCONTROLA; }
  bool Create() override;

  // Appends a tab; its index, or -1.
  int Add(const char* label, LPARAM clientData = 0);
  int GetCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
  // The chosen tab, -1 for none.
  int GetSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
  // Chooses a tab without a notification; the previous choice, or -1.
  int SetSel(int index) { return static_cast<int>(SendMessage(TCM_SETCURSEL, index)); }
  LPARAM GetClientData(int index) const;
  // The colour the note tab fills its area with (a TColor value).
  void SetBkgndColor(uint32_t colour);
  TWindow* GetBuddy() const { return Buddy; }
  bool IsDialogBuddy() const { return DialogBuddy; }

protected:
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;

private:
  // A note tab made without a height grows to its row of tabs.
  void FitHeight();

  TWindow* Buddy;
  bool DialogBuddy;
  bool FitToTabs;
  uint32_t Background;
};
