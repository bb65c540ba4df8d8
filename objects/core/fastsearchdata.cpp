#include "objects/core/fastsearchdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"

using namespace tsl;

void TSearchFieldRecordCore::Init() {
  BackgroundColour = 0xC0C0C0;
  FontData = MakeFontRecord(17, false, "Arial");
  Text = "";
  FieldName = "";
  std::memset(Reserved, 0, sizeof Reserved);
}

void TSearchFieldRecordCore::AssignFrom(const TData* other, const TSearchFieldRecordCore* same) {
  if (!same || other == this) return;
  TData::Assign(other);
  Text = same->Text;
  FieldName = same->FieldName;
  BackgroundColour = same->BackgroundColour;
  FontData = same->FontData;
  Clear();
  Reload();
  std::memcpy(Reserved, same->Reserved, sizeof Reserved);
}

bool TSearchFieldRecordCore::Read(ByteStream& f) {
  const int64_t start = f.Position();
  Reset();
  TData::Read(f);
  ReadU32(BackgroundColour, f);
  ReadFontRecord(FontData, f);
  ReadShortString(Text, f);
  ReadShortString(FieldName, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  Clear();
  Reload();
  return ContinueAtRecordEnd(f, start);
}

bool TSearchFieldRecordCore::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteU32(BackgroundColour, f) && ok;
  ok = WriteFontRecord(FontData, f) && ok;
  ok = WriteShortString(Text, f) && ok;
  ok = WriteShortString(FieldName, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}

TFastSearchDataCore::TFastSearchDataCore() {
  TData::Init();
  TSearchFieldRecordCore::Init();
}

void TFastSearchDataCore::Assign(const TData* other) {
  AssignFrom(other, dynamic_cast<const TFastSearchDataCore*>(other));
}

THelpRegisterDataCore::THelpRegisterDataCore() {
  TData::Init();
  THelpRegisterDataCore::Init();
}

void THelpRegisterDataCore::Init() {
  TSearchFieldRecordCore::Init();
  BackgroundColour = kHelpRegisterBackground;
}

void THelpRegisterDataCore::Assign(const TData* other) {
  AssignFrom(other, dynamic_cast<const THelpRegisterDataCore*>(other));
}
