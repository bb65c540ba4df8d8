#include "foundation/commdlgs.h"

#include <cstring>
#include <string>

#include "foundation/core/filesel.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "platform/owl/uiservice.h"
#include "platform/owl/window.h"
#include "resources/ids_foundation.h"

namespace {

const int kPathChars = MAX_PATH;
const int kMultiSelectChars = 0x7FFF;

void CopyPath(char* to, const char* from) {
  std::strncpy(to, from ? from : "", kPathChars - 1);
  to[kPathChars - 1] = 0;
}

// Sends the browser the initial selection once it is ready.
int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) ::SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

}  // namespace

TColor* CustomColours() {
  static TColor colours[16] = {
      TColor(0x010101u), TColor(0x101010u), TColor(0x202020u), TColor(0x303030u),
      TColor(0x404040u), TColor(0x505050u), TColor(0x606060u), TColor(0x707070u),
      TColor(0x808080u), TColor(0x909090u), TColor(0xA0A0A0u), TColor(0xB0B0B0u),
      TColor(0xC0C0C0u), TColor(0xD0D0D0u), TColor(0xE0E0E0u), TColor(0xF0F0F0u),
  };
  return colours;
}

bool SelectColor(TWindow* parent, TColor& colour) {
  TChooseColorDialog::TData data;
  data.Flags = CC_RGBINIT;
  data.Color = colour;
  data.CustColors = CustomColours();
  TChooseColorDialog dialog(parent, data);
  if (dialog.Execute() != IDOK) return false;
  colour = data.Color;
  return true;
}

bool SelectFileName(TWindow* parent, char* path, bool open, const char* filter, const char* defExt, uint32_t flags,
                    const char* customFilter, const char* initialDir) {
  if (!path) return false;
  TOpenSaveDialog::TData data(flags | OFN_EXPLORER, filter, customFilter, initialDir, defExt ? defExt : "*");
  if (std::strlen(path) < static_cast<size_t>(kPathChars)) CopyPath(data.FileName, path);
  auto run = [&]() {
    if (open) return TFileOpenDialog(parent, data).Execute();
    return TFileSaveDialog(parent, data).Execute();
  };
  int result = run();
  if (result != IDOK && data.Error != 0) {
    // An initial name the dialog rejects: once more without it.
    data.FileName[0] = 0;
    result = run();
  }
  if (result != IDOK) return false;
  CopyPath(path, data.FileName);
  return true;
}

bool SelectFiles(TUSStrings& files, TWindow* parent, const char* filter) {
  files.Flush();
  TOpenSaveDialog::TData data(OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter,
                              nullptr, nullptr, nullptr, kMultiSelectChars);
  TFileOpenDialog dialog(parent, data);
  if (dialog.Execute() != IDOK) return false;
  SplitMultiSelection(data.FileName, static_cast<size_t>(data.MaxPath), files);
  return true;
}

bool SelectFont(TWindow* parent, TChooseFontDialog::TData& data) {
  TChooseFontDialog::TData copy = data;
  copy.Flags |= CF_INITTOLOGFONTSTRUCT;
  TChooseFontDialog dialog(parent, copy);
  if (dialog.Execute() != IDOK) return false;
  data = copy;
  return true;
}

bool BrowseForFolder(TWindow* parent, char* path, int) {
  if (!path) return false;
  const TResString prompt = LoadResString(IDS_SELECT_FOLDER);
  std::string initial = path;
  const size_t first = initial.find_first_not_of(' ');
  initial = first == std::string::npos ? std::string() : initial.substr(first);
  while (!initial.empty() && (initial.back() == ' ' || initial.back() == '\\')) initial.pop_back();
  char display[MAX_PATH] = {};
  BROWSEINFOA bi;
  std::memset(&bi, 0, sizeof bi);
  bi.hwndOwner = parent ? parent->GetHandle() : nullptr;
  bi.pszDisplayName = display;
  bi.lpszTitle = prompt.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!initial.empty()) {
    bi.lpfn = &BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  }
  char chosen[MAX_PATH] = {};
  if (!GetUiService().FolderDialog(bi, chosen)) return false;
  chosen[MAX_PATH - 1] = 0;
  CopyPath(path, chosen);
  return true;
}

bool SelectDirectory(TWindow* parent, char* path) { return BrowseForFolder(parent, path, 0); }

bool ChooseTargetDirectory(TWindow* parent, char* path) {
  if (!path || !*path) return false;
  TOpenSaveDialog::TData data(OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, "Temp|~|");
  data.Flags &= ~static_cast<uint32_t>(OFN_EXPLORER);
  data.SetInitialDir(path);
  TChangeToPath here(nullptr, path);
  TDirectoryDialog2 dialog(parent, data);
  if (dialog.Execute() != IDOK) return false;
  // The name is the folder, a backslash and the one-character name the
  // empty list leaves: the folder keeps its backslash.
  CopyPath(path, data.FileName);
  const size_t n = std::strlen(path);
  if (n) path[n - 1] = 0;
  return true;
}

// ---- the target-folder dialogs ----

DEFINE_RESPONSE_TABLE1(TDirectoryDialog2, TFileSaveDialog)
  EV_COMMAND(IDOK, CmOk),
  EV_COMMAND(IDCANCEL, CmCancel),
END_RESPONSE_TABLE;

TDirectoryDialog2::TDirectoryDialog2(TWindow* parent, TData& data, TModule* module)
    : TFileSaveDialog(parent, data, TResId("IDDLG_TARGET_PATH"), nullptr, module) {}
void TDirectoryDialog2::CmOk() { TFileSaveDialog::CmOk(); }
void TDirectoryDialog2::CmCancel() { TFileSaveDialog::CmCancel(); }

DEFINE_RESPONSE_TABLE1(TDirectoryDialog, TFileSaveDialog)
  EV_COMMAND(IDOK, CmOk),
  EV_COMMAND(IDCANCEL, CmCancel),
END_RESPONSE_TABLE;

TDirectoryDialog::TDirectoryDialog(TWindow* parent, TData& data, TModule* module)
    : TFileSaveDialog(parent, data, TResId(IDD_DIRECTORY), nullptr, module) {}
void TDirectoryDialog::CmOk() { TFileSaveDialog::CmOk(); }
void TDirectoryDialog::CmCancel() { TFileSaveDialog::CmCancel(); }
