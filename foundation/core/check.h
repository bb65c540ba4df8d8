// Internal consistency checks. A violated check is reported through a
// replaceable handler (the player's default writes a diagnostic line) and the
// program goes on: data from a project file must never stop the player.
#pragma once

namespace tsl {

using CheckHandler = void (*)(const char* condition, const char* unit, int line);

// Installs a handler and returns the previous one; null restores the default.
CheckHandler SetCheckHandler(CheckHandler h);
void ReportCheckViolation(const char* condition, const char* unit, int line);
// Violations reported since start-up (for tests and diagnostics).
unsigned long CheckViolationCount();

}  // namespace tsl
