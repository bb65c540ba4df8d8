// Portable half of the run-time-library shim: the DOS file attribute bits
// and the matching rule of findfirst/findnext, packed DOS file dates, and
// fnsplit-style splitting of Windows paths. The Win32 half (directory
// search, file time stamps) is platform/rtl.h. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

namespace tsl {

// DOS file attributes as the directory search reports and selects them.
enum : uint32_t {
  FA_NORMAL = 0x00,
  FA_RDONLY = 0x01,
  FA_HIDDEN = 0x02,
  FA_SYSTEM = 0x04,
  FA_LABEL = 0x08,
  FA_DIREC = 0x10,
  FA_ARCH = 0x20,
};

// The DOS selection rule: plain files (read-only and archive bits aside)
// always match; hidden, system, label and directory entries match only when
// the mask asks for their kind. So 0x10 yields folders and plain files, and
// 7 yields every file but no folders.
bool AttributesMatch(uint32_t entryAttributes, uint32_t mask);

// A broken-down local time.
struct DosDateTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The run time's packed file date and time: the DOS date in the high word
// (years since 1980 in 7 bits, month, day) and the DOS time in the low word
// (hour, minute, seconds / 2). Times before 1980 pack as 1 January 1980,
// times after 2107 as the last second of 2107; other fields are clamped to
// their ranges.
uint32_t PackDosDateTime(const DosDateTime& t);
DosDateTime UnpackDosDateTime(uint32_t packed);

// fnsplit: what a path contains.
enum : int {
  FNS_WILDCARDS = 0x01,
  FNS_EXTENSION = 0x02,
  FNS_FILENAME = 0x04,
  FNS_DIRECTORY = 0x08,
  FNS_DRIVE = 0x10,
};

struct PathParts {
  std::string drive;  // letter and colon, or empty
  std::string dir;    // from the first to the last separator, both included
  std::string name;   // up to the last dot of the last component
  std::string ext;    // from that dot on, dot included
};

// Splits a path into drive, folder, name and extension; backslash and slash
// both separate folders. The names "." and ".." are names without an
// extension. Returns the FNS_ flags of the parts present. A null path is
// empty.
int fnsplit(const char* path, PathParts& parts);

}  // namespace tsl
