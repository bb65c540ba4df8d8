// The dialogs' number fields on any typed text: the stored values stay in
// their ranges and agree with the digits read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "slideshow/core/numberfield.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const uint64_t n = LeadingNumber(text.c_str());
  const uint32_t ms = SecondsFieldToMs(text.c_str());
  const uint16_t jump = JumpIntervalField(text.c_str());
  if (n <= kMaxShowMilliseconds / 1000 ? ms != n * 1000 : ms != kMaxShowMilliseconds) std::abort();
  if (n <= kMaxJumpInterval ? jump != n : jump != kMaxJumpInterval) std::abort();
  if (n != 0 && text.find_first_of("0123456789") == std::string::npos) std::abort();
  return 0;
}
