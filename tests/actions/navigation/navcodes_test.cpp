#include "actions/core/navcodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/core/execservices.h"

namespace {

// A project of `Pages` pages with a current and a previous index, whose
// objects 1-3 record the media commands and presses they get.
class FakeProject : public TNavigationHost, public TActionHost {
public:
  int PageCount() override { return Pages; }
  int CurrentPage() override { return Current; }
  int PreviousPage() override { return Previous; }
  uint32_t ProjectOptions() override { return Options; }
  int FindPageIndex(uint32_t number) override {
    for (size_t i = 0; i < Numbers.size(); ++i)
      if (Numbers[i] == number) return static_cast<int>(i);
    return -1;
  }
  void GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) override {
    if (index < 0 || index >= Pages) return;  // as the engine's page change
    Previous = Current;
    Current = index;
    ++Changes;
    ChainedSerials.clear();
    if (chained)
      for (int i = 0; i < chained->GetItemsInContainer(); ++i) ChainedSerials.push_back((*chained)[i]->Serial);
  }
  void MediaCommand(uint32_t target, int command, uint32_t argument) override {
    if (target >= 1 && target <= 3) Log.push_back("media " + std::to_string(target) + ":" + std::to_string(command));
  }
  void PressButton(uint32_t target) override {
    if (target == 2) Log.push_back("press 2");  // object 2 is the button
  }
  void Quit() override { Log.push_back("quit"); }
  void ShowInfoBox() override { Log.push_back("info"); }
  void Minimize() override { Log.push_back("minimize"); }
  void OpenSearchDialog(TSearchDialogKind kind, const TActionStruct&) override {
    Log.push_back("search " + std::to_string(static_cast<int>(kind)));
  }
  // TActionHost
  void PostToProject(TSysTimeManagerMsg& msg) override { Posted.push_back(msg); }
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

  int Pages = 5;
  int Current = 0;
  int Previous = -1;
  uint32_t Options = 0;
  std::vector<uint32_t> Numbers = {1, 2, 3, 4, 5};
  int Changes = 0;
  std::vector<int32_t> ChainedSerials;
  std::vector<std::string> Log;
  std::vector<TSysTimeManagerMsg> Posted;
};

FakeProject* g_project = nullptr;
void Family(TActionRun& run) { RunNavigationCode(run, *g_project); }

class Navigation : public ::testing::Test {
protected:
  void SetUp() override {
    CreatePendingActions();
    FlushPendingActions();
    g_project = &project;
    table.fill(nullptr);
    table[static_cast<size_t>(TActionFamily::NavigationMedia)] = &Family;
  }
  void TearDown() override {
    FlushPendingActions();
    g_project = nullptr;
  }
  void Run(const TActionStruct& a, int32_t serial = -1) { DispatchActionCode(nullptr, project, a, serial, table); }
  static TActionStruct Action(int16_t code, uint32_t value1 = 0, int32_t value2 = -1, int32_t value3 = -1) {
    TActionStruct a;
    a.Code = static_cast<uint16_t>(code);
    a.Value1 = value1;
    a.Value2 = value2;
    a.Value3 = value3;
    return a;
  }

  FakeProject project;
  TActionFamilyTable table{};
};

}  // namespace

