// Extras records (.dbi) laid down byte by byte, and the load of a page's
// database through the host: the table-format test and the tree pair.
#include <gtest/gtest.h>

#include "database/core/dbload.h"
#include "engine/format/bytes.h"
#include "foundation/core/index/memhost.h"

namespace {

std::vector<uint8_t> ActionBytes() {
  tsl::MemoryStream s;
  TActionStruct a;
  a.Write(s);
  return s.Data();
}

// A packed DIB: a 40-byte info header for a 1 x 1 picture at 24 bits.
std::vector<uint8_t> TinyDib() {
  Bytes b;
  b.u32(40).i32(1).i32(1).u16(1).u16(24).u32(0).u32(4).i32(0).i32(0).u32(0).u32(0);
  b.u8(1).u8(2).u8(3).u8(0);
  return b.data();
}

Bytes& Record(Bytes& b, int32_t id, uint16_t kind, bool pic1, bool pic2, const char* text = "t") {
  b.i32(id).u32(0x06).u16(kind).u32(0x00FF00).u32(0x0000FF).str(text).str("");
  for (int i = 0; i < 4; ++i) b.append(ActionBytes());
  FontBytes(b, "Arial", 12);
  b.u8(pic1 ? 1 : 0).u8(pic2 ? 1 : 0);
  const auto dib = TinyDib();
  for (bool p : {pic1, pic2})
    if (p) b.u16(0x4D42).u32(static_cast<uint32_t>(dib.size()) + 40).u32(0).u32(0).append(dib);
  return b;
}

void LoadDbi(TDBSpecialManager& m, const Bytes& b) {
  tsl::MemoryStream s = b.stream();
  m.Load(s);
}

}  // namespace

TEST(TDBSpecialManager, LoadsTheLayout) {
  Bytes b;
  b.u32(0x0059B844).u32(77).i32(3);
  Record(b, 9, 1, true, false, "neun");
  Record(b, 2, 0, false, true, "zwei");
  Record(b, 9, 2, false, false, "noch neun");
  TDBSpecialManager m;
  LoadDbi(m, b);
  EXPECT_EQ(m.HeaderValue, 77u);
  ASSERT_EQ(m.Count(), 3);
  EXPECT_EQ(m.At(0).Text1, "zwei");
  EXPECT_EQ(m.At(1).Text1, "neun") << "equal ids keep the file order";
  EXPECT_EQ(m.At(2).Text1, "noch neun");
  const TDBSpecial& r = m.At(1);
  EXPECT_EQ(r.Flags, 0x06u);
  EXPECT_EQ(r.Color1, 0x00FF00u) << "colours come before the texts";
  EXPECT_EQ(r.Color2, 0x0000FFu);
  EXPECT_EQ(r.Picture1, TinyDib());
  EXPECT_TRUE(r.Picture2.empty());
  EXPECT_STREQ(r.Font.lfFaceName, "Arial");
  EXPECT_EQ(m.At(0).Picture2, TinyDib());
  EXPECT_NE(m.FindRecord(2, 0), nullptr);
  EXPECT_EQ(m.FindRecord(2, 1), nullptr) << "the kind must match";
  EXPECT_EQ(m.Find(5), -1);

  // Write and read again: the same records.
  tsl::MemoryStream out;
  ASSERT_TRUE(m.Save(out));
  TDBSpecialManager again;
  out.Seek(0);
  again.Load(out);
  ASSERT_EQ(again.Count(), 3);
  EXPECT_EQ(again.At(1).Picture1, TinyDib());
  EXPECT_EQ(again.At(2).Text1, "noch neun");
}

TEST(TDBSpecialManager, BadFiles) {
  Bytes good;
  good.u32(0x0059B844).u32(0).i32(1);
  Record(good, 4, 1, true, true);
  struct Case {
    const char* what;
    Bytes bytes;
    int count;
  };
  Bytes wrong = good;
  wrong.put32(0, 0x0059B845);
  Bytes zero;
  zero.u32(0x0059B844).u32(0).i32(0);
  Record(zero, 4, 1, false, false);
  Bytes huge;
  huge.u32(0x0059B844).u32(0).i32(0x7FFFFFFF);
  Record(huge, 4, 1, false, false);
  Bytes noBm;
  noBm.u32(0x0059B844).u32(0).i32(1).i32(4).u32(0).u16(1).u32(0).u32(0).str("").str("");
  for (int i = 0; i < 4; ++i) noBm.append(ActionBytes());
  FontBytes(noBm, "Arial", 12);
  noBm.u8(1).u8(0).u16(0x1234).zeros(12);
  const std::vector<Case> cases = {
      {"wrong magic", wrong, 0},
      {"count 0 reads nothing", zero, 0},
      {"a count beyond the file", huge, 1},
      {"a picture without BM", noBm, 1},
  };
  TDBSpecialManager m;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadDbi(m, good);  // every load empties first
    ASSERT_EQ(m.Count(), 1);
    LoadDbi(m, c.bytes);
    EXPECT_EQ(m.Count(), c.count);
    if (c.count) {
      EXPECT_TRUE(m.At(0).Picture1.empty());
    }
  }
  for (size_t cut = 0; cut < good.size(); cut += 7) {
    SCOPED_TRACE(cut);
    std::vector<uint8_t> part(good.data().begin(), good.data().begin() + cut);
    LoadDbi(m, Bytes().append(part));
    EXPECT_LE(m.Count(), 1);
  }
}

