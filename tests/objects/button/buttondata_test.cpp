#include "objects/core/buttondata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "tools/core/desc/tsldesc.h"
#include "imaging/core/dibfile.h"

using namespace tsl;

namespace {

std::vector<uint8_t> WriteRecord(TButtonDataCore& d) {
  MemoryStream m;
  d.Write(m);
  return m.Data();
}

TButtonDataCore ReadRecord(const std::vector<uint8_t>& bytes, bool* ok = nullptr, int64_t* end = nullptr) {
  MemoryStream m(bytes);
  TButtonDataCore d;
  const bool r = d.Read(m);
  if (ok) *ok = r;
  if (end) *end = m.Position();
  return d;
}

// A project whose pictures are files of a fixed table and whose names
// resolve under "C:\\P\\".
class PictureProject : public TRecordContext {
public:
  PictureProject() : previous_(SetOpenProject(this)) {}
  ~PictureProject() override { SetOpenProject(previous_); }
  uint8_t FileVersionMajor() const override { return kFileVersionMajor; }
  uint8_t FileVersionMinor() const override { return kFileVersionMinor; }
  string ResolvePath(const string& name) const override { return string("C:\\P\\") + name; }
  bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const override {
    auto it = Files.find(path.str());
    if (it == Files.end()) return false;
    dib = it->second;
    return true;
  }
  std::map<std::string, std::vector<uint8_t>> Files;

private:
  TRecordContext* previous_;
};

}  // namespace

TEST(ButtonData, DefaultsOfANewRecord) {
  TButtonDataCore d;
  EXPECT_EQ(d.Flags, 0x1001000u);
  EXPECT_EQ(d.Style, 0);
  EXPECT_EQ(d.FaceColor, 0xC0C0C0u);
  EXPECT_EQ(d.FrameCount, 1);
  EXPECT_EQ(d.FrameIndex, 1);
  EXPECT_EQ(d.Group, -1);
  EXPECT_STREQ(d.Caption.c_str(), "Schalter");
  EXPECT_STREQ(d.Font.lfFaceName, "Arial");
  EXPECT_EQ(d.Font.lfHeight, 17);
  EXPECT_EQ(d.Font.PointSize, 170);
  EXPECT_EQ(d.Font.Color, 0u);
}

TEST(ButtonData, TextButtonWritesCaptionFontFramesAndGroup) {
  TButtonDataCore d;
  d.Caption = "&Weiter";
  d.Group = 3;
  d.TextAlign = 2;
  const std::vector<uint8_t> bytes = WriteRecord(d);
  // base, style, face, two transparency bytes and colours, alignment, style
  // flags, caption, font record, frame count, frame index, group
  const size_t expected = 16 + 2 + 4 + 2 + 8 + 2 + 4 + (2 + 7) + 82 + 2 + 2 + 2;
  ASSERT_EQ(bytes.size(), expected);
  uint32_t length;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, expected);
  int16_t tail[3];
  std::memcpy(tail, bytes.data() + expected - 6, 6);
  EXPECT_EQ(tail[0], 1);
  EXPECT_EQ(tail[1], 1);
  EXPECT_EQ(tail[2], 3);
  EXPECT_EQ(d.Flags & 0x04u, 0x04u);
  EXPECT_EQ(d.StyleFlags & 0x30u, 0x30u);

  const TButtonDataCore back = ReadRecord(bytes);
  EXPECT_STREQ(back.Caption.c_str(), "&Weiter");
  EXPECT_EQ(back.Group, 3);
  EXPECT_EQ(back.TextAlign, 2);
  EXPECT_EQ(std::memcmp(&back.Font, &d.Font, sizeof d.Font), 0);
  EXPECT_EQ(WriteRecord(const_cast<TButtonDataCore&>(back)), bytes);
}

TEST(ButtonData, EmbeddedPicturesCarryPresenceBytes) {
  TButtonDataCore d;
  d.Flags &= ~kButtonLinkedPictures;
  d.Style = kButtonTwoPictures;
  d.PictureBlock2 = MakeCheckerDib(8, 6, 0xFFFFFF, 0x0000FF, 2);
  const TButtonDataCore back = ReadRecord(WriteRecord(d));
  EXPECT_TRUE(back.PictureBlock1.empty());
  EXPECT_EQ(back.PictureBlock2, d.PictureBlock2);

  // Style 6: all three, and the third picture's transparency.
  TButtonDataCore six;
  six.Flags &= ~kButtonLinkedPictures;
  six.Style = kButtonThreePictures;
  six.Transparent3 = 1;
  six.TransparentColor3 = 0x00FF00;
  for (int n = 1; n <= 3; ++n) six.PictureBlock(n) = MakeGradientDib(4 * n, 4, 0, 0xFFFFFF);
  const TButtonDataCore back6 = ReadRecord(WriteRecord(six));
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(const_cast<TButtonDataCore&>(back6).PictureBlock(n), six.PictureBlock(n));
  EXPECT_EQ(back6.Transparent3, 1);
  EXPECT_EQ(back6.TransparentColor3, 0x00FF00u);
}

