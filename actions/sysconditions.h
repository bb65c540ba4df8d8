// The project's prerequisite check at start-up: the conditions of
// "system.cnd" that are not met on this computer have their installers run
// before the presentation is shown. Main thread, before any window.
#pragma once
#include "platform/owl/defs.h"

#include <string>
#include <vector>

#include "actions/core/sysconditions.h"
#include "platform/owl/dialog.h"

class TBookStructOptions;

// Checks every condition for the project of `info`; returns when the user
// has finished what it asked for. Start-up relies only on its return.
void CheckSystemConditions(const TBookStructOptions& info);

// The one list of conditions, and "system.cnd" in the program's folder.
std::vector<TSystemConditionChecker>& SystemConditions();
std::string SystemConditionsPath();
void ReadConditions();
void WriteConditions();
