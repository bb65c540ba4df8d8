// User texts from the program's German string table, the project file named
// on the command line, and file associations in the registry. Failures are
// reported by the result only.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable after windows.h
#endif
#include <windows.h>

#include "platform/core/cstring.h"

// A copy of a string-table text. It passes as `const char*` to calls within
// the expression that loaded it (MessageBoxA(..., LoadResString(a),
// LoadResString(b), ...) sees two texts); keep a `string`, never that
// pointer, beyond it.
class TResString : public string {
public:
  using string::string;
  explicit TResString(const string& s) : string(s) {}
  operator const char*() const { return c_str(); }
  bool operator==(const char* s) const { return *this == string(s); }
  bool operator!=(const char* s) const { return *this != string(s); }
};

// Loads string `id` of the resource module into the one static text buffer
// (1024 characters) and returns a copy of it; "" for an unknown id.
TResString LoadResString(UINT id);
// The module whose resources LoadResString reads: the application's module
// once it is set, else the program (module instance 0).
void SetResourceModule(HINSTANCE module);
HINSTANCE GetResourceModule();

// The rest of the command line after the program name, without any double
// quote, in `out`; true when that is not empty and names an existing file.
// The whole rest counts as one name, blanks included.
bool GetCommandLineFile(string& out);

// HKEY_CLASSES_ROOT: "." + ext -> ext + "_auto_file" (default value
// `description` when given) with "shell\open\command" = program + " %1".
// False at the first step that fails; keys written so far remain.
bool RegisterFileAssociation(const char* ext, const char* description, const char* programPath);
// Deletes the key "." + ext and the tree ext + "_auto_file"; always true.
bool UnregisterFileAssociation(const char* ext);
// Deletes `name` under `parent` with all its subkeys, innermost first; a
// Windows error code (ERROR_BADKEY, 1010, for a null or empty name).
LONG DeleteRegKeyTree(HKEY parent, const char* name);
// The program that opens files with the extension key (".doc"): the class's
// open command without its "%1" or " /dde" tail and without quotes. False,
// with `out` empty, when the registry has no such association.
bool GetAssociatedProgram(const char* extensionKey, string& out);
