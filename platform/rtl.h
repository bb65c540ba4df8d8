// Win32 half of the run-time-library shim: findfirst/findnext over
// FindFirstFileA with the DOS attribute mask (platform/core/rtlcore.h), the
// packed DOS time stamp of an open file, and the temporary-name generator.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable after windows.h
#endif
#include <windows.h>

#include <cstdint>

#include "platform/core/rtlcore.h"

namespace tsl {

// One directory search. The search handle is released by findclose, by the
// next findfirst on the same block, at the end of the search, or when the
// block is destroyed.
struct ffblk {
  ffblk() = default;
  ~ffblk();
  ffblk(const ffblk&) = delete;
  ffblk& operator=(const ffblk&) = delete;

  uint32_t ff_attrib = 0;  // FA_ bits of the entry found
  uint16_t ff_ftime = 0;   // DOS time of the last write (local time)
  uint16_t ff_fdate = 0;   // DOS date of the last write
  uint32_t ff_fsize = 0;   // size in bytes; 0xFFFFFFFF for 4 GB and more
  char ff_name[MAX_PATH] = {};

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  uint32_t mask_ = 0;
};

// First entry matching `pattern` ("C:\dir\*.*") and the attribute mask
// (AttributesMatch); 0 when one was found, -1 otherwise.
int findfirst(const char* pattern, ffblk* blk, uint32_t attrib);
// Next matching entry; 0 or -1.
int findnext(ffblk* blk);
void findclose(ffblk* blk);

// Packed DOS date and time of the last write of an open file (PackDosDateTime).
bool GetFileDosTime(HANDLE file, uint32_t& stamp);
// The same for a file by name.
bool GetFileDosTime(const char* path, uint32_t& stamp);
// Sets the last-write time of an open file (opened for writing).
bool SetFileDosTime(HANDLE file, uint32_t stamp);

// The run time's temporary-name generator: a name in the current folder that
// does not exist yet (the file is not created). Empty when none can be had.
// `buffer` holds MAX_PATH characters.
char* tmpnam(char* buffer);

}  // namespace tsl
