#include "imaging/kpcd.h"

#include "imaging/core/pcdcodec.h"
#include "platform/pcdlib/pcdlib.h"

namespace {
bool Ok(PCDstatus s) { return (s & 0xFFFF) == 0; }

// Photo YCC entries of the 16-colour palette.
const uint8_t kPalette16[16 * 3] = {
    0x00, 0x9c, 0x89, 0x1b, 0x8b, 0xb8, 0x37, 0x7a, 0x5f, 0x53, 0x69, 0x91, 0x0a, 0xcf, 0x81, 0x27,
    0xbe, 0xb2, 0x42, 0xad, 0x58, 0x8d, 0x9c, 0x89, 0x5b, 0x9c, 0x89, 0x38, 0x79, 0xeb, 0x6e, 0x58,
    0x37, 0xa6, 0x36, 0x99, 0x16, 0xff, 0x79, 0x4e, 0xdf, 0xdb, 0x84, 0xbe, 0x26, 0xbc, 0x9c, 0x89,
};
}  // namespace

TKPDCPaletteManager::TKPDCPaletteManager() {
  PCDpaletteHdl p = 0;
  if (Ok(PCDcreatePalette(nullptr, 0, 0, 256, 0, 3, 3, 2, 1, 1, 1, &p))) Palette256 = p;
  p = 0;
  if (Ok(PCDcreatePalette(kPalette16, 1, 3, 16, 0, 4, 4, 3, 0, 0, 1, &p))) Palette16 = p;
}

TKPDCPaletteManager::~TKPDCPaletteManager() {
  if (Palette256) PCDfreePalette(Palette256);
  if (Palette16) PCDfreePalette(Palette16);
}

TKPDCPaletteManager& TKPDCPaletteManager::Instance() {
  static TKPDCPaletteManager manager;
  return manager;
}

namespace {
// The palettes exist from program start.
[[maybe_unused]] TKPDCPaletteManager& kPalettes = TKPDCPaletteManager::Instance();
}  // namespace

TKPCD::~TKPCD() {
  if (Bitmap) PCDfreeBitmap(Bitmap);
  Close();
}

void TKPCD::Close() {
  if (ImageHandle) PCDclose(ImageHandle);
  ImageHandle = 0;
}

bool TKPCD::HasResolution(uint32_t imageHandle, int32_t index) const {
  uint32_t mask = 0;
  uint16_t count = 0;
  return index >= 0 && index < 32 && Ok(PCDgetCount(imageHandle, &mask, &count)) && (mask >> index) & 1;
}

bool TKPCD::Load(const char* fileName) {
  Close();
  PCDphotoHdl image = 0;
  if (!Ok(PCDopen(fileName, &image))) return false;
  ImageHandle = image;
  uint32_t available = 0;
  uint16_t count = 0;
  if (!Ok(PCDgetCount(ImageHandle, &available, &count))) return false;
  const int32_t found = tsl::ChoosePcdResolution(available, Resolution, SearchMode);
  if (found < 0) return false;
  Resolution = found;
  uint32_t rotation = 0;
  if (!Ok(PCDgetRotation(ImageHandle, &rotation)) || !Ok(PCDsetTransform(ImageHandle, rotation)) ||
      !Ok(PCDsetResolution(ImageHandle, Resolution)))
    return false;
  if (Bitmap) {
    if (!Ok(PCDfreeBitmap(Bitmap))) return false;
    Bitmap = nullptr;
  }
  TKPDCPaletteManager& palettes = TKPDCPaletteManager::Instance();
  switch (Format) {
    case 0:
    case 1:
      Palette = Format == 0 ? palettes.Palette16 : palettes.Palette256;
      if (!Ok(PCDsetFormat(ImageHandle, kPcdFormatPalette)) || !Ok(PCDsetPalette(ImageHandle, Palette))) return false;
      break;
    case 2:
      if (!Ok(PCDsetFormat(ImageHandle, kPcdFormatRgb))) return false;
      break;
    case 3:
      if (!Ok(PCDsetFormat(ImageHandle, kPcdFormatGrey))) return false;
      break;
    default: return false;
  }
  HGLOBAL bitmap = nullptr;
  if (!Ok(PCDloadImage(ImageHandle, 0, &bitmap))) return false;
  Bitmap = bitmap;
  return true;
}
