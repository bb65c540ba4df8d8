// The mouse and key messages of an object's own child window go on to the
// page, as if the page's window had received them: the object windows of
// the media and browser kinds would otherwise swallow the clicks and keys
// that the page's hot spots and key actions wait for.
#pragma once
#include "platform/owl/defs.h"

class TObjectElement;

// For WM_LBUTTONDOWN/UP/DBLCLK, WM_MOUSEMOVE, WM_KEYDOWN, WM_SYSKEYDOWN and
// WM_KEYUP: the default processing, then the current page's handler (the
// point converted to page coordinates); `result` is the default's answer.
// False for any other message, which is left alone.
bool ForwardInputToPage(TObjectElement& object, HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
// The same messages to the current page only, for a window whose own
// handling has run already; nothing while no page is open.
void PassInputToPage(TObjectElement& object, UINT msg, WPARAM wp, LPARAM lp);
