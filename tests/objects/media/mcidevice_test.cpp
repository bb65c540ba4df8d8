#include "objects/core/mcidevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakemci.h"

namespace {

constexpr uintptr_t kOwner = 0x1234;

// "avi#N" in an expected command stands for the device's own number: the
// numbers run on through the whole test program.
std::vector<std::string> Expand(std::vector<std::string> lines, const TMCI& d) {
  const size_t hash = d.Alias.find('#');
  const std::string number = d.Alias.substr(hash + 1, d.Alias.size() - hash - 2);
  for (std::string& l : lines) {
    const size_t at = l.find("#N");
    if (at != std::string::npos) l.replace(at, 2, "#" + number);
  }
  return lines;
}

class MciDevice : public ::testing::Test {
protected:
  // An opened device in the given state, with the sender's log cleared.
  template <class T>
  std::unique_ptr<T> Opened(int32_t state = kMciStopped, int showErrors = 0) {
    auto d = std::make_unique<T>(kOwner);
    fake.Rules.insert(fake.Rules.begin(), {"open ", 0, "7"});
    EXPECT_EQ(d->Open("C:\\media\\clip.avi", showErrors), 1);
    fake.Rules.erase(fake.Rules.begin());
    d->State = state;
    fake.Clear();
    return d;
  }
  TFakeMciSender fake;
  TMciSenderScope scope{fake};
};

TEST_F(MciDevice, CommandStringsOfTheVideoDevice) {
  struct Case {
    const char* what;
    int32_t state;
    std::function<int(TMCI&)> run;
    int result;
    std::vector<std::string> sent;
  } cases[] = {
      {"close", kMciStopped, [](TMCI& d) { return d.Close(); }, 1, {"close  avi#N "}},
      {"close when closed", kMciClosed, [](TMCI& d) { return d.Close(); }, 1, {}},
      {"whole play, stopped", kMciStopped, [](TMCI& d) { return d.Play(-1, -1, 0, 0); }, 1,
       {"seek  avi#N to start wait", "play  avi#N "}},
      {"ranged play, stopped", kMciStopped, [](TMCI& d) { return d.Play(2000, 5000, 0, 1); }, 1,
       {"seek  avi#N to start wait", "status  avi#N time format wait", "set  avi#N time format milliseconds wait",
        "play  avi#N from 2000 to 5000 notify", "set  avi#N time format frames wait"}},
      {"from only, paused: no seek", kMciPaused, [](TMCI& d) { return d.Play(1000, -1, 0, 0); }, 1,
       {"status  avi#N time format wait", "set  avi#N time format milliseconds wait", "play  avi#N from 1000",
        "set  avi#N time format frames wait"}},
      {"to only", kMciPaused, [](TMCI& d) { return d.Play(-1, 300, 0, 1); }, 1,
       {"status  avi#N time format wait", "set  avi#N time format milliseconds wait", "play  avi#N  to 300 notify",
        "set  avi#N time format frames wait"}},
      {"play while playing", kMciPlaying, [](TMCI& d) { return d.Play(-1, -1, 0, 1); }, 1, {}},
      {"play when closed", kMciClosed, [](TMCI& d) { return d.Play(-1, -1, 0, 1); }, 0, {}},
      {"stop", kMciPlaying, [](TMCI& d) { return d.Stop(); }, 1, {"stop  avi#N  wait"}},
      {"stop when stopped", kMciStopped, [](TMCI& d) { return d.Stop(); }, 1, {}},
      {"pause", kMciPlaying, [](TMCI& d) { return d.Pause(); }, 1,
       {"status  avi#N time format wait", "set  avi#N time format milliseconds wait", "status avi#N position wait",
        "stop avi#N  wait", "set  avi#N time format frames wait"}},
      {"pause when paused", kMciPaused, [](TMCI& d) { return d.Pause(); }, 1, {}},
      {"pause when stopped", kMciStopped, [](TMCI& d) { return d.Pause(); }, 1, {}},
      {"resume when stopped", kMciStopped, [](TMCI& d) { return d.Resume(); }, 0, {}},
      {"step back", kMciStopped, [](TMCI& d) { return d.Step(-3); }, 1, {"step avi#N by 3 reverse wait"}},
      {"step on, playing", kMciPlaying, [](TMCI& d) { return d.Step(2); }, 1,
       {"stop  avi#N  wait", "step avi#N by 2 wait"}},
      {"seek to start, paused", kMciPaused, [](TMCI& d) { return d.SeekToStart(); }, 1,
       {"stop  avi#N  wait", "seek  avi#N to start wait"}},
      {"seek to end", kMciStopped, [](TMCI& d) { return d.SeekToEnd(); }, 1, {"seek  avi#N to end wait"}},
      {"seek to", kMciStopped, [](TMCI& d) { return d.SeekTo(-42); }, 1, {"seek  avi#N to -42 wait"}},
      {"handle default", kMciStopped, [](TMCI& d) { return d.SetWindowHandle(0); }, 1,
       {"window  avi#N handle default wait"}},
      {"handle, full width unsigned", kMciStopped,
       [](TMCI& d) { return d.SetWindowHandle(static_cast<uintptr_t>(0xFFFFFFFF80000010ull)); }, 1,
       {"window  avi#N handle 18446744071562067984 wait"}},
      {"window state show", kMciStopped, [](TMCI& d) { return d.SetWindowState(5); }, 1,
       {"window  avi#N state show wait"}},
      {"window state hide", kMciStopped, [](TMCI& d) { return d.SetWindowState(0); }, 1,
       {"window  avi#N state hide wait"}},
      {"window state deactivate", kMciStopped, [](TMCI& d) { return d.SetWindowState(4); }, 1,
       {"window  avi#N state deactivate wait"}},
      {"window state unknown", kMciStopped, [](TMCI& d) { return d.SetWindowState(3); }, 0, {}},
      {"put destination", kMciStopped, [](TMCI& d) { return d.Put(1, -2, 3, 4, kMciDestination); }, 1,
       {"put  avi#N destination at 1 -2 3 4 wait"}},
      {"put window", kMciStopped, [](TMCI& d) { return d.Put(0, 0, 5, 6, kMciWindowRect); }, 1,
       {"put  avi#N window at 0 0 5 6 wait"}},
      {"put unknown selector", kMciStopped, [](TMCI& d) { return d.Put(0, 0, 5, 6, 3); }, 0, {}},
      {"audio off", kMciStopped, [](TMCI& d) { return d.SetAudio(0); }, 1, {"set avi#N audio all off wait"}},
      {"audio on", kMciPlaying, [](TMCI& d) { return d.SetAudio(1); }, 1, {"set avi#N audio all on wait"}},
      {"update, stopped", kMciStopped, [](TMCI& d) { d.Update(0x1F0); return 1; }, 1,
       {"update  avi#N paint hdc 496 wait"}},
      {"update, playing", kMciPlaying, [](TMCI& d) { d.Update(0x1F0); return 1; }, 1, {}},
      {"time format", kMciStopped, [](TMCI& d) { return d.SetTimeFormat("frames"); }, 1,
       {"set  avi#N time format frames wait"}},
      {"window handle", kMciStopped, [](TMCI& d) { return int(d.GetWindowHandle() == 4242); }, 1,
       {"status  avi#N window handle wait"}},
      {"seek when closed", kMciClosed, [](TMCI& d) { return d.SeekToStart(); }, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto d = Opened<TMCIAviVideo>(c.state);
    fake.Rules = {{"window handle", 0, "4242"}, {"time format", 0, "frames"}, {"position", 0, "1500"}};
    EXPECT_EQ(c.run(*d), c.result);
    EXPECT_EQ(fake.Sent, Expand(c.sent, *d));
    for (uintptr_t cb : fake.Callbacks) EXPECT_EQ(cb, kOwner);
    d->State = kMciClosed;  // the destructor sends nothing more
  }
}

TEST_F(MciDevice, OpenNamesTheShortPathOrTheQuotedLongName) {
  fake.Reply("open ", "12");
  TMCIAviVideo d(kOwner);
  EXPECT_EQ(d.Open(nullptr, 0), 0);
  EXPECT_TRUE(fake.Sent.empty());
  EXPECT_EQ(d.Open("C:\\a b\\clip.avi", 1), 1);
  EXPECT_EQ(fake.Sent, Expand({"open SHORT~1.AVI alias avi#N  wait"}, d));
  EXPECT_EQ(fake.ReplySizes[0], 512u);
  EXPECT_EQ(d.DeviceId, 12u);
  EXPECT_EQ(d.State, kMciStopped);
  EXPECT_EQ(d.FileName, "C:\\a b\\clip.avi");
  EXPECT_EQ(d.ShowErrors, 1);

  fake.Clear();
  fake.NoShortPath = true;
  TMCIAviVideo e(kOwner);
  EXPECT_EQ(e.Open("C:\\a b\\clip.avi", 0), 1);
  EXPECT_EQ(fake.Sent, Expand({"open \"C:\\a b\\clip.avi\" alias avi#N  wait"}, e));
}

TEST_F(MciDevice, AliasNumbersAreNeverReused) {
  TMCIAviVideo a(kOwner), b(kOwner);
  ASSERT_EQ(a.Open("x.avi", 0), 1);
  const std::string first = a.Alias;
  const uint32_t n = TMCIAviVideo::AliasCounter;
  ASSERT_EQ(a.Open("x.avi", 0), 1);  // closes under the old alias, opens under the next
  EXPECT_EQ(fake.Sent[1], "close " + first);
  EXPECT_EQ(a.Alias, " avi#" + std::to_string(n + 1) + " ");
  fake.Fail("open ", 275);
  EXPECT_EQ(b.Open("y.avi", 0), 0);  // a failed open uses up its number
  EXPECT_EQ(b.Alias, " avi#" + std::to_string(n + 2) + " ");
  EXPECT_EQ(b.State, kMciClosed);
  EXPECT_EQ(b.FileName, "y.avi");
  fake.Rules.clear();
  EXPECT_EQ(b.Open("y.avi", 0), 1);
  EXPECT_EQ(b.Alias, " avi#" + std::to_string(n + 3) + " ");
  const uint32_t wav = TMCIWaveAudio::AliasCounter;
  TMCIWaveAudio w(kOwner);
  ASSERT_EQ(w.Open("s.wav", 0), 1);
  EXPECT_EQ(w.Alias, " wav#" + std::to_string(wav + 1) + " ") << "each class counts its own";
}

// The only test that opens MPEG devices, so their numbers start at 1 here.
TEST_F(MciDevice, TheThirdMpegDeviceIsNumberThree) {
  TMCIMpegVideo a(kOwner), b(kOwner), c(kOwner);
  TMCIAviVideo avi(kOwner);
  a.Open("a.mpg", 0);
  avi.Open("a.avi", 0);
  b.Open("b.mpg", 0);
  c.Open("c.mpg", 0);
  EXPECT_EQ(c.Alias, " mpg#3 ");
  EXPECT_EQ(fake.Sent.back(), "open SHORT~1.AVI alias mpg#3  wait");
  EXPECT_STREQ(c.DeviceType(), "mpegvideo");
}

TEST_F(MciDevice, QtwAndAnimationCountPositionsFromOne) {
  fake.Reply("status  ", "frames");
  auto q = Opened<TMCIQtwVideo>();
  EXPECT_EQ(q->Play(0, 999, 0, 1), 1);
  EXPECT_EQ(fake.Sent, Expand({"seek  qtw#N to start wait", "status  qtw#N time format wait",
                               "set  qtw#N time format milliseconds wait", "play  qtw#N from 1 to 1000 notify",
                               "set  qtw#N time format frames wait"},
                              *q));
  fake.Clear();
  q->State = kMciStopped;
  EXPECT_EQ(q->Play(-1, -1, 0, 1), 1);
  EXPECT_EQ(fake.Sent, Expand({"seek  qtw#N to start wait", "play  qtw#N  notify"}, *q));
  auto a = Opened<TMCIAnimation>(kMciPaused);
  EXPECT_EQ(a->Play(5, -1, 0, 0), 1);
  EXPECT_EQ(fake.Sent[2], Expand({"play  ani#N from 6"}, *a)[0]);
}

TEST_F(MciDevice, AnimationWindowAndPaintGoThroughCommandRecords) {
  auto a = Opened<TMCIAnimation>(kMciStopped, 1);
  a->DeviceId = 9;
  fake.StatusWindow = 0x5000;
  EXPECT_EQ(a->GetWindowHandle(), 0x5000u);
  ASSERT_EQ(fake.Commands.size(), 1u);
  EXPECT_EQ(fake.Commands[0].Device, 9u);
  EXPECT_EQ(fake.Commands[0].Command, kMciStatusCommand);
  EXPECT_EQ(fake.Commands[0].Flags, kMciStatusItemFlag | kMciWaitFlag);
  EXPECT_EQ(fake.Commands[0].Record.Item, 0x4003u);
  EXPECT_EQ(fake.Restyled, std::vector<uintptr_t>{0x5000});
  EXPECT_EQ(a->SetWindowHandle(0), 1);
  EXPECT_EQ(fake.Commands[1].Command, kMciWindowCommand);
  EXPECT_EQ(fake.Commands[1].Flags, kMciAnimWindowHwnd | kMciWaitFlag);
  EXPECT_EQ(fake.Commands[1].Record.Window, 0u);
  a->Update(0x77);
  EXPECT_EQ(fake.Commands[2].Command, kMciUpdateCommand);
  EXPECT_EQ(fake.Commands[2].Flags, kMciAnimUpdateHdc);
  EXPECT_EQ(fake.Commands[2].Record.Dc, 0x77u);
  EXPECT_EQ(a->SetAudio(0), 1);
  fake.CommandError = 263;
  fake.StatusWindow = 0x6000;
  EXPECT_EQ(a->GetWindowHandle(), 0u);
  EXPECT_EQ(a->SetWindowHandle(0x10), 0);
  a->State = kMciPlaying;
  a->Update(0x77);
  EXPECT_EQ(fake.Commands.size(), 5u) << "no update while playing";
  EXPECT_EQ(fake.Restyled.size(), 1u);
  EXPECT_TRUE(fake.Sent.empty());
  EXPECT_TRUE(fake.Boxes.empty()) << "the records' errors are never shown";
  a->State = kMciClosed;
}

TEST_F(MciDevice, SoundDevicesHaveNoWindow) {
  auto w = Opened<TMCIWaveAudio>();
  auto s = Opened<TMCISequencer>();
  for (TMCI* d : {static_cast<TMCI*>(w.get()), static_cast<TMCI*>(s.get())}) {
    SCOPED_TRACE(d->DeviceType());
    int32_t r[4];
    EXPECT_EQ(d->Where(r, 0), 0);
    EXPECT_EQ(d->Put(0, 0, 1, 1, 1), 0);
    EXPECT_EQ(d->SetWindowState(5), 0);
    EXPECT_EQ(d->SetWindowHandle(5), 0);
    EXPECT_EQ(d->GetWindowHandle(), 0u);
    EXPECT_EQ(d->SetAudio(1), 0);
  }
  EXPECT_TRUE(fake.Sent.empty());
}

TEST_F(MciDevice, SequencerWithoutAPortFailsUnsent) {
  auto s = Opened<TMCISequencer>();
  fake.MidiPorts = 0;
  EXPECT_EQ(s->Play(-1, -1, 0, 1), 0);
  EXPECT_TRUE(fake.Sent.empty());
  EXPECT_EQ(s->State, kMciStopped);
  fake.MidiPorts = 2;
  EXPECT_EQ(s->Play(-1, -1, 0, 1), 1);
  EXPECT_EQ(s->State, kMciPlaying);
}

TEST_F(MciDevice, StatusRecords) {
  auto d = Opened<TMCIAviVideo>();
  fake.Rules = {{"time format", 0, "frames"}, {"length", 0, "2000"}, {"where ", 0, "0 0 160 120"}};
  MCI_INFO_STRUCT info;
  d->GetInfo(info);
  EXPECT_EQ(fake.Sent, Expand({"status  avi#N time format wait", "set  avi#N time format milliseconds wait",
                               "status  avi#N length wait", "where  avi#N source wait",
                               "set  avi#N time format frames wait", "status  avi#N length wait",
                               "set  avi#N time format frames wait"},
                              *d));
  EXPECT_EQ(info.Strings[0], "C:\\media\\clip.avi");
  EXPECT_EQ(info.Strings[1], "1234");
  EXPECT_EQ(info.Strings[2], "2000");
  EXPECT_EQ(info.Strings[3], "160 x 120");
  EXPECT_EQ(info.Strings[4], "2000");
  EXPECT_EQ(info.Strings[5], "1000");

  struct Case {
    const char* what;
    std::string where, length;
    std::string size, rate;
  } cases[] = {
      {"short where reply", "0 0 160", "2000", "", "1000"},
      {"zero length: no rate", "1 2 11 22", "0", "10 x 20", ""},
      {"length refused", "0 0 1 1", "", "1 x 1", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake.Rules = {{"where ", 0, c.where}, {"length", c.length.empty() ? 261u : 0u, c.length}};
    MCI_INFO_STRUCT i;
    d->GetInfo(i);
    EXPECT_EQ(i.Strings[3], c.size);
    EXPECT_EQ(i.Strings[5], c.rate);
  }
  fake.Size = -1;
  MCI_INFO_STRUCT i;
  d->GetInfo(i);
  EXPECT_EQ(i.Strings[1], "-1");
  d->State = kMciClosed;
  MCI_INFO_STRUCT untouched;
  untouched.Strings[0] = "kept";
  fake.Clear();
  d->GetInfo(untouched);
  EXPECT_EQ(untouched.Strings[0], "kept");
  EXPECT_TRUE(fake.Sent.empty());
}

TEST_F(MciDevice, AudioStatusRecordsAndTheRefusedFramesFormat) {
  auto w = Opened<TMCIWaveAudio>(kMciStopped, 1);
  fake.ErrorTexts[261] = "Falsches Zeitformat";
  fake.Rules = {{"time format frames", 261, ""}, {"channels", 0, "2"},   {"bitspersample", 0, "16"},
                {"samplespersec", 0, "22050"},       {"length", 0, "1000"}};
  MCI_INFO_STRUCT info;
  w->GetInfo(info);
  EXPECT_EQ(info.Strings[3], "2");
  EXPECT_EQ(info.Strings[4], "16");
  EXPECT_EQ(info.Strings[5], "22050");
  ASSERT_EQ(fake.Boxes.size(), 1u);
  EXPECT_EQ(fake.Boxes[0].Text, "Falsches Zeitformat");

  auto s = Opened<TMCISequencer>();
  fake.Rules = {{"division type", 0, "PPQN"}, {"tempo", 0, "120"}, {"length", 0, "500"}};
  s->GetInfo(info);
  EXPECT_EQ(info.Strings[3], "PPQN");
  EXPECT_EQ(info.Strings[4], "120");
  EXPECT_EQ(info.Strings[5], "");
}

TEST_F(MciDevice, ErrorBoxes) {
  fake.ErrorTexts[263] = "Das Gerät ist nicht bereit.";
  struct Case {
    const char* what;
    int showErrors;
    uint32_t code;
    std::vector<std::string> texts;
  } cases[] = {
      {"silent", 0, 263, {}},
      {"described", 1, 263, {"Das Gerät ist nicht bereit."}},
      {"unknown code", 1, 9999, {"Unbekannter MCI-Fehler!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto d = Opened<TMCIAviVideo>(kMciPlaying, c.showErrors);
    fake.Fail("stop ", c.code);
    EXPECT_EQ(d->Stop(), 0);
    EXPECT_EQ(d->State, kMciPlaying);
    std::vector<std::string> texts;
    for (const auto& b : fake.Boxes) {
      texts.push_back(b.Text);
      EXPECT_EQ(b.Caption, "MCI");
      EXPECT_EQ(b.Type, 0x30u);
      EXPECT_EQ(b.Owner, kOwner);
    }
    EXPECT_EQ(texts, c.texts);
    fake.Rules.clear();
    d->State = kMciClosed;
  }
  // A failed close keeps the device open.
  auto d = Opened<TMCIAviVideo>();
  fake.Fail("close ", 263);
  EXPECT_EQ(d->Close(), 0);
  EXPECT_EQ(d->State, kMciStopped);
  fake.Rules.clear();
}

TEST_F(MciDevice, NotificationsAndTheRepeatCycle) {
  auto d = Opened<TMCIAviVideo>();
  d->DeviceId = 5;
  ASSERT_EQ(d->Play(-1, -1, 1, 1), 1);
  fake.Clear();
  EXPECT_EQ(d->Notify(kMciNotifySuccessful, 6), 0);
  EXPECT_EQ(d->State, kMciPlaying) << "another device's id";
  EXPECT_TRUE(fake.Sent.empty());
  EXPECT_EQ(d->Notify(kMciNotifySuccessful, 0x70005), 0) << "only the low 16 bits count";
  EXPECT_EQ(fake.Sent, Expand({"seek  avi#N to start wait", "seek  avi#N to start wait", "play  avi#N  notify"}, *d));
  EXPECT_EQ(d->State, kMciPlaying);
  fake.Clear();
  EXPECT_EQ(d->Notify(kMciNotifySuccessful, 0), 0) << "id 0 is the window's one device";
  EXPECT_EQ(fake.Sent.size(), 3u);
  for (uint32_t code : {kMciNotifySuperseded, kMciNotifyAborted, kMciNotifyFailure}) {
    fake.Clear();
    d->Notify(code, 5);
    EXPECT_TRUE(fake.Sent.empty());
    EXPECT_EQ(d->State, kMciPlaying);
  }
  ASSERT_EQ(d->Stop(), 1);
  EXPECT_EQ(d->StopRequested, 1);
  fake.Clear();
  d->Notify(kMciNotifySuccessful, 5);  // late, after the stop
  EXPECT_TRUE(fake.Sent.empty());
  EXPECT_EQ(d->State, kMciStopped);
  ASSERT_EQ(d->Play(-1, -1, 1, 1), 1);
  EXPECT_EQ(d->StopRequested, 0) << "a play with notify starts a new cycle";
  ASSERT_EQ(d->Close(), 1);
  fake.Clear();
  d->Notify(kMciNotifySuccessful, 0);
  EXPECT_EQ(d->State, kMciClosed) << "a closed device stays closed";
  EXPECT_TRUE(fake.Sent.empty());
}

TEST_F(MciDevice, PauseAndResume) {
  auto d = Opened<TMCIQtwVideo>(kMciPlaying);
  fake.Rules = {{"position", 0, "1500"}, {"time format", 0, "milliseconds"}};
  d->RepeatFlag = 1;
  ASSERT_EQ(d->Pause(), 1);
  EXPECT_EQ(d->PausedPosition, 1500);
  EXPECT_EQ(d->State, kMciPaused);
  fake.Clear();
  ASSERT_EQ(d->Resume(), 1);
  EXPECT_EQ(fake.Sent, Expand({"status  qtw#N time format wait", "set  qtw#N time format milliseconds wait",
                               "play  qtw#N from 1501 notify", "set  qtw#N time format milliseconds wait"},
                              *d));
  EXPECT_EQ(d->RepeatFlag, 1);
  // A failing position query leaves the device playing.
  fake.Rules.insert(fake.Rules.begin(), {"position", 263, ""});
  EXPECT_EQ(d->Pause(), 0);
  EXPECT_EQ(d->State, kMciPlaying);
}

TEST(MciBlanks, RunsCollapseOutsideQuotes) {
  struct Case {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"after the verb", "play  wav#1  notify", "play wav#1 notify"},
      {"trailing pair", "close  avi#1 ", "close avi#1 "},
      {"quoted name kept", "open \"C:\\a  b.avi\" alias avi#2  wait", "open \"C:\\a  b.avi\" alias avi#2 wait"},
      {"nothing to do", "status avi#1 mode wait", "status avi#1 mode wait"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CollapseMciBlanks(c.in), c.out);
  }
}

// ---- CD audio ----

class CdDevice : public MciDevice {
protected:
  std::unique_ptr<TMCICDAudio> Cd() {
    auto d = std::make_unique<TMCICDAudio>(kOwner);
    fake.Reply("open ", "3");
    EXPECT_EQ(d->Open("ignored", 0), 1);
    fake.Rules.clear();
    fake.Clear();
    return d;
  }
};

TEST_F(CdDevice, OpenAndPlayTracks) {
  auto d = std::make_unique<TMCICDAudio>(kOwner);
  fake.Reply("open ", "3");
  ASSERT_EQ(d->Open("x.avi", 1), 1);
  EXPECT_EQ(fake.Sent, Expand({"open cdaudio alias cda#N shareable wait"}, *d));
  EXPECT_EQ(d->FileName, "");
  EXPECT_EQ(d->DeviceId, 3u);
  fake.Rules = {{"time format", 0, "msf"}};
  fake.Clear();
  const int32_t tracks[] = {3, 0x105, 7};
  EXPECT_EQ(d->PlayTracks(nullptr, 1, 0), 0);
  ASSERT_EQ(d->PlayTracks(tracks, 3, 0), 1);
  EXPECT_EQ(fake.Sent, Expand({"status  cda#N time format wait", "set  cda#N time format tmsf wait",
                               "play  cda#N  from 03:00:00:00 notify", "set  cda#N time format msf wait"},
                              *d));
  EXPECT_EQ(d->Tracks[1], 5) << "the low 8 bits";
  EXPECT_EQ(d->State, kMciPlaying);
  const int32_t other[] = {9};
  EXPECT_EQ(d->PlayTracks(other, 1, 0), 1);
  EXPECT_EQ(d->Tracks[0], 3) << "a playing list stays";
  TMCICDAudio closed(kOwner);
  EXPECT_EQ(closed.PlayTracks(tracks, 3, 0), 0);
}

TEST_F(CdDevice, AtMostNinetyNineTracks) {
  auto d = Cd();
  std::vector<int32_t> many(120);
  for (int i = 0; i < 120; ++i) many[i] = i + 1;
  ASSERT_EQ(d->PlayTracks(many.data(), 120, 0), 1);
  EXPECT_EQ(d->TrackCount, 99);
  EXPECT_EQ(d->Tracks[98], 99);
}

TEST_F(CdDevice, WalkingTheList) {
  auto d = Cd();
  const int32_t tracks[] = {2, 4, 6};
  ASSERT_EQ(d->PlayTracks(tracks, 3, 0), 1);
  d->DeviceId = 3;
  struct Step {
    const char* what;
    std::function<void(TMCICDAudio&)> run;
    int index;
    int32_t state;
    const char* lastPlay;  // the last play command, or null for none
  } steps[] = {
      {"previous on the first entry plays it again", [](TMCICDAudio& c) { c.SeekToStart(); }, 0, kMciPlaying,
       "from 02:"},
      {"the notification of the stopped play does not advance",
       [](TMCICDAudio& c) { c.Notify(kMciNotifySuccessful, 3); }, 0, kMciPlaying, nullptr},
      {"a successful end plays the next entry", [](TMCICDAudio& c) { c.Notify(kMciNotifySuccessful, 3); }, 1,
       kMciPlaying, "from 04:"},
      {"another device's notification", [](TMCICDAudio& c) { c.Notify(kMciNotifySuccessful, 8); }, 1, kMciPlaying,
       nullptr},
      {"next", [](TMCICDAudio& c) { c.SeekToEnd(); }, 2, kMciPlaying, "from 06:"},
      {"its stale notification", [](TMCICDAudio& c) { c.Notify(kMciNotifyAborted, 3); }, 2, kMciPlaying, nullptr},
      {"next on the last entry plays the first", [](TMCICDAudio& c) { c.SeekToEnd(); }, 0, kMciPlaying,
       "from 02:"},
      {"stale", [](TMCICDAudio& c) { c.Notify(kMciNotifySuccessful, 3); }, 0, kMciPlaying, nullptr},
      {"to the last", [](TMCICDAudio& c) { c.SeekToStart(); c.Notify(1, 3); c.SeekToEnd(); c.Notify(1, 3); c.SeekToEnd(); c.Notify(1, 3); }, 2,
       kMciPlaying, "from 06:"},
      {"the list ends without repeat", [](TMCICDAudio& c) { c.Notify(kMciNotifySuccessful, 3); }, 2, kMciStopped,
       nullptr},
      {"with repeat it starts again",
       [](TMCICDAudio& c) { c.State = kMciPlaying; c.RepeatFlag = 1; c.Notify(kMciNotifySuccessful, 3); }, 0,
       kMciPlaying, "from 02:"},
      {"paused: notifications ignored", [](TMCICDAudio& c) { c.State = kMciPaused; c.Notify(1, 3); }, 0, kMciPaused,
       nullptr},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    fake.Clear();
    s.run(*d);
    EXPECT_EQ(d->ListIndex, s.index);
    EXPECT_EQ(d->State, s.state);
    std::string play;
    for (const std::string& c : fake.Sent)
      if (c.rfind("play ", 0) == 0) play = c;
    if (s.lastPlay)
      EXPECT_NE(play.find(s.lastPlay), std::string::npos) << play;
    else
      EXPECT_EQ(play, "");
  }
  const int32_t zero[] = {0};
  d->State = kMciStopped;
  EXPECT_EQ(d->PlayTracks(zero, 1, 0), 0) << "track 0 does not play";
}

TEST_F(CdDevice, DoorTracksAndMedia) {
  auto d = Cd();
  struct Case {
    const char* what;
    uint32_t error;
    const char* mode;
    const char* word;
  } cases[] = {
      {"not ready in capitals closes", 0, "NOT READY", "door closed"},
      {"stopped opens", 0, "stopped", "door open"},
      {"a failed query opens", 263, "", "door open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake.Rules = {{"mode", c.error, c.mode}};
    fake.Clear();
    EXPECT_EQ(d->ToggleDoor(), 1);
    EXPECT_EQ(fake.Sent, Expand({"status  cda#N mode wait", std::string("set  cda#N ") + c.word + " wait"}, *d));
  }
  fake.Rules = {{"number of tracks", 0, "12"}, {"media present", 0, "TRUE"}, {"length track", 0, "04:5"}};
  EXPECT_EQ(d->GetNumberOfTracks(), 12);
  EXPECT_EQ(d->IsMediaPresent(), 1);
  uint32_t packed = 0xFFFFFFFF;
  EXPECT_EQ(d->GetTrackInfo(3, &packed), " Track 03 - 04:5");
  EXPECT_EQ(packed, 0x00050403u) << "a short reply keeps the digits it has";
  fake.Rules[2].Reply = "01:02:03";
  EXPECT_EQ(d->GetTrackInfo(11, &packed), " Track 11 - 01:02:03");
  EXPECT_EQ(packed, 0x0302010Bu);
  fake.Rules = {{"status ", 263, ""}};  // the time format query fails too
  EXPECT_EQ(d->GetNumberOfTracks(), 0);
  EXPECT_EQ(d->IsMediaPresent(), 0);
  EXPECT_EQ(d->GetTrackInfo(1, nullptr), "");
}

}  // namespace
