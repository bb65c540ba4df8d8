// The PCX and TGA codecs: ZSoft PCX and Truevision Targa files into packed
// DIBs. Both only read. Portable.
#pragma once
#include <cstdint>

#include "imaging/core/bitmapbase.h"

class TPCX : public TBitmap_Base {
public:
  explicit TPCX(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());

  int ReadHeader(tsl::ByteStream* f, const char* options) override;
  int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) override;
  int ReadData(tsl::ByteStream* f, uint8_t* bits) override;
  int Write(tsl::ByteStream* f, tsl::DibHandle dib) override;

  uint32_t TruncateRuns;
  uint8_t Version;
  uint8_t Planes;
  uint16_t BytesPerLine;

private:
  uint8_t headerPalette_[48];
};

class TTGA : public TBitmap_Base {
public:
  explicit TTGA(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());

  int ReadHeader(tsl::ByteStream* f, const char* options) override;
  int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) override;
  int ReadData(tsl::ByteStream* f, uint8_t* bits) override;
  int Write(tsl::ByteStream* f, tsl::DibHandle dib) override;

  uint8_t ImageType;
  uint8_t IdLength;
  uint32_t ColourMapFirst;
  uint32_t ColourMapLength;
  uint8_t ColourMapEntrySize;
  uint8_t ColourMapType;
  uint8_t ImageDescriptor;
  uint8_t PixelDepth;
};
