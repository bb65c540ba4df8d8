// A picture handed between the slide window, the picture object and the
// actions: the TDib behind the portable handle, owned or borrowed.
#pragma once
#include <memory>

#include "platform/owl/dib.h"
#include "slideshow/core/slideops.h"

struct TDibPicture : TSlidePicture {
  // Takes `dib` over.
  explicit TDibPicture(TDib* dib) : Dib(dib), Owned(dib) {}
  // Borrows `dib`, which stays its owner's.
  static TDibPicture Borrowed(TDib* dib) {
    TDibPicture p(nullptr);
    p.Dib = dib;
    return p;
  }
  TDib* Dib;
  std::unique_ptr<TDib> Owned;
};

inline TDib* DibOf(const TSlidePicture& picture) { return static_cast<const TDibPicture&>(picture).Dib; }
