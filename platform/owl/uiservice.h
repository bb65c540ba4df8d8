// The one way the program asks the user something: message boxes and the
// common dialogs (open, save, colour, font, print, folder). The default
// service shows the Windows dialogs; tests install a service that answers
// from a script and records what was asked (uiscript.h).
#pragma once
#include "platform/owl/defs.h"
#include <commdlg.h>
#include <shlobj.h>

#include "platform/owl/defs.h"

class TUiService {
public:
  virtual ~TUiService() = default;
  // MessageBoxA's answer (IDOK, IDCANCEL, ...).
  virtual int Message(HWND owner, const char* text, const char* caption, uint type) = 0;
  // The common dialogs: true on OK, with the structure filled as the
  // Windows call fills it.
  virtual bool OpenFileDialog(OPENFILENAMEA& ofn) = 0;
  virtual bool SaveFileDialog(OPENFILENAMEA& ofn) = 0;
  virtual bool ColorDialog(CHOOSECOLORA& cc) = 0;
  virtual bool FontDialog(CHOOSEFONTA& cf) = 0;
  virtual bool PrintDialog(PRINTDLGA& pd) = 0;
  // The shell's folder browser: true and the chosen folder's file-system
  // path in `path` (MAX_PATH characters) when the user picked one.
  virtual bool FolderDialog(BROWSEINFOA& bi, char* path) = 0;
  // The extended error of the last common dialog that failed (0 for a
  // plain cancel).
  virtual DWORD DialogError() = 0;
  // The modeless find (replace false) or replace dialog, reporting to
  // fr.hwndOwner; its window, or null.
  virtual HWND FindReplaceDialog(FINDREPLACEA& fr, bool replace) {
    return replace ? ::ReplaceTextA(&fr) : ::FindTextA(&fr);
  }
};

// The Windows dialogs.
class TWin32UiService : public TUiService {
public:
  int Message(HWND owner, const char* text, const char* caption, uint type) override;
  bool OpenFileDialog(OPENFILENAMEA& ofn) override;
  bool SaveFileDialog(OPENFILENAMEA& ofn) override;
  bool ColorDialog(CHOOSECOLORA& cc) override;
  bool FontDialog(CHOOSEFONTA& cf) override;
  bool PrintDialog(PRINTDLGA& pd) override;
  bool FolderDialog(BROWSEINFOA& bi, char* path) override;
  DWORD DialogError() override;
};

// The service in use (the Windows one unless another is installed).
TUiService& GetUiService();
// Installs a service (not owned; null restores the Windows one) and returns
// the previous one.
TUiService* SetUiService(TUiService* service);

// Installs a service for a scope.
class TUiServiceScope {
public:
  explicit TUiServiceScope(TUiService& service) : Previous(SetUiService(&service)) {}
  ~TUiServiceScope() { SetUiService(Previous); }
  TUiServiceScope(const TUiServiceScope&) = delete;
  TUiServiceScope& operator=(const TUiServiceScope&) = delete;

private:
  TUiService* Previous;
};

// A message box through the service.
inline int UiMessageBox(HWND owner, const char* text, const char* caption, uint type) {
  return GetUiService().Message(owner, text, caption, type);
}
