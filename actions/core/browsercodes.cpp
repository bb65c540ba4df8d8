#include "actions/core/browsercodes.h"

#include "actions/core/actioncodes.h"
#include "foundation/core/pathstr.h"

bool BrowserOperationOfCode(uint16_t code, TBrowserOperation& operation) {
  static const struct {
    TActionCode Code;
    TBrowserOperation Operation;
  } kCodes[] = {
      {TActionCode::BrowserForward, TBrowserOperation::GoForward},
      {TActionCode::BrowserStop, TBrowserOperation::Stop},
      {TActionCode::BrowserRefresh, TBrowserOperation::Refresh},
      {TActionCode::BrowserHome, TBrowserOperation::GoHome},
      {TActionCode::BrowserNavigate, TBrowserOperation::Navigate},
      {TActionCode::BrowserFontsLargest, TBrowserOperation::FontsLargest},
      {TActionCode::BrowserFontsLarge, TBrowserOperation::FontsLarge},
      {TActionCode::BrowserFontsMedium, TBrowserOperation::FontsMedium},
      {TActionCode::BrowserFontsSmall, TBrowserOperation::FontsSmall},
      {TActionCode::BrowserFontsSmallest, TBrowserOperation::FontsSmallest},
      {TActionCode::BrowserPrint, TBrowserOperation::Print},
      {TActionCode::BrowserBack, TBrowserOperation::GoBack},
  };
  for (const auto& c : kCodes) {
    if (IsActionCode(code, c.Code)) {
      operation = c.Operation;
      return true;
    }
  }
  return false;
}

void RunBrowserCode(const TActionStruct& action, TBrowserHost& host) {
  TBrowserOperation operation;
  if (!BrowserOperationOfCode(action.Code, operation) || !host.IsBrowser(action.Target)) return;
  string address;
  if (operation == TBrowserOperation::Navigate) {
    address = action.Text1;
    if (!IsUrlAddress(address.c_str())) address = host.ResolvePath(address);
  }
  host.Run(action.Target, operation, address);
}
