// The GIF codec: frames by number and in sequence, their facts, the frame
// alignment of 1- and 4-bit screens, interlacing, the writer, and damaged
// files.
#include <gtest/gtest.h>

#include "imaging/core/gifcodec.h"
#include "picgen.h"

using picgen::Bytes;
using picgen::GifFrame;
using picgen::Indexed;

namespace {

// Palette index of picture pixel (x, y from the top) of a loaded codec.
uint32_t IndexAt(const TBitmap_Base& c, int x, int y) {
  const uint8_t* row = c.Bits + size_t(c.Height - 1 - y) * size_t(c.RowBytes());
  switch (c.BitsPerPixel) {
    case 8: return row[x];
    case 4: return (x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4;
    default: return (row[x / 8] >> (7 - (x & 7))) & 1;
  }
}

int Load(TGIF& gif, const Bytes& file, tsl::MemoryStream* keep = nullptr) {
  tsl::MemoryStream local(file);
  tsl::MemoryStream& m = keep ? *keep : local;
  if (keep) m = tsl::MemoryStream(file);
  return gif.LoadStream(&m, nullptr);
}

Indexed Solid(int w, int h, uint8_t v, int colours) {
  Indexed p = picgen::Pattern(w, h, colours);
  std::fill(p.px.begin(), p.px.end(), v);
  return p;
}

}  // namespace

// Writer and reader agree on every depth, with and without interlacing, on
// pictures that fill the code table (noise) and on runs.
TEST(Gif, WriterAndReaderRoundTrip) {
  struct Case { int w, h, colours; uint16_t bits; bool interlaced; bool noise; };
  const Case cases[] = {{1, 1, 2, 1, false, false},  {37, 23, 2, 1, false, true},  {37, 23, 16, 4, true, true},
                        {200, 150, 256, 8, false, true}, {200, 150, 256, 8, true, true}, {64, 64, 4, 4, false, false},
                        {333, 71, 256, 8, false, false}, {9, 17, 8, 4, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " bits " << c.bits << (c.interlaced ? " interlaced" : ""));
    Indexed p = picgen::Pattern(c.w, c.h, c.colours);
    if (c.noise) {
      uint32_t s = 12345;
      for (uint8_t& v : p.px) v = uint8_t((s = s * 1103515245 + 12345) >> 16) % c.colours;
    }
    GifFrame f;
    f.picture = p;
    f.interlaced = c.interlaced;
    const Bytes file = picgen::Gif(c.w, c.h, c.bits, p.rgb, {f});
    TGIF gif;
    ASSERT_EQ(Load(gif, file), kBitmapOk);
    ASSERT_EQ(gif.BitsPerPixel, c.bits);
    int differ = 0;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) differ += IndexAt(gif, x, y) != p.At(x, y);
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(gif.ColourTable[1].rgbRed, p.rgb[3]);
    EXPECT_EQ(gif.ColourTable[1].rgbBlue, p.rgb[5]);
  }
}

