#include "engine/core/format/projectimage.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "engine/core/pages/pagemanager.h"
#include "engine/core/pages/projectsave.h"

using namespace tsl;

namespace {

// The image's lists as the objects of a page manager, for its writers: the
// writers take a page's objects from the top one down, so the lists are
// presented reversed and come out in the image's order. Every object goes
// into the list it stands in, whatever its property flags say.
class TImageWriter : public TPageManagerCore {
public:
  TImageWriter() {
    MenuItems = std::make_unique<TIArrayAsVector<TTSLMenuData>>(6, 0, 5);
    MenuItems->OwnsElements(false);
  }
  ~TImageWriter() override { MenuItems->Flush(DeleteType::NoDelete); }

  // A page record: its fields become the manager's for the writing.
  void SelectPage(TPageRecord& r) {
    entries_.clear();
    synthesized_.clear();
    for (size_t i = r.Objects.size(); i-- > 0;)
      entries_.push_back({&r.Objects[i].Info, r.Objects[i].Data.get(), List::Objects});
    for (size_t i = r.DataOverrides.size(); i-- > 0;) {
      auto info = std::make_unique<TObjectInfo>();
      info->Target.Number = r.DataOverrides[i].Number;
      entries_.push_back({info.get(), r.DataOverrides[i].Data.get(), List::Data});
      synthesized_.push_back(std::move(info));
    }
    Background = r.Background;
    HiddenList = r.HiddenList;
    PageInfo = r.Info;
    DbInfo = r.DbInfo;
    for (int i = 0; i < 4; ++i) {
      EnterActions[i] = r.EnterActions[i];
      LeaveActions[i] = r.LeaveActions[i];
    }
    MenuFlag = r.MenuFlag;
    MenuItems->Flush(DeleteType::NoDelete);
    for (TTSLMenuData* m : r.Menu) MenuItems->Add(m);
    KeyList = r.KeyList;
    OwnOptions = r.OwnOptionsFlag;
    PageOptions = r.Options;
  }

  // What writing stamped into the fields goes back into the record.
  void Return(TPageRecord& r) {
    r.Background = Background;
    r.Info = PageInfo;
    for (int i = 0; i < 4; ++i) {
      r.EnterActions[i] = EnterActions[i];
      r.LeaveActions[i] = LeaveActions[i];
    }
    r.Options = PageOptions;
    std::memcpy(r.Ext, ExtOffsets, sizeof r.Ext);
  }

  void SelectShared(TSharedObjects& s) {
    entries_.clear();
    synthesized_.clear();
    for (size_t i = s.Objects.size(); i-- > 0;)
      entries_.push_back({&s.Objects[i].Info, s.Objects[i].Data.get(), List::Shared});
    for (size_t i = s.Dataless.size(); i-- > 0;)
      entries_.push_back({&s.Dataless[i].Info, nullptr, List::Dataless});
  }

protected:
  std::unique_ptr<TData> CreateKindData(int16_t) override { return nullptr; }
  bool AddStoredObject(const TObjectInfo&, std::unique_ptr<TData>, bool, int64_t, const TObjectRect&) override {
    return false;
  }
  int StoredObjectCount() const override { return static_cast<int>(entries_.size()); }
  TObjectInfo* StoredObjectInfo(int i) override { return entries_[static_cast<size_t>(i)].Info; }
  TData* StoredObjectData(int i) override { return entries_[static_cast<size_t>(i)].Data; }
  void ReplaceObjectData(int, std::unique_ptr<TData>, int64_t, bool) override {}
  bool InObjectList(int i) override { return entries_[static_cast<size_t>(i)].In == List::Objects; }
  bool InDataList(int i) override { return entries_[static_cast<size_t>(i)].In == List::Data; }
  bool InSharedList(int i) override { return entries_[static_cast<size_t>(i)].In == List::Shared; }
  bool InDatalessList(int i) override { return entries_[static_cast<size_t>(i)].In == List::Dataless; }

private:
  enum class List { Objects, Data, Shared, Dataless };
  struct Entry {
    TObjectInfo* Info;
    TData* Data;
    List In;
  };
  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<TObjectInfo>> synthesized_;
};

// A shared list written in a scratch stream behind `shift` bytes and moved
// to the end of `f`: its base names where it was written.
uint32_t WriteSharedMoved(ByteStream& f, TImageWriter& w, bool withData, uint32_t shift) {
  MemoryStream scratch(std::vector<uint8_t>(shift, 0));
  uint32_t at;
  if (withData) w.WriteSharedObjects(scratch, at); else w.WriteSharedDatalessObjects(scratch, at);
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
  TImageWriter writer;
  Directory.Pages.Flush();
  for (auto& page : Pages) {
    TPageRecord& r = page->Record;
    writer.SelectPage(r);
    uint32_t offset;
    if (options.Relocate) {
      MemoryStream scratch(std::vector<uint8_t>(options.RelocationShift, 0));
      uint32_t at;
      writer.WritePage(scratch, at, &r.Header);
      CopyPageRecord(scratch, at, f, offset, &r.Header);
    } else {
      writer.WritePage(f, offset, &r.Header);
    }
    writer.Return(r);
    TPagePointer ptr;
    ptr.Offset = offset;
    ptr.Number = page->Number;
    Directory.Pages.Add(ptr);
  }

  writer.SelectShared(Shared);
  writer.ProjectObjects = ListRecord;
  if (!options.Relocate) {
    WriteProjectTail(f, Header, Directory, writer);
    ListRecord = writer.ProjectObjects;
    return;
  }
  Header.Values[0] = static_cast<uint32_t>(f.Seek(0, ByteStream::end));
  Directory.Write(f);
  ListRecord.Values[1] = WriteSharedMoved(f, writer, true, options.RelocationShift);
  ListRecord.Values[2] = WriteSharedMoved(f, writer, false, options.RelocationShift);
  Header.Values[1] = static_cast<uint32_t>(f.Seek(0, ByteStream::end));
  ListRecord.Write(f);
  const int64_t end = f.Position();
  f.Seek(0);
  WriteFixed(Header.Values, sizeof Header.Values, f);
  f.Seek(end);
}
