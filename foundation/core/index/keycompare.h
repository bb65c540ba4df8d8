// Key order of the program's indexes: the Windows word sort of lstrcmpA
// (locale-aware, case-sensitive) on NUL-terminated ANSI strings.
//
// AnsiWordCompare is the portable equivalent for code page 1252 under the
// default collation: it orders exactly as Wine's lstrcmpA does in the
// English and German locales for every string of the bytes 1..255. It
// compares level by level, as the system's sort keys do:
//  1. alphanumeric weights (letters, digits, punctuation, symbols; the
//     ligatures and the sharp s expand to two letters);
//  2. diacritic weights (a < á < à ...);
//  3. case weights (lower case before upper case);
//  4. the word-sort special characters (hyphen, apostrophe, dashes, control
//     characters), which count only here, by their position in the word.
// The soft hyphen (0xAD) has no weight at all.
// Portable: no Windows headers.
#pragma once

namespace tsl {

// <0, 0 or >0 (always -1, 0 or 1), as lstrcmpA.
using KeyCompareFn = int (*)(const char* a, const char* b);

int AnsiWordCompare(const char* a, const char* b);
// The same order without the case level, as lstrcmpiA.
int AnsiWordCompareNoCase(const char* a, const char* b);

// The comparison that new trees and catalogue nodes take when they are not
// given one: AnsiWordCompare unless the program installs another (the Win32
// side can hand over the system's own lstrcmpA). Null restores the default.
KeyCompareFn DefaultKeyCompare();
void SetDefaultKeyCompare(KeyCompareFn fn);

}  // namespace tsl
