// tslmake's database description: written through the database's writers,
// read back by the loaders, and dumped in tree order.
#include <gtest/gtest.h>

#include "database/core/dbdump.h"
#include "tools/core/tslmake_db.h"

TEST(DatabaseDescription, WritesAPairThatLoadsAsDescribed) {
  const char* text = R"(
field "Autor"
field "Jahr"
category 1 -1 "Bücher" open
category 2 1 "Romane" "roman"
data 10 "Faust" "Goethe" "1808"
data 11 "Lenz" "Büchner"
entry 5 2 10 data pos 1     # stored before its category
entry 0 1 -1 category
entry 1 2 -1 category
entry 6 2 11 data pos 0 pictures 3
extras 3 1 "Bild"
)";
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(text, nodes, extras, line, reason)) << line << ": " << reason;
  EXPECT_EQ(nodes.NextEntryId, 7u);
  tsl::MemoryStream dbd, dbi;
  ASSERT_TRUE(nodes.Save(dbd));
  ASSERT_TRUE(extras.Save(dbi));
  dbd.Seek(0);
  dbi.Seek(0);
  TDBNodeManager loaded;
  loaded.Load(dbd);
  TDBSpecialManager loadedExtras;
  loadedExtras.Load(dbi);
  EXPECT_EQ(DumpTreeDatabase(loaded),
            "field Autor\n"
            "field Jahr\n"
            "Bücher #0\n"
            "  Romane #1\n"
            "    Lenz #6 | Büchner | \n"
            "    Faust #5 | Goethe | 1808\n");
  ASSERT_NE(loadedExtras.FindRecord(loaded.FindEntry(6)->PictureExtrasId, 1), nullptr);
  EXPECT_EQ(loadedExtras.FindRecord(3, 1)->Text1, "Bild");

  TDBNodeManager bad;
  EXPECT_FALSE(tslmake::ParseDatabase("entry 1 2 3 other\n", bad, extras, line, reason));
  EXPECT_EQ(line, 1);
}
