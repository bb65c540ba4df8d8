// mvpane: movies with a controller bar in child windows addressed by
// handle. Linked by the player at load time.
#pragma once
#include "panes/paneapi.h"

// A movie pane: the address of the library's window object. A handle the
// library does not know (never given out, or deleted) counts as null.
typedef void* HMVPANE;

PANE_EXTERN LONG PANEAPI InitQT(void);
PANE_EXTERN void PANEAPI ExitQT(void);
PANE_EXTERN BOOL PANEAPI IsQTInstalled(void);
PANE_EXTERN HMVPANE PANEAPI CreateMvpane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id);
PANE_EXTERN BOOL PANEAPI DeleteMvpane(HMVPANE h);
PANE_EXTERN BOOL PANEAPI ShowMvpane(HMVPANE h, BOOL show);
PANE_EXTERN HWND PANEAPI GetMvpane(HMVPANE h);
PANE_EXTERN BOOL PANEAPI SetMvpaneParent(HMVPANE h, HWND parent);
PANE_EXTERN BOOL PANEAPI SetMvpaneTransparency(HMVPANE h, BOOL on);
PANE_EXTERN BOOL PANEAPI OpenQTMovie(HMVPANE h, const char* path);
PANE_EXTERN BOOL PANEAPI PlayBackQTMovie(HMVPANE h, int mode);
PANE_EXTERN BOOL PANEAPI GetQTMovieRect(HMVPANE h, RECT* out);
PANE_EXTERN BOOL PANEAPI SetQTMovieRect(HMVPANE h, const RECT* r);
PANE_EXTERN short PANEAPI GetQTControllerBarHeight(HMVPANE h);
PANE_EXTERN BOOL PANEAPI ShowQTControllerBar(HMVPANE h, BOOL show);
PANE_EXTERN BOOL PANEAPI SetQTControllerRect(HMVPANE h, int left, int top, int right, int bottom);
PANE_EXTERN BOOL PANEAPI ShowQTControllerButton(HMVPANE h, BOOL show, int flags);
PANE_EXTERN LONG PANEAPI GetQTMovieDuration(HMVPANE h, BOOL inSeconds);
PANE_EXTERN LONG PANEAPI GetQTMovieCurTimePos(HMVPANE h);
PANE_EXTERN BOOL PANEAPI SetQTMovieCurTimePos(HMVPANE h, LONG time);
PANE_EXTERN BOOL PANEAPI SetQTMsgWindow(HMVPANE h, HWND window, UINT message);
PANE_EXTERN void PANEAPI RefreshQTWindow(HMVPANE h);
PANE_EXTERN BOOL PANEAPI SizeMvpane(HMVPANE h, int left, int top, int right, int bottom, BOOL withBar);
