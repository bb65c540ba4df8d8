#include "objects/core/flxdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TFLXData::TFLXData() {
  TData::Init();
  Init();
}

void TFLXData::Init() {
  Flags &= ~0x3u;
  Reserved = 0;
  Options = 0;
  FileName = "";
  std::memset(Reserved2, 0, sizeof Reserved2);
}

void TFLXData::Assign(const TData* other) {
  if (other == this) return;
  TData::Init();
  Init();
  const auto* o = dynamic_cast<const TFLXData*>(other);
  if (!o) return;
  TData::Assign(o);
  Reserved = o->Reserved;
  Options = o->Options;
  FileName = o->FileName;
  std::memcpy(Reserved2, o->Reserved2, sizeof Reserved2);
}

bool TFLXData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadU16(Reserved, f);
  ReadU16(Options, f);
  ReadShortString(FileName, f);
  ReadFixed(Reserved2, sizeof Reserved2, f);
  const bool ok = ContinueAtRecordEnd(f, start);
  if (const TRecordContext* project = GetOpenProject()) FileName = project->ResolvePath(FileName);
  return ok;
}

bool TFLXData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteU16(Reserved, f) && ok;
  ok = WriteU16(Options, f) && ok;
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteFixed(Reserved2, sizeof Reserved2, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
