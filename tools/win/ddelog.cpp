// ddelog: a DDEML server for tests that logs every execute string it gets.
//   ddelog SERVICE LOGFILE [MILLISECONDS]
// Serves SERVICE under the topic of the same name, appends each XTYP_EXECUTE
// string as one line (CR LF) to LOGFILE, which it creates empty once the
// service is registered (the sign that it is ready), and ends after
// MILLISECONDS (default 60000).
#include <windows.h>
#include <ddeml.h>

#include <cstdlib>
#include <string>

namespace {

DWORD Instance = 0;
HSZ Service = nullptr;
std::string LogPath;

void Append(const std::string& line) {
  const HANDLE h = ::CreateFileA(LogPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  const std::string text = line + "\r\n";
  ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(h);
}

HDDEDATA CALLBACK CallBack(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(::DdeCmpStringHandles(topic, Service) == 0));
    case XTYP_EXECUTE: {
      const DWORD n = ::DdeGetData(data, nullptr, 0, 0);
      std::string s(n, '\0');
      if (n) ::DdeGetData(data, reinterpret_cast<BYTE*>(&s[0]), n, 0);
      s.resize(s.find('\0') == std::string::npos ? s.size() : s.find('\0'));
      Append(s);
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    }
    default:
      return nullptr;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  LogPath = argv[2];
  const DWORD lifetime = argc > 3 ? static_cast<DWORD>(std::atol(argv[3])) : 60000;
  if (::DdeInitializeA(&Instance, CallBack,
                       APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                           CBF_SKIP_ALLNOTIFICATIONS,
                       0) != DMLERR_NO_ERROR)
    return 1;
  Service = ::DdeCreateStringHandleA(Instance, argv[1], CP_WINANSI);
  if (!Service || !::DdeNameService(Instance, Service, nullptr, DNS_REGISTER)) return 1;
  const HANDLE h = ::CreateFileA(LogPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < lifetime) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  ::DdeNameService(Instance, Service, nullptr, DNS_UNREGISTER);
  ::DdeFreeStringHandle(Instance, Service);
  ::DdeUninitialize(Instance);
  return 0;
}
