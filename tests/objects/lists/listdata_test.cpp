// The list and combo records: defaults, write → read → write, records laid
// down byte by byte as stored (longer ones, a negative count, a count the
// length has no room for), assignment between the kinds, and the fixture
// statements.
#include "objects/core/listdata.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/format/rawio.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

// A record as stored: `length` in the length field, `count` as the page
// count, then `pages` numbers, the start value, 12 reserved bytes and
// `extra` bytes of a later version; a sentinel u32 follows the record.
std::vector<uint8_t> Stored(uint32_t length, int16_t count, const std::vector<int32_t>& pages, uint32_t start,
                            int extra) {
  MemoryStream m;
  WriteU32(length, m);
  WriteU32(0x211, m);       // flags: vertical bar, entries, whole rows
  WriteU32(7, m);
  WriteU32(0xFFFFFFFF, m);
  WriteU32(0x00336699, m);  // background
  FontRecord font = MakeFontRecord(12, false, "Courier New");
  font.Color = 0x0000FF;
  WriteFontRecord(font, m);
  WriteI16(count, m);
  for (int32_t p : pages) WriteI32(p, m);
  WriteU32(start, m);
  for (int i = 0; i < 12; ++i) WriteU8(static_cast<uint8_t>(0xA0 + i), m);
  for (int i = 0; i < extra; ++i) WriteU8(0xEE, m);
  WriteU32(0x5E171E1, m);
  return m.Data();
}

template <class T>
std::vector<uint8_t> Written(T& d) {
  MemoryStream m;
  EXPECT_TRUE(d.Write(m));
  return m.Data();
}

}  // namespace

TEST(ListRecord, DefaultsOfBothKinds) {
  TListItemDataCore list;
  TComboItemDataCore combo;
  for (const TListRecordCore* d : {static_cast<const TListRecordCore*>(&list), static_cast<const TListRecordCore*>(&combo)}) {
    EXPECT_EQ(d->Flags, 5u);
    EXPECT_EQ(d->BackgroundColour, 0xC0C0C0u);
    EXPECT_EQ(d->FontData.Flags, 0x10103u);
    EXPECT_EQ(d->FontData.lfHeight, 17);
    EXPECT_EQ(d->FontData.PointSize, 170);
    EXPECT_EQ(d->FontData.FontType, 0x6000);
    EXPECT_EQ(d->FontData.SizeMin, 0);
    EXPECT_EQ(d->FontData.SizeMax, 0);
    EXPECT_STREQ(d->FontData.lfFaceName, "Arial");
    EXPECT_TRUE(d->Pages.empty());
    EXPECT_EQ(d->StartValue, 0u);
  }
}

TEST(ListRecord, RoundTripsAndLengths) {
  const struct {
    std::vector<int32_t> pages;
    uint32_t start;
  } cases[] = {{{}, 0}, {{3}, 17}, {{1, 2, 70000, -5}, 0xFFFFFFFF}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pages.size());
    TListItemDataCore d;
    d.Flags = 0x0A;
    d.BackgroundColour = 0x123456;
    d.Pages = c.pages;
    d.StartValue = c.start;
    d.Reserved[11] = 9;
    const std::vector<uint8_t> bytes = Written(d);
    ASSERT_EQ(bytes.size(), 120 + 4 * c.pages.size());
    uint32_t length = 0;
    std::memcpy(&length, bytes.data(), 4);
    EXPECT_EQ(length, bytes.size());
    MemoryStream m(bytes);
    TListItemDataCore back;
    ASSERT_TRUE(back.Read(m));
    EXPECT_EQ(m.Position(), m.Length());
    EXPECT_EQ(back.Pages, c.pages);
    EXPECT_EQ(back.StartValue, c.start);
    EXPECT_EQ(back.BackgroundColour, 0x123456u);
    EXPECT_EQ(back.Reserved[11], 9);
    EXPECT_EQ(Written(back), bytes);
  }
}

