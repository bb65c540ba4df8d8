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
  std::string ResolveFileName(const TActionStruct& a) override {
    const std::string name = a.Text1.str();
    return name.find(':') != std::string::npos ? name : "C:\\P\\" + name;
  }
  std::string BrowserProgram() override { return Browser; }
  void RunBrowser(const std::string& program, const std::string& document, bool wait) override {
    Log.push_back("browser " + program + " " + document + (wait ? " wait" : ""));
  }
  void NoProgramBox() override { Log.push_back("box 2012"); }
  std::string ResolveFileName2(const TActionStruct& a) override {
    return a.Text2.str().empty() ? std::string() : "C:\\Daten Ordner\\" + a.Text2.str();
  }
  std::string ResolvePlain(const std::string& name) override { return "C:\\Setup\\" + name; }
  bool FileExists(const std::string& path) override { return path == "C:\\Setup\\inst.exe"; }
  std::string AssociatedProgram(const std::string& extension) override {
    return extension == ".txt" ? "C:\\Win\\notepad.exe" : "";
  }
  std::string ExtensionsEntry(const std::string& key) override { return key == "wri" ? "write.exe ^.wri" : ""; }
  std::string InstallationEntry(const std::string& key) override {
    if (key == "pdf") return "Reader, inst.exe ";
    if (key == "xyz") return "inst.exe";
    return "";
  }
  std::string Text(int id) override { return "<" + std::to_string(id) + ">"; }
  bool AskYesNo(const std::string& question) override {
    Log.push_back("ask " + question);
    return Answer;
  }
  void SetCurrentFolder(const std::string& folder) override { Log.push_back("cd " + folder); }
  unsigned Execute(const std::string& line) override {
    Log.push_back("exec " + line);
    return ExecResult;
  }
  void StopBox(const std::string& line) override { Log.push_back("stop " + line); }
  // TActionHost
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

  intptr_t ShellResult = 42;
  unsigned ExecResult = 33;
  bool Answer = true;
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

TActionStruct Program(const char* program, const char* document, uint32_t flags = 0) {
  TActionStruct a = Action(13, program, flags);
  a.Text2 = document;
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

TEST_F(DocumentCodes, RunProgramFindsItsProgramInOrder) {
  const uint32_t kFrom = kProgramFromDocument;
  struct Case {
    const char* what;
    TActionStruct action;
    unsigned result;
    std::vector<std::string> log;
  } cases[] = {
      {"no program, no lookup: nothing", Program("", "a.txt"), 33, {}},
      {"program as given, the resolved document quoted", Program("C:\\Tools\\zeig.exe", "a.txt"), 33,
       {"cd C:\\Tools\\", "exec C:\\Tools\\zeig.exe \"C:\\Daten Ordner\\a.txt\""}},
      {"the association first", Program("", "a.txt", kFrom), 33,
       {"cd C:\\Win\\", "exec C:\\Win\\notepad.exe \"C:\\Daten Ordner\\a.txt\""}},
      {"then the Extensions entry cut at its first blank", Program("", "b.wri", kFrom), 33,
       {"exec write.exe \"C:\\Daten Ordner\\b.wri\""}},
      {"an executable document keeps the program", Program("C:\\Tools\\x.exe", "run.exe", kFrom), 33,
       {"cd C:\\Tools\\", "exec C:\\Tools\\x.exe \"C:\\Daten Ordner\\run.exe\""}},
      {"nothing found: a blank and the document, and the stop box", Program("", "c.abc", kFrom), 2,
       {"exec  \"C:\\Daten Ordner\\c.abc\"", "stop  \"C:\\Daten Ordner\\c.abc\""}},
      {"the installer offer names its application", Program("", "d.pdf", kFrom | kOfferInstaller), 33,
       {"ask <2012><2013>Reader<2014>", "exec C:\\Setup\\inst.exe"}},
      {"an offer without a name", Program("", "e.xyz", kFrom | kOfferInstaller), 33,
       {"ask <2012><2015>", "exec C:\\Setup\\inst.exe"}},
      {"no installer registered: the empty program", Program("", "f.abc", kFrom | kOfferInstaller), 33,
       {"exec  \"C:\\Daten Ordner\\f.abc\""}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    shell.Log.clear();
    shell.ExecResult = c.result;
    Run(c.action);
    EXPECT_EQ(shell.Log, c.log);
  }
  // Answering No starts nothing.
  shell.Log.clear();
  shell.Answer = false;
  Run(Program("", "d.pdf", kFrom | kOfferInstaller));
  EXPECT_EQ(shell.Log, std::vector<std::string>{"ask <2012><2013>Reader<2014>"});
}
