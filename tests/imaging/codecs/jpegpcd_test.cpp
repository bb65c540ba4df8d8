// The JPEG glue over libjpeg (grey and colour pictures, what it refuses,
// errors that come back instead of ending the program) and the Photo CD
// base-image reader.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/core/jpegcodec.h"
#include "imaging/core/pcdcodec.h"
#include "imaging/imaging_util.h"
#include "picgen.h"

using picgen::Bytes;

namespace {

struct Decoded {
  imgtest::Held held;
  tsl::DibView view;
  explicit Decoded(tsl::DibHandle h) : held(h) { view = held.View(); }
};

Bytes Jpeg(const Bytes& rgb, int w, int h, int quality = 90) {
  tsl::MemoryStream m;
  EXPECT_TRUE(tsl::WriteJpegRgb(m, rgb.data(), w, h, quality));
  return m.Data();
}

}  // namespace

// A colour picture comes back as 24 bits, blue first; a flat grey one
// written as colour stays colour; the writer's output is a JPEG.
TEST(Jpeg, ColourRoundTrip) {
  const int w = 24, h = 16;
  Bytes rgb;
  for (int i = 0; i < w * h; ++i) rgb.insert(rgb.end(), {200, 40, 10});
  const Bytes file = Jpeg(rgb, w, h);
  ASSERT_GT(file.size(), 100u);
  EXPECT_EQ(file[0], 0xFF);
  EXPECT_EQ(file[1], 0xD8);
  tsl::MemoryStream in(file);
  std::string message;
  Decoded d(tsl::ReadJpegDib(imgtest::Heap(), in, &message));
  ASSERT_NE(d.held.h, nullptr) << message;
  EXPECT_EQ(d.view.bitCount, 24);
  EXPECT_EQ(d.view.width, w);
  EXPECT_EQ(d.view.height, h);
  EXPECT_EQ(d.view.header->biXPelsPerMeter, 2953);
  const uint8_t* p = d.view.Row(3) + 3 * 5;
  EXPECT_NEAR(p[0], 10, 4);
  EXPECT_NEAR(p[1], 40, 4);
  EXPECT_NEAR(p[2], 200, 4);
}

// Damaged data, a cut stream and non-JPEG bytes come back as null with the
// library's message, and leave no memory behind (ASan watches).
TEST(Jpeg, ErrorsComeBack) {
  Bytes rgb(32 * 32 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 31);
  const Bytes good = Jpeg(rgb, 32, 32);
  const Bytes junk = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  Bytes noFrame(good.begin(), good.begin() + 20);
  for (const Bytes& b : {junk, noFrame, Bytes()}) {
    tsl::MemoryStream in(b);
    std::string message;
    EXPECT_EQ(tsl::ReadJpegDib(imgtest::Heap(), in, &message), nullptr);
    EXPECT_FALSE(message.empty());
  }
  // Cut in the scan: the library warns and pads; a picture results.
  Bytes cut(good.begin(), good.begin() + long(good.size() * 2 / 3));
  tsl::MemoryStream in(cut);
  std::string message;
  Decoded d(tsl::ReadJpegDib(imgtest::Heap(), in, &message));
  EXPECT_NE(d.held.h, nullptr);
  // A full block is refused like no memory.
  tsl::MemoryStream again(good);
  const tsl::HeapDibPlatform tiny(1000);
  EXPECT_EQ(tsl::ReadJpegDib(tiny, again, &message), nullptr);
  // Writing: nothing to write, and a stream that takes nothing.
  tsl::MemoryStream out;
  EXPECT_FALSE(tsl::WriteJpegRgb(out, nullptr, 4, 4, 75));
  EXPECT_FALSE(tsl::WriteJpegRgb(out, rgb.data(), 0, 4, 75));
  class Full : public tsl::MemoryStream {
  public:
    uint32_t Write(const void*, uint32_t) override { return 0; }
  } full;
  EXPECT_FALSE(tsl::WriteJpegRgb(full, rgb.data(), 32, 32, 75, &message));
}

