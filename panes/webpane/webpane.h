// webpane: web-browser controls as child windows (elements) addressed by
// an int id. The player loads it at run time and looks every export up by
// name (engine/ieloader.h); results are 1 or 0, and an unknown id gives 0.
#pragma once
#include "panes/paneapi.h"

PANE_EXTERN int PANEAPI WEBP_AddEle(void);
PANE_EXTERN BOOL PANEAPI WEBP_Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId);
PANE_EXTERN BOOL PANEAPI WEBP_DeleteEle(int id);
PANE_EXTERN BOOL PANEAPI WEBP_ShowEle(int id, BOOL show);
PANE_EXTERN BOOL PANEAPI WEBP_SetEleRect(int id, const RECT* r);
PANE_EXTERN BOOL PANEAPI WEBP_GoBack(int id);
PANE_EXTERN BOOL PANEAPI WEBP_GoForward(int id);
PANE_EXTERN BOOL PANEAPI WEBP_GoHome(int id);
PANE_EXTERN BOOL PANEAPI WEBP_GoSearch(int id);
PANE_EXTERN BOOL PANEAPI WEBP_Navigate2(int id, const char* url);
PANE_EXTERN BOOL PANEAPI WEBP_Refresh(int id);
PANE_EXTERN BOOL PANEAPI WEBP_Stop(int id);
PANE_EXTERN BOOL PANEAPI WEBP_ViewFontsLargest(int id);
PANE_EXTERN BOOL PANEAPI WEBP_ViewFontsLarge(int id);
PANE_EXTERN BOOL PANEAPI WEBP_ViewFontsMedium(int id);
PANE_EXTERN BOOL PANEAPI WEBP_ViewFontsSmall(int id);
PANE_EXTERN BOOL PANEAPI WEBP_ViewFontsSmallest(int id);
PANE_EXTERN BOOL PANEAPI WEBP_Print(int id);
PANE_EXTERN HWND PANEAPI WEBP_GetHandle(int id);

// The function types the player's loader calls through.
typedef int(PANEAPI* WEBP_AddEleFn)(void);
typedef BOOL(PANEAPI* WEBP_CreateFn)(int, DWORD, const RECT*, HWND, UINT);
typedef BOOL(PANEAPI* WEBP_IdFn)(int);
typedef BOOL(PANEAPI* WEBP_ShowEleFn)(int, BOOL);
typedef BOOL(PANEAPI* WEBP_SetEleRectFn)(int, const RECT*);
typedef BOOL(PANEAPI* WEBP_Navigate2Fn)(int, const char*);
typedef HWND(PANEAPI* WEBP_GetHandleFn)(int);
