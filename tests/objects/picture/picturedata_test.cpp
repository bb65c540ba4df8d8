#include "objects/core/picturedata.h"

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

std::vector<uint8_t> WriteRecord(TPictureData& d) {
  MemoryStream m;
  d.Write(m);
  return m.Data();
}

std::vector<uint8_t> PictureBytes(const TPictureData& d) {
  if (!d.Picture) return {};
  return std::vector<uint8_t>(d.Picture->Block(), d.Picture->Block() + d.Picture->BlockSize());
}

void SetPicture(TPictureData& d, std::vector<uint8_t> block) { d.Picture = PictureMaker().FromBlock(block); }

// A project whose picture files are a fixed table and whose stored names
// resolve under "C:\P\".
class PictureProject : public TRecordContext {
public:
  PictureProject() : previous_(SetOpenProject(this)) {}
  ~PictureProject() override { SetOpenProject(previous_); }
  uint8_t FileVersionMajor() const override { return kFileVersionMajor; }
  uint8_t FileVersionMinor() const override { return kFileVersionMinor; }
  string ResolvePath(const string& name) const override {
    return name.is_null() ? name : string("C:\\P\\") + name;
  }
  bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const override {
    ++loads;
    auto it = files.find(path.c_str());
    if (it == files.end()) return false;
    dib = it->second;
    return true;
  }
  std::map<std::string, std::vector<uint8_t>> files;
  mutable int loads = 0;

private:
  TRecordContext* previous_;
};

constexpr size_t kFixed = 16 + 2 + 1 + 4 + 4 + 1 + 1 + 5;

TEST(PictureData, Defaults) {
  TPictureData d;
  EXPECT_EQ(d.Flags, kPictureLinked);
  EXPECT_TRUE(d.FileName.is_null());
  EXPECT_EQ(d.Transparent, 0);
  EXPECT_EQ(d.TransparentColor, 0u);
  EXPECT_EQ(d.ViewerColor, 0u);
  EXPECT_EQ(d.PcdResolution, 3);
  EXPECT_EQ(d.PcdFormat, 2);
  EXPECT_EQ(d.Picture, nullptr);
}

TEST(PictureData, EmbeddedPictureRoundTrip) {
  TPictureData d;
  d.Flags = kPictureViewer | kPictureViewerColour;
  d.Transparent = 1;
  d.TransparentColor = 0x00FF00FF;
  d.ViewerColor = 0x00112233;
  d.PcdResolution = 4;
  d.PcdFormat = 1;
  d.Reserved[4] = 9;
  SetPicture(d, MakeGradientDib(13, 7, 0xFF0000, 0x0000FF));
  ASSERT_NE(d.Picture, nullptr);
  const std::vector<uint8_t> first = WriteRecord(d);
  EXPECT_EQ(d.Flags, kPictureViewer | kPictureViewerColour | kPicturePresenceByte);
  ASSERT_GT(first.size(), kFixed + 1 + 14);
  EXPECT_EQ(first[kFixed], 1);  // presence
  EXPECT_EQ(first[kFixed + 1], 'B');
  EXPECT_EQ(first[kFixed + 2], 'M');
  uint32_t length;
  std::memcpy(&length, first.data(), 4);
  EXPECT_EQ(length, first.size());

  MemoryStream in(first);
  TPictureData r;
  ASSERT_TRUE(r.Read(in));
  EXPECT_EQ(in.Position(), static_cast<int64_t>(first.size()));
  EXPECT_EQ(PictureBytes(r), PictureBytes(d));
  EXPECT_EQ(r.TransparentColor, 0x00FF00FFu);
  EXPECT_EQ(r.Reserved[4], 9);
  EXPECT_EQ(WriteRecord(r), first);
}

