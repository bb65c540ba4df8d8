#include "database/core/dbstep.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace {

TDBNode* Slot(const TDBNode* n, int i) { return (*n->Children)[static_cast<size_t>(i)]; }

}  // namespace

int TDBNodeManager::SlotOf(const TDBNode* parent, const TDBNode* node) const {
  if (!parent || !node || !parent->Children) return -1;
  const int count = parent->SlotCount();
  const int hint = node->SlotHint;
  if (hint >= 0 && hint < count && Slot(parent, hint) == node) return hint;
  // One scan brings every child's hint up to date, so a walk over the
  // slots after an edit pays for it once, not per step.
  int found = -1;
  for (int i = 0; i < count; ++i) {
    TDBNode* c = Slot(parent, i);
    if (!c) continue;
    if (c->Parent == parent || c == node) c->SlotHint = i;
    if (c == node && found < 0) found = i;
  }
  return found;
}

TDBNode* TDBNodeManager::FindChildOf(const TDBNode* parent, int32_t entryId, int* slot) const {
  if (!parent || !parent->Children) return nullptr;
  auto it = entryNodes_.find(entryId);
  if (it != entryNodes_.end() && it->second && it->second->Parent == parent) {
    // The one node of that id: where it stands is the answer of the scan.
    const int i = SlotOf(parent, it->second);
    if (i >= 0) {
      if (slot) *slot = i;
      return it->second;
    }
  }
  return parent->FindChild(entryId, slot);
}

TDBNode* TDBNodeManager::NextChildFrom(const TDBNode* node, int start, int step, int* at) const {
  if (!node || !node->Children) return nullptr;
  const int64_t count = node->SlotCount();
  for (int64_t i = std::max<int64_t>(0, int64_t(start) + std::llabs(step)); i < count; ++i)
    if (TDBNode* c = Slot(node, static_cast<int>(i))) {
      if (at) *at = static_cast<int>(i);
      return c;
    }
  return nullptr;
}

TDBNode* TDBNodeManager::PrevChildFrom(const TDBNode* node, int start, int step, int* at) const {
  if (!node || !node->Children) return nullptr;
  const int64_t count = node->SlotCount();
  for (int64_t i = std::min<int64_t>(count - 1, int64_t(start) - std::llabs(step)); i >= 0; --i)
    if (TDBNode* c = Slot(node, static_cast<int>(i))) {
      if (at) *at = static_cast<int>(i);
      return c;
    }
  return nullptr;
}

// The tree the user sees is the one the build made: a node's parent is the
// node that holds it. Parent ids in the records may disagree (a cycle the
// build broke up, a data entry whose category has no entry of its own).
TDBNode* TDBNodeManager::GetParentNode(const TDBNode* node) const {
  if (!node || node == &root_) return nullptr;
  return node->Parent;
}

TDBNode* TDBNodeManager::FindEntryNode(const TDBCategoryData* entry) const {
  if (!entry) return nullptr;
  if (TDBNode* n = FindTreeNode(entry)) return n;
  if (entry->IsCategory) return nullptr;
  // A data entry outside any category node stands among the top-level slots.
  return FindChildOf(&root_, entry->EntryId);
}

int TDBNodeManager::GetEntryPath(int32_t entryId, std::vector<TDBNode*>& path) const {
  path.clear();
  TDBNode* node = FindEntryNode(FindEntry(entryId));
  if (!node) return 0;
  std::unordered_set<const TDBNode*> seen;
  for (TDBNode* n = node; n && n != &root_ && seen.insert(n).second; n = GetParentNode(n))
    path.push_back(n);
  std::reverse(path.begin(), path.end());
  return static_cast<int>(path.size());
}

namespace {

// The first non-empty child that has children of its own, else the first
// non-empty child.
TDBNode* DescendStep(const TDBNode* node) {
  if (!node || !node->Children) return nullptr;
  TDBNode* first = nullptr;
  for (TDBNode* c : *node->Children) {
    if (!c) continue;
    if (!first) first = c;
    if (c->Children)
      for (TDBNode* g : *c->Children)
        if (g) return c;
  }
  return first;
}

}  // namespace

TDBNode* TDBNodeManager::GetAncestor(int32_t entryId, int depth) const {
  if (depth == 0) return const_cast<TDBNode*>(&root_);
  if (depth < 0) return nullptr;
  std::vector<TDBNode*> path;
  const int count = GetEntryPath(entryId, path);
  if (count == 0) return nullptr;
  if (count >= depth) return path[static_cast<size_t>(depth - 1)];
  TDBNode* last = nullptr;
  std::unordered_set<const TDBNode*> seen;
  for (TDBNode* n = DescendStep(path.back()); n && seen.insert(n).second; n = DescendStep(n)) last = n;
  if (!last) return nullptr;
  if (GetEntryPath(last->EntryId, path) < depth) return nullptr;
  return path[static_cast<size_t>(depth - 1)];
}

