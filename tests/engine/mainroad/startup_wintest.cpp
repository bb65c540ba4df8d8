// Start-up and shut-down of the player as a child process: it finds its
// project on the command line or through "TSLPLAY32.INI", shows page 1 and
// ends with exit code 0; without any project it ends at once.
#include "playerrun.h"

#include <string>

#include "tools/core/desc/tsldesc.h"
#include "platform/owl/file.h"

namespace {

std::string WriteProject(const std::string& path) {
  TProjectDescription project;
  TDescriptionError error;
  EXPECT_TRUE(ParseProjectDescription("size 300 200\ntitle \"Startprobe\"\npage 1\n  background colour #00FF00\n"
                                      "page 2\n  background colour #0000FF\n",
                                      "", project, error));
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  WriteProjectDescription(project, f);
  return path;
}

COLORREF CentrePixel(HWND frame) {
  RECT r;
  ::GetWindowRect(frame, &r);
  HDC dc = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::ReleaseDC(nullptr, dc);
  return c;
}

bool ShowsColour(HWND frame, COLORREF colour) {
  for (int i = 0; i < 400; ++i) {
    if (CentrePixel(frame) == colour) return true;
    ::Sleep(50);
  }
  return false;
}

// Runs the player until its frame shows page 1, closes it and checks the
// exit code.
void ExpectFirstPageThenClose(TPlayerRun& c) {
  ASSERT_TRUE(c.Started);
  HWND frame = c.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  char caption[128] = {};
  ::GetWindowTextA(frame, caption, sizeof caption);
  EXPECT_STREQ(caption, "Startprobe") << "the record's title";
  EXPECT_TRUE(ShowsColour(frame, RGB(0, 255, 0))) << "page 1";
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(c.WaitForExit(), 0u);
}

class IniFile {
public:
  explicit IniFile(const std::string& text) : Path(ProgramFolder() + "TSLPLAY32.INI") {
    TFile f(Path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    f.Write(text.data(), static_cast<uint32_t>(text.size()));
  }
  ~IniFile() { ::DeleteFileA(Path.c_str()); }
  std::string Path;
};

}  // namespace

TEST(Startup, FromTheCommandLineShowsPageOne) {
  const std::string project = WriteProject(TempFolder() + "tsl_start_cmd.crt");
  TPlayerRun c("\"" + project + "\"");
  ExpectFirstPageThenClose(c);
  ::DeleteFileA(project.c_str());
}

TEST(Startup, FromTheIniFileByBothKeys) {
  // A relative name is looked for beside the player first.
  const std::string project = WriteProject(ProgramFolder() + "tsl_start_ini.crt");
  const std::string name = "tsl_start_ini.crt";
  const std::string size = "FILE" + std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "x" +
                           std::to_string(::GetSystemMetrics(SM_CYSCREEN));
  const struct {
    std::string key;
    const char* what;
  } cases[] = {{"FILE", "the plain key"}, {size, "the key with the screen size"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    // The size key wins over a plain key naming nothing.
    IniFile ini("[AUTOSTART]\r\nFILE=" + std::string(k.key == "FILE" ? name : "nichts.crt") + "\r\n" +
                (k.key == "FILE" ? std::string() : k.key + "=" + name + "\r\n") + "TASKNAME=Probe\r\n");
    TPlayerRun c("");
    ExpectFirstPageThenClose(c);
  }
  ::DeleteFileA(project.c_str());
}

TEST(Startup, WithoutAnyProjectEndsWithExitCodeZero) {
  TPlayerRun c("");
  ASSERT_TRUE(c.Started);
  // The open-file dialog asks; cancelling it leaves nothing to play.
  HWND dialog = c.WaitForWindow("#32770");
  ASSERT_NE(dialog, nullptr);
  ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(c.WaitForExit(), 0u);
}