// Grey and CMYK pictures made by ImageMagick: grey gives 8 bits with a
// ramp; CMYK gives nothing.
TEST(Jpeg, GreyAndCmyk) {
  if (!imgtest::HaveConvert()) GTEST_SKIP() << "ImageMagick's convert is not on PATH";
  const std::string dir = imgtest::TempDir();
  imgtest::Run("convert -size 20x10 gradient:white-black '" + dir + "/g.jpg'");
  imgtest::Run("convert -size 20x10 gradient:red-blue -colorspace CMYK '" + dir + "/c.jpg'");
  tsl::MemoryStream grey(imgtest::ReadFile(dir + "/g.jpg")), cmyk(imgtest::ReadFile(dir + "/c.jpg"));
  imgtest::Run("rm -rf '" + dir + "'");
  ASSERT_GT(grey.Length(), 0);
  ASSERT_GT(cmyk.Length(), 0);
  Decoded g(tsl::ReadJpegDib(imgtest::Heap(), grey));
  ASSERT_NE(g.held.h, nullptr);
  EXPECT_EQ(g.view.bitCount, 8);
  EXPECT_EQ(g.view.numColours, 256u);
  EXPECT_EQ(g.view.colours[77].rgbRed, 77);
  EXPECT_EQ(g.view.colours[77].rgbBlue, 77);
  EXPECT_GT(g.view.Row(9)[0], 200) << "top row white";
  std::string message;
  EXPECT_EQ(tsl::ReadJpegDib(imgtest::Heap(), cmyk, &message), nullptr);
}

namespace {

uint8_t Expected(double v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : std::lround(v)); }

// Blue, green, red of the conversion with the stated coefficients.
void Ycc(int y, int c1, int c2, uint8_t* bgr) {
  bgr[2] = Expected(1.3584 * y + 1.8215 * (c2 - 137));
  bgr[1] = Expected(1.3584 * y - 0.9271435 * (c2 - 137) - 0.4302726 * (c1 - 156));
  bgr[0] = Expected(1.3584 * y + 2.2179 * (c1 - 156));
}

Bytes TestPcd(uint8_t attributes) {
  return picgen::Pcd(
      attributes, [](uint32_t r, uint32_t x, uint32_t y) { return uint8_t((x * 3 + y * 5 + r) & 0xFF); },
      [](uint32_t, uint32_t x, uint32_t pair, int c) { return uint8_t(c ? 100 + (x + pair) % 80 : 130 + x % 60); });
}

}  // namespace

// Every pixel of the three resolutions follows the conversion; chroma is
// doubled across and down by the means of its neighbours.
TEST(PhotoCd, ThreeResolutionsAndTheConversion) {
  const Bytes file = TestPcd(0);
  for (uint32_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    TPCD pcd;
    pcd.ResolutionIndex = r;
    tsl::MemoryStream m(file);
    ASSERT_EQ(pcd.LoadStream(&m, nullptr), kBitmapOk);
    EXPECT_EQ(pcd.Width, int32_t(192u << r));
    EXPECT_EQ(pcd.Height, int32_t(128u << r));
    EXPECT_EQ(pcd.BitsPerPixel, 24u);
    const uint32_t w = 192u << r, h = 128u << r;
    int differ = 0;
    for (uint32_t y = 0; y < h; y += 7)
      for (uint32_t x = 0; x < w; x += 3) {
        const uint32_t pair = y / 2, i = x / 2;
        auto c1 = [&](uint32_t p, uint32_t k) { return int(130 + std::min(k, w / 2 - 1) % 60) + int(p * 0); };
        auto c2 = [&](uint32_t p, uint32_t k) { return int(100 + (std::min(k, w / 2 - 1) + p) % 80); };
        const uint32_t next = pair + 1 < h / 2 ? pair + 1 : pair;
        int u, v;
        if ((y & 1) == 0) {
          u = (x & 1) ? (c1(pair, i) + c1(pair, i + 1)) / 2 : c1(pair, i);
          v = (x & 1) ? (c2(pair, i) + c2(pair, i + 1)) / 2 : c2(pair, i);
        } else {
          u = (x & 1) ? (c1(pair, i) + c1(pair, i + 1) + c1(next, i) + c1(next, i + 1)) / 4
                      : (c1(pair, i) + c1(next, i)) / 2;
          v = (x & 1) ? (c2(pair, i) + c2(pair, i + 1) + c2(next, i) + c2(next, i + 1)) / 4
                      : (c2(pair, i) + c2(next, i)) / 2;
        }
        uint8_t want[3];
        Ycc(int((x * 3 + y * 5 + r) & 0xFF), u, v, want);
        const uint8_t* got = pcd.Bits + size_t(h - 1 - y) * size_t(pcd.RowBytes()) + 3 * x;
        for (int k = 0; k < 3; ++k) differ += std::abs(int(got[k]) - int(want[k])) > 1;
      }
    EXPECT_EQ(differ, 0);
  }
}

