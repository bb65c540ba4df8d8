#include "engine/core/format/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tsl {
namespace {

std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

bool EnvironmentAsks() {
  static const bool on = [] {
    const char* v = std::getenv("TSL_TRACE");
    return v && *v && std::strcmp(v, "0") != 0;
  }();
  return on;
}

thread_local std::string t_prefix;

std::string Format(const char* format, va_list args) {
  char buffer[512];
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  if (n < 0) return std::string();
  return std::string(buffer, static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n) : sizeof buffer - 1);
}

}  // namespace

bool TraceEnabled() { return Sink() || EnvironmentAsks(); }

void Trace(const char* format, ...) {
  if (!TraceEnabled()) return;
  va_list args;
  va_start(args, format);
  const std::string line = t_prefix + Format(format, args);
  va_end(args);
  if (Sink()) Sink()(line);
  else std::fprintf(stderr, "tsl: %s\n", line.c_str());
}

TTraceScope::TTraceScope(const char* format, ...) {
  if (!TraceEnabled()) return;
  active_ = true;
  restore_ = t_prefix.size();
  va_list args;
  va_start(args, format);
  t_prefix += Format(format, args);
  va_end(args);
  t_prefix += ": ";
}

TTraceScope::~TTraceScope() {
  if (active_) t_prefix.resize(restore_);
}

void SetTraceSink(std::function<void(const std::string&)> sink) { Sink() = std::move(sink); }

}  // namespace tsl
