#include "objects/core/diawindowdata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../engine/format/bytes.h"
#include "engine/core/format/recordctx.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

// The class-wide cell size is restored after each test.
class DiaWindowData : public ::testing::Test {
protected:
  void TearDown() override { TDiaWindowData::ThumbnailSize = {96, 96}; }
};

std::vector<uint8_t> Stored(TDiaWindowData& d) {
  MemoryStream m;
  EXPECT_TRUE(d.Write(m));
  return m.Data();
}

// A show laid down from its table: no pictures, default-like values.
Bytes& EmptyShowBytes(Bytes& b, const std::string& header) {
  b.u32(0x024DD1DD).u16(0);
  b.u32(38).u32(5).u16(2).u16(0).u32(0).u32(0x00FFFF).str("").zeros(16);
  b.u16(1).u16(0).u32(2000).u32(10000).u16(3).u16(2).u16(0).str("").str(header).str("");
  FontBytes(b, "Arial", 24);
  FontBytes(b, "Arial", 14);
  b.u16(1).u16(1).u16(12).u16(13).u16(10).u16(0).u16(0).u16(14).u16(10).zeros(24);
  return b;
}

// A whole kind-16 record with the given length field (0: measured).
Bytes RecordBytes(uint32_t length, const std::string& pictureFolder, int32_t w, int32_t h, size_t extra = 0) {
  Bytes b;
  b.u32(0).u32(0x0B).i32(-1).i32(-1);
  EmptyShowBytes(b, "Kopf");
  b.str(pictureFolder).str("\\").str("bmp").i32(w).i32(h).u32(0x102030).u32(0x0000FF).u32(0x405060);
  for (int i = 0; i < 32; ++i) b.u8(static_cast<uint8_t>(0xA0 + i));
  b.zeros(extra);
  b.put32(0, length ? length : static_cast<uint32_t>(b.size()));
  return b;
}

TEST_F(DiaWindowData, DefaultRecordHasItsSizeAndFlags) {
  TDiaWindowData d;
  EXPECT_EQ(kDiaDefaultFlags, d.Flags);
  EXPECT_EQ(0x0Bu, d.Flags);
  const std::vector<uint8_t> bytes = Stored(d);
  EXPECT_EQ(351 + d.Option.HeaderText.length() + d.Option.FooterText.length(), bytes.size());
  EXPECT_EQ(bytes.size(), d.RecordLength);
}

TEST_F(DiaWindowData, FilledRecordRoundTripsAndEndsBehindItself) {
  TDiaWindowData d;
  d.PictureFolder = "C:\\Bilder";
  d.ThumbnailFolder = "C:\\Daumen";
  d.ThumbnailExtension = "jpg";
  d.ListColor = 0x112233;
  d.SelectionColor = 0x00FF00;
  d.ViewerColor = 0x445566;
  d.Reserved[31] = 7;
  auto e = std::make_unique<TDiaFileInfo>();
  e->PictureFile = "C:\\Bilder\\a.jpg";
  d.Option.Pictures.Add(std::move(e));
  TDiaWindowData::ThumbnailSize = {120, 80};
  std::vector<uint8_t> bytes = Stored(d);
  bytes.push_back(0x99);  // whatever the container writes next
  TDiaWindowData::ThumbnailSize = {96, 96};
  MemoryStream m(bytes);
  TDiaWindowData back;
  EXPECT_TRUE(back.Read(m));
  EXPECT_EQ(static_cast<int64_t>(bytes.size() - 1), m.Position());
  EXPECT_EQ("C:\\Bilder", back.PictureFolder.str());
  EXPECT_EQ("C:\\Daumen", back.ThumbnailFolder.str());
  EXPECT_EQ("jpg", back.ThumbnailExtension.str());
  EXPECT_EQ(0x112233u, back.ListColor);
  EXPECT_EQ(0x00FF00u, back.SelectionColor);
  EXPECT_EQ(0x445566u, back.ViewerColor);
  EXPECT_EQ(7, back.Reserved[31]);
  ASSERT_EQ(1, back.Option.Pictures.Count());
  EXPECT_EQ("C:\\Bilder\\a.jpg", back.Option.Pictures[0].PictureFile.str());
  EXPECT_EQ(120, TDiaWindowData::ThumbnailSize.cx);
  EXPECT_EQ(80, TDiaWindowData::ThumbnailSize.cy);
}

TEST_F(DiaWindowData, HandAssembledRecordsReadRight) {
  struct Case {
    const char* what;
    Bytes bytes;
    int64_t end;  // where the stream stands after the record
  };
  const Bytes measured = RecordBytes(0, "\\", 64, 48);
  const int64_t fields = static_cast<int64_t>(measured.size());
  const Case cases[] = {
      {"length as written", measured, fields},
      {"a longer length is skipped", RecordBytes(static_cast<uint32_t>(fields + 20), "\\", 64, 48, 30), fields + 20},
      {"a zero length keeps the position", RecordBytes(0xFFFFFFFF, "\\", 64, 48).put32(0, 0), fields},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryStream m = c.bytes.stream();
    TDiaWindowData d;
    d.PictureFolder = "vorher";
    EXPECT_TRUE(d.Read(m));
    EXPECT_EQ(c.end, m.Position());
    EXPECT_TRUE(d.PictureFolder.is_null()) << "a stored \"\\\" reads as empty";
    EXPECT_TRUE(d.ThumbnailFolder.is_null());
    EXPECT_EQ("Kopf", d.Option.HeaderText.str());
    EXPECT_EQ(0x102030u, d.ListColor);
    EXPECT_EQ(0x405060u, d.ViewerColor);
    EXPECT_EQ(0xBF, d.Reserved[31]);
    EXPECT_EQ(64, TDiaWindowData::ThumbnailSize.cx);
    EXPECT_EQ(48, TDiaWindowData::ThumbnailSize.cy);
  }
}

