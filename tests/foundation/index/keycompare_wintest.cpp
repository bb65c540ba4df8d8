// The portable key order against the system's lstrcmpA on generated
// strings: every pair of one-character strings, every pair of two-character
// strings over the characters that sort specially, and a million random
// pairs (near-equal ones among them, and long ones), in the English and the
// German locale.
#include "wintest.h"

#include <string>
#include <vector>

#include "foundation/core/index/keycompare.h"
#include "foundation/index/packhost.h"

namespace {

// xorshift: <random> does not get along with the min and max macros of the
// Windows headers.
struct Rng {
  uint64_t s;
  explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t operator()() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<uint32_t>(s >> 16);
  }
};

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

std::string Hex(const std::string& s) {
  std::string out;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02X", c);
    out += b;
  }
  return out;
}

// Compares both orders of every given pair; returns the mismatches found.
class Checker {
public:
  void Pair(const std::string& a, const std::string& b) {
    ++pairs_;
    const int want = Sign(lstrcmpA(a.c_str(), b.c_str()));
    const int got = tsl::AnsiWordCompare(a.c_str(), b.c_str());
    if (want != got && bad_.size() < 10) bad_.push_back(Hex(a) + " / " + Hex(b));
    if (want != got) ++mismatches_;
  }
  void Expect() {
    EXPECT_EQ(mismatches_, 0) << "of " << pairs_ << " pairs, e.g. " << (bad_.empty() ? "" : bad_[0]);
    for (const std::string& b : bad_) ADD_FAILURE() << b;
  }
  long pairs_ = 0;

private:
  long mismatches_ = 0;
  std::vector<std::string> bad_;
};

// Characters with special weights, expansions, accents, cases and the
// undefined code points of code page 1252.
const std::string kSpecial =
    std::string("aAbBeEoOsSzZ019-'\x01\x1F\x7F .,!_\x96\x97\xAD\xA0", 30) +
    "\xE1\xC1\xE4\xC4\xDF\x8C\x9C\xC6\xE6\xDE\xFE\xB2\xBD\xAA\x81\x8D\x8F\x90\x9D\x80\x9F\xFF\xD0\xF0";

void SingleCharacters(Checker& c) {
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y)
      c.Pair(x ? std::string(1, static_cast<char>(x)) : std::string(),
             y ? std::string(1, static_cast<char>(y)) : std::string());
}

void TwoCharacters(Checker& c) {
  std::vector<std::string> words;
  for (char x : kSpecial)
    for (char y : kSpecial) words.push_back(std::string{x, y});
  for (size_t i = 0; i < words.size(); ++i)
    for (size_t j = 0; j < words.size(); j += 1 + (i % 3))  // a third to all of them
      c.Pair(words[i], words[j]);
}

void RandomPairs(Checker& c, uint32_t seed, int n) {
  Rng rng(seed);
  auto word = [&]() {
    std::string s;
    const int len = rng() % 50 == 0 ? static_cast<int>(rng() % 300) : static_cast<int>(rng() % 12);
    const bool any = rng() % 2 == 0;
    for (int i = 0; i < len; ++i)
      s += any ? static_cast<char>(1 + rng() % 255) : kSpecial[rng() % kSpecial.size()];
    return s;
  };
  for (int i = 0; i < n; ++i) {
    const std::string a = word();
    std::string b = word();
    switch (rng() % 4) {
      case 0:  // one character changed
        b = a;
        if (!b.empty()) b[rng() % b.size()] = kSpecial[rng() % kSpecial.size()];
        break;
      case 1:  // one inserted
        b = a;
        b.insert(rng() % (b.size() + 1), 1, kSpecial[rng() % kSpecial.size()]);
        break;
      default:
        break;
    }
    c.Pair(a, b);
  }
}

TEST(KeyCompareWine, EqualsLstrcmpA) {
  ASSERT_EQ(GetACP(), 1252u);
  Checker c;
  SingleCharacters(c);
  TwoCharacters(c);
  RandomPairs(c, 1, 1000000);
  c.Expect();
  EXPECT_GT(c.pairs_, 2000000);
}

TEST(KeyCompareWine, EqualsLstrcmpAInGerman) {
  const LCID old = GetThreadLocale();
  ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
  Checker c;
  SingleCharacters(c);
  RandomPairs(c, 2, 200000);
  SetThreadLocale(old);
  c.Expect();
}

TEST(KeyCompareWine, SystemCompareCanOrderTrees) {
  EXPECT_EQ(SystemKeyCompare("a", "B"), -1);
  EXPECT_EQ(SystemKeyCompare("co-op", "coop"), 1);
}

}  // namespace
