// TBackground's stored form: with and without a picture, the has-picture
// byte or the peek for "BM", linked pictures, the stored length.
#include <gtest/gtest.h>

#include "bytes.h"
#include "engine/core/format/background.h"
#include "engine/core/format/recordctx.h"
#include "tools/core/desc/tsldesc.h"

using tsl::MemoryStream;

namespace {

// The embedded-picture form: "BM", block + 40, 0, 0, bits offset, block.
Bytes& Embedded(Bytes& b, const std::vector<uint8_t>& dib) {
  b.u16(0x4D42).u32(static_cast<uint32_t>(dib.size() + 40)).u16(0).u16(0).u32(54);
  return b.append(dib);
}

// Head of a stored background up to its reserved bytes.
Bytes& Head(Bytes& b, uint32_t length, uint32_t flags, uint16_t mode, const char* file = "") {
  return b.u32(length).u32(flags).u16(mode).u16(3).u32(0x112233).u32(0x445566).str(file).zeros(16);
}

// An open project that resolves names and serves one picture file.
struct PictureProject : tsl::TRecordContext {
  PictureProject() : previous(tsl::SetOpenProject(this)) {}
  ~PictureProject() override { tsl::SetOpenProject(previous); }
  uint8_t FileVersionMajor() const override { return 4; }
  uint8_t FileVersionMinor() const override { return 7; }
  string ResolvePath(const string& name) const override { return "C:\\P\\" + name; }
  bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const override {
    asked.push_back(path.str());
    if (path != "C:\\P\\bild.bmp") return false;
    dib = MakeGradientDib(3, 2, 0, 0xFFFFFF);
    return true;
  }
  mutable std::vector<std::string> asked;
  tsl::TRecordContext* previous;
};

}  // namespace

TEST(TBackground, ColourWithoutPicture) {
  Bytes b;
  Head(b, 38, 0x4, kFillColour);
  ASSERT_EQ(b.size(), 38u);
  MemoryStream m = b.stream();
  TBackground bg;
  bg.Read(m);
  EXPECT_EQ(bg.Mode, kFillColour);
  EXPECT_EQ(bg.Pattern, 3);
  EXPECT_EQ(bg.Colour1, 0x112233u);
  EXPECT_EQ(bg.Colour2, 0x445566u);
  EXPECT_TRUE(bg.Picture.empty());
  MemoryStream w;
  bg.Write(w);
  EXPECT_EQ(w.Data(), b.data());
}

TEST(TBackground, EmbeddedPictureWithAndWithoutPresenceByte) {
  const std::vector<uint8_t> dib = MakeGradientDib(4, 4, 0x0000FF, 0xFF0000);
  struct Case { uint16_t mode; uint32_t flags; bool byte; bool bm; bool picture; };
  const Case cases[] = {
      {kFillStretch, 0x4, true, true, true},   // presence byte 1
      {kFillTile, 0x4, true, false, false},    // presence byte 0
      {kFillTile, 0x0, false, true, true},     // peek finds "BM"
      {kFillStretch, 0x0, false, false, false},  // peek finds none, nothing consumed
      {kFillColour, 0x4, false, false, false},   // other modes carry no picture
  };
  for (const Case& c : cases) {
    Bytes b;
    Head(b, 0, c.flags, c.mode);
    if (c.byte) b.u8(c.bm ? 1 : 0);
    if (c.bm) Embedded(b, dib);
    const size_t end = b.size();
    b.put32(0, static_cast<uint32_t>(end));
    b.u32(0xDEADBEEF);  // what follows the record
    MemoryStream m = b.stream();
    TBackground bg;
    bg.Read(m);
    EXPECT_EQ(bg.Picture.empty(), !c.picture) << c.mode << " " << c.flags;
    if (c.picture) {
      EXPECT_EQ(bg.Picture, dib);
    }
    EXPECT_EQ(m.Position(), static_cast<int64_t>(end)) << c.mode << " " << c.flags;
    int32_t w, h;
    EXPECT_EQ(bg.GetPictureSize(w, h), c.picture);
  }
}

