#include "imaging/core/bmpcodec.h"

#include <gtest/gtest.h>

#include "foundation/core/streamenc.h"
#include "imaging/core/dibutil.h"
#include "imaging_util.h"

using bmpgen::Compression;
using bmpgen::Picture;
using imgtest::Bytes;

namespace {

// Loads a file image through LoadStream; the codec keeps the DIB.
struct Loaded {
  _TDIB codec;
  int error = -1;
  Loaded(const Bytes& file, const char* options = nullptr, int32_t start = 0, int32_t length = -1) {
    tsl::MemoryStream m(file);
    codec.StartOffset = start;
    codec.Length = length;
    error = codec.LoadStream(&m, options);
  }
  tsl::DibView View() const {
    tsl::DibView v;
    if (codec.Dib) tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v);
    return v;
  }
  Bytes Rgb() const { return imgtest::ToRgb(View()); }
};

Bytes RgbOf(const Picture& p) {
  imgtest::Held h(imgtest::DibOf(p));
  return imgtest::ToRgb(h.View());
}

void Patch32(Bytes& b, size_t at, uint32_t v) { bmpgen::Set32(b, at, v); }


}  // namespace

TEST(BitmapBase, SizesColoursAndOptions) {
  struct { int32_t w; uint32_t bits; int32_t row; } rows[] = {{1, 1, 4}, {5, 24, 16}, {33, 1, 8}, {3, 4, 4}, {9, 4, 8}};
  for (const auto& r : rows) {
    _TDIB d;
    d.Width = r.w;
    d.Height = 2;
    d.BitsPerPixel = r.bits;
    EXPECT_EQ(d.RowBytes(), r.row) << r.w << "x" << r.bits;
    d.Colours = TBitmap_Base::ColoursForBits(r.bits);
    ASSERT_TRUE(d.ComputeSizes());
    EXPECT_EQ(d.ImageBytes, uint32_t(r.row * 2));
    EXPECT_EQ(d.TotalBytes, 40 + 4 * d.Colours + d.ImageBytes);
  }
  EXPECT_EQ(TBitmap_Base::BitsForColours(2), 1u);
  EXPECT_EQ(TBitmap_Base::BitsForColours(3), 4u);
  EXPECT_EQ(TBitmap_Base::BitsForColours(256), 8u);
  EXPECT_EQ(TBitmap_Base::BitsForColours(257), 16u);
  EXPECT_EQ(TBitmap_Base::BitsForColours(70000), 24u);
  EXPECT_EQ(TBitmap_Base::ColoursForBits(4), 16u);
  EXPECT_EQ(TBitmap_Base::ColoursForBits(24), 0u);

  EXPECT_EQ(tsl::FindOptionWord("invb", "inv"), nullptr);
  const char* opts = "a, INV";
  EXPECT_EQ(tsl::FindOptionWord(opts, "inv"), opts + 3);
  EXPECT_EQ(tsl::FindOptionWord(nullptr, "inv"), nullptr);
  const char* idx = "invb\tIndex=12,x";
  EXPECT_EQ(tsl::FindOptionPrefix(idx, "index="), idx + 5);
  EXPECT_TRUE(tsl::CompareNoCaseN("ABc", "abC", 3));
  EXPECT_FALSE(tsl::CompareNoCaseN("ab", "abc", 3));

  uint8_t bytes[3] = {0x00, 0x0F, 0xFF};
  tsl::InvertBytes(bytes, 3);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xF0);
  EXPECT_EQ(bytes[2], 0x00);
  tsl::FillBytes(bytes, 7, 0);
  EXPECT_EQ(bytes[0], 0xFF);
  tsl::FillBytes(bytes, 7, 2);
  EXPECT_EQ(bytes[1], 7);
  std::vector<uint8_t> big(3000, 0x0F);
  tsl::MemoryStream m;
  EXPECT_EQ(tsl::WriteInverted(&m, big.data(), 3000), 3000u);
  EXPECT_EQ(m.Data(), std::vector<uint8_t>(3000, 0xF0));
}

