#include "foundation/core/timer/timequeue.h"

#include <algorithm>
#include <initializer_list>
#include <chrono>

namespace {
uint32_t SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
TSysTimeManager::Clock g_clock = &SteadyMilliseconds;

// Restores the enabled flag a removal or search cleared.
class EnabledGuard {
public:
  explicit EnabledGuard(bool& flag) : flag_(flag), saved_(flag) { flag_ = false; }
  ~EnabledGuard() { flag_ = saved_; }
private:
  bool& flag_;
  bool saved_;
};

bool KeyLess(const TSysTimeManagerMsg& a, const TSysTimeManagerMsg& b) {
  if (a.Priority != b.Priority) return a.Priority < b.Priority;
  return static_cast<int32_t>(a.PostTime) < static_cast<int32_t>(b.PostTime);
}
}  // namespace

TTimersFriend::~TTimersFriend() {
  if (Registered && Manager) Manager->RemoveReceiver(this);
}

int32_t TTimersFriend::HandleTimerMsg(TSysTimeManager* manager, const TSysTimeManagerMsg&) {
  Manager = manager;
  return kTimerMsgDone;
}

void TSysTimeManager::SetClock(Clock clock) { g_clock = clock ? clock : &SteadyMilliseconds; }
uint32_t TSysTimeManager::Now() { return g_clock(); }

TSysTimeManager::TSysTimeManager() {
  ActiveQueue.reserve(11);
  IncomingQueue.reserve(11);
}

TSysTimeManager::~TSysTimeManager() {
  Enabled = false;
  // Free outside the vectors: a message's destruction never reenters, but
  // keep the queues valid while they empty.
  Queue a, i;
  a.swap(ActiveQueue);
  i.swap(IncomingQueue);
}

void TSysTimeManager::InsertSorted(Queue& q, std::unique_ptr<TSysTimeManagerMsg> m) {
  // After every entry with an equal key: equal post times keep posting order.
  auto pos = std::upper_bound(q.begin(), q.end(), m,
                              [](const std::unique_ptr<TSysTimeManagerMsg>& x,
                                 const std::unique_ptr<TSysTimeManagerMsg>& y) { return KeyLess(*x, *y); });
  q.insert(pos, std::move(m));
}

void TSysTimeManager::PostMsg(TSysTimeManagerMsg& msg) {
  if (msg.Receiver) msg.Receiver->Manager = this;
  msg.PostTime = Now();
  InsertSorted(IncomingQueue, std::make_unique<TSysTimeManagerMsg>(msg));
}

bool TSysTimeManager::InsertMsg(TSysTimeManagerMsg& msg) {
  if (msg.Receiver) msg.Receiver->Manager = this;
  msg.PostTime = Now();
  InsertSorted(ActiveQueue, std::make_unique<TSysTimeManagerMsg>(msg));
  return true;
}

template <class Pred>
void TSysTimeManager::RemoveIf(Pred pred) {
  EnabledGuard guard(Enabled);
  // Take the doomed messages out first, then free them: nothing may see a
  // half-edited queue.
  Queue doomed;
  for (auto it = ActiveQueue.begin(); it != ActiveQueue.end();) {
    if (pred(**it)) {
      doomed.push_back(std::move(*it));
      it = ActiveQueue.erase(it);
    } else {
      ++it;
    }
  }
}

void TSysTimeManager::RemoveReceiver(TTimersFriend* receiver) {
  RemoveIf([receiver](const TSysTimeManagerMsg& m) { return m.Receiver == receiver; });
}
void TSysTimeManager::RemoveKind(int32_t kind) {
  RemoveIf([kind](const TSysTimeManagerMsg& m) { return m.Kind == kind; });
}
void TSysTimeManager::RemoveAllButKind(int32_t kind) {
  RemoveIf([kind](const TSysTimeManagerMsg& m) { return m.Kind != kind; });
}
void TSysTimeManager::RemoveForObject(uintptr_t ownerId) {
  RemoveIf([ownerId](const TSysTimeManagerMsg& m) { return m.OwnerId == ownerId; });
}

bool TSysTimeManager::FindByKind(int32_t kind, int& start, TSysTimeManagerMsg& out) {
  EnabledGuard guard(Enabled);
  if (start < 0) start = 0;
  for (size_t i = static_cast<size_t>(start); i < ActiveQueue.size(); ++i) {
    if (ActiveQueue[i]->Kind == kind) {
      out = *ActiveQueue[i];
      start = static_cast<int>(i) + 1;
      return true;
    }
  }
  return false;
}

bool TSysTimeManager::IsQueued(int32_t kind) const {
  for (const Queue* q : {&ActiveQueue, &IncomingQueue})
    for (const auto& m : *q)
      if (m->Kind == kind) return true;
  return false;
}

void TSysTimeManager::ClearActive() {
  Queue doomed;
  doomed.swap(ActiveQueue);
}

void TSysTimeManager::Dispatch() {
  const uint32_t now = Now();
  if (!Enabled) return;
  Enabled = false;

  for (size_t i = 0; i < ActiveQueue.size();) {
    TSysTimeManagerMsg* m = ActiveQueue[i].get();
    const int32_t age = static_cast<int32_t>(now - m->PostTime);
    if (static_cast<int64_t>(m->Delay) > age) {
      ++i;
      continue;
    }
    if (static_cast<int64_t>(m->LifeTime) <= age) {
      ActiveQueue.erase(ActiveQueue.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    // Deliver a copy: the handler may remove (and so free) the queued one.
    const TSysTimeManagerMsg copy = *m;
    const int32_t r = m->Receiver ? m->Receiver->HandleTimerMsg(this, copy) : kTimerMsgDone;
    if (r == kTimerMsgKeep) {
      // The handler may have removed earlier entries: find ours again.
      auto it = std::find_if(ActiveQueue.begin(), ActiveQueue.end(),
                             [m](const std::unique_ptr<TSysTimeManagerMsg>& p) { return p.get() == m; });
      i = it == ActiveQueue.end() ? std::min(i, ActiveQueue.size()) : static_cast<size_t>(it - ActiveQueue.begin()) + 1;
      continue;
    }
    if (r == kTimerMsgFlush) {
      Queue a, b;
      a.swap(ActiveQueue);
      b.swap(IncomingQueue);
      Enabled = true;
      return;
    }
    auto it = std::find_if(ActiveQueue.begin(), ActiveQueue.end(),
                           [m](const std::unique_ptr<TSysTimeManagerMsg>& p) { return p.get() == m; });
    if (it != ActiveQueue.end()) {
      i = static_cast<size_t>(it - ActiveQueue.begin());
      ActiveQueue.erase(it);
    } else {
      i = std::min(i, ActiveQueue.size());
    }
  }

  for (auto& m : IncomingQueue) InsertSorted(ActiveQueue, std::move(m));
  IncomingQueue.clear();
  Enabled = true;
}
