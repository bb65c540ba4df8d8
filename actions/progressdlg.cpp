#include "actions/progressdlg.h"

#include "actions/core/copyinstall.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"
#include "foundation/gauge.h"
#include "foundation/resstring.h"
#include "foundation/winutil.h"
#include "resources/ids_actions.h"

namespace {
constexpr int kGaugeId = 100;
constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr COLORREF kGaugeBlue = RGB(0, 0, 255);
constexpr int kLedSpacing = 4;
constexpr int kLedThick = 90;

TProgressDialog* ReportDialog = nullptr;
TProgressDialog* ZipDialog = nullptr;
TZipProgressCount ZipCount;

TWindow* PageWindowOfOpenBook() {
  TBookStruct* book = GetOpenBook();
  return book ? book->PageWindow : nullptr;
}

// Repaints the page and takes one message, dispatching only paint.
void KeepPainted() {
  if (TWindow* page = PageWindowOfOpenBook())
    if (page->GetHandle()) ::UpdateWindow(page->GetHandle());
  int32_t abortFlag = 0;
  PumpMessagesCheckAbort(abortFlag);
}

void Close(TProgressDialog*& dialog) {
  if (!dialog) return;
  dialog->Destroy();
  delete dialog;
  dialog = nullptr;
}
}  // namespace

TProgressDialog::TProgressDialog(TWindow* parent, const char* text)
    : TDialog(parent, "IDD_PROGRESS"), Text(text ? text : "") {}

void TProgressDialog::SetupWindow() {
  TDialog::SetupWindow();
  SetCaption(Text.c_str());
  TRect r;
  if (!GetDlgItemClientRect(GetHandle(), kGaugeId, r, true)) return;
  Gauge = new TxGauge(this, Text.c_str(), kGaugeId, r.left, r.top, r.Width(), r.Height(), true);
  Gauge->Create();
  Gauge->SetRange(1, 100);
  Gauge->SetLed(kLedSpacing, kLedThick);
  Gauge->BarColor = kGaugeBlue;
  Gauge->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), kPlaceFlags);
  Gauge->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  Gauge->Show(SW_SHOW);
}

void ReportProgress(int percent, const char* text) {
  KeepPainted();
  if (!ReportDialog && percent != 100) {
    ReportDialog = new TProgressDialog(PageWindowOfOpenBook(), text);
    if (ReportDialog->Create()) {
      CenterWindow(ReportDialog->GetHandle(), nullptr);
      ReportDialog->Show(SW_SHOW);
    }
  }
  if (ReportDialog && ReportDialog->Gauge) ReportDialog->Gauge->SetValue(percent);
  if (percent == 100) Close(ReportDialog);
}

void ZipExtractProgress(const char*, int64_t total, int64_t bytes) {
  const int percent = ZipCount.Step(total, bytes);
  KeepPainted();
  if (!ZipDialog) {
    ZipDialog = new TProgressDialog(PageWindowOfOpenBook(), "Fortschritt des Entpackens");
    if (ZipDialog->Create()) {
      ZipDialog->Show(SW_HIDE);
      ZipDialog->SetCaption(LoadResString(IDS_UNPACK_PROGRESS));
      CenterWindow(ZipDialog->GetHandle(), nullptr);
      ZipDialog->Show(SW_SHOW);
    }
  }
  if (ZipDialog->Gauge) ZipDialog->Gauge->SetValue(percent);
  if (percent == 100) Close(ZipDialog);
}

TProgressDialog* ReportProgressDialog() { return ReportDialog; }
TProgressDialog* ZipProgressDialog() { return ZipDialog; }
