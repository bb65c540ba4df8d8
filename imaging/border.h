// The frames around page objects and slide thumbnails: eleven border
// styles, 0 to 10 (0 none, 1 plain, 2 raised, 3 recessed, 4 embossed,
// 5 grooved, 6 button up, 7 button down, 8 window raised, 9 window
// recessed, 10 well set). Style 1 is a black frame one pixel outside the
// rectangle; the others are the framework's UI borders, centred on the
// rectangle's edge: they reach out by half their thickness. Styles outside
// 0 to 10 count as 9.
#pragma once
#include <cstdint>

#include "platform/owl/defs.h"
#include "platform/owl/geometry.h"

class TDC;

// Paints the border unless `measureOnly` is set; stores the outer rectangle
// in `out` when given.
void DrawBorder(TDC& dc, const TRect& r, int style, TRect* out, uint8_t measureOnly);
// The outer rectangle DrawBorder would paint, without painting.
void GetBorderOuterRect(const TRect& r, int style, TRect& out);
