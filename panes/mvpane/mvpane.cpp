#include "panes/mvpane/mvpane.h"

namespace {
bool g_qtReady = false;
}

// QuickTime is not on this platform: initialisation reports it missing and
// the player goes on without movies.
BOOL PANEAPI InitQT(void) {
  g_qtReady = false;
  return g_qtReady ? TRUE : FALSE;
}

void PANEAPI ExitQT(void) { g_qtReady = false; }
