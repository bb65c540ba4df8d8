// Page records: header, body, object and data lists with relocatable offset
// tables, the extension block and its version gates; the shared lists; the
// database descriptor.
#include <gtest/gtest.h>

#include "bytes.h"
#include "engine/core/format/pagerecord.h"
#include "engine/core/format/recordctx.h"
#include "engine/core/format/trace.h"
#include "tools/core/desc/tsldesc.h"

using tsl::MemoryStream;

namespace {

// An object description; the tooltip block only in files above version 3.1.
Bytes& InfoBytes(Bytes& b, int16_t kind, uint32_t number, const char* name, bool toolTip = true) {
  const uint32_t placement = 0x4;
  b.i16(kind).u32(number).i32(-1).fixed(name, 32).zeros(32);
  b.u16(0).i32(10).i32(20).i32(110).i32(70);
  b.u32(0x180 | placement | kPropHasText | kPropHasActions).u16(0).i32(1).i32(1).i32(-1).i32(-1).u32(0);
  b.u8(0).u8(0).u8(0).zeros(11).zeros(4);
  if (toolTip) ToolTipBytes(b);
  b.u16(0).u32(0).str(name);
  return b.u32(1).u32(125).u32(0).u32(0).u32(0).u32(0);
}

Bytes& DataBytes(Bytes& b, uint8_t fill, size_t extra, uint32_t length = 0) {
  b.u32(length ? length : static_cast<uint32_t>(16 + extra)).u32(0x1000).u32(0xFFFFFFFF).u32(0xFFFFFFFF);
  for (size_t i = 0; i < extra; ++i) b.u8(fill);
  return b;
}

Bytes& ActionBytes(Bytes& b, uint16_t code) {
  b.u16(code).u32(0).u32(0x1).u32(0).i32(-1).i32(-1).i16(0).u16(1).u16(1);
  return b.str("").str("").str("").str("").u8(0).u32(1000).u32(0).u16(0).u8(',').u32(0);
}

struct PageLayout {
  size_t at = 64;             // where the record starts in the file
  bool dbInfo = true;         // a descriptor behind the page's own info
  bool extension = true;
  int16_t objectCount = 2;
  int16_t secondKind = 1;     // kind of the second object
  uint32_t secondLength = 0;  // its data record's stored length (0: exact)
  bool toolTips = true;       // the form of files above version 3.1
};

// A whole page record laid down as the writer would, at its offset `at`.
Bytes PageBytes(const PageLayout& s) {
  Bytes b;
  b.zeros(s.at);
  const size_t p = b.size();
  b.zeros(48);
  const size_t bg = b.size();
  b.u32(38).u32(0x4).u16(2).u16(0).u32(0x00FF00).u32(0).str("").zeros(16);
  const size_t hidden = b.size();
  b.u16(2).u32(7).u32(8);
  const size_t info = b.size();
  InfoBytes(b, 32767, 1, "Seite", s.toolTips);
  if (s.dbInfo) {
    b.str("db\\daten.dbd").u8(0x5);
    for (int i = 0; i < 33; ++i) b.fixed("F" + std::to_string(i), 11);
  }
  const size_t objList = b.size();
  b.u32(static_cast<uint32_t>(objList));
  const size_t table = b.size();
  b.zeros(4 * std::min<size_t>(s.objectCount > 0 ? s.objectCount : 0, 2));
  if (s.objectCount > 0) {
    b.put32(table, static_cast<uint32_t>(b.size()));
    InfoBytes(b, 0, 20, "Text", s.toolTips);
    DataBytes(b, 0xAA, 6);
  }
  if (s.objectCount > 1) {
    b.put32(table + 4, static_cast<uint32_t>(b.size()));
    InfoBytes(b, s.secondKind, 21, "Bild", s.toolTips);
    DataBytes(b, 0xBB, 3, s.secondLength);
  }
  const size_t dataList = b.size();
  b.u32(static_cast<uint32_t>(dataList));
  const size_t dtable = b.size();
  b.zeros(8);
  b.put32(dtable, static_cast<uint32_t>(b.size()));
  b.u32(99);  // no such object: skipped
  DataBytes(b, 0xCC, 2);
  b.put32(dtable + 4, static_cast<uint32_t>(b.size()));
  b.u32(50);  // a shared dataless object
  DataBytes(b, 0xDD, 1);
  size_t ext = 0xFFFFFFFF;
  if (s.extension) {
    ext = b.size();
    b.zeros(24);
    const size_t e0 = b.size();
    for (uint16_t c : {11, 12, 13, 14}) ActionBytes(b, c);
    const size_t e1 = b.size();
    for (uint16_t c : {21, 22, 23, 24}) ActionBytes(b, c);
    const size_t e2 = b.size();
    b.u16(1).u16(2);
    b.u16(0).str("Datei").str("1,0").u32(0xFFFFFFFF).u32(0).zeros(32);
    b.u16(1);
    ActionBytes(b, 8);
    b.str("Ende").str("1,0").u32(0xFFFFFFFF).u32(0).zeros(32);
    const size_t e3 = b.size();
    b.u16(2).u32(21).u32(20);
    const size_t e4 = b.size();
    b.u16(1);
    b.u32(0).u32(0x4 | 0x8).u8(0x20).u16(1).u8(4).u8(7).fixed("", 80).fixed("Eigen", 64);
    b.u16(0).i32(0).i32(0).i32(320).i32(240).u16(1).str("\\DATA\\");
    b.u32(38).u32(0x4).u16(2).u16(0).u32(0).u32(0).str("").zeros(16);
    b.u16(0).u32(3).str("").u32(0).zeros(6);
    b.put32(e4 + 2, static_cast<uint32_t>(b.size() - e4 - 2));
    const uint32_t rel[6] = {uint32_t(e0 - ext), uint32_t(e1 - ext), uint32_t(e2 - ext), uint32_t(e3 - ext),
                             uint32_t(e4 - ext), 0xFFFFFFFF};
    for (int i = 0; i < 6; ++i) b.put32(ext + 4 * i, rel[i]);
  }
  const uint32_t h[11] = {0x79EE9540, uint32_t(p), uint32_t(b.size() - p), uint32_t(objList),
                          uint32_t(dataList), uint32_t(bg), uint32_t(hidden), uint32_t(info),
                          uint32_t(ext), 0, 0};
  for (int i = 0; i < 11; ++i) b.put32(p + 4 * i, h[i]);
  const int16_t counts[2] = {s.objectCount, 2};
  std::memcpy(const_cast<uint8_t*>(&b.data()[p + 44]), counts, 4);
  return b;
}

TSharedObjects OneDataless() {
  TSharedObjects shared;
  TObjectRecord r;
  r.Info.Target = LinkTarget(3, 50, -1);
  shared.Dataless.push_back(std::move(r));
  return shared;
}

}  // namespace

