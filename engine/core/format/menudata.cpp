#include "engine/core/format/menudata.h"

#include <cstring>

#include "engine/core/format/rawio.h"

using namespace tsl;

TTSLMenuData::TTSLMenuData() : Actions(std::make_unique<TSActionStructArrayManager>()) {}

TTSLMenuData::TTSLMenuData(const TTSLMenuData& o) : TTSLMenuData() { *this = o; }

TTSLMenuData& TTSLMenuData::operator=(const TTSLMenuData& o) {
  if (this == &o) return *this;
  CopyActionList(*Actions, *o.Actions);
  Text = o.Text;
  Position = o.Position;
  ObjectNumber = o.ObjectNumber;
  MenuFlags = o.MenuFlags;
  std::memcpy(Reserved, o.Reserved, sizeof Reserved);
  CommandId = o.CommandId;
  return *this;
}

void TTSLMenuData::Read(ByteStream& f) {
  ReadActionList(*Actions, f);
  ReadShortString(Text, f);
  ReadShortString(Position, f);
  ReadU32(ObjectNumber, f);
  ReadU32(MenuFlags, f);
  ReadFixed(Reserved, sizeof Reserved, f);
}

void TTSLMenuData::Write(ByteStream& f) {
  WriteActionList(*Actions, f);
  WriteShortString(Text, f);
  WriteShortString(Position, f);
  WriteU32(ObjectNumber, f);
  WriteU32(MenuFlags, f);
  WriteFixed(Reserved, sizeof Reserved, f);
}

namespace {
// Leading optional sign and digits; saturates instead of overflowing.
int ParseLeadingInt(const char* p, const char* end) {
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  long long v = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    v = v * 10 + (*p - '0');
    if (v > 0x80000000LL) v = 0x80000000LL;
  }
  if (negative) v = -v;
  if (v > 0x7FFFFFFFLL) v = 0x7FFFFFFFLL;
  return static_cast<int>(v);
}
}  // namespace

void TTSLMenuData::GetPosition(int& top, int& group) const {
  const char* s = Position.c_str();
  const char* end = s + Position.length();
  const char* comma = static_cast<const char*>(std::memchr(s, ',', Position.length()));
  top = ParseLeadingInt(s, comma ? comma : end);
  group = 0;
  if (!comma) return;
  const char* g = comma + 1;
  const char* second = static_cast<const char*>(std::memchr(g, ',', static_cast<size_t>(end - g)));
  group = ParseLeadingInt(g, second ? second : end);
}
