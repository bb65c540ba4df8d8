// Page loading into a page manager: the page's fields, its objects in layer
// order, the shared objects that stay from page to page, the data a page
// carries for them, the extension block, page scales, and damaged records.
#include <gtest/gtest.h>

#include <cstring>

#include "pagefixture.h"

namespace {

const char kProject[] = R"(
title "Seiten"
size 640 480
object button "Immer" 10 400 100 440 number 1
  layer 1
  data flags 0x1001004 u32 7
object text "Kopf" 0 0 640 40 number 2
  layer 1
object sound "Klang" 0 0 1 1 dataless number 3
object video "Film" 100 100 300 200 dataless number 4
  layer 2

page 1 "Erste"
  keys 11 12
  hidden 12
  enter goto 2 delay 500
  leave info
  object text "A" 10 10 110 60 number 11
  object text "B" 20 20 120 70 number 12
  object picture "C" 30 30 130 80 number 13
    layer 2
  object text "D" 40 40 140 90 number 14
    layer 1
    data flags 0x5 str "Text D"
  data-for 3 flags 0x1000 str "klang.wav"
  data-for 99 flags 0x1000 str "nie"
  menu "Gehe"
    item "Zwei" goto 2
page 2 "Zweite"
  ownoptions title "Eigen" flags drag
  object text "E" 0 0 10 10 number 21
)";

std::vector<uint8_t> StoredBytes(const TData* d) {
  const auto* raw = dynamic_cast<const TRawData*>(d);
  return raw ? raw->Bytes : std::vector<uint8_t>();
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, &b[at], 4);
  return v;
}

}  // namespace

TEST(PageLoading, ObjectsStandInLayerOrderWithTheSharedOnes) {
  TLoadedProject p(BuildProject(kProject));
  ASSERT_TRUE(p.ok);
  EXPECT_TRUE(p.sharedOk);
  EXPECT_TRUE(p.datalessOk);
  // Shared objects first: within a layer the one read last lies lowest.
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{3, 2, 1, 4}));

  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{12, 11, 3, 14, 2, 1, 13, 4}));
  EXPECT_EQ(p.model.PageInfo.Target.GetName(), "Erste");
  EXPECT_EQ(p.model.KeyList.Values, (std::vector<uint32_t>{11, 12}));
  EXPECT_EQ(p.model.HiddenList.Values, (std::vector<uint32_t>{12}));
  EXPECT_EQ(p.model.KeyIndex, -1);
  EXPECT_EQ(p.model.EnterActions[0].Code, 11);
  EXPECT_EQ(p.model.EnterActions[0].Delay, 500u);
  EXPECT_EQ(p.model.LeaveActions[0].Code, 9);
  EXPECT_EQ(p.model.MenuItems->GetItemsInContainer(), 2);
  EXPECT_EQ(p.model.OwnOptions, 0);

  // Stored records: the design rectangle and where the data began.
  const TModelObject* d = p.model.FindObjectById(14);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->DesignRect == d->Info.Rect);
  ASSERT_GT(d->DataOffset, 0);
  EXPECT_EQ(U32At(p.stream.Data(), static_cast<size_t>(d->DataOffset) + 4), 0x5u) << "the data flags";

  // The page's data for the dataless shared object 3; 99 is not on the page.
  const TModelObject* sound = p.model.FindObjectById(3);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->Data->Flags, 0x1000u);
  EXPECT_FALSE(StoredBytes(sound->Data.get()).empty());
  EXPECT_GT(sound->DataOffset, 0);
  EXPECT_EQ(p.model.FindObjectById(99), nullptr);

  // Counted by their first group flag.
  uint16_t local, g1, g2;
  p.model.CountObjectGroups(local, g1, g2);
  EXPECT_EQ(local, 4);
  EXPECT_EQ(g1, 2);
  EXPECT_EQ(g2, 2);
}

