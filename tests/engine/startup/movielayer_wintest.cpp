// The movie library through the player: the demo starts the movie layer,
// which answers 0 (DirectShow is there), and ends it on the way out with
// exit code 0. The calls are seen in Wine's relay trace of mvpane alone.
#include "playerrun.h"

#include <fcntl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string UnixPathOf(const std::string& windowsPath) {
  std::vector<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, w.data(), static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.data());
  if (!unix) return std::string();
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

// Sets (or with null removes) a value of Wine's debug key in the prefix.
void SetRelayInclude(const char* value) {
  HKEY k = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value)
    ::RegSetValueExA(k, "RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>(std::strlen(value) + 1));
  else
    ::RegDeleteValueA(k, "RelayInclude");
  ::RegCloseKey(k);
}

// The return value of the relay line "Ret  mvpane.NAME(" in `trace`; -1
// when there is none.
long long RelayResult(const std::string& trace, const std::string& name) {
  const size_t at = trace.find("Ret  mvpane." + name + "(");
  if (at == std::string::npos) return -1;
  const size_t value = trace.find("retval=", at);
  const size_t end = trace.find('\n', at);
  if (value == std::string::npos || value > end) return -1;
  return static_cast<long long>(std::strtoull(trace.c_str() + value + 7, nullptr, 16));
}

TEST(MovieLayer, TheDemoStartsAndEndsIt) {
  const std::string demo = ProgramFolder() + "..\\..\\demo\\demo.crt";
  ASSERT_NE(::GetFileAttributesA(demo.c_str()), INVALID_FILE_ATTRIBUTES) << demo << " (make demo writes it)";
  const std::string tracePath = wintest::TempPath("tsl_mvpane_relay.txt");
  ::DeleteFileA(tracePath.c_str());
  SetRelayInclude("mvpane.*");

  std::vector<std::string> env = {"WINEDEBUG=+relay"};
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "WINEDEBUG=", 10) != 0) env.push_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(&e[0]);
  envp.push_back(nullptr);
  std::string program = UnixPathOf(ProgramFolder()) + "/tslplay32.exe.so";
  std::string wine = "wine64", project = UnixPathOf(demo);
  char* argv[] = {&wine[0], &program[0], &project[0], nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 2, UnixPathOf(tracePath).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "wine64", &files, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&files);
  ASSERT_EQ(0, spawned);

  HWND frame = nullptr;
  for (int i = 0; i < 600 && !frame; ++i) {
    frame = ::FindWindowA("TSLPLAY32Frame", nullptr);
    if (!frame) ::Sleep(50);
  }
  SetRelayInclude(nullptr);
  ASSERT_NE(nullptr, frame);
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  int status = -1;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WIFEXITED(status) ? WEXITSTATUS(status) : -1);

  const std::vector<uint8_t> bytes = wintest::ReadFileBytes(tracePath);
  const std::string trace(bytes.begin(), bytes.end());
  EXPECT_EQ(0, RelayResult(trace, "InitQT")) << "InitQT answers success";
  const size_t init = trace.find("Call mvpane.InitQT(");
  const size_t exit = trace.find("Call mvpane.ExitQT(");
  EXPECT_NE(std::string::npos, exit) << "ExitQT on the way out";
  EXPECT_LT(init, exit);
  ::DeleteFileA(tracePath.c_str());
}

}  // namespace