TEST(TRecordHeader, FortyEightBytes) {
  Bytes b;
  b.u32(0x79EE9540).u32(100).u32(500).u32(1).u32(2).u32(3).u32(4).u32(5).u32(6).u32(7).u32(8).i16(-3).i16(4);
  MemoryStream m = b.stream();
  TRecordHeader h;
  ASSERT_TRUE(h.Read(m));
  EXPECT_EQ(h.SelfOffset, 100u);
  EXPECT_EQ(h.InfoOffset, 5u);
  EXPECT_EQ(h.Reserved2, 8u);
  EXPECT_EQ(h.ObjectCount, -3);
  EXPECT_EQ(h.DataCount, 4);
  MemoryStream w;
  h.Write(w);
  EXPECT_EQ(w.Data(), b.data());
  TRecordHeader fresh;
  EXPECT_EQ(fresh.ExtensionOffset, kNoOffset);
  EXPECT_FALSE(ReadRecordHeader(m, 1000, h)) << "a failed seek";
  b.put32(0, 0x79EE9541);
  MemoryStream bad = b.stream();
  EXPECT_FALSE(ReadRecordHeader(bad, 0, h)) << "a wrong magic";
}

TEST(TPageRecord, WholeRecordAsStored) {
  const Bytes b = PageBytes(PageLayout());
  MemoryStream m = b.stream();
  const TSharedObjects shared = OneDataless();
  TPageRecord r;
  ASSERT_TRUE(r.Read(m, 64, CreateRawData, &shared));
  EXPECT_EQ(r.Background.Colour1, 0x00FF00u);
  EXPECT_EQ(r.HiddenList.Values, (std::vector<uint32_t>{7, 8}));
  EXPECT_EQ(r.Info.Target.Kind, 32767);
  EXPECT_EQ(r.Info.Property.Text, "Seite");
  EXPECT_EQ(r.DbInfo.Path, "db\\daten.dbd");
  EXPECT_EQ(r.DbInfo.Flags, 0x5);
  EXPECT_EQ(r.DbInfo.GetFieldName(32), "F32");
  ASSERT_EQ(r.Objects.size(), 2u);
  EXPECT_EQ(r.Objects[1].Info.Target.GetName(), "Bild");
  auto* raw = dynamic_cast<TRawData*>(r.Objects[0].Data.get());
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->Bytes, std::vector<uint8_t>(6, 0xAA));
  ASSERT_EQ(r.DataOverrides.size(), 1u) << "the entry for a missing object is skipped";
  EXPECT_EQ(r.DataOverrides[0].Number, 50u);
  EXPECT_EQ(r.EnterActions[3].Code, 14);
  EXPECT_EQ(r.LeaveActions[0].Code, 21);
  EXPECT_EQ(r.MenuFlag, 1);
  ASSERT_EQ(r.Menu.GetItemsInContainer(), 2);
  EXPECT_EQ(r.Menu[1]->Text, "Ende");
  EXPECT_EQ((*r.Menu[1]->Actions)[0]->Code, 8);
  EXPECT_EQ(r.KeyList.Values, (std::vector<uint32_t>{21, 20}));
  EXPECT_EQ(r.OwnOptionsFlag, 1);
  EXPECT_EQ(r.Options.GetTitle(), "Eigen");
  EXPECT_EQ(r.Options.WindowRect.Right, 320);
  EXPECT_EQ(r.Ext[kExtSpare], kNoOffset);
}

