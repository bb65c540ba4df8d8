#include "engine/core/pages/pagemanager.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

uint8_t PreviousPageHadOwnOptions = 0;

namespace {

int32_t TruncToI32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);  // toward zero
}

}  // namespace

TObjectRect ScaleObjectRect(const TObjectRect& r, uint32_t propertyFlags, double sx, double sy) {
  if (sx == 1.0 || sy == 1.0) return r;
  TObjectRect s = r;
  if (propertyFlags & kPropScaleSize) {
    s.Left = TruncToI32(r.Left * sx);
    s.Top = TruncToI32(r.Top * sy);
    s.Right = TruncToI32(r.Right * sx);
    s.Bottom = TruncToI32(r.Bottom * sy);
  } else {
    const double w = static_cast<double>(r.Right) - r.Left, h = static_cast<double>(r.Bottom) - r.Top;
    s.Left = TruncToI32(r.Left * sx);
    s.Top = TruncToI32(r.Top * sy);
    s.Right = TruncToI32(r.Left * sx + w);
    s.Bottom = TruncToI32(r.Top * sy + h);
  }
  return s;
}

TPageManagerCore::TPageManagerCore() {
  for (uint32_t& e : ExtOffsets) e = kNoOffset;
}

TPageManagerCore::~TPageManagerCore() = default;

// ---- record readers ----

bool TPageManagerCore::ReadRecordHeader(uint32_t offset, TRecordHeader& out) {
  return Stream && ::ReadRecordHeader(*Stream, offset, out);
}

bool TPageManagerCore::WriteRecordHeader(uint32_t offset, const TRecordHeader& header) {
  if (!Stream || Stream->Seek(offset) != static_cast<int64_t>(offset)) return false;
  header.Write(*Stream);
  return true;
}

bool TPageManagerCore::ReadBackgroundAt(uint32_t offset, TBackground& out) {
  if (!Stream || !SeekInside(*Stream, offset)) return false;
  out.Read(*Stream);
  return true;
}

bool TPageManagerCore::ReadLongArrayAt(uint32_t offset, TLongArray& out) {
  if (!Stream || !SeekInside(*Stream, offset)) return false;
  out.Read(*Stream);
  return true;
}

bool TPageManagerCore::ReadObjectInfo(uint32_t offset, TObjectInfo& out) {
  if (!Stream || !SeekInside(*Stream, offset)) return false;
  out.Read(*Stream);
  return true;
}

// ---- loading ----

bool TPageManagerCore::ReadObjectRecords(const std::vector<uint32_t>& table, bool withData, bool setStored,
                                         double scaleX, double scaleY) {
  ByteStream& f = *Stream;
  TObjectInfo info;  // one record for all entries, as the stored lists are read
  for (uint32_t at : table) {
    if (!SeekInside(f, at)) continue;
    info.Read(f);
    const int16_t kind = info.Target.Kind;
    if (kind < 0 || kind > kLastObjectKind) return false;
    const TObjectRect stored = info.Rect;
    std::unique_ptr<TData> data;
    int64_t dataOffset = -1;
    if (withData) {
      dataOffset = f.Position();
      data = CreateKindData(kind);
      if (!data) data = CreateRawData(kind);
      // A record that runs past the end of the file: the file is damaged
      // from here on.
      if (!data->Read(f)) return false;
    }
    info.Rect = ScaleObjectRect(stored, info.Property.Flags, scaleX, scaleY);
    const bool added = AddStoredObject(info, std::move(data), setStored, dataOffset, stored);
    info.Rect = stored;
    if (!added) return false;
  }
  return true;
}

bool TPageManagerCore::LoadObjects(uint32_t listOffset, int16_t count, std::vector<uint32_t>* table, bool create,
                                   double scaleX, double scaleY) {
  if (!Stream) return false;
  std::vector<uint32_t> offsets;
  if (!ReadOffsetTable(*Stream, listOffset, count, offsets)) return false;
  if (!create) {
    if (table) *table = std::move(offsets);
    Stream->Seek(0, ByteStream::end);
    return true;
  }
  const bool ok = ReadObjectRecords(offsets, true, true, scaleX, scaleY);
  if (table) *table = std::move(offsets);
  return ok;
}

