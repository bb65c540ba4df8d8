// Sorting and the editing aids of the tree database. Every walk keeps its
// own stack: a chain of nested categories as deep as the file allows must
// not exhaust the program's.
#include <algorithm>
#include <climits>
#include <cstring>

#include "database/core/dbnodes.h"

namespace {

// The leading decimal number of a name as the C library's text-to-long
// conversion reads it, held to the 32-bit range a Windows long has.
int32_t LeadingNumber(const char* s) {
  while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  int64_t v = 0;
  for (; *s >= '0' && *s <= '9'; ++s) {
    v = v * 10 + (*s - '0');
    if (v > static_cast<int64_t>(INT32_MAX) + 1) v = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) return static_cast<int32_t>(-v);
  return static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX));
}

struct TDBNodeSorter {
  TDBNode* Node = nullptr;
  std::string Name;
  int32_t Number = 0;
};

}  // namespace

// ---- sorting ----

void TDBNodeManager::SortChildren(TDBNode* node, bool ascending, bool text, bool locale,
                                  const TDbSortCompare& compare) {
  if (!node || !node->Children) return;
  std::vector<TDBNodeSorter> sorters;
  sorters.reserve(node->Children->size());
  for (TDBNode* child : *node->Children) {
    if (!child) continue;
    TDBNodeSorter s;
    s.Node = child;
    const char* name = GetEntryName(FindEntry(child->EntryId));
    s.Name = name ? name : "";
    if (!text) s.Number = LeadingNumber(s.Name.c_str());
    sorters.push_back(std::move(s));
  }
  const TDbCompare& cmp = locale ? compare.Collate : compare.Caseless;
  // Whether `a` must come before `b`; a stable sort by it places each child
  // behind every child with an equal key, as insertion one by one would.
  auto before = [&](const TDBNodeSorter& a, const TDBNodeSorter& b) {
    if (!text) return ascending ? a.Number < b.Number : a.Number > b.Number;
    if (!cmp) return false;
    const int r = cmp(a.Name.c_str(), b.Name.c_str());
    return ascending ? r < 0 : r > 0;
  };
  std::stable_sort(sorters.begin(), sorters.end(), before);
  node->Children->clear();
  for (const TDBNodeSorter& s : sorters) {
    s.Node->Parent = node;
    node->Children->push_back(s.Node);
  }
}

void TDBNodeManager::SortSubtree(int32_t entryId, bool ascending, bool text, bool locale, bool recursive,
                                 const TDbSortCompare& compare) {
  TDBNode* top = entryId == kNoDbId ? &root_ : FindTreeNode(FindEntry(entryId));
  if (!top) return;
  std::vector<TDBNode*> stack{top};
  while (!stack.empty()) {
    TDBNode* n = stack.back();
    stack.pop_back();
    if (!n || !n->Children) continue;
    SortChildren(n, ascending, text, locale, compare);
    if (!recursive) continue;
    for (TDBNode* c : *n->Children)
      if (c->Children) stack.push_back(c);
  }
  RenumberPositions(top);
}

// ---- moving, copying, detaching ----

