#include "objects/core/flashplayerdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TFlashPlayerData::TFlashPlayerData() {
  TData::Init();
  Init();
}

void TFlashPlayerData::Init() {
  FileName = "";
  Quality = 1;
  ScaleMode = 0;
  std::memset(Reserved, 0, sizeof Reserved);
}

void TFlashPlayerData::Assign(const TData* other) {
  if (other == this) return;
  const auto* o = dynamic_cast<const TFlashPlayerData*>(other);
  if (!o) return;
  TData::Init();
  Init();
  TData::Assign(other);
  FileName = o->FileName;
  Quality = o->Quality;
  ScaleMode = o->ScaleMode;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
}

bool TFlashPlayerData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadShortString(FileName, f);
  ReadU16(Quality, f);
  ReadU16(ScaleMode, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  if (const TRecordContext* project = GetOpenProject()) FileName = project->ResolvePath(FileName);
  return ContinueAtRecordEnd(f, start);
}

bool TFlashPlayerData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteU16(Quality, f) && ok;
  ok = WriteU16(ScaleMode, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
