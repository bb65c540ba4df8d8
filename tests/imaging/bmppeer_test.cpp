// Peer check: the BMP codec decodes every bitmap variant to the pixels
// ImageMagick decodes from the same file. ImageMagick writes what it can;
// the generator writes the rest (RLE4, OS/2 2.0 headers, bitmap arrays),
// and ImageMagick only decodes those. 16-bit pixels are widened ×8 by the
// codec's users, so they are compared in their top bits.
#include <gtest/gtest.h>

#include <string>

#include "imaging/core/bmpcodec.h"
#include "imaging_util.h"

using bmpgen::Compression;
using imgtest::Bytes;

namespace {

class BmpPeer : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!imgtest::HaveConvert()) return;
    dir_ = new std::string(imgtest::TempDir());
    // The source: 37 × 23 (odd, so rows are padded), well over 256 colours.
    Bytes ppm;
    const std::string head = "P6 37 23 255\n";
    ppm.assign(head.begin(), head.end());
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x)
        ppm.insert(ppm.end(), {uint8_t(x * 7 + y * 3), uint8_t(x * x + y * 11), uint8_t(y * 17 + x * 5)});
    imgtest::WriteFile(*dir_ + "/src.ppm", ppm);
  }
  static void TearDownTestSuite() {
    if (dir_) imgtest::Run("rm -rf '" + *dir_ + "'");
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    if (!dir_) GTEST_SKIP() << "ImageMagick's convert is not on PATH";
  }

  // Decodes a file with the codec and compares with ImageMagick's decoding
  // of `reference` (the file itself when empty).
  void ExpectSamePixels(const std::string& name, const Bytes& file, const char* options = nullptr,
                        const Bytes& reference = Bytes()) {
    SCOPED_TRACE(name);
    const std::string path = *dir_ + "/" + name + ".bmp";
    imgtest::WriteFile(path, file);
    std::string refPath = path;
    if (!reference.empty()) {
      refPath = *dir_ + "/" + name + "-ref.bmp";
      imgtest::WriteFile(refPath, reference);
    }
    const Bytes theirs = imgtest::ConvertToRgb(refPath);
    ASSERT_FALSE(theirs.empty()) << "ImageMagick did not decode " << refPath;
    _TDIB codec;
    tsl::MemoryStream m(file);
    ASSERT_EQ(codec.LoadStream(&m, options), kBitmapOk);
    tsl::DibView v;
    ASSERT_TRUE(tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v));
    int precision = 8;
    const Bytes ours = imgtest::ToRgb(v, &precision);
    ASSERT_EQ(ours.size(), theirs.size());
    const int drop = 8 - precision;
    size_t differ = 0, first = 0;
    for (size_t i = 0; i < ours.size(); ++i)
      if ((ours[i] >> drop) != (theirs[i] >> drop) && differ++ == 0) first = i;
    EXPECT_EQ(differ, 0u) << "first at byte " << first << ": " << int(ours[first]) << " vs " << int(theirs[first]);
  }

  static std::string* dir_;
};
std::string* BmpPeer::dir_ = nullptr;

}  // namespace

