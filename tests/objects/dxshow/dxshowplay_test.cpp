#include "objects/core/dxshowplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Libraries that record every call as "Name arg ..." and answer with a
// 320 x 240 movie (mvpane's bar 16 high, mppane's window 320 x 260 with its
// bar) unless told otherwise.
class RecordingLibraries : public TMediaLibraries {
public:
  std::vector<std::string> Log;
  bool DspaneHasVideo = true;
  bool CreateFails = false;
  int MovieHandles = 0, PlayerHandles = 0, NextElement = 5;

  void Add(const std::string& s) { Log.push_back(s); }
  static std::string R(const TMediaRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
  }
  Handle H(int n) { return reinterpret_cast<Handle>(static_cast<uintptr_t>(n)); }

  Handle CreateMvpane(Window, const TMediaRect& r) override {
    Add("CreateMvpane " + R(r));
    return CreateFails ? nullptr : H(0x100 + ++MovieHandles);
  }
  void DeleteMvpane(Handle) override { Add("DeleteMvpane"); }
  void ShowMvpane(Handle, bool s) override { Add("ShowMvpane " + std::to_string(s)); }
  void SizeMvpane(Handle, const TMediaRect& r, bool bar) override {
    Add("SizeMvpane " + R(r) + " " + std::to_string(bar));
  }
  void SetMvpaneTransparency(Handle, bool on) override { Add("SetMvpaneTransparency " + std::to_string(on)); }
  void OpenQTMovie(Handle, const char* p) override { Add(std::string("OpenQTMovie ") + p); }
  void PlayBackQTMovie(Handle, int mode) override { Add("PlayBackQTMovie " + std::to_string(mode)); }
  void SetQTMsgWindow(Handle, Window w, uint32_t m) override {
    Add("SetQTMsgWindow " + std::to_string(w) + " " + std::to_string(m));
  }
  bool GetQTMovieRect(Handle, TMediaRect& out) override {
    Add("GetQTMovieRect");
    out = TMediaRect{0, 0, 320, 240};
    return true;
  }
  int16_t GetQTControllerBarHeight(Handle) override {
    Add("GetQTControllerBarHeight");
    return 16;
  }
  int32_t GetQTMovieDuration(Handle) override { return 1200; }
  int32_t GetQTMovieCurTimePos(Handle) override { return 600; }
  void SetQTMovieCurTimePos(Handle, int32_t t) override { Add("SetQTMovieCurTimePos " + std::to_string(t)); }
  void RefreshQTWindow(Handle) override { Add("RefreshQTWindow"); }

  Handle CreateMppane(Window, const TMediaRect& r) override {
    Add("CreateMppane " + R(r));
    return CreateFails ? nullptr : H(0x200 + ++PlayerHandles);
  }
  void DeleteMppane(Handle) override { Add("DeleteMppane"); }
  void ShowMppane(Handle, bool s) override { Add("ShowMppane " + std::to_string(s)); }
  void SetMppaneTransparency(Handle, bool on) override { Add("SetMppaneTransparency " + std::to_string(on)); }
  void SetMPAutoSize(Handle, bool on) override { Add("SetMPAutoSize " + std::to_string(on)); }
  void OpenMPMovie(Handle, const char* p) override { Add(std::string("OpenMPMovie ") + p); }
  void SetMPMsgWindow(Handle, Window w, uint32_t m) override {
    Add("SetMPMsgWindow " + std::to_string(w) + " " + std::to_string(m));
  }
  void ShowMPControllerBar(Handle, bool s) override { Add("ShowMPControllerBar " + std::to_string(s)); }
  TMediaRect MppaneWindowRect(Handle) override { return TMediaRect{50, 50, 370, 310}; }
  void PlayBackMPMovie(Handle, int mode) override { Add("PlayBackMPMovie " + std::to_string(mode)); }
  void SetMPMovieCurTimePos(Handle, double p) override { Add("SetMPMovieCurTimePos " + std::to_string(p)); }
  double GetMPMovieDuration(Handle) override { return 2.9; }
  double GetMPMovieCurTimePos(Handle) override { return 1.5; }
  bool GetMPMovieRect(Handle, TMediaRect& out) override {
    out = TMediaRect{0, 0, 320, 240};
    return true;
  }

