#include "actions/core/printcodes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct FakePicture : TPrintPicture {
  explicit FakePicture(std::string name) : Name(std::move(name)) {}
  std::string Name;
};

// Objects: 1 a picture object, 2 one without a picture, 3 a slide window
// with a chosen entry, 4 one without, 5 an RTF document, 6 a text document
// with a file, 7 one whose file is missing, 8 one without a file name.
// The page set-up answers OK with its margin raised by 1, or cancels.
class FakePrinting : public TPrintHost, public TActionHost {
public:
  TPrintTarget Target(uint32_t n) override {
    switch (n) {
      case 1: case 2: return TPrintTarget::PictureObject;
      case 3: case 4: return TPrintTarget::SlideWindow;
      case 5: return TPrintTarget::RtfDocument;
      case 6: case 7: case 8: return TPrintTarget::TextDocument;
      default: return TPrintTarget::Other;
    }
  }
  std::unique_ptr<TPrintPicture> ObjectPicture(uint32_t n) override {
    return n == 1 ? std::make_unique<FakePicture>("object") : nullptr;
  }
  std::unique_ptr<TPrintPicture> CaretPicture(uint32_t n) override {
    return n == 3 ? std::make_unique<FakePicture>("slide") : nullptr;
  }
  std::unique_ptr<TPrintPicture> FilePicture(const std::string& path) override {
    Log.push_back("load " + path);
    return path == "C:\\P\\bad.bmp" ? nullptr : std::make_unique<FakePicture>(path);
  }
  std::unique_ptr<TPrintPicture> ScreenPicture() override { return std::make_unique<FakePicture>("screen"); }
  std::string ResolveFileName(const TActionStruct& a) override {
    return a.Text1.str().empty() ? std::string() : "C:\\P\\" + a.Text1.str();
  }
  bool FileExists(const std::string& path) override { return path.find("missing") == std::string::npos; }
  bool PageSetup(TBasePrintOutInfo& s, const TPrintPicture* picture) override {
    Log.push_back("setup " + std::string(picture ? static_cast<const FakePicture*>(picture)->Name : "-") + " " +
                  std::to_string(static_cast<int>(s.MarginLeft)) + " " + std::to_string(s.PictureFlags));
    if (Cancel) return false;
    s.MarginLeft += 1;
    return true;
  }
  void PrintPicture(const TBasePrintOutInfo& s, const TPrintPicture& p) override {
    Log.push_back("print " + static_cast<const FakePicture&>(p).Name + " " +
                  std::to_string(static_cast<int>(s.MarginLeft)));
  }
  void PrintText(const TBasePrintOutInfo& s, const std::string& text) override {
    Log.push_back("text " + text + " " + std::to_string(static_cast<int>(s.MarginLeft)));
  }
  void FocusPage() override { Log.push_back("focus"); }
  void ChooseEntryFirst() override { Log.push_back("box 2156"); }
  void PrintRtfObject(uint32_t n) override { Log.push_back("rtf object " + std::to_string(n)); }
  std::string DocumentFile(uint32_t n) override {
    return n == 6 ? "C:\\P\\doc.txt" : n == 7 ? "C:\\P\\missing.txt" : "";
  }
  void PrintTextFile(const std::string& path) override { Log.push_back("text file " + path); }
  void PrintRtfFile(const std::string& path) override { Log.push_back("rtf file " + path); }
  std::string ReadText(const std::string& path, size_t limit) override {
    return "<" + path + " " + std::to_string(limit) + ">";
  }
  // TActionHost
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

  bool Cancel = false;
  std::vector<std::string> Log;
};

TActionStruct Action(TActionCode code, uint32_t target, uintptr_t owner, const char* file = "") {
  TActionStruct a;
  a.Code = static_cast<uint16_t>(code);
  a.Target = target;
  a.Owner = owner;
  a.Text1 = file;
  return a;
}

std::vector<std::string> RunCode(FakePrinting& host, TPrintSettingsStore& store, const TActionStruct& a) {
  host.Log.clear();
  TActionRun run(nullptr, host, a, -1);
  if (IsActionCode(a.Code, TActionCode::PrintDocument))
    RunDocumentPrintCode(run, host, store);
  else
    RunPrintingCode(run, host, store);
  return host.Log;
}

using L = std::vector<std::string>;

