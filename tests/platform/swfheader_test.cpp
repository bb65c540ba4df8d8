#include "platform/swfpane/core/swfheader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

namespace {

// A header laid down from the format: signature, version, length, the
// stage rectangle 0..11000 x 0..8000 twips in 15-bit fields, 12.5 fps and
// 12 frames, then a first (end) tag.
std::vector<uint8_t> Body() {
  // 5 bits width (15), then 4 x 15 bits: 0, 11000, 0, 8000; 65 bits -> 9 bytes.
  std::vector<uint8_t> bits;
  uint64_t acc = 0;
  int count = 0;
  auto put = [&](uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) {
      acc = (acc << 1) | ((v >> i) & 1u);
      if (++count == 8) {
        bits.push_back(static_cast<uint8_t>(acc));
        acc = 0;
        count = 0;
      }
    }
  };
  put(15, 5);
  put(0, 15);
  put(11000, 15);
  put(0, 15);
  put(8000, 15);
  if (count) bits.push_back(static_cast<uint8_t>(acc << (8 - count)));
  std::vector<uint8_t> body = bits;
  body.insert(body.end(), {0x80, 0x0C, 12, 0, 0, 0});
  return body;
}

std::vector<uint8_t> File(bool compressed) {
  const std::vector<uint8_t> body = Body();
  std::vector<uint8_t> f = {static_cast<uint8_t>(compressed ? 'C' : 'F'), 'W', 'S', 6};
  const uint32_t length = static_cast<uint32_t>(8 + body.size());
  for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(length >> (8 * i)));
  if (!compressed) {
    f.insert(f.end(), body.begin(), body.end());
    return f;
  }
  uLongf packedSize = compressBound(body.size());
  std::vector<uint8_t> packed(packedSize);
  EXPECT_EQ(compress(packed.data(), &packedSize, body.data(), body.size()), Z_OK);
  f.insert(f.end(), packed.begin(), packed.begin() + packedSize);
  return f;
}

TEST(SwfHeader, PlainAndCompressedFilesGiveRateCountAndStage) {
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "CWS" : "FWS");
    const std::vector<uint8_t> f = File(compressed);
    TSwfHeader h;
    ASSERT_TRUE(ReadSwfHeader(f.data(), f.size(), h));
    EXPECT_EQ(h.Compressed, compressed);
    EXPECT_EQ(h.Version, 6);
    EXPECT_EQ(h.FileLength, 8 + Body().size());
    EXPECT_EQ(h.XMax, 11000);
    EXPECT_EQ(h.YMax, 8000);
    EXPECT_DOUBLE_EQ(h.FrameRate, 12.5);
    EXPECT_EQ(h.FrameCount, 12);
  }
}

TEST(SwfHeader, AnythingElseIsNoMovie) {
  const std::vector<uint8_t> plain = File(false);
  const std::vector<uint8_t> packed = File(true);
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"a text file", {'<', 'h', 't', 'm', 'l', '>', 0, 0, 0, 0}},
      {"the signature only", {'F', 'W', 'S', 6, 0, 0, 0, 0}},
      {"cut in the rectangle", std::vector<uint8_t>(plain.begin(), plain.begin() + 12)},
      {"cut before the frame count", std::vector<uint8_t>(plain.begin(), plain.begin() + 18)},
      {"a compressed body cut after its zlib header", std::vector<uint8_t>(packed.begin(), packed.begin() + 10)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSwfHeader h;
    EXPECT_FALSE(ReadSwfHeader(c.bytes.data(), c.bytes.size(), h));
    EXPECT_EQ(h.FrameCount, 0);
  }
}

}  // namespace