TEST(PageLoading, SharedObjectsStayFromPageToPage) {
  TLoadedProject p(BuildProject(kProject));
  ASSERT_TRUE(p.ReadPage(0));
  p.model.EndPageObjects();
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{3, 2, 1, 4})) << "the shared objects keep their order";
  const TModelObject* sound = p.model.FindObjectById(3);
  EXPECT_TRUE(StoredBytes(sound->Data.get()).empty()) << "a dataless object's page data is reset";
  EXPECT_EQ(StoredBytes(p.model.FindObjectById(1)->Data.get()).size(), 4u) << "a shared object keeps its data";

  ASSERT_TRUE(p.ReadPage(1));
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{21, 3, 2, 1, 4}));
  EXPECT_EQ(p.model.OwnOptions, 1);
  EXPECT_EQ(p.model.PageOptions.GetTitle(), "Eigen");
  EXPECT_EQ(PreviousPageHadOwnOptions, 0);
  EXPECT_TRUE(p.model.KeyList.Values.empty()) << "no key list of the page before";
  EXPECT_EQ(p.model.MenuItems->GetItemsInContainer(), 0);
  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_EQ(PreviousPageHadOwnOptions, 1);
  EXPECT_EQ(p.model.OwnOptions, 0);
}

TEST(PageLoading, RelocatedListsLoadUnchanged) {
  TLoadedProject plain(BuildProject(kProject));
  TLoadedProject moved(BuildProject(std::string("relocate 777\n") + kProject));
  ASSERT_NE(plain.stream.Data(), moved.stream.Data());
  for (int page = 0; page < 2; ++page) {
    ASSERT_TRUE(plain.ReadPage(page));
    ASSERT_TRUE(moved.ReadPage(page));
    EXPECT_EQ(plain.Numbers(), moved.Numbers());
    for (size_t i = 0; i < plain.model.Objects.size(); ++i)
      EXPECT_EQ(StoredBytes(plain.model.Objects[i]->Data.get()), StoredBytes(moved.model.Objects[i]->Data.get()));
  }
}

TEST(PageLoading, ScalingNeedsBothFactors) {
  const char desc[] = R"(
page 1
  object text 10 10 110 60 number 1
    scale
  object text 10 10 110 60 number 2
    props 0x100
)";
  struct Case {
    double sx, sy;
    TObjectRect scaled, moved;
  };
  auto rect = [](int32_t l, int32_t t, int32_t r, int32_t b) {
    TObjectRect o;
    o.Left = l, o.Top = t, o.Right = r, o.Bottom = b;
    return o;
  };
  const Case cases[] = {
      {2.0, 2.0, rect(20, 20, 220, 120), rect(20, 20, 120, 70)},
      {1.25, 1.0, rect(10, 10, 110, 60), rect(10, 10, 110, 60)},
      {1.0, 3.0, rect(10, 10, 110, 60), rect(10, 10, 110, 60)},
      {0.55, 0.55, rect(5, 5, 60, 33), rect(5, 5, 105, 55)},  // truncated toward zero
      {-1.0, -1.0, rect(-10, -10, -110, -60), rect(-10, -10, 90, 40)},
      {1e12, 1e12, rect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX), rect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX)},
  };
  for (const Case& c : cases) {
    TLoadedProject p(BuildProject(desc));
    ASSERT_TRUE(p.ReadPage(0, c.sx, c.sy));
    const TModelObject* a = p.model.FindObjectById(1);
    const TModelObject* b = p.model.FindObjectById(2);
    EXPECT_TRUE(a->Info.Rect == c.scaled) << c.sx << " " << c.sy << ": " << a->Info.Rect.Right;
    EXPECT_TRUE(b->Info.Rect == c.moved) << c.sx << " " << c.sy << ": " << b->Info.Rect.Right;
    EXPECT_TRUE(a->DesignRect == rect(10, 10, 110, 60)) << "the design rectangle is as stored";
  }
}

