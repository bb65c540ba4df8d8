// Starting a program: waited for, in its own folder, with the arguments
// after one blank.
#include "wintest.h"

#include <string>

#include "actions/execservices.h"

namespace {
std::string ReadText(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "";
  char buf[512] = {};
  DWORD n = 0;
  ::ReadFile(h, buf, sizeof buf - 1, &n, nullptr);
  ::CloseHandle(h);
  std::string s(buf, n);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

std::string SystemFolder() {
  char dir[MAX_PATH];
  ::GetSystemDirectoryA(dir, MAX_PATH);
  return dir;
}
}  // namespace

TEST(RunProgram, AStartedProgramIsWaitedForAndRunsInItsOwnFolder) {
  const std::string out = wintest::TempPath("tsl_run_out.txt");
  ::DeleteFileA(out.c_str());
  const std::string cmd = SystemFolder() + "\\cmd.exe";
  const std::string args = "/c cd > \"" + out + "\"";
  ASSERT_TRUE(RunProgramAndWait(cmd.c_str(), args.c_str(), true, false));
  // Waited for: the file is complete when the call returns.
  std::string folder = ReadText(out);
  for (char& c : folder) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  std::string expected = SystemFolder();
  for (char& c : expected) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(folder, expected);
  ::DeleteFileA(out.c_str());
}

TEST(RunProgram, FailuresReportFalse) {
  EXPECT_FALSE(RunProgramAndWait(nullptr, nullptr, true, false));
  EXPECT_FALSE(RunProgramAndWait("", nullptr, false, false));
  EXPECT_FALSE(RunProgramAndWait("C:\\nowhere\\missing.exe", nullptr, true, false));
}

TEST(RunProgram, WithoutWaitTheCallReturnsAtOnce) {
  const std::string cmd = SystemFolder() + "\\cmd.exe";
  EXPECT_TRUE(RunProgramAndWait(cmd.c_str(), "/c exit 0", false, false));
}

TEST(FilesOnClipboard, NoPathIsNoFile) {
  EXPECT_FALSE(PutFileOnClipboard(nullptr));
  EXPECT_FALSE(PutFileOnClipboard(""));
}
