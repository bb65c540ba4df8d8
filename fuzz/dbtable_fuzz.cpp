// The table-format pair: one input split into record store and catalogue
// (a u32 little-endian store length first). Any pair converts into a tree
// database that walks and saves, without reading outside a row, growing the
// read cache beyond the file, or allocating by a stored length; the
// catalogue kept for rows in memory hands out exactly the rows it holds.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "database/core/dbtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint32_t split = static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t(data[3]) << 24);
  const size_t storeSize = std::min<size_t>(split, size - 4);
  // Kept: the 65929-bucket tables are costly to make per input.
  static TDBNodeManager m;
  static const TdBaseInfo info = [] {
    TdBaseInfo i;
    i.Flags = kDbInUse | kDbRowsInMemory;
    return i;
  }();
  tsl::MemoryStream store(data + 4, storeSize), catalogue(data + 4 + storeSize, size - 4 - storeSize);
  // The catalogue kept with its rows: every kept row is one the entry
  // owns, and LoadEntryRecord hands it out.
  std::unique_ptr<TKeyEntryArrayManager> kept;
  ConvertTable(m, &store, &catalogue, info, &kept);
  if (!kept) std::abort();
  for (int32_t i = 0; i < kept->CategoryCount(); ++i)
    for (int32_t j = 0; j < kept->Category(i)->ChildCount(); ++j) {
      MTREE<TKeyEntry>& tree = kept->Category(i)->Child(j)->Tree();
      TKeyEntry e;
      for (int32_t k = 0; k < static_cast<int32_t>(tree.Count()); ++k) {
        TEntryRow row;
        if (tree.GetAt(k, e) && LoadEntryRecord(info, false, e, row) != (e.Row != nullptr)) std::abort();
      }
    }
  // The cache never outgrows the largest store it was given a row of.
  static size_t largest = kReadCacheInitial;
  largest = std::max(largest, storeSize);
  if (TReadCache::Instance().Capacity() > largest) std::abort();
  std::vector<TDBCategoryData*> order;
  m.CollectEntries(order);
  if (order.size() != static_cast<size_t>(m.EntryCount())) std::abort();
  for (TDBCategoryData* e : order) m.FindTreeNode(e);
  tsl::MemoryStream saved;
  m.Save(saved);
  return 0;
}
