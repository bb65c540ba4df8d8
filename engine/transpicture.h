// Transparent pictures of the button and picture kinds: pixels of one
// colour let the page show through. A picture is drawn twice, a mask with
// SRCAND (the transparent colour white, the rest black) and an image with
// SRCPAINT (the transparent colour black, the rest itself). Pictures with a
// colour table only recolour their table for the two passes and get it back
// unchanged; true-colour pictures keep a mask and an image built once.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/color.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/geometry.h"

class TObjectElement;

struct TransparentPicture {
  TransparentPicture() = default;
  ~TransparentPicture() { Reset(); }
  TransparentPicture(const TransparentPicture&) = delete;
  TransparentPicture& operator=(const TransparentPicture&) = delete;

  // Drops the mask and the image (the picture changed).
  void Reset();
  // Builds them when missing (16 bits per pixel and more).
  void Prepare();

  TDib* Picture = nullptr;      // not owned
  TColor TransparentColor;      // black unless set
  uint8_t Prepared = 0;         // mask and image exist
  TDib* Image = nullptr;        // owned: the picture, black where transparent
  TDib* Mask = nullptr;         // owned: white where transparent, else black
};
using TTransDib = TransparentPicture;

// Builds the mask and the image of a picture of 16 bits per pixel or more,
// compared at its real pixel size; nothing when there is no picture, it has
// a colour table, or both exist already.
void PrepareTransparencyMasks(TransparentPicture& p);

// Draws the picture stretched into `dest` (COLORONCOLOR), leaving its
// transparent pixels unpainted: the whole picture, or with frame not -1 and
// frameWidth not 0 the frame's columns (x from frame × frameWidth,
// frameWidth wide, the picture's height). `object` is the drawing object
// and takes no part in the drawing.
void DrawDibStretched(TransparentPicture& p, const TRect& dest, TDC& dc, int frame = -1, int frameWidth = 0,
                      TObjectElement* object = nullptr);
