// mvpane: QuickTime movies in child windows addressed by handle. Linked by
// the player at load time.
#pragma once
#include "panes/paneapi.h"

PANE_EXTERN BOOL PANEAPI InitQT(void);
PANE_EXTERN void PANEAPI ExitQT(void);
