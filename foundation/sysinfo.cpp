#include "foundation/sysinfo.h"

#include "foundation/core/memstream.h"
#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"

namespace {
// A memory stream that has to give up memory for its file beeps.
const bool g_memStreamBeep = (TMemStream::OnFallbackToFile = [] { MessageBeep(0xFFFFFFFF); }, true);
}  // namespace

TInfoStruct::TInfoStruct() {
  (void)g_memStreamBeep;
  Refresh();
}

void TInfoStruct::Refresh() {
  GetProfileStringA("intl", "sDate", ".", DateSeparator, sizeof DateSeparator);
  GetProfileStringA("intl", "sDecimal", ",", DecimalSeparator, sizeof DecimalSeparator);
  GetProfileStringA("intl", "sTime", ",", TimeSeparator, sizeof TimeSeparator);

  Module = GetResourceModule();

  GetProgramDirectory(ProgramDirBuffer);
  ProgramDirectory = string(ProgramDirBuffer);

  ScreenWidth = ScreenHeight = ColorBits = 0;
  if (HDC dc = GetDC(nullptr)) {
    ScreenWidth = GetDeviceCaps(dc, HORZRES);
    ScreenHeight = GetDeviceCaps(dc, VERTRES);
    ColorBits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(nullptr, dc);
  }

  char dir[256];
  const UINT wn = GetWindowsDirectoryA(dir, sizeof dir);
  WindowsDirKnown = wn > 0 && wn < sizeof dir ? 1 : 0;
  WindowsDir = WindowsDirKnown ? string(dir) : string();

  const UINT sn = GetSystemDirectoryA(dir, sizeof dir);
  SystemDir = sn > 0 && sn < sizeof dir ? string(dir) : string();
  AddTrailingBackslash(SystemDir);
}

bool TInfoStruct::HasCtl3d() const {
  return WindowsDirKnown && FileExists((WindowsDir + "\\CTL3DV2.DLL").c_str());
}

TInfoStruct& SystemInfo() {
  static TInfoStruct info;
  return info;
}

bool GetOsVersion(OsVersion& v) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return false;
  v.platform = info.dwPlatformId;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  return true;
}

namespace {
bool Test(bool (*test)(const OsVersion&)) {
  OsVersion v;
  return GetOsVersion(v) && test(v);
}
}  // namespace

bool IsWinNT4OrOlder() { return Test(IsWinNT4OrOlder); }
bool IsWin2000() { return Test(IsWin2000); }
bool IsWinXP() { return Test(IsWinXP); }
bool IsWin95() { return Test(IsWin95); }
bool IsWin98() { return Test(IsWin98); }
bool IsWinME() { return Test(IsWinME); }
