#include "engine/bookstruct.h"

#include <cstdio>

#include "database/core/dbload.h"
#include "engine/actionqueue.h"
#include "engine/core/format/rawio.h"
#include "engine/core/format/trace.h"
#include "engine/core/pages/projectsave.h"
#include "engine/editoptions.h"
#include "engine/objectfactory.h"
#include "engine/objectwindow.h"
#include "engine/pathresolve.h"
#include "engine/recordgdi.h"
#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"
#include "foundation/index/packhost.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "foundation/systimer.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_engine.h"
#include "resources/ids_foundation.h"

namespace {
TBookStruct* g_openBook = nullptr;

// The project stream reads; others may write, so that a save can replace
// the file.
constexpr uint32_t kProjectStreamMode = TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting;
}  // namespace

TBookStruct* GetOpenBook() { return g_openBook; }

TBookStruct* SetOpenBook(TBookStruct* book) {
  TBookStruct* old = g_openBook;
  g_openBook = book;
  return old;
}

TBookStruct::TBookStruct(TObjectWindow* window, const char* fileName)
    : TimeManager((TSystemTimer::UseSystemClock(), std::make_unique<TSysTimeManager>())),
      ObjectManager(std::make_unique<TObjectManager>(window)),
      PageWindow(window) {
  TObjectManager::InitContainers(ObjectManager.get());
  CreatePendingActions();
  ProgramFolder = SystemInfo().ProgramDirectory;
  AddTrailingBackslash(ProgramFolder);
  StartTime = ::GetTickCount();
  SetOpenBook(this);
  previousContext_ = tsl::SetOpenProject(this);
  if (fileName && *fileName) {
    lstrcpynA(ProjectFileName, fileName, sizeof ProjectFileName);
    SetProjectPath(ProjectFileName);
  } else {
    NewProject = 1;
    MakeProgramTempFileName(TempFileName);
  }
  // The presentation's project (made by the page window that owns it) loads
  // at once and runs its clock; one made beside a page window is read by
  // its maker.
  if (window && window->OwnsProject) {
    Load();
    StartClock();
  }
}

TBookStruct::~TBookStruct() {
  Clear();
  ObjectManager.reset();
  DeletePendingActions();
  CloseProjectStream();
  if (TempFileName[0] && FileExists(TempFileName)) ::DeleteFileA(TempFileName);
  TFontManager::RemoveFonts(Fonts);
  if (tsl::GetOpenProject() == this) tsl::SetOpenProject(previousContext_);
  if (g_openBook == this) g_openBook = nullptr;
}

// ---- the project file ----

bool TBookStruct::OpenProjectStream() {
  CloseProjectStream();
  auto f = std::make_unique<TFile>(ProjectFileName, kProjectStreamMode);
  if (!f->IsOpen()) return false;
  Stream = std::move(f);
  if (ObjectManager) ObjectManager->Stream = Stream.get();
  return true;
}

void TBookStruct::CloseProjectStream() {
  if (ObjectManager && ObjectManager->Stream == Stream.get()) ObjectManager->Stream = nullptr;
  Stream.reset();
}

bool TBookStruct::ReadHeader(tsl::ByteStream& f) { return ReadProjectHeader(f, Header, Info); }

void TBookStruct::WriteHeader(tsl::ByteStream& f) { WriteProjectHeader(f, Header, Info, OwnVersion); }

void TBookStruct::ReadPageDirectory(tsl::ByteStream& f, uint32_t offset) { Pages.Read(f, offset); }

void TBookStruct::WritePageDirectory(tsl::ByteStream& f) { Pages.Write(f); }

bool TBookStruct::ReadProject(tsl::ByteStream& f) {
  f.Seek(0);
  if (!ReadHeader(f)) return false;
  if (!ObjectManager) {
    ReadPageDirectory(f, Header.Values[0]);
    return true;
  }
  // Read again, the project's objects start afresh instead of doubling.
  if (ObjectManager->GetObjectCount() > 0) {
    TObjectManager::EndPageObjects(ObjectManager.get());
    TObjectManager::RemoveStayingObjects(ObjectManager.get());
  }
  // A damaged shared list leaves the objects read before the damage; the
  // pages play without the rest.
  const auto scale = [this](uint32_t offset, double& sx, double& sy) { return GetPageScale(offset, sx, sy); };
  if (!ReadProjectBody(f, Header, Pages, *ObjectManager, scale)) tsl::Trace("shared objects: not all read");
  return true;
}

