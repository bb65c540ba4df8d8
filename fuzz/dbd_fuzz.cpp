// The .dbd reader and the tree build: any file loads, walks, saves and
// reloads to the same records without reading out of bounds, allocating by a
// stored count or position, or recursing by the tree's depth.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "database/core/dbnodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The managers are kept: each load empties its manager first, and their
  // 65929-bucket tables are costly to make per input.
  static TDBNodeManager m, again;
  tsl::MemoryStream in(data, size);
  m.Load(in);
  std::vector<TDBCategoryData*> order;
  m.CollectEntries(order);
  for (TDBCategoryData* e : order) m.FindTreeNode(e);
  tsl::MemoryStream saved;
  m.Save(saved);
  saved.Seek(0);
  again.Load(saved);
  // The records come back as saved (the tree itself may differ: which of
  // two nodes with the same category id is found first depends on order).
  tsl::MemoryStream resaved;
  again.Save(resaved);
  if (resaved.Data() != saved.Data()) std::abort();
  m.RenumberPositions(&m.Root());
  m.RebuildTree();
  return 0;
}
