#define NOMINMAX
#include "wintest.h"

#include <cstring>
#include <string>

#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "scratch.h"

namespace {
std::string Cwd() {
  char buf[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, buf);
  return buf;
}
bool IsEmptyFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) && d.nFileSizeLow == 0 &&
         d.nFileSizeHigh == 0 && !(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
std::string Lower(std::string s) {
  CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}
// Restores an environment variable at the end of a scope.
class EnvScope {
public:
  EnvScope(const char* name, const char* value) : name_(name) {
    char buf[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, buf, MAX_PATH);
    had_ = n > 0 && n < MAX_PATH;
    if (had_) old_ = buf;
    SetEnvironmentVariableA(name, value);
  }
  ~EnvScope() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};
}  // namespace

TEST(FileUtil, ExistenceAndFolders) {
  ScratchDir dir("tslutil_exist");
  const std::string file = dir / "datei.txt";
  ScratchDir::Write(file, "abc");
  const std::string longName(259 - dir.Path().size() - 1, 'n');

  struct Case { std::string path; bool exists, folder; };
  const Case cases[] = {
      {file, true, false},
      {dir.Path(), true, true},
      {dir.Path() + "\\", true, true},
      {dir / "fehlt.txt", false, false},
      {"C", false, false},           // below two characters
      {dir / longName, false, false},  // 259 characters, missing
      {std::string(260, 'x'), false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExists(c.path.c_str()), c.exists) << c.path;
    EXPECT_EQ(IsDirectoryPath(c.path.c_str()), c.folder) << c.path;
  }
  EXPECT_FALSE(FileExists(nullptr));
  EXPECT_FALSE(IsDirectoryPath(nullptr));
  EXPECT_TRUE(FileExists("C:\\"));
}

TEST(FileUtil, ProgramDirectory) {
  char dir[MAX_PATH], module[MAX_PATH];
  ASSERT_EQ(GetProgramDirectory(dir), dir);
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  const std::string d(dir), m(module);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d.back(), '\\');
  EXPECT_EQ(m.substr(0, d.size()), d);
  EXPECT_EQ(m.find('\\', d.size()), std::string::npos);
}

TEST(FileUtil, CreateDirectoryPathCreatesFoldersFollowedByABackslash) {
  ScratchDir dir("tslutil_mkdir");
  EXPECT_TRUE(CreateDirectoryPath((dir / "A\\B\\").c_str()));
  EXPECT_TRUE(IsDirectoryPath((dir / "A\\B").c_str()));
  EXPECT_TRUE(CreateDirectoryPath((dir / "C\\D").c_str()));
  EXPECT_TRUE(IsDirectoryPath((dir / "C").c_str()));
  EXPECT_FALSE(FileExists((dir / "C\\D").c_str()));  // not followed by a backslash
  EXPECT_TRUE(CreateDirectoryPath((dir / "A\\B\\").c_str()));  // existing folders are skipped
  EXPECT_TRUE(CreateDirectoryPath("C:\\"));  // a bare drive root: nothing to do
  EXPECT_TRUE(CreateDirectoryPath(""));
  ScratchDir::Write(dir / "F", "");
  EXPECT_FALSE(CreateDirectoryPath((dir / "F\\G\\").c_str()));  // F is a file
  EXPECT_FALSE(CreateDirectoryPath(nullptr));
}

TEST(FileUtil, CopyFileOver) {
  ScratchDir dir("tslutil_copy");
  const std::string src = dir / "quelle.txt", dst = dir / "ziel.txt";
  ScratchDir::Write(src, "neu");
  ScratchDir::Write(dst, "alter Inhalt");
  SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_READONLY);  // as from a CD

  EXPECT_TRUE(CopyFileOver(src.c_str(), dst.c_str(), 0, false));
  EXPECT_EQ(ScratchDir::Read(dst), "neu");
  SetFileAttributesA(dst.c_str(), FILE_ATTRIBUTE_NORMAL);

  EXPECT_TRUE(CopyFileOver(src.c_str(), dst.c_str(), 0, true));
  EXPECT_EQ(GetFileAttributesA(dst.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));

  const std::string missing = dir / "fehlt.txt";
  EXPECT_TRUE(CopyFileOver(missing.c_str(), Lower(missing).c_str(), 0, true));  // same name: nothing to do
  EXPECT_FALSE(CopyFileOver(missing.c_str(), (dir / "x.txt").c_str(), 0, false));
  EXPECT_FALSE(CopyFileOver(nullptr, dst.c_str(), 0, false));
  EXPECT_FALSE(CopyFileOver(src.c_str(), nullptr, 0, false));
}

