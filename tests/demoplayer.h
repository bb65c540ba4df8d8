// For tests that play the demo's pages: the demo's description with the
// page under test first, beside the files that `make demo` writes into the
// build tree; and the small helpers the player tests of the demo's pages
// share.
#pragma once
#include "playerscreen.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// A point of a window's client area on the screen.
inline POINT OnScreen(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return p;
}

// Waits, polling, until `done` holds; false when it did not within `ms`.
inline bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(50);
  }
  return true;
}

// The text of a window of the player (an edit or rich-edit control).
inline std::string TextOf(HWND w) {
  char buffer[4096] = {};
  ::SendMessageA(w, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

struct TChildQuery {
  const char* Class;
  std::vector<HWND> Found;
};
inline BOOL CALLBACK CollectChildOfClass(HWND w, LPARAM l) {
  auto* q = reinterpret_cast<TChildQuery*>(l);
  char name[64] = {};
  ::GetClassNameA(w, name, sizeof name);
  if (lstrcmpiA(name, q->Class) == 0) q->Found.push_back(w);
  return TRUE;
}
// The child windows of `parent`, at any depth, of window class `cls`.
inline std::vector<HWND> ChildrenOf(HWND parent, const char* cls) {
  TChildQuery q{cls, {}};
  ::EnumChildWindows(parent, &CollectChildOfClass, reinterpret_cast<LPARAM>(&q));
  return q.Found;
}

// The Unix name of a Windows path, for the Unix programs a test runs.
inline std::string UnixName(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Convert>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unix = convert ? convert(wide.c_str()) : nullptr;
  std::string out = unix ? unix : "";
  if (unix) ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

// Runs a Unix program (found on PATH) and waits for it; true when it
// ended with status 0.
inline bool RunUnix(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The folder `make demo` writes (the build tree's "demo", beside the
// tree of the test programs), with a closing backslash.
inline std::string DemoFolder() {
  char full[MAX_PATH] = {};
  ::GetFullPathNameA((ProgramFolder() + "..\\..\\demo\\").c_str(), MAX_PATH, full, nullptr);
  return full;
}

// The demo's description with the page called `name` moved in front of
// the others, so that the player shows it first; its number and the other
// pages stay as they are. Empty when the demo has no such page.
inline std::string DemoStartingAt(const std::string& name) {
  const std::vector<uint8_t> bytes =
      wintest::ReadFileBytes(ProgramFolder() + "..\\..\\..\\examples\\demo\\demo.tsd");
  const std::string demo(bytes.begin(), bytes.end());
  size_t start = std::string::npos;
  const std::string ending = " \"" + name + "\"";
  for (size_t at = demo.find("\npage "); at != std::string::npos; at = demo.find("\npage ", at + 1)) {
    const std::string line = demo.substr(at + 1, demo.find('\n', at + 1) - at - 1);
    if (line.size() > ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0) start = at;
  }
  const size_t first = demo.find("\npage ");
  if (start == std::string::npos || first == std::string::npos) return {};
  const size_t end = std::min(demo.find("\npage ", start + 1), demo.size());
  std::string block = demo.substr(start, end - start);
  if (block.back() != '\n') block += '\n';
  std::string out = demo.substr(0, start) + demo.substr(end);
  out.insert(first, block);
  return out;
}

// The demo played by the real player from the page called `name`: the
// project is written beside the demo's files and removed at the end.
class TDemoRun {
public:
  explicit TDemoRun(const std::string& name)
      : Project(WriteDemoFrom(name)), Player("\"" + Project + "\"") {
    if (!Player.Started) return;
    Frame = Player.WaitForFrame();
    // The page window fills the frame's client area; other children of the
    // frame come and go.
    WaitFor([&] {
      RECT client{};
      ::GetClientRect(Frame, &client);
      for (HWND c = ::GetWindow(Frame, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(c, &r);
        if (::IsWindowVisible(c) && r.right - r.left == client.right && r.bottom - r.top == client.bottom) Page = c;
      }
      return Page != nullptr;
    });
  }
  // The page numbered 1 shows: its gradient's top.
  bool FirstPageShows() const {
    if (!Page) return false;
    const ClientShot shot = ShootClient(Page);
    if (shot.Width < 10 || shot.Height < 10) return false;
    const COLORREF c = shot.At(5, 5);
    return std::abs(GetRValue(c) - 0x20) < 24 && std::abs(GetGValue(c) - 0x38) < 24 && std::abs(GetBValue(c) - 0x80) < 24;
  }
  // Closes the player; its exit code.
  DWORD Close() {
    if (Frame && ::IsWindow(Frame)) ::PostMessageA(Frame, WM_CLOSE, 0, 0);
    return Player.WaitForExit(20000);
  }

  ~TDemoRun() {
    Close();
    ::DeleteFileA(Project.c_str());
  }

  std::string Project;
  TPlayerRun Player;
  HWND Frame = nullptr;
  HWND Page = nullptr;

private:
  static std::string WriteDemoFrom(const std::string& name) {
    const std::string description = DemoStartingAt(name);
    EXPECT_FALSE(description.empty()) << "the demo has no page \"" << name << "\"";
    return WriteProjectFile(DemoFolder() + "tsl_demo_test.crt", description);
  }
};
