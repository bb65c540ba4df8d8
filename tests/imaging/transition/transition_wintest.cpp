#include "wintest.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "imaging/transition.h"
#include "platform/owl/owl.h"
#include "platform/owl/thread.h"
#include "platform/owl/uiscript.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// A 32-bit picture in a memory context: the effect's target in place of
// the screen, with its pixels readable.
class TTarget {
public:
  TTarget(int w, int h) : W(w), H(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    Dc = ::CreateCompatibleDC(nullptr);
    Bitmap = ::CreateDIBSection(Dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&Bits), nullptr, 0);
    Old = ::SelectObject(Dc, Bitmap);
  }
  ~TTarget() {
    ::SelectObject(Dc, Old);
    ::DeleteObject(Bitmap);
    ::DeleteDC(Dc);
  }
  // Pixel (x, y) a colour made from its position, never black or white.
  static COLORREF Pattern(int x, int y) { return RGB(1 + x % 200, 1 + y % 200, 77); }
  void Fill(COLORREF c) {
    ::GdiFlush();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) Set(x, y, c);
  }
  void FillPattern() {
    ::GdiFlush();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) Set(x, y, Pattern(x, y));
  }
  COLORREF At(int x, int y) const {
    const uint32_t v = Bits[size_t(y) * W + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  HDC Dc;
  int W, H;

private:
  void Set(int x, int y, COLORREF c) {
    Bits[size_t(y) * W + x] = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
  }
  HBITMAP Bitmap;
  HGDIOBJ Old;
  uint32_t* Bits = nullptr;
};

// Steps an owner-driven effect to its end; the number of steps it ran.
uint32_t RunToEnd(TTransition& effect) {
  uint32_t steps = 0;
  while (effect.IsRunning() && steps < 1000) {
    effect.OnTimer(0);
    ++steps;
  }
  ::GdiFlush();
  return steps;
}

// The part of the effect rectangle that kind 13 paints: whole 32 x 32 cells.
TRect Kind13Area(const TRect& r) {
  const int cols = (r.Width() + 15) / 16, rows = (r.Height() + 15) / 16;
  return TRect(r.left, r.top, std::min<int>(r.right, r.left + 32 * (cols / 2)), std::min<int>(r.bottom, r.top + 32 * (rows / 2)));
}

struct TCount {
  int wrong = 0;
  std::string first;
  void Add(int x, int y, COLORREF got) {
    if (!wrong++) first = std::to_string(x) + "," + std::to_string(y) + " = " + std::to_string(got);
  }
};

const TRect kAreas[] = {TRect(10, 12, 110, 112), TRect(3, 5, 67, 53), TRect(20, 7, 53, 24)};

}  // namespace

// Every kind blacks out the whole effect rectangle (kind 13 its whole
// 32 x 32 cells) and nothing outside it.
TEST(Transition, EveryKindBlacksOutItsRectangle) {
  for (const TRect& area : kAreas)
    for (uint32_t kind = 1; kind <= 23; ++kind) {
      SCOPED_TRACE("kind " + std::to_string(kind) + " area " + std::to_string(area.Width()) + "x" +
                   std::to_string(area.Height()));
      TTarget t(130, 130);
      t.Fill(kWhite);
      TTransition effect(nullptr, area, true, t.Dc);
      effect.StartBlackout(kind, 500);
      ASSERT_TRUE(effect.IsRunning());
      EXPECT_EQ(RunToEnd(effect), effect.GetStepCount());
      const TRect inside = kind == 13 ? Kind13Area(area) : area;
      TCount wrong;
      for (int y = 0; y < t.H; ++y)
        for (int x = 0; x < t.W; ++x) {
          const bool black = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
          const COLORREF c = t.At(x, y);
          if (c != (black ? kBlack : kWhite)) wrong.Add(x, y, c);
        }
      EXPECT_EQ(wrong.wrong, 0) << wrong.first;
    }
}

// In reveal mode the blocks come back from the snapshot; kinds 1, 22 and
// 23 still paint black.
TEST(Transition, RevealPutsTheSnapshotBack) {
  const TRect area(10, 12, 110, 112);
  for (uint32_t kind = 1; kind <= 23; ++kind) {
    SCOPED_TRACE("kind " + std::to_string(kind));
    TTarget t(130, 130);
    t.FillPattern();
    TTransition effect(nullptr, area, true, t.Dc);
    t.Fill(kWhite);  // the screen changes after the snapshot
    effect.StartReveal(kind, 500);
    RunToEnd(effect);
    const TRect inside = kind == 13 ? Kind13Area(area) : area;
    const bool black = kind == 1 || kind == 22 || kind == 23;
    TCount wrong;
    for (int y = 0; y < t.H; ++y)
      for (int x = 0; x < t.W; ++x) {
        const bool painted = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
        const COLORREF want = !painted ? kWhite : black ? kBlack : TTarget::Pattern(x, y);
        if (t.At(x, y) != want) wrong.Add(x, y, t.At(x, y));
      }
    EXPECT_EQ(wrong.wrong, 0) << wrong.first;
  }
}

