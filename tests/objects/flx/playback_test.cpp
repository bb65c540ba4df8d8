// The timing of the animation kinds on the timed-message queue and its fake
// clock: media commands, steps, loops and the end-of-media message.
#include "objects/core/animplay.h"

#include <gtest/gtest.h>

#include <functional>

#include "../../imaging/flx/flxpics.h"
#include "engine/core/timedkinds.h"

using namespace flxtest;

namespace {

uint32_t g_now = 1000;
uint32_t FakeClock() { return g_now; }

// The open project and the page: delivers the steps back to the object and
// records the end-of-media messages.
struct Stage : TAnimationHost, TTimersFriend {
  TSysTimeManager queue;
  bool open = true, visible = true;
  std::function<void(const TSysTimeManagerMsg&)> step;
  std::vector<uintptr_t> ends;  // senders of kind 10
  int others = 0;               // other messages delivered

  TSysTimeManager* Queue() override { return open ? &queue : nullptr; }
  TTimersFriend* Project() override { return this; }
  bool ObjectVisible() const override { return visible; }
  uint32_t ObjectNumber() const override { return 7; }
  uintptr_t ObjectSender() const override { return 0x5EED; }
  int32_t HandleTimerMsg(TSysTimeManager*, const TSysTimeManagerMsg& m) override {
    if (m.Kind == kEndOfMediaMsg) ends.push_back(m.Sender);
    else if (step && m.Sender == 0x5EED) step(m);
    else ++others;
    return kTimerMsgDone;
  }
  // Lets `ms` pass in 10 ms ticks.
  void Run(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 10) {
      g_now += 10;
      queue.Dispatch();
    }
  }
};

class Playback : public ::testing::Test {
protected:
  void SetUp() override {
    g_now = 1000;
    TSysTimeManager::SetClock(&FakeClock);
  }
  void TearDown() override { TSysTimeManager::SetClock(nullptr); }
};

// Five frames of 1..5 at 40 ms.
std::unique_ptr<tsl::TFLX> FiveFrames() {
  std::vector<Block> pics;
  for (int i = 0; i < 5; ++i) pics.push_back(Picture(4, 2, [i](int, int) { return uint8_t(i + 1); }));
  return std::make_unique<tsl::TFLX>(StreamOf(WriteFlc(pics, 40)), false);
}

std::vector<int> Shown(const RecordingCanvas& dc) {
  std::vector<int> v;
  for (const auto& d : dc.draws) v.push_back(d.firstPixel);
  return v;
}

