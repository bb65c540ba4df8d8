#include "engine/core/pages/projectsave.h"

#include <algorithm>

#include "engine/core/format/rawio.h"

using namespace tsl;

bool CopyFileBytes(ByteStream& from, ByteStream& to, int64_t count) {
  if (count < 0) return false;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, kCopyChunk)) + 1);
  while (count > 0) {
    const uint32_t n = static_cast<uint32_t>(std::min<int64_t>(count, kCopyChunk));
    if (from.Read(buffer.data(), n) != n) return false;
    if (to.Write(buffer.data(), n) != n) return false;
    count -= n;
  }
  return true;
}

bool CopyPageRecord(ByteStream& from, uint32_t offset, ByteStream& to, uint32_t& newOffset, TRecordHeader* out) {
  TRecordHeader h;
  if (!ReadRecordHeader(from, offset, h)) return false;
  const int64_t len = from.Length();
  if (h.Length < kRecordHeaderSize || (len >= 0 && static_cast<int64_t>(offset) + h.Length > len)) return false;
  const int64_t p = to.Seek(0, ByteStream::end);
  if (p < 0 || from.Seek(offset) != static_cast<int64_t>(offset) || !CopyFileBytes(from, to, h.Length)) return false;
  const int64_t end = to.Position();
  const uint32_t delta = static_cast<uint32_t>(p) - offset;  // modulo 2^32, as the offsets are
  for (uint32_t* v : {&h.BackgroundOffset, &h.HiddenListOffset, &h.InfoOffset, &h.ObjectListOffset,
                      &h.DataListOffset, &h.ExtensionOffset})
    if (*v != kNoOffset) *v += delta;
  h.SelfOffset = static_cast<uint32_t>(p);
  to.Seek(p);
  h.Write(to);
  to.Seek(end);
  newOffset = static_cast<uint32_t>(p);
  if (out) *out = h;
  return true;
}

void WriteProjectHead(ByteStream& to, TProjectHeader& header, TBookStructOptions& info,
                      const std::vector<TFontBlockEntry>& fonts) {
  const TBookStructOptions own;
  WriteProjectHeader(to, header, info, own);
  WriteFontBlock(to, fonts);
}

void WriteProjectTail(ByteStream& to, TProjectHeader& header, const TPageDirectory& directory,
                      TProjectListRecord& list,
                      const std::function<void(ByteStream&, TProjectListRecord&)>& writeSharedLists) {
  header.Values[0] = static_cast<uint32_t>(to.Seek(0, ByteStream::end));
  directory.Write(to);
  writeSharedLists(to, list);
  header.Values[1] = static_cast<uint32_t>(to.Seek(0, ByteStream::end));
  list.Write(to);
  const int64_t end = to.Position();
  to.Seek(0);
  WriteFixed(header.Values, sizeof header.Values, to);
  to.Seek(end);
}

void WriteProjectTail(ByteStream& to, TProjectHeader& header, const TPageDirectory& directory,
                      TPageManagerCore& manager) {
  WriteProjectTail(to, header, directory, manager.ProjectObjects,
                   [&manager](ByteStream& f, TProjectListRecord&) { manager.WriteSharedObjectLists(f); });
}

bool SaveProjectStream(ByteStream& from, ByteStream& to, TProjectHeader& header, TBookStructOptions& info,
                       const std::vector<TFontBlockEntry>& fonts, TPageDirectory& directory,
                       TPageManagerCore& manager) {
  WriteProjectHead(to, header, info, fonts);
  const std::vector<TPagePointer> before(directory.Pages.begin(), directory.Pages.end());
  std::vector<TPagePointer> pages = before;
  std::stable_sort(pages.begin(), pages.end(),
                   [](const TPagePointer& a, const TPagePointer& b) { return a.Number < b.Number; });
  directory.Pages.Flush();
  for (TPagePointer p : pages) {
    uint32_t moved;
    if (!CopyPageRecord(from, p.Offset, to, moved)) {
      // The directory keeps what it had: the old file stays the project.
      directory.Pages.Flush();
      for (const TPagePointer& q : before) directory.Pages.Add(q);
      return false;
    }
    p.Offset = moved;
    directory.Pages.Add(p);
  }
  WriteProjectTail(to, header, directory, manager);
  return true;
}
