// Palettes for showing true-colour pictures on 256-colour displays: the
// screen's halftone palette, the NeuQuant network's palette and the octree
// palette of a picture.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "imaging/core/quantize.h"
#include "platform/owl/gdiobjec.h"

// CreateHalftonePalette on a screen DC.
HPALETTE CreateScreenHalftonePalette();
// The same as a palette object the caller owns.
TPalette* MakeHalftonePalette();
// 256 entries: the trained network's colours first, the rest black.
TPalette* MakeNeuQuantPalette(const TNeuQuant& net);
// The octree palette of a 16-, 24- or 32-bit DIB (version 0x300); 0 for
// other depths or colour bits above 8.
HPALETTE CreateOctreePalette(HGLOBAL dib, uint32_t maxColours, uint32_t colourBits);
