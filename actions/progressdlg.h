// The progress of long operations in a small modeless dialog with a gauge:
// ReportProgress for the installer and the search dialogs (percentages),
// ZipExtractProgress for the unpacker (byte counts). Each keeps its own
// dialog; both keep the page painted while the operation runs.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/core/cstring.h"
#include "platform/owl/dialog.h"

class TxGauge;

class TProgressDialog : public TDialog {
public:
  TProgressDialog(TWindow* parent, const char* text);
  void SetupWindow() override;
  TxGauge* Gauge = nullptr;
  string Text;
};

// Percent 100 closes the dialog; a first call opens it unless it is 100.
void ReportProgress(int percent, const char* text);
// The unpacker's protocol: total -1 begins, total -2 ends, other calls add
// the block's bytes.
void ZipExtractProgress(const char* name, int64_t total, int64_t bytes);
// The open dialogs, for tests.
TProgressDialog* ReportProgressDialog();
TProgressDialog* ZipProgressDialog();
