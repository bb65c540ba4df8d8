// TEditOptions: the authoring tool's editor settings (section "EDITOR" of
// "TSL.INI"). The player holds one process-wide record with the defaults
// and never reads the ini file; the engine consults a few members (the
// grid, the arrow-key step, the backup switch of saving, the scroller).
#pragma once
#include <cstdint>

#include "platform/core/cstring.h"

class TEditOptions {
public:
  // The defaults; the data path is the program's folder.
  TEditOptions();

  // Section "EDITOR" of `iniDir` + "TSL.INI" (null: the Windows folder's).
  void Read(const char* iniDir = nullptr);
  void Write(const char* iniDir = nullptr) const;

  int32_t TabWidth = 5;
  int32_t GridWidth = 5;
  int32_t GridOn = 0;
  int32_t ArrowStep = 2;
  int32_t UseDefaultData = 1;
  int32_t AdjustItems = 0;
  int32_t HandleThickness = 4;
  int32_t HandleStyle = 25;
  int32_t SixthValue = 1;
  int32_t BackupFile = 1;
  string DataPath;
  int32_t CreateRuntimeOnSave = 1;
  int32_t Scroller = 0;
  int32_t ItemShiftX = 0;
  int32_t ItemShiftY = 0;
  uint8_t IncludeMediaInProgram = 1;
  int32_t MaxMediaFileSize = 2000000;
};

// The program's one record, made with the defaults on first use.
TEditOptions& EditOptions();
