#include "engine/core/format/projectimage.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

namespace {

// The page record (or shared list) written in a scratch stream behind
// `shift` bytes, moved to the end of `f`. Returns its offset in `f`.
uint32_t MoveIntoPlace(ByteStream& f, const MemoryStream& scratch, uint32_t shift) {
  const int64_t p = f.Seek(0, ByteStream::end);
  const std::vector<uint8_t>& d = scratch.Data();
  f.Write(d.data() + shift, static_cast<uint32_t>(d.size() - shift));
  return static_cast<uint32_t>(p);
}

}  // namespace

bool TProjectImage::Read(ByteStream& f, const TDataCreator& creator) {
  Pages.clear();
  Shared = TSharedObjects();
  Directory.Pages.Flush();
  if (!ReadProjectHeader(f, Header, Info)) return false;
  TFileVersionScope version(Info.VersionMajor, Info.VersionMinor);
  Directory.Read(f, Header.Values[0]);
  if (SeekInside(f, Header.Values[1])) ListRecord.Read(f);
  if (Directory.Count() > 0) {
    Shared.ReadShared(f, ListRecord.Values[1], creator);
    Shared.ReadDataless(f, ListRecord.Values[2]);
  }
  bool ok = true;
  for (const TPagePointer& p : Directory.Pages) {
    auto page = std::make_unique<TProjectPage>();
    page->Number = p.Number;
    ok = page->Record.Read(f, p.Offset, creator, &Shared) && ok;
    Pages.push_back(std::move(page));
  }
  return ok;
}

void TProjectImage::Write(ByteStream& f, const WriteOptions& options) {
  const TBookStructOptions own;
  WriteProjectHeader(f, Header, Info, own);

  Directory.Pages.Flush();
  for (auto& page : Pages) {
    uint32_t offset;
    if (options.Relocate) {
      MemoryStream scratch(std::vector<uint8_t>(options.RelocationShift, 0));
      page->Record.Write(scratch, offset);
      const uint32_t at = MoveIntoPlace(f, scratch, options.RelocationShift);
      // The header's own offsets are absolute and move with the record; the
      // lists keep the base they were written with.
      TRecordHeader& h = page->Record.Header;
      const uint32_t delta = at - offset;
      for (uint32_t* v : {&h.BackgroundOffset, &h.HiddenListOffset, &h.InfoOffset,
                          &h.ObjectListOffset, &h.DataListOffset, &h.ExtensionOffset})
        if (*v != kNoOffset) *v += delta;
      h.SelfOffset = at;
      WriteRecordHeader(f, at, h);
      offset = at;
    } else {
      page->Record.Write(f, offset);
    }
    TPagePointer ptr;
    ptr.Offset = offset;
    ptr.Number = page->Number;
    Directory.Pages.Add(ptr);
  }

  Header.Values[0] = static_cast<uint32_t>(f.Seek(0, ByteStream::end));
  Directory.Write(f);

  for (int which = 0; which < 2; ++which) {
    uint32_t offset;
    if (options.Relocate) {
      MemoryStream scratch(std::vector<uint8_t>(options.RelocationShift, 0));
      scratch.Seek(0, ByteStream::end);
      if (which == 0) Shared.WriteShared(scratch, offset); else Shared.WriteDataless(scratch, offset);
      offset = MoveIntoPlace(f, scratch, options.RelocationShift);
    } else {
      if (which == 0) Shared.WriteShared(f, offset); else Shared.WriteDataless(f, offset);
    }
    ListRecord.Values[1 + which] = offset;
  }

  Header.Values[1] = static_cast<uint32_t>(f.Seek(0, ByteStream::end));
  ListRecord.Write(f);
  const int64_t end = f.Position();
  f.Seek(0);
  WriteFixed(Header.Values, sizeof Header.Values, f);
  f.Seek(end);
}
