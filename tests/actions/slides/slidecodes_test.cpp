#include "actions/core/slidecodes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct FakePicture : TSlidePicture {
  explicit FakePicture(std::string from) : From(std::move(from)) {}
  std::string From;
};

// A slide window: entries, a selection, a caret and its slide show; it logs
// what it is asked to do.
class FakeWindow : public TSlideListHost {
public:
  TDiaOption& Show() override { return Option; }
  int EntryCount() override { return static_cast<int>(Entries.size()); }
  string EntryText(int i) override { return i >= 0 && i < EntryCount() ? string(Entries[i]) : string(); }
  std::vector<int> SelectedIndexes() override { return {Selected.begin(), Selected.end()}; }
  int CaretIndex() override { return Caret; }
  void SelectAll(bool on) override {
    Log.push_back(on ? "select all" : "clear all");
    Selected.clear();
    if (on)
      for (int i = 0; i < EntryCount(); ++i) Selected.push_back(i);
  }
  void Message(int id) override { Log.push_back("message " + std::to_string(id)); }
  bool ChooseFolder(string& folder) override {
    Log.push_back("choose at " + folder.str());
    if (Chosen.empty()) return false;
    folder = Chosen;
    return true;
  }
  bool CreateDirectoryPath(const string& path) override {
    Log.push_back("mkdir " + path.str());
    return MakeFolders;
  }
  bool CopyFileOver(const string& s, const string& t) override {
    Log.push_back("copy " + s.str() + " > " + t.str());
    return FailingSource != s.str();
  }
  void RunShowWindow() override { Log.push_back("show"); }
  std::unique_ptr<TSlidePicture> LoadPicture(const string& path, uint16_t r, uint16_t d) override {
    Log.push_back("load " + path.str() + " " + std::to_string(r) + "/" + std::to_string(d));
    if (path.contains("broken")) return nullptr;
    return std::make_unique<FakePicture>(path.str());
  }

  TDiaOption Option;
  std::vector<std::string> Entries;
  std::vector<int> Selected;
  int Caret = -1;
  std::string Chosen;
  bool MakeFolders = true;
  std::string FailingSource;
  std::vector<std::string> Log;
};

// The page: object 5 is the slide window, object 6 a picture object whose
// picture is there when `PictureLoaded`; it logs clipboard, wallpaper and
// file work.
class FakePage : public TSlideCodeHost {
public:
  TSlideListHost* FindSlideWindow(uint32_t target) override { return target == 5 ? &Window : nullptr; }
  bool FindPictureObject(uint32_t target, const TSlidePicture*& picture, string& name) override {
    if (target != 6) return false;
    picture = PictureLoaded ? &ObjectPicture : nullptr;
    name = "D:\\Bilder\\Foto.jpg";
    return true;
  }
  void Configure(TSlideListHost&) override { Log.push_back("configure"); }
  void Message(int id) override { Log.push_back("message " + std::to_string(id)); }
  bool CreateDirectoryPath(const string& path) override {
    Log.push_back("mkdir " + path.str());
    return true;
  }
  bool WriteBitmapFile(const TSlidePicture& p, const string& path) override {
    Log.push_back("write " + static_cast<const FakePicture&>(p).From + " > " + path.str());
    return WriteWorks;
  }
  void SetWallpaper(const string& path) override { Log.push_back("wallpaper " + path.str()); }
  bool OpenClipboard() override {
    Log.push_back("open clipboard");
    return true;
  }
  bool EmptyClipboard() override {
    Log.push_back("empty clipboard");
    return EmptyWorks;
  }
  void PutDib(const TSlidePicture& p) override { Log.push_back("dib " + static_cast<const FakePicture&>(p).From); }
  void CloseClipboard() override { Log.push_back("close clipboard"); }
  string ResolveActionPath(const TActionStruct& a) override { return string("P:") + a.Text1; }
  string ResolvePath(const string& name) override { return name.is_null() ? name : string("R:") + name; }
  bool FileExists(const string& path) override { return Files.count(path.str()) != 0; }
  bool ReadShowFile(const string& path, TDiaOption& show) override {
    if (Files[path.str()] != "dia") return false;
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = "a.jpg";
    show.Pictures.Flush();
    show.Pictures.Add(std::move(e));
    show.BackgroundSoundFile = "musik.mid";
    return true;
  }

