#include "engine/editoptions.h"

#include <cstdio>
#include <cstdlib>

#include "foundation/fileutil.h"
#include "platform/owl/profile.h"

namespace {

const char kSection[] = "EDITOR";

string IniFile(const char* iniDir) {
  char dir[MAX_PATH] = {};
  if (iniDir && *iniDir) {
    std::snprintf(dir, sizeof dir, "%s", iniDir);
  } else {
    ::GetWindowsDirectoryA(dir, sizeof dir);
  }
  string path(dir);
  AddTrailingBackslash(path);
  path += "TSL.INI";
  if (path.length() >= MAX_PATH) path.resize(MAX_PATH - 1);
  return path;
}

string ProgramDirectory() {
  char buffer[MAX_PATH] = {};
  GetProgramDirectory(buffer);
  return string(buffer);
}

}  // namespace

TEditOptions::TEditOptions() : DataPath(ProgramDirectory()) {}

void TEditOptions::Read(const char* iniDir) {
  const string file = IniFile(iniDir);
  TProfile p(kSection, file.c_str());
  TabWidth = p.GetInt("TAB", 5);
  GridWidth = p.GetInt("RASTERWIDTH", 5);
  GridOn = p.GetInt("USERASTER", 0);
  ArrowStep = p.GetInt("ITEMJUMP", 2);
  UseDefaultData = p.GetInt("USESTDDATA", 0);
  AdjustItems = p.GetInt("ADJUSTITEMS", 0);
  BackupFile = p.GetInt("BACKUPFILE", BackupFile);
  const string program = ProgramDirectory();
  const string path(p.GetString("DATAPATH", program.c_str()));
  if (!path.is_null()) DataPath = FileExists(path.c_str()) ? path : program;
  CreateRuntimeOnSave = p.GetInt("CREATECRTWHENSAVE", CreateRuntimeOnSave);
  Scroller = p.GetInt("SCROLLER", Scroller);
  ItemShiftX = p.GetInt("ITEMSHIFTX", ItemShiftX);
  ItemShiftY = p.GetInt("ITEMSHIFTY", ItemShiftY);
  IncludeMediaInProgram = static_cast<uint8_t>(p.GetInt("INCLUDE_MMFILES_IN_EXE", IncludeMediaInProgram));
  char size[65] = {};
  p.GetString("MAX_MMFILESIZE", size, sizeof size, "2000000");
  MaxMediaFileSize = static_cast<int32_t>(std::strtol(size, nullptr, 10));
}

void TEditOptions::Write(const char* iniDir) const {
  const string file = IniFile(iniDir);
  if (!FileExists(file.c_str())) {
    const HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  TProfile p(kSection, file.c_str());
  p.WriteInt("TAB", TabWidth);
  p.WriteInt("RASTERWIDTH", GridWidth);
  p.WriteInt("USERASTER", GridOn);
  p.WriteInt("ITEMJUMP", ArrowStep);
  p.WriteInt("USESTDDATA", UseDefaultData);
  p.WriteInt("ADJUSTITEMS", AdjustItems);
  p.WriteInt("BACKUPFILE", BackupFile);
  p.WriteString("DATAPATH", DataPath.c_str());
  p.WriteInt("CREATECRTWHENSAVE", CreateRuntimeOnSave);
  p.WriteInt("SCROLLER", Scroller);
  p.WriteInt("ITEMSHIFTX", ItemShiftX);
  p.WriteInt("ITEMSHIFTY", ItemShiftY);
  p.WriteInt("INCLUDE_MMFILES_IN_EXE", IncludeMediaInProgram);
  char size[32];
  std::snprintf(size, sizeof size, "%d", static_cast<int>(MaxMediaFileSize));
  p.WriteString("MAX_MMFILESIZE", size);
  p.Flush();
}

TEditOptions& EditOptions() {
  static TEditOptions options;
  return options;
}
