#include "platform/owl/printer.h"

#include <climits>
#include <cstring>

#include "platform/owl/uiservice.h"
#include "platform/owl/window.h"

int TPrintDC::StartDoc(const char* docName, const char* output) {
  DOCINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.lpszDocName = docName;
  info.lpszOutput = output;
  return ::StartDocA(Handle, &info);
}

int TPrintDC::Escape(int escape, int count, const void* input, void* output) {
  return ::Escape(Handle, escape, count, static_cast<const char*>(input), output);
}

TPrintout::TPrintout(const char* title) : Title(title ? title : "") {}

void TPrintout::SetPrintParams(TPrintDC* dc, TSize pageSize) {
  DC = dc;
  PageSize = pageSize;
}

void TPrintout::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  minPage = 1;
  maxPage = 1;
  selFromPage = selToPage = 0;
}

void TPrintout::BeginPrinting() {}
void TPrintout::BeginDocument(int, int, uint) {}
bool TPrintout::HasPage(int pageNumber) { return pageNumber == 1; }
void TPrintout::PrintPage(int, TRect&, uint) {}
void TPrintout::EndDocument() {}
void TPrintout::EndPrinting() {}

bool TPrinter::ChooseDefault() {
  if (Data.HDevNames) return true;
  // The default printer, without asking.
  PRINTDLGA pd;
  std::memset(&pd, 0, sizeof pd);
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT;
  if (!GetUiService().PrintDialog(pd)) return false;
  Data.HDevMode = pd.hDevMode;
  Data.HDevNames = pd.hDevNames;
  return Data.HDevNames != nullptr;
}

int TPrinter::GetOrientation() {
  if (!ChooseDefault()) return 0;
  const DEVMODEA* mode = Data.GetDevMode();
  return mode ? mode->dmOrientation : 0;
}

bool TPrinter::SetOrientation(int orientation) {
  if (!ChooseDefault() || !Data.HDevMode) return false;
  auto* mode = static_cast<DEVMODEA*>(::GlobalLock(Data.HDevMode));
  if (!mode) return false;
  mode->dmOrientation = static_cast<short>(orientation);
  mode->dmFields |= DM_ORIENTATION;
  ::GlobalUnlock(Data.HDevMode);
  return true;
}

HDC TPrinter::CreatePrinterDC() {
  if (HDC dc = Data.TransferDC()) return dc;
  if (!ChooseDefault()) return nullptr;
  const char* device = Data.GetDeviceName();
  if (!device) return nullptr;
  return ::CreateDCA(Data.GetDriverName(), device, nullptr, Data.GetDevMode());
}

bool TPrinter::Setup(TWindow* parent) {
  const uint32_t flags = Data.Flags;
  Data.Flags = PD_PRINTSETUP;
  const bool ok = TPrintDialog(parent, Data).Execute() == IDOK;
  Data.Flags = flags;
  return ok;
}

bool TPrinter::Print(TWindow* parent, TPrintout& printout, bool prompt) {
  Error = NoError;
  int minPage = 1, maxPage = 1, fromPage = 0, toPage = 0;
  printout.GetDialogInfo(minPage, maxPage, fromPage, toPage);
  if (prompt) {
    Data.Flags = PD_RETURNDC | PD_USEDEVMODECOPIES;
    if (maxPage > 0) {
      Data.MinPage = minPage;
      Data.MaxPage = maxPage;
      Data.FromPage = fromPage > 0 ? fromPage : minPage;
      Data.ToPage = toPage > 0 ? toPage : maxPage;
    } else {
      Data.Flags |= PD_NOPAGENUMS;
      Data.MinPage = Data.MaxPage = Data.FromPage = Data.ToPage = 1;
    }
    if (TPrintDialog(parent, Data).Execute() != IDOK) {
      Error = Data.Error ? NoPrinter : UserCancelled;
      return false;
    }
  }
  HDC hdc = CreatePrinterDC();
  if (!hdc) {
    Error = NoPrinter;
    return false;
  }
  TPrintDC dc(hdc);
  int first = 1, last = INT_MAX;
  if (prompt && maxPage > 0 && (Data.Flags & PD_PAGENUMS)) {
    first = Data.FromPage;
    last = Data.ToPage;
  }
  const TSize pageSize(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
  printout.SetPrintParams(&dc, pageSize);
  printout.BeginPrinting();
  bool ok = dc.StartDoc(printout.GetTitle()) > 0;
  if (ok) {
    printout.BeginDocument(first, last, 0);
    for (int page = first; page <= last && printout.HasPage(page); ++page) {
      if (dc.StartPage() <= 0) {
        ok = false;
        break;
      }
      TRect rect(TPoint(0, 0), pageSize);
      printout.PrintPage(page, rect, 0);
      if (dc.EndPage() <= 0) {
        ok = false;
        break;
      }
    }
    printout.EndDocument();
    if (ok)
      dc.EndDoc();
    else
      dc.AbortDoc();
  }
  printout.EndPrinting();
  printout.SetPrintParams(nullptr, TSize());
  if (!ok) Error = JobFailed;
  return ok;
}
