// tslmake's tree databases: a short text description written as a .dbd and
// .dbi pair through the database's own writers, and the dump of a loaded
// database in tree order.
//
//   field "name"
//   category ID PARENT "name" ["search text"] [open]
//   data ID "name" ["value"...]
//   entry ID CATEGORY DATA category|data [pos N] [pictures X] [font X] [actions X]
//   extras ID KIND "text"
//
// Ids are decimal, -1 for none; the counters continue after the highest ids.
#pragma once
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"

namespace tslmake {

// Words of a line; quoted words may hold blanks.
inline std::vector<std::string> DbWords(const std::string& line) {
  std::vector<std::string> w;
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) { ++i; continue; }
    if (line[i] == '#') break;
    if (line[i] == '"') {
      const size_t end = line.find('"', i + 1);
      w.push_back(line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
      i = end == std::string::npos ? line.size() : end + 1;
    } else {
      size_t end = i;
      while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
      w.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return w;
}

// Fills the two managers; false with the line number and reason.
inline bool ParseDatabase(const std::string& text, TDBNodeManager& nodes, TDBSpecialManager& extras, int& line,
                          std::string& reason) {
  std::istringstream in(text);
  std::string l;
  line = 0;
  int64_t maxCat = -1, maxData = -1, maxEntry = -1;
  auto num = [](const std::string& s) { return static_cast<int32_t>(std::strtol(s.c_str(), nullptr, 0)); };
  while (std::getline(in, l)) {
    ++line;
    const auto w = DbWords(l);
    if (w.empty()) continue;
    const std::string& k = w[0];
    if (k == "field" && w.size() == 2) {
      TDBFieldInfo f;
      f.Name = string(w[1].c_str());
      nodes.AddField(f);
    } else if (k == "category" && w.size() >= 4) {
      auto c = std::make_unique<TDBCategory>();
      c->Id = num(w[1]);
      c->ParentId = num(w[2]);
      c->Name = string(w[3].c_str());
      for (size_t i = 4; i < w.size(); ++i) {
        if (w[i] == "open") c->Open = 1;
        else c->SearchText = string(w[i].c_str());
      }
      maxCat = std::max<int64_t>(maxCat, c->Id);
      nodes.AddCategory(std::move(c));
    } else if (k == "data" && w.size() >= 3) {
      auto d = std::make_unique<TDBData>();
      d->Id = num(w[1]);
      d->Name = string(w[2].c_str());
      for (size_t i = 3; i < w.size(); ++i) d->Values.Add(string(w[i].c_str()));
      maxData = std::max<int64_t>(maxData, d->Id);
      nodes.AddData(std::move(d));
    } else if (k == "entry" && w.size() >= 5 && (w[4] == "category" || w[4] == "data")) {
      auto e = std::make_unique<TDBCategoryData>();
      e->EntryId = num(w[1]);
      e->CategoryId = num(w[2]);
      e->DataId = num(w[3]);
      e->IsCategory = w[4] == "category" ? 1 : 0;
      for (size_t i = 5; i + 1 < w.size(); i += 2) {
        const int32_t v = num(w[i + 1]);
        if (w[i] == "pos") e->Position = v;
        else if (w[i] == "pictures") e->PictureExtrasId = v;
        else if (w[i] == "font") e->SecondExtrasId = v;
        else if (w[i] == "actions") e->ActionExtrasId = v;
        else { reason = "unknown entry item " + w[i]; return false; }
      }
      maxEntry = std::max<int64_t>(maxEntry, e->EntryId);
      nodes.AddEntry(std::move(e));
    } else if (k == "extras" && w.size() == 4) {
      auto r = std::make_unique<TDBSpecial>();
      r->Id = num(w[1]);
      r->Kind = static_cast<uint16_t>(num(w[2]));
      r->Text1 = string(w[3].c_str());
      extras.Add(std::move(r));
    } else {
      reason = "unknown or incomplete statement " + k;
      return false;
    }
  }
  nodes.NextCategoryId = static_cast<uint32_t>(maxCat + 1);
  nodes.NextDataId = static_cast<uint32_t>(maxData + 1);
  nodes.NextEntryId = static_cast<uint32_t>(maxEntry + 1);
  return true;
}

}  // namespace tslmake
