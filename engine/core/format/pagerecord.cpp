#include "engine/core/format/pagerecord.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "engine/core/format/trace.h"

using namespace tsl;

namespace {

// One record's bytes in memory at their file offsets. Reading a page field
// by field from the file costs a call, and on the player's file a seek that
// drops its buffer, per value; here the record comes in with one read and
// only what lies outside it (a damaged offset) goes to the file.
class TRecordWindow : public ByteStream {
public:
  TRecordWindow(ByteStream& file, int64_t start, int64_t length)
      : file_(file), start_(start), length_(file.Length()), pos_(start) {
    if (length_ >= 0 && start + length > length_) length = length_ - start;
    if (length <= 0 || length > 0x7FFFFFFF) return;
    bytes_.reset(new uint8_t[static_cast<size_t>(length)]);
    if (file.Seek(start) == start && file.Read(bytes_.get(), static_cast<uint32_t>(length)) == length)
      size_ = length;
  }
  uint32_t Read(void* buffer, uint32_t count) override {
    if (pos_ >= start_ && pos_ + count <= start_ + size_) {
      std::memcpy(buffer, bytes_.get() + (pos_ - start_), count);
      pos_ += count;
      return count;
    }
    if (file_.Seek(pos_) != pos_) return 0;
    const uint32_t n = file_.Read(buffer, count);
    pos_ += n;
    return n;
  }
  uint32_t Write(const void*, uint32_t) override { return 0; }
  int64_t Position() const override { return pos_; }
  int64_t Length() const override { return length_; }
  int64_t Seek(int64_t offset, seek_dir origin) override {
    const int64_t base = origin == beg ? 0 : origin == cur ? pos_ : length_;
    if (base < 0 || base + offset < 0) return -1;
    pos_ = base + offset;
    return pos_;
  }

private:
  ByteStream& file_;
  int64_t start_;
  int64_t length_;
  int64_t pos_;
  std::unique_ptr<uint8_t[]> bytes_;  // the record, as far as it could be read whole
  int64_t size_ = 0;
};

// Seeks to a part of the record; a part outside the file is traced.
bool SeekPart(ByteStream& f, uint32_t offset, const char* part) {
  if (SeekInside(f, offset)) return true;
  Trace("%s at 0x%x outside the file", part, offset);
  return false;
}

}  // namespace

// TRecordHeader

bool TRecordHeader::Read(ByteStream& f) {
  uint8_t b[kRecordHeaderSize];
  if (ReadFixed(b, sizeof b, f)) {
    uint32_t v[11];
    std::memcpy(v, b, sizeof v);
    Magic = v[0]; SelfOffset = v[1]; Length = v[2]; ObjectListOffset = v[3];
    DataListOffset = v[4]; BackgroundOffset = v[5]; HiddenListOffset = v[6]; InfoOffset = v[7];
    ExtensionOffset = v[8]; Reserved1 = v[9]; Reserved2 = v[10];
    std::memcpy(&ObjectCount, b + 44, 2);
    std::memcpy(&DataCount, b + 46, 2);
  }
  return Magic == kProjectMagic;
}

void TRecordHeader::Write(ByteStream& f) const {
  uint8_t b[kRecordHeaderSize];
  const uint32_t v[11] = {Magic, SelfOffset, Length, ObjectListOffset, DataListOffset,
                          BackgroundOffset, HiddenListOffset, InfoOffset, ExtensionOffset,
                          Reserved1, Reserved2};
  std::memcpy(b, v, sizeof v);
  std::memcpy(b + 44, &ObjectCount, 2);
  std::memcpy(b + 46, &DataCount, 2);
  WriteFixed(b, sizeof b, f);
}

bool ReadRecordHeader(ByteStream& f, uint32_t offset, TRecordHeader& out) {
  if (!SeekPart(f, offset, "record header")) return false;
  if (out.Read(f)) return true;
  Trace("record header at 0x%x: magic 0x%x, not 0x%x", offset, out.Magic, kProjectMagic);
  return false;
}

void WriteRecordHeader(ByteStream& f, uint32_t offset, const TRecordHeader& header) {
  f.Seek(offset);
  header.Write(f);
}

