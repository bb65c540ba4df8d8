// Push buttons, check boxes, radio buttons and group boxes (the system's
// BUTTON class).
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/control.h"

class TButton : public TControl {
public:
  TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h, bool isDefault = false,
          TModule* module = nullptr);
  TButton(TWindow* parent, int resourceId, TModule* module = nullptr);

  const char* GetClassName() override { return "BUTTON"; }
  // BM_GETSTATE / BM_SETSTATE (the pushed look).
  uint GetState() const;
  void SetState(uint state);
  void SetStyle(uint style, bool redraw = true);
  // Clicks the button as the user would.
  void Click();

  bool IsDefPB = false;
};

class TGroupBox : public TControl {
public:
  TGroupBox(TWindow* parent, int id, const char* text, int x, int y, int w, int h, TModule* module = nullptr);
  TGroupBox(TWindow* parent, int resourceId, TModule* module = nullptr);
  const char* GetClassName() override { return "BUTTON"; }
};

class TCheckBox : public TButton {
public:
  // An automatic check box.
  TCheckBox(TWindow* parent, int id, const char* title, int x, int y, int w, int h, TGroupBox* group = nullptr,
            TModule* module = nullptr);
  TCheckBox(TWindow* parent, int resourceId, TGroupBox* group = nullptr, TModule* module = nullptr);

  // BF_UNCHECKED (0), BF_CHECKED (1) or BF_GRAYED (2).
  uint GetCheck() const;
  void SetCheck(uint check);
  void Check() { SetCheck(BST_CHECKED); }
  void Uncheck() { SetCheck(BST_UNCHECKED); }
  void Toggle();
  bool IsChecked() const { return GetCheck() == BST_CHECKED; }

  TGroupBox* Group;
};

class TRadioButton : public TCheckBox {
public:
  // An automatic radio button.
  TRadioButton(TWindow* parent, int id, const char* title, int x, int y, int w, int h, TGroupBox* group = nullptr,
               TModule* module = nullptr);
  TRadioButton(TWindow* parent, int resourceId, TGroupBox* group = nullptr, TModule* module = nullptr);
};