// Portraits come out upright with width and height exchanged; rotation 2
// is turned half-way and keeps its size.
TEST(PhotoCd, RotationsAndErrors) {
  const Bytes land = TestPcd(0);
  TPCD ref;
  ref.ResolutionIndex = 0;
  tsl::MemoryStream lm(land);
  ASSERT_EQ(ref.LoadStream(&lm, nullptr), kBitmapOk);
  auto at = [](const TBitmap_Base& c, int x, int y) {
    const uint8_t* p = c.Bits + size_t(c.Height - 1 - y) * size_t(c.RowBytes()) + 3 * size_t(x);
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16);
  };
  struct Case { uint8_t rotation; int w, h; };
  for (const Case& c : {Case{1, 128, 192}, Case{3, 128, 192}, Case{2, 192, 128}}) {
    TPCD pcd;
    pcd.ResolutionIndex = 0;
    tsl::MemoryStream m(TestPcd(c.rotation));
    ASSERT_EQ(pcd.LoadStream(&m, nullptr), kBitmapOk);
    ASSERT_EQ(pcd.Width, c.w);
    ASSERT_EQ(pcd.Height, c.h);
    // Stored (x, y) = (10, 20).
    const int x = 10, y = 20;
    const uint32_t want = at(ref, x, y);
    switch (c.rotation) {
      case 1: EXPECT_EQ(at(pcd, y, 192 - 1 - x), want); break;
      case 3: EXPECT_EQ(at(pcd, 128 - 1 - y, x), want); break;
      default: EXPECT_EQ(at(pcd, 192 - 1 - x, 128 - 1 - y), want); break;
    }
  }
  TPCD big;
  big.ResolutionIndex = 3;
  tsl::MemoryStream m1(land);
  EXPECT_EQ(big.LoadStream(&m1, nullptr), kBitmapBadDepth);
  Bytes sig = land;
  sig[2050] = 'X';
  TPCD bad;
  tsl::MemoryStream m2(sig);
  EXPECT_EQ(bad.LoadStream(&m2, nullptr), kBitmapBadSignature);
  Bytes cut(land.begin(), land.begin() + 300000);
  TPCD shortFile;
  tsl::MemoryStream m3(cut);
  EXPECT_EQ(shortFile.LoadStream(&m3, nullptr), kBitmapShortRead);
  Bytes tiny(land.begin(), land.begin() + 3000);
  TPCD noAttributes;
  tsl::MemoryStream m4(tiny);
  EXPECT_EQ(noAttributes.LoadStream(&m4, nullptr), kBitmapShortRead);
}

// The resolution a load takes: the request, the search, then the nearest
// available one below, else above; never none while any is there.
TEST(PhotoCd, ResolutionChoice) {
  struct Case { const char* what; uint32_t available; int32_t requested, mode, want; };
  const Case cases[] = {
      {"available as asked", 0x07, 1, 0, 1},
      {"record defaults: next lower", 0x07, 3, 2, 2},
      {"exact search finds none: largest below", 0x07, 3, 0, 2},
      {"upward search finds none: largest below", 0x07, 4, 1, 2},
      {"upward search finds one", 0x12, 2, 1, 4},
      {"upward search stops at 5", 0x40, 2, 1, 6},
      {"unknown mode", 0x07, 5, 3, 2},
      {"nothing below: smallest above", 0x0C, 1, 2, 2},
      {"nothing below, exact search", 0x30, 0, 0, 4},
      {"request past every index", 0x07, 200, 0, 2},
      {"negative request", 0x06, -1, 2, 1},
      {"nothing available", 0, 3, 2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(tsl::ChoosePcdResolution(c.available, c.requested, c.mode), c.want);
  }
}