TEST(ListRecord, StoredRecordsReadByTheirLength) {
  const struct {
    const char* what;
    uint32_t length;
    int16_t count;
    std::vector<int32_t> stored;
    int extra;
    std::vector<int32_t> pages;
    bool ok;
  } cases[] = {
      {"as this version writes it", 128, 2, {40, 41}, 0, {40, 41}, true},
      {"a later version's longer record", 136, 2, {40, 41}, 8, {40, 41}, true},
      {"a negative count reads as none", 120, -1, {}, 0, {}, true},
      {"a count beyond the length", 128, 5, {40, 41}, 0, {40, 41}, true},
      {"a count beyond the file", 0xFFFF, 30000, {40}, 0, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> bytes = Stored(c.length, c.count, c.stored, 4711, c.extra);
    MemoryStream m(bytes);
    TComboItemDataCore d;
    EXPECT_EQ(d.Read(m), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(m.Position(), static_cast<int64_t>(c.length));
    uint32_t sentinel = 0;
    ReadU32(sentinel, m);
    EXPECT_EQ(sentinel, 0x5E171E1u);
    EXPECT_EQ(d.Pages, c.pages);
    EXPECT_EQ(d.StartValue, 4711u);
    EXPECT_EQ(d.Flags, 0x211u);
    EXPECT_EQ(d.Value3, 7u);
    EXPECT_EQ(d.BackgroundColour, 0x00336699u);
    EXPECT_STREQ(d.FontData.lfFaceName, "Courier New");
    EXPECT_EQ(d.FontData.Color, 0x0000FFu);
    EXPECT_EQ(d.Reserved[0], 0xA0);
    EXPECT_EQ(d.Reserved[11], 0xAB);
  }
}

TEST(ListRecord, AssignTakesOnlyItsOwnKind) {
  TListItemDataCore source;
  source.Flags = 0x21;
  source.Pages = {5, 6};
  source.StartValue = 2;
  source.BackgroundColour = 0xFF;

  TListItemDataCore same;
  same.Assign(&source);
  EXPECT_EQ(Written(same), Written(source));

  TComboItemDataCore other;
  other.Pages = {9};
  other.Flags = 0x80;
  other.Assign(&source);
  TComboItemDataCore fresh;
  EXPECT_EQ(Written(other), Written(fresh)) << "a record of the other kind leaves the defaults";

  const std::vector<uint8_t> before = Written(source);
  source.Assign(&source);
  EXPECT_EQ(Written(source), before);
}

namespace {

template <class T>
T RecordOf(const std::string& object, const std::string& statement, bool* parsed = nullptr) {
  const std::string text = "size 640 480\npage 1\n  object " + object + " 10 10 210 300\n    " + statement + "\n";
  TProjectDescription project;
  TDescriptionError perr;
  const bool ok = ParseProjectDescription(text, ".", project, perr);
  if (parsed) *parsed = ok;
  else EXPECT_TRUE(ok) << perr.Line << ": " << perr.Message;
  T d;
  if (!ok || project.Image.Pages.empty() || project.Image.Pages[0]->Record.Objects.empty()) return d;
  MemoryStream m;
  project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
  m.Seek(0);
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(m.Position(), m.Length());
  return d;
}

}  // namespace

TEST(ListDescription, StatementsGiveTheRecordsTheyName) {
  const auto plain = RecordOf<TListItemDataCore>("list", "list");
  EXPECT_EQ(plain.Flags, 5u);
  EXPECT_EQ(plain.FontData.PointSize, 170);

  const auto pages = RecordOf<TListItemDataCore>(
      "listwindow", "list pages 2 1 7 second whole scroll both background #102030 font \"Arial\" 12 colour #FFFFFF");
  EXPECT_EQ(pages.Pages, (std::vector<int32_t>{2, 1, 7}));
  EXPECT_EQ(pages.Flags, kListPages | kListSecondNames | kListWholeRows | kListVScroll | kListHScroll);
  EXPECT_EQ(pages.BackgroundColour, 0x302010u);
  EXPECT_EQ(pages.FontData.Color, 0xFFFFFFu);

  const auto shown = RecordOf<TListItemDataCore>("list", "list pages 1 shown scroll none");
  EXPECT_EQ(shown.Flags, kListPagesShown);

  const auto category = RecordOf<TComboItemDataCore>("combo", "combo category 1");
  EXPECT_EQ(category.Flags, kListCategory | kListVScroll);
  EXPECT_EQ(category.StartValue, 1u);
  const auto entries = RecordOf<TComboItemDataCore>("combo", "combo entries 12");
  EXPECT_EQ(entries.Flags, kListFromEntry | kListVScroll);
  EXPECT_EQ(entries.StartValue, 12u);

  bool parsed = true;
  RecordOf<TListItemDataCore>("list", "list wobble", &parsed);
  EXPECT_FALSE(parsed);
  RecordOf<TListItemDataCore>("list", "list entries", &parsed);
  EXPECT_FALSE(parsed);
}
