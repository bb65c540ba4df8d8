#include "engine/core/format/projectimage.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "engine/core/pages/pagemanager.h"
#include "engine/core/pages/projectsave.h"

using namespace tsl;

namespace {

// A list written in a scratch stream behind `shift` bytes and moved to the
// end of `f`: its base names where it was written, so the readers must
// relocate its table.
template <class WriteFn>
uint32_t WriteMoved(ByteStream& f, uint32_t shift, WriteFn write) {
  MemoryStream scratch(std::vector<uint8_t>(shift, 0));
  uint32_t at;
  write(scratch, at);
  const int64_t p = f.Seek(0, ByteStream::end);
  const std::vector<uint8_t>& d = scratch.Data();
  f.Write(d.data() + at, static_cast<uint32_t>(d.size() - at));
  return static_cast<uint32_t>(p);
}

}  // namespace

bool TProjectImage::Read(ByteStream& f, const TDataCreator& creator) {
  Pages.clear();
  Fonts.clear();
  Shared = TSharedObjects();
  Directory.Pages.Flush();
  if (!ReadProjectHeader(f, Header, Info)) return false;
  ReadFontBlock(f, [this](TFontBlockEntry& e) { Fonts.push_back(std::move(e)); });
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
  WriteProjectHead(f, Header, Info, Fonts);
  Directory.Pages.Flush();
  for (auto& page : Pages) {
    TPageRecord& r = page->Record;
    uint32_t offset;
    if (options.Relocate) {
      MemoryStream scratch(std::vector<uint8_t>(options.RelocationShift, 0));
      uint32_t at;
      r.Write(scratch, at);
      CopyPageRecord(scratch, at, f, offset, &r.Header);
    } else {
      r.Write(f, offset);
    }
    TPagePointer ptr;
    ptr.Offset = offset;
    ptr.Number = page->Number;
    Directory.Pages.Add(ptr);
  }

  const auto writeShared = [this, &options](ByteStream& to, TProjectListRecord& list) {
    if (!options.Relocate) {
      Shared.WriteShared(to, list.Values[1]);
      Shared.WriteDataless(to, list.Values[2]);
      return;
    }
    list.Values[1] = WriteMoved(to, options.RelocationShift,
                                [this](ByteStream& s, uint32_t& at) { Shared.WriteShared(s, at); });
    list.Values[2] = WriteMoved(to, options.RelocationShift,
                                [this](ByteStream& s, uint32_t& at) { Shared.WriteDataless(s, at); });
  };
  WriteProjectTail(f, Header, Directory, ListRecord, writeShared);
}
