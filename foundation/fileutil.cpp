#include "foundation/fileutil.h"

#include <cstdio>
#include <cstring>

#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "platform/rtl.h"
#include "resources/resource.h"

namespace {
void CopyToBuffer(char* buffer, const char* text) {
  std::strncpy(buffer, text, MAX_PATH - 1);
  buffer[MAX_PATH - 1] = '\0';
}

const char kFallbackTempDir[] = "c:\\temp\\";

// "c:\temp\KVR<n>.tmp" for the first n that does not exist, created empty.
bool MakeFallbackTempFile(char* buffer) {
  if (!FileExists(kFallbackTempDir)) CreateDirectoryPath(kFallbackTempDir);
  if (!FileExists(kFallbackTempDir)) return false;
  for (int n = 0; n < 32767; ++n) {
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%sKVR%d.tmp", kFallbackTempDir, n);
    if (FileExists(name)) continue;
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;  // taken meanwhile
      return false;
    }
    CloseHandle(h);
    CopyToBuffer(buffer, name);
    return true;
  }
  return false;
}
}  // namespace

bool FileExists(const char* path) {
  if (!path) return false;
  const size_t len = std::strlen(path);
  if (len < 2 || len >= MAX_PATH) return false;
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectoryPath(const char* path) {
  if (!path || !*path || !FileExists(path)) return false;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(h, &info) != FALSE;
  CloseHandle(h);
  return ok && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

char* GetProgramDirectory(char* buffer) {
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {  // failed or cut short
    buffer[0] = '\0';
    return buffer;
  }
  buffer[n] = '\0';
  if (char* last = std::strrchr(buffer, '\\')) {
    if (last == buffer)
      buffer[0] = '\0';
    else
      last[1] = '\0';
  }
  return buffer;
}

bool CreateDirectoryPath(const char* path) {
  if (!path) return false;
  const size_t len = std::strlen(path);
  for (size_t i = 3; i < len; ++i) {
    if (path[i] != '\\') continue;
    if (i >= MAX_PATH) return false;
    char prefix[MAX_PATH];
    std::memcpy(prefix, path, i);
    prefix[i] = '\0';
    if (FileExists(prefix)) continue;
    if (!CreateDirectoryA(prefix, nullptr)) return false;
  }
  return true;
}

bool CopyFileOver(const char* source, const char* target, int, bool clearReadOnly) {
  if (!source || !target) return false;
  if (lstrcmpiA(source, target) == 0) return true;
  const bool ok = CopyFileA(source, target, FALSE) != FALSE;
  if (ok && clearReadOnly) SetFileAttributesA(target, FILE_ATTRIBUTE_ARCHIVE);
  return ok;
}

void MakeTempFileName(char* buffer, const char* prefix) {
  buffer[0] = '\0';
  char dir[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, dir);
  if (n > 0 && n < MAX_PATH && FileExists(dir)) {
    const char root[] = {dir[0], ':', '\\', '\0'};
    if (GetDriveTypeA(root) != DRIVE_CDROM && GetTempFileNameA(dir, prefix ? prefix : "", 0, buffer)) return;
    buffer[0] = '\0';
  }
  if (MakeFallbackTempFile(buffer)) return;
  tsl::tmpnam(buffer);
}

void MakeProgramTempFileName(char* buffer) { MakeTempFileName(buffer, "TSL"); }

void GetTempDirectory(char* buffer) {
  char name[MAX_PATH];
  MakeTempFileName(name, "xyz");
  buffer[0] = '\0';
  if (!name[0]) return;
  DeleteFileA(name);
  string dir;
  if (GetPathDriveDir(string(name), dir)) CopyToBuffer(buffer, dir.c_str());
}

string MakeUniqueFileName(string& result, const char* stem, const char* extension) {
  char dir[MAX_PATH];
  GetProgramDirectory(dir);
  string candidate;
  for (int n = 0;; ++n) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", n);
    candidate = string(dir) + (stem ? stem : "") + number + (extension ? extension : "");
    if (!FileExists(candidate.c_str()) || n + 1 >= 32767) break;
  }
  result = candidate;
  return result;
}

void MakeUniqueProjectFileName(char* buffer) {
  string name;
  MakeUniqueFileName(name, LoadResString(IDS_UNTITLED).c_str(), ".TSL");
  CopyToBuffer(buffer, name.c_str());
}

void MakeNumberedFileName(string& name) {
  const string dir(SystemInfo().ProgramDirectory);
  for (int32_t n = 0; n < INT32_MAX; ++n) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", n);
    const string candidate = dir + number + name;
    if (!FileExists(candidate.c_str())) {
      name = candidate;
      return;
    }
  }
}

TChangeToPath::TChangeToPath(const char* savedDir, const char* folder) {
  if (savedDir) {
    CopyToBuffer(savedDir_, savedDir);
  } else {
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, savedDir_);
    if (n == 0 || n >= MAX_PATH) savedDir_[0] = '\0';
  }
  const char d = savedDir_[0];
  if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z'))
    savedDrive_ = (d & ~0x20) - 'A' + 1;

  string target(folder);
  AddTrailingBackslash(target);
  tsl::PathParts parts;
  tsl::fnsplit(target.c_str(), parts);
  if (!parts.drive.empty()) SetCurrentDirectoryA(parts.drive.c_str());
  std::string dir = parts.dir;
  if (dir.size() > 1 && dir.back() == '\\') dir.pop_back();
  if (!dir.empty()) SetCurrentDirectoryA(dir.c_str());
}

TChangeToPath::~TChangeToPath() {
  const char drive[] = {static_cast<char>('A' + savedDrive_ - 1), ':', '\0'};
  SetCurrentDirectoryA(drive);
  if (savedDir_[0]) SetCurrentDirectoryA(savedDir_);
}
