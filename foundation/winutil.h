// Message pumps for long operations on the user-interface thread, the
// modifier-key tests of the page's input handling, and small window and
// dialog-control helpers. Stateless; user-interface thread only.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max

#include <cstdint>

#include "foundation/core/drawgeom.h"
#include "platform/core/cstring.h"
#include "platform/owl/geometry.h"

class TListBox;

// Takes at most one message of the thread's queue. Esc or Enter pressed
// (WM_KEYDOWN) sets `abortFlag` to 1; only WM_PAINT is dispatched, every
// other message is dropped, so windows repaint but take no input. 0 when
// the queue was empty, 1 when a message was taken.
int PumpMessagesCheckAbort(int32_t& abortFlag);
// Translates and dispatches every waiting message of the thread; 0.
int PumpMessages();

// Shift or Ctrl down, by the key state of the message being handled.
bool IsShiftKeyDown();
bool IsCtrlKeyDown();

// Centres the window on the reference window's rectangle, or on the screen
// without one; size and Z order stay.
void CenterWindow(HWND window, HWND reference);

// FitSizeIntoBox of the core into a TSize (0 x 0 when it fails).
bool FitSizeIntoBox(int width, int height, int boxWidth, int boxHeight, TSize& out);

// The control's window rectangle in the dialog's client coordinates; with
// `destroy` the control, a mere placeholder of the template, is destroyed.
// False when the dialog or the control is missing.
bool GetDlgItemClientRect(HWND dialog, int controlId, TRect& out, bool destroy);
// The same for static controls only (dialog code DLGC_STATIC), which are
// always destroyed; false for other controls.
bool GetStaticItemClientRect(HWND dialog, int controlId, TRect& out);

// Adds `text` to a list or combo box with `value` as its item data; nothing
// for a null control. `unused` has no effect.
void AddListItemWithData(TListBox* control, int unused, const char* text, uint32_t value);
// The text of the selected entry; false when nothing is selected.
bool GetSelectedListText(TListBox* control, string& out);

// Milliseconds since Windows started.
uint32_t GetTickCountMs();
