#include "actions/core/dispatch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
uint32_t g_now = 1000;
uint32_t SteppedClock() { return g_now; }

// What the family routines saw: "code@serial" in run order.
std::vector<std::string> g_runs;
// Lets a test routine act on the run (set flags, change the copy ...).
void (*g_onRun)(TActionRun&) = nullptr;

void RecordingFamily(TActionRun& run) {
  g_runs.push_back(std::to_string(static_cast<int16_t>(run.Action.Code)) + "@" + std::to_string(run.Serial));
  if (g_onRun) g_onRun(run);
}

TActionFamilyTable RecordingTable() {
  TActionFamilyTable t{};
  for (size_t i = 1; i < t.size(); ++i) t[i] = &RecordingFamily;
  return t;
}

// Stands in for the open project: receives the timed messages, handles
// kind 7 and kind 10 as the project does, and answers the dispatcher's
// questions about page objects from a fake set of media objects.
class TProjectStandIn : public TTimersFriend, public TActionHost {
public:
  explicit TProjectStandIn(TSysTimeManager& q) : Queue(q) {}

  int32_t HandleTimerMsg(TSysTimeManager* m, const TSysTimeManagerMsg& msg) override {
    Manager = m;
    if (msg.Kind == kRunActionMsg) {
      const TPendingRun r = RunPendingAction(nullptr, *this, static_cast<int32_t>(msg.OwnerId), Families);
      return r == TPendingRun::Waiting ? kTimerMsgKeep : kTimerMsgDone;
    }
    if (msg.Kind == kEndOfMediaMsg) RemovePendingActionsFor(nullptr, static_cast<uint32_t>(msg.Sender), 0);
    return kTimerMsgDone;
  }
  void PostToProject(TSysTimeManagerMsg& msg) override {
    msg.Receiver = this;
    Queue.PostMsg(msg);
  }
  uintptr_t ProjectOwner() override { return 0xB00C; }
  bool TargetReportsEndOfMedia(uint32_t target) override { return MediaObjects.count(target) != 0; }

  TSysTimeManager& Queue;
  std::set<uint32_t> MediaObjects;
  TActionFamilyTable Families = RecordingTable();
};

TActionStruct Action(int16_t code, uint8_t sequential = 0, uint32_t delay = 0, uint32_t target = 0) {
  TActionStruct a;
  a.Code = static_cast<uint16_t>(code);
  a.WaitFlag = sequential;
  a.Delay = delay;
  a.Target = target;
  return a;
}

class Dispatcher : public ::testing::Test {
protected:
  void SetUp() override {
    g_now = 1000;
    g_runs.clear();
    g_onRun = nullptr;
    TSysTimeManager::SetClock(&SteppedClock);
    CreatePendingActions();
    SetActionSerialCounter(100);
  }
  void TearDown() override {
    DeletePendingActions();
    TSysTimeManager::SetClock(nullptr);
    g_onRun = nullptr;
  }
  // Queues one call's actions as the objects do.
  std::vector<TActionLinks> Trigger(const std::vector<TActionStruct>& actions) {
    std::vector<const TActionStruct*> p;
    for (const auto& a : actions) p.push_back(&a);
    return QueueActionChain(q, &project, p, 1);
  }
  void Pass(uint32_t advance = 10) {
    g_now += advance;
    q.Dispatch();
  }
  // The end of a medium, as a media object reports it.
  void MediaEnds(uint32_t object) {
    TSysTimeManagerMsg m;
    m.Receiver = &project;
    m.Kind = kEndOfMediaMsg;
    m.Sender = object;
    q.PostMsg(m);
  }
  int Pending() const { return PendingActions()->GetItemsInContainer(); }
  using Runs = std::vector<std::string>;

  TSysTimeManager q;
  TProjectStandIn project{q};
};
}  // namespace

