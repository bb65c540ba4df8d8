#include "objects/core/flashplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The object element's media commands.
enum : int {
  kMediaPlay = 0,
  kMediaStop = 1,
  kMediaPause = 2,
  kMediaToStart = 3,
  kMediaToEnd = 4,
  kMediaEject = 5,
  kMediaResume = 6,
  kMediaGoTo = 7,
};

// swfpane recording every call as "Name arg ..."; its movies have
// `Frames` frames and stand at frame 4.
class RecordingSwfpane : public TFlashLibrary {
public:
  std::vector<std::string> Log;
  bool CreateFails = false;
  int Frames = 12;
  int Handles = 0;

  void Add(const std::string& s) { Log.push_back(s); }
  Handle CreateSwfpane(Window parent, const TMediaRect& r) override {
    Add("CreateSwfpane " + std::to_string(parent) + " " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
        std::to_string(r.Right) + "," + std::to_string(r.Bottom));
    return CreateFails ? nullptr : reinterpret_cast<Handle>(static_cast<uintptr_t>(0x100 + ++Handles));
  }
  void DeleteSwfpane(Handle h) override { Add("DeleteSwfpane " + std::to_string(reinterpret_cast<uintptr_t>(h))); }
  void SetSwfpaneTransparency(Handle, bool on) override { Add("SetSwfpaneTransparency " + std::to_string(on)); }
  void OpenFlashMovie(Handle, const char* p) override { Add(std::string("OpenFlashMovie ") + p); }
  void SetFlashLoop(Handle, bool on) override { Add("SetFlashLoop " + std::to_string(on)); }
  void SetFlashQuality(Handle, uint16_t q) override { Add("SetFlashQuality " + std::to_string(q)); }
  void SetFlashScaleMode(Handle, uint16_t m) override { Add("SetFlashScaleMode " + std::to_string(m)); }
  void SetFlashPlayStatus(Handle, int s) override { Add("SetFlashPlayStatus " + std::to_string(s)); }
  void SetFlashMovieCurFrame(Handle, int f) override { Add("SetFlashMovieCurFrame " + std::to_string(f)); }
  int GetFlashMovieNumFrames(Handle) override {
    Add("GetFlashMovieNumFrames");
    return Frames;
  }
  int GetFlashMovieCurFrame(Handle) override { return 4; }
};

// The object's window (number 77) with a 100 x 80 client area at (10, 20)
// on the page.
class FakeObject : public TFlashHost {
public:
  TMediaRect Rect{10, 20, 110, 100};
  TFlashLibrary::Window ObjectWindow() override { return 77; }
  TMediaRect ClientRect() override { return TMediaRect{0, 0, Rect.Width(), Rect.Height()}; }
  TMediaRect ObjectRect() override { return Rect; }
  void SetObjectRect(const TMediaRect& r) override { Rect = r; }
};

using Log = std::vector<std::string>;

TFlashPlayerData Record(const char* file, uint32_t flags = 0x1000, uint16_t quality = 1, uint16_t scale = 0) {
  TFlashPlayerData d;
  d.FileName = file;
  d.Flags = flags;
  d.Quality = quality;
  d.ScaleMode = scale;
  return d;
}

TEST(FlashPlay, TheMovieWindowGetsTheRecordsOptionsInOrder) {
  RecordingSwfpane lib;
  FakeObject host;
  TFlashPlay play(lib, host);
  play.CreateMovieWindow(Record("C:\\P\\intro.swf", 0x1001, 3, 2));
  EXPECT_EQ(lib.Log, (Log{"CreateSwfpane 77 0,0,100,80", "SetSwfpaneTransparency 0", "OpenFlashMovie C:\\P\\intro.swf",
                          "SetFlashLoop 1", "SetFlashQuality 3", "SetFlashScaleMode 2"}));
  // A new record replaces the window.
  lib.Log.clear();
  play.CreateMovieWindow(Record("b.swf"));
  ASSERT_GE(lib.Log.size(), 2u);
  EXPECT_EQ(lib.Log[0], "DeleteSwfpane 257");
  EXPECT_EQ(lib.Log[1], "CreateSwfpane 77 0,0,100,80");
  EXPECT_EQ(lib.Log[3], "OpenFlashMovie b.swf");
  EXPECT_EQ(lib.Log[4], "SetFlashLoop 0");
  lib.Log.clear();
  play.Release();
  EXPECT_EQ(lib.Log, (Log{"SetFlashPlayStatus 2", "DeleteSwfpane 258"}));
  lib.Log.clear();
  play.Release();
  EXPECT_TRUE(lib.Log.empty());
}

