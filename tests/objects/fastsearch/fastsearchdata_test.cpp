// The fast search field's and the help register's records: defaults, write
// → read → write, records laid down byte by byte as stored (a later
// version's longer record, a length shorter than the fields, one past the
// file), assignment between the kinds, and the fixture statements.
#include "objects/core/fastsearchdata.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/format/rawio.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

// A record as stored: `length` in the length field, then the fields and
// `extra` bytes of a later version; a sentinel u32 follows the record.
std::vector<uint8_t> Stored(uint32_t length, const std::string& text, const std::string& field, int extra) {
  MemoryStream m;
  WriteU32(length, m);
  WriteU32(0x1000, m);
  WriteU32(3, m);
  WriteU32(0xFFFFFFFF, m);
  WriteU32(0x00204060, m);  // background
  FontRecord font = MakeFontRecord(12, false, "Courier New");
  font.Color = 0x0000FF;
  WriteFontRecord(font, m);
  WriteU16(static_cast<uint16_t>(text.size()), m);
  m.Write(text.data(), static_cast<uint32_t>(text.size()));
  WriteU16(static_cast<uint16_t>(field.size()), m);
  m.Write(field.data(), static_cast<uint32_t>(field.size()));
  for (int i = 0; i < 32; ++i) WriteU8(static_cast<uint8_t>(0xA0 + i), m);
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

TEST(SearchFieldRecord, DefaultsOfBothKinds) {
  TFastSearchDataCore search;
  THelpRegisterDataCore help;
  EXPECT_EQ(search.BackgroundColour, 0xC0C0C0u);
  EXPECT_EQ(help.BackgroundColour, 0x8000000Fu);
  for (const TSearchFieldRecordCore* d :
       {static_cast<const TSearchFieldRecordCore*>(&search), static_cast<const TSearchFieldRecordCore*>(&help)}) {
    EXPECT_EQ(d->Flags, 0x1000u);
    EXPECT_EQ(d->FontData.Flags, 0x10103u);
    EXPECT_EQ(d->FontData.PointSize, 170);
    EXPECT_STREQ(d->FontData.lfFaceName, "Arial");
    EXPECT_STREQ(d->Text.c_str(), "");
    EXPECT_STREQ(d->FieldName.c_str(), "");
  }
  help.BackgroundColour = 1;
  help.Reset();
  EXPECT_EQ(help.BackgroundColour, 0x8000000Fu) << "a reset keeps the kind's own default";
}

TEST(SearchFieldRecord, RoundTripsAndLengths) {
  const struct {
    const char* text;
    const char* field;
  } cases[] = {{"", ""}, {"Apfel", "Name"}, {"\xC4rger mit Umlaut", "Stichwort"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    TFastSearchDataCore d;
    d.BackgroundColour = 0x123456;
    d.Text = c.text;
    d.FieldName = c.field;
    d.Reserved[31] = 9;
    const std::vector<uint8_t> bytes = Written(d);
    ASSERT_EQ(bytes.size(), 138 + std::strlen(c.text) + std::strlen(c.field));
    uint32_t length = 0;
    std::memcpy(&length, bytes.data(), 4);
    EXPECT_EQ(length, bytes.size());
    MemoryStream m(bytes);
    TFastSearchDataCore back;
    ASSERT_TRUE(back.Read(m));
    EXPECT_EQ(m.Position(), m.Length());
    EXPECT_STREQ(back.Text.c_str(), c.text);
    EXPECT_STREQ(back.FieldName.c_str(), c.field);
    EXPECT_EQ(back.Reserved[31], 9);
    EXPECT_EQ(Written(back), bytes);
  }
}

TEST(SearchFieldRecord, StoredRecordsReadByTheirLength) {
  const struct {
    const char* what;
    uint32_t length;
    int extra;
    uint32_t endsAt;  // 0: no record
  } cases[] = {
      {"as this version writes it", 138 + 5 + 4, 0, 147},
      {"a later version's longer record", 138 + 5 + 4 + 10, 10, 157},
      {"a length shorter than the fields continues behind them", 20, 0, 147},
      {"a length past the file", 0xFFFF, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> bytes = Stored(c.length, "Apfel", "Name", c.extra);
    MemoryStream m(bytes);
    THelpRegisterDataCore d;
    EXPECT_EQ(d.Read(m), c.endsAt != 0);
    if (!c.endsAt) continue;
    EXPECT_EQ(m.Position(), static_cast<int64_t>(c.endsAt));
    uint32_t sentinel = 0;
    ReadU32(sentinel, m);
    EXPECT_EQ(sentinel, 0x5E171E1u);
    EXPECT_EQ(d.Value3, 3u);
    EXPECT_EQ(d.BackgroundColour, 0x00204060u);
    EXPECT_STREQ(d.FontData.lfFaceName, "Courier New");
    EXPECT_EQ(d.FontData.Color, 0x0000FFu);
    EXPECT_STREQ(d.Text.c_str(), "Apfel");
    EXPECT_STREQ(d.FieldName.c_str(), "Name");
    EXPECT_EQ(d.Reserved[0], 0xA0);
    EXPECT_EQ(d.Reserved[31], 0xBF);
  }
}

TEST(SearchFieldRecord, AssignTakesOnlyItsOwnKind) {
  TFastSearchDataCore source;
  source.Flags = 0x21;
  source.Text = "Birne";
  source.FieldName = "Obst";
  source.BackgroundColour = 0xFF;
  source.Reserved[4] = 4;

  TFastSearchDataCore same;
  same.Assign(&source);
  EXPECT_EQ(Written(same), Written(source));

  THelpRegisterDataCore other;
  other.Text = "bleibt";
  const std::vector<uint8_t> before = Written(other);
  other.Assign(&source);
  EXPECT_EQ(Written(other), before) << "a record of the other kind changes nothing";

  const std::vector<uint8_t> own = Written(source);
  source.Assign(&source);
  EXPECT_EQ(Written(source), own);
}

namespace {

template <class T>
T RecordOf(const std::string& object, const std::string& statement, bool* parsed = nullptr) {
  const std::string text = "size 640 480\npage 1\n  object " + object + " 10 10 210 40\n    " + statement + "\n";
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

TEST(SearchFieldDescription, StatementsGiveTheRecordsTheyName) {
  const auto search = RecordOf<TFastSearchDataCore>(
      "quicksearch", "quicksearch \"Name\" text \"Apfel\" background #FFFFFF font \"Courier New\" 20 bold colour #FF0000");
  EXPECT_STREQ(search.FieldName.c_str(), "Name");
  EXPECT_STREQ(search.Text.c_str(), "Apfel");
  EXPECT_EQ(search.BackgroundColour, 0xFFFFFFu);
  EXPECT_STREQ(search.FontData.lfFaceName, "Courier New");
  EXPECT_EQ(search.FontData.Color, 0x0000FFu);

  const auto plain = RecordOf<TFastSearchDataCore>("quicksearch", "quicksearch \"Ort\"");
  EXPECT_EQ(plain.BackgroundColour, 0xC0C0C0u);
  EXPECT_EQ(plain.FontData.PointSize, 170);

  const auto help = RecordOf<THelpRegisterDataCore>("helpregister", "helpregister");
  EXPECT_EQ(help.BackgroundColour, 0x8000000Fu);
  const auto coloured = RecordOf<THelpRegisterDataCore>("helpregister", "helpregister background #102030 field \"X\"");
  EXPECT_EQ(coloured.BackgroundColour, 0x302010u);
  EXPECT_STREQ(coloured.FieldName.c_str(), "X");

  bool parsed = true;
  RecordOf<TFastSearchDataCore>("quicksearch", "quicksearch", &parsed);
  EXPECT_FALSE(parsed) << "the field name is missing";
  RecordOf<TFastSearchDataCore>("quicksearch", "quicksearch \"Name\" wobble", &parsed);
  EXPECT_FALSE(parsed);
  RecordOf<THelpRegisterDataCore>("helpregister", "helpregister background", &parsed);
  EXPECT_FALSE(parsed);
}