TEST(ActionFamilies, EveryTableCodeHasItsFamily) {
  int withFamily = 0;
  for (int code = -1000; code <= 1000; ++code)
    if (ActionFamilyOf(static_cast<int16_t>(code)) != TActionFamily::None) ++withFamily;
  EXPECT_EQ(withFamily, 79);  // -333 and 0..80 but 7, 19, 20
  struct Case {
    int16_t code;
    TActionFamily family;
  } cases[] = {
      {-333, TActionFamily::NavigationMedia}, {-1, TActionFamily::None},       {0, TActionFamily::NavigationMedia},
      {7, TActionFamily::None},               {12, TActionFamily::PageListHistory}, {19, TActionFamily::None},
      {20, TActionFamily::None},              {21, TActionFamily::PageListHistory}, {22, TActionFamily::DocumentPrint},
      {24, TActionFamily::NavigationMedia},   {37, TActionFamily::ObjectMessage},   {38, TActionFamily::NavigationMedia},
      {40, TActionFamily::ObjectMessage},     {56, TActionFamily::CopyInstall},     {57, TActionFamily::SlideShow},
      {70, TActionFamily::Browser},           {71, TActionFamily::ObjectMessage},   {77, TActionFamily::CopyInstall},
      {80, TActionFamily::ProgramDocument},   {81, TActionFamily::None},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionFamilyOf(c.code), c.family) << c.code;
}

TEST_F(Dispatcher, RunsTheFamilyOnItsOwnCopyThenDropsTheEntry) {
  // The routine removes the caller's record while it runs; the dispatcher
  // goes on with its copy.
  g_onRun = [](TActionRun& run) {
    RemovePendingAction(run.Book, run.Serial);
    run.Action.Value1 = 42;
  };
  const auto links = Trigger({Action(17)});
  const int32_t serial = links[0].Serial;
  DispatchActionCode(nullptr, project, *FindPendingAction(nullptr, serial), serial, project.Families);
  EXPECT_EQ(g_runs, (Runs{"17@100"}));
  EXPECT_EQ(Pending(), 0);

  // Codes without a family run nothing but the after-work.
  g_onRun = nullptr;
  for (int16_t code : {7, 19, 20, 81, -1}) {
    const int32_t s = Trigger({Action(code)})[0].Serial;
    DispatchActionCode(nullptr, project, *FindPendingAction(nullptr, s), s, project.Families);
    EXPECT_EQ(FindPendingActionKey(nullptr, s), nullptr) << code;
  }
  EXPECT_EQ(g_runs.size(), 1u);

  // Serial -1 (never queued, the media bar) removes nothing.
  Trigger({Action(17)});
  DispatchActionCode(nullptr, project, Action(1), -1, project.Families);
  EXPECT_EQ(Pending(), 1);
}

TEST_F(Dispatcher, ChainOfThreeWaitsRunsInOrder) {
  // The first action is due late; the two sequential ones behind it are due
  // at once but wait for their predecessors.
  Trigger({Action(17, 0, 100), Action(18, 1, 0), Action(39, 1, 0)});
  Pass();  // the messages become active
  Pass();
  Pass();
  EXPECT_TRUE(g_runs.empty());
  EXPECT_EQ(q.ActiveCount(), 3u);  // the waiting ones stay queued
  Pass(70);  // age 100
  EXPECT_EQ(g_runs, (Runs{"17@100", "18@101", "39@102"}));
  EXPECT_EQ(Pending(), 0);
  EXPECT_EQ(q.ActiveCount(), 0u);
}

TEST_F(Dispatcher, SequentialPlayHoldsItsChainUntilTheMediumEnds) {
  project.MediaObjects = {5};
  Trigger({Action(0, 1, 0, 5), Action(17, 1, 0), Action(18, 1, 0)});
  Pass();
  Pass();
  EXPECT_EQ(g_runs, (Runs{"0@100"}));
  EXPECT_NE(FindPendingActionKey(nullptr, 100), nullptr);  // stays until the end of its medium
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(g_runs.size(), 1u);

  MediaEnds(4);  // another object: changes nothing
  Pass();
  Pass();
  EXPECT_EQ(g_runs.size(), 1u);
  MediaEnds(5);
  Pass();
  Pass();  // the end arrives behind the waiting messages of this pass
  EXPECT_EQ(g_runs.size(), 1u);
  Pass();
  EXPECT_EQ(g_runs, (Runs{"0@100", "17@101", "18@102"}));
  EXPECT_EQ(Pending(), 0);
}

