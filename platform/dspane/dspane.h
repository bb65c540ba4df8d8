// Stand-in for the outside dspane library: DirectShow playback elements
// addressed by an int id, each putting its picture into a window of the
// caller's. Positions and lengths are in seconds.
#pragma once
#include "panes/paneapi.h"

// What an element posts to the window given to DSP_Load when its media has
// played to the end (wParam 1).
#define DSP_END_MESSAGE (WM_USER + 1)

PANE_EXTERN int PANEAPI DSP_AddEle(HWND window);
PANE_EXTERN BOOL PANEAPI DSP_DeleteEle(int id);
PANE_EXTERN BOOL PANEAPI DSP_Load(int id, const char* path, HWND window, BOOL showWindow);
PANE_EXTERN BOOL PANEAPI DSP_GetVideoSize(int id, int* width, int* height);
PANE_EXTERN BOOL PANEAPI DSP_ShowEle(int id, BOOL show);
PANE_EXTERN BOOL PANEAPI DSP_SetEleRect(int id, const RECT* r);
PANE_EXTERN BOOL PANEAPI DSP_StartEle(int id);
PANE_EXTERN BOOL PANEAPI DSP_StopEle(int id);
PANE_EXTERN BOOL PANEAPI DSP_PauseEle(int id);
PANE_EXTERN BOOL PANEAPI DSP_Seek(int id, double position);
PANE_EXTERN BOOL PANEAPI DSP_SeekToBegin(int id);
PANE_EXTERN BOOL PANEAPI DSP_SeekToEnd(int id);
PANE_EXTERN double PANEAPI DSP_GetPlayTime(int id);
PANE_EXTERN double PANEAPI DSP_GetCurPos(int id);
