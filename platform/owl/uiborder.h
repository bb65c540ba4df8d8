// TUIBorder: a three-dimensional border painted inside a frame rectangle, in
// one of the framework's border styles; its client rectangle is what the
// border leaves inside.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/dc.h"
#include "platform/owl/geometry.h"

class TUIBorder {
public:
  enum TStyle {
    None,         // no border
    Plain,        // one-pixel frame in the window-frame colour
    Raised,       // one-pixel raised edge
    Recessed,     // one-pixel recessed edge
    Embossed,     // raised outer, recessed inner edge
    Grooved,      // recessed outer, raised inner edge
    ButtonUp,     // a button's raised two-pixel edge
    ButtonDn,     // a pushed button's two-pixel edge
    WndRaised,    // a raised window edge
    WndRecessed,  // a recessed window edge
    WellSet,      // a well: a deep recessed edge
  };
  enum TFlag : uint {
    Soft = 0x1000,  // softer inner edges (buttons)
    Mono = 0x8000,  // flat, one colour
  };

  TUIBorder(const TRect& frame, TStyle style, uint flags = 0) : Frame(frame), Style(style), Flags(flags) {}

  TRect GetBoundingRect() const { return Frame; }
  TRect GetClientRect() const;
  // Width of the border on each side.
  int Thickness() const;
  void Paint(TDC& dc) const;

private:
  TRect Frame;
  TStyle Style;
  uint Flags;
};
