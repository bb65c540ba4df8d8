// TControl: a child window that is a control, created in code or bound to a
// dialog item by id (the constructors taking a resource id). Owner-drawn
// controls get their parent's WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM and
// WM_DELETEITEM through the virtual operations below.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/window.h"

class TControl : public TWindow {
public:
  // Style WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP.
  TControl(TWindow* parent, int id, const char* title, int x, int y, int w, int h, TModule* module = nullptr);
  // The dialog item `resourceId` of the parent dialog.
  TControl(TWindow* parent, int resourceId, TModule* module = nullptr);

  // Calls ODADrawEntire, ODAFocus or ODASelect by the item action.
  virtual void DrawItem(DRAWITEMSTRUCT& info);
  virtual void ODADrawEntire(DRAWITEMSTRUCT& info);
  virtual void ODAFocus(DRAWITEMSTRUCT& info);
  virtual void ODASelect(DRAWITEMSTRUCT& info);
  virtual void MeasureItem(MEASUREITEMSTRUCT& info);
  virtual int CompareItem(COMPAREITEMSTRUCT& info);
  virtual void DeleteItem(DELETEITEMSTRUCT& info);
};
