#include "platform/owl/imagelist.h"

#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"

TImageList::TImageList(const TSize& size, uint flags, int initCount, int growBy)
    : Handle(ImageList_Create(size.cx, size.cy, flags, initCount, growBy)) {}

TImageList::TImageList(const TBitmap& strip, int imageWidth, TColor maskColour) {
  const int w = imageWidth > 0 ? imageWidth : 1;
  const int n = strip.Width() / w;
  Handle = ImageList_Create(w, strip.Height(), ILC_COLOR24 | ILC_MASK, n > 0 ? n : 1, 1);
  if (Handle) AddMasked(strip, maskColour);
}

TImageList::~TImageList() {
  if (Handle) ImageList_Destroy(Handle);
}

int TImageList::GetImageCount() const { return Handle ? ImageList_GetImageCount(Handle) : 0; }

TSize TImageList::GetImageSize() const {
  int cx = 0, cy = 0;
  if (Handle) ImageList_GetIconSize(Handle, &cx, &cy);
  return TSize(cx, cy);
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
  return Handle ? ImageList_Add(Handle, image, mask ? static_cast<HBITMAP>(*mask) : nullptr) : -1;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColour) {
  return Handle ? ImageList_AddMasked(Handle, image, maskColour) : -1;
}

bool TImageList::Draw(int index, TDC& dc, int x, int y, uint style) const {
  return Handle && ImageList_Draw(Handle, index, dc, x, y, style);
}
