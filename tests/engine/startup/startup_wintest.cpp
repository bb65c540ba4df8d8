// Start-up and shut-down of the player as a child process: it finds its
// project on the command line or through "TSLPLAY32.INI", shows page 1 and
// ends with exit code 0; without any project, or when its project fails to
// load, it ends too. Damaged projects play what can be read.
#include "playerrun.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tools/core/desc/tsldesc.h"
#include "platform/core/bytestream.h"
#include "platform/owl/file.h"

namespace {

// A Windows path as the Unix path Wine maps it to, without a closing slash.
std::string UnixPath(const std::string& windowsPath) {
  std::vector<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, w.data(), static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.data());
  if (!unix) return std::string();
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

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

bool ShowsColour(HWND frame, COLORREF colour) {
  for (int i = 0; i < 400; ++i) {
    if (wintest::CentrePixel(frame) == colour) return true;
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
  const std::string project = WriteProject(wintest::TempPath("") + "tsl_start_cmd.crt");
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

// A project the player cannot play: written from the description, then the
// bytes at `at` replaced.
std::string WriteDamagedProject(const std::string& path, const std::string& description, size_t at,
                                const std::vector<uint8_t>& patch) {
  TProjectDescription project;
  TDescriptionError error;
  EXPECT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Message;
  tsl::MemoryStream m;
  WriteProjectDescription(project, m);
  std::vector<uint8_t> bytes = m.Data();
  for (size_t i = 0; i < patch.size() && at + i < bytes.size(); ++i) bytes[at + i] = patch[i];
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  f.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return path;
}

// The bytes of a generated project, patched by `damage` (given the bytes,
// the page directory and its offset), written to `path`.
std::string WritePatchedProject(const std::string& path, const char* description,
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

// The project info record follows the 16-byte header: length u32, flags
// u32, format u8 and u16, then the version's major and minor byte.
constexpr size_t kVersionMinorAt = 16 + 4 + 4 + 1 + 2 + 1;

const char kCannotLoad[] = "Kann Datei nicht laden!";
const char kNewerVersion[] = "Die zu \xF6" "ffnende Datei ist mit einer neueren Version erstellt worden!";

}  // namespace

// A project that fails to load leaves no empty frame behind: after its
// message the player ends with exit code 0, as it does without a project.
TEST(Startup, AFailedLoadEndsThePlayerAfterItsMessage) {
  const struct {
    const char* what;
    std::string description;
    std::vector<uint8_t> patch;  // at the version's minor byte
    std::vector<const char*> messages;
  } cases[] = {
      {"a file without the run-time flag", "size 300 200\nruntime off\npage 1\n", {}, {kCannotLoad}},
      {"a file of version 4.8", "size 300 200\npage 1\n", {8}, {kNewerVersion, kCannotLoad}},
  };
  const std::string name = "tsl_start_failed.crt";
  const std::string project = ProgramFolder() + name;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteDamagedProject(project, c.description, kVersionMinorAt, c.patch);
    // Both boxes take their caption from the task name.
    IniFile ini("[AUTOSTART]\r\nFILE=" + name + "\r\nTASKNAME=Probe\r\n");
    TPlayerRun player;
    ASSERT_TRUE(player.Started);
    for (const char* message : c.messages) {
      HWND box = player.WaitForMessageBox();
      ASSERT_NE(box, nullptr) << message;
      EXPECT_EQ(MessageBoxText(box), message);
      EXPECT_EQ(WindowText(box), "Probe");
      ASSERT_TRUE(PressButton(box, IDOK));
      // The next box, or the end: the pressed box must be gone first.
      for (int i = 0; i < 100 && ::IsWindow(box); ++i) ::Sleep(20);
    }
    EXPECT_EQ(player.WaitForExit(2000), 0u) << "ended within 2 s of OK";
  }
  ::DeleteFileA(project.c_str());
}

// Without the ini file the boxes carry the program's own title.
TEST(Startup, AFailedLoadFromTheCommandLineShowsTheProgramTitle) {
  const std::string project =
      WriteDamagedProject(wintest::TempPath("") + "tsl_start_noflag.crt", "size 300 200\nruntime off\npage 1\n", 0, {});
  TPlayerRun player("\"" + project + "\"");
  HWND box = player.WaitForMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), kCannotLoad);
  EXPECT_EQ(WindowText(box), "TSL F\xDCR WINDOWS V4.77");
  ASSERT_TRUE(PressButton(box, IDOK));
  EXPECT_EQ(player.WaitForExit(2000), 0u);
  ::DeleteFileA(project.c_str());
}

namespace {

// The file name field of an open-file dialog: the edit control of combo
// box cmb13 in the Explorer-style dialog, else edit control edt1.
HWND FileNameField(HWND dialog) {
  if (HWND combo = ::GetDlgItem(dialog, 0x47C)) {
    if (HWND edit = ::FindWindowExA(combo, nullptr, "Edit", nullptr)) return edit;
    return combo;
  }
  return ::GetDlgItem(dialog, 0x480);
}

}  // namespace

