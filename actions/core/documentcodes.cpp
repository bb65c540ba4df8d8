#include "actions/core/documentcodes.h"

namespace {
// ShowWindow values, named here to stay portable.
constexpr int kShowNormal = 1;
constexpr int kShowMinNoActive = 7;
}  // namespace

std::string MailAddress(const TUSStrings& strings) {
  if (strings.Count() < 3) return {};
  return "mailto:" + strings.ItemAt(0).str() + "?subject=" + strings.ItemAt(1).str() + "&body=" +
         strings.ItemAt(2).str();
}

void RunDocumentCode(TActionRun& run, TDocumentHost& host) {
  const TActionStruct& a = run.Action;
  switch (static_cast<TActionCode>(static_cast<int16_t>(a.Code))) {
    case TActionCode::OpenDocument:
      // The file name goes unresolved, as the author wrote it.
      if (!(a.Flags & (kOpenInBrowser | kOpenInBrowserAndWait))) {
        host.ShellOpen("open", a.Text1.str(), kShowNormal);
      } else {
        const std::string browser = host.BrowserProgram();
        if (!browser.empty()) host.RunBrowser(browser, a.Text1.str(), (a.Flags & kOpenInBrowserAndWait) != 0);
      }
      break;
    case TActionCode::OpenOrPrintDocument: {
      const std::string file = host.ResolveFileName(a);
      if (a.Value1 == 0)
        host.ShellOpen("open", file, kShowNormal);
      else
        host.ShellOpen("print", file, kShowMinNoActive);
      break;
    }
    case TActionCode::SendMail: {
      const std::string address = MailAddress(a.Strings);
      if (address.empty()) break;
      // Without a mail program the reader would see nothing at all.
      if (host.ShellOpen("open", address, kShowNormal) <= 32) host.NoProgramBox();
      break;
    }
    default: break;
  }
}
