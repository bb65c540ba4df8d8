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
#include <algorithm>
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

// The percentage shown while unpacking: a count of the bytes produced over
// all members against the file's total; the whole percentage is reported
// when it changes. Values of 100 and more are not reported (the run's end
// closes the progress).
class TInstallProgress {
public:
  explicit TInstallProgress(uint32_t total) : total_(total) { Arm(); }
  // The percentage to report for the byte at `counter` (the count before
  // it), else -1.
  int At(uint64_t counter) {
    if (total_ == 0 || counter < next_) return -1;
    last_ = static_cast<int>(counter * 100 / total_);
    Arm();
    return last_ < 100 ? last_ : -1;
  }
  // One byte more.
  int Step() { return At(counter_++); }
  // The first count at which At can report again.
  uint64_t Next() const { return next_; }

private:
  void Arm() { next_ = total_ ? ((static_cast<uint64_t>(last_) + 1) * total_ + 99) / 100 : UINT64_MAX; }
  uint32_t total_;
  uint64_t counter_ = 0;
  uint64_t next_ = 0;
  int last_ = 0;
};

// The unpacker's progress over the members of SETUP.DAT, from the codec's
// per-byte calls: each call yields the percentage to report (or -1) and
// how many of the member's next bytes cannot change it, which the codec
// then passes over.
class TInstallProgressGate {
public:
  explicit TInstallProgressGate(uint32_t total) : count_(total) {}
  int OnByte(uint32_t produced, uint32_t unpacked, uint32_t& quiet) {
    if (produced == 0) base_ = end_;  // a member starts where the last one ended
    end_ = base_ + unpacked;
    const uint64_t at = base_ + produced;
    const int percent = count_.At(at);
    const uint64_t next = count_.Next(), left = unpacked - produced - 1ull;
    quiet = static_cast<uint32_t>(next > at + 1 ? std::min<uint64_t>(next - at - 1, left) : 0);
    return percent;
  }

private:
  TInstallProgress count_;
  uint64_t base_ = 0, end_ = 0;
};
