// JPEG files by Windows path: the reader that the picture loader calls and
// the writer that the program exports. The work is in imaging/core/jpegcodec.h,
// which keeps libjpeg's header out of Win32 units.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

// A packed DIB the caller owns (GlobalFree), or 0; "can't open <name>" on
// the standard error stream for a file that does not open.
HGLOBAL read_JPEG_file(const char* fileName);

extern "C" {
// Writes the RGB picture set by SetJpegImage at the quality; 1 when the
// file was written, 0 when it could not be created or libjpeg failed.
int write_JPEG_file(char* fileName, int quality);
}

// Sets the process-wide picture (rows of exactly width × 3 bytes, R, G, B,
// top row first) and writes it; the result of write_JPEG_file.
int SetJpegImage(const char* fileName, int width, int height, const uint8_t* rgb, int quality);
