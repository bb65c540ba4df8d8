// What the player needs to know about the machine, gathered once: the
// program's folder, the screen's size and colour depth, the module instance,
// the Windows and system folders and the user's separators. Beside it the
// Windows version tests of the prerequisite check.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable after windows.h
#endif
#include <windows.h>

#include <cstdint>

#include "foundation/core/winversion.h"
#include "platform/core/cstring.h"

class TInfoStruct {
public:
  // Fills every field (Refresh).
  TInfoStruct();
  // Reads everything again. Values that cannot be read stay empty or 0; the
  // separators keep their defaults.
  void Refresh();
  // The 3D-control library "CTL3DV2.DLL" lies in the Windows folder.
  bool HasCtl3d() const;

  char ProgramDirBuffer[MAX_PATH] = {};  // with its trailing backslash
  int32_t ScreenWidth = 0;               // pixels
  int32_t ScreenHeight = 0;
  int32_t ColorBits = 0;                 // bits per pixel x planes
  HINSTANCE Module = nullptr;            // the application's; 0 without one
  string WindowsDir;                     // as Windows reports it
  string SystemDir;                      // with exactly one trailing backslash
  string ProgramDirectory;               // copy of ProgramDirBuffer
  uint32_t WindowsDirKnown = 0;          // 1 when WindowsDir was read
  char DateSeparator[2] = {'.', '\0'};     // [intl] sDate
  char DecimalSeparator[2] = {',', '\0'};  // [intl] sDecimal
  char TimeSeparator[2] = {',', '\0'};     // [intl] sTime
};

// The program's one instance, made on first use; start-up refreshes it.
TInfoStruct& SystemInfo();

// The Windows version call's answer; false when the call fails.
bool GetOsVersion(OsVersion& v);
bool IsWinNT4OrOlder();
bool IsWin2000();
bool IsWinXP();
bool IsWin95();
bool IsWin98();
bool IsWinME();
