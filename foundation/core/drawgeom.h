// Geometry and file tests of the drawing tools that need no window system:
// fitting a picture into a box, placing it by alignment, the contour file
// that shapes a window, and the bitmap-file test. Portable: no Windows
// headers.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/bytestream.h"

// x + 0.5 converted to an integer (so halves round up), held to the int
// range.
int32_t RoundToInt(double x);

// Fits width x height into the box, keeping the aspect ratio: the longer
// side (the height when both are equal) takes the box's size, and when the
// other side then exceeds the box it is brought back to the box and the
// first one scaled down by the same factor. False when any of the four is
// 0; the out size is then 0 x 0, so a caller that draws it draws nothing.
bool FitSizeIntoBox(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight, int32_t& outWidth,
                    int32_t& outHeight);

// Offset of a fitted extent inside the destination's extent by alignment:
// 0 start, 1 centre (each half truncated toward zero), 2 end; other values
// count as the start.
int32_t AlignOffset(int32_t alignment, int32_t destExtent, int32_t fittedExtent);

// (a AND b) != 0: the program's flag test.
inline bool TestBits(uint32_t a, uint32_t b) { return (a & b) != 0; }

// The contour file: "KONTUR", 4 skipped bytes, i32 point count, then the
// points as two i32 each (window coordinates).
struct ContourPoint {
  int32_t x;
  int32_t y;
};
enum class ContourResult {
  Ok,
  NoMagic,   // too short or not "KONTUR"
  BadCount,  // fewer than 3 points, or more than the file holds
};
// Reads a contour from the stream's current position; `points` is only
// filled on Ok.
ContourResult ReadContour(tsl::ByteStream& f, std::vector<ContourPoint>& points);

// Reads 14 bytes at the current position, seeks back to it and tells
// whether they begin with "BM" (false when fewer than 14 could be read).
bool IsBmpFileAt(tsl::ByteStream& f);
