// The object factory: one object creator and one data creator per object
// kind 0-21, indexed by the kind. The display names of the kinds are
// ObjectKindName (engine/core/format/objectrecords.h).
#pragma once
#include <memory>

#include "engine/core/format/objectrecords.h"
#include "engine/objectkinds.h"

constexpr int kObjectKinds = 22;

extern const TObjectCreator ObjectCreatorTable[kObjectKinds];
extern const TDataCreatorFunc DataCreatorTable[kObjectKinds];
// Null for a kind that keeps nothing from page to page.
extern const TDisplayReset DisplayResetTable[kObjectKinds];

// 0 <= kind < 22; the page (32767) and none (-1) are no kinds to create.
inline bool IsValidObjectKind(int kind) { return kind >= 0 && kind < kObjectKinds; }

// The per-kind defaults of new objects (a description and a data record for
// every kind), which only the editing mode fills; the holder frees what it
// holds when the program ends. The player leaves them empty.
struct TKindDefaults {
  std::unique_ptr<TObjectInfo> Infos[kObjectKinds];
  std::unique_ptr<TData> Data[kObjectKinds];
};
TKindDefaults& KindDefaults();
