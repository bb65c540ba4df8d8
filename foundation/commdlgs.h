// One call for each common dialog the player shows: colour, file open or
// save, several files, font, folder and an installation's target folder.
// Each runs modally over the parent through the program's UI service and
// copies its result back only when the user accepts; a cancelled or failed
// dialog leaves the caller's data alone and gives false.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max

#include <cstdint>

#include "foundation/core/usstring.h"
#include "platform/owl/color.h"
#include "platform/owl/commdial.h"

class TWindow;

// The 16 custom colours shared by every colour dialog of the run.
TColor* CustomColours();

bool SelectColor(TWindow* parent, TColor& colour);
// `path` holds MAX_PATH characters: the initial name (when shorter than
// MAX_PATH) and, on OK, the chosen path. `filter` is written with bars
// ("CRT-Dateien (*.crt)|*.crt|"); the default extension is "*" when null.
// OFN_EXPLORER is added to `flags`. A dialog that fails (not a plain
// cancel) is shown once more with an empty name.
bool SelectFileName(TWindow* parent, char* path, bool open, const char* filter, const char* defExt, uint32_t flags,
                    const char* customFilter, const char* initialDir);
// Several files to open: `files` is emptied, then gets one full path per
// chosen file.
bool SelectFiles(TUSStrings& files, TWindow* parent, const char* filter);
// The font dialog on a copy of `data`, starting from its LOGFONT; on OK
// every field is copied back.
bool SelectFont(TWindow* parent, TChooseFontDialog::TData& data);
// The shell's folder browser (file-system folders only), preselecting the
// folder in `path` (MAX_PATH characters). `unused` has no effect.
bool BrowseForFolder(TWindow* parent, char* path, int unused);
bool SelectDirectory(TWindow* parent, char* path);
// The target folder of an installation, on the old-style dialog
// "IDDLG_TARGET_PATH" opened in the folder in `path`; on OK `path` is the
// chosen folder with its trailing backslash. False for a null or empty
// path.
bool ChooseTargetDirectory(TWindow* parent, char* path);

// The save dialog on the template "IDDLG_TARGET_PATH".
class TDirectoryDialog2 : public TFileSaveDialog {
public:
  TDirectoryDialog2(TWindow* parent, TData& data, TModule* module = nullptr);
  void CmOk() override;
  void CmCancel() override;

  DECLARE_RESPONSE_TABLE(TDirectoryDialog2);
};

// The like dialog on template 1536.
class TDirectoryDialog : public TFileSaveDialog {
public:
  TDirectoryDialog(TWindow* parent, TData& data, TModule* module = nullptr);
  void CmOk() override;
  void CmCancel() override;

  DECLARE_RESPONSE_TABLE(TDirectoryDialog);
};
