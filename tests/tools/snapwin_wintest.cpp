// The screenshot tool writes where it is told and nowhere else: an absolute
// Unix or Windows path, never a file in the current folder.
#include "playerrun.h"

#include <string>

namespace {

// A window of this process for snapwin to find by its title.
class TProbeWindow {
public:
  TProbeWindow() {
    Handle = ::CreateWindowExA(0, "STATIC", "snapwin probe", WS_POPUP | WS_VISIBLE, 10, 10, 120, 80, nullptr, nullptr,
                               nullptr, nullptr);
  }
  ~TProbeWindow() { ::DestroyWindow(Handle); }
  HWND Handle;
};

DWORD Snap(const std::string& out) {
  TChildProcess snap("\"" + ProgramFolder() + "snapwin.exe.so\" \"" + out + "\" \"snapwin probe\" 5000");
  return snap.WaitForExit();
}

std::string UnixPath(const std::string& windowsPath) {
  // WCHAR is 16 bits under winelib, wchar_t is not.
  std::basic_string<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, &w[0], static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.c_str());
  if (!unix) return std::string();
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

bool IsBmp(const std::string& windowsPath) {
  HANDLE f = ::CreateFileA(windowsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  char magic[2] = {};
  DWORD n = 0;
  ::ReadFile(f, magic, 2, &n, nullptr);
  ::CloseHandle(f);
  return n == 2 && magic[0] == 'B' && magic[1] == 'M';
}

std::string CurrentFolder() {
  char dir[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, dir);
  std::string s = dir;
  if (!s.empty() && s.back() != '\\') s += '\\';
  return s;
}

}  // namespace

TEST(Snapwin, WritesTheScreenshotToAnAbsolutePath) {
  TProbeWindow probe;
  ASSERT_NE(probe.Handle, nullptr);
  const std::string target = TempFolder() + "tsl_snap_probe.bmp";
  const struct {
    const char* what;
    std::string argument;
  } cases[] = {{"a Unix path", UnixPath(target)}, {"a Windows path", target}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.argument.empty());
    ::DeleteFileA(target.c_str());
    EXPECT_EQ(Snap(c.argument), 0u);
    EXPECT_TRUE(IsBmp(target));
  }
  ::DeleteFileA(target.c_str());
}

TEST(Snapwin, RefusesANameThatWouldLandInTheCurrentFolder) {
  TProbeWindow probe;
  const std::string name = "tsl_snap_stray.bmp";
  const struct {
    const char* what;
    std::string argument;
  } cases[] = {{"a bare name", name}, {"a drive without a folder", "Z:" + name}, {"a relative folder", "sub\\" + name}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Snap(c.argument), 2u);
    EXPECT_EQ(::GetFileAttributesA((CurrentFolder() + name).c_str()), INVALID_FILE_ATTRIBUTES);
  }
}
