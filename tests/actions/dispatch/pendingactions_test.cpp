#include "engine/core/actionqueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
uint32_t g_pendingNow = 5000;
uint32_t PendingClock() { return g_pendingNow; }

TActionStruct PendingAction(uint16_t code, uint32_t target = 0, uint8_t sequential = 0, uint32_t delay = 0) {
  TActionStruct a;
  a.Code = code;
  a.Target = target;
  a.WaitFlag = sequential;
  a.Delay = delay;
  return a;
}

class PendingList : public ::testing::Test {
protected:
  void SetUp() override {
    g_pendingNow = 5000;
    TSysTimeManager::SetClock(&PendingClock);
    CreatePendingActions();
    SetActionSerialCounter(0);
  }
  void TearDown() override {
    DeletePendingActions();
    TSysTimeManager::SetClock(nullptr);
  }
  // Adds an entry directly, as a caller that built its own links would.
  void Put(const TActionStruct& a, int32_t serial, int32_t waitFor = kNoSerial, int32_t next = kNoSerial) {
    ASSERT_TRUE(AddPendingAction(
        std::make_unique<TActionKeyStruct>(std::make_unique<TActionStruct>(a), serial, waitFor, next)));
  }
  int Count() const { return PendingActions()->GetItemsInContainer(); }
};
}  // namespace

TEST_F(PendingList, SerialCounterWrapsBeforeItsLimit) {
  struct Case {
    int32_t counter;
    int32_t drawn;
    int32_t peekAfter;
  } cases[] = {
      {0, 0, 1},
      {0x7FFFFFFC, 0x7FFFFFFC, 0x7FFFFFFD},
      {0x7FFFFFFD, 0x7FFFFFFD, 0},  // 0x7FFFFFFE is never handed out
      {0x7FFFFFFE, 0, 1},
      {0x7FFFFFFF, 0, 1},
  };
  for (const Case& c : cases) {
    SetActionSerialCounter(c.counter);
    EXPECT_EQ(PeekActionSerial(), c.drawn) << c.counter;
    EXPECT_EQ(DrawActionSerial(), c.drawn) << c.counter;
    EXPECT_EQ(PeekActionSerial(), c.peekAfter) << c.counter;
  }
}

TEST_F(PendingList, ChainLinksAcrossTheWrap) {
  SetActionSerialCounter(0x7FFFFFFC);
  TActionSerialChain chain;
  const TActionLinks a = chain.Draw(true), b = chain.Draw(true), c = chain.Draw(false);
  EXPECT_EQ(a.Serial, 0x7FFFFFFC);
  EXPECT_EQ(a.WaitFor, kNoSerial);
  EXPECT_EQ(a.Next, 0x7FFFFFFD);
  EXPECT_EQ(b.Serial, 0x7FFFFFFD);
  EXPECT_EQ(b.WaitFor, 0x7FFFFFFC);
  EXPECT_EQ(b.Next, 0);  // the serial the next action really gets, not serial + 1
  EXPECT_EQ(c.Serial, 0);
  EXPECT_EQ(c.WaitFor, 0x7FFFFFFD);
  EXPECT_EQ(c.Next, kNoSerial);
  TActionSerialChain other;  // a new call starts a new chain
  EXPECT_EQ(other.Draw(false).WaitFor, kNoSerial);
}

TEST_F(PendingList, QueueActionChainCopiesLinksAndPosts) {
  TSysTimeManager manager;
  TTimersFriend receiver;
  TActionStruct first = PendingAction(11, 0, 0, 300), second = PendingAction(17, 4, 1, 0);
  SetActionSerialCounter(40);
  // Null stands for an action of the list that is not enabled for this call.
  const auto links = QueueActionChain(manager, &receiver, {&first, nullptr, &second, nullptr}, 0xAB);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].Serial, 40);
  EXPECT_EQ(links[0].Next, 41);
  EXPECT_EQ(links[1].WaitFor, 40);
  EXPECT_EQ(links[1].Next, kNoSerial);
  EXPECT_EQ(first.Owner, 0u);  // the caller's actions stay as they were

  const TActionKeyStruct* k = FindPendingActionKey(nullptr, 41);
  ASSERT_NE(k, nullptr);
  ASSERT_NE(k->Action, nullptr);
  EXPECT_EQ(k->Action->Code, 17);
  EXPECT_EQ(k->Action->Owner, 0xABu);
  EXPECT_NE(k->Action.get(), &second);

  EXPECT_EQ(manager.IncomingCount(), 2u);
  manager.Dispatch();  // merges the posted messages into the active queue
  TSysTimeManagerMsg msg;
  int start = 0;
  std::vector<std::pair<uintptr_t, uint32_t>> posted;  // serial, delay
  while (manager.FindByKind(kRunActionMsg, start, msg)) {
    EXPECT_EQ(msg.Receiver, &receiver);
    EXPECT_EQ(msg.LifeTime, kActionMsgLifeTime);
    posted.emplace_back(msg.OwnerId, msg.Delay);
  }
  EXPECT_EQ(posted, (std::vector<std::pair<uintptr_t, uint32_t>>{{40, 300}, {41, 0}}));
}