TEST(ButtonData, OlderFilesWithoutPresenceBytesPeekForTheBitmapHeader) {
  // A style 1 record of an older writer: no presence byte, no caption fields.
  auto make = [](bool withPicture) {
    MemoryStream m;
    WriteU32(0, m);
    WriteU32(0x1000000, m);  // embedded, no presence bytes, actions in the list
    WriteU32(0, m);
    WriteU32(0, m);
    WriteI16(kButtonPicture, m);
    WriteU32(0xC0C0C0, m);
    WriteU8(0, m); WriteU8(0, m); WriteU32(0, m); WriteU32(0, m);
    WriteU16(0, m);
    WriteU32(0, m);
    WriteShortString("bild.bmp", m);
    if (withPicture) {
      const std::vector<uint8_t> dib = MakeGradientDib(5, 5, 0, 0xFFFFFF);
      WriteEmbeddedDibImage(m, dib.data(), dib.size());
    }
    WriteU32(0xDEADBEEF, m);  // what follows the record
    return m.Data();
  };
  for (bool withPicture : {true, false}) {
    SCOPED_TRACE(withPicture);
    const std::vector<uint8_t> bytes = make(withPicture);
    int64_t end = 0;
    const TButtonDataCore d = ReadRecord(bytes, nullptr, &end);
    EXPECT_EQ(d.PictureBlock1.empty(), !withPicture);
    EXPECT_STREQ(d.PictureName1.c_str(), "bild.bmp");
    EXPECT_EQ(end, static_cast<int64_t>(bytes.size()) - 4);  // nothing of the next record taken
    EXPECT_EQ(d.FrameCount, 1);
    EXPECT_EQ(d.Group, -1);
  }
}

TEST(ButtonData, IconAndCursorIdentifiersOfOldFiles) {
  struct Case {
    uint8_t major, minor;
    int16_t style;
    uint16_t stored;
    int16_t expected;
  } cases[] = {
      {2, 4, kButtonSystemIcon, 32514, 2}, {2, 4, kButtonSystemIcon, 7, 0},
      {2, 4, kButtonSystemIcon, 3, 3},     {4, 7, kButtonSystemIcon, 32514, 0},
      {4, 7, kButtonSystemIcon, 4, 4},     {2, 4, kButtonHotSpot, 32641, 5},
      {2, 4, kButtonHotSpot, 32516, 2},    {4, 7, kButtonHotSpot, 6, 6},
      {4, 7, kButtonHotSpot, 7, 0},        {4, 7, kButtonHotSpot, 0xFFFF, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + " style " + std::to_string(c.style) +
                 " stored " + std::to_string(c.stored));
    TButtonDataCore d;
    d.Style = c.style;
    (c.style == kButtonSystemIcon ? d.IconIndex : d.CursorIndex) = static_cast<int16_t>(c.stored);
    const std::vector<uint8_t> bytes = WriteRecord(d);
    TFileVersionScope version(c.major, c.minor);
    const TButtonDataCore back = ReadRecord(bytes);
    EXPECT_EQ(c.style == kButtonSystemIcon ? back.IconIndex : back.CursorIndex, c.expected);
  }
}

TEST(ButtonData, FramesOutOfRangeBecomeOne) {
  struct Case {
    int16_t count, index, expectCount, expectIndex;
  } cases[] = {{3, 4, 1, 1}, {3, 3, 3, 3}, {0, 1, 1, 1}, {100, 2, 1, 1}, {99, 99, 99, 99}, {4, 0, 1, 1}, {-2, -1, 1, 1}};
  for (const Case& c : cases) {
    TButtonDataCore d;
    d.FrameCount = c.count;
    d.FrameIndex = c.index;
    const TButtonDataCore back = ReadRecord(WriteRecord(d));
    EXPECT_EQ(back.FrameCount, c.expectCount) << c.count << "/" << c.index;
    EXPECT_EQ(back.FrameIndex, c.expectIndex) << c.count << "/" << c.index;
  }
}

TEST(ButtonData, RecordEndRule) {
  TButtonDataCore d;
  std::vector<uint8_t> bytes = WriteRecord(d);
  // A later writer's fields behind ours: skipped by the stored length.
  bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
  const uint32_t longer = static_cast<uint32_t>(bytes.size());
  std::memcpy(bytes.data(), &longer, 4);
  bytes.insert(bytes.end(), {9, 9});
  bool ok = false;
  int64_t end = 0;
  ReadRecord(bytes, &ok, &end);
  EXPECT_TRUE(ok);
  EXPECT_EQ(end, longer);

  // A length beyond the file: the object is dropped.
  const uint32_t tooLong = longer + 100;
  std::memcpy(bytes.data(), &tooLong, 4);
  ReadRecord(bytes, &ok);
  EXPECT_FALSE(ok);

  // A truncated record reads without running past the end.
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 30);
  std::memset(cut.data(), 0, 4);
  ReadRecord(cut, &ok, &end);
  EXPECT_LE(end, 30);
}

