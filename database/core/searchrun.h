// The portable parts of a search run: which database fields a search tests,
// the labels of its hits and the texts of its result message. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "database/core/dbnodes.h"

// Position of the first field whose name equals `name` (case ignored) in the
// database's field list; with `data` only positions below its value count.
// -1 for a null name or no such field.
int32_t FindDatabaseFieldIndex(const TDBNodeManager& db, const char* name, const TDBData* data = nullptr);

// The fields a search tests, in the order the action lists their names
// (names the database lacks are skipped), and the label field (-1: none).
struct TSearchFieldSet {
  std::vector<int32_t> Indexes;
  int32_t LabelField = -1;
};
TSearchFieldSet ResolveSearchFields(const TDBNodeManager& db, const std::vector<std::string>& names,
                                    const char* labelName, bool useLabel);

// `text` with its first "%d" replaced by `n`; any other '%' stays as it is.
std::string ReplaceCount(const std::string& text, int n);
// The list label of the i-th hit (1-based) of a page when no field names it;
// the word is cut to 255 characters.
std::string HitLabel(const std::string& word, int i);

// The ini texts that replace the built-in messages when set.
struct TSearchMessageTexts {
  std::string OneFound, ManyFound, NoneNew, NotFound;
};
// The message after a search: `n` new list items; `grewOrFound` false gives
// the not-found text (`notFoundDefault` when the ini sets none).
std::string SearchResultMessage(const TSearchMessageTexts& ini, bool grewOrFound, int n,
                                const std::string& notFoundDefault);
