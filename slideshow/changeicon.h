// TChangeIconDialog: "Benutzerdefiniertes Symbol" (resource 5955). The user
// names an icon, program or library file and picks one of its icons from a
// horizontally scrolling row (TIconList); OK hands back the file and the
// icon's position.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/core/cstring.h"
#include "platform/owl/button.h"
#include "platform/owl/dialog.h"
#include "platform/owl/edit.h"
#include "platform/owl/listbox.h"

class THelpButton;

enum : int {
  kIconList = 5960,
  kIconFileName = 5965,
  kIconBrowse = 5970,
};
// Room around each icon in the row.
constexpr int kIconMarginX = 4;
constexpr int kIconMarginY = 4;

// The row of icons: item data is an icon handle the list owns.
class TIconList : public TListBox {
public:
  explicit TIconList(TWindow* parent, int resourceId) : TListBox(parent, resourceId) {}
  // Adds the icons of `fileName` in their order; the number added.
  int LoadIcons(const char* fileName);
  void MeasureItem(MEASUREITEMSTRUCT& info) override;
  void ODADrawEntire(DRAWITEMSTRUCT& info) override;
  void ODASelect(DRAWITEMSTRUCT& info) override { ODADrawEntire(info); }
  void ODAFocus(DRAWITEMSTRUCT& info) override;
  void DeleteItem(DELETEITEMSTRUCT& info) override;
};

class TChangeIconDialog : public TDialog {
public:
  // `fileName` and `iconIndex` are the caller's; they are written only when
  // the dialog ends with OK.
  TChangeIconDialog(TWindow* parent, string* fileName, int16_t* iconIndex);

  void SetupWindow() override;
  void CleanupWindow() override;
  bool CanClose() override;
  void CmOk() override;
  virtual void CmBrowse();
  virtual void EvIconDoubleClick();
  // Empties the list and loads the icons of `name`; false (after the
  // message) when the file holds none.
  bool LoadFileIcons(const char* name);

  TIconList* Icons;
  TButton* Browse;
  TEdit* FileNameEdit;
  THelpButton* Help;

private:
  string* FileName;
  int16_t* IconIndex;

  DECLARE_RESPONSE_TABLE(TChangeIconDialog);
};