TEST(BitmapBase, LoadFileResultsAndResolution) {
  _TDIB missing;
  EXPECT_EQ(missing.LoadFile("/nonexistent/picture.bmp"), kBitmapNoFile);
  EXPECT_EQ(missing.Dib, nullptr);
  EXPECT_EQ(missing.LoadStream(nullptr, nullptr), kBitmapNoFile);

  const std::string dir = imgtest::TempDir();
  Picture p = bmpgen::Pattern(9, 4, 8);
  Bytes file = bmpgen::Bmp(p, 40);
  Patch32(file, 14 + 24, 0);  // no resolution in the file
  Patch32(file, 14 + 28, 0);
  imgtest::WriteFile(dir + "/zero.bmp", file);
  _TDIB d;
  ASSERT_EQ(d.LoadFile((dir + "/zero.bmp").c_str()), kBitmapOk);
  EXPECT_EQ(d.Header->biXPelsPerMeter, 2953);
  EXPECT_EQ(d.Header->biYPelsPerMeter, 2953);
  EXPECT_EQ(d.Header->biSizeImage, 12u * 4);
  EXPECT_EQ(d.Bits, d.LockedBase + 40 + 1024);
  // A second load frees the first picture; clearing the flag hands it over.
  ASSERT_EQ(d.LoadFile((dir + "/zero.bmp").c_str()), kBitmapOk);
  d.OwnsMemory = 0;
  tsl::DibHandle kept = d.Dib;
  d.FreeDib();
  EXPECT_EQ(d.Dib, nullptr);
  imgtest::Held held(kept);
  EXPECT_EQ(imgtest::ToRgb(held.View()), RgbOf(p));
  std::remove((dir + "/zero.bmp").c_str());
}

// Every info-header form decodes to the picture's pixels.
TEST(BmpCodec, EveryHeaderFormDecodes) {
  for (uint16_t bits : {1, 4, 8, 24}) {
    const Picture p = bmpgen::Pattern(37, 23, bits);
    const Bytes want = RgbOf(p);
    for (uint32_t size : {12u, 16u, 20u, 24u, 32u, 36u, 40u, 42u, 46u, 52u, 56u, 64u, 108u, 124u}) {
      Loaded l(bmpgen::Bmp(p, size));
      ASSERT_EQ(l.error, kBitmapOk) << "header " << size << " bits " << bits;
      EXPECT_EQ(l.codec.HeaderKind, size == 12 ? _TDIB::kCoreHeader : _TDIB::kInfoHeader);
      EXPECT_EQ(l.codec.Windows30Header, size == 40 ? 1u : 0u);
      EXPECT_EQ(l.Rgb(), want) << "header " << size << " bits " << bits;
      EXPECT_EQ(l.codec.Header->biSize, 40u);
      EXPECT_EQ(l.codec.Header->biClrUsed, bits <= 8 ? 1u << bits : 0u);
    }
  }
  // A core header with 24 bits has no colour table.
  Loaded core(bmpgen::Bmp(bmpgen::Pattern(5, 3, 24), 12));
  ASSERT_EQ(core.error, kBitmapOk);
  EXPECT_EQ(core.codec.Colours, 0u);
  EXPECT_EQ(core.codec.Bits, core.codec.LockedBase + 40);
}

TEST(BmpCodec, BitFieldsKeepTheFileMasks) {
  Picture p = bmpgen::Pattern(13, 7, 16);
  p.masks[0] = 0xF800;
  p.masks[1] = 0x7E0;
  p.masks[2] = 0x1F;
  for (uint32_t size : {40u, 56u, 108u, 124u}) {
    Loaded l(bmpgen::Bmp(p, size, Compression::Bitfields));
    ASSERT_EQ(l.error, kBitmapOk) << size;
    EXPECT_EQ(l.codec.Header->biCompression, 3u);
    ASSERT_NE(l.codec.ColourMasks, nullptr);
    EXPECT_EQ(l.codec.ColourMasks[0], 0xF800u);
    EXPECT_EQ(l.codec.ColourMasks[1], 0x7E0u);
    EXPECT_EQ(l.codec.ColourMasks[2], 0x1Fu);
    EXPECT_EQ(l.codec.Bits, l.codec.LockedBase + 52);
    EXPECT_EQ(Bytes(l.codec.Bits, l.codec.Bits + p.rows.size()), p.rows);
  }
  // OS/2 2.0 headers know compression 3 as Huffman coding.
  EXPECT_EQ(Loaded(bmpgen::Bmp(p, 64, Compression::Bitfields)).error, kBitmapBadCompression);
}

