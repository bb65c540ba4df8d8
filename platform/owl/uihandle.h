// TUIHandle: the grab handles an editor draws around a selected frame:
// eight small squares (corners and side middles) just outside it, drawn
// inverting, so painting twice removes them. The style value is kept for
// the caller; the look is always the same.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/geometry.h"

class TDC;

class TUIHandle {
public:
  TUIHandle(const TRect& frame, uint32_t style, const TSize& thickness)
      : Frame(frame), Style(style), Thickness(thickness) {}
  // The eight handle squares, top-left first, row by row.
  void HandleRects(TRect (&out)[8]) const;
  void Paint(TDC& dc) const;

  TRect Frame;
  uint32_t Style;
  TSize Thickness;
};
