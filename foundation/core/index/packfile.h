// TPackFile: the packed project archive. The files of a project are
// appended to one archive file as records (u32 kind, u32 size n, n bytes);
// a directory with a name index follows them:
//   u32 marker 666999; title (short string: the file that is started after
//   unpacking); u32 number of names to unpack and the names (short strings);
//   u32 number of entries and the TPackEntry records in name order;
// and the file ends with the u32 offset of the directory's marker.
// An archive can be built (Create, AddFile, WriteDirectory), opened
// (directory read back), searched by name, read entry by entry, and
// unpacked: entries of kind 1 go into an extraction folder, after which the
// title's program can be started from there.
// Portable: files, folders, message box and shell come from a TPackHost.
#pragma once
#include <cstdint>
#include <memory>
#include <sstream>

#include "foundation/core/index/indexhost.h"
#include "foundation/core/index/mtree.h"
#include "platform/core/containers.h"
#include "platform/core/cstring.h"

// One directory entry (272 bytes, little-endian):
//   0-259   name: NUL-terminated, lower-cased (the index key)
//   260-263 file offset of the entry's record (its kind field)
//   264-267 length of the record with its 8-byte head (8 + n)
//   268-271 time stamp of the source file (packed DOS date and time)
struct TPackEntry {
  static constexpr uint32_t kBytes = 272;
  static constexpr uint32_t kKeyBytes = 260;
  static constexpr uint32_t kCompanionBytes = 0;

  char Name[kKeyBytes] = {};
  uint32_t Offset = 0;
  uint32_t Length = 0;
  uint32_t TimeStamp = 0;

  // Copies at most 259 characters; the last byte is always 0.
  void SetName(const char* name);
  void Encode(uint8_t* p) const;
  void Decode(const uint8_t* p);  // the name is terminated whatever the bytes hold
  void EncodeCompanion(uint8_t*) const {}
  void DecodeCompanion(const uint8_t*) {}
};

// The archive's name index.
class TPackIndex : public MTREE<TPackEntry> {
public:
  using MTREE<TPackEntry>::MTREE;
};

// Entry kinds (the record's kind field).
enum : uint32_t {
  kPackUnclassified = 0,     // cannot be read
  kPackUnpack = 1,           // unpacked into the extraction folder
  kPackText = 2,             // ".txt"; read with a NUL appended
  kPackHtml = 3,             // ".html", ".htm", ".asp"; with a NUL
  kPackRtf = 4,              // ".rtf"; with a NUL
  kPackPicture = 5,          // the picture extensions
  kPackAnimation = 7,        // ".abp", ".flx", ".gif"
  kPackFolderAll = 9,        // folder listings: all files, as found
  kPackFolderPictures = 10,  // pictures, as found
  kPackFolderAllSorted = 11,
  kPackFolderPicturesSorted = 12,
  kPackLastKind = 13,
};

// Called by GetEntry with the archive positioned at the entry's first data
// byte, so that the caller can read the data itself.
using TPackCallback = void (*)(tsl::ByteStream& archive, uint32_t size, void* argument);

class TPackFile {
public:
  static constexpr uint32_t kMarker = 666999;

  // Without the flag the extraction folder is the program's folder; with
  // it, the first free "tslplay_<n>\" (n = 1..1000) beside the temporary
  // files.
  TPackFile(tsl::TPackHost& host, bool privateFolder);
  ~TPackFile();
  TPackFile(const TPackFile&) = delete;
  TPackFile& operator=(const TPackFile&) = delete;

  static uint32_t Classify(const char* name);

  // Building: Create makes an empty archive, AddFile appends one entry (kind
  // -1: classified by the name), WriteDirectory appends the directory and
  // closes the file.
  bool Create(const char* path);
  bool AddFile(const char* name, int32_t kind = -1);
  bool WriteDirectory();

  // Opens read-only and reads the directory; with the flag then unpacks the
  // names to unpack, shows the title and starts the title's program from the
  // extraction folder with "-loadexternal_file=" and the program's path.
  bool Open(bool unpackAndStart, const char* path);
  bool ReadDirectory();
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // Finds an entry by name (case does not matter) and reads its kind and
  // size; with `load` also its data into a new buffer of size + 1 bytes
  // (text kinds NUL-terminated) that the caller then owns. Kind 1 is written
  // into the extraction folder instead and returns no data.
  bool GetEntry(const char* name, std::unique_ptr<char[]>* data, uint32_t* size, uint32_t* kind,
                bool load, TPackCallback callback = nullptr, void* argument = nullptr);
  bool Contains(const char* name);

  // A whole disk file in a new buffer of size + 1 bytes, with its time stamp.
  bool LoadDiskFile(const char* path, std::unique_ptr<char[]>& data, uint32_t& size,
                    uint32_t& stamp);
  // Writes a file unless it exists already, creating its folders.
  bool ExtractFile(const char* path, const char* data, uint32_t size, uint32_t stamp,
                   bool remember);
  void AddUnpackName(const char* name);

  // The file that Open starts after unpacking (written with the directory).
  string Title;

  const string& ExtractFolder() const { return extractFolder_; }
  const TArrayAsVector<string>& UnpackNames() const { return unpackNames_; }
  const TArrayAsVector<string>& RememberedPaths() const { return remembered_; }
  TPackIndex& Index() { return index_; }
  std::string MessageText() const { return messages_.str(); }
  uint32_t DirectoryOffset() const { return dirOffset_; }
  uint32_t LastTimeStamp() const { return lastStamp_; }

private:
  tsl::TPackHost& host_;
  string path_;
  std::unique_ptr<tsl::ByteStream> file_;
  std::ostringstream messages_;
  TArrayAsVector<string> remembered_{11, 0, 10};
  TArrayAsVector<string> unpackNames_{11, 0, 10};
  uint32_t marker_ = kMarker;
  string extractFolder_;
  uint32_t dirOffset_ = 0;
  uint32_t lastStamp_ = 0;
  TPackIndex index_;
};