TEST(PrintCodes, EachCodeAndItsFlow) {
  struct Case {
    const char* what;
    TActionStruct action;
    bool cancel;
    L log;
  };
  const Case cases[] = {
      {"27 on a picture object: set-up, printout, focus", Action(TActionCode::PrintPicture, 1, 10), false,
       {"setup object 0 5", "print object 1", "focus"}},
      {"27 on a picture object without a picture", Action(TActionCode::PrintPicture, 2, 10), false, {}},
      {"27 on a slide window's chosen entry", Action(TActionCode::PrintPicture, 3, 10), false,
       {"setup slide 0 5", "print slide 1", "focus"}},
      {"27 on a slide window without a chosen entry", Action(TActionCode::PrintPicture, 4, 10), false,
       {"box 2156"}},
      {"27 on another kind", Action(TActionCode::PrintPicture, 5, 10), false, {}},
      {"cancelling the set-up prints nothing", Action(TActionCode::PrintPicture, 1, 10), true,
       {"setup object 0 5"}},
      {"28 on a file", Action(TActionCode::PrintPictureFile, 0, 10, "a.bmp"), false,
       {"load C:\\P\\a.bmp", "setup C:\\P\\a.bmp 0 5", "print C:\\P\\a.bmp 1", "focus"}},
      {"28 on a missing file: nothing, not even loading", Action(TActionCode::PrintPictureFile, 0, 10, "missing.bmp"),
       false, {}},
      {"28 on a file that does not load", Action(TActionCode::PrintPictureFile, 0, 10, "bad.bmp"), false,
       {"load C:\\P\\bad.bmp"}},
      {"30 prints the page", Action(TActionCode::PrintScreen, 0, 10), false,
       {"setup screen 0 5", "print screen 1", "focus"}},
      {"23 on an RTF document: no dialog", Action(TActionCode::PrintTextObject, 5, 10), false, {"rtf object 5"}},
      {"23 on a text document", Action(TActionCode::PrintTextObject, 6, 10), false, {"text file C:\\P\\doc.txt"}},
      {"23 on a text document whose file is missing", Action(TActionCode::PrintTextObject, 7, 10), false, {}},
      {"23 on a text document without a file", Action(TActionCode::PrintTextObject, 8, 10), false, {}},
      {"23 on a picture object", Action(TActionCode::PrintTextObject, 1, 10), false, {}},
      {"22 on an RTF file: no dialog", Action(TActionCode::PrintDocument, 0, 10, "x.Rtf"), false,
       {"rtf file C:\\P\\x.Rtf"}},
      {"22 on a missing RTF file still goes the RTF way", Action(TActionCode::PrintDocument, 0, 10, "missing.RTF.txt"),
       false, {"rtf file C:\\P\\missing.RTF.txt"}},
      {"22 on a text file: set-up without picture options, then the text",
       Action(TActionCode::PrintDocument, 0, 10, "a.txt"), false,
       {"setup - 0 13", "text <C:\\P\\a.txt 32766> 1", "focus"}},
      {"22 on a missing text file: no dialog", Action(TActionCode::PrintDocument, 0, 10, "missing.txt"), false, {}},
      {"22 without a file name", Action(TActionCode::PrintDocument, 0, 10, ""), false, {}},
      {"22 cancelled", Action(TActionCode::PrintDocument, 0, 10, "a.txt"), true, {"setup - 0 13"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrinting host;
    host.Cancel = c.cancel;
    TPrintSettingsStore store;
    EXPECT_EQ(RunCode(host, store, c.action), c.log);
  }
}

TEST(PrintCodes, HeldSettingsFollowTheOwner) {
  FakePrinting host;
  TPrintSettingsStore store;
  TActionStruct first = Action(TActionCode::PrintPictureFile, 0, 10, "a.bmp");
  first.GetPrintInfo().MarginLeft = 5;
  // The first use loads the action's own settings; the confirmed margin
  // stays for the same owner, even when its action carries others.
  EXPECT_EQ(RunCode(host, store, first)[1], "setup C:\\P\\a.bmp 5 5");
  TActionStruct again = Action(TActionCode::PrintPictureFile, 0, 10, "a.bmp");
  again.GetPrintInfo().MarginLeft = 40;
  EXPECT_EQ(RunCode(host, store, again)[1], "setup C:\\P\\a.bmp 6 5");
  // Cancelled: the held settings are unchanged.
  host.Cancel = true;
  EXPECT_EQ(RunCode(host, store, again)[1], "setup C:\\P\\a.bmp 7 5");
  host.Cancel = false;
  EXPECT_EQ(RunCode(host, store, again)[1], "setup C:\\P\\a.bmp 7 5");
  // Another owner reloads from its action.
  TActionStruct other = Action(TActionCode::PrintPictureFile, 0, 11, "a.bmp");
  other.GetPrintInfo().MarginLeft = 20;
  EXPECT_EQ(RunCode(host, store, other)[1], "setup C:\\P\\a.bmp 20 5");
  // An action without settings of its own gives the defaults.
  EXPECT_EQ(RunCode(host, store, Action(TActionCode::PrintPictureFile, 0, 12, "a.bmp"))[1], "setup C:\\P\\a.bmp 0 5");
  // The action's own record is not the held one.
  EXPECT_EQ(other.GetPrintInfo().MarginLeft, 20);
}

TEST(PrintCodes, EachPictureCodeKeepsItsOwnSettings) {
  FakePrinting host;
  TPrintSettingsStore store;
  // One owner prints with each code twice: the second use of each sees
  // only its own first confirmation.
  const TActionStruct actions[] = {Action(TActionCode::PrintPicture, 1, 10), Action(TActionCode::PrintPicture, 3, 10),
                                   Action(TActionCode::PrintPictureFile, 0, 10, "a.bmp"),
                                   Action(TActionCode::PrintScreen, 0, 10)};
  for (const TActionStruct& a : actions) RunCode(host, store, a);
  for (const TActionStruct& a : actions) {
    const L log = RunCode(host, store, a);
    ASSERT_FALSE(log.empty());
    const std::string& setup = log.size() == 4 ? log[1] : log[0];
    EXPECT_NE(setup.find(" 1 5"), std::string::npos) << setup;
  }
  // Code 22's text settings stay between text prints too.
  RunCode(host, store, Action(TActionCode::PrintDocument, 0, 10, "a.txt"));
  EXPECT_EQ(RunCode(host, store, Action(TActionCode::PrintDocument, 0, 99, "a.txt"))[0], "setup - 1 13");
}

TEST(PrintCodes, RtfFileNames) {
  struct Case {
    const char* name;
    bool rtf;
  };
  const Case cases[] = {{"a.rtf", true}, {"A.RTF", true}, {"x.rTf.bak", true}, {"C:\\d.rtfx\\a.txt", true},
                        {"a.txt", false}, {"rtf", false}, {"a.rt", false}, {"", false}, {"artf", false}};
  for (const Case& c : cases) EXPECT_EQ(IsRtfFileName(c.name), c.rtf) << c.name;
}

}  // namespace
