// The PCX and TGA codecs: depths and plane layouts, run carrying, the
// 256-colour table, TGA types, orientation and run-length packets, and
// damaged headers and data.
#include <gtest/gtest.h>

#include "imaging/core/pcxcodec.h"
#include "picgen.h"

using picgen::Bytes;

namespace {

template <class Codec>
int Load(Codec& c, const Bytes& file, const char* options = nullptr) {
  tsl::MemoryStream m(file);
  return c.LoadStream(&m, options);
}

const uint8_t* Row(const TBitmap_Base& c, int y) {
  return c.Bits + size_t(c.Height - 1 - y) * size_t(c.RowBytes());
}

Bytes Fill(size_t n, uint8_t v) { return Bytes(n, v); }

}  // namespace

// Each supported combination of bits and planes decodes to its pixels.
TEST(Pcx, DepthsAndPlanes) {
  const int w = 13, h = 5;
  // 24 bits: planes red, green, blue.
  const Bytes f24 = picgen::Pcx(w, h, 8, 3, 14, [](int y, int p) {
    Bytes l(14);
    for (int x = 0; x < 14; ++x) l[size_t(x)] = uint8_t(x * 10 + y * 3 + p * 100);
    return l;
  }, {});
  TPCX c24;
  ASSERT_EQ(Load(c24, f24), kBitmapOk);
  EXPECT_EQ(c24.BitsPerPixel, 24u);
  EXPECT_EQ(Row(c24, 2)[3 * 4 + 2], 4 * 10 + 2 * 3);        // red
  EXPECT_EQ(Row(c24, 2)[3 * 4 + 1], 4 * 10 + 2 * 3 + 100);  // green
  EXPECT_EQ(Row(c24, 2)[3 * 4 + 0], 4 * 10 + 2 * 3 + 200);  // blue

  // 4 bits in 4 planes: pixel x gets bit p of its index from plane p.
  auto index = [](int x, int y) { return (x * 3 + y) & 15; };
  const Bytes f4 = picgen::Pcx(w, h, 1, 4, 2, [&](int y, int p) {
    Bytes l(2, 0);
    for (int x = 0; x < w; ++x)
      if (index(x, y) & (1 << p)) l[size_t(x / 8)] |= uint8_t(0x80 >> (x & 7));
    return l;
  }, picgen::Pattern(1, 1, 16).rgb);
  TPCX c4;
  ASSERT_EQ(Load(c4, f4), kBitmapOk);
  EXPECT_EQ(c4.BitsPerPixel, 4u);
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t b = Row(c4, y)[x / 2];
      differ += ((x & 1) ? b & 15 : b >> 4) != index(x, y);
    }
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(Row(c4, 0)[7], 0) << "nothing past the width";

  // 8 bits with the table at the end.
  Bytes rgb(768);
  for (size_t i = 0; i < 768; ++i) rgb[i] = uint8_t(i * 7);
  const Bytes f8 = picgen::Pcx(w, h, 8, 1, 14, [](int y, int) { return Fill(14, uint8_t(200 + y)); }, rgb);
  TPCX c8;
  ASSERT_EQ(Load(c8, f8), kBitmapOk);
  EXPECT_EQ(Row(c8, 3)[0], 203);
  EXPECT_EQ(c8.ColourTable[203].rgbRed, rgb[3 * 203]);
  EXPECT_EQ(c8.ColourTable[203].rgbBlue, rgb[3 * 203 + 2]);

  // 1 bit: black and white.
  const Bytes f1 = picgen::Pcx(w, h, 1, 1, 2, [](int, int) { return Bytes{0xA5, 0x80}; }, {});
  TPCX c1;
  ASSERT_EQ(Load(c1, f1), kBitmapOk);
  EXPECT_EQ(Row(c1, 1)[0], 0xA5);
  EXPECT_EQ(c1.ColourTable[1].rgbGreen, 255);
}