TEST(BmpCodec, RunLengthPictures) {
  const Picture p8 = bmpgen::Pattern(37, 23, 8), p4 = bmpgen::Pattern(37, 23, 4);
  for (uint32_t size : {40u, 64u, 124u}) {
    Loaded r8(bmpgen::Bmp(p8, size, Compression::Rle8));
    ASSERT_EQ(r8.error, kBitmapOk);
    EXPECT_EQ(r8.codec.Header->biCompression, 0u);
    EXPECT_EQ(r8.Rgb(), RgbOf(p8));
    Loaded r4(bmpgen::Bmp(p4, size, Compression::Rle4));
    ASSERT_EQ(r4.error, kBitmapOk);
    EXPECT_EQ(r4.Rgb(), RgbOf(p4));
  }
  // Deltas leave index 0 behind.
  Picture zeros = p8;
  for (int x = 3; x < 20; ++x) zeros.rows[x] = 0;
  Bytes f = bmpgen::Bmp(zeros, 40);
  const Bytes rle = bmpgen::EncodeRle8(zeros, true);
  f.resize(f.size() - zeros.rows.size());
  f.insert(f.end(), rle.begin(), rle.end());
  Patch32(f, 14 + 16, 1);
  Loaded d(f);
  ASSERT_EQ(d.error, kBitmapOk);
  EXPECT_EQ(d.Rgb(), RgbOf(zeros));
}

// A negative height stores the top row first; the DIB is bottom-up with
// the pixels where a bottom-up file of the same picture puts them.
TEST(BmpCodec, TopDownFilesKeepTheirRowsInOrder) {
  struct Case { const char* what; uint16_t bits; uint32_t header; Compression c; };
  const Case cases[] = {
      {"1 bit", 1, 40, Compression::None},        {"4 bits", 4, 40, Compression::None},
      {"8 bits", 8, 40, Compression::None},        {"16 bits", 16, 40, Compression::None},
      {"24 bits", 24, 40, Compression::None},      {"32 bits", 32, 40, Compression::None},
      {"24 bits, v5 header", 24, 124, Compression::None}, {"8 bits, OS/2 2.0", 8, 64, Compression::None},
      {"bit fields", 16, 40, Compression::Bitfields},     {"rle8", 8, 40, Compression::Rle8},
      {"rle4", 4, 40, Compression::Rle4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (int32_t h : {1, 2, 23}) {
      SCOPED_TRACE(testing::Message() << "height " << h);
      Picture p = bmpgen::Pattern(37, h, c.bits);
      if (c.c == Compression::Bitfields) p.masks[0] = 0xF800, p.masks[1] = 0x7E0, p.masks[2] = 0x1F;
      Loaded down(imgtest::TopDownBmp(p, c.header, c.c));
      ASSERT_EQ(down.error, kBitmapOk);
      EXPECT_EQ(down.codec.Height, h);
      EXPECT_EQ(down.codec.Header->biHeight, h);
      EXPECT_EQ(down.Rgb(), Loaded(bmpgen::Bmp(p, c.header, c.c)).Rgb());
    }
  }
}

// Laid down by hand: a 2 × 3 24-bit top-down file, each row one colour.
TEST(BmpCodec, TopDownFileByteByByte) {
  Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  const uint8_t header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF /* -3 */, 1, 0, 24};
  f.insert(f.end(), header, header + 40);
  for (uint8_t rowColour : {0x10, 0x20, 0x30})  // top, middle, bottom; blue, green, red each, then 2 pad bytes
    f.insert(f.end(), {rowColour, 1, 2, rowColour, 1, 2, 0, 0});
  Patch32(f, 2, uint32_t(f.size()));
  Loaded l(f);
  ASSERT_EQ(l.error, kBitmapOk);
  ASSERT_EQ(l.codec.Height, 3);
  // Memory holds the bottom row first.
  EXPECT_EQ(l.codec.Bits[0], 0x30);
  EXPECT_EQ(l.codec.Bits[8], 0x20);
  EXPECT_EQ(l.codec.Bits[16], 0x10);
  EXPECT_EQ(l.codec.Bits[17], 1);
  EXPECT_EQ(l.codec.Bits[18], 2);
}

