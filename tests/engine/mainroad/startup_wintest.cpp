// Start-up and shut-down of the player as a child process: it finds its
// project on the command line or through "TSLPLAY32.INI", shows page 1 and
// ends with exit code 0; without any project it ends at once.
#include "wintest.h"

#include <string>

#include "engine/core/format/tsldesc.h"
#include "platform/owl/file.h"

namespace {

std::string BinFolder() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string s = self;
  // The tests are built beside the player.
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string TempFolder() {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  return dir;
}

std::string WriteProject(const std::string& path) {
  TProjectDescription project;
  TDescriptionError error;
  EXPECT_TRUE(ParseProjectDescription("size 300 200\ntitle \"Startprobe\"\npage 1\n  background colour #00FF00\n"
                                      "page 2\n  background colour #0000FF\n",
                                      "", project, error));
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  WriteProjectDescription(project, f);
  return path;
}

struct Child {
  PROCESS_INFORMATION pi{};
  bool Started = false;
  explicit Child(const std::string& args) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = "\"" + BinFolder() + "tslplay32.exe.so\"" + (args.empty() ? "" : " " + args);
    Started = ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
  }
  ~Child() {
    if (!Started) return;
    if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(pi.hProcess, 99);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
  }
  struct Query {
    DWORD pid;
    const char* cls;
    HWND found;
  };
  static BOOL CALLBACK Match(HWND w, LPARAM l) {
    auto* q = reinterpret_cast<Query*>(l);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    char name[64] = {};
    ::GetClassNameA(w, name, sizeof name);
    if (pid == q->pid && lstrcmpA(name, q->cls) == 0 && ::IsWindowVisible(w)) {
      q->found = w;
      return FALSE;
    }
    return TRUE;
  }
  // A visible top-level window of the child with this class.
  HWND Find(const char* cls) {
    Query q{pi.dwProcessId, cls, nullptr};
    ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&q));
    return q.found;
  }
  HWND WaitFor(const char* cls) {
    for (int i = 0; i < 600; ++i) {
      if (HWND w = Find(cls)) return w;
      if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }
  // The exit code, or 99 when it did not end in time.
  DWORD Exit() {
    if (::WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) return 99;
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
};

COLORREF CentrePixel(HWND frame) {
  RECT r;
  ::GetWindowRect(frame, &r);
  HDC dc = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::ReleaseDC(nullptr, dc);
  return c;
}

bool ShowsColour(HWND frame, COLORREF colour) {
  for (int i = 0; i < 400; ++i) {
    if (CentrePixel(frame) == colour) return true;
    ::Sleep(50);
  }
  return false;
}

// Runs the player until its frame shows page 1, closes it and checks the
// exit code.
void ExpectFirstPageThenClose(Child& c) {
  ASSERT_TRUE(c.Started);
  HWND frame = c.WaitFor("TSLPLAY32Frame");
  ASSERT_NE(frame, nullptr);
  char caption[128] = {};
  ::GetWindowTextA(frame, caption, sizeof caption);
  EXPECT_STREQ(caption, "Startprobe") << "the record's title";
  EXPECT_TRUE(ShowsColour(frame, RGB(0, 255, 0))) << "page 1";
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(c.Exit(), 0u);
}

class IniFile {
public:
  explicit IniFile(const std::string& text) : Path(BinFolder() + "TSLPLAY32.INI") {
    TFile f(Path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    f.Write(text.data(), static_cast<uint32_t>(text.size()));
  }
  ~IniFile() { ::DeleteFileA(Path.c_str()); }
  std::string Path;
};

}  // namespace

TEST(Startup, FromTheCommandLineShowsPageOne) {
  const std::string project = WriteProject(TempFolder() + "tsl_start_cmd.crt");
  Child c("\"" + project + "\"");
  ExpectFirstPageThenClose(c);
  ::DeleteFileA(project.c_str());
}

TEST(Startup, FromTheIniFileByBothKeys) {
  // A relative name is looked for beside the player first.
  const std::string project = WriteProject(BinFolder() + "tsl_start_ini.crt");
  const std::string name = "tsl_start_ini.crt";
  const std::string size = "FILE" + std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "x" +
                           std::to_string(::GetSystemMetrics(SM_CYSCREEN));
  const struct {
    std::string key;
    const char* what;
  } cases[] = {{"FILE", "the plain key"}, {size, "the key with the screen size"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    // The size key wins over a plain key naming nothing.
    IniFile ini("[AUTOSTART]\r\nFILE=" + std::string(k.key == "FILE" ? name : "nichts.crt") + "\r\n" +
                (k.key == "FILE" ? std::string() : k.key + "=" + name + "\r\n") + "TASKNAME=Probe\r\n");
    Child c("");
    ExpectFirstPageThenClose(c);
  }
  ::DeleteFileA(project.c_str());
}

TEST(Startup, WithoutAnyProjectEndsWithExitCodeZero) {
  Child c("");
  ASSERT_TRUE(c.Started);
  // The open-file dialog asks; cancelling it leaves nothing to play.
  HWND dialog = c.WaitFor("#32770");
  ASSERT_NE(dialog, nullptr);
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(c.Exit(), 0u);
}
