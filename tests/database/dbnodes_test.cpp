// The tree database: the .dbd layout laid down byte by byte, the category
// tree build (against a literal pass-by-pass build on random files), save and
// reload, walks, matching, and hostile files.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>

#include "database/core/dbnodes.h"
#include "engine/format/bytes.h"

namespace {

struct Cat {
  int32_t id, parent;
  std::string name;
};
struct Dat {
  int32_t id;
  std::string name;
  std::vector<std::string> values;
};
struct Ent {
  int32_t id, cat, data;
  uint8_t isCat;
  int32_t pos;
};

Bytes DbdFile(const std::vector<std::string>& fields, const std::vector<Cat>& cats,
              const std::vector<Dat>& data, const std::vector<Ent>& ents) {
  Bytes b;
  b.u32(0x02DA5B0A).u16(7).u32(9);
  b.i16(static_cast<int16_t>(fields.size()));
  for (auto& f : fields) b.str(f).u16(0xFFFF).u8(0);
  b.i16(1).u32(1).u32(2);  // one legacy record
  b.u32(100).u32(200).u32(300);
  b.i32(static_cast<int32_t>(cats.size()));
  for (auto& c : cats) b.i32(c.id).i32(c.parent).u32(0).u8(0).str(c.name).str("");
  b.i32(static_cast<int32_t>(data.size()));
  for (auto& d : data) {
    b.i32(d.id).u32(1).str(d.name).i16(static_cast<int16_t>(d.values.size()));
    for (auto& v : d.values) b.str(v);
  }
  b.i32(static_cast<int32_t>(ents.size()));
  for (auto& e : ents)
    b.i32(e.id).i32(e.cat).i32(e.data).u8(e.isCat).i32(e.pos).u16(3).i32(0x7FFFFFFF).i32(0x7FFFFFFF).i32(0x7FFFFFFF);
  return b;
}

void Load(TDBNodeManager& m, const Bytes& b) {
  tsl::MemoryStream s = b.stream();
  m.Load(s);
}

// The tree as text: "name" per node in tree order, children in brackets,
// "_" for an empty slot, "?" for a node whose entry names no record.
std::string Dump(const TDBNodeManager& m) {
  std::string out;
  std::function<void(const TDBNode&)> walk = [&](const TDBNode& n) {
    if (!n.Children) return;
    out += "[";
    for (const TDBNode* c : *n.Children) {
      if (!c) { out += "_ "; continue; }
      const char* name = m.GetEntryName(m.FindEntry(c->EntryId));
      out += name ? name : "?";
      walk(*c);
      out += " ";
    }
    out += "]";
  };
  walk(m.Root());
  return out;
}

std::vector<uint8_t> Saved(const TDBNodeManager& m) {
  tsl::MemoryStream s;
  EXPECT_TRUE(m.Save(s));
  return s.Data();
}

// The build as written: repeated passes over the pending list, each placing
// what it can in list order and rescanning the list for pending categories.
// Random files are checked against it; it stops (with "stuck") at a cycle.
std::string ReferenceBuild(const std::vector<Cat>& cats, const std::vector<Ent>& ents) {
  struct N { std::string name; std::vector<int> kids; bool cat; };
  std::vector<N> nodes{{"", {}, true}};
  std::map<int32_t, int> catNode;
  std::map<int32_t, int32_t> parent;
  std::map<int32_t, std::string> catName;
  for (auto& c : cats) if (!parent.count(c.id)) { parent[c.id] = c.parent; catName[c.id] = c.name; }
  for (auto& p : parent) if (p.second != -1 && !parent.count(p.second)) p.second = -1;
  auto insert = [&](int par, int node, int32_t pos) {
    auto& k = nodes[par].kids;
    if (pos < 0) { k.push_back(node); return; }
    // A position beyond the slots plus the entries of the file appends.
    if (static_cast<size_t>(pos) > k.size() + ents.size()) { k.push_back(node); return; }
    if (static_cast<size_t>(pos) >= k.size()) { k.resize(pos, -1); k.push_back(node); return; }
    if (k[pos] < 0) k[pos] = node; else k.insert(k.begin() + pos, node);
  };
  std::vector<Ent> pend = ents;
  auto findPending = [&](int32_t id, int skip) {
    for (size_t j = 0; j < pend.size(); ++j)
      if (static_cast<int>(j) != skip && pend[j].isCat && pend[j].cat == id && parent.count(id)) return 1;
    return 0;
  };
  auto makeCat = [&](const Ent& e, int par) {
    nodes.push_back({parent.count(e.cat) ? catName[e.cat] : "?", {}, true});
    const int id = static_cast<int>(nodes.size()) - 1;
    insert(par, id, e.pos);
    catNode.emplace(parent.count(e.cat) ? e.cat : -1, id);
  };
  auto makeData = [&](const Ent& e, int par) {
    nodes.push_back({"d" + std::to_string(e.data), {}, false});
    insert(par, static_cast<int>(nodes.size()) - 1, e.pos);
  };
  while (!pend.empty()) {
    const size_t before = pend.size();
    for (size_t i = 0; i < pend.size();) {
      const Ent e = pend[i];
      auto node = catNode.find(e.cat);
      bool placed = true;
      if (!e.isCat) {
        if (node != catNode.end()) makeData(e, node->second);
        else if (!findPending(e.cat, -1)) makeData(e, 0);
        else placed = false;
      } else if (node == catNode.end()) {
        const int32_t p = parent.count(e.cat) ? parent[e.cat] : -1;
        if (p == -1) makeCat(e, 0);
        else if (catNode.count(p)) makeCat(e, catNode[p]);
        else if (!findPending(p, static_cast<int>(i))) makeCat(e, 0);
        else placed = false;
      }
      if (placed) pend.erase(pend.begin() + i);
      else ++i;
    }
    if (pend.size() == before) return "stuck";
  }
  std::string out;
  std::function<void(int)> walk = [&](int n) {
    if (!nodes[n].cat) return;
    out += "[";
    for (int c : nodes[n].kids) {
      if (c < 0) { out += "_ "; continue; }
      out += nodes[c].name;
      walk(c);
      out += " ";
    }
    out += "]";
  };
  walk(0);
  return out;
}

}  // namespace

