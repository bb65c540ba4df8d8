// The FLI/FLC reader on files laid down byte by byte, and the writer read
// back by the reader.
#include <gtest/gtest.h>

#include <random>

#include "../../engine/format/bytes.h"
#include "flxpics.h"

using namespace flxtest;
using tsl::TFLX;

namespace {

// A 128-byte header. FLC: frame 1 at 128.
Block Header(uint16_t magic, uint16_t frames, uint16_t w, uint16_t h, uint32_t speed) {
  ::Bytes b;
  b.u32(0).u16(magic).u16(frames).u16(w).u16(h).u16(8).u16(3);
  if (magic == tsl::kFliMagic)
    b.u16(uint16_t(speed)).u16(0);
  else
    b.u32(speed);
  b.zeros(80 - b.size()).u32(128).zeros(128 - 84);
  return b.data();
}

// One frame of chunks, each (type, data).
Block Frame(const std::vector<std::pair<uint16_t, Block>>& chunks) {
  ::Bytes b;
  b.u32(0).u16(0xF1FA).u16(uint16_t(chunks.size())).zeros(8);
  for (const auto& c : chunks) b.u32(uint32_t(6 + c.second.size())).u16(c.first).append(c.second);
  b.put32(0, uint32_t(b.size()));
  return b.data();
}

Block Cat(std::vector<Block> parts) {
  Block out;
  for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A COPY chunk of w x h pixels, value v everywhere.
std::pair<uint16_t, Block> Fill(int w, int h, uint8_t v) { return {tsl::kFlxCopy, Block(size_t(w) * h, v)}; }

TEST(FlxReader, SpeedRule) {
  struct Case {
    const char* what;
    uint16_t magic;
    uint32_t speed;
    uint32_t delay;
  } cases[] = {
      {"FLI speed 5: 5000 / 70", tsl::kFliMagic, 5, 71},
      {"FLI speed 7", tsl::kFliMagic, 7, 100},
      {"FLI speed 0 plays at 71 ms", tsl::kFliMagic, 0, 71},
      {"FLI speed uses the low 16 bits only", tsl::kFliMagic, 0x10000 + 14, 200},
      {"FLC speed in ms", tsl::kFlcMagic, 40, 40},
      {"FLC speed 0 plays at 71 ms", tsl::kFlcMagic, 0, 71},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Block h = Header(c.magic, 1, 4, 2, c.speed);
    if (c.magic == tsl::kFliMagic) h[18] = uint8_t(c.speed >> 16);  // noise the reader must not use
    TFLX f(StreamOf(Cat({h, Frame({Fill(4, 2, 1)})})), false);
    EXPECT_TRUE(f.Valid());
    EXPECT_EQ(f.Delay(), c.delay);
  }
}

TEST(FlxReader, RefusedHeaders) {
  struct Case {
    const char* what;
    Block file;
  } cases[] = {
      {"other magic", Cat({Header(0x1234, 1, 4, 2, 1), Frame({Fill(4, 2, 1)})})},
      {"width 0", Cat({Header(tsl::kFlcMagic, 1, 0, 2, 1), Frame({})})},
      {"height 0", Cat({Header(tsl::kFlcMagic, 1, 4, 0, 1), Frame({})})},
      {"above the size cap", Cat({Header(tsl::kFlcMagic, 1, 0xFFFF, 0xFFFF, 1), Frame({})})},
      {"short header", Block(100, 0)},
      {"frame 1 without its magic", Cat({Header(tsl::kFlcMagic, 1, 4, 2, 1), Block(16, 0)})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFLX f(StreamOf(c.file), false);
    EXPECT_FALSE(f.Valid());
    EXPECT_FALSE(f.HasPicture());
    EXPECT_FALSE(f.NextFrame());
    RecordingCanvas dc;
    f.Draw(dc, 0, 0);
    f.DrawFirstFrame(dc, 0, 0);
    EXPECT_TRUE(dc.draws.empty());
  }
}

TEST(FlxReader, ColourPackets) {
  // COLOR_64 (0,2),(3,1): colours 0, 1 and 5, each level times 4.
  ::Bytes c64;
  c64.u16(2).u8(0).u8(2).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u8(3).u8(1).u8(63).u8(0).u8(10);
  // COLOR_256 with count 0 = 256 colours; then a packet past index 256 stops.
  ::Bytes c256;
  c256.u16(2).u8(0).u8(0);
  for (int i = 0; i < 256; ++i) c256.u8(uint8_t(i)).u8(uint8_t(255 - i)).u8(7);
  c256.u8(0).u8(1).u8(1).u8(1).u8(1);
  TFLX f(StreamOf(Cat({Header(tsl::kFlcMagic, 2, 4, 2, 1), Frame({{tsl::kFlxColor64, c64.data()}}),
                       Frame({{tsl::kFlxColor256, c256.data()}})})),
         false);
  ASSERT_TRUE(f.Valid());
  const tsl::DibRgbQuad* p = f.Palette();
  auto rgb = [&](int i) { return uint32_t(p[i].rgbRed << 16 | p[i].rgbGreen << 8 | p[i].rgbBlue); };
  EXPECT_EQ(rgb(0), 0x04080Cu);
  EXPECT_EQ(rgb(1), 0x101418u);
  EXPECT_EQ(rgb(2), 0u);
  EXPECT_EQ(rgb(4), 0u);
  EXPECT_EQ(rgb(5), 0xFC0028u);
  ASSERT_TRUE(f.NextFrame());
  EXPECT_EQ(rgb(0), 0x00FF07u);
  EXPECT_EQ(rgb(255), 0xFF0007u);
}

TEST(FlxReader, DeltaChunks) {
  const int w = 7, h = 4;
  // Frame 1: all 1 by a byte run whose packet count bytes say 0.
  ::Bytes brun;
  for (int y = 0; y < h; ++y) brun.u8(0).u8(3).u8(1).u8(uint8_t(-4)).u8(1).u8(1).u8(1).u8(1);
  // Frame 2: LC from line 1, 2 lines: line 1 skip 2 copy (8, 9); line 2
  // skip 0 fill 3 x 5, then a copy that would pass the width (dropped).
  ::Bytes lc;
  lc.u16(1).u16(2).u8(1).u8(2).u8(2).u8(8).u8(9).u8(2).u8(0).u8(uint8_t(-3)).u8(5).u8(2).u8(4).u8(6).u8(6).u8(6).u8(6);
  // Frame 3: SS2, 2 lines: skip 1 line, then the odd last pixel 0x44 and
  // one packet (skip 2, copy 1 word 0x2211); skip 1 more line, then a word
  // run on the last line (skip 0, repeat 3 x 0x3333).
  ::Bytes ss2;
  ss2.u16(2).u16(uint16_t(-1)).u16(0x8044).u16(1).u8(2).u8(1).u8(0x11).u8(0x22);
  ss2.u16(uint16_t(-1)).u16(1).u8(0).u8(uint8_t(-3)).u16(0x3333);
  // Frame 4: BLACK.
  TFLX f(StreamOf(Cat({Header(tsl::kFlcMagic, 4, w, h, 1), Frame({{tsl::kFlxByteRun, brun.data()}}),
                       Frame({{tsl::kFlxByteDelta, lc.data()}}), Frame({{tsl::kFlxWordDelta, ss2.data()}}),
                       Frame({{tsl::kFlxBlack, {}}})})),
         false);
  ASSERT_TRUE(f.Valid());
  EXPECT_EQ(Pixels(f), Block(w * h, 1));
  ASSERT_TRUE(f.NextFrame());
  EXPECT_EQ(Pixels(f), (Block{1, 1, 1, 1, 1, 1, 1,  //
                              1, 1, 8, 9, 1, 1, 1,  //
                              5, 5, 5, 1, 1, 1, 1,  //
                              1, 1, 1, 1, 1, 1, 1}));
  ASSERT_TRUE(f.NextFrame());
  EXPECT_EQ(Pixels(f), (Block{1, 1, 1, 1, 1, 1, 1,           //
                              1, 1, 0x11, 0x22, 1, 1, 0x44,  //
                              5, 5, 5, 1, 1, 1, 1,           //
                              0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 1}));
  ASSERT_TRUE(f.NextFrame());
  EXPECT_EQ(Pixels(f), Block(w * h, 0));
}

TEST(FlxReader, DamagedFrames) {
  const int w = 4, h = 2;
  const Block head = Header(tsl::kFlcMagic, 3, w, h, 1);
  const Block one = Frame({Fill(w, h, 1)});
  struct Case {
    const char* what;
    Block frame2;
    bool steps;
    uint8_t pixel;  // first pixel afterwards
  } cases[] = {
      {"frame size below 16", [] { ::Bytes b; b.u32(8).u16(0xF1FA).zeros(10); return b.data(); }(), false, 1},
      {"frame past the end", [] { ::Bytes b; b.u32(1000).u16(0xF1FA).zeros(10).u32(14).u16(16).zeros(8); return b.data(); }(), false, 1},
      {"no frame magic", [] { ::Bytes b; b.u32(16).u16(0xF1FB).zeros(10); return b.data(); }(), false, 1},
      {"chunk below 6 ends the frame", [] { ::Bytes b; b.u32(16 + 4 + 14).u16(0xF1FA).u16(2).zeros(8).u32(4).u32(14).u16(16).zeros(8); return b.data(); }(), true, 1},
      {"chunk past the body ends the frame", [] { ::Bytes b; b.u32(16 + 14).u16(0xF1FA).u16(1).zeros(8).u32(15).u16(16).zeros(8); return b.data(); }(), true, 1},
      {"short COPY writes the lines it has", Frame({{tsl::kFlxCopy, Block(5, 7)}}), true, 7},
      {"LC packets past the chunk", Frame({{tsl::kFlxByteDelta, Block{0, 0, 1, 0, 1, 0, 100, 9}}}), true, 1},
      {"SS2 packets past the chunk", Frame({{tsl::kFlxWordDelta, Block{1, 0, 1, 0, 0, 100, 9, 9}}}), true, 1},
      {"BRUN runs past the width are dropped", Frame({{tsl::kFlxByteRun, Block{1, 9, 3, 1, 2, 4}}}), true, 1},
      {"BRUN of zero-length runs ends with its data", Frame({{tsl::kFlxByteRun, Block(40, 0)}}), true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFLX f(StreamOf(Cat({head, one, c.frame2, one})), false);
    ASSERT_TRUE(f.Valid());
    EXPECT_EQ(f.NextFrame(), c.steps);
    EXPECT_EQ(f.CurrentFrame(), c.steps ? 1 : 0);
    EXPECT_EQ(Pixels(f)[0], c.pixel);
  }
}

// Ten pictures of distinct colours: frame i is all i + 1.
std::vector<Block> TenPictures(int w = 6, int h = 3) {
  std::vector<Block> pics;
  for (int i = 0; i < 10; ++i) pics.push_back(Picture(w, h, [i](int, int) { return uint8_t(i + 1); }));
  return pics;
}

TEST(FlxWriter, RingLoopAndHeader) {
  const Block file = WriteFlc(TenPictures());
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(tsl::GetLe32(file.data()), file.size());
  EXPECT_EQ(tsl::GetLe16(file.data() + 4), tsl::kFlcMagic);
  EXPECT_EQ(tsl::GetLe16(file.data() + 6), 10);
  EXPECT_EQ(tsl::GetLe32(file.data() + 34), 0x4853u);
  EXPECT_EQ(tsl::GetLe32(file.data() + 80), 128u);
  // 11 frames follow the header, end to end.
  int frames = 0;
  for (size_t at = 128; at < file.size(); at += tsl::GetLe32(file.data() + at)) {
    ASSERT_EQ(tsl::GetLe16(file.data() + at + 4), tsl::kFlxFrameMagic);
    if (frames == 1) {
      EXPECT_EQ(tsl::GetLe32(file.data() + 84), at);
    }
    ++frames;
  }
  EXPECT_EQ(frames, 11);

  TFLX f(StreamOf(file), false);
  ASSERT_TRUE(f.Valid());
  EXPECT_EQ(f.FrameCount(), 10);
  RecordingCanvas dc;
  f.DrawFirstFrame(dc, 3, 4);
  std::vector<bool> more;
  for (int i = 0; i < 12; ++i) more.push_back(f.DrawNextFrame(dc, 3, 4));
  std::vector<int> shown;
  for (auto& d : dc.draws) shown.push_back(d.firstPixel);
  // 1..10, the ring frame (the first picture), 2, 3.
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3}));
  EXPECT_EQ(more, (std::vector<bool>{true, true, true, true, true, true, true, true, false, true, true, true}));
  EXPECT_EQ(dc.draws.back().x, 3);
  EXPECT_EQ(dc.draws.back().y, 4);

  f.DrawLastFrame(dc, 0, 0);
  EXPECT_EQ(dc.draws.back().firstPixel, 10);
  EXPECT_EQ(f.CurrentFrame(), 9);
  f.DrawFirstFrame(dc, 0, 0);
  EXPECT_EQ(dc.draws.back().firstPixel, 1);
}

TEST(FlxWriter, DelayAndPaletteChunks) {
  auto red = [](int i) { return i == 1 ? 0xFF0000u : GreyRamp(i); };
  std::vector<Block> pics{Picture(5, 2, [](int, int) { return 1; }), Picture(5, 2, [](int x, int) { return uint8_t(x); }),
                          Picture(5, 2, [](int x, int) { return uint8_t(x); }, red)};
  const Block file = WriteFlc(pics, 0);
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(tsl::GetLe32(file.data() + 16), 71u);
  // Chunk types per frame.
  std::vector<std::vector<int>> types;
  for (size_t at = 128; at < file.size(); at += tsl::GetLe32(file.data() + at)) {
    types.emplace_back();
    const size_t end = at + tsl::GetLe32(file.data() + at);
    for (size_t c = at + 16; c < end; c += tsl::GetLe32(file.data() + c)) types.back().push_back(tsl::GetLe16(file.data() + c + 4));
  }
  EXPECT_EQ(types, (std::vector<std::vector<int>>{{4, 15}, {7}, {4}, {4, 7}}));

  TFLX f(StreamOf(file), false);
  ASSERT_TRUE(f.NextFrame());
  ASSERT_TRUE(f.NextFrame());
  EXPECT_EQ(f.Palette()[1].rgbRed, 0xFF);
  EXPECT_EQ(f.Palette()[1].rgbGreen, 0);
  EXPECT_EQ(Pixels(f), Pixels(pics[2]));
}

TEST(FlxWriter, RoundTrips) {
  std::mt19937 rng(7);
  struct Case {
    const char* what;
    int w, h;
    PixelFn base;
  } cases[] = {
      {"noise, odd width", 33, 9, [&](int, int) { return uint8_t(rng() % 4); }},
      {"a busy line of more than 255 packets", 700, 2, [](int x, int) { return uint8_t(x / 2 % 2 ? x : 9); }},
      {"long equal stretches", 600, 3, [](int x, int y) { return uint8_t(x < 300 ? y : 200); }},
      {"one pixel wide", 1, 5, [](int, int y) { return uint8_t(y); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Block> pics;
    pics.push_back(Picture(c.w, c.h, c.base));
    // Later pictures change scattered pixels, whole lines and the last column.
    for (int i = 1; i < 5; ++i) {
      const Block prev = Pixels(pics.back());
      pics.push_back(Picture(c.w, c.h, [&](int x, int y) {
        const uint8_t p = prev[size_t(y) * c.w + x];
        if (y == i % c.h) return uint8_t(p + 1);
        if (x == c.w - 1 && i % 2) return uint8_t(p ^ 0x40);
        return rng() % 9 == 0 ? uint8_t(rng()) : p;
      }));
    }
    const Block file = WriteFlc(pics);
    for (bool memory : {false, true}) {
      TFLX f(StreamOf(file), memory);
      ASSERT_TRUE(f.Valid());
      EXPECT_EQ(f.InMemory(), memory);
      for (size_t i = 0; i <= pics.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Pixels(f), Pixels(pics[i % pics.size()]));
        ASSERT_TRUE(f.NextFrame());
      }
    }
  }
}

TEST(FlxReader, AnimationInsideAnotherFile) {
  const Block flc = WriteFlc(TenPictures());
  auto m = std::make_unique<tsl::MemoryStream>(Cat({Block(37, 0xEE), flc}));
  m->Seek(37);
  for (bool memory : {false, true}) {
    auto s = std::make_unique<tsl::MemoryStream>(Cat({Block(37, 0xEE), flc}));
    s->Seek(37);
    TFLX f(std::move(s), true, false, memory);
    ASSERT_TRUE(f.Valid());
    for (int i = 0; i < 12; ++i) f.NextFrame();
    EXPECT_EQ(Pixels(f)[0], 3);
  }
  TFLX unused(std::move(m), false, false, true);
  EXPECT_FALSE(unused.Valid());
  EXPECT_FALSE(unused.InMemory());
}

TEST(FlxWriter, RefusedPictures) {
  tsl::TFLX w;
  Block pic = Picture(4, 4, [](int, int) { return 0; });
  Block fewColours = pic;
  tsl::PutLe32(fewColours.data() + 32, 16);
  EXPECT_FALSE(w.Create(nullptr, 10, pic.data(), pic.size()));
  EXPECT_FALSE(w.Create(std::make_unique<tsl::MemoryStream>(), 10, nullptr, 0));
  EXPECT_FALSE(w.Create(std::make_unique<tsl::MemoryStream>(), 10, fewColours.data(), fewColours.size()));
  ASSERT_TRUE(w.Create(std::make_unique<tsl::MemoryStream>(), 10, pic.data(), pic.size()));
  EXPECT_FALSE(w.AddFrame(nullptr, 0));
  Block other = Picture(5, 4, [](int, int) { return 0; });
  EXPECT_FALSE(w.AddFrame(other.data(), other.size()));
}

}  // namespace
