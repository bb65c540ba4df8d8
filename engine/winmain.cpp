// Program entry of tslplay32: the application, which finds the project,
// reads enough of it to shape the main frame and puts the page window into
// it; the page window opens the project.
#include "platform/owl/applicat.h"
#include "platform/owl/framewin.h"

#include <ole2.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "actions/sysconditions.h"
#include "engine/bookstruct.h"
#include "engine/core/format/rawio.h"
#include "engine/core/pages/pathresolve.h"
#include "engine/deskframe.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "objects/diawindow.h"
#include "objects/richhost.h"
#include "panes/mvpane/mvpane.h"
#include "platform/mppane/mppane.h"
#include "platform/owl/file.h"
#include "platform/owl/profile.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_foundation.h"
#include "slideshow/overview.h"

namespace {

constexpr size_t kPathBuffer = 260;

int g_exitCode = 0;

// Wine kills a process (SIGKILL) whose Unix side still runs about half a
// second after the process has reported its end to the server. The C
// library's finalisers of some seventy libraries run in that window; on a
// loaded machine they can take longer, and a clean exit then ends as a
// kill. Nothing of the player needs them once its end is reported.
void EndAtOnce() {
  std::fflush(nullptr);
  _exit(g_exitCode);
}

// The main frame; scripts find the player by its window class.
class TMainFrame : public TFrameWindow {
public:
  TMainFrame(const char* title, TWindow* client) : TFrameWindow(nullptr, title, client, false) {}
  const char* GetClassName() override { return "TSLPLAY32Frame"; }

  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override {
    // The page window closes itself when its project fails to load; an
    // empty frame would leave the user nothing to do, so the player ends
    // as it does when start-up finds no project.
    if (msg == WM_PARENTNOTIFY && LOWORD(p1) == WM_DESTROY && ClientWnd &&
        reinterpret_cast<HWND>(p2) == ClientWnd->HWindow)
      PostMessage(WM_CLOSE);
    if (msg == WM_CLOSE)
      if (TBookStruct* book = GetOpenBook(); book && book->DeferClose(HWindow)) return 0;
    return TFrameWindow::WindowProc(msg, p1, p2);
  }
};

bool Exists(const char* path) { return FileExists(path); }

// The project file's header, the project info record and the first page's
// own options: what start-up needs to shape the main frame.
struct TProjectPreview {
  bool Valid = false;  // the header leads to the project signature
  bool FirstPageHasOptions = false;
  TBookStructOptions FirstPage;
};

TProjectPreview PreviewProject(const char* path, TBookStructOptions& info) {
  TProjectPreview out;
  TFile f(path, TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
  if (!f.IsOpen()) return out;
  uint32_t header[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFFFFFFFF};
  f.Seek(0);
  ReadFixed(header, sizeof header, f);
  uint32_t magic = 0xFFFFFFFF, count = 0;
  if (f.Seek(header[0])) {
    tsl::ReadU32(magic, f);
    tsl::ReadU32(count, f);
  }
  if (count != 0) {
    uint32_t entry[2] = {0xFFFFFFFF, 0};
    ReadFixed(entry, sizeof entry, f);
    TRecordHeader page;
    page.ExtensionOffset = kNoOffset;
    if (f.Seek(entry[0])) page.Read(f);
    if (page.ExtensionOffset != kNoOffset && f.Seek(page.ExtensionOffset)) {
      uint32_t ext[6];
      for (uint32_t& e : ext) e = kNoOffset;
      ReadFixed(ext, sizeof ext, f);
      if (ext[kExtOptions] != kNoOffset && f.Seek(static_cast<int64_t>(page.ExtensionOffset) + ext[kExtOptions])) {
        uint16_t own = 0;
        tsl::ReadU16(own, f);
        if (own) {
          out.FirstPage.Read(f);
          out.FirstPageHasOptions = true;
        }
      }
    }
  }
  if (magic == kProjectMagic) {
    f.Seek(16);
    info.Read(f);
    out.Valid = true;
  }
  return out;
}

}  // namespace

class TMyApp : public TApplication {
public:
  explicit TMyApp(HINSTANCE instance) : TApplication(nullptr, instance) {}
  // The desk frame goes before the frames: the main frame is taken out of
  // it first, so that each window is deleted once.
  ~TMyApp() override {
    if (!DeskFrame) return;
    if (TFrameWindow* frame = GetMainWindow(); frame && frame->GetParentO() == DeskFrame) frame->SetParent(nullptr);
    TDeskFrameWindow* desk = DeskFrame;
    if (desk->HWindow) ::DestroyWindow(desk->HWindow);
    delete desk;
  }

