#include "engine/core/format/dbaseinfo.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

namespace {
const char* const kDefaultNames[kDbColumns] = {
    "CAT",    "SUBCAT", "DATA",   "Feld01", "Feld02", "Feld03", "Feld04", "Feld05", "Feld06",
    "Feld07", "Feld08", "Memo01", "Memo02", "Feld09", "Feld10", "Feld11", "Feld12", "Feld13",
    "Feld14", "Feld15", "Feld16", "Memo03", "Memo04", "Feld17", "Feld18", "Feld19", "Feld20",
    "Feld21", "Feld22", "Feld23", "Feld24", "Memo05", "Memo06"};
}  // namespace

TdBaseInfo::TdBaseInfo() {
  for (int i = 0; i < kDbColumns; ++i)
    SetFixedFieldText(FieldNames[i], kDbColumnNameSize, kDefaultNames[i]);
}

void TdBaseInfo::Read(ByteStream& f) {
  ReadShortString(Path, f);
  ReadU8(Flags, f);
  ReadFixed(FieldNames, sizeof FieldNames, f);
}

void TdBaseInfo::RequestLoad(TObjectManager* target) const {
  if (Flags & kDbInUse)
    if (const TRecordContext* project = GetOpenProject()) project->LoadDatabase(*this, target);
}

void TdBaseInfo::Write(ByteStream& f) const {
  WriteShortString(Path, f);
  WriteU8(Flags, f);
  WriteFixed(FieldNames, sizeof FieldNames, f);
}

string TdBaseInfo::GetFieldName(int column) const {
  if (column < 0 || column >= kDbColumns) return string();
  return FixedFieldText(FieldNames[column], kDbColumnNameSize);
}

bool TdBaseInfo::operator==(const TdBaseInfo& o) const {
  return Path == o.Path && Flags == o.Flags && std::memcmp(FieldNames, o.FieldNames, sizeof FieldNames) == 0;
}