TEST(TDBNodeManager, LoadsTheLayout) {
  Bytes b = DbdFile({"Autor", "Jahr"}, {{5, -1, "Bücher"}, {6, 5, "Romane"}},
                    {{10, "Faust", {"Goethe", "1808"}}, {11, "Lenz", {"Büchner"}}},
                    {{0, 5, -1, 1, -1}, {1, 6, -1, 1, -1}, {2, 6, 10, 0, -1}, {3, 5, 11, 0, -1}});
  TDBNodeManager m;
  Load(m, b);
  EXPECT_EQ(m.HeaderWord, 7);
  EXPECT_EQ(m.HeaderValue, 9u);
  ASSERT_EQ(m.Fields.size(), 2u);
  EXPECT_EQ(m.Fields[1].Name, "Jahr");
  EXPECT_EQ(m.NextCategoryId, 100u);
  EXPECT_EQ(m.NextEntryId, 300u);
  EXPECT_EQ(Dump(m), "[Bücher[Romane[Faust ] Lenz ] ]");
  EXPECT_EQ(m.CurrentEntryId, 0);
  // Missing values are filled with empty ones.
  ASSERT_EQ(m.FindData(11)->Values.Count(), 2);
  EXPECT_EQ(m.FindData(11)->Values.ItemAt(1), "");
  EXPECT_EQ(m.FindTreeNode(m.FindEntry(2))->EntryId, 2);
  EXPECT_EQ(m.FindTreeNode(m.FindEntry(1))->Parent->EntryId, 0);
  EXPECT_STREQ(m.GetCategoryName(m.FindEntry(2)), "Romane");
}

