#include "objects/core/fastsearch.h"

#include <algorithm>
#include <cstring>

#include "database/core/dbsearch.h"
#include "database/core/searchrun.h"
#include "engine/core/format/dbaseinfo.h"

namespace {

// Slot 255 owns no hit bit: collecting neither reads nor marks any entry.
constexpr int32_t kCollectSlot = 255;
// Collect mode tests nothing, but the walk wants a search text.
constexpr const char* kCollectText = "testlauf";

bool IsTrimmed(char c) { return c == ' ' || c == '\r' || c == '\n'; }

}  // namespace

std::string FoldSearchText(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string FastSearchKey(const std::string& windowText) {
  size_t first = 0, last = windowText.size();
  while (first < last && IsTrimmed(windowText[first])) ++first;
  while (last > first && IsTrimmed(windowText[last - 1])) --last;
  return FoldSearchText(windowText.substr(first, last - first));
}

void TFastSearchIndex::Build(const std::vector<string>& texts, const std::vector<int32_t>& ids) {
  entries_.clear();
  const size_t n = std::min(texts.size(), ids.size());
  entries_.reserve(n);
  for (size_t i = 0; i < n; ++i) entries_.push_back({ids[i], FoldSearchText(texts[i].str())});
  // std::string compares its bytes as unsigned values.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const TSearchTripelAndString& a, const TSearchTripelAndString& b) { return a.Text < b.Text; });
}

int64_t TFastSearchIndex::Find(const std::string& key) const {
  int64_t low = 0, high = static_cast<int64_t>(entries_.size()) - 1;
  while (low < high && high >= 0) {
    const int64_t middle = (low + high) / 2;
    const int order = entries_[static_cast<size_t>(middle)].Text.compare(key);
    if (order == 0) return middle;
    if (order < 0) low = middle + 1;
    else high = middle - 1;
  }
  if (low == high && entries_[static_cast<size_t>(low)].Text == key) return low;
  return -1;
}

TFastSearchResult RunFastSearch(TFastSearchIndex& index, std::string& indexedPath, const std::string& fieldName,
                                const std::string& windowText, TFastSearchHost& host) {
  const TdBaseInfo* info = host.DatabaseInfo();
  TDBNodeManager* db = host.Database();
  // A descriptor that claims a database the page could not read is no
  // database either: there is nothing to collect from.
  if (!info || !(info->Flags & kDbInUse) || !db) {
    host.ShowMessage(kFastSearchNoDatabase);
    return TFastSearchResult::NoDatabase;
  }
  struct TWait {
    explicit TWait(TFastSearchHost& h) : Host(h) { Host.BeginWait(); }
    ~TWait() { Host.EndWait(); }
    TFastSearchHost& Host;
  } wait(host);

  const char* path = info->Path.c_str();
  if (std::strcmp(indexedPath.c_str(), path) != 0) {
    index.Clear();
    const int32_t field = FindDatabaseFieldIndex(*db, fieldName.c_str());
    if (field < 0) {
      host.ShowMessage(kFastSearchNoField);
      return TFastSearchResult::NoField;
    }
    indexedPath = path;
    const int32_t kind = 0;
    std::vector<int32_t> ids;
    std::vector<string> texts;
    SearchDBTree(*db, kCollectSlot, &db->Root(), kCollectText, 0, 0, 0, 1, &field, &kind, ids, nullptr, nullptr, 0,
                 &texts);
    index.Build(texts, ids);
  }

  const int64_t at = index.Find(FastSearchKey(windowText));
  if (at < 0) {
    host.ShowMessage(kFastSearchNotFound);
    return TFastSearchResult::NotFound;
  }
  host.GotoDBRecord(index.At(static_cast<size_t>(at)).EntryId);
  return TFastSearchResult::Found;
}
