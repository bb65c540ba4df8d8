// The tree-list record: write → read → write, records of older writers laid
// down field by field, the picture presence rules and the record end.
#include "objects/core/treelistdata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/core/format/rawio.h"
#include "imaging/core/dibfile.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

std::vector<uint8_t> WriteRecord(TTreeListItemDataCore& d) {
  MemoryStream m;
  EXPECT_TRUE(d.Write(m));
  return m.Data();
}

TTreeListItemDataCore ReadRecord(const std::vector<uint8_t>& bytes, bool* ok = nullptr, int64_t* end = nullptr) {
  MemoryStream m(bytes);
  TTreeListItemDataCore d;
  const bool r = d.Read(m);
  if (ok) *ok = r;
  if (end) *end = m.Position();
  return d;
}

// An older writer's record up to the pictures: no data block, no third
// block; the caller adds pictures, cell width and reserved bytes.
void OlderHead(MemoryStream& m, uint32_t flags) {
  WriteU32(0, m);  // length 0: continue where the fields end
  WriteU32(flags, m);
  WriteU32(0xFFFFFFFF, m);
  WriteU32(0xFFFFFFFF, m);
  WriteU32(0x00FFEE, m);  // background
  WriteFontRecord(MakeFontRecord(10, false, "Arial"), m);
  WriteU32(0x808080, m);  // lines
  WriteU8(1, m); WriteU8(0, m); WriteU32(0xFF00FF, m); WriteU32(0, m);
  WriteU8(1, m);  // transparent window
  WriteU8(1, m);
  WriteU32(0x0000FF, m); WriteU8(1, m); WriteU32(0x00FF00, m);
  WriteI16(16, m); WriteI16(2, m);
  WriteShortString("zu.bmp", m);
  WriteShortString("auf.bmp", m);
}

