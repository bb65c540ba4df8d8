// tslmake's tree databases: a short text description written as a .dbd and
// .dbi pair through the database's own writers, and the dump of a loaded
// database in tree order.
//
//   field "name"
//   category ID PARENT "name" ["search text"] [open]
//   data ID "name" ["value"...]
//   entry ID CATEGORY DATA category|data [pos N] [pictures X] [font X] [actions X]
//   extras ID KIND "text" [picture1 W H C1 C2] [picture2 W H C1 C2]
//          [transparent1 C] [transparent2 C] [font "Face" SIZE [bold] [colour C]] [goto PAGE]
//
// An extras record's pictures are gradients, its action slot 0 a page
// change; colours are numbers (0xBBGGRR: '#' begins a comment).
// Ids are decimal, -1 for none; the counters continue after the highest ids.
//
// A table-format pair (.dbd record store and .dbx catalogue):
//
//   fields N
//   row "category" "subcategory" "key" ["value"...]
//   norow "category" "subcategory" "key"
//
// An empty key gives the subcategory its row, an empty subcategory too the
// category; values fill the field columns in order.
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
#include "database/core/dbtable.h"
#include "actions/core/actioncodes.h"
#include "tools/core/desc/tsldesc.h"

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
    } else if (k == "extras" && w.size() >= 4) {
      auto r = std::make_unique<TDBSpecial>();
      r->Id = num(w[1]);
      r->Kind = static_cast<uint16_t>(num(w[2]));
      r->Text1 = string(w[3].c_str());
      auto colour = [&](const std::string& c) -> uint32_t {
        return static_cast<uint32_t>(std::strtoul(c.c_str(), nullptr, 0));
      };
      for (size_t i = 4; i < w.size(); ++i) {
        const bool more1 = i + 1 < w.size(), more4 = i + 4 < w.size();
        if ((w[i] == "picture1" || w[i] == "picture2") && more4) {
          (w[i] == "picture1" ? r->Picture1 : r->Picture2) =
              MakeGradientDib(num(w[i + 1]), num(w[i + 2]), colour(w[i + 3]), colour(w[i + 4]));
          i += 4;
        } else if (w[i] == "transparent1" && more1) {
          r->Flags |= kSpecialTransparent1;
          r->Color1 = colour(w[++i]);
        } else if (w[i] == "transparent2" && more1) {
          r->Flags |= kSpecialTransparent2;
          r->Color2 = colour(w[++i]);
        } else if (w[i] == "font" && i + 2 < w.size()) {
          r->Font = tsl::MakeFontRecord(num(w[i + 2]), true, w[i + 1].c_str());
          i += 2;
          while (i + 1 < w.size()) {
            if (w[i + 1] == "bold") {
              r->Font.lfWeight = 700;
              i += 1;
            } else if (w[i + 1] == "colour" && i + 2 < w.size()) {
              r->Font.Color = colour(w[i + 2]);
              i += 2;
            } else {
              break;
            }
          }
        } else if (w[i] == "goto" && more1) {
          TActionStruct& a = r->Actions[0];
          a.Flags |= kActionEnabled;
          a.Code = StoredActionCode(TActionCode::GotoPage);
          a.Value1 = static_cast<uint32_t>(num(w[++i]));
        } else {
          reason = "unknown extras item " + w[i];
          return false;
        }
      }
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

// Writes the table description's store and catalogue; false with the line
// number and reason.
inline bool ParseTable(const std::string& text, std::vector<uint8_t>& store, std::vector<uint8_t>& catalogue,
                       int& line, std::string& reason) {
  std::istringstream in(text);
  std::string l;
  line = 0;
  std::unique_ptr<TTableWriter> w;
  while (std::getline(in, l)) {
    ++line;
    const auto words = DbWords(l);
    if (words.empty()) continue;
    const std::string& k = words[0];
    if (k == "fields" && words.size() == 2 && !w) {
      w = std::make_unique<TTableWriter>(static_cast<int16_t>(std::strtol(words[1].c_str(), nullptr, 0)));
      continue;
    }
    if (!w) w = std::make_unique<TTableWriter>(0);
    if ((k == "row" && words.size() >= 4) || (k == "norow" && words.size() == 4)) {
      TdbfMemoryKey row;
      for (size_t i = 1; i < words.size() && i - 1 < static_cast<size_t>(kTableColumns); ++i)
        row.Columns[i - 1] = string(words[i].c_str());
      w->Add(words[1].c_str(), words[2].c_str(), words[3].c_str(), k == "row" ? &row : nullptr);
    } else {
      reason = "unknown or incomplete statement " + k;
      return false;
    }
  }
  if (!w) w = std::make_unique<TTableWriter>(0);
  store = w->Store();
  catalogue = w->Catalogue();
  return true;
}

}  // namespace tslmake
