#include "engine/core/recordnav.h"

#include <unordered_set>

#include "actions/core/navcodes.h"
#include "database/core/dbstep.h"

namespace {

unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
  }
}

}  // namespace

bool SameFieldName(const char* a, const char* b) {
  if (!a || !b) return false;
  for (;; ++a, ++b) {
    if (Fold(static_cast<unsigned char>(*a)) != Fold(static_cast<unsigned char>(*b))) return false;
    if (!*a) return true;
  }
}

void SendToNamedObjects(TRecordPage& page, const TdBaseInfo& info, const string& field, const string& text) {
  if (!(info.Flags & kDbInUse)) return;
  for (int i = 0; i < page.ObjectCount(); ++i) {
    if (!page.HasObject(i)) continue;
    const string bound = page.BoundFieldName(i);
    if (bound.is_null() || !SameFieldName(bound.c_str(), field.c_str())) continue;
    string copy = text;  // the object may keep or change what it is given
    page.SetObjectText(i, copy);
  }
}

int FindObjectBoundToField(TRecordPage& page, const TdBaseInfo& info, int n) {
  if (n < 0 || n > 29 || !(info.Flags & kDbInUse)) return -1;
  const string name = info.GetFieldName(n + 3);
  for (int i = 0; i < page.ObjectCount(); ++i) {
    if (!page.HasObject(i)) continue;
    const string bound = page.BoundFieldName(i);
    if (!bound.is_null() && SameFieldName(bound.c_str(), name.c_str())) return i;
  }
  return -1;
}

void BroadcastToPageObjects(TRecordPage& page, int32_t entryId) {
  for (int i = 0; i < page.ObjectCount(); ++i)
    if (page.HasObject(i)) page.SelectEntry(i, entryId);
}

void QueueRecordActions(TRecordPage& page, const TDBSpecialManager* specials, int32_t extrasId) {
  const TDBSpecial* r = specials ? specials->FindRecord(extrasId, kSpecialActions) : nullptr;
  if (!r) return;
  std::vector<const TActionStruct*> slots;
  bool any = false;
  for (const TActionStruct& a : r->Actions) {
    const bool used = (a.Flags & kActionEnabled) != 0;
    slots.push_back(used ? &a : nullptr);
    any = any || used;
  }
  if (any) page.QueueActions(slots);
}

bool ShowRecord(TRecordPage& page, const TRecordSource& db, int32_t id) {
  if (!db.Nodes) return false;
  TDBNodeManager& m = *db.Nodes;
  int32_t resolved = id;
  if (!(db.Info.Flags & kDbCategoriesCurrent)) {
    const int32_t first = FirstDataEntryFrom(m, id);
    if (first != kNoDbId) resolved = first;
  }
  const TDBCategoryData* e = m.FindEntry(resolved);
  const TDBData* d = e ? m.FindData(e->DataId) : nullptr;
  if (!d) {
    for (const TDBFieldInfo& f : m.Fields) SendToNamedObjects(page, db.Info, f.Name, string());
    m.CurrentEntryId = m.CurrentDataEntryId = kNoDbId;
    return false;
  }
  // Value i belongs to field i: the stored field number is a table column
  // and says nothing about the place of the value.
  const int n = std::min<int>(d->Values.Count(), static_cast<int>(m.Fields.size()));
  for (int i = 0; i < n; ++i)
    SendToNamedObjects(page, db.Info, m.Fields[static_cast<size_t>(i)].Name,
                       d->Values.ItemAt(i).strip(string::Both));
  const int32_t current = page.ShowsDatabaseTree() ? id : resolved;
  m.CurrentEntryId = m.CurrentDataEntryId = current;
  BroadcastToPageObjects(page, current);
  QueueRecordActions(page, db.Specials, e->ActionExtrasId);
  return true;
}

int32_t NavigationTarget(const TRecordSource& db, uint32_t flags, uint32_t ownerId, int32_t step) {
  if (!db.Bound()) return kNoDbId;
  const TDBNodeManager& m = *db.Nodes;
  if (flags & kDbNavGoto) return static_cast<int32_t>(ownerId);
  if (flags & kDbNavStep) {
    const bool wrap = (flags & kDbNavWrap) != 0, deep = (flags & kDbNavDeep) != 0;
    int32_t id = m.StepEntry(m.CurrentEntryId, step, wrap, deep);
    if (!deep || (db.Info.Flags & kDbCategoriesCurrent)) return id;
    // Going to a category shows its first data entry: a step back from a
    // category's first entry would land there again. Categories are passed
    // over, each at most once, so a tree of categories alone ends the walk.
    std::unordered_set<int32_t> seen;
    while (id != kNoDbId) {
      const TDBCategoryData* e = m.FindEntry(id);
      if (!e || !e->IsCategory) return id;
      if (!seen.insert(id).second) return kNoDbId;
      id = m.StepEntry(id, step < 0 ? -1 : 1, wrap, deep);
    }
    return kNoDbId;
  }
  if (flags & kNavigateByThird) {
    const TDBCategoryData* e = m.FindEntry(m.CurrentEntryId);
    const TDBNode* node = m.FindEntryNode(e);
    if (!node) return kNoDbId;
    const TDBNode* siblings = nullptr;
    if (node->CategoryId == kNoDbId) {
      siblings = &m.Root();
    } else if (!e->IsCategory) {
      siblings = m.FindCategoryNode(e->CategoryId);
    } else {
      const TDBCategory* c = m.FindCategory(e->CategoryId);
      if (!c) return kNoDbId;
      siblings = c->ParentId == kNoDbId ? &m.Root() : m.FindCategoryNode(c->ParentId);
    }
    if (!siblings || ownerId >= static_cast<uint32_t>(siblings->SlotCount())) return kNoDbId;
    const TDBNode* to = m.NextChildFrom(siblings, 0, static_cast<int>(ownerId));
    return to ? to->EntryId : kNoDbId;
  }
  return kNoDbId;
}
