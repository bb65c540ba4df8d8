// TBkGndDlg: the background dialog (resource 9100, "Hintergrund"). It edits
// a private copy of the caller's TBackground, shows the copy live in the
// preview TPeepHole and copies it back only on OK.
#pragma once
#include "platform/owl/defs.h"
#include <vfw.h>

#include <memory>

#include "platform/owl/button.h"
#include "platform/owl/combobox.h"
#include "platform/owl/dialog.h"

class TBackground;
class THelpButton;

enum : int {
  kBkGndPicture = 9101,
  kBkGndPattern = 9102,
  kBkGndColour = 9103,
  kBkGndPreview = 9104,
  kBkGndKind = 9105,
  kBkGndReference = 9106,
  kBkGndEndColour = 9107,
};

// The preview: an owner-drawn button that never takes clicks or focus.
class TPeepHole : public TButton {
public:
  TPeepHole(TWindow* parent, int resourceId, TBackground* background);
  ~TPeepHole() override;
  void ODADrawEntire(DRAWITEMSTRUCT& info) override;
  void ODAFocus(DRAWITEMSTRUCT& info) override { ODADrawEntire(info); }
  void ODASelect(DRAWITEMSTRUCT& info) override { ODADrawEntire(info); }

  TBackground* Background;
  HDRAWDIB DrawDib = nullptr;
};

class TBkGndDlg : public TDialog {
public:
  // `target` stays the caller's; it is written only by OK.
  TBkGndDlg(TWindow* parent, TBackground* target);
  ~TBkGndDlg() override;

  void SetupWindow() override;
  void UpdateControls();
  void CmOk() override;
  virtual void CmKind() { UpdateControls(); }
  virtual void CmPattern() { UpdateControls(); }
  virtual void CmColour();
  virtual void CmEndColour();
  virtual void CmPicture();

  const TBackground& Working() const { return *Copy; }

  TPeepHole* Preview;
  TComboBox* Kind;
  TComboBox* Pattern;
  TButton* Colour;
  TButton* Picture;
  TCheckBox* Reference;
  TButton* EndColour;
  THelpButton* Help;

private:
  TBackground* Target;
  std::unique_ptr<TBackground> Copy;

  DECLARE_RESPONSE_TABLE(TBkGndDlg);
};
