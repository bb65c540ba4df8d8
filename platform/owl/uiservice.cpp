#include "platform/owl/uiservice.h"

#include <atomic>

namespace {
TWin32UiService& Win32Service() {
  static TWin32UiService service;
  return service;
}
std::atomic<TUiService*> Current{nullptr};
}  // namespace

TUiService& GetUiService() {
  TUiService* s = Current.load();
  return s ? *s : Win32Service();
}

TUiService* SetUiService(TUiService* service) {
  TUiService* old = Current.exchange(service);
  return old ? old : &Win32Service();
}

int TWin32UiService::Message(HWND owner, const char* text, const char* caption, uint type) {
  return ::MessageBoxA(owner, text, caption, type);
}

bool TWin32UiService::OpenFileDialog(OPENFILENAMEA& ofn) { return ::GetOpenFileNameA(&ofn) != 0; }
bool TWin32UiService::SaveFileDialog(OPENFILENAMEA& ofn) { return ::GetSaveFileNameA(&ofn) != 0; }
bool TWin32UiService::ColorDialog(CHOOSECOLORA& cc) { return ::ChooseColorA(&cc) != 0; }
bool TWin32UiService::FontDialog(CHOOSEFONTA& cf) { return ::ChooseFontA(&cf) != 0; }
bool TWin32UiService::PrintDialog(PRINTDLGA& pd) { return ::PrintDlgA(&pd) != 0; }

bool TWin32UiService::FolderDialog(BROWSEINFOA& bi, char* path) {
  LPITEMIDLIST item = ::SHBrowseForFolderA(&bi);
  if (!item) return false;
  const bool ok = ::SHGetPathFromIDListA(item, path) != 0;
  IMalloc* malloc = nullptr;
  if (SUCCEEDED(::SHGetMalloc(&malloc)) && malloc) {
    malloc->Free(item);
    malloc->Release();
  }
  return ok;
}

DWORD TWin32UiService::DialogError() { return ::CommDlgExtendedError(); }
