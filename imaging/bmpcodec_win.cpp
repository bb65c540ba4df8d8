// The BMP codec's constructor from a device-dependent bitmap (Win32 only).
#include "platform/owl/defs.h"

#include "imaging/core/bmpcodec.h"
#include "imaging/dibglobal.h"

_TDIB::_TDIB(HBITMAP bitmap, HPALETTE palette) : TBitmap_Base(GlobalDibPlatform()) {
  ResetBmpFields();
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return;
  Width = bm.bmWidth;
  Height = bm.bmHeight;
  BitsPerPixel = uint32_t(bm.bmPlanes) * bm.bmBitsPixel;
  MakeBlank();
  if (!Dib) return;
  if (palette && Colours >= 1 && Colours <= 256) {
    for (uint32_t i = 0; i < Colours; ++i) {
      PALETTEENTRY e;
      if (GetPaletteEntries(palette, i, 1, &e) != 1) break;
      ColourTable[i] = {e.peBlue, e.peGreen, e.peRed, e.peFlags};
    }
  }
  HDC dc = GetDC(nullptr);
  HPALETTE old = nullptr;
  if (palette) {
    old = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  GetDIBits(dc, bitmap, 0, UINT(Height), Bits, reinterpret_cast<BITMAPINFO*>(Header), DIB_RGB_COLORS);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(nullptr, dc);
}
