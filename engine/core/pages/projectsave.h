// The authoring side's project writers: a whole project file laid down in
// the order the player's readers expect. The open project (engine/
// bookstruct.h) saves through them, and so does the fixture builder.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/core/format/projectfile.h"
#include "engine/core/pages/fontblock.h"
#include "engine/core/pages/pagemanager.h"

// The largest piece CopyFileBytes moves at once.
constexpr uint32_t kCopyChunk = 32766;

// Copies `count` bytes from the current position of one stream to the
// current position of the other, in pieces of at most 32766 bytes; false as
// soon as a piece is read or written short (true for a count of 0).
bool CopyFileBytes(tsl::ByteStream& from, tsl::ByteStream& to, int64_t count);

// Copies the page record at `offset` of `from` to the end of `to`: its
// bytes as they are, then its 48-byte header with the record's own offsets
// moved by the distance the record moved (its lists keep the base they were
// written with, which the readers relocate by). False for a header that
// cannot be read, a record that runs past the end of `from`, or a short
// copy; `header` receives the header as written.
bool CopyPageRecord(tsl::ByteStream& from, uint32_t offset, tsl::ByteStream& to, uint32_t& newOffset,
                    TRecordHeader* header = nullptr);

// Header, info record (stamped with the newest version) and font block at
// the start of the stream.
void WriteProjectHead(tsl::ByteStream& to, TProjectHeader& header, TBookStructOptions& info,
                      const std::vector<TFontBlockEntry>& fonts);

// From the end of the stream: the page directory (its offset into header[0]),
// the two shared lists of `manager` (offsets into its object-list record),
// the object-list record (offset into header[1]); then the final header at
// the start.
void WriteProjectTail(tsl::ByteStream& to, TProjectHeader& header, const TPageDirectory& directory,
                      TPageManagerCore& manager);
// The same with the shared lists written by `writeSharedLists`, which enters
// their offsets into `list`.
void WriteProjectTail(tsl::ByteStream& to, TProjectHeader& header, const TPageDirectory& directory,
                      TProjectListRecord& list,
                      const std::function<void(tsl::ByteStream&, TProjectListRecord&)>& writeSharedLists);

// A full save from the project file `from` into the new file `to`: head,
// the page records copied in ascending page number (the directory is sorted
// and takes their new offsets), tail. False when a page record cannot be
// copied: the new file is then incomplete and the directory as it was.
bool SaveProjectStream(tsl::ByteStream& from, tsl::ByteStream& to, TProjectHeader& header, TBookStructOptions& info,
                       const std::vector<TFontBlockEntry>& fonts, TPageDirectory& directory, TPageManagerCore& manager);