bool TDBNodeManager::MoveEntry(TDBNode* node, const TDBCategoryData* entry, bool up,
                               const std::function<void()>& atEnd) {
  if (!node || !entry) return false;
  std::vector<std::pair<TDBNode*, size_t>> stack{{node, 0}};
  while (!stack.empty()) {
    TDBNode* n = stack.back().first;
    const size_t i = stack.back().second;
    if (!n->Children || i >= n->Children->size()) {
      stack.pop_back();
      continue;
    }
    auto& slots = *n->Children;
    if (!slots[i]) {
      slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    ++stack.back().second;
    TDBNode* child = slots[i];
    const TDBCategoryData* e = FindEntry(child->EntryId);
    if (e && e == entry) {
      // The ends of the list are its ends without the empty slots.
      slots.erase(std::remove(slots.begin() + static_cast<std::ptrdiff_t>(i), slots.end(), nullptr), slots.end());
      if ((up && i == 0) || (!up && i + 1 >= slots.size())) {
        if (atEnd) atEnd();
        return false;
      }
      std::swap(slots[i], slots[up ? i - 1 : i + 1]);
      return true;
    }
    if (e && child->Children) stack.push_back({child, 0});
  }
  return false;
}

void TDBNodeManager::CopySubtree(TDBNode* node, const TDBCategoryData* entry, bool copying, int32_t parentId) {
  if (!node || !entry) return;
  auto copyCategory = [&](const TDBCategory& from, int32_t parent) {
    auto c = std::make_unique<TDBCategory>();
    c->Id = static_cast<int32_t>(NextCategoryId++);
    c->ParentId = parent;
    c->Value = from.Value;
    c->Name = from.Name;
    c->SearchText = from.SearchText;
    const int32_t id = c->Id;
    AddCategory(std::move(c));
    return id;
  };
  auto copyEntry = [&](const TDBCategoryData& from, int32_t category) {
    auto e = std::make_unique<TDBCategoryData>(from);
    e->EntryId = static_cast<int32_t>(NextEntryId++);
    e->CategoryId = category;
    TDBCategoryData* p = e.get();
    AddEntry(std::move(e));
    return p;
  };

  TDBNode* from = node;
  const TDBCategoryData* target = entry;
  if (!copying) {
    if (!entry->IsCategory) return;
    // The subtree to copy: the first node of the entry in tree order.
    TDBNode* found = nullptr;
    std::vector<std::pair<TDBNode*, size_t>> stack{{node, 0}};
    while (!stack.empty() && !found) {
      TDBNode* n = stack.back().first;
      const size_t i = stack.back().second++;
      if (!n->Children || i >= n->Children->size()) {
        stack.pop_back();
        continue;
      }
      TDBNode* c = (*n->Children)[i];
      if (!c) continue;
      if (c->EntryId == entry->EntryId) found = c;
      else if (c->Children) stack.push_back({c, 0});
    }
    const TDBCategory* cat = found ? FindCategory(entry->CategoryId) : nullptr;
    if (!cat) return;
    const TDBCategoryData original = *entry;  // the tables may grow below
    target = copyEntry(original, copyCategory(*cat, parentId));
    from = found;
  }

  // Below the copied category: each child with its record, categories with
  // their subtrees, under the copy of its parent.
  struct Frame {
    TDBNode* node;
    size_t slot;
    int32_t category;  // of the copy the children go to
  };
  std::vector<Frame> stack{{from, 0, target->CategoryId}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (!f.node->Children || f.slot >= f.node->Children->size()) {
      stack.pop_back();
      continue;
    }
    TDBNode* c = (*f.node->Children)[f.slot++];
    const int32_t category = f.category;
    const TDBCategoryData* e = c ? FindEntry(c->EntryId) : nullptr;
    if (!e) continue;
    if (!e->IsCategory) {
      copyEntry(*e, category);
      continue;
    }
    const TDBCategory* cat = FindCategory(e->CategoryId);
    if (!cat) continue;
    const TDBCategoryData original = *e;
    const int32_t copy = copyCategory(*cat, category);
    copyEntry(original, copy);
    stack.push_back({c, 0, copy});
  }
}

void TDBNodeManager::DetachCategoryNode(TDBNode* node, const TDBNode* categoryNode) {
  if (!node || !categoryNode) return;
  const int32_t id = categoryNode->CategoryId;
  std::vector<TDBNode*> stack{node};
  while (!stack.empty()) {
    TDBNode* n = stack.back();
    stack.pop_back();
    if (!n->Children) continue;
    for (TDBNode*& slot : *n->Children) {
      if (!slot) continue;
      if (slot->CategoryId == id) slot = nullptr;
      else if (slot->Children) stack.push_back(slot);
    }
  }
}

// ---- the outline ----

void TDBNodeManager::DrawEntryText(const TDBNode* node, TDbOutlineCanvas& canvas, int x, int y) const {
  const TDBCategoryData* e = node ? FindEntry(node->EntryId) : nullptr;
  if (!e) return;
  const char* text = "invalid";
  if (e->IsCategory)
    if (const TDBCategory* c = FindCategory(e->CategoryId)) text = c->Name.c_str();
  canvas.DrawText(x, y, text);
}

void TDBNodeManager::DrawOutline(const TDBNode* node, TDbOutlineCanvas& canvas, int& x, int& y) const {
  if (!node) return;
  const int left = x;
  std::vector<std::pair<const TDBNode*, size_t>> stack;
  auto draw = [&](const TDBNode* n) {
    y += 20;
    x = left + 60 * static_cast<int>(stack.size());
    DrawEntryText(n, canvas, x, y);
    stack.push_back({n, 0});
  };
  draw(node);
  while (!stack.empty()) {
    const TDBNode* n = stack.back().first;
    const size_t i = stack.back().second++;
    if (!n->Children || i >= n->Children->size()) {
      stack.pop_back();
      continue;
    }
    if (const TDBNode* c = (*n->Children)[i]) draw(c);
  }
  x = left;
}
