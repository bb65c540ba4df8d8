// dBase tables: the bytes TDBASE writes, the tables it reads (laid down byte
// by byte, damaged, and written by python3-dbf), and python3-dbfread reading
// what TDBASE writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "database/core/tdbase.h"
#include "engine/format/bytes.h"

namespace {

std::string TempDir() {
  char tmpl[] = "/tmp/tdbase_test_XXXXXX";
  const char* d = mkdtemp(tmpl);
  return d ? d : "/tmp";
}
std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}
void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}
bool Exists(const std::string& path) { return std::ifstream(path).good(); }
std::string Str(const Bytes& b) { return std::string(b.data().begin(), b.data().end()); }
uint32_t U32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 | static_cast<uint8_t>(s[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
uint16_t U16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}
std::string Field(TDBASE& t, uint32_t rec, int field) {
  std::string s;
  uint16_t ok = 7;
  const bool got = t.GetField(rec, field, s, &ok);
  EXPECT_EQ(got, ok == 1);
  return got ? s : "<none>";
}

// A field descriptor from the format table.
Bytes& Descr(Bytes& b, const std::string& name, char type, uint8_t length, uint8_t decimals = 0) {
  return b.fixed(name, 11).u8(static_cast<uint8_t>(type)).zeros(4).u8(length).u8(decimals).zeros(14);
}

class TDBaseTest : public ::testing::Test {
protected:
  void SetUp() override { dir_ = TempDir(); }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string dir_;
};

TEST_F(TDBaseTest, CreatedTableBytes) {
  const std::string dbf = Path("two.DBF");
  {
    TDBASE t(dbf.c_str(), 1, 2);
    ASSERT_TRUE(t.SetField(0, "ALPHA", 0, 3, 0));
    ASSERT_TRUE(t.SetField(1, "BETA", 2, 5, 2));
    ASSERT_TRUE(t.CreateFiles());
    t.PutField(0, 1, "42", 2);
    t.PutField(0, 0, "abcdef", 6);
  }
  const std::string s = ReadAll(dbf);
  ASSERT_EQ(s.size(), 97u + 9u + 1u);
  EXPECT_EQ(static_cast<uint8_t>(s[0]), 0x03);
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  EXPECT_EQ(static_cast<uint8_t>(s[1]), (tm.tm_year + 1900) % 100);
  EXPECT_EQ(static_cast<uint8_t>(s[2]), tm.tm_mon + 1);
  EXPECT_EQ(U32(s, 4), 1u);
  EXPECT_EQ(U16(s, 8), 97);
  EXPECT_EQ(U16(s, 10), 9);
  EXPECT_EQ(s.substr(12, 20), std::string(20, '\0'));
  EXPECT_EQ(s.substr(32, 11), std::string("ALPHA\0\0\0\0\0\0", 11));
  EXPECT_EQ(s[43], 'C');
  EXPECT_EQ(static_cast<uint8_t>(s[48]), 3);
  EXPECT_EQ(s[64 + 11], 'N');
  EXPECT_EQ(static_cast<uint8_t>(s[64 + 17]), 2);
  EXPECT_EQ(static_cast<uint8_t>(s[96]), 0x0D);
  EXPECT_EQ(s.substr(97, 9), " abc   42") << "C keeps its first characters, N is right-aligned";
  EXPECT_EQ(static_cast<uint8_t>(s[106]), 0x1A);
  EXPECT_FALSE(Exists(Path("two.DBT")));
}

TEST_F(TDBaseTest, BlankRecordsAndValueForms) {
  const std::string dbf = Path("forms.DBF");
  {
    TDBASE t(dbf.c_str(), 2, 5);
    ASSERT_TRUE(t.SetField(0, "D", 1, 99, 0));
    ASSERT_TRUE(t.SetField(1, "L", 3, 50, 0));
    ASSERT_TRUE(t.SetField(2, "N", 2, 5, 0));
    ASSERT_TRUE(t.SetField(3, "C", 0, 4, 0));
    ASSERT_TRUE(t.SetField(4, "B", 5, 10, 0));
    ASSERT_TRUE(t.CreateFiles());
    t.PutField(0, 0, "7.3.1999", 8);
    t.PutField(1, 0, "7.3.99", 6);
    t.PutField(0, 1, "12", 2);
    t.PutField(1, 1, "0", 1);
    t.PutField(0, 2, "123456789", 9);
    t.PutField(1, 3, "xy", 2);
    t.PutField(0, 4, "binary", 6);
    t.PutField(2, 3, "zz", 2);   // no such record
    t.PutField(0, 5, "zz", 2);   // no such field
    t.PutField(0, 3, "zz", 0);   // empty length
  }
  const std::string s = ReadAll(dbf);
  const size_t rec = 1 + 8 + 1 + 5 + 4 + 10;
  const size_t head = 32 * 5 + 33;
  ASSERT_EQ(s.size(), head + 2 * rec + 1);
  EXPECT_EQ(static_cast<uint8_t>(s[0]), 0x83) << "a B field counts as memo";
  EXPECT_EQ(s.substr(head, rec), " 19990307Y56789              ");
  EXPECT_EQ(s.substr(head + rec, rec), " 99  0307N     xy            ");
  EXPECT_TRUE(Exists(Path("forms.DBT")));
}

TEST_F(TDBaseTest, SetFieldRules) {
  TDBASE t(Path("rules.DBF").c_str(), 1, 7);
  struct R {
    const char* what;
    const char* name;
    int type, length;
    char wantType;
    int wantLength;
    const char* wantName;
  } cases[] = {
      {"length 0", "A", 0, 0, 'C', 1, "A"},
      {"length 300", "B", 0, 300, 'M', 10, "B"},
      {"length 256 does not fit the byte", "C", 2, 256, 'M', 10, "C"},
      {"length 255 fits", "D", 0, 255, 'C', 255, "D"},
      {"date", "E", 1, 3, 'D', 8, "E"},
      {"logical", "F", 3, 9, 'L', 1, "F"},
      {"name of 12 characters", "ABCDEFGHIJKL", 4, 1, 'M', 10, "ABCDEFGHIJ"},
  };
  int i = 0;
  for (const R& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(t.SetField(i, c.name, c.type, c.length, 0));
    TDBASE_FELD_DESCR d;
    ASSERT_TRUE(t.GetFieldDescr(i, d));
    EXPECT_EQ(d.type, c.wantType);
    EXPECT_EQ(d.length, c.wantLength);
    EXPECT_STREQ(d.name, c.wantName);
    EXPECT_EQ(d.name[10], 0);
    ++i;
  }
  EXPECT_EQ(t.RecordLength(), 1 + 1 + 10 + 10 + 255 + 8 + 1 + 10);
  EXPECT_FALSE(t.SetField(7, "X", 0, 1, 0));
  EXPECT_FALSE(t.SetField(-1, "X", 0, 1, 0));
  EXPECT_FALSE(t.SetField(0, "X", 6, 1, 0));
  TDBASE_FELD_DESCR d;
  EXPECT_FALSE(t.GetFieldDescr(7, d));
  EXPECT_EQ(t.FieldPosition(0, 7), -1);
  EXPECT_EQ(t.FieldPosition(1, 0), -1);
}

TEST_F(TDBaseTest, MemoBlocks) {
  const std::string dbf = Path("memo.DBF");
  const std::string m512(512, 'm');
  {
    TDBASE empty(Path("empty.DBF").c_str(), 1, 1);
    ASSERT_TRUE(empty.SetField(0, "TEXT", 4, 10, 0));
    ASSERT_TRUE(empty.CreateFiles());
  }
  const std::string dbt0 = ReadAll(Path("empty.DBT"));
  ASSERT_EQ(dbt0.size(), 512u);
  EXPECT_EQ(U32(dbt0, 0), 1u);
  EXPECT_EQ(dbt0.substr(4), std::string(508, '\0'));
  {
    TDBASE t(dbf.c_str(), 2, 2);
    ASSERT_TRUE(t.SetField(0, "TEXT", 4, 10, 0));
    ASSERT_TRUE(t.SetField(1, "NAME", 0, 3, 0));
    ASSERT_TRUE(t.CreateFiles());
    t.PutField(0, 0, m512.c_str(), 512);
    t.PutField(1, 0, "short", 5);
  }
  const std::string dbt = ReadAll(Path("memo.DBT"));
  ASSERT_EQ(dbt.size(), 512u * 4);
  EXPECT_EQ(U32(dbt, 0), 4u) << "next free block";
  EXPECT_EQ(dbt.substr(512, 512), m512);
  EXPECT_EQ(static_cast<uint8_t>(dbt[1024]), 0x1A) << "a full block puts its end mark in the next";
  EXPECT_EQ(dbt.substr(1025, 511), std::string(511, '\0'));
  EXPECT_EQ(dbt.substr(1536, 6), "short\x1A");
  const std::string s = ReadAll(dbf);
  const size_t head = 32 * 2 + 33;
  EXPECT_EQ(s.substr(head, 14), " 1            ") << "the block number left-aligned";
  EXPECT_EQ(s.substr(head + 14, 14), " 3            ");

  TDBASE r(dbf.c_str());
  ASSERT_EQ(r.Status(), 0u);
  EXPECT_EQ(Field(r, 0, 0), m512);
  EXPECT_EQ(Field(r, 1, 0), "short");
  EXPECT_EQ(Field(r, 1, 1), "   ");
  EXPECT_FALSE(r.DBaseIVMemo());
}

TEST_F(TDBaseTest, OpensTablesLaidDownByteByByte) {
  Bytes b;
  b.u8(0x03).u8(99).u8(3).u8(7).u32(1).u16(97).u16(9).zeros(20);
  Descr(b, "A", 'C', 3);
  Descr(b, "B", 'F', 5, 1);
  b.u8(0x0D).raw(" abc  1.5", 9).u8(0x1A);
  WriteAll(Path("bytes.DBF"), Str(b));
  TDBASE t(Path("bytes.DBF").c_str());
  ASSERT_EQ(t.Status(), 0u);
  EXPECT_EQ(t.FieldCount(), 2);
  TDBASE_FELD_DESCR d;
  ASSERT_TRUE(t.GetFieldDescr(1, d));
  EXPECT_EQ(d.type, 'N') << "F is read as N";
  EXPECT_EQ(Field(t, 0, 0), "abc");
  EXPECT_EQ(Field(t, 0, 1), "  1.5");
  EXPECT_EQ(Field(t, 1, 0), "<none>");

  TDBASE w(Path("w.DBF").c_str(), 1, 1);
  ASSERT_TRUE(w.SetField(0, "A", 0, 1, 0));
  ASSERT_TRUE(w.CreateFiles());
  std::string s;
  EXPECT_FALSE(w.GetField(0, 0, s)) << "a table being created is not read";
}

TEST_F(TDBaseTest, DamagedTables) {
  auto header = [](uint8_t version, uint32_t records, uint16_t headLen, uint16_t recLen) {
    Bytes b;
    b.u8(version).u8(1).u8(1).u8(1).u32(records).u16(headLen).u16(recLen).zeros(20);
    return b;
  };
  struct D {
    const char* what;
    std::string bytes;
    uint32_t status;
    uint32_t records;
  };
  Bytes ok = header(0x03, 1000, 65, 4);
  Descr(ok, "A", 'C', 3).u8(0x0D).raw(" abc", 4).u8(0x1A);
  Bytes wide = header(0x03, 1, 65, 4);
  Descr(wide, "A", 'C', 200).u8(0x0D).raw(" abc", 4);
  Bytes longHead = header(0x03, 1, 2000, 4);
  Descr(longHead, "A", 'C', 3).u8(0x0D);
  Bytes shortHead = header(0x03, 1, 20, 4);
  Bytes noRecord = header(0x03, 1, 65, 0);
  Descr(noRecord, "A", 'C', 0).u8(0x0D);
  const D cases[] = {
      {"version 0x30", Str(header(0x30, 0, 33, 1)), 4, 0},
      {"record count beyond the file is cut", Str(ok), 0, 1},
      {"field longer than the record", Str(wide), 4, 0},
      {"header longer than the file", Str(longHead), 4, 0},
      {"header shorter than its fixed part", Str(shortHead), 4, 0},
      {"record length 0", Str(noRecord), 4, 0},
      {"shorter than a header", std::string("\x03\x01", 2), 4, 0},
      {"empty file", std::string(), 4, 0},
  };
  for (const D& c : cases) {
    SCOPED_TRACE(c.what);
    WriteAll(Path("bad.DBF"), c.bytes);
    TDBASE t(Path("bad.DBF").c_str());
    EXPECT_EQ(t.Status(), c.status);
    if (c.status == 0) {
      EXPECT_EQ(t.RecordCount(), c.records);
      EXPECT_EQ(Field(t, 0, 0), "abc");
      EXPECT_EQ(Field(t, 1, 0), "<none>");
    } else {
      EXPECT_EQ(Field(t, 0, 0), "<none>");
    }
  }
  TDBASE missing(Path("missing.DBF").c_str());
  EXPECT_EQ(missing.Status(), 6u);
  TDBASE nowhere(Path("no/such/dir.DBF").c_str(), 1, 1);
  ASSERT_TRUE(nowhere.SetField(0, "A", 0, 1, 0));
  EXPECT_FALSE(nowhere.CreateFiles());
  EXPECT_EQ(nowhere.Status(), 6u);
  nowhere.PutField(0, 0, "x", 1);  // a no-op after the failure
}

TEST_F(TDBaseTest, DamagedMemos) {
  auto table = [&](const std::string& block, uint8_t version) {
    Bytes b;
    b.u8(version).u8(1).u8(1).u8(1).u32(1).u16(65).u16(11).zeros(20);
    Descr(b, "M", 'M', 10).u8(0x0D).u8(' ').fixed(block, 10).u8(0x1A);
    WriteAll(Path("m.DBF"), Str(b));
  };
  Bytes dbt3;
  dbt3.u32(3).zeros(508).raw("hello\x1A", 6).zeros(506).raw("no end", 6);
  WriteAll(Path("m.DBT"), Str(dbt3));
  struct M {
    const char* what;
    std::string block;
    std::string want;
  } cases[] = {
      {"memo", "1         ", "hello"},
      {"right-aligned number", "         1", "hello"},
      {"no terminator before the end", "2         ", "<none>"},
      {"block beyond the file", "99999     ", "<none>"},
      {"huge block number", "9999999999", "<none>"},
      {"block 0", "0         ", "<none>"},
      {"no number", "          ", "<none>"},
  };
  for (const M& c : cases) {
    SCOPED_TRACE(c.what);
    table(c.block, 0x83);
    TDBASE t(Path("m.DBF").c_str());
    ASSERT_EQ(t.Status(), 0u);
    EXPECT_EQ(Field(t, 0, 0), c.want);
  }
  // dBase IV: block size at 20, each memo behind an 8-byte head whose length
  // counts the head.
  Bytes dbt4;
  dbt4.u32(3).zeros(16).u16(64).zeros(64 - 22);
  dbt4.u32(0x0008FFFF).u32(8 + 5).raw("fourX", 5).zeros(64 - 13);
  dbt4.u32(0x0008FFFF).u32(4000000000u).raw("long", 4);
  WriteAll(Path("m.DBT"), Str(dbt4));
  table("1", 0x8B);
  {
    TDBASE t(Path("m.DBF").c_str());
    ASSERT_EQ(t.Status(), 0u);
    EXPECT_TRUE(t.DBaseIVMemo());
    EXPECT_EQ(t.BlockSize(), 64);
    EXPECT_EQ(Field(t, 0, 0), "fourX");
  }
  table("2", 0x8B);
  {
    TDBASE t(Path("m.DBF").c_str());
    EXPECT_EQ(Field(t, 0, 0), "long") << "a length beyond the file is cut to it";
  }
  // Recognised by the mark at 512 in a memo file of version 0x83.
  Bytes mark;
  mark.u32(2).zeros(16).u16(512).zeros(512 - 22).u32(0x0008FFFF).u32(8 + 3).raw("abc", 3).zeros(512 - 11);
  WriteAll(Path("m.DBT"), Str(mark));
  table("1", 0x83);
  TDBASE t(Path("m.DBF").c_str());
  EXPECT_TRUE(t.DBaseIVMemo());
  EXPECT_EQ(Field(t, 0, 0), "abc");
  std::remove(Path("m.DBT").c_str());
  TDBASE noMemo(Path("m.DBF").c_str());
  EXPECT_EQ(noMemo.Status(), 0u);
  EXPECT_EQ(Field(noMemo, 0, 0), "<none>");
}

TEST(TDBaseFieldMapTest, NamesNumbersAndMatching) {
  TDBaseFieldMap a(3, false);
  EXPECT_STREQ(a.GetName(0), "");
  EXPECT_EQ(a.GetName(3), nullptr);
  EXPECT_EQ(a.GetName(-1), nullptr);
  int32_t n = 0;
  ASSERT_TRUE(a.GetNumber(1, n));
  EXPECT_EQ(n, -1);
  ASSERT_TRUE(a.SetEntry(0, "Name", 10));
  ASSERT_TRUE(a.SetEntry(1, "Ort", 20));
  ASSERT_TRUE(a.SetEntry(2, "name", 30));
  EXPECT_FALSE(a.SetEntry(3, "x", 1));
  EXPECT_EQ(a.FindByNumber(20), 1);
  EXPECT_EQ(a.FindByNumber(99), -1);
  EXPECT_EQ(a.FindByName("NAME"), 0) << "case-insensitive, the first wins";
  EXPECT_EQ(a.FindByName("PLZ"), -1);
  TDBaseFieldMap b(3, true);
  b.SetEntry(0, "ORT", 1);
  b.SetEntry(1, "plz", 2);
  b.SetEntry(2, "nAmE", 3);
  a.MatchNames(b);
  int32_t s = 0;
  ASSERT_TRUE(b.GetSecond(0, s));
  EXPECT_EQ(s, 20);
  ASSERT_TRUE(b.GetSecond(1, s));
  EXPECT_EQ(s, -1);
  ASSERT_TRUE(b.GetSecond(2, s));
  EXPECT_EQ(s, 10);
  EXPECT_FALSE(a.GetSecond(0, s)) << "no second column";
}

// Peers ----------------------------------------------------------------------

// Debian's interpreter, where python3-dbf and python3-dbfread live.
const char* kPython = "/usr/bin/python3 -W ignore";

std::string Shell(const std::string& cmd) {
  std::string out;
  if (std::FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

TEST_F(TDBaseTest, DbfreadReadsWhatTDBaseWrites) {
  const std::string dbf = Path("peer.DBF");
  const std::string m511(511, 'a'), m512(512, 'b'), m513(513, 'c');
  {
    TDBASE t(dbf.c_str(), 4, 6);
    ASSERT_TRUE(t.SetField(0, "NAME", 0, 12, 0));
    ASSERT_TRUE(t.SetField(1, "NUM", 2, 8, 2));
    ASSERT_TRUE(t.SetField(2, "DAY", 1, 8, 0));
    ASSERT_TRUE(t.SetField(3, "FLAG", 3, 1, 0));
    ASSERT_TRUE(t.SetField(4, "MEMO", 4, 10, 0));
    ASSERT_TRUE(t.SetField(5, "LONGNAME12", 0, 300, 0));
    ASSERT_TRUE(t.CreateFiles());
    const char* names[] = {"K\xE4se", "\xDC" "ber", "Stra\xDF" "e", "x"};
    const char* nums[] = {"12.50", "-3", "0", "1234.56"};
    const std::string* memos[] = {&m511, &m512, &m513, nullptr};
    for (uint32_t r = 0; r < 4; ++r) {
      t.PutField(r, 0, names[r], static_cast<int>(strlen(names[r])));
      t.PutField(r, 1, nums[r], static_cast<int>(strlen(nums[r])));
      t.PutField(r, 2, "7.3.1999", 8);
      t.PutField(r, 3, r % 2 ? "0" : "1", 1);
      if (memos[r]) t.PutField(r, 4, memos[r]->c_str(), static_cast<int>(memos[r]->size()));
      const std::string big = std::string("\xE4", 1) + std::to_string(r);
      t.PutField(r, 5, big.c_str(), static_cast<int>(big.size()));
    }
  }
  const std::string script =
      "import sys, dbfread\n"
      "t = dbfread.DBF(sys.argv[1], encoding='cp1252', char_decode_errors='strict')\n"
      "out = []\n"
      "for r in t:\n"
      "  for k, v in r.items():\n"
      "    if isinstance(v, str) and len(v) > 100: v = v[0] + '*' + str(len(v))\n"
      "    out.append('%s=%r' % (k, v))\n"
      "sys.stdout.buffer.write(('\\n'.join(out) + '\\n').encode('cp1252'))\n";
  WriteAll(Path("read.py"), script);
  const std::string got = Shell(std::string(kPython) + " " + Path("read.py") + " " + dbf + " 2>&1");
  const std::string want =
      "NAME='K\xE4se'\nNUM=12.5\nDAY=datetime.date(1999, 3, 7)\nFLAG=True\nMEMO='a*511'\nLONGNAME12='\xE4" "0'\n"
      "NAME='\xDC" "ber'\nNUM=-3\nDAY=datetime.date(1999, 3, 7)\nFLAG=False\nMEMO='b*512'\nLONGNAME12='\xE4" "1'\n"
      "NAME='Stra\xDF" "e'\nNUM=0\nDAY=datetime.date(1999, 3, 7)\nFLAG=True\nMEMO='c*513'\nLONGNAME12='\xE4" "2'\n"
      "NAME='x'\nNUM=1234.56\nDAY=datetime.date(1999, 3, 7)\nFLAG=False\nMEMO=None\nLONGNAME12='\xE4" "3'\n";
  EXPECT_EQ(got, want);
}

TEST_F(TDBaseTest, TDBaseReadsWhatPythonDbfWrites) {
  const std::string script =
      "import sys, dbf\n"
      "fields = 'name C(20); num N(8,2); day D; flag L' + ('; memo M' if sys.argv[2] == 'memo' else '')\n"
      "t = dbf.Table(sys.argv[1], fields, codepage='cp1252', dbf_type='db3')\n"
      "t.open(dbf.READ_WRITE)\n"
      "m = sys.argv[2] == 'memo'\n"
      "t.append(('K\\xe4se', 12.5, dbf.Date(1999, 3, 7), True) + (('\\xfc' * 700,) if m else ()))\n"
      "t.append(('b', -3, dbf.Date(2001, 12, 24), False) + (('short',) if m else ()))\n"
      "t.close()\n";
  WriteAll(Path("write.py"), script);
  for (const char* kind : {"plain", "memo"}) {
    SCOPED_TRACE(kind);
    const std::string base = Path(std::string("py") + kind);
    Shell(std::string(kPython) + " " + Path("write.py") + " " + base + ".dbf " + kind + " 2>&1");
    ASSERT_TRUE(Exists(base + ".dbf"));
    const bool memo = std::string(kind) == "memo";
    // The player's file system ignores case; this one does not.
    if (memo) std::rename((base + ".dbt").c_str(), (base + ".DBT").c_str());
    TDBASE t((base + ".dbf").c_str());
    ASSERT_EQ(t.Status(), 0u);
    ASSERT_EQ(t.RecordCount(), 2u);
    ASSERT_EQ(t.FieldCount(), memo ? 5 : 4);
    EXPECT_EQ(Field(t, 0, 0), "K\xE4se" + std::string(16, ' '));
    EXPECT_EQ(Field(t, 0, 1), "   12.50");
    EXPECT_EQ(Field(t, 0, 2), "19990307");
    EXPECT_EQ(Field(t, 0, 3), "T");
    EXPECT_EQ(Field(t, 1, 0), "b" + std::string(19, ' '));
    EXPECT_EQ(Field(t, 1, 1), "   -3.00");
    EXPECT_EQ(Field(t, 1, 2), "20011224");
    EXPECT_EQ(Field(t, 1, 3), "F");
    if (memo) {
      EXPECT_EQ(Field(t, 0, 4), std::string(700, '\xFC'));
      EXPECT_EQ(Field(t, 1, 4), "short");
    }
  }
}

}  // namespace