TEST_F(DiaWindowData, CellSizeIsClassWideAndWrittenBackAsRead) {
  // Two windows on one project: the record read last sets the size of both,
  // and an unusable size is kept for writing but drawn at 96.
  const struct { const char* what; int32_t w, h, cellW, cellH; } cases[] = {
      {"usable", 128, 64, 128, 64},
      {"too small and too large", 8, 300, 96, 96},
      {"negative", -5, 255, 96, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TDiaWindowData first, second;
    MemoryStream a = RecordBytes(0, "C:\\A", 50, 50).stream();
    MemoryStream b = RecordBytes(0, "C:\\B", c.w, c.h).stream();
    first.Read(a);
    second.Read(b);
    EXPECT_EQ(c.cellW, TDiaWindowData::CellSize().cx);
    EXPECT_EQ(c.cellH, TDiaWindowData::CellSize().cy);
    const std::vector<uint8_t> again = Stored(first);
    int32_t stored[2];
    std::memcpy(stored, &again[again.size() - 32 - 12 - 8], sizeof stored);
    EXPECT_EQ(c.w, stored[0]);
    EXPECT_EQ(c.h, stored[1]);
  }
}

// Resolves by prefixing, to see which names went through the project.
class TPrefixProject : public TFileVersionScope {
public:
  TPrefixProject() : TFileVersionScope(kFileVersionMajor, kFileVersionMinor) {}
  string ResolvePath(const string& name) const override { return string("R:") + name; }
};

TEST_F(DiaWindowData, NamesAreResolvedOnlyWithAProjectOpen) {
  TDiaWindowData d;
  d.PictureFolder = "bilder";
  d.ThumbnailFolder = "";
  d.Option.BackgroundSoundFile = "musik.mid";
  auto e = std::make_unique<TDiaFileInfo>();
  e->PictureFile = "a.jpg";
  e->SoundFile = "a.wav";
  d.Option.Pictures.Add(std::move(e));
  const std::vector<uint8_t> bytes = Stored(d);
  {
    TDiaWindowData plain;
    MemoryStream m(bytes);
    plain.Read(m);
    EXPECT_EQ("bilder", plain.PictureFolder.str());
  }
  TPrefixProject project;
  TDiaWindowData r;
  MemoryStream m(bytes);
  r.Read(m);
  EXPECT_EQ("R:bilder", r.PictureFolder.str());
  EXPECT_TRUE(r.ThumbnailFolder.is_null());
  EXPECT_EQ("R:musik.mid", r.Option.BackgroundSoundFile.str());
  EXPECT_EQ("R:a.jpg", r.Option.Pictures[0].PictureFile.str());
  EXPECT_EQ("R:a.wav", r.Option.Pictures[0].SoundFile.str());
}

TEST_F(DiaWindowData, AssignCopiesAllButTheCellSize) {
  TDiaWindowData a;
  a.PictureFolder = "C:\\X";
  a.SelectionColor = 0x123456;
  a.Option.HeaderText = "H";
  a.Flags = 0x1;
  TDiaWindowData b;
  b.Assign(&a);
  EXPECT_EQ("C:\\X", b.PictureFolder.str());
  EXPECT_EQ(0x123456u, b.SelectionColor);
  EXPECT_EQ("H", b.Option.HeaderText.str());
  EXPECT_EQ(0x1u, b.Flags);
  a.Option.HeaderText = "changed";
  EXPECT_EQ("H", b.Option.HeaderText.str());
  TRawData other;
  b.Assign(&other);
  EXPECT_EQ(kDiaDefaultFlags, b.Flags);
  EXPECT_TRUE(b.PictureFolder.is_null());
}

TEST_F(DiaWindowData, SlidesStatementWritesTheRecord) {
  const std::string text =
      "size 640 480\npage 1\n  object slides \"D\" 10 10 410 130\n"
      "    slides folder \"C:\\\\Bilder\" cell 100 90 selection #00FF00 flags 3 "
      "picture \"C:\\\\Bilder\\\\a.bmp\" header \"Eins\" picture \"C:\\\\Bilder\\\\b.bmp\" "
      "interval 1000 transition 5 400 keys 12 13 10 14 0 header \"Oben\" background #102030\n";
  TProjectDescription project;
  TDescriptionError err;
  ASSERT_TRUE(ParseProjectDescription(text, ".", project, err)) << err.Line << ": " << err.Message;
  MemoryStream m;
  project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
  m.Seek(0);
  TDiaWindowData d;
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(m.Length(), m.Position());
  EXPECT_EQ("C:\\Bilder", d.PictureFolder.str());
  EXPECT_EQ(3u, d.Flags);
  EXPECT_EQ(0x00FF00u, d.SelectionColor);
  EXPECT_EQ(100, TDiaWindowData::ThumbnailSize.cx);
  EXPECT_EQ(90, TDiaWindowData::ThumbnailSize.cy);
  ASSERT_EQ(2, d.Option.Pictures.Count());
  EXPECT_EQ("Eins", d.Option.Pictures[0].HeaderText.str());
  EXPECT_EQ("C:\\Bilder\\b.bmp", d.Option.Pictures[1].PictureFile.str());
  EXPECT_EQ(1000u, d.Option.AdvanceInterval);
  EXPECT_EQ(5, d.Option.TransitionKind);
  EXPECT_EQ("Oben", d.Option.HeaderText.str());
  EXPECT_EQ(0x302010u, d.Option.Background.Colour1);
}

}  // namespace
