// webpane: web-browser controls as child windows addressed by id. Loaded by
// the player at run time.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
