#include "database/core/dbsearch.h"

void SearchDBTree(TDBNodeManager& m, int32_t slot, const TDBNode* start, const char* searchText,
                  uint8_t testNames, uint8_t optA, uint8_t optB, int16_t fieldCount,
                  const int32_t* fieldIndexes, const int32_t* fieldKinds,
                  std::vector<int32_t>& results, const TDBNodeManager::MatchFn& match,
                  const TDBNodeManager::TransformFn& hook, uint8_t hookFlag,
                  std::vector<string>* collect) {
  const uint8_t mask = SearchSlotMask(slot);
  void* context = const_cast<char*>(searchText);
  // The order of the visits first, then the tests: with the order known the
  // records each test reads are asked for a few entries ahead, and the walk
  // no longer waits for memory entry by entry.
  struct Visit {
    TDBCategoryData* entry;  // the node's shortcut, checked before use
    int32_t entryId;
  };
  std::vector<Visit> order;
  order.reserve(static_cast<size_t>(m.EntryCount()) + 1);
  constexpr size_t kAheadNode = 8;
  std::vector<const TDBNode*> stack;
  if (start) stack.push_back(start);
  while (!stack.empty()) {
    if (stack.size() > kAheadNode) __builtin_prefetch(stack[stack.size() - 1 - kAheadNode]);
    const TDBNode* node = stack.back();
    stack.pop_back();
    if (node != &m.Root()) order.push_back({node->Entry, node->EntryId});
    // Reversed, so the first slot is visited next.
    for (int i = node->SlotCount() - 1; i >= 0; --i)
      if (const TDBNode* child = (*node->Children)[i]) stack.push_back(child);
  }
  constexpr size_t kAheadEntry = 16, kAheadData = 12, kAheadStrings = 8, kAheadChars = 4;
  const size_t n = order.size();
  for (size_t i = 0; i < n; ++i) {
    if (i + kAheadEntry < n) __builtin_prefetch(order[i + kAheadEntry].entry);
    if (i + kAheadData < n) m.PrefetchEntryFields(order[i + kAheadData].entry, 0, fieldCount, fieldIndexes);
    if (i + kAheadStrings < n)
      m.PrefetchEntryFields(order[i + kAheadStrings].entry, 1, fieldCount, fieldIndexes);
    if (i + kAheadChars < n) m.PrefetchEntryFields(order[i + kAheadChars].entry, 2, fieldCount, fieldIndexes);
    const Visit& v = order[i];
    TDBCategoryData* entry = v.entry && v.entry->EntryId == v.entryId ? v.entry : m.FindEntry(v.entryId);
    if (entry && (collect || (entry->HitBits & mask) == 0)) {
      if (m.MatchEntry(entry, context, testNames, optA, optB, fieldCount, fieldIndexes,
                       fieldKinds, results, match, hook, hookFlag, collect) &&
          !collect) {
        results.push_back(entry->EntryId);
        entry->HitBits |= mask;
      }
    }
  }
}
