// Pages bound to tree databases, read through the page window: each bound
// page loads its pair into the page manager, an unbound page keeps the last
// database, and reading a page again loads it again. And the real player on
// damaged database files.
#include "engine/pages/winpages.h"
#include "playerrun.h"

#include <cstdlib>

#include "database/core/dbdump.h"
#include "engine/format/bytes.h"
#include "tools/core/tslmake_db.h"

namespace {

void WritePair(const std::string& stem, const char* description) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(description, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  WriteBytes(TempPath(stem + ".dbd"), dbd.Data());
  WriteBytes(TempPath(stem + ".dbi"), dbi.Data());
  WriteBytes(TempPath(stem + ".dat"), {'x'});
}

const char kBooks[] = R"(
field "Autor"
category 1 -1 "Bücher"
data 10 "Faust" "Goethe"
entry 2 1 10 data
entry 0 1 -1 category pictures 4
extras 4 1 "Bild"
)";

const char kPlaces[] = R"(
category 7 -1 "Orte"
category 8 7 "Städte"
entry 0 8 -1 category
entry 1 7 -1 category
)";

const char kProject[] = R"(
page 1 "Buecher"
  database "tslpages_books.dat"
page 2 "Ohne"
page 3 "Orte"
  database "tslpages_places.dat"
page 4 "Aus"
  database "tslpages_places.dat" flags 0
)";

}  // namespace

TEST(TreeDatabase, BoundPagesLoadTheirDatabase) {
  WritePair("books", kBooks);
  WritePair("places", kPlaces);
  TTestProject p("treedb.crt", kProject);
  TObjectManager& m = p.Manager();

  ASSERT_TRUE(p.ReadPage(0));
  ASSERT_TRUE(m.DBNodeManager && m.DBSpecialManager);
  const std::string books = "field Autor\nBücher #0\n  Faust #2 | Goethe\n";
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), books);
  EXPECT_EQ(m.DBNodeManager->CurrentEntryId, 0);
  EXPECT_NE(m.DBSpecialManager->FindRecord(4, 1), nullptr);

  // A mark on the loaded database shows whether a page replaced it.
  m.DBNodeManager->CurrentEntryId = 4711;
  ASSERT_TRUE(p.ReadPage(1));
  EXPECT_EQ(m.DBNodeManager->CurrentEntryId, 4711) << "an unbound page keeps the last database";

  ASSERT_TRUE(p.ReadPage(2));
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), "Orte #1\n  Städte #0\n");
  EXPECT_EQ(m.DBSpecialManager->Count(), 0);

  m.DBNodeManager->CurrentEntryId = 4711;
  ASSERT_TRUE(p.ReadPage(3));
  EXPECT_EQ(m.DBNodeManager->CurrentEntryId, 4711) << "flags without 0x01 load nothing";
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), "Orte #1\n  Städte #0\n");

  ASSERT_TRUE(p.ReadPage(0));
  m.DBNodeManager->CurrentEntryId = 4711;
  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_EQ(m.DBNodeManager->CurrentEntryId, 0) << "reading a page again reloads";
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), books);
  for (const char* stem : {"books", "places"})
    for (const char* ext : {".dbd", ".dbi", ".dat"}) ::DeleteFileA(TempPath(std::string(stem) + ext).c_str());
}

namespace {

// Category "Autoren" with its own row, subcategory "Deutsch" with two keys.
const char kTable[] = R"(
fields 2
row "Autoren" "" "" "" "Kategorie"
row "Autoren" "Deutsch" "Goethe" "1749" "Frankfurt"
norow "Autoren" "Deutsch" "Schiller"
)";

const char kTableProject[] = R"(
page 1 "Baum"
  database "tslpages_books.dat"
page 2 "Tabelle"
  database "tslpages_table.dbd"
page 3 "Ohne"
)";

}  // namespace

// A page bound to a table-format pair converts it into the page manager's
// tree database (the extras of the last tree pair stay, the catalogue ends
// empty); reading the page again converts it again.
TEST(TreeDatabase, TablePageConvertsItsPair) {
  WritePair("books", kBooks);
  std::vector<uint8_t> store, catalogue;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseTable(kTable, store, catalogue, line, reason)) << line << ": " << reason;
  WriteBytes(TempPath("table.dbd"), store);
  WriteBytes(TempPath("table.dbx"), catalogue);
  TTestProject p("treedbtable.crt", kTableProject);
  TObjectManager& m = p.Manager();

  ASSERT_TRUE(p.ReadPage(0));
  const TDBSpecialManager* extras = m.DBSpecialManager.get();
  const std::string table =
      "field Feld01\nfield Feld02\nAutoren #0\n  Deutsch #1\n    Goethe #2 | 1749 | Frankfurt\n    Schiller #3 |  | \n";
  ASSERT_TRUE(p.ReadPage(1));
  ASSERT_TRUE(m.DBNodeManager);
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), table);
  EXPECT_EQ(m.DBNodeManager->FindData(0)->Values.ItemAt(1).str(), "Kategorie");
  EXPECT_EQ(m.DBSpecialManager.get(), extras) << "a table load keeps the extras";
  EXPECT_NE(m.DBSpecialManager->FindRecord(4, 1), nullptr);
  ASSERT_TRUE(m.KeyCatalogue);
  EXPECT_EQ(m.KeyCatalogue->CategoryCount(), 0);

  m.DBNodeManager->CurrentEntryId = 4711;
  ASSERT_TRUE(p.ReadPage(2));
  EXPECT_EQ(m.DBNodeManager->CurrentEntryId, 4711) << "an unbound page keeps the last database";
  ASSERT_TRUE(p.ReadPage(1));
  EXPECT_EQ(m.DBNodeManager->CurrentEntryId, kNoDbId) << "reading the page again converts again";
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), table);
  for (const char* f : {"books.dbd", "books.dbi", "books.dat", "table.dbd", "table.dbx"})
    ::DeleteFileA(TempPath(f).c_str());
}

