// The project's prerequisite check at start-up: the conditions of
// "system.cnd" that are not met on this computer have their installers run
// before the presentation is shown. Main thread, before any window.
#pragma once

class TBookStructOptions;

// Checks every condition for the project of `info`; returns when the user
// has finished what it asked for. Start-up relies only on its return.
void CheckSystemConditions(const TBookStructOptions& info);