TEST_F(Playback, FlxCommandSequences) {
  enum Step { Play = 0, Stop = 1, Pause = 2, ToStart = 3, ToEnd = 4, Resume = 6, GoTo = 7, Wait = 100 };
  struct Case {
    const char* what;
    std::vector<int> steps;  // commands, or Wait for 45 ms
    std::vector<int> shown;
    int playing, paused;
  } cases[] = {
      {"play steps at the file's speed", {Play, Wait, Wait}, {1, 2, 3}, 1, 0},
      {"play while playing changes nothing", {Play, Play, Wait}, {1, 2}, 1, 0},
      {"pause while stopped changes nothing", {Pause, Play}, {1}, 1, 0},
      {"play, pause, play goes on with the next frame", {Play, Wait, Pause, Wait, Play, Wait}, {1, 2, 3}, 1, 0},
      {"play, stop, play starts at frame 1", {Play, Wait, Stop, Play}, {1, 2, 1}, 1, 0},
      {"play, pause, stop, play goes on from the paused frame", {Play, Wait, Pause, Stop, Play, Wait}, {1, 2, 3}, 1, 1 - 1},
      {"to end shows the last frame and stops", {Play, ToEnd, Wait}, {1, 5}, 0, 0},
      {"to start keeps the paused mark", {Play, Pause, ToStart}, {1, 1}, 0, 1},
      {"go to a frame is ignored", {GoTo, Play, GoTo}, {1}, 1, 0},
      {"resume starts like play", {Resume}, {1}, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Stage stage;
    RecordingCanvas dc;
    TFlxPlayback p(stage);
    p.Reader = FiveFrames();
    stage.step = [&](const TSysTimeManagerMsg& m) {
      EXPECT_EQ(m.Kind, kFrameStepMsg);
      EXPECT_EQ(m.OwnerId, 7u);
      p.StepMessage(m, dc, 2, 3);
    };
    for (int s : c.steps) {
      if (s == Wait)
        stage.Run(45);
      else
        p.MediaCommand(s, dc, 2, 3);
    }
    EXPECT_EQ(Shown(dc), c.shown);
    EXPECT_EQ(p.Playing, c.playing);
    EXPECT_EQ(p.Paused, c.paused);
    EXPECT_TRUE(stage.ends.empty());
  }
}

TEST_F(Playback, FlxEndAndLoop) {
  for (bool loop : {false, true}) {
    SCOPED_TRACE(loop ? "loop" : "once");
    Stage stage;
    RecordingCanvas dc;
    TFlxPlayback p(stage);
    p.Reader = FiveFrames();
    p.Loop = loop;
    stage.step = [&](const TSysTimeManagerMsg& m) { p.StepMessage(m, dc, 0, 0); };
    p.MediaCommand(0, dc, 0, 0);
    stage.Run(1000);
    if (loop) {
      EXPECT_TRUE(stage.ends.empty());
      EXPECT_GT(dc.draws.size(), 20u);
      // 1..5, the ring frame (frame 1 again), 2 ...
      std::vector<int> shown = Shown(dc);
      shown.resize(8);
      EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 1, 2, 3}));
      EXPECT_EQ(p.Playing, 1);
    } else {
      EXPECT_EQ(stage.ends, (std::vector<uintptr_t>{7}));
      EXPECT_EQ(Shown(dc), (std::vector<int>{1, 2, 3, 4, 5}));
      EXPECT_EQ(p.Playing, 0);
      EXPECT_EQ(stage.queue.ActiveCount(), 0u);
    }
  }
}

TEST_F(Playback, FlxInvisibleStepStopsButStaysPlaying) {
  Stage stage;
  RecordingCanvas dc;
  TFlxPlayback p(stage);
  p.Reader = FiveFrames();
  stage.step = [&](const TSysTimeManagerMsg& m) { p.StepMessage(m, dc, 0, 0); };
  p.MediaCommand(0, dc, 0, 0);
  stage.visible = false;
  stage.Run(200);
  stage.visible = true;
  p.MediaCommand(0, dc, 0, 0);  // ignored: still playing
  stage.Run(200);
  EXPECT_EQ(Shown(dc), (std::vector<int>{1}));
  EXPECT_EQ(p.Playing, 1);
  p.MediaCommand(1, dc, 0, 0);
  p.MediaCommand(0, dc, 0, 0);
  stage.Run(45);
  EXPECT_EQ(Shown(dc), (std::vector<int>{1, 1, 2}));

  // No project open, or no reader: commands do nothing.
  stage.open = false;
  p.MediaCommand(4, dc, 0, 0);
  TFlxPlayback none(stage);
  stage.open = true;
  none.MediaCommand(0, dc, 0, 0);
  EXPECT_EQ(dc.draws.size(), 3u);
  EXPECT_EQ(none.Length(), 0u);
}

// The project's pending-action messages carry a serial as owner id; one
// equal to the object's number survives the object's stop.
TEST_F(Playback, StoppingKeepsOtherMessagesOfTheSameOwnerId) {
  Stage stage;
  RecordingCanvas dc;
  TFlxPlayback p(stage);
  p.Reader = FiveFrames();
  stage.step = [&](const TSysTimeManagerMsg& m) { p.StepMessage(m, dc, 0, 0); };
  TSysTimeManagerMsg run;
  run.Receiver = &stage;
  run.Kind = kRunActionMsg;
  run.Delay = 100;
  run.OwnerId = 7;
  stage.queue.PostMsg(run);
  p.MediaCommand(0, dc, 0, 0);
  stage.Run(20);
  p.MediaCommand(1, dc, 0, 0);
  stage.Run(300);
  EXPECT_EQ(stage.others, 1);
  EXPECT_EQ(Shown(dc), (std::vector<int>{1}));
}

