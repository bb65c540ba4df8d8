// The help register (kind 20, "Hilferegister"): a panel on the page with
// the tabs "Inhalt", "Index" and "Suchen" across its top and the page's
// tree database below them. "Inhalt" shows the tree, "Index" hides it,
// "Suchen" leaves the panel as it is.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "engine/objectelement.h"
#include "objects/core/fastsearchdata.h"
#include "objects/gdirecord.h"
#include "platform/owl/window.h"

class TNoteTab;
class TTreeListItemData;
class TUserTreeWindow;

class THelpRegisterData : public TGdiRecord<THelpRegisterDataCore> {};

// The ids of the panel's two children.
constexpr int kHelpRegisterTabsId = 32000;
constexpr int kHelpRegisterTreeId = 100;

class THelpRegisterObject : public TObjectElement, public TWindow {
public:
  // Without a record the object makes one with the defaults.
  THelpRegisterObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~THelpRegisterObject() override;

  HWND GetHandle() override { return HWindow; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  void LButtonDown(uint32_t, const TPoint&) override {}
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  // Keeps the text, which nothing shows.
  void SetFileName(string& text) override;
  int32_t GetFileCount() override { return 0; }
  bool GetFile(int, bool& flag, string&) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;

  const char* GetClassName() override { return "TSLHelpRegister"; }
  THelpRegisterData* RegisterData() const;
  // The record's font and background to the panel.
  void ApplyData();
  // The tree window again from the current page's database.
  void FillTree();
  void OnTabChange();
  TNoteTab* NoteTab() const { return noteTab_; }
  TUserTreeWindow* TreeWindow() const { return tree_; }

protected:
  void SetupWindow() override;
  void GetWindowClass(WNDCLASSA& wc) override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;

private:
  // Both are children of the panel's window part, which deletes them.
  TNoteTab* noteTab_;
  TUserTreeWindow* tree_ = nullptr;
  // The tree window's look; it outlives the tree window.
  std::unique_ptr<TTreeListItemData> treeLook_;
};

// The page's database is read after its objects were made: the tree fills
// again from it.
void RefillHelpRegisterDisplay(TObjectElement* object);
