// Stand-in for the outside mppane library: media players in child windows
// addressed by handle, with a controller bar (play/pause and position)
// under the picture. Positions and lengths are in seconds.
#pragma once
#include "panes/paneapi.h"

// A media player pane: the address of the library's pane object. A handle
// the library does not know (never given out, or deleted) counts as null.
typedef void* HMPPANE;

// Height of the controller bar under the picture, in pixels.
#define MPPANE_BAR_HEIGHT 20

PANE_EXTERN BOOL PANEAPI InitMP(void);
PANE_EXTERN void PANEAPI ExitMP(void);
PANE_EXTERN HMPPANE PANEAPI CreateMppane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id);
PANE_EXTERN BOOL PANEAPI DeleteMppane(HMPPANE h);
PANE_EXTERN HWND PANEAPI GetMppane(HMPPANE h);
PANE_EXTERN BOOL PANEAPI ShowMppane(HMPPANE h, BOOL show);
PANE_EXTERN BOOL PANEAPI SetMppaneTransparency(HMPPANE h, BOOL on);
PANE_EXTERN BOOL PANEAPI SetMPAutoSize(HMPPANE h, BOOL on);
PANE_EXTERN BOOL PANEAPI OpenMPMovie(HMPPANE h, const char* path);
PANE_EXTERN BOOL PANEAPI SetMPMsgWindow(HMPPANE h, HWND window, UINT message);
PANE_EXTERN BOOL PANEAPI ShowMPControllerBar(HMPPANE h, BOOL show);
// Modes: 0 start, 1 stop, 2 to the beginning, 3 to the end, 4 pause.
PANE_EXTERN BOOL PANEAPI PlayBackMPMovie(HMPPANE h, int mode);
PANE_EXTERN BOOL PANEAPI SetMPMovieCurTimePos(HMPPANE h, double seconds);
PANE_EXTERN double PANEAPI GetMPMovieDuration(HMPPANE h);
PANE_EXTERN double PANEAPI GetMPMovieCurTimePos(HMPPANE h);
PANE_EXTERN BOOL PANEAPI GetMPMovieRect(HMPPANE h, RECT* out);
