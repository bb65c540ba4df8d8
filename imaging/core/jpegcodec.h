// JPEG through libjpeg's 6b interface: a JPEG stream into a packed DIB, and
// 24-bit RGB rows into a JPEG stream. Library errors come back here through
// the error manager; nothing ends the process. jpeglib.h stays inside the
// unit, so Win32 units can use these. Portable.
#pragma once
#include <cstdint>
#include <string>

#include "imaging/core/dib.h"

namespace tsl {

// The picture as a packed DIB (8-bit grey with a ramp, 24-bit colour, or
// 8-bit with the library's colour map when it quantises); null for a
// library error, a colour space other than grey and RGB, or no memory.
// Without `message` the library's messages go to the standard error stream.
DibHandle ReadJpegDib(const DibPlatform& p, ByteStream& in, std::string* message = nullptr);

// Writes width × height RGB pixels (top row first, rows of exactly width
// × 3 bytes) at the quality (baseline tables); false on a library error or
// a short write.
bool WriteJpegRgb(ByteStream& out, const uint8_t* rgb, int width, int height, int quality,
                  std::string* message = nullptr);

}  // namespace tsl
