#include "engine/objectfactory.h"

#include "resources/ids_engine.h"

namespace {

const TObjectKindRow kKindRows[kObjectKinds] = {
#define TSL_KIND_ROW(kind, name, string, object, data, text, traits, start, reset) \
  {TObjectKind::kind, string, object, data, start, reset},
    TSL_OBJECT_KINDS(TSL_KIND_ROW)
#undef TSL_KIND_ROW
};

}  // namespace

const TObjectKindRow* FindKindRow(int kind) { return IsValidObjectKind(kind) ? &kKindRows[kind] : nullptr; }

TObjectElement* CreateKindObject(int kind, TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  const TObjectKindRow* row = FindKindRow(kind);
  return row ? row->CreateObject(owner, info, data) : nullptr;
}

TData* CreateKindRecord(int kind) {
  const TObjectKindRow* row = FindKindRow(kind);
  return row ? row->CreateData() : nullptr;
}

void RunPageStartHooks(TObjectManager* page) {
  for (const TObjectKindRow& row : kKindRows)
    if (row.PageStart) row.PageStart(page);
}

TKindDefaults& KindDefaults() {
  static TKindDefaults defaults;
  return defaults;
}
