#include "objects/core/animplay.h"

#include "engine/core/timedkinds.h"

namespace {
enum : int {
  kPlay = 0,
  kStop = 1,
  kPause = 2,
  kToStart = 3,
  kToEnd = 4,
  kResume = 6,
  kGoTo = 7,
};
}  // namespace

void TAnimationMessages::PostStep(int32_t kind, uint32_t delay) {
  TSysTimeManager* q = Host.Queue();
  if (!q) return;
  TSysTimeManagerMsg m;
  m.Receiver = Host.Project();
  m.Kind = kind;
  m.Delay = delay;
  m.LifeTime = kAnimationMsgLifeTime;
  m.Sender = Host.ObjectSender();
  m.OwnerId = Host.ObjectNumber();
  m.Param1 = Serial;
  q->PostMsg(m);
}

void TAnimationMessages::PostEnd() {
  TSysTimeManager* q = Host.Queue();
  if (!q) return;
  TSysTimeManagerMsg m;
  m.Receiver = Host.Project();
  m.Kind = kEndOfMediaMsg;
  m.Delay = 0;
  m.LifeTime = kAnimationMsgLifeTime;
  m.Sender = Host.ObjectNumber();
  m.OwnerId = Host.ObjectNumber();
  q->PostMsg(m);
}

// Removing by owner id would also take the open project's pending-action
// messages whose owner id (a serial) equals the object's number, and with
// them an action chain: a cancelled run's steps stay queued and are ignored.
void TAnimationMessages::Cancel() { ++Serial; }

// ---- kind 3 ----------------------------------------------------------------

void TFlxPlayback::MediaCommand(int command, tsl::TFlxCanvas& dc, int x, int y) {
  if (!Msgs.ProjectOpen() || !Reader) return;
  switch (command) {
    case kStop:
      Msgs.Cancel();
      Playing = 0;
      break;
    case kPlay:
    case kResume:
      if (Playing) break;
      if (!Paused) Reader->DrawFirstFrame(dc, x, y);
      Msgs.PostStep(kFrameStepMsg, Reader->Delay());
      Playing = 1;
      Paused = 0;
      break;
    case kToEnd:
      Msgs.Cancel();
      Reader->DrawLastFrame(dc, x, y);
      Playing = 0;
      break;
    case kToStart:
      Msgs.Cancel();
      Reader->DrawFirstFrame(dc, x, y);
      Playing = 0;
      break;
    case kPause:
      if (!Playing) break;
      Msgs.Cancel();
      Playing = 0;
      Paused = 1;
      break;
    default:  // go to a frame among them: the reader only steps forward
      break;
  }
}

void TFlxPlayback::AnimationStep(tsl::TFlxCanvas& dc, int x, int y) {
  // An invisible object stops stepping but stays "playing": a later play is
  // ignored until stop, to start or to end.
  if (!Reader || !Msgs.Host.ObjectVisible()) return;
  if (Reader->DrawNextFrame(dc, x, y) || Loop) {
    Msgs.PostStep(kFrameStepMsg, Reader->Delay());
    Playing = 1;
    return;
  }
  Msgs.Cancel();
  Playing = 0;
  Msgs.PostEnd();
}

// ---- kind 10 ---------------------------------------------------------------

void TAbpPlayback::Reset(tsl::TAnimatedBmpListCore* animation) {
  Animation = animation;
  Position = 0;
  Passes = 0;
  Shown = 0;
}

void TAbpPlayback::DrawAt(uint32_t frame) {
  if (int64_t(frame) >= FrameCount()) return;
  Shown = int(frame);
  if (Msgs.Host.ObjectVisible()) Draw.DrawFrame(int(frame));
}

void TAbpPlayback::AnimationStep() {
  if (!Animation || Animation->Header.LoopCount == 0 || FrameCount() == 0) return;
  Running = 1;
  if (Position >= uint32_t(FrameCount())) {
    Position = 0;
    if (Animation->Header.LoopCount != -1 && ++Passes >= Animation->Header.LoopCount) {
      Passes = 0;
      Running = 0;
      Paused = 0;
      Msgs.PostEnd();
      return;
    }
  }
  DrawAt(Position);
  Msgs.PostStep(kBitmapStepMsg, Animation->FrameRecord(int(Position))->Delay);
  ++Position;
}

void TAbpPlayback::Control(int command, uint32_t argument) {
  if (!Msgs.ProjectOpen()) return;
  switch (command) {
    case kPlay:
      if (!Animation || FrameCount() == 0 || Running) return;
      if (Paused) {
        Paused = 0;
        AnimationStep();
        return;
      }
      Position = 0;
      Msgs.PostStep(kBitmapStepMsg, Animation->FrameRecord(0)->Delay);
      Running = 1;
      return;
    case kStop:
      Msgs.Cancel();
      Running = 0;
      Paused = 0;
      return;
    case kPause:
      if (!Running) return;
      Msgs.Cancel();
      Running = 0;
      Paused = 1;
      return;
    case kResume:
      if (!Paused) return;
      Paused = 0;
      AnimationStep();
      return;
    case kToStart:
      Position = 0;
      break;
    case kToEnd:
      Position = FrameCount() > 0 ? uint32_t(FrameCount() - 1) : 0;
      break;
    case kGoTo:
      Position = argument;
      break;
    default:
      return;
  }
  if (Running) {
    Msgs.Cancel();
    AnimationStep();
  } else {
    DrawAt(Position);
  }
}
