// The editor options: the player's record holds the defaults; the ini
// reader and writer of the authoring side.
#include "winpages.h"

#include "engine/editoptions.h"
#include "foundation/fileutil.h"

TEST(EditorOptions, DefaultsAndTheIniFile) {
  const TEditOptions defaults;
  EXPECT_EQ(defaults.GridWidth, 5);
  EXPECT_EQ(defaults.GridOn, 0);
  EXPECT_EQ(defaults.ArrowStep, 2);
  EXPECT_EQ(defaults.UseDefaultData, 1);
  EXPECT_EQ(defaults.HandleThickness, 4);
  EXPECT_EQ(defaults.HandleStyle, 25);
  EXPECT_EQ(defaults.BackupFile, 1);
  EXPECT_EQ(defaults.MaxMediaFileSize, 2000000);
  char program[MAX_PATH];
  GetProgramDirectory(program);
  EXPECT_EQ(defaults.DataPath, program);

  const std::string dir = TempPath("ini\\");
  ::CreateDirectoryA(dir.c_str(), nullptr);
  const std::string ini = dir + "TSL.INI";
  ::DeleteFileA(ini.c_str());
  TEditOptions written;
  written.GridWidth = 8;
  written.UseDefaultData = 0;
  written.MaxMediaFileSize = 123456;
  written.DataPath = dir.c_str();
  written.Write(dir.c_str());
  EXPECT_TRUE(FileExists(ini.c_str())) << "the ini file is made";
  TEditOptions read;
  read.Read(dir.c_str());
  EXPECT_EQ(read.GridWidth, 8);
  EXPECT_EQ(read.UseDefaultData, 0);
  EXPECT_EQ(read.MaxMediaFileSize, 123456);
  EXPECT_EQ(read.DataPath, dir.c_str());

  ::WritePrivateProfileStringA("EDITOR", "DATAPATH", "Q:\\NOWHERE\\", ini.c_str());
  ::WritePrivateProfileStringA("EDITOR", "USESTDDATA", nullptr, ini.c_str());
  read.Read(dir.c_str());
  EXPECT_EQ(read.DataPath, program) << "a folder that does not exist reads as the program's";
  EXPECT_EQ(read.UseDefaultData, 0) << "the reader's default for a missing key";
  ::DeleteFileA(ini.c_str());
  ::RemoveDirectoryA(dir.c_str());
}
