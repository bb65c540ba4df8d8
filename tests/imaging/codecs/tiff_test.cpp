// The TIFF codec: byte orders, photometric kinds and their tables, strips
// with each compression and the predictor, resolutions, what it refuses,
// and strip tables that point outside the file.
#include <gtest/gtest.h>

#include "imaging/core/tiffcodec.h"
#include "picgen.h"

using picgen::Bytes;
using picgen::TiffEntry;

namespace {

int Load(TTIF& t, const Bytes& file) {
  tsl::MemoryStream m(file);
  return t.LoadStream(&m, nullptr);
}

const uint8_t* TiffRow(const TBitmap_Base& c, int y) {
  return c.Bits + size_t(c.Height - 1 - y) * size_t(c.RowBytes());
}

// The entries of a w × h picture of one sample of `bits` (or 3 of 8).
std::vector<TiffEntry> Basic(uint32_t w, uint32_t h, uint32_t bits, uint32_t photometric, uint32_t compression = 1,
                             uint32_t rowsPerStrip = 0) {
  std::vector<TiffEntry> e = {{256, 3, 1, {w}}, {257, 4, 1, {h}}, {259, 3, 1, {compression}}, {262, 3, 1, {photometric}}};
  if (photometric == 2) {
    e.push_back({258, 3, 3, {8, 8, 8}});
    e.push_back({277, 3, 1, {3}});
  } else {
    e.push_back({258, 3, 1, {bits}});
  }
  if (rowsPerStrip) e.push_back({278, 3, 1, {rowsPerStrip}});
  return e;
}

}  // namespace

// A big-endian 8-bit grey picture with photometric 0 has a descending ramp
// (index 0 white); photometric 1 an ascending one; 4 and 1 bits step by 17
// and 255.
TEST(Tiff, GreyRampsAndByteOrders) {
  for (bool big : {false, true})
    for (uint32_t photometric : {0u, 1u})
      for (uint32_t bits : {1u, 4u, 8u}) {
        SCOPED_TRACE(testing::Message() << (big ? "MM" : "II") << " photometric " << photometric << " bits " << bits);
        const uint32_t rowLen = (3 * bits + 7) / 8;
        Bytes strip(rowLen * 2);
        for (size_t i = 0; i < strip.size(); ++i) strip[i] = uint8_t(0x5A + i);
        TTIF t;
        ASSERT_EQ(Load(t, picgen::Tiff(big, Basic(3, 2, bits, photometric), {strip})), kBitmapOk);
        EXPECT_EQ(t.BitsPerPixel, bits);
        const uint32_t step = bits == 8 ? 1 : bits == 4 ? 17 : 255;
        EXPECT_EQ(t.ColourTable[1].rgbRed, photometric ? step : 255 - step);
        EXPECT_EQ(t.ColourTable[0].rgbGreen, photometric ? 0 : 255);
        EXPECT_EQ(TiffRow(t, 1)[0], strip[rowLen]);
      }
}

