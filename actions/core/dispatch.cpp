#include "actions/core/dispatch.h"

namespace {
// Queues a repeating action again from its pending copy, so that what the
// routine changed in the dispatcher's own copy is not carried over.
void Requeue(TActionRun& run) {
  const TActionStruct* pending = FindPendingAction(run.Book, run.Serial);
  if (!pending) return;
  auto again = std::make_unique<TActionStruct>(*pending);
  again->Owner = run.Host.ProjectOwner();
  const int32_t serial = DrawActionSerial();
  if (!AddPendingAction(std::make_unique<TActionKeyStruct>(std::move(again), serial, kNoSerial, kNoSerial))) return;
  TSysTimeManagerMsg msg;
  msg.Kind = kRunActionMsg;
  msg.Delay = run.Action.Value4;  // the interval of this run's copy
  msg.LifeTime = kTimedMsgLifeTime;
  msg.OwnerId = static_cast<uint32_t>(serial);
  run.Host.PostToProject(msg);
}
}  // namespace

void DispatchActionCode(TBookStruct* book, TActionHost& host, const TActionStruct& action, int32_t serial,
                        const TActionFamilyTable& families) {
  TActionRun run(book, host, action, serial);
  const auto code = static_cast<int16_t>(run.Action.Code);

  // A sequential play action holds back the actions chained behind it until
  // its medium ends. Without an object that will report that end the entry
  // would stay until the next page change and its chain would never run.
  if (IsActionCode(run.Action.Code, TActionCode::PlayMedia) && run.Action.WaitFlag &&
      host.TargetReportsEndOfMedia(run.Action.Target))
    run.RemoveWhenDone = false;

  if (TActionFamilyProc routine = families[static_cast<size_t>(ActionFamilyOf(code))]) routine(run);

  if (run.ProjectReplaced) return;
  if ((run.Action.Flags & kActionRepeat) && run.RemoveWhenDone) Requeue(run);
  if (run.RemoveWhenDone) RemovePendingAction(book, serial);
}

TPendingRun RunPendingAction(TBookStruct* book, TActionHost& host, int32_t serial,
                             const TActionFamilyTable& families) {
  const TActionKeyStruct* key = FindPendingActionKey(book, serial);
  if (!key || !key->Action) return TPendingRun::NotPending;
  if (!key->Action->WaitFlag) {
    DispatchActionCode(book, host, *key->Action, serial, families);
    RemovePendingAction(book, serial);
    return TPendingRun::Ran;
  }
  if (key->WaitFor != kNoSerial && FindPendingActionKey(book, key->WaitFor)) return TPendingRun::Waiting;
  DispatchActionCode(book, host, *key->Action, serial, families);
  return TPendingRun::Ran;
}
