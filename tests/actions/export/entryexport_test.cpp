// Export of the current entry against a fake entry and a recording table
// writer: the fields chosen, the dBase field definitions and the RTF bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/core/entryexport.h"
#include "database/core/dbtable.h"
#include "database/core/tdbase.h"
#include "engine/core/format/dbaseinfo.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

class TFakeEntry : public TExportEntrySource {
public:
  bool Has = true;
  TEntryRecord Record;
  bool LoadCurrentRecord(TEntryRecord& r) override {
    if (Has) r = Record;
    return Has;
  }
  std::string FieldName(int index) override { return "Feld " + std::to_string(index - 2); }
};

class TRecordingTable : public TExportTableWriter {
public:
  std::vector<std::string> Log;
  bool CreateOk = true;
  bool Begin(const std::string& file, int n) override {
    Log.push_back("begin " + file + " " + std::to_string(n));
    return true;
  }
  void SetField(int i, const std::string& name, TFieldType type, int length, int decimals) override {
    Log.push_back("field " + std::to_string(i) + " " + name + " " + std::to_string(int(type)) + " " +
                  std::to_string(length) + " " + std::to_string(decimals));
  }
  bool CreateFiles() override {
    Log.push_back("create");
    return CreateOk;
  }
  void PutField(int i, const std::string& v) override { Log.push_back("put " + std::to_string(i) + " " + v); }
  void End() override { Log.push_back("end"); }
};

TEST(EntryExport, DbfDefinesOnlyFieldsWithValues) {
  TFakeEntry e;
  e.Record[3 + 1] = std::string(249, 'a');
  e.Record[3 + 4] = std::string(250, 'b');
  TRecordingTable t;
  ASSERT_TRUE(ExportEntryToDbf("C:\\x\\data.DBF", e, t));
  const std::vector<std::string> want = {
      "begin C:\\x\\data.DBF 2", "field 0 Feld2 0 249 0", "field 1 Feld5 4 250 2", "create",
      "put 0 " + std::string(249, 'a'), "put 1 " + std::string(250, 'b'), "end"};
  EXPECT_EQ(t.Log, want);
}

