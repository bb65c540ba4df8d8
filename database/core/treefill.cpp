#include "database/core/treefill.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/core/format/rawio.h"

const char* const kEntryNotFoundText = "not found";

void TDBIndentLevelWidths::Merge(int32_t level, int32_t width) {
  auto it = std::lower_bound(levels_.begin(), levels_.end(), level,
                             [](const TDBIndentLevelWidthInfo& i, int32_t l) { return i.Level < l; });
  if (it != levels_.end() && it->Level == level) {
    it->Width = std::max(it->Width, width);
    return;
  }
  levels_.insert(it, TDBIndentLevelWidthInfo{width, level});
}

int32_t TDBIndentLevelWidths::LevelWidth(int32_t level, int32_t extra) const {
  auto it = std::lower_bound(levels_.begin(), levels_.end(), level,
                             [](const TDBIndentLevelWidthInfo& i, int32_t l) { return i.Level < l; });
  return it != levels_.end() && it->Level == level ? it->Width + extra : extra;
}

namespace {

int32_t PictureWidth(const std::vector<uint8_t>& dib) {
  int32_t w = 0, h = 0;
  return tsl::PackedDibSize(dib, w, h) ? w : 0;
}

int32_t EntryWidth(const TDBCategoryData& e, const TDBSpecialManager* specials, int32_t categoryWidth,
                   int32_t dataWidth) {
  if (e.PictureExtrasId == kNoExtras) return e.IsCategory ? categoryWidth : dataWidth;
  const int i = specials ? specials->Find(e.PictureExtrasId) : -1;
  if (i < 0) return dataWidth;  // for category entries too
  const TDBSpecial& s = specials->At(i);
  if (s.Kind != kSpecialPictures || (s.Picture1.empty() && s.Picture2.empty())) return 0;
  return std::max(PictureWidth(s.Picture1), PictureWidth(s.Picture2));
}

// Pre-order over the tree below the root with each node's level, without
// recursion; `visit` returns false to leave a node's subtree out.
template <class F>
void WalkWithLevels(const TDBNode& from, F visit) {
  struct Frame {
    const TDBNode* node;
    size_t next;
    int32_t level;
  };
  std::vector<Frame> stack{{&from, 0, 0}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (!f.node->Children || f.next >= f.node->Children->size()) {
      stack.pop_back();
      continue;
    }
    const TDBNode* child = (*f.node->Children)[f.next++];
    const int32_t level = f.level;
    if (!child) continue;
    if (visit(*child, level) && child->Children) stack.push_back({child, 0, level + 1});
  }
}

}  // namespace

void CollectIndentLevelWidths(const TDBNodeManager& m, const TDBSpecialManager* specials,
                              TDBIndentLevelWidths& widths, int32_t categoryWidth, int32_t dataWidth) {
  widths.Clear();
  WalkWithLevels(m.Root(), [&](const TDBNode& n, int32_t level) {
    if (const TDBCategoryData* e = m.FindEntry(n.EntryId))
      widths.Merge(level, EntryWidth(*e, specials, categoryWidth, dataWidth));
    return true;
  });
}

void AddChildrenToTreeList(const TDBNodeManager& m, const TDBNode& node, TTreeListTarget& list,
                           TTreeListTarget::Line parent) {
  // The line made for each open level of the walk.
  std::vector<TTreeListTarget::Line> lines{parent};
  WalkWithLevels(node, [&](const TDBNode& n, int32_t level) {
    const TDBCategoryData* e = m.FindEntry(n.EntryId);
    if (!e) return false;  // no line, and none for its subtree
    const char* text = nullptr;
    if (e->IsCategory) {
      if (const TDBCategory* c = m.FindCategory(e->CategoryId)) text = c->Name.c_str();
    } else if (const TDBData* d = m.FindData(e->DataId)) {
      text = d->Name.c_str();
    }
    lines.resize(static_cast<size_t>(level) + 1);
    TTreeListTarget::Line line =
        list.AddChildLine(lines.back(), text ? text : kEntryNotFoundText, static_cast<uint32_t>(n.EntryId));
    lines.push_back(line);
    return true;
  });
}

void RestoreOpenCategories(const TDBNodeManager& m, TTreeListTarget& list) {
  for (int i = 0; i < list.LineCount(); ++i) {
    TTreeListTarget::Line line = list.LineAt(i);
    if (!line || !list.LineHasChildren(line) || list.LineIsOpen(line)) continue;
    const TDBCategoryData* e = m.FindEntry(static_cast<int32_t>(list.LineValue(line)));
    const TDBCategory* c = e ? m.FindCategory(e->CategoryId) : nullptr;
    if (c && c->Open) list.ExpandLine(line, i);
  }
}
