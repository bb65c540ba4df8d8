// Ending the presentation and telling its windows apart, and the switch of
// the page window's tooltip control that the page change signals.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

class TBookStruct;

// Ends the presentation: takes the page window's frame out of the desk
// frame, when there is one, and posts WM_QUIT (0) to the page window. True
// when the message could be posted.
bool QuitPresentation(TBookStruct* book);
// The desk frame's window while a desk frame exists, else the application's
// main window.
bool IsPresentationWindow(TBookStruct* book, HWND window);

// The tooltip switch: action codes set it, the page change sends it to the
// page window's tooltip control (TTM_ACTIVATE). Tooltips start switched on.
extern uint8_t SignalPageChildState;
// Sends the switch (`state`) to the page window's tooltip control when the
// page window and its tooltip control are alive.
void SignalPageChild(TBookStruct* book, uint8_t state);
