// The fast search field's search: the typed text against a database field's
// values on a small tree, the index's order and rebuild rule, and what the
// field asks of the project on each path (messages, wait cursor, the
// record it goes to).
#include "objects/core/fastsearch.h"

#include <gtest/gtest.h>

#include <string>

#include "database/dbtrees.h"
#include "engine/core/format/dbaseinfo.h"

namespace {

class TStubHost : public TFastSearchHost {
public:
  const TdBaseInfo* DatabaseInfo() override { return Info; }
  TDBNodeManager* Database() override { return Db; }
  void ShowMessage(const char* text) override { Calls += std::string("message ") + text + ";"; }
  void BeginWait() override { Calls += "wait;"; }
  void EndWait() override { Calls += "cursor back;"; }
  void GotoDBRecord(int32_t id) override { Calls += "record " + std::to_string(id) + ";"; }

  const TdBaseInfo* Info = nullptr;
  TDBNodeManager* Db = nullptr;
  std::string Calls;
};

// Entries and the values of their second field, "Stichwort"; K is a
// category, which has no data record.
struct TFruitTree {
  TFruitTree() : T(MakeTree("A( apfel aerger blank ) K( birne leer ) kurz")) {
    T.M->AddField({"Name", 0xFFFF, 0});
    T.M->AddField({"Stichwort", 0xFFFF, 0});
    const struct {
      const char* entry;
      std::vector<const char*> values;
    } values[] = {{"apfel", {"x", "Apfel"}},  {"aerger", {"x", "\xC4rger"}}, {"blank", {"x", "   "}},
                  {"birne", {"x", " Birne "}}, {"leer", {"x"}},             {"kurz", {"x", "kurz"}}};
    for (const auto& v : values) {
      TDBData* d = T.M->FindData(T.M->FindEntry(T[v.entry])->DataId);
      d->Values.Flush();
      for (const char* s : v.values) d->Values.Add(string(s));
    }
    Info.Flags = kDbInUse;
    Info.Path = "C:\\Projekt\\obst.dbd";
    Host.Info = &Info;
    Host.Db = T.M.get();
  }
  std::string Record(const char* entry) const { return "record " + std::to_string(T[entry]) + ";"; }

  TTestTree T;
  TdBaseInfo Info;
  TStubHost Host;
};

}  // namespace

