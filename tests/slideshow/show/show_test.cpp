#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "slideshow/core/play.h"
#include "slideshow/core/shownav.h"
#include "slideshow/core/thumbcache.h"

namespace {

using Strings = std::vector<std::string>;

class RecordingShow : public TShowHost {
public:
  void LoadPicture(int index) override { Log.push_back("load " + std::to_string(index)); }
  void Transition() override { Log.push_back("transition"); }
  void Invalidate() override { Log.push_back("paint"); }
  void PostClose() override { Log.push_back("post close"); }
  void CloseNow() override { Log.push_back("close"); }
  uint32_t Now() override { return Clock; }
  Strings Log;
  uint32_t Clock = 1000;
};

TDiaOption ShowOf(int pictures, bool endless) {
  TDiaOption o;
  for (int i = 0; i < pictures; ++i) {
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = ("p" + std::to_string(i)).c_str();
    o.Pictures.Add(std::move(e));
  }
  o.Endless = endless ? 1 : 0;
  o.AdvanceInterval = 500;
  return o;
}

enum Step { Next, Previous, Skip, Tick, KeyEscape, CommandCancel, KeyF1 };

TEST(ShowNavigation, EdgeCases) {
  const Strings change0 = {"load 0", "transition", "paint"};
  struct Case {
    const char* what;
    int pictures;
    bool endless;
    int start;
    std::vector<Step> steps;
    uint32_t advanceBy;  // clock step before each input
    Strings log;         // after the start
    int current;
  };
  const Case cases[] = {
      {"one picture, endless: the timer shows it again", 1, true, 0, {Tick}, 500, change0, 0},
      {"one picture, not endless: the timer ends the show", 1, false, 0, {Tick}, 500, {"post close"}, 0},
      {"the timer waits for the interval", 3, true, 0, {Tick}, 499, {}, 0},
      {"previous on the first shows the last, endless or not", 3, false, 0, {Previous}, 0,
       {"load 2", "transition", "paint"}, 2},
      {"skip on the second-to-last wraps to the first", 4, true, 2, {Skip}, 0, change0, 0},
      {"skip on the last wraps to the first", 4, true, 3, {Skip}, 0, change0, 0},
      {"skip past the end without endless ends the show", 4, false, 2, {Skip}, 0, {"post close"}, 2},
      {"next past the end without endless ends, the last picture stays", 2, false, 1, {Next}, 0, {"post close"}, 1},
      {"next and skip on one key: three pictures on, two transitions", 5, true, 0, {KeyF1}, 0,
       {"load 1", "transition", "paint", "load 3", "transition", "paint"}, 3},
      {"Escape as pause, as a key", 3, true, 0, {KeyEscape, Tick}, 600, {}, 0},
      {"Escape as pause, as the cancel command", 3, true, 0, {CommandCancel, Tick}, 600, {}, 0},
      {"a second press of pause resumes at once", 3, true, 0, {KeyEscape, KeyEscape, Tick}, 600,
       {"load 1", "transition", "paint"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDiaOption show = ShowOf(c.pictures, c.endless);
    show.NextKey = kShowKeyF1;
    show.SkipKey = kShowKeyF1;
    show.PauseKey = kShowKeyEscape;
    show.AbortKey = kShowKeyEnter;
    RecordingShow host;
    TDiaShowNavigator nav(show, host);
    ASSERT_TRUE(nav.Start());
    EXPECT_EQ(Strings{"load 0"}, host.Log);
    nav.Current = c.start;
    host.Log.clear();
    for (Step s : c.steps) {
      host.Clock += c.advanceBy;
      switch (s) {
        case Next: nav.NextPicture(); break;
        case Previous: nav.PreviousPicture(); break;
        case Skip: nav.SkipPicture(); break;
        case Tick: nav.Tick(); break;
        case KeyEscape: nav.DispatchShowKey(ShowKeyOfVirtualKey(0x1B)); break;
        case CommandCancel: nav.DispatchShowKey(kShowKeyEscape, true); break;
        case KeyF1: nav.DispatchShowKey(ShowKeyOfVirtualKey(0x70)); break;
      }
    }
    EXPECT_EQ(c.log, host.Log);
    EXPECT_EQ(c.current, nav.Current);
  }
}

TEST(ShowNavigation, AbortAndEmptyShow) {
  TDiaOption show = ShowOf(2, true);  // abort on Escape by default
  RecordingShow host;
  TDiaShowNavigator nav(show, host);
  nav.Start();
  host.Log.clear();
  nav.DispatchShowKey(ShowKeyOfVirtualKey(0x1B));
  nav.DispatchShowKey(kShowKeyEscape, true);
  nav.DispatchShowKey(ShowKeyOfVirtualKey(0x41));  // 'A' matches nothing
  EXPECT_EQ((Strings{"post close", "close"}), host.Log);
  EXPECT_EQ(kShowKeyTab, ShowKeyOfVirtualKey(0x09));
  EXPECT_EQ(9, ShowKeyOfVirtualKey(0x79));
  EXPECT_EQ(kShowKeyNone, ShowKeyOfVirtualKey(0x7A));

  TDiaOption empty = ShowOf(0, true);
  RecordingShow none;
  TDiaShowNavigator idle(empty, none);
  EXPECT_FALSE(idle.Start());
  idle.PreviousPicture();
  EXPECT_EQ(Strings{"post close"}, none.Log);
  EXPECT_EQ(0, idle.Current);
}

// MCI as the sender sees it; device numbers count from 7, an open of a name
// with "bad" fails (and, with "badid", still hands back an id).
class RecordingSender : public TPlaySender {
public:
  uint32_t Open(const string& file, uint32_t& device) override {
    Log.push_back("open " + file.str() + " id " + std::to_string(device));
    if (file.contains("badid")) {
      device = 99;
      return 263;
    }
    if (file.contains("bad")) return 275;
    device = Next++;
    return 0;
  }
  uint32_t SetMidiMapper(uint32_t d) override {
    Log.push_back("mapper " + std::to_string(d));
    return 0;
  }
  uint32_t Play(uint32_t d, uintptr_t w) override {
    Log.push_back("play " + std::to_string(d) + " to " + std::to_string(w));
    return PlayFails ? 277 : 0;
  }
  uint32_t Stop(uint32_t d) override {
    Log.push_back("stop " + std::to_string(d));
    return 0;
  }
  uint32_t Close(uint32_t d) override {
    Log.push_back("close " + std::to_string(d));
    return 0;
  }
  Strings Log;
  uint32_t Next = 7;
  bool PlayFails = false;
};

TEST(ShowSound, PlayCases) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    bool playFails;
    Strings log;
    uint32_t device;
  };
  const Case cases[] = {
      {"a wave file", {"C:\\a.wav"}, false, {"open C:\\a.wav id 0", "play 7 to 42"}, 7},
      {"a lower-case .mid goes to the MIDI mapper, its name unchanged", {"C:\\Musik.mid"}, false,
       {"open C:\\Musik.mid id 0", "mapper 7", "play 7 to 42"}, 7},
      {"upper-case .MID too; .midi is none", {"C:\\X.MID", "C:\\y.midi"}, false,
       {"open C:\\X.MID id 0", "mapper 7", "play 7 to 42", "stop 7", "close 7", "open C:\\y.midi id 0",
        "play 8 to 42"}, 8},
      {"a failed open closes nothing it did not open", {"C:\\a.wav", "C:\\bad.wav"}, false,
       {"open C:\\a.wav id 0", "play 7 to 42", "stop 7", "close 7", "open C:\\bad.wav id 0"}, 0},
      {"a failed open that returned an id closes that id", {"C:\\badid.wav"}, false,
       {"open C:\\badid.wav id 0", "close 99"}, 0},
      {"a failed play closes the device", {"C:\\a.wav"}, true, {"open C:\\a.wav id 0", "play 7 to 42", "close 7"},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingSender sender;
    sender.PlayFails = c.playFails;
    {
      TPlay player(sender, 42);
      for (const std::string& f : c.files) player.Play(f.c_str());
      EXPECT_EQ(c.log, sender.Log);
      EXPECT_EQ(c.device, player.DeviceId);
    }
    if (c.device) {
      const Strings tail(sender.Log.end() - 2, sender.Log.end());
      EXPECT_EQ((Strings{"stop " + std::to_string(c.device), "close " + std::to_string(c.device)}), tail)
          << "the player's end stops and closes its device";
    }
  }
}

TEST(ThumbnailCache, FindAddAndCleanup) {
  THotSpotManager cache;
  EXPECT_EQ(-1, cache.Find("C:\\a.jpg"));
  for (int i = 0; i < 102; ++i) {
    const std::string n = "C:\\P" + std::to_string(1000 + (i * 37) % 102) + ".JPG";
    ASSERT_TRUE(cache.Add(THotSpot(n.c_str(), ("C:\\T\\KVR" + std::to_string(i) + ".BMP").c_str(),
                                   ("C:\\T\\KVR" + std::to_string(i) + ".TMP").c_str())));
  }
  EXPECT_EQ(102, cache.Count());
  for (int i = 1; i < cache.Count(); ++i) ASSERT_LE(cache[i - 1].Key.str(), cache[i].Key.str());
  const int found = cache.Find("c:\\p1005.jpg");
  ASSERT_GE(found, 0);
  EXPECT_EQ("c:\\p1005.jpg", cache[found].Key.str());
  EXPECT_EQ(found, cache.Find("C:\\P1005.JPG")) << "paths differing in case share one entry";
  EXPECT_EQ('k', cache[found].BitmapFile[5]) << "the bitmap name is kept lower-cased";
  EXPECT_EQ('K', cache[found].TempFile[5]) << "the temporary name as it came";

  // At exit an entry whose bitmap someone else deleted still loses its
  // temporary file.
  THotSpotManager two;
  two.Add(THotSpot("a", "a.bmp", "A.TMP"));
  two.Add(THotSpot("b", "b.bmp", "B.TMP"));
  Strings removed;
  two.Cleanup([](const string& f) { return f.str() != "a.bmp"; }, [&](const string& f) { removed.push_back(f.str()); });
  EXPECT_EQ((Strings{"A.TMP", "b.bmp", "B.TMP"}), removed);
  EXPECT_EQ(0, two.Count());
}

}  // namespace
