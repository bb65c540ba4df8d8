// The query language and dBase tables as the player uses them: keywords from
// the player's own string table, table files through the Win32 file layer.
#include "wintest.h"

#include <string>

#include "database/core/queryexpr.h"
#include "database/core/tdbase.h"
#include "database/querywin.h"
#include "foundation/resstring.h"
#include "resources/ids_database.h"

namespace {

class TextQuery : public QueryExpr {
public:
  std::string field;
  QX_Error GetField(char** text, int index) override {
    if (index != 0) return QX_Err(16);
    *text = &field[0];
    return nullptr;
  }
};

TEST(QueryWin, KeywordsComeFromTheStringTable) {
  InstallQueryKeywordsFromResources();
  const unsigned ids[] = {IDS_QUERY_UND,     IDS_QUERY_ODER, IDS_QUERY_NICHT, IDS_QUERY_SONST,
                          IDS_QUERY_FELD,    IDS_QUERY_SOLANGE, IDS_QUERY_MACHE, IDS_QUERY_WIEDERHOLE,
                          IDS_QUERY_BIS,     IDS_QUERY_WENN, IDS_QUERY_DANN};
  for (unsigned id : ids) EXPECT_EQ(std::string(LoadResString(id).c_str()), QX_DefaultKeyword(id)) << "string " << id;

  TextQuery q;
  q.field = "\xC4rger im Hausboot";
  ASSERT_EQ(q.Compile("Feld[0] *= \"\xC4rger\" UND Feld[0] *= \"boot\";"), nullptr) << q.ErrorText();
  bool r = false;
  ASSERT_EQ(q.Evaluate(r), nullptr);
  EXPECT_TRUE(r);
  ASSERT_EQ(q.Compile("^Feld[0] *= ^\"\xE4rger\" ODER NICHT Feld[0] *= \"Haus\";"), nullptr);
  ASSERT_EQ(q.Evaluate(r), nullptr);
  EXPECT_FALSE(r) << "upper-casing leaves umlauts: \xE4 stays apart from \xC4";
  EXPECT_NE(q.Compile("Feld[0] *= \"a\" und 1;"), nullptr) << "keywords are case-sensitive";
}

TEST(QueryWin, TablesGoThroughWin32Files) {
  UseWin32DBaseFiles();
  char dir[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
  const std::string dbf = std::string(dir) + "tslquery.DBF";
  {
    TDBASE t(dbf.c_str(), 1, 2);
    ASSERT_TRUE(t.SetField(0, "NAME", 0, 8, 0));
    ASSERT_TRUE(t.SetField(1, "TEXT", 4, 10, 0));
    ASSERT_TRUE(t.CreateFiles());
    t.PutField(0, 0, "K\xE4se", 4);
    const std::string memo(600, '\xFC');
    t.PutField(0, 1, memo.c_str(), static_cast<int>(memo.size()));
  }
  TDBASE r(dbf.c_str());
  ASSERT_EQ(r.Status(), 0u);
  std::string text;
  ASSERT_TRUE(r.GetField(0, 0, text));
  EXPECT_EQ(text, "K\xE4se    ");
  ASSERT_TRUE(r.GetField(0, 1, text));
  EXPECT_EQ(text, std::string(600, '\xFC'));
  TDBASE missing((std::string(dir) + "no\\such.DBF").c_str());
  EXPECT_EQ(missing.Status(), 6u);
  DeleteFileA(dbf.c_str());
  DeleteFileA((std::string(dir) + "tslquery.DBT").c_str());
  SetDBaseFileOpener(nullptr);
}

}  // namespace
