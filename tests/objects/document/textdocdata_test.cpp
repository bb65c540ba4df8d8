#include "objects/core/textdocdata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "engine/core/format/recordctx.h"
#include "engine/format/bytes.h"

using namespace tsl;

namespace {

// Files of the fake file system the record reads plain text from.
std::map<std::string, std::string> Files;

bool ReadFake(const string& path, size_t limit, std::string& bytes) {
  auto it = Files.find(path.c_str());
  if (it == Files.end()) return false;
  bytes = it->second.substr(0, limit);
  return true;
}

class TextDocData : public ::testing::Test {
protected:
  void SetUp() override {
    Files.clear();
    previous_ = SetDocumentFileReader(&ReadFake);
  }
  void TearDown() override { SetDocumentFileReader(previous_); }
  TDocumentFileReader previous_ = nullptr;
};

// The record laid down field by field: base, colour, font, name, byte,
// margin, 13 bytes, then `tail` (text and bar block as the case needs).
Bytes Record(uint32_t flags, const std::string& name, const Bytes& tail, uint32_t length = 0) {
  Bytes b;
  b.u32(length).u32(flags).u32(5).u32(6).u32(0x00FF8040);
  FontBytes(b, "Times New Roman", 20);
  b.str(name).u8(1).i16(7);
  for (int i = 0; i < 13; ++i) b.u8(static_cast<uint8_t>(0xA0 + i));
  b.append(tail.data());
  if (length == 0) b.put32(0, static_cast<uint32_t>(b.size()));
  return b;
}

Bytes BarBlock() {
  Bytes b;
  b.u32(0x111111).u32(0x222222).u32(0x333333).u32(9).u32(50).u32(3).u32(2);
  b.u16(1).u16(0).u16(1).u16(0).u16(1).u16(0);
  for (int i = 0; i < 32; ++i) b.u8(static_cast<uint8_t>(i));
  return b;
}

TEST_F(TextDocData, Defaults) {
  TTextDocData d;
  EXPECT_EQ(d.Flags, 0x1403u);
  EXPECT_EQ(d.BackgroundColour, 0xC0C0C0u);
  EXPECT_STREQ(d.FontChoice.lfFaceName, "Arial");
  EXPECT_EQ(d.FontChoice.lfHeight, 17);
  EXPECT_EQ(d.FontChoice.Color, 0u);
  EXPECT_EQ(d.Margin, 0);
  EXPECT_EQ(d.KindMark, 0);
  EXPECT_TRUE(d.Bar == TKVR_ScrollerSettings());
}

TEST_F(TextDocData, ReadsLaidDownRecords) {
  Files["/p/plain.txt"] = "Aus der Datei";
  const struct {
    const char* what;
    uint32_t flags;
    std::string name;
    Bytes tail;
    std::string text;
    uint32_t flagsAfter;
    bool bar;
  } cases[] = {
      {"embedded RTF with its text and the bar block", kDocEmbedded | kDocEmbeddedRtf | kDocHasBarBlock, "",
       Bytes().str("{\\rtf1 Hallo}").append(BarBlock().data()), "{\\rtf1 Hallo}",
       kDocEmbedded | kDocEmbeddedRtf | kDocHasBarBlock, true},
      {"file text: the text comes from the file, none is stored", kDocFileText | kDocHasBarBlock, "/p/plain.txt",
       BarBlock(), "Aus der Datei", kDocFileText | kDocHasBarBlock, true},
      {"old record: neither form; becomes file text and the stored text wins", 0, "/p/plain.txt",
       Bytes().str("Gespeichert"), "Gespeichert", kDocFileText, false},
      {"embedded without text: the record ends before it", kDocEmbedded, "", Bytes(), "", kDocEmbedded, false},
      {"an RTF file is not read as plain text", kDocFileText, "/p/doc.RTF", Bytes(), "", kDocFileText, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Files["/p/doc.RTF"] = "{\\rtf1 x}";
    const Bytes b = Record(c.flags, c.name, c.tail);
    MemoryStream in(b.data());
    TTextDocData d;
    ASSERT_TRUE(d.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(b.size()));
    EXPECT_EQ(d.Flags, c.flagsAfter);
    EXPECT_EQ(std::string(d.DocumentText.c_str()), c.text);
    EXPECT_EQ(std::string(d.FileName.c_str()), c.name);
    EXPECT_EQ(d.BackgroundColour, 0x00FF8040u);
    EXPECT_STREQ(d.FontChoice.lfFaceName, "Times New Roman");
    EXPECT_EQ(d.KindMark, 1);
    EXPECT_EQ(d.Margin, 7);
    EXPECT_EQ(d.Reserved[12], 0xAC);
    if (c.bar) {
      EXPECT_EQ(d.Bar.BackgroundColour, 0x111111u);
      EXPECT_EQ(d.Bar.ProgressColourAfter, 0x333333u);
      EXPECT_EQ(d.Bar.GrooveThickness, 9u);
      EXPECT_EQ(d.Bar.AutoRepeatInterval, 50u);
      EXPECT_EQ(d.Bar.ThumbStyle, 3u);
      EXPECT_EQ(d.Bar.ArrowStyle, 2u);
      EXPECT_EQ(d.Bar.Vertical, 1);
      EXPECT_EQ(d.Bar.Transparent, 1);
      EXPECT_EQ(d.Bar.AutoRepeat, 1);
      EXPECT_EQ(d.Bar.Reserved[31], 31);
    }
  }
}

TEST_F(TextDocData, LaterRecordsAreSkippedToTheirEnd) {
  Bytes tail = Bytes().str("{\\rtf1 a}").append(BarBlock().data());
  tail.u32(0xDEADBEEF).u32(0xDEADBEEF);  // fields of a later version
  Bytes b = Record(kDocEmbedded | kDocEmbeddedRtf | kDocHasBarBlock, "", tail);
  b.u32(0x12345678);  // the next record
  MemoryStream in(b.data());
  TTextDocData d;
  ASSERT_TRUE(d.Read(in));
  EXPECT_EQ(in.Position(), static_cast<int64_t>(b.size() - 4));
  EXPECT_STREQ(d.DocumentText.c_str(), "{\\rtf1 a}");
}

TEST_F(TextDocData, RoundTripKeepsEveryStoredByte) {
  const Bytes original =
      Record(kDocEmbedded | kDocEmbeddedRtf | kDocLinks | kDocSingleClick | kDocHasBarBlock, "",
             Bytes().str("{\\rtf1 \\'e4\\'f6\\'fc}").append(BarBlock().data()));
  MemoryStream in(original.data());
  TTextDocData d;
  ASSERT_TRUE(d.Read(in));
  MemoryStream out;
  ASSERT_TRUE(d.Write(out));
  EXPECT_EQ(out.Data(), original.data());

  TTextDocData copy;
  copy.Assign(&d);
  MemoryStream again;
  copy.Write(again);
  EXPECT_EQ(again.Data(), original.data());
  copy.Assign(&copy);
  EXPECT_EQ(copy.Margin, 7);
}

TEST_F(TextDocData, WriteAlwaysCarriesTheBarBlockAndNoFileText) {
  Files["/p/plain.txt"] = "Datei";
  TTextDocData d;
  d.Flags = kDocFileText;
  d.FileName = "/p/plain.txt";
  d.DocumentText = "wird nicht gespeichert";
  MemoryStream out;
  d.Write(out);
  EXPECT_EQ(out.Data().size(), 16u + 4 + 82 + 2 + 12 + 1 + 2 + 13 + 72);
  MemoryStream in(out.Data());
  TTextDocData r;
  ASSERT_TRUE(r.Read(in));
  EXPECT_EQ(r.Flags, kDocFileText | kDocHasBarBlock);
  EXPECT_STREQ(r.DocumentText.c_str(), "Datei");
}

TEST_F(TextDocData, PlainFileTextStopsAt32766Bytes) {
  Files["/p/long.txt"] = std::string(40000, 'x');
  TTextDocData d;
  d.Flags = kDocFileText;
  d.FileName = "/p/long.txt";
  d.LoadDocumentText();
  EXPECT_EQ(d.DocumentText.length(), 32766u);
}

TEST_F(TextDocData, RtfTests) {
  const struct {
    const char* name;
    uint32_t flags;
    bool rtf;
    bool extension;
  } cases[] = {
      {"a.rtf", 0, true, true},        {"A.RTF.txt", 0, true, false}, {"a.txt", 0, false, false},
      {"rtf", 0, false, false},        {"a.rtf", kDocEmbedded, false, true},
      {"", kDocEmbedded | kDocEmbeddedRtf, true, false},
  };
  for (const auto& c : cases) {
    TTextDocData d;
    d.FileName = c.name;
    d.Flags = c.flags;
    EXPECT_EQ(d.IsRtfDocument(), c.rtf) << c.name << " flags " << c.flags;
    EXPECT_EQ(HasRtfExtension(c.name), c.extension) << c.name;
  }
}

TEST_F(TextDocData, DamagedRecordsFailOrStopCleanly) {
  const Bytes full = Record(kDocEmbedded | kDocHasBarBlock, "", Bytes().str("abc").append(BarBlock().data()));
  for (size_t cut : {size_t{20}, size_t{100}, full.size() - 1}) {
    std::vector<uint8_t> bytes(full.data().begin(), full.data().begin() + static_cast<long>(cut));
    MemoryStream in(bytes);
    TTextDocData d;
    EXPECT_FALSE(d.Read(in)) << "cut at " << cut;
  }
  Bytes huge = Record(kDocEmbedded, "", Bytes().u16(0xFFFF));
  MemoryStream in(huge.data());
  TTextDocData d;
  d.Read(in);  // a text length past the end must not read outside the stream
  EXPECT_LE(d.DocumentText.length(), huge.size());
}

}  // namespace

#include "tools/core/desc/tsldesc.h"

namespace {

TEST_F(TextDocData, FixtureBuilderStatement) {
  const std::string description =
      "page 1\n"
      "  object document 10 10 200 60\n"
      "    document file \"<CURRENTPROJECTDIR>a.rtf\" links doubleclick vscroll margin 4 colour #FFFFE0\n"
      "  object rtf 10 80 200 120\n"
      "    document embedded \"{\\\\rtf1 Hallo}\" rtf links bar transparent thumb 3\n";
  TProjectDescription project;
  TDescriptionError error;
  ASSERT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
  const auto& objects = project.Image.Pages.at(0)->Record.Objects;
  ASSERT_EQ(objects.size(), 2u);
  const struct {
    uint32_t flags;
    const char* name;
    const char* text;
    int16_t margin;
    uint32_t colour;
    uint16_t transparent;
    uint32_t thumb;
  } expected[] = {
      {kDocWrap | kDocHasBarBlock | kDocFileText | kDocLinks | kDocVScroll, "<CURRENTPROJECTDIR>a.rtf", "", 4,
       0xE0FFFF, 0, 1},
      {kDocWrap | kDocHasBarBlock | kDocEmbedded | kDocEmbeddedRtf | kDocLinks | kDocSingleClick, "",
       "{\\rtf1 Hallo}", 0, 0xC0C0C0, 1, 3},
  };
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    MemoryStream built;
    objects[i].Data->Write(built);
    MemoryStream in(built.Data());
    TTextDocData d;
    ASSERT_TRUE(d.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(built.Data().size()));
    EXPECT_EQ(d.Flags, expected[i].flags);
    EXPECT_STREQ(d.FileName.c_str(), expected[i].name);
    EXPECT_STREQ(d.DocumentText.c_str(), expected[i].text);
    EXPECT_EQ(d.Margin, expected[i].margin);
    EXPECT_EQ(d.BackgroundColour, expected[i].colour);
    EXPECT_EQ(d.Bar.Transparent, expected[i].transparent);
    EXPECT_EQ(d.Bar.ThumbStyle, expected[i].thumb);
  }
  EXPECT_FALSE(ParseProjectDescription("page 1\n  object document 0 0 9 9\n    document file \"a\" sideways\n", "",
                                       project, error));
  EXPECT_EQ(error.Line, 3);
}

}  // namespace