  FakeWindow Window;
  FakePicture ObjectPicture{"object picture"};
  bool PictureLoaded = true;
  bool WriteWorks = true;
  bool EmptyWorks = true;
  std::map<std::string, std::string> Files;
  std::vector<std::string> Log;
};

class FakeActions : public TActionHost {
public:
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }
};

void RunCode(FakePage& page, TActionCode code, uint32_t target, const char* text1 = "", const char* text2 = "") {
  FakeActions actions;
  TActionStruct a;
  a.Code = StoredActionCode(code);
  a.Target = target;
  a.Text1 = text1;
  a.Text2 = text2;
  TActionRun run(nullptr, actions, a, -1);
  RunSlideShowCode(run, page);
}

std::vector<std::string> Pictures(const TDiaOption& o) {
  std::vector<std::string> v;
  for (int i = 0; i < o.Pictures.Count(); ++i) v.push_back(o.Pictures[i].PictureFile.str());
  return v;
}

using Strings = std::vector<std::string>;

TEST(SlideCodes, AddingKeepsOneLowerCasedRecordPerPicture) {
  FakePage page;
  FakeWindow& w = page.Window;
  w.Entries = {"C:\\Bilder\\A.JPG", "C:\\Bilder\\b.bmp", "c:\\bilder\\a.jpg"};
  w.Selected = {1, 0};
  RunCode(page, TActionCode::AddSelectedSlides, 5);
  RunCode(page, TActionCode::AddSelectedSlides, 5);
  EXPECT_EQ((Strings{"c:\\bilder\\b.bmp", "c:\\bilder\\a.jpg"}), Pictures(w.Option));
  EXPECT_EQ((std::vector<int>{1, 0}), w.Selected) << "the selection stays as it was";
  EXPECT_EQ(-24, w.Option.Pictures[0].HeaderFont.lfHeight);
  RunCode(page, TActionCode::AddAllSlides, 5);
  EXPECT_EQ(2, w.Option.Pictures.Count()) << "the third entry is the first picture in other letters";
  EXPECT_EQ(3u, w.Selected.size());
  RunCode(page, TActionCode::RemoveAllSlides, 5);
  EXPECT_EQ(0, w.Option.Pictures.Count());
  EXPECT_TRUE(w.Selected.empty());
  FakePage empty;
  RunCode(empty, TActionCode::AddAllSlides, 5);
  EXPECT_EQ(0, empty.Window.Option.Pictures.Count());
  EXPECT_EQ(Strings{"select all"}, empty.Window.Log);
}