TEST(PictureData, WhatTheWriterStoresBehindTheFields) {
  struct Case {
    uint32_t flags;
    bool picture;
    size_t size;  // behind the fixed fields
  } cases[] = {
      {kPictureLinked, true, 0},  // linked: neither presence byte nor bitmap
      {kPictureLinked, false, 0},
      {0, false, 1},  // embedded without a picture: presence byte 0
  };
  for (const Case& c : cases) {
    TPictureData d;
    d.Flags = c.flags;
    d.FileName = "a.bmp";
    if (c.picture) SetPicture(d, MakeGradientDib(4, 4, 0, 0xFFFFFF));
    const std::vector<uint8_t> bytes = WriteRecord(d);
    ASSERT_EQ(bytes.size(), kFixed + 5 + c.size) << c.flags;
    if (c.size) {
      EXPECT_EQ(bytes.back(), 0);
    }
  }
}

// Linked pictures load while the record is read, from the resolved name,
// which the record keeps.
TEST(PictureData, LinkedPictureLoadsFromTheResolvedName) {
  PictureProject project;
  project.files["C:\\P\\bild.bmp"] = MakeGradientDib(8, 6, 0x00FF00, 0x000000);
  TPictureData d;
  d.FileName = "bild.bmp";
  std::vector<uint8_t> bytes = WriteRecord(d);
  MemoryStream in(bytes);
  TPictureData r;
  ASSERT_TRUE(r.Read(in));
  EXPECT_STREQ(r.FileName.c_str(), "C:\\P\\bild.bmp");
  EXPECT_EQ(PictureBytes(r), project.files["C:\\P\\bild.bmp"]);
  // A missing file leaves the record without a picture.
  r.FileName = "C:\\P\\fehlt.bmp";
  EXPECT_FALSE(r.LoadPicture());
  EXPECT_EQ(r.Picture, nullptr);
  r.FileName = "C:\\P\\bild.bmp";
  r.Reload();
  EXPECT_NE(r.Picture, nullptr);
  // Reloading an embedded record reads no file.
  const int loads = project.loads;
  r.Flags = 0;
  r.Reload();
  EXPECT_EQ(project.loads, loads);
}

// Old records carry no presence byte: a bitmap header right behind the
// fields decides. Whatever was read, the reader ends at the record's end.
TEST(PictureData, OldEmbeddedRecordsAndTheRecordEnd) {
  const std::vector<uint8_t> dib = MakeGradientDib(5, 3, 0x808080, 0xFFFFFF);
  struct Case {
    const char* what;
    uint32_t flags;
    int presence;     // -1 none
    bool bitmap;
    bool garbage;     // bytes that are no bitmap
    size_t trailing;  // bytes of a newer writer
    bool picture;
  } cases[] = {
      {"old, with bitmap", 0, -1, true, false, 0, true},
      {"old, nothing behind", 0, -1, false, false, 0, false},
      {"old, no BM", 0, -1, false, true, 0, false},
      {"present but no BM", kPicturePresenceByte, 1, false, true, 0, false},
      {"absent", kPicturePresenceByte, 0, false, false, 0, false},
      {"newer and longer", kPicturePresenceByte, 1, true, false, 11, true},
  };
  for (const Case& c : cases) {
    MemoryStream m;
    const uint32_t base[4] = {0, c.flags, 0xFFFFFFFF, 0xFFFFFFFF};
    WriteFixed(base, sizeof base, m);
    WriteShortString("", m);
    for (int i = 0; i < 1 + 4 + 4 + 1 + 1 + 5; ++i) WriteU8(0, m);
    if (c.presence >= 0) WriteU8(static_cast<uint8_t>(c.presence), m);
    if (c.bitmap) WriteEmbeddedDibImage(m, dib.data(), dib.size());
    if (c.garbage) {
      for (int i = 0; i < 20; ++i) WriteU8(0x11, m);
    }
    for (size_t i = 0; i < c.trailing; ++i) WriteU8(0xEE, m);
    const int64_t end = m.Position();
    PatchRecordLength(m, 0);
    WriteU32(0xBEEF, m);
    m.Seek(0);
    TPictureData d;
    ASSERT_TRUE(d.Read(m)) << c.what;
    EXPECT_EQ(m.Position(), end) << c.what;
    EXPECT_EQ(d.Picture != nullptr, c.picture) << c.what;
    if (c.picture) {
      EXPECT_EQ(PictureBytes(d), dib) << c.what;
    }
  }
}

