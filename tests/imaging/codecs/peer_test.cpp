// Peer check: each codec decodes files made by Debian's tools (ImageMagick,
// giflib-tools, libtiff-tools) to the pixels those tools decode: exactly
// for the lossless formats, exactly like djpeg for JPEG, within the
// rounding of two colour conversions for Photo CD. GIFs written by our own
// writer must decode the same in ImageMagick and giflib.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "imaging/core/gifcodec.h"
#include "imaging/core/jpegcodec.h"
#include "imaging/core/pcdcodec.h"
#include "imaging/core/pcxcodec.h"
#include "imaging/core/tiffcodec.h"
#include "imaging/imaging_util.h"
#include "picgen.h"

using imgtest::Bytes;

namespace {

bool Have(const char* tool) {
  int s = -1;
  imgtest::Run(std::string("command -v ") + tool, &s);
  return s == 0;
}

class PicturePeer : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!imgtest::HaveConvert()) return;
    dir_ = new std::string(imgtest::TempDir());
    // 61 × 37: odd, so rows are padded; many colours.
    Bytes ppm;
    const std::string head = "P6 61 37 255\n";
    ppm.assign(head.begin(), head.end());
    for (int y = 0; y < 37; ++y)
      for (int x = 0; x < 61; ++x)
        ppm.insert(ppm.end(), {uint8_t(x * 4 + y), uint8_t(x * x / 3 + y * 7), uint8_t(y * 6 + x * 2)});
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
  static std::string Path(const std::string& name) { return *dir_ + "/" + name; }
  static std::string Make(const std::string& name, const std::string& options) {
    imgtest::Run("convert '" + Path("src.ppm") + "' " + options + " '" + Path(name) + "'");
    return Path(name);
  }

  // Our decoding of a file as top-down RGB; empty when it fails.
  template <class Codec>
  static Bytes Ours(const std::string& path, Codec& codec, int* precision = nullptr) {
    tsl::PosixFileStream f(path, tsl::PosixFileStream::ReadOnly);
    if (!f.IsOpen() || codec.LoadStream(&f, nullptr) != kBitmapOk) return Bytes();
    tsl::DibView v;
    if (!tsl::ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v)) return Bytes();
    return imgtest::ToRgb(v, precision);
  }

  // Bytes that differ in their top `bits` bits (more than `tolerance`).
  static size_t Differ(const Bytes& a, const Bytes& b, int bits = 8, int tolerance = 0) {
    if (a.size() != b.size()) return a.size() + b.size() + 1;
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      const int x = a[i] >> (8 - bits), y = b[i] >> (8 - bits);
      n += std::abs(x - y) > tolerance;
    }
    return n;
  }

  // `reference` holds options of ImageMagick's decoding (TGA: its rows
  // turned by the file's orientation).
  template <class Codec>
  void Same(const std::string& path, int bits = 8, const std::string& reference = "", int tolerance = 0) {
    SCOPED_TRACE(path);
    Codec codec;
    const Bytes ours = Ours(path, codec);
    ASSERT_FALSE(ours.empty()) << "ours did not decode";
    const Bytes theirs = imgtest::Run("convert '" + path + "' " + reference + " -depth 8 rgb:-");
    ASSERT_FALSE(theirs.empty()) << "ImageMagick did not decode";
    EXPECT_EQ(Differ(ours, theirs, bits, tolerance), 0u);
  }

  static std::string* dir_;
};
std::string* PicturePeer::dir_ = nullptr;

}  // namespace

TEST_F(PicturePeer, Gif) {
  Same<TGIF>(Make("a.gif", "-colors 256"));
  Same<TGIF>(Make("b.gif", "-colors 200 -interlace GIF"));
  Same<TGIF>(Make("c.gif", "-colors 16"));
  Same<TGIF>(Make("d.gif", "-colors 4 -interlace GIF"));
  Same<TGIF>(Make("e.gif", "-monochrome"));
  // giflib's decoding of the same file.
  if (Have("gif2rgb")) {
    const std::string path = Path("a.gif");
    imgtest::Run("gif2rgb -1 -o '" + Path("a.rgb") + "' '" + path + "'");
    TGIF codec;
    EXPECT_EQ(Differ(Ours(path, codec), imgtest::ReadFile(Path("a.rgb"))), 0u);
  }
}

