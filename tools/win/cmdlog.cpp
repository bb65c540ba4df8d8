// cmdlog: a stand-in program for tests that start programs: it appends its
// whole command line, as Windows handed it over, as one line (CR LF) to the
// file that the environment variable TSL_CMDLOG names, and ends. Without the
// variable it writes nothing. Registered as a handler (mailto: and so on) it
// shows what the caller passed.
#include <windows.h>

#include <string>

int main() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableA("TSL_CMDLOG", path, sizeof path);
  if (n == 0 || n >= sizeof path) return 1;
  const HANDLE h = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  const std::string line = std::string(::GetCommandLineA()) + "\r\n";
  DWORD written = 0;
  const BOOL ok = ::WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(h);
  return ok ? 0 : 1;
}
