// Stored file names of a project turned into paths on this machine: the
// twelve folder placeholders ("<WINDIR>" ...), and the project's path modes
// (the drive the project runs from, the data folder, a search near the
// project file). A name that cannot be improved stays as it was; nothing is
// reported. The machine (folders, registry, file system) is asked through
// TPathEnvironment, which the Win32 side implements.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "platform/core/cstring.h"

// Shell folder numbers of the placeholders (CSIDL values).
enum : int {
  kFolderPrograms = 2,
  kFolderPersonal = 5,
  kFolderStartup = 7,
  kFolderStartMenu = 0x0B,
  kFolderDesktopDirectory = 0x10,
  kFolderFonts = 0x14,
};

// Paths of 260 characters or more are never touched.
constexpr size_t kMaxResolvablePath = 260;

class TPathEnvironment {
public:
  virtual ~TPathEnvironment() = default;
  virtual string WindowsDirectory() const = 0;
  virtual string SystemDirectory() const = 0;
  // The program's folder, with its trailing backslash.
  virtual string ProgramDirectory() const = 0;
  // A shell folder by number; empty when the shell does not know it.
  virtual string SpecialFolder(int csidl) const = 0;
  // The program-files folder of the registry; false when it cannot be read
  // as a text value.
  virtual bool InstallDirectory(string& out) const = 0;
  virtual bool FileExists(const string& path) const = 0;
};

// The absolute path of the open project (empty while none is open), from
// which "<CURRENTPROJECTDIR>" and the path modes work.
const string& GetProjectPath();
void SetProjectPath(const string& path);
// The local run-time folder of the start-up ini ("LOCAL_RUNTIME_DIR"): how
// deep the program sits below the root of a network share.
const string& GetLocalRuntimeDir();
void SetLocalRuntimeDir(const string& dir);

// A path reached from the program folder on a network share: program folder
// + one "..\" per level of the local run-time folder + the path without its
// drive (or without leading backslashes).
string MapToRuntimeRoot(const string& path, const string& programDir, const string& localRuntimeDir);

// Replaces the first placeholder of the path (its first "<" to the next
// ">", compared without case) by its folder; true when one was replaced.
// An unknown token, a missing registry value or a path of 260 characters or
// more leave the path as it was.
bool ExpandPathPlaceholders(string& path, const TPathEnvironment& env);

// Path modes of the project info record.
enum : uint16_t {
  kPathAbsolute = 1,  // the drive follows the medium the project runs from
  kPathDataFolder = 2,  // only the name counts: program folder + data folder
  kPathNearProject = 3,  // as stored, else searched next to the project
};

struct TPathRules {
  uint16_t Mode = kPathAbsolute;
  string ProgramFolder;  // with its trailing backslash
  string DataFolder = "\\DATA\\";
};

// The resolver of the open project: placeholders first, else the mode
// (`modeOverride` when given); `subFolder` replaces the data folder in mode
// 2 when a mode override is given too.
void ResolvePathWith(string& path, const TPathRules& rules, const TPathEnvironment& env,
                     const uint16_t* modeOverride = nullptr, const string* subFolder = nullptr);

// Mode 3: the path itself when it exists, else the same path on the
// project's drive, else the file name in the project's folder; true when one
// of them exists (and is taken).
bool LocateNearProject(string& path, const TPathEnvironment& env);
