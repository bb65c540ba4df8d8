// The lists on a page: the list box (kind 9, TListItemObject), the
// transparent list over the page (kind 19, TListItemTransObject) and the
// combo box (kind 11, TComboItemObject), with their records' fonts and
// brushes. What they list and what a choice does is portable
// (objects/core/listfill.h); here are the windows around it.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <vector>

#include "engine/objectelement.h"
#include "objects/core/listdata.h"
#include "objects/core/listfill.h"
#include "objects/gdirecord.h"
#include "objects/listwindow.h"
#include "platform/owl/combobox.h"
#include "platform/owl/commdial.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/listbox.h"

class TListItemData : public TGdiRecord<TListItemDataCore> {};
class TComboItemData : public TGdiRecord<TComboItemDataCore> {};

// The open project, as the lists see it.
class TOpenProjectLists : public TListProject {
public:
  TDBNodeManager* Database() override;
  int32_t FindPageIndex(uint32_t number) override;
  bool PageNames(int32_t index, std::string& first, std::string& second) override;
  int32_t CurrentPageIndex() override;
  void GotoDBRecord(int32_t entryId) override;
  void PostPageChange(int32_t pageIndex) override;
};

class TListItemObject : public TObjectElement, public TListBox {
public:
  TListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TListItemObject() override;

  HWND GetHandle() override { return HWindow; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  void LButtonDown(uint32_t, const TPoint&) override {}
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void SelectEntry(int32_t entry) override;

  TListItemData* ListData() const;
  void ApplySettings();
  void Fill();

protected:
  void SetupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;
  void Choose();

private:
  std::vector<TListItem> items_;
  int32_t lastChosen_ = -1;

  DECLARE_RESPONSE_TABLE(TListItemObject);
};

class TListItemTransObject : public TObjectElement, public TListWindow {
public:
  TListItemTransObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TListItemTransObject() override;

  HWND GetHandle() override { return HWindow; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  void LButtonDown(uint32_t, const TPoint&) override {}
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void SelectEntry(int32_t entry) override;

  TListItemData* ListData() const;
  void ApplySettings();
  void Fill();
  const TListWindowDataTrans& Rows() const { return model_; }

protected:
  void SetupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;
  void Choose();

private:
  TListWindowInfo style_;
  TListWindowDataTrans model_;
  int32_t lastChosen_ = -1;
};

class TComboItemObject : public TObjectElement, public TComboBox {
public:
  TComboItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TComboItemObject() override;

  HWND GetHandle() override { return HWindow; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  void LButtonDown(uint32_t, const TPoint&) override {}
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void SelectEntry(int32_t entry) override;

  TComboItemData* ComboData() const;
  void ApplyData();
  void FillList();

protected:
  void SetupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;
  void OnSelChange();

private:
  std::vector<TListItem> items_;

  DECLARE_RESPONSE_TABLE(TComboItemObject);
};

// Page build: the transparent list's rendering of the page it stood on
// goes, and the lists bound to the database fill from the page's database.
void ResetListDisplay(TObjectElement* object);
