// File-name and text helpers that need no file system: the parts of a
// Windows path, trailing backslashes, the case-insensitive substring tests
// by which the player recognises file kinds and web addresses, searching,
// and the small text splitters. Every file-kind test is a substring test,
// not a test of the name's end: "a.exe.txt" counts as a program.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

// --- Parts of a path ---------------------------------------------------
// A path splits into drive ("C:"), folder (first to last backslash, both
// included), name and extension (from the last dot). Each function returns
// false and leaves `out` untouched when the path is empty or the part asked
// for is missing.

// drive + folder + name + `extension`; nothing happens when the path or the
// extension is empty.
void ReplaceExtension(const string& path, string& out, const string& extension);
// name + extension; false when the name is empty.
bool ExtractFileName(const string& path, string& out);
// drive + folder, ending with a backslash; false without a drive letter
// (relative and UNC paths).
bool GetPathDriveDir(const string& path, string& out);
// UNC paths ("\\server\share\..."): with `whole` the path itself, else the
// text before its last backslash, each brought to one trailing backslash.
// Other paths: as GetPathDriveDir.
bool GetPathDirectory(const string& path, string& out, bool whole);
// The extension, with or without its dot; false when there is none.
bool GetPathExtension(const string& path, string& out, bool withDot);
// drive + folder + name; false without a drive.
bool GetPathWithoutExtension(const string& path, string& out);

// Replaces all trailing backslashes of a non-empty string by exactly one.
void AddTrailingBackslash(string& s);
// Trims blanks, then makes " \DATA " into "DATA\"; false when nothing is
// left.
bool MakeRelativeDirPath(string& s);

// --- Text tests and searching ------------------------------------------

// Whether `part` occurs anywhere in `text`, ignoring case (code page 1252
// lower-casing); false when either is null.
bool ContainsNoCase(const char* text, const char* part);
// ".exe", ".pif", ".bat" or ".com" occurs in the name.
bool IsExecutableFile(const char* name);
// ".mov" or ".qt" occurs in the name.
bool IsQuickTimeFile(const char* name);
// True for any text with "://"; otherwise true unless it holds ":\" (only
// drive-letter paths count as files, so "page.htm" is an address).
bool IsUrlAddress(const char* text);
// Whole-string tests, ignoring case, of an extension with its dot.
bool IsPictureExtension(const char* extension);
bool IsTextExtension(const char* extension);

// Position (from the beginning of `text`) of the first `pattern` at or after
// `start`; -1 when either is null, `start` lies outside the text, or there is
// none. Without case sensitivity both are compared lower-cased as Windows
// lower-cases code page 1252.
int32_t FindSubstringPos(const char* text, const char* pattern, bool caseSensitive, int32_t start);

// `out` = `source` without any `ch` / with every `from` replaced by `to`.
// `out` may be `source`.
void RemoveChar(const string& source, string& out, char ch);
void ReplaceChar(const string& source, string& out, char from, char to);
// Carriage returns (13) in a zero-terminated text; 0 for null.
int32_t CountCarriageReturns(const char* text);
// `out` = `source` up to its first carriage return.
void CutAtCarriageReturn(const string& source, string& out);

// Splits `source` at '|' into fields[0..n-1]: the first field and each next
// one are cleared as they are reached, a '|' that would open field n ends the
// split, and the filled fields are trimmed of blanks. Fields beyond the last
// one reached keep their old values.
void SplitBarFields(const char* source, string* fields, int n);

// --- Command line and file associations --------------------------------

// The project file part of a command line: skips the program name (quoted:
// to the closing quote, false when there is none; else to the first blank or
// tab) and the blanks after it, takes all the rest and removes every double
// quote. True when the result is not empty.
bool ParseCommandLineFile(const char* commandLine, string& out);
// Turns the open command of a file class into the bare program: cuts at the
// last ` "%1"`, else at the last " /dde", else at the last "%1", then
// removes every double quote.
void StripAssociationCommand(string& command);

// --- Streams -------------------------------------------------------------

// Copies `count` bytes from one open stream to another in chunks of at most
// 65,534 bytes; false for a negative count or a short read or write.
bool CopyOpenFileBytes(tsl::ByteStream& source, tsl::ByteStream& target, int32_t count);