// Many writers end the data after the last row, without the end-of-picture
// code and often without the last end of line: every decoded row shows.
// Data that ends before the last row stays a short file.
TEST(BmpCodec, RunLengthDataEndingInTheLastRow) {
  struct Case { const char* what; uint32_t compression; Bytes rle; int error; Bytes rows; };
  // 4 × 3 pictures; rows bottom-up, 4 bytes each (8 bits) or 4 bytes each (4 bits, 2 used).
  const Case cases[] = {
      {"rle8, no end codes", 1, {4, 1, 0, 0, 4, 2, 0, 0, 4, 3}, kBitmapOk, {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3}},
      {"rle8, end of line only", 1, {4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 0}, kBitmapOk,
       {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3}},
      {"rle8, last row half written", 1, {4, 1, 0, 0, 4, 2, 0, 0, 2, 3}, kBitmapOk,
       {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 0, 0}},
      {"rle8, absolute run ends the data", 1, {4, 1, 0, 0, 4, 2, 0, 0, 0, 3, 7, 8, 9}, kBitmapOk,
       {1, 1, 1, 1, 2, 2, 2, 2, 7, 8, 9, 0}},
      {"rle8, ends in the middle row", 1, {4, 1, 0, 0, 4, 2}, kBitmapShortRead, {}},
      {"rle4, no end codes", 2, {4, 0x12, 0, 0, 4, 0x34, 0, 0, 4, 0x56}, kBitmapOk,
       {0x12, 0x12, 0, 0, 0x34, 0x34, 0, 0, 0x56, 0x56, 0, 0}},
      {"rle4, ends in the middle row", 2, {4, 0x12, 0, 0, 4, 0x34}, kBitmapShortRead, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const uint16_t bits = c.compression == 1 ? 8 : 4;
    const uint32_t colours = 1u << bits;
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    uint8_t header[40] = {40, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 1, 0, uint8_t(bits), 0, uint8_t(c.compression)};
    header[20] = uint8_t(c.rle.size());
    f.insert(f.end(), header, header + 40);
    for (uint32_t i = 0; i < colours; ++i) f.insert(f.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    Patch32(f, 10, uint32_t(f.size()));
    f.insert(f.end(), c.rle.begin(), c.rle.end());
    Patch32(f, 2, uint32_t(f.size()));
    Loaded l(f);
    ASSERT_EQ(l.error, c.error);
    if (c.error != kBitmapOk) continue;
    EXPECT_EQ(Bytes(l.codec.Bits, l.codec.Bits + c.rows.size()), c.rows);
    // The packed-DIB expansion agrees.
    const Bytes block(f.begin() + 14, f.end());
    imgtest::Held packed(imgtest::Heap().Alloc(block.size(), false));
    std::memcpy(imgtest::Heap().Lock(packed.h), block.data(), block.size());
    imgtest::Held expanded(tsl::ExpandRleDib(imgtest::Heap(), packed.h));
    ASSERT_NE(expanded.h, nullptr);
    const tsl::DibView v = expanded.View();
    EXPECT_EQ(Bytes(v.bits, v.bits + c.rows.size()), c.rows);
  }
}

TEST(BmpCodec, Rle8EndOfPictureLeavesZeros) {
  Picture p = bmpgen::Pattern(6, 4, 8);
  // Row 0: a run of 6 × 9, end of line; row 1: 2 × 7 then end of picture.
  const Bytes rle = {6, 9, 0, 0, 2, 7, 0, 1};
  Bytes f = bmpgen::Bmp(p, 40, Compression::None);
  f.resize(f.size() - p.rows.size());
  f.insert(f.end(), rle.begin(), rle.end());
  Patch32(f, 14 + 16, 1);
  Loaded l(f);
  ASSERT_EQ(l.error, kBitmapOk);
  const uint8_t* b = l.codec.Bits;
  const Bytes want = {9, 9, 9, 9, 9, 9, 0, 0, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(b, b + 32), want);
}

// Runs that overrun rows or the picture, absolute runs past the end, deltas
// far outside: nothing is written outside the rows (ASan watches).
TEST(BmpCodec, HostileRunLengthDataStaysInside) {
  Picture p = bmpgen::Pattern(5, 3, 8);
  const Bytes cases[] = {
      {255, 1, 255, 2, 255, 3, 0, 1},                   // runs far past the picture
      {0, 255, /* 255 literal bytes follow */},         // absolute run past the end
      {0, 2, 255, 255, 9, 9, 0, 1},                     // delta far outside, then a run
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4},             // end of line past the last row
      {3, 3},                                           // data ends before the picture
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Bytes rle = cases[i];
    if (i == 1) {
      rle.insert(rle.end(), 256, 0xAA);
      rle.insert(rle.end(), {0, 1});
    }
    for (uint32_t comp : {1u, 2u}) {
      Picture q = comp == 1 ? p : bmpgen::Pattern(5, 3, 4);
      Bytes f = bmpgen::Bmp(q, 40);
      f.resize(f.size() - q.rows.size());
      f.insert(f.end(), rle.begin(), rle.end());
      Patch32(f, 14 + 16, comp);
      Loaded l(f);
      EXPECT_EQ(l.error, i == 4 ? kBitmapShortRead : kBitmapOk) << i << " comp " << comp;
    }
  }
}

TEST(BmpCodec, BitmapArrays) {
  const Picture a = bmpgen::Pattern(9, 5, 8), b = bmpgen::Pattern(4, 7, 8), c = bmpgen::Pattern(6, 6, 8);
  const Bytes arr = bmpgen::BitmapArray({a, b, c}, 12);
  for (int i = 0; i < 3; ++i) {
    const std::string opt = "index=" + std::to_string(i);
    Loaded l(arr, opt.c_str());
    ASSERT_EQ(l.error, kBitmapOk) << i;
    EXPECT_EQ(l.Rgb(), RgbOf(i == 0 ? a : i == 1 ? b : c)) << i;
  }
  EXPECT_EQ(Loaded(arr).Rgb(), RgbOf(a));
  EXPECT_EQ(Loaded(arr, "index=3").error, kBitmapNoSuccessor);
  // A chain that points back is broken, not followed for ever.
  Bytes loop = arr;
  Patch32(loop, 6, 0);
  EXPECT_EQ(Loaded(loop, "index=1").error, kBitmapNoSuccessor);
  Bytes back = arr;
  const uint32_t second = tsl::GetLe32(&arr[6]);
  Patch32(back, second + 6, second);  // the second entry names itself as the next
  EXPECT_EQ(Loaded(back, "index=2").error, kBitmapNoSuccessor);
  Bytes wrong = arr;
  wrong[second] = 'X';
  EXPECT_EQ(Loaded(wrong, "index=1").error, kBitmapBadSignature);
}

TEST(BmpCodec, OptionsInvertPaletteAndBits) {
  const Picture p = bmpgen::Pattern(10, 3, 1);
  const Bytes file = bmpgen::Bmp(p, 40);
  Loaded plain(file), inv(file, "inv"), invb(file, "x invb");
  ASSERT_EQ(inv.error, kBitmapOk);
  EXPECT_EQ(inv.codec.ColourTable[0].rgbRed, plain.codec.ColourTable[1].rgbRed);
  EXPECT_EQ(inv.codec.ColourTable[1].rgbGreen, plain.codec.ColourTable[0].rgbGreen);
  ASSERT_EQ(invb.error, kBitmapOk);
  EXPECT_EQ(invb.codec.ColourTable[0].rgbRed, plain.codec.ColourTable[0].rgbRed);
  for (uint32_t i = 0; i < plain.codec.ImageBytes; ++i) ASSERT_EQ(invb.codec.Bits[i], plain.codec.Bits[i] ^ 0xFF);
}

TEST(BmpCodec, StartOffsetAndLength) {
  const Picture p = bmpgen::Pattern(7, 5, 24);
  Bytes outer(100, 0x55);
  const Bytes bmp = bmpgen::Bmp(p, 40);  // offsets count from the picture's start
  outer.insert(outer.end(), bmp.begin(), bmp.end());
  outer.insert(outer.end(), 50, 0x66);
  Loaded l(outer, nullptr, 100, int32_t(bmp.size()));
  ASSERT_EQ(l.error, kBitmapOk);
  EXPECT_EQ(l.codec.FileHeaderPosition, 100);
  EXPECT_EQ(l.Rgb(), RgbOf(p));
  // The rows must lie within the picture's length, not merely the stream.
  EXPECT_EQ(Loaded(outer, nullptr, 100, int32_t(bmp.size()) - 1).error, kBitmapShortRead);
}

TEST(BmpCodec, DamagedHeadersGiveTheirCodes) {
  const Picture p = bmpgen::Pattern(8, 4, 8);
  const Bytes good = bmpgen::Bmp(p, 40), core = bmpgen::Bmp(p, 12);
  struct Case { const char* what; Bytes file; int error; };
  auto with = [](Bytes b, size_t at, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    return b;
  };
  const Case cases[] = {
      {"signature", with(good, 0, 'X', 1), kBitmapBadSignature},
      {"empty", Bytes(), kBitmapShortRead},
      {"zero width", with(good, 18, 0), kBitmapBadSize},
      {"height -2^31", with(good, 22, 0x80000000u), kBitmapBadSize},
      {"planes", with(good, 26, 2, 2), kBitmapBadVersion},
      {"bits", with(good, 28, 7, 2), kBitmapBadDepth},
      {"compression", with(good, 30, 4), kBitmapBadCompression},
      {"rle4 at 8 bits", with(good, 30, 2), kBitmapBadCompression},
      {"header size 200", with(good, 14, 200), kBitmapBadVersion},
      {"header size 13", with(good, 14, 13), kBitmapBadVersion},
      {"core zero height", with(core, 20, 0, 2), kBitmapBadSize},
      {"core bits 16", with(core, 24, 16, 2), kBitmapBadDepth},
      {"core planes", with(core, 22, 3, 2), kBitmapBadVersion},
      {"short rows", Bytes(good.begin(), good.end() - 1), kBitmapShortRead},
      {"short core rows", Bytes(core.begin(), core.end() - 1), kBitmapShortRead},
      {"short palette", Bytes(good.begin(), good.begin() + 200), kBitmapShortRead},
      {"bits offset past the end", with(good, 10, 0x7FFFFF00), kBitmapShortRead},
      {"huge picture", with(with(good, 18, 0x7FFFFFFF), 22, 0x7FFFFFFF), kBitmapNoMemory},
      {"rows beyond a short file", with(with(good, 18, 20000), 22, 20000), kBitmapShortRead},
  };
  for (const Case& c : cases) {
    Loaded l(c.file);
    EXPECT_EQ(l.error, c.error) << c.what;
  }
  // A 40-byte header that claims more colours than its depth keeps 2^bits.
  Loaded many(with(good, 46, 100000));
  ASSERT_EQ(many.error, kBitmapOk);
  EXPECT_EQ(many.codec.Colours, 256u);
}

TEST(BmpCodec, BlankPicture) {
  _TDIB blank(17, 3, 4);
  ASSERT_NE(blank.Dib, nullptr);
  EXPECT_EQ(blank.Colours, 16u);
  EXPECT_EQ(blank.Header->biClrUsed, 16u);
  EXPECT_EQ(blank.Header->biSizeImage, 12u * 3);
  EXPECT_EQ(blank.Header->biXPelsPerMeter, 2953);
  EXPECT_EQ(blank.Bits, blank.LockedBase + 40 + 64);
  EXPECT_EQ(blank.Platform().Size(blank.Dib), 40u + 64 + 36);
  EXPECT_EQ(_TDIB(0, 5, 8).Dib, nullptr);
  EXPECT_EQ(_TDIB(5, 5, 7).Dib, nullptr);
  EXPECT_EQ(_TDIB(0x7FFFFFFF, 0x7FFFFFFF, 24).Dib, nullptr);
}

// The embedded-picture writer: size field = block + 40, bits offset after
// the header, masks and the table the block really holds; what it writes
// reads back as the same block, and as the same pixels through the codec.
TEST(BmpCodec, WriterRoundTrips) {
  struct Case { uint16_t bits; uint32_t compression; uint32_t offset; };
  const Case cases[] = {{8, 0, 1078}, {4, 0, 118}, {1, 0, 62}, {24, 0, 54}, {16, 3, 66}, {32, 0, 54}};
  for (const Case& c : cases) {
    Picture p = bmpgen::Pattern(11, 6, c.bits);
    p.masks[0] = 0x7C00, p.masks[1] = 0x3E0, p.masks[2] = 0x1F;
    imgtest::Held dib(imgtest::DibOf(p, c.compression));
    tsl::MemoryStream m;
    ASSERT_EQ(_TDIB().Write(&m, dib.h), kBitmapOk);
    const Bytes& d = m.Data();
    EXPECT_EQ(tsl::GetLe32(&d[2]), imgtest::Heap().Size(dib.h) + 40);
    EXPECT_EQ(tsl::GetLe32(&d[10]), c.offset) << c.bits;
    m.Seek(0);
    std::vector<uint8_t> back;
    ASSERT_TRUE(tsl::ReadEmbeddedDib(back, m));
    EXPECT_EQ(back, dib.Block());
    Loaded l(d);
    ASSERT_EQ(l.error, kBitmapOk) << c.bits;
    EXPECT_EQ(l.Rgb(), imgtest::ToRgb(dib.View()));
  }
  tsl::MemoryStream none;
  EXPECT_EQ(_TDIB().Write(&none, nullptr), kBitmapNothingToWrite);
  EXPECT_TRUE(none.Data().empty());
}

// The other writer (BMP files) and the codec agree as well.
TEST(BmpCodec, FileWriterPicturesReadThroughTheCodec) {
  for (uint16_t bits : {1, 4, 8, 24}) {
    const Picture p = bmpgen::Pattern(21, 9, bits);
    imgtest::Held dib(imgtest::DibOf(p));
    tsl::MemoryStream m;
    ASSERT_TRUE(tsl::WriteBmpFile(imgtest::Heap(), m, dib.h));
    EXPECT_EQ(tsl::GetLe32(&m.Data()[2]), imgtest::Heap().Size(dib.h) + 14);
    Loaded l(m.Data());
    ASSERT_EQ(l.error, kBitmapOk);
    EXPECT_EQ(l.Rgb(), RgbOf(p));
  }
}

TEST(BitmapErrors, PrintableNames) {
  struct Case {
    const char* what;
    int error;
    const char* printed;
  };
  const Case cases[] = {
      {"success", kBitmapOk, "0 Ok"},
      {"a result of the table", kBitmapShortRead, "7 ShortRead"},
      {"the last of the table", kBitmapNoSuchFrame, "19 NoSuchFrame"},
      {"a gap in the numbers", 3, "3 (no such error)"},
      {"a foreign value", -1, "-1 (no such error)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BitmapErrorName(c.error), c.printed);
  }
}
