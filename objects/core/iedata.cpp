#include "objects/core/iedata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "foundation/core/pathstr.h"

using namespace tsl;

TIEData::TIEData() {
  TData::Init();
  Init();
}

void TIEData::Init() {
  Address = "";
  std::memset(Reserved, 0, sizeof Reserved);
}

void TIEData::Assign(const TData* other) {
  if (other == this) return;
  const auto* o = dynamic_cast<const TIEData*>(other);
  if (!o) return;
  TData::Init();
  Init();
  TData::Assign(other);
  Address = o->Address;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
}

bool TIEData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadShortString(Address, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  if (!IsUrlAddress(Address.c_str())) {
    if (const TRecordContext* project = GetOpenProject()) Address = project->ResolvePath(Address);
  }
  return ContinueAtRecordEnd(f, start);
}

bool TIEData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteShortString(Address, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
