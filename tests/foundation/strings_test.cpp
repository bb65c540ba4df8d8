#include <gtest/gtest.h>

#include <sstream>

#include "foundation/core/check.h"
#include "foundation/core/hashclass.h"
#include "foundation/core/memstream.h"
#include "foundation/core/streamenc.h"
#include "foundation/core/usstring.h"
#include "platform/core/containers.h"

namespace {
std::vector<std::string> Items(const TUSStrings& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l.ItemAt(i).str());
  return v;
}
}  // namespace

TEST(SplitString, CutsTrimsAndDropsOnlyAnEmptyLastPiece) {
  struct Case { const char* text; char delim; std::vector<std::string> want; };
  const Case cases[] = {
      {"a, b,,c", ',', {"a", "b", "", "c"}},
      {"a;b;", ';', {"a", "b"}},
      {"", ',', {}},
      {"  solo  ", ',', {"solo"}},
      {",", ',', {""}},
      {"GOTOPAGE=3", '=', {"GOTOPAGE", "3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Items(*SplitString(c.text, c.delim)), c.want) << c.text;
}

TEST(TUSStrings, CopyAppendAndCheckedAccess) {
  TUSStrings a;
  for (int i = 0; i < 12; ++i) a.Add(string(std::to_string(i)));
  TUSStrings b(a);
  EXPECT_EQ(Items(b), Items(a));
  EXPECT_EQ(b.Count(), 12);
  TUSStrings c;
  c.Add("x");
  c = a;
  EXPECT_EQ(c.Count(), 12);
  c.Append(a);
  EXPECT_EQ(c.Count(), 24);
  EXPECT_EQ(c[23], "11");
  c.RemoveLast();
  EXPECT_EQ(c.Count(), 23);

  static std::vector<std::string> seen;
  auto old = tsl::SetCheckHandler([](const char* cond, const char* unit, int line) {
    seen.push_back(std::string(cond) + "|" + unit + "|" + std::to_string(line));
  });
  EXPECT_EQ(a[12], "");
  EXPECT_EQ(a.ItemAt(-1), "");
  a[99] = "written to the scratch only";
  EXPECT_EQ(a.Count(), 12);
  tsl::SetCheckHandler(old);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "CheckIndex(loc)|srcpool\\usstring|33");
  EXPECT_EQ(seen[1], "CheckIndex(loc)|srcpool\\usstring|34");
}

TEST(HashClass, HashKeysAndPrinting) {
  EXPECT_EQ(HashClass().HashValue(), 0u);
  EXPECT_EQ(HashClass(string("1")).HashValue(), 0x30u);
  EXPECT_EQ(HashClass(string("12")).HashValue(), 0x3233u);
  EXPECT_EQ(HashClass(string("21")).HashValue(), 0x3130u);
  // Five characters: one full group and a one-byte tail.
  EXPECT_EQ(HashClass(string("abcde")).HashValue(), (5u ^ 0x64636261u) ^ 0x65u);

  HashClass m(7, -3);
  EXPECT_EQ(m.Key(), "-3");
  EXPECT_EQ(m.Value(), 7u);
  EXPECT_TRUE(m == HashClass(0, -3));
  EXPECT_TRUE(HashClass(0, 10) < HashClass(0, 9));  // by key text

  std::ostringstream os;
  os << HashClass(5, 12);
  EXPECT_EQ(os.str(), "'12' hash = 12851");
}

TEST(HashClass, CaseInsensitiveModeFoldsKeys) {
  HashClass lower(string("abc")), upper(string("ABC"));
  EXPECT_FALSE(lower == upper);
  EXPECT_NE(lower.HashValue(), upper.HashValue());
  {
    tsl::CaseInsensitiveScope scope;
    EXPECT_TRUE(lower == upper);
    EXPECT_EQ(lower.HashValue(), upper.HashValue());
    TIHashTableImp<HashClass> table;
    table.Add(new HashClass(string("W\xf6rter")));  // code page 1252
    HashClass probe(string("W\xd6RTER"));
    EXPECT_NE(table.Find(&probe), nullptr);
  }
  EXPECT_TRUE(string::is_case_sensitive());
}

TEST(TMemStream, WriteGrowsRespectsMaximumAndSpillsToFile) {
  TMemStream s(4, 8);
  EXPECT_EQ(s.Write("", -1), -1);
  EXPECT_EQ(s.Write("abc", 0), 0);
  EXPECT_EQ(s.Write("abcdef", 6), 6);
  EXPECT_EQ(s.Capacity(), 12u);  // capacity + growth beats position + count
  EXPECT_EQ(s.Used(), 6u);

  TMemStream capped(4, 4, 8);
  EXPECT_EQ(capped.Write("abcdefgh", 8), 8);
  EXPECT_EQ(capped.Write("i", 1), -1);  // no file to spill to: refused
  EXPECT_EQ(capped.Used(), 8u);

  tsl::MemoryStream file;
  TMemStream spill(4, 4, 8, &file);
  EXPECT_EQ(spill.Write("abcdefgh", 8), 8);
  EXPECT_EQ(spill.Write("ij", 2), 2);
  EXPECT_EQ(std::string(file.Data().begin(), file.Data().end()), "abcdefgh");
  EXPECT_EQ(spill.Used(), 2u);

  TMemStream closed(4, 4);
  closed.Close();
  EXPECT_EQ(closed.Write("a", 1), -1);
}

TEST(TMemStream, EncodingsRoundTripAndShortReadsLeavePosition) {
  TMemStream s(16, 16);
  WriteShortString(string("Seite"), s);
  WriteLong(int32_t{-5}, s);
  struct { int32_t left, top, right, bottom; } r{1, 2, 3, 4};
  WriteRect(r, s);
  s.Seek(0);
  string t;
  int32_t v = 0;
  decltype(r) back{};
  ReadShortString(t, s);
  ReadLong(v, s);
  ReadRect(back, s);
  EXPECT_EQ(t, "Seite");
  EXPECT_EQ(v, -5);
  EXPECT_EQ(back.bottom, 4);

  TMemStream img("\x01\x02", 2);
  int32_t keep = 9;
  ReadLong(keep, img);
  EXPECT_EQ(keep, 9);
  EXPECT_EQ(img.Position(), 0);
}