TEST(FileUtil, TemporaryNamesInTheTempFolder) {
  char tmp[MAX_PATH], name[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  MakeTempFileName(name, "abc");
  const std::string n(name);
  EXPECT_EQ(Lower(n.substr(0, std::strlen(tmp) + 3)), Lower(std::string(tmp) + "abc"));
  EXPECT_EQ(Lower(n.substr(n.size() - 4)), ".tmp");
  EXPECT_TRUE(IsEmptyFile(n));
  DeleteFileA(name);

  MakeProgramTempFileName(name);
  EXPECT_EQ(std::string(name).substr(std::strlen(tmp), 3), "TSL");
  EXPECT_TRUE(IsEmptyFile(name));
  DeleteFileA(name);

  char dir[MAX_PATH];
  GetTempDirectory(dir);
  EXPECT_EQ(Lower(dir), Lower(tmp));
}

TEST(FileUtil, TemporaryNamesFallBackToCTemp) {
  const bool hadTemp = FileExists("c:\\temp");
  std::string first, second;
  {
    EnvScope tmp("TMP", "C:\\tslutil_kein_ordner\\");
    EnvScope temp("TEMP", "C:\\tslutil_kein_ordner\\");
    char name[MAX_PATH];
    MakeTempFileName(name, "abc");  // the caller's prefix is not used here
    first = name;
    MakeTempFileName(name, "abc");
    second = name;
  }
  EXPECT_TRUE(IsDirectoryPath("c:\\temp"));
  const std::string expectFirst = hadTemp ? first : "c:\\temp\\KVR0.tmp";
  EXPECT_EQ(first.substr(0, 11), "c:\\temp\\KVR");
  EXPECT_EQ(first, expectFirst);
  EXPECT_TRUE(IsEmptyFile(first));
  EXPECT_EQ(std::stoi(second.substr(11)), std::stoi(first.substr(11)) + 1);
  EXPECT_TRUE(IsEmptyFile(second));
  DeleteFileA(first.c_str());
  DeleteFileA(second.c_str());
  if (!hadTemp) ScratchDir::Remove("c:\\temp");
}

TEST(FileUtil, UniqueNamesInTheProgramFolder) {
  char dir[MAX_PATH];
  GetProgramDirectory(dir);
  const std::string base = std::string(dir) + "tslutil_stamm";
  for (const char* left : {"0.xyz", "1.xyz", "2.xyz"}) DeleteFileA((base + left).c_str());  // an aborted run
  string result;
  EXPECT_EQ(MakeUniqueFileName(result, "tslutil_stamm", ".xyz"), base + "0.xyz");
  EXPECT_EQ(result, base + "0.xyz");
  ScratchDir::Write(base + "0.xyz", "");
  ScratchDir::Write(base + "1.xyz", "");
  EXPECT_EQ(MakeUniqueFileName(result, "tslutil_stamm", ".xyz"), base + "2.xyz");
  DeleteFileA((base + "0.xyz").c_str());
  DeleteFileA((base + "1.xyz").c_str());

  char project[MAX_PATH];
  MakeUniqueProjectFileName(project);
  EXPECT_EQ(std::string(project), std::string(dir) + "UNBENANNT0.TSL");

  string numbered("tslutil_nummer.dat");
  DeleteFileA((std::string(dir) + "1tslutil_nummer.dat").c_str());
  ScratchDir::Write(std::string(dir) + "0tslutil_nummer.dat", "");
  MakeNumberedFileName(numbered);
  EXPECT_EQ(numbered, std::string(dir) + "1tslutil_nummer.dat");
  DeleteFileA((std::string(dir) + "0tslutil_nummer.dat").c_str());
}

TEST(FileUtil, ChangeToPathRestoresDriveAndFolder) {
  ScratchDir here("tslutil_here"), there("tslutil_there");
  ASSERT_TRUE(SetCurrentDirectoryA("Z:\\tmp") || SetCurrentDirectoryA("Z:\\"));
  const std::string start = Cwd();
  {
    TChangeToPath guard(nullptr, there.Path().c_str());  // another drive, no trailing backslash
    EXPECT_EQ(Lower(Cwd()), Lower(there.Path()));
  }
  EXPECT_EQ(Cwd(), start);
  {
    TChangeToPath guard(here.Path().c_str(), (there.Path() + "\\\\").c_str());
    EXPECT_EQ(Lower(Cwd()), Lower(there.Path()));
  }
  EXPECT_EQ(Lower(Cwd()), Lower(here.Path()));  // the given folder is restored
  {
    TChangeToPath guard(nullptr, "C:\\");
    EXPECT_EQ(Cwd(), "C:\\");
  }
  EXPECT_EQ(Lower(Cwd()), Lower(here.Path()));
  SetCurrentDirectoryA("C:\\");
}