// Everything ImageMagick writes: 40-byte (BMP3), 12-byte (BMP2) and
// 124-byte (BMP) headers at every depth, RLE8, bit fields. (Its 16-bit
// BMP3 files claim bit fields without writing the masks, and it reads
// them back as black: they are no reference.)
TEST_F(BmpPeer, VariantsImageMagickWrites) {
  struct Case { const char* name; const char* options; const char* format; uint32_t header, bits, compression; };
  const Case cases[] = {
      {"bmp3-24", "", "BMP3", 40, 24, 0},
      {"bmp3-32", "-alpha set -define bmp3:alpha=true", "BMP3", 40, 32, 0},
      {"bmp3-8", "-colors 200 -compress None", "BMP3", 40, 8, 0},
      {"bmp3-8-rle", "-colors 200 -compress RLE", "BMP3", 40, 8, 1},
      {"bmp3-4", "-colors 16", "BMP3", 40, 4, 0},
      {"bmp3-1", "-colors 2", "BMP3", 40, 1, 0},
      {"bmp3-mono", "-monochrome", "BMP3", 40, 1, 0},
      {"bmp2-24", "", "BMP2", 12, 24, 0},
      {"bmp2-8", "-colors 200", "BMP2", 12, 8, 0},
      {"bmp2-4", "-colors 16", "BMP2", 12, 4, 0},
      {"bmp2-1", "-colors 2", "BMP2", 12, 1, 0},
      {"bmp5-24", "", "BMP", 124, 24, 0},
      {"bmp5-32", "-alpha set", "BMP", 124, 32, 3},
      {"bmp5-8", "-colors 200 -compress None", "BMP", 124, 8, 0},
      {"bmp5-8-rle", "-colors 200 -compress RLE", "BMP", 124, 8, 1},
      {"bmp5-4", "-colors 16", "BMP", 124, 4, 0},
      {"bmp5-1", "-colors 2", "BMP", 124, 1, 0},
      {"bmp5-565", "-define bmp:subtype=RGB565", "BMP", 124, 16, 3},
      {"bmp5-555", "-define bmp:subtype=RGB555", "BMP", 124, 16, 3},
      {"bmp5-4444", "-alpha set -define bmp:subtype=ARGB4444", "BMP", 124, 16, 3},
      {"bmp5-1555", "-alpha set -define bmp:subtype=ARGB1555", "BMP", 124, 16, 3},
  };
  for (const Case& c : cases) {
    const std::string out = *dir_ + "/" + c.name + "-im.bmp";
    imgtest::Run("convert '" + *dir_ + "/src.ppm' " + c.options + " " + c.format + ":'" + out + "'");
    const Bytes file = imgtest::ReadFile(out);
    ASSERT_GT(file.size(), 54u) << c.name;
    // The variant is what it claims to be.
    const uint32_t header = tsl::GetLe32(&file[14]);
    EXPECT_EQ(header, c.header) << c.name;
    EXPECT_EQ(header == 12 ? tsl::GetLe16(&file[24]) : tsl::GetLe16(&file[28]), c.bits) << c.name;
    if (header != 12) {
      EXPECT_EQ(tsl::GetLe32(&file[30]), c.compression) << c.name;
    }
    ExpectSamePixels(c.name, file);
  }
}

// What ImageMagick cannot write: RLE4, RLE8 with deltas, OS/2 2.0 headers
// of every length, 108-byte headers, bit fields after a 40-byte header,
// 16- and 32-bit pixels without masks. ImageMagick does not read OS/2 2.0
// headers shorter than 36 bytes, and takes the 64-byte one for a Windows
// header with colour-space fields, which moves its colour table: those are
// compared with its decoding of the same pixels behind a 40-byte header.
TEST_F(BmpPeer, GeneratedVariants) {
  for (uint16_t bits : {1, 4, 8, 24}) {
    const bmpgen::Picture p = bmpgen::Pattern(37, 23, bits);
    const std::string d = std::to_string(bits);
    for (uint32_t size : {16u, 20u, 24u, 32u, 36u, 42u, 46u, 52u, 56u, 64u, 108u}) {
      const Bytes ref = size < 36 || (size == 64 && bits <= 8) ? bmpgen::Bmp(p, 40) : Bytes();
      ExpectSamePixels("os2-" + std::to_string(size) + "-" + d, bmpgen::Bmp(p, size), nullptr, ref);
    }
  }
  const bmpgen::Picture p4 = bmpgen::Pattern(37, 23, 4), p8 = bmpgen::Pattern(37, 23, 8);
  ExpectSamePixels("rle4", bmpgen::Bmp(p4, 40, Compression::Rle4));
  ExpectSamePixels("rle4-os2", bmpgen::Bmp(p4, 64, Compression::Rle4), nullptr, bmpgen::Bmp(p4, 40, Compression::Rle4));
  ExpectSamePixels("rle4-v5", bmpgen::Bmp(p4, 124, Compression::Rle4));
  ExpectSamePixels("rle8-os2", bmpgen::Bmp(p8, 64, Compression::Rle8), nullptr, bmpgen::Bmp(p8, 40, Compression::Rle8));
  bmpgen::Picture zeros = p8;
  for (size_t i = 0; i < zeros.rows.size(); i += 3) zeros.rows[i] = 0;
  for (int y = 0; y < 23; ++y)
    for (int x = 5; x < 30; ++x) zeros.rows[size_t(y) * zeros.RowBytes() + size_t(x)] = 0;
  Bytes delta = bmpgen::Bmp(zeros, 40);
  const Bytes rle = bmpgen::EncodeRle8(zeros, true);
  delta.resize(delta.size() - zeros.rows.size());
  delta.insert(delta.end(), rle.begin(), rle.end());
  bmpgen::Set32(delta, 14 + 16, 1);
  bmpgen::Set32(delta, 14 + 20, uint32_t(rle.size()));
  bmpgen::Set32(delta, 2, uint32_t(delta.size()));
  ExpectSamePixels("rle8-delta", delta);
  ExpectSamePixels("rgb555", bmpgen::Bmp(bmpgen::Pattern(37, 23, 16), 40));
  ExpectSamePixels("rgb32", bmpgen::Bmp(bmpgen::Pattern(37, 23, 32), 40));
  struct Fields { const char* name; uint16_t bits; uint32_t r, g, b; };
  for (const Fields& f : {Fields{"565", 16, 0xF800, 0x7E0, 0x1F}, Fields{"555", 16, 0x7C00, 0x3E0, 0x1F},
                          Fields{"444", 16, 0xF00, 0xF0, 0xF}, Fields{"888", 32, 0xFF0000, 0xFF00, 0xFF},
                          Fields{"bgr", 32, 0xFF, 0xFF00, 0xFF0000}}) {
    bmpgen::Picture p = bmpgen::Pattern(37, 23, f.bits);
    p.masks[0] = f.r, p.masks[1] = f.g, p.masks[2] = f.b;
    ExpectSamePixels(std::string("fields-40-") + f.name, bmpgen::Bmp(p, 40, Compression::Bitfields));
    ExpectSamePixels(std::string("fields-v4-") + f.name, bmpgen::Bmp(p, 108, Compression::Bitfields));
  }
}

