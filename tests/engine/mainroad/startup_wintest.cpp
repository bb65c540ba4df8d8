// Start-up and shut-down of the player as a child process: it finds its
// project on the command line or through "TSLPLAY32.INI", shows page 1 and
// ends with exit code 0; without any project it ends at once. Damaged
// projects play what can be read.
#include "playerrun.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/format/tsldesc.h"
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

namespace {

// The bytes of a generated project, patched by `damage` (given the bytes,
// the page directory and its offset), written to `path`.
std::string WriteDamagedProject(const std::string& path, const char* description,
                                const std::function<void(std::vector<uint8_t>&, const TPageDirectory&,
                                                         uint32_t directoryOffset)>& damage) {
  TProjectDescription project;
  TDescriptionError error;
  EXPECT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
  tsl::MemoryStream m;
  WriteProjectDescription(project, m);
  TProjectHeader header;
  TBookStructOptions info;
  EXPECT_TRUE(ReadProjectHeader(m, header, info));
  TPageDirectory directory;
  EXPECT_TRUE(directory.Read(m, header.Values[0]));
  std::vector<uint8_t> bytes = m.Data();
  damage(bytes, directory, header.Values[0]);
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  f.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return path;
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

// Whether the player's frame answers a message within two seconds.
bool Responsive(HWND frame) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

}  // namespace

TEST(Startup, ADirectoryCountLargerThanTheFilePlaysPageOne) {
  const std::string project =
      WriteDamagedProject(TempFolder() + "tsl_start_count.crt",
                          "size 300 200\ntitle \"Startprobe\"\npage 1\n  background colour #00FF00\n"
                          "page 2\n  background colour #0000FF\n",
                          [](std::vector<uint8_t>& b, const TPageDirectory&, uint32_t dir) {
                            Put32(b, dir + 4, 0x20000001);
                          });
  TPlayerRun c("\"" + project + "\"");
  ExpectFirstPageThenClose(c);
  ::DeleteFileA(project.c_str());
}

TEST(Startup, ADamagedPageAfterAGoodOneShowsTheEmptyPageAndNoReplay) {
  // Page 1 goes on to page 2 by its enter action and carries a menu; page 2
  // cannot be read. Kept from page 1, the colour and menu would stay and the
  // enter action would build page 2 again and again.
  const char description[] =
      "size 300 200\ntitle \"Startprobe\"\n"
      "page 1\n  background colour #00FF00\n  enter goto 2 delay 300\n  menu \"Gehe\"\n    item \"Eins\" goto 1\n"
      "page 2\n  background colour #0000FF\n";
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&, uint32_t page2)> damage;
  };
  const Case cases[] = {
      {"a wrong magic", [](std::vector<uint8_t>& b, uint32_t page2) { Put32(b, page2, 0x12345678); }},
      {"an object list past the end",
       [](std::vector<uint8_t>& b, uint32_t page2) { Put32(b, page2 + 12, static_cast<uint32_t>(b.size() + 64)); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    const std::string project = WriteDamagedProject(
        TempFolder() + "tsl_start_damaged.crt", description,
        [&k](std::vector<uint8_t>& b, const TPageDirectory& d, uint32_t) {
          uint32_t page2 = 0;
          ASSERT_TRUE(d.GetPageOffset(1, page2));
          k.damage(b, page2);
        });
    TPlayerRun c("\"" + project + "\"");
    ASSERT_TRUE(c.Started);
    HWND frame = c.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(ShowsColour(frame, RGB(0, 255, 0))) << "page 1";
    ASSERT_NE(::GetMenu(frame), nullptr) << "page 1's menu";
    // Page 2 follows after 300 ms: neither page 1's colour nor its menu stay.
    bool left = false;
    for (int i = 0; i < 100 && !left; ++i) {
      ::Sleep(50);
      left = CentrePixel(frame) != RGB(0, 255, 0);
    }
    ASSERT_TRUE(left) << "page 1's colour stayed";
    ::Sleep(1500);  // five periods of the old enter action
    EXPECT_NE(CentrePixel(frame), RGB(0, 255, 0));
    EXPECT_NE(CentrePixel(frame), RGB(0, 0, 255)) << "the damaged page is not drawn";
    EXPECT_EQ(::GetMenu(frame), nullptr) << "page 1's menu stayed";
    EXPECT_TRUE(Responsive(frame));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(c.WaitForExit(), 0u);
    ::DeleteFileA(project.c_str());
  }
}
