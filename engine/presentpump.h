// The presentation's rules in the message loop: while a presentation runs,
// a quit key ends it even when an object's own child window has the focus,
// and every left-button message is first offered to the clicked object's
// actions, before the window it was sent to sees it. The rules sit in the
// loop's message filter (TMsgThread), so the application's loop, modal
// dialogs and every other waiting loop apply them.
#pragma once
#include "platform/owl/defs.h"

// The filter: true drops the message (a quit key that ended the
// presentation).
bool PresentationMessageFilter(MSG& msg);
// Installs it; idempotent.
void InstallPresentationRules();
// Removes it when it is the one installed.
void RemovePresentationRules();
