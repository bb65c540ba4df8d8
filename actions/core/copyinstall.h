// The portable decisions of the copying and unpacking codes: the message
// of an unpacking result, the mirrored target of the folder copy, and the
// percentage the unpacking progress shows.
#pragma once
#include <cstdint>
#include <string>

// Code 16's mirror flag: the source's folder path is repeated under the target.
constexpr uint32_t kCopyMirrorFolders = 0x10000;
constexpr uint32_t kCopyWithSubfolders = 0x4;
constexpr uint32_t kCopyMakeWritable = 0x8;
// Code 15's flags.
constexpr uint32_t kUnpackKeepExisting = 0x2;  // set: existing files are not overwritten
constexpr uint32_t kUnpackKeepFolders = 0x4;

// The string id shown for an extraction result.
int UnpackResultTextId(int32_t result);

// Code 16 with the mirror flag: the source folder's path without its drive
// (or without "\\server\share" for a UNC path) below the target, ending in
// a backslash ("D:\DATA\BILDER" to "E:\ZIEL" gives "E:\ZIEL\DATA\BILDER\").
std::string MirrorTargetFolder(const std::string& source, const std::string& target);

// The byte count of the running extraction and its percentage, after the
// protocol of the unpacker's progress calls: total -1 starts (the count
// becomes 0, then the -1 is added too), total -2 ends (100 %).
class TZipProgressCount {
public:
  int Step(int64_t total, int64_t bytes);
  int64_t Count() const { return count_; }

private:
  int64_t count_ = 0;
};