// RGB and palette pictures in several strips, uncompressed, PackBits and
// (through the decoder directly) LZW, with the predictor.
TEST(Tiff, StripsCompressionsAndPredictor) {
  const uint32_t w = 7, h = 5;
  Bytes rgb;
  for (uint32_t i = 0; i < w * h; ++i) rgb.insert(rgb.end(), {uint8_t(i), uint8_t(i * 3), uint8_t(250 - i)});
  auto strips = [&](uint32_t rps, bool pack) {
    std::vector<Bytes> out;
    for (uint32_t y = 0; y < h; y += rps) {
      const size_t from = size_t(y) * w * 3, to = std::min<size_t>(rgb.size(), size_t(y + rps) * w * 3);
      Bytes s(rgb.begin() + long(from), rgb.begin() + long(to));
      out.push_back(pack ? picgen::PackBits(s) : s);
    }
    return out;
  };
  for (uint32_t rps : {1u, 2u, 5u})
    for (bool pack : {false, true}) {
      TTIF t;
      ASSERT_EQ(Load(t, picgen::Tiff(false, Basic(w, h, 8, 2, pack ? 32773 : 1, rps), strips(rps, pack))), kBitmapOk);
      int differ = 0;
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
          const uint8_t* p = TiffRow(t, int(y)) + 3 * x;
          const size_t i = (size_t(y) * w + x) * 3;
          differ += p[0] != rgb[i + 2] || p[1] != rgb[i + 1] || p[2] != rgb[i];
        }
      EXPECT_EQ(differ, 0) << "rows per strip " << rps << (pack ? " PackBits" : "");
    }

  // Palette of 4 bits; entries take the high byte.
  std::vector<TiffEntry> pal = Basic(4, 1, 4, 3);
  std::vector<uint32_t> map(48);
  for (uint32_t i = 0; i < 16; ++i) map[i] = (i * 16) << 8 | 0xFF, map[16 + i] = 0x1200, map[32 + i] = 0x3400;
  pal.push_back({320, 3, 48, map});
  TTIF p;
  ASSERT_EQ(Load(p, picgen::Tiff(true, pal, {{0x12, 0xF0}})), kBitmapOk);
  EXPECT_EQ(p.ColourTable[15].rgbRed, 240);
  EXPECT_EQ(p.ColourTable[15].rgbGreen, 0x12);
  EXPECT_EQ(p.ColourTable[15].rgbBlue, 0x34);
  EXPECT_EQ(TiffRow(p, 0)[1], 0xF0);

  // Horizontal differencing of 8-bit grey.
  std::vector<TiffEntry> pred = Basic(4, 1, 8, 1);
  pred.push_back({317, 3, 1, {2}});
  TTIF d;
  ASSERT_EQ(Load(d, picgen::Tiff(false, pred, {{10, 1, 2, 250}})), kBitmapOk);
  EXPECT_EQ(Bytes(TiffRow(d, 0), TiffRow(d, 0) + 4), (Bytes{10, 11, 13, 7}));
}

// PackBits 0xFE 0x41 is three bytes 0x41; -128 is skipped; LZW codes are
// read most significant bit first, one code early.
TEST(Tiff, PackBitsAndLzw) {
  uint8_t out[8] = {};
  const uint8_t run[] = {0xFE, 0x41, 0x80, 0x01, 7, 8};
  EXPECT_EQ(tsl::PackBitsDecode(run, sizeof run, out, sizeof out), 5u);
  EXPECT_EQ(Bytes(out, out + 5), (Bytes{0x41, 0x41, 0x41, 7, 8}));
  EXPECT_EQ(tsl::PackBitsDecode(run, sizeof run, out, 2), 2u) << "stops at the buffer's end";
  const uint8_t literal[] = {0x05, 1, 2};  // says 6, has 2
  EXPECT_EQ(tsl::PackBitsDecode(literal, sizeof literal, out, sizeof out), 2u);

  // Clear, 'A', 'B', 258 ("AB"), end, at 9 bits each.
  const uint32_t codes[] = {256, 65, 66, 258, 257};
  Bytes lzw;
  uint64_t acc = 0;
  int bits = 0;
  for (uint32_t c : codes) {
    acc = acc << 9 | c;
    bits += 9;
    while (bits >= 8) lzw.push_back(uint8_t(acc >> (bits -= 8)));
  }
  if (bits) lzw.push_back(uint8_t(acc << (8 - bits)));
  uint8_t dec[16] = {};
  ASSERT_EQ(tsl::TiffLzwDecode(lzw.data(), lzw.size(), dec, sizeof dec), 4u);
  EXPECT_EQ(Bytes(dec, dec + 4), (Bytes{'A', 'B', 'A', 'B'}));
  EXPECT_EQ(tsl::TiffLzwDecode(lzw.data(), lzw.size(), dec, 3), 2u) << "a string that does not fit ends the strip";
}

// Resolutions: 300 per inch is 11811 per metre; centimetres; none.
TEST(Tiff, Resolutions) {
  struct Case { uint32_t unit, num, den; int32_t expected; };
  for (const Case& c : {Case{2, 300, 1, 11811}, Case{3, 40, 1, 4000}, Case{1, 0, 1, 2953}, Case{2, 0, 0, 2953}}) {
    std::vector<TiffEntry> e = Basic(2, 1, 8, 1);
    e.push_back({296, 3, 1, {c.unit}});
    e.push_back({282, 5, 1, {c.num, c.den}});
    TTIF t;
    ASSERT_EQ(Load(t, picgen::Tiff(false, e, {{1, 2}})), kBitmapOk);
    EXPECT_EQ(t.Header->biXPelsPerMeter, c.expected) << c.unit << " " << c.num;
  }
}