TEST(FlashPlay, CommandsBecomeStatusesAndFrameCalls) {
  const struct {
    const char* what;
    int command;
    uint32_t argument;
    bool playingBefore;
    Log calls;
    bool playing;
  } cases[] = {
      {"play always starts at the first frame", kMediaPlay, 0, false, {"SetFlashPlayStatus 5", "SetFlashPlayStatus 1"}, true},
      {"stop", kMediaStop, 0, true, {"SetFlashPlayStatus 2"}, false},
      {"pause stops as well", kMediaPause, 0, true, {"SetFlashPlayStatus 2"}, false},
      {"to the first frame", kMediaToStart, 0, true, {"SetFlashMovieCurFrame 0"}, true},
      {"to the last frame", kMediaToEnd, 0, false, {"GetFlashMovieNumFrames", "SetFlashMovieCurFrame 11"}, false},
      {"resume goes on from the frame", kMediaResume, 0, false, {"SetFlashPlayStatus 1"}, true},
      {"to a frame", kMediaGoTo, 7, true, {"SetFlashMovieCurFrame 7"}, true},
      {"a frame beyond int goes to the end", kMediaGoTo, 0xFFFFFFF0u, false, {"SetFlashMovieCurFrame 2147483647"}, false},
      {"eject does nothing", kMediaEject, 0, true, {}, true},
      {"an unknown command does nothing", 42, 0, false, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingSwfpane lib;
    FakeObject host;
    TFlashPlay play(lib, host);
    play.CreateMovieWindow(Record("m.swf"));
    play.Command(c.playingBefore ? kMediaResume : kMediaStop, 0);
    lib.Log.clear();
    play.Command(c.command, c.argument);
    EXPECT_EQ(lib.Log, c.calls);
    EXPECT_EQ(play.Playing(), c.playing);
  }
}

TEST(FlashPlay, ALastFrameOfAOneFrameMovieIsFrameZero) {
  RecordingSwfpane lib;
  lib.Frames = 1;
  FakeObject host;
  TFlashPlay play(lib, host);
  play.CreateMovieWindow(Record("m.swf"));
  lib.Log.clear();
  play.Command(kMediaToEnd, 0);
  EXPECT_EQ(lib.Log.back(), "SetFlashMovieCurFrame 0");
  EXPECT_EQ(play.Length(), 1);
  EXPECT_EQ(play.Position(), 4);
}

TEST(FlashPlay, WithoutAMovieWindowCommandsOnlyChangeThePlayingFlag) {
  RecordingSwfpane lib;
  lib.CreateFails = true;
  FakeObject host;
  TFlashPlay play(lib, host);
  play.CreateMovieWindow(Record("m.swf", 0x1001, 3, 2));
  EXPECT_EQ(lib.Log, (Log{"CreateSwfpane 77 0,0,100,80"}));
  lib.Log.clear();
  for (int command : {kMediaPlay, kMediaToEnd, kMediaGoTo, kMediaToStart}) play.Command(command, 3);
  EXPECT_TRUE(lib.Log.empty());
  EXPECT_TRUE(play.Playing());
  EXPECT_EQ(play.Length(), 0);
  EXPECT_EQ(play.Position(), 0);
  play.Release();
  EXPECT_TRUE(lib.Log.empty());
}

TEST(FlashPlay, ASmallObjectGrowsTo20x20) {
  const struct {
    const char* what;
    TMediaRect before, after;
  } cases[] = {
      {"5 x 5", {10, 20, 15, 25}, {10, 20, 30, 40}},
      {"narrow only", {10, 20, 29, 200}, {10, 20, 30, 40}},
      {"20 x 20 stays", {10, 20, 30, 40}, {10, 20, 30, 40}},
      {"large stays", {10, 20, 110, 100}, {10, 20, 110, 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool fails : {false, true}) {
      RecordingSwfpane lib;
      lib.CreateFails = fails;
      FakeObject host;
      host.Rect = c.before;
      TFlashPlay play(lib, host);
      play.CreateMovieWindow(Record("m.swf"));
      EXPECT_EQ(host.Rect.Left, c.after.Left);
      EXPECT_EQ(host.Rect.Right, c.after.Right);
      EXPECT_EQ(host.Rect.Bottom, c.after.Bottom);
    }
  }
}

}  // namespace
