// Combo boxes (the system's COMBOBOX class): a list and an edit or static
// field.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "platform/owl/listbox.h"

class TComboBox : public TListBox {
public:
  // style: CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST (plus others);
  // `textLimit` counts the terminating zero (0 = no limit).
  TComboBox(TWindow* parent, int id, int x, int y, int w, int h, uint32_t style, uint textLimit = 0,
            TModule* module = nullptr);
  TComboBox(TWindow* parent, int resourceId, uint textLimit = 0, TModule* module = nullptr);

  const char* GetClassName() override { return "COMBOBOX"; }
  void SetupWindow() override;

  int AddString(const char* str) override;
  int InsertString(const char* str, int index) override;
  int DeleteString(int index) override;
  void ClearList() override;
  int GetCount() const override;
  int FindString(const char* find, int indexStart) const override;
  int FindExactString(const char* find, int indexStart) const override;
  int GetString(char* str, int index) const override;
  using TListBox::GetString;
  int GetStringLen(int index) const override;
  LPARAM GetItemData(int index) const override;
  int SetItemData(int index, LPARAM data) override;
  int GetSelIndex() const override;
  int SetSelIndex(int index) override;
  int SetSelString(const char* find, int indexStart) override;
  int GetItemHeight(int index) const override;
  int SetItemHeight(int index, int height) override;
  int GetTopIndex() const override;
  int SetTopIndex(int index) override;

  // The text of the edit or static field.
  int GetTextLen() const { return GetWindowTextLength(); }
  int GetText(char* buffer, int size) const { return GetWindowText(buffer, size); }
  std::string GetText() const;
  void SetText(const char* text);
  void Clear() { SetText(""); }
  void ShowList(bool show = true) { SendMessage(CB_SHOWDROPDOWN, show); }
  void HideList() { ShowList(false); }
  bool GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }
  void GetDroppedControlRect(TRect& rect) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<TParam2>(&rect)); }
  bool GetEditSel(int& startPos, int& endPos) const;
  bool SetEditSel(int startPos, int endPos) { return SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(startPos, endPos)) != CB_ERR; }
  int SetExtendedUI(bool extended) { return static_cast<int>(SendMessage(CB_SETEXTENDEDUI, extended)); }
  uint GetTextLimit() const { return TextLimit; }
  void SetTextLimit(uint textLimit);

  uint TextLimit;
};