bool ReadOffsetTable(ByteStream& f, uint32_t listOffset, int count, std::vector<uint32_t>& table) {
  table.clear();
  if (!SeekPart(f, listOffset, "list")) return false;
  if (count < 0) count = 0;
  const int64_t left = f.Remaining();
  if (left >= 0 && 4 + static_cast<int64_t>(count) * 4 > left) {
    Trace("list at 0x%x: %d entries, the file holds %lld bytes", listOffset, count, static_cast<long long>(left));
    return false;
  }
  uint32_t base = 0;
  ReadU32(base, f);
  table.assign(static_cast<size_t>(count), 0);
  if (count) ReadFixed(table.data(), static_cast<uint32_t>(count) * 4, f);
  const uint32_t shift = listOffset - base;  // modulo 2^32, as the offsets are
  for (uint32_t& t : table) t += shift;
  return true;
}

std::unique_ptr<TData> CreateRawData(int16_t) { return std::make_unique<TRawData>(); }

ObjectReadResult ReadObjectRecord(ByteStream& f, TObjectRecord& out, const TDataCreator* creator) {
  const int64_t at = f.Position();
  out.Info.Read(f);
  const int16_t kind = out.Info.Target.Kind;
  if (kind < 0 || kind > kLastObjectKind) {
    Trace("kind %d outside 0-%d at 0x%llx", kind, kLastObjectKind, static_cast<unsigned long long>(at));
    return ObjectReadResult::BadKind;
  }
  out.Data.reset();
  out.DataOffset = -1;
  if (!creator) return ObjectReadResult::Ok;
  out.DataOffset = f.Position();
  out.Data = (*creator)(kind);
  if (!out.Data) out.Data = CreateRawData(kind);
  if (!out.Data->Read(f)) {
    Trace("data record of kind %d at 0x%llx runs past the end of the file", kind,
          static_cast<unsigned long long>(out.DataOffset));
    out.Data.reset();
    return ObjectReadResult::Dropped;
  }
  return ObjectReadResult::Ok;
}

int64_t WriteTablePlaceholder(ByteStream& f, size_t count) {
  const int64_t at = f.Position();
  for (size_t i = 0; i < count; ++i) WriteU32(kNoOffset, f);
  return at;
}

void PatchTable(ByteStream& f, int64_t at, const std::vector<uint32_t>& table) {
  const int64_t end = f.Position();
  f.Seek(at);
  if (!table.empty()) WriteFixed(table.data(), static_cast<uint32_t>(table.size() * 4), f);
  f.Seek(end);
}

void WriteDataRecord(TData* data, ByteStream& f) {
  if (data) {
    data->Write(f);
  } else {
    TRawData empty;
    empty.Write(f);
  }
}

namespace {

// A list of the page: base, table, then per entry its description and data
// record (object list) or its number and data record (data list).
void WritePageList(ByteStream& f, const std::vector<TObjectRef>& list, bool numbers, uint32_t& listOffset,
                   int16_t& count) {
  const int64_t l = f.Position();
  const size_t n = std::min<size_t>(list.size(), 0x7FFF);
  listOffset = static_cast<uint32_t>(l);
  count = static_cast<int16_t>(n);
  WriteU32(static_cast<uint32_t>(l), f);
  const int64_t at = WriteTablePlaceholder(f, n);
  std::vector<uint32_t> table;
  for (size_t i = 0; i < n; ++i) {
    table.push_back(static_cast<uint32_t>(f.Position()));
    if (numbers) WriteU32(list[i].Info->Target.Number, f);
    else list[i].Info->Write(f);
    WriteDataRecord(list[i].Data, f);
  }
  PatchTable(f, at, table);
}

std::vector<TObjectRef> Refs(std::vector<TObjectRecord>& list) {
  std::vector<TObjectRef> refs;
  for (TObjectRecord& r : list) refs.push_back({&r.Info, r.Data.get()});
  return refs;
}

}  // namespace

