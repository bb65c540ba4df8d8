// The outer structure of the project file: the 16-byte header, the project
// info record at offset 16, the page directory and the project object-list
// record. The open project keeps these and calls the readers below.
//
//   offset     size    meaning
//   0          16      four u32: page directory offset, object-list record
//                      offset, two values carried through
//   16         varies  TBookStructOptions, its length in its first u32
//   header[0]  8+8n    page directory: u32 magic 0x79EE9540, u32 count n,
//                      n entries of u32 page record offset, u32 page number
//   header[1]  16      object-list record: object counter, offsets of the
//                      two shared lists, a value carried through
//
// Tolerance: a header whose directory offset does not lead to the magic is
// no project. A directory with a wrong magic or a count below 1 has no
// pages; a count beyond the file is cut to the whole entries the file
// holds, up to the last of them that leads to a record. Page records and
// shared lists: engine/core/format/pagerecord.h.
#pragma once
#include <cstdint>

#include "engine/core/format/bookoptions.h"
#include "platform/core/containers.h"

// Signature of the page directory, of every page record and of the shared
// object lists.
constexpr uint32_t kProjectMagic = 0x79EE9540;
constexpr int64_t kInfoRecordOffset = 16;

// The 16-byte file header: [0] page directory offset, [1] project
// object-list record offset, [2] and [3] carried through.
struct TProjectHeader {
  uint32_t Values[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFFFFFFFF};
  uint32_t& PageDirectoryOffset() { return Values[0]; }
  uint32_t& ListRecordOffset() { return Values[1]; }
};

// One page directory entry.
struct TPagePointer {
  uint32_t Offset = 0;  // file offset of the page record
  uint32_t Number = 0;  // page number
  bool operator==(const TPagePointer& o) const { return Offset == o.Offset && Number == o.Number; }
};

// The page directory: magic, count (at least 1), count entries.
class TPageDirectory {
public:
  TPageDirectory() : Pages(33, 0, 32) {}
  // Empties the directory and reads it at `offset`; a wrong magic or a count
  // below 1 leave it empty (false). A count larger than the file can hold
  // reads the whole entries that are there, up to the last one that leads to
  // a record (an entry before it that leads nowhere fails as a damaged
  // page).
  bool Read(tsl::ByteStream& f, int64_t offset);
  void Write(tsl::ByteStream& f) const;
  int Count() const { return Pages.GetItemsInContainer(); }
  // The record offset / page number of entry `index` (0 <= index < count).
  bool GetPageOffset(int index, uint32_t& offset) const;
  bool GetPageNumber(int index, uint32_t& number) const;
  // Index of the entry with page number `number`, or -1.
  int FindPageIndex(uint32_t number) const;

  TArrayAsVector<TPagePointer> Pages;
};

// The 16-byte project object-list record: the object counter, the offsets of
// the two shared object lists, a fourth value carried through.
struct TProjectListRecord {
  uint32_t Values[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  uint32_t& ObjectCounter() { return Values[0]; }
  uint32_t& SharedListOffset() { return Values[1]; }
  uint32_t& SharedDatalessListOffset() { return Values[2]; }
  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;
};

// One line of the page caption list (authoring): the prefix (string 1032
// "Seite: "), the page's number, ", " and its name.
string PageCaption(const char* prefix, uint32_t number, const string& name);

// Reads the header, tests the page directory's magic and reads the info
// record; false (the file is no project) for a wrong magic.
bool ReadProjectHeader(tsl::ByteStream& f, TProjectHeader& header, TBookStructOptions& info);
// Writes the header at 0 and the info record behind it, with the version of
// `own` (the newest).
void WriteProjectHeader(tsl::ByteStream& f, const TProjectHeader& header, TBookStructOptions& info,
                        const TBookStructOptions& own);
// A project the player plays: a valid header and the run-time flag 0x2.
bool IsPlayableProject(tsl::ByteStream& f);