bool TPageManagerCore::LoadDataOverrides(uint32_t listOffset, int16_t count, std::vector<uint32_t>* table,
                                         bool create, bool refresh) {
  if (!Stream) return false;
  ByteStream& f = *Stream;
  std::vector<uint32_t> offsets;
  if (!ReadOffsetTable(f, listOffset, count, offsets)) return false;
  if (!create) {
    if (table) *table = std::move(offsets);
    f.Seek(0, ByteStream::end);
    return true;
  }
  bool ok = true;
  for (uint32_t at : offsets) {
    if (!SeekInside(f, at)) continue;
    uint32_t number = 0;
    ReadU32(number, f);
    const int index = FindObjectIndexById(number);
    if (index < 0) continue;
    const int16_t kind = StoredObjectInfo(index)->Target.Kind;
    const int64_t dataOffset = f.Position();
    std::unique_ptr<TData> data = CreateKindData(kind);
    if (!data) data = CreateRawData(kind);
    if (!data->Read(f)) {
      ok = false;
      break;
    }
    ReplaceObjectData(index, std::move(data), dataOffset, refresh);
  }
  if (table) *table = std::move(offsets);
  return ok;
}

namespace {

// Signature, u16 count, base and the offsets relocated by (offset - base).
bool ReadSharedTable(ByteStream& f, uint32_t offset, std::vector<uint32_t>& table) {
  table.clear();
  if (!SeekInside(f, offset)) return false;
  uint32_t magic = kNoOffset, base = 0;
  uint16_t count = 0;
  ReadU32(magic, f);
  if (magic != kProjectMagic) return false;
  ReadU16(count, f);
  ReadU32(base, f);
  const int64_t left = f.Remaining();
  if (left >= 0 && static_cast<int64_t>(count) * 4 > left) return false;
  table.assign(count, 0);
  if (count) ReadFixed(table.data(), static_cast<uint32_t>(count) * 4, f);
  for (uint32_t& t : table) t += offset - base;
  return true;
}

}  // namespace

bool TPageManagerCore::LoadSharedObjects(uint32_t offset, double scaleX, double scaleY) {
  std::vector<uint32_t> table;
  if (!Stream || !ReadSharedTable(*Stream, offset, table)) return false;
  return ReadObjectRecords(table, true, true, scaleX, scaleY);
}

bool TPageManagerCore::LoadSharedDatalessObjects(uint32_t offset) {
  std::vector<uint32_t> table;
  if (!Stream || !ReadSharedTable(*Stream, offset, table)) return false;
  return ReadObjectRecords(table, false, false, 1.0, 1.0);
}

bool TPageManagerCore::ReadPage(uint32_t pageOffset, TRecordHeader* header, double scaleX, double scaleY) {
  if (!Stream) return false;
  ByteStream& f = *Stream;
  TRecordHeader& h = header ? *header : RecordHeader;
  if (!ReadRecordHeader(pageOffset, h)) return false;
  if (!ReadBackgroundAt(h.BackgroundOffset, Background)) return false;
  if (!ReadLongArrayAt(h.HiddenListOffset, HiddenList)) return false;
  if (!ReadObjectInfo(h.InfoOffset, PageInfo)) return false;
  if (RecordVersionAbove(2, 7)) DbInfo.Read(f, DatabaseTarget());
  if (!LoadObjects(h.ObjectListOffset, h.ObjectCount, nullptr, true, scaleX, scaleY)) return false;
  if (!LoadDataOverrides(h.DataListOffset, h.DataCount, nullptr, true, scaleX != 0.0)) return false;

  // What the page does not carry is reset, so nothing of the page read
  // before stays with this one.
  for (uint32_t& e : ExtOffsets) e = kNoOffset;
  for (TActionStruct& a : EnterActions) a = TActionStruct();
  for (TActionStruct& a : LeaveActions) a = TActionStruct();
  KeyList.Clear();
  if (RecordVersionAbove(2, 6) && h.ExtensionOffset != kNoOffset) {
    if (!SeekInside(f, h.ExtensionOffset)) return false;
    ReadFixed(ExtOffsets, sizeof ExtOffsets, f);
    for (TActionStruct& a : EnterActions) a.Read(f);
    for (TActionStruct& a : LeaveActions) a.Read(f);
  }
  // The blocks follow each other from here; their offsets only tell whether
  // a block is there.
  if (MenuItems) MenuItems->Flush(DeleteType::Delete);
  MenuFlag = 0;
  if (RecordVersionAbove(3, 1) && ExtOffsets[kExtMenu] != kNoOffset) {
    uint16_t count = 0;
    ReadU16(MenuFlag, f);
    ReadU16(count, f);
    const int n = static_cast<int16_t>(count);
    for (int i = 0; i < n && f.Remaining() != 0; ++i) {
      auto item = std::make_unique<TTSLMenuData>();
      item->Read(f);
      if (MenuItems) MenuItems->Add(item.release());
    }
  }
  if (RecordVersionAbove(3, 1) && ExtOffsets[kExtKeys] != kNoOffset) KeyList.Read(f);
  PreviousPageHadOwnOptions = OwnOptions != 0;
  OwnOptions = 0;
  if (RecordVersionAbove(3, 1) && ExtOffsets[kExtOptions] != kNoOffset) {
    ReadU16(OwnOptions, f);
    PageOptions.Read(f);
  }
  BuildMenuBar();
  ResetPageState();
  return true;
}

