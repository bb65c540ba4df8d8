// A search run's field set, hit labels and result messages.
#include <gtest/gtest.h>

#include <string>

#include "database/core/searchrun.h"

namespace {

TEST(SearchRun, FieldsByPositionAndName) {
  TDBNodeManager db;
  for (const char* n : {"Name", "Ort", "Jahr"}) {
    TDBFieldInfo f;
    f.Name = n;  // tree-format files store no field numbers
    db.AddField(f);
  }
  EXPECT_EQ(FindDatabaseFieldIndex(db, "ort"), 1);
  EXPECT_EQ(FindDatabaseFieldIndex(db, "JAHR"), 2);
  EXPECT_EQ(FindDatabaseFieldIndex(db, "Land"), -1);
  EXPECT_EQ(FindDatabaseFieldIndex(db, nullptr), -1);
  TDBData two;
  two.Values.Add(string("a"));
  two.Values.Add(string("b"));
  const int values = two.Values.Count();
  EXPECT_EQ(FindDatabaseFieldIndex(db, "Jahr", &two), values > 2 ? 2 : -1);

  const TSearchFieldSet set = ResolveSearchFields(db, {"Jahr", "Land", "name"}, "Ort", true);
  EXPECT_EQ(set.Indexes, (std::vector<int32_t>{2, 0}));
  EXPECT_EQ(set.LabelField, 1);
  EXPECT_EQ(ResolveSearchFields(db, {}, "Ort", false).LabelField, -1);
  EXPECT_EQ(ResolveSearchFields(db, {}, "Land", true).LabelField, -1);
}

TEST(SearchRun, MessagesAndLabels) {
  TSearchMessageTexts none, ini;
  ini.OneFound = "Einer";
  ini.ManyFound = "%s %d Treffer, 100% sicher, %d";
  ini.NoneNew = "Nichts Neues";
  ini.NotFound = "Weg";
  const std::string notFound = "Eintrag nicht gefunden!";
  struct Case {
    const char* what;
    const TSearchMessageTexts& texts;
    bool grew;
    int n;
    const char* want;
  };
  const Case cases[] = {
      {"one", none, true, 1, "Es wurde ein Eintrag gefunden."},
      {"several", none, true, 3, "Es wurden 3 Eintr\xE4ge gefunden"},
      {"found, none new", none, true, 0, "Es wurde kein neuer Eintrag gefunden."},
      {"not found", none, false, 0, "Eintrag nicht gefunden!"},
      {"ini: one", ini, true, 1, "Einer"},
      {"ini: only the first %d is the number", ini, true, 3, "%s 3 Treffer, 100% sicher, %d"},
      {"ini: none new", ini, true, 0, "Nichts Neues"},
      {"ini: not found", ini, false, 5, "Weg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SearchResultMessage(c.texts, c.grew, c.n, notFound), c.want);
  }
  EXPECT_EQ(HitLabel("Kiel", 2), "Suchwort=Kiel, 2.er Eintrag");
  const std::string longWord(1000, 'w');
  EXPECT_EQ(HitLabel(longWord, 12), "Suchwort=" + std::string(255, 'w') + ", 12.er Eintrag");
}

}  // namespace
