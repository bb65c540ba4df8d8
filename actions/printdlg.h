// TBasePrintInfoDialog: the page set-up of the printing codes ("Druckseite
// einrichten", "IDD_BMP_PRINT") over a working copy of the settings: title
// and page number with their alignment and fonts, the margins, the paper
// orientation and how a picture is sized. OK copies the copy back; any
// other end leaves the caller's settings as they were.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "engine/core/format/printinfo.h"
#include "platform/owl/dialog.h"

class TDib;
class TPrinter;

// Control ids of "IDD_BMP_PRINT".
constexpr int kPrintTitleId = 1000;
constexpr int kPrintMarginLeftId = 1002;
constexpr int kPrintMarginTopId = 1003;
constexpr int kPrintMarginBottomId = 1004;
constexpr int kPrintMarginRightId = 1005;
constexpr int kPrintShowTitleId = 1006;
constexpr int kPrintShowPageNumberId = 1007;
constexpr int kPrintTitleFontId = 1008;
constexpr int kPrintPageNumberFontId = 1009;
constexpr int kPrintPageNumberLeftId = 1010;  // 1011 centred, 1012 right
constexpr int kPrintTitleLeftId = 1020;       // 1021 centred, 1022 right
constexpr int kPrintFillId = 1031;
constexpr int kPrintAspectId = 1032;
constexpr int kPrintFixedId = 1033;
constexpr int kPrintWidthId = 1034;
constexpr int kPrintHeightId = 1035;
constexpr int kPrintPictureGroupId = 1036;
constexpr int kPrintTargetSizeId = 1037;
constexpr int kPrintPortraitId = 1038;
constexpr int kPrintLandscapeId = 1039;
constexpr int kPrintWidthLabelId = 1040;
constexpr int kPrintHeightLabelId = 1041;

// "%.2f".
std::string FormatPrintSize(double value);
// Digits and "." only: anything else is dropped.
std::string NumberFilter(const std::string& text);

class TBasePrintInfoDialog : public TDialog {
public:
  // `picture` gives the aspect ratio of the size coupling (none without);
  // `printer`, when given, takes the chosen paper orientation.
  TBasePrintInfoDialog(TWindow* parent, TBasePrintOutInfo& settings, const TDib* picture, TPrinter* printer);

  void SetupWindow() override;
  void CmOk() override;

  void CmTitleFont();
  void CmPageNumberFont();
  void BnFill();
  void BnFixed();
  void BnAspect();
  void EnWidthChange();
  void EnHeightChange();
  void EnLeftChange();
  void EnTopChange();
  void EnRightChange();
  void EnBottomChange();

  const TBasePrintOutInfo& Working() const { return Work; }

private:
  void ApplyEnabling();
  // Sets the other size from `fromId`'s by the picture's aspect ratio.
  void Couple(int fromId);
  double Number(int id) const;
  void EnNumberChange(int id);
  void SetText(int id, const std::string& text);
  std::string Text(int id) const;

  TBasePrintOutInfo Work;
  TBasePrintOutInfo& Target;
  TPrinter* Printer;
  double Aspect = 0.0;
  bool Filtering = false;
  bool Coupling = false;

  DECLARE_RESPONSE_TABLE(TBasePrintInfoDialog);
};