TEST(PageLoading, OldFilesHaveNoExtensionBlock) {
  const char desc[] = R"(
page 1
  keys 1 2
  enter goto 2
  menu "M"
    item "x" quit
  ownoptions title "Eigen"
)";
  TLoadedProject p(BuildProject(desc));
  ASSERT_TRUE(p.ReadPage(0));
  ASSERT_EQ(p.model.KeyList.Count(), 2);
  tsl::TFileVersionScope old(2, 6);
  ASSERT_TRUE(p.ReadPage(0));
  for (uint32_t e : p.model.ExtOffsets) EXPECT_EQ(e, kNoOffset);
  EXPECT_EQ(p.model.KeyList.Count(), 0);
  EXPECT_EQ(p.model.MenuItems->GetItemsInContainer(), 0);
  EXPECT_EQ(p.model.OwnOptions, 0);
  EXPECT_FALSE(p.model.EnterActions[0].Flags & kActionEnabled) << "the default action";
}

TEST(PageLoading, AnEmptyPageStillHasItsBackgroundAndDescription) {
  TLoadedProject p(BuildProject("page 4 \"Leer\"\n  background colour #123456\n"));
  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_TRUE(p.model.Objects.empty());
  EXPECT_EQ(p.model.PageInfo.Target.GetName(), "Leer");
  EXPECT_EQ(p.model.Background.Colour1, 0x563412u);
}

TEST(PageLoading, WrittenPagesLoadAsTheyWere) {
  const char desc[] = R"(
object text "Immer" 0 0 10 10 number 1
page 1
  keys 2 3
  object text "A" 10 10 110 60 number 2
  object text "B" 20 20 120 70 number 3
    layer 3
  object text "C" 30 30 130 80 number 4
  object picture "D" 40 40 140 90 number 5
    layer 3
    data flags 0x4 str "d.bmp"
  menu "Gehe"
    item "Zwei" goto 2
)";
  const std::vector<uint8_t> bytes = BuildProject(desc);
  TLoadedProject p(bytes);
  ASSERT_TRUE(p.ReadPage(0));
  const std::vector<uint32_t> order = p.Numbers();
  ASSERT_EQ(order, (std::vector<uint32_t>{4, 2, 1, 5, 3}));
  uint32_t offset;
  ASSERT_TRUE(p.directory.GetPageOffset(0, offset));

  // The page written where it was read from, read back and written again.
  std::vector<uint8_t> previous;
  for (int round = 0; round < 2; ++round) {
    tsl::MemoryStream out(std::vector<uint8_t>(p.stream.Data().begin(), p.stream.Data().begin() + offset));
    uint32_t written;
    TRecordHeader h = p.model.RecordHeader;
    ASSERT_TRUE(p.model.WritePage(out, written, &h));
    EXPECT_EQ(written, offset);
    std::vector<uint8_t> next = out.Data();
    next.insert(next.end(), p.stream.Data().begin() + offset + h.Length, p.stream.Data().end());
    if (round == 1) {
      EXPECT_EQ(next, previous) << "writing what was read gives the same bytes";
    }
    previous = next;
    p.stream = tsl::MemoryStream(next);
    p.Load();
    ASSERT_TRUE(p.ReadPage(0));
    EXPECT_EQ(p.Numbers(), order) << "objects of one layer keep their order through writing and reading";
    EXPECT_EQ(p.model.KeyList.Values, (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(p.model.MenuItems->GetItemsInContainer(), 2);
  }
}

TEST(PageLoading, DamagedRecordsAreRefusedOrSkipped) {
  const std::vector<uint8_t> good = BuildProject(kProject);
  TLoadedProject probe(good);
  uint32_t page;
  ASSERT_TRUE(probe.directory.GetPageOffset(0, page));
  ASSERT_TRUE(probe.ReadPage(0));
  const TRecordHeader h = probe.model.RecordHeader;
  const uint32_t size = static_cast<uint32_t>(good.size());

  struct Case {
    const char* what;
    size_t at;
    std::vector<uint8_t> patch;
    bool loads;
    size_t pageObjects;  // objects of the page that were made
  };
  auto le32 = [](uint32_t v) { return std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; };
  auto le16 = [](uint16_t v) { return std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)}; };
  // The first object record starts with its kind.
  uint32_t firstRecord;
  {
    tsl::MemoryStream m(good);
    m.Seek(h.ObjectListOffset + 4);
    m.Read(&firstRecord, 4);
  }
  const Case cases[] = {
      {"bad magic", page, le32(0x12345678), false, 0},
      {"negative object count", page + 44, le16(0xFFFB), true, 0},
      {"negative data count", page + 46, le16(0x8000), true, 4},
      {"background past the end", page + 20, le32(size + 100), false, 0},
      {"object list past the end", page + 12, le32(0xFFFFFFF0), false, 0},
      {"object count the file cannot hold", page + 44, le16(0x7FFF), false, 0},
      {"an object record past the end", h.ObjectListOffset + 4, le32(size + 1000), true, 3},
      {"a kind outside 0-21", firstRecord, le16(22), false, 0},
      {"the page itself as an object", firstRecord, le16(32767), false, 0},
      {"extension block past the end", page + 32, le32(size + 4), false, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    std::copy(c.patch.begin(), c.patch.end(), bad.begin() + static_cast<std::ptrdiff_t>(c.at));
    TLoadedProject p(bad);
    const bool loaded = p.ReadPage(0);
    EXPECT_EQ(loaded, c.loads) << c.what;
    size_t made = 0;
    for (const auto& o : p.model.Objects) made += (o->Info.Property.Flags & kPropPageObject) ? 1 : 0;
    EXPECT_EQ(made, c.pageObjects) << c.what;
  }
}

