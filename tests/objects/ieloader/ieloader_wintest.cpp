// The browser library loader: when it loads webpane, what its wrappers give
// without it, and how a webpane without one of the exports ends the program
// (in a child process: the test program started again on one test).
#include "playerrun.h"

#include <cstdio>
#include <string>

#include "objects/ieloader.h"
#include "platform/owl/uiservice.h"

namespace {

std::string SystemFolder() {
  char dir[MAX_PATH] = {};
  ::GetSystemDirectoryA(dir, MAX_PATH);
  return dir;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(IELoader, LoadsWebpaneOnlyBesideTheSystemsBrowserControl) {
  ASSERT_TRUE(Exists(ProgramFolder() + "webpane.dll"));
  ASSERT_TRUE(Exists(SystemFolder() + "\\Shdocvw.dll")) << "the Wine prefix has the control library";
  const std::string empty = wintest::TempPath("ieloader_nosystem");
  ::CreateDirectoryA(empty.c_str(), nullptr);
  const struct {
    const char* what;
    std::string system;
    bool loaded;
  } cases[] = {
      {"no Shdocvw.dll in the system folder", empty, false},
      {"the system folder without its backslash", SystemFolder(), true},
      {"the system folder with two backslashes", SystemFolder() + "\\\\", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TIE_Dll_Loader loader(ProgramFolder().c_str(), c.system.c_str());
    EXPECT_EQ(loader.IsLoaded(), c.loaded);
  }
  ::RemoveDirectoryA(empty.c_str());
  // Nor without webpane beside the program.
  TIE_Dll_Loader elsewhere(wintest::TempPath("").c_str(), SystemFolder().c_str());
  EXPECT_FALSE(elsewhere.IsLoaded());
  // The program's own loader was built before main.
  EXPECT_TRUE(IELoader().IsLoaded());
}

TEST(IELoader, WithoutTheLibraryEveryWrapperGivesItsNeutralResult) {
  TIE_Dll_Loader l(wintest::TempPath("").c_str(), SystemFolder().c_str());
  ASSERT_FALSE(l.IsLoaded());
  const RECT r{0, 0, 10, 10};
  EXPECT_EQ(l.AddEle(), -1);
  EXPECT_EQ(l.GetHandle(0), nullptr);
  EXPECT_FALSE(l.Create(0, 0, &r, ::GetDesktopWindow(), 1));
  EXPECT_FALSE(l.Navigate2(0, "http://127.0.0.1/"));
  EXPECT_FALSE(l.ShowEle(0, TRUE));
  EXPECT_FALSE(l.SetEleRect(0, &r));
  const struct {
    const char* what;
    bool (TIE_Dll_Loader::*call)(int);
  } calls[] = {
      {"DeleteEle", &TIE_Dll_Loader::DeleteEle}, {"GoBack", &TIE_Dll_Loader::GoBack},
      {"GoForward", &TIE_Dll_Loader::GoForward}, {"GoHome", &TIE_Dll_Loader::GoHome},
      {"Refresh", &TIE_Dll_Loader::Refresh},     {"Stop", &TIE_Dll_Loader::Stop},
      {"ViewFontsLargest", &TIE_Dll_Loader::ViewFontsLargest},
      {"ViewFontsLarge", &TIE_Dll_Loader::ViewFontsLarge},
      {"ViewFontsMedium", &TIE_Dll_Loader::ViewFontsMedium},
      {"ViewFontsSmall", &TIE_Dll_Loader::ViewFontsSmall},
      {"ViewFontsSmallest", &TIE_Dll_Loader::ViewFontsSmallest},
      {"Print", &TIE_Dll_Loader::Print},
  };
  for (const auto& c : calls) EXPECT_FALSE((l.*c.call)(0)) << c.what;
}

TEST(IELoader, TheLoadedLibraryAnswersThroughItsExports) {
  TIE_Dll_Loader l(ProgramFolder().c_str(), SystemFolder().c_str());
  ASSERT_TRUE(l.IsLoaded());
  const int id = l.AddEle();
  EXPECT_GE(id, 0);
  EXPECT_EQ(l.GetHandle(id), nullptr) << "no control before Create";
  EXPECT_FALSE(l.GoBack(id)) << "no control, no command";
  EXPECT_TRUE(l.DeleteEle(id));
  EXPECT_FALSE(l.DeleteEle(id));
}

// Where the child test writes what it was shown.
const char kReportVariable[] = "TSL_IELOADER_REPORT";

// Writes every message box text to the report file.
class TReportingUi : public TWin32UiService {
public:
  explicit TReportingUi(std::string path) : Path(std::move(path)) {}
  int Message(HWND, const char* text, const char*, uint) override {
    if (FILE* f = std::fopen(Path.c_str(), "w")) {
      std::fputs(text, f);
      std::fclose(f);
    }
    return IDOK;
  }
  std::string Path;
};

// Run only as the child of the next test.
TEST(IELoader, DISABLED_ChildCallsAMissingExport) {
  char report[MAX_PATH] = {};
  ASSERT_GT(::GetEnvironmentVariableA(kReportVariable, report, MAX_PATH), 0u);
  TReportingUi ui(report);
  TUiServiceScope scope(ui);
  TIE_Dll_Loader stub((ProgramFolder() + "webpanestub\\").c_str(), SystemFolder().c_str());
  ASSERT_TRUE(stub.IsLoaded());
  EXPECT_EQ(stub.AddEle(), -1) << "the exports it has work";
  stub.Print(0);
  ADD_FAILURE() << "the program went on after a missing export";
}

TEST(IELoader, AMissingExportEndsTheProgramWithItsText) {
  // The report is written by the child's unix side: a unix path, one per run.
  const std::string report = "/tmp/tsl_ieloader_report_" + std::to_string(::GetCurrentProcessId()) + ".txt";
  std::remove(report.c_str());
  ::SetEnvironmentVariableA(kReportVariable, report.c_str());
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string program = self;
  if (program.size() < 3 || program.compare(program.size() - 3, 3, ".so") != 0) program += ".so";
  TChildProcess child("\"" + program +
                      "\" --gtest_also_run_disabled_tests --gtest_filter=IELoader.DISABLED_ChildCallsAMissingExport");
  ASSERT_TRUE(child.Started);
  EXPECT_EQ(child.WaitForExit(30000), 3u) << "ended as an abort ends";
  std::string text;
  if (FILE* f = std::fopen(report.c_str(), "r")) {
    char line[256] = {};
    if (std::fgets(line, sizeof line, f)) text = line;
    std::fclose(f);
  }
  EXPECT_EQ(text, "Assertion failed: func, file ie_dll_loader, line 235");
  std::remove(report.c_str());
}

}  // namespace
