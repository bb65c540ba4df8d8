#include "engine/core/pages/pagemanager.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"
#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "engine/core/format/trace.h"

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

bool TPageManagerCore::ReadObjectInfo(uint32_t offset, TObjectInfo& out) {
  if (!Stream || !SeekInside(*Stream, offset)) return false;
  out.Read(*Stream);
  return true;
}

// ---- loading: the page record reads, the manager adopts ----

bool TPageManagerCore::LoadObjectTable(uint32_t listOffset, int16_t count, std::vector<uint32_t>& table) {
  if (!Stream || !ReadOffsetTable(*Stream, listOffset, count, table)) return false;
  Stream->Seek(0, ByteStream::end);
  return true;
}

bool TPageManagerCore::AdoptObjects(std::vector<TObjectRecord>& records, bool stored, double scaleX, double scaleY) {
  for (TObjectRecord& r : records) {
    const TObjectRect design = r.Info.Rect;
    const uint32_t number = r.Info.Target.Number;
    const int kind = r.Info.Target.Kind;
    r.Info.Rect = ScaleObjectRect(design, r.Info.Property.Flags, scaleX, scaleY);
    if (!AddStoredObject(std::move(r.Info), std::move(r.Data), stored, r.DataOffset, design)) {
      Trace("object %u of kind %d could not be made", number, kind);
      return false;
    }
  }
  return true;
}

TDataCreator TPageManagerCore::Creator() {
  return [this](int16_t kind) { return CreateKindData(kind); };
}

bool TPageManagerCore::LoadSharedObjects(uint32_t offset, double scaleX, double scaleY) {
  if (!Stream) return false;
  TSharedObjects shared;
  const bool read = shared.ReadShared(*Stream, offset, Creator());
  // A list that ends with a failure keeps the objects read before it.
  return AdoptObjects(shared.Objects, true, scaleX, scaleY) && read;
}

bool TPageManagerCore::LoadSharedDatalessObjects(uint32_t offset) {
  if (!Stream) return false;
  TSharedObjects shared;
  const bool read = shared.ReadDataless(*Stream, offset);
  return AdoptObjects(shared.Dataless, false, 1.0, 1.0) && read;
}

void TPageManagerCore::ResetPage(TRecordHeader* header) {
  PreviousPageHadOwnOptions = OwnOptions != 0;
  ClearPageFields(header);
}

void TPageManagerCore::ClearPageFields(TRecordHeader* header) {
  (header ? *header : RecordHeader) = TRecordHeader();
  PageInfo = TObjectInfo();
  Background = TBackground();
  HiddenList.Clear();
  DbInfo = TdBaseInfo();
  for (uint32_t& e : ExtOffsets) e = kNoOffset;
  for (TActionStruct& a : EnterActions) a = TActionStruct();
  for (TActionStruct& a : LeaveActions) a = TActionStruct();
  if (MenuItems) MenuItems->Flush(DeleteType::Delete);
  MenuFlag = 0;
  KeyList.Clear();
  OwnOptions = 0;
  PageOptions = TBookStructOptions();
}

bool TPageManagerCore::AdoptPage(TPageRecord& r, TRecordHeader& header, double scaleX, double scaleY) {
  header = r.Header;
  Background = r.Background;
  HiddenList = r.HiddenList;
  PageInfo = r.Info;
  DbInfo = r.DbInfo;
  if (!AdoptObjects(r.Objects, true, scaleX, scaleY)) return false;
  for (TDataOverride& d : r.DataOverrides) {
    const int index = FindObjectIndexById(d.Number);
    const TObjectInfo* info = index < 0 ? nullptr : StoredObjectInfo(index);
    // Two objects of one number with different kinds (a damaged file): the
    // record was read as the other kind's and cannot go to this object.
    if (!info || info->Target.Kind != d.Kind) {
      Trace("data list: object %u is not of kind %d, its record is skipped", d.Number, d.Kind);
      continue;
    }
    ReplaceObjectData(index, std::move(d.Data), d.DataOffset, scaleX != 0.0);
  }
  std::copy(std::begin(r.Ext), std::end(r.Ext), std::begin(ExtOffsets));
  std::copy(std::begin(r.EnterActions), std::end(r.EnterActions), std::begin(EnterActions));
  std::copy(std::begin(r.LeaveActions), std::end(r.LeaveActions), std::begin(LeaveActions));
  MenuFlag = r.MenuFlag;
  r.Menu.OwnsElements(false);
  for (TTSLMenuData* m : r.Menu)
    if (MenuItems) MenuItems->Add(m); else delete m;
  r.Menu.Flush(DeleteType::NoDelete);
  KeyList = r.KeyList;
  OwnOptions = r.OwnOptionsFlag;
  PageOptions = r.Options;
  return true;
}

