#include "engine/core/format/objectkinds.h"

#include <ostream>

namespace {

struct TKindFacts {
  const char* Name;
  const char* Id;  // the enumerator, for traces
  TKindText Text;
  uint32_t Traits;
};

const TKindFacts kKindFacts[kObjectKinds] = {
#define TSL_KIND_FACTS(kind, name, string, object, data, text, traits, start, reset) \
  {name, #kind, TKindText::text, static_cast<uint32_t>(traits)},
    TSL_OBJECT_KINDS(TSL_KIND_FACTS)
#undef TSL_KIND_FACTS
};

}  // namespace

const char* ObjectKindName(int kind) { return IsValidObjectKind(kind) ? kKindFacts[kind].Name : "???"; }

bool ObjectKindHas(int kind, TKindTrait trait) {
  return IsValidObjectKind(kind) && (kKindFacts[kind].Traits & trait) != 0;
}

TKindText ObjectKindText(int kind) { return IsValidObjectKind(kind) ? kKindFacts[kind].Text : TKindText::NoText; }

std::string PrintableObjectKind(int kind) {
  std::string out = std::to_string(kind);
  if (IsValidObjectKind(kind)) return out + " " + kKindFacts[kind].Id;
  if (kind == kKindPage) return out + " (page)";
  if (kind == kKindNone) return out + " (none)";
  return out + " (no kind)";
}

std::ostream& operator<<(std::ostream& out, TObjectKind kind) {
  return out << PrintableObjectKind(static_cast<int>(kind));
}
