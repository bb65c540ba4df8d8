// The portable part of the action executor's services: splitting a command
// text into program and arguments, and the working folder and command line
// a started program gets.
#pragma once
#include "platform/core/cstring.h"

// With a non-empty command and empty arguments: the command, trimmed of
// blanks, is cut at its first blank; the part before it stays as the
// program, everything after that one blank (blanks included) becomes the
// arguments. Quotes mean nothing here. Otherwise nothing changes.
void SplitCommandLine(string& command, string& arguments);

// The command line of a started program: the program path, quoted when it
// holds a blank and is not quoted yet, and, when arguments are given at
// all, one blank and the arguments (an empty text still adds the blank).
string MakeProgramCommandLine(const char* program, const char* arguments);
// The working folder of a started program: the drive and folder of its
// path with the trailing backslash; a path without a drive letter gets the
// folder part it has, and a bare name none (empty: the player's own).
string ProgramWorkingFolder(const char* program);
