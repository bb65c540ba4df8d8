#include "imaging/transition.h"

#include "foundation/resstring.h"
#include "platform/owl/applicat.h"
#include "platform/owl/uiservice.h"
#include "platform/owl/window.h"
#include "resources/ids_foundation.h"

// Paints the pattern's shapes into the effect's contexts.
class TTransition::TCanvas : public tsl::TransitionCanvas {
public:
  explicit TCanvas(TTransition& effect) : Effect(effect) {}

  void PaintRect(const tsl::TransitionRect& r) override {
    Effect.ScreenContext->BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, *Effect.MemoryContext, r.left,
                                 r.top, Effect.PaintMode ? BLACKNESS : SRCCOPY);
  }
  void FillBlack(const tsl::TransitionRect& r) override {
    Effect.ScreenContext->FillRect(TRect(r.left, r.top, r.right, r.bottom), Effect.BlackBrush);
  }
  void PenLine(tsl::TransitionPoint from, tsl::TransitionPoint to) override {
    TDC& dc = *Effect.ScreenContext;
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
    // LineTo leaves the end point out; at the rectangle's far edges no
    // later line starts there.
    ::SetPixelV(dc, to.x, to.y, RGB(0, 0, 0));
  }
  void Disc(const tsl::TransitionRect& r) override {
    TDC& dc = *Effect.ScreenContext;
    dc.SelectObject(Effect.BlackBrush);
    dc.Ellipse(r.left, r.top, r.right, r.bottom);
  }

private:
  TTransition& Effect;
};

TTransition::TTransition(TWindow* owner, const TRect& area, bool ownerDriven)
    : Owner(owner),
      OwnerDriven(ownerDriven ? 1 : 0),
      SnapshotRect(area),
      EffectRect(area),
      BlackPen(TColor(0, 0, 0), 1, PS_SOLID),
      BlackBrush(TColor(0, 0, 0)) {
  Init(nullptr);
}

TTransition::TTransition(TWindow* owner, const TRect& area, bool ownerDriven, HDC target)
    : Owner(owner),
      OwnerDriven(ownerDriven ? 1 : 0),
      SnapshotRect(area),
      EffectRect(area),
      BlackPen(TColor(0, 0, 0), 1, PS_SOLID),
      BlackBrush(TColor(0, 0, 0)) {
  Init(target);
}

void TTransition::Init(HDC target) {
  if (target)
    ScreenContext = std::make_unique<TDC>(target);
  else
    ScreenContext = std::make_unique<TScreenDC>();
  MemoryContext = std::make_unique<TMemoryDC>(*ScreenContext);
  TakeSnapshot();
}

TTransition::~TTransition() {
  Stop();
  ReleaseSnapshot();
  MemoryContext.reset();
  ScreenContext.reset();
}

void TTransition::TakeSnapshot() {
  ReleaseSnapshot();
  // The screen's size; another target's is that of its bitmap.
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  if (GetObjectType(*ScreenContext) == OBJ_MEMDC) {
    BITMAP bm{};
    if (::GetObjectA(::GetCurrentObject(*ScreenContext, OBJ_BITMAP), sizeof bm, &bm)) cx = bm.bmWidth, cy = bm.bmHeight;
  }
  Snapshot = std::make_unique<TBitmap>(*ScreenContext, cx, cy);
  MemoryContext->SelectObject(*Snapshot);
  MemoryContext->BitBlt(SnapshotRect, *ScreenContext, SnapshotRect.TopLeft(), SRCCOPY);
  SnapshotHeld = 1;
}

void TTransition::ReleaseSnapshot() {
  if (!SnapshotHeld) return;
  SnapshotHeld = 0;
  MemoryContext->RestoreBitmap();
  Snapshot.reset();
}

void TTransition::StartBlackout(uint32_t kind, uint32_t duration) { Start(kind, duration, 1); }

void TTransition::StartReveal(uint32_t kind, uint32_t duration) { Start(kind, duration, 0); }

void TTransition::Start(uint32_t kind, uint32_t duration, uint32_t paintMode) {
  if (Running) Stop();
  StepCount = SetKind(kind);
  Interval = duration / StepCount;
  PaintMode = paintMode;
  StartTimer();
}

uint32_t TTransition::SetKind(uint32_t kind) {
  const uint32_t steps =
      Pattern.SetKind(kind, tsl::TransitionRect{EffectRect.left, EffectRect.top, EffectRect.right, EffectRect.bottom});
  StepNo = 0;
  ScreenContext->SelectObject(BlackPen);
  return steps;
}

void TTransition::StartTimer() {
  if (Interval < tsl::kTransitionMinInterval) Interval = tsl::kTransitionMinInterval;
  if (!OwnerDriven) {
    // A timer without the owner's window would reach nobody.
    if (!Owner || !Owner->GetHandle() || !Owner->SetTimer(kTimerId, Interval)) {
      const TResString text = LoadResString(IDS_NO_TIMER);
      if (Owner) {
        Owner->MessageBox(text, nullptr, MB_OK);
      } else {
        const TApplication* app = TApplication::GetApplicationObject();
        UiMessageBox(nullptr, text, app && app->GetName() ? app->GetName() : "", MB_OK);
      }
      return;
    }
  }
  Running = 1;
  Guard = 1;
}

void TTransition::OnTimer(int timerId) {
  if (timerId == static_cast<int>(kTimerId) || OwnerDriven) Step();
}

void TTransition::Step() {
  // A stopped effect has no step left; a late WM_TIMER paints nothing.
  if (!Running || Guard != 1) return;
  Guard = 0;
  if (StepNo == 0) Pattern.SetSeed(GetTickCount());
  TCanvas canvas(*this);
  Pattern.Step(StepNo, canvas);
  // The worker sleeps next: let the step show now.
  GdiFlush();
  ++StepNo;
  if (StepNo >= StepCount) Stop();
  Guard = 1;
}

void TTransition::Stop() {
  if (!OwnerDriven && Running && Owner && Owner->GetHandle()) Owner->KillTimer(kTimerId);
  if (ScreenContext) ScreenContext->RestoreObjects();
  Running = 0;
}
