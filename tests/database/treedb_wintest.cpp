// Pages bound to tree databases, read through the page window: each bound
// page loads its pair into the page manager, an unbound page keeps the last
// database, and reading a page again loads it again.
#include "engine/pages/winpages.h"

#include "database/core/dbdump.h"
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

  const TDBNodeManager* first = m.DBNodeManager.get();
  ASSERT_TRUE(p.ReadPage(1));
  EXPECT_EQ(m.DBNodeManager.get(), first) << "an unbound page keeps the last database";

  ASSERT_TRUE(p.ReadPage(2));
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), "Orte #1\n  Städte #0\n");
  EXPECT_EQ(m.DBSpecialManager->Count(), 0);

  const TDBNodeManager* places = m.DBNodeManager.get();
  ASSERT_TRUE(p.ReadPage(3));
  EXPECT_EQ(m.DBNodeManager.get(), places) << "flags without 0x01 load nothing";

  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_EQ(DumpTreeDatabase(*m.DBNodeManager), books) << "reading a page again reloads";
  for (const char* stem : {"books", "places"})
    for (const char* ext : {".dbd", ".dbi", ".dat"}) ::DeleteFileA(TempPath(std::string(stem) + ext).c_str());
}