bool TPageManagerCore::ReadPage(uint32_t pageOffset, TRecordHeader* header, double scaleX, double scaleY) {
  // Nothing of the page before stays, whatever becomes of this one: a page
  // that cannot be read is the empty page.
  ResetPage(header);
  bool ok = false;
  if (Stream) {
    TPageRecord record;
    const TKindLookup kindOf = [this](uint32_t number) {
      const int index = FindObjectIndexById(number);
      const TObjectInfo* info = index < 0 ? nullptr : StoredObjectInfo(index);
      return info ? static_cast<int>(info->Target.Kind) : -1;
    };
    ok = record.Read(*Stream, pageOffset, Creator(), kindOf) &&
         AdoptPage(record, header ? *header : RecordHeader, scaleX, scaleY);
    // An object that could not be made ends the adoption midway: what was
    // taken over goes again (the objects made are the caller's to end).
    if (!ok) ClearPageFields(header);
    if (ok) DbInfo.RequestLoad(DatabaseTarget());
  }
  BuildMenuBar();
  ResetPageState();
  return ok;
}

void TPageManagerCore::ResetPageState() { KeyIndex = -1; }

bool ReadProjectBody(ByteStream& f, const TProjectHeader& header, TPageDirectory& directory,
                     TPageManagerCore& manager,
                     const std::function<bool(uint32_t, double&, double&)>& pageScale) {
  directory.Read(f, header.Values[0]);
  manager.Stream = &f;
  if (SeekInside(f, header.Values[1])) manager.ProjectObjects.Read(f);
  if (directory.Count() == 0) return true;
  double sx = 1.0, sy = 1.0;
  uint32_t first;
  if (!pageScale || !directory.GetPageOffset(0, first) || !pageScale(first, sx, sy)) sx = sy = 1.0;
  const bool shared = manager.LoadSharedObjects(manager.ProjectObjects.Values[1], sx, sy);
  const bool dataless = manager.LoadSharedDatalessObjects(manager.ProjectObjects.Values[2]);
  return shared && dataless;
}

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

std::vector<TObjectRef> TPageManagerCore::ObjectsIn(bool (TPageManagerCore::*in)(int), size_t most) {
  // From the top object down: reading puts every object beneath those of its
  // layer read before it, so the array comes back as it was.
  std::vector<TObjectRef> refs;
  for (int i = StoredObjectCount() - 1; i >= 0 && refs.size() < most; --i)
    if ((this->*in)(i)) refs.push_back({StoredObjectInfo(i), StoredObjectData(i)});
  return refs;
}

bool TPageManagerCore::WritePage(uint32_t& outOffset, TRecordHeader* header) {
  return Stream && WritePage(*Stream, outOffset, header);
}

bool TPageManagerCore::WritePage(ByteStream& f, uint32_t& outOffset, TRecordHeader* header) {
  if (f.Seek(0, ByteStream::end) < 0) return false;
  TPageParts parts{header ? header : &RecordHeader, &Background, &HiddenList, &PageInfo, &DbInfo,
                   ObjectsIn(&TPageManagerCore::InObjectList, 0x7FFF), ObjectsIn(&TPageManagerCore::InDataList, 0x7FFF),
                   ExtOffsets, EnterActions, LeaveActions, MenuFlag, {}, &KeyList, OwnOptions, &PageOptions};
  if (MenuItems)
    for (TTSLMenuData* m : *MenuItems) parts.MenuItems.push_back(m);
  WritePageRecord(f, parts, outOffset);
  PageWritten();
  return true;
}

void TPageManagerCore::WriteSharedObjects(uint32_t& outOffset) {
  if (Stream) WriteSharedObjects(*Stream, outOffset);
}
void TPageManagerCore::WriteSharedObjects(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, ObjectsIn(&TPageManagerCore::InSharedList, 0xFFFF), true, outOffset);
}
void TPageManagerCore::WriteSharedDatalessObjects(uint32_t& outOffset) {
  if (Stream) WriteSharedDatalessObjects(*Stream, outOffset);
}
void TPageManagerCore::WriteSharedDatalessObjects(ByteStream& f, uint32_t& outOffset) {
  WriteSharedList(f, ObjectsIn(&TPageManagerCore::InDatalessList, 0xFFFF), false, outOffset);
}

void TPageManagerCore::WriteSharedObjectLists() {
  if (Stream) WriteSharedObjectLists(*Stream);
}

void TPageManagerCore::WriteSharedObjectLists(ByteStream& f) {
  WriteSharedObjects(f, ProjectObjects.Values[1]);
  WriteSharedDatalessObjects(f, ProjectObjects.Values[2]);
}
