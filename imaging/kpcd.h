// TKPCD: a Photo CD image at a chosen resolution through the Photo CD
// library, as a packed DIB in global memory; TKPDCPaletteManager holds the
// two palettes the library uses for palette pictures.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

class TKPDCPaletteManager {
public:
  static TKPDCPaletteManager& Instance();
  ~TKPDCPaletteManager();
  TKPDCPaletteManager(const TKPDCPaletteManager&) = delete;
  TKPDCPaletteManager& operator=(const TKPDCPaletteManager&) = delete;

  uint32_t Palette256 = 0;
  uint32_t Palette16 = 0;

private:
  TKPDCPaletteManager();
};

class TKPCD {
public:
  TKPCD() = default;
  virtual ~TKPCD();
  TKPCD(const TKPCD&) = delete;
  TKPCD& operator=(const TKPCD&) = delete;

  // True when the picture is in Bitmap.
  bool Load(const char* fileName);
  bool HasResolution(uint32_t imageHandle, int32_t index) const;

  int32_t Resolution = 3;
  int32_t SearchMode = 2;  // 1 next higher ones, 2 next lower ones; then the nearest (ChoosePcdResolution)
  uint32_t ImageHandle = 0;
  int32_t Format = 2;
  HGLOBAL Bitmap = nullptr;
  uint32_t Palette = 0;

private:
  void Close();
};
