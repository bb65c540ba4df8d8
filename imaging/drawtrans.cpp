#include "imaging/drawtrans.h"

#include <memory>
#include <new>
#include <vector>

#include "imaging/core/transdib.h"

namespace {
// The picture's DIB view (its block stays locked while the TDib lives).
bool ViewOf(const TDib& dib, tsl::DibView& v) {
  if (!dib.IsOK()) return false;
  auto* base = reinterpret_cast<uint8_t*>(const_cast<BITMAPINFO*>(dib.GetInfo()));
  return tsl::ParseDib(base, GlobalSize(dib.GetHandle()), v);
}
}  // namespace

void DrawDibTransparent(TDC& dc, const TSize& area, const TSize& pictureSize, const TPoint& backgroundOrigin,
                        const TPoint& pictureOrigin, const TColor& transparentColour, bool keepBackground,
                        bool transparent, TBitmap*& offScreen, TBitmap*& savedBackground, TDib* dib) {
  if (!dib) return;
  tsl::DibView v;
  if (!ViewOf(*dib, v)) return;
  std::unique_ptr<TPalette> palette;
  TMemoryDC mem(dc);
  if (!offScreen) offScreen = new TBitmap(dc, area.cx, area.cy);
  if (dc.GetDeviceCaps(BITSPIXEL) * dc.GetDeviceCaps(PLANES) <= 8 && v.numColours > 0) {
    palette = std::make_unique<TPalette>(*dib);
    mem.SelectObject(*palette);
    mem.RealizePalette();
  }
  if (mem.GetStretchBltMode() != COLORONCOLOR) mem.SetStretchBltMode(COLORONCOLOR);
  mem.SelectObject(*offScreen);

  if (!keepBackground) {
    mem.BitBlt(0, 0, area.cx, area.cy, dc, backgroundOrigin.x, backgroundOrigin.y, SRCCOPY);
  } else {
    TMemoryDC saved(dc);
    if (!savedBackground) {
      savedBackground = new TBitmap(dc, area.cx, area.cy);
      saved.SelectObject(*savedBackground);
      saved.BitBlt(0, 0, area.cx, area.cy, dc, backgroundOrigin.x, backgroundOrigin.y, SRCCOPY);
    } else {
      saved.SelectObject(*savedBackground);
    }
    mem.BitBlt(0, 0, area.cx, area.cy, saved, 0, 0, SRCCOPY);
  }

  const TRect dst(pictureOrigin, pictureSize);
  const TRect src(0, 0, v.width, v.height);
  const uint8_t r = transparentColour.Red(), g = transparentColour.Green(), b = transparentColour.Blue();
  if (!transparent) {
    mem.StretchDIBits(dst, src, *dib, SRCCOPY);
  } else if (v.bitCount <= 8) {
    // The table as far as the picture has one: 2^bits entries at most.
    const uint32_t n = v.numColours < (1u << v.bitCount) ? v.numColours : 1u << v.bitCount;
    std::vector<tsl::DibRgbQuad> kept;
    tsl::MaskColourTable(v.colours, n, r, g, b, kept);
    mem.StretchDIBits(dst, src, *dib, SRCAND);
    tsl::ImageColourTable(v.colours, n, kept);
    mem.StretchDIBits(dst, src, *dib, SRCPAINT);
  } else {
    std::vector<uint8_t> kept;
    try {
      if (!tsl::MaskPixels(v, r, g, b, kept)) return;
    } catch (const std::bad_alloc&) {
      return;
    }
    mem.StretchDIBits(dst, src, *dib, SRCAND);
    tsl::ImagePixels(v, kept);
    mem.StretchDIBits(dst, src, *dib, SRCPAINT);
  }
  mem.RestoreObjects();
}

uint8_t* GetDibPixelPtr(const TDib& dib, int x, int y) {
  if (!dib.IsOK()) return nullptr;
  return tsl::DibPixelPtr(reinterpret_cast<const tsl::DibInfoHeader*>(dib.GetInfoHeader()),
                          static_cast<uint8_t*>(dib.GetBits()), x, y);
}