void WritePageRecord(ByteStream& f, TPageParts& page, uint32_t& outOffset) {
  TRecordHeader& h = *page.Header;
  const int64_t p = f.Seek(0, ByteStream::end);
  outOffset = static_cast<uint32_t>(p);
  h.Magic = kProjectMagic;
  h.Write(f);
  h.BackgroundOffset = static_cast<uint32_t>(f.Position());
  page.Background->Write(f);
  h.HiddenListOffset = static_cast<uint32_t>(f.Position());
  page.HiddenList->Write(f);
  h.InfoOffset = static_cast<uint32_t>(f.Position());
  page.Info->Write(f);
  page.DbInfo->Write(f);
  WritePageList(f, page.Objects, false, h.ObjectListOffset, h.ObjectCount);
  WritePageList(f, page.Data, true, h.DataListOffset, h.DataCount);

  const int64_t e = f.Position();
  h.ExtensionOffset = static_cast<uint32_t>(e);
  uint32_t* ext = page.Ext;
  for (int i = 0; i < 6; ++i) ext[i] = kNoOffset;
  WriteFixed(ext, 6 * sizeof(uint32_t), f);
  ext[kExtEnter] = static_cast<uint32_t>(f.Position() - e);
  for (int i = 0; i < 4; ++i) page.Enter[i].Write(f);
  ext[kExtLeave] = static_cast<uint32_t>(f.Position() - e);
  for (int i = 0; i < 4; ++i) page.Leave[i].Write(f);
  ext[kExtMenu] = static_cast<uint32_t>(f.Position() - e);
  std::vector<TTSLMenuData*> items;
  for (TTSLMenuData* m : page.MenuItems)
    if (m && items.size() < 0x7FFF) items.push_back(m);
  WriteU16(page.MenuFlag, f);
  WriteU16(static_cast<uint16_t>(items.size()), f);
  for (TTSLMenuData* m : items) m->Write(f);
  ext[kExtKeys] = static_cast<uint32_t>(f.Position() - e);
  page.KeyList->Write(f);
  ext[kExtOptions] = static_cast<uint32_t>(f.Position() - e);
  WriteU16(page.OwnOptionsFlag, f);
  page.Options->Write(f);
  const int64_t end = f.Position();
  f.Seek(e);
  WriteFixed(ext, 6 * sizeof(uint32_t), f);

  h.Length = static_cast<uint32_t>(end - p);
  h.SelfOffset = static_cast<uint32_t>(p);
  f.Seek(p);
  h.Write(f);
  f.Seek(end);
}

void WriteSharedList(ByteStream& f, const std::vector<TObjectRef>& list, bool withData, uint32_t& outOffset) {
  const int64_t m = f.Seek(0, ByteStream::end);
  outOffset = static_cast<uint32_t>(m);
  const size_t n = std::min<size_t>(list.size(), 0xFFFF);
  WriteU32(kProjectMagic, f);
  WriteU16(static_cast<uint16_t>(n), f);
  WriteU32(static_cast<uint32_t>(m), f);
  const int64_t at = WriteTablePlaceholder(f, n);
  std::vector<uint32_t> table;
  for (size_t i = 0; i < n; ++i) {
    table.push_back(static_cast<uint32_t>(f.Position()));
    list[i].Info->Write(f);
    if (withData) WriteDataRecord(list[i].Data, f);
  }
  PatchTable(f, at, table);
}

namespace {

// Reads the records of a table into `list`; false for a bad kind.
bool ReadRecords(ByteStream& f, const std::vector<uint32_t>& table, const TDataCreator* creator,
                 std::vector<TObjectRecord>& list) {
  list.reserve(list.size() + table.size());  // the file holds the table, so it is no claim
  for (size_t i = 0; i < table.size(); ++i) {
    const uint32_t at = table[i];
    TTraceScope scope("object %zu", i);
    if (!SeekPart(f, at, "record")) continue;  // a failed seek skips the entry
    TObjectRecord rec;
    const ObjectReadResult r = ReadObjectRecord(f, rec, creator);
    if (r == ObjectReadResult::BadKind) return false;
    if (r == ObjectReadResult::Dropped) break;
    list.push_back(std::move(rec));
  }
  return true;
}


bool ReadSharedList(ByteStream& f, uint32_t offset, const TDataCreator* creator,
                    std::vector<TObjectRecord>& list) {
  list.clear();
  if (!SeekPart(f, offset, "shared list")) return false;
  uint32_t magic = kNoOffset;
  ReadU32(magic, f);
  if (magic != kProjectMagic) {
    Trace("shared list at 0x%x: magic 0x%x, not 0x%x", offset, magic, kProjectMagic);
    return false;
  }
  uint16_t count = 0;
  uint32_t base = 0;
  ReadU16(count, f);
  ReadU32(base, f);
  const int64_t left = f.Remaining();
  if (left >= 0 && static_cast<int64_t>(count) * 4 > left) {
    Trace("shared list at 0x%x: %u entries, the file holds %lld bytes", offset, count, static_cast<long long>(left));
    return false;
  }
  std::vector<uint32_t> table(count, 0);
  if (count) ReadFixed(table.data(), static_cast<uint32_t>(count) * 4, f);
  for (uint32_t& t : table) t += offset - base;
  return ReadRecords(f, table, creator, list);
}

}  // namespace

// TSharedObjects

bool TSharedObjects::ReadShared(ByteStream& f, uint32_t offset, const TDataCreator& creator) {
  TTraceScope scope("shared list");
  return ReadSharedList(f, offset, &creator, Objects);
}

