// The Win32 side of the index engine: files by Windows path (TFile), the
// directory walk, DOS file dates, temporary names, the message box and the
// shell, for the index-file store and the packed archive of the portable
// core. Also the system's own lstrcmpA as a key order.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable after windows.h
#endif
#include <windows.h>

#include "foundation/core/index/indexhost.h"

class TWinPackHost : public tsl::TPackHost {
public:
  std::unique_ptr<tsl::ByteStream> Open(const char* path, OpenMode mode) override;
  bool Flush(tsl::ByteStream& f) override;
  // The system's text for GetLastError, or "no syserror".
  std::string ErrorText() override;

  bool FileExists(const char* path) override;
  bool RemoveFile(const char* path) override;
  bool CreateDirectoryPath(const char* path) override;
  bool GetFileStamp(const char* path, uint32_t& stamp) override;
  bool SetFileStamp(const char* path, uint32_t stamp) override;
  std::vector<string> ListFolder(const char* folder, const std::vector<string>& patterns,
                                 bool sorted) override;
  string ProgramDirectory() override;
  string ProgramPath() override;
  string MakeTempFileName(const char* prefix) override;
  void ShowMessage(const char* text) override;
  bool ShellOpen(const char* file, const char* parameters, const char* folder) override;
};

// The host the player uses.
TWinPackHost& WinPackHost();

// lstrcmpA as a key comparison (tsl::KeyCompareFn), for trees and
// catalogues that are to follow the system's order in the current locale.
int SystemKeyCompare(const char* a, const char* b);
