#include "slideshow/core/shownav.h"

namespace {
// Virtual-key codes of the keys the show knows.
constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kVkPause = 0x13;
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkF1 = 0x70;
constexpr uint32_t kVkF10 = 0x79;
}  // namespace

int16_t ShowKeyOfVirtualKey(uint32_t vk) {
  if (vk >= kVkF1 && vk <= kVkF10) return static_cast<int16_t>(kShowKeyF1 + (vk - kVkF1));
  switch (vk) {
    case kVkEscape: return kShowKeyEscape;
    case kVkReturn: return kShowKeyEnter;
    case kVkPause: return kShowKeyPause;
    case kVkTab: return kShowKeyTab;
    default: return kShowKeyNone;
  }
}

bool TDiaShowNavigator::Start() {
  Current = 0;
  if (Show.Pictures.Count() == 0) {
    Host.PostClose();
    return false;
  }
  Host.LoadPicture(0);
  IntervalStart = Host.Now();
  return true;
}

void TDiaShowNavigator::Change() {
  // The new picture's sound starts while the old picture is blacked out;
  // the new one is drawn by the repaint.
  Host.LoadPicture(Current);
  Host.Transition();
  Host.Invalidate();
  IntervalStart = Host.Now();
}

void TDiaShowNavigator::Forward(int64_t index) {
  if (index >= Show.Pictures.Count()) {
    if (!Show.Endless) {
      Host.PostClose();
      return;
    }
    index = 0;
  }
  Current = static_cast<int>(index);
  Change();
}

void TDiaShowNavigator::NextPicture() { Forward(static_cast<int64_t>(Current) + 1); }

void TDiaShowNavigator::SkipPicture() { Forward(static_cast<int64_t>(Current) + 2); }

void TDiaShowNavigator::PreviousPicture() {
  const int count = Show.Pictures.Count();
  if (count == 0) return;
  Current = Current - 1 < 0 ? count - 1 : Current - 1;
  Change();
}

void TDiaShowNavigator::DispatchShowKey(int16_t code, bool fromCommand) {
  if (Show.NextKey == code) NextPicture();
  if (Show.PreviousKey == code) PreviousPicture();
  if (Show.PauseKey == code) TogglePause();
  if (Show.SkipKey == code) SkipPicture();
  if (Show.AbortKey == code) {
    if (fromCommand) Host.CloseNow();
    else Host.PostClose();
  }
}

void TDiaShowNavigator::Tick() {
  if (!Paused && Host.Now() - IntervalStart >= Show.AdvanceInterval) NextPicture();
}
