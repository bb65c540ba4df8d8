// The search list dialogs' line texts and the word a typed beginning finds.
#include <gtest/gtest.h>

#include <string>

#include "database/core/searchlist.h"

namespace {

TEST(SearchList, TypedBeginnings) {
  struct Case {
    const char* what;
    const char* word;
    const char* typed;
    bool want;
  };
  const Case cases[] = {
      {"mixed case", "Bergkirche", "bERG", true},
      {"the empty text begins every word", "Ulm", "", true},
      {"the whole word", "Ulm", "ulm", true},
      {"longer than the word", "Ulm", "Ulme", false},
      {"inside the word only", "Hamburg", "burg", false},
      {"umlauts fold too", "\xDC" "berlingen", "\xFC" "ber", true},
      {"the sharp s has no capital", "Stra\xDF" "e", "STRA\xDF", true},
      {"leading blank kept", " Ulm", "ulm", false},
      {"no word", nullptr, "a", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BeginsWithTyped(c.word, c.typed), c.want);
  }
}

TEST(SearchList, FirstWordInArrayOrderAndLinesCut) {
  TSearchWordArray words(101, 0, 100);
  for (const char* w : {"Bonn", "bonn", "Berg", "Ulm", "berlin"}) words.Add(new TSearchTripelWord(1, 0, w, 1, 0));
  // Sorted without case, equal words in the order added.
  ASSERT_EQ(words[0]->Word, string("Berg"));
  struct Case {
    const char* typed;
    const char* want;  // null: none
  };
  const Case cases[] = {{"BER", "Berg"}, {"berl", "berlin"}, {"bon", "Bonn"}, {"x", nullptr}, {"", "Berg"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const int at = FindTypedWord(words, c.typed);
    if (!c.want) {
      EXPECT_EQ(at, -1);
    } else {
      ASSERT_GE(at, 0);
      EXPECT_EQ(words[at]->Word, string(c.want));
    }
  }
  const std::string eighty(80, 'w');
  EXPECT_EQ(SearchListLine(string(eighty.c_str())), std::string(59, 'w'));
  EXPECT_EQ(SearchListLine(string("Ulm")), "Ulm");
}

}  // namespace
