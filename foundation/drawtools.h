// Drawing tools shared by the object kinds and the page: bevelled 3D edges
// and frames; a window's shape from a contour file; the program's printer
// and font record. Pictures are drawn by imaging/dibdraw.h. User-interface
// thread only.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max

#include <cstdint>

#include "foundation/core/drawgeom.h"
#include "platform/owl/color.h"
#include "platform/owl/commdial.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"

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

class TPrinter;
// The program's one printer, made on first use and deleted at program end.
TPrinter& GetSharedPrinter();

// Defaults of the program's font record: `size` as the cell height, the
// face (Arial when null), black, screen and printer fonts.
void InitChooseFontData(TChooseFontDialog::TData& data, int size, bool trueTypeOnly, const char* faceName);
// A new font from the record, which gets antialiased quality first.
TFont* CreateFontFromData(TChooseFontDialog::TData& data);
