// Writes the animation fixtures of the tests and the demo with the player's
// own writers: FLC files (the only FLC writer at hand: ffmpeg cannot write
// FLIC), ABP animation files and slide-overview containers.
//   animmake flc OUT WIDTH HEIGHT FRAMES [DELAY_MS]
//       frame i a plain colour of its own with a white bar that moves down
//   animmake abp OUT WIDTH HEIGHT FRAMES [DELAY_MS] [LOOPS]
//       a square on magenta, the transparent colour, moving to the right
//   animmake container OUT NAME...
//       an item per name, each with a small picture of its own colour
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "objects/core/bmpcontainer.h"
#include "platform/core/bytestream.h"
#include "tools/core/animwrite.h"

namespace {

using Block = std::vector<uint8_t>;

// A distinct, saturated colour for each number (0x00RRGGBB).
uint32_t Colour(int i) {
  static const uint32_t table[] = {0xE04040, 0x40C040, 0x4060E0, 0xE0C040, 0xC040C0, 0x40C0C0,
                                   0x804020, 0x208040, 0x402080, 0xA0A0A0, 0xF08000, 0x0080F0};
  return table[i % 12];
}

void Header(Block& b, int w, int h, int bits, uint32_t colours) {
  const uint32_t stride = ((uint32_t(w) * bits + 31) / 32) * 4;
  b.assign(40 + colours * 4 + size_t(stride) * h, 0);
  tsl::DibInfoHeader hd{};
  hd.biSize = 40;
  hd.biWidth = w;
  hd.biHeight = h;
  hd.biPlanes = 1;
  hd.biBitCount = uint16_t(bits);
  hd.biSizeImage = stride * uint32_t(h);
  hd.biXPelsPerMeter = hd.biYPelsPerMeter = 2953;
  hd.biClrUsed = colours;
  std::memcpy(b.data(), &hd, 40);
}

// 8 bits, 256 colours: index k+1 is Colour(k), 255 white.
Block FlcFrame(int w, int h, int i, int frames) {
  Block b;
  Header(b, w, h, 8, 256);
  for (int k = 0; k < 255; ++k) {
    const uint32_t c = Colour(k);
    b[40 + 4 * (k + 1)] = uint8_t(c);
    b[40 + 4 * (k + 1) + 1] = uint8_t(c >> 8);
    b[40 + 4 * (k + 1) + 2] = uint8_t(c >> 16);
  }
  b[40 + 4 * 255] = b[40 + 4 * 255 + 1] = b[40 + 4 * 255 + 2] = 0xFF;
  const uint32_t stride = (uint32_t(w) + 3) & ~3u;
  const int bar = h * i / (frames > 0 ? frames : 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b[40 + 1024 + size_t(h - 1 - y) * stride + x] = uint8_t(y >= bar && y < bar + h / 10 + 1 ? 255 : 1 + i % 254);
  return b;
}

// 24 bits of one colour, with a square of another at (sx, sy).
Block RgbFrame(int w, int h, uint32_t back, uint32_t square, int sx, int sy, int size) {
  Block b;
  Header(b, w, h, 24, 0);
  const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = x >= sx && x < sx + size && y >= sy && y < sy + size ? square : back;
      uint8_t* p = &b[40 + size_t(h - 1 - y) * stride + 3 * size_t(x)];
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
    }
  return b;
}

int Usage() {
  std::fprintf(stderr,
               "usage: animmake flc OUT W H FRAMES [DELAY]\n"
               "       animmake abp OUT W H FRAMES [DELAY] [LOOPS]\n"
               "       animmake container OUT NAME...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string what = argv[1];
  tsl::PosixFileStream out(argv[2], tsl::PosixFileStream::Create);
  if (!out.IsOpen()) {
    std::fprintf(stderr, "animmake: cannot write %s\n", argv[2]);
    return 1;
  }
  if (what == "container") {
    TBmpContainer c;
    for (int i = 3; i < argc; ++i) c.AddItem(argv[i], RgbFrame(48, 36, Colour(i - 3), 0xFFFFFF, 4, 4, 8));
    return c.Write(out) ? 0 : 1;
  }
  if (argc < 6) return Usage();
  const int w = std::atoi(argv[3]), h = std::atoi(argv[4]), frames = std::atoi(argv[5]);
  const uint32_t delay = argc > 6 ? uint32_t(std::atoi(argv[6])) : 100;
  if (w <= 0 || h <= 0 || frames <= 0 || w > 4096 || h > 4096 || frames > 5000) return Usage();
  if (what == "flc") {
    tsl::TFLX writer;
    const Block first = FlcFrame(w, h, 0, frames);
    if (!writer.CreateOnFile(&out, delay, first.data(), first.size())) return 1;
    for (int i = 1; i < frames; ++i) {
      const Block pic = FlcFrame(w, h, i, frames);
      if (!writer.AddFrame(pic.data(), pic.size())) return 1;
    }
    return writer.Finish(first.data(), first.size()) ? 0 : 1;
  }
  if (what == "abp") {
    tsl::TAnimHeader hd;
    hd.Width = int16_t(w);
    hd.Height = int16_t(h);
    hd.LoopCount = argc > 7 ? std::atoi(argv[7]) : -1;
    std::vector<animwrite::Frame> list;
    const int size = std::max(2, std::min(w, h) / 2);
    for (int i = 0; i < frames; ++i) {
      animwrite::Frame f;
      f.Record.Delay = delay;
      f.Record.Transparent = 1;
      f.Record.TransparentColour = 0xFF00FF;  // COLORREF magenta
      const int sx = frames > 1 ? (w - size) * i / (frames - 1) : 0;
      f.Picture = RgbFrame(w, h, 0xFF00FF, Colour(i), sx, (h - size) / 2, size);
      list.push_back(std::move(f));
    }
    return animwrite::WriteAbp(out, hd, list) ? 0 : 1;
  }
  return Usage();
}