// Without a command line and without "TSLPLAY32.INI" the player asks with
// the system's open-file dialog; the project chosen there plays.
TEST(Startup, WithoutAProjectTheOpenFileDialogChoosesOne) {
  // The demo project, written by the build beside the Win32 programs.
  const std::string demo = ProgramFolder() + "..\\..\\demo\\demo.crt";
  ASSERT_NE(::GetFileAttributesA(demo.c_str()), INVALID_FILE_ATTRIBUTES) << demo << " (make demo writes it)";
  char full[MAX_PATH] = {};
  ::GetFullPathNameA(demo.c_str(), MAX_PATH, full, nullptr);

  TPlayerRun player;
  HWND dialog = player.WaitForWindow("#32770");
  ASSERT_NE(dialog, nullptr);
  HWND field = FileNameField(dialog);
  ASSERT_NE(field, nullptr);
  // As a user would: into the field, the path, Enter.
  ASSERT_TRUE(ClickWindow(field));
  ASSERT_TRUE(PressKeys("ctrl+a BackSpace"));
  ASSERT_TRUE(TypeText(full));
  ASSERT_TRUE(PressKeys("Return"));

  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr) << "the player ended instead of playing";
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(WindowText(frame), "TSL Demo");
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
}

// Wine kills a process whose Unix side still runs half a second after it
// reported its end; on a loaded machine the C library's finalisers of the
// player's libraries could outlast that, and a clean exit ended as SIGKILL.
// The player ends its Unix side at once: started as the Unix program it is,
// under the dynamic linker's trace, it exits with status 0 and the trace
// shows no finaliser called.
// The close comes as soon as the frame exists, usually while the first page
// is built.
TEST(Startup, EndsWithoutRunningLibraryFinalisers) {
  const std::string project = WriteProject(wintest::TempPath("") + "tsl_start_fini.crt");
  const std::string trace = UnixPath(wintest::TempPath("")) + "/tsl_fini_trace";
  std::vector<std::string> env = {"LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + trace};
  for (char** e = environ; *e; ++e) env.push_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(&e[0]);
  envp.push_back(nullptr);
  std::string program = UnixPath(ProgramFolder()) + "/tslplay32.exe.so";
  std::string wine = "wine64", arg = project;
  char* argv[] = {&wine[0], &program[0], &arg[0], nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawnp(&pid, "wine64", nullptr, nullptr, argv, envp.data()), 0);

  HWND frame = nullptr;
  for (int i = 0; i < 600 && !frame; ++i) {
    frame = ::FindWindowA("TSLPLAY32Frame", nullptr);
    if (!frame) ::Sleep(50);
  }
  ASSERT_NE(frame, nullptr);
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  int status = -1;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);

  // One trace file per process, <name>.<pid>.
  const std::string path = wintest::TempPath("") + "tsl_fini_trace." + std::to_string(pid);
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << "no trace " << path;
  std::string text(::GetFileSize(f, nullptr), '\0');
  DWORD n = 0;
  if (!text.empty()) ::ReadFile(f, &text[0], static_cast<DWORD>(text.size()), &n, nullptr);
  ::CloseHandle(f);
  EXPECT_NE(text.find("tslplay32"), std::string::npos) << "the player's own trace";
  EXPECT_EQ(text.find("calling fini"), std::string::npos);

  // The traces of this and every process the player started.
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((wintest::TempPath("") + "tsl_fini_trace.*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do ::DeleteFileA((wintest::TempPath("") + found.cFileName).c_str());
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::DeleteFileA(project.c_str());
}

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

// Whether the player's frame answers a message within two seconds.
bool Responsive(HWND frame) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

}  // namespace

TEST(Startup, ADirectoryCountLargerThanTheFilePlaysPageOne) {
  const std::string project =
      WritePatchedProject(TempFolder() + "tsl_start_count.crt",
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
    const std::string project = WritePatchedProject(
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
      left = wintest::CentrePixel(frame) != RGB(0, 255, 0);
    }
    ASSERT_TRUE(left) << "page 1's colour stayed";
    ::Sleep(1500);  // five periods of the old enter action
    EXPECT_NE(wintest::CentrePixel(frame), RGB(0, 255, 0));
    EXPECT_NE(wintest::CentrePixel(frame), RGB(0, 0, 255)) << "the damaged page is not drawn";
    EXPECT_EQ(::GetMenu(frame), nullptr) << "page 1's menu stayed";
    EXPECT_TRUE(Responsive(frame));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(c.WaitForExit(), 0u);
    ::DeleteFileA(project.c_str());
  }
}
