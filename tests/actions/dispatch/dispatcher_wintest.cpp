#define NOMINMAX  // the containers use std::min and std::max
#include "wintest.h"

#include "actions/dispatcher.h"

namespace {
class DispatcherWin : public ::testing::Test {
protected:
  void SetUp() override {
    CreatePendingActions();
    SetActionSerialCounter(0);
  }
  void TearDown() override { DeletePendingActions(); }
  int32_t Put(uint16_t code, uint8_t sequential, int32_t waitFor) {
    TActionLinks links;
    links.Serial = DrawActionSerial();
    links.WaitFor = waitFor;
    auto a = std::make_unique<TActionStruct>();
    a->Code = code;
    a->WaitFlag = sequential;
    AddPendingAction(std::make_unique<TActionKeyStruct>(std::move(a), links.Serial, links.WaitFor, links.Next));
    return links.Serial;
  }
};
}  // namespace

TEST_F(DispatcherWin, PlayerEntriesRunAndDropPendingActions) {
  const int32_t first = Put(19, 0, kNoSerial);
  const int32_t second = Put(20, 1, first);
  EXPECT_EQ(ExecutePendingAction(nullptr, second), TPendingRun::Waiting);
  ExecuteActionCode(nullptr, *FindPendingAction(nullptr, first), first);
  EXPECT_EQ(FindPendingActionKey(nullptr, first), nullptr);
  EXPECT_EQ(ExecutePendingAction(nullptr, second), TPendingRun::Ran);
  EXPECT_EQ(ExecutePendingAction(nullptr, second), TPendingRun::NotPending);
  EXPECT_EQ(PendingActions()->GetItemsInContainer(), 0);
}
