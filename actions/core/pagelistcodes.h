// The page-list, project, history and document navigation codes: a button
// stepping through a list of pages, loading another project in place of the
// open one, the project's history and an RTF document's own history and
// find dialog.
// Portable: what the codes need of the open project comes through
// TPageListHost (the player's over TBookStruct, the tests' fakes).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "actions/core/dispatch.h"

// Where the frame and the page window go after a reload: the project's page
// size, cut to the screen, the frame centred in what is left of it.
struct TReloadPlacement {
  int X = 0, Y = 0;  // the frame's corner
  int Width = 0, Height = 0;
};
TReloadPlacement ReloadPlacement(int pageWidth, int pageHeight, int screenWidth, int screenHeight);

// The project file a reload opens: the resolved name with its extension,
// if any, replaced by ".CRT".
std::string ReloadFileName(const std::string& resolved);

class TPageListHost {
public:
  virtual ~TPageListHost() = default;
  virtual int PageCount() = 0;
  // The index of the page with that number; negative when none has it.
  virtual int FindPageIndex(uint32_t number) = 0;
  // The page change as code 11 makes it.
  virtual void GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) = 0;
  // The page-list position of the button numbered `owner` on the current
  // page; null unless that object is a button.
  virtual int32_t* ButtonPagePosition(uint32_t owner) = 0;
  virtual void HistoryBack() = 0;
  virtual void HistoryForward() = 0;
  // A link command ("NAVIGATE=BACK", ...) or the find dialog of the RTF
  // document numbered `target`; nothing for other objects.
  virtual void DocumentLinkCommand(uint32_t target, const char* command) = 0;
  virtual void DocumentFindDialog(uint32_t target) = 0;
  // The reload: true while the open project has unsaved changes (the code
  // then only says so in a box owned by the page window).
  virtual bool ProjectModified() = 0;
  virtual void SaveFirstBox() = 0;
  // The action's file name resolved with its path kind and data folder.
  virtual std::string ResolveFileName(const TActionStruct& action) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Replaces the open project by `path` and sizes the windows to it; false
  // when nothing was replaced (no page window to show it in).
  virtual bool ReloadProject(const std::string& path) = 0;
};

// Runs one code of the family on the dispatcher's copy of the action.
void RunPageListCode(TActionRun& run, TPageListHost& host);
