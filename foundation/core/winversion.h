// The Windows version tests of the prerequisite check, on the platform id
// and version numbers that the Windows version call reports. The Win32 forms
// without arguments (foundation/sysinfo.h) ask Windows. Portable: no Windows
// headers.
#pragma once
#include <cstdint>

struct OsVersion {
  enum : uint32_t { Win32s = 0, Windows9x = 1, WindowsNT = 2 };
  uint32_t platform = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
};

bool IsWinNT4OrOlder(const OsVersion& v);  // NT below 5
bool IsWin2000(const OsVersion& v);        // NT 5.0
bool IsWinXP(const OsVersion& v);          // NT 5.1
bool IsWin95(const OsVersion& v);          // 9x 4.0
bool IsWin98(const OsVersion& v);          // 9x 4.10
bool IsWinME(const OsVersion& v);          // 9x 4.90
