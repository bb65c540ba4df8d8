// Which database fields a search tests and where a found text is shown:
// the field set of one searched page with the page object (current page) or
// stored object description (all pages) bound to each field, and the field
// transform that hands every tested text to that target first. Shared by
// the search dialogs and the fast search field.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <deque>
#include <vector>

#include "database/core/dbnodes.h"
#include "database/core/searchrun.h"
#include "engine/core/format/objectrecords.h"

class TActionStruct;
class TObjectElement;
class TObjectManager;

// The receiver of a searched field's texts: an object of the page, or in an
// all-pages search a stored description.
struct TSearchTarget {
  TObjectElement* Object = nullptr;
  const TObjectInfo* Info = nullptr;
};

// The object descriptions an all-pages search reads, page after page; a
// deque, so that targets keep pointing at them while it grows.
using TSearchObjectInfos = std::deque<TObjectInfo>;

struct TSearchFieldTargets {
  TSearchFieldSet Fields;               // field indexes and label field
  std::vector<TSearchTarget> Targets;   // parallel to Fields.Indexes
  std::vector<int32_t> TargetArgs;      // 0, 1, ...: what the transform is given per field
  bool AllPages = false;
  TObjectManager* Manager = nullptr;
};

// The action's listed field names that the database has, in list order,
// each with its target when `withTargets`; the label field (action flag
// 0x40000, named by Text1) only when some name is listed.
void RunDatabaseSearch(TSearchFieldTargets& out, const TActionStruct& action, const TDBNodeManager& db,
                       const TSearchObjectInfos& infos, TObjectManager* manager, bool allPages, bool withTargets);
// Hands a tested text to its target, which may replace it (a document kind
// gives its file's text for the file name); nothing for no target or an
// empty text. A target that fails is passed over.
void ShowHitInObject(bool allPages, string& text, const TSearchTarget& target);
// Empties the set; kept for the callers that reuse one.
void FreeSearchBuffers(TSearchFieldTargets& set);
// The transform SearchDBTree calls for the fields of `set`.
TDBNodeManager::TransformFn SearchFieldTransform(const TSearchFieldTargets& set);
