// Drawing tools shared by the object kinds and the page: pictures (TDib)
// into a DC with the right palette on 256-colour displays, fitted and
// aligned; bevelled 3D edges and frames; a window's shape from a contour
// file; pictures loaded into a TDib; the program's font record. User-
// interface thread only.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max
#include <vfw.h>

#include <cstdint>

#include "foundation/core/drawgeom.h"
#include "platform/owl/color.h"
#include "platform/owl/commdial.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"
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

void FillRectWithBrush(TDC& dc, int left, int top, int right, int bottom, const TBrush& brush);
// Outline inside the rectangle (its right and bottom excluded); true.
bool DrawRectOutline(TDC& dc, const TRect& rect);
// A ring of the thickness inside the rectangle, as four bands that do not
// overlap.
void FillFrame(TDC& dc, const TRect& rect, int thicknessX, int thicknessY, TColor colour);
// A one-pixel bevel around the face, the face filled.
void Draw3DEdge(TDC& dc, const TRect& rect, TColor face, bool raised);
// A bevelled frame of the thickness: outer and inner bevels the opposite
// way, the ring in the face colour, and with `fill` the inner area too.
void Draw3DEdgeFramed(TDC& dc, const TRect& rect, int thicknessX, int thicknessY, TColor face, bool fill,
                      bool raised);

// Shapes the window by the polygon of a contour file ("KONTUR"). False for
// an empty or missing name, an unreadable file, a file without the magic
// or with fewer than 3 points or more than it holds: the window then stays
// as it was.
bool ApplyContourRegion(const char* fileName, HWND window);

// A picture file into a new TDib the caller owns; null for an empty name,
// a missing file or a file without a picture.
TDib* LoadPictureDib(const char* fileName);
// LoadPictureDib with the Photo CD load parameters set to `resolution` and
// `searchMode` for this one call; the previous values come back after.
TDib* LoadPictureDibPcd(const char* fileName, int16_t resolution, int16_t searchMode);

class TPrinter;
// The program's one printer, made on first use and deleted at program end.
TPrinter& GetSharedPrinter();

// Defaults of the program's font record: `size` as the cell height, the
// face (Arial when null), black, screen and printer fonts.
void InitChooseFontData(TChooseFontDialog::TData& data, int size, bool trueTypeOnly, const char* faceName);
// A new font from the record, which gets antialiased quality first.
TFont* CreateFontFromData(TChooseFontDialog::TData& data);
