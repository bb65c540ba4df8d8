#define NOMINMAX
#include "wintest.h"

#include <string>

#include "foundation/core/memstream.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "scratch.h"

namespace {
std::string Profile(const char* key) {
  char buf[64];
  GetProfileStringA("intl", key, "<none>", buf, sizeof buf);
  return buf;
}
}  // namespace

TEST(TInfoStruct, MachineFacts) {
  TInfoStruct info;
  char dir[MAX_PATH];
  GetProgramDirectory(dir);
  EXPECT_STREQ(info.ProgramDirBuffer, dir);
  EXPECT_EQ(info.ProgramDirectory, dir);
  EXPECT_EQ(info.ScreenWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(info.ScreenHeight, GetSystemMetrics(SM_CYSCREEN));
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(info.ColorBits, GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES));
  ReleaseDC(nullptr, dc);
  EXPECT_GE(info.ColorBits, 8);

  char windows[MAX_PATH], system[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(info.WindowsDirKnown, 1u);
  EXPECT_EQ(info.WindowsDir, windows);
  std::string sys(system);
  while (!sys.empty() && sys.back() == '\\') sys.pop_back();
  EXPECT_EQ(info.SystemDir, sys + "\\");  // exactly one trailing backslash
  EXPECT_EQ(info.Module, GetResourceModule());

  EXPECT_EQ(&SystemInfo(), &SystemInfo());
  EXPECT_EQ(SystemInfo().ProgramDirectory, dir);
  EXPECT_NE(TMemStream::OnFallbackToFile, nullptr);  // a spilling memory stream beeps
}

TEST(TInfoStruct, SeparatorsFromTheIntlSection) {
  const std::string oldDate = Profile("sDate"), oldDecimal = Profile("sDecimal"), oldTime = Profile("sTime");
  WriteProfileStringA("intl", "sDate", "-");
  WriteProfileStringA("intl", "sDecimal", ".,");  // one character is kept
  WriteProfileStringA("intl", "sTime", ":");
  TInfoStruct info;
  EXPECT_STREQ(info.DateSeparator, "-");
  EXPECT_STREQ(info.DecimalSeparator, ".");
  EXPECT_STREQ(info.TimeSeparator, ":");
  WriteProfileStringA("intl", "sDate", nullptr);
  WriteProfileStringA("intl", "sDecimal", nullptr);
  WriteProfileStringA("intl", "sTime", nullptr);
  info.Refresh();
  if (Profile("sDate") == "<none>") {
    EXPECT_STREQ(info.DateSeparator, ".");
  }
  if (Profile("sDecimal") == "<none>") {
    EXPECT_STREQ(info.DecimalSeparator, ",");
  }
  if (Profile("sTime") == "<none>") {
    EXPECT_STREQ(info.TimeSeparator, ",");
  }
  for (auto [key, old] : {std::pair<const char*, std::string>{"sDate", oldDate}, {"sDecimal", oldDecimal},
                          {"sTime", oldTime}})
    if (old != "<none>") WriteProfileStringA("intl", key, old.c_str());
}

TEST(TInfoStruct, Ctl3dLibraryInTheWindowsFolder) {
  TInfoStruct info;
  const std::string dll = info.WindowsDir.str() + "\\CTL3DV2.DLL";
  ScratchDir::Remove(dll);
  EXPECT_FALSE(info.HasCtl3d());
  ScratchDir::Write(dll, "MZ");
  EXPECT_TRUE(info.HasCtl3d());
  ScratchDir::Remove(dll);
}

TEST(WindowsVersion, TestsAgreeWithTheVersionCall) {
  OsVersion v;
  ASSERT_TRUE(GetOsVersion(v));
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_EQ(sizeof info, 148u);
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(v.platform, info.dwPlatformId);
  EXPECT_EQ(v.major, info.dwMajorVersion);
  EXPECT_EQ(v.minor, info.dwMinorVersion);
  EXPECT_EQ(IsWinNT4OrOlder(), IsWinNT4OrOlder(v));
  EXPECT_EQ(IsWin2000(), IsWin2000(v));
  EXPECT_EQ(IsWinXP(), IsWinXP(v));
  EXPECT_EQ(IsWin95(), IsWin95(v));
  EXPECT_EQ(IsWin98(), IsWin98(v));
  EXPECT_EQ(IsWinME(), IsWinME(v));
}
