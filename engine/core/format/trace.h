// The refusal trace: each reader that refuses or drops part of a file says
// where and why ("page 3: object 5: kind 40 outside 0-21 at 0x1a2c"). Off by
// default; TSL_TRACE=1 in the environment sends the lines to stderr. Tests
// may catch them instead. Portable: no Windows headers.
#pragma once
#include <functional>
#include <string>

namespace tsl {

// Whether tracing is on: TSL_TRACE set and not "0", or a sink installed.
bool TraceEnabled();
// One refusal, printf-style, behind the prefixes of the scopes open on this
// thread. Costs nothing but the test when tracing is off.
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A prefix ("page 3") for the traces made while it lives.
class TTraceScope {
public:
  explicit TTraceScope(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  ~TTraceScope();
  TTraceScope(const TTraceScope&) = delete;
  TTraceScope& operator=(const TTraceScope&) = delete;

private:
  size_t restore_ = 0;
  bool active_ = false;
};

// Replaces stderr as the trace's destination (null: back to stderr and the
// environment's choice). For tests.
void SetTraceSink(std::function<void(const std::string&)> sink);

}  // namespace tsl