TEST(EntryExport, DbfWritesNothingWithoutRecordOrValues) {
  struct Case {
    const char* what;
    bool has;
    bool anyValue;
    bool createOk;
    std::vector<std::string> log;
  } cases[] = {
      {"no record", false, true, true, {}},
      {"all fields empty", true, false, true, {}},
      {"files not created", true, true, false, {"begin f.dbf 1", "field 0 Feld1 0 1 0", "create", "end"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFakeEntry e;
    e.Has = c.has;
    if (c.anyValue) e.Record[3] = "x";
    e.Record[0] = "key only";
    TRecordingTable t;
    t.CreateOk = c.createOk;
    EXPECT_FALSE(ExportEntryToDbf("f.dbf", e, t));
    EXPECT_EQ(t.Log, c.log);
  }
}

TEST(EntryExport, RtfBytes) {
  const std::string head =
      "{\\rtf1\\ansi\\deff0\\deflang1024{\\fonttbl{\\f0\\froman Courier New; }}\r\n \r\n"
      "{\\stylesheet{\\fs10 \\lang1031 \\snext0 Normal;}}\r\n{\\info{\\author Titel }}"
      " \r\n\\margt0\r\n\\margb0\r\n\\margl0\r\n\\margr0\r\n\\deftab240\r\n";
  const std::string cell = "\\clbrdrt\\brdrs\\brdrw15 \\clbrdrl\\brdrs\\brdrw15\\clbrdrb\\brdrs\\brdrw15 "
                           "\\clbrdrr\\brdrs\\brdrw15\\cellx";
  const std::string rowDef = cell + "1120\r\n" + cell + "2240\r\n";
  const std::string pard = "\\pard\\plain\\intbl\\fs10\\lang31\r\n";
  const std::string rowEnd = "\r\n\\row \\trowd\r\n";
  const std::string want = head + rowDef + pard + "\\ql\\b \\f0\\fs20 Feld2\\cell \\pard \\intbl\r\n" +
                           "\\ql\\b \\f0\\fs20 Feld5\\cell \\pard \\intbl\r\n" + rowEnd + rowDef + pard +
                           "\\ql\\f0\\fs\\f0\\fs20 a\\tab b\\par c\\\\d\\{e\\}\r\\cell \\pard \\intbl\r\n" +
                           "\\ql\\f0\\fs\\f0\\fs20 zwei\\cell \\pard \\intbl\r\n" + rowEnd + "}";
  TFakeEntry e;
  e.Record[3 + 1] = "a\tb\nc\\d{e}\r";
  e.Record[3 + 4] = "zwei";
  EXPECT_EQ(EntryRtf(ExportedFields(e.Record, e), "Titel"), want);
  EXPECT_EQ(EntryRtf({}, "Titel"), head + pard + rowEnd + pard + rowEnd + "}") << "all fields empty";
}

TEST(EntryExport, WriterChoiceIgnoresCase) {
  EXPECT_TRUE(ExportWantsDbf("C:\\data.DBF"));
  EXPECT_FALSE(ExportWantsRtf("C:\\data.DBF"));
  EXPECT_TRUE(ExportWantsRtf("x.Rtf"));
  EXPECT_TRUE(ExportWantsRtf("a.rtf.dbf") && ExportWantsDbf("a.rtf.dbf"));
}

// The player's source: the catalogue's selection, the entry's row kept in
// memory, the descriptor's names; then the TDBASE writer over it, read back.
class CatalogueExport : public ::testing::Test {
protected:
  void SetUp() override {
    TTableWriter w(3);
    auto row = [](std::vector<const char*> cols) {
      TdbfMemoryKey r;
      for (size_t i = 0; i < cols.size(); ++i) r.Columns[i] = string(cols[i]);
      return r;
    };
    const TdbfMemoryKey goethe = row({"Autoren", "Deutsch", "Goethe", "1749", "", std::string(300, 'm').c_str()});
    const TdbfMemoryKey kant = row({"Autoren", "Deutsch", "Kant", "1724", "K\xF6nigsberg"});
    w.Add("Autoren", "Deutsch", "Goethe", &goethe);
    w.Add("Autoren", "Deutsch", "Kant", &kant);
    w.Add("Autoren", "Deutsch", "Ohne", nullptr);
    tsl::MemoryStream store(w.Store()), index(w.Catalogue());
    Info.Flags = kDbInUse | kDbRowsInMemory;
    std::strcpy(Info.FieldNames[3], "Geburt");
    std::strcpy(Info.FieldNames[5], "Lebens lauf");
    TDBNodeManager nodes;
    ConvertTable(nodes, &store, &index, Info, &Catalogue);
    ASSERT_TRUE(Catalogue);
  }
  TdBaseInfo Info;
  std::unique_ptr<TKeyEntryArrayManager> Catalogue;
};

TEST_F(CatalogueExport, SelectionPicksTheEntry) {
  struct Case {
    int32_t category, subcategory, entry;
    const char* geburt;  // null: nothing to export
  } cases[] = {{0, 0, 0, "1749"}, {0, 0, 1, "1724"}, {0, 0, 2, nullptr},  {0, 0, 3, nullptr},
               {0, 1, 0, nullptr}, {1, 0, 0, nullptr}, {-1, 0, 0, nullptr}, {0, 0, -1, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.category) + " " + std::to_string(c.subcategory) + " " + std::to_string(c.entry));
    Catalogue->CurrentCategory = c.category;
    Catalogue->CurrentSubcategory = c.subcategory;
    Catalogue->CurrentEntry = c.entry;
    TCatalogueEntrySource source(Catalogue.get(), Info, false);
    TEntryRecord r;
    ASSERT_EQ(source.LoadCurrentRecord(r), c.geburt != nullptr);
    if (c.geburt) {
      EXPECT_EQ(r[3], c.geburt);
    }
  }
  TCatalogueEntrySource none(nullptr, Info, false);
  TEntryRecord r;
  EXPECT_FALSE(none.LoadCurrentRecord(r));
  Info.Flags = kDbInUse;  // rows from the store, which the player never opens
  TCatalogueEntrySource fromStore(Catalogue.get(), Info, false);
  EXPECT_FALSE(fromStore.LoadCurrentRecord(r));
}

TEST_F(CatalogueExport, TDBaseTableHoldsTheEntry) {
  char dir[] = "/tmp/entryexportXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string dbf = std::string(dir) + "/data.dbf";
  TCatalogueEntrySource source(Catalogue.get(), Info, false);
  TDBaseExportTable table;
  ASSERT_TRUE(ExportEntryToDbf(dbf, source, table));
  {
    TDBASE t(dbf.c_str());
    ASSERT_EQ(t.Status(), TDBASE::Usable);
    ASSERT_EQ(t.FieldCount(), 2);
    TDBASE_FELD_DESCR d{};
    ASSERT_TRUE(t.GetFieldDescr(1, d));
    EXPECT_STREQ(d.name, "Lebenslauf");
    EXPECT_EQ(d.type, 'M');
    std::string v;
    ASSERT_TRUE(t.GetField(0, 0, v));
    EXPECT_EQ(v, "1749");
    ASSERT_TRUE(t.GetField(0, 1, v));
    EXPECT_EQ(v, std::string(300, 'm'));
  }
  EXPECT_EQ(std::system(("rm -r '" + std::string(dir) + "'").c_str()), 0);
}

}  // namespace
