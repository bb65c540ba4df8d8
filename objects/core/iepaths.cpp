#include "objects/core/iepaths.h"

#include "foundation/core/pathstr.h"

TBrowserLibraryPaths BrowserLibraryPaths(const string& programDir, const string& systemDir) {
  TBrowserLibraryPaths p;
  p.Library = programDir;
  p.Library += "webpane.dll";
  p.Control = systemDir;
  AddTrailingBackslash(p.Control);
  p.Control += "Shdocvw.dll";
  return p;
}