TEST_F(Dispatcher, PlayWithoutAReportingTargetReleasesItsChain) {
  project.MediaObjects = {5};
  // A target that is not on the page, and one (a picture, say) that never
  // reports an end: the play action does not keep its entry either way.
  for (uint32_t target : {9u, 6u}) {
    g_runs.clear();
    const auto links = Trigger({Action(0, 1, 0, target), Action(17, 1, 0)});
    Pass();
    Pass();
    EXPECT_EQ(g_runs, (Runs{"0@" + std::to_string(links[0].Serial), "17@" + std::to_string(links[1].Serial)}))
        << target;
    EXPECT_EQ(Pending(), 0) << target;
  }
  // A play action that is not sequential never keeps its entry.
  Trigger({Action(0, 0, 0, 5)});
  Pass();
  Pass();
  EXPECT_EQ(Pending(), 0);
}

TEST_F(Dispatcher, RepeatingActionIsQueuedAgainFromItsPendingCopy) {
  TActionStruct a = Action(24, 0, 0);
  a.Flags |= kActionRepeat;
  a.Value4 = 200;
  a.Value1 = 7;
  g_onRun = [](TActionRun& run) { run.Action.Value1 = 99; };
  Trigger({a});
  Pass();
  Pass();
  EXPECT_EQ(g_runs, (Runs{"24@100"}));
  ASSERT_EQ(Pending(), 1);
  const TActionKeyStruct* again = (*PendingActions())[0];
  EXPECT_EQ(again->Serial, 101);
  EXPECT_EQ(again->WaitFor, kNoSerial);
  EXPECT_EQ(again->Next, kNoSerial);
  EXPECT_EQ(again->Action->Owner, 0xB00Cu);  // the open project
  EXPECT_EQ(again->Action->Value1, 7u);      // not the routine's change

  Pass(190);  // 190 ms after the run: not yet
  EXPECT_EQ(g_runs.size(), 1u);
  SetRepeatInterval(nullptr, 500);  // governs the delays queued from the next run on
  Pass(10);
  EXPECT_EQ(g_runs, (Runs{"24@100", "24@101"}));
  Pass(490);
  EXPECT_EQ(g_runs.size(), 2u);
  Pass(10);
  EXPECT_EQ(g_runs, (Runs{"24@100", "24@101", "24@102"}));
}

TEST_F(Dispatcher, RunsThatAreNotRepeated) {
  auto repeating = [](int16_t code, uint8_t sequential, uint32_t target) {
    TActionStruct a = Action(code, sequential, 0, target);
    a.Flags |= kActionRepeat;
    return a;
  };
  project.MediaObjects = {5};

  // Serial -1: no pending copy to repeat.
  DispatchActionCode(nullptr, project, repeating(17, 0, 0), -1, project.Families);
  EXPECT_EQ(Pending(), 0);
  EXPECT_EQ(q.IncomingCount(), 0u);

  // A sequential play action that keeps its entry.
  Trigger({repeating(0, 1, 5)});
  Pass();
  Pass();
  EXPECT_EQ(Pending(), 1);
  FlushPendingActions();

  // A reload replaced the project: the dispatcher neither repeats nor
  // removes (the reload has emptied the list itself).
  g_onRun = [](TActionRun& run) { run.ProjectReplaced = true; };
  const int32_t reload = Trigger({repeating(21, 0, 0)})[0].Serial;
  DispatchActionCode(nullptr, project, *FindPendingAction(nullptr, reload), reload, project.Families);
  EXPECT_EQ(Pending(), 1);
  EXPECT_EQ(q.IncomingCount(), 1u);  // only the trigger's own message
  FlushPendingActions();
  q.Dispatch();

  // A page change flushed the list while the routine ran.
  g_onRun = [](TActionRun&) { FlushPendingActions(); };
  Trigger({repeating(11, 0, 0)});
  Pass();
  Pass();
  EXPECT_EQ(Pending(), 0);
  EXPECT_EQ(q.IncomingCount() + q.ActiveCount(), 0u);
}

TEST_F(Dispatcher, MessageWithoutPendingEntryRunsNothing) {
  const auto links = Trigger({Action(17, 0, 50), Action(18, 1, 50)});
  Pass();
  FlushPendingActions();  // a page change
  Pass(50);
  EXPECT_TRUE(g_runs.empty());
  EXPECT_EQ(q.ActiveCount(), 0u);  // both messages dropped
  EXPECT_EQ(RunPendingAction(nullptr, project, links[0].Serial, project.Families), TPendingRun::NotPending);
}
