#include "objects/core/listdata.h"

#include <algorithm>
#include <cstring>

#include "engine/core/format/rawio.h"

using namespace tsl;

void TListRecordCore::Init() {
  Flags = kListDefaultFlags;
  BackgroundColour = 0xC0C0C0;
  FontData = MakeFontRecord(17, false, "Arial");
  Pages.clear();
  StartValue = 0;
  std::memset(Reserved, 0, sizeof Reserved);
}

void TListRecordCore::AssignFrom(const TData* other, const TListRecordCore* same) {
  if (other == this) return;
  Reset();
  if (same) {
    TData::Assign(other);
    BackgroundColour = same->BackgroundColour;
    FontData = same->FontData;
    Pages = same->Pages;
    StartValue = same->StartValue;
    std::memcpy(Reserved, same->Reserved, sizeof Reserved);
  }
  Reload();
}

bool TListRecordCore::Read(ByteStream& f) {
  const int64_t start = f.Position();
  Reset();
  TData::Read(f);
  ReadU32(BackgroundColour, f);
  ReadFontRecord(FontData, f);
  int16_t count = 0;
  ReadI16(count, f);
  // The count is a claim of the file: the stored length (and the stream)
  // must hold the numbers too.
  int64_t room = RecordLength >= kFixedSize ? (RecordLength - kFixedSize) / 4 : 0;
  room = std::min<int64_t>(room, f.Remaining() / 4);
  const int n = static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(count, room)));
  Pages.assign(static_cast<size_t>(n), 0);
  for (int32_t& p : Pages) ReadI32(p, f);
  ReadU32(StartValue, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  Reload();
  return ContinueAtRecordEnd(f, start);
}

bool TListRecordCore::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteU32(BackgroundColour, f) && ok;
  ok = WriteFontRecord(FontData, f) && ok;
  ok = WriteI16(PageCount(), f) && ok;
  for (int32_t p : Pages) ok = WriteI32(p, f) && ok;
  ok = WriteU32(StartValue, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}

TListItemDataCore::TListItemDataCore() {
  TData::Init();
  TListRecordCore::Init();
}

void TListItemDataCore::Assign(const TData* other) {
  AssignFrom(other, dynamic_cast<const TListItemDataCore*>(other));
}

TComboItemDataCore::TComboItemDataCore() {
  TData::Init();
  TListRecordCore::Init();
}

void TComboItemDataCore::Assign(const TData* other) {
  AssignFrom(other, dynamic_cast<const TComboItemDataCore*>(other));
}
