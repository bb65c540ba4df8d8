// The pending-action list: every action that is triggered waits here, under
// a serial number, until its kind-7 timed message comes due and the
// dispatcher runs it. Entries of one triggering call are chained: each names
// the serial it waits for and the serial of its successor.
// Portable: the open project is only passed through, never looked into.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/format/actionstruct.h"
#include "engine/core/timedkinds.h"
#include "foundation/core/timer/timequeue.h"
#include "platform/core/containers.h"

class TBookStruct;

// Lifetime of a triggered action's kind-7 message: one hour.
constexpr uint32_t kActionMsgLifeTime = 3600000;
// Flag bit of an action that queues itself again after each run.
constexpr uint32_t kActionRepeat = 0x4000;
// The serial counter starts again at 0 once it has reached this value, so
// serials run 0 to 0x7FFFFFFD.
constexpr int32_t kActionSerialWrap = 0x7FFFFFFE;
// No serial: the first of a chain waits for nothing, the last has no successor.
constexpr int32_t kNoSerial = -1;

// One pending action. Ordered and compared by Serial (signed).
class TActionKeyStruct {
public:
  TActionKeyStruct() = default;
  TActionKeyStruct(std::unique_ptr<TActionStruct> action, int32_t serial, int32_t waitFor, int32_t next)
      : Action(std::move(action)), Serial(serial), WaitFor(waitFor), Next(next) {}
  virtual ~TActionKeyStruct() = default;
  TActionKeyStruct(const TActionKeyStruct&) = delete;
  TActionKeyStruct& operator=(const TActionKeyStruct&) = delete;

  bool operator<(const TActionKeyStruct& o) const { return Serial < o.Serial; }
  bool operator==(const TActionKeyStruct& o) const { return Serial == o.Serial; }

  std::unique_ptr<TActionStruct> Action;  // the pending copy; may be absent
  int32_t Serial = 0;
  int32_t WaitFor = kNoSerial;  // must be gone from the list before a sequential action runs
  int32_t Next = kNoSerial;     // the serial of the action chained after this one
};

// The process-wide list, sorted by serial and owning its entries.
using TPendingActionList = TISArrayAsVector<TActionKeyStruct>;
// An owning, unsorted list of entries: the actions carried over a page change.
using TActionKeyArray = TIArrayAsVector<TActionKeyStruct>;

// ---- list life (the open project creates, flushes and deletes it) ----
// Creates the list empty; an existing one is kept.
void CreatePendingActions();
// Empties the list, deleting the entries.
void FlushPendingActions();
// Deletes the list with its entries; until CreatePendingActions nothing is
// pending and additions are refused.
void DeletePendingActions();
// The list, or null while no project is open.
TPendingActionList* PendingActions();
// Sorted insertion; takes the entry over (and deletes it when there is no
// list). False when refused.
bool AddPendingAction(std::unique_ptr<TActionKeyStruct> entry);

// ---- lookups and removals (the project argument is not used) ----
TActionStruct* FindPendingAction(TBookStruct* book, int32_t serial);
TActionKeyStruct* FindPendingActionKey(TBookStruct* book, int32_t serial);
// Removes and deletes the entry with this serial, if any.
void RemovePendingAction(TBookStruct* book, int32_t serial);
// Removes and deletes the first entry, in serial order, whose action has
// this target and code; only that one.
void RemovePendingActionsFor(TBookStruct* book, uint32_t target, uint16_t code);
// Sets the interval of the first pending repeating code-24 action.
void SetRepeatInterval(TBookStruct* book, uint32_t interval);
// For a pending page-changing action (codes 10, 11, 12, 29): copies of the
// entries chained behind it, following Next while the serial is pending.
// Null for any other action, a missing entry or an empty chain. The pending
// entries themselves stay.
std::unique_ptr<TActionKeyArray> CollectChainedActions(TBookStruct* book, int32_t serial);

// ---- serials ----
// Draws a serial from the process-wide counter.
int32_t DrawActionSerial();
// The serial the next draw will give.
int32_t PeekActionSerial();
// Sets the counter (tests step it to the wrap-around).
void SetActionSerialCounter(int32_t value);

// The serial and links of one queued action.
struct TActionLinks {
  int32_t Serial = kNoSerial;
  int32_t WaitFor = kNoSerial;
  int32_t Next = kNoSerial;
};

// Serials for the actions one call queues, drawn in queuing order: each
// action waits for the one queued before it in the same call, and its Next
// is the serial the following action will get. No other serial may be drawn
// while a call queues its chain.
class TActionSerialChain {
public:
  // `more`: another enabled action of the same call follows this one.
  TActionLinks Draw(bool more);

private:
  int32_t Previous = kNoSerial;
};

// Adds the entry for a queued action and posts its kind-7 message to
// `receiver` through `manager` (delay: the action's Delay; lifetime one
// hour). The action is taken over. False when the list refused it (nothing
// is posted then).
bool QueuePendingAction(TSysTimeManager& manager, TTimersFriend* receiver, std::unique_ptr<TActionStruct> action,
                        const TActionLinks& links);
// Queues copies of the enabled actions of one call, in the given order, as
// one chain; each copy's Owner becomes `owner`. Returns the links given.
std::vector<TActionLinks> QueueActionChain(TSysTimeManager& manager, TTimersFriend* receiver,
                                           const std::vector<const TActionStruct*>& actions, uintptr_t owner);
