// Tree databases written as one line, for the navigation and fill tests:
//   "A( a1 _ a2 ) B*() t1#5"
// An upper-case name with brackets is a category (its children inside), a
// lower-case name a data entry, "_" an empty slot; "*" marks a category
// stored open, "#N" gives the entry picture extras id N. Entry ids count
// from 1 in the order written, category ids from 100, data ids from 1000;
// every entry is stored at its slot index, so "_" leaves a gap.
#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>

#include "database/core/dbnodes.h"

struct TTestTree {
  std::unique_ptr<TDBNodeManager> M = std::make_unique<TDBNodeManager>();
  std::map<std::string, int32_t> Ids;  // entry id by name
  std::map<int32_t, std::string> Names;

  int32_t operator[](const std::string& name) const {
    if (name == "-") return -1;
    auto it = Ids.find(name);
    EXPECT_NE(it, Ids.end()) << "no entry " << name;
    return it == Ids.end() ? -2 : it->second;
  }
  std::string Name(int32_t id) const {
    if (id == -1) return "-";
    auto it = Names.find(id);
    return it == Names.end() ? "#" + std::to_string(id) : it->second;
  }
};

inline TTestTree MakeTree(const std::string& text) {
  TTestTree t;
  int32_t nextEntry = 1, nextCat = 100, nextData = 1000;
  std::vector<int32_t> cats{-1};  // category of the level being read
  std::vector<int32_t> slots{0};
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c))) { ++i; continue; }
    if (c == ')') {
      cats.pop_back();
      slots.pop_back();
      ++i;
      continue;
    }
    if (c == '_') {
      ++slots.back();
      ++i;
      continue;
    }
    std::string name;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])))) name += text[i++];
    bool open = false;
    int32_t picture = kNoExtras;
    if (i < text.size() && text[i] == '*') { open = true; ++i; }
    if (i < text.size() && text[i] == '#') {
      ++i;
      picture = 0;
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) picture = picture * 10 + (text[i++] - '0');
    }
    auto e = std::make_unique<TDBCategoryData>();
    e->EntryId = nextEntry++;
    e->Position = slots.back()++;
    e->PictureExtrasId = picture;
    t.Ids[name] = e->EntryId;
    t.Names[e->EntryId] = name;
    if (i < text.size() && text[i] == '(') {
      ++i;
      auto cat = std::make_unique<TDBCategory>();
      cat->Id = nextCat++;
      cat->ParentId = cats.back();
      cat->Name = name.c_str();
      cat->Open = open ? 1 : 0;
      e->CategoryId = cat->Id;
      e->IsCategory = 1;
      cats.push_back(cat->Id);
      slots.push_back(0);
      t.M->AddCategory(std::move(cat));
    } else {
      auto d = std::make_unique<TDBData>();
      d->Id = nextData++;
      d->Name = name.c_str();
      e->CategoryId = cats.back();
      e->DataId = d->Id;
      t.M->AddData(std::move(d));
    }
    t.M->AddEntry(std::move(e));
  }
  t.M->RebuildTree();
  t.M->CurrentEntryId = t.M->GetFirstTopLevelId();
  return t;
}
