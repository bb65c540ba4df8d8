// The timing of the two animation kinds, portable: kind 3 steps an FLI/FLC
// reader (TFlxPlayback), kind 10 steps an animated bitmap list
// (TAbpPlayback). Both post their steps and their end of media as timed
// messages to the open project, which hands the steps back; the object
// reaches the project and its page through TAnimationHost.
#pragma once
#include <cstdint>
#include <memory>

#include "foundation/core/timer/timequeue.h"
#include "imaging/core/animfile.h"
#include "imaging/core/flx.h"

// Lifetime of every animation message.
constexpr uint32_t kAnimationMsgLifeTime = 600000;

class TAnimationHost {
public:
  virtual ~TAnimationHost() = default;
  // Null while no project is open.
  virtual TSysTimeManager* Queue() = 0;
  virtual TTimersFriend* Project() = 0;
  virtual bool ObjectVisible() const = 0;
  virtual uint32_t ObjectNumber() const = 0;
  // The sender of the object's step messages: the object itself.
  virtual uintptr_t ObjectSender() const = 0;
};

// Posting and cancelling through the host, as both kinds do it. Every step
// carries the serial of its run (Param1); a cancel starts a new run, and a
// step of an earlier run is ignored when it arrives. (The queue's removal by
// owner id is no use here: it sees only messages a pass has taken in, and it
// would take the project's pending-action messages, whose owner ids are
// serials, with the object's number.)
class TAnimationMessages {
public:
  explicit TAnimationMessages(TAnimationHost& host) : Host(host) {}
  bool ProjectOpen() { return Host.Queue() != nullptr; }
  void PostStep(int32_t kind, uint32_t delay);
  void PostEnd();
  void Cancel();
  bool IsCurrent(const TSysTimeManagerMsg& step) const { return step.Param1 == Serial; }

  TAnimationHost& Host;
  uintptr_t Serial = 0;
};

// Kind 3. Drawing goes to the canvas at the point the object gives.
class TFlxPlayback {
public:
  explicit TFlxPlayback(TAnimationHost& host) : Msgs(host) {}

  void MediaCommand(int command, tsl::TFlxCanvas& dc, int x, int y);
  void AnimationStep(tsl::TFlxCanvas& dc, int x, int y);
  // A delivered step message: stepped unless it belongs to a cancelled run.
  void StepMessage(const TSysTimeManagerMsg& msg, tsl::TFlxCanvas& dc, int x, int y) {
    if (Msgs.IsCurrent(msg)) AnimationStep(dc, x, y);
  }
  uint32_t Length() const { return Reader ? Reader->FrameCount() : 0; }
  uint32_t Position() const { return Reader ? Reader->CurrentFrame() : 0; }

  TAnimationMessages Msgs;
  std::unique_ptr<tsl::TFLX> Reader;
  bool Loop = false;
  uint8_t Playing = 0;
  uint8_t Paused = 0;
};

// Kind 10. The list is the object's; frames are drawn through `draw`.
class TAbpFrameDrawer {
public:
  virtual ~TAbpFrameDrawer() = default;
  virtual void DrawFrame(int frame) = 0;
};

class TAbpPlayback {
public:
  TAbpPlayback(TAnimationHost& host, TAbpFrameDrawer& draw) : Msgs(host), Draw(draw) {}

  void AnimationStep();
  void StepMessage(const TSysTimeManagerMsg& msg) {
    if (Msgs.IsCurrent(msg)) AnimationStep();
  }
  void Control(int command, uint32_t argument);
  // The frame a repaint shows: the one drawn last.
  int ShownFrame() const { return Shown; }
  void Reset(tsl::TAnimatedBmpListCore* animation);

  TAnimationMessages Msgs;
  TAbpFrameDrawer& Draw;
  tsl::TAnimatedBmpListCore* Animation = nullptr;  // not owned
  uint32_t Position = 0;
  uint8_t Running = 0;
  uint8_t Paused = 0;
  int32_t Passes = 0;

private:
  int FrameCount() const { return Animation ? Animation->FrameCount() : 0; }
  void DrawAt(uint32_t frame);
  int Shown = 0;
};
