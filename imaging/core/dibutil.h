// Free operations on packed DIBs: queries, the drawing palette's colours,
// BMP file reading and writing, cutting out, run-length expansion, grey,
// depth conversions and colour reduction. Results are new blocks of the
// given platform that the caller owns; sources are never changed except by
// GreyDibInPlace. Every operation gives null (or false) for what it cannot
// handle. The Win32 names over HGLOBAL are in imaging/dibutil.h. Portable.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/core/dib.h"

namespace tsl {

// Queries; 0 for null or a block too short for a header.
uint16_t DibBitCount(const DibPlatform& p, DibHandle dib);
int32_t DibWidth(const DibPlatform& p, DibHandle dib);
int32_t DibHeight(const DibPlatform& p, DibHandle dib);

// The colours of a DIB's drawing palette: its colour table, or for a
// picture without one the 256-entry colour cube (red 32 × (i mod 8), green
// 32 × ((i / 8) mod 8), blue 64 × (i / 64)). False unless a 40-byte DIB.
bool DibPaletteColours(const DibPlatform& p, DibHandle dib, std::vector<DibRgbQuad>& out);

DibHandle CopyGlobalBlock(const DibPlatform& p, DibHandle dib);

// Bitmap files with a 40- or 12-byte info header.
bool IsBmpFile(ByteStream& f);
// Header (a 12-byte one made a 40-byte one), masks and colour table in a
// new block; the stream is left at the pixel rows.
DibHandle ReadBmpHeader(const DibPlatform& p, ByteStream& f);
DibHandle ReadBmpFile(const DibPlatform& p, ByteStream& f);
// "BM", block size + 14, 0, 0, bits offset; then the block.
bool WriteBmpFile(const DibPlatform& p, ByteStream& f, DibHandle dib);

// The part of the picture from column x and stored row y on (rows counted
// from the bottom), clipped to the picture; null when nothing is left.
DibHandle CopyDibRect(const DibPlatform& p, DibHandle dib, int32_t x, int32_t y, int32_t width, int32_t height);
DibHandle ExpandRleDib(const DibPlatform& p, DibHandle dib);
DibHandle MakeGreyDib(const DibPlatform& p, DibHandle dib);

enum class GreyResult { Changed, UnknownMode, Failed };
// Mode 0 the largest channel, 1 the thirds, 2 the weighted sum.
GreyResult GreyDibInPlace(const DibPlatform& p, DibHandle dib, uint16_t mode, double red, double green, double blue,
                          uint32_t invert);

DibHandle Dib1To4(const DibPlatform& p, DibHandle dib);
DibHandle Dib4To8(const DibPlatform& p, DibHandle dib);
DibHandle Dib8To24(const DibPlatform& p, DibHandle dib);
DibHandle Dib1To8(const DibPlatform& p, DibHandle dib);
DibHandle Dib1To24(const DibPlatform& p, DibHandle dib);
DibHandle Dib4To24(const DibPlatform& p, DibHandle dib);
DibHandle Dib24To1(const DibPlatform& p, DibHandle dib);
DibHandle Dib8To1(const DibPlatform& p, DibHandle dib);
DibHandle Dib4To1(const DibPlatform& p, DibHandle dib);
DibHandle Dib24To4(const DibPlatform& p, DibHandle dib);
DibHandle Dib8To4(const DibPlatform& p, DibHandle dib);
DibHandle ReduceDib24(const DibPlatform& p, DibHandle dib, uint32_t grey);
// These change the source's pixels by the error diffusion: pass a copy.
DibHandle Dib24To1Dithered(const DibPlatform& p, DibHandle dib);
DibHandle Dib24To4Dithered(const DibPlatform& p, DibHandle dib);

enum : uint32_t { kQuantizeDither = 1, kQuantizeMedianCut = 2 };
// An 8-bit DIB with at most 2^bits colours (bits 1..8).
DibHandle QuantizeDib24(const DibPlatform& p, DibHandle dib, uint32_t bits, uint32_t flags);

// Histograms over the 32768 colour cells (R >> 3) << 10 | (G >> 3) << 5 | B >> 3.
constexpr int kColourCells = 32768;
inline uint32_t ColourCell(uint8_t r, uint8_t g, uint8_t b) { return uint32_t(r >> 3) << 10 | uint32_t(g >> 3) << 5 | (b >> 3); }
// Adds at most k colours of the box (bounds inclusive, 5-bit units) that
// holds n pixels to the palette.
void MedianCutBox(const uint32_t* histogram, std::vector<DibRgbQuad>& palette, int r0, int r1, int g0, int g1, int b0,
                  int b1, uint32_t k, uint64_t n);
inline uint32_t ColorDistance2(int r1, int g1, int b1, int r2, int g2, int b2) {
  return uint32_t((r1 - r2) * (r1 - r2) + (g1 - g2) * (g1 - g2) + (b1 - b2) * (b1 - b2));
}
// The fixed 16-colour table of the 4-bit conversion.
extern const DibRgbQuad kFixed16Colours[16];
// (R × 77 + G × 151 + B × 28) / 256.
inline uint8_t GreyValue(int r, int g, int b) { return uint8_t((r * 77 + g * 151 + b * 28) / 256); }

}  // namespace tsl
