// Printing: TPrinter runs a print job over a TPrintout. It asks the user
// (the print dialog, through the UI service) or takes the default printer,
// opens the printer DC and calls the printout's operations page by page.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "platform/owl/commdial.h"
#include "platform/owl/dc.h"

class TWindow;

// A printer device context, deleted with the object.
class TPrintDC : public TCreatedDC {
public:
  // Takes over a DC (as the print dialog returns it).
  explicit TPrintDC(HDC dc) { Init(dc); }
  TPrintDC(const char* driver, const char* device, const char* output, const DEVMODEA* init)
      : TCreatedDC(driver, device, output, init) {}

  int StartDoc(const char* docName, const char* output = nullptr);
  int EndDoc() { return ::EndDoc(Handle); }
  int AbortDoc() { return ::AbortDoc(Handle); }
  int StartPage() { return ::StartPage(Handle); }
  int EndPage() { return ::EndPage(Handle); }
  int Escape(int escape, int count = 0, const void* input = nullptr, void* output = nullptr);
};

class TPrintout {
public:
  explicit TPrintout(const char* title);
  virtual ~TPrintout() = default;
  TPrintout(const TPrintout&) = delete;
  TPrintout& operator=(const TPrintout&) = delete;

  // Called with the printer DC and its page size in device units before
  // printing, and with null afterwards.
  virtual void SetPrintParams(TPrintDC* dc, TSize pageSize);
  // The page range offered in the print dialog; maxPage 0 offers none.
  virtual void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage);
  virtual void BeginPrinting();
  virtual void BeginDocument(int startPage, int endPage, uint flags);
  virtual bool HasPage(int pageNumber);
  virtual void PrintPage(int page, TRect& rect, uint flags);
  virtual void EndDocument();
  virtual void EndPrinting();

  const char* GetTitle() const { return Title.c_str(); }
  TPrintDC* GetPrintDC() const { return DC; }
  TSize GetPageSize() const { return PageSize; }

protected:
  std::string Title;
  TPrintDC* DC = nullptr;
  TSize PageSize;
};

class TPrinter {
public:
  enum TError { NoError = 0, UserCancelled = 1, NoPrinter = 2, JobFailed = 3 };

  TPrinter() = default;
  virtual ~TPrinter() = default;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // Prints; with prompt the print dialog is shown first (its device choice
  // is kept for the next job). False when cancelled or failed (GetError).
  virtual bool Print(TWindow* parent, TPrintout& printout, bool prompt);
  // The print set-up dialog; true when the user accepted.
  virtual bool Setup(TWindow* parent);
  TPrintDialog::TData& GetSetup() { return Data; }
  // The paper orientation of the printer's set-up (DMORIENT_PORTRAIT or
  // DMORIENT_LANDSCAPE); a printer not chosen yet is the default printer.
  // 0 without a printer.
  int GetOrientation();
  bool SetOrientation(int orientation);
  TError GetError() const { return Error; }

protected:
  // A DC for the chosen or the default printer, or null.
  HDC CreatePrinterDC();
  // Takes the default printer when none is chosen; false without one.
  bool ChooseDefault();

  TPrintDialog::TData Data;
  TError Error = NoError;
};
