// The project's font block: the TrueType fonts a project carries so that its
// texts look the same where those fonts are not installed. Stored in the
// project file behind the info record and as the side file ".fdt" beside
// it, which is the one the player reads.
// Portable: no Windows headers; installing the fonts is the Win32 side's
// (engine/fonts.h).
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

constexpr uint32_t kFontBlockMagic = 0x02D5C7C7;

// One carried font (no virtual operations).
class TFontEntry {
public:
  string SourceName;  // as stored
  string TempFile;    // the temporary font file the player installed; empty when none
  string FaceName;    // the font's face as stored
};

// One font as the block stores it: the entry and its file image.
struct TFontBlockEntry {
  TFontEntry Entry;
  std::vector<uint8_t> Image;  // the whole font file; empty = no image
};

// Reads the block at the current position and hands each entry with its
// image to `take`, in file order (the temporary-file field as stored; the
// reader of the player discards it). False when the magic is wrong (then
// nothing more is read). The count and every size are believed only as far
// as the bytes left hold them: reading ends at the first entry that does
// not fit, and the entries before it are kept.
bool ReadFontBlock(tsl::ByteStream& f, const std::function<void(TFontBlockEntry&)>& take);

// Writes magic, count and the entries with their images.
bool WriteFontBlock(tsl::ByteStream& f, const std::vector<TFontBlockEntry>& fonts);