// What the codec refuses, and strip tables that lie.
TEST(Tiff, RefusedAndDamaged) {
  auto with = [](std::vector<TiffEntry> e, TiffEntry extra) {
    e.push_back(extra);
    return e;
  };
  const Bytes strip(16, 0x33);
  struct Case { const char* what; Bytes file; int code; };
  std::vector<TiffEntry> rgb16 = Basic(2, 2, 8, 2);
  for (TiffEntry& e : rgb16)
    if (e.tag == 258) e.values = {16, 16, 16};
  Bytes notTiff = picgen::Tiff(false, Basic(2, 2, 8, 1), {strip});
  notTiff[0] = 'X';
  Bytes not42 = picgen::Tiff(false, Basic(2, 2, 8, 1), {strip});
  not42[2] = 43;
  const Case cases[] = {
      {"CCITT", picgen::Tiff(false, Basic(2, 2, 1, 0, 3), {strip}), kBitmapUnsupportedTiff},
      {"JPEG", picgen::Tiff(false, Basic(2, 2, 8, 1, 6), {strip}), kBitmapUnsupportedTiff},
      {"tiles", picgen::Tiff(false, with(Basic(2, 2, 8, 1), {322, 3, 1, {16}}), {strip}), kBitmapUnsupportedTiff},
      {"fill order", picgen::Tiff(false, with(Basic(2, 2, 8, 1), {266, 3, 1, {2}}), {strip}), kBitmapUnsupportedTiff},
      {"planar", picgen::Tiff(false, with(Basic(2, 2, 8, 2), {284, 3, 1, {2}}), {strip}), kBitmapUnsupportedTiff},
      {"alpha", picgen::Tiff(false, with(Basic(2, 2, 8, 2), {338, 3, 1, {2}}), {strip}), kBitmapUnsupportedTiff},
      {"CMYK", picgen::Tiff(false, Basic(2, 2, 8, 5), {strip}), kBitmapUnsupportedTiff},
      {"no strips", picgen::Tiff(false, Basic(2, 2, 8, 1), {}), kBitmapUnsupportedTiff},
      {"RGB of 16 bits", picgen::Tiff(false, rgb16, {strip}), kBitmapNoSuccessor},
      {"grey of 2 bits", picgen::Tiff(false, Basic(2, 2, 2, 1), {strip}), kBitmapNoSuccessor},
      {"byte order", notTiff, kBitmapNoSuchFrame},
      {"not 42", not42, kBitmapBadSignature},
      {"zero width", picgen::Tiff(false, Basic(0, 2, 8, 1), {strip}), kBitmapBadSize},
      {"LZW unknown", picgen::Tiff(false, Basic(2, 2, 8, 1, 2), {strip}), kBitmapUnsupportedTiff},
  };
  for (const Case& c : cases) {
    TTIF t;
    EXPECT_EQ(Load(t, c.file), c.code) << c.what;
  }
  // Strip offsets and counts beyond the file, a strip table beyond the
  // file, a palette beyond the file: decoded as far as the file goes, or
  // refused, never read outside it.
  std::vector<TiffEntry> far = Basic(4, 4, 8, 1);
  far.push_back({273, 4, 2, {8, 0x7FFFFFF0}});
  far.push_back({279, 4, 2, {0x7FFFFFFF, 16}});
  far.push_back({278, 3, 1, {2}});
  TTIF t1;
  EXPECT_EQ(Load(t1, picgen::Tiff(false, far, {})), kBitmapOk);
  std::vector<TiffEntry> table = Basic(4, 4, 8, 1);
  table.push_back({273, 4, 9, {}});
  TTIF t2;
  Bytes f2 = picgen::Tiff(false, table, {});
  EXPECT_EQ(Load(t2, f2), kBitmapOk);
  std::vector<TiffEntry> pal = Basic(4, 1, 8, 3);
  pal.push_back({320, 3, 1, {}});
  TTIF t3;
  EXPECT_EQ(Load(t3, picgen::Tiff(false, pal, {strip})), kBitmapShortRead);
  // Rows per strip of 0 or above the height: one strip of the whole picture.
  for (uint32_t rps : {0u, 99u}) {
    std::vector<TiffEntry> e = Basic(2, 3, 8, 1);
    e.push_back({278, 3, 1, {rps}});
    TTIF t;
    ASSERT_EQ(Load(t, picgen::Tiff(false, e, {{1, 2, 3, 4, 5, 6}})), kBitmapOk);
    EXPECT_EQ(TiffRow(t, 2)[1], 6) << rps;
  }
}