// An animation of three whole frames: frame by frame in sequence equals
// ImageMagick's frames.
TEST_F(PicturePeer, GifFrames) {
  Make("f0.ppm", "-roll +0+0");
  Make("f1.ppm", "-negate");
  Make("f2.ppm", "-flop");
  imgtest::Run("convert -delay 20 '" + Path("f0.ppm") + "' '" + Path("f1.ppm") + "' '" + Path("f2.ppm") +
               "' -colors 128 -loop 3 '" + Path("anim.gif") + "'");
  TGIF seq;
  seq.SequentialMode = 1;
  tsl::PosixFileStream f(Path("anim.gif"), tsl::PosixFileStream::ReadOnly);
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(seq.LoadStream(&f, nullptr), kBitmapOk) << k;
    tsl::DibView v;
    ASSERT_TRUE(tsl::ParseDib(seq.LockedBase, seq.Platform().Size(seq.Dib), v));
    const Bytes theirs = imgtest::Run("convert '" + Path("anim.gif") + "[" + std::to_string(k) + "]' -depth 8 rgb:-");
    EXPECT_EQ(Differ(imgtest::ToRgb(v), theirs), 0u) << "frame " << k;
    EXPECT_EQ(+seq.Frame.Delay, 200u);
  }
  EXPECT_EQ(seq.LoopCount, 2u) << "ImageMagick stores -loop 3 as 2 repeats";
  EXPECT_EQ(seq.LoadStream(&f, nullptr), kBitmapNoSuchFrame);
}

// GIFs from our writer, at each depth and interlaced, read by ImageMagick
// and giflib as written.
TEST_F(PicturePeer, GifWriter) {
  struct Case { int colours; uint16_t bits; bool interlaced; };
  for (const Case& c : {Case{2, 1, false}, Case{16, 4, true}, Case{256, 8, false}, Case{256, 8, true}}) {
    picgen::Indexed p = picgen::Pattern(301, 203, c.colours);
    uint32_t s = 7;
    for (size_t i = 0; i < p.px.size(); i += 3) p.px[i] = uint8_t((s = s * 1103515245 + 12345) >> 16) % c.colours;
    picgen::GifFrame fr;
    fr.picture = p;
    fr.interlaced = c.interlaced;
    const std::string path = Path("w" + std::to_string(c.bits) + (c.interlaced ? "i" : "") + ".gif");
    imgtest::WriteFile(path, picgen::Gif(p.w, p.h, c.bits, p.rgb, {fr}));
    Bytes want;
    for (uint8_t v : p.px) want.insert(want.end(), {p.rgb[3 * v], p.rgb[3 * v + 1], p.rgb[3 * v + 2]});
    EXPECT_EQ(Differ(imgtest::ConvertToRgb(path), want), 0u) << path;
    if (Have("gif2rgb")) {
      imgtest::Run("gif2rgb -1 -o '" + path + ".rgb' '" + path + "'");
      EXPECT_EQ(Differ(imgtest::ReadFile(path + ".rgb"), want), 0u) << path << " (giflib)";
    }
  }
}

TEST_F(PicturePeer, Pcx) {
  Same<TPCX>(Make("a.pcx", ""));
  Same<TPCX>(Make("b.pcx", "-colors 256"));
  Same<TPCX>(Make("c.pcx", "-colors 16"));
  Same<TPCX>(Make("d.pcx", "-monochrome"));
}

