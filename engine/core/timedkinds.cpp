#include "engine/core/timedkinds.h"

#include <cstdio>

const char* TimedMsgKindName(int32_t kind) {
  switch (static_cast<TTimedMsgKind>(kind)) {
    case kTickMsg: return "tick";
    case kQuitOnPageMsg: return "quit on page";
    case kAdvanceOnPageMsg: return "advance on page";
    case kShowAndStartMsg: return "show and start";
    case kStopAndHideMsg: return "stop and hide";
    case kBitmapStepMsg: return "animated-bitmap step";
    case kRunActionMsg: return "run action";
    case kGotoPageMsg: return "go to page";
    case kFrameStepMsg: return "frame-animation step";
    case kEndOfMediaMsg: return "end of media";
    case kNavigateDatabaseMsg: return "database navigation";
    case kRedrawMsg: return "redraw";
    case kRefreshRecordMsg: return "refresh record";
    case kGotoPageRecordMsg: return "go to page and record";
    case kShowObjectMsg: return "show object";
  }
  // Kinds nobody posts: one buffer per thread, enough for traces.
  thread_local char other[24];
  std::snprintf(other, sizeof other, "kind %d", static_cast<int>(kind));
  return other;
}
