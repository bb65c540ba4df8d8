// Writes the player's own cursor (resource 100, the cursor of button cursor
// choice 6 and of the centre handle of a selection): a 32 x 32 four-headed
// move arrow, white with a black outline, its hot spot in the middle. The
// build runs it and compiles the file into the player's resources.
//   curgen <out.cur>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kCentre = 15;  // the hot spot, both ways
constexpr int kHeadLength = 5;
constexpr int kShaftHalf = 1;

// The white part: a cross whose four arms end in arrowheads.
bool Inside(int x, int y) {
  const int dx = std::abs(x - kCentre), dy = std::abs(y - kCentre);
  const int reach = kCentre - 1;  // a pixel of outline is left at the edge
  auto arm = [&](int along, int across) {
    if (along > reach) return false;
    const int head = reach - along;  // 0 at the tip
    if (head < kHeadLength) return across <= head;
    return across <= kShaftHalf;
  };
  return arm(dy, dx) || arm(dx, dy);
}

bool Outline(int x, int y) {
  if (Inside(x, y)) return false;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const int nx = x + i, ny = y + j;
      if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && Inside(nx, ny)) return true;
    }
  return false;
}

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A .cur file: directory, one entry, then a 1-bit DIB of double height whose
// upper half is the XOR image and lower half the AND mask, rows bottom-up.
std::vector<uint8_t> CursorFile() {
  constexpr uint32_t kRowBytes = kSize / 8;
  constexpr uint32_t kMaskBytes = kRowBytes * kSize;
  constexpr uint32_t kInfoSize = 40, kPaletteSize = 8, kDirSize = 6 + 16;
  constexpr uint32_t kImageSize = kInfoSize + kPaletteSize + 2 * kMaskBytes;
  std::vector<uint8_t> b;
  Put16(b, 0);  // reserved
  Put16(b, 2);  // type: cursor
  Put16(b, 1);  // one image
  b.push_back(kSize);
  b.push_back(kSize);
  b.push_back(0);  // colour count
  b.push_back(0);  // reserved
  Put16(b, kCentre);  // hot spot x
  Put16(b, kCentre);  // hot spot y
  Put32(b, kImageSize);
  Put32(b, kDirSize);

  Put32(b, kInfoSize);
  Put32(b, kSize);
  Put32(b, 2 * kSize);
  Put16(b, 1);  // planes
  Put16(b, 1);  // bits per pixel
  Put32(b, 0);  // BI_RGB
  Put32(b, 2 * kMaskBytes);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 2);  // colours used
  Put32(b, 0);
  Put32(b, 0x00000000);  // black
  Put32(b, 0x00FFFFFF);  // white

  // XOR 1 with AND 0 is white, XOR 0 with AND 0 black, AND 1 leaves the
  // screen as it is.
  std::vector<uint8_t> xorRows(kMaskBytes, 0), andRows(kMaskBytes, 0xFF);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const size_t at = size_t(kSize - 1 - y) * kRowBytes + size_t(x / 8);
      const uint8_t bit = uint8_t(0x80 >> (x % 8));
      if (Inside(x, y)) xorRows[at] |= bit;
      if (Inside(x, y) || Outline(x, y)) andRows[at] &= uint8_t(~bit);
    }
  b.insert(b.end(), xorRows.begin(), xorRows.end());
  b.insert(b.end(), andRows.begin(), andRows.end());
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: curgen <out.cur>\n");
    return 2;
  }
  const std::vector<uint8_t> b = CursorFile();
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
