// TOwnerList: an owner-drawn combo box listing extras records of one kind so
// that one can be chosen for a tree-database entry, as pictures (each item
// shows its record's first picture) or as fonts (each item's text in the
// record's font and colour). Each item carries its record's id as item
// data (as the owner-draw calls hand it in: a list with strings has it only
// once set, so its owner sets the item heights after filling). The player
// never opens one: it serves editing the database.
#pragma once
#include "platform/owl/owl.h"

#include "database/core/dbspecial.h"

class TOwnerList : public TComboBox {
public:
  enum TMode { kPictures = 1, kFonts = 2 };
  // Binds the dialog's combo box `resourceId`; the records stay the
  // caller's and must outlive the list.
  TOwnerList(TWindow* parent, int resourceId, int mode, const TDBSpecialManager* records, TModule* module = nullptr);

  void MeasureItem(MEASUREITEMSTRUCT& info) override;
  void ODADrawEntire(DRAWITEMSTRUCT& info) override;
  void ODASelect(DRAWITEMSTRUCT& info) override;
  void ODAFocus(DRAWITEMSTRUCT& info) override;

  int Mode;
  const TDBSpecialManager* Records;

private:
  // The record whose id an item carries, found by binary search.
  const TDBSpecial* RecordOf(ULONG_PTR itemData) const;
  std::string ItemText(int index) const;
  void DrawRecordItem(DRAWITEMSTRUCT& info);
};
