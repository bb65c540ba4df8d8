#include "objects/core/abpdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TABPData::TABPData() {
  TData::Init();
  Init();
}

void TABPData::Init() {
  Flags = kAbpDefaultFlags;
  Preview.clear();
  FileName = "";
  std::memset(Options, 0, sizeof Options);
}

void TABPData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  Init();
  const auto* o = dynamic_cast<const TABPData*>(other);
  if (!o) return;
  TData::Assign(o);
  FileName = o->FileName;
  Header = o->Header;
  std::memcpy(Options, o->Options, sizeof Options);
  Preview = o->Preview;
}

bool TABPData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadShortString(FileName, f);
  if (const TRecordContext* project = GetOpenProject()) FileName = project->ResolvePath(FileName);
  ReadFixed(Options, sizeof Options, f);
  return ContinueAtRecordEnd(f, start);
}

bool TABPData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteFixed(Options, sizeof Options, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
