// Runs the real player as a child process on the test's display (Xvfb) and
// talks to it as a user would: waits for its windows, reads and answers its
// message boxes, clicks and types through xdotool, and waits for its exit.
//
//   TPlayerRun player("\"" + project + "\"");
//   HWND box = player.WaitForMessageBox();
//   EXPECT_EQ(MessageBoxText(box), "Kann Datei nicht laden!");
//   PressButton(box, IDOK);
//   EXPECT_EQ(player.WaitForExit(2000), 0u);
#pragma once
#include "wintest.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

// The folder of the running test program, with a closing backslash; the
// player is built beside the tests.
inline std::string ProgramFolder() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string s = self;
  return s.substr(0, s.find_last_of('\\') + 1);
}

// The Windows temporary folder, with a closing backslash.
inline std::string TempFolder() { return wintest::TempPath(""); }

inline std::string WindowText(HWND w) {
  char text[1024] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

// A child process, ended by force if it still runs when the object goes.
class TChildProcess {
public:
  // `commandLine` names the program first, quoted where it holds blanks.
  explicit TChildProcess(std::string commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    Started = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &Info) != 0;
  }
  ~TChildProcess() {
    if (!Started) return;
    if (::WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(Info.hProcess, kStillRunning);
      ::WaitForSingleObject(Info.hProcess, 5000);
    }
    ::CloseHandle(Info.hProcess);
    ::CloseHandle(Info.hThread);
  }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // What WaitForExit gives when the process did not end in time.
  static constexpr DWORD kStillRunning = 0xDEADu;

  bool Started = false;
  PROCESS_INFORMATION Info{};

  bool Running() const { return Started && ::WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT; }
  DWORD WaitForExit(DWORD timeoutMs = 30000) const {
    if (!Started || ::WaitForSingleObject(Info.hProcess, timeoutMs) != WAIT_OBJECT_0) return kStillRunning;
    DWORD code = kStillRunning;
    ::GetExitCodeProcess(Info.hProcess, &code);
    return code;
  }
};

// tslplay32 started with `args` (its command line after the program name).
class TPlayerRun : public TChildProcess {
public:
  explicit TPlayerRun(const std::string& args = "") : TPlayerRun(args, ProgramFolder()) {}
  // The player in another folder (with its closing backslash).
  TPlayerRun(const std::string& args, const std::string& folder)
      : TChildProcess("\"" + folder + "tslplay32.exe.so\"" + (args.empty() ? "" : " " + args)) {}

  // A visible top-level window of the player of window class `cls`
  // ("TSLPLAY32Frame", "#32770" for message boxes and common dialogs), or
  // null when none shows within the time or the player ends first.
  HWND WaitForWindow(const char* cls, DWORD timeoutMs = 30000) const {
    const DWORD start = ::GetTickCount();
    do {
      if (HWND w = FindWindowOf(cls)) return w;
      if (::WaitForSingleObject(Info.hProcess, 50) == WAIT_OBJECT_0) return FindWindowOf(cls);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
  }
  HWND WaitForMessageBox(DWORD timeoutMs = 30000) const { return WaitForWindow("#32770", timeoutMs); }
  HWND WaitForFrame(DWORD timeoutMs = 30000) const { return WaitForWindow("TSLPLAY32Frame", timeoutMs); }

  HWND FindWindowOf(const char* cls) const {
    Query q{Info.dwProcessId, cls, nullptr};
    if (Started) ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&q));
    return q.Found;
  }

private:
  struct Query {
    DWORD Pid;
    const char* Class;
    HWND Found;
  };
  static BOOL CALLBACK Match(HWND w, LPARAM l) {
    auto* q = reinterpret_cast<Query*>(l);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    char name[64] = {};
    ::GetClassNameA(w, name, sizeof name);
    if (pid != q->Pid || lstrcmpiA(name, q->Class) != 0 || !::IsWindowVisible(w)) return TRUE;
    q->Found = w;
    return FALSE;
  }
};

// The text of a message box: its static control that is not the icon.
inline std::string MessageBoxText(HWND box) {
  for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = {};
    ::GetClassNameA(c, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) continue;
    if ((::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    const std::string text = WindowText(c);
    if (!text.empty()) return text;
  }
  return std::string();
}

// Presses the dialog's button `id` (IDOK, IDCANCEL ...) as a click would;
// false when the dialog has no such button.
inline bool PressButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  if (!button) return false;
  return ::PostMessageA(button, BM_CLICK, 0, 0) != 0;
}

// Runs xdotool on the test's X display with `args` and waits for it; true
// when it succeeded. Spawned as the Unix program it is: Wine's own process
// start does not hand back a Unix program's exit status.
inline bool XdoToolArgs(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The same with the arguments in one line, split at blanks.
inline bool XdoTool(const std::string& line) {
  std::vector<std::string> args;
  size_t at = 0;
  while ((at = line.find_first_not_of(' ', at)) != std::string::npos) {
    const size_t end = line.find(' ', at);
    args.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }
  return XdoToolArgs(args);
}

// A left click at a point of the screen. xdotool's synchronous move waits
// for a motion event, which never comes when the pointer is already there
// (a second click on one spot would hang for seconds): step beside the
// point first, so the synchronous move is always a real one.
// Two clicks near one spot within the double-click time would reach the
// window as a double click, so a click waits out the rest of that time.
inline bool ClickAt(POINT screen) {
  static DWORD lastTick = 0;
  static POINT last{-1000, -1000};
  const DWORD gap = ::GetTickCount() - lastTick;
  const DWORD limit = ::GetDoubleClickTime() + 50;
  if (std::abs(screen.x - last.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(screen.y - last.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) && gap < limit)
    ::Sleep(limit - gap);
  const bool done = XdoToolArgs({"mousemove", std::to_string(screen.x + 1), std::to_string(screen.y + 1), "mousemove",
                                 "--sync", std::to_string(screen.x), std::to_string(screen.y), "click", "1"});
  last = screen;
  lastTick = ::GetTickCount();
  return done;
}

// A left click in the middle of a window.
inline bool ClickWindow(HWND w) {
  RECT r{};
  if (!::GetWindowRect(w, &r)) return false;
  return ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// Keys to the window that has the keyboard focus, in xdotool's names and
// separated by blanks ("Return", "ctrl+a BackSpace").
inline bool PressKeys(const std::string& keys) { return XdoTool("key --delay 50 " + keys); }

// Text typed into the window that has the keyboard focus.
inline bool TypeText(const std::string& text) { return XdoToolArgs({"type", "--delay", "20", text}); }
