// Pictures and canvases of the animation tests: 8-bit packed DIBs with 256
// colours made from a pixel function, and a canvas that records what it was
// asked to draw.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/core/dib.h"
#include "imaging/core/flx.h"

namespace flxtest {

using Block = std::vector<uint8_t>;
using PixelFn = std::function<uint8_t(int x, int y)>;  // y counts from the top
using ColourFn = std::function<uint32_t(int index)>;    // 0xRRGGBB

inline uint32_t GreyRamp(int i) { return uint32_t(i) * 0x010101u; }

inline Block Picture(int w, int h, const PixelFn& px, const ColourFn& colour = GreyRamp) {
  const uint32_t stride = (uint32_t(w) + 3) & ~3u;
  Block b(40 + 1024 + size_t(stride) * h, 0);
  tsl::DibInfoHeader hd{};
  hd.biSize = 40;
  hd.biWidth = w;
  hd.biHeight = h;
  hd.biPlanes = 1;
  hd.biBitCount = 8;
  hd.biSizeImage = stride * uint32_t(h);
  hd.biClrUsed = 256;
  std::memcpy(b.data(), &hd, 40);
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = colour(i);
    b[40 + 4 * i + 0] = uint8_t(c);
    b[40 + 4 * i + 1] = uint8_t(c >> 8);
    b[40 + 4 * i + 2] = uint8_t(c >> 16);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b[1064 + size_t(h - 1 - y) * stride + x] = px(x, y);
  return b;
}

// The pixels of an animation's picture, top line first, without padding.
inline Block Pixels(const tsl::TFLX& f) {
  Block out;
  for (uint32_t y = 0; y < f.Height(); ++y) {
    const uint8_t* l = f.Line(y);
    if (l) out.insert(out.end(), l, l + f.Width());
  }
  return out;
}
inline Block Pixels(const Block& pic) {
  tsl::DibView v;
  Block copy = pic;
  tsl::ParseDib(copy.data(), copy.size(), v);
  Block out;
  for (int y = 0; y < v.height; ++y) {
    const uint8_t* r = v.Row(v.height - 1 - y);
    out.insert(out.end(), r, r + v.width);
  }
  return out;
}

// Records every draw: the first pixel of the picture and the point.
struct RecordingCanvas : tsl::TFlxCanvas {
  struct Draw {
    uint8_t firstPixel;
    int x, y;
  };
  std::vector<Draw> draws;
  void DrawPicture(const uint8_t* dib, size_t size, int x, int y) override {
    tsl::DibView v;
    Block copy(dib, dib + size);
    tsl::ParseDib(copy.data(), copy.size(), v);
    draws.push_back({v.Row(v.height - 1)[0], x, y});
  }
};

// Writes pictures as an FLC in memory: the first, the rest, and the first
// again as the ring frame.
inline Block WriteFlc(const std::vector<Block>& pics, uint32_t delay = 40) {
  auto* m = new tsl::MemoryStream;
  std::unique_ptr<tsl::ByteStream> owned(m);
  tsl::TFLX w;
  if (!w.Create(std::move(owned), delay, pics[0].data(), pics[0].size())) return {};
  for (size_t i = 1; i < pics.size(); ++i)
    if (!w.AddFrame(pics[i].data(), pics[i].size())) return {};
  if (!w.Finish(pics[0].data(), pics[0].size())) return {};
  return m->Data();
}

inline std::unique_ptr<tsl::ByteStream> StreamOf(const Block& b) {
  return std::make_unique<tsl::MemoryStream>(b);
}

}  // namespace flxtest
