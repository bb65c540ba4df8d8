// Transparent drawing of a picture over a background into an off-screen
// bitmap that the caller keeps and blits later, and pixel addressing.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/color.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"

// Composes the area: the background (from dc at backgroundOrigin, or the
// saved background with keepBackground), then the picture at pictureOrigin,
// stretched to pictureSize, with or without its transparent colour. Creates
// offScreen (and savedBackground when needed) on first use; the caller owns
// both. Afterwards the picture's transparent colour is black in it.
void DrawDibTransparent(TDC& dc, const TSize& area, const TSize& pictureSize, const TPoint& backgroundOrigin,
                        const TPoint& pictureOrigin, const TColor& transparentColour, bool keepBackground,
                        bool transparent, TBitmap*& offScreen, TBitmap*& savedBackground, TDib* dib);

// Pixel (x, y), y from the top; null outside the picture.
uint8_t* GetDibPixelPtr(const TDib& dib, int x, int y);
