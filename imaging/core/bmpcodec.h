// The BMP codec: Windows and OS/2 bitmap files (core, Windows 3.0 and later
// info headers, OS/2 2.0 headers, bitmap arrays, RLE4 and RLE8) into packed
// DIBs, and the writer of the project stream's embedded pictures.
// Portable: no Windows headers; the constructor from a device-dependent
// bitmap is defined on the Win32 side (imaging/bmpcodec_win.cpp).
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/core/bitmapbase.h"

struct HBITMAP__;
struct HPALETTE__;

class _TDIB : public TBitmap_Base {
public:
  enum : uint16_t { kCoreHeader = 1, kInfoHeader = 2 };

  explicit _TDIB(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());
  // A blank picture (zero bits); holds no DIB when it cannot be had.
  _TDIB(int32_t width, int32_t height, uint32_t bitsPerPixel,
        const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());
  // The bitmap's pixels through GetDIBits, with the palette's colours
  // (Win32 only; the block is movable global memory).
  _TDIB(HBITMAP__* bitmap, HPALETTE__* palette);

  int ReadHeader(tsl::ByteStream* f, const char* options) override;
  int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) override;
  int ReadData(tsl::ByteStream* f, uint8_t* bits) override;
  // The embedded-picture form: a 14-byte file header ("BM", block size +
  // 40, 0, bits offset) and the whole block. The bits offset is 54, plus 12
  // when the three masks follow the header, plus 4 × the colour-table
  // entries the block really holds.
  int Write(tsl::ByteStream* f, tsl::DibHandle dib) override;
  int Write(tsl::ByteStream* f, const uint8_t* block, size_t size);

  int32_t FileHeaderPosition;
  uint32_t Windows30Header;
  uint32_t Compression;
  uint32_t ColoursUsed;
  int32_t BitsOffset;
  uint32_t InvertPalette;
  uint32_t InvertBits;
  uint16_t HeaderKind;
  // The file stores its rows top row first (a negative height); the DIB
  // is bottom-up all the same.
  uint32_t TopDown;

protected:
  bool WritesEveryPixelByte() const override;

private:
  void ResetBmpFields();
  void MakeBlank();
};

namespace tsl {
// Colour-table entries a packed DIB block really holds: the used-colour
// count (or 2^bits up to 8 bits), never more than fit after the header.
uint32_t PackedDibColorEntries(const uint8_t* block, size_t size);
// Bits offset of the bitmap file image of a block.
uint32_t PackedDibBitsOffset(const uint8_t* block, size_t size);
}  // namespace tsl