TEST(LoadTreeDatabase, TableFormatTestAndTreePair) {
  struct Case {
    const char* what;
    Bytes head;
    bool table;
  };
  auto head = [](const char* tag, int16_t fields, int16_t version) {
    Bytes b;
    b.raw(tag, 4).i16(fields).i16(version).u32(0);
    return b;
  };
  Bytes shortHead;
  shortHead.raw("DBD", 4).i16(3).i16(1).u16(0);
  const std::vector<Case> cases = {
      {"lower case tag", head("dbd\0", 33, 1), true},
      {"any fourth byte", head("DbDx", 0, 1), true},
      {"34 fields", head("DBD\0", 34, 1), false},
      {"negative fields", head("DBD\0", -1, 1), false},
      {"version 2", head("DBD\0", 3, 2), false},
      {"11 header bytes", shortHead, false},
      {"other tag", head("DBX\0", 3, 1), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tsl::TMemPackHost host;
    host.PutFile("C:\\P\\db\\kunden.dat", c.head.data());
    EXPECT_EQ(IsDbdTableFile(host, "C:\\P\\db\\kunden.dat"), c.table);
  }

  tsl::TMemPackHost host;
  Bytes dbd;
  dbd.u32(0x02DA5B0A).u16(0).u32(0).i16(0).i16(0).u32(1).u32(0).u32(1);
  dbd.i32(1).i32(0).i32(-1).u32(0).u8(0).str("Kat").str("");
  dbd.i32(0);  // no data records
  dbd.i32(1).i32(0).i32(0).i32(-1).u8(1).i32(-1).u16(3).i32(7).i32(0x7FFFFFFF).i32(0x7FFFFFFF);
  Bytes dbi;
  dbi.u32(0x0059B844).u32(0).i32(1);
  Record(dbi, 7, 1, false, false);
  host.PutFile("C:\\P\\db\\kunden.xyz", std::string("anything"));
  host.PutFile("C:\\P\\db\\kunden.dbd", dbd.data());
  host.PutFile("C:\\P\\db\\kunden.dbi", dbi.data());
  std::unique_ptr<TDBNodeManager> nodes;
  std::unique_ptr<TDBSpecialManager> specials;
  ASSERT_TRUE(LoadTreeDatabase({nodes, specials}, "C:\\P\\db\\kunden.xyz", host));
  ASSERT_TRUE(nodes && specials);
  EXPECT_STREQ(nodes->GetEntryName(nodes->FindEntry(0)), "Kat");
  EXPECT_EQ(nodes->CurrentEntryId, 0);
  EXPECT_NE(specials->FindRecord(nodes->FindEntry(0)->PictureExtrasId, 1), nullptr);

  // Loading again makes new managers with the same records (a mark on
  // the old one does not survive).
  nodes->CurrentEntryId = 4711;
  ASSERT_TRUE(LoadTreeDatabase({nodes, specials}, "C:\\P\\db\\kunden.xyz", host));
  EXPECT_EQ(nodes->CurrentEntryId, 0);
  EXPECT_EQ(nodes->EntryCount(), 1);

  // A table-format file replaces the tree (here by an empty one: it has no
  // catalogue) and keeps the extras.
  host.PutFile("C:\\P\\db\\tab.dbd", head("DBD\0", 3, 1).data());
  nodes->CurrentEntryId = 4711;
  const TDBSpecialManager* extras = specials.get();
  EXPECT_TRUE(LoadTreeDatabase({nodes, specials}, "C:\\P\\db\\tab.dbd", host));
  EXPECT_EQ(nodes->CurrentEntryId, kNoDbId);
  EXPECT_EQ(nodes->EntryCount(), 0);
  EXPECT_EQ(specials.get(), extras);
  EXPECT_EQ(specials->Count(), 1);

  // Missing pair files leave their parts empty; an empty path gives false.
  EXPECT_TRUE(LoadTreeDatabase({nodes, specials}, "C:\\P\\none.dat", host));
  EXPECT_EQ(nodes->EntryCount(), 0);
  EXPECT_EQ(specials->Count(), 0);
  EXPECT_FALSE(LoadTreeDatabase({nodes, specials}, "", host));
  EXPECT_TRUE(nodes && specials);
}
