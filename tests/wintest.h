// GoogleTest for winelib test units, and the support every Win32 test
// shares (namespace wintest): temporary files, message pumps and screen
// pixels. Message boxes of the code under test are answered through the UI
// service's script (platform/owl/uiscript.h); the real player as a child
// process is driven through playerrun.h.
//
// winegcc and the Windows headers define _WIN32/_WIN64, which would send
// gtest down its Windows branches while the library is the Linux one: hide
// them while gtest's headers are read.
#pragma once
#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#include <gtest/gtest.h>
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wintest {

// A file in the Windows temporary folder (the folder itself for "").
inline std::string TempPath(const std::string& name) {
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  const bool ok = bytes.empty() || (::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
                                    n == bytes.size());
  ::CloseHandle(f);
  return ok;
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(::GetFileSize(f, nullptr));
  DWORD n = 0;
  if (!bytes.empty() && !::ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr)) n = 0;
  bytes.resize(n);
  ::CloseHandle(f);
  return bytes;
}

// Runs the thread's message loop for `ms` milliseconds.
inline void PumpFor(DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  MSG msg;
  for (;;) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    const int left = static_cast<int>(end - ::GetTickCount());
    if (left <= 0) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

// Runs the message loop until `done` or WM_QUIT (then *quit is set); false
// when neither came within the limit. `filter` sees each message first and
// takes it by returning true (the player's presentation pump does so).
inline bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 20000, bool* quit = nullptr,
                      bool (*filter)(MSG&) = nullptr) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < limitMs) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        if (quit) *quit = true;
        return true;
      }
      if (filter && filter(msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (done()) return true;
    ::Sleep(5);
  }
  return false;
}

// What the screen shows at a point, and in the middle of a window.
inline COLORREF ScreenPixel(int x, int y) {
  HDC dc = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(nullptr, dc);
  return c;
}

inline COLORREF CentrePixel(HWND w) {
  RECT r{};
  ::GetWindowRect(w, &r);
  return ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

}  // namespace wintest
