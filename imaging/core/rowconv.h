// Pixel row conversions between depths, mirroring and flipping of a
// codec's rows, and the 24 to 8 bit conversion through TNeuQuant.
// Palettes are colour tables (blue, green, red, 0); the Win32 side takes
// palette handles (imaging/dibutil.h). Portable.
#pragma once
#include <cstdint>
#include <memory>

#include "imaging/core/bitmapbase.h"
#include "imaging/core/dib.h"

namespace tsl {

// destination ← source, n pixels.
void Row24To32(uint8_t* dst, const uint8_t* src, int n);
void Row32To24(uint8_t* dst, const uint8_t* src, int n);
void Row24To555(uint8_t* dst, const uint8_t* src, int n);
void Row555To24(uint8_t* dst, const uint8_t* src, int n);
void Row24To8(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count);
void Row8To24(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count);
void Row8To4(uint8_t* dst, const uint8_t* src, int n);
void Row24To4(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count);
void Row4To24(uint8_t* dst, const uint8_t* src, int n, const DibRgbQuad* table, uint32_t count);
void Row24To1(uint8_t* dst, const uint8_t* src, int n);
void Row1To24(uint8_t* dst, const uint8_t* src, int n);

// The entry nearest to a colour (smallest squared distance, the first of
// equals), as GetNearestPaletteIndex chooses it; 0 for an empty table.
uint32_t NearestColourIndex(const DibRgbQuad* table, uint32_t count, uint8_t r, uint8_t g, uint8_t b);

// A new 8-bit DIB (256 table entries) from an uncompressed 24-bit one with
// a palette of `colours` entries learnt by TNeuQuant; null otherwise.
DibHandle QuantizeDibTo8Bit(const DibPlatform& p, DibHandle dib24, int colours, int bits, int sampleFactor);

}  // namespace tsl

// The bit-reversal tables of the 1- and 4-bit mirroring, made once.
class TUtilVarMan {
public:
  static const TUtilVarMan& Instance();
  const uint8_t* Reversed() const { return table_.get(); }
  const uint8_t* NibbleSwapped() const { return table_.get() + 256; }
  // For a row whose last byte holds p (1..7) pixels: each byte's top p
  // bits reversed and moved to the top, and its other bits reversed below.
  const uint8_t* ReversedTop(int p) const { return table_.get() + 512 + 256 * (p - 1); }
  const uint8_t* MatchingLow(int p) const { return table_.get() + 512 + 7 * 256 + 256 * (p - 1); }

private:
  TUtilVarMan();
  std::unique_ptr<uint8_t[]> table_;
};

// Turn the codec's picture upside down / left to right in place: 0, or 1
// when no row buffer could be had. Mirroring knows 1, 4, 8 and 24 bits.
int FlipDibRows(TBitmap_Base& codec);
int MirrorDibRows(TBitmap_Base& codec);
