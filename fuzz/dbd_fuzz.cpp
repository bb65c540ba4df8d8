// The .dbd reader and the tree build: any file loads, walks, saves and
// reloads to the same tree without reading out of bounds, allocating by a
// stored count or position, or recursing by the tree's depth.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "database/core/dbnodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::MemoryStream in(data, size);
  TDBNodeManager m;
  m.Load(in);
  std::vector<TDBCategoryData*> order;
  m.CollectEntries(order);
  for (TDBCategoryData* e : order) m.FindTreeNode(e);
  tsl::MemoryStream saved;
  m.Save(saved);
  saved.Seek(0);
  TDBNodeManager again;
  again.Load(saved);
  std::vector<TDBCategoryData*> order2;
  again.CollectEntries(order2);
  if (order2.size() != order.size()) std::abort();
  m.RenumberPositions(&m.Root());
  m.RebuildTree();
  return 0;
}
