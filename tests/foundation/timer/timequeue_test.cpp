#include "foundation/core/timer/timequeue.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
uint32_t g_now = 1000;
uint32_t SteppedClock() { return g_now; }

// A receiver whose handler the test scripts per message.
struct Recorder : TTimersFriend {
  std::vector<int32_t> delivered;  // kinds, in delivery order
  std::function<int32_t(TSysTimeManager*, const TSysTimeManagerMsg&)> onMsg;
  int32_t HandleTimerMsg(TSysTimeManager* m, const TSysTimeManagerMsg& msg) override {
    delivered.push_back(msg.Kind);
    return onMsg ? onMsg(m, msg) : kTimerMsgDone;
  }
};

class TimeQueue : public ::testing::Test {
protected:
  void SetUp() override {
    g_now = 1000;
    TSysTimeManager::SetClock(&SteppedClock);
  }
  void TearDown() override { TSysTimeManager::SetClock(nullptr); }
  TSysTimeManagerMsg Msg(int32_t kind, uint32_t delay = 0, uint32_t life = 600000) {
    TSysTimeManagerMsg m;
    m.Receiver = &rx;
    m.Kind = kind;
    m.Delay = delay;
    m.LifeTime = life;
    return m;
  }
  void Pass(uint32_t advance = 10) {
    g_now += advance;
    q.Dispatch();
  }
  TSysTimeManager q;
  Recorder rx;
};
}  // namespace

TEST_F(TimeQueue, DelayLifetimeAndOrder) {
  auto a = Msg(1), b = Msg(2, 500), c = Msg(3, 100, 100), d = Msg(4, 0, 0);
  q.PostMsg(a);
  EXPECT_EQ(a.PostTime, 1000u);  // the caller's record is stamped too
  q.PostMsg(b);
  q.PostMsg(c);
  q.PostMsg(d);
  q.Dispatch();  // posted messages only become active at the end of a pass
  EXPECT_TRUE(rx.delivered.empty());
  EXPECT_EQ(q.ActiveCount(), 4u);
  Pass(10);
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{1}));  // d: lifetime <= age, dropped
  Pass(480);  // age 490
  EXPECT_EQ(rx.delivered.size(), 1u);  // c: lifetime not above delay, never delivered
  EXPECT_EQ(q.ActiveCount(), 1u);
  Pass(10);  // age 500
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(q.ActiveCount(), 0u);
}

TEST_F(TimeQueue, EqualPostTimesKeepPostingOrderAndPriorityComesFirst) {
  for (int k = 10; k < 15; ++k) {
    auto m = Msg(k);
    q.PostMsg(m);
  }
  auto urgent = Msg(99);
  urgent.Priority = -1;
  q.PostMsg(urgent);
  q.Dispatch();
  Pass();
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{99, 10, 11, 12, 13, 14}));
}

TEST_F(TimeQueue, HandlerResults) {
  int keeps = 0;
  rx.onMsg = [&](TSysTimeManager* m, const TSysTimeManagerMsg& msg) -> int32_t {
    if (msg.Kind == 1) return ++keeps < 3 ? kTimerMsgKeep : kTimerMsgDone;
    if (msg.Kind == 2) {  // posts during the pass, then flushes everything
      auto late = Msg(3);
      m->PostMsg(late);
      return kTimerMsgFlush;
    }
    return kTimerMsgDone;
  };
  auto one = Msg(1);
  q.PostMsg(one);
  q.Dispatch();
  Pass();
  Pass();
  Pass();
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{1, 1, 1}));
  EXPECT_EQ(q.ActiveCount(), 0u);

  auto two = Msg(2), other = Msg(4, 1000);
  q.PostMsg(two);
  q.PostMsg(other);
  q.Dispatch();
  Pass();
  EXPECT_EQ(q.ActiveCount(), 0u);
  EXPECT_EQ(q.IncomingCount(), 0u);  // also what the handler posted
}

TEST_F(TimeQueue, KeptMessageIsDroppedWhenItsLifetimeEnds) {
  rx.onMsg = [](TSysTimeManager*, const TSysTimeManagerMsg&) { return kTimerMsgKeep; };
  auto m = Msg(1, 0, 50);
  q.PostMsg(m);
  q.Dispatch();
  for (int i = 0; i < 10; ++i) Pass();
  EXPECT_EQ(rx.delivered.size(), 4u);  // ages 10..40
  EXPECT_EQ(q.ActiveCount(), 0u);
}

