#define NOMINMAX
#include "wintest.h"

#include <cstring>
#include <string>

#include "foundation/core/memstream.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "playerrun.h"
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

// The system the version tests name, as TSL_EXPECTED_SYSTEM says for a
// child run: "nt4", "2000", "xp", "95", "98", "me", or empty for none of
// them (a fresh prefix reports a later Windows).
static std::string ExpectedSystem() {
  char buf[16] = {};
  ::GetEnvironmentVariableA("TSL_EXPECTED_SYSTEM", buf, sizeof buf);
  return buf;
}

TEST(WindowsVersion, TheTestsNameTheSystemThisProcessRunsOn) {
  const std::string yes = ExpectedSystem();
  SCOPED_TRACE("expected: " + (yes.empty() ? std::string("none") : yes));
  OsVersion v;
  ASSERT_TRUE(GetOsVersion(v));
  EXPECT_EQ(IsWinNT4OrOlder(), yes == "nt4");
  EXPECT_EQ(IsWin2000(), yes == "2000");
  EXPECT_EQ(IsWinXP(), yes == "xp");
  EXPECT_EQ(IsWin95(), yes == "95");
  EXPECT_EQ(IsWin98(), yes == "98");
  EXPECT_EQ(IsWinME(), yes == "me");
  const bool nine = yes == "95" || yes == "98" || yes == "me";
  EXPECT_EQ(v.platform, nine ? uint32_t{OsVersion::Windows9x} : uint32_t{OsVersion::WindowsNT});
}

// Wine reports the Windows version of its "Version" setting to processes
// started after it changed: this binary runs the test above as a child under
// each older system the tests know.
TEST(WindowsVersion, TheTestsFollowTheSystemWineReports) {
  if (!ExpectedSystem().empty()) GTEST_SKIP() << "a child run";
  char module[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, module, MAX_PATH);
  // The winelib program itself, not its ".exe" start script.
  const std::string self = std::string(module) + ".so";
  HKEY wine = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &wine,
                              nullptr),
            ERROR_SUCCESS);
  char old[32] = {};
  DWORD oldSize = sizeof old;
  const bool hadOld = ::RegQueryValueExA(wine, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &oldSize) ==
                      ERROR_SUCCESS;
  const struct {
    const char* wine;
    const char* expected;
  } cases[] = {{"nt40", "nt4"}, {"win2k", "2000"}, {"winxp", "xp"}, {"win95", "95"},
               {"win98", "98"}, {"winme", "me"},   {"win7", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wine);
    ::RegSetValueExA(wine, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.wine),
                     static_cast<DWORD>(std::strlen(c.wine) + 1));
    ::SetEnvironmentVariableA("TSL_EXPECTED_SYSTEM", *c.expected ? c.expected : "none");
    TChildProcess child("\"" + self + "\" --gtest_filter=WindowsVersion.TheTestsNameTheSystemThisProcessRunsOn");
    ASSERT_TRUE(child.Started);
    const DWORD code = child.WaitForExit(60000);
    EXPECT_EQ(code, 0u) << "the child's version tests failed (its output is above)";
  }
  ::SetEnvironmentVariableA("TSL_EXPECTED_SYSTEM", nullptr);
  if (hadOld) ::RegSetValueExA(wine, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(old), oldSize);
  else ::RegDeleteValueA(wine, "Version");
  ::RegCloseKey(wine);
}
