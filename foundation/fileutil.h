// Files and folders by Windows path ("C:\...", "\\server\share\..."):
// existence, the program's folder, creating folder paths, copying,
// temporary and unique names, and a guard that makes a folder current for a
// while. Paths hold at most 259 characters (buffers of MAX_PATH). Failures
// are false or empty results; nothing is shown. The path-string helpers are
// in foundation/core/pathstr.h.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable after windows.h
#endif
#include <windows.h>

#include <cstdint>

#include "foundation/core/pathstr.h"

// False for null and for paths of fewer than 2 or of 260 and more characters
// (without asking the file system); else whether the path exists (file or
// folder).
bool FileExists(const char* path);
// Whether the path exists and is a folder.
bool IsDirectoryPath(const char* path);
// The running program's folder with its trailing backslash, in `buffer`
// (MAX_PATH characters); returns `buffer`.
char* GetProgramDirectory(char* buffer);
// Creates every missing folder of `path` that is followed by a backslash
// (C:\A\B\ creates C:\A and C:\A\B; C:\A\B only C:\A). True for an empty
// path; false at the first folder that cannot be created.
bool CreateDirectoryPath(const char* path);
// Copies over an existing target; names equal ignoring case count as done.
// With `clearReadOnly` a copied target gets the archive attribute only (a
// file from a CD is read-only). `unused` has no effect.
bool CopyFileOver(const char* source, const char* target, int unused, bool clearReadOnly);

// A new, empty temporary file in `buffer` (MAX_PATH characters): in the
// Windows temporary folder with `prefix` unless that folder is missing or on
// a CD-ROM; then "c:\temp\KVR<n>.tmp"; at last a name from the run-time
// library (not created). Empty when nothing could be had.
void MakeTempFileName(char* buffer, const char* prefix);
// MakeTempFileName with the prefix "TSL".
void MakeProgramTempFileName(char* buffer);
// Drive and folder of the temporary files, ending with a backslash.
void GetTempDirectory(char* buffer);
// program folder + stem + n + extension for the first n (0 to 32766) whose
// file does not exist; stored in `result` and returned.
string MakeUniqueFileName(string& result, const char* stem, const char* extension);
// MakeUniqueFileName("UNBENANNT", ".TSL") into `buffer` (MAX_PATH).
void MakeUniqueProjectFileName(char* buffer);
// name := program folder + n + name for the first n whose file does not
// exist.
void MakeNumberedFileName(string& name);

// Makes a folder the current one (drive and folder) for the guard's life and
// restores the saved drive and folder after.
class TChangeToPath {
public:
  // `savedDir` null: the current folder is saved; otherwise `savedDir` is the
  // folder restored at the end.
  TChangeToPath(const char* savedDir, const char* folder);
  ~TChangeToPath();
  TChangeToPath(const TChangeToPath&) = delete;
  TChangeToPath& operator=(const TChangeToPath&) = delete;

private:
  char savedDir_[MAX_PATH] = {};
  int32_t savedDrive_ = 3;  // 1 = A:, 3 = C:
};