TEST(TPageRecord, ListsCopiedToAnotherOffsetLoadUnchanged) {
  const Bytes original = PageBytes(PageLayout());
  // The same record 1000 bytes further on: the header's offsets moved, the
  // lists still carry the base they were written with.
  Bytes moved;
  moved.zeros(1000);
  for (size_t i = 0; i < original.size(); ++i) moved.u8(original.data()[i]);
  const size_t p = 1000 + 64;
  for (size_t field : {1, 3, 4, 5, 6, 7, 8}) {
    uint32_t v;
    std::memcpy(&v, &moved.data()[p + 4 * field], 4);
    moved.put32(p + 4 * field, v + 1000);
  }
  const TSharedObjects shared = OneDataless();
  TProjectImage a, b;
  const std::pair<const Bytes*, TProjectImage*> pairs[] = {{&original, &a}, {&moved, &b}};
  for (const auto& pair : pairs) {
    MemoryStream m = pair.first->stream();
    auto page = std::make_unique<TProjectPage>();
    const uint32_t at = static_cast<uint32_t>(pair.first == &original ? 64 : p);
    ASSERT_TRUE(page->Record.Read(m, at, CreateRawData, &shared));
    pair.second->Pages.push_back(std::move(page));
  }
  EXPECT_EQ(DumpProject(a), DumpProject(b));
  EXPECT_EQ(b.Pages[0]->Record.Objects.size(), 2u);
}

TEST(TPageRecord, VersionGates) {
  // 2.7: no descriptor is read behind the page's info (the lists are found
  // by their offsets anyway); 2.8 reads it.
  for (auto v : {std::make_pair(2, 7), std::make_pair(2, 8)}) {
    PageLayout s;
    s.dbInfo = v.second == 8;
    s.toolTips = false;
    const Bytes b = PageBytes(s);
    tsl::TFileVersionScope version(static_cast<uint8_t>(v.first), static_cast<uint8_t>(v.second));
    MemoryStream m = b.stream();
    TPageRecord r;
    ASSERT_TRUE(r.Read(m, 64, CreateRawData));
    EXPECT_EQ(r.DbInfo.Path, v.second == 8 ? "db\\daten.dbd" : "") << v.second;
    EXPECT_EQ(r.DbInfo.GetFieldName(0), v.second == 8 ? "F0" : "CAT");
    EXPECT_EQ(r.Objects.size(), 2u);
  }
  PageLayout old;
  old.toolTips = false;
  {  // 2.6: no extension block at all
    const Bytes b = PageBytes(old);
    tsl::TFileVersionScope version(2, 6);
    MemoryStream m = b.stream();
    TPageRecord r;
    ASSERT_TRUE(r.Read(m, 64, CreateRawData));
    EXPECT_EQ(r.Ext[kExtEnter], kNoOffset);
    EXPECT_EQ(r.EnterActions[0].Code, 9) << "default actions";
    EXPECT_EQ(r.Menu.GetItemsInContainer(), 0);
    EXPECT_EQ(r.OwnOptionsFlag, 0);
  }
  {  // 3.1: enter and leave actions, but no menu, key list or own options
    const Bytes b = PageBytes(old);
    tsl::TFileVersionScope version(3, 1);
    MemoryStream m = b.stream();
    TPageRecord r;
    ASSERT_TRUE(r.Read(m, 64, CreateRawData));
    EXPECT_EQ(r.LeaveActions[3].Code, 24);
    EXPECT_EQ(r.MenuFlag, 0);
    EXPECT_EQ(r.KeyList.Count(), 0);
    EXPECT_EQ(r.OwnOptionsFlag, 0);
  }
  {  // 4.7 without an extension block: default enter and leave actions
    PageLayout s;
    s.extension = false;
    const Bytes b = PageBytes(s);
    MemoryStream m = b.stream();
    TPageRecord r;
    r.EnterActions[0].Code = 77;
    ASSERT_TRUE(r.Read(m, 64, CreateRawData));
    EXPECT_EQ(r.EnterActions[0].Code, 9);
    EXPECT_EQ(r.Menu.GetItemsInContainer(), 0);
  }
}

