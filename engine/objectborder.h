// The borders of page objects (border style of an object's property), as
// imaging/border.h draws and measures them: the border lies outside the
// object's rectangle.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/geometry.h"

class TDC;

// How far the border reaches beyond the rectangle on every side (0, 0 for
// style 0).
TSize BorderExtent(int style);
// Draws the border of the style around `rect`.
void DrawObjectBorder(TDC& dc, const TRect& rect, int style);