  int DSP_AddEle(Window) override {
    Add("DSP_AddEle");
    return NextElement++;
  }
  void DSP_DeleteEle(int id) override { Add("DSP_DeleteEle " + std::to_string(id)); }
  void DSP_Load(int id, const char* p, Window w, bool show) override {
    Add("DSP_Load " + std::to_string(id) + " " + p + " " + std::to_string(w) + " " + std::to_string(show));
  }
  bool DSP_GetVideoSize(int, int& w, int& h) override {
    Add("DSP_GetVideoSize");
    if (!DspaneHasVideo) return false;
    w = 320;
    h = 240;
    return true;
  }
  void DSP_ShowEle(int id, bool s) override { Add("DSP_ShowEle " + std::to_string(id) + " " + std::to_string(s)); }
  void DSP_SetEleRect(int, const TMediaRect& r) override { Add("DSP_SetEleRect " + R(r)); }
  void DSP_StartEle(int) override { Add("DSP_StartEle"); }
  void DSP_StopEle(int) override { Add("DSP_StopEle"); }
  void DSP_PauseEle(int) override { Add("DSP_PauseEle"); }
  void DSP_Seek(int, double p) override { Add("DSP_Seek " + std::to_string(p)); }
  void DSP_SeekToBegin(int) override { Add("DSP_SeekToBegin"); }
  void DSP_SeekToEnd(int) override { Add("DSP_SeekToEnd"); }
  double DSP_GetPlayTime(int) override { return 2.0; }
  double DSP_GetCurPos(int) override { return 0.5; }
};

// The object's window (number 77) with a 100 x 80 client area at (10, 20)
// on the page.
class FakeObject : public TDXShowHost {
public:
  TMediaRect Rect{10, 20, 110, 100};
  TMediaRect Client{0, 0, 100, 80};
  std::vector<std::string>* Log = nullptr;

  TMediaLibraries::Window ObjectWindow() override { return 77; }
  TMediaRect ClientRect() override { return Client; }
  TMediaRect ObjectRect() override { return Rect; }
  void SetObjectRect(const TMediaRect& r) override { Rect = r; }
  void SizeWindow(int32_t w, int32_t h) override {
    Log->push_back("SizeWindow " + std::to_string(w) + "x" + std::to_string(h));
    Client = TMediaRect{0, 0, w, h};
  }
};

struct Fixture {
  RecordingLibraries libs;
  FakeObject object;
  TDXShowPlayer player{libs, object};
  TDXShowData data;
  Fixture(const char* file, uint32_t flags) {
    object.Log = &libs.Log;
    data.FileName = file;
    data.Flags = flags;
  }
};

using Calls = std::vector<std::string>;

