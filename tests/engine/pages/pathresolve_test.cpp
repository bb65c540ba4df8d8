// Stored file names turned into paths: the placeholders and the path modes,
// against a machine described by the test.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/core/pages/pathresolve.h"

namespace {

class TFakeMachine : public TPathEnvironment {
public:
  string WindowsDirectory() const override { return "C:\\WINDOWS"; }
  string SystemDirectory() const override { return "C:\\WINDOWS\\system32\\"; }
  string ProgramDirectory() const override { return "F:\\PLAYER\\"; }
  string SpecialFolder(int csidl) const override {
    auto it = folders.find(csidl);
    return it == folders.end() ? string() : it->second;
  }
  bool InstallDirectory(string& out) const override {
    if (installDir.is_null()) return false;
    out = installDir;
    return true;
  }
  bool FileExists(const string& path) const override { return files.count(path.str()) != 0; }

  std::map<int, string> folders = {{kFolderDesktopDirectory, "C:\\users\\tsl\\Desktop"},
                                   {kFolderFonts, "C:\\windows\\Fonts\\\\"}};
  string installDir = "C:\\Program Files";
  std::set<std::string> files;
};

class PathTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetProjectPath("E:\\PROJ\\SHOW.TSL");
    SetLocalRuntimeDir("");
    rules.ProgramFolder = "F:\\PLAYER\\";
  }
  void TearDown() override {
    SetProjectPath("");
    SetLocalRuntimeDir("");
  }
  string Resolve(const char* stored, const uint16_t* mode = nullptr, const string* sub = nullptr) {
    string s(stored);
    ResolvePathWith(s, rules, machine, mode, sub);
    return s;
  }
  TFakeMachine machine;
  TPathRules rules;
};

}  // namespace

TEST_F(PathTest, Placeholders) {
  struct Case {
    const char* stored;
    const char* resolved;
  };
  const Case cases[] = {
      {"<windir>\\media\\x.wav", "C:\\WINDOWS\\\\media\\x.wav"},  // the seam keeps both backslashes
      {"<WINDIR>a.bmp", "C:\\WINDOWS\\a.bmp"},
      {"<WinSysDir>x.dll", "C:\\WINDOWS\\system32\\x.dll"},
      {"<WINDISK>:\\DATA\\x.bmp", "C:\\DATA\\x.bmp"},
      {"<CURRENTDIR>p.exe", "F:\\PLAYER\\p.exe"},
      {"<CURRENTPROJECTDIR>bild.bmp", "E:\\PROJ\\bild.bmp"},
      {"<DESKTOPDIR><FONTSDIR>x", "C:\\users\\tsl\\Desktop\\<FONTSDIR>x"},  // the first only
      {"<FONTSDIR>arial.ttf", "C:\\windows\\Fonts\\arial.ttf"},
      {"<PERSONALDIR>brief.doc", "brief.doc"},  // a folder the shell does not know: empty
      {"<INSTALLDIR>TSL\\tsl.exe", "C:\\Program Files\\TSL\\tsl.exe"},
      {"x<WINDIR>y", "xC:\\WINDOWS\\y"},  // found anywhere
  };
  for (const Case& c : cases) EXPECT_EQ(Resolve(c.stored), c.resolved) << c.stored;
}

TEST_F(PathTest, PlaceholdersThatAreNone) {
  rules.Mode = 99;  // any other mode leaves a path unchanged
  EXPECT_EQ(Resolve("<NODIR>x.bmp"), "<NODIR>x.bmp");
  EXPECT_EQ(Resolve("<WINDIR"), "<WINDIR");
  machine.installDir = "";
  EXPECT_EQ(Resolve("<INSTALLDIR>a"), "<INSTALLDIR>a");
  SetProjectPath("");
  EXPECT_EQ(Resolve("<CURRENTPROJECTDIR>a"), "<CURRENTPROJECTDIR>a");
  string s = "<WINDIR>a";
  EXPECT_TRUE(ExpandPathPlaceholders(s, machine));
  s = "<windir>" + string(std::string(260, 'x'));
  EXPECT_FALSE(ExpandPathPlaceholders(s, machine)) << "260 characters or more";
}

TEST_F(PathTest, PathModes) {
  const uint16_t m2 = kPathDataFolder, m3 = kPathNearProject;
  machine.files = {"D:\\EXIST\\A.BMP", "E:\\OTHER\\B.BMP", "E:\\PROJ\\C.BMP"};
  // Mode 1: the project's drive, whether or not the file exists.
  EXPECT_EQ(Resolve("D:\\PROJ\\A.BMP"), "E:\\PROJ\\A.BMP");
  EXPECT_EQ(Resolve("bild.bmp"), "bild.bmp") << "a name without a drive keeps its first letter";
  SetProjectPath("");
  EXPECT_EQ(Resolve("D:\\PROJ\\A.BMP"), "F:\\PROJ\\A.BMP") << "without a project: the program's drive";
  SetProjectPath("E:\\PROJ\\SHOW.TSL");
  // Mode 2: the data folder under the program folder.
  EXPECT_EQ(Resolve("F:\\WORK\\PICS\\A.BMP", &m2), "F:\\PLAYER\\DATA\\A.BMP");
  const string sub = " \\BILDER ";
  EXPECT_EQ(Resolve("x\\A.BMP", &m2, &sub), "F:\\PLAYER\\BILDER\\A.BMP");
  rules.DataFolder = "  ";
  EXPECT_EQ(Resolve("x\\A.BMP", &m2), "F:\\PLAYER\\A.BMP") << "an empty data folder adds nothing";
  // Mode 3: as stored when it exists, else near the project.
  EXPECT_EQ(Resolve("D:\\EXIST\\A.BMP", &m3), "D:\\EXIST\\A.BMP");
  EXPECT_EQ(Resolve("D:\\OTHER\\B.BMP", &m3), "E:\\OTHER\\B.BMP");
  EXPECT_EQ(Resolve("Z:\\ANY\\C.BMP", &m3), "E:\\PROJ\\C.BMP");
  EXPECT_EQ(Resolve("Z:\\ANY\\MISSING.BMP", &m3), "Z:\\ANY\\MISSING.BMP");
  // Long and empty names stay.
  const std::string longName = "D:\\" + std::string(257, 'a');
  EXPECT_EQ(Resolve(longName.c_str()), longName.c_str());
  EXPECT_EQ(Resolve(""), "");
}

TEST_F(PathTest, NetworkShares) {
  rules.ProgramFolder = "\\\\server\\share\\tsl\\";
  SetLocalRuntimeDir(" \\run\\time\\ ");
  EXPECT_EQ(Resolve("D:\\PROJ\\A.BMP"), "\\\\server\\share\\tsl\\..\\..\\PROJ\\A.BMP");
  EXPECT_EQ(MapToRuntimeRoot("\\DATA\\X.BMP", "P:\\", ""), "P:\\DATA\\X.BMP");
  EXPECT_EQ(MapToRuntimeRoot("C:\\", "P:\\", "one"), "P:\\..\\C:\\") << "nothing after the drive";
}
