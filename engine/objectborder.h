// The borders of page objects (border styles 1 to 10 of an object's
// property), drawn and measured as the framework's UI borders (TUIBorder):
// style 1 a plain frame one pixel outside the object, 2 to 10 its bevelled
// edges; styles outside 0 to 10 count as 9, 6 and 7 are soft, 10 flat. The
// border lies outside the object's rectangle.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/geometry.h"

class TDC;

// How far the border reaches beyond the rectangle on every side (0, 0 for
// style 0).
TSize BorderExtent(int style);
// Draws the border of the style around `rect`.
void DrawObjectBorder(TDC& dc, const TRect& rect, int style);
