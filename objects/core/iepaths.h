// Where the browser library loader looks: webpane beside the program, and
// the system's web-browser control library in the system folder, which
// must be there too before webpane is loaded.
// Portable: no Windows headers.
#pragma once
#include "platform/core/cstring.h"

struct TBrowserLibraryPaths {
  string Library;  // <program folder>webpane.dll
  string Control;  // <system folder>\Shdocvw.dll
};

// The program folder ends in its backslash; the system folder may end in
// any number of them, or none.
TBrowserLibraryPaths BrowserLibraryPaths(const string& programDir, const string& systemDir);
