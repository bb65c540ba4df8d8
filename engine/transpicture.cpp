#include "engine/transpicture.h"

#include <memory>
#include <new>
#include <vector>

#include "imaging/core/dib.h"
#include "imaging/core/transdib.h"

namespace {

bool ViewOf(const TDib& dib, tsl::DibView& v) {
  if (!dib.IsOK()) return false;
  auto* base = reinterpret_cast<uint8_t*>(const_cast<BITMAPINFO*>(dib.GetInfo()));
  return tsl::ParseDib(base, ::GlobalSize(dib.GetHandle()), v);
}

}  // namespace

void TransparentPicture::Reset() {
  delete Image;
  delete Mask;
  Image = Mask = nullptr;
  Prepared = 0;
}

void TransparentPicture::Prepare() { PrepareTransparencyMasks(*this); }

void PrepareTransparencyMasks(TransparentPicture& p) {
  if (!p.Picture || !p.Picture->IsOK() || p.Picture->BitsPixel() < 16) return;
  if (p.Mask && p.Image) return;
  p.Reset();
  const uint8_t r = p.TransparentColor.Red(), g = p.TransparentColor.Green(), b = p.TransparentColor.Blue();
  try {
    auto mask = std::make_unique<TDib>(*p.Picture);
    auto image = std::make_unique<TDib>(*p.Picture);
    tsl::DibView mv, iv;
    if (!ViewOf(*mask, mv) || !ViewOf(*image, iv)) return;
    std::vector<uint8_t> saved;
    if (!tsl::MaskPixels(mv, r, g, b, saved)) return;
    if (!tsl::MaskPixels(iv, r, g, b, saved)) return;
    tsl::ImagePixels(iv, saved);
    p.Mask = mask.release();
    p.Image = image.release();
    p.Prepared = 1;
  } catch (const std::bad_alloc&) {
    p.Reset();
  }
}

void DrawDibStretched(TransparentPicture& p, const TRect& dest, TDC& dc, int frame, int frameWidth,
                      TObjectElement*) {
  PrepareTransparencyMasks(p);
  if (!p.Picture || !p.Picture->IsOK()) return;
  TDib& pic = *p.Picture;
  dc.SetStretchBltMode(COLORONCOLOR);
  TRect src(0, 0, pic.Width(), pic.Height());
  if (frame != -1 && frameWidth != 0) src = TRect(frame * frameWidth, 0, frame * frameWidth + frameWidth, pic.Height());

  if (pic.BitsPixel() >= 16) {
    if (p.Mask) dc.StretchDIBits(dest, src, *p.Mask, SRCAND);
    if (p.Image) dc.StretchDIBits(dest, src, *p.Image, SRCPAINT);
    return;
  }
  RGBQUAD* table = pic.GetColors();
  const int n = pic.NumColors();
  if (!table || n <= 0 || pic.Usage() != DIB_RGB_COLORS) {
    dc.StretchDIBits(dest, src, pic, SRCCOPY);
    return;
  }
  auto* quads = reinterpret_cast<tsl::DibRgbQuad*>(table);
  std::vector<tsl::DibRgbQuad> saved;
  tsl::MaskColourTable(quads, static_cast<uint32_t>(n), p.TransparentColor.Red(), p.TransparentColor.Green(),
                       p.TransparentColor.Blue(), saved);
  dc.StretchDIBits(dest, src, pic, SRCAND);
  tsl::ImageColourTable(quads, static_cast<uint32_t>(n), saved);
  dc.StretchDIBits(dest, src, pic, SRCPAINT);
  for (int i = 0; i < n; ++i) quads[i] = saved[static_cast<size_t>(i)];
}
