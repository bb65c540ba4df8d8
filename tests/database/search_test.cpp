// Searching the tree database: the rewriting of typed queries, the match
// routine in plain and query mode, and the tree walk with its hit bits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/core/dbsearch.h"
#include "database/core/searchtext.h"
#include "database/dbtrees.h"

namespace {

TEST(SearchText, PreparingTheInput) {
  struct Case {
    const char* what;
    const char* in;
    bool whole, matchCase;
    TSearchInput kind;
    const char* out;
  };
  const Case cases[] = {
      {"plain word, blanks stripped", "  Haus ", false, false, TSearchInput::Plain, "Haus"},
      {"und in a plain word stays", "Hund oder", false, false, TSearchInput::Plain, "Hund oder"},
      {"two words with und", "\"rot\" und \"blau\"", false, false, TSearchInput::Query,
       "^Feld[0]*=^\"rot\" UND ^Feld[0]*=^\"blau\";"},
      {"oder in any case", "\"a\" OdEr \"b\"", false, false, TSearchInput::Query,
       "^Feld[0]*=^\"a\" ODER ^Feld[0]*=^\"b\";"},
      {"parentheses group", "(\"a\" oder \"b\") und \"c\"", false, false, TSearchInput::Query,
       "(^Feld[0]*=^\"a\" ODER ^Feld[0]*=^\"b\") UND ^Feld[0]*=^\"c\";"},
      {"a leading und stays", "und \"a\" und \"b\"", false, false, TSearchInput::Query,
       "und ^Feld[0]*=^\"a\" UND ^Feld[0]*=^\"b\";"},
      {"no word boundary outside quotes", "\"a\"Hunde\"b\"", false, false, TSearchInput::Query,
       "^Feld[0]*=^\"a\"HUNDe^Feld[0]*=^\"b\";"},
      {"inside quotes nothing changes", "\"und oder\"", false, false, TSearchInput::Query,
       "^Feld[0]*=^\"und oder\";"},
      {"whole word and case", "\"a\"", true, true, TSearchInput::Query, "Feld[0]=\"a\";"},
      {"whole word without case", "\"a\"", true, false, TSearchInput::Query, "^Feld[0]=^\"a\";"},
      {"part of a word with case", "\"a\"", false, true, TSearchInput::Query, "Feld[0]*=\"a\";"},
      {"a quote after a backslash counts", "\"a\\\" und \"b\"", false, true, TSearchInput::Query,
       "Feld[0]*=\"a\\\" UND Feld[0]*=\"b\";"},
      {"one quote", "\"abc", false, false, TSearchInput::OddQuotes, nullptr},
      {"three quotes", "\"a\" und \"b", false, false, TSearchInput::OddQuotes, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string word = c.in;
    EXPECT_EQ(PrepareSearchInput(word, c.whole, c.matchCase), c.kind);
    if (c.out) { EXPECT_EQ(word, c.out); }
  }
  EXPECT_EQ(CountQuotes(nullptr), 0);
  EXPECT_EQ(CountQuotes(""), 0);
}

// Sets query mode with a fresh query for the scope of one test.
struct QueryModeScope {
  QueryModeScope() {
    SearchTextState().QueryMode = true;
    SearchTextState().QueryError = false;
    SearchTextState().Query = std::make_unique<QX_QueryCache>();
  }
  ~QueryModeScope() {
    SearchTextState().QueryMode = false;
    SearchTextState().Query.reset();
  }
};

TEST(SearchText, MatchingPlainWordsAndQueries) {
  struct Case {
    const char* what;
    const char* typed;
    bool whole, matchCase;
    const char* field;
    bool hit;
  };
  const Case cases[] = {
      {"contained word", "haus", false, false, "Das Rathaus", true},
      {"case kept", "haus", false, true, "Das Rathaus", true},
      {"case differs", "Haus", false, true, "Das Rathaus", false},
      {"whole word means the whole text", "haus", true, false, "Das Rathaus", false},
      {"whole word, other case", "rathaus", true, false, "Rathaus", true},
      {"empty field", "a", false, false, "", false},
      {"both words", "\"rot\" und \"blau\"", false, false, "Blau und ROT", true},
      {"one word of two", "\"rot\" und \"blau\"", false, false, "rot", false},
      {"either word", "\"rot\" oder \"blau\"", false, false, "gelb blau", true},
      {"grouped", "(\"a\" oder \"b\") und \"c\"", false, false, "b c", true},
      {"grouped, none", "(\"a\" oder \"b\") und \"c\"", false, false, "a b", false},
      {"query with case", "\"Rot\"", false, true, "rot", false},
      {"query whole word", "\"rot\"", true, false, "ROT", true},
      {"query whole word, longer", "\"rot\"", true, false, "rote", false},
      {"umlaut keeps its case in a query", "\"\xE4pfel\"", false, false, "\xC4PFEL", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string word = c.typed;
    const bool query = PrepareSearchInput(word, c.whole, c.matchCase) == TSearchInput::Query;
    QueryModeScope scope;
    SearchTextState().QueryMode = query;
    EXPECT_EQ(MatchSearchText(c.field, word.c_str(), c.matchCase, c.whole), c.hit);
    EXPECT_FALSE(SearchTextState().QueryError);
  }
}

TEST(SearchText, FaultyQueriesRaiseTheErrorFlag) {
  // The last one loops for ever outside the quotes: its budget ends it.
  const char* typed[] = {"\"a\" und", "\"a\" \"b\"", "(\"a\"", "\"a\" und und \"b\"", "solange 1 mache \"a\""};
  for (const char* t : typed) {
    SCOPED_TRACE(t);
    std::string word = t;
    ASSERT_EQ(PrepareSearchInput(word, false, false), TSearchInput::Query);
    QueryModeScope scope;
    EXPECT_FALSE(MatchSearchText("a b", word.c_str(), false, false));
    EXPECT_TRUE(SearchTextState().QueryError);
  }
  // Hostile input is refused by the query language's bounds, not run.
  std::string deep(10000, '(');
  deep += "\"a\"";
  deep += std::string(10000, ')');
  ASSERT_EQ(PrepareSearchInput(deep, false, false), TSearchInput::Query);
  QueryModeScope scope;
  EXPECT_FALSE(MatchSearchText("a", deep.c_str(), false, false));
  EXPECT_TRUE(SearchTextState().QueryError);
}

TEST(SearchText, TheQueryFollowsTheTextUnderTest) {
  QueryModeScope scope;
  std::string word = "\"x\"";
  PrepareSearchInput(word, false, true);
  const char* fields[] = {"axb", "ab", "x", "", "yyx"};
  const bool hits[] = {true, false, true, false, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(MatchSearchText(fields[i], word.c_str(), true, false), hits[i]) << fields[i];
  // The field's own name reads the same text; writing it changes nothing.
  EXPECT_TRUE(MatchSearchText("abc", "Suchfeld := \"q\"; Suchfeld = \"abc\";", true, false));
}

// Gives every data entry of `t` one value: its name in upper case.
void GiveValues(TTestTree& t) {
  for (auto& [name, id] : t.Ids) {
    TDBCategoryData* e = t.M->FindEntry(id);
    if (TDBData* d = e ? t.M->FindData(e->DataId) : nullptr) {
      std::string v = name;
      for (char& c : v) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      d->Values.Add(string(v.c_str()));
    }
  }
}

std::string Names(const TTestTree& t, const std::vector<int32_t>& ids) {
  std::string s;
  for (int32_t id : ids) s += (s.empty() ? "" : " ") + t.Name(id);
  return s;
}

struct TreeSearch {
  TTestTree& t;
  std::vector<string>* collect = nullptr;
  std::string operator()(int32_t slot, const char* word, const TDBNode* start = nullptr) {
    std::vector<int32_t> results;
    const int32_t fields[] = {0};
    const int32_t kinds[] = {0};
    auto match = [](const char* text, void* ctx, uint8_t, uint8_t) {
      return MatchSearchText(text, static_cast<const char*>(ctx), false, false);
    };
    SearchDBTree(*t.M, slot, start ? start : &t.M->Root(), word, 0, 0, 0, 1, fields, kinds, results,
                 match, nullptr, 0, collect);
    return Names(t, results);
  }
};

TEST(SearchDBTree, HitBitsPerSlot) {
  // Pre-order: A ab ax _ B( bx ) cx; C's slot 0 empty.
  TTestTree t = MakeTree("A( ab _ ax B( bx ) ) C( _ cx )");
  GiveValues(t);
  TreeSearch search{t};
  struct Case {
    const char* what;
    int32_t slot;
    const char* word;
    const char* want;
  };
  const Case cases[] = {
      {"slot 0 finds all in pre-order", 0, "x", "ax bx cx"},
      {"slot 0 again: nothing new", 0, "x", ""},
      {"slot 0, a wider word: only the new hit", 0, "b", "ab"},
      {"slot 3 is independent", 3, "x", "ax bx cx"},
      {"slot 7 has its bit", 7, "a", "ab ax"},
      {"slot 7 again", 7, "a", ""},
      {"slot 8 never marks", 8, "x", "ax bx cx"},
      {"slot 8 again", 8, "x", "ax bx cx"},
      {"slot 255 never marks", 255, "c", "cx"},
      {"slot 255 again", 255, "c", "cx"},
      {"slot 32 is slot 0", 32, "x", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(search(c.slot, c.word), c.want);
  }
  EXPECT_EQ(t.M->FindEntry(t["ax"])->HitBits, (1 << 0) | (1 << 3) | (1 << 7));
  EXPECT_EQ(t.M->FindEntry(t["bx"])->HitBits, (1 << 0) | (1 << 3));
  // A subtree and a null start.
  t.M->FindEntry(t["bx"])->HitBits = 0;
  EXPECT_EQ(search(0, "x", t.M->FindCategoryNode(t.M->FindEntry(t["B"])->CategoryId)), "bx");
  std::vector<int32_t> none;
  SearchDBTree(*t.M, 0, nullptr, "x", 0, 0, 0, 0, nullptr, nullptr, none, nullptr, nullptr, 0, nullptr);
  EXPECT_TRUE(none.empty());
}

TEST(SearchDBTree, CollectModeKeepsTheBitsAndSkipsMissingRecords) {
  TTestTree t = MakeTree("A( ab B( bx ) ) cx");
  GiveValues(t);
  t.M->FindEntry(t["ab"])->HitBits = 0xFF;
  // A category whose record is gone: not tested, its children are.
  t.M->FindCategoryNode(t.M->FindEntry(t["B"])->CategoryId)->EntryId = 999;
  std::vector<string> texts;
  TreeSearch search{t, &texts};
  EXPECT_EQ(search(0, "x"), "ab bx cx");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_STREQ(texts[0].c_str(), "AB");
  EXPECT_STREQ(texts[2].c_str(), "CX");
  EXPECT_EQ(t.M->FindEntry(t["ab"])->HitBits, 0xFF);
  EXPECT_EQ(t.M->FindEntry(t["cx"])->HitBits, 0);
}

TEST(SearchDBTree, DeepTreesDoNotExhaustTheStack) {
  const int depth = 20000;
  std::string text;
  for (int i = 0; i < depth; ++i) text += "C" + std::to_string(i) + "( ";
  text += "leaf";
  text += std::string(depth, ')');
  TTestTree t = MakeTree(text);
  GiveValues(t);
  TreeSearch search{t};
  EXPECT_EQ(search(1, "leaf"), "leaf");
}

}  // namespace
