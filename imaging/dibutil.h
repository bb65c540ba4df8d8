// The DIB utilities on global-memory packed DIBs (HGLOBAL): queries, the
// drawing palette, conversions to and from device-dependent bitmaps, BMP
// files by Windows path, cutting, run-length expansion, grey, depth
// conversions, colour reduction, and the row conversions that take a
// palette. Results are new movable global blocks the caller owns (GlobalFree);
// 0 means the operation could not be done. The work is in imaging/core.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/file.h"

// Queries (0 for a null handle).
uint8_t* DibBitsPtr(LPBITMAPINFOHEADER header);
WORD DibBitCount(HGLOBAL dib);
int DibWidth(HGLOBAL dib);
int DibHeight(HGLOBAL dib);
uint32_t DibNumColors(const BITMAPINFOHEADER* header);
// Row size, row size of the picture turned by a quarter, and rows × height.
uint32_t DibRowBytes(const BITMAPINFOHEADER* header);
uint32_t DibColumnBytes(const BITMAPINFOHEADER* header);
uint64_t DibImageBytes(const BITMAPINFOHEADER* header);

// Palettes and devices.
HPALETTE CreateDibPalette(HGLOBAL dib);
HPALETTE CopyPalette(HPALETTE palette);
HBITMAP DibToBitmap(HGLOBAL dib, HPALETTE palette);
HGLOBAL BitmapToDib(HBITMAP bitmap, HPALETTE palette, uint16_t bitsPerPixel, uint32_t compression);
int StretchDibToDC(HDC dc, HGLOBAL dib, HPALETTE palette, int x, int y, int width, int height);
HGLOBAL CopyGlobalBlock(HGLOBAL block);

// BMP files.
bool IsBmpFile(const char* path);
HGLOBAL ReadBmpFile(const char* path);
HGLOBAL ReadBmpHeader(TFile& file);
bool WriteBmpFile(const char* path, HGLOBAL dib);

// Editing.
HGLOBAL CopyDibRect(HGLOBAL dib, int x, int y, int width, int height);
HGLOBAL ExpandRleDib(HGLOBAL dib);
HGLOBAL MakeGreyDib(HGLOBAL dib);
HGLOBAL GreyDibInPlace(HGLOBAL dib, WORD mode, double red, double green, double blue, DWORD invert);

// Depth conversions and colour reduction.
HGLOBAL Dib1To4(HGLOBAL dib);
HGLOBAL Dib4To8(HGLOBAL dib);
HGLOBAL Dib8To24(HGLOBAL dib);
HGLOBAL Dib1To8(HGLOBAL dib);
HGLOBAL Dib1To24(HGLOBAL dib);
HGLOBAL Dib4To24(HGLOBAL dib);
HGLOBAL Dib24To1(HGLOBAL dib);
HGLOBAL Dib8To1(HGLOBAL dib);
HGLOBAL Dib4To1(HGLOBAL dib);
HGLOBAL Dib24To4(HGLOBAL dib);
HGLOBAL Dib8To4(HGLOBAL dib);
HGLOBAL ReduceDib24(HGLOBAL dib, DWORD grey);
HGLOBAL Dib24To1Dithered(HGLOBAL dib);
HGLOBAL Dib24To4Dithered(HGLOBAL dib);
HGLOBAL QuantizeDib24(HGLOBAL dib, DWORD bits, DWORD flags);
HGLOBAL QuantizeDibTo8Bit(HGLOBAL dib24, int colours, int bits, int sampleFactor);

// Row conversions through a palette (the others are in imaging/core/rowconv.h).
void Row24To8(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette);
void Row24To4(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette);
void Row8To24(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette);
void Row4To24(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette);

// Shows the wait cursor for its lifetime and puts the previous one back.
class TWaitCursor {
public:
  TWaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~TWaitCursor() { SetCursor(old_); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
  HCURSOR old_;
};
