// Placeholders and path modes against the machine the tests run on: the
// Windows folders, the shell's folders and the registry of the test run's
// Wine prefix, and files that exist.
#include "winpages.h"

#include <shlobj.h>

#include "engine/pathresolve.h"
#include "foundation/sysinfo.h"

namespace {

std::string WithSlash(std::string s) {
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s + "\\";
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, 0, path))) return "";
  return path;
}

std::string ProgramFilesFromRegistry() {
  char value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "";
  return value;
}

}  // namespace

TEST(PathResolution, PlaceholdersOfThisMachine) {
  SystemInfo().Refresh();
  char windows[MAX_PATH], system[MAX_PATH];
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  ::GetSystemDirectoryA(system, MAX_PATH);
  const std::string install = ProgramFilesFromRegistry();
  ASSERT_FALSE(install.empty()) << "the prefix has the program-files folder";
  struct Case {
    const char* stored;
    std::string resolved;
  };
  const Case cases[] = {
      {"<WINDIR>x.wav", WithSlash(windows) + "x.wav"},
      {"<winsysdir>x.dll", WithSlash(system) + "x.dll"},
      {"<WINDISK>:\\x", std::string(1, windows[0]) + ":\\x"},
      {"<FONTSDIR>a.ttf", WithSlash(ShellFolder(CSIDL_FONTS)) + "a.ttf"},
      {"<DESKTOPDIR>a", WithSlash(ShellFolder(CSIDL_DESKTOPDIRECTORY)) + "a"},
      {"<PERSONALDIR>a", WithSlash(ShellFolder(CSIDL_PERSONAL)) + "a"},
      {"<PROGRAMFILESDIR>a", WithSlash(ShellFolder(CSIDL_PROGRAMS)) + "a"},
      {"<STARTMENUDIR>a", WithSlash(ShellFolder(CSIDL_STARTMENU)) + "a"},
      {"<STARTUPDIR>a", WithSlash(ShellFolder(CSIDL_STARTUP)) + "a"},
      {"<INSTALLDIR>TSL\\a.exe", WithSlash(install) + "TSL\\a.exe"},
      {"<CURRENTDIR>a", SystemInfo().ProgramDirectory.str() + "a"},
  };
  for (const Case& c : cases) {
    string path = c.stored;
    EXPECT_TRUE(ExpandPathPlaceholders(path)) << c.stored;
    EXPECT_STRCASEEQ(path.c_str(), c.resolved.c_str()) << c.stored;
  }
  EXPECT_EQ(GetSpecialFolderPath(0x7777), "") << "a folder the shell does not know";
}

TEST(PathResolution, TheOpenProjectsPathModes) {
  TTestWindow w;
  const std::string dir = TempPath("modes\\");
  ::CreateDirectoryA(dir.c_str(), nullptr);
  const std::string project = dir + "show.crt";
  WriteBytes(project, BuildProject("pathmode 3\ndatafolder \"\\\\BILDER\\\\\"\npage 1\n"));
  WriteBytes(dir + "nearby.bmp", {1, 2, 3});
  {
    TBookStruct book(&w.Window, project.c_str());
    ASSERT_TRUE(book.OpenProjectStream());
    ASSERT_TRUE(book.ReadProject(*book.Stream));
    EXPECT_EQ(book.Info.PathMode, 3);

    // Mode 3: the file next to the project.
    string nearby = "Q:\\ELSEWHERE\\nearby.bmp";
    book.ResolvePath(nearby);
    EXPECT_STRCASEEQ(nearby.c_str(), (dir + "nearby.bmp").c_str());
    string missing = "Q:\\ELSEWHERE\\missing.bmp";
    book.ResolvePath(missing);
    EXPECT_EQ(missing, "Q:\\ELSEWHERE\\missing.bmp");
    // Mode 1 on request: the project's drive.
    const uint16_t one = kPathAbsolute, two = kPathDataFolder;
    string drive = "Q:\\PROJ\\A.BMP";
    book.ResolvePath(drive, &one);
    EXPECT_EQ(drive, string(std::string(1, project[0]) + ":\\PROJ\\A.BMP"));
    // Mode 2: the program folder and the data folder.
    string data = "Q:\\WORK\\A.BMP";
    book.ResolvePath(data, &two);
    EXPECT_EQ(data, book.ProgramFolder + "BILDER\\A.BMP");
    // The record readers see the same resolver.
    EXPECT_STRCASEEQ(static_cast<tsl::TRecordContext&>(book).ResolvePath(string("Q:\\X\\nearby.bmp")).c_str(),
                     (dir + "nearby.bmp").c_str());
    // Without an open project: the record's mode and the program folder.
    TBookStructOptions info;
    info.PathMode = kPathDataFolder;
    string to = "Q:\\X\\B.BMP";
    TBookStruct::ResolvePathTo(to, info);
    EXPECT_EQ(to, SystemInfo().ProgramDirectory + "DATA\\B.BMP");
  }
  ::DeleteFileA((dir + "nearby.bmp").c_str());
  ::DeleteFileA(project.c_str());
  ::RemoveDirectoryA(dir.c_str());
}
