// Stand-in for the outside swfpane library: Flash movies in child windows
// addressed by handle. No Flash player exists here: the pane reads the
// movie's header and steps a frame counter at the movie's frame rate,
// painting grey with the file's name and "n / N" (current frame from 0,
// frame count). The same label is the pane window's text.
#pragma once
#include "panes/paneapi.h"

// A Flash pane: the address of the library's pane object. A handle the
// library does not know (never given out, or deleted) counts as null.
typedef void* HSWFPANE;

// The pane window's class.
#define SWFPANE_CLASS "TslSwfpane"

PANE_EXTERN HSWFPANE PANEAPI CreateSwfpane(HWND parent, int left, int top, int right, int bottom, DWORD style,
                                           int id);
PANE_EXTERN BOOL PANEAPI DeleteSwfpane(HSWFPANE h);
PANE_EXTERN BOOL PANEAPI SetSwfpaneTransparency(HSWFPANE h, BOOL on);
// False for a file that cannot be read; a readable file that is no movie
// opens with 0 frames.
PANE_EXTERN BOOL PANEAPI OpenFlashMovie(HSWFPANE h, const char* path);
PANE_EXTERN BOOL PANEAPI SetFlashLoop(HSWFPANE h, BOOL on);
PANE_EXTERN BOOL PANEAPI SetFlashQuality(HSWFPANE h, WORD quality);
PANE_EXTERN BOOL PANEAPI SetFlashScaleMode(HSWFPANE h, WORD mode);
// 1 play, 2 stop, 5 to the first frame.
PANE_EXTERN BOOL PANEAPI SetFlashPlayStatus(HSWFPANE h, int status);
PANE_EXTERN BOOL PANEAPI SetFlashMovieCurFrame(HSWFPANE h, int frame);
PANE_EXTERN int PANEAPI GetFlashMovieNumFrames(HSWFPANE h);
PANE_EXTERN int PANEAPI GetFlashMovieCurFrame(HSWFPANE h);
