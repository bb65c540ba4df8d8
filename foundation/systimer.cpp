#include "foundation/systimer.h"

#include <algorithm>

namespace {
uint32_t SystemMilliseconds() { return ::timeGetTime(); }
}  // namespace

TSystemTimer::TSystemTimer(uint32_t period, TSysTimeManager* manager, bool ownsManager)
    : Period(period), Manager(manager), OwnsManager(ownsManager) {
  UseSystemClock();
  Window = std::make_unique<TSystemTimerWnd>(this);
  // Without the window no tick could reach the main thread.
  if (!Window->Create()) Valid = false;
  if (Manager) Manager->SetTimer(this);
  BeginPeriod();
  Callback = &TSystemTimer::TimerProc;
}

TSystemTimer::~TSystemTimer() {
  // No callback runs after Stop, so none can see the timer half destroyed.
  Stop();
  if (OwnsManager) {
    delete Manager;
  } else if (Manager && Manager->Timer == this) {
    Manager->SetTimer(nullptr);
  }
  Manager = nullptr;
  Window.reset();
}

void TSystemTimer::UseSystemClock() { TSysTimeManager::SetClock(&SystemMilliseconds); }

bool TSystemTimer::BeginPeriod() {
  TIMECAPS caps;
  if (::timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) {
    Valid = false;
    return false;
  }
  Resolution = std::min<uint32_t>(std::max<uint32_t>(1, caps.wPeriodMin), caps.wPeriodMax);
  ::timeBeginPeriod(Resolution);
  return true;
}

bool TSystemTimer::Start() {
  if (!Valid) return false;
  TimerId = ::timeSetEvent(Period, Resolution, &TSystemTimer::TimerProc, reinterpret_cast<DWORD_PTR>(this),
                           TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  if (TimerId == 0) Valid = false;
  return Valid;
}

void TSystemTimer::Stop() {
  if (TimerId == 0 || !Valid) return;
  ::timeKillEvent(TimerId);
  TimerId = 0;
  ::timeEndPeriod(Resolution);
}

void CALLBACK TSystemTimer::TimerProc(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* timer = reinterpret_cast<TSystemTimer*>(user);
  if (!timer || timerId != timer->TimerId || timer->Busy) return;
  const HWND h = timer->Window ? timer->Window->GetHandle() : nullptr;
  if (h) ::PostMessageA(h, kSystemTimerTick, 0, 0);
}

DEFINE_RESPONSE_TABLE1(TSystemTimerWnd, TWindow)
  EV_MESSAGE(kSystemTimerTick, EvTimerTick),
END_RESPONSE_TABLE;

TSystemTimerWnd::TSystemTimerWnd(TSystemTimer* timer) : TWindow(nullptr, "TSystemTimerWindow", nullptr), Timer(timer) {
  Attr.Style = WS_POPUP;
  Attr.X = Attr.Y = Attr.W = Attr.H = 0;
}

TResult TSystemTimerWnd::EvTimerTick(TParam1, TParam2) {
  // Ticks still queued when the timer stopped are stale: a stopped timer
  // dispatches nothing.
  if (!Timer || !Timer->Manager || Timer->TimerId == 0) return 0;
  // A tick that arrives while a handler pumps messages finds the pass
  // running; it must not end the outer pass's busy state.
  const bool wasBusy = Timer->Busy.exchange(true);
  Timer->Manager->Dispatch();
  Timer->Busy = wasBusy;
  return 0;
}
