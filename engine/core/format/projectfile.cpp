#include "engine/core/format/projectfile.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/format/rawio.h"
#include "engine/core/format/trace.h"

using namespace tsl;

namespace {

// Whether `offset` lies in the file and starts a page record: the magic and
// the record's own offset, which every writer stores (a shared list, which
// has the magic too, holds its count and base there).
bool LeadsToRecord(ByteStream& f, uint32_t offset) {
  if (!SeekInside(f, offset)) return false;
  uint32_t head[2] = {0, 0};
  ReadFixed(head, sizeof head, f);
  return head[0] == kProjectMagic && head[1] == offset;
}

}  // namespace

bool TPageDirectory::Read(ByteStream& f, int64_t offset) {
  Pages.Flush();
  if (!SeekInside(f, offset)) {
    Trace("page directory at 0x%llx outside the file", static_cast<unsigned long long>(offset));
    return false;
  }
  uint32_t magic = 0xFFFFFFFF, count = 0;
  ReadU32(magic, f);
  if (magic != kProjectMagic) {
    Trace("page directory: magic 0x%x, not 0x%x", magic, kProjectMagic);
    return false;
  }
  ReadU32(count, f);
  if (count < 1) return false;
  // A count larger than the file can hold is believed as far as the file
  // holds whole entries: the pages there play, an entry that points nowhere
  // fails as any damaged page.
  const int64_t left = f.Remaining();
  const uint32_t room = static_cast<uint32_t>(std::min<int64_t>(left < 0 ? 0 : left / 8, 0x1FFFFFFF));
  const bool capped = count > room;
  if (capped) {
    Trace("page directory: count %u, the file holds %u entries", count, room);
    count = room;
  }
  if (count < 1) return false;
  std::vector<uint32_t> raw(static_cast<size_t>(count) * 2, 0);
  ReadFixed(raw.data(), count * 8, f);
  if (capped) {
    // Behind the real entries lie the bytes of the records written after
    // the directory; entries made of them that lead to no record are not
    // pages. (The directory is written near the end of the file, so there
    // are few of them.)
    while (count > 0 && !LeadsToRecord(f, raw[2 * (count - 1)])) --count;
    Trace("page directory: %u entries lead to a record", count);
    if (count < 1) return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    TPagePointer p;
    p.Offset = raw[2 * i];
    p.Number = raw[2 * i + 1];
    Pages.Add(p);
  }
  return true;
}

void TPageDirectory::Write(ByteStream& f) const {
  WriteU32(kProjectMagic, f);
  WriteU32(static_cast<uint32_t>(Count()), f);
  for (const TPagePointer& p : Pages) {
    WriteU32(p.Offset, f);
    WriteU32(p.Number, f);
  }
}

bool TPageDirectory::GetPageOffset(int index, uint32_t& offset) const {
  if (index < 0 || index >= Count()) return false;
  offset = Pages[index].Offset;
  return true;
}

bool TPageDirectory::GetPageNumber(int index, uint32_t& number) const {
  if (index < 0 || index >= Count()) return false;
  number = Pages[index].Number;
  return true;
}

int TPageDirectory::FindPageIndex(uint32_t number) const {
  for (int i = 0; i < Count(); ++i)
    if (Pages[i].Number == number) return i;
  return -1;
}

void TProjectListRecord::Read(ByteStream& f) { ReadFixed(Values, sizeof Values, f); }

void TProjectListRecord::Write(ByteStream& f) const { WriteFixed(Values, sizeof Values, f); }

string PageCaption(const char* prefix, uint32_t number, const string& name) {
  return string(prefix) + string(std::to_string(number)) + ", " + name;
}

bool ReadProjectHeader(ByteStream& f, TProjectHeader& header, TBookStructOptions& info) {
  if (!SeekInside(f, 0)) return false;
  ReadFixed(header.Values, sizeof header.Values, f);
  uint32_t magic = 0xFFFFFFFF;
  if (!SeekInside(f, header.Values[0])) return false;
  ReadU32(magic, f);
  if (magic != kProjectMagic) return false;
  if (!SeekInside(f, kInfoRecordOffset)) return false;
  info.Read(f);
  return true;
}

void WriteProjectHeader(ByteStream& f, const TProjectHeader& header, TBookStructOptions& info,
                        const TBookStructOptions& own) {
  f.Seek(0);
  WriteFixed(header.Values, sizeof header.Values, f);
  info.VersionMajor = own.VersionMajor;
  info.VersionMinor = own.VersionMinor;
  info.FormatByte = own.FormatByte;
  info.FormatWord = own.FormatWord;
  info.Write(f);
}

bool IsPlayableProject(ByteStream& f) {
  TProjectHeader header;
  TBookStructOptions info;
  return ReadProjectHeader(f, header, info) && (info.Flags & kOptRunTime);
}
