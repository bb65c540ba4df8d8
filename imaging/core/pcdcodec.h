// The Photo CD base-image reader: the three smallest resolutions of a Photo
// CD image file (192 × 128, 384 × 256, 768 × 512) read directly into a
// 24-bit DIB, without the Photo CD library. Portable.
#pragma once
#include <cstdint>
#include <memory>

#include "imaging/core/bitmapbase.h"

// The chroma work area of the reader, made once for the program.
class TChromaMan {
public:
  static constexpr uint32_t kBytes = 6164;
  static TChromaMan& Instance();
  uint8_t* Area() { return area_.get(); }

private:
  TChromaMan() : area_(new uint8_t[kBytes]()) {}
  std::unique_ptr<uint8_t[]> area_;
};

class TPCD : public TBitmap_Base {
public:
  explicit TPCD(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());

  int ReadHeader(tsl::ByteStream* f, const char* options) override;
  int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) override;
  int ReadData(tsl::ByteStream* f, uint8_t* bits) override;
  int Write(tsl::ByteStream* f, tsl::DibHandle dib) override;

  // Stored size and file position of a resolution's data; false for an
  // index other than 0, 1 and 2.
  static bool StoredSize(uint32_t index, uint32_t& width, uint32_t& height, uint32_t& offset);

  uint8_t ImageAttributes;
  uint32_t ResolutionIndex;
  uint32_t StoredWidth;
  uint32_t StoredHeight;
};

namespace tsl {
// The resolution a Photo CD load takes from the mask of available ones (bit
// n = index n): the request when available, else what `searchMode` finds
// (1 the next higher ones up to 5, 2 the next lower ones). A picture shows
// whenever any resolution is there: when the search finds none, the largest
// below the request, else the smallest above it. -1 for an empty mask.
int32_t ChoosePcdResolution(uint32_t available, int32_t requested, int32_t searchMode);

// One Photo YCC pixel as blue, green, red.
void PhotoYccToBgr(uint8_t y, uint8_t c1, uint8_t c2, uint8_t* bgr);
}  // namespace tsl
