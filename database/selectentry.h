// The select-entry dialog: the page's tree database in a tree list, the
// chosen entry's id as its address. SelectTreeDBEntry runs it modally.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "objects/navitree.h"
#include "platform/owl/dialog.h"

class TBookStruct;

constexpr int kSelectEntryAddressId = 100;
constexpr int kSelectEntryTreeId = 101;

// The dialog's tree: a tree list over a given database.
class TTreeTestObject : public TUserTreeWindow {
public:
  TTreeTestObject(TWindow* parent, TTreeListItemData* look, int id, const TRect& r, TDBNodeManager* nodes,
                  TDBSpecialManager* extras)
      : TUserTreeWindow(parent, look, id, r.left, r.top, r.Width(), r.Height(), 0), nodes_(nodes), extras_(extras) {}
  TDBNodeManager* Database() const override { return nodes_; }
  TDBSpecialManager* Extras() const override { return extras_; }

private:
  TDBNodeManager* nodes_;
  TDBSpecialManager* extras_;
};

class TTreeDBSelectEntryDialog : public TDialog {
public:
  // The tree database shown; null: the open project's current page's.
  TTreeDBSelectEntryDialog(TWindow* parent, TDBNodeManager* nodes = nullptr, TDBSpecialManager* extras = nullptr);
  ~TTreeDBSelectEntryDialog() override;

  void SetupWindow() override;
  void FillTree();
  void ShowAddress();
  void CmOk() override;
  TTreeTestObject* Tree() const { return tree_; }

  // The preselection while the dialog runs, the choice after OK.
  static int32_t RememberedId;

private:
  void TreeCommand(uint code);
  TDBNodeManager* nodes_;
  TDBSpecialManager* extras_;
  std::unique_ptr<TTreeListItemData> look_;
  TTreeTestObject* tree_ = nullptr;  // a child window: the dialog deletes it

  DECLARE_RESPONSE_TABLE(TTreeDBSelectEntryDialog);
};

// The entry chosen, or `id` when the dialog was cancelled. The tree
// database is the open project's current page's unless one is given.
int32_t SelectTreeDBEntry(int32_t id, TWindow* parent = nullptr, TDBNodeManager* nodes = nullptr,
                          TDBSpecialManager* extras = nullptr);
