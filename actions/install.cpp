#include "actions/install.h"

#include <memory>

#include "actions/core/installrun.h"
#include "actions/progman.h"
#include "actions/progressdlg.h"
#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "platform/owl/applicat.h"
#include "platform/owl/file.h"
#include "platform/owl/framewin.h"
#include "platform/owl/uiservice.h"

namespace {

constexpr const char* kProgressText = "Fortschritt der Installation";
constexpr UINT kPlainBox = MB_OK;

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

void Tell(const std::string& text, UINT type = kPlainBox) {
  UiMessageBox(nullptr, text.c_str(), ProgramTitle(), type);
}

HWND MainWindowHandle() {
  TApplication* app = TApplication::GetApplicationObject();
  TFrameWindow* main = app ? app->GetMainWindow() : nullptr;
  return main ? main->GetHandle() : nullptr;
}

// The folder of the description, whatever its form: with a drive, UNC or
// relative (then "SETUP.DAT" is looked for beside it, or in the current
// folder for a bare name).
std::string SetupDatPath(const std::string& description) {
  const size_t at = description.find_last_of("\\/:");
  return (at == std::string::npos ? std::string() : description.substr(0, at + 1)) + "SETUP.DAT";
}

// The mouse captured for the main window and the wait cursor, for the
// whole run.
class TBusyScope {
public:
  TBusyScope() {
    if (HWND main = MainWindowHandle()) ::SetCapture(main);
    previous_ = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  }
  ~TBusyScope() {
    ::SetCursor(previous_);
    ::ReleaseCapture();
  }

private:
  HCURSOR previous_;
};

// Each member goes into a temporary file beside its target, which replaces
// the target only after a complete decode: a damaged SETUP.DAT never
// destroys a file that was there.
class TFileSink : public TSetupDatSink {
public:
  explicit TFileSink(TProzLZSS& codec) : codec_(codec) {}
  bool MakeFolders(const std::string& path) override { return CreateDirectoryPath(path.c_str()); }
  bool Unpack(const std::string& path, TLzssCore&, tsl::ByteStream& in) override {
    const size_t slash = path.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    char temp[MAX_PATH];
    bool ok = ::GetTempFileNameA(folder.c_str(), "tsl", 0, temp) != 0;
    if (ok) ok = codec_.OpenOutput(temp) && codec_.Decode(&in, codec_.Output());
    codec_.CloseOutput();
    if (ok) ok = ::MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) {
      ::DeleteFileA(temp);
      // The input must still stand behind the member for the next name;
      // a failed run ends here anyway.
    }
    return ok;
  }

private:
  TProzLZSS& codec_;
};

bool FileStamp(const std::string& path, TFileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME st;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !::FileTimeToSystemTime(&local, &st))
    return false;
  stamp = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  ::CloseHandle(h);
  return ok;
}

void WriteUninstallRecord(const TInstallOptionen& o, const std::string& target, const TSetupWalk& walk) {
  TUninstallRecord r;
  r.DeleteMode = InstallDeleteMode(o.Flags);
  r.Target = target;
  // Only the files that are there now get keys, and NUMFILES counts them.
  for (const std::string& f : walk.Files) {
    TFileStamp stamp;
    if (FileStamp(f, stamp)) r.Files.push_back({f, stamp});
  }
  r.Folders = walk.Folders;
  r.WithGroup = o.CreateGroup != 0;
  r.GroupName = o.GroupName.str();
  for (const TVerknuepfung& v : o.Associations) r.Extensions.push_back(v.Extension.str());
  WriteWholeFile(target + "Uninstall.ini", UninstallIniText(r));
}

void MakeAssociations(TInstallOptionen& o, const std::vector<std::string>& files) {
  for (TVerknuepfung& v : o.Associations) {
    v.Program.to_upper();
    const int at = FindLastInstalled(files, v.Program.str());
    bool ok = at >= 0;
    if (ok) {
      UnregisterFileAssociation(v.Extension.c_str());
      ok = RegisterFileAssociation(v.Extension.c_str(), v.Description.c_str(), ShellSafePath(files[at].c_str(), true));
    }
    // A registry that refuses the keys is reported like a missing program.
    if (!ok)
      Tell("Fehler bei Verkn\xFCpfung der Dateiendung:\n" + v.Extension.str() + " mit:\n" + v.Program.str());
  }
}