// A run of 0xC5 0x07 over the last 3 bytes of a line carries 2 into the
// next line, or drops them with "trunc"; a bytes-per-line beyond the row
// drops the surplus.
TEST(Pcx, RunsAcrossLinesAndSurplusBytes) {
  Bytes f = picgen::Pcx(4, 2, 8, 1, 4, [](int, int) { return Bytes(); }, Bytes(768, 0));
  const Bytes table(f.end() - 769, f.end());
  f.resize(128);
  f.insert(f.end(), {1, 0xC5, 7, 3, 4, 5, 6});
  f.insert(f.end(), table.begin(), table.end());
  TPCX carry;
  ASSERT_EQ(Load(carry, f), kBitmapOk);
  EXPECT_EQ(Bytes(Row(carry, 0), Row(carry, 0) + 4), (Bytes{1, 7, 7, 7}));
  EXPECT_EQ(Bytes(Row(carry, 1), Row(carry, 1) + 4), (Bytes{7, 7, 3, 4}));
  TPCX cut;
  ASSERT_EQ(Load(cut, f, "trunc"), kBitmapOk);
  EXPECT_EQ(Bytes(Row(cut, 1), Row(cut, 1) + 4), (Bytes{3, 4, 5, 6}));

  const Bytes wide = picgen::Pcx(3, 2, 8, 1, 40, [](int y, int) {
    Bytes l(40, 0xEE);
    l[0] = l[1] = l[2] = uint8_t(y + 1);
    return l;
  }, Bytes(768, 0));
  TPCX surplus;
  ASSERT_EQ(Load(surplus, wide), kBitmapOk);
  EXPECT_EQ(Bytes(Row(surplus, 1), Row(surplus, 1) + 4), (Bytes{2, 2, 2, 0}));
}

TEST(Pcx, DamagedHeaders) {
  auto plain = [](int w, uint16_t bpl, uint8_t bits, uint8_t planes, uint8_t version = 5) {
    return picgen::Pcx(w, 2, bits, planes, bpl, [bpl](int, int) { return Bytes(bpl, 1); }, Bytes(768, 0), version);
  };
  struct Case { const char* what; Bytes file; int code; };
  Bytes noMarker = plain(4, 4, 8, 1);
  noMarker[noMarker.size() - 769] = 11;
  Bytes maker = plain(4, 4, 8, 1);
  maker[0] = 9;
  Bytes encoding = plain(4, 4, 8, 1);
  encoding[2] = 0;
  // A 256-colour file too short to hold its table after the header.
  Bytes shortFile = plain(4, 4, 8, 1);
  shortFile.resize(128 + 100);
  const Case cases[] = {
      {"version 4", plain(4, 4, 8, 1, 4), kBitmapBadVersion},
      {"version 6", plain(4, 4, 8, 1, 6), kBitmapBadVersion},
      {"2 bits", plain(4, 1, 2, 1), kBitmapBadCombination},
      {"no palette marker", noMarker, kBitmapBadCompression},
      {"table inside the header", shortFile, kBitmapBadCompression},
      {"manufacturer", maker, kBitmapBadSignature},
      {"encoding", encoding, kBitmapBadDepth},
      {"bytes per line 0", plain(4, 0, 8, 1), kBitmapBadSize},
      {"bytes per line below the width", plain(9, 8, 8, 1), kBitmapBadSize},
      {"1-bit line below the width", plain(17, 2, 1, 1), kBitmapBadSize},
  };
  for (const Case& c : cases) {
    TPCX pcx;
    EXPECT_EQ(Load(pcx, c.file), c.code) << c.what;
  }
  Bytes cutData = plain(4, 4, 8, 3);
  cutData.resize(130);
  TPCX pcx;
  EXPECT_EQ(Load(pcx, cutData), kBitmapShortRead);
}

