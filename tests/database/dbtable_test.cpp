// The table-format database: rows and catalogues laid down byte by byte,
// the conversion into the tree database (ids, fields, rows), bad rows and
// offsets, the read cache, and the writer against the hand-laid bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/core/dbdump.h"
#include "database/core/dbtable.h"
#include "engine/format/bytes.h"
#include "foundation/core/index/memhost.h"

namespace {

const char kPath[] = "C:\\P\\db\\tab.dbd";

// A row: its length, then 33 columns (missing ones empty).
Bytes Row(std::vector<std::string> cols) {
  cols.resize(kTableColumns);
  Bytes body;
  for (const std::string& c : cols) body.u32(static_cast<uint32_t>(c.size())).raw(c.data(), c.size());
  Bytes b;
  b.i32(static_cast<int32_t>(body.size())).append(body.data());
  return b;
}

Bytes Head(int16_t fields) {
  Bytes b;
  b.raw("DBD", 4).i16(fields).i16(1).u32(0);
  return b;
}

Bytes& Key(Bytes& b, const char* key, uint32_t row) { return b.fixed(key, 64).u32(row).u32(0).u8(0).u8(0); }

struct Pair {
  Bytes store, catalogue;
};

// Two categories in name order: "Autoren" (its own row; subcategory
// "Deutsch" with keys "Goethe" (row) and "Schiller" (none)) and "Verlage"
// (no row; subcategory "Hamburg" with its own row and one key).
Pair HandLaid(int16_t fields) {
  Pair p;
  p.store = Head(3);
  const uint32_t autoren = static_cast<uint32_t>(p.store.size());
  p.store.append(Row({"Autoren", "", "", "Kat-Feld"}).data());
  const uint32_t goethe = static_cast<uint32_t>(p.store.size());
  p.store.append(Row({"Autoren", "Deutsch", "Goethe", "1749", "Frankfurt"}).data());
  const uint32_t hamburg = static_cast<uint32_t>(p.store.size());
  p.store.append(Row({"Verlage", "Hamburg", "", "Hafen"}).data());
  const uint32_t hoffmann = static_cast<uint32_t>(p.store.size());
  p.store.append(Row({"Verlage", "Hamburg", "Hoffmann", "1781", "Hamburg", "zuviel"}).data());

  Bytes& c = p.catalogue;
  c.append(Head(fields).data()).u32(500);
  c.u32(2);
  Key(c, "", 0);
  c.u32(1);
  Key(c, "Autoren", autoren);
  c.u32(2);
  Key(c, "Deutsch", 0);
  Key(c, "Goethe", goethe);
  Key(c, "Schiller", 0);
  c.u32(1);
  Key(c, "Verlage", 0);
  c.u32(1);
  Key(c, "Hamburg", hamburg);
  Key(c, "Hoffmann", hoffmann);
  return p;
}

struct Loaded {
  std::unique_ptr<TDBNodeManager> nodes;
  std::unique_ptr<TDBSpecialManager> specials;
  std::unique_ptr<TKeyEntryArrayManager> catalogue;
  bool ok = false;
};

Loaded Load(const std::vector<uint8_t>& store, const std::vector<uint8_t>& catalogue, const TdBaseInfo* info = nullptr) {
  tsl::TMemPackHost host;
  host.PutFile(kPath, store);
  host.PutFile("C:\\P\\db\\tab.dbx", catalogue);
  Loaded l;
  l.catalogue = std::make_unique<TKeyEntryArrayManager>();
  l.catalogue->AddDefaultEntry();
  l.ok = LoadTreeDatabase({l.nodes, l.specials, &l.catalogue, info}, kPath, host);
  return l;
}

std::vector<std::string> Values(const TDBNodeManager& m, int32_t dataId) {
  std::vector<std::string> v;
  if (const TDBData* d = m.FindData(dataId))
    for (int i = 0; i < d->Values.Count(); ++i) v.push_back(d->Values.ItemAt(i).str());
  return v;
}

}  // namespace