TEST(Transition, StepsAndInterval) {
  struct Case {
    uint32_t kind;
    uint32_t duration;
    TRect area;
    uint32_t steps;
    uint32_t interval;
    uint32_t index;
  };
  const Case cases[] = {
      {2, 1000, TRect(0, 0, 100, 100), 16, 62, 1},
      {14, 1000, TRect(0, 0, 100, 100), 24, 55, 13},  // 41 raised
      {6, 2300, TRect(0, 0, 50, 100), 23, 100, 5},     // 7 rows
      {9, 2000, TRect(0, 0, 33, 100), 19, 105, 8},     // 3 columns
      {0, 1000, TRect(0, 0, 100, 100), 1, 1000, 0},
      {24, 1000, TRect(0, 0, 100, 100), 1, 1000, 0},
      {40, 10, TRect(0, 0, 100, 100), 1, 55, 0},
      {uint32_t(-3), 1000, TRect(0, 0, 100, 100), 1, 1000, 0},
  };
  for (const Case& c : cases) {
    TTarget t(120, 120);
    TTransition effect(nullptr, c.area, true, t.Dc);
    EXPECT_FALSE(effect.IsRunning());
    EXPECT_EQ(effect.GetInterval(), 0u);
    effect.StartBlackout(c.kind, c.duration);
    EXPECT_TRUE(effect.IsRunning()) << c.kind;
    EXPECT_EQ(effect.GetStepCount(), c.steps) << c.kind;
    EXPECT_EQ(effect.GetInterval(), c.interval) << c.kind;
    EXPECT_EQ(effect.GetKindIndex(), c.index) << c.kind;
  }
}

// Out-of-range kinds are kind 1: one step that fills the rectangle black.
TEST(Transition, OutOfRangeKindsFillAtOnce) {
  for (uint32_t kind : {0u, 24u, 40u}) {
    TTarget t(60, 60);
    t.Fill(kWhite);
    TTransition effect(nullptr, TRect(5, 5, 45, 45), true, t.Dc);
    effect.StartBlackout(kind, 1000);
    effect.OnTimer(0);
    EXPECT_FALSE(effect.IsRunning()) << kind;
    ::GdiFlush();
    EXPECT_EQ(t.At(5, 5), kBlack);
    EXPECT_EQ(t.At(44, 44), kBlack);
    EXPECT_EQ(t.At(45, 45), kWhite);
  }
}

// A stopped or never started effect ignores its step calls; a restart
// begins again at step 0 and the context gets its own pen back afterwards.
TEST(Transition, RestartAndStop) {
  TTarget t(80, 80);
  t.Fill(kWhite);
  const HGDIOBJ pen = ::GetCurrentObject(t.Dc, OBJ_PEN);
  {
    TTransition effect(nullptr, TRect(0, 0, 64, 64), true, t.Dc);
    effect.OnTimer(0);
    ::GdiFlush();
    EXPECT_EQ(t.At(0, 0), kWhite);
    effect.StartBlackout(2, 1000);
    EXPECT_NE(::GetCurrentObject(t.Dc, OBJ_PEN), pen);
    effect.OnTimer(0);
    effect.OnTimer(0);
    EXPECT_EQ(effect.GetStep(), 2u);
    effect.StartBlackout(14, 1000);
    EXPECT_TRUE(effect.IsRunning());
    EXPECT_EQ(effect.GetStep(), 0u);
    EXPECT_EQ(RunToEnd(effect), 24u);
    EXPECT_EQ(::GetCurrentObject(t.Dc, OBJ_PEN), pen);
    effect.OnTimer(0);
    EXPECT_EQ(effect.GetStep(), 24u);
    effect.StartBlackout(21, 1000);
    effect.OnTimer(0);
  }  // deleted while running
  EXPECT_EQ(::GetCurrentObject(t.Dc, OBJ_PEN), pen);
}

namespace {

// A top-level window on the main thread that hands timer 1234 to its effect.
class TOwner : public TWindow {
public:
  TOwner() : TWindow(static_cast<TWindow*>(nullptr)) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = 10, Attr.Y = 10, Attr.W = 160, Attr.H = 120;
  }
  void EvTimer(uint id) {
    ++Timers;
    if (Effect) Effect->OnTimer(static_cast<int>(id));
  }
  TTransition* Effect = nullptr;
  int Timers = 0;
  DECLARE_RESPONSE_TABLE(TOwner);
};
DEFINE_RESPONSE_TABLE1(TOwner, TWindow)
  EV_WM_TIMER,
END_RESPONSE_TABLE;

