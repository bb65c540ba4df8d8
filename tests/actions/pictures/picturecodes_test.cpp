#include "actions/core/picturecodes.h"

#include <gtest/gtest.h>

#include <new>
#include <set>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A picture that says in the log when it is freed (an object's own picture
// has no log: it must never be freed by a code).
struct FakePicture : TSlidePicture {
  FakePicture(std::string from, Strings* log) : From(std::move(from)), Log(log) {}
  ~FakePicture() override {
    if (Log) Log->push_back("free " + From);
  }
  std::string From;
  Strings* Log;
};

const std::string& From(const TSlidePicture& p) { return static_cast<const FakePicture&>(p).From; }

// A slide window with entries "C:\B\a.jpg" and "C:\B\b.jpg".
class FakeWindow : public TSlideListHost {
public:
  explicit FakeWindow(Strings& log) : Log(log) {}
  TDiaOption& Show() override { return Option; }
  int EntryCount() override { return 2; }
  string EntryText(int i) override { return i == 0 ? string("C:\\B\\a.jpg") : i == 1 ? string("C:\\B\\b.jpg") : string(); }
  std::vector<int> SelectedIndexes() override { return Selected; }
  int CaretIndex() override { return Caret; }
  void SelectAll(bool) override {}
  void Message(int id) override { Log.push_back("window message " + std::to_string(id)); }
  bool ChooseFolder(string&) override { return false; }
  bool CreateDirectoryPath(const string&) override { return false; }
  bool CopyFileOver(const string&, const string&) override { return false; }
  void RunShowWindow() override {}
  std::unique_ptr<TSlidePicture> LoadPicture(const string& path, uint16_t, uint16_t) override {
    return std::make_unique<FakePicture>(path.str(), &Log);
  }

  TDiaOption Option;
  std::vector<int> Selected;
  int Caret = -1;
  Strings& Log;
};

// The page: object 1 a picture object, 5 a slide window, 13 a picture
// container; every other number is missing or of another kind.
class FakePage : public TPictureViewHost {
public:
  bool FindPictureObject(uint32_t target, const TSlidePicture*& picture) override {
    if (target != 1) return false;
    picture = PictureLoaded ? &ObjectPicture : nullptr;
    return true;
  }
  TSlideListHost* FindSlideWindow(uint32_t target) override { return target == 5 ? &Window : nullptr; }
  TViewerOptions SlideViewerOptions(TSlideListHost&) override { return SlideOptions; }
  void OpenContainerOverview(uint32_t target) override {
    if (target == 13) Log.push_back("overview of 13");
  }
  void OpenPictureListOverview(const string& path) override { Log.push_back("overview over " + path.str()); }
  void RunViewer(const TSlidePicture& p, const TViewerOptions& o) override {
    char colour[16];
    std::snprintf(colour, sizeof colour, "%06X", o.Colour);
    Log.push_back("viewer " + From(p) + (o.OwnColour ? " on " + std::string(colour) : " black"));
    EXPECT_TRUE(o.OwnColour || o.Colour == 0) << "without the flag the colour is black";
  }
  void Message(int id) override { Log.push_back("message " + std::to_string(id)); }
  string ResolveActionPath(const TActionStruct& a) override { return string("P:") + a.Text1; }
  bool FileExists(const string& path) override { return Files.count(path.str()) != 0; }
  std::unique_ptr<TSlidePicture> LoadPictureFile(const string& path) override {
    Log.push_back("load " + path.str());
    if (path.contains("kaputt")) return nullptr;
    return std::make_unique<FakePicture>(path.str(), &Log);
  }
  bool OpenClipboard() override {
    Log.push_back("open clipboard");
    return OpenWorks;
  }
  bool EmptyClipboard() override {
    Log.push_back("empty clipboard");
    return EmptyWorks;
  }
  void PutDib(const TSlidePicture& p) override {
    Log.push_back("dib " + From(p));
    if (PutThrows) throw std::bad_alloc();
  }
  void CloseClipboard() override { Log.push_back("close clipboard"); }

