#include "objects/core/scrollersettings.h"

#include <cstring>

#include "engine/core/format/rawio.h"

using namespace tsl;

namespace {
constexpr uint32_t kMinRepeatMs = 10;
}

void TKVR_ScrollerSettings::Read(ByteStream& f) {
  ReadU32(BackgroundColour, f);
  ReadU32(ProgressColourBefore, f);
  ReadU32(ProgressColourAfter, f);
  ReadU32(GrooveThickness, f);
  ReadU32(AutoRepeatInterval, f);
  ReadU32(ThumbStyle, f);
  ReadU32(ArrowStyle, f);
  ReadU16(Vertical, f);
  ReadU16(Scale, f);
  ReadU16(Transparent, f);
  ReadU16(ProgressFill, f);
  ReadU16(AutoRepeat, f);
  ReadU16(GrooveBorder, f);
  ReadFixed(Reserved, sizeof Reserved, f);
}

bool TKVR_ScrollerSettings::Write(ByteStream& f) const {
  bool ok = WriteU32(BackgroundColour, f);
  ok = WriteU32(ProgressColourBefore, f) && ok;
  ok = WriteU32(ProgressColourAfter, f) && ok;
  ok = WriteU32(GrooveThickness, f) && ok;
  ok = WriteU32(AutoRepeatInterval, f) && ok;
  ok = WriteU32(ThumbStyle, f) && ok;
  ok = WriteU32(ArrowStyle, f) && ok;
  for (uint16_t v : {Vertical, Scale, Transparent, ProgressFill, AutoRepeat, GrooveBorder}) ok = WriteU16(v, f) && ok;
  return WriteFixed(Reserved, sizeof Reserved, f) && ok;
}

bool TKVR_ScrollerSettings::operator==(const TKVR_ScrollerSettings& o) const {
  return BackgroundColour == o.BackgroundColour && ProgressColourBefore == o.ProgressColourBefore &&
         ProgressColourAfter == o.ProgressColourAfter && GrooveThickness == o.GrooveThickness &&
         AutoRepeatInterval == o.AutoRepeatInterval && ThumbStyle == o.ThumbStyle && ArrowStyle == o.ArrowStyle &&
         Vertical == o.Vertical && Scale == o.Scale && Transparent == o.Transparent &&
         ProgressFill == o.ProgressFill && AutoRepeat == o.AutoRepeat && GrooveBorder == o.GrooveBorder &&
         std::memcmp(Reserved, o.Reserved, sizeof Reserved) == 0;
}

int EffectiveThumbStyle(int32_t stored) { return stored >= 1 && stored <= 5 ? stored : 1; }
int EffectiveArrowStyle(int32_t stored) { return stored >= 0 && stored <= 2 ? stored : 1; }
uint32_t EffectiveRepeatInterval(int32_t storedMs) {
  return storedMs < int32_t(kMinRepeatMs) ? kMinRepeatMs : uint32_t(storedMs);
}
int EffectiveGrooveThickness(uint32_t stored, int barThickness) {
  if (barThickness < 0) barThickness = 0;
  return stored > uint32_t(barThickness) ? barThickness : int(stored);
}
