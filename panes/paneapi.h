// One calling convention for every exported function of the pane libraries
// (mvpane, webpane and the outside swfpane, dspane, mppane): __stdcall with
// undecorated names from each library's .spec file. The player's imports and
// run-time loaders use the same declarations and function-pointer types.
#pragma once
#include <windows.h>

#define PANEAPI __stdcall
#ifdef __cplusplus
#define PANE_EXTERN extern "C"
#else
#define PANE_EXTERN
#endif
