#include "database/core/dbdump.h"

#include <vector>

std::string DumpTreeDatabase(const TDBNodeManager& m) {
  std::string out;
  for (const TDBFieldInfo& f : m.Fields) out += "field " + f.Name.str() + "\n";
  std::vector<std::pair<const TDBNode*, size_t>> stack{{&m.Root(), 0}};
  while (!stack.empty()) {
    const TDBNode* node = stack.back().first;
    const size_t i = stack.back().second;
    if (!node->Children || i >= node->Children->size()) {
      stack.pop_back();
      continue;
    }
    ++stack.back().second;
    const TDBNode* child = (*node->Children)[i];
    if (!child) continue;
    const TDBCategoryData* e = m.FindEntry(child->EntryId);
    const char* name = m.GetEntryName(e);
    out += std::string(2 * (stack.size() - 1), ' ') + (name ? name : "?") + " #" + std::to_string(child->EntryId);
    if (e && !e->IsCategory)
      if (const TDBData* d = m.FindData(e->DataId))
        for (int v = 0; v < d->Values.Count(); ++v) out += " | " + d->Values.ItemAt(v).str();
    out += "\n";
    if (child->Children) stack.push_back({child, 0});
  }
  return out;
}