struct Drawer : TAbpFrameDrawer {
  std::vector<int> frames;
  void DrawFrame(int frame) override { frames.push_back(frame); }
};

// A list of `n` frames with delays 30, 40, 50 ... and the loop count.
void Frames(tsl::TAnimatedBmpListCore& l, int n, int32_t loops) {
  l.Header.LoopCount = loops;
  for (int i = 0; i < n; ++i) {
    tsl::TAnimFrameRecord r;
    r.Delay = uint32_t(30 + 10 * i);
    l.AddFrame(Picture(2, 2, [i](int, int) { return uint8_t(i); }), r);
  }
}

TEST_F(Playback, AbpLoopsAndEnd) {
  struct Case {
    const char* what;
    int frames;
    int32_t loops;
    std::vector<int> drawn;
    size_t ends;
  } cases[] = {
      {"loop count 2 x 3 frames: 6 frames, one end", 3, 2, {0, 1, 2, 0, 1, 2}, 1},
      {"loop count 1", 2, 1, {0, 1}, 1},
      {"endless (the first ten frames)", 2, -1, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1}, 0},
      {"loop count 0 never steps", 2, 0, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Stage stage;
    Drawer d;
    tsl::TAnimatedBmpListCore l;
    Frames(l, c.frames, c.loops);
    TAbpPlayback p(stage, d);
    p.Reset(&l);
    stage.step = [&](const TSysTimeManagerMsg& m) {
      EXPECT_EQ(m.Kind, kBitmapStepMsg);
      p.StepMessage(m);
    };
    p.Control(0, 0);
    stage.Run(1000);
    if (c.loops == -1) {
      ASSERT_GT(d.frames.size(), c.drawn.size());
      d.frames.resize(c.drawn.size());
    }
    EXPECT_EQ(d.frames, c.drawn);
    EXPECT_EQ(stage.ends.size(), c.ends);
    if (c.ends) {
      EXPECT_EQ(stage.ends[0], 7u);
      EXPECT_EQ(p.Position, 0u);
      EXPECT_EQ(p.Running, 0);
      EXPECT_EQ(stage.queue.ActiveCount(), 0u);
    }
  }
}

TEST_F(Playback, AbpCommands) {
  Stage stage;
  Drawer d;
  tsl::TAnimatedBmpListCore l;
  Frames(l, 4, -1);
  TAbpPlayback p(stage, d);
  p.Reset(&l);
  stage.step = [&](const TSysTimeManagerMsg& m) { p.StepMessage(m); };

  p.Control(7, 1);  // stopped: draws frame 1 and starts nothing
  stage.Run(200);
  EXPECT_EQ(d.frames, (std::vector<int>{1}));
  EXPECT_EQ(p.Running, 0);
  EXPECT_EQ(p.ShownFrame(), 1);

  p.Control(0, 0);      // play: frame 0 after its delay (30 ms)
  stage.Run(35);        // 0
  stage.Run(40);        // 1
  p.Control(2, 0);      // pause
  stage.Run(300);
  EXPECT_EQ(d.frames, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(p.Paused, 1);
  p.Control(6, 0);      // resume: the next frame at once
  EXPECT_EQ(d.frames.back(), 2);
  p.Control(4, 0);      // to the end while running: goes on from there
  EXPECT_EQ(d.frames.back(), 3);
  stage.Run(65);
  EXPECT_EQ(d.frames.back(), 0);
  p.Control(1, 0);
  p.Control(3, 0);      // to start while stopped: draws frame 0
  EXPECT_EQ(d.frames.back(), 0);
  p.Control(7, 9);      // past the end while stopped: nothing drawn
  EXPECT_EQ(d.frames.size(), 7u);
  EXPECT_EQ(p.Running, 0);
  stage.Run(300);  // the stopped run's step arrives and is ignored
  EXPECT_EQ(d.frames.size(), 7u);

  stage.open = false;   // no project: nothing
  p.Control(0, 0);
  EXPECT_EQ(p.Running, 0);
}

}  // namespace
