// The DIB side of transparent drawing: a picture is drawn twice, once as a
// mask (transparent colour white, the rest black, with SRCAND) and once as
// the image (transparent colour black, the rest itself, with SRCPAINT).
// Pictures with a colour table change their table; true-colour pictures
// their pixels, compared at their real size (5-5-5 or bit fields at 16
// bits, 8-8-8 or bit fields at 32). Portable.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/core/dib.h"

namespace tsl {

// Pixel (x, y), y counted from the top, of bottom-up rows; null outside.
uint8_t* DibPixelPtr(const DibInfoHeader* h, uint8_t* bits, int x, int y);

// Colour table: first the mask (entries equal to the colour white, others
// black; `saved` receives the table), then the image (white entries black,
// the others back from `saved`).
void MaskColourTable(DibRgbQuad* table, uint32_t n, uint8_t r, uint8_t g, uint8_t b, std::vector<DibRgbQuad>& saved);
void ImageColourTable(DibRgbQuad* table, uint32_t n, const std::vector<DibRgbQuad>& saved);

// Pixels of a 16-, 24- or 32-bit picture, likewise. False for other depths.
bool MaskPixels(const DibView& v, uint8_t r, uint8_t g, uint8_t b, std::vector<uint8_t>& saved);
void ImagePixels(const DibView& v, const std::vector<uint8_t>& saved);

}  // namespace tsl