TEST(FastSearch, TypedTextsAgainstTheFieldValues) {
  const struct {
    const char* what;
    const char* typed;
    const char* found;  // entry name, or null: not found
  } cases[] = {
      {"as stored", "Apfel", "apfel"},
      {"upper case", "APFEL", "apfel"},
      {"lower case with blanks around it", " apfel ", "apfel"},
      {"the line break Enter may leave behind", "apfel\r\n", "apfel"},
      {"only the beginning of a value", "Apf", nullptr},
      {"a longer text", "Apfelbaum", nullptr},
      {"umlauts are not folded", "\xE4rger", nullptr},
      {"the umlaut as stored", "\xC4RGER", "aerger"},
      {"a value stored with blanks", "birne", "birne"},
      {"the last value in the index", "KURZ", "kurz"},
      {"an empty field", "", nullptr},
      {"only blanks: blank values are not in the index", "   ", nullptr},
      {"the other field's values are not searched", "x", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFruitTree f;
    TFastSearchIndex index;
    std::string indexed;
    const TFastSearchResult r = RunFastSearch(index, indexed, "STICHWORT", c.typed, f.Host);
    EXPECT_EQ(index.Size(), 4u) << "Apfel, \xC4rger, Birne and kurz; no blank values, no categories";
    EXPECT_EQ(indexed, "C:\\Projekt\\obst.dbd");
    if (c.found) {
      EXPECT_EQ(r, TFastSearchResult::Found);
      EXPECT_EQ(f.Host.Calls, "wait;" + f.Record(c.found) + "cursor back;");
    } else {
      EXPECT_EQ(r, TFastSearchResult::NotFound);
      EXPECT_EQ(f.Host.Calls, std::string("wait;message ") + kFastSearchNotFound + ";cursor back;");
    }
  }
}

TEST(FastSearch, WithoutADatabaseOnlyItsMessage) {
  TFruitTree f;
  TdBaseInfo unused;  // flag clear
  const struct {
    const char* what;
    const TdBaseInfo* info;
    TDBNodeManager* db;
  } cases[] = {
      {"no descriptor", nullptr, f.T.M.get()},
      {"the descriptor's flag is clear", &unused, f.T.M.get()},
      {"the database could not be read", &f.Info, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    f.Host.Calls.clear();
    f.Host.Info = c.info;
    f.Host.Db = c.db;
    TFastSearchIndex index;
    std::string indexed = "alt";
    EXPECT_EQ(RunFastSearch(index, indexed, "Stichwort", "Apfel", f.Host), TFastSearchResult::NoDatabase);
    EXPECT_EQ(f.Host.Calls, std::string("message ") + kFastSearchNoDatabase + ";") << "the cursor is left alone";
    EXPECT_EQ(indexed, "alt");
  }
}

TEST(FastSearch, AnUnknownFieldIsTriedAgainOnTheNextSearch) {
  TFruitTree f;
  TFastSearchIndex index;
  std::string indexed;
  for (const char* field : {"", "Wohnort"}) {
    SCOPED_TRACE(field);
    f.Host.Calls.clear();
    EXPECT_EQ(RunFastSearch(index, indexed, field, "Apfel", f.Host), TFastSearchResult::NoField);
    EXPECT_EQ(f.Host.Calls, std::string("wait;message ") + kFastSearchNoField + ";cursor back;");
    EXPECT_EQ(indexed, "");
    EXPECT_EQ(index.Size(), 0u);
  }
  f.Host.Calls.clear();
  EXPECT_EQ(RunFastSearch(index, indexed, "Stichwort", "Apfel", f.Host), TFastSearchResult::Found);
}

TEST(FastSearch, TheIndexIsBuiltAgainOnlyForAnotherPath) {
  TFruitTree f;
  TFastSearchIndex index;
  std::string indexed;
  ASSERT_EQ(RunFastSearch(index, indexed, "Stichwort", "Apfel", f.Host), TFastSearchResult::Found);
  // The same file with other contents keeps the index it has.
  TDBData* apple = f.T.M->FindData(f.T.M->FindEntry(f.T["apfel"])->DataId);
  apple->Values.Flush();
  apple->Values.Add(string("x"));
  apple->Values.Add(string("Quitte"));
  EXPECT_EQ(RunFastSearch(index, indexed, "Stichwort", "Apfel", f.Host), TFastSearchResult::Found);
  EXPECT_EQ(RunFastSearch(index, indexed, "Stichwort", "Quitte", f.Host), TFastSearchResult::NotFound);
  // A path differing only in case is another path.
  f.Info.Path = "C:\\PROJEKT\\obst.dbd";
  EXPECT_EQ(RunFastSearch(index, indexed, "Stichwort", "Quitte", f.Host), TFastSearchResult::Found);
  EXPECT_EQ(indexed, "C:\\PROJEKT\\obst.dbd");
}

TEST(FastSearch, AnEmptyPathNeverBuildsTheIndex) {
  TFruitTree f;
  f.Info.Path = "";
  TFastSearchIndex index;
  std::string indexed;
  for (const char* typed : {"Apfel", "kurz"}) {
    f.Host.Calls.clear();
    EXPECT_EQ(RunFastSearch(index, indexed, "Stichwort", typed, f.Host), TFastSearchResult::NotFound);
    EXPECT_EQ(f.Host.Calls, std::string("wait;message ") + kFastSearchNotFound + ";cursor back;");
    EXPECT_EQ(index.Size(), 0u);
  }
}

TEST(FastSearchIndex, OrderedByUnsignedBytesKeepingEqualTexts) {
  TFastSearchIndex index;
  index.Build({string("\xE4pfel"), string("Zebra"), string("apfel"), string("APFEL"), string("Apfel")},
              {1, 2, 3, 4, 5});
  std::string order;
  for (size_t i = 0; i < index.Size(); ++i)
    order += index.At(i).Text + ":" + std::to_string(index.At(i).EntryId) + " ";
  EXPECT_EQ(order, "apfel:3 apfel:4 apfel:5 zebra:2 \xE4pfel:1 ");
  const int64_t at = index.Find("apfel");
  ASSERT_GE(at, 0);
  EXPECT_EQ(index.At(static_cast<size_t>(at)).Text, "apfel");
  EXPECT_EQ(index.Find("\xE4pfel"), 4);
  EXPECT_EQ(index.Find("zebr"), -1);
  EXPECT_EQ(TFastSearchIndex().Find(""), -1) << "an empty index finds nothing";
}

TEST(FastSearchIndex, EveryStoredTextIsFoundAndNoOther) {
  // Sizes around the halving's edges: each stored text is found, and every
  // text between two stored ones is not.
  for (int n = 1; n <= 17; ++n) {
    SCOPED_TRACE(n);
    std::vector<string> texts;
    std::vector<int32_t> ids;
    for (int i = 0; i < n; ++i) {
      texts.push_back(string(("w" + std::to_string(100 + 2 * i)).c_str()));
      ids.push_back(i);
    }
    TFastSearchIndex index;
    index.Build(texts, ids);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(index.Find("w" + std::to_string(100 + 2 * i)), i);
      EXPECT_EQ(index.Find("w" + std::to_string(99 + 2 * i)), -1);
    }
    EXPECT_EQ(index.Find("w" + std::to_string(100 + 2 * n)), -1);
  }
}