TEST_F(PendingList, LookupsAndRemovalsBySerial) {
  for (int32_t s : {30, 10, 20}) Put(PendingAction(0, 7), s);
  Put(PendingAction(1, 7), 5);
  Put(PendingAction(0, 8), 2);
  ASSERT_EQ(Count(), 5);
  // Sorted by serial, whatever the order of addition.
  std::vector<int32_t> order;
  for (TActionKeyStruct* k : *PendingActions()) order.push_back(k->Serial);
  EXPECT_EQ(order, (std::vector<int32_t>{2, 5, 10, 20, 30}));

  EXPECT_EQ(FindPendingAction(nullptr, 15), nullptr);
  EXPECT_EQ(FindPendingAction(nullptr, 5)->Code, 1);
  RemovePendingAction(nullptr, 15);  // absent: nothing
  EXPECT_EQ(Count(), 5);

  // The first match in serial order, and only it; code and target must both match.
  RemovePendingActionsFor(nullptr, 7, 0);
  EXPECT_EQ(FindPendingActionKey(nullptr, 10), nullptr);
  EXPECT_NE(FindPendingActionKey(nullptr, 20), nullptr);
  EXPECT_NE(FindPendingActionKey(nullptr, 5), nullptr);
  RemovePendingActionsFor(nullptr, 9, 0);
  EXPECT_EQ(Count(), 4);

  RemovePendingAction(nullptr, 20);
  RemovePendingAction(nullptr, 20);  // a second removal finds nothing
  EXPECT_EQ(Count(), 3);
  FlushPendingActions();
  EXPECT_EQ(Count(), 0);
}

TEST_F(PendingList, WithoutAListNothingIsPending) {
  DeletePendingActions();
  EXPECT_FALSE(AddPendingAction(std::make_unique<TActionKeyStruct>(std::make_unique<TActionStruct>(), 1, -1, -1)));
  EXPECT_EQ(FindPendingAction(nullptr, 1), nullptr);
  RemovePendingAction(nullptr, 1);
  RemovePendingActionsFor(nullptr, 0, 0);
  SetRepeatInterval(nullptr, 10);
  EXPECT_EQ(CollectChainedActions(nullptr, 1), nullptr);
  TSysTimeManager manager;
  EXPECT_FALSE(QueuePendingAction(manager, nullptr, std::make_unique<TActionStruct>(), {3, -1, -1}));
  EXPECT_EQ(manager.IncomingCount(), 0u);  // nothing posted for a refused entry
}

TEST_F(PendingList, SetRepeatIntervalTakesTheFirstRepeatingDatabaseAction) {
  TActionStruct plain = PendingAction(24), repeating = PendingAction(24), other = PendingAction(10);
  repeating.Flags |= kActionRepeat;
  other.Flags |= kActionRepeat;
  Put(other, 1);
  Put(plain, 2);
  Put(repeating, 3);
  Put(repeating, 4);
  SetRepeatInterval(nullptr, 250);
  EXPECT_EQ(FindPendingAction(nullptr, 1)->Value4, 1000u);
  EXPECT_EQ(FindPendingAction(nullptr, 2)->Value4, 1000u);
  EXPECT_EQ(FindPendingAction(nullptr, 3)->Value4, 250u);
  EXPECT_EQ(FindPendingAction(nullptr, 4)->Value4, 1000u);
}

TEST_F(PendingList, CollectChainedActionsFollowsPageChangers) {
  // 1 (page change) -> 2 -> 3 -> 9 (not pending); 4 (program) -> 5.
  Put(PendingAction(11), 1, -1, 2);
  Put(PendingAction(17, 3), 2, 1, 3);
  Put(PendingAction(18, 3), 3, 2, 9);
  Put(PendingAction(13), 4, -1, 5);
  Put(PendingAction(17), 5, 4, -1);
  Put(PendingAction(29), 6, -1, -1);
  ASSERT_TRUE(AddPendingAction(std::make_unique<TActionKeyStruct>(nullptr, 7, -1, 2)));  // no action

  auto chain = CollectChainedActions(nullptr, 1);
  ASSERT_NE(chain, nullptr);
  ASSERT_EQ(chain->GetItemsInContainer(), 2);
  const TActionKeyStruct* c = (*chain)[1];
  EXPECT_EQ(c->Serial, 3);
  EXPECT_EQ(c->WaitFor, 2);
  EXPECT_EQ(c->Next, 9);
  ASSERT_NE(c->Action, nullptr);
  EXPECT_EQ(c->Action->Code, 18);
  EXPECT_NE(c->Action.get(), FindPendingAction(nullptr, 3));  // copies; the entries stay
  EXPECT_EQ(Count(), 7);

  for (int32_t serial : {4, 6, 7, 99}) EXPECT_EQ(CollectChainedActions(nullptr, serial), nullptr) << serial;
}

TEST_F(PendingList, ChainedActionsWithALoopEnd) {
  Put(PendingAction(10), 1, -1, 2);
  Put(PendingAction(17), 2, 1, 3);
  Put(PendingAction(17), 3, 2, 2);  // points back
  auto chain = CollectChainedActions(nullptr, 1);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->GetItemsInContainer(), 2);
}