bool TSharedObjects::ReadDataless(ByteStream& f, uint32_t offset) {
  TTraceScope scope("shared dataless list");
  return ReadSharedList(f, offset, nullptr, Dataless);
}

void TSharedObjects::WriteShared(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, Refs(Objects), true, outOffset);
}

void TSharedObjects::WriteDataless(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, Refs(Dataless), false, outOffset);
}

int TSharedObjects::KindOf(uint32_t number) const {
  for (const auto* list : {&Objects, &Dataless})
    for (const TObjectRecord& r : *list)
      if (r.Info.Target.Number == number) return r.Info.Target.Kind;
  return -1;
}

// TPageRecord

TPageRecord::TPageRecord() : Menu(11, 0, 10) {
  for (uint32_t& e : Ext) e = kNoOffset;
}

void TPageRecord::Reset() {
  Header = TRecordHeader();
  Background = TBackground();
  HiddenList.Clear();
  Info = TObjectInfo();
  DbInfo = TdBaseInfo();
  Objects.clear();
  DataOverrides.clear();
  for (uint32_t& e : Ext) e = kNoOffset;
  for (TActionStruct& a : EnterActions) a = TActionStruct();
  for (TActionStruct& a : LeaveActions) a = TActionStruct();
  MenuFlag = 0;
  Menu.Flush();
  KeyList.Clear();
  OwnOptionsFlag = 0;
  Options = TBookStructOptions();
}

int TPageRecord::KindOf(uint32_t number, const TKindLookup& kindOf) const {
  for (const TObjectRecord& r : Objects)
    if (r.Info.Target.Number == number) return r.Info.Target.Kind;
  return kindOf ? kindOf(number) : -1;
}

bool TPageRecord::ReadObjectList(ByteStream& f, const TDataCreator& creator) {
  TTraceScope scope("object list");
  std::vector<uint32_t> table;
  if (!ReadOffsetTable(f, Header.ObjectListOffset, Header.ObjectCount, table)) return false;
  return ReadRecords(f, table, &creator, Objects);
}

bool TPageRecord::ReadDataList(ByteStream& f, const TDataCreator& creator, const TKindLookup& kindOf) {
  TTraceScope scope("data list");
  std::vector<uint32_t> table;
  if (!ReadOffsetTable(f, Header.DataListOffset, Header.DataCount, table)) return false;
  for (size_t i = 0; i < table.size(); ++i) {
    TTraceScope entry("entry %zu", i);
    if (!SeekPart(f, table[i], "record")) continue;
    TDataOverride d;
    ReadU32(d.Number, f);
    const int kind = KindOf(d.Number, kindOf);
    if (kind < 0 || kind > kLastObjectKind) {
      Trace("object %u not on the page, skipped", d.Number);
      continue;
    }
    d.Kind = static_cast<int16_t>(kind);
    d.DataOffset = f.Position();
    d.Data = creator(d.Kind);
    if (!d.Data) d.Data = CreateRawData(d.Kind);
    if (!d.Data->Read(f)) {
      Trace("data record of object %u at 0x%llx runs past the end of the file", d.Number,
            static_cast<unsigned long long>(d.DataOffset));
      break;
    }
    DataOverrides.push_back(std::move(d));
  }
  return true;
}

bool TPageRecord::ReadExtension(ByteStream& f) {
  if (RecordVersionAbove(2, 6) && Header.ExtensionOffset != kNoOffset) {
    if (!SeekPart(f, Header.ExtensionOffset, "extension block")) return false;
    ReadFixed(Ext, sizeof Ext, f);
    for (TActionStruct& a : EnterActions) a.Read(f);
    for (TActionStruct& a : LeaveActions) a.Read(f);
  }
  if (!RecordVersionAbove(3, 1)) return true;
  // The blocks follow each other; their offsets only say whether they are
  // present.
  if (Ext[kExtMenu] != kNoOffset) {
    uint16_t count = 0;
    ReadU16(MenuFlag, f);
    ReadU16(count, f);
    const int n = static_cast<int16_t>(count);
    for (int i = 0; i < n && f.Remaining() != 0; ++i) {
      auto item = std::make_unique<TTSLMenuData>();
      item->Read(f);
      Menu.Add(item.release());
    }
  }
  if (Ext[kExtKeys] != kNoOffset) KeyList.Read(f);
  if (Ext[kExtOptions] != kNoOffset) {
    ReadU16(OwnOptionsFlag, f);
    Options.Read(f);
  }
  return true;
}

