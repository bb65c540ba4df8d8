// Timed messages: nothing the user triggers runs at once; it is posted here
// and delivered a little later, in the main thread, by the periodic timer.
// Portable: the clock is injectable so that tests can step time exactly (the
// player installs timeGetTime).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

class TSysTimeManager;

// How long a timed message may wait, unless its poster says otherwise: ten
// minutes.
constexpr uint32_t kTimedMsgLifeTime = 600000;

// One timed message, copied whole by value. Fields that can carry an object
// or other pointer are pointer-sized (the record never goes to disk).
struct TSysTimeManagerMsg {
  class TTimersFriend* Receiver = nullptr;
  int8_t Priority = 0;
  uint32_t PostTime = 0;
  uint32_t Delay = 0;
  uint32_t LifeTime = kTimedMsgLifeTime;
  uintptr_t Sender = 0;
  uintptr_t Param1 = 0;
  uintptr_t Param2 = 0;
  int32_t Kind = -1;
  uintptr_t OwnerId = 0;
  uintptr_t Param3 = 0;
  uintptr_t Param4 = 0;
};

// What HandleTimerMsg returns.
enum : int32_t { kTimerMsgKeep = 0, kTimerMsgDone = 1, kTimerMsgFlush = -1 };

// The receiver of timed messages.
class TTimersFriend {
public:
  virtual ~TTimersFriend();
  // 0 keeps the message queued, -1 empties both queues, anything else
  // removes it as done.
  virtual int32_t HandleTimerMsg(TSysTimeManager* manager, const TSysTimeManagerMsg& msg);

  TSysTimeManager* Manager = nullptr;
  bool Registered = false;
};

class TSystemTimer;

class TSysTimeManager {
public:
  using Clock = uint32_t (*)();

  TSysTimeManager();
  ~TSysTimeManager();
  TSysTimeManager(const TSysTimeManager&) = delete;
  TSysTimeManager& operator=(const TSysTimeManager&) = delete;

  void SetTimer(TSystemTimer* timer) { Timer = timer; }
  // Stamps PostTime (also in the caller's record) and queues a copy in the
  // incoming queue; it is looked at from the next dispatch pass on.
  void PostMsg(TSysTimeManagerMsg& msg);
  bool InsertMsg(TSysTimeManagerMsg& msg);

  // Removals, FindByKind and ClearActive see the active queue only.
  void RemoveReceiver(TTimersFriend* receiver);
  void RemoveKind(int32_t kind);
  void RemoveAllButKind(int32_t kind);
  void RemoveForObject(uintptr_t ownerId);
  bool FindByKind(int32_t kind, int& start, TSysTimeManagerMsg& out);
  void ClearActive();
  // Whether a message of the kind waits in either queue, also one posted
  // during the pass that is running.
  bool IsQueued(int32_t kind) const;

  // One delivery pass; a pass started while another runs returns at once.
  void Dispatch();

  size_t ActiveCount() const { return ActiveQueue.size(); }
  size_t IncomingCount() const { return IncomingQueue.size(); }

  // The process-wide millisecond clock (timeGetTime in the player).
  static void SetClock(Clock clock);
  static uint32_t Now();

  TSystemTimer* Timer = nullptr;
  bool Enabled = true;

private:
  using Queue = std::vector<std::unique_ptr<TSysTimeManagerMsg>>;
  static void InsertSorted(Queue& q, std::unique_ptr<TSysTimeManagerMsg> m);
  template <class Pred>
  void RemoveIf(Pred pred);

  Queue ActiveQueue;
  Queue IncomingQueue;
};
