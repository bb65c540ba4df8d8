// "SETUP.DAT": the files an installation unpacks, folder by folder, each an
// LZSS member (lzss.h). Read front to back; there is no index, so each
// member is unpacked to find the next name.
//   u32  total     bytes all members unpack to (the progress' 100 %)
//   i16  folder count (0 or less: none)
//   per folder: i16 file count, str folder name (relative to the target;
//               blanks, then backslashes, at either end do not count)
//     per file: str file name (relative to the folder), then its member
// Names that lead outside the target (absolute, a drive, a ".." component)
// or make a path over 259 characters are refused before anything is
// written for them.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "actions/core/lzss.h"
#include "platform/core/bytestream.h"

constexpr size_t kInstallMaxPath = 259;

// Where the walk puts things (the Win32 files in the player).
class TSetupDatSink {
public:
  virtual ~TSetupDatSink() = default;
  // Creates every missing folder up to the path's last backslash.
  virtual bool MakeFolders(const std::string& filePath) = 0;
  // Unpacks the member at `in`'s position for `filePath` with `codec`; the
  // input must be left behind the member whatever happens.
  virtual bool Unpack(const std::string& filePath, TLzssCore& codec, tsl::ByteStream& in) = 0;
};

enum class TSetupStep {
  Done,
  UnsafeName,    // Path: the refused path
  FolderFailed,  // Path: the folder that could not be made
  FileFailed,    // Path: the file that could not be unpacked (also a file cut short)
};

struct TSetupWalk {
  TSetupStep Step = TSetupStep::Done;
  std::string Path;
  std::vector<std::string> Files;    // upper case, unpacking order
  std::vector<std::string> Folders;  // with trailing backslash, file order
};

// The first u32 of the file: the progress total.
uint32_t SetupDatTotal(tsl::ByteStream& in);
// Walks the whole file from its start into `target` (empty or ending in a
// backslash).
TSetupWalk WalkSetupDat(tsl::ByteStream& in, const std::string& target, TLzssCore& codec, TSetupDatSink& sink);
// Whether a name from the file stays below the folder it is joined to.
bool IsSafeInstallName(const std::string& name);

// The percentage shown while unpacking: one step per byte produced; a step
// yields the whole percentage to report when it changed, else -1. Values of
// 100 and more are not reported (the run's end closes the progress).
class TInstallProgress {
public:
  explicit TInstallProgress(uint32_t total) : total_(total) { Arm(); }
  int Step() {
    const uint64_t c = counter_++;
    if (total_ == 0 || c < next_) return -1;
    last_ = static_cast<int>(c * 100 / total_);
    Arm();
    return last_ < 100 ? last_ : -1;
  }

private:
  // The first counter whose percentage passes the last one reported.
  void Arm() { next_ = total_ ? ((static_cast<uint64_t>(last_) + 1) * total_ + 99) / 100 : UINT64_MAX; }
  uint32_t total_;
  uint64_t counter_ = 0;
  uint64_t next_ = 0;
  int last_ = 0;
};
