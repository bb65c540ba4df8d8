// The object factory: one object creator and one data creator per object
// kind 0-21, indexed by the kind. The display names of the kinds are
// ObjectKindName (engine/core/format/objectrecords.h).
#pragma once
#include "engine/objectkinds.h"

constexpr int kObjectKinds = 22;

extern const TObjectCreator ObjectCreatorTable[kObjectKinds];
extern const TDataCreatorFunc DataCreatorTable[kObjectKinds];

// 0 <= kind < 22; the page (32767) and none (-1) are no kinds to create.
inline bool IsValidObjectKind(int kind) { return kind >= 0 && kind < kObjectKinds; }
