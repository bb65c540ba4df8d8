// Pictures (TDib) into a DC with the right palette on 256-colour displays,
// fitted and aligned, and picture files loaded into a TDib. User-interface
// thread only.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max
#include <vfw.h>

#include <cstdint>

#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/geometry.h"

// The drawing request of DrawDibToRect. When fitting, Dest is replaced by
// where the picture went.
struct TDibDrawOptions {
  uint8_t Stretch = 0;        // source rectangle stretched to Dest
  uint8_t UseOwnPalette = 0;  // the picture's colour table as palette
  uint8_t Fit = 0;            // keep the aspect ratio inside Dest (with Stretch)
  int32_t HAlign = 0;         // 0 left, 1 centre, 2 right
  int32_t VAlign = 0;         // 0 top, 1 centre, 2 bottom
  TRect Source;               // picture pixels, from the top
  TRect Dest;                 // device units
  HDRAWDIB DrawDib = nullptr; // none: GDI
};

// Draws the picture by the options; false for a null picture.
bool DrawDibToRect(TDC& dc, const TDib* dib, TDibDrawOptions& options);
// The same without fitting; the palette rule follows the open project's
// picture-palette option (see SetPicturePaletteQuery).
bool DrawDibArea(TDC& dc, const TDib* dib, int srcLeft, int srcTop, int srcRight, int srcBottom, int dstLeft,
                 int dstTop, int dstRight, int dstBottom, bool stretch, HDRAWDIB drawDib);

// How DrawDibArea learns the open project's option to draw with the
// pictures' own palettes: -1 no project open, 0 off, 1 on. The engine
// installs it; without it no project counts as open.
using TPicturePaletteQuery = int (*)();
TPicturePaletteQuery SetPicturePaletteQuery(TPicturePaletteQuery query);

// A picture file into a new TDib the caller owns; null for an empty name,
// a missing file or a file without a picture.
TDib* LoadPictureDib(const char* fileName);
// LoadPictureDib with the Photo CD load parameters set to `resolution` and
// `searchMode` for this one call; the previous values come back after.
TDib* LoadPictureDibPcd(const char* fileName, int16_t resolution, int16_t searchMode);
