#include "foundation/core/winversion.h"

namespace {
bool Is(const OsVersion& v, uint32_t platform, uint32_t major, uint32_t minor) {
  return v.platform == platform && v.major == major && v.minor == minor;
}
}  // namespace

bool IsWinNT4OrOlder(const OsVersion& v) { return v.platform == OsVersion::WindowsNT && v.major < 5; }
bool IsWin2000(const OsVersion& v) { return Is(v, OsVersion::WindowsNT, 5, 0); }
bool IsWinXP(const OsVersion& v) { return Is(v, OsVersion::WindowsNT, 5, 1); }
bool IsWin95(const OsVersion& v) { return Is(v, OsVersion::Windows9x, 4, 0); }
bool IsWin98(const OsVersion& v) { return Is(v, OsVersion::Windows9x, 4, 10); }
bool IsWinME(const OsVersion& v) { return Is(v, OsVersion::Windows9x, 4, 90); }