TEST(TPageRecord, DamagedRecords) {
  {  // a negative object count is an empty page part; the rest still loads
    PageLayout s;
    s.objectCount = -5;
    const Bytes b = PageBytes(s);
    MemoryStream m = b.stream();
    TPageRecord r;
    EXPECT_TRUE(r.Read(m, 64, CreateRawData));
    EXPECT_TRUE(r.Objects.empty());
    EXPECT_EQ(r.Background.Colour1, 0x00FF00u);
    EXPECT_EQ(r.KeyList.Count(), 2);
  }
  {  // a kind outside 0-21 ends the list with a failure; earlier objects stay
    PageLayout s;
    s.secondKind = 22;
    const Bytes b = PageBytes(s);
    MemoryStream m = b.stream();
    TPageRecord r;
    EXPECT_FALSE(r.Read(m, 64, CreateRawData));
    EXPECT_EQ(r.Objects.size(), 1u);
  }
  {  // a data record running past the end drops its object and ends the list
    PageLayout s;
    s.secondLength = 0x100000;
    const Bytes b = PageBytes(s);
    MemoryStream m = b.stream();
    TPageRecord r;
    EXPECT_TRUE(r.Read(m, 64, CreateRawData));
    EXPECT_EQ(r.Objects.size(), 1u);
    EXPECT_EQ(r.MenuFlag, 1) << "the rest of the page still loads";
  }
  {  // an object count beyond what the file holds is refused, not allocated
    PageLayout s;
    s.objectCount = 32000;
    const Bytes b = PageBytes(s);
    MemoryStream m = b.stream();
    TPageRecord r;
    EXPECT_FALSE(r.Read(m, 64, CreateRawData));
    EXPECT_TRUE(r.Objects.empty());
  }
  {  // offsets past the end and a wrong magic
    Bytes b = PageBytes(PageLayout());
    b.put32(64 + 20, 0x7FFFFFFF);  // background offset
    MemoryStream m = b.stream();
    TPageRecord r;
    EXPECT_FALSE(r.Read(m, 64, CreateRawData));
    EXPECT_FALSE(r.Read(m, 65, CreateRawData));
    EXPECT_FALSE(r.Read(m, 0xFFFFFFF0u, CreateRawData));
  }
  {  // a table entry past the end is skipped
    Bytes b = PageBytes(PageLayout());
    uint32_t list;
    std::memcpy(&list, &b.data()[64 + 12], 4);
    b.put32(list + 4, 0x7FFFFFFF);
    MemoryStream m = b.stream();
    TPageRecord r;
    EXPECT_TRUE(r.Read(m, 64, CreateRawData));
    ASSERT_EQ(r.Objects.size(), 1u);
    EXPECT_EQ(r.Objects[0].Info.Target.Number, 21u);
  }
}

TEST(TPageRecord, WrittenReadWrittenIdentical) {
  const Bytes b = PageBytes(PageLayout());
  MemoryStream m = b.stream();
  const TSharedObjects shared = OneDataless();
  TPageRecord r;
  ASSERT_TRUE(r.Read(m, 64, CreateRawData, &shared));
  MemoryStream first;
  uint32_t at;
  r.Write(first, at);
  EXPECT_EQ(at, 0u);
  TPageRecord again;
  ASSERT_TRUE(again.Read(first, 0, CreateRawData, &shared));
  EXPECT_EQ(again.Header.Length, first.Data().size());
  MemoryStream second;
  again.Write(second, at);
  EXPECT_EQ(second.Data(), first.Data());
}