// Frame 0 stops before the second image; frame n holds frames 0..n drawn
// over each other; sequential mode gives one frame per load, each on a
// fresh picture of index 0, then 19.
TEST(Gif, FramesByNumberAndInSequence) {
  GifFrame a, b, c;
  a.picture = Solid(8, 6, 1, 4);
  a.delayMs = 120;
  a.disposal = 2;
  b.picture = Solid(3, 2, 2, 4);
  b.left = 4, b.top = 3, b.transparentIndex = 3, b.delayMs = 70;
  c.picture = Solid(2, 2, 3, 4);
  c.left = 1, c.top = 1;
  const Bytes file = picgen::Gif(8, 6, 8, picgen::Pattern(1, 1, 4).rgb, {a, b, c}, 5, "made here");

  TGIF first;
  ASSERT_EQ(Load(first, file), kBitmapOk);
  EXPECT_EQ(IndexAt(first, 5, 4), 1u) << "the second frame is not drawn";
  EXPECT_EQ(+first.Frame.Delay, 120u);
  EXPECT_EQ(+first.Frame.Disposal, 2);
  EXPECT_EQ(first.LoopCount, 5u);
  EXPECT_EQ(first.Comment.str(), "made here");

  TGIF upTo;
  upTo.RequestedFrame = 2;
  ASSERT_EQ(Load(upTo, file), kBitmapOk);
  EXPECT_EQ(IndexAt(upTo, 0, 0), 1u);
  EXPECT_EQ(IndexAt(upTo, 5, 4), 2u);
  EXPECT_EQ(IndexAt(upTo, 2, 2), 3u);
  TGIF beyond;
  beyond.RequestedFrame = 3;
  EXPECT_EQ(Load(beyond, file), kBitmapNoSuchFrame);

  TGIF seq;
  seq.SequentialMode = 1;
  tsl::MemoryStream m(file);
  ASSERT_EQ(seq.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(IndexAt(seq, 0, 0), 1u);
  ASSERT_EQ(seq.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(IndexAt(seq, 0, 0), 0u) << "outside the frame: index 0";
  EXPECT_EQ(IndexAt(seq, 4, 3), 2u);
  EXPECT_EQ(+seq.Frame.Left, 4u);
  EXPECT_EQ(+seq.Frame.Top, 3u);
  EXPECT_EQ(+seq.Frame.Width, 3u);
  EXPECT_EQ(+seq.Frame.Delay, 70u);
  EXPECT_EQ(+seq.Frame.Transparent, 1);
  EXPECT_EQ(+seq.Frame.TransparentIndex, 3u);
  const tsl::DibRgbQuad t = seq.ColourTable[3];
  EXPECT_EQ(+seq.Frame.TransparentColour, uint32_t(t.rgbRed | t.rgbGreen << 8 | t.rgbBlue << 16));
  ASSERT_EQ(seq.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(IndexAt(seq, 1, 1), 3u);
  EXPECT_EQ(seq.LoadStream(&m, nullptr), kBitmapNoSuchFrame);
}

// Frames cut at the screen's edge, refused beyond it, and moved left to a
// byte boundary on 1- and 4-bit screens.
TEST(Gif, FramePlacement) {
  const Bytes rgb = picgen::Pattern(1, 1, 16).rgb;
  GifFrame low;
  low.picture = Solid(4, 5, 7, 16);
  low.top = 6;
  TGIF cut;
  ASSERT_EQ(Load(cut, picgen::Gif(8, 8, 4, rgb, {low})), kBitmapOk);
  EXPECT_EQ(+cut.Frame.Height, 2u);
  EXPECT_EQ(IndexAt(cut, 0, 7), 7u);
  EXPECT_EQ(IndexAt(cut, 0, 5), 0u);
  low.top = 8;
  TGIF below;
  EXPECT_EQ(Load(below, picgen::Gif(8, 8, 4, rgb, {low})), kBitmapOutsideScreen);

  struct Align { uint16_t bits; uint16_t left; uint32_t drawn; };
  for (const Align& a : {Align{4, 3, 2}, Align{1, 5, 0}, Align{1, 9, 8}, Align{8, 3, 3}}) {
    GifFrame f;
    f.picture = Solid(3, 2, 1, 2);
    f.left = a.left;
    TGIF gif;
    ASSERT_EQ(Load(gif, picgen::Gif(24, 4, a.bits, picgen::Pattern(1, 1, 1 << a.bits).rgb, {f})), kBitmapOk);
    EXPECT_EQ(+gif.Frame.StoredLeft, a.left);
    EXPECT_EQ(+gif.Frame.Left, a.drawn) << "bits " << a.bits;
    EXPECT_EQ(IndexAt(gif, int(a.drawn), 0), 1u);
    EXPECT_EQ(IndexAt(gif, int(a.drawn) + 3, 0), 0u);
  }
}

// An interlaced 8-row frame: stored rows 0..7 land on picture rows 0, 4,
// 2, 6, 1, 3, 5, 7.
TEST(Gif, InterlacedRowsByThePasses) {
  Indexed p = picgen::Pattern(4, 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 4; ++x) p.px[size_t(y) * 4 + size_t(x)] = uint8_t(y);
  GifFrame f;
  f.picture = p;
  Bytes file = picgen::Gif(4, 8, 4, p.rgb, {f});
  // Mark the stored rows interlaced: the flags byte of the descriptor.
  size_t at = file.size();
  for (size_t i = 13 + 48; i + 9 < file.size(); ++i)
    if (file[i] == 0x2C) {
      at = i + 9;
      break;
    }
  ASSERT_LT(at, file.size());
  file[at] |= 0x40;
  TGIF gif;
  ASSERT_EQ(Load(gif, file), kBitmapOk);
  const int rows[8] = {0, 4, 2, 6, 1, 3, 5, 7};
  for (int stored = 0; stored < 8; ++stored) EXPECT_EQ(IndexAt(gif, 0, rows[stored]), uint32_t(stored));
}

// Damaged and unusual files fail with their codes and write nothing
// outside the picture (the sanitizers watch).
TEST(Gif, DamagedFiles) {
  GifFrame f;
  f.picture = picgen::Pattern(16, 16, 4);
  const Bytes good = picgen::Gif(16, 16, 4, f.picture.rgb, {f});
  struct Case { const char* what; std::function<void(Bytes&)> change; int code; };
  size_t image = 0;
  for (size_t i = 13 + 48; i < good.size(); ++i)
    if (good[i] == 0x2C) {
      image = i;
      break;
    }
  ASSERT_GT(image, 0u);
  const size_t data = image + 10;  // code size byte
  const Case cases[] = {
      {"signature", [](Bytes& b) { b[4] = '8'; }, kBitmapBadSignature},
      {"zero width", [](Bytes& b) { b[6] = b[7] = 0; }, kBitmapBadSize},
      {"cut in the header", [](Bytes& b) { b.resize(20); }, kBitmapShortRead},
      {"cut in the data", [&](Bytes& b) { b.resize(data + 4); }, kBitmapCorruptData},
      {"no trailer", [&](Bytes& b) { b.resize(image); }, kBitmapShortRead},
      {"unknown block", [&](Bytes& b) { b[image] = 0x44; }, kBitmapBadDepth},
      {"code size 12", [&](Bytes& b) { b[data] = 12; }, kBitmapCorruptData},
      {"frame taller than its data", [&](Bytes& b) { b[image + 7] = 40; }, kBitmapCorruptData},
      {"frame smaller than its data", [&](Bytes& b) { b[image + 7] = 2; }, kBitmapCorruptData},
      // A frame size far beyond what the data decodes to costs no memory.
      {"huge frame, little data",
       [&](Bytes& b) {
         b[image + 5] = b[image + 7] = 0x40;  // 40000 × 40000
         b[image + 6] = b[image + 8] = 0x9C;
       },
       kBitmapCorruptData},
      // The flag claims a 256-entry table the data does not hold: the
      // table eats the image data.
      {"local table flag without a table", [&](Bytes& b) { b[image + 9] = 0x87; }, kBitmapShortRead},
  };
  for (const Case& c : cases) {
    Bytes b = good;
    c.change(b);
    TGIF gif;
    EXPECT_EQ(Load(gif, b), c.code) << c.what;
  }
  TGIF noTable;
  EXPECT_EQ(Load(noTable, picgen::Gif(16, 16, 4, Bytes(), {f})), kBitmapNoSuccessor) << "no colour table";
  // A code beyond the table: code size 2, clear (4) then 7 at 3 bits.
  Bytes bad(good.begin(), good.begin() + long(data));
  bad.insert(bad.end(), {2, 2, 0x3C, 0x00, 0, ';'});
  TGIF gif;
  EXPECT_EQ(Load(gif, bad), kBitmapCorruptData);
}

// The writer's graphic-control extension can be patched where the reader
// met it.
TEST(Gif, TransparencyPatchedInPlace) {
  GifFrame f;
  f.picture = picgen::Pattern(5, 5, 4);
  f.transparentIndex = 1;
  tsl::MemoryStream m(picgen::Gif(5, 5, 4, f.picture.rgb, {f}));
  TGIF gif;
  ASSERT_EQ(gif.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(+gif.Frame.TransparentIndex, 1u);
  ASSERT_EQ(gif.PatchGifTransparency(&m, true, 3), kBitmapOk);
  TGIF again;
  ASSERT_EQ(again.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(+again.Frame.Transparent, 1);
  EXPECT_EQ(+again.Frame.TransparentIndex, 3u);
  TGIF fresh;
  tsl::MemoryStream none;
  EXPECT_EQ(fresh.PatchGifTransparency(&none, true, 0), kBitmapNothingToWrite);
}

// Frames whose local tables are larger than the global one, or that come
// without a global table, decode at the depth their colours need; and a
// graphic control block governs the one image after it.
TEST(Gif, LocalTablesAndGraphicControlPerFrame) {
  Indexed wide = picgen::Pattern(16, 4, 256);
  for (size_t i = 0; i < wide.px.size(); ++i) wide.px[i] = uint8_t(i * 37 % 256);
  GifFrame local;
  local.picture = wide;
  local.localTable = true;
  struct Case { const char* what; uint16_t bits; Bytes global; };
  const Case cases[] = {
      {"two global colours", 1, picgen::Pattern(1, 1, 2).rgb},
      {"no global table", 1, Bytes()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TGIF gif;
    ASSERT_EQ(Load(gif, picgen::Gif(16, 4, c.bits, c.global, {local})), kBitmapOk);
    EXPECT_EQ(gif.BitsPerPixel, 8);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(IndexAt(gif, x, y), wide.px[size_t(y) * 16 + size_t(x)]);
    const tsl::DibRgbQuad q = gif.ColourTable[200];
    EXPECT_EQ(Bytes({q.rgbRed, q.rgbGreen, q.rgbBlue}), Bytes(wide.rgb.begin() + 600, wide.rgb.begin() + 603));
  }

  // The second frame's graphic control block taken out by hand.
  GifFrame a, b;
  a.picture = Solid(4, 4, 1, 4);
  a.transparentIndex = 2, a.delayMs = 300, a.disposal = 2;
  b.picture = Solid(4, 4, 3, 4);
  Bytes file = picgen::Gif(4, 4, 2, picgen::Pattern(1, 1, 4).rgb, {a, b});
  size_t second = 0;
  for (size_t i = 13 + 12, seen = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0x21 && file[i + 1] == 0xF9 && ++seen == 2) {
      second = i;
      break;
    }
  ASSERT_GT(second, 0u);
  file.erase(file.begin() + long(second), file.begin() + long(second) + 8);
  TGIF seq;
  seq.SequentialMode = 1;
  tsl::MemoryStream m(file);
  ASSERT_EQ(seq.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(+seq.Frame.Transparent, 1);
  EXPECT_EQ(+seq.Frame.Delay, 300u);
  ASSERT_EQ(seq.LoadStream(&m, nullptr), kBitmapOk);
  EXPECT_EQ(IndexAt(seq, 0, 0), 3u);
  EXPECT_EQ(+seq.Frame.Transparent, 0) << "the first frame's transparency carried over";
  EXPECT_EQ(+seq.Frame.Delay, 0u);
  EXPECT_EQ(+seq.Frame.Disposal, 0);
  TGIF byNumber;
  byNumber.RequestedFrame = 1;
  ASSERT_EQ(Load(byNumber, file), kBitmapOk);
  EXPECT_EQ(+byNumber.Frame.Transparent, 0);
}