std::unique_ptr<TProgrammManager> MakeProgramGroup(TInstallOptionen& o, const std::string& target,
                                                   const std::vector<std::string>& files) {
  auto pm = std::make_unique<TProgrammManager>(ProgramTitle());
  pm->GroupName = o.GroupName.str();
  for (TProgrammItem& p : o.ProgramItems) {
    p.FileName.to_upper();
    const int at = FindLastInstalled(files, p.FileName.str());
    if (at < 0) {
      Tell("Fehler bei Erzeugung des Programmeintrags:\n" + p.Title.str() + " mit:\n" + p.FileName.str());
      continue;
    }
    pm->Items.push_back({ShellSafePath(files[at].c_str(), false), p.Title.str(), ""});
  }
  if (o.Flags & kInstallUninstallItem)
    pm->Items.push_back({ShellSafePath((target + "Uninstall.exe").c_str(), false), o.GroupName.str() + " Deinstallation", ""});
  pm->CreateGroupAndItems();
  return pm;
}

}  // namespace

const char* ShellSafePath(const char* path, bool allowShort) {
  static std::string result;
  const std::string p = path ? path : "";
  char shortPath[MAX_PATH] = {};
  const DWORD n = p.empty() ? 0 : ::GetShortPathNameA(p.c_str(), shortPath, MAX_PATH);
  result = ShellSafeChoice(p, shortPath, n > 0 && n < MAX_PATH, allowShort);
  return result.c_str();
}

void TProzLZSS::Progress(uint32_t produced, uint32_t unpacked) {
  uint32_t quiet = 0;
  const int percent = Gate.OnByte(produced, unpacked, quiet);
  if (percent >= 0) ReportProgress(percent, kProgressText);
  // The bytes before the next whole percentage are passed over.
  SetProgressQuiet(quiet);
}

void LoadInstallDescription(const char* path, const char* name) {
  if (!path || !FileExists(path)) return;
  TFile f(path);
  if (!f.IsOpen()) return;
  auto key = std::make_unique<TInstallStructKey>();
  key->Name = name ? name : "";
  key->Options.Read(f);
  key->Path = path;
  InstallDescriptionList().Replace(std::move(key));
}

void RunInstallation(const char* name) {
  TInstallStructKey* entry = InstallDescriptionList().Get(name ? name : "");
  if (!entry || entry->Busy) return;
  entry->Busy = 1;
  // Cleared on every way out, so a run that failed can be retried.
  struct TBusyFlag {
    uint8_t& flag;
    ~TBusyFlag() { flag = 0; }
  } busy{entry->Busy};
  TInstallOptionen& o = entry->Options;

  std::string target = Trim(o.TargetFolder.str());
  o.TargetFolder = target;
  if (!target.empty()) {
    target.erase(target.find_last_not_of('\\') + 1);
    target += "\\";
  }
  const std::string setup = SetupDatPath(entry->Path.str());
  if (!FileExists(setup.c_str())) {
    Tell("Kann Datei SETUP.DAT nicht finden!");
    return;
  }
  uint32_t total = 0;
  {
    TFile f(setup.c_str());
    total = SetupDatTotal(f);
  }
  TBusyScope cursor;
  auto codec = std::make_unique<TProzLZSS>(total);
  if (!codec->OpenInput(setup.c_str())) return;
  TFileSink sink(*codec);
  const TSetupWalk walk = WalkSetupDat(*codec->Input(), target, *codec, sink);
  if (walk.Step != TSetupStep::Done) {
    Tell((walk.Step == TSetupStep::FolderFailed ? "Fehler bei Erzeugen des Verzeichnisses:\n"
                                                : "Fehler beim Schreiben der Datei:\n") +
         walk.Path);
    ReportProgress(100, kProgressText);
    return;
  }
  MakeAssociations(o, walk.Files);
  std::unique_ptr<TProgrammManager> group;
  if (o.CreateGroup) group = MakeProgramGroup(o, target, walk.Files);
  codec.reset();  // closes SETUP.DAT and the last target
  WriteUninstallRecord(o, target, walk);
  Tell("Die Installation wurde abgeschlossen.", MB_ICONINFORMATION);
  group.reset();
  ReportProgress(100, kProgressText);
}

