// The setup screen's picture table: defaults, the record laid down byte by
// byte, tracing on masks and placement.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "actions/core/bildeintrag.h"
#include "engine/format/bytes.h"

namespace {

// Pictures made at test time from rows of characters: '.' transparent
// (black), anything else set.
class TFakePictures : public TPictureSource {
public:
  std::map<std::string, TPictureBits> Files;
  int Loads = 0;
  bool Load(const tsl::string& file, TPictureBits& out) override {
    ++Loads;
    const auto it = Files.find(file.str());
    if (it == Files.end()) return false;
    out = it->second;
    return true;
  }
};

TPictureBits Picture24(const std::vector<std::string>& rows) {
  TPictureBits b;
  b.Width = static_cast<int32_t>(rows[0].size());
  b.Height = static_cast<int32_t>(rows.size());
  b.BitCount = 24;
  const size_t stride = (b.Width * 3 + 3) / 4 * 4;
  b.Pixels.assign(stride * b.Height, 0);
  for (int y = 0; y < b.Height; ++y)
    for (int x = 0; x < b.Width; ++x)
      if (rows[y][x] != '.') {
        uint8_t* p = &b.Pixels[(b.Height - 1 - y) * stride + 3 * x];  // bottom-up
        p[0] = 0x10; p[1] = 0x20; p[2] = 0x30;
      }
  return b;
}

std::vector<TPoint32> Trace(const std::vector<std::string>& rows) {
  std::vector<uint8_t> mask;
  const TPictureBits b = Picture24(rows);
  EXPECT_TRUE(BuildOutlineMask(b, 0, mask));
  return TraceContour(mask, b.Width, b.Height);
}

TEST(Pictures, DefaultTableNamesAndFolders) {
  const TBildEintragDatei t;
  ASSERT_EQ(t.Entries.size(), 44u);
  EXPECT_EQ(t.Entries[43].Number, 43);
  EXPECT_EQ(t.Entries[0].Shaped, 1);
  EXPECT_STREQ(t.Entries[0].Font.lfFaceName, "Arial");
  EXPECT_EQ(t.Entries[0].Font.lfHeight, 24);
  const struct {
    int n;
    const char* name;
  } names[] = {{0, "Hintergrund Seite1"},      {2, "Hintergrund Seite3"},     {3, "Seite1 Weiter_1"},
               {8, "Seite1 Beenden_3"},        {9, "Seite2 Programmgruppe_1"}, {15, "Seite2 Zur\xFC" "ck_1"},
               {23, "Seite2 Beenden_3"},       {24, "Seite3 Installieren_1"},  {29, "Seite3 Zur\xFC" "ck_3"},
               {32, "Seite3 Beenden_3"},       {33, "Fortschritt Gruppe"},     {34, "Fortschritt #1"},
               {43, "Fortschritt #10"}};
  for (const auto& n : names) EXPECT_EQ(DefaultPictureName(n.n).str(), n.name) << n.n;
  TBildEintragDatei s;
  s.SetDefaultNames("C:\\P\\", "blau\\", false);
  EXPECT_EQ(s.Entries[34].FileName.str(), "C:\\P\\BITMAPS\\blau\\Fortschritt #1.bmp");
  s.SetDefaultNames("C:\\P\\", "blau\\", true);
  EXPECT_EQ(s.Entries[0].FileName.str(), "C:\\P\\Hintergrund Seite1.bmp");
}

TEST(Pictures, TracingEdgeCases) {
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    std::vector<TPoint32> points;
  };
  const std::vector<Case> cases = {
      {"all transparent", {"...", "..."}, {}},
      {"single pixel", {"...", ".x.", "..."}, {}},
      {"rectangle clockwise from its top left", {".....", ".xxx.", ".xxx.", "....."},
       {{1, 1}, {2, 1}, {3, 1}, {3, 2}, {2, 2}, {1, 2}}},
      {"diagonal pair", {"x.", ".x"}, {{0, 0}, {1, 1}}},
      {"shape touching the edges", {"xxx", "xxx", "..."}, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}}},
      // The walk gets width x height - 1 steps: round a full 2 x 2 picture
      // it needs four.
      {"walk longer than the bound", {"xx", "xx"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Trace(c.rows), c.points);
  }
  // Only 8- and 24-bit pictures are traced.
  TPictureBits four = Picture24({"xx"});
  four.BitCount = 4;
  std::vector<uint8_t> mask;
  EXPECT_FALSE(BuildOutlineMask(four, 0, mask));
  // An 8-bit picture compares its palette colours; an index beyond the
  // palette counts as set.
  TPictureBits eight;
  eight.Width = 3;
  eight.Height = -1;  // top-down
  eight.BitCount = 8;
  eight.Pixels = {0, 1, 200, 0};
  eight.Palette = {0x30, 0x20, 0x10, 0, 0, 0, 0, 0};  // 0: #102030, 1: black
  ASSERT_TRUE(BuildOutlineMask(eight, 0x302010, mask));
  EXPECT_EQ(mask, (std::vector<uint8_t>{0, 1, 1}));
  // Pixels that do not fill the size are no picture.
  TPictureBits cut = Picture24({"xx", "xx"});
  cut.Pixels.resize(4);
  EXPECT_FALSE(BuildOutlineMask(cut, 0, mask));
  // A mask smaller than its size traces nothing.
  EXPECT_TRUE(TraceContour({1, 1}, 3, 1).empty());
}