TEST(TableDatabase, ConvertsTheHandLaidPair) {
  const Pair p = HandLaid(2);
  TdBaseInfo info;
  std::strcpy(info.FieldNames[3], "Jahr");
  std::memcpy(info.FieldNames[4], "Geburtsort!", 11);  // all 11 bytes, no NUL
  Loaded l = Load(p.store.data(), p.catalogue.data(), &info);
  ASSERT_TRUE(l.ok);
  const TDBNodeManager& m = *l.nodes;
  EXPECT_EQ(DumpTreeDatabase(m),
            "field Jahr\n"
            "field Geburtsort!\n"
            "Autoren #0\n"
            "  Deutsch #1\n"
            "    Goethe #2 | 1749 | Frankfurt\n"
            "    Schiller #3 |  | \n"
            "Verlage #4\n"
            "  Hamburg #5\n"
            "    Hoffmann #6 | 1781 | Hamburg\n");
  // Ids in the walk's order, each counter on its own.
  struct Case {
    int32_t entry, category, data;
    const char* name;
    bool isCategory;
    std::vector<std::string> values;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, "Autoren", true, {"Kat-Feld", ""}},
      {1, 1, 1, "Deutsch", true, {"", ""}},
      {2, 1, 2, "Goethe", false, {"1749", "Frankfurt"}},
      {3, 1, 3, "Schiller", false, {"", ""}},
      {4, 2, 4, "Verlage", true, {"", ""}},
      {5, 3, 5, "Hamburg", true, {"Hafen", ""}},
      {6, 3, 6, "Hoffmann", false, {"1781", "Hamburg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TDBCategoryData* e = m.FindEntry(c.entry);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->CategoryId, c.category);
    EXPECT_EQ(e->DataId, c.data);
    EXPECT_EQ(e->IsCategory, c.isCategory ? 1 : 0);
    EXPECT_STREQ(m.GetEntryName(e), c.name);
    EXPECT_EQ(Values(m, c.data), c.values);
    EXPECT_EQ(e->PictureExtrasId, kNoExtras);
  }
  EXPECT_EQ(m.FindCategory(1)->ParentId, 0);
  EXPECT_EQ(m.FindCategory(3)->ParentId, 2);
  EXPECT_STREQ(m.FindCategory(3)->SearchText.c_str(), "Hamburg");
  EXPECT_EQ(m.NextCategoryId, 4u);
  EXPECT_EQ(m.NextEntryId, 7u);
  EXPECT_EQ(m.Fields[1].FieldNumber, 1);
  EXPECT_EQ(l.catalogue->CategoryCount(), 0) << "the catalogue ends empty";
  EXPECT_EQ(GetKeyEntryUniqueCounter() >= 500u, true);
}

TEST(TableDatabase, FieldCounts) {
  struct Case {
    const char* what;
    int16_t fields;
    size_t infos;
  };
  const std::vector<Case> cases = {{"40 taken as 30", 40, 30}, {"none", 0, 0}, {"negative", -3, 0}, {"one", 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Pair p = HandLaid(c.fields);
    Loaded l = Load(p.store.data(), p.catalogue.data());
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.nodes->Fields.size(), c.infos);
    if (c.infos == 30) {
      EXPECT_STREQ(l.nodes->Fields[29].Name.c_str(), "Memo06");
    }
    EXPECT_EQ(Values(*l.nodes, 2).size(), c.infos);
    if (c.infos) {
      EXPECT_EQ(Values(*l.nodes, 2)[0], "1749");
    }
  }
}

TEST(TableDatabase, BadRowsAndOffsets) {
  // One key whose row (at offset 12 unless said) is damaged; two fields.
  auto catalogue = [](uint32_t offset) {
    Bytes c;
    c.append(Head(2).data()).u32(1).u32(1);
    Key(c, "", 0).u32(1);
    Key(c, "K", 0).u32(1);
    Key(c, "S", 0);
    Key(c, "Eintrag", offset);
    return c.data();
  };
  Bytes good = Row({"K", "S", "Eintrag", "eins", "zwei"});
  Bytes negative;
  negative.i32(-1).append(std::vector<uint8_t>(good.data().begin() + 4, good.data().end()));
  Bytes beyond;
  beyond.i32(static_cast<int32_t>(good.size())).append(std::vector<uint8_t>(good.data().begin() + 4, good.data().end()));
  Bytes huge;
  huge.i32(0x7FFFFFF0).u32(1).raw("K", 1);
  Bytes pastRow;  // the fifth column claims more than the row holds
  pastRow.i32(4 + 1 + 4 + 1 + 4 + 7 + 4 + 4 + 4 + 4).u32(1).raw("K", 1).u32(1).raw("S", 1).u32(7).raw("Eintrag", 7);
  pastRow.u32(4).raw("eins", 4).u32(100).raw("zwei", 4);
  Bytes shortRow;  // the row ends after four columns
  shortRow.i32(4 + 1 + 4 + 1 + 4 + 7 + 4 + 4).u32(1).raw("K", 1).u32(1).raw("S", 1).u32(7).raw("Eintrag", 7).u32(4).raw("eins", 4);
  struct Case {
    const char* what;
    Bytes row;
    uint32_t offset;
    std::vector<std::string> values;
  };
  const std::vector<Case> cases = {
      {"good row", good, 12, {"eins", "zwei"}},
      {"negative row length", negative, 12, {"", ""}},
      {"row length beyond the file", beyond, 12, {"", ""}},
      {"row length of two gigabytes", huge, 12, {"", ""}},
      {"a column past the row's end", pastRow, 12, {"eins", ""}},
      {"row ends after four columns", shortRow, 12, {"eins", ""}},
      {"offset beyond the file", good, 1000000, {"", ""}},
      {"offset in the last bytes", good, 12 + static_cast<uint32_t>(good.size()) - 3, {"", ""}},
      {"offset inside the header", good, 1, {"", ""}},
  };
  const uint32_t before = TReadCache::Instance().Capacity();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes store = Head(2);
    store.append(c.row.data());
    Loaded l = Load(store.data(), catalogue(c.offset));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(Values(*l.nodes, 2), c.values);
    EXPECT_EQ(l.nodes->EntryCount(), 3);
  }
  EXPECT_EQ(TReadCache::Instance().Capacity(), before) << "no refused row may grow the cache";

  // A cut-off catalogue keeps what it read: the category, the subcategory
  // and the first of its two keys.
  Bytes two;
  two.append(Head(2).data()).u32(1).u32(1);
  Key(two, "", 0).u32(1);
  Key(two, "K", 0).u32(2);
  Key(two, "S", 0);
  Key(two, "Eins", 0);
  Key(two, "Zwei", 0);
  std::vector<uint8_t> cut = two.data();
  cut.resize(cut.size() - 10);
  Loaded l = Load(Head(2).data(), cut);
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(DumpTreeDatabase(*l.nodes), "field Feld01\nfield Feld02\nK #0\n  S #1\n    Eins #2 |  | \n");
  // No catalogue at all: an empty tree, still a load.
  Loaded none = Load(Head(2).data(), {});
  EXPECT_TRUE(none.ok);
  EXPECT_EQ(none.nodes->EntryCount(), 0);
}