const TBookStructOptions& TBookStruct::CurrentOptions() const {
  return ObjectManager && ObjectManager->OwnOptions ? ObjectManager->PageOptions : Info;
}

bool TBookStruct::GetPageScale(uint32_t pageOffset, double& scaleX, double& scaleY) {
  scaleX = scaleY = 1.0;
  if (!IsVersionAbove(3, 1) || !ObjectManager || !ObjectManager->Stream) return false;
  TBookStructOptions pageOptions;
  TOwnOptionsBlock block;
  if (!ReadPageOwnOptions(*ObjectManager->Stream, pageOffset, pageOptions, block) || !block.Present) return false;
  const TObjectRect* rect = nullptr;
  if (block.Flag) {
    if (pageOptions.Flags & kOptFitWorkArea) rect = &pageOptions.WindowRect;
  } else if (Info.Flags & kOptFitWorkArea) {
    rect = &Info.WindowRect;
  }
  if (!rect) return false;
  RECT work;
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return false;
  const double w = static_cast<double>(rect->Right) - rect->Left, hgt = static_cast<double>(rect->Bottom) - rect->Top;
  // A page without extent cannot be fitted.
  if (w <= 0 || hgt <= 0) return false;
  scaleX = (work.right - work.left) / w;
  scaleY = (work.bottom - work.top) / hgt;
  return true;
}

// ---- queries by page index ----

bool TBookStruct::ReadPageInfo(int index, TObjectInfo& out) {
  uint32_t offset;
  return ObjectManager && ObjectManager->Stream && GetPageOffset(index, offset) &&
         ::ReadPageInfoAt(*ObjectManager->Stream, offset, out);
}

bool TBookStruct::ReadPageBackground(int index, TBackground& out) {
  uint32_t offset;
  return ObjectManager && ObjectManager->Stream && GetPageOffset(index, offset) &&
         ReadPageBackgroundAt(*ObjectManager->Stream, offset, out);
}

bool TBookStruct::ReadPageDbInfo(int index, TdBaseInfo& out) {
  uint32_t offset;
  TObjectInfo scratch;
  return ObjectManager && ObjectManager->Stream && GetPageOffset(index, offset) &&
         ::ReadPageInfoAt(*ObjectManager->Stream, offset, scratch, &out);
}

bool TBookStruct::ReadPageOptions(int index, TBookStructOptions& out, bool& present) {
  present = false;
  uint32_t offset;
  TOwnOptionsBlock block;
  if (!ObjectManager || !ObjectManager->Stream || !GetPageOffset(index, offset) ||
      !ReadPageOwnOptions(*ObjectManager->Stream, offset, out, block))
    return false;
  present = block.Flag != 0;
  return true;
}

int TBookStruct::GetPageObjectCount(int index) {
  uint32_t offset;
  TRecordHeader h;
  if (!ObjectManager || !GetPageOffset(index, offset) || !ObjectManager->ReadRecordHeader(offset, h)) return 0;
  return h.ObjectCount > 0 ? h.ObjectCount : 0;
}

bool TBookStruct::ReadPageObject(int index, int count, int n, TObjectInfo& out, std::unique_ptr<TData>& data) {
  uint32_t offset;
  if (!ObjectManager || !ObjectManager->Stream || !GetPageOffset(index, offset)) return false;
  TObjectRecord record;
  const TDataCreator creator = [](int16_t kind) { return std::unique_ptr<TData>(CreateKindRecord(kind)); };
  if (!ReadPageObjectAt(*ObjectManager->Stream, offset, count, n, creator, record)) return false;
  out = record.Info;
  data = std::move(record.Data);
  return true;
}

// ---- file names ----

