#include "actions/core/documentcodes.h"

#include "actions/core/execservices.h"
#include "foundation/core/pathstr.h"

namespace {
// ShowWindow values, named here to stay portable.
constexpr int kShowNormal = 1;
constexpr int kShowMinNoActive = 7;

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The extension with its dot; empty when the last path component has none.
std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

// The installer offer: true when it took over (the action ends), false when
// no installer is registered and the empty program is started.
bool OfferInstaller(TDocumentHost& host, const std::string& key) {
  const std::string entry = host.InstallationEntry(key);
  if (entry.empty()) return false;
  const size_t comma = entry.find(',');
  const std::string name = comma == std::string::npos ? std::string() : entry.substr(0, comma);
  const std::string installer = comma == std::string::npos ? entry : entry.substr(comma + 1);
  const std::string question =
      name.empty() ? host.Text(2012) + host.Text(2015) : host.Text(2012) + host.Text(2013) + name + host.Text(2014);
  if (!host.AskYesNo(question)) return true;
  const std::string path = host.ResolvePlain(Trim(installer));
  if (host.FileExists(path)) host.Execute(path);
  return true;
}

void RunProgram(const TActionStruct& a, TDocumentHost& host) {
  const bool fromDocument = (a.Flags & kProgramFromDocument) != 0;
  if (a.Text1.str().empty() && !fromDocument) return;
  // An empty name stays empty: resolved it would name the data folder.
  std::string program = a.Text1.str().empty() ? std::string() : host.ResolveFileName(a);
  std::string document = host.ResolveFileName2(a);
  if (fromDocument && !document.empty() && !IsExecutableFile(document.c_str())) {
    const std::string extension = ExtensionOf(document);
    if (!extension.empty()) {
      const std::string key = extension.substr(1);
      std::string found = host.AssociatedProgram(extension);
      if (found.empty()) {
        // "notepad.exe ^.txt": the program is the value up to its first blank.
        const std::string entry = host.ExtensionsEntry(key);
        found = Trim(entry.substr(0, entry.find(' ')));
      }
      program = found;
      if (program.empty() && (a.Flags & kOfferInstaller) && OfferInstaller(host, key)) return;
    }
  }
  // A resolved path with a blank would reach the program as two arguments.
  if (document.find(' ') != std::string::npos && document.front() != '"') document = "\"" + document + "\"";
  const std::string line = MakeProgramCommandLine(program.c_str(), document.c_str()).c_str();
  const std::string folder = ProgramWorkingFolder(program.c_str()).c_str();
  if (!folder.empty()) host.SetCurrentFolder(folder);
  if (host.Execute(line) < 32) host.StopBox(line);
}

}  // namespace

std::string MailAddress(const TUSStrings& strings) {
  if (strings.Count() < 3) return {};
  return "mailto:" + strings.ItemAt(0).str() + "?subject=" + strings.ItemAt(1).str() + "&body=" +
         strings.ItemAt(2).str();
}

void RunDocumentCode(TActionRun& run, TDocumentHost& host) {
  const TActionStruct& a = run.Action;
  switch (static_cast<TActionCode>(static_cast<int16_t>(a.Code))) {
    case TActionCode::RunProgram: RunProgram(a, host); break;
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
