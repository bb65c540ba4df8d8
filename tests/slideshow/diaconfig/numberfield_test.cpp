#include "slideshow/core/numberfield.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NumberField, SecondsFieldsStoreMilliseconds) {
  const struct {
    const char* what;
    const char* text;
    uint32_t ms;
  } cases[] = {
      {"whole seconds", "2", 2000},
      {"digits then letters", "12abc", 12000},
      {"letters only", "abc", 0},
      {"a sign ends the number", "-5", 0},
      {"plus sign too", "+5", 0},
      {"empty", "", 0},
      {"blanks before digits", "  7", 7000},
      {"largest that fits", "4294967", 4294967000u},
      {"one more is clamped", "4294968", 0xFFFFFFFFu},
      {"99999999 s is clamped", "99999999", 0xFFFFFFFFu},
      {"beyond 64 bits is clamped", "999999999999999999999999999999", 0xFFFFFFFFu},
      {"decimal point ends it", "3.9", 3000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SecondsFieldToMs(c.text), c.ms);
  }
  EXPECT_EQ(SecondsFieldToMs(nullptr), 0u);
}

TEST(NumberField, ShownTimeRoundTripsToWholeSeconds) {
  EXPECT_EQ(MsToSecondsText(2500), "2");
  EXPECT_EQ(SecondsFieldToMs(MsToSecondsText(2500).c_str()), 2000u);
  EXPECT_EQ(MsToSecondsText(999), "0");
  EXPECT_EQ(MsToSecondsText(0xFFFFFFFFu), "4294967");
}

TEST(NumberField, JumpIntervalIsHeldTo16Bits) {
  const struct {
    const char* what;
    const char* text;
    uint16_t value;
  } cases[] = {
      {"plain", "25", 25},
      {"largest", "65535", 65535},
      {"one more", "65536", 65535},
      {"huge", "18446744073709551616", 65535},
      {"no digits", "x1", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(JumpIntervalField(c.text), c.value);
  }
}

TEST(NumberField, ReadsAtMostTheFieldLength) {
  // 63 characters are read: a 64th digit does not count.
  const std::string digits63(63, '1');
  EXPECT_EQ(LeadingNumber(digits63.c_str()), UINT64_MAX);
  const std::string text = std::string(62, ' ') + "12";
  EXPECT_EQ(LeadingNumber(text.c_str()), 1u);
  EXPECT_EQ(LeadingNumber("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(LeadingNumber("18446744073709551614"), UINT64_MAX - 1);
}

}  // namespace
