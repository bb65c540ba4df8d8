// The portable key order. Its equality with the system's lstrcmpA over
// generated strings is proved under Wine (keycompare_wintest.cpp); these are
// the word-sort rules the indexes rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/core/index/keycompare.h"
#include "foundation/core/index/indexerr.h"

namespace {

TEST(KeyCompare, WordSortOrder) {
  // Each list is in ascending order.
  const std::vector<std::vector<std::string>> orders = {
      {"", "a", "A", "\xE1", "\xC1", "\xE4", "ab", "Ab", "b", "B"},  // case after accents
      {"coop", "coo-p", "co-op", "co-op-"},    // the hyphen counts last: the earlier, the greater
      {"\x01", "-", "1", "a"},                 // control and hyphen before digits
      {"!", "$", "0", "9", "a"},               // punctuation, digits, letters
      {"sr", "\xDF", "st"},                    // sharp s sorts as "ss"
      {"od", "\x9C", "\x8C", "of"},            // the ligatures as their two letters
      {"2", "\xB2", "3"},                      // superscripts as digits
  };
  for (const auto& order : orders)
    for (size_t i = 0; i + 1 < order.size(); ++i) {
      EXPECT_LT(tsl::AnsiWordCompare(order[i].c_str(), order[i + 1].c_str()), 0)
          << i << ": " << order[i] << " / " << order[i + 1];
      EXPECT_GT(tsl::AnsiWordCompare(order[i + 1].c_str(), order[i].c_str()), 0) << i;
    }
}

TEST(KeyCompare, EqualityAndResultValues) {
  EXPECT_EQ(tsl::AnsiWordCompare("abc", "abc"), 0);
  EXPECT_EQ(tsl::AnsiWordCompare("a\xAD" "bc", "abc"), 0);  // the soft hyphen weighs nothing
  EXPECT_EQ(tsl::AnsiWordCompare("stra\xDF" "e", "strasse"), 0);
  EXPECT_EQ(tsl::AnsiWordCompare("\x9C", "oe"), 0);
  EXPECT_EQ(tsl::AnsiWordCompare("a", "b"), -1);
  EXPECT_EQ(tsl::AnsiWordCompare("b", "a"), 1);
}

TEST(KeyCompare, DefaultCanBeReplaced) {
  EXPECT_EQ(tsl::DefaultKeyCompare(), &tsl::AnsiWordCompare);
  auto bytes = [](const char* a, const char* b) { return std::string(a).compare(b) < 0 ? -1 : std::string(a) == b ? 0 : 1; };
  tsl::SetDefaultKeyCompare(bytes);
  EXPECT_EQ(tsl::DefaultKeyCompare()("B", "a"), -1);
  tsl::SetDefaultKeyCompare(nullptr);
  EXPECT_EQ(tsl::DefaultKeyCompare(), &tsl::AnsiWordCompare);
}

TEST(IndexErrorStream, KeepsRecentLinesOnly) {
  tsl::ClearIndexErrorStream();
  for (int i = 0; i < 20000; ++i) tsl::IndexError("#ERR> TEST: ", "line ", i);
  const std::string text = tsl::IndexErrorText();
  EXPECT_LE(text.size(), 2u * 64 * 1024);
  EXPECT_EQ(text.compare(0, 12, "#ERR> TEST: "), 0);  // whole lines
  EXPECT_NE(text.find("line 19999\n"), std::string::npos);
  tsl::ClearIndexErrorStream();
  EXPECT_EQ(tsl::IndexErrorText(), "");
}

}  // namespace
