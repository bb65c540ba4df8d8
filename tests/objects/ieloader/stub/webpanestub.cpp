// A webpane that lacks WEBP_Print and most other exports; what it has
// refuses everything.
#include <windows.h>

extern "C" int __stdcall WEBP_AddEle(void) { return -1; }
extern "C" BOOL __stdcall WEBP_Create(int, DWORD, const RECT*, HWND, UINT) { return FALSE; }
extern "C" BOOL __stdcall WEBP_DeleteEle(int) { return FALSE; }
extern "C" HWND __stdcall WEBP_GetHandle(int) { return nullptr; }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
