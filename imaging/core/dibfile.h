// Bitmap file images of packed DIBs (BITMAPINFOHEADER, colour table or the
// three bit-field masks, bits in one block). Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/core/bytestream.h"

namespace tsl {

// Result codes of the bitmap writers.
enum DibWriteResult : int { kDibWriteOk = 0, kDibWriteShort = 9, kDibWriteNoDib = 10 };

// Number of colour-table entries a packed DIB block really holds: the
// header's used-colour count (or 2^bits up to 8 bits), but never more than
// fit in the block after the header and any bit-field masks.
uint32_t PackedDibColorEntries(const uint8_t* block, size_t size);
// Offset of the pixel bits from the start of a bitmap file holding `block`.
uint32_t PackedDibBitsOffset(const uint8_t* block, size_t size);

// Writes the 14-byte bitmap file header ("BM", block size + 40, 0, bits
// offset) and the whole block: the embedded-picture form of the project
// stream. 0 when written, 9 when the stream took fewer bytes, 10 for no DIB.
int WriteEmbeddedDibImage(ByteStream& f, const uint8_t* block, size_t size);

}  // namespace tsl
