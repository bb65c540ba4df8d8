// The header tests of metafile pictures: which kind a file is (enhanced,
// placeable or plain Windows metafile), where its Windows metafile lies and
// how large a placeable one says it is; and the placeable header itself.
// Rendering is the Win32 side's (imaging/wmf.h). Portable.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tsl {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr size_t kPlaceableHeaderBytes = 22;
constexpr size_t kWmfHeaderBytes = 18;

enum class MetafileKind { Invalid, Enhanced, Placeable, Plain };

struct MetafileInfo {
  MetafileKind kind = MetafileKind::Invalid;
  // Placeable: the bounds in its units and the units per inch.
  int16_t left = 0, top = 0, right = 0, bottom = 0;
  uint16_t unitsPerInch = 0;
  // Extents of the picture in hundredths of a millimetre (placeable).
  int32_t extentX = 0, extentY = 0;
  // Where the Windows metafile lies in the file and its length (placeable
  // and plain); never beyond the file.
  size_t metafileAt = 0;
  size_t metafileBytes = 0;
};

// Invalid for a file too short for its kind's header, a placeable header
// with 0 units per inch, or a Windows metafile header that is none.
MetafileInfo InspectMetafile(const uint8_t* data, size_t size);

// The 22-byte placeable header with its checksum (the XOR of its first ten
// 16-bit words).
void MakePlaceableHeader(uint8_t* out, int16_t left, int16_t top, int16_t right, int16_t bottom,
                         uint16_t unitsPerInch);

}  // namespace tsl
