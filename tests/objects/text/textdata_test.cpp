#include "objects/core/textdata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

std::vector<uint8_t> WriteRecord(TTextData& d) {
  MemoryStream m;
  d.Write(m);
  return m.Data();
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

void FillSample(TTextData& d) {
  d.Flags = kTextWrap | kTextShadow;
  d.Value3 = 7;
  d.ShadowColour = 0x123456;
  d.ShadowOffsetY = -3;
  d.ShadowOffsetX = 5;
  d.Angle = 90;
  d.Alignment = kTextRight;
  d.FontChoice = MakeFontRecord(32, false, "Times New Roman");
  d.FontChoice.lfWeight = 700;
  d.FontChoice.Color = 0x0000FF;
  d.Text = "Grüße";
  for (int i = 0; i < 16; ++i) d.Reserved[i] = static_cast<uint8_t>(i + 1);
}

TEST(TextData, Defaults) {
  TTextData d;
  EXPECT_EQ(d.Flags, kTextWrap);
  EXPECT_EQ(d.RecordLength, 0u);
  EXPECT_EQ(d.Value3, 0xFFFFFFFFu);
  EXPECT_EQ(d.ShadowColour, 0x808080u);
  EXPECT_STREQ(d.Text.c_str(), "Text");
  EXPECT_EQ(d.Alignment, kTextLeft);
  EXPECT_EQ(d.ShadowOffsetX, 2);
  EXPECT_EQ(d.ShadowOffsetY, 2);
  EXPECT_EQ(d.Angle, 0);
  EXPECT_STREQ(d.FontChoice.lfFaceName, "Arial");
  EXPECT_EQ(d.FontChoice.lfHeight, 17);
  EXPECT_EQ(d.FontChoice.Flags, 0x50103u);  // TrueType only
  EXPECT_EQ(d.FontChoice.Color, 0u);
  for (uint8_t b : d.Reserved) EXPECT_EQ(b, 0);
}

TEST(TextData, WriteReadWriteIsIdenticalAndLaidOutInOrder) {
  TTextData d;
  FillSample(d);
  const std::vector<uint8_t> first = WriteRecord(d);
  const size_t text = std::strlen("Grüße");
  ASSERT_EQ(first.size(), 16 + 4 + 8 + 2 + 4 + 82 + 2 + text + 16);
  EXPECT_EQ(U32At(first, 0), first.size());
  EXPECT_EQ(d.RecordLength, first.size());
  EXPECT_EQ(U32At(first, 4), 3u);
  EXPECT_EQ(U32At(first, 16), 0x123456u);
  EXPECT_EQ(static_cast<int32_t>(U32At(first, 20)), -3);  // vertical first
  EXPECT_EQ(static_cast<int32_t>(U32At(first, 24)), 5);
  EXPECT_EQ(first[28], 90);
  EXPECT_EQ(U32At(first, 30), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&first[34 + 32]), 15), "Times New Roman");
  EXPECT_EQ(first[116], text);
  EXPECT_EQ(first.back(), 16);

  MemoryStream in(first);
  TTextData r;
  ASSERT_TRUE(r.Read(in));
  EXPECT_EQ(in.Position(), static_cast<int64_t>(first.size()));
  EXPECT_STREQ(r.Text.c_str(), "Grüße");
  EXPECT_EQ(r.ShadowOffsetY, -3);
  EXPECT_EQ(r.ShadowOffsetX, 5);
  EXPECT_EQ(r.Angle, 90);
  EXPECT_EQ(r.FontChoice.lfWeight, 700);
  EXPECT_EQ(r.Reserved[15], 16);
  EXPECT_EQ(WriteRecord(r), first);
}

