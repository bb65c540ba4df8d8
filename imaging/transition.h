// The block transition effect of page changes and slide shows: over a
// duration it paints a screen rectangle, step by step in one of 23 block
// patterns, black or back from a snapshot taken when it was made.
//
// It paints through its own device contexts, never through a window's
// paint cycle, so an owner-driven effect can be stepped on a worker thread
// while the main thread waits for it: a step sends no message to any
// window. Window-timer mode (timer 1234 on the owner's window) is for an
// owner on the main thread that hands WM_TIMER to OnTimer.
//
//   TTransition effect(pageWindow, screenRect, true);
//   effect.StartBlackout(kind, duration);
//   for (;;) {
//     effect.OnTimer(0);
//     if (!effect.IsRunning()) break;
//     SleepEx(effect.GetInterval(), FALSE);
//   }
//
// Only one effect runs at a time.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "imaging/core/transition.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"

class TWindow;

class TTransition {
public:
  static const uint kTimerId = 1234;

  // Takes a snapshot of `area` (screen coordinates) from the screen. With
  // ownerDriven the owner steps the effect and no window timer is set.
  TTransition(TWindow* owner, const TRect& area, bool ownerDriven);
  // The same on another device context (kept alive by the caller for the
  // effect's life) in place of the screen.
  TTransition(TWindow* owner, const TRect& area, bool ownerDriven, HDC target);
  // Stops a running effect.
  virtual ~TTransition();
  TTransition(const TTransition&) = delete;
  TTransition& operator=(const TTransition&) = delete;

  // Starts painting black (a running effect is stopped first): the kind's
  // steps at duration / steps ms, at least 55. In window-timer mode a timer
  // that cannot be set is reported in a message box of the owner's window
  // and the effect does not run.
  void StartBlackout(uint32_t kind, uint32_t duration);
  // The same, copying the snapshot back (kinds 1, 22 and 23 still paint
  // black).
  void StartReveal(uint32_t kind, uint32_t duration);
  // One step when the id is 1234 or the effect is owner-driven.
  virtual void OnTimer(int timerId);
  // Ends the effect: kills the window timer, puts back what the effect
  // selected into its context.
  void Stop();

  // What the owners read between steps.
  bool IsRunning() const { return Running != 0; }
  uint32_t GetInterval() const { return Interval; }
  uint32_t GetStepCount() const { return StepCount; }
  uint32_t GetStep() const { return StepNo; }
  uint32_t GetKindIndex() const { return Pattern.KindIndex(); }

private:
  class TCanvas;

  void Init(HDC target);
  void Start(uint32_t kind, uint32_t duration, uint32_t paintMode);
  uint32_t SetKind(uint32_t kind);
  void StartTimer();
  void Step();
  void TakeSnapshot();
  void ReleaseSnapshot();

  TWindow* Owner;
  uint32_t Interval = 0;
  uint32_t StepNo = 0;
  uint32_t OwnerDriven;
  uint32_t Guard = 1;
  uint32_t Running = 0;
  uint32_t SnapshotHeld = 0;
  uint32_t StepCount = 0;
  TRect SnapshotRect;
  TRect EffectRect;
  uint32_t PaintMode = 1;
  // Declared before the contexts, which put them back when destroyed.
  TPen BlackPen;
  TBrush BlackBrush;
  std::unique_ptr<TBitmap> Snapshot;
  std::unique_ptr<TDC> ScreenContext;
  std::unique_ptr<TMemoryDC> MemoryContext;
  tsl::TransitionPattern Pattern;
};
