#include "actions/core/pagelistcodes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A project of pages numbered 10, 20, 30 whose object 6 is a button; the
// files in `Files` exist. Every call the codes make is logged.
class FakeProject : public TPageListHost, public TActionHost {
public:
  int PageCount() override { return static_cast<int>(Numbers.size()); }
  int FindPageIndex(uint32_t number) override {
    for (size_t i = 0; i < Numbers.size(); ++i)
      if (Numbers[i] == number) return static_cast<int>(i);
    return -1;
  }
  void GotoPage(int index, std::unique_ptr<TActionKeyArray>) override {
    Log.push_back("page " + std::to_string(index));
  }
  int32_t* ButtonPagePosition(uint32_t owner) override { return owner == 6 ? &Position : nullptr; }
  void HistoryBack() override { Log.push_back("back"); }
  void HistoryForward() override { Log.push_back("forward"); }
  void DocumentLinkCommand(uint32_t target, const char* command) override {
    Log.push_back("link " + std::to_string(target) + " " + command);
  }
  void DocumentFindDialog(uint32_t target) override { Log.push_back("find " + std::to_string(target)); }
  bool ProjectModified() override { return Modified; }
  void SaveFirstBox() override { Log.push_back("save first"); }
  std::string ResolveFileName(const TActionStruct& a) override { return "C:\\P\\" + a.Text1.str(); }
  bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
  bool ReloadProject(const std::string& path) override {
    Log.push_back("reload " + path);
    // The new project's pending list: the old one is gone, and an entry
    // of the new project may carry the old run's serial.
    FlushPendingActions();
    AddPendingAction(std::make_unique<TActionKeyStruct>(std::make_unique<TActionStruct>(), 5, kNoSerial, kNoSerial));
    return true;
  }
  // TActionHost
  void PostToProject(TSysTimeManagerMsg&) override { ++Posted; }
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

  std::vector<uint32_t> Numbers = {10, 20, 30};
  int32_t Position = 0;
  bool Modified = false;
  std::set<std::string> Files;
  std::vector<std::string> Log;
  int Posted = 0;
};

FakeProject* g_project = nullptr;
void Family(TActionRun& run) { RunPageListCode(run, *g_project); }

class PageListCodes : public ::testing::Test {
protected:
  void SetUp() override {
    CreatePendingActions();
    FlushPendingActions();
    g_project = &project;
    table.fill(nullptr);
    table[static_cast<size_t>(TActionFamily::PageListHistory)] = &Family;
  }
  void TearDown() override {
    FlushPendingActions();
    g_project = nullptr;
  }
  void Run(const TActionStruct& a, int32_t serial = -1) { DispatchActionCode(nullptr, project, a, serial, table); }

  FakeProject project;
  TActionFamilyTable table{};
};

TActionStruct Action(int16_t code) {
  TActionStruct a;
  a.Code = static_cast<uint16_t>(code);
  return a;
}

TActionStruct PageList(std::vector<int32_t> numbers, uintptr_t owner = 6) {
  TActionStruct a = Action(12);
  a.IntList = std::move(numbers);
  a.Owner = owner;
  return a;
}

}  // namespace

TEST_F(PageListCodes, AButtonWalksItsListOnceThenStops) {
  const TActionStruct a = PageList({30, 10});
  Run(a);
  Run(a);
  Run(a);  // used up
  EXPECT_EQ(project.Log, (std::vector<std::string>{"page 2", "page 0"}));
  EXPECT_EQ(project.Position, 2);
}

TEST_F(PageListCodes, ThePageListDoesNothingWithoutAPageOrAButton) {
  struct Case {
    const char* what;
    TActionStruct action;
    int32_t position;
  } cases[] = {
      {"empty list", PageList({}), 0},
      {"the entry names no page", PageList({99, 10}), 0},
      {"a counter past the end", PageList({10}), 1},
      {"a negative counter", PageList({10}), -1},
      {"the owner is no button", PageList({10}, 7), 0},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    project.Log.clear();
    project.Position = c.position;
    Run(c.action);
    EXPECT_TRUE(project.Log.empty());
    EXPECT_EQ(project.Position, c.position);
  }
}

TEST_F(PageListCodes, ReloadOpensTheCrtFileOfTheName) {
  struct Case {
    const char* what;
    const char* resolved;
    const char* opened;
  } cases[] = {
      {"another extension", "C:\\P\\zwei.tsl", "C:\\P\\zwei.CRT"},
      {"no extension", "C:\\P\\zwei", "C:\\P\\zwei.CRT"},
      {"a dot in a folder only", "C:\\P.X\\zwei", "C:\\P.X\\zwei.CRT"},
      {"two dots", "C:\\P\\a.b.crt", "C:\\P\\a.b.CRT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReloadFileName(c.resolved), c.opened);
  }
}

TEST_F(PageListCodes, ReloadNeedsTheCrtFileAndAnUnchangedProject) {
  TActionStruct a = Action(21);
  a.Text1 = "zwei.tsl";
  project.Files = {"C:\\P\\zwei.tsl"};  // only the named file: nothing opens
  Run(a);
  EXPECT_TRUE(project.Log.empty());

  project.Files = {"C:\\P\\zwei.CRT"};
  project.Modified = true;
  Run(a);
  EXPECT_EQ(project.Log, std::vector<std::string>{"save first"});
}

TEST_F(PageListCodes, AfterAReloadNothingOfTheOldRunIsTouched) {
  TActionStruct a = Action(21);
  a.Text1 = "zwei.tsl";
  a.Flags |= kActionRepeat;  // whatever the flags say: no repeat
  project.Files = {"C:\\P\\zwei.CRT"};
  AddPendingAction(std::make_unique<TActionKeyStruct>(std::make_unique<TActionStruct>(a), 5, kNoSerial, kNoSerial));
  Run(*FindPendingAction(nullptr, 5), 5);
  EXPECT_EQ(project.Log, std::vector<std::string>{"reload C:\\P\\zwei.CRT"});
  EXPECT_NE(FindPendingAction(nullptr, 5), nullptr);  // the new project's entry stays
  EXPECT_EQ(project.Posted, 0);
}

TEST_F(PageListCodes, ReloadPlacementCutsThePageToTheScreen) {
  struct Case {
    const char* what;
    int w, h;
    TReloadPlacement expected;
  } cases[] = {
      {"smaller: centred", 800, 600, {240, 212, 800, 600}},
      {"larger: the screen from (0, 0)", 2000, 1500, {0, 0, 1280, 1024}},
      {"wider only", 1600, 400, {0, 312, 1280, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TReloadPlacement p = ReloadPlacement(c.w, c.h, 1280, 1024);
    EXPECT_EQ(p.X, c.expected.X);
    EXPECT_EQ(p.Y, c.expected.Y);
    EXPECT_EQ(p.Width, c.expected.Width);
    EXPECT_EQ(p.Height, c.expected.Height);
  }
}

TEST_F(PageListCodes, HistoryAndDocumentCodesReachTheirServices) {
  struct Case {
    const char* what;
    int16_t code;
    std::string logged;
  } cases[] = {
      {"history back", 73, "back"},
      {"history forward", 74, "forward"},
      {"document back", 54, "link 4 NAVIGATE=BACK"},
      {"document forward", 55, "link 4 NAVIGATE=FORWARD"},
      {"find in document", 76, "find 4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    project.Log.clear();
    TActionStruct a = Action(c.code);
    a.Target = 4;
    Run(a);
    EXPECT_EQ(project.Log, std::vector<std::string>{c.logged});
  }
}
