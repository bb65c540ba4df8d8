#include "objects/core/scrollersettings.h"

#include <gtest/gtest.h>

#include "engine/format/bytes.h"

namespace {

TKVR_ScrollerSettings Unusual() {
  TKVR_ScrollerSettings s;
  s.BackgroundColour = 0x123456;
  s.ProgressColourBefore = 0x80FFFFFF;
  s.ProgressColourAfter = 7;
  s.GrooveThickness = 99;
  s.AutoRepeatInterval = 3;
  s.ThumbStyle = 0xFFFFFFFF;
  s.ArrowStyle = 2;
  s.Vertical = 1;
  s.Scale = 2;
  s.Transparent = 3;
  s.ProgressFill = 4;
  s.AutoRepeat = 0;
  s.GrooveBorder = 0xFFFF;
  for (int i = 0; i < 32; ++i) s.Reserved[i] = uint8_t(0xA0 + i);
  return s;
}

}  // namespace

TEST(ScrollerSettings, WriteThenReadIsIdentical) {
  for (const TKVR_ScrollerSettings& s : {TKVR_ScrollerSettings(), Unusual()}) {
    tsl::MemoryStream m;
    ASSERT_TRUE(s.Write(m));
    EXPECT_EQ(m.Data().size(), TKVR_ScrollerSettings::kStoredBytes);
    m.Seek(0);
    TKVR_ScrollerSettings back;
    back.Vertical = 77;  // every field must be overwritten
    back.Read(m);
    EXPECT_TRUE(back == s);
  }
}

TEST(ScrollerSettings, StoredLayoutFieldByField) {
  Bytes b;
  b.u32(0x123456).u32(0x80FFFFFF).u32(7).u32(99).u32(3).u32(0xFFFFFFFF).u32(2);
  b.u16(1).u16(2).u16(3).u16(4).u16(0).u16(0xFFFF);
  for (int i = 0; i < 32; ++i) b.u8(uint8_t(0xA0 + i));
  tsl::MemoryStream in = b.stream();
  TKVR_ScrollerSettings read;
  read.Read(in);
  EXPECT_TRUE(read == Unusual());
  EXPECT_EQ(in.Position(), int64_t(b.size()));
  tsl::MemoryStream out;
  Unusual().Write(out);
  EXPECT_EQ(out.Data(), b.data());
}

TEST(ScrollerSettings, DefaultsAreTheBarsResetValues) {
  const TKVR_ScrollerSettings s;
  EXPECT_EQ(s.BackgroundColour, 0xC0C0C0u);
  EXPECT_EQ(s.ProgressColourBefore, 0x00FF00u);
  EXPECT_EQ(s.ProgressColourAfter, 0x0000FFu);
  EXPECT_EQ(s.GrooveThickness, 4u);
  EXPECT_EQ(s.AutoRepeatInterval, 100u);
  EXPECT_EQ(s.ThumbStyle, 1u);
  EXPECT_EQ(s.ArrowStyle, 1u);
  EXPECT_EQ(s.AutoRepeat, 1);
  EXPECT_EQ(s.GrooveBorder, 1);
  EXPECT_EQ(s.Vertical + s.Scale + s.Transparent + s.ProgressFill, 0);
}

TEST(ScrollerSettings, StoredValuesOutOfRange) {
  struct Case {
    const char* what;
    int got, expected;
  } cases[] = {
      {"thumb 0", EffectiveThumbStyle(0), 1},       {"thumb 5", EffectiveThumbStyle(5), 5},
      {"thumb 6", EffectiveThumbStyle(6), 1},       {"thumb -1", EffectiveThumbStyle(-1), 1},
      {"arrow 0", EffectiveArrowStyle(0), 0},       {"arrow 2", EffectiveArrowStyle(2), 2},
      {"arrow 3", EffectiveArrowStyle(3), 1},       {"arrow -5", EffectiveArrowStyle(-5), 1},
      {"repeat 0 ms", int(EffectiveRepeatInterval(0)), 10},
      {"repeat -7 ms", int(EffectiveRepeatInterval(-7)), 10},
      {"repeat 9 ms", int(EffectiveRepeatInterval(9)), 10},
      {"repeat 10 ms", int(EffectiveRepeatInterval(10)), 10},
      {"repeat 250 ms", int(EffectiveRepeatInterval(250)), 250},
      {"groove inside the bar", EffectiveGrooveThickness(4, 16), 4},
      {"groove thicker than the bar", EffectiveGrooveThickness(0xFFFFFFFF, 16), 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got, c.expected);
  }
}

TEST(ScrollerSettings, AShortRecordKeepsTheRest) {
  Bytes b;
  b.u32(0x010203).u32(0x040506);
  tsl::MemoryStream in = b.stream();
  TKVR_ScrollerSettings s;
  s.Read(in);
  EXPECT_EQ(s.BackgroundColour, 0x010203u);
  EXPECT_EQ(s.ProgressColourBefore, 0x040506u);
  EXPECT_EQ(s.ProgressColourAfter, 0x0000FFu);
  EXPECT_EQ(s.ThumbStyle, 1u);
}
