// Start-up state of the player: the title of its frame and message boxes,
// the local runtime folder of the auto-start ini file, and the rules by
// which start-up finds the project in "TSLPLAY32.INI".
#pragma once
#include <cstdint>

#include "platform/core/cstring.h"

// The built-in title until the ini file names the task; then its TASKNAME
// (possibly empty) for the rest of the run.
const char* ProgramTitle();
void SetProgramTitle(const char* title);

// LOCAL_RUNTIME_DIR, trimmed of blanks and then of backslashes at both ends.
extern string LocalRuntimeDir;

// One of two comma-separated variants of an ini value: the first at 8 bits
// per pixel or fewer, else the second; a lone variant either way; empty
// when there is none.
string SelectByColourDepth(const char* text, int bitsPerPixel);
// A path reached from the program folder on a network share: the program
// folder, one "..\" per level of the local runtime folder, and the path
// behind its drive.
string MapToRuntimeRoot(const string& path, const string& programDir);
// The project path the ini value `value` stands for (FILE or FILEwxh,
// already chosen), looked for from the program folder `programDir`.
// `exists` tells whether a file exists.
string ResolveAutostartFile(const string& value, const string& programDir, bool (*exists)(const char*));

// The main frame's window style for the project flags: a popup, with a
// caption (and its boxes) unless the frame is shaped, with a sizing border.
uint32_t FrameStyleFor(uint32_t flags);
