// Path resolution against this machine: the Windows and system folders, the
// shell's special folders, the program-files folder of the registry and the
// file system, for the portable resolver (engine/core/pages/pathresolve.h).
#pragma once
#include "platform/owl/defs.h"

#include "engine/core/pages/pathresolve.h"

class TWin32PathEnvironment : public TPathEnvironment {
public:
  string WindowsDirectory() const override;
  string SystemDirectory() const override;
  string ProgramDirectory() const override;
  string SpecialFolder(int csidl) const override;
  // "ProgramFilesDir" of HKEY_LOCAL_MACHINE
  // "SOFTWARE\Microsoft\Windows\CurrentVersion", opened for reading only.
  bool InstallDirectory(string& out) const override;
  bool FileExists(const string& path) const override;
};

// The machine's environment (one for the program).
const TPathEnvironment& MachinePaths();

// A shell folder's path by its CSIDL number; empty when the shell does not
// know the folder.
string GetSpecialFolderPath(int csidl);

// The first placeholder of the path replaced against this machine.
bool ExpandPathPlaceholders(string& path);
