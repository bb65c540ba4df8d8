#include "foundation/core/check.h"

#include <atomic>
#include <cstdio>

namespace tsl {

namespace {
void DefaultHandler(const char* condition, const char* unit, int line) {
  std::fprintf(stderr, "Check failed: %s, %s, line %d\n", condition, unit, line);
}
std::atomic<CheckHandler> g_handler{&DefaultHandler};
std::atomic<unsigned long> g_count{0};
}  // namespace

CheckHandler SetCheckHandler(CheckHandler h) { return g_handler.exchange(h ? h : &DefaultHandler); }

void ReportCheckViolation(const char* condition, const char* unit, int line) {
  ++g_count;
  g_handler.load()(condition, unit, line);
}

unsigned long CheckViolationCount() { return g_count.load(); }

}  // namespace tsl
