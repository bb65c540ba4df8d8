#include "objects/core/listfill.h"

#include <cstdlib>

#include "database/core/dbnodes.h"

TListMode ListModeOf(uint32_t flags) {
  if (flags & kListFromEntry) return TListMode::FromEntry;
  if (flags & kListCategory) return TListMode::Category;
  if (flags & (kListPages | kListPagesShown)) return TListMode::Pages;
  return TListMode::None;
}

void ContainsEntry(const TDBNodeManager& database, const TDBNode* node, int32_t entryId, bool& found) {
  database.SubtreeContains(node, entryId, found);
}

namespace {

const char* EntryName(const TDBNodeManager& db, int32_t id) {
  const TDBCategoryData* e = db.FindEntry(id);
  return e ? db.GetEntryName(e) : nullptr;
}

bool ItemHolds(const TDBNodeManager& db, const TListItem& item, int32_t entryId) {
  if (item.Value == entryId) return true;
  const TDBCategoryData* e = db.FindEntry(item.Value);
  bool found = false;
  if (e) ContainsEntry(db, db.FindTreeNode(e), entryId, found);
  return found;
}

void FillFromEntry(const TDBNodeManager& db, int32_t id, std::vector<TListItem>& items) {
  // Without wrap the walk ends; the bound keeps a damaged tree from
  // holding it.
  for (int guard = db.EntryCount() + 1; id != kNoDbId && guard > 0; --guard) {
    const char* name = EntryName(db, id);
    if (!name) return;
    items.push_back({name, id});
    id = db.StepEntry(id, 1, false, false);
  }
}

void FillCategory(const TDBNodeManager& db, int32_t depth, TListFill& fill) {
  const int32_t current = db.CurrentEntryId;
  const TDBNode* node = db.GetAncestor(current, depth);
  if (!node) return;
  // Each child once: the walk goes on after the slot it found, so empty
  // slots do not bring a child twice.
  int at = 0;
  for (int start = 0; const TDBNode* child = db.NextChildFrom(node, start, 0, &at); start = at + 1) {
    if (const char* name = EntryName(db, child->EntryId)) fill.Items.push_back({name, child->EntryId});
  }
  for (size_t i = 0; i < fill.Items.size(); ++i) {
    if (ItemHolds(db, fill.Items[i], current)) {
      fill.Select = static_cast<int32_t>(i);
      break;
    }
  }
}

}  // namespace

TListFill FillListItems(const TListRecordCore& record, TListProject& project) {
  TListFill fill;
  const TListMode mode = ListModeOf(record.Flags);
  if (IsDatabaseMode(mode)) {
    const TDBNodeManager* db = project.Database();
    if (!db) return fill;
    if (mode == TListMode::FromEntry) FillFromEntry(*db, static_cast<int32_t>(record.StartValue), fill.Items);
    else FillCategory(*db, static_cast<int32_t>(record.StartValue), fill);
  } else if (mode == TListMode::Pages) {
    const bool second = record.Has(kListSecondNames);
    for (int32_t number : record.Pages) {
      TListItem item;
      const int32_t index = project.FindPageIndex(static_cast<uint32_t>(number));
      std::string first, other;
      if (index >= 0 && project.PageNames(index, first, other)) item.Text = second ? other : first;
      fill.Items.push_back(std::move(item));
    }
  }
  return fill;
}

void ChooseListItem(const TListRecordCore& record, const std::vector<TListItem>& items, int32_t index,
                    TListProject& project, int32_t& lastChosen) {
  if (index < 0) return;
  const TListMode mode = ListModeOf(record.Flags);
  if (IsDatabaseMode(mode)) {
    if (index < static_cast<int32_t>(items.size())) project.GotoDBRecord(items[static_cast<size_t>(index)].Value);
    return;
  }
  if (!record.Has(kListPages)) return;
  lastChosen = index;
  if (index >= static_cast<int32_t>(record.Pages.size())) return;
  const int32_t page = project.FindPageIndex(static_cast<uint32_t>(record.Pages[static_cast<size_t>(index)]));
  if (page >= 0 && page != project.CurrentPageIndex()) project.PostPageChange(page);
}

int32_t FollowListRecord(const TListRecordCore& record, const std::vector<TListItem>& items, int32_t current,
                         int32_t entryId, TListProject& project, bool& refill) {
  refill = false;
  const TListMode mode = ListModeOf(record.Flags);
  if (!IsDatabaseMode(mode)) return -1;
  if (current >= 0 && current < static_cast<int32_t>(items.size()) &&
      items[static_cast<size_t>(current)].Value == entryId)
    return -1;
  const TDBNodeManager* db = project.Database();
  for (size_t i = 0; i < items.size(); ++i) {
    const bool holds = mode == TListMode::Category && db ? ItemHolds(*db, items[i], entryId)
                                                         : items[i].Value == entryId;
    if (holds) return static_cast<int32_t>(i);
  }
  refill = mode == TListMode::Category;
  return -1;
}

// ---------------------------------------------------------------- the transparent list's rows

const char* TListWindowDataTrans::CellText(int16_t, int32_t row) {
  return IsValidRow(row) ? texts_[row].c_str() : nullptr;
}

void TListWindowDataTrans::Clear() {
  texts_.Flush();
  values_.Flush();
}

void TListWindowDataTrans::Add(const TListItem& item) {
  texts_.Add(string(item.Text.c_str()));
  values_.Add(string(std::to_string(item.Value).c_str()));
}

int32_t TListWindowDataTrans::Value(int32_t row) const {
  if (row < 0 || row >= values_.Count()) return -1;
  return static_cast<int32_t>(std::atol(values_.ItemAt(row).c_str()));
}

std::vector<TListItem> TListWindowDataTrans::Items() const {
  std::vector<TListItem> items;
  for (int i = 0; i < texts_.Count(); ++i) items.push_back({texts_.ItemAt(i).c_str(), Value(i)});
  return items;
}