TEST(PageLoading, TheObjectTableCanBeHandedOut) {
  TLoadedProject p(BuildProject(kProject));
  uint32_t page;
  ASSERT_TRUE(p.directory.GetPageOffset(0, page));
  TRecordHeader h;
  ASSERT_TRUE(p.model.ReadRecordHeader(page, h));
  std::vector<uint32_t> table;
  const size_t before = p.model.Objects.size();
  ASSERT_TRUE(p.model.LoadObjectTable(h.ObjectListOffset, h.ObjectCount, table));
  EXPECT_EQ(table.size(), 4u);
  EXPECT_EQ(p.model.Objects.size(), before) << "nothing is made";
  EXPECT_EQ(p.stream.Position(), p.stream.Length()) << "the stream is left at its end";
  TObjectInfo info;
  ASSERT_TRUE(p.model.ReadObjectInfo(table[2], info));
  EXPECT_EQ(info.Target.Number, 13u);
}

TEST(PageLoading, LayerInsertion) {
  // [0, 1, 3] + a layer-2 object: between the layer-1 and the layer-3 one.
  const std::vector<uint16_t> layers = {0, 1, 3};
  auto at = [&](int i) { return layers[static_cast<size_t>(i)]; };
  EXPECT_EQ(LayerInsertIndex(3, 2, at), 2);
  EXPECT_EQ(LayerInsertIndex(3, 0, at), 0);
  EXPECT_EQ(LayerInsertIndex(3, 9, at), 3);
  EXPECT_EQ(LayerInsertIndex(0, 5, at), 0);
}

namespace {

// A good page with everything a page can carry, then the page the cases
// damage: two objects of its own and nothing else.
const char kGoodThenDamaged[] = R"(
title "Schaden"
size 640 480
object sound "Klang" 0 0 1 1 dataless number 3

page 1 "Gut"
  keys 11 12
  enter goto 2 delay 500
  leave info
  ownoptions title "Eigen" flags drag
  object text "A" 10 10 110 60 number 11
  object text "B" 20 20 120 70 number 12
  data-for 3 flags 0x1000 str "gut.wav"
  menu "Gehe"
    item "Zwei" goto 2
page 2 "Beschaedigt"
  object text "C" 30 30 130 80 number 21
  object text "D" 40 40 140 90 number 22
)";