TEST(SlideCodes, CopyCases) {
  const std::string longDefault(300, 'x');
  struct Case {
    const char* what;
    std::vector<int> selected;
    std::string remembered, actionDefault, chosen;
    bool makeFolders;
    std::string failing;
    Strings log;
    std::string rememberedAfter;
  };
  const std::string deep = "C:\\" + std::string(255, 'd');
  const Case cases[] = {
      {"nothing selected", {}, "", "D:\\Ziel", "E:\\X", true, "", {"message 2367"}, ""},
      {"first use starts at the action's folder; both copied",
       {0, 1}, "", "D:\\Ziel", "E:\\Kopien\\\\", true, "",
       {"choose at D:\\Ziel", "mkdir E:\\Kopien\\", "copy C:\\B\\a.jpg > E:\\Kopien\\a.jpg",
        "copy C:\\B\\b.gif > E:\\Kopien\\b.gif", "message 2011"},
       "E:\\Kopien\\\\"},
      {"a later use starts where the last one ended", {0}, "F:\\Zuletzt", "D:\\Ziel", "F:\\Zuletzt", true, "",
       {"choose at F:\\Zuletzt", "mkdir F:\\Zuletzt\\", "copy C:\\B\\a.jpg > F:\\Zuletzt\\a.jpg", "message 2011"},
       "F:\\Zuletzt"},
      {"no default anywhere: the built-in folder", {0}, "", "", "", true, "", {"choose at C:\\TSL_Out\\Dias\\"},
       "C:\\TSL_Out\\Dias\\"},
      {"a default of 260 characters or more counts as empty", {0}, "", longDefault, "", true, "",
       {"choose at C:\\TSL_Out\\Dias\\"}, "C:\\TSL_Out\\Dias\\"},
      {"the first failure ends the copy", {0, 1}, "", "D:\\Z", "D:\\Z", true, "C:\\B\\a.jpg",
       {"choose at D:\\Z", "mkdir D:\\Z\\", "copy C:\\B\\a.jpg > D:\\Z\\a.jpg", "message 1004"}, "D:\\Z"},
      {"a folder that cannot be made is a failed copy", {0}, "", "D:\\Z", "D:\\Z", false, "",
       {"choose at D:\\Z", "mkdir D:\\Z\\", "message 1004"}, "D:\\Z"},
      {"a target of 260 characters or more fails", {0}, "", "D:\\Z", deep, true, "",
       {"choose at D:\\Z", "mkdir " + deep + "\\", "message 1004"}, deep},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePage page;
    FakeWindow& w = page.Window;
    w.Entries = {"C:\\B\\a.jpg", "C:\\B\\b.gif"};
    w.Selected = c.selected;
    w.Chosen = c.chosen;
    w.MakeFolders = c.makeFolders;
    w.FailingSource = c.failing;
    SlideCopyFolder() = c.remembered;
    RunCode(page, TActionCode::CopySlideFiles, 5, "", c.actionDefault.c_str());
    EXPECT_EQ(c.log, w.Log);
    EXPECT_EQ(c.rememberedAfter, SlideCopyFolder().str());
  }
  SlideCopyFolder() = string();
}

TEST(SlideCodes, ShowConfigureAndCaret) {
  FakePage page;
  FakeWindow& w = page.Window;
  RunCode(page, TActionCode::RunSlideShow, 5);
  EXPECT_EQ(Strings{"message 2154"}, w.Log);
  w.Log.clear();
  w.Entries = {"C:\\B\\a.jpg"};
  w.Selected = {0};
  RunCode(page, TActionCode::AddSelectedSlides, 5);
  RunCode(page, TActionCode::RunSlideShow, 5);
  RunCode(page, TActionCode::ConfigureSlideShow, 5);
  EXPECT_EQ(Strings{"show"}, w.Log);
  EXPECT_EQ(Strings{"configure"}, page.Log);
  // A caret without a selected entry gives nothing.
  w.Caret = 0;
  w.Selected.clear();
  string text;
  EXPECT_EQ(nullptr, LoadCaretPicture(w));
  EXPECT_FALSE(GetCaretEntryText(w, text));
  w.Selected = {0};
  w.Option.PcdResolution = 1;
  w.Option.PcdColourDepth = 4;
  EXPECT_NE(nullptr, LoadCaretPicture(w));
  EXPECT_EQ("load C:\\B\\a.jpg 1/4", w.Log.back());
  EXPECT_TRUE(GetCaretEntryText(w, text));
  EXPECT_EQ("C:\\B\\a.jpg", text.str());
}

TEST(SlideCodes, OtherTargetsDoNothing) {
  for (TActionCode code : {TActionCode::AddSelectedSlides, TActionCode::AddAllSlides, TActionCode::RemoveAllSlides,
                           TActionCode::CopySlideFiles, TActionCode::ConfigureSlideShow, TActionCode::RunSlideShow,
                           TActionCode::CopySlideToClipboard, TActionCode::SetWallpaperFromSlide,
                           TActionCode::LoadSlideShowFile}) {
    SCOPED_TRACE(static_cast<int>(code));
    for (uint32_t target : {0u, 6u, 7u}) {
      FakePage page;
      page.Files["P:show.dia"] = "dia";
      RunCode(page, code, target, "show.dia");
      EXPECT_TRUE(page.Log.empty());
      EXPECT_TRUE(page.Window.Log.empty());
    }
  }
}