TEST(TSharedObjects, ListsWithMagicAndRelocatableTables) {
  TSharedObjects shared;
  for (uint32_t n : {5u, 6u}) {
    TObjectRecord r;
    r.Info.Target = LinkTarget(0, n, -1);
    r.Info.Property.Flags |= kPropShared;
    auto d = std::make_unique<TRawData>();
    d->Bytes = {1, 2, static_cast<uint8_t>(n)};
    r.Data = std::move(d);
    shared.Objects.push_back(std::move(r));
  }
  TObjectRecord dl;
  dl.Info.Target = LinkTarget(4, 7, -1);
  shared.Dataless.push_back(std::move(dl));
  MemoryStream m;
  m.Write("pad", 3);
  uint32_t a, b;
  shared.WriteShared(m, a);
  shared.WriteDataless(m, b);
  EXPECT_EQ(a, 3u);
  // Move the first list 7 bytes further on: its table is relocated by the
  // position of its magic.
  std::vector<uint8_t> bytes = m.Data();
  bytes.insert(bytes.begin() + 3, 7, 0);
  MemoryStream moved(bytes);
  TSharedObjects r;
  ASSERT_TRUE(r.ReadShared(moved, a + 7, CreateRawData));
  ASSERT_TRUE(r.ReadDataless(moved, b + 7));
  ASSERT_EQ(r.Objects.size(), 2u);
  EXPECT_EQ(static_cast<TRawData*>(r.Objects[1].Data.get())->Bytes, (std::vector<uint8_t>{1, 2, 6}));
  ASSERT_EQ(r.Dataless.size(), 1u);
  EXPECT_EQ(r.Dataless[0].Data, nullptr);
  EXPECT_EQ(r.KindOf(7), 4);
  EXPECT_EQ(r.KindOf(8), -1);
  EXPECT_FALSE(r.ReadShared(moved, a, CreateRawData)) << "no magic there";
}

TEST(TdBaseInfo, DescriptorAndLoadRequest) {
  TdBaseInfo d;
  EXPECT_EQ(d.GetFieldName(0), "CAT");
  EXPECT_EQ(d.GetFieldName(11), "Memo01");
  EXPECT_EQ(d.GetFieldName(32), "Memo06");
  EXPECT_EQ(d.GetFieldName(33), "");

  struct Project : tsl::TFileVersionScope {
    Project() : TFileVersionScope(4, 7) {}
    void LoadDatabase(const TdBaseInfo& info, TObjectManager*) const override { loads.push_back(info.Path.str()); }
    mutable std::vector<std::string> loads;
  } project;
  for (uint8_t flags : {0x0, 0x1, 0x5}) {
    Bytes b;
    b.str("kunden.dbd").u8(flags);
    for (int i = 0; i < 33; ++i) b.raw("ABCDEFGHIJK", 11);  // names without terminator
    MemoryStream m = b.stream();
    TdBaseInfo r;
    const size_t before = project.loads.size();
    r.Read(m);
    EXPECT_EQ(project.loads.size(), before) << "reading alone loads nothing";
    r.RequestLoad();
    EXPECT_EQ(m.Remaining(), 0);
    EXPECT_EQ(r.GetFieldName(5), "ABCDEFGHIJK") << "never past the 11 bytes";
    MemoryStream w;
    r.Write(w);
    EXPECT_EQ(w.Data(), b.data());
  }
  EXPECT_EQ(project.loads, (std::vector<std::string>{"kunden.dbd", "kunden.dbd"}));
}

// Each refusal says where and why, behind the scopes that lead to it.
TEST(TPageRecord, RefusalsAreTracedWithWhereAndWhy) {
  std::vector<std::string> lines;
  struct Sink {
    explicit Sink(std::vector<std::string>& to) {
      tsl::SetTraceSink([&to](const std::string& line) { to.push_back(line); });
    }
    ~Sink() { tsl::SetTraceSink(nullptr); }
  } sink(lines);
  struct Case {
    const char* what;
    PageLayout layout;
    std::string expected;
  };
  PageLayout badKind;
  badKind.secondKind = 40;
  PageLayout pastEnd;
  pastEnd.secondLength = 0x100000;
  PageLayout tooMany;
  tooMany.objectCount = 32000;
  const Case cases[] = {
      {"a kind outside 0-21", badKind, "page 3: object list: object 1: kind 40 outside 0-21 at 0x"},
      {"a data record past the end", pastEnd, "page 3: object list: object 1: data record of kind 1 at 0x"},
      {"a table longer than the file", tooMany, "page 3: object list: list at 0x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lines.clear();
    const Bytes b = PageBytes(c.layout);
    MemoryStream m = b.stream();
    TPageRecord r;
    {
      tsl::TTraceScope page("page %d", 3);
      r.Read(m, 64, CreateRawData);
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind(c.expected, 0), 0u) << lines[0];
    for (const std::string& l : lines) EXPECT_EQ(l.rfind("page 3: ", 0), 0u) << l;
  }
  lines.clear();
  tsl::Trace("outside any scope");
  EXPECT_EQ(lines, (std::vector<std::string>{"outside any scope"})) << "the scopes end with their lives";
}