void TPageManagerCore::ResetPageState() { KeyIndex = -1; }

int TPageManagerCore::FindObjectIndexById(uint32_t number) {
  const int n = StoredObjectCount();
  for (int i = 0; i < n; ++i) {
    const TObjectInfo* info = StoredObjectInfo(i);
    if (info && info->Target.Number == number) return i;
  }
  return -1;
}

void TPageManagerCore::CountObjectGroups(uint16_t& local, uint16_t& group1, uint16_t& group2) {
  local = group1 = group2 = 0;
  const int n = StoredObjectCount();
  for (int i = 0; i < n; ++i) {
    const TObjectInfo* info = StoredObjectInfo(i);
    if (!info) continue;
    const uint32_t flags = info->Property.Flags;
    if (flags & kPropPageObject) ++local;
    else if (flags & kPropShared) ++group1;
    else if (flags & kPropSharedDataless) ++group2;
  }
}

// ---- writers ----

bool TPageManagerCore::InObjectList(int index) {
  const TObjectInfo* info = StoredObjectInfo(index);
  return info && (info->Property.Flags & kPropPageObject);
}
bool TPageManagerCore::InDataList(int index) {
  const TObjectInfo* info = StoredObjectInfo(index);
  return info && (info->Property.Flags & kPropSharedDataless);
}
bool TPageManagerCore::InSharedList(int index) {
  const TObjectInfo* info = StoredObjectInfo(index);
  return info && (info->Property.Flags & kPropShared);
}
bool TPageManagerCore::InDatalessList(int index) { return InDataList(index); }

void TPageManagerCore::WriteObjectList(ByteStream& f, uint32_t& listOffset, int16_t& count) {
  const int64_t l = f.Seek(0, ByteStream::end);
  std::vector<int> chosen;
  for (int i = StoredObjectCount() - 1; i >= 0 && chosen.size() < 0x7FFF; --i)
    if (InObjectList(i)) chosen.push_back(i);
  listOffset = static_cast<uint32_t>(l);
  count = static_cast<int16_t>(chosen.size());
  WriteU32(static_cast<uint32_t>(l), f);
  const int64_t at = WriteTablePlaceholder(f, chosen.size());
  std::vector<uint32_t> table;
  for (int i : chosen) {
    table.push_back(static_cast<uint32_t>(f.Position()));
    StoredObjectInfo(i)->Write(f);
    WriteDataRecord(StoredObjectData(i), f);
  }
  PatchTable(f, at, table);
}