// Top-down files (negative height) and run-length data that ends in the
// last row without its end codes, as today's tools write them.
TEST_F(BmpPeer, TopDownAndUnterminatedFiles) {
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    const bmpgen::Picture p = bmpgen::Pattern(37, 23, bits);
    ExpectSamePixels("top-down-" + std::to_string(bits), imgtest::TopDownBmp(p, 40, Compression::None));
  }
  const bmpgen::Picture p24 = bmpgen::Pattern(37, 23, 24), p8 = bmpgen::Pattern(37, 23, 8);
  ExpectSamePixels("top-down-v5", imgtest::TopDownBmp(p24, 124, Compression::None));
  for (size_t cut : {2, 4}) {  // without the end of picture; and without the last end of line too
    Bytes f = bmpgen::Bmp(p8, 40, Compression::Rle8);
    f.resize(f.size() - cut);
    bmpgen::Set32(f, 14 + 20, tsl::GetLe32(&f[14 + 20]) - uint32_t(cut));
    bmpgen::Set32(f, 2, uint32_t(f.size()));
    ExpectSamePixels("rle8-cut-" + std::to_string(cut), f, nullptr, bmpgen::Bmp(p8, 40));
  }
}

// Bitmap arrays: each entry against ImageMagick's decoding of that entry's
// bitmap file on its own.
TEST_F(BmpPeer, BitmapArrayEntries) {
  for (uint32_t header : {12u, 40u, 64u}) {
    for (uint16_t bits : {1, 4, 8, 24}) {
      const std::vector<bmpgen::Picture> entries = {bmpgen::Pattern(37, 23, bits), bmpgen::Pattern(19, 26, bits),
                                                    bmpgen::Pattern(8, 5, bits)};
      const Bytes arr = bmpgen::BitmapArray(entries, header);
      for (size_t i = 0; i < entries.size(); ++i) {
        const std::string opt = "index=" + std::to_string(i);
        const uint32_t refHeader = header == 64 && bits <= 8 ? 40 : header;
        ExpectSamePixels("array-" + std::to_string(header) + "-" + std::to_string(bits) + "-" + std::to_string(i),
                         arr, opt.c_str(), bmpgen::Bmp(entries[i], refHeader));
      }
    }
  }
  const bmpgen::Picture p4 = bmpgen::Pattern(37, 23, 4);
  ExpectSamePixels("array-rle4", bmpgen::BitmapArray({p4, p4}, 40, Compression::Rle4), "index=1",
                   bmpgen::Bmp(p4, 40, Compression::Rle4));
}
