#include "imaging/animlist.h"

#include <memory>

#include "imaging/animdraw.h"
#include "platform/owl/file.h"

TAnimatedBmpList::TAnimatedBmpList(const char* fileName, bool loadIntoMemory) {
  auto file = std::make_unique<TFile>();
  if (fileName && file->Open(fileName)) Load(std::move(file), loadIntoMemory);
}

void TAnimatedBmpList::ForgetDecoded(int n) {
  if (n >= 0 && size_t(n) < Masks.size()) Masks[size_t(n)] = Masked();
}

void TAnimatedBmpList::DrawFrame(HDC dc, int n, int x, int y) {
  const std::vector<uint8_t>* picture = FramePicture(n);
  if (!picture || picture->empty()) return;
  const tsl::TAnimFrameRecord& r = *FrameRecord(n);
  x += r.OffsetX;
  y += r.OffsetY;
  if (!r.Transparent) return DrawPackedDib(dc, *picture, x, y);
  if (Masks.size() < Frames.size()) Masks.resize(Frames.size());
  Masked& m = Masks[size_t(n)];
  if (m.Image.empty() && !tsl::MakeMaskedPair(*picture, r.TransparentColour, m.Image, m.Mask))
    return DrawPackedDib(dc, *picture, x, y);
  DrawMaskedDib(dc, m.Image, m.Mask, x, y);
}
