#include "imaging/core/gifanim.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "imaging/core/gifcodec.h"

namespace tsl {

namespace {

constexpr uint32_t kCovered = 0x01000000;
constexpr uint8_t kDisposeBackground = 2;
constexpr uint8_t kDisposePrevious = 3;

uint32_t PixelIndex(const DibView& v, uint32_t x, uint32_t storedRow) {
  const uint8_t* r = v.Row(int32_t(storedRow));
  switch (v.bitCount) {
    case 8: return r[x];
    case 4: return (x & 1) ? r[x / 2] & 15 : r[x / 2] >> 4;
    default: return (r[x / 8] >> (7 - x % 8)) & 1;
  }
}

// A 24-bit packed DIB of the canvas; uncovered pixels take `key`.
std::vector<uint8_t> CanvasPicture(const std::vector<uint32_t>& canvas, uint32_t w, uint32_t h, uint32_t key) {
  const uint32_t stride = (w * 3 + 3) & ~3u;
  std::vector<uint8_t> b(kInfoHeaderBytes + size_t(stride) * h, 0);
  DibInfoHeader hd{};
  hd.biSize = kInfoHeaderBytes;
  hd.biWidth = int32_t(w);
  hd.biHeight = int32_t(h);
  hd.biPlanes = 1;
  hd.biBitCount = 24;
  hd.biSizeImage = stride * h;
  hd.biXPelsPerMeter = hd.biYPelsPerMeter = kDefaultPelsPerMeter;
  std::memcpy(b.data(), &hd, sizeof hd);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* d = b.data() + kInfoHeaderBytes + size_t(h - 1 - y) * stride;
    for (uint32_t x = 0; x < w; ++x, d += 3) {
      const uint32_t c = canvas[size_t(y) * w + x];
      const uint32_t rgb = (c & kCovered) ? c & 0xFFFFFF : key;  // 0x00RRGGBB
      d[0] = uint8_t(rgb);
      d[1] = uint8_t(rgb >> 8);
      d[2] = uint8_t(rgb >> 16);
    }
  }
  return b;
}

// A colour (0x00RRGGBB) that no covered pixel has.
uint32_t FreeColour(const std::vector<uint32_t>& canvas) {
  std::unordered_set<uint32_t> used;
  for (uint32_t c : canvas)
    if (c & kCovered) used.insert(c & 0xFFFFFF);
  uint32_t key = 0xFF00FF;
  while (used.count(key)) key = (key + 0x010203) & 0xFFFFFF;
  return key;
}

uint32_t RgbToColorRef(uint32_t rgb) { return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF); }

}  // namespace

bool LoadGifFrames(ByteStream& f, TAnimatedBmpListCore& animation) {
  TGIF codec;
  codec.SequentialMode = 1;
  std::vector<uint32_t> canvas, saved;
  uint32_t w = 0, h = 0;
  int frames = 0;
  for (int i = 0; i < kGifMaxFrames; ++i) {
    if (codec.LoadStream(&f, nullptr) != kBitmapOk) break;
    TAnimHeader& hd = animation.Header;
    hd.Background = codec.BackgroundColour;
    // The file counts repetitions after the first pass; 0 repeats forever.
    hd.LoopCount = codec.LoopCount == 0 ? -1 : int32_t(codec.LoopCount) + 1;
    hd.Byte12 = uint8_t(codec.HasGlobalTable);
    hd.ColourCount = std::min<uint32_t>(codec.Colours, 256);
    hd.Width = int16_t(std::max<int32_t>(hd.Width, std::min<int32_t>(codec.Width, 0x7FFF)));
    hd.Height = int16_t(std::max<int32_t>(hd.Height, std::min<int32_t>(codec.Height, 0x7FFF)));
    DibView v;
    if (!codec.LockedBase || !ParseDib(codec.LockedBase, codec.Platform().Size(codec.Dib), v)) continue;
    if (canvas.empty()) {
      w = uint32_t(v.width);
      h = uint32_t(v.height);
      canvas.assign(size_t(w) * h, 0);
    }
    if (uint32_t(v.width) != w || uint32_t(v.height) != h) continue;  // the screen never changes size
    const GifFrameInfo& fr = codec.Frame;
    if (fr.Disposal == kDisposePrevious) saved = canvas;
    // On 1- and 4-bit screens the codec draws a frame from the byte
    // boundary left of its place; the canvas takes it where the file puts it.
    const uint32_t x0 = fr.StoredLeft, shift = fr.StoredLeft - fr.Left;
    const uint32_t x1 = uint32_t(std::min<uint64_t>(w, uint64_t(x0) + fr.Width)), y1 = std::min(h, fr.Top + fr.Height);
    for (uint32_t y = fr.Top; y < y1; ++y)
      for (uint32_t x = x0; x < x1; ++x) {
        const uint32_t idx = PixelIndex(v, x - shift, h - 1 - y);
        if (fr.Transparent && idx == fr.TransparentIndex) continue;
        if (idx >= v.numColours) continue;
        const DibRgbQuad& q = v.colours[idx];
        canvas[size_t(y) * w + x] = kCovered | uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
      }
    const bool holes = std::any_of(canvas.begin(), canvas.end(), [](uint32_t c) { return !(c & kCovered); });
    const uint32_t key = holes ? FreeColour(canvas) : 0;
    TAnimFrameRecord r;
    r.TransparentColour = RgbToColorRef(key);
    r.Transparent = holes ? 1 : 0;
    r.Delay = fr.Delay;
    r.Byte24 = fr.Interlaced;
    r.Byte26 = fr.Disposal;
    r.Byte27 = fr.UserInput;
    r.Byte28 = fr.HasLocalTable;
    r.Long29 = fr.TransparentIndex;
    animation.AddFrame(CanvasPicture(canvas, w, h, key), r);
    ++frames;
    if (fr.Disposal == kDisposeBackground) {
      for (uint32_t y = fr.Top; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x) canvas[size_t(y) * w + x] = 0;
    } else if (fr.Disposal == kDisposePrevious) {
      canvas = saved;
    }
  }
  return frames > 0;
}

}  // namespace tsl