void TPageManagerCore::WriteDataOverrides(ByteStream& f, uint32_t& listOffset, int16_t& count) {
  const int64_t l = f.Seek(0, ByteStream::end);
  std::vector<int> chosen;
  for (int i = StoredObjectCount() - 1; i >= 0 && chosen.size() < 0x7FFF; --i)
    if (InDataList(i)) chosen.push_back(i);
  listOffset = static_cast<uint32_t>(l);
  count = static_cast<int16_t>(chosen.size());
  WriteU32(static_cast<uint32_t>(l), f);
  const int64_t at = WriteTablePlaceholder(f, chosen.size());
  std::vector<uint32_t> table;
  for (int i : chosen) {
    table.push_back(static_cast<uint32_t>(f.Position()));
    WriteU32(StoredObjectInfo(i)->Target.Number, f);
    WriteDataRecord(StoredObjectData(i), f);
  }
  PatchTable(f, at, table);
}

bool TPageManagerCore::WritePage(uint32_t& outOffset, TRecordHeader* header) {
  return Stream && WritePage(*Stream, outOffset, header);
}

bool TPageManagerCore::WritePage(ByteStream& f, uint32_t& outOffset, TRecordHeader* header) {
  TRecordHeader& h = header ? *header : RecordHeader;
  const int64_t p = f.Seek(0, ByteStream::end);
  if (p < 0) return false;
  outOffset = static_cast<uint32_t>(p);
  h.Magic = kProjectMagic;
  h.Write(f);
  h.BackgroundOffset = static_cast<uint32_t>(f.Position());
  Background.Write(f);
  h.HiddenListOffset = static_cast<uint32_t>(f.Position());
  HiddenList.Write(f);
  h.InfoOffset = static_cast<uint32_t>(f.Position());
  PageInfo.Write(f);
  DbInfo.Write(f);
  WriteObjectList(f, h.ObjectListOffset, h.ObjectCount);
  WriteDataOverrides(f, h.DataListOffset, h.DataCount);

  TExtensionParts parts{ExtOffsets, EnterActions, LeaveActions, MenuFlag, {}, &KeyList, OwnOptions, &PageOptions};
  if (MenuItems)
    for (TTSLMenuData* m : *MenuItems) parts.MenuItems.push_back(m);
  WriteExtensionBlock(f, h, parts);
  FinishPageRecord(f, h, p);
  PageWritten();
  return true;
}

void TPageManagerCore::WriteSharedList(ByteStream& f, bool withData, uint32_t& outOffset) {
  const int64_t m = f.Seek(0, ByteStream::end);
  std::vector<int> chosen;
  for (int i = StoredObjectCount() - 1; i >= 0 && chosen.size() < 0xFFFF; --i)
    if (withData ? InSharedList(i) : InDatalessList(i)) chosen.push_back(i);
  outOffset = static_cast<uint32_t>(m);
  WriteU32(kProjectMagic, f);
  WriteU16(static_cast<uint16_t>(chosen.size()), f);
  WriteU32(static_cast<uint32_t>(m), f);
  const int64_t at = WriteTablePlaceholder(f, chosen.size());
  std::vector<uint32_t> table;
  for (int i : chosen) {
    table.push_back(static_cast<uint32_t>(f.Position()));
    StoredObjectInfo(i)->Write(f);
    if (withData) WriteDataRecord(StoredObjectData(i), f);
  }
  PatchTable(f, at, table);
}

void TPageManagerCore::WriteSharedObjects(uint32_t& outOffset) {
  if (Stream) WriteSharedObjects(*Stream, outOffset);
}
void TPageManagerCore::WriteSharedObjects(ByteStream& f, uint32_t& outOffset) { WriteSharedList(f, true, outOffset); }
void TPageManagerCore::WriteSharedDatalessObjects(uint32_t& outOffset) {
  if (Stream) WriteSharedDatalessObjects(*Stream, outOffset);
}
void TPageManagerCore::WriteSharedDatalessObjects(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, false, outOffset);
}

void TPageManagerCore::WriteSharedObjectLists() {
  if (Stream) WriteSharedObjectLists(*Stream);
}

void TPageManagerCore::WriteSharedObjectLists(ByteStream& f) {
  WriteSharedObjects(f, ProjectObjects.Values[1]);
  WriteSharedDatalessObjects(f, ProjectObjects.Values[2]);
}
