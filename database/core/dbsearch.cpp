#include "database/core/dbsearch.h"

void SearchDBTree(TDBNodeManager& m, int32_t slot, const TDBNode* start, const char* searchText,
                  uint8_t testNames, uint8_t optA, uint8_t optB, int16_t fieldCount,
                  const int32_t* fieldIndexes, const int32_t* fieldKinds,
                  std::vector<int32_t>& results, const TDBNodeManager::MatchFn& match,
                  const TDBNodeManager::TransformFn& hook, uint8_t hookFlag,
                  std::vector<string>* collect) {
  const uint8_t mask = SearchSlotMask(slot);
  void* context = const_cast<char*>(searchText);
  std::vector<const TDBNode*> stack;
  if (start) stack.push_back(start);
  while (!stack.empty()) {
    const TDBNode* node = stack.back();
    stack.pop_back();
    TDBCategoryData* entry = node == &m.Root() ? nullptr : m.FindEntry(node->EntryId);
    if (entry && (collect || (entry->HitBits & mask) == 0)) {
      if (m.MatchEntry(entry, context, testNames, optA, optB, fieldCount, fieldIndexes,
                       fieldKinds, results, match, hook, hookFlag, collect) &&
          !collect) {
        results.push_back(entry->EntryId);
        entry->HitBits |= mask;
      }
    }
    // Reversed, so the first slot is visited next.
    for (int i = node->SlotCount() - 1; i >= 0; --i)
      if (const TDBNode* child = (*node->Children)[i]) stack.push_back(child);
  }
}