TEST(SlideCodes, WallpaperClipboardAndShowFile) {
  EXPECT_EQ("C:\\TSL_Out\\Wallpaper\\Foto.bmp", WallpaperPath("D:\\Bilder\\Foto.jpg").str());
  EXPECT_EQ("C:\\TSL_Out\\Wallpaper\\Foto.bmp", WallpaperPath("Foto").str());
  EXPECT_EQ("C:\\TSL_Out\\Wallpaper\\Wallpaper.bmp", WallpaperPath("").str());
  struct Case {
    const char* what;
    TActionCode code;
    uint32_t target;
    bool picture, write, empty, caret;
    Strings log;
  };
  const Case cases[] = {
      {"53 on a picture object", TActionCode::SetWallpaperFromPicture, 6, true, true, true, true,
       {"mkdir C:\\TSL_Out\\Wallpaper\\Foto.bmp", "write object picture > C:\\TSL_Out\\Wallpaper\\Foto.bmp",
        "wallpaper C:\\TSL_Out\\Wallpaper\\Foto.bmp"}},
      {"53 on a picture object without its picture", TActionCode::SetWallpaperFromPicture, 6, false, true, true,
       true, {}},
      {"58 on the slide window writes the same path", TActionCode::SetWallpaperFromSlide, 5, true, true, true, true,
       {"mkdir C:\\TSL_Out\\Wallpaper\\Foto.bmp", "write C:\\X\\Foto.jpg > C:\\TSL_Out\\Wallpaper\\Foto.bmp",
        "wallpaper C:\\TSL_Out\\Wallpaper\\Foto.bmp"}},
      {"53 on the slide window", TActionCode::SetWallpaperFromPicture, 5, true, true, true, true,
       {"mkdir C:\\TSL_Out\\Wallpaper\\Foto.bmp", "write C:\\X\\Foto.jpg > C:\\TSL_Out\\Wallpaper\\Foto.bmp",
        "wallpaper C:\\TSL_Out\\Wallpaper\\Foto.bmp"}},
      {"58 whose file cannot be written sets no wallpaper", TActionCode::SetWallpaperFromSlide, 5, true, false, true,
       true, {"mkdir C:\\TSL_Out\\Wallpaper\\Foto.bmp", "write C:\\X\\Foto.jpg > C:\\TSL_Out\\Wallpaper\\Foto.bmp"}},
      {"58 without a caret entry", TActionCode::SetWallpaperFromSlide, 5, true, true, true, false, {"message 2156"}},
      {"57 puts the caret picture on the clipboard", TActionCode::CopySlideToClipboard, 5, true, true, true, true,
       {"open clipboard", "empty clipboard", "dib C:\\X\\Foto.jpg", "close clipboard"}},
      {"57 closes the clipboard when emptying fails", TActionCode::CopySlideToClipboard, 5, true, true, false, true,
       {"open clipboard", "empty clipboard", "close clipboard"}},
      {"57 on an empty list leaves the clipboard alone", TActionCode::CopySlideToClipboard, 5, true, true, true,
       false, {"message 2156"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePage page;
    page.PictureLoaded = c.picture;
    page.WriteWorks = c.write;
    page.EmptyWorks = c.empty;
    if (c.caret) {
      page.Window.Entries = {"C:\\X\\Foto.jpg"};
      page.Window.Selected = {0};
      page.Window.Caret = 0;
    }
    RunCode(page, c.code, c.target);
    EXPECT_EQ(c.log, page.Log);
  }
}

TEST(SlideCodes, ShowFileIsReadAndItsNamesResolved) {
  FakePage page;
  TDiaOption& show = page.Window.Option;
  auto e = std::make_unique<TDiaFileInfo>();
  e->PictureFile = "vorher.jpg";
  show.Pictures.Add(std::move(e));
  page.Files["P:other.txt"] = "text";
  page.Files["P:show.dia"] = "dia";
  RunCode(page, TActionCode::LoadSlideShowFile, 5, "missing.dia");
  RunCode(page, TActionCode::LoadSlideShowFile, 5, "other.txt");
  EXPECT_EQ(Strings{"vorher.jpg"}, Pictures(show));
  RunCode(page, TActionCode::LoadSlideShowFile, 5, "show.dia");
  EXPECT_EQ(Strings{"R:a.jpg"}, Pictures(show));
  EXPECT_EQ("R:musik.mid", show.BackgroundSoundFile.str());
  EXPECT_TRUE(show.Pictures[0].SoundFile.is_null());
}

}  // namespace
