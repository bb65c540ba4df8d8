// Writes sample bitmap files of every variant the BMP codec reads into a
// folder: for comparing decoders by hand and for seeding the BMP fuzzers.
// With --scroller it writes the bitmap scroll bar's pictures and the
// browse buttons' folder picture (IDB_BROWSE.bmp) instead, with --treelist
// the tree lists' standard pictures, with --media the media objects' symbols
// and the control bar's buttons (NAME.bmp for each resource), which the
// build compiles into the player.
//   bmpgen <folder> [width height]
//   bmpgen --scroller <folder>
//   bmpgen --treelist <folder>
//   bmpgen --media <folder>
//   bmpgen --diaframes <folder>   (the overview's slide mounts)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/core/bmpgen.h"
#include "tools/core/browsebmp.h"
#include "tools/core/mediabmp.h"
#include "tools/core/diaframes.h"
#include "tools/core/scrollerbmp.h"
#include "tools/core/treelistbmp.h"

namespace {
bool Save(const std::string& path, const bmpgen::Bytes& b) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bmpgen <folder> [width height]\n");
    return 2;
  }
  if (std::string(argv[1]) == "--diaframes") {
    if (argc < 3) return 2;
    int failed = 0;
    for (const auto& [name, picture] : diaframes::Pictures())
      failed += !Save(std::string(argv[2]) + "/" + name + ".bmp", bmpgen::Bmp(picture, 40));
    return failed ? 1 : 0;
  }
  if (std::string(argv[1]) == "--scroller") {
    if (argc < 3) return 2;
    int failed = 0;
    for (const auto& [name, picture] : scrollerbmp::Pictures())
      failed += !Save(std::string(argv[2]) + "/" + name + ".bmp", bmpgen::Bmp(picture, 40));
    failed += !Save(std::string(argv[2]) + "/IDB_BROWSE.bmp", bmpgen::Bmp(browsebmp::Picture(), 40));
    if (failed) std::fprintf(stderr, "bmpgen: %d files not written\n", failed);
    return failed ? 1 : 0;
  }
  if (std::string(argv[1]) == "--treelist") {
    if (argc < 3) return 2;
    int failed = 0;
    for (const auto& [name, picture] : treelistbmp::Pictures())
      failed += !Save(std::string(argv[2]) + "/" + name + ".bmp", bmpgen::Bmp(picture, 40));
    if (failed) std::fprintf(stderr, "bmpgen: %d files not written\n", failed);
    return failed ? 1 : 0;
  }
  if (std::string(argv[1]) == "--media") {
    if (argc < 3) return 2;
    int failed = 0;
    for (const auto& [name, picture] : mediabmp::Pictures())
      failed += !Save(std::string(argv[2]) + "/" + name + ".bmp", bmpgen::Bmp(picture, 40));
    if (failed) std::fprintf(stderr, "bmpgen: %d files not written\n", failed);
    return failed ? 1 : 0;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const int w = argc > 3 ? std::atoi(argv[2]) : 37;
  const int h = argc > 3 ? std::atoi(argv[3]) : 23;
  using bmpgen::Compression;
  int failed = 0;
  auto save = [&](const std::string& name, const bmpgen::Bytes& b) { failed += !Save(dir + name, b); };
  for (uint16_t bits : {1, 4, 8, 24}) {
    const bmpgen::Picture p = bmpgen::Pattern(w, h, bits);
    const std::string d = std::to_string(bits);
    save("core12-" + d + ".bmp", bmpgen::Bmp(p, 12));
    for (uint32_t size : {16u, 20u, 24u, 32u, 36u, 40u, 42u, 46u, 52u, 56u, 64u, 108u, 124u})
      save("info" + std::to_string(size) + "-" + d + ".bmp", bmpgen::Bmp(p, size));
    save("array-" + d + ".bmp", bmpgen::BitmapArray({p, bmpgen::Pattern(w / 2 + 1, h + 3, bits)}, 12));
    save("array64-" + d + ".bmp", bmpgen::BitmapArray({p, bmpgen::Pattern(w + 5, h / 2 + 1, bits)}, 64));
  }
  const bmpgen::Picture p8 = bmpgen::Pattern(w, h, 8), p4 = bmpgen::Pattern(w, h, 4);
  save("rle8.bmp", bmpgen::Bmp(p8, 40, Compression::Rle8));
  save("rle8-64.bmp", bmpgen::Bmp(p8, 64, Compression::Rle8));
  save("rle4.bmp", bmpgen::Bmp(p4, 40, Compression::Rle4));
  save("rle4-64.bmp", bmpgen::Bmp(p4, 64, Compression::Rle4));
  save("rle4-core-array.bmp", bmpgen::BitmapArray({p4, p4}, 40, Compression::Rle4));
  bmpgen::Picture p16 = bmpgen::Pattern(w, h, 16);
  save("rgb555.bmp", bmpgen::Bmp(p16, 40));
  p16.masks[0] = 0x7C00;
  p16.masks[1] = 0x3E0;
  p16.masks[2] = 0x1F;
  save("bitfields555.bmp", bmpgen::Bmp(p16, 40, Compression::Bitfields));
  save("bitfields555-v4.bmp", bmpgen::Bmp(p16, 108, Compression::Bitfields));
  bmpgen::Picture p32 = bmpgen::Pattern(w, h, 32);
  save("rgb32.bmp", bmpgen::Bmp(p32, 40));
  p32.masks[0] = 0xFF0000;
  p32.masks[1] = 0xFF00;
  p32.masks[2] = 0xFF;
  save("bitfields32.bmp", bmpgen::Bmp(p32, 40, Compression::Bitfields));
  if (failed) std::fprintf(stderr, "bmpgen: %d files not written\n", failed);
  return failed ? 1 : 0;
}
