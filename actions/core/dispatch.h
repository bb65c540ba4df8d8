// The action dispatcher: runs one pending action through the routine of its
// code's family, then does the common after-work (re-queue a repeating
// action, drop the action's pending entry). Also the kind-7 step that
// decides whether a pending action may run or must wait for its
// predecessor.
// Portable: what the dispatcher needs of the open project comes through
// TActionHost; the family routines get the project itself.
#pragma once
#include <array>
#include <cstdint>

#include "actions/core/actioncodes.h"
#include "engine/core/actionqueue.h"
#include "foundation/core/timer/timequeue.h"

class TBookStruct;

// What the dispatcher itself uses of the open project.
class TActionHost {
public:
  virtual ~TActionHost() = default;
  // Posts a timed message to the open project through its manager; the
  // host sets the receiver.
  virtual void PostToProject(TSysTimeManagerMsg& msg) = 0;
  // The open project as an action's Owner.
  virtual uintptr_t ProjectOwner() = 0;
  // True when the object numbered `target` is on the current page and
  // reports the end of its medium with a kind-10 message: only then may a
  // sequential play action keep its entry, since nothing else ends it before
  // the next page change.
  virtual bool TargetReportsEndOfMedia(uint32_t target) = 0;
};

// One run of the dispatcher, as a family routine sees it.
struct TActionRun {
  TActionRun(TBookStruct* book, TActionHost& host, const TActionStruct& action, int32_t serial)
      : Book(book), Host(host), Action(action), Serial(serial) {}

  TBookStruct* Book;
  TActionHost& Host;
  TActionStruct Action;  // the dispatcher's own copy: the caller's record may go away meanwhile
  int32_t Serial;        // -1: never queued
  // The pending entry goes when the run is done; a sequential play action
  // whose medium will report its end clears it, and its routine may set it
  // again when the medium does not start.
  bool RemoveWhenDone = true;
  // Set by the project-reload code once it has replaced the open project:
  // the after-work is skipped (the reload emptied the pending list).
  bool ProjectReplaced = false;
};

using TActionFamilyProc = void (*)(TActionRun& run);
// The routine of each family, indexed by TActionFamily; null runs nothing.
using TActionFamilyTable = std::array<TActionFamilyProc, kActionFamilyCount>;

// Runs `action` (its pending entry has `serial`, or -1) through the routine
// of its code's family and does the after-work.
void DispatchActionCode(TBookStruct* book, TActionHost& host, const TActionStruct& action, int32_t serial,
                        const TActionFamilyTable& families);

// What became of a kind-7 message's pending action.
enum class TPendingRun {
  NotPending,  // no entry under the serial (flushed or already done): the message is dropped
  Waiting,     // a sequential action whose predecessor is still pending: keep the message
  Ran,         // dispatched: the message is done
};

// The kind-7 step of the open project's timed-message handler: finds the
// pending action by serial and runs it unless it has to wait.
TPendingRun RunPendingAction(TBookStruct* book, TActionHost& host, int32_t serial,
                             const TActionFamilyTable& families);
