#include "imaging/halftone.h"

#include <vector>

#include "imaging/dibglobal.h"

namespace {
TPalette* PaletteObject(const tsl::DibRgbQuad* colours, size_t n) {
  std::vector<PALETTEENTRY> e(n);
  for (size_t i = 0; i < n; ++i) e[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
  return new TPalette(e.data(), int(n));
}
}  // namespace

HPALETTE CreateScreenHalftonePalette() {
  HDC dc = GetDC(nullptr);
  HPALETTE p = CreateHalftonePalette(dc);
  ReleaseDC(nullptr, dc);
  return p;
}

TPalette* MakeHalftonePalette() { return new TPalette(CreateScreenHalftonePalette(), AutoDelete); }

TPalette* MakeNeuQuantPalette(const TNeuQuant& net) {
  tsl::DibRgbQuad map[256];
  net.ColourMap(map);
  return PaletteObject(map, 256);
}

HPALETTE CreateOctreePalette(HGLOBAL dib, uint32_t maxColours, uint32_t colourBits) {
  tsl::DibLock lock(GlobalDibPlatform(), dib);
  tsl::DibView v;
  std::vector<tsl::DibRgbQuad> colours;
  if (!lock || !tsl::ParseDib(lock.get(), lock.size(), v) || !tsl::OctreeColours(v, maxColours, colourBits, colours) ||
      colours.empty())
    return nullptr;
  std::vector<uint8_t> buf(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = WORD(colours.size());
  for (size_t i = 0; i < colours.size(); ++i)
    lp->palPalEntry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
  return CreatePalette(lp);
}