TEST(Pictures, PlacementByAlignment) {
  const struct {
    uint16_t align;
    TRect32 placed;
  } cases[] = {{0, {100, 100, 150, 130}}, {1, {75, 100, 125, 130}}, {2, {50, 100, 100, 130}},
               {3, {100, 85, 150, 115}},  {4, {75, 85, 125, 115}},  {5, {50, 85, 100, 115}},
               {6, {100, 70, 150, 100}},  {7, {75, 70, 125, 100}},  {8, {50, 70, 100, 100}},
               {9, {100, 100, 150, 130}}};
  TFakePictures pics;
  pics.Files["p.bmp"] = Picture24(std::vector<std::string>(30, std::string(50, 'x')));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.align);
    TBildEintrag e;
    e.Shaped = 0;
    e.FileName = "p.bmp";
    e.Anchor = {100, 100};
    e.Alignment = c.align;
    e.Place(pics);
    EXPECT_EQ(e.Placed, c.placed) << e.Placed.left << "," << e.Placed.top << "," << e.Placed.right << ","
                                  << e.Placed.bottom;
  }
  // A shaped entry is sized by its points' bounds (the largest values
  // inclusive) and moved by the anchor less the bounds' origin.
  TBildEintrag s;
  s.Points = {{10, 20}, {14, 20}, {14, 26}};
  s.Anchor = {100, 100};
  s.Place(pics);
  EXPECT_EQ(s.Placed, (TRect32{90, 80, 94, 86}));
  // A missing picture leaves an unshaped entry where it was.
  TBildEintrag m;
  m.Shaped = 0;
  m.FileName = "gone.bmp";
  m.Placed = {1, 2, 3, 4};
  m.Place(pics);
  EXPECT_EQ(m.Placed, (TRect32{1, 2, 3, 4}));
}

TEST(Pictures, RecordBytesTracingOnWriteAndReadBack) {
  TFakePictures pics;
  pics.Files["C:\\s.bmp"] = Picture24({"....", ".xx.", ".xx.", "...."});
  TBildEintrag e;
  e.FileName = "C:\\s.bmp";
  e.Anchor = {10, 20};
  e.Number = 5;
  e.Alignment = 0;
  e.Caption = "Weiter";
  tsl::MemoryStream out;
  ASSERT_TRUE(e.Write(out, pics));
  // Traced on writing; the placed rectangle written again at its place.
  Bytes b;
  b.str("C:\\s.bmp").i32(10).i32(20).i32(9).i32(19).i32(10).i32(20).u16(5).u16(0).u32(0).u8(1).str("Weiter");
  b.i32(0).i32(0).i32(0).i32(0);
  tsl::MemoryStream font;
  tsl::WriteFontRecord(TBildEintrag::DefaultFont(), font);
  b.append(font.Data());
  b.i16(4).i32(1).i32(1).i32(2).i32(1).i32(2).i32(2).i32(1).i32(2);
  EXPECT_EQ(out.Data(), b.data());

  tsl::MemoryStream in = b.stream();
  TBildEintrag r;
  r.Read(in);
  EXPECT_EQ(r.FileName.str(), "C:\\s.bmp");
  EXPECT_EQ(r.Points.size(), 4u);
  EXPECT_EQ(r.Placed, (TRect32{9, 19, 10, 20}));
  EXPECT_EQ(r.Caption.str(), "Weiter");

  // An unshaped record's points are passed over and the next record reads
  // from its start; a count the file does not hold ends at its end.
  Bytes two;
  two.str("a").zeros(8 + 16).u16(1).u16(0).u32(0).u8(0).str("").zeros(16).append(font.Data());
  two.i16(1).i32(7).i32(7);
  two.str("b").zeros(8 + 16).u16(2).u16(0).u32(0).u8(1).str("").zeros(16).append(font.Data());
  two.i16(32767).i32(3).i32(4);
  tsl::MemoryStream s2 = two.stream();
  TBildEintrag first, second;
  first.Read(s2);
  second.Read(s2);
  EXPECT_TRUE(first.Points.empty());
  EXPECT_EQ(second.FileName.str(), "b");
  EXPECT_EQ(second.Points, (std::vector<TPoint32>{{3, 4}}));

  // Copying the table copies every entry.
  TBildEintragDatei t;
  t.Entries[3] = r;
  const TBildEintragDatei c = t;
  EXPECT_EQ(c.Entries[3].Points, r.Points);
}

}  // namespace
