#include "slideshow/core/numberfield.h"

uint64_t LeadingNumber(const char* text) {
  if (!text) return 0;
  size_t i = 0;
  while (i < kNumberFieldMaxChars && (text[i] == ' ' || text[i] == '\t')) ++i;
  uint64_t n = 0;
  for (; i < kNumberFieldMaxChars && text[i] >= '0' && text[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (n > (UINT64_MAX - digit) / 10) return UINT64_MAX;
    n = n * 10 + digit;
  }
  return n;
}

uint32_t SecondsFieldToMs(const char* text) {
  const uint64_t seconds = LeadingNumber(text);
  if (seconds > kMaxShowMilliseconds / 1000) return kMaxShowMilliseconds;
  return static_cast<uint32_t>(seconds * 1000);
}

uint16_t JumpIntervalField(const char* text) {
  const uint64_t n = LeadingNumber(text);
  return n > kMaxJumpInterval ? kMaxJumpInterval : static_cast<uint16_t>(n);
}

std::string MsToSecondsText(uint32_t ms) { return std::to_string(ms / 1000); }