  void InitMainWindow() override;
  void InitInstance() override;

private:
  TBookStructOptions Info;
  bool Loaded = false;
  bool DeskVetoed = false;
  std::string IniPath;
};

void TMyApp::InitMainWindow() {
  TInfoStruct& sys = SystemInfo();
  sys.Refresh();
  string program = sys.ProgramDirectory;
  AddTrailingBackslash(program);
  IniPath = std::string(program.c_str()) + "TSLPLAY32.INI";

  string path;
  if (!GetCommandLineFile(path)) {
    path = string();
    if (FileExists(IniPath.c_str())) {
      TProfile ini("AUTOSTART", IniPath.c_str());
      char buffer[kPathBuffer] = {};
      const std::string sizeKey =
          "FILE" + std::to_string(sys.ScreenWidth) + "x" + std::to_string(sys.ScreenHeight);
      ini.GetString(sizeKey.c_str(), buffer, sizeof buffer, "");
      const string chosen = SelectByColourDepth(buffer, sys.ColorBits);
      if (chosen.length() != 0) lstrcpynA(buffer, chosen.c_str(), sizeof buffer);
      else ini.GetString("FILE", buffer, sizeof buffer, "");
      char task[256] = {};
      ini.GetString("TASKNAME", task, sizeof task, "");
      SetProgramTitle(task);
      char local[kPathBuffer] = {};
      ini.GetString("LOCAL_RUNTIME_DIR", local, sizeof local, "");
      std::string l = local;
      auto trim = [&](char c) {
        while (!l.empty() && l.front() == c) l.erase(0, 1);
        while (!l.empty() && l.back() == c) l.pop_back();
      };
      trim(' ');
      trim('\\');
      LocalRuntimeDir = l.c_str();
      path = ResolveAutostartFile(buffer, program, &Exists);
    }
  }
  char chosen[MAX_PATH] = {};
  if (path.length() != 0) lstrcpynA(chosen, path.c_str(), sizeof chosen);
  if (!chosen[0] || !FileExists(chosen)) {
    chosen[0] = 0;
    const TResString filter = LoadResString(IDS_CRT_FILTER);
    if (!SelectFileName(nullptr, chosen, true, filter, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, nullptr,
                        nullptr))
      chosen[0] = 0;
  }

  TObjectWindow* page = nullptr;
  if (chosen[0] && FileExists(chosen)) {
    SetProjectPath(chosen);
    const TProjectPreview preview = PreviewProject(chosen, Info);
    DeskVetoed = preview.FirstPageHasOptions && !(preview.FirstPage.Flags & kOptDeskFrame);
    if (preview.Valid) {
      // The prerequisites may need installing before any window exists.
      CheckSystemConditions(Info);
      page = new TObjectWindow(nullptr, chosen);
      Loaded = true;
    }
  }

  int width = Info.WindowRect.Right - Info.WindowRect.Left;
  int height = Info.WindowRect.Bottom - Info.WindowRect.Top;
  RECT work{};
  const bool fit = (Info.Flags & kOptFitWorkArea) && ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (fit) {
    width = work.right - work.left;
    height = work.bottom - work.top;
  }
  auto* frame = new TMainFrame(ProgramTitle(), page);
  frame->Attr.Style = FrameStyleFor(Info.Flags);
  if (Info.Flags & kOptFitWorkArea) {
    frame->Attr.X = fit ? work.left : Info.WindowRect.Left;
    frame->Attr.Y = fit ? work.top : Info.WindowRect.Top;
    frame->Attr.W = width;
    frame->Attr.H = height;
  } else {
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    frame->Attr.X = std::max(0, cx - width) / 2;
    frame->Attr.Y = std::max(0, cy - height) / 2;
    frame->Attr.W = std::min(cx, width);
    frame->Attr.H = std::min(cy, height);
  }
  frame->SetIcon(this, "TSL_LOGO");
  const string title = Info.GetTitle();
  if (title.length() != 0) frame->SetCaption(title.c_str());
  SetMainWindow(frame);
}

void TMyApp::InitInstance() {
  TApplication::InitInstance();
  TFrameWindow* frame = GetMainWindow();
  if (!frame || !frame->HWindow) return;
  if (!Loaded) {
    // Nothing to play: the loop ends at once, with exit code 0.
    ::PostQuitMessage(0);
    return;
  }
  if ((Info.Flags & kOptTopmost) && !(Info.Flags & kOptDeskFrame))
    ::SetWindowPos(frame->HWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
  if ((Info.Flags & kOptDeskFrame) && !DeskVetoed && !DeskFrame) {
    // The open project's record once it is read, start-up's until then.
    TBookStruct* book = GetOpenBook();
    DeskBackground = book ? &book->Info.Background : &Info.Background;
    auto* desk = new TDeskFrameWindow();
    desk->SetIcon(this, "TSL_LOGO");
    if (desk->Create()) {
      frame->SetParent(desk);
      ::ShowWindow(desk->HWindow, SW_SHOW);
      if (Info.Flags & kOptTopmost)
        ::SetWindowPos(desk->HWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    }
  }
  ::ShowWindow(frame->HWindow, SW_SHOW);
  if (SystemInfo().ColorBits <= 8) {
    char text[256] = {};
    ::GetPrivateProfileStringA("MESSAGES", "NOHIGHCOLOR", "", text, sizeof text, IniPath.c_str());
    if (text[0] && UiMessageBox(frame->HWindow, text, ProgramTitle(), MB_OKCANCEL) == IDCANCEL) ::PostQuitMessage(0);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Registered once the libraries linked at start are loaded, so it runs
  // before their finalisers.
  std::atexit(&EndAtOnce);
  SetResourceModule(instance);
  int result = 0;
  InstallContainerOverview();
  {
    TMyApp app(instance);
    if (app.Status) return 0;
    OleInitialize(nullptr);
    InitQT();
    InitMP();
    result = app.Run();
    DeleteThumbnailFiles();
    ExitQT();
    ExitMP();
    OleUninitialize();
  }
  // The windows are gone: the stripped documents' temporary files go too.
  ShutdownRichModule();
  g_exitCode = result;
  return result;
}
