#include "engine/core/format/pagerecord.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

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
  if (!SeekInside(f, offset)) return false;
  return out.Read(f);
}

void WriteRecordHeader(ByteStream& f, uint32_t offset, const TRecordHeader& header) {
  f.Seek(offset);
  header.Write(f);
}

bool ReadOffsetTable(ByteStream& f, uint32_t listOffset, int count, std::vector<uint32_t>& table) {
  table.clear();
  if (!SeekInside(f, listOffset)) return false;
  if (count < 0) count = 0;
  const int64_t left = f.Remaining();
  if (left >= 0 && 4 + static_cast<int64_t>(count) * 4 > left) return false;
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
  out.Info.Read(f);
  const int16_t kind = out.Info.Target.Kind;
  if (kind < 0 || kind > kLastObjectKind) return ObjectReadResult::BadKind;
  out.Data.reset();
  out.DataOffset = -1;
  if (!creator) return ObjectReadResult::Ok;
  out.DataOffset = f.Position();
  out.Data = (*creator)(kind);
  if (!out.Data) out.Data = CreateRawData(kind);
  if (!out.Data->Read(f)) {
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

void WriteExtensionBlock(ByteStream& f, TRecordHeader& header, TExtensionParts& parts) {
  const int64_t e = f.Position();
  header.ExtensionOffset = static_cast<uint32_t>(e);
  uint32_t* ext = parts.Offsets;
  for (int i = 0; i < 6; ++i) ext[i] = kNoOffset;
  WriteFixed(ext, 6 * sizeof(uint32_t), f);
  ext[kExtEnter] = static_cast<uint32_t>(f.Position() - e);
  for (int i = 0; i < 4; ++i) parts.Enter[i].Write(f);
  ext[kExtLeave] = static_cast<uint32_t>(f.Position() - e);
  for (int i = 0; i < 4; ++i) parts.Leave[i].Write(f);
  ext[kExtMenu] = static_cast<uint32_t>(f.Position() - e);
  std::vector<TTSLMenuData*> items;
  for (TTSLMenuData* m : parts.MenuItems)
    if (m && items.size() < 0x7FFF) items.push_back(m);
  WriteU16(parts.MenuFlag, f);
  WriteU16(static_cast<uint16_t>(items.size()), f);
  for (TTSLMenuData* m : items) m->Write(f);
  ext[kExtKeys] = static_cast<uint32_t>(f.Position() - e);
  parts.KeyList->Write(f);
  ext[kExtOptions] = static_cast<uint32_t>(f.Position() - e);
  WriteU16(parts.OwnOptionsFlag, f);
  parts.Options->Write(f);
  const int64_t end = f.Position();
  f.Seek(e);
  WriteFixed(ext, 6 * sizeof(uint32_t), f);
  f.Seek(end);
}

void FinishPageRecord(ByteStream& f, TRecordHeader& header, int64_t start) {
  const int64_t end = f.Position();
  header.Length = static_cast<uint32_t>(end - start);
  header.SelfOffset = static_cast<uint32_t>(start);
  f.Seek(start);
  header.Write(f);
  f.Seek(end);
}

namespace {

// Reads the records of a table into `list`; false for a bad kind.
bool ReadRecords(ByteStream& f, const std::vector<uint32_t>& table, const TDataCreator* creator,
                 std::vector<TObjectRecord>& list) {
  for (uint32_t at : table) {
    if (!SeekInside(f, at)) continue;  // a failed seek skips the entry
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
  if (!SeekInside(f, offset)) return false;
  uint32_t magic = kNoOffset;
  ReadU32(magic, f);
  if (magic != kProjectMagic) return false;
  uint16_t count = 0;
  uint32_t base = 0;
  ReadU16(count, f);
  ReadU32(base, f);
  const int64_t left = f.Remaining();
  if (left >= 0 && static_cast<int64_t>(count) * 4 > left) return false;
  std::vector<uint32_t> table(count, 0);
  if (count) ReadFixed(table.data(), static_cast<uint32_t>(count) * 4, f);
  for (uint32_t& t : table) t += offset - base;
  return ReadRecords(f, table, creator, list);
}

void WriteSharedList(ByteStream& f, std::vector<TObjectRecord>& list, bool withData, uint32_t& outOffset) {
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
    list[i].Info.Write(f);
    if (withData) WriteDataRecord(list[i].Data.get(), f);
  }
  PatchTable(f, at, table);
}

}  // namespace

// TSharedObjects

bool TSharedObjects::ReadShared(ByteStream& f, uint32_t offset, const TDataCreator& creator) {
  return ReadSharedList(f, offset, &creator, Objects);
}

bool TSharedObjects::ReadDataless(ByteStream& f, uint32_t offset) {
  return ReadSharedList(f, offset, nullptr, Dataless);
}

void TSharedObjects::WriteShared(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, Objects, true, outOffset);
}

void TSharedObjects::WriteDataless(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, Dataless, false, outOffset);
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

int TPageRecord::KindOf(uint32_t number, const TSharedObjects* shared) const {
  for (const TObjectRecord& r : Objects)
    if (r.Info.Target.Number == number) return r.Info.Target.Kind;
  return shared ? shared->KindOf(number) : -1;
}

bool TPageRecord::ReadObjectList(ByteStream& f, const TDataCreator& creator) {
  Objects.clear();
  std::vector<uint32_t> table;
  if (!ReadOffsetTable(f, Header.ObjectListOffset, Header.ObjectCount, table)) return false;
  return ReadRecords(f, table, &creator, Objects);
}

bool TPageRecord::ReadDataList(ByteStream& f, const TDataCreator& creator, const TSharedObjects* shared) {
  DataOverrides.clear();
  std::vector<uint32_t> table;
  if (!ReadOffsetTable(f, Header.DataListOffset, Header.DataCount, table)) return false;
  for (uint32_t at : table) {
    if (!SeekInside(f, at)) continue;
    TDataOverride d;
    ReadU32(d.Number, f);
    const int kind = KindOf(d.Number, shared);
    if (kind < 0) continue;  // no such object on the page: skipped unread
    d.DataOffset = f.Position();
    d.Data = creator(static_cast<int16_t>(kind));
    if (!d.Data) d.Data = CreateRawData(static_cast<int16_t>(kind));
    if (!d.Data->Read(f)) break;
    DataOverrides.push_back(std::move(d));
  }
  return true;
}

bool TPageRecord::Read(ByteStream& f, uint32_t offset, const TDataCreator& creator,
                       const TSharedObjects* shared) {
  if (!ReadRecordHeader(f, offset, Header)) return false;
  if (!SeekInside(f, Header.BackgroundOffset)) return false;
  Background.Read(f);
  if (!SeekInside(f, Header.HiddenListOffset)) return false;
  HiddenList.Read(f);
  if (!SeekInside(f, Header.InfoOffset)) return false;
  Info.Read(f);
  if (RecordVersionAbove(2, 7)) DbInfo.Read(f);
  if (!ReadObjectList(f, creator)) return false;
  if (!ReadDataList(f, creator, shared)) return false;

  for (uint32_t& e : Ext) e = kNoOffset;
  if (RecordVersionAbove(2, 6)) {
    if (Header.ExtensionOffset == kNoOffset) {
      for (TActionStruct& a : EnterActions) a = TActionStruct();
      for (TActionStruct& a : LeaveActions) a = TActionStruct();
    } else {
      if (!SeekInside(f, Header.ExtensionOffset)) return false;
      ReadFixed(Ext, sizeof Ext, f);
      for (TActionStruct& a : EnterActions) a.Read(f);
      for (TActionStruct& a : LeaveActions) a.Read(f);
    }
  }
  // The blocks follow each other; their offsets only say whether they are
  // present.
  Menu.Flush();
  MenuFlag = 0;
  if (RecordVersionAbove(3, 1) && Ext[kExtMenu] != kNoOffset) {
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
  if (RecordVersionAbove(3, 1) && Ext[kExtKeys] != kNoOffset) KeyList.Read(f);
  OwnOptionsFlag = 0;
  if (RecordVersionAbove(3, 1) && Ext[kExtOptions] != kNoOffset) {
    ReadU16(OwnOptionsFlag, f);
    Options.Read(f);
  }
  return true;
}

void TPageRecord::Write(ByteStream& f, uint32_t& outOffset) {
  const int64_t p = f.Seek(0, ByteStream::end);
  outOffset = static_cast<uint32_t>(p);
  Header.Magic = kProjectMagic;
  Header.Write(f);
  Header.BackgroundOffset = static_cast<uint32_t>(f.Position());
  Background.Write(f);
  Header.HiddenListOffset = static_cast<uint32_t>(f.Position());
  HiddenList.Write(f);
  Header.InfoOffset = static_cast<uint32_t>(f.Position());
  Info.Write(f);
  DbInfo.Write(f);

  // Object list: base, table, records.
  {
    const int64_t l = f.Position();
    const size_t n = std::min<size_t>(Objects.size(), 0x7FFF);
    Header.ObjectListOffset = static_cast<uint32_t>(l);
    Header.ObjectCount = static_cast<int16_t>(n);
    WriteU32(static_cast<uint32_t>(l), f);
    const int64_t at = WriteTablePlaceholder(f, n);
    std::vector<uint32_t> table;
    for (size_t i = 0; i < n; ++i) {
      table.push_back(static_cast<uint32_t>(f.Position()));
      Objects[i].Info.Write(f);
      WriteDataRecord(Objects[i].Data.get(), f);
    }
    PatchTable(f, at, table);
  }
  // Data list: base, table, object number and data record each.
  {
    const int64_t l = f.Position();
    const size_t n = std::min<size_t>(DataOverrides.size(), 0x7FFF);
    Header.DataListOffset = static_cast<uint32_t>(l);
    Header.DataCount = static_cast<int16_t>(n);
    WriteU32(static_cast<uint32_t>(l), f);
    const int64_t at = WriteTablePlaceholder(f, n);
    std::vector<uint32_t> table;
    for (size_t i = 0; i < n; ++i) {
      table.push_back(static_cast<uint32_t>(f.Position()));
      WriteU32(DataOverrides[i].Number, f);
      WriteDataRecord(DataOverrides[i].Data.get(), f);
    }
    PatchTable(f, at, table);
  }
  TExtensionParts parts{Ext, EnterActions, LeaveActions, MenuFlag, {}, &KeyList, OwnOptionsFlag, &Options};
  for (TTSLMenuData* m : Menu) parts.MenuItems.push_back(m);
  WriteExtensionBlock(f, Header, parts);
  FinishPageRecord(f, Header, p);
}