// Every TGA type: raw and run-length, colour-mapped, true colour of 16, 24
// and 32 bits (16 bits widened ×8), grey; bottom-up and top-down rows.
TEST(Tga, TypesDepthsAndOrientation) {
  const int w = 5, h = 3;
  Bytes p24, p32, p16, p8;
  for (int i = 0; i < w * h; ++i) {
    p24.insert(p24.end(), {uint8_t(i), uint8_t(i * 2), uint8_t(i * 3)});
    p32.insert(p32.end(), {uint8_t(i), uint8_t(i * 2), uint8_t(i * 3), 0x80});
    const uint16_t v = uint16_t((i & 31) | (i + 1) % 32 << 5 | (i + 2) % 32 << 10);
    p16.insert(p16.end(), {uint8_t(v), uint8_t(v >> 8)});
    p8.push_back(uint8_t(i * 10));
  }
  // Pixel i of the file: first row of the file is the bottom row unless
  // the descriptor says top-down.
  auto check24 = [&](const TTGA& t, int i, uint8_t b, uint8_t g, uint8_t r, bool topDown) {
    const int fileRow = i / w, x = i % w;
    const int y = topDown ? fileRow : h - 1 - fileRow;
    const uint8_t* px = Row(t, y) + 3 * x;
    EXPECT_EQ(px[0], b) << i;
    EXPECT_EQ(px[1], g) << i;
    EXPECT_EQ(px[2], r) << i;
  };
  for (bool rle : {false, true})
    for (uint8_t descriptor : {uint8_t(0), uint8_t(0x20)}) {
      SCOPED_TRACE(testing::Message() << (rle ? "rle" : "raw") << " descriptor " << int(descriptor));
      const bool top = descriptor != 0;
      TTGA t24, t32, t16, t8, g8;
      ASSERT_EQ(Load(t24, picgen::Tga(rle ? 10 : 2, 24, w, h, descriptor, {}, rle ? picgen::TgaRle(p24, 3) : p24)), 0);
      ASSERT_EQ(Load(t32, picgen::Tga(rle ? 10 : 2, 32, w, h, descriptor, {}, rle ? picgen::TgaRle(p32, 4) : p32)), 0);
      ASSERT_EQ(Load(t16, picgen::Tga(rle ? 10 : 2, 16, w, h, descriptor, {}, rle ? picgen::TgaRle(p16, 2) : p16)), 0);
      Bytes map;
      for (int i = 0; i < 256; ++i) map.insert(map.end(), {uint8_t(i), uint8_t(255 - i), 7});
      ASSERT_EQ(Load(t8, picgen::Tga(rle ? 9 : 1, 8, w, h, descriptor, map, rle ? picgen::TgaRle(p8, 1) : p8)), 0);
      ASSERT_EQ(Load(g8, picgen::Tga(rle ? 11 : 3, 8, w, h, descriptor, {}, rle ? picgen::TgaRle(p8, 1) : p8)), 0);
      EXPECT_EQ(t16.BitsPerPixel, 24u);
      EXPECT_EQ(t32.BitsPerPixel, 24u);
      for (int i = 0; i < w * h; ++i) {
        check24(t24, i, uint8_t(i), uint8_t(i * 2), uint8_t(i * 3), top);
        check24(t32, i, uint8_t(i), uint8_t(i * 2), uint8_t(i * 3), top);
        check24(t16, i, uint8_t((i & 31) * 8), uint8_t((i + 1) % 32 * 8), uint8_t((i + 2) % 32 * 8), top);
        const int y = top ? i / w : h - 1 - i / w;
        EXPECT_EQ(Row(t8, y)[i % w], i * 10);
        EXPECT_EQ(Row(g8, y)[i % w], i * 10);
      }
      EXPECT_EQ(t8.ColourTable[30].rgbBlue, 30);
      EXPECT_EQ(t8.ColourTable[30].rgbGreen, 225);
      EXPECT_EQ(g8.ColourTable[77].rgbRed, 77);
    }
}

// A packet 0x81 writes its pixel twice; packets run across rows and stop at
// the picture's end; a cut file gives 7.
TEST(Tga, RunLengthPackets) {
  TTGA twice;
  ASSERT_EQ(Load(twice, picgen::Tga(11, 8, 3, 1, 0, {}, {0x81, 9, 0x00, 4})), kBitmapOk);
  EXPECT_EQ(Bytes(Row(twice, 0), Row(twice, 0) + 3), (Bytes{9, 9, 4}));
  TTGA across;
  ASSERT_EQ(Load(across, picgen::Tga(11, 8, 2, 2, 0, {}, {0xFF, 5})), kBitmapOk);
  EXPECT_EQ(Row(across, 0)[0], 5);
  EXPECT_EQ(Row(across, 1)[1], 5);
  TTGA cut;
  EXPECT_EQ(Load(cut, picgen::Tga(11, 8, 4, 4, 0, {}, {0x83, 5})), kBitmapShortRead);
  TTGA rawCut;
  EXPECT_EQ(Load(rawCut, picgen::Tga(2, 24, 4, 4, 0, {}, Bytes(20, 1))), kBitmapShortRead);
}

TEST(Tga, DamagedHeaders) {
  struct Case { uint8_t type, depth; int w, h; size_t mapEntries; int code; };
  const Case cases[] = {{12, 8, 2, 2, 0, kBitmapBadDepth},  {4, 8, 2, 2, 0, kBitmapBadDepth},
                        {0, 8, 2, 2, 0, kBitmapBadDepth},   {1, 16, 2, 2, 2, kBitmapBadVersion},
                        {2, 8, 2, 2, 0, kBitmapBadVersion}, {3, 24, 2, 2, 0, kBitmapBadVersion},
                        {2, 24, 0, 2, 0, kBitmapBadSize},   {2, 24, 2, 0, 0, kBitmapBadSize}};
  for (const Case& c : cases) {
    TTGA t;
    EXPECT_EQ(Load(t, picgen::Tga(c.type, c.depth, c.w, c.h, 0, Bytes(c.mapEntries * 3, 0), Bytes(64, 0))), c.code)
        << int(c.type) << "/" << int(c.depth);
  }
  Bytes entry15 = picgen::Tga(1, 8, 2, 2, 0, Bytes(6, 0), Bytes(4, 0));
  entry15[7] = 15;
  TTGA t;
  EXPECT_EQ(Load(t, entry15), kBitmapBadCombination);
}
