// User texts from the program's German string table.
#pragma once
#include <windows.h>

// Loads string `id` into one static 1024-byte buffer and returns it; the
// next call overwrites it. An unknown id gives an empty text.
const char* LoadResString(UINT id);
// The module whose resources LoadResString reads (the program by default).
void SetResourceModule(HINSTANCE module);