TEST(TBackground, WrittenWithPresenceByteAndMeasuredLength) {
  TBackground bg;
  bg.Mode = kFillStretch;
  bg.Flags = 0;
  bg.Picture = MakeGradientDib(5, 3, 0, 0xFFFFFF);
  MemoryStream w;
  bg.Write(w);
  EXPECT_EQ(bg.Flags, kBackgroundHasByte);
  EXPECT_EQ(bg.Length, w.Data().size());
  w.Seek(0);
  TBackground r;
  r.Read(w);
  EXPECT_EQ(r.Picture, bg.Picture);
  int32_t width, height;
  ASSERT_TRUE(r.GetPictureSize(width, height));
  EXPECT_EQ(width, 5);
  EXPECT_EQ(height, 3);
  MemoryStream again;
  r.Write(again);
  EXPECT_EQ(again.Data(), w.Data());
}

TEST(TBackground, PictureWithoutPixelsIsNoPicture) {
  for (auto size : {std::pair<int, int>{0, 4}, {4, 0}}) {
    std::vector<uint8_t> dib = MakeGradientDib(1, 1, 0, 0);
    const int32_t w = size.first, h = size.second;
    std::memcpy(&dib[4], &w, 4);
    std::memcpy(&dib[8], &h, 4);
    Bytes b;
    Head(b, 0, 0x4, kFillTile).u8(1);
    Embedded(b, dib);
    MemoryStream m = b.stream();
    TBackground bg;
    bg.Read(m);
    int32_t pw, ph;
    EXPECT_FALSE(bg.GetPictureSize(pw, ph)) << w << "x" << h;
  }
}

TEST(TBackground, StoredLengthDecidesWhereReadingGoesOn) {
  struct Case { uint32_t length; int64_t position; };
  const Case cases[] = {{38, 38}, {48, 48}, {0, 38}, {20, 38}, {1000, 38}};
  for (const Case& c : cases) {
    Bytes b;
    Head(b, c.length, 0x4, kFillColour).zeros(10);
    MemoryStream m = b.stream();
    TBackground bg;
    bg.Read(m);
    EXPECT_EQ(m.Position(), c.position) << c.length;
  }
}

TEST(TBackground, LinkedPictureThroughTheOpenProject) {
  PictureProject project;
  Bytes b;
  Head(b, 0, 0x1 | 0x4, kFillStretch, "bild.bmp");
  b.put32(0, static_cast<uint32_t>(b.size()));
  MemoryStream m = b.stream();
  TBackground bg;
  bg.Read(m);
  ASSERT_EQ(project.asked, std::vector<std::string>{"C:\\P\\bild.bmp"});
  EXPECT_FALSE(bg.Picture.empty());
  EXPECT_EQ(bg.PictureFile, "bild.bmp") << "the stored name stays for writing";
  MemoryStream w;
  bg.Write(w);
  EXPECT_EQ(w.Data(), b.data()) << "a linked picture is never embedded";

  bg.PictureFile = "fehlt.bmp";
  EXPECT_FALSE(bg.LoadPicture());
  EXPECT_TRUE(bg.Picture.empty());
}

TEST(TBackground, CopiesLeaveTheReservedBytes) {
  TBackground a;
  a.Mode = kFillTile;
  a.Reserved16[0] = 9;
  a.Picture = MakeGradientDib(2, 2, 0, 0);
  TBackground copy(a);
  EXPECT_EQ(copy.Reserved16[0], 0);
  EXPECT_EQ(copy.Picture, a.Picture);
  TBackground assigned;
  assigned.Reserved16[1] = 4;
  assigned = a;
  EXPECT_EQ(assigned.Reserved16[0], 0);
  EXPECT_EQ(assigned.Reserved16[1], 4);
  EXPECT_EQ(assigned.Mode, kFillTile);
  assigned.Mode = kFillColour;
  assigned.FreeGdiObjects();
  EXPECT_TRUE(assigned.Picture.empty());
}
