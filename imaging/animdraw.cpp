#include "imaging/animdraw.h"

#include "imaging/core/dib.h"

namespace {

bool Parsed(const uint8_t* dib, size_t size, std::vector<uint8_t>& copy, tsl::DibView& v) {
  if (!dib || !size) return false;
  copy.assign(dib, dib + size);
  return tsl::ParseDib(copy.data(), copy.size(), v) && !v.Compressed();
}

void Blit(HDC dc, const uint8_t* dib, size_t size, int x, int y, DWORD rop) {
  std::vector<uint8_t> copy;
  tsl::DibView v;
  if (!Parsed(dib, size, copy, v)) return;
  ::StretchDIBits(dc, x, y, v.width, v.height, 0, 0, v.width, v.height, v.bits,
                  reinterpret_cast<const BITMAPINFO*>(copy.data()), DIB_RGB_COLORS, rop);
}

}  // namespace

void DrawPackedDib(HDC dc, const uint8_t* dib, size_t size, int x, int y) { Blit(dc, dib, size, x, y, SRCCOPY); }

void DrawMaskedDib(HDC dc, const std::vector<uint8_t>& image, const std::vector<uint8_t>& mask, int x, int y) {
  Blit(dc, mask.data(), mask.size(), x, y, SRCAND);
  Blit(dc, image.data(), image.size(), x, y, SRCPAINT);
}