size_t PageObjects(const TPageModel& m) {
  size_t n = 0;
  for (const auto& o : m.Objects) n += (o->Info.Property.Flags & kPropPageObject) ? 1 : 0;
  return n;
}

}  // namespace

// One reader: a damaged page gives the same result through the page record
// (the format-level reader) and through the page manager that the player's
// page change calls, and whatever it gives keeps nothing of the good page
// read before it.
TEST(PageLoading, DamagedPageAfterAGoodOneSameThroughBothReadersAndKeepsNothing) {
  const std::vector<uint8_t> good = BuildProject(kGoodThenDamaged);
  TLoadedProject probe(good);
  uint32_t page2;
  ASSERT_TRUE(probe.directory.GetPageOffset(1, page2));
  ASSERT_TRUE(probe.ReadPage(1));
  const TRecordHeader h = probe.model.RecordHeader;
  ASSERT_EQ(PageObjects(probe.model), 2u);
  int64_t lastData = -1;
  for (const auto& o : probe.model.Objects)
    if (o->Info.Target.Number == 22) lastData = o->DataOffset;
  ASSERT_GT(lastData, 0);
  uint32_t firstRecord;
  std::memcpy(&firstRecord, &good[h.ObjectListOffset + 4], 4);
  const uint32_t size = static_cast<uint32_t>(good.size());

  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    int width;
    bool loads;
    size_t objects;
  };
  const Case cases[] = {
      {"undamaged", 0, 0, 0, true, 2},
      {"an object record of kind 40", firstRecord, 40, 2, false, 0},
      {"an object record past the end", h.ObjectListOffset + 4, size + 100, 4, true, 1},
      {"a data record running past the end", static_cast<size_t>(lastData), 0x7FFFFFF0, 4, true, 1},
      {"a wrong magic", page2, 0x12345678, 4, false, 0},
      {"the extension block past the end", page2 + 32, size + 4, 4, false, 0},
      {"the extension block cut by the end of the file", page2 + 32, size - 6, 4, true, 2},
      {"an object count the file cannot hold", page2 + 44, 0x7FFF, 2, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bad = good;
    std::memcpy(&bad[c.at], &c.value, static_cast<size_t>(c.width));

    TLoadedProject p(bad);
    ASSERT_TRUE(p.ReadPage(0));
    ASSERT_EQ(p.model.MenuItems->GetItemsInContainer(), 2) << "page 1: its menu, top and item";
    ASSERT_EQ(p.model.KeyList.Count(), 2);
    const bool loaded = p.ReadPage(1);
    EXPECT_EQ(loaded, c.loads);
    EXPECT_EQ(PageObjects(p.model), c.objects);
    for (const TActionStruct& a : p.model.EnterActions) EXPECT_FALSE(a.Flags & kActionEnabled) << "enter action kept";
    for (const TActionStruct& a : p.model.LeaveActions) EXPECT_FALSE(a.Flags & kActionEnabled) << "leave action kept";
    EXPECT_EQ(p.model.MenuItems->GetItemsInContainer(), 0) << "menu kept";
    EXPECT_EQ(p.model.KeyList.Count(), 0) << "key list kept";
    EXPECT_EQ(p.model.OwnOptions, 0) << "own options kept";
    EXPECT_EQ(p.model.PageInfo.Target.GetName(), loaded ? string("Beschaedigt") : string(""));
    const TModelObject* sound = p.model.FindObjectById(3);
    ASSERT_NE(sound, nullptr) << "the shared object stays";
    EXPECT_TRUE(StoredBytes(sound->Data.get()).empty()) << "the good page's data for the shared object is gone";

    // The format-level reader on the same bytes.
    tsl::MemoryStream m(bad);
    TSharedObjects shared;
    shared.ReadDataless(m, p.model.ProjectObjects.Values[2]);
    TPageRecord r;
    EXPECT_EQ(r.Read(m, page2, CreateStandInData, &shared), loaded);
    if (loaded) {
      EXPECT_EQ(r.Objects.size(), c.objects);
    }
  }
}