TEST(DXShowPlayer, TheFileAndFlagsChooseThePlayerAndTheObjectTakesTheMediaSize) {
  const uint32_t visibleBar = kDXShowWindowVisible | kDXShowControllerBar;
  const struct {
    const char* what;
    const char* file;
    uint32_t flags;
    bool keepFrame;
    Calls calls;
    TMediaRect rect;
  } cases[] = {
      {"a .MOV goes to mvpane even when dspane is asked for", "C:\\M\\CLIP.MOV", visibleBar | kDXShowUseDspane, false,
       {"CreateMvpane 0,0,100,80", "SetMvpaneTransparency 0", "OpenQTMovie C:\\M\\CLIP.MOV", "SetQTMsgWindow 77 1025",
        "GetQTControllerBarHeight", "GetQTMovieRect", "SizeWindow 320x256", "SizeMvpane 0,0,320,256 1"},
       {10, 20, 330, 276}},
      {".mov anywhere in the name counts", "clip.mov.avi", kDXShowWindowVisible, true,
       {"CreateMvpane 0,0,100,80", "SetMvpaneTransparency 0", "OpenQTMovie clip.mov.avi", "SetQTMsgWindow 77 1025",
        "GetQTControllerBarHeight", "SizeMvpane 0,0,100,80 0"},
       {10, 20, 110, 100}},
      {"an .avi goes to mppane", "clip.avi", visibleBar, false,
       {"CreateMppane 0,0,100,80", "SetMppaneTransparency 0", "SetMPAutoSize 1", "OpenMPMovie clip.avi",
        "SetMPMsgWindow 77 1025", "ShowMPControllerBar 1", "SizeWindow 320x260"},
       {10, 20, 330, 280}},
      {"mppane keeping its frame", "clip.avi", kDXShowWindowVisible, true,
       {"CreateMppane 0,0,100,80", "SetMppaneTransparency 0", "OpenMPMovie clip.avi", "SetMPMsgWindow 77 1025",
        "ShowMPControllerBar 0", "SetMPAutoSize 0"},
       {10, 20, 110, 100}},
      {"an .avi with the dspane flag", "clip.avi", visibleBar | kDXShowUseDspane, false,
       {"DSP_AddEle", "DSP_Load 5 clip.avi 77 1", "DSP_GetVideoSize", "SizeWindow 320x240", "DSP_ShowEle 5 1"},
       {10, 20, 330, 260}},
      {"mppane without a picture shrinks to nothing", "ton.wav", kDXShowControllerBar, false,
       {"CreateMppane 0,0,100,80", "SetMppaneTransparency 0", "SetMPAutoSize 1", "OpenMPMovie ton.wav",
        "SetMPMsgWindow 77 1025", "ShowMPControllerBar 1", "SizeWindow 320x260", "ShowMppane 0", "SizeWindow 0x0"},
       {10, 20, 10, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f(c.file, c.flags);
    f.player.LoadMedia(f.data, c.keepFrame);
    EXPECT_EQ(f.libs.Log, c.calls);
    EXPECT_EQ(RecordingLibraries::R(f.object.Rect), RecordingLibraries::R(c.rect));
  }
}

TEST(DXShowPlayer, SetupMakesTheElementFirstAndASoundOnlyDspaneMediaTakesNoRoom) {
  Fixture f("ton.wav", kDXShowWindowVisible | kDXShowUseDspane);
  f.libs.DspaneHasVideo = false;
  f.player.Setup(f.data, false);
  // The element made first is hidden until the load shows it.
  EXPECT_EQ(f.libs.Log, (Calls{"DSP_AddEle", "DSP_ShowEle 5 0", "DSP_Load 5 ton.wav 77 1", "DSP_GetVideoSize", "SizeWindow 0x0",
                               "DSP_ShowEle 5 0"}));
  EXPECT_EQ(RecordingLibraries::R(f.object.Rect), "10,20,10,20");
  EXPECT_EQ(f.player.Element(), 5);
}

TEST(DXShowPlayer, ASmallVisibleObjectGrowsTo20By20WithoutMovingItsWindow) {
  Fixture f("clip.avi", kDXShowWindowVisible);
  f.object.Rect = TMediaRect{30, 40, 40, 50};
  f.player.LoadMedia(f.data, true);
  EXPECT_EQ(RecordingLibraries::R(f.object.Rect), "30,40,50,60");
  for (const std::string& call : f.libs.Log) EXPECT_NE(call.rfind("SizeWindow", 0), 0u) << call;
}

TEST(DXShowPlayer, AFailedCreateLeavesNoPlayerAndCommandsDoNothing) {
  Fixture f("clip.avi", kDXShowWindowVisible | kDXShowControllerBar);
  f.libs.CreateFails = true;
  f.player.LoadMedia(f.data, false);
  EXPECT_EQ(f.libs.Log, (Calls{"CreateMppane 0,0,100,80"}));
  f.libs.Log.clear();
  for (int command = 0; command <= 7; ++command) f.player.Command(command, 3);
  EXPECT_TRUE(f.libs.Log.empty());
  EXPECT_EQ(f.player.Length(), 0);
  EXPECT_EQ(f.player.Position(), 0);
}

TEST(DXShowPlayer, EachCommandCallsItsPlayersOperations) {
  const struct {
    const char* what;
    int command;
    uint32_t argument;
    bool playingBefore;
    Calls mvpane, mppane, dspane;
    bool playingAfter;
  } cases[] = {
      {"play restarts mvpane and mppane, dspane goes on", 0, 0, false,
       {"PlayBackQTMovie 2", "PlayBackQTMovie 0"}, {"PlayBackMPMovie 2", "PlayBackMPMovie 0"}, {"DSP_StartEle"}, true},
      {"stop", 1, 0, true, {"PlayBackQTMovie 1"}, {"PlayBackMPMovie 1"}, {"DSP_StopEle"}, false},
      {"pause stops mvpane", 2, 0, true, {"PlayBackQTMovie 1"}, {"PlayBackMPMovie 4"}, {"DSP_PauseEle"}, false},
      {"to the beginning", 3, 0, true, {"PlayBackQTMovie 2"}, {"PlayBackMPMovie 2"}, {"DSP_SeekToBegin"}, true},
      {"to the end", 4, 0, false, {"PlayBackQTMovie 3"}, {"PlayBackMPMovie 3"}, {"DSP_SeekToEnd"}, false},
      {"eject does nothing", 5, 0, true, {}, {}, {}, true},
      {"resume", 6, 0, false, {"PlayBackQTMovie 0"}, {"PlayBackMPMovie 0"}, {"DSP_StartEle"}, true},
      {"go to, not playing: dspane stays paused there", 7, 3, false,
       {"SetQTMovieCurTimePos 3"}, {"SetMPMovieCurTimePos 3.000000"},
       {"DSP_StartEle", "DSP_Seek 3.000000", "DSP_PauseEle"}, false},
      {"go to while playing", 7, 4000000000u, true,
       {"SetQTMovieCurTimePos 2147483647"}, {"SetMPMovieCurTimePos 4000000000.000000"},
       {"DSP_Seek 4000000000.000000"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const struct {
      const char* file;
      uint32_t flags;
      const Calls& calls;
    } players[] = {{"a.mov", kDXShowWindowVisible, c.mvpane},
                   {"a.avi", kDXShowWindowVisible, c.mppane},
                   {"a.avi", kDXShowWindowVisible | kDXShowUseDspane, c.dspane}};
    for (const auto& p : players) {
      SCOPED_TRACE(p.file + std::string(p.flags & kDXShowUseDspane ? " dspane" : ""));
      Fixture f(p.file, p.flags);
      f.player.LoadMedia(f.data, true);
      if (c.playingBefore) f.player.Command(6, 0);
      f.libs.Log.clear();
      f.player.Command(c.command, c.argument);
      EXPECT_EQ(f.libs.Log, p.calls);
      EXPECT_EQ(f.player.Playing(), c.playingAfter);
    }
  }
}

TEST(DXShowPlayer, TheEndOfTheMediaLoopsRewindsOrRunsTheEndActions) {
  const struct {
    const char* what;
    uint32_t flags;
    bool playing;
    uintptr_t wParam;
    Calls mvpane, mppane, dspane;
    bool endActions, playingAfter;
  } cases[] = {
      {"a stale message while stopped", 0, false, 0, {}, {}, {}, false, false},
      {"the end while stopped, told by the player", 0, false, 1, {"PlayBackQTMovie 1"}, {}, {}, true, false},
      {"looping restarts and runs no actions", kDXShowLoop, true, 1,
       {"PlayBackQTMovie 2", "PlayBackQTMovie 0"}, {"PlayBackMPMovie 2", "PlayBackMPMovie 0"}, {"DSP_StartEle"},
       false, true},
      {"the end stops", 0, true, 1, {"PlayBackQTMovie 1"}, {}, {}, true, false},
      {"and rewinds", kDXShowRewind, true, 0,
       {"PlayBackQTMovie 1", "PlayBackQTMovie 2"}, {"PlayBackMPMovie 2"}, {"DSP_Seek 0.000000"}, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const struct {
      const char* file;
      uint32_t flags;
      const Calls& calls;
    } players[] = {{"a.mov", 0, c.mvpane}, {"a.avi", 0, c.mppane}, {"a.avi", kDXShowUseDspane, c.dspane}};
    for (const auto& p : players) {
      SCOPED_TRACE(p.file + std::string(p.flags & kDXShowUseDspane ? " dspane" : ""));
      Fixture f(p.file, kDXShowWindowVisible | p.flags | c.flags);
      f.player.LoadMedia(f.data, true);
      if (c.playing) f.player.Command(6, 0);
      f.libs.Log.clear();
      EXPECT_EQ(f.player.MediaEnded(c.wParam, f.data), c.endActions);
      EXPECT_EQ(f.libs.Log, p.calls);
      EXPECT_EQ(f.player.Playing(), c.playingAfter);
    }
  }
}

TEST(DXShowPlayer, AReloadReusesTheMovieAndTheElementAndRecreatesTheMediaPlayer) {
  Fixture f("a.mov", kDXShowWindowVisible);
  f.player.LoadMedia(f.data, true);
  const TMediaLibraries::Handle movie = f.player.Movie();
  f.data.FileName = "b.qt";
  f.libs.Log.clear();
  f.player.LoadMedia(f.data, true);
  EXPECT_EQ(f.player.Movie(), movie);
  EXPECT_EQ(f.libs.Log.front(), "ShowMvpane 1");

  f.data.FileName = "c.avi";
  f.player.LoadMedia(f.data, true);
  EXPECT_EQ(f.player.Movie(), nullptr);
  const TMediaLibraries::Handle first = f.player.MediaPlayer();
  f.libs.Log.clear();
  f.player.LoadMedia(f.data, true);
  EXPECT_EQ(f.libs.Log.front(), "DeleteMppane");
  EXPECT_NE(f.player.MediaPlayer(), first);

  f.data.Flags |= kDXShowUseDspane;
  f.player.LoadMedia(f.data, true);
  f.player.LoadMedia(f.data, true);
  EXPECT_EQ(f.player.Element(), 5);
  EXPECT_EQ(f.player.MediaPlayer(), nullptr);
  EXPECT_EQ(f.player.Length(), 2);
  // Back to a movie: the element stays, hidden, and the movie takes over.
  f.data.FileName = "d.mov";
  f.libs.Log.clear();
  f.player.LoadMedia(f.data, true);
  EXPECT_EQ(f.libs.Log.front(), "DSP_ShowEle 5 0");
  EXPECT_EQ(f.player.Length(), 1200);
  f.libs.Log.clear();
  f.player.Cleanup();
  f.player.Release();
  EXPECT_EQ(f.libs.Log, (Calls{"PlayBackQTMovie 1", "DeleteMvpane", "DSP_DeleteEle 5"}));
}

TEST(DXShowPlayer, ResizingFollowsTheChosenPlayerAndTheVisibleFlag) {
  Fixture f("a.avi", kDXShowWindowVisible | kDXShowUseDspane);
  f.player.LoadMedia(f.data, true);
  f.libs.Log.clear();
  f.player.Resize(f.data);
  f.data.Flags &= ~kDXShowWindowVisible;
  f.player.Resize(f.data);
  EXPECT_EQ(f.libs.Log, (Calls{"DSP_SetEleRect 0,0,100,80", "DSP_SetEleRect 0,0,0,0"}));
}

TEST(DXShowPlayer, AudioFilesByAnySoundExtensionAnywhereInTheName) {
  for (const char* yes : {"a.WAV", "b.mp3", "c.mid", "d.wma", "e.wmv", "f.AIFF", "g.au.txt", "h.rmi"}) {
    EXPECT_TRUE(IsAudioFile(yes)) << yes;
  }
  for (const char* no : {"a.avi", "b.mov", "c.mpg", ""}) EXPECT_FALSE(IsAudioFile(no)) << no;
}

}  // namespace
