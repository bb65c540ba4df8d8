// TOrthoPal: the palette made from a picture's colour table for one draw on
// a palette display, when the project asks for picture palettes. It owns the
// palette it wraps.
#pragma once
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"

class TOrthoPal : public TPalette {
public:
  using TPalette::TPalette;
};
