// The copying, unpacking, installation and export codes as the player runs
// them (actions/core/copyinstall.h holds their portable decisions).
#pragma once
#include "actions/core/dispatch.h"

// The family's routine in the dispatcher's table.
void CopyInstallFamily(TActionRun& run);
