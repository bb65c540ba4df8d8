#include "actions/printdlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "foundation/commdlgs.h"
#include "foundation/streamio.h"
#include "platform/owl/dib.h"
#include "platform/owl/printer.h"

DEFINE_RESPONSE_TABLE1(TBasePrintInfoDialog, TDialog)
  EV_COMMAND(kPrintTitleFontId, CmTitleFont),
  EV_COMMAND(kPrintPageNumberFontId, CmPageNumberFont),
  EV_BN_CLICKED(kPrintFillId, BnFill),
  EV_BN_CLICKED(kPrintFixedId, BnFixed),
  EV_BN_CLICKED(kPrintAspectId, BnAspect),
  EV_EN_CHANGE(kPrintWidthId, EnWidthChange),
  EV_EN_CHANGE(kPrintHeightId, EnHeightChange),
  EV_EN_CHANGE(kPrintMarginLeftId, EnLeftChange),
  EV_EN_CHANGE(kPrintMarginTopId, EnTopChange),
  EV_EN_CHANGE(kPrintMarginRightId, EnRightChange),
  EV_EN_CHANGE(kPrintMarginBottomId, EnBottomChange),
END_RESPONSE_TABLE;

namespace {
constexpr int kTitleLength = 64;
constexpr int kMarginLength = 7;
constexpr int kSizeLength = 8;
constexpr double kLeastSize = 0.1;
constexpr int kPictureControls[] = {kPrintFillId,   kPrintFixedId,        kPrintAspectId,       kPrintWidthId,
                                    kPrintHeightId, kPrintTargetSizeId,   kPrintPictureGroupId, kPrintWidthLabelId,
                                    kPrintHeightLabelId};
}  // namespace

std::string FormatPrintSize(double value) {
  char b[64];
  std::snprintf(b, sizeof b, "%.2f", value);
  return b;
}

std::string NumberFilter(const std::string& text) {
  std::string s;
  for (char c : text)
    if ((c >= '0' && c <= '9') || c == '.') s += c;
  return s;
}

TBasePrintInfoDialog::TBasePrintInfoDialog(TWindow* parent, TBasePrintOutInfo& settings, const TDib* picture,
                                           TPrinter* printer)
    : TDialog(parent, "IDD_BMP_PRINT"), Work(settings), Target(settings), Printer(printer) {
  if (picture && picture->IsOK() && picture->Height() > 0)
    Aspect = static_cast<double>(picture->Width()) / picture->Height();
}

std::string TBasePrintInfoDialog::Text(int id) const {
  char b[256] = {};
  GetDlgItemText(id, b, sizeof b);
  return b;
}

void TBasePrintInfoDialog::SetText(int id, const std::string& text) {
  // Only a change is written, so the two coupled sizes do not chase each
  // other.
  if (Text(id) != text) SetDlgItemText(id, text.c_str());
}

double TBasePrintInfoDialog::Number(int id) const { return std::atof(Text(id).c_str()); }