TEST_F(PicturePeer, Tga) {
  Same<TTGA>(Make("a.tga", "-compress none"), 8, "-auto-orient");
  Same<TTGA>(Make("b.tga", "-compress RLE"), 8, "-auto-orient");
  Same<TTGA>(Make("c.tga", "-colors 200 -type palette -compress none"), 8, "-auto-orient");
  Same<TTGA>(Make("d.tga", "-colors 200 -type palette -compress RLE"), 8, "-auto-orient");
  Same<TTGA>(Make("e.tga", "-type grayscale -compress none"), 8, "-auto-orient");
  Same<TTGA>(Make("f.tga", "-type grayscale -compress RLE"), 8, "-auto-orient");
  Same<TTGA>(Make("g.tga", "-alpha set -channel A -evaluate set 100% +channel -compress RLE"), 8, "-auto-orient");
  Same<TTGA>(Make("h.tga", "-flip -orient TopLeft -compress none"), 8, "-auto-orient");
  // 16-bit pixels (ImageMagick does not write them): widened ×8, so the
  // top five bits match.
  Bytes px, rle;
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 61; ++x) {
      const uint16_t v = uint16_t((x & 31) | ((y * 3) & 31) << 5 | ((x + y) & 31) << 10);
      px.insert(px.end(), {uint8_t(v), uint8_t(v >> 8)});
    }
  imgtest::WriteFile(Path("i.tga"), picgen::Tga(2, 16, 61, 37, 0, {}, px));
  imgtest::WriteFile(Path("j.tga"), picgen::Tga(10, 16, 61, 37, 0x20, {}, picgen::TgaRle(px, 2)));
  Same<TTGA>(Path("i.tga"), 5, "-auto-orient");
  Same<TTGA>(Path("j.tga"), 5, "-auto-orient");
}

TEST_F(PicturePeer, Tiff) {
  for (const char* compress : {"none", "lzw", "rle"}) {
    const std::string c = std::string("-depth 8 -compress ") + compress;
    Same<TTIF>(Make(std::string("rgb-") + compress + ".tif", c));
    Same<TTIF>(Make(std::string("grey-") + compress + ".tif", c + " -type grayscale"));
    // Palette entries take the high byte of the file's 16-bit values,
    // ImageMagick rounds them: one step apart at most.
    Same<TTIF>(Make(std::string("pal-") + compress + ".tif", c + " -colors 200 -type palette"), 8, "", 1);
    Same<TTIF>(Make(std::string("pal4-") + compress + ".tif", c + " -colors 12 -type palette"), 8, "", 1);
    Same<TTIF>(Make(std::string("bi-") + compress + ".tif", c + " -monochrome"));
    Same<TTIF>(Make(std::string("min-") + compress + ".tif", c + " -monochrome -define tiff:photometric=min-is-black"));
  }
  Same<TTIF>(Make("msb.tif", "-depth 8 -compress lzw -endian MSB -define tiff:rows-per-strip=5"));
  Same<TTIF>(Make("pred.tif", "-depth 8 -compress lzw -define tiff:predictor=2"));
  Same<TTIF>(Make("greypred.tif", "-depth 8 -type grayscale -compress lzw -define tiff:predictor=2"));
  if (Have("tiffcp")) {
    const std::string base = Make("base.tif", "-depth 8 -compress none");
    for (const char* c : {"lzw", "lzw:2", "packbits", "none"}) {
      const std::string out = Path(std::string("cp-") + (c[3] == ':' ? "lzw2" : c) + ".tif");
      imgtest::Run(std::string("tiffcp -c ") + c + " -r 3 '" + base + "' '" + out + "'");
      Same<TTIF>(out);
    }
  }
}

// A photo-like picture large enough that the LZW table fills and clears
// many times and run-length packets cross rows, in every run and strip
// layout the fast paths take.
TEST_F(PicturePeer, LargePhotos) {
  const std::string src = Path("plasma.ppm");
  imgtest::Run("convert -size 701x433 -seed 3 plasma:fractal -blur 0x1 '" + src + "'");
  auto make = [&](const std::string& name, const std::string& options) {
    imgtest::Run("convert '" + src + "' " + options + " '" + Path(name) + "'");
    return Path(name);
  };
  Same<TTIF>(make("big-lzw.tif", "-depth 8 -compress lzw"));
  Same<TTIF>(make("big-pred.tif", "-depth 8 -compress lzw -define tiff:predictor=2"));
  Same<TTIF>(make("big-strip.tif", "-depth 8 -compress lzw -define tiff:rows-per-strip=433"));
  Same<TTIF>(make("big-grey.tif", "-depth 8 -type grayscale -compress lzw -define tiff:predictor=2"));
  Same<TTGA>(make("big-rle.tga", "-compress RLE"), 8, "-auto-orient");
  Same<TTGA>(make("big-rle-top.tga", "-flip -orient TopLeft -compress RLE"), 8, "-auto-orient");
  Same<TTGA>(make("big-rle8.tga", "-colors 100 -type palette -compress RLE"), 8, "-auto-orient");
  Same<TTGA>(make("big-rle32.tga", "-alpha set -channel A -evaluate set 100% +channel -compress RLE"), 8,
             "-auto-orient");
  Same<TTGA>(make("big-posterised.tga", "-posterize 3 -compress RLE"), 8, "-auto-orient");
}

