// The animation file: laid down byte by byte from its tables, and written by
// the test tool's writer; the list's frames and the FLX reader's stepping.
#include <gtest/gtest.h>

#include "../../engine/format/bytes.h"
#include "flxpics.h"
#include "imaging/core/animfile.h"
#include "tools/core/animwrite.h"

using namespace flxtest;
using tsl::TAnimatedBmpListCore;

namespace {

::Bytes& HeaderBytes(::Bytes& b, const char* sig, uint8_t type, int16_t frames, int16_t w = 4, int16_t h = 3) {
  b.raw(sig, 3).u8(0x77).u8(1).u8(0).i32(2).i16(frames).u8(0).i16(w).i16(h).u32(0).u8(type).u32(0).u32(0xFFFFFF);
  return b;
}

::Bytes& RecordBytes(::Bytes& b, uint32_t delay, uint8_t transparent, const char* name) {
  b.u32(0x00FF00).i32(5).i32(6).i32(1).i32(2).u32(delay).u8(0).u8(transparent).u8(3).u8(0).u8(1).u32(0);
  return b.fixed(name, 32).zeros(7);
}

// An embedded picture block: length, "BM" header, packed DIB, `extra` bytes.
::Bytes& PictureBlock(::Bytes& b, const Block& dib, uint32_t extra = 0) {
  b.u32(uint32_t(4 + 14 + dib.size() + extra)).u8('B').u8('M').u32(uint32_t(dib.size() + 40)).u32(0).u32(14 + 1064);
  return b.append(dib).zeros(extra);
}

Block Solid(uint8_t v) { return Picture(4, 3, [v](int, int) { return v; }); }

TEST(AnimFile, HeaderAndRecordFields) {
  ::Bytes b;
  HeaderBytes(b, "ABP", 0, 1, 17, 9);
  RecordBytes(b, 120, 0, "Erstes Bild");
  PictureBlock(b, Solid(3));
  TAnimatedBmpListCore l;
  ASSERT_TRUE(l.Load(StreamOf(b.data()), false));
  EXPECT_EQ(l.Header.Signature[3], 0);
  EXPECT_EQ(l.Header.LoopCount, 2);
  EXPECT_EQ(l.Header.Width, 17);
  EXPECT_EQ(l.Header.Height, 9);
  EXPECT_EQ(l.Header.Background, 0xFFFFFFu);
  ASSERT_EQ(l.FrameCount(), 1);
  const tsl::TAnimFrameRecord* r = l.FrameRecord(0);
  EXPECT_EQ(r->TransparentColour, 0x00FF00u);
  EXPECT_EQ(r->PointX, 5);
  EXPECT_EQ(r->PointY, 6);
  EXPECT_EQ(r->OffsetX, 1);
  EXPECT_EQ(r->OffsetY, 2);
  EXPECT_EQ(r->Delay, 120u);
  EXPECT_EQ(r->Transparent, 0);
  EXPECT_EQ(r->Byte26, 3);
  EXPECT_STREQ(r->Name, "Erstes Bild");
  EXPECT_EQ(Pixels(*l.FramePicture(0))[0], 3);
  EXPECT_EQ(l.FrameRecord(1), nullptr);
  EXPECT_EQ(l.FramePicture(-1), nullptr);
  EXPECT_FALSE(l.AnyTransparent());

  // The writer lays down the same bytes.
  tsl::MemoryStream m;
  animwrite::Frame fr{*r, Solid(3)};
  tsl::TAnimHeader h = l.Header;
  std::memcpy(h.Signature, "ABP\x77", 4);
  ASSERT_TRUE(animwrite::WriteAbp(m, h, {fr}));
  Block expected = b.data();
  expected[3] = 0;
  EXPECT_EQ(Block(m.Data().begin(), m.Data().begin() + 30 + 72 + 4 + 2 + 4),
            Block(expected.begin(), expected.begin() + 30 + 72 + 4 + 2 + 4));
  EXPECT_EQ(Block(m.Data().end() - 1080, m.Data().end()), Block(expected.end() - 1080, expected.end()));
  EXPECT_EQ(m.Data().size(), expected.size());
}

TEST(AnimFile, Lists) {
  struct Case {
    const char* what;
    Block file;
    bool loads;
    std::vector<int> pixels;  // first pixel of each frame
  } cases[] = {
      {"ABP with type 1 is no animation", [] { ::Bytes b; HeaderBytes(b, "ABP", 1, 1); RecordBytes(b, 1, 1, ""); PictureBlock(b, Solid(1)); return b.data(); }(), false, {}},
      {"FLX with type 0 is no animation", [] { ::Bytes b; HeaderBytes(b, "FLX", 0, 0); return b.data(); }(), false, {}},
      {"other signature", [] { ::Bytes b; HeaderBytes(b, "GIF", 0, 0); return b.data(); }(), false, {}},
      {"second block 10 bytes too long: every frame loads",
       [] {
         ::Bytes b;
         HeaderBytes(b, "ABP", 0, 3);
         RecordBytes(b, 1, 1, "a"); PictureBlock(b, Solid(1));
         RecordBytes(b, 1, 1, "b"); PictureBlock(b, Solid(2), 10);
         RecordBytes(b, 1, 1, "c"); PictureBlock(b, Solid(3));
         return b.data();
       }(), true, {1, 2, 3}},
      {"a block shorter than its picture is dropped, the next read at its end",
       [] {
         ::Bytes b;
         HeaderBytes(b, "ABP", 0, 2);
         RecordBytes(b, 1, 1, "a");
         const size_t at = b.size();
         PictureBlock(b, Solid(1));
         b.put32(at, 4 + 14 + 20);  // the next record starts inside the picture
         Block rest = b.data();
         rest.resize(at + 4 + 14 + 20);
         ::Bytes c; c.append(rest); RecordBytes(c, 1, 1, "b"); PictureBlock(c, Solid(2));
         return c.data();
       }(), true, {2}},
      {"a picture that is not a DIB is dropped",
       [] {
         ::Bytes b;
         HeaderBytes(b, "ABP", 0, 2);
         RecordBytes(b, 1, 1, "a"); b.u32(4 + 14 + 40).u8('B').u8('M').u32(80).u32(0).u32(0).zeros(40);
         RecordBytes(b, 1, 1, "b"); PictureBlock(b, Solid(2));
         return b.data();
       }(), true, {2}},
      {"a length below four ends the list",
       [] { ::Bytes b; HeaderBytes(b, "ABP", 0, 2); RecordBytes(b, 1, 1, "a"); PictureBlock(b, Solid(1)); RecordBytes(b, 1, 1, "b"); b.u32(2).zeros(40); return b.data(); }(),
       true, {1}},
      {"a negative frame count means none", [] { ::Bytes b; HeaderBytes(b, "ABP", 0, -3); RecordBytes(b, 1, 1, "a"); PictureBlock(b, Solid(1)); return b.data(); }(), true, {}},
      {"more frames claimed than the file holds", [] { ::Bytes b; HeaderBytes(b, "ABP", 0, 300); RecordBytes(b, 1, 1, "a"); PictureBlock(b, Solid(1)); return b.data(); }(), true, {1}},
      {"FLX whose FLC data do not decode", [] { ::Bytes b; HeaderBytes(b, "FLX", 1, 1); RecordBytes(b, 1, 1, "a"); b.zeros(200); return b.data(); }(), false, {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    TAnimatedBmpListCore l;
    EXPECT_EQ(l.Load(StreamOf(c.file), false), c.loads);
    std::vector<int> px;
    for (int i = 0; i < l.FrameCount(); ++i) {
      const Block p = Pixels(*l.FramePicture(i));
      px.push_back(p.empty() ? -1 : p[0]);
    }
    EXPECT_EQ(px, c.pixels);
    if (!c.loads) {
      EXPECT_EQ(l.FrameCount(), 0);
    }
  }
}

TEST(AnimFile, FlxFramesStepTheReader) {
  std::vector<Block> pics;
  for (int i = 0; i < 8; ++i) pics.push_back(Picture(6, 4, [i](int, int) { return uint8_t(10 + i); }));
  ::Bytes b;
  HeaderBytes(b, "FLX", 1, 8, 6, 4);
  for (int i = 0; i < 8; ++i) RecordBytes(b, 30, 1, "f");
  b.append(WriteFlc(pics));
  for (bool memory : {false, true}) {
    SCOPED_TRACE(memory ? "in memory" : "from the file");
    TAnimatedBmpListCore l;
    ASSERT_TRUE(l.Load(StreamOf(b.data()), memory));
    ASSERT_EQ(l.FrameCount(), 8);
    EXPECT_TRUE(l.AnyTransparent());
    struct Step {
      int frame, rewinds, steps;
    } steps[] = {{5, 0, 5}, {2, 1, 7}, {6, 1, 11}, {6, 1, 11}, {7, 1, 12}, {0, 2, 12}};
    for (const auto& s : steps) {
      SCOPED_TRACE(s.frame);
      const Block* p = l.FramePicture(s.frame);
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(Pixels(*p)[0], 10 + s.frame);
      EXPECT_EQ(l.Rewinds, uint32_t(s.rewinds));
      EXPECT_EQ(l.Steps, uint32_t(s.steps));
    }
    EXPECT_FALSE(l.DecodeFrame(8));
  }
}

TEST(AnimFile, FirstFrame) {
  ::Bytes abp;
  HeaderBytes(abp, "ABP", 0, 2);
  RecordBytes(abp, 1, 1, "a");
  PictureBlock(abp, Solid(7));
  RecordBytes(abp, 1, 1, "b");
  PictureBlock(abp, Solid(8));
  EXPECT_EQ(Pixels(TAnimatedBmpListCore::ReadFirstFrame(StreamOf(abp.data())))[0], 7);

  tsl::MemoryStream flx;
  std::vector<Block> pics{Picture(3, 2, [](int, int) { return 4; }), Picture(3, 2, [](int, int) { return 5; })};
  ASSERT_TRUE(animwrite::WriteFlx(flx, tsl::TAnimHeader(), {{}, {}}, WriteFlc(pics)));
  EXPECT_EQ(Pixels(TAnimatedBmpListCore::ReadFirstFrame(StreamOf(flx.Data())))[0], 4);

  ::Bytes none;
  HeaderBytes(none, "ABP", 0, 0);
  EXPECT_TRUE(TAnimatedBmpListCore::ReadFirstFrame(StreamOf(none.data())).empty());
  ::Bytes wrongType;
  HeaderBytes(wrongType, "FLX", 0, 1);
  EXPECT_TRUE(TAnimatedBmpListCore::ReadFirstFrame(StreamOf(wrongType.data())).empty());
}

}  // namespace
