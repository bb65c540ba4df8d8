// Going back and forward through the open project's navigation history.
#include "engine/bookstruct.h"
#include "engine/objectelement.h"

void TBookStruct::HistoryBack() { ReplayStep(BackSteps, ForwardSteps); }

void TBookStruct::HistoryForward() { ReplayStep(ForwardSteps, BackSteps); }

// Replays the current step of `from`, recording the inverse step on `to`.
// Nothing the replay does records a step of its own (a database-bound page
// would otherwise record its record and Back would return to the same page
// forever); the remembered step is emptied and popped afterwards.
void TBookStruct::ReplayStep(THistoryStack& from, THistoryStack& to) {
  if (from.Index() < 0) return;
  const int32_t replayed = from.Index();
  TUndoStep* step = from.Current();
  TUndoStep& inverse = to.Push();
  const uint8_t wasReplaying = Replaying;
  Replaying = 1;
  for (int i = 0; step && i < step->GetItemsInContainer(); ++i) {
    const TUndoActionInfo e = *(*step)[i];
    switch (e.Kind) {
      case kUndoPage:
        inverse.Add(new TUndoActionInfo(kUndoPage, CurrentPage, -1, -1));
        GotoPage(e.Page, 1, -1, 0);
        break;
      case kUndoRecord:
        inverse.Add(new TUndoActionInfo(kUndoRecord, -1, CurrentRecord(), -1));
        GotoDBRecord(e.Record, 0);
        break;
      case kUndoPageRecord:
        inverse.Add(new TUndoActionInfo(kUndoPageRecord, CurrentPage, CurrentRecord(), -1));
        if (TSysTimeManager* q = GetTimeManager()) {
          TSysTimeManagerMsg msg;
          msg.Receiver = this;
          msg.Kind = kGotoPageRecordMsg;
          msg.Delay = 0;
          msg.LifeTime = kTimedMsgLifeTime;
          msg.OwnerId = static_cast<uintptr_t>(static_cast<intptr_t>(e.Page));
          msg.Param3 = 0;
          msg.Param4 = static_cast<uintptr_t>(static_cast<intptr_t>(e.Record));
          q->PostMsg(msg);
        }
        break;
      case kUndoDocument: {
        TObjectElement* o = ObjectManager ? ObjectManager->FindObjectById(static_cast<uint32_t>(e.Object)) : nullptr;
        if (!o || !ObjectKindHas(o->GetKind(), kDocument)) break;
        bool flag = false;
        string now;
        o->GetFile(0, flag, now);
        inverse.Add(new TUndoActionInfo(kUndoDocument, -1, -1, e.Object, now));
        string file = e.File;
        o->SetFileName(file);
        break;
      }
      default:
        break;
    }
  }
  Replaying = wasReplaying;
  if (from.Index() == replayed) from.Pop();
}
