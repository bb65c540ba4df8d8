// TPaintInfo: what the page hands to its background and to every object's
// paint operation when it paints an area into its off-screen bitmap.
#pragma once
#include "platform/owl/defs.h"
#include <vfw.h>

#include <cstdint>

#include "platform/owl/geometry.h"

class TDC;

struct TPaintInfo {
  TDC& MemDC;   // holds the off-screen bitmap; objects paint into it
  TDC& DestDC;  // the destination of the whole operation
  HDRAWDIB DrawDib = nullptr;
  TRect Area;   // the rectangle painted, in page coordinates
  int32_t OriginX = 0;  // page position of the bitmap's top-left pixel
  int32_t OriginY = 0;
  TRect PageRect;       // the page's design rectangle
  uint32_t PaintFlags = 3;  // 0x1 skip objects outside Area; 0x4 a transparent window's backdrop

  TPaintInfo(TDC& mem, TDC& dest) : MemDC(mem), DestDC(dest) {}
};