// A shared object that a page gives no record is reset: it must come back
// as a new record would be, without the picture of the previous page.
TEST(PictureData, ResetIsANewRecord) {
  TPictureData d;
  d.Flags = kPictureViewer;
  d.FileName = "alt.bmp";
  d.Transparent = 1;
  d.TransparentColor = 0x00FF00FF;
  d.ViewerColor = 0x00112233;
  d.PcdResolution = 4;
  d.PcdFormat = 1;
  d.Value3 = 5;
  d.Reserved[2] = 9;
  SetPicture(d, MakeGradientDib(4, 4, 0, 0xFFFFFF));
  d.Reset();
  TPictureData fresh;
  EXPECT_EQ(d.Picture, nullptr);
  EXPECT_EQ(d.Flags, kPictureLinked);
  EXPECT_EQ(WriteRecord(d), WriteRecord(fresh));
}

TEST(PictureData, AssignCopiesThePicture) {
  TPictureData src;
  src.Flags = 0;
  src.FileName = "x.bmp";
  src.Transparent = 1;
  src.TransparentColor = 0xFFFFFF;
  src.ViewerColor = 0x102030;
  src.PcdResolution = 5;
  src.PcdFormat = 0;
  src.Reserved[0] = 1;
  SetPicture(src, MakeCheckerDib(6, 6, 0, 0xFFFFFF, 2));
  TPictureData d;
  d.Assign(&src);
  ASSERT_NE(d.Picture, nullptr);
  EXPECT_NE(d.Picture.get(), src.Picture.get());
  EXPECT_EQ(WriteRecord(d), WriteRecord(src));
  TData other;
  d.Assign(&other);
  EXPECT_EQ(d.Picture, nullptr);
  EXPECT_EQ(d.Flags, kPicturePresenceByte);  // the base fields stay, the kind's return to the defaults
  EXPECT_TRUE(d.FileName.is_null());
  EXPECT_EQ(d.PcdResolution, 3);
}

// The fixture builder's `picture` statements write what the writer writes.
TEST(PictureData, FixtureBuilderStatements) {
  const std::string description =
      "page 1\n"
      "  object picture 0 0 50 50\n"
      "    picture linked \"bild.jpg\" transparent #FF00FF viewer #102030 pcd 4 1\n"
      "  object picture 0 0 50 50\n"
      "    picture embedded checker 8 8 #000000 #FFFFFF 2 viewer\n";
  TProjectDescription project;
  TDescriptionError error;
  ASSERT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
  const auto& objects = project.Image.Pages.at(0)->Record.Objects;
  ASSERT_EQ(objects.size(), 2u);

  TPictureData linked;
  linked.Flags = kPictureLinked | kPictureViewer | kPictureViewerColour;
  linked.FileName = "bild.jpg";
  linked.Transparent = 1;
  linked.TransparentColor = 0xFF00FF;
  linked.ViewerColor = 0x302010;
  linked.PcdResolution = 4;
  linked.PcdFormat = 1;
  TPictureData embedded;
  embedded.Flags = kPictureViewer;
  SetPicture(embedded, MakeCheckerDib(8, 8, 0, 0xFFFFFF, 2));
  TPictureData* wanted[] = {&linked, &embedded};
  for (size_t i = 0; i < 2; ++i) {
    MemoryStream built;
    objects[i].Data->Write(built);
    EXPECT_EQ(built.Data(), WriteRecord(*wanted[i])) << i;
  }
}

}  // namespace