// The engine's loop on a worker thread: step, stop when done, else sleep
// the interval.
class TStepper : public TThread {
public:
  explicit TStepper(TTransition& effect) : Effect(effect) {}
  ~TStepper() override { WaitForExit(); }
  int Run() override {
    for (;;) {
      Effect.OnTimer(0);
      ++Steps;
      if (!Effect.IsRunning()) break;
      ::SleepEx(Effect.GetInterval(), FALSE);
    }
    return 1;
  }
  TTransition& Effect;
  uint32_t Steps = 0;
};

}  // namespace

// Owner-driven on a worker thread while the main thread waits without
// pumping messages: the effect must not need the owner's window.
TEST(Transition, OwnerDrivenOnAWorkerThread) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  TTarget t(100, 100);
  t.Fill(kWhite);
  auto effect = std::make_unique<TTransition>(&owner, TRect(0, 0, 80, 70), true, t.Dc);
  effect->StartBlackout(21, 16 * 55);
  TStepper stepper(*effect);
  ASSERT_TRUE(stepper.Start());
  ASSERT_EQ(stepper.WaitForExit(60000), WAIT_OBJECT_0);  // not a deadlock
  EXPECT_EQ(stepper.Steps, 16u);
  EXPECT_EQ(stepper.GetExitCode(), 1);
  effect.reset();
  ::GdiFlush();
  EXPECT_EQ(t.At(0, 0), kBlack);
  EXPECT_EQ(t.At(79, 69), kBlack);
  EXPECT_EQ(t.At(80, 70), kWhite);
  EXPECT_FALSE(::KillTimer(owner.GetHandle(), TTransition::kTimerId));  // never set
  EXPECT_EQ(owner.Timers, 0);
}

// Window-timer mode: WM_TIMER 1234 steps the effect; the last step kills
// the timer, so no further step follows.
TEST(Transition, WindowTimerMode) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  TTarget t(100, 100);
  t.Fill(kWhite);
  TTransition effect(&owner, TRect(0, 0, 64, 48), false, t.Dc);
  owner.Effect = &effect;
  effect.StartBlackout(12, 16 * 55);
  ASSERT_TRUE(effect.IsRunning());
  MSG m;
  while (effect.IsRunning() && ::GetMessageA(&m, nullptr, 0, 0) > 0) ::DispatchMessageA(&m);
  EXPECT_EQ(effect.GetStep(), 16u);
  EXPECT_FALSE(effect.IsRunning());
  EXPECT_FALSE(::KillTimer(owner.GetHandle(), TTransition::kTimerId));  // already gone
  ::GdiFlush();
  EXPECT_EQ(t.At(63, 47), kBlack);
  // Other timer ids and a late 1234 do not step it.
  effect.OnTimer(7);
  effect.OnTimer(1234);
  EXPECT_EQ(effect.GetStep(), 16u);

  // A start while running kills the running timer first; deleting a
  // running effect kills it too.
  {
    TTransition second(&owner, TRect(0, 0, 64, 48), false, t.Dc);
    second.StartBlackout(2, 1000);
    second.StartBlackout(3, 1000);
    EXPECT_TRUE(second.IsRunning());
    EXPECT_EQ(second.GetStep(), 0u);
  }
  EXPECT_FALSE(::KillTimer(owner.GetHandle(), TTransition::kTimerId));
  owner.Effect = nullptr;
}

namespace {

// An owner whose window is gone: the timer cannot be set.
class TGoneOwner : public TWindow {
public:
  TGoneOwner() : TWindow(static_cast<HWND>(nullptr)) {
    HWND h = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(h);
    HWindow = h;
  }
  ~TGoneOwner() override { HWindow = nullptr; }
};

}  // namespace

TEST(Transition, NoTimerLeftShowsTheMessageAndDoesNotRun) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.AnswerMessage(IDOK);
  TGoneOwner owner;
  TTarget t(40, 40);
  t.Fill(kWhite);
  TTransition effect(&owner, TRect(0, 0, 32, 32), false, t.Dc);
  effect.StartBlackout(2, 1000);
  EXPECT_FALSE(effect.IsRunning());
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "Keine Zeitgeber mehr verf\xfc" "gbar!");
  EXPECT_EQ(ui.Requests()[0].Type & 0xF, unsigned(MB_OK));
  EXPECT_EQ(ui.Requests()[0].Owner, owner.GetHandle());
  effect.OnTimer(1234);
  ::GdiFlush();
  EXPECT_EQ(t.At(0, 0), kWhite);
}

// On the screen: the effect takes its snapshot from the screen and paints
// there.
TEST(Transition, PaintsOnTheScreen) {
  TOwner owner;
  ASSERT_TRUE(owner.Create());
  ::UpdateWindow(owner.GetHandle());
  TPoint origin(0, 0);
  owner.ClientToScreen(origin);
  const TRect client = owner.GetClientRect();
  TTransition effect(&owner, TRect(origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height()), true);
  effect.StartBlackout(14, 24 * 55);
  EXPECT_EQ(RunToEnd(effect), 24u);
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::GetPixel(screen, origin.x + 5, origin.y + 5), kBlack);
  ::ReleaseDC(nullptr, screen);
}