// Files before 2.5 hold the shadow offsets in 16 bits, sign-extended.
TEST(TextData, OldRecordsWithShortShadowOffsets) {
  struct Case {
    uint8_t major, minor;
    bool shortOffsets;
  } cases[] = {{2, 4, true}, {1, 0, true}, {2, 5, false}, {4, 7, false}};
  for (const Case& c : cases) {
    MemoryStream m;
    const uint32_t base[4] = {0, 3, 0xFFFFFFFF, 0xFFFFFFFF};
    WriteFixed(base, sizeof base, m);
    WriteU32(0x00FF00, m);
    if (c.shortOffsets) {
      WriteI16(-4, m);
      WriteI16(6, m);
    } else {
      WriteI32(-4, m);
      WriteI32(6, m);
    }
    WriteI16(0, m);
    WriteU32(1, m);
    WriteFontRecord(MakeFontRecord(20, true, "Arial"), m);
    WriteShortString("alt", m);
    WriteFixed(std::vector<uint8_t>(16).data(), 16, m);
    PatchRecordLength(m, 0);
    WriteU32(0xCAFE, m);  // what follows the record
    TFileVersionScope version(c.major, c.minor);
    m.Seek(0);
    TTextData d;
    ASSERT_TRUE(d.Read(m)) << int(c.major) << "." << int(c.minor);
    EXPECT_EQ(d.ShadowOffsetY, -4);
    EXPECT_EQ(d.ShadowOffsetX, 6);
    EXPECT_EQ(d.Alignment, kTextCentre);
    EXPECT_STREQ(d.Text.c_str(), "alt");
    uint32_t next = 0;
    ReadU32(next, m);
    EXPECT_EQ(next, 0xCAFEu);
  }
}

TEST(TextData, AlignmentKeepsItsTwoLowBits) {
  for (uint32_t stored : {3u, 6u, 0xFFFFFFFDu}) {
    TTextData d;
    d.Alignment = stored;
    const std::vector<uint8_t> bytes = WriteRecord(d);
    MemoryStream in(bytes);
    TTextData r;
    ASSERT_TRUE(r.Read(in));
    EXPECT_EQ(r.Alignment, stored & 3);
  }
}

// A newer writer's longer record is skipped to its end; a length past the
// end of the file drops the record.
TEST(TextData, RecordEndRule) {
  TTextData d;
  FillSample(d);
  std::vector<uint8_t> bytes = WriteRecord(d);
  const size_t plain = bytes.size();
  for (int i = 0; i < 9; ++i) bytes.push_back(0xEE);
  const uint32_t longer = static_cast<uint32_t>(bytes.size());
  std::memcpy(bytes.data(), &longer, 4);
  bytes.push_back(0x42);
  {
    MemoryStream in(bytes);
    TTextData r;
    ASSERT_TRUE(r.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(longer));
    EXPECT_STREQ(r.Text.c_str(), "Grüße");
  }
  const uint32_t tooLong = static_cast<uint32_t>(bytes.size() + 100);
  std::memcpy(bytes.data(), &tooLong, 4);
  MemoryStream in(bytes);
  TTextData r;
  EXPECT_FALSE(r.Read(in));
  EXPECT_GE(in.Position(), static_cast<int64_t>(plain));
}

TEST(TextData, AssignCopiesEveryFieldOnlyFromTextRecords) {
  TTextData src;
  FillSample(src);
  src.RecordLength = 99;
  TTextData d;
  d.Assign(&src);
  EXPECT_EQ(WriteRecord(d), WriteRecord(src));
  d.Assign(&d);
  EXPECT_STREQ(d.Text.c_str(), "Grüße");
  TData other;
  other.Flags = 0x55;
  d.Assign(&other);
  EXPECT_STREQ(d.Text.c_str(), "Text");
  EXPECT_EQ(d.Flags, kTextWrap);
  EXPECT_EQ(d.Angle, 0);
}

// The font comes from the installed maker: made with the defaults, again
// after every read and assign, dropped by Clear.
int fontsMade = 0;
struct CountedFont : TTextFont {};
std::unique_ptr<TTextFont> CountingMaker(FontRecord& choice) {
  ++fontsMade;
  choice.lfQuality = static_cast<uint8_t>((choice.lfQuality & 0xFC) | 4);
  return std::make_unique<CountedFont>();
}