TDBNode* TDBNodeManager::LastDescendant(const TDBNode* node) const {
  const TDBNode* n = node;
  // The last non-empty slot: an empty last slot would hide the subtree
  // before it from a backward walk.
  while (n && n->Children) {
    TDBNode* last = PrevChildFrom(n, n->SlotCount() - 1, 0);
    if (!last) break;
    n = last;
  }
  return const_cast<TDBNode*>(n);
}

TDBNode* TDBNodeManager::StepForward(const TDBNode* node, bool wrap, bool deep) const {
  TDBNode* p = GetParentNode(node);
  if (!p) return nullptr;
  if (!deep) {
    const int slot = SlotOf(p, node);
    if (slot < 0) return nullptr;
    if (TDBNode* next = NextChildFrom(p, slot, 1)) return next;
    return wrap ? NextChildFrom(p, 0, 0) : nullptr;
  }
  // Pre-order: into the category first (its first filled slot, empty slots
  // being skipped like everywhere else), then on past the closing levels.
  const TDBCategoryData* e = FindEntry(node->EntryId);
  if (e && e->IsCategory)
    if (TDBNode* first = NextChildFrom(node, 0, 0)) return first;
  const TDBNode* current = node;
  while (p) {
    const int slot = SlotOf(p, current);
    if (slot < 0) break;
    if (TDBNode* next = NextChildFrom(p, slot, 1)) return next;
    current = p;
    p = GetParentNode(p);
  }
  return wrap ? NextChildFrom(&root_, 0, 0) : nullptr;
}

TDBNode* TDBNodeManager::StepBackward(const TDBNode* node, bool wrap, bool deep) const {
  TDBNode* p = GetParentNode(node);
  if (!p) return nullptr;
  const int slot = SlotOf(p, node);
  if (!deep) {
    if (slot < 0) return nullptr;
    if (TDBNode* prev = PrevChildFrom(p, slot, 1)) return prev;
    return wrap ? PrevChildFrom(p, p->SlotCount() - 1, 0) : nullptr;
  }
  if (slot >= 0) {
    if (TDBNode* prev = PrevChildFrom(p, slot, 1)) return LastDescendant(prev);
    // A first child's predecessor is its category; the top level has none.
    if (p != &root_) return p;
  }
  if (!wrap) return nullptr;
  TDBNode* last = LastDescendant(&root_);
  return last == &root_ ? nullptr : last;
}

int32_t TDBNodeManager::StepEntry(int32_t entryId, int32_t step, bool wrap, bool deep) const {
  const TDBCategoryData* e = FindEntry(entryId);
  if (!e) return kNoDbId;
  TDBNode* node = FindEntryNode(e);
  if (!node) return kNoDbId;
  if (step == 0) return entryId;
  if (!deep && !e->IsCategory && node->Parent == &root_) {
    // A top-level data entry jumps |step| slots at once.
    const int slot = SlotOf(&root_, node);
    if (slot < 0) return kNoDbId;
    TDBNode* to = step < 0 ? PrevChildFrom(&root_, slot, step) : NextChildFrom(&root_, slot, step);
    if (!to && wrap)
      to = step < 0 ? PrevChildFrom(&root_, root_.SlotCount() - 1, 0) : NextChildFrom(&root_, 0, 0);
    return to ? to->EntryId : kNoDbId;
  }
  int64_t left = std::llabs(int64_t(step));
  // With wrap a walk never ends; a step count from a file may be in the
  // billions, so a walk that comes round again goes on from its period.
  std::unordered_map<const TDBNode*, int64_t> seen;
  const bool watch = wrap && left > 64;
  const TDBNode* at = node;
  while (left > 0) {
    if (watch) {
      auto r = seen.emplace(at, left);
      if (!r.second) {
        left %= r.first->second - left;
        seen.clear();
        if (left == 0) break;
      }
    }
    at = step < 0 ? StepBackward(at, wrap, deep) : StepForward(at, wrap, deep);
    if (!at) return kNoDbId;
    --left;
  }
  return at->EntryId;
}

void TDBNodeManager::SubtreeContains(const TDBNode* node, int32_t entryId, bool& found) const {
  if (!node || found) return;
  std::vector<const TDBNode*> stack{node};
  std::unordered_set<const TDBNode*> seen;
  while (!stack.empty()) {
    const TDBNode* n = stack.back();
    stack.pop_back();
    if (!seen.insert(n).second) continue;
    if (n->EntryId == entryId) {
      found = true;
      return;
    }
    if (n->Children)
      for (const TDBNode* c : *n->Children)
        if (c) stack.push_back(c);
  }
}

int32_t FirstDataEntryFrom(const TDBNodeManager& m, int32_t entryId) {
  const TDBCategoryData* e = m.FindEntry(entryId);
  if (!e || !m.FindEntryNode(e)) return kNoDbId;
  // Each entry at most once: the walk cannot come round without wrap, but
  // a step count bound keeps a damaged tree from holding it.
  for (int guard = m.EntryCount() + 1; e && e->IsCategory && guard > 0; --guard) {
    entryId = m.StepEntry(entryId, 1, false, true);
    if (entryId == kNoDbId) return kNoDbId;
    e = m.FindEntry(entryId);
  }
  return e && !e->IsCategory ? entryId : kNoDbId;
}
