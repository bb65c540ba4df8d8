// Writes the player's page-object symbols as bitmap files, which the build
// compiles into the player's resources: BMP_CONT_SYMBOL.bmp, the symbol of
// the slide overview (a stack of three framed slides, 32 x 32, 24 bits).
//   symbolgen <folder>
#include <cstdio>
#include <string>

#include "tools/core/bmpgen.h"

namespace {

bmpgen::Picture SlideStack() {
  bmpgen::Picture p;
  p.width = p.height = 32;
  p.bits = 24;
  p.rows.assign(size_t(p.RowBytes()) * p.height, 0);
  auto put = [&](int x, int y, uint32_t rgb) {
    uint8_t* q = &p.rows[size_t(p.height - 1 - y) * p.RowBytes() + 3 * size_t(x)];
    q[0] = uint8_t(rgb);
    q[1] = uint8_t(rgb >> 8);
    q[2] = uint8_t(rgb >> 16);
  };
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) put(x, y, 0xC0C0C0);
  // Three slides, back to front: a white frame around a coloured picture.
  const uint32_t pictures[3] = {0x4060A0, 0x40A060, 0xE0A040};
  for (int s = 0; s < 3; ++s) {
    const int x0 = 2 + 5 * s, y0 = 12 - 5 * s;
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x) {
        const bool edge = x == 0 || y == 0 || x == 17 || y == 17;
        const bool frame = x < 3 || y < 3 || x > 14 || y > 14;
        put(x0 + x, y0 + y, edge ? 0x000000 : frame ? 0xFFFFFF : pictures[s]);
      }
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: symbolgen <folder>\n");
    return 2;
  }
  const bmpgen::Bytes b = bmpgen::Bmp(SlideStack(), 40);
  const std::string path = std::string(argv[1]) + "/BMP_CONT_SYMBOL.bmp";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 1;
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
