// The open project's handler of every timed-message kind.
#include "actions/dispatcher.h"
#include "actions/presentation.h"
#include "engine/animregistry.h"
#include "engine/bookstruct.h"
#include "engine/core/timedkinds.h"

namespace {
void StepAnimation(TAnimationRegistry* registry, const TSysTimeManagerMsg& msg) {
  if (!registry) return;
  for (const TAnimationEntry& e : *registry) {
    if (reinterpret_cast<uintptr_t>(e.Object) == msg.Sender) {
      if (e.Object) e.Object->AnimationStep(msg);
      return;
    }
  }
}
}  // namespace

int32_t TBookStruct::ExecuteAction(TSysTimeManager* manager, const TSysTimeManagerMsg& delivered) {
  // A page change may remove the message being delivered.
  const TSysTimeManagerMsg msg = delivered;
  if (!msg.Receiver) return kTimerMsgDone;
  Manager = manager;
  TObjectManager* page = ObjectManager.get();
  auto findObject = [&](uintptr_t number) {
    return page ? page->FindObjectById(static_cast<uint32_t>(number)) : nullptr;
  };
  const int32_t owner = static_cast<int32_t>(msg.OwnerId);

  switch (msg.Kind) {
    case kShowObjectMsg:
      if (TObjectElement* o = findObject(msg.Param1)) o->Show(true, false);
      return kTimerMsgDone;
    case kTickMsg:
      if (manager) {
        TSysTimeManagerMsg next;
        next.Receiver = this;
        next.Kind = kTickMsg;
        next.Delay = TickPeriod;
        next.LifeTime = kTickRepeatLifeTime;
        manager->PostMsg(next);
      }
      break;
    case kRedrawMsg:
      Redraw();
      return kTimerMsgDone;
    case kFrameStepMsg:
      StepAnimation(FrameAnimations(), msg);
      return kTimerMsgDone;
    case kBitmapStepMsg:
      StepAnimation(AnimatedBitmaps(), msg);
      return kTimerMsgDone;
    case kEndOfMediaMsg:
      RemovePendingActionsFor(this, static_cast<uint32_t>(msg.Sender), StoredActionCode(TActionCode::PlayMedia));
      break;
    case kRunActionMsg:
      switch (ExecutePendingAction(this, owner)) {
        case TPendingRun::Waiting:
          return kTimerMsgKeep;
        case TPendingRun::Ran:
          return kTimerMsgDone;
        case TPendingRun::NotPending:
          break;
      }
      break;
    case kQuitOnPageMsg:
      if (CurrentPage == owner) QuitPresentation(this);
      break;
    case kGotoPageMsg:
      if (CurrentPage != owner) GotoPage(owner, 1, -1, 1);
      break;
    case kGotoPageRecordMsg:
      if (manager) manager->RemoveAllButKind(kTickMsg);
      if (msg.Param3 == 1)
        PushBackStep().Add(new TUndoActionInfo(kUndoPageRecord, CurrentPage, static_cast<int32_t>(msg.Param4), -1));
      GotoPage(owner, 0, static_cast<int32_t>(msg.Param4), 0);
      break;
    case kAdvanceOnPageMsg:
      if (CurrentPage == static_cast<int32_t>(msg.Param3)) GotoPage(owner, 1, -1, 1);
      break;
    case kShowAndStartMsg:
      if (TObjectElement* o = findObject(msg.Param1)) {
        o->Show(true, false);
        TObjectManager::StartMediaObject(page, o);
      }
      break;
    case kStopAndHideMsg:
      if (TObjectElement* o = findObject(msg.Param1)) {
        TObjectManager::StopMediaObject(page, o);
        o->Hide(false, true);
      }
      break;
    case kRefreshRecordMsg:
      GotoDBRecord(CurrentRecord(), 0);
      break;
    default:
      break;
  }
  NavigateDB(msg);
  return kTimerMsgDone;
}
