// One search over a subtree of the tree database, remembering per entry and
// per search slot which entries were already found. Portable.
#pragma once
#include <cstdint>
#include <vector>

#include "database/core/dbnodes.h"

// The hit-bit mask of a search slot: slots 0 to 7 own a bit, any other slot
// none (such a search never skips and never marks).
inline uint8_t SearchSlotMask(int32_t slot) {
  return static_cast<uint8_t>(1u << (static_cast<uint32_t>(slot) & 31u));
}

// Visits `start` and every node below it in pre-order (children in slot
// order), testing each entry whose slot bit is clear through MatchEntry;
// hits are appended to `results` and get the slot bit. With `collect` the
// texts are gathered instead (bits neither read nor set). The walk keeps its
// own stack, so the depth of the tree does not matter.
void SearchDBTree(TDBNodeManager& m, int32_t slot, const TDBNode* start, const char* searchText,
                  uint8_t testNames, uint8_t optA, uint8_t optB, int16_t fieldCount,
                  const int32_t* fieldIndexes, const int32_t* fieldKinds,
                  std::vector<int32_t>& results, const TDBNodeManager::MatchFn& match,
                  const TDBNodeManager::TransformFn& hook, uint8_t hookFlag,
                  std::vector<string>* collect);