TEST(TextData, FontFromTheMaker) {
  TTextFontMaker old = SetTextFontMaker(&CountingMaker);
  fontsMade = 0;
  {
    TTextData d;
    EXPECT_EQ(fontsMade, 1);
    ASSERT_NE(d.Font, nullptr);
    EXPECT_EQ(d.FontChoice.lfQuality, 4);
    d.Clear();
    EXPECT_EQ(d.Font, nullptr);
    d.Reload();
    EXPECT_NE(d.Font, nullptr);
    const std::vector<uint8_t> bytes = WriteRecord(d);
    MemoryStream in(bytes);
    TTextData r;
    r.Read(in);
    EXPECT_NE(r.Font, nullptr);
    TTextData a;
    a.Assign(&r);
    EXPECT_NE(a.Font, nullptr);
  }
  SetTextFontMaker(old);
}

// A shared object that a page gives no record is reset: it must come back
// as a new record would be, font included.
TEST(TextData, ResetIsANewRecordWithItsFont) {
  TTextFontMaker old = SetTextFontMaker(&CountingMaker);
  {
    TTextData sample;
    FillSample(sample);
    const std::vector<uint8_t> bytes = WriteRecord(sample);
    MemoryStream in(bytes);
    TTextData d;
    ASSERT_TRUE(d.Read(in));
    d.Reset();
    TTextData fresh;
    EXPECT_EQ(WriteRecord(d), WriteRecord(fresh));
    ASSERT_NE(d.Font, nullptr) << "the font of the default choice";
    EXPECT_EQ(d.FontChoice.lfQuality, fresh.FontChoice.lfQuality) << "as the maker adjusted it";
    // Assigning a record of another class leaves the text defaults, and a
    // font for them.
    TTextData fromOther;
    fromOther.Assign(&sample);
    TData base;
    fromOther.Assign(&base);
    EXPECT_STREQ(fromOther.Text.c_str(), "Text");
    EXPECT_STREQ(fromOther.FontChoice.lfFaceName, "Arial");
    EXPECT_NE(fromOther.Font, nullptr);
  }
  SetTextFontMaker(old);
}

// The fixture builder's `text` statement writes what the record's writer
// writes.
TEST(TextData, FixtureBuilderStatement) {
  const std::string description =
      "page 1\n"
      "  object text 10 10 200 60\n"
      "    text \"Hallo Welt\" font \"Courier New\" 24 bold italic colour #FF0000 align centre shadow #00FF00 3 -4 "
      "angle 45\n"
      "  object text 10 80 200 120\n"
      "    text \"x\" nowrap\n";
  TProjectDescription project;
  TDescriptionError error;
  ASSERT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
  const auto& objects = project.Image.Pages.at(0)->Record.Objects;
  ASSERT_EQ(objects.size(), 2u);

  TTextData expected;
  expected.Flags = kTextWrap | kTextShadow;
  expected.Text = "Hallo Welt";
  expected.FontChoice = MakeFontRecord(24, true, "Courier New");
  expected.FontChoice.lfWeight = 700;
  expected.FontChoice.lfItalic = 1;
  expected.FontChoice.Color = 0x0000FF;
  expected.Alignment = kTextCentre;
  expected.ShadowColour = 0x00FF00;
  expected.ShadowOffsetX = 3;
  expected.ShadowOffsetY = -4;
  expected.Angle = 45;
  TTextData plain;
  plain.Flags = 0;
  plain.Text = "x";
  TTextData* wanted[] = {&expected, &plain};
  for (size_t i = 0; i < 2; ++i) {
    MemoryStream built;
    objects[i].Data->Write(built);
    EXPECT_EQ(built.Data(), WriteRecord(*wanted[i])) << i;
  }
  // An option it does not know is refused on its line.
  EXPECT_FALSE(ParseProjectDescription("page 1\n  object text 0 0 9 9\n    text \"a\" sideways\n", "", project, error));
  EXPECT_EQ(error.Line, 3);
  EXPECT_NE(error.Message.find("text"), std::string::npos) << error.Message;
}

}  // namespace
