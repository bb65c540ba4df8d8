// Our stand-in for the Kodak Photo CD library PCDLIB32, for the calls the
// player makes. It reads the three smallest resolutions of a Photo CD image
// (192 × 128, 384 × 256, 768 × 512) with the base-image reader; the larger
// ones are never available. Every call returns a status whose low 16 bits
// are 0 on success.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

using PCDstatus = uint32_t;
using PCDphotoHdl = uint32_t;
using PCDpaletteHdl = uint32_t;

enum : PCDstatus {
  kPcdOk = 0,
  kPcdBadHandle = 1,
  kPcdNoFile = 2,
  kPcdNotAvailable = 3,  // resolution not in the image
  kPcdBadParameter = 4,
  kPcdNoMemory = 5,
};

// Output formats of PCDloadImage: 10 an 8-bit grey picture, 11 a 24-bit
// picture, 13 an 8-bit picture in the colours of the set palette.
enum : int32_t { kPcdFormatGrey = 10, kPcdFormatRgb = 11, kPcdFormatPalette = 13 };

PCDstatus PCDopen(const char* fileName, PCDphotoHdl* image);
// Bit n of `resolutions` is set when resolution n can be loaded; `count`
// is how many can.
PCDstatus PCDgetCount(PCDphotoHdl image, uint32_t* resolutions, uint16_t* count);
PCDstatus PCDgetRotation(PCDphotoHdl image, uint32_t* rotation);
PCDstatus PCDsetTransform(PCDphotoHdl image, uint32_t rotation);
PCDstatus PCDsetResolution(PCDphotoHdl image, int32_t index);
PCDstatus PCDsetFormat(PCDphotoHdl image, int32_t format);
PCDstatus PCDsetPalette(PCDphotoHdl image, PCDpaletteHdl palette);
// An upright packed DIB in movable global memory; the caller owns it.
PCDstatus PCDloadImage(PCDphotoHdl image, uint32_t reserved, HGLOBAL* bitmap);
PCDstatus PCDfreeBitmap(HGLOBAL bitmap);
PCDstatus PCDclose(PCDphotoHdl image);
// A palette of `count` colours (up to 256): from `table` (three bytes per
// entry, Photo YCC when `ycc` is set, else RGB), or without a table a
// colour cube of redBits, greenBits and blueBits.
PCDstatus PCDcreatePalette(const uint8_t* table, int32_t ycc, int32_t components, int32_t count, int32_t first,
                           int32_t redBits, int32_t greenBits, int32_t blueBits, int32_t dither, int32_t reserved1,
                           int32_t reserved2, PCDpaletteHdl* palette);
PCDstatus PCDfreePalette(PCDpaletteHdl palette);