void TBasePrintInfoDialog::SetupWindow() {
  TDialog::SetupWindow();
  if (Work.PictureFlags & 0x8) {
    // Text printing: no picture options; OK and Cancel move up to where
    // they began and the dialog loses the height they freed.
    RECT group{}, ok{};
    ::GetWindowRect(GetDlgItem(kPrintPictureGroupId), &group);
    ::GetWindowRect(GetDlgItem(IDOK), &ok);
    const int shift = ok.top - group.top;
    for (int id : kPictureControls) ::ShowWindow(GetDlgItem(id), SW_HIDE);
    for (int id : {IDOK, IDCANCEL}) {
      HWND button = GetDlgItem(id);
      RECT r{};
      ::GetWindowRect(button, &r);
      POINT p{r.left, r.top - shift};
      ::ScreenToClient(HWindow, &p);
      ::SetWindowPos(button, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT w{};
    ::GetWindowRect(HWindow, &w);
    ::SetWindowPos(HWindow, nullptr, 0, 0, w.right - w.left, w.bottom - w.top - shift,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendDlgItemMessage(kPrintTitleId, EM_LIMITTEXT, kTitleLength);
  for (int id : {kPrintMarginLeftId, kPrintMarginTopId, kPrintMarginRightId, kPrintMarginBottomId})
    SendDlgItemMessage(id, EM_LIMITTEXT, kMarginLength);
  for (int id : {kPrintWidthId, kPrintHeightId}) SendDlgItemMessage(id, EM_LIMITTEXT, kSizeLength);
  Filtering = true;
  SetText(kPrintTitleId, Work.Title.c_str());
  SetText(kPrintMarginLeftId, FormatPrintSize(Work.MarginLeft));
  SetText(kPrintMarginTopId, FormatPrintSize(Work.MarginTop));
  SetText(kPrintMarginRightId, FormatPrintSize(Work.MarginRight));
  SetText(kPrintMarginBottomId, FormatPrintSize(Work.MarginBottom));
  SetText(kPrintWidthId, FormatPrintSize(Work.TargetWidth));
  SetText(kPrintHeightId, FormatPrintSize(Work.TargetHeight));
  Filtering = false;
  CheckDlgButton(kPrintShowTitleId, Work.ShowTitle ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kPrintShowPageNumberId, Work.ShowPageNumber ? BST_CHECKED : BST_UNCHECKED);
  const bool fill = (Work.PictureFlags & 0x1) != 0;
  CheckDlgButton(kPrintFillId, fill ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kPrintFixedId, fill ? BST_UNCHECKED : BST_CHECKED);
  CheckDlgButton(kPrintLandscapeId, Work.Landscape ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kPrintPortraitId, Work.Landscape ? BST_UNCHECKED : BST_CHECKED);
  CheckDlgButton(kPrintAspectId, (Work.PictureFlags & 0x4) ? BST_CHECKED : BST_UNCHECKED);
  for (int i = 0; i < 3; ++i) {
    CheckDlgButton(kPrintTitleLeftId + i, Work.TitleAlign == i ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kPrintPageNumberLeftId + i, Work.PageNumberAlign == i ? BST_CHECKED : BST_UNCHECKED);
  }
  ApplyEnabling();
}

void TBasePrintInfoDialog::ApplyEnabling() {
  const bool fixed = IsDlgButtonChecked(kPrintFixedId) == BST_CHECKED;
  const bool aspect = IsDlgButtonChecked(kPrintAspectId) == BST_CHECKED;
  ::EnableWindow(GetDlgItem(kPrintWidthId), fixed);
  ::EnableWindow(GetDlgItem(kPrintHeightId), fixed && !(Aspect == 0.0 && aspect));
}

void TBasePrintInfoDialog::Couple(int fromId) {
  if (Coupling || Aspect <= 0.0 || IsDlgButtonChecked(kPrintAspectId) != BST_CHECKED) return;
  // The size set here does not set the one being typed in return: its
  // rounding would rewrite the text under the caret.
  Coupling = true;
  if (fromId == kPrintWidthId)
    SetText(kPrintHeightId, FormatPrintSize(Number(kPrintWidthId) / Aspect));
  else
    SetText(kPrintWidthId, FormatPrintSize(Number(kPrintHeightId) * Aspect));
  Coupling = false;
}

void TBasePrintInfoDialog::EnNumberChange(int id) {
  if (Filtering) return;
  const std::string text = Text(id);
  const std::string kept = NumberFilter(text);
  if (kept == text) return;
  Filtering = true;
  SetDlgItemText(id, kept.c_str());
  SendDlgItemMessage(id, EM_SETSEL, kept.size(), kept.size());
  Filtering = false;
}

void TBasePrintInfoDialog::EnLeftChange() { EnNumberChange(kPrintMarginLeftId); }
void TBasePrintInfoDialog::EnTopChange() { EnNumberChange(kPrintMarginTopId); }
void TBasePrintInfoDialog::EnRightChange() { EnNumberChange(kPrintMarginRightId); }
void TBasePrintInfoDialog::EnBottomChange() { EnNumberChange(kPrintMarginBottomId); }

void TBasePrintInfoDialog::EnWidthChange() {
  EnNumberChange(kPrintWidthId);
  if (!Filtering) Couple(kPrintWidthId);
}

void TBasePrintInfoDialog::EnHeightChange() {
  EnNumberChange(kPrintHeightId);
  if (!Filtering) Couple(kPrintHeightId);
}

void TBasePrintInfoDialog::BnFill() { ApplyEnabling(); }

void TBasePrintInfoDialog::BnFixed() {
  ApplyEnabling();
  Couple(kPrintWidthId);
}

void TBasePrintInfoDialog::BnAspect() {
  ApplyEnabling();
  Couple(kPrintWidthId);
  Couple(kPrintHeightId);
}

void TBasePrintInfoDialog::CmTitleFont() {
  TChooseFontDialog::TData data = FontDataFromRecord(Work.TitleFontData);
  if (SelectFont(this, data)) Work.TitleFontData = FontRecordFromData(data);
}

void TBasePrintInfoDialog::CmPageNumberFont() {
  TChooseFontDialog::TData data = FontDataFromRecord(Work.PageNumberFontData);
  if (SelectFont(this, data)) Work.PageNumberFontData = FontRecordFromData(data);
}

void TBasePrintInfoDialog::CmOk() {
  Work.Title = Text(kPrintTitleId).substr(0, kTitleLength).c_str();
  Work.MarginLeft = Number(kPrintMarginLeftId);
  Work.MarginTop = Number(kPrintMarginTopId);
  Work.MarginRight = Number(kPrintMarginRightId);
  Work.MarginBottom = Number(kPrintMarginBottomId);
  Work.ShowTitle = IsDlgButtonChecked(kPrintShowTitleId) == BST_CHECKED;
  Work.ShowPageNumber = IsDlgButtonChecked(kPrintShowPageNumberId) == BST_CHECKED;
  for (int i = 0; i < 3; ++i) {
    if (IsDlgButtonChecked(kPrintTitleLeftId + i) == BST_CHECKED) Work.TitleAlign = i;
    if (IsDlgButtonChecked(kPrintPageNumberLeftId + i) == BST_CHECKED) Work.PageNumberAlign = i;
  }
  Work.TargetWidth = std::max(Number(kPrintWidthId), kLeastSize);
  Work.TargetHeight = std::max(Number(kPrintHeightId), kLeastSize);
  if (IsDlgButtonChecked(kPrintFillId) == BST_CHECKED)
    Work.PictureFlags = (Work.PictureFlags | 0x1) & ~0x2u;
  else
    Work.PictureFlags = (Work.PictureFlags & ~0x1u) | 0x2;
  if (IsDlgButtonChecked(kPrintAspectId) == BST_CHECKED)
    Work.PictureFlags |= 0x4;
  else
    Work.PictureFlags &= ~0x4u;
  Work.Landscape = IsDlgButtonChecked(kPrintLandscapeId) == BST_CHECKED;
  if (Printer) {
    const int orientation = Work.Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    if (Printer->GetOrientation() != orientation) Printer->SetOrientation(orientation);
  }
  Target = Work;
  TDialog::CmOk();
}