TEST(TDBNodeManager, BuildEdgeCases) {
  struct Case {
    const char* what;
    std::vector<Cat> cats;
    std::vector<Ent> ents;
    std::string tree;
  };
  const std::vector<Case> cases = {
      {"empty", {}, {}, "[]"},
      {"children stored before parents",
       {{1, -1, "A"}, {2, 1, "B"}, {3, 2, "C"}},
       {{12, 3, 7, 0, -1}, {11, 3, -1, 1, -1}, {10, 2, -1, 1, -1}, {9, 1, -1, 1, -1}},
       "[A[B[C[d7 ] ] ] ]"},
      {"orphan parent goes top level", {{1, 99, "A"}}, {{0, 1, -1, 1, -1}}, "[A[] ]"},
      {"gaps leave empty slots",
       {{1, -1, "A"}},
       {{0, 1, -1, 1, -1}, {1, 1, 7, 0, 0}, {2, 1, 8, 0, 2}, {3, 1, 9, 0, 5}},
       "[A[d7 _ d8 _ _ d9 ] ]"},
      {"equal positions: the later one first",
       {{1, -1, "A"}},
       {{0, 1, -1, 1, -1}, {1, 1, 7, 0, 0}, {2, 1, 8, 0, 0}},
       "[A[d8 d7 ] ]"},
      {"a cycle goes to the top level",
       {{1, 2, "A"}, {2, 1, "B"}, {3, -1, "C"}},
       {{0, 1, -1, 1, -1}, {1, 2, -1, 1, -1}, {2, 1, 7, 0, -1}, {3, 3, -1, 1, -1}},
       "[C[] A[d7 ] B[] ]"},
      {"a second entry of a category is dropped",
       {{1, -1, "A"}},
       {{0, 1, -1, 1, -1}, {1, 1, -1, 1, -1}},
       "[A[] ]"},
      {"a data entry without a category node sits at the top",
       {},
       {{0, 42, 7, 0, -1}},
       "[d7 ]"},
      {"a missing data record keeps its place",
       {{1, -1, "A"}},
       {{0, 1, -1, 1, -1}, {1, 1, 999, 0, -1}, {2, 1, 7, 0, -1}},
       "[A[? d7 ] ]"},
      {"a huge position appends",
       {{1, -1, "A"}},
       {{0, 1, -1, 1, -1}, {1, 1, 7, 0, 0x7FFFFFF0}, {2, 1, 8, 0, 0x7FFFFFF0}},
       "[A[d7 d8 ] ]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Dat> data;
    for (int d = 7; d <= 9; ++d) data.push_back({d, "d" + std::to_string(d), {}});
    TDBNodeManager m;
    Load(m, DbdFile({}, c.cats, data, c.ents));
    EXPECT_EQ(Dump(m), c.tree);
    EXPECT_EQ(m.CurrentEntryId, c.ents.empty() ? -1 : m.GetFirstTopLevelId());
  }
}

TEST(TDBNodeManager, BuildMatchesThePassesOnRandomFiles) {
  std::mt19937 rng(22);
  TDBNodeManager m;
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    const int nc = 1 + static_cast<int>(rng() % 8);
    std::vector<Cat> cats;
    for (int i = 0; i < nc; ++i) {
      // Parents only to lower ids: no cycles, so the passes finish.
      const int32_t p = i == 0 || rng() % 4 == 0 ? -1 : static_cast<int32_t>(rng() % i);
      cats.push_back({i, p, "c" + std::to_string(i)});
    }
    std::vector<Ent> ents;
    const int ne = static_cast<int>(rng() % 20);
    for (int i = 0; i < ne; ++i) {
      const bool isCat = rng() % 3 == 0;
      const int32_t cat = static_cast<int32_t>(rng() % (nc + 1));  // nc: missing
      const int32_t pos = rng() % 3 == 0 ? -1 : static_cast<int32_t>(rng() % 4);
      ents.push_back({i, cat, isCat ? -1 : 7, static_cast<uint8_t>(isCat), pos});
    }
    std::vector<Dat> data{{7, "d7", {}}};
    Load(m, DbdFile({}, cats, data, ents));
    EXPECT_EQ(Dump(m), ReferenceBuild(cats, ents));
  }
}

