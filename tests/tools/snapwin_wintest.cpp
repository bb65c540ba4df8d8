// The screenshot tool writes where it is told and nowhere else: an absolute
// Unix or Windows path, never a file in the current folder.
#include "playerrun.h"

#include <string>
#include <vector>

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
  // Not std::wstring: the C library counts its characters in 4 bytes.
  std::vector<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, w.data(), static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.data());
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
  const std::string inPrefix = wintest::TempPath("") + "tsl_snap_probe.bmp";
  // Outside the prefix, where the smoke script keeps its screenshots.
  const std::string outside = "Z:\\tmp\\tsl_snap_probe_" + std::to_string(::GetCurrentProcessId()) + ".bmp";
  const struct {
    const char* what;
    std::string target;
    std::string argument;
  } cases[] = {{"a Unix path into the prefix", inPrefix, UnixPath(inPrefix)},
               {"a Unix path outside the prefix", outside, UnixPath(outside)},
               {"a Windows path", inPrefix, inPrefix}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.argument.empty());
    ::DeleteFileA(c.target.c_str());
    EXPECT_EQ(Snap(c.argument), 0u);
    EXPECT_TRUE(IsBmp(c.target));
    ::DeleteFileA(c.target.c_str());
  }
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
