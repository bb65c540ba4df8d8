// A scratch folder of its own under the Windows temporary folder, removed
// with everything in it at the end of a test.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

class ScratchDir {
public:
  explicit ScratchDir(const char* name) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    path_ = std::string(tmp) + name + std::to_string(GetCurrentProcessId());
    Remove(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchDir() { Remove(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Without a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "\\" + rel; }

  static void Write(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
  }
  static std::string Read(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string s;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) s.append(buf, n);
    CloseHandle(h);
    return s;
  }
  static void Remove(const std::string& path) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA(path.c_str());
      return;
    }
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string n = fd.cFileName;
        if (n != "." && n != "..") Remove(path + "\\" + n);
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
  }

private:
  std::string path_;
};