TEST(TDBNodeManager, SaveLoadSaveKeepsTheBytes) {
  Bytes b = DbdFile({"F"}, {{5, -1, "A"}, {6, 5, "B"}, {6, -1, "Dup"}},
                    {{10, "x", {"1", "2"}}, {11, "y", {}}},
                    {{3, 6, 11, 0, 1}, {0, 5, -1, 1, -1}, {1, 6, -1, 1, 4}, {2, 6, 10, 0, 0}});
  TDBNodeManager m;
  Load(m, b);
  EXPECT_STREQ(m.FindCategory(6)->Name.c_str(), "B") << "the first filed wins lookups";
  EXPECT_EQ(m.CategoryCount(), 3) << "both duplicates are kept";
  const auto first = Saved(m);
  TDBNodeManager again;
  Load(again, Bytes().append(first));
  EXPECT_EQ(Saved(again), first);
  EXPECT_EQ(Dump(again), Dump(m));
}

TEST(TDBNodeManager, RenumberedPositionsReloadInTheSameOrder) {
  Bytes b = DbdFile({}, {{1, -1, "A"}},
                    {{7, "d7", {}}, {8, "d8", {}}, {9, "d9", {}}},
                    {{0, 1, -1, 1, 3}, {1, 1, 7, 0, 0}, {2, 1, 8, 0, 0}, {3, 1, 9, 0, 4}, {4, 5, 9, 0, -1}});
  TDBNodeManager m;
  Load(m, b);
  const std::string before = Dump(m);
  m.RenumberPositions(&m.Root());
  EXPECT_EQ(before.find("_"), 1u) << before;  // the root had empty slots
  TDBNodeManager again;
  Load(again, Bytes().append(Saved(m)));
  std::string expect = before;
  for (size_t p; (p = expect.find("_ ")) != std::string::npos;) expect.erase(p, 2);
  EXPECT_EQ(Dump(again), expect);
  EXPECT_EQ(Dump(m), expect);
}

TEST(TDBNodeManager, HostileFiles) {
  const Bytes good = DbdFile({"F"}, {{1, -1, "A"}}, {{7, "d7", {"v"}}}, {{0, 1, -1, 1, -1}, {1, 1, 7, 0, -1}});
  {
    SCOPED_TRACE("wrong magic");
    Bytes b = good;
    b.put32(0, 0x02DA5B0B);
    TDBNodeManager m;
    Load(m, b);
    EXPECT_EQ(Dump(m), "[]");
    EXPECT_EQ(m.CurrentEntryId, -1);
  }
  TDBNodeManager m;
  for (size_t cut = 0; cut < good.size(); ++cut) {
    SCOPED_TRACE(cut);
    std::vector<uint8_t> part(good.data().begin(), good.data().begin() + cut);
    Load(m, Bytes().append(part));
    EXPECT_LE(m.EntryCount(), 2);
  }
  {
    SCOPED_TRACE("counts far beyond the file");
    Bytes b;
    b.u32(0x02DA5B0A).u16(0).u32(0).i16(0x7FFF).str("F").u16(0).u8(0);
    Load(m, b);
    EXPECT_EQ(m.Fields.size(), 1u);
    Bytes c;
    c.u32(0x02DA5B0A).u16(0).u32(0).i16(0).i16(0).u32(0).u32(0).u32(0).i32(0x7FFFFFFF);
    Load(m, c);
    EXPECT_EQ(m.CategoryCount(), 0);
  }
}

TEST(TDBNodeManager, DeepChainLoadsAndWalksWithoutRecursion) {
  const int depth = 100000;
  std::vector<Cat> cats;
  std::vector<Ent> ents;
  for (int i = 0; i < depth; ++i) cats.push_back({i, i - 1, "c"});
  for (int i = depth - 1; i >= 0; --i) ents.push_back({i, i, -1, 1, -1});  // children first
  TDBNodeManager m;
  Load(m, DbdFile({}, cats, {}, ents));
  std::vector<TDBCategoryData*> all;
  m.CollectEntries(all);
  ASSERT_EQ(all.size(), static_cast<size_t>(depth));
  EXPECT_EQ(all.front()->EntryId, 0);
  EXPECT_EQ(all.back()->EntryId, depth - 1);
  m.RenumberPositions(&m.Root());
  m.RebuildTree();
  tsl::MemoryStream s;
  EXPECT_TRUE(m.Save(s));
  m.Clear();
  EXPECT_EQ(m.GetFirstTopLevelId(), -1);
  EXPECT_EQ(m.FindEntry(0), nullptr);
}