namespace {

HWND g_page = nullptr;

BOOL CALLBACK MatchPage(HWND w, LPARAM) {
  char name[256] = {};
  ::GetClassNameA(w, name, sizeof name);
  if (std::string(name).find("TObjectWindow") == std::string::npos) return TRUE;
  g_page = w;
  return FALSE;
}

COLORREF ScreenPixel(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  HDC dc = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(dc, p.x, p.y);
  ::ReleaseDC(nullptr, dc);
  return c;
}

}  // namespace

// The real player on a page whose database files are damaged the way the
// fuzz corpus' seeds are (counts far beyond the file, a cut-off file,
// records without their actions): the page shows and the player closes
// cleanly.
TEST(TreeDatabase, ThePlayerShowsAPageWithDamagedDatabaseFiles) {
  Bytes dbd;  // a field count of 32767 and a category count of 2^31 - 1
  dbd.u32(0x02DA5B0A).u16(0).u32(0).i16(0x7FFF).str("F").u16(0).u8(0).i16(0).u32(0).u32(0).u32(0).i32(0x7FFFFFFF);
  Bytes dbi;  // two records cut off after their texts
  dbi.u32(0x0059B844).u32(0).i32(2).i32(1).u32(0).u16(1).u32(0).u32(0).str("pic").str("");
  WriteBytes(TempPath("damaged.dbd"), dbd.data());
  WriteBytes(TempPath("damaged.dbi"), dbi.data());
  WriteBytes(TempPath("damaged.dat"), {'x'});
  const std::string project = TempPath("damaged.crt");
  WriteBytes(project, BuildProject("size 320 240\npage 1\n  background colour #3070B0\n  database \"tslpages_damaged.dat\"\n"));

  TPlayerRun player("\"" + project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  for (int i = 0; i < 100 && !g_page; ++i, ::Sleep(50)) ::EnumChildWindows(frame, &MatchPage, 0);
  ASSERT_NE(g_page, nullptr);
  bool shown = false;
  for (int i = 0; i < 100 && !shown; ++i, ::Sleep(100)) shown = ScreenPixel(g_page, 20, 20) == RGB(0x30, 0x70, 0xB0);
  if (const char* dir = std::getenv("TSL_SCREENSHOT_DIR"))
    std::system(("import -window root '" + std::string(dir) + "/treedb_damaged.png'").c_str());
  EXPECT_TRUE(shown) << "the page never showed";
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  for (const char* ext : {".dbd", ".dbi", ".dat", ".crt"}) ::DeleteFileA(TempPath(std::string("damaged") + ext).c_str());
}

// The same for a damaged table-format pair, laid as the fuzz corpus' seeds
// are: rows with a negative length and one of two gigabytes, a column past
// its row, an offset beyond the file, and a catalogue cut off inside a
// count of 2^31 - 1 keys.
TEST(TreeDatabase, ThePlayerShowsAPageWithADamagedTablePair) {
  Bytes store;
  store.raw("DBD", 4).i16(3).i16(1).u32(0);
  const uint32_t negative = static_cast<uint32_t>(store.size());
  store.i32(-1).u32(1).raw("A", 1);
  const uint32_t huge = static_cast<uint32_t>(store.size());
  store.i32(0x7FFFFFF0).u32(1).raw("A", 1);
  const uint32_t pastRow = static_cast<uint32_t>(store.size());
  store.i32(9).u32(1).raw("A", 1).u32(500).raw("B", 1);
  auto key = [](Bytes& b, const char* k, uint32_t row) { b.fixed(k, 64).u32(row).u32(0).u8(0).u8(0); };
  Bytes catalogue;
  catalogue.raw("DBD", 4).i16(40).i16(1).u32(0).u32(7).u32(1);
  key(catalogue, "", 0);
  catalogue.u32(1);
  key(catalogue, "Kat", negative);
  catalogue.u32(0x7FFFFFFF);
  key(catalogue, "Sub", huge);
  key(catalogue, "A", pastRow);
  key(catalogue, "B", 0x10000000);
  catalogue.fixed("C", 30);
  WriteBytes(TempPath("damagedtab.dbd"), store.data());
  WriteBytes(TempPath("damagedtab.dbx"), catalogue.data());
  const std::string project = TempPath("damagedtab.crt");
  WriteBytes(project, BuildProject("size 320 240\npage 1\n  background colour #3070B0\n  database \"tslpages_damagedtab.dbd\"\n"));

  g_page = nullptr;
  TPlayerRun player("\"" + project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  for (int i = 0; i < 100 && !g_page; ++i, ::Sleep(50)) ::EnumChildWindows(frame, &MatchPage, 0);
  ASSERT_NE(g_page, nullptr);
  bool shown = false;
  for (int i = 0; i < 100 && !shown; ++i, ::Sleep(100)) shown = ScreenPixel(g_page, 20, 20) == RGB(0x30, 0x70, 0xB0);
  if (const char* dir = std::getenv("TSL_SCREENSHOT_DIR"))
    std::system(("import -window root '" + std::string(dir) + "/treedb_damaged_table.png'").c_str());
  EXPECT_TRUE(shown) << "the page never showed";
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  for (const char* ext : {".dbd", ".dbx", ".crt"}) ::DeleteFileA(TempPath(std::string("damagedtab") + ext).c_str());
}
