#include "engine/pathresolve.h"

#include <shlobj.h>

#include "foundation/fileutil.h"
#include "foundation/sysinfo.h"

string TWin32PathEnvironment::WindowsDirectory() const { return SystemInfo().WindowsDir; }

string TWin32PathEnvironment::SystemDirectory() const { return SystemInfo().SystemDir; }

string TWin32PathEnvironment::ProgramDirectory() const { return SystemInfo().ProgramDirectory; }

string TWin32PathEnvironment::SpecialFolder(int csidl) const { return GetSpecialFolderPath(csidl); }

bool TWin32PathEnvironment::InstallDirectory(string& out) const {
  HKEY key;
  // Reading is all that is needed, and all an ordinary user may do here.
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
    return false;
  char buffer[1024] = {};
  DWORD type = 0, size = sizeof buffer - 1;
  const LONG r = ::RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  ::RegCloseKey(key);
  if (r != ERROR_SUCCESS || type != REG_SZ) return false;
  buffer[std::min<DWORD>(size, sizeof buffer - 1)] = '\0';
  out = buffer;
  return true;
}

bool TWin32PathEnvironment::FileExists(const string& path) const { return ::FileExists(path.c_str()); }

const TPathEnvironment& MachinePaths() {
  static const TWin32PathEnvironment env;
  return env;
}

string GetSpecialFolderPath(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return string();
  char path[MAX_PATH] = {};
  const BOOL ok = ::SHGetPathFromIDListA(list, path);
  ::CoTaskMemFree(list);
  return ok ? string(path) : string();
}

bool ExpandPathPlaceholders(string& path) { return ExpandPathPlaceholders(path, MachinePaths()); }
