// List boxes (the system's LISTBOX class). The item operations are virtual
// so that TComboBox answers them for its list.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "platform/owl/control.h"

class TListBox : public TControl {
public:
  // Style adds LBS_STANDARD (sorted, notifying, bordered, vertical scroll bar).
  TListBox(TWindow* parent, int id, int x, int y, int w, int h, TModule* module = nullptr);
  TListBox(TWindow* parent, int resourceId, TModule* module = nullptr);

  const char* GetClassName() override { return "LISTBOX"; }

  // Index of the new item, or a negative error (LB_ERR, LB_ERRSPACE).
  virtual int AddString(const char* str);
  virtual int InsertString(const char* str, int index);
  virtual int DeleteString(int index);
  virtual void ClearList();
  virtual int GetCount() const;
  virtual int FindString(const char* find, int indexStart) const;
  virtual int FindExactString(const char* find, int indexStart) const;
  virtual int GetString(char* str, int index) const;
  std::string GetString(int index) const;
  virtual int GetStringLen(int index) const;
  virtual LPARAM GetItemData(int index) const;
  virtual int SetItemData(int index, LPARAM data);
  virtual int GetSelIndex() const;
  virtual int SetSelIndex(int index);
  virtual int SetSelString(const char* find, int indexStart);
  virtual int GetItemHeight(int index) const;
  virtual int SetItemHeight(int index, int height);
  virtual int GetTopIndex() const;
  virtual int SetTopIndex(int index);

  // Multiple-selection list boxes.
  int GetSelCount() const;
  int GetSelIndexes(int* indexes, int maxCount) const;
  bool GetSel(int index) const;
  int SetSel(int index, bool select);
  int GetCaretIndex() const;
  int SetCaretIndex(int index, bool partScrollOk = false);
  int GetItemRect(int index, TRect& rect) const;
  void SetHorizontalExtent(int extent);
  int GetHorizontalExtent() const;
  void SetColumnWidth(int width);
  int InitStorage(int numItems, int numBytes);
};
