// The embedded-picture form of the project stream: a bitmap file image of a
// packed DIB, written by the BMP codec (_TDIB::Write). Portable.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/core/bmpcodec.h"
#include "platform/core/bytestream.h"

namespace tsl {

// Result codes of the bitmap writers (those of the codecs).
enum DibWriteResult : int {
  kDibWriteOk = kBitmapOk,
  kDibWriteShort = kBitmapShortWrite,
  kDibWriteNoDib = kBitmapNothingToWrite,
};

// Writes the 14-byte bitmap file header ("BM", block size + 40, 0, bits
// offset) and the whole block through _TDIB::Write.
int WriteEmbeddedDibImage(ByteStream& f, const uint8_t* block, size_t size);

}  // namespace tsl