TEST(ButtonData, InlineActionsOfOlderFiles) {
  MemoryStream m;
  WriteU32(0, m);
  WriteU32(0x1004, m);  // linked, presence bytes, inline actions
  WriteU32(0, m);
  WriteU32(0, m);
  WriteI16(kButtonText, m);
  WriteU32(0x808080, m);
  for (int i = 0; i < 4; ++i) {
    TActionStruct a;
    a.Code = static_cast<uint16_t>(10 + i);
    a.Value1 = static_cast<uint32_t>(i);
    a.Write(m);
  }
  WriteU8(0, m); WriteU8(0, m); WriteU32(0, m); WriteU32(0, m);
  WriteU16(1, m);
  WriteU32(0, m);
  WriteShortString("Alt", m);
  WriteFontRecord(MakeFontRecord(12, false, "Arial"), m);
  const TButtonDataCore d = ReadRecord(m.Data());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d.LegacyActions[i].Code, 10 + i);
    EXPECT_EQ(d.LegacyActions[i].Value1, static_cast<uint32_t>(i));
  }
  EXPECT_EQ(d.FaceColor, 0x808080u);
  EXPECT_STREQ(d.Caption.c_str(), "Alt");
  EXPECT_EQ(d.TextAlign, 1);

  // The newest form never stores them.
  TButtonDataCore copy;
  copy.Assign(&d);
  const TButtonDataCore back = ReadRecord(WriteRecord(copy));
  EXPECT_EQ(back.Flags & kButtonActionsInList, kButtonActionsInList);
  EXPECT_EQ(back.LegacyActions[0].Code, 9);
}

TEST(ButtonData, LinkedPicturesLoadFromTheirResolvedFilesAndKeepTheirNames) {
  PictureProject project;
  const std::vector<uint8_t> up = MakeGradientDib(6, 2, 0, 0xFF), down = MakeGradientDib(2, 6, 0xFF, 0);
  project.Files["C:\\P\\up.bmp"] = up;
  project.Files["C:\\P\\down.bmp"] = down;
  TButtonDataCore d;  // linked by default
  d.Style = kButtonTwoPictures;
  d.PictureName1 = "up.bmp";
  d.PictureName2 = "missing.bmp";
  const std::vector<uint8_t> bytes = WriteRecord(d);
  const TButtonDataCore back = ReadRecord(bytes);
  EXPECT_EQ(back.PictureBlock1, up);
  EXPECT_TRUE(back.PictureBlock2.empty());
  EXPECT_STREQ(back.PictureName1.c_str(), "up.bmp");

  TButtonDataCore reload = back;
  reload.PictureName2 = "down.bmp";
  reload.LoadLinkedPictures();
  EXPECT_EQ(reload.PictureBlock2, down);
  // Linked pictures are not stored in the record.
  EXPECT_EQ(WriteRecord(reload).size(), bytes.size() - 3);  // "down.bmp" against "missing.bmp"
}

TEST(ButtonData, AssignCopiesFieldsAndLatchesTheDisplayState) {
  TButtonDataCore a;
  a.Style = kButtonThreePictures;
  a.DisplayState = 1;
  a.LatchedState = 0;
  a.Caption = "X";
  a.PictureBlock3 = MakeGradientDib(3, 3, 0, 0xFFFFFF);
  TButtonDataCore b;
  b.Assign(&a);
  EXPECT_EQ(b.Style, kButtonThreePictures);
  EXPECT_EQ(b.LatchedState, 1u);
  EXPECT_EQ(b.PictureBlock3, a.PictureBlock3);
  b.Assign(&b);
  EXPECT_STREQ(b.Caption.c_str(), "X");
  TRawData other;
  b.Assign(&other);  // another kind's record: the defaults
  EXPECT_EQ(b.Style, 0);
  EXPECT_STREQ(b.Caption.c_str(), "Schalter");
}

TEST(ButtonData, FrameColumnsOfAStrip) {
  struct Case {
    int width;
    int16_t count, index;
    int left, right;
  } cases[] = {{200, 4, 2, 50, 100}, {200, 1, 1, 0, 200}, {200, 0, 0, 0, 200}, {90, 4, 4, 66, 88}};
  for (const Case& c : cases) {
    int l = -1, r = -1;
    ButtonFrameColumns(c.width, c.count, c.index, l, r);
    EXPECT_EQ(l, c.left);
    EXPECT_EQ(r, c.right);
  }
}
