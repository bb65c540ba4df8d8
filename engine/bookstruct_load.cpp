// The open project's life: its clock, loading, reloading and clearing.
#include "engine/bookstruct.h"

#include "engine/animregistry.h"
#include "engine/core/pages/pathresolve.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "foundation/systimer.h"
#include "foundation/sysinfo.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_engine.h"

namespace {
constexpr uint32_t kReadMode = TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting;
}  // namespace

TSysTimeManager* TBookStruct::GetTimeManager() const { return Timer ? Timer->Manager : TimeManager.get(); }

void TBookStruct::PostTick(uint32_t lifeTime) {
  TSysTimeManager* m = GetTimeManager();
  if (!m) return;
  TSysTimeManagerMsg msg;
  msg.Receiver = this;
  msg.Kind = kTickMsg;
  msg.Delay = TickPeriod;
  msg.LifeTime = lifeTime;
  m->PostMsg(msg);
}

void TBookStruct::StartClock() {
  CreateAnimationRegistries();
  if (!Timer && TimeManager) Timer = std::make_unique<TSystemTimer>(10, TimeManager.release(), true);
  // The tick goes out whatever became of the load, once: the first page's
  // build has posted it already.
  const TSysTimeManager* q = GetTimeManager();
  if (!q || !q->IsQueued(kTickMsg)) PostTick(kTimedMsgLifeTime);
  if (Timer) Timer->Start();
}

void TBookStruct::Load() {
  BackSteps.Clear();
  ForwardSteps.Clear();
  Pages.Pages.Flush();
  if (!ObjectManager) {
    ObjectManager = std::make_unique<TObjectManager>(PageWindow);
    TObjectManager::InitContainers(ObjectManager.get());
  }
  LinkStrings = std::make_unique<TIArrayAsVector<string>>(11, 0, 10);
  ProgramFolder = SystemInfo().ProgramDirectory;
  AddTrailingBackslash(ProgramFolder);

  if (NewProject) {
    auto f = std::make_unique<TFile>(TempFileName, TFile::ReadWrite | TFile::PermReadWrite | TFile::CreateAlways);
    if (!f->IsOpen()) {
      LoadStatus = 0;
      return;
    }
    Stream = std::move(f);
    MakeUniqueProjectFileName(ProjectFileName);
    SetProjectPath(ProjectFileName);
    Header.Values[0] = Header.Values[1] = 0xFFFFFFFF;
    WriteHeader(*Stream);
    ObjectManager->Stream = Stream.get();
    AddEmptyPage();
    return;
  }

  {
    TFile f(ProjectFileName, kReadMode);
    LoadStatus = f.IsOpen() && ReadHeader(f) ? 1 : 0;
  }
  if (!LoadStatus) return;
  if (IsVersionAbove(OwnVersion.VersionMajor, OwnVersion.VersionMinor)) {
    const TResString text = LoadResString(IDS_NEWER_VERSION);
    UiMessageBox(PageWindow ? PageWindow->HWindow : nullptr, text, ProgramTitle(), MB_OK | MB_ICONINFORMATION);
    LoadStatus = 0;
    return;
  }
  string fonts;
  ReplaceExtension(ProjectFileName, fonts, ".fdt");
  if (!fonts.is_null() && FileExists(fonts.c_str())) {
    TFile f(fonts.c_str(), kReadMode);
    if (f.IsOpen()) TFontManager::Read(Fonts, f, true);
  }
  // A file that vanished since its header was read cannot be played.
  if (!OpenProjectStream()) {
    LoadStatus = 0;
    return;
  }
  if (!(Info.Flags & kOptRunTime)) {
    LoadStatus = 0;
    return;
  }
  // The header was read once already; a file changed since then is not
  // played.
  if (!ReadProject(*Stream)) {
    LoadStatus = 0;
    return;
  }
  if (Pages.Count() == 0) AddEmptyPage();
  GotoPage(0, 0, -1, 1);
}

void TBookStruct::AddEmptyPage() {
  // The page lives in memory only: the player never writes into the file it
  // plays.
  ++PageCounter;
  TPagePointer p;
  p.Offset = kEmptyPageOffset;
  p.Number = PageCounter;
  Pages.Pages.Add(p);
}

void TBookStruct::Reload(const char* fileName) {
  if (!fileName) return;
  NewProject = 0;
  CurrentPage = 0;
  PreviousPage = -1;
  LoadStatus = 1;
  PageCounter = 0;
  FlushPendingActions();
  FlushAnimationRegistries();
  if (LinkStrings) LinkStrings->Flush(tsl::DeleteType::Delete);
  Pages.Pages.Flush();
  if (ObjectManager) {
    TObjectManager::EndPageObjects(ObjectManager.get());
    TObjectManager::RemoveStayingObjects(ObjectManager.get());
  }
  CloseProjectStream();
  StartTime = ::GetTickCount();
  // The name may be the action's own text, which the new project replaces.
  const string name = fileName;
  lstrcpynA(ProjectFileName, name.c_str(), sizeof ProjectFileName);
  SetProjectPath(ProjectFileName);
  ObjectManager.reset();
  Load();
}

void TBookStruct::Clear() {
  BackSteps.Clear();
  ForwardSteps.Clear();
  // The clock goes first, out of reach: objects that post or remove timed
  // messages while the project is torn down find no queue rather than one
  // being deleted.
  if (Timer) {
    std::unique_ptr<TSystemTimer> timer = std::move(Timer);
    timer.reset();
  }
  TimeManager.reset();
  DeletePendingActions();
  DeleteAnimationRegistries();
  LinkStrings.reset();
  Pages.Pages.Flush();
  ObjectManager.reset();
  CloseProjectStream();
  if (TempFileName[0] && FileExists(TempFileName)) ::DeleteFileA(TempFileName);
}
