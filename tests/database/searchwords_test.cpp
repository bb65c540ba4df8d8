// The word lists of the search list dialogs: cutting texts into words, the
// stable case-insensitive order, topics per word, hit bits and field texts.
#include <gtest/gtest.h>

#include <string>

#include "database/core/dbsearch.h"
#include "database/core/searchwords.h"
#include "database/dbtrees.h"

namespace {

std::string Joined(const std::vector<string>& words) {
  std::string s;
  for (const string& w : words) s += std::string("[") + w.c_str() + "]";
  return s;
}

TEST(SearchWords, CuttingTexts) {
  struct Case {
    const char* what;
    const char* text;
    uint32_t options;
    char separator;
    const char* want;
  };
  const Case cases[] = {
      {"repeat dropped, leading blank kept", "Kiel, Ulm ,Kiel", 5, ',', "[Kiel][ Ulm]"},
      {"separators only", ",,,", 5, ',', ""},
      {"separator at the end", "a,b,", 5, ',', "[a][b]"},
      {"without cutting: the whole text", "Kiel, Ulm ", 1, ',', "[Kiel, Ulm]"},
      {"repeats are case-sensitive", "Bonn;bonn;Bonn", 4, ';', "[Bonn][bonn]"},
      {"empty text", "", 5, ',', ""},
      {"blanks only", "   ", 1, ',', ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Joined(CutSearchWords(string(c.text), c.options, c.separator)), c.want);
  }
}

std::string Listed(const TSearchWordArray& a) {
  std::string s;
  for (int i = 0; i < a.GetItemsInContainer(); ++i)
    s += std::string("[") + a[i]->Word.c_str() + "#" + std::to_string(a[i]->EntryId) + "]";
  return s;
}

TEST(SearchWords, SortedInsertionIsStableAndIgnoresCase) {
  TSearchWordArray words(101, 0, 100);
  const char* texts[] = {"Bonn,Aachen", "bonn", "Zell,aachen", "\xC4rger", "Bonn"};
  for (int i = 0; i < 5; ++i)
    AddTextWords(words, TSearchTripelWord(i + 1, 0, string(), 1, 0), string(texts[i]), 5, ',');
  EXPECT_EQ(Listed(words), "[Aachen#1][aachen#3][\xC4rger#4][Bonn#1][bonn#2][Bonn#5][Zell#3]");
  TSearchTripelWord probe(0, 0, string("BONN"), 1, 0);
  const int at = words.Find(&probe);
  ASSERT_NE(at, tsl::kNotFound);
  EXPECT_STREQ(words[at]->Word.c_str() + 1, "onn");
  probe.Word = "Berlin";
  EXPECT_EQ(words.Find(&probe), tsl::kNotFound);
  // Ordered by number: the serial of the plain search's hits.
  TSearchWordArray hits(101, 0, 100);
  const int serials[] = {3, -1, 2, 2};
  for (int i = 0; i < 4; ++i) hits.Add(new TSearchTripelWord(i, 0, string("h"), 0, serials[i]));
  EXPECT_EQ(Listed(hits), "[h#1][h#2][h#3][h#0]");
}

TEST(SearchWords, TopicsUnderEachWord) {
  TSearchWordArray2 words(101, 0, 100);
  AddTextWords2(words, TSearchTripelWord(1, 0, string(), 1, 0), string("Bonn,Kiel"), string("Zweite"), 5, ',');
  AddTextWords2(words, TSearchTripelWord(2, 1, string(), 1, 0), string("bonn,Bonn"), string("Erste"), 5, ',');
  ASSERT_EQ(words.GetItemsInContainer(), 2);
  EXPECT_STREQ(words[0]->Word.c_str(), "Bonn");
  // "bonn" and "Bonn" of the second text are two words of it, both filed
  // under the one list word.
  EXPECT_EQ(Listed(*words[0]->Topics), "[Erste#2][Erste#2][Zweite#1]");
  EXPECT_EQ(Listed(*words[1]->Topics), "[Zweite#1]");
  TSearchTripelWord2 copy(*words[0]);
  EXPECT_EQ(Listed(*copy.Topics), Listed(*words[0]->Topics));
  EXPECT_NE(copy.Topics.get(), words[0]->Topics.get());
}

TEST(SearchWords, HitBitsAndFieldTexts) {
  TTestTree t = MakeTree("A( a1 a2 )");
  TDBData* d = t.M->FindData(t.M->FindEntry(t["a1"])->DataId);
  d->Values.Add(string("eins"));
  d->Values.Add(string("zwei"));
  for (auto* e : {t.M->FindEntry(t["a1"]), t.M->FindEntry(t["A"])}) {
    e->HitBits = 0xFF;
    e->SecondHitBits = 0x0F;
  }
  struct Case {
    int n;
    uint8_t bits, second;
  };
  const Case cases[] = {{8, 0xFF, 0x0F}, {31, 0xFF, 0x0F}, {3, 0xF7, 0x07}, {0, 0xF6, 0x06}, {7, 0x76, 0x06}, {32, 0x76, 0x06}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    ClearSearchHitBit(*t.M, c.n);
    EXPECT_EQ(t.M->FindEntry(t["a1"])->HitBits, c.bits);
    EXPECT_EQ(t.M->FindEntry(t["A"])->SecondHitBits, c.second);
  }
  const int count = d->Values.Count();
  ASSERT_GE(count, 2);
  EXPECT_STREQ(GetEntryFieldText(*t.M, t["a1"], count - 1), d->Values.ItemAt(count - 1).c_str());
  EXPECT_EQ(GetEntryFieldText(*t.M, t["a1"], -1), nullptr);
  EXPECT_EQ(GetEntryFieldText(*t.M, t["a1"], count), nullptr);
  EXPECT_EQ(GetEntryFieldText(*t.M, t["A"], 0), nullptr);
  EXPECT_EQ(GetEntryFieldText(*t.M, 12345, 0), nullptr);
}

}  // namespace