TPathRules TBookStruct::Rules() const {
  TPathRules r;
  r.Mode = Info.PathMode;
  r.ProgramFolder = ProgramFolder;
  r.DataFolder = Info.DataFolder;
  return r;
}

void TBookStruct::ResolvePath(string& path, const uint16_t* modeOverride, const string* subFolder) const {
  ResolvePathWith(path, Rules(), MachinePaths(), modeOverride, subFolder);
}

string TBookStruct::ResolvePath(const string& name) const {
  string path = name;
  ResolvePath(path);
  return path;
}

void TBookStruct::ResolvePathTo(string& path, const TBookStructOptions& info, const uint16_t* modeOverride,
                                const string* subFolder) {
  TPathRules r;
  r.Mode = info.PathMode;
  r.ProgramFolder = SystemInfo().ProgramDirectory;
  AddTrailingBackslash(r.ProgramFolder);
  r.DataFolder = info.DataFolder;
  ResolvePathWith(path, r, MachinePaths(), modeOverride, subFolder);
}

bool TBookStruct::LocateNearProject(string& path) { return ::LocateNearProject(path, MachinePaths()); }

bool TBookStruct::LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const {
  return LoadPictureFileDib(path, dib);
}

void TBookStruct::LoadDatabase(const TdBaseInfo& info, TObjectManager* target) const {
  string full;
  if (!GetPathDirectory(string(ProjectFileName), full, true)) full = string();
  full += info.Path;
  TWinPackHost host;
  TObjectManager* m = target ? target : ObjectManager.get();
  if (!m || info.Path.is_null() || !host.FileExists(full.c_str())) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  LoadTreeDatabase({m->DBNodeManager, m->DBSpecialManager, &m->KeyCatalogue, &info}, full, host);
  ::SetCursor(previous);
}

// ---- keys ----

bool TBookStruct::IsQuitKey(uint32_t key) const {
  const uint32_t q = Info.QuitKeys;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  return ((q & 1) && key == VK_RETURN) || ((q & 2) && key == VK_ESCAPE) ||
         ((q & 4) && control && (key == 'c' || key == 'C')) || ((q & 8) && control && (key == 'x' || key == 'X'));
}

// ---- saving ----

bool TBookStruct::Report(uint32_t id, uint32_t icon) const {
  const TResString text = LoadResString(id);
  if (PageWindow && PageWindow->HWindow) PageWindow->MessageBox(text, nullptr, MB_OK | icon);
  else UiMessageBox(nullptr, text, "", MB_OK | icon);
  return false;
}

bool TBookStruct::SaveProject(string& tempPath) {
  tempPath = string();
  if (!Stream || !ObjectManager) return false;
  char name[MAX_PATH] = {};
  MakeProgramTempFileName(name);
  if (!name[0]) return false;
  bool ok;
  {
    TFile out(name, TFile::ReadWrite | TFile::PermExclusive | TFile::CreateAlways);
    ok = out.IsOpen() && SaveProjectStream(*Stream, out, Header, Info, Fonts.BlockEntries(), Pages, *ObjectManager);
  }
  if (!ok) {
    ::DeleteFileA(name);
    return false;
  }
  tempPath = name;
  return true;
}

namespace {

// A save moves the page records, and the page directory takes their new
// offsets; they are right only for the file that replaces the project file
// the project stream reads. Any other outcome puts the directory back.
class TDirectoryGuard {
public:
  explicit TDirectoryGuard(TPageDirectory& pages) : pages_(pages), before_(pages) {}
  ~TDirectoryGuard() {
    if (!keep_) pages_ = before_;
  }
  void Keep() { keep_ = true; }

private:
  TPageDirectory& pages_;
  const TPageDirectory before_;
  bool keep_ = false;
};

// Copies the saved file over `target`. The project stream is open on the
// project file; it is closed for the copy and opened again on the new bytes,
// whose page offsets the directory keeps.
bool ReplaceWith(TBookStruct& book, const string& temp, const char* target, TDirectoryGuard& directory) {
  const bool own = lstrcmpiA(target, book.ProjectFileName) == 0;
  const bool reopen = own && book.Stream;
  if (reopen) book.CloseProjectStream();
  const bool ok = CopyFileOver(temp.c_str(), target, 0, false);
  if (own && ok) directory.Keep();
  if (reopen) book.OpenProjectStream();
  return ok;
}

}  // namespace

