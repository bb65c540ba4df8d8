#include "actions/core/documentcodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The shell answers `ShellResult`; ".htm" opens with `Browser`. Every call
// the codes make is logged.
class FakeShell : public TDocumentHost, public TActionHost {
public:
  intptr_t ShellOpen(const char* verb, const std::string& file, int show) override {
    Log.push_back(std::string(verb) + " " + file + " " + std::to_string(show));
    return ShellResult;
  }
  std::string ResolveFileName(const TActionStruct& a) override { return "C:\\P\\" + a.Text1.str(); }
  std::string BrowserProgram() override { return Browser; }
  void RunBrowser(const std::string& program, const std::string& document, bool wait) override {
    Log.push_back("browser " + program + " " + document + (wait ? " wait" : ""));
  }
  void NoProgramBox() override { Log.push_back("box 2012"); }
  // TActionHost
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

  intptr_t ShellResult = 42;
  std::string Browser = "C:\\web.exe";
  std::vector<std::string> Log;
};

FakeShell* g_shell = nullptr;
void Family(TActionRun& run) { RunDocumentCode(run, *g_shell); }

class DocumentCodes : public ::testing::Test {
protected:
  void SetUp() override {
    CreatePendingActions();
    FlushPendingActions();
    g_shell = &shell;
    table.fill(nullptr);
    table[static_cast<size_t>(TActionFamily::ProgramDocument)] = &Family;
  }
  void TearDown() override {
    FlushPendingActions();
    g_shell = nullptr;
  }
  void Run(const TActionStruct& a) { DispatchActionCode(nullptr, shell, a, -1, table); }

  FakeShell shell;
  TActionFamilyTable table{};
};

TActionStruct Action(int16_t code, const char* file = "", uint32_t flags = 0) {
  TActionStruct a;
  a.Code = static_cast<uint16_t>(code);
  a.Text1 = file;
  a.Flags = flags;
  return a;
}

TActionStruct Mail(std::vector<const char*> strings) {
  TActionStruct a = Action(80);
  for (const char* s : strings) a.Strings.Add(s);
  return a;
}

}  // namespace

TEST_F(DocumentCodes, OpenAndPrintDocuments) {
  TActionStruct print = Action(46, "liste.doc");
  print.Value1 = 1;
  struct Case {
    const char* what;
    TActionStruct action;
    std::vector<std::string> log;
  } cases[] = {
      {"open as written", Action(41, "info.pdf"), {"open info.pdf 1"}},
      {"in the browser", Action(41, "a.htm", kOpenInBrowser), {"browser C:\\web.exe a.htm"}},
      {"in the browser, waiting", Action(41, "a.htm", kOpenInBrowserAndWait), {"browser C:\\web.exe a.htm wait"}},
      {"open resolved", Action(46, "liste.doc"), {"open C:\\P\\liste.doc 1"}},
      {"print without activating", print, {"print C:\\P\\liste.doc 7"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    shell.Log.clear();
    Run(c.action);
    EXPECT_EQ(shell.Log, c.log);
  }
  // No browser registered: nothing at all.
  shell.Log.clear();
  shell.Browser.clear();
  Run(Action(41, "a.htm", kOpenInBrowser));
  EXPECT_TRUE(shell.Log.empty());
}

TEST_F(DocumentCodes, MailIsJoinedUnescapedAndAMissingProgramIsSaid) {
  Run(Mail({"a@b.de", "Hallo"}));  // two strings: nothing
  EXPECT_TRUE(shell.Log.empty());

  Run(Mail({"a@b.de", "Gruss & Dank", "Zeile 1"}));
  EXPECT_EQ(shell.Log, std::vector<std::string>{"open mailto:a@b.de?subject=Gruss & Dank&body=Zeile 1 1"});

  shell.Log.clear();
  shell.ShellResult = 31;  // no mailto association
  Run(Mail({"a@b.de", "s", "b"}));
  EXPECT_EQ(shell.Log, (std::vector<std::string>{"open mailto:a@b.de?subject=s&body=b 1", "box 2012"}));
}
