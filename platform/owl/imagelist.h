// TImageList: a row of equally sized images over comctl32's image lists,
// optionally with a mask made from a key colour, drawn transparently.
#pragma once
#include "platform/owl/defs.h"

#include <commctrl.h>

#include "platform/owl/color.h"
#include "platform/owl/geometry.h"

class TDC;
class TBitmap;

class TImageList {
public:
  // An empty list of images of `size`; `flags` are ILC_* (e.g. ILC_COLOR24 |
  // ILC_MASK).
  TImageList(const TSize& size, uint flags, int initCount, int growBy);
  // The images of a strip `imageWidth` wide each, masked on `maskColour`:
  // its pixels stay transparent.
  TImageList(const TBitmap& strip, int imageWidth, TColor maskColour);
  ~TImageList();
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  operator HIMAGELIST() const { return Handle; }
  bool IsValid() const { return Handle != nullptr; }
  int GetImageCount() const;
  TSize GetImageSize() const;
  // Index of the first image added, -1 on failure.
  int Add(const TBitmap& image, const TBitmap* mask = nullptr);
  int AddMasked(const TBitmap& image, TColor maskColour);
  bool Draw(int index, TDC& dc, int x, int y, uint style = ILD_TRANSPARENT) const;

private:
  HIMAGELIST Handle = nullptr;
};