TEST_F(TimeQueue, HandlerMayRemoveTheMessageBeingDelivered) {
  // A page change inside the handler removes all but the tick, including the
  // message being delivered; the pass must go on safely.
  rx.onMsg = [](TSysTimeManager* m, const TSysTimeManagerMsg& msg) {
    if (msg.Kind == 7) m->RemoveAllButKind(0);
    return kTimerMsgDone;
  };
  for (int k : {0, 7, 5, 6}) {
    auto m = Msg(k);
    q.PostMsg(m);
  }
  q.Dispatch();
  Pass();
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{0, 7}));
  EXPECT_EQ(q.ActiveCount(), 0u);  // the tick was delivered; 5 and 6 removed
}

TEST_F(TimeQueue, RemovalsAndFindSeeTheActiveQueueOnly) {
  for (int k : {0, 1, 2, 0, 3}) {
    auto m = Msg(k, 1000);
    m.OwnerId = static_cast<uintptr_t>(k * 100);
    q.PostMsg(m);
  }
  q.Dispatch();
  auto pending = Msg(5, 1000);
  q.PostMsg(pending);  // still incoming

  int start = -5;
  TSysTimeManagerMsg found;
  ASSERT_TRUE(q.FindByKind(0, start, found));
  EXPECT_EQ(start, 1);
  ASSERT_TRUE(q.FindByKind(0, start, found));
  EXPECT_EQ(start, 4);
  EXPECT_FALSE(q.FindByKind(0, start, found));
  start = 0;
  EXPECT_FALSE(q.FindByKind(5, start, found));

  q.RemoveForObject(200);
  EXPECT_EQ(q.ActiveCount(), 4u);
  q.RemoveAllButKind(0);
  EXPECT_EQ(q.ActiveCount(), 2u);
  EXPECT_EQ(q.IncomingCount(), 1u);
  EXPECT_TRUE(q.Enabled);
  q.RemoveReceiver(&rx);
  EXPECT_EQ(q.ActiveCount(), 0u);
}

TEST_F(TimeQueue, IsQueuedSeesBothQueues) {
  // A tick that re-posts itself during a pass sits in the incoming queue,
  // where FindByKind does not look; a page change in the same pass must not
  // take it for missing.
  rx.onMsg = [](TSysTimeManager* m, const TSysTimeManagerMsg& msg) {
    if (msg.Kind == 0) {
      TSysTimeManagerMsg again = msg;
      m->PostMsg(again);
    } else {
      int start = 0;
      TSysTimeManagerMsg found;
      EXPECT_FALSE(m->FindByKind(0, start, found));
      EXPECT_TRUE(m->IsQueued(0));
      EXPECT_FALSE(m->IsQueued(7));
    }
    return kTimerMsgDone;
  };
  EXPECT_FALSE(q.IsQueued(0));
  auto tick = Msg(0), change = Msg(3);
  q.PostMsg(tick);
  EXPECT_TRUE(q.IsQueued(0)) << "posted, still incoming";
  g_now += 1;
  q.PostMsg(change);
  q.Dispatch();
  Pass();
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{0, 3}));
  EXPECT_TRUE(q.IsQueued(0));
  q.RemoveReceiver(&rx);
  q.Dispatch();
  q.RemoveReceiver(&rx);
  EXPECT_FALSE(q.IsQueued(0));
}

TEST_F(TimeQueue, NestedDispatchIsANoOp) {
  int nested = 0;
  rx.onMsg = [&](TSysTimeManager* m, const TSysTimeManagerMsg& msg) {
    if (msg.Kind == 1) {
      m->Dispatch();  // e.g. a handler pumping messages
      ++nested;
    }
    return kTimerMsgDone;
  };
  auto a = Msg(1), b = Msg(2);
  q.PostMsg(a);
  q.PostMsg(b);
  q.Dispatch();
  Pass();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(rx.delivered, (std::vector<int32_t>{1, 2}));
}

TEST_F(TimeQueue, RegisteredReceiverTakesItsMessagesWithIt) {
  auto other = std::make_unique<Recorder>();
  other->Registered = true;
  TSysTimeManagerMsg m;
  m.Receiver = other.get();
  m.Kind = 1;
  m.Delay = 100;
  q.PostMsg(m);
  q.Dispatch();
  EXPECT_EQ(q.ActiveCount(), 1u);
  other.reset();
  EXPECT_EQ(q.ActiveCount(), 0u);
}

TEST_F(TimeQueue, ClockWrapAround) {
  g_now = 0xFFFFFFF0u;
  auto m = Msg(1, 20);
  q.PostMsg(m);
  q.Dispatch();
  Pass(15);
  EXPECT_TRUE(rx.delivered.empty());
  Pass(10);  // wrapped past zero, age 25
  EXPECT_EQ(rx.delivered.size(), 1u);
}