bool TPageRecord::ReadFields(ByteStream& file, uint32_t offset, const TDataCreator& creator,
                             const TKindLookup& kindOf) {
  if (!ReadRecordHeader(file, offset, Header)) return false;
  TRecordWindow f(file, offset, Header.Length);
  if (!SeekPart(f, Header.BackgroundOffset, "background")) return false;
  Background.Read(f);
  if (!SeekPart(f, Header.HiddenListOffset, "hidden list")) return false;
  HiddenList.Read(f);
  if (!SeekPart(f, Header.InfoOffset, "page description")) return false;
  Info.Read(f);
  if (RecordVersionAbove(2, 7)) DbInfo.Read(f);
  if (!ReadObjectList(f, creator)) return false;
  if (!ReadDataList(f, creator, kindOf)) return false;
  return ReadExtension(f);
}

bool TPageRecord::Read(ByteStream& f, uint32_t offset, const TDataCreator& creator, const TKindLookup& kindOf) {
  Reset();
  return ReadFields(f, offset, creator, kindOf);
}

bool TPageRecord::Read(ByteStream& f, uint32_t offset, const TDataCreator& creator, const TSharedObjects* shared) {
  TKindLookup kindOf;
  if (shared) kindOf = [shared](uint32_t number) { return shared->KindOf(number); };
  return Read(f, offset, creator, kindOf);
}

// ---- random access ----

bool ReadPageInfoAt(ByteStream& f, uint32_t pageOffset, TObjectInfo& out, TdBaseInfo* db) {
  TRecordHeader h;
  if (!ReadRecordHeader(f, pageOffset, h) || !SeekPart(f, h.InfoOffset, "page description")) return false;
  out.Read(f);
  if (db) db->Read(f);
  return true;
}

bool ReadPageBackgroundAt(ByteStream& f, uint32_t pageOffset, TBackground& out) {
  TRecordHeader h;
  if (!ReadRecordHeader(f, pageOffset, h) || !SeekPart(f, h.BackgroundOffset, "background")) return false;
  out.Read(f);
  return true;
}

bool ReadPageOwnOptions(ByteStream& f, uint32_t pageOffset, TBookStructOptions& out, TOwnOptionsBlock& block) {
  block = TOwnOptionsBlock();
  TRecordHeader h;
  if (!ReadRecordHeader(f, pageOffset, h)) return false;
  if (h.ExtensionOffset == kNoOffset || !SeekPart(f, h.ExtensionOffset, "extension block")) return true;
  uint32_t ext[6];
  for (uint32_t& e : ext) e = kNoOffset;
  ReadFixed(ext, sizeof ext, f);
  if (ext[kExtOptions] == kNoOffset) return true;
  if (!SeekInside(f, static_cast<int64_t>(h.ExtensionOffset) + ext[kExtOptions])) {
    Trace("own options at 0x%x + 0x%x outside the file", h.ExtensionOffset, ext[kExtOptions]);
    return true;
  }
  block.Present = true;
  ReadU16(block.Flag, f);
  if (block.Flag) out.Read(f);
  return true;
}

bool ReadPageObjectAt(ByteStream& f, uint32_t pageOffset, int count, int n, const TDataCreator& creator,
                      TObjectRecord& out) {
  TRecordHeader h;
  if (!ReadRecordHeader(f, pageOffset, h)) return false;
  std::vector<uint32_t> table;
  if (!ReadOffsetTable(f, h.ObjectListOffset, count, table)) return false;
  if (n < 0 || static_cast<size_t>(n) >= table.size() || !SeekPart(f, table[static_cast<size_t>(n)], "record"))
    return false;
  return ReadObjectRecord(f, out, &creator) == ObjectReadResult::Ok;
}

void TPageRecord::Write(ByteStream& f, uint32_t& outOffset) {
  TPageParts parts{&Header, &Background, &HiddenList, &Info, &DbInfo, Refs(Objects), {}, Ext, EnterActions,
                   LeaveActions, MenuFlag, {}, &KeyList, OwnOptionsFlag, &Options};
  // The data list's records carry their object's number only.
  std::vector<TObjectInfo> numbers(DataOverrides.size());
  for (size_t i = 0; i < DataOverrides.size(); ++i) {
    numbers[i].Target.Number = DataOverrides[i].Number;
    parts.Data.push_back({&numbers[i], DataOverrides[i].Data.get()});
  }
  for (TTSLMenuData* m : Menu) parts.MenuItems.push_back(m);
  WritePageRecord(f, parts, outOffset);
}
