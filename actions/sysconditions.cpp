#include "actions/sysconditions.h"

#include <shellapi.h>

#include "engine/bookstruct.h"
#include "engine/core/format/bookoptions.h"
#include "engine/startup.h"
#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"
#include "platform/owl/file.h"
#include "platform/owl/uiservice.h"

namespace {

constexpr LONG kValueBufferSize = 256;

class TWin32ConditionHost : public TConditionHost {
public:
  OsVersion Version() override {
    OSVERSIONINFOA vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    ::GetVersionExA(&vi);
    return OsVersion{vi.dwPlatformId, vi.dwMajorVersion, vi.dwMinorVersion};
  }
  long QueryValue(uint32_t root, const std::string& path) override {
    char value[kValueBufferSize];
    LONG size = kValueBufferSize;
    return ::RegQueryValueA(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root)), path.c_str(), value, &size);
  }
  bool Ask(const std::string& message) override {
    return UiMessageBox(nullptr, message.c_str(), ProgramTitle(), MB_YESNO | MB_ICONQUESTION) != IDNO;
  }
  void Inform(const std::string& message) override {
    UiMessageBox(nullptr, message.c_str(), ProgramTitle(), MB_ICONINFORMATION);
  }
  void StartInstaller(const std::string& installer, bool url) override {
    if (url)
      ::ShellExecuteA(nullptr, "open", installer.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    else
      ::WinExec(installer.c_str(), SW_SHOWNORMAL);
  }
  void WaitForInstaller() override {
    UiMessageBox(nullptr, "Bitte dr\xFC" "cken Sie nach beendeter Installation die Eingabetaste...", ProgramTitle(),
                 MB_ICONINFORMATION);
  }
};

}  // namespace

std::vector<TSystemConditionChecker>& SystemConditions() {
  static std::vector<TSystemConditionChecker> list;
  return list;
}

std::string SystemConditionsPath() {
  char dir[MAX_PATH + 1] = {};
  GetProgramDirectory(dir);
  return std::string(dir) + "system.cnd";
}

void ReadConditions() {
  SystemConditions().clear();
  const std::string path = SystemConditionsPath();
  if (!FileExists(path.c_str())) return;
  TFile f(path.c_str());
  if (f.IsOpen()) ::ReadConditions(f, SystemConditions());
}

void WriteConditions() {
  const std::string path = SystemConditionsPath();
  TFile f(path.c_str(), TFile::ReadWrite | TFile::PermRead | TFile::CreateAlways);
  if (f.IsOpen()) ::WriteConditions(f, SystemConditions());
}

void CheckSystemConditions(const TBookStructOptions& info) {
  ReadConditions();
  TWin32ConditionHost host;
  for (TSystemConditionChecker& c : SystemConditions()) {
    if (!IsUrlAddress(c.Installer.c_str())) TBookStruct::ResolvePathTo(c.Installer, info);
    CheckCondition(c, host);
  }
}
