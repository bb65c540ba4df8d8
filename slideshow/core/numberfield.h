// The number fields of the slide-show dialogs: decimal digits at the start
// of the text, nothing validated and nothing reported. Sign and letters end
// the number ("-5" and "abc" are 0), and the value is taken in 64 bits and
// held to what the stored fields can carry, so a long row of digits cannot
// wrap into a small time. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

// Longest text the dialogs read from a number field.
constexpr size_t kNumberFieldMaxChars = 63;
// Largest time the 32-bit millisecond fields hold.
constexpr uint32_t kMaxShowMilliseconds = 0xFFFFFFFFu;
constexpr uint16_t kMaxJumpInterval = 65535;

// The leading decimal digits of `text` (blanks before them skipped), at
// most kNumberFieldMaxChars characters of it, saturated at UINT64_MAX; 0
// when there are none.
uint64_t LeadingNumber(const char* text);
// A seconds field as stored milliseconds, held to kMaxShowMilliseconds.
uint32_t SecondsFieldToMs(const char* text);
// The jump interval field, held to kMaxJumpInterval.
uint16_t JumpIntervalField(const char* text);
// A stored time as the dialog shows it: whole seconds, truncated.
std::string MsToSecondsText(uint32_t ms);
