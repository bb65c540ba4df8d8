// The answer of a file-open dialog that allows several files: the folder and
// the chosen names as zero-terminated parts, ended by an empty part, or one
// full path when a single file was chosen. Portable: no Windows headers.
#pragma once
#include <cstddef>

#include "foundation/core/usstring.h"

// Appends to `out` one full path per chosen file. Parsing stops at the
// empty part or at the end of the buffer (a part running into the end is
// not taken); names of 260 characters or more are skipped, and a folder of
// that length gives no files.
void SplitMultiSelection(const char* buffer, size_t size, TUSStrings& out);
