#define NOMINMAX
#include "wintest.h"

#include <cstring>
#include <string>

#include "foundation/resstring.h"
#include "resources/resource.h"
#include "scratch.h"

namespace {
std::string Default(HKEY root, const std::string& key) {
  char buf[1024];
  LONG size = sizeof buf;
  if (RegQueryValueA(root, key.c_str(), buf, &size) != ERROR_SUCCESS) return "<none>";
  return buf;
}
bool KeyExists(HKEY root, const std::string& key) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}
void SetCommand(const std::string& ext, const std::string& cls, const std::string& command) {
  RegSetValueA(HKEY_CLASSES_ROOT, ("." + ext).c_str(), REG_SZ, cls.c_str(), 0);
  RegSetValueA(HKEY_CLASSES_ROOT, (cls + "\\shell\\open\\command").c_str(), REG_SZ, command.c_str(), 0);
}
std::string Both(const char* a, const char* b) { return std::string(a) + "|" + b; }
}  // namespace

TEST(LoadResString, GermanTextsAsCopies) {
  EXPECT_EQ(LoadResString(IDS_NO_TIMER), "Keine Zeitgeber mehr verf\xfc" "gbar!");
  EXPECT_EQ(LoadResString(IDS_UNTITLED), "UNBENANNT");
  EXPECT_EQ(LoadResString(64999), "");
  // Two loads in one expression: each yields its own text.
  EXPECT_EQ(Both(LoadResString(IDS_PROGRAM_TITLE), LoadResString(IDS_UNTITLED)),
            "TSL F\xdcR WINDOWS V4.77|UNBENANNT");
  const string kept = LoadResString(IDS_UNTITLED);
  LoadResString(IDS_NO_TIMER);
  EXPECT_EQ(kept, "UNBENANNT");
}

TEST(Registry, AssociationRoundTrip) {
  const char* ext = "tslutiltest";
  EXPECT_TRUE(RegisterFileAssociation(ext, "TSL-Pr\xe4sentation", "C:\\Programme\\TSL\\tslplay32.exe"));
  EXPECT_EQ(Default(HKEY_CLASSES_ROOT, ".tslutiltest"), "tslutiltest_auto_file");
  EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "tslutiltest_auto_file"), "TSL-Pr\xe4sentation");
  EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "tslutiltest_auto_file\\shell\\open\\command"),
            "C:\\Programme\\TSL\\tslplay32.exe %1");
  string program("alt");
  EXPECT_TRUE(GetAssociatedProgram(".tslutiltest", program));
  EXPECT_EQ(program, "C:\\Programme\\TSL\\tslplay32.exe ");  // a bare %1 leaves its blank

  EXPECT_TRUE(UnregisterFileAssociation(ext));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".tslutiltest"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "tslutiltest_auto_file"));
  EXPECT_FALSE(GetAssociatedProgram(".tslutiltest", program));
  EXPECT_EQ(program, "");
  EXPECT_TRUE(UnregisterFileAssociation(ext));  // nothing left: still true

  EXPECT_TRUE(RegisterFileAssociation(ext, nullptr, "C:\\x.exe"));
  EXPECT_EQ(Default(HKEY_CLASSES_ROOT, "tslutiltest_auto_file"), "");
  UnregisterFileAssociation(ext);
}

TEST(Registry, AssociatedProgramCommands) {
  struct Case { const char* command; const char* program; };
  const Case cases[] = {
      {"\"C:\\Programme\\Office\\winword.exe\" \"%1\"", "C:\\Programme\\Office\\winword.exe"},
      {"C:\\Programme\\Office\\winword.exe /dde", "C:\\Programme\\Office\\winword.exe"},
      {"C:\\Viewer\\view.exe", "C:\\Viewer\\view.exe"},
  };
  for (const Case& c : cases) {
    SetCommand("tslutilcmd", "tslutilcmd_class", c.command);
    string out;
    EXPECT_TRUE(GetAssociatedProgram(".tslutilcmd", out)) << c.command;
    EXPECT_EQ(out, c.program);
  }
  // A command of exactly 256 bytes stored without its terminating zero.
  const std::string full = "C:\\" + std::string(249, 'p') + ".exe";
  ASSERT_EQ(full.size(), 256u);
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "tslutilcmd_class\\shell\\open\\command", &key), ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()), 256);
  string out;
  EXPECT_TRUE(GetAssociatedProgram(".tslutilcmd", out));
  EXPECT_EQ(out, full);
  // Longer than the 256-byte buffer: not taken.
  const std::string longer = full + "x";
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(longer.c_str()), 258);
  RegCloseKey(key);
  EXPECT_FALSE(GetAssociatedProgram(".tslutilcmd", out));
  EXPECT_EQ(out, "");

  EXPECT_EQ(DeleteRegKeyTree(HKEY_CLASSES_ROOT, ".tslutilcmd"), ERROR_SUCCESS);
  EXPECT_EQ(DeleteRegKeyTree(HKEY_CLASSES_ROOT, "tslutilcmd_class"), ERROR_SUCCESS);
  EXPECT_FALSE(GetAssociatedProgram(".tslutilcmd", out));
  EXPECT_FALSE(GetAssociatedProgram(nullptr, out));
}

TEST(Registry, DeleteRegKeyTreeRemovesNestedKeys) {
  const char* base = "Software\\TslUtilTest";
  for (const char* sub : {"Eins\\Zwei\\Drei", "Eins\\Zwei\\Vier", "Eins\\Neben", "Fuenf"}) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (std::string(base) + "\\" + sub).c_str(), &k), ERROR_SUCCESS);
    RegSetValueExA(k, "Wert", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(k);
  }
  HKEY software;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software), ERROR_SUCCESS);
  EXPECT_EQ(DeleteRegKeyTree(software, "TslUtilTest"), ERROR_SUCCESS);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
  EXPECT_EQ(DeleteRegKeyTree(software, "TslUtilTest"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DeleteRegKeyTree(software, ""), 1010);
  EXPECT_EQ(DeleteRegKeyTree(software, nullptr), 1010);
  RegCloseKey(software);
}

// Starts this program again with a command line of its own; main() sees
// TSLUTIL_CMDLINE_WANT and reports through the exit code whether
// GetCommandLineFile gave that file ("-": no file).
TEST(CommandLine, ProjectFileFromTheProcessCommandLine) {
  ScratchDir dir("tslutil cmd");
  const std::string project = dir / "Mein Projekt.crt";
  ScratchDir::Write(project, "");
  char module[MAX_PATH];
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  // A winelib program's module file is a launcher script; start its .so.
  std::string self = module;
  if (GetFileAttributesA((self + ".so").c_str()) != INVALID_FILE_ATTRIBUTES) self += ".so";
  auto run = [&](const std::string& args, const char* want) {
    SetEnvironmentVariableA("TSLUTIL_CMDLINE_WANT", want);
    std::string line = "\"" + self + "\"" + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(self.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    const DWORD startError = started ? 0 : GetLastError();
    SetEnvironmentVariableA("TSLUTIL_CMDLINE_WANT", nullptr);
    if (!started) return "not started, error " + std::to_string(startError);
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 98);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return std::to_string(code);
  };
  EXPECT_EQ(run(" \"" + project + "\"", project.c_str()), "0");
  EXPECT_EQ(run("   " + project, project.c_str()), "0");
  EXPECT_EQ(run("", "-"), "0");
  EXPECT_EQ(run(" \"" + project + "\" zweites", "-"), "0");  // the whole rest is one name
  EXPECT_EQ(run(" \"" + dir / "fehlt.crt" + "\"", "-"), "0");
}
