// The player as a child process of a test: it is started on a project
// written from a description, its windows are found by class, its frame is
// read back from the screen, and its exit code is taken.
#pragma once
#include "wintest.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/format/tsldesc.h"
#include "platform/owl/file.h"

inline std::string BinFolder() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string s = self;
  // The tests are built beside the player.
  return s.substr(0, s.find_last_of('\\') + 1);
}

inline std::string TempFolder() {
  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  return dir;
}

// Writes the project of `description` to `path`; returns the path.
inline std::string WriteProjectFile(const std::string& path, const std::string& description) {
  TProjectDescription project;
  TDescriptionError error;
  EXPECT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
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

// What the screen shows of a window's client area, as 0x00RRGGBB rows.
struct ClientShot {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
  COLORREF At(int x, int y) const {
    const uint32_t p = Pixels[static_cast<size_t>(y) * Width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

inline ClientShot ShootClient(HWND window) {
  ClientShot shot;
  RECT r;
  ::GetClientRect(window, &r);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  shot.Width = r.right;
  shot.Height = r.bottom;
  if (shot.Width <= 0 || shot.Height <= 0) return shot;
  shot.Pixels.resize(static_cast<size_t>(shot.Width) * shot.Height);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = shot.Width;
  bi.bmiHeader.biHeight = -shot.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, shot.Width, shot.Height, screen, origin.x, origin.y, SRCCOPY);
  ::GdiFlush();
  std::memcpy(shot.Pixels.data(), bits, shot.Pixels.size() * 4);
  ::SelectObject(mem, old);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return shot;
}