// --- Option dialogs -----------------------------------------------------

TProgrammGruppenOptionDialog::TProgrammGruppenOptionDialog(TWindow* parent, string& groupName, uint16_t& createGroup)
    : TDialog(parent, "IDD_PROG_GRUPPEN_OPTION"), GroupName(groupName), CreateGroup(createGroup) {}

void TProgrammGruppenOptionDialog::SetupWindow() {
  TDialog::SetupWindow();
  ::SendDlgItemMessageA(GetHandle(), kOptionEditId, EM_LIMITTEXT, kOptionTextLimit - 1, 0);
  ::SetDlgItemTextA(GetHandle(), kOptionEditId, GroupName.c_str());
  ::CheckDlgButton(GetHandle(), kOptionButtonId, CreateGroup ? BST_CHECKED : BST_UNCHECKED);
}

void TProgrammGruppenOptionDialog::CmOk() {
  char text[kOptionTextLimit] = {};
  ::GetDlgItemTextA(GetHandle(), kOptionEditId, text, sizeof text);
  GroupName = text;
  CreateGroup = ::IsDlgButtonChecked(GetHandle(), kOptionButtonId) == BST_CHECKED ? 1 : 0;
  TDialog::CmOk();
}

DEFINE_RESPONSE_TABLE1(TZielverzeichnisOptionDialog, TDialog)
  EV_COMMAND(kOptionButtonId, CmBrowse),
END_RESPONSE_TABLE;

TZielverzeichnisOptionDialog::TZielverzeichnisOptionDialog(TWindow* parent, std::string& target)
    : TDialog(parent, "IDD_ZIELVERZ"), Target(target) {}

void TZielverzeichnisOptionDialog::SetupWindow() {
  TDialog::SetupWindow();
  ::SendDlgItemMessageA(GetHandle(), kOptionEditId, EM_LIMITTEXT, kOptionTextLimit - 1, 0);
  ::SetDlgItemTextA(GetHandle(), kOptionEditId, Target.c_str());
}

void TZielverzeichnisOptionDialog::CmBrowse() {
  char path[MAX_PATH + 1] = {};
  ::GetDlgItemTextA(GetHandle(), kOptionEditId, path, kOptionTextLimit);
  if (!path[0]) ::lstrcpyA(path, "C:\\");
  if (ChooseTargetDirectory(this, path)) ::SetDlgItemTextA(GetHandle(), kOptionEditId, path);
}

void TZielverzeichnisOptionDialog::CmOk() {
  char text[kOptionTextLimit] = {};
  ::GetDlgItemTextA(GetHandle(), kOptionEditId, text, sizeof text);
  Target = text;
  TDialog::CmOk();
}

void RunProgramGroupDialog(const char* name) {
  TInstallStructKey* entry = InstallDescriptionList().Get(name ? name : "");
  if (!entry) return;
  TApplication* app = TApplication::GetApplicationObject();
  TProgrammGruppenOptionDialog(app ? app->GetMainWindow() : nullptr, entry->Options.GroupName,
                               entry->Options.CreateGroup)
      .Execute();
}

void RunTargetDirectoryDialog(const char* name) {
  TInstallStructKey* entry = InstallDescriptionList().Get(name ? name : "");
  if (!entry) return;
  std::string target = entry->Options.TargetFolder.str();
  TApplication* app = TApplication::GetApplicationObject();
  if (TZielverzeichnisOptionDialog(app ? app->GetMainWindow() : nullptr, target).Execute() != IDOK) return;
  string stored(target);
  AddTrailingBackslash(stored);
  entry->Options.TargetFolder = stored;
}