TEST(TDBNodeManager, MatchEntry) {
  Bytes b = DbdFile({"F1", "F2"}, {{1, -1, "Name"}, {2, -1, "Other"}},
                    {{7, "Daten", {"  Wert  ", ""}}}, {{0, 1, -1, 1, -1}, {1, 1, 7, 0, -1}});
  TDBNodeManager m;
  Load(m, b);
  const_cast<TDBCategory*>(m.FindCategory(2))->SearchText = "Suche";
  std::vector<std::string> seen;
  auto match = [&](const char* text, void*, uint8_t optB, uint8_t optA) {
    seen.push_back(text);
    EXPECT_EQ(optB, 2);
    EXPECT_EQ(optA, 1);
    return std::string(text) == "Wert" || std::string(text) == "Name" || std::string(text) == "Wert!!!";
  };
  int ctx = 0;
  std::vector<int32_t> results;
  const int32_t idx[] = {-1, 5, 0, 1};
  const int32_t args[] = {0, 0, 3, 0};
  // A category without a search text is found by its name.
  EXPECT_TRUE(m.MatchEntry(m.FindEntry(0), &ctx, 1, 1, 2, 0, idx, args, results, match, nullptr, 0, nullptr));
  // Field values are stripped; indexes outside the values are skipped.
  seen.clear();
  EXPECT_TRUE(m.MatchEntry(m.FindEntry(1), &ctx, 0, 1, 2, 4, idx, args, results, match, nullptr, 0, nullptr));
  EXPECT_EQ(seen, (std::vector<std::string>{"Wert"}));
  // The transform may lengthen the text.
  seen.clear();
  auto grow = [](uint8_t, string& t, int32_t arg) { t += string(static_cast<size_t>(arg), '!'); };
  EXPECT_TRUE(m.MatchEntry(m.FindEntry(1), &ctx, 0, 1, 2, 4, idx, args, results, match, grow, 1, nullptr));
  EXPECT_EQ(seen.front(), "Wert!!!");
  // Collect mode: non-empty texts only.
  std::vector<string> collected;
  results.clear();
  EXPECT_FALSE(m.MatchEntry(m.FindEntry(1), nullptr, 1, 1, 2, 4, idx, args, results, match, nullptr, 0, &collected));
  ASSERT_EQ(collected.size(), 2u);
  EXPECT_EQ(collected[0], "Daten");
  EXPECT_EQ(collected[1], "Wert");
  EXPECT_EQ(results, (std::vector<int32_t>{1, 1}));
}

TEST(StringArray, Encoding) {
  struct Case {
    const char* what;
    std::vector<std::string> items;
    size_t bytes;
  };
  for (const Case& c : std::vector<Case>{{"empty", {}, 2}, {"empty strings", {"", ""}, 6}, {"texts", {"ab", "c"}, 9}}) {
    SCOPED_TRACE(c.what);
    TUSStrings list;
    for (auto& s : c.items) list.Add(string(s.c_str()));
    tsl::MemoryStream s;
    ASSERT_TRUE(WriteStringArray(list, s));
    EXPECT_EQ(s.Data().size(), c.bytes);
    TUSStrings back;
    back.Add("stale");
    s.Seek(0);
    ReadStringArray(back, s);
    ASSERT_EQ(back.Count(), static_cast<int>(c.items.size()));
    for (size_t i = 0; i < c.items.size(); ++i) EXPECT_EQ(back.ItemAt(static_cast<int>(i)).str(), c.items[i]);
  }
  // At most 32767 strings are written; a reader takes 0x8000 as negative.
  TUSStrings many;
  for (int i = 0; i < 40000; ++i) many.Add(string());
  tsl::MemoryStream s;
  WriteStringArray(many, s);
  EXPECT_EQ(s.Data().size(), 2u + 2u * 32767u);
  Bytes neg;
  neg.u16(0x8000).str("x");
  tsl::MemoryStream n = neg.stream();
  TUSStrings back;
  ReadStringArray(back, n);
  EXPECT_EQ(back.Count(), 0);
  // A count beyond the stream keeps what is there.
  Bytes shortList;
  shortList.i16(5).str("a").str("b");
  tsl::MemoryStream sl = shortList.stream();
  ReadStringArray(back, sl);
  EXPECT_EQ(back.Count(), 2);
}
