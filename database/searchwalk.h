// The walk over the pages that the search dialogs read: the shown page
// through its own manager, or every page of the project through a
// temporary manager on a hidden page window, reading each page's object
// descriptions and tree database as the page build would.
#pragma once
#include "platform/owl/defs.h"

#include <functional>

#include "database/searchfields.h"

class TBookStruct;
class TDBNodeManager;
class TObjectManager;
class TObjectWindow;

// Calls `visit` (page index, its manager, its tree database) for each page
// whose database is in use: only the shown page (index 0), or with
// `allPages` every page, their descriptions appended to `infos`. With
// `allPages` each page with a database in use is followed by the progress
// p * 100 / pages with `progressText`, and the walk by the progress's end.
// `visit` returns false to end the walk there.
// The progress lets messages through: the caller holds its dialog busy.
void WalkSearchPages(TBookStruct& book, bool allPages, TObjectWindow* hiddenPage, TSearchObjectInfos& infos,
                     const char* progressText,
                     const std::function<bool(int page, TObjectManager& manager, TDBNodeManager& db)>& visit);
