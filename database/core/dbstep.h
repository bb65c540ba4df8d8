// Moving through the category tree of a tree database: the operations that
// need no more than the manager (the stepping members are declared with
// TDBNodeManager). Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "database/core/dbnodes.h"

// The first data entry at or after the entry in tree order: a data entry
// gives its own id (a top-level one too), a category its first data entry
// below or after it; -1 when none follows.
int32_t FirstDataEntryFrom(const TDBNodeManager& m, int32_t entryId);

inline int32_t GetFirstTopLevelId(const TDBNodeManager& m) { return m.GetFirstTopLevelId(); }
