// Which codec a name chooses, the picture-name test and the extension
// list; the metafile header tests.
#include <gtest/gtest.h>

#include "imaging/core/dib.h"
#include "imaging/core/picname.h"
#include "imaging/core/wmfheader.h"

using picgen_Bytes = std::vector<uint8_t>;

TEST(PictureNames, BranchByExtensionAnywhereInTheName) {
  struct Case { const char* name; TPictureFormat format; };
  const Case cases[] = {
      {"C:\\PIC\\photo.jpg", TPictureFormat::Jpg},   {"photo.jpg.bmp", TPictureFormat::Bmp},
      {"anim.gifs", TPictureFormat::Gif},            {"x.WMF", TPictureFormat::Metafile},
      {"x.emf", TPictureFormat::Metafile},           {"a.dib", TPictureFormat::Bmp},
      {"a.pcx.tga", TPictureFormat::Pcx},            {"a.tga.gif", TPictureFormat::Tga},
      {"a.gif.tif", TPictureFormat::Gif},            {"scan.tiff", TPictureFormat::Tif},
      {"a.pcd.jpg", TPictureFormat::Pcd},            {"dir.bmp\\x.png", TPictureFormat::Bmp},
      {"x.wmf.bmp", TPictureFormat::Metafile},       {"picture.png", TPictureFormat::None},
      {"", TPictureFormat::None},                    {nullptr, TPictureFormat::None},
      {"noext", TPictureFormat::None},               {"x.jpeg", TPictureFormat::None},
  };
  for (const Case& c : cases) EXPECT_EQ(PictureFormatOf(c.name), c.format) << (c.name ? c.name : "null");
}

TEST(PictureNames, IsPictureFileNameAndTheList) {
  for (const char* yes : {"a.tif", "A.TIF", "x.y.Jpg", "c:\\d\\e.pcd", "f.EmF", "g.dib"})
    EXPECT_TRUE(IsPictureFileName(yes)) << yes;
  for (const char* no : {"a.tiff", "a.gifs", "noext", "a.jpg.txt", "", "a.", "bmp"})
    EXPECT_FALSE(IsPictureFileName(no)) << no;
  EXPECT_FALSE(IsPictureFileName(nullptr));
  TArrayAsVector<string> list;
  list.Add("first");
  AddPictureExtensions(list);
  ASSERT_EQ(list.GetItemsInContainer(), 11);
  const char* want[] = {".WMF", ".EMF", ".BMP", ".DIB", ".PCX", ".TGA", ".GIF", ".TIF", ".PCD", ".JPG"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(list[i + 1].str(), want[i]);
}

namespace {
picgen_Bytes Wmf(size_t records) {
  picgen_Bytes w(18 + 6 * records + 6, 0);
  w[0] = 1, w[2] = 9, w[5] = 3;  // memory metafile, 9 words, version 0x300
  tsl::PutLe32(&w[6], uint32_t(w.size() / 2));
  w[w.size() - 6] = 3;  // end record: 3 words, function 0
  return w;
}
picgen_Bytes Placeable(int16_t r, int16_t b, uint16_t upi, size_t records = 0) {
  picgen_Bytes f(22);
  tsl::MakePlaceableHeader(f.data(), 0, 0, r, b, upi);
  const picgen_Bytes w = Wmf(records);
  f.insert(f.end(), w.begin(), w.end());
  return f;
}
}  // namespace

// A placeable metafile of one inch at 1440 units per inch is 2540 × 2540
// hundredths of a millimetre; 0 units per inch, short files and files
// that are no metafile are invalid; the checksum is the XOR of ten words.
TEST(MetafileHeader, KindsExtentsAndChecks) {
  const picgen_Bytes inch = Placeable(1440, 1440, 1440);
  tsl::MetafileInfo i = tsl::InspectMetafile(inch.data(), inch.size());
  EXPECT_EQ(i.kind, tsl::MetafileKind::Placeable);
  EXPECT_EQ(i.extentX, 2540);
  EXPECT_EQ(i.extentY, 2540);
  EXPECT_EQ(i.metafileAt, 22u);
  EXPECT_EQ(i.metafileBytes, inch.size() - 22);
  uint16_t sum = 0;
  for (int k = 0; k < 10; ++k) sum ^= tsl::GetLe16(&inch[size_t(2 * k)]);
  EXPECT_EQ(tsl::GetLe16(&inch[20]), sum);
  EXPECT_EQ(tsl::GetLe32(inch.data()), 0x9AC6CDD7u);

  picgen_Bytes lies = Placeable(100, 50, 1000);
  tsl::PutLe32(&lies[22 + 6], 0x40000000);  // claims far more than the file holds
  i = tsl::InspectMetafile(lies.data(), lies.size());
  EXPECT_EQ(i.kind, tsl::MetafileKind::Placeable);
  EXPECT_EQ(i.metafileBytes, lies.size() - 22);

  const picgen_Bytes plain = Wmf(2);
  EXPECT_EQ(tsl::InspectMetafile(plain.data(), plain.size()).kind, tsl::MetafileKind::Plain);
  picgen_Bytes emf(108, 0);
  emf[0] = 1;
  tsl::PutLe32(&emf[40], 0x464D4520);
  EXPECT_EQ(tsl::InspectMetafile(emf.data(), emf.size()).kind, tsl::MetafileKind::Enhanced);

  struct Bad { const char* what; picgen_Bytes data; };
  const Bad bad[] = {{"0 units per inch", Placeable(100, 100, 0)},
                     {"placeable without its metafile header", picgen_Bytes(inch.begin(), inch.begin() + 30)},
                     {"EMF too short", picgen_Bytes(emf.begin(), emf.begin() + 60)},
                     {"plain too short", picgen_Bytes(plain.begin(), plain.begin() + 10)},
                     {"no metafile", picgen_Bytes(64, 0x41)},
                     {"empty", picgen_Bytes()}};
  for (const Bad& b : bad)
    EXPECT_EQ(tsl::InspectMetafile(b.data.data(), b.data.size()).kind, tsl::MetafileKind::Invalid) << b.what;
  EXPECT_EQ(tsl::InspectMetafile(nullptr, 10).kind, tsl::MetafileKind::Invalid);
}
