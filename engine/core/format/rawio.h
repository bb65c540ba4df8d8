// Small fixed-width values and raw fields of the project records, on top of
// the stream encodings and their reading rules (no bytes left: the preset
// stays; the file ends inside a value: zero).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/core/streamenc.h"

namespace tsl {

inline void ReadU8(uint8_t& v, ByteStream& f) { ReadFixed(&v, 1, f); }
inline void ReadU16(uint16_t& v, ByteStream& f) { ReadFixed(&v, 2, f); }
inline void ReadI16(int16_t& v, ByteStream& f) { ReadFixed(&v, 2, f); }
inline void ReadU32(uint32_t& v, ByteStream& f) { ReadFixed(&v, 4, f); }
inline void ReadI32(int32_t& v, ByteStream& f) { ReadFixed(&v, 4, f); }
inline void ReadDouble(double& v, ByteStream& f) { ReadFixed(&v, 8, f); }

inline bool WriteU8(uint8_t v, ByteStream& f) { return WriteFixed(&v, 1, f); }
inline bool WriteU16(uint16_t v, ByteStream& f) { return WriteFixed(&v, 2, f); }
inline bool WriteI16(int16_t v, ByteStream& f) { return WriteFixed(&v, 2, f); }
inline bool WriteU32(uint32_t v, ByteStream& f) { return WriteFixed(&v, 4, f); }
inline bool WriteI32(int32_t v, ByteStream& f) { return WriteFixed(&v, 4, f); }
inline bool WriteDouble(double v, ByteStream& f) { return WriteFixed(&v, 8, f); }

// Text of a fixed-size character field read raw: up to its first zero and
// never past its end, whatever the file put there.
string FixedFieldText(const char* field, size_t size);
// Stores text in a fixed field: at most size - 1 characters, zero-padded.
void SetFixedFieldText(char* field, size_t size, const char* text);

// Where a record whose first bytes store its own length goes on after it was
// read: to start + length when that lies at or after the current position
// and inside the file; a length of zero or one shorter than what was read
// continues at the current position. PastEnd: the length runs past the end
// of the file (the position is left where reading stopped).
enum class RecordEnd { Continued, PastEnd };
RecordEnd ContinueAtRecordEnd(ByteStream& f, int64_t start, uint32_t length);

// Stores the bytes written since `start` (at least 0) in the u32 at `start`
// and returns to the end. The measured length is returned.
uint32_t PatchRecordLength(ByteStream& f, int64_t start);

// Seeks to a file offset; false (a failed seek) for one outside the file.
bool SeekInside(ByteStream& f, int64_t offset);

// True when the next 14 bytes form a bitmap file header ("BM"); the position
// is left unchanged.
bool PeekBitmapHeader(ByteStream& f);

// Width and height of a packed DIB (BITMAPINFOHEADER or the old core
// header); false for a block too short, an unknown header or a picture with
// no pixels, which counts as no picture at all.
bool PackedDibSize(const std::vector<uint8_t>& dib, int32_t& width, int32_t& height);

}  // namespace tsl