TEST_F(Navigation, RelativePageChangesWrapAndBounds) {
  struct Case {
    const char* what;
    int current;
    int32_t step;
    bool wrap;
    int32_t upper, lower;
    int expected;  // -1: no page change
  } cases[] = {
      {"next", 1, 1, false, -1, -1, 2},
      {"past the last with wrap", 4, 1, true, -1, -1, 0},
      {"before the first with wrap", 0, -1, true, -1, -1, 4},
      {"far past the end with wrap", 2, 40, true, -1, -1, 0},
      {"far before the start with wrap", 2, -40, true, -1, -1, 4},
      {"past the last without wrap", 4, 1, false, -1, -1, -1},
      {"before the first without wrap", 0, -1, false, -1, -1, -1},
      {"upper bound 3 refuses the fourth page", 2, 1, false, 3, -1, -1},
      {"upper bound 3 admits the third page", 1, 1, false, 3, -1, 2},
      {"lower bound 2 refuses the first page", 1, -1, false, -1, 2, -1},
      {"lower bound 2 admits the second page", 2, -1, false, -1, 2, 1},
      {"wrap first, bounds after", 4, 1, true, -1, 2, -1},
      {"a step that would overflow", 3, 0x7FFFFFFF, false, -1, -1, -1},
      {"zero steps reload the page", 3, 0, false, -1, -1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    project.Current = c.current;
    project.Changes = 0;
    project.Options = c.wrap ? kWrapPages : 0;
    Run(Action(10, static_cast<uint32_t>(c.step), c.upper, c.lower));
    if (c.expected < 0) {
      EXPECT_EQ(project.Changes, 0);
      EXPECT_EQ(project.Current, c.current);
    } else {
      EXPECT_EQ(project.Changes, 1);
      EXPECT_EQ(project.Current, c.expected);
    }
  }
}

TEST_F(Navigation, AbsoluteAndPreviousPage) {
  project.Numbers = {10, 20, 30, 40, 50};
  Run(Action(11, 30));
  EXPECT_EQ(project.Current, 2);
  Run(Action(11, 31));  // no page has it
  EXPECT_EQ(project.Current, 2);
  EXPECT_EQ(project.Changes, 1);

  Run(Action(29));  // back to the page before
  EXPECT_EQ(project.Current, 0);
  project.Previous = -1;  // right after the project was opened
  Run(Action(29));
  EXPECT_EQ(project.Current, 0);
  EXPECT_EQ(project.Changes, 2);
}

TEST_F(Navigation, APageChangeCarriesItsChainOverAndLeavesThePendingList) {
  // Serial 5 (go to page 30) chains 6 and 7; 7 names 9, which is not pending.
  auto add = [](int32_t serial, int16_t code, int32_t next) {
    auto a = std::make_unique<TActionStruct>();
    a->Code = static_cast<uint16_t>(code);
    a->Value1 = 3;
    AddPendingAction(std::make_unique<TActionKeyStruct>(std::move(a), serial, kNoSerial, next));
  };
  add(5, 11, 6);
  add(6, 0, 7);
  add(7, 9, 9);
  Run(*FindPendingAction(nullptr, 5), 5);
  EXPECT_EQ(project.Current, 2);
  EXPECT_EQ(project.ChainedSerials, (std::vector<int32_t>{6, 7}));
  EXPECT_EQ(FindPendingAction(nullptr, 5), nullptr);
  EXPECT_NE(FindPendingAction(nullptr, 6), nullptr);

  // A refused page change (no such page number) leaves the list all the same.
  add(8, 11, kNoSerial);
  FindPendingAction(nullptr, 8)->Value1 = 99;
  Run(*FindPendingAction(nullptr, 8), 8);
  EXPECT_EQ(FindPendingAction(nullptr, 8), nullptr);
  EXPECT_EQ(project.Changes, 1);
}

TEST_F(Navigation, MediaCommandsOfCodesZeroToSix) {
  const int expected[7] = {0, 1, 2, 6, 4, 3, 5};  // code 6 is eject
  for (int16_t code = 0; code <= 6; ++code) {
    project.Log.clear();
    TActionStruct a = Action(code);
    a.Target = 3;
    Run(a);
    EXPECT_EQ(project.Log, (std::vector<std::string>{"media 3:" + std::to_string(expected[code])})) << code;
  }
  project.Log.clear();
  TActionStruct missing = Action(0);
  missing.Target = 77;
  Run(missing);
  EXPECT_TRUE(project.Log.empty());
  EXPECT_EQ(MediaCommandOfCode(7), -1);
  EXPECT_EQ(MediaCommandOfCode(-1), -1);
}

TEST_F(Navigation, ButtonsQuitInfoMinimizeAndSound) {
  TActionStruct press = Action(-333);
  press.Target = 2;
  Run(press);
  press.Target = 3;  // not a button
  Run(press);
  Run(Action(8));
  Run(Action(9));
  Run(Action(36));
  EXPECT_EQ(project.Log, (std::vector<std::string>{"press 2", "quit", "info", "minimize"}));
  GlobalSoundOff = 1;
  Run(Action(38));
  EXPECT_EQ(GlobalSoundOff, 0);
}

TEST_F(Navigation, DatabaseNavigationRequests) {
  struct Case {
    const char* what;
    uint32_t flags, options;
    uint32_t owner, param3, param4, delay;
  } cases[] = {
      {"plain", 0x1004, 5, 7, 8, 0x1004, 0},
      {"flag 0x800 is taken out", 0x1004 | 0x800, 5, 7, 8, 0x1004, 0},
      {"repeating: the interval as delay", 0x4001, 5, 7, 8, 0x4001, 250},
      {"options 0x800: the third value and only 0x800", 0x1234, 0x805, 9, 8, 0x800, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    project.Posted.clear();
    TActionStruct a = Action(24, 7, 8, 9);
    a.Flags = c.flags;
    a.Flags2 = c.options;
    a.Value4 = 250;
    Run(a);
    ASSERT_EQ(project.Posted.size(), 1u);
    const TSysTimeManagerMsg& m = project.Posted[0];
    EXPECT_EQ(m.Kind, kNavigateDatabaseMsg) << TimedMsgKindName(m.Kind);
    EXPECT_EQ(m.LifeTime, 600000u);
    EXPECT_EQ(m.Delay, c.delay);
    EXPECT_EQ(m.OwnerId, c.owner);
    EXPECT_EQ(m.Param3, c.param3);
    EXPECT_EQ(m.Param4, c.param4);
  }
}

TEST_F(Navigation, SearchDialogByOptions) {
  struct Case {
    uint32_t options;
    TSearchDialogKind kind;
  } cases[] = {{0x42, TSearchDialogKind::SearchList2},
               {0x02, TSearchDialogKind::SearchList},
               {0x40, TSearchDialogKind::Search},
               {0x00, TSearchDialogKind::Search}};
  for (const Case& c : cases) {
    project.Log.clear();
    TActionStruct a = Action(32);
    a.Flags2 = c.options;
    Run(a);
    EXPECT_EQ(project.Log, (std::vector<std::string>{"search " + std::to_string(static_cast<int>(c.kind))}))
        << c.options;
  }
}

TEST(ExecServices, SplitCommandLine) {
  struct Case {
    const char* command;
    const char* arguments;
    const char* program;
    const char* expectedArguments;
  } cases[] = {
      {"  setup.exe /s /q  ", "", "setup.exe", "/s /q"},
      {"setup.exe  /s", "", "setup.exe", " /s"},
      {"  setup.exe  ", "", "setup.exe", ""},
      {"setup.exe /s", "/x", "setup.exe /s", "/x"},  // arguments already given
      {"", "", "", ""},
      {"\"C:\\Program Files\\a.exe\" /x", "", "\"C:\\Program", "Files\\a.exe\" /x"},  // quotes mean nothing
  };
  for (const Case& c : cases) {
    string command = c.command, arguments = c.arguments;
    SplitCommandLine(command, arguments);
    EXPECT_STREQ(command.c_str(), c.program) << c.command;
    EXPECT_STREQ(arguments.c_str(), c.expectedArguments) << c.command;
  }
}

TEST(ExecServices, CommandLineAndWorkingFolderOfAStartedProgram) {
  struct Case {
    const char* program;
    const char* arguments;
    const char* line;
    const char* folder;
  } cases[] = {
      {"C:\\Tools\\run.exe", nullptr, "C:\\Tools\\run.exe", "C:\\Tools\\"},
      {"C:\\Tools\\run.exe", "", "C:\\Tools\\run.exe ", "C:\\Tools\\"},
      {"C:\\Tools\\run.exe", "a b", "C:\\Tools\\run.exe a b", "C:\\Tools\\"},
      {"C:\\Program Files\\x.exe", "-q", "\"C:\\Program Files\\x.exe\" -q", "C:\\Program Files\\"},
      {"\"C:\\Program Files\\x.exe\"", nullptr, "\"C:\\Program Files\\x.exe\"", "C:\\Program Files\\"},
      {"bin\\run.exe", nullptr, "bin\\run.exe", "bin\\"},
      {"\\\\server\\share\\run.exe", nullptr, "\\\\server\\share\\run.exe", "\\\\server\\share\\"},
      {"run.exe", nullptr, "run.exe", ""},  // never the file itself
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(MakeProgramCommandLine(c.program, c.arguments).c_str(), c.line) << c.program;
    EXPECT_STREQ(ProgramWorkingFolder(c.program).c_str(), c.folder) << c.program;
  }
}
