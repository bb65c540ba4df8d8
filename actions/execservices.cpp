#include "actions/execservices.h"

#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "engine/bookstruct.h"
#include "engine/core/format/rawio.h"
#include "engine/deskframe.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "platform/owl/applicat.h"
#include "platform/owl/framewin.h"

bool RunProgramAndWait(const char* program, const char* arguments, bool wait, bool separateVdm) {
  if (!program || !*program) return false;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
  si.wShowWindow = SW_SHOWMAXIMIZED;
  const DWORD creation = NORMAL_PRIORITY_CLASS | (separateVdm ? CREATE_SEPARATE_WOW_VDM : 0);
  const string folder = ProgramWorkingFolder(program);
  const string line = MakeProgramCommandLine(program, arguments);
  std::vector<char> commandLine(line.c_str(), line.c_str() + line.length() + 1);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, creation, nullptr,
                        folder.is_null() ? nullptr : folder.c_str(), &si, &pi))
    return false;
  ::CloseHandle(pi.hThread);
  bool ok = true;
  if (wait) ok = ::WaitForSingleObject(pi.hProcess, INFINITE) != WAIT_FAILED;
  ::CloseHandle(pi.hProcess);
  return ok;
}

bool PutFileOnClipboard(const char* path) {
  if (!path || !*path) return false;
  IShellFolder* desktop = nullptr;
  if (FAILED(::SHGetDesktopFolder(&desktop)) || !desktop) return false;
  WCHAR wide[MAX_PATH] = {};
  ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, wide, MAX_PATH);
  wide[MAX_PATH - 1] = 0;
  LPITEMIDLIST item = nullptr;
  ULONG eaten = 0;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide, &eaten, &item, nullptr)) || !item) {
    desktop->Release();
    return false;
  }
  IDataObject* data = nullptr;
  LPCITEMIDLIST items[1] = {item};
  const HRESULT hr = desktop->GetUIObjectOf(nullptr, 1, items, IID_IDataObject, nullptr,
                                            reinterpret_cast<void**>(&data));
  ::CoTaskMemFree(item);
  if (FAILED(hr) || !data) {
    desktop->Release();
    return false;
  }
  ::OleSetClipboard(data);  // its result does not change ours
  data->Release();
  desktop->Release();
  return true;
}

TWindow* GetPresentationWindow(TBookStruct*) {
  if (DeskFrame) return DeskFrame;
  TApplication* app = TApplication::GetApplicationObject();
  return app ? app->GetMainWindow() : nullptr;
}

bool IsPresentationWindowActive(TBookStruct* book) { return IsPresentationWindow(book, ::GetActiveWindow()); }

void ShowInfoBox(TBookStruct* book) {
  if (!book || !book->PageWindow) return;
  const string notice = tsl::FixedFieldText(book->Info.Notice, sizeof book->Info.Notice);
  book->PageWindow->MessageBox(notice.c_str(), ProgramTitle(), MB_ICONINFORMATION);
}
