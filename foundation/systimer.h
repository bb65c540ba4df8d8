// The periodic multimedia timer that drives the timed-message queue. Its
// callback runs on the timer's own thread and only posts a tick (message
// 1025) to a hidden window; the window's handler runs the queue's delivery
// pass in the main thread.
#pragma once
#include "platform/owl/window.h"

#include <atomic>
#include <cstdint>
#include <memory>

#include "foundation/core/timer/timequeue.h"

// The tick the timer posts to its window.
constexpr uint kSystemTimerTick = WM_USER + 1;

class TSystemTimerWnd;

class TSystemTimer {
public:
  // Makes the hidden window, hooks itself into `manager` and asks for the
  // timer resolution; Start starts the ticks. With `ownsManager` the timer
  // deletes the manager.
  TSystemTimer(uint32_t period, TSysTimeManager* manager, bool ownsManager);
  virtual ~TSystemTimer();
  TSystemTimer(const TSystemTimer&) = delete;
  TSystemTimer& operator=(const TSystemTimer&) = delete;

  // Sets the timer resolution: 1 ms, kept within the device's range. False
  // (and the timer invalid) when the device cannot be asked.
  bool BeginPeriod();
  // Starts the periodic event; false when the timer is invalid or the event
  // could not be set.
  bool Start();
  void Stop();

  // The multimedia-timer callback; the user data is the timer.
  static void CALLBACK TimerProc(UINT timerId, UINT msg, DWORD_PTR user, DWORD_PTR reserved1, DWORD_PTR reserved2);
  // Makes the time managers read the system's millisecond clock, the one the
  // ticks run on. Whoever posts timed messages before a timer exists calls
  // it first: a message stamped on another clock would wait the two clocks'
  // difference on top of its delay.
  static void UseSystemClock();

  uint32_t Resolution = 1;
  bool Valid = true;
  std::atomic<uint32_t> TimerId{0};  // read by the timer thread
  uint32_t Period;
  TSysTimeManager* Manager;
  LPTIMECALLBACK Callback = nullptr;
  std::atomic<bool> Busy{false};  // a delivery pass runs: the callback posts nothing
  std::unique_ptr<TSystemTimerWnd> Window;
  bool OwnsManager;
};

// The hidden window that takes the ticks into the main thread.
class TSystemTimerWnd : public TWindow {
public:
  explicit TSystemTimerWnd(TSystemTimer* timer);

  // One delivery pass of the timer's queue.
  TResult EvTimerTick(TParam1, TParam2);

  TSystemTimer* Timer;

  DECLARE_RESPONSE_TABLE(TSystemTimerWnd);
};
