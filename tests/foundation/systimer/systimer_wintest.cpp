#include "wintest.h"

#include <cstring>
#include <functional>

#include "foundation/systimer.h"

namespace {

// Counts deliveries; keeps its message so that every pass delivers it once.
struct TCounter : TTimersFriend {
  int Delivered = 0;
  std::function<void()> OnMsg;
  int32_t HandleTimerMsg(TSysTimeManager* m, const TSysTimeManagerMsg&) override {
    Manager = m;
    ++Delivered;
    if (OnMsg) OnMsg();
    return kTimerMsgKeep;
  }
};

void PostKept(TSysTimeManager& q, TCounter& rx) {
  TSysTimeManagerMsg m;
  m.Receiver = &rx;
  m.Kind = 1;
  q.PostMsg(m);
}

int DrainTicks(HWND h) {
  int n = 0;
  MSG msg;
  while (PeekMessageA(&msg, h, kSystemTimerTick, kSystemTimerTick, PM_REMOVE)) ++n;
  return n;
}

}  // namespace

TEST(SystemTimer, HiddenWindowAndSystemClock) {
  TSystemTimer timer(10, new TSysTimeManager, true);
  ASSERT_NE(timer.Window, nullptr);
  const HWND h = timer.Window->GetHandle();
  ASSERT_TRUE(IsWindow(h));
  char title[64] = {};
  GetWindowTextA(h, title, sizeof title);
  EXPECT_STREQ(title, "TSystemTimerWindow");
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_POPUP, static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(timer.Manager->Timer, &timer);
  EXPECT_EQ(timer.Callback, &TSystemTimer::TimerProc);
  EXPECT_GE(timer.Resolution, 1u);
  // The queue now runs on timeGetTime.
  const uint32_t before = timeGetTime();
  const uint32_t now = TSysTimeManager::Now();
  EXPECT_LE(now - before, 50u);
}

TEST(SystemTimer, TicksAboutEveryTenMilliseconds) {
  auto* q = new TSysTimeManager;
  TSystemTimer timer(10, q, true);
  TCounter rx;
  PostKept(*q, rx);
  ASSERT_TRUE(timer.Start());
  EXPECT_NE(timer.TimerId, 0u);
  const DWORD t0 = GetTickCount();
  wintest::PumpFor(2000);
  const DWORD elapsed = GetTickCount() - t0;
  timer.Stop();
  EXPECT_EQ(timer.TimerId, 0u);
  // One pass per tick (the first one only makes the message active): about
  // 200 in two seconds; loose bounds for a busy machine.
  const int expected = static_cast<int>(elapsed / 10);
  EXPECT_GE(rx.Delivered, expected / 4) << "elapsed " << elapsed;
  EXPECT_LE(rx.Delivered, expected + expected / 2) << "elapsed " << elapsed;
  const int after = rx.Delivered;
  wintest::PumpFor(100);
  EXPECT_EQ(rx.Delivered, after);  // stopped: no more ticks
}

TEST(SystemTimer, TicksQueuedBeforeStopDispatchNothing) {
  // A busy machine leaves ticks in the queue; stopping the timer must still
  // end the passes at once.
  auto* q = new TSysTimeManager;
  TSystemTimer timer(10, q, true);
  TCounter rx;
  PostKept(*q, rx);
  ASSERT_TRUE(timer.Start());
  const HWND h = timer.Window->GetHandle();
  MSG msg;
  for (int i = 0; i < 200 && !PeekMessageA(&msg, h, kSystemTimerTick, kSystemTimerTick, PM_NOREMOVE); ++i) Sleep(10);
  ASSERT_TRUE(PeekMessageA(&msg, h, kSystemTimerTick, kSystemTimerTick, PM_NOREMOVE)) << "a tick is queued";
  Sleep(100);  // more ticks pile up behind it
  timer.Stop();
  wintest::PumpFor(100);
  EXPECT_EQ(rx.Delivered, 0);
}

TEST(SystemTimer, NoTicksWhenTheTimerCannotStart) {
  // A period the multimedia timer refuses, and a timer already invalid.
  for (int variant = 0; variant < 2; ++variant) {
    auto* q = new TSysTimeManager;
    TSystemTimer timer(variant == 0 ? 0 : 10, q, true);
    if (variant == 1) timer.Valid = false;
    TCounter rx;
    PostKept(*q, rx);
    EXPECT_FALSE(timer.Start()) << variant;
    EXPECT_FALSE(timer.Valid) << variant;
    EXPECT_EQ(timer.TimerId, 0u) << variant;
    wintest::PumpFor(300);
    EXPECT_EQ(rx.Delivered, 0) << variant;
    EXPECT_EQ(q->ActiveCount() + q->IncomingCount(), 1u) << variant;  // stays queued undelivered
  }
}

TEST(SystemTimer, CallbackPostsOnlyForItsOwnIdleTimer) {
  TSystemTimer timer(10, new TSysTimeManager, true);
  const HWND h = timer.Window->GetHandle();
  DrainTicks(h);
  struct Case {
    UINT id;
    bool busy;
    int posted;
  } cases[] = {{77, false, 1}, {78, false, 0}, {77, true, 0}, {78, true, 0}};
  timer.TimerId = 77;  // as if running, without a real event
  for (const Case& c : cases) {
    timer.Busy = c.busy;
    TSystemTimer::TimerProc(c.id, 0, reinterpret_cast<DWORD_PTR>(&timer), 0, 0);
    EXPECT_EQ(DrainTicks(h), c.posted) << c.id << " busy " << c.busy;
  }
  timer.Busy = false;
  timer.TimerId = 0;
}

TEST(SystemTimer, BusyDuringAPassAndNestedTicksDoNothing) {
  auto* q = new TSysTimeManager;
  TSystemTimer timer(10, q, true);
  const HWND h = timer.Window->GetHandle();
  TCounter rx;
  PostKept(*q, rx);
  ASSERT_TRUE(timer.Start());
  bool busyInside = false, busyAfterNested = false;
  int postedWhileBusy = -1, deliveredInside = 0;
  rx.OnMsg = [&] {
    if (postedWhileBusy >= 0) return;
    busyInside = timer.Busy;
    DrainTicks(h);
    Sleep(60);  // six periods
    postedWhileBusy = DrainTicks(h);
    // A tick handled while the pass runs (a handler that pumps) returns at once.
    deliveredInside = rx.Delivered;
    SendMessageA(h, kSystemTimerTick, 0, 0);
    deliveredInside = rx.Delivered - deliveredInside;
    busyAfterNested = timer.Busy;
  };
  wintest::PumpFor(300);
  timer.Stop();
  EXPECT_TRUE(busyInside);
  EXPECT_EQ(postedWhileBusy, 0);
  EXPECT_EQ(deliveredInside, 0);
  EXPECT_TRUE(busyAfterNested);
  EXPECT_FALSE(timer.Busy);
  EXPECT_GT(rx.Delivered, 1);  // ticks resumed after the slow pass
}

TEST(SystemTimer, ManagerNotOwnedOutlivesTheTimer) {
  TSysTimeManager q;
  TCounter rx;
  {
    TSystemTimer timer(10, &q, false);
    EXPECT_EQ(q.Timer, &timer);
  }
  EXPECT_EQ(q.Timer, nullptr);
  PostKept(q, rx);
  q.Dispatch();
  q.Dispatch();
  EXPECT_EQ(rx.Delivered, 1);
}
