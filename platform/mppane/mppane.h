// Stand-in for the outside mppane library (the Media Player control in child
// windows). Only what the player calls is declared.
#pragma once
#include "panes/paneapi.h"

PANE_EXTERN BOOL PANEAPI InitMP(void);
PANE_EXTERN void PANEAPI ExitMP(void);
