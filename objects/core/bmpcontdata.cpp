#include "objects/core/bmpcontdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TBmpContData::TBmpContData() {
  TData::Init();
  Init();
}

void TBmpContData::Init() {
  Flags = kBmpContDefaultFlags;
  FileName = "";
  std::memset(Reserved, 0, sizeof Reserved);
}

void TBmpContData::Assign(const TData* other) {
  const auto* o = dynamic_cast<const TBmpContData*>(other);
  if (!o || o == this) return;
  TData::Init();
  Init();
  TData::Assign(o);
  FileName = o->FileName;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
}

bool TBmpContData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadShortString(FileName, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  if (const TRecordContext* project = GetOpenProject()) FileName = project->ResolvePath(FileName);
  return ContinueAtRecordEnd(f, start);
}

bool TBmpContData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
