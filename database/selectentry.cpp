#include "database/selectentry.h"

#include <string>

#include "database/core/dbnodes.h"
#include "database/core/treefill.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"
#include "foundation/winutil.h"

int32_t TTreeDBSelectEntryDialog::RememberedId = -1;

DEFINE_RESPONSE_TABLE1(TTreeDBSelectEntryDialog, TDialog)
  EV_CHILD_NOTIFY_ALL_CODES(kSelectEntryTreeId, TreeCommand),
END_RESPONSE_TABLE;

TTreeDBSelectEntryDialog::TTreeDBSelectEntryDialog(TWindow* parent, TDBNodeManager* nodes, TDBSpecialManager* extras)
    : TDialog(parent, "IDD_TREEDB_SELECT_ENTRY"),
      nodes_(nodes ? nodes : PageTreeDatabase()),
      extras_(nodes ? extras : PageTreeExtras()) {}

TTreeDBSelectEntryDialog::~TTreeDBSelectEntryDialog() = default;

void TTreeDBSelectEntryDialog::SetupWindow() {
  TDialog::SetupWindow();
  ::SendDlgItemMessageA(GetHandle(), kSelectEntryAddressId, EM_SETREADONLY, 1, 0);
  TRect r;
  GetDlgItemClientRect(GetHandle(), kSelectEntryTreeId, r, true);
  // A plain look: lines and boxes, no pictures. A record of zeros would
  // draw black text on a black ground.
  look_ = std::make_unique<TTreeListItemData>();
  look_->Flags = kTreeLines | kTreeExpanders | kTreeVScroll | kTreeHScroll;
  look_->Reload();
  tree_ = new TTreeTestObject(this, look_.get(), kSelectEntryTreeId, r, nodes_, extras_);
  tree_->Attr.Style |= WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP;
  tree_->Create();
  ::ShowWindow(tree_->GetHandle(), SW_SHOW);
  FillTree();
  if (TUserTreeLink* l = tree_->FindLinkByValue(&tree_->Root(), static_cast<uint32_t>(RememberedId)))
    tree_->ShowLink(l);
  ShowAddress();
}

void TTreeDBSelectEntryDialog::FillTree() {
  if (tree_) tree_->FillFromDatabase(nodes_, extras_);
}

void TTreeDBSelectEntryDialog::TreeCommand(uint) { ShowAddress(); }

void TTreeDBSelectEntryDialog::ShowAddress() {
  if (!tree_) return;
  const int index = tree_->CurrentIndex();
  if (index < 0) {
    ::SetDlgItemTextA(GetHandle(), kSelectEntryAddressId, "-1");
    return;
  }
  const TUserTreeLink* l = tree_->GetLinkAt(index);
  if (!l || !l->Item || l->Value() == kNoLineValue || !nodes_) return;
  const TDBCategoryData* e = nodes_->FindEntry(static_cast<int32_t>(l->Value()));
  if (!e) return;
  ::SetDlgItemTextA(GetHandle(), kSelectEntryAddressId, std::to_string(e->EntryId).c_str());
}

void TTreeDBSelectEntryDialog::CmOk() {
  const TUserTreeLink* l = tree_ ? tree_->GetLinkAt(tree_->CurrentIndex()) : nullptr;
  if (l && l->Item) RememberedId = static_cast<int32_t>(l->Value());
  TDialog::CmOk();
}

int32_t SelectTreeDBEntry(int32_t id, TWindow* parent, TDBNodeManager* nodes, TDBSpecialManager* extras) {
  TTreeDBSelectEntryDialog::RememberedId = id;
  TBookStruct* book = GetOpenBook();
  if (!parent && book) parent = book->PageWindow;
  TTreeDBSelectEntryDialog dialog(parent, nodes, extras);
  return dialog.Execute() == IDOK ? TTreeDBSelectEntryDialog::RememberedId : id;
}
