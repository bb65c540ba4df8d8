#include <gtest/gtest.h>

#include "engine/core/history.h"
#include "engine/core/recordfields.h"

namespace {
int PageOf(THistoryStack& s) {
  TUndoStep* step = s.Current();
  return step && step->GetItemsInContainer() > 0 ? (*step)[0]->Page : -100;
}
}  // namespace

TEST(History, PushPopKeepsOrderAndDropsTheOldestWhenFull) {
  THistoryStack s;
  EXPECT_EQ(s.Index(), -1);
  EXPECT_EQ(s.Current(), nullptr);
  for (int page = 0; page < kHistoryDepth + 1; ++page) s.Push().Add(new TUndoActionInfo(kUndoPage, page, -1, -1));
  EXPECT_EQ(s.Index(), kHistoryDepth - 1) << "a full stack keeps 25 steps";
  EXPECT_EQ(s.Step(0)[0]->Page, 1) << "the oldest step went";
  for (int page = kHistoryDepth; page >= 1; --page) {
    EXPECT_EQ(PageOf(s), page);
    s.Pop();
  }
  EXPECT_EQ(s.Index(), -1);
  s.Pop();
  EXPECT_EQ(s.Index(), -1) << "popping an empty stack changes nothing";
}

TEST(History, StepWithSeveralEntriesMovesWhole) {
  THistoryStack s;
  for (int i = 0; i < kHistoryDepth; ++i) {
    TUndoStep& step = s.Push();
    step.Add(new TUndoActionInfo(kUndoPage, i, -1, -1));
    step.Add(new TUndoActionInfo(kUndoRecord, -1, 100 + i, -1));
  }
  s.Push();
  ASSERT_EQ(s.Step(0).GetItemsInContainer(), 2);
  EXPECT_EQ(s.Step(0)[1]->Record, 101);
  EXPECT_EQ(s.Current()->GetItemsInContainer(), 0) << "the new step is empty";
  s.Clear();
  EXPECT_EQ(s.Index(), -1);
  EXPECT_EQ(s.Step(3).GetItemsInContainer(), 0);
}

TEST(RecordFields, SkipsMissingColumnsAndStripsBlanks) {
  const std::vector<TFieldBinding> fields = {
      {"Name", 1}, {"Ort", kNoFieldColumn}, {"Zahl", 7}, {"Erst", 0}, {"Ueber", 2}};
  const std::vector<string> values = {"  a  ", " b", "c "};
  const auto out = BoundFieldValues(fields, values);
  // Only the first three fields count (three values); "Ort" has no column,
  // "Zahl" points past the values.
  ASSERT_EQ(out.size(), 1u);
  EXPECT_STREQ(out[0].first.c_str(), "Name");
  EXPECT_STREQ(out[0].second.c_str(), "b");
}