TEST(TableDatabase, ReadCacheGrowsToTheLongestRowOnly) {
  const std::string big(70000 - 4 * kTableColumns - 1, 'x');  // with "K": a row of 70000 bytes
  Bytes store = Head(1);
  const uint32_t first = static_cast<uint32_t>(store.size());
  store.append(Row({"K", "", "", big}).data());
  const uint32_t second = static_cast<uint32_t>(store.size());
  store.append(Row({"K", "S", "", "kurz"}).data());
  Bytes c;
  c.append(Head(1).data()).u32(1).u32(1);
  Key(c, "", 0).u32(1);
  Key(c, "K", first).u32(0);
  Key(c, "S", second);
  const uint32_t before = TReadCache::Instance().Capacity();
  Loaded l = Load(store.data(), c.data());
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(TReadCache::Instance().Capacity(), std::max<uint32_t>(before, 70000));
  EXPECT_EQ(Values(*l.nodes, 0), std::vector<std::string>{big});
  EXPECT_EQ(Values(*l.nodes, 1), std::vector<std::string>{"kurz"});
}

TEST(TableDatabase, WriterAgreesWithTheHandLaidBytes) {
  TTableWriter w(2);
  auto row = [](std::vector<std::string> cols) {
    auto r = std::make_unique<TdbfMemoryKey>();
    for (size_t i = 0; i < cols.size(); ++i) r->Columns[i] = string(cols[i].c_str());
    return r;
  };
  // Filed out of order: the catalogue sorts.
  w.Add("Verlage", "Hamburg", "Hoffmann", row({"Verlage", "Hamburg", "Hoffmann", "1781", "Hamburg", "zuviel"}).get());
  w.Add("Verlage", "Hamburg", "", row({"Verlage", "Hamburg", "", "Hafen"}).get());
  w.Add("Autoren", "Deutsch", "Schiller", nullptr);
  w.Add("Autoren", "Deutsch", "Goethe", row({"Autoren", "Deutsch", "Goethe", "1749", "Frankfurt"}).get());
  w.Add("Autoren", "", "", row({"Autoren", "", "", "Kat-Feld"}).get());
  const Pair p = HandLaid(2);
  Loaded written = Load(w.Store(), w.Catalogue());
  Loaded laid = Load(p.store.data(), p.catalogue.data());
  ASSERT_TRUE(written.ok && laid.ok);
  EXPECT_EQ(DumpTreeDatabase(*written.nodes), DumpTreeDatabase(*laid.nodes));
  for (int32_t id = 0; id < 7; ++id) EXPECT_EQ(Values(*written.nodes, id), Values(*laid.nodes, id)) << id;
}