TEST(TreeListData, Defaults) {
  TTreeListItemDataCore d;
  EXPECT_EQ(d.Flags, 0x11E3u);
  EXPECT_EQ(d.StandardSet(), 2);
  EXPECT_EQ(d.BackgroundColour, 0xFFFFFFu);
  EXPECT_EQ(d.LineColour, 0xC0C0C0u);
  EXPECT_STREQ(d.FontData.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(d.FixedPictureWidth, 4);
  EXPECT_EQ(d.ExpanderWidth, 9);
  EXPECT_EQ(d.PictureGap, 6);
}

TEST(TreeListData, WriteReadWriteKeepsTheBytes) {
  TTreeListItemDataCore d;
  d.Flags = kTreeVScroll | kTreeLines;  // stored pictures
  d.Pictures[kFolderClosed] = MakeGradientDib(12, 10, 0, 0xFFFFFF);
  d.Pictures[kEntrySelected] = MakeGradientDib(7, 9, 0xFF, 0);
  d.TransparentFlags[kEntryPicture] = 1;
  d.TransparentColours[kEntrySelected] = 0x123456;
  d.PictureNames[kEntryPicture] = "daten.bmp";
  d.FifthName = "fünf";
  d.ExtraColours[2] = 0xABCDEF;
  d.Reserved[29] = 0x5A;
  d.ExtraCellWidth = 3;
  d.LineSpacing = 1;
  const std::vector<uint8_t> first = WriteRecord(d);
  uint32_t length = 0;
  std::memcpy(&length, first.data(), 4);
  EXPECT_EQ(length, first.size());
  EXPECT_EQ(d.Flags & 0xB0800u, 0xB0800u) << "presence bytes, cell width, both blocks";

  bool ok = false;
  int64_t end = 0;
  TTreeListItemDataCore back = ReadRecord(first, &ok, &end);
  EXPECT_TRUE(ok);
  EXPECT_EQ(end, static_cast<int64_t>(first.size()));
  EXPECT_EQ(back.Pictures[kFolderClosed], d.Pictures[kFolderClosed]);
  EXPECT_TRUE(back.Pictures[kFolderOpen].empty());
  EXPECT_EQ(back.Pictures[kEntrySelected], d.Pictures[kEntrySelected]);
  EXPECT_EQ(back.ExtraCellWidth, 3);
  EXPECT_STREQ(back.FifthName.c_str(), "fünf");
  EXPECT_EQ(WriteRecord(back), first);

  // A standard set stores no pictures; set 2 wins over set 1.
  TTreeListItemDataCore s;
  s.Flags |= kTreeStandardSet1;
  s.Pictures[0] = MakeGradientDib(3, 3, 0, 0);
  const std::vector<uint8_t> standard = WriteRecord(s);
  const TTreeListItemDataCore sb = ReadRecord(standard);
  EXPECT_EQ(sb.StandardSet(), 2);
  EXPECT_TRUE(sb.Pictures[0].empty());
  EXPECT_STREQ(TTreeListItemDataCore::StandardSetNames(2)[2], "TREELIST_DATAITEM1");
  EXPECT_STREQ(TTreeListItemDataCore::StandardSetNames(1)[3], "TREELIST_FOLDER_OPEN1");
}

TEST(TreeListData, OlderRecords) {
  const std::vector<uint8_t> dib = MakeGradientDib(5, 4, 0, 0xFFFFFF);
  const struct {
    const char* what;
    uint32_t flags;
    std::vector<int> pictures;  // stored pictures (index), as the flags store them
    int16_t storedCellWidth;
    int16_t cellWidth;
  } cases[] = {
      {"no presence bytes: only where a bitmap header follows", 0, {0, 1}, 9, 4},
      {"presence bytes", kTreePresenceBytes, {0, 2}, 9, 4},
      {"a valid cell width", kTreePresenceBytes | kTreeCellWidthValid, {}, 9, 9},
      {"linked pictures store none", kTreeLinkedPictures, {}, 2, 4},
      {"a standard set stores none", kTreeStandardSet1, {}, 2, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryStream m;
    OlderHead(m, c.flags);
    const bool stored = !(c.flags & (kTreeLinkedPictures | kTreeStandardSet1 | kTreeStandardSet2));
    for (int i = 0; i < 4 && stored; ++i) {
      const bool present = std::find(c.pictures.begin(), c.pictures.end(), i) != c.pictures.end();
      if (c.flags & kTreePresenceBytes) WriteU8(present ? 1 : 0, m);
      if (present) WriteEmbeddedDibImage(m, dib.data(), dib.size());
    }
    WriteI16(c.storedCellWidth, m);
    const uint8_t reserved[30] = {7};
    WriteFixed(reserved, 30, m);
    const int64_t recordEnd = m.Position();
    WriteU32(0xDEADBEEF, m);  // the next record
    bool ok = false;
    int64_t end = 0;
    const TTreeListItemDataCore d = ReadRecord(m.Data(), &ok, &end);
    EXPECT_TRUE(ok);
    EXPECT_EQ(end, recordEnd);
    for (int i = 0; i < 4; ++i) {
      const bool present = std::find(c.pictures.begin(), c.pictures.end(), i) != c.pictures.end();
      EXPECT_EQ(!d.Pictures[i].empty(), present) << "picture " << i;
    }
    EXPECT_EQ(d.ExtraCellWidth, c.cellWidth);
    EXPECT_EQ(d.Reserved[0], 7);
    EXPECT_EQ(d.BackgroundColour, 0x00FFEEu);
    EXPECT_EQ(d.Transparent, 1);
    EXPECT_EQ(d.ExpanderNoFill, 1);
    EXPECT_EQ(d.FixedPictureWidth, 16);
    EXPECT_STREQ(d.PictureNames[kFolderOpen].c_str(), "auf.bmp");
    EXPECT_TRUE(d.PictureNames[kEntryPicture].is_null()) << "no data block";
    EXPECT_EQ(d.TransparentColours[kEntryPicture], 0xFFFFFFu);
  }
}

TEST(TreeListData, RecordEnd) {
  TTreeListItemDataCore d;
  std::vector<uint8_t> bytes = WriteRecord(d);
  bytes.insert(bytes.end(), {1, 2, 3});  // a later writer's fields
  const uint32_t longer = static_cast<uint32_t>(bytes.size());
  std::memcpy(bytes.data(), &longer, 4);
  bytes.insert(bytes.end(), {9, 9});
  bool ok = false;
  int64_t end = 0;
  ReadRecord(bytes, &ok, &end);
  EXPECT_TRUE(ok);
  EXPECT_EQ(end, longer);
  const uint32_t beyond = longer + 50;
  std::memcpy(bytes.data(), &beyond, 4);
  ReadRecord(bytes, &ok);
  EXPECT_FALSE(ok);
  const uint32_t shorter = 20;  // shorter than what was read: no step back
  std::memcpy(bytes.data(), &shorter, 4);
  ReadRecord(bytes, &ok, &end);
  EXPECT_TRUE(ok);
  EXPECT_EQ(end, longer - 3);
}

}  // namespace
