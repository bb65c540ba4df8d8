// Drawing the animation kinds' frames (packed DIBs held as bytes) on a
// device context: as they are, or with a transparent colour through an
// image and mask pair. User-interface thread only.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <vector>

#include "imaging/core/flx.h"

// Unstretched with its top-left corner at (x, y); nothing for a block that
// is no packed DIB.
void DrawPackedDib(HDC dc, const uint8_t* dib, size_t size, int x, int y);
inline void DrawPackedDib(HDC dc, const std::vector<uint8_t>& dib, int x, int y) {
  DrawPackedDib(dc, dib.data(), dib.size(), x, y);
}
// The mask ANDed, then the image ORed (tsl::MakeMaskedPair).
void DrawMaskedDib(HDC dc, const std::vector<uint8_t>& image, const std::vector<uint8_t>& mask, int x, int y);

// A frame reader's canvas on a device context.
class TDcCanvas : public tsl::TFlxCanvas {
public:
  explicit TDcCanvas(HDC dc) : Dc(dc) {}
  void DrawPicture(const uint8_t* dib, size_t size, int x, int y) override { DrawPackedDib(Dc, dib, size, x, y); }

private:
  HDC Dc;
};
