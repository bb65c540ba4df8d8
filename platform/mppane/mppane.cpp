#include "platform/mppane/mppane.h"

BOOL PANEAPI InitMP(void) { return TRUE; }
void PANEAPI ExitMP(void) {}