// JPEG: exactly djpeg's decoding (same library, default settings).
TEST_F(PicturePeer, JpegAsDjpeg) {
  if (!Have("djpeg")) GTEST_SKIP() << "djpeg is not on PATH";
  for (const char* options : {"-quality 85", "-quality 60 -sampling-factor 2x2", "-type grayscale -quality 90",
                              "-quality 75 -interlace JPEG"}) {
    const std::string path = Make(std::string("j") + std::to_string(std::string(options).size()) + ".jpg", options);
    tsl::PosixFileStream f(path, tsl::PosixFileStream::ReadOnly);
    imgtest::Held held(tsl::ReadJpegDib(imgtest::Heap(), f));
    ASSERT_NE(held.h, nullptr) << options;
    Bytes ppm = imgtest::Run("djpeg -pnm '" + path + "'");
    // Skip the header: magic, size, maximum, each ended by white space.
    size_t at = 0;
    for (int fields = 0; fields < 4 && at < ppm.size(); ++fields) {
      while (at < ppm.size() && !std::isspace(ppm[at])) ++at;
      ++at;
    }
    const bool grey = ppm.size() > 1 && ppm[1] == '5';
    Bytes theirs;
    for (size_t i = at; i < ppm.size(); ++i) {
      if (grey)
        theirs.insert(theirs.end(), {ppm[i], ppm[i], ppm[i]});
      else
        theirs.push_back(ppm[i]);
    }
    EXPECT_EQ(Differ(imgtest::ToRgb(held.View()), theirs), 0u) << options;
  }
}

// Photo CD: ImageMagick reads the same Y, C1 and C2 samples (its channels
// taken without its own colour conversion, chroma upsampled its way); our
// pixels follow the stated conversion of those samples.
TEST_F(PicturePeer, PhotoCdBaseImage) {
  imgtest::Run("convert -size 768x512 gradient:'#4080c0'-'#c08040' -swirl 90 '" + Path("pcd.ppm") + "'");
  imgtest::Run("convert '" + Path("pcd.ppm") + "' '" + Path("x.pcd") + "'");
  auto clamp = [](double v) { return v < 0 ? 0 : v > 255 ? 255 : int(std::lround(v)); };
  for (uint32_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    TPCD pcd;
    pcd.ResolutionIndex = r;
    const Bytes ours = Ours(Path("x.pcd"), pcd);
    ASSERT_FALSE(ours.empty());
    const std::string size = std::to_string(192 << r) + "x" + std::to_string(128 << r);
    const Bytes ycc = imgtest::Run("convert -size " + size + " '" + Path("x.pcd") +
                                   "' -set colorspace sRGB -depth 8 rgb:-");
    ASSERT_EQ(ours.size(), ycc.size());
    double sum = 0;
    int worst = 0;
    for (size_t i = 0; i < ycc.size(); i += 3) {
      const int y = ycc[i], c1 = ycc[i + 1] - 156, c2 = ycc[i + 2] - 137;
      const int want[3] = {clamp(1.3584 * y + 1.8215 * c2), clamp(1.3584 * y - 0.9271435 * c2 - 0.4302726 * c1),
                           clamp(1.3584 * y + 2.2179 * c1)};
      for (int k = 0; k < 3; ++k) {
        const int d = std::abs(int(ours[i + size_t(k)]) - want[k]);
        sum += d;
        worst = std::max(worst, d);
      }
    }
    EXPECT_LT(sum / double(ours.size()), 1.0);
    EXPECT_LE(worst, 12) << "chroma upsampling differs at edges only";
  }
}
