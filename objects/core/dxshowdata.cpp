#include "objects/core/dxshowdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TDXShowData::TDXShowData() {
  TData::Init();
  Init();
}

void TDXShowData::Init() {
  Flags = kDXShowDefaultFlags;
  FileName = "";
  std::memset(Reserved, 0, sizeof Reserved);
}

void TDXShowData::Assign(const TData* other) {
  if (other == this) return;
  const auto* o = dynamic_cast<const TDXShowData*>(other);
  if (!o) return;
  TData::Assign(other);
  FileName = o->FileName;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
}

bool TDXShowData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadShortString(FileName, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  if (const TRecordContext* project = GetOpenProject()) FileName = project->ResolvePath(FileName);
  return ContinueAtRecordEnd(f, start);
}

bool TDXShowData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
