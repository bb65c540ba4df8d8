// The TIFF codec: the first image of a TIFF file into a packed DIB -
// bilevel, grey, palette and RGB pictures in strips, uncompressed, LZW or
// PackBits. The file is read whole into one block and parsed there.
// Portable.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/core/bitmapbase.h"

class TTIF : public TBitmap_Base {
public:
  explicit TTIF(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());
  ~TTIF() override;

  int ReadHeader(tsl::ByteStream* f, const char* options) override;
  int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) override;
  int ReadData(tsl::ByteStream* f, uint8_t* bits) override;
  int Write(tsl::ByteStream* f, tsl::DibHandle dib) override;

  uint32_t ImageWidth;
  uint32_t ImageLength;
  uint32_t BitsPerSample;
  uint32_t SamplesPerPixel;
  uint32_t Compression;
  uint32_t Photometric;
  int32_t RowsPerStrip;
  // File positions of the strip tables' value fields: the entries lie
  // there when they fit in four bytes, else at the offset stored there.
  uint32_t StripOffsets;
  uint32_t StripByteCounts;
  uint32_t StripOffsetsCount;
  uint32_t StripByteCountsCount;
  uint32_t StripOffsetsType;
  uint32_t StripByteCountsType;
  uint32_t Reserved2[2];
  double XResolutionValue;
  double YResolutionValue;
  uint32_t ResolutionUnit;
  uint32_t ColourMapOffset;
  uint32_t FillOrder;
  uint32_t PlanarConfiguration;
  uint32_t ExtraSamples;
  uint32_t Predictor;
  uint32_t TileWidth;
  uint32_t TileLength;
  uint32_t GreyPicture;
  uint32_t ByteOrder;  // 1 "II", 0 "MM"

private:
  uint16_t Get16(uint64_t at) const;
  uint32_t Get32(uint64_t at) const;
  // Entry i of a strip table, or false when it lies outside the file.
  bool StripEntry(uint32_t field, uint32_t count, uint32_t type, uint32_t i, uint32_t& value) const;
  void FreeCopy();
  void SetDefaults();

  tsl::DibHandle copy_ = nullptr;
  const uint8_t* file_ = nullptr;
  size_t size_ = 0;
};

namespace tsl {
// TIFF LZW (codes most significant bit first, 9 to 12 bits, early change)
// and PackBits into at most `capacity` bytes; the number of bytes decoded.
// The LZW decoder may also read and overwrite up to 16 bytes after those
// (never past `capacity`), so `out` must be initialised.
size_t TiffLzwDecode(const uint8_t* src, size_t n, uint8_t* out, size_t capacity);
size_t PackBitsDecode(const uint8_t* src, size_t n, uint8_t* out, size_t capacity);
}  // namespace tsl