TEST(TableDatabase, Helpers) {
  struct Case {
    const char* what;
    const char* text;
    char c;
    const char* expected;
  };
  for (const Case& c : std::vector<Case>{{"trailing blanks", "Feld   ", ' ', "Feld"},
                                          {"only the end", "..a..", '.', "..a"},
                                          {"all of it", "xxx", 'x', ""},
                                          {"null", nullptr, ' ', ""}}) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TrimTrailingChar(c.text, c.c).str(), c.expected);
  }
  TDBData d;
  d.Values.Add(string("a"));
  PadDataValues(d, 3);
  ASSERT_EQ(d.Values.Count(), 3);
  EXPECT_EQ(d.Values.ItemAt(0).str(), "a");
  PadDataValues(d, 1);
  EXPECT_EQ(d.Values.Count(), 3) << "never shortens";
}

// Rows kept in memory: the catalogue stays with every key's row owned by
// its entry, and LoadEntryRecord takes rows only by the descriptor's rule.
TEST(TableDatabase, RowsInMemoryKeepTheCatalogueForTheEntryRows) {
  const Pair p = HandLaid(2);
  TdBaseInfo info;
  info.Flags = kDbInUse | kDbRowsInMemory;
  Loaded l = Load(p.store.data(), p.catalogue.data(), &info);
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.catalogue->CategoryCount(), 2);
  MTREE<TKeyEntry>& deutsch = l.catalogue->Category(0)->Child(0)->Tree();
  TKeyEntry goethe, schiller;
  ASSERT_TRUE(deutsch.GetAt(0, goethe));
  ASSERT_TRUE(deutsch.GetAt(1, schiller));
  EXPECT_EQ(schiller.Row, nullptr) << "a key without a row gets none";

  struct Case {
    const char* what;
    uint8_t flags;
    bool editMode;
    const TKeyEntry* entry;
    bool store;  // a record store is open
    const char* year;  // null: no row
  };
  TKeyEntry notOwned = goethe;
  notOwned.RowOwned = 0;
  const Case cases[] = {
      {"in memory", kDbInUse | kDbRowsInMemory, false, &goethe, false, "1749"},
      {"edit mode takes the entry's row", kDbInUse, true, &goethe, false, "1749"},
      {"database not in use", kDbRowsInMemory, false, &goethe, false, nullptr},
      {"key without a row", kDbInUse | kDbRowsInMemory, false, &schiller, false, nullptr},
      {"row not owned", kDbInUse | kDbRowsInMemory, false, &notOwned, false, nullptr},
      {"from the store, none open", kDbInUse, false, &goethe, false, nullptr},
      {"from the store", kDbInUse, false, &goethe, true, "1749"},
      {"from the store, offset 0", kDbInUse, false, &schiller, true, nullptr},
  };
  tsl::MemoryStream store(p.store.data());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TdBaseInfo d;
    d.Flags = c.flags;
    d.RecordStore = c.store ? &store : nullptr;
    TEntryRow row;
    EXPECT_EQ(LoadEntryRecord(d, c.editMode, *c.entry, row), c.year != nullptr);
    if (!c.year) continue;
    ASSERT_NE(row.Row, nullptr);
    EXPECT_EQ(row.Row->Columns[3].str(), c.year);
    EXPECT_EQ(row.Row->Columns[4].str(), "Frankfurt");
    EXPECT_EQ(row.Owned != nullptr, c.store) << "only a row read from the store is the caller's";
  }

  // A tree-format database loaded next leaves no entry of the table behind.
  tsl::TMemPackHost host;
  EXPECT_TRUE(LoadTreeDatabase({l.nodes, l.specials, &l.catalogue, &info}, "C:\\P\\baum.dat", host));
  ASSERT_TRUE(l.catalogue);
  EXPECT_EQ(l.catalogue->CategoryCount(), 0);
}
