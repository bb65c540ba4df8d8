#include "database/core/searchrun.h"

#include "database/core/searchwords.h"

int32_t FindDatabaseFieldIndex(const TDBNodeManager& db, const char* name, const TDBData* data) {
  if (!name) return -1;
  for (size_t i = 0; i < db.Fields.size(); ++i) {
    if (data && static_cast<int>(i) >= data->Values.Count()) continue;
    if (CompareSearchWords(db.Fields[i].Name.c_str(), name) == 0) return static_cast<int32_t>(i);
  }
  return -1;
}

TSearchFieldSet ResolveSearchFields(const TDBNodeManager& db, const std::vector<std::string>& names,
                                    const char* labelName, bool useLabel) {
  TSearchFieldSet set;
  if (useLabel) set.LabelField = FindDatabaseFieldIndex(db, labelName);
  for (const std::string& name : names) {
    const int32_t at = FindDatabaseFieldIndex(db, name.c_str());
    if (at >= 0) set.Indexes.push_back(at);
  }
  return set;
}

std::string ReplaceCount(const std::string& text, int n) {
  std::string out = text;
  const size_t at = out.find("%d");
  if (at != std::string::npos) out.replace(at, 2, std::to_string(n));
  return out;
}

std::string HitLabel(const std::string& word, int i) {
  return "Suchwort=" + word.substr(0, 255) + ", " + std::to_string(i) + ".er Eintrag";
}

std::string SearchResultMessage(const TSearchMessageTexts& ini, bool grewOrFound, int n,
                                const std::string& notFoundDefault) {
  auto pick = [](const std::string& set, const char* builtIn) { return set.empty() ? std::string(builtIn) : set; };
  if (!grewOrFound) return pick(ini.NotFound, notFoundDefault.c_str());
  if (n == 1) return pick(ini.OneFound, "Es wurde ein Eintrag gefunden.");
  if (n == 0) return pick(ini.NoneNew, "Es wurde kein neuer Eintrag gefunden.");
  return ReplaceCount(pick(ini.ManyFound, "Es wurden %d Eintr\xE4ge gefunden"), n);
}