  Strings Log;
  FakeWindow Window{Log};
  FakePicture ObjectPicture{"object picture", nullptr};
  bool PictureLoaded = true;
  TViewerOptions SlideOptions;
  std::set<std::string> Files{"P:bild.bmp", "P:kaputt.bmp"};
  bool OpenWorks = true, EmptyWorks = true, PutThrows = false;
};

class FakeActions : public TActionHost {
public:
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }
};

struct Case {
  const char* what;
  TActionCode code;
  uint32_t target;
  uint32_t flags;
  uint32_t value1;
  const char* file;
  Strings log;
};

void RunCode(FakePage& page, TActionCode code, uint32_t target, uint32_t flags = 0, uint32_t value1 = 0,
         const char* file = "") {
  FakeActions actions;
  TActionStruct a;
  a.Code = StoredActionCode(code);
  a.Target = target;
  a.Flags = flags;
  a.Value1 = value1;
  a.Text1 = file;
  TActionRun run(nullptr, actions, a, -1);
  RunPictureViewCode(run, page);
}

constexpr uint32_t kColour = 0x1000000;
constexpr uint32_t kDefaultFlags = 0x100E8C;  // a new action's

TEST(PictureCodes, EachCodeOnAPageWithEverything) {
  // The slide window has its caret on the selected second entry and its own
  // colour; the action's flag never reaches it.
  const Case cases[] = {
      {"25 on the picture object, black", TActionCode::ShowObjectPicture, 1, kDefaultFlags, 0x123456, "",
       {"viewer object picture black"}},
      {"25 with the flag: Value1's colour", TActionCode::ShowObjectPicture, 1, kDefaultFlags | kColour, 0x3020C8, "",
       {"viewer object picture on 3020C8"}},
      {"25 on the slide window: its own colour wins", TActionCode::ShowObjectPicture, 5, kColour, 0x3020C8, "",
       {"viewer C:\\B\\b.jpg on 00FF00", "free C:\\B\\b.jpg"}},
      {"25 on a container: nothing", TActionCode::ShowObjectPicture, 13, 0, 0, "", {}},
      {"26 shows the file, then frees it", TActionCode::ShowPictureFile, 0, kColour, 0xFF, "bild.bmp",
       {"load P:bild.bmp", "viewer P:bild.bmp on 0000FF", "free P:bild.bmp"}},
      {"26 without the flag", TActionCode::ShowPictureFile, 0, 0, 0xFF, "bild.bmp",
       {"load P:bild.bmp", "viewer P:bild.bmp black", "free P:bild.bmp"}},
      {"26 on a missing file: not even loaded", TActionCode::ShowPictureFile, 0, 0, 0, "fehlt.bmp", {}},
      {"26 on a file that does not load: silent", TActionCode::ShowPictureFile, 0, 0, 0, "kaputt.bmp",
       {"load P:kaputt.bmp"}},
      {"31 on the picture object: the object keeps its picture", TActionCode::CopyPictureToClipboard, 1, 0, 0, "",
       {"open clipboard", "empty clipboard", "dib object picture", "close clipboard"}},
      {"31 on the slide window: the caret picture, freed after closing", TActionCode::CopyPictureToClipboard, 5, 0, 0,
       "", {"open clipboard", "empty clipboard", "dib C:\\B\\b.jpg", "close clipboard", "free C:\\B\\b.jpg"}},
      {"31 on a missing object", TActionCode::CopyPictureToClipboard, 9, 0, 0, "", {}},
      {"35 puts the file on the clipboard", TActionCode::CopyPictureFileToClipboard, 0, 0, 0, "bild.bmp",
       {"load P:bild.bmp", "open clipboard", "empty clipboard", "dib P:bild.bmp", "close clipboard",
        "free P:bild.bmp"}},
      {"35 on a missing file", TActionCode::CopyPictureFileToClipboard, 0, 0, 0, "fehlt.bmp", {}},
      {"35 on a file that does not load: the clipboard stays shut", TActionCode::CopyPictureFileToClipboard, 0, 0, 0,
       "kaputt.bmp", {"load P:kaputt.bmp"}},
      {"33 on the container", TActionCode::ShowSlideOverview, 13, 0, 0, "", {"overview of 13"}},
      {"33 on the picture object: nothing", TActionCode::ShowSlideOverview, 1, 0, 0, "", {}},
      {"34 goes to the container without an existence test", TActionCode::ShowPictureListOverview, 0, 0, 0,
       "fehlt.bmc", {"overview over P:fehlt.bmc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePage page;
    page.Window.Selected = {1};
    page.Window.Caret = 1;
    page.SlideOptions = {true, 0x00FF00};
    RunCode(page, c.code, c.target, c.flags, c.value1, c.file);
    EXPECT_EQ(c.log, page.Log);
  }
}

TEST(PictureCodes, SlideWindowWithoutSelectionAsksForOne) {
  for (TActionCode code : {TActionCode::ShowObjectPicture, TActionCode::CopyPictureToClipboard}) {
    SCOPED_TRACE(static_cast<int>(code));
    for (const std::vector<int>& selected : {std::vector<int>{}, std::vector<int>{0}}) {
      FakePage page;
      page.Window.Selected = selected;
      page.Window.Caret = selected.empty() ? 0 : -1;  // a caret without a selection, a selection without a caret
      RunCode(page, code, 5);
      EXPECT_EQ(Strings{"message 2156"}, page.Log) << "over the page, not the slide window";
    }
  }
  FakePage plain;
  plain.Window.Selected = {0};
  plain.Window.Caret = 0;
  RunCode(plain, TActionCode::ShowObjectPicture, 5, kColour, 0x3020C8);
  EXPECT_EQ((Strings{"viewer C:\\B\\a.jpg black", "free C:\\B\\a.jpg"}), plain.Log)
      << "a slide window without its own colour shows on black whatever the action says";
}

TEST(PictureCodes, PictureObjectWithoutPictureIsSilent) {
  for (TActionCode code : {TActionCode::ShowObjectPicture, TActionCode::CopyPictureToClipboard}) {
    FakePage page;
    page.PictureLoaded = false;
    RunCode(page, code, 1, kColour, 0xFF);
    EXPECT_TRUE(page.Log.empty()) << static_cast<int>(code);
  }
}

TEST(PictureCodes, ClipboardClosedOnEveryPath) {
  struct Fault {
    const char* what;
    bool open, empty, throws;
    Strings log;
  };
  const Fault faults[] = {
      {"cannot be opened: nothing to close", false, true, false,
       {"load P:bild.bmp", "open clipboard", "free P:bild.bmp"}},
      {"cannot be emptied: nothing placed, closed all the same", true, false, false,
       {"load P:bild.bmp", "open clipboard", "empty clipboard", "close clipboard", "free P:bild.bmp"}},
      {"handing over fails: closed, and the picture freed", true, true, true,
       {"load P:bild.bmp", "open clipboard", "empty clipboard", "dib P:bild.bmp", "close clipboard",
        "free P:bild.bmp"}},
  };
  for (const Fault& f : faults) {
    SCOPED_TRACE(f.what);
    FakePage page;
    page.OpenWorks = f.open;
    page.EmptyWorks = f.empty;
    page.PutThrows = f.throws;
    if (f.throws)
      EXPECT_THROW(RunCode(page, TActionCode::CopyPictureFileToClipboard, 0, 0, 0, "bild.bmp"), std::bad_alloc);
    else
      RunCode(page, TActionCode::CopyPictureFileToClipboard, 0, 0, 0, "bild.bmp");
    EXPECT_EQ(f.log, page.Log);
  }
}

TEST(PictureCodes, OtherCodesAndTargetsDoNothing) {
  for (TActionCode code : {TActionCode::ShowObjectPicture, TActionCode::CopyPictureToClipboard,
                           TActionCode::ShowSlideOverview}) {
    for (uint32_t target : {0u, 7u, 0xFFFFFFFFu}) {
      FakePage page;
      page.Window.Selected = {0};
      page.Window.Caret = 0;
      RunCode(page, code, target);
      EXPECT_TRUE(page.Log.empty()) << static_cast<int>(code) << " on " << target;
    }
  }
  FakePage page;
  RunCode(page, TActionCode::PrintPicture, 1, 0, 0, "bild.bmp");
  EXPECT_TRUE(page.Log.empty());
}

}  // namespace