bool TBookStruct::SaveWithBackup(const char* projectPath) {
  if (!projectPath || !*projectPath) return false;
  if (FileExists(projectPath)) {
    TFile probe(projectPath, TFile::WriteOnly | TFile::PermReadWrite | TFile::OpenExisting);
    if (!probe.IsOpen()) return Report(IDS_CANNOT_SAVE, MB_ICONINFORMATION);
  }
  TDirectoryGuard directory(Pages);
  string temp;
  if (!SaveProject(temp)) return Report(IDS_SAVE_PROJECT_FAILED, MB_ICONSTOP);
  bool ok = true;
  if (EditOptions().BackupFile && FileExists(projectPath)) {
    string backup;
    ReplaceExtension(projectPath, backup, ".BAK");
    if (!CopyFileOver(projectPath, backup.c_str(), 0, false)) ok = Report(IDS_BACKUP_FAILED, MB_ICONSTOP);
  }
  if (ok && !ReplaceWith(*this, temp, projectPath, directory)) ok = Report(IDS_SAVE_PROJECT_FAILED, MB_ICONSTOP);
  ::DeleteFileA(temp.c_str());
  if (ok) WriteFontFile(projectPath);
  return ok;
}

bool TBookStruct::SaveRuntimeFile() {
  string runtime;
  ReplaceExtension(ProjectFileName, runtime, ".crt");
  if (runtime.is_null()) return Report(IDS_SAVE_RUNTIME_FAILED, MB_ICONSTOP);
  // Only the run-time file carries the flag; the project keeps its own.
  const uint32_t before = Info.Flags;
  Info.Flags |= kOptRunTime;
  TDirectoryGuard directory(Pages);
  string temp;
  const bool saved = SaveProject(temp);
  Info.Flags = before;
  const bool ok = saved && ReplaceWith(*this, temp, runtime.c_str(), directory);
  if (saved) ::DeleteFileA(temp.c_str());
  if (!ok) return Report(IDS_SAVE_RUNTIME_FAILED, MB_ICONSTOP);
  WriteFontFile(runtime.c_str());
  string name, folder;
  ExtractFileName(runtime, name);
  GetPathDirectory(runtime, folder, false);
  char text[1200];
  std::snprintf(text, sizeof text, LoadResString(IDS_RUNTIME_CREATED).c_str(), name.c_str(), folder.c_str());
  if (PageWindow && PageWindow->HWindow) PageWindow->MessageBox(text, nullptr, MB_OK | MB_ICONINFORMATION);
  else UiMessageBox(nullptr, text, "", MB_OK | MB_ICONINFORMATION);
  return true;
}

bool TBookStruct::SaveSideFiles(const char* newPath) {
  if (!newPath || !*newPath || lstrcmpiA(newPath, ProjectFileName) == 0) return true;
  TDirectoryGuard directory(Pages);
  string temp;
  if (!SaveProject(temp)) return Report(IDS_SAVE_PROJECT_FAILED, MB_ICONSTOP);
  const bool copied = ReplaceWith(*this, temp, newPath, directory);
  ::DeleteFileA(temp.c_str());
  if (!copied) return Report(IDS_SAVE_PROJECT_FAILED, MB_ICONSTOP);
  string fonts, newFonts;
  ReplaceExtension(ProjectFileName, fonts, ".fdt");
  ReplaceExtension(newPath, newFonts, ".fdt");
  if (!fonts.is_null() && FileExists(fonts.c_str())) CopyFileOver(fonts.c_str(), newFonts.c_str(), 0, false);
  return true;
}

bool TBookStruct::WriteFontFile(const char* projectPath) {
  string path;
  ReplaceExtension(projectPath, path, ".fdt");
  if (path.is_null()) return false;
  TFile f(path.c_str(), TFile::ReadWrite | TFile::PermExclusive | TFile::CreateAlways);
  return f.IsOpen() && TFontManager::Write(Fonts, f);
}
