// Writes animation files ("ABP" with a picture per frame, "FLX" with FLC
// data after the records) from the same layout the player reads
// (imaging/core/animfile.h). The player only reads them; the tests and
// tslmake write them here.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/core/animfile.h"
#include "imaging/core/dibfile.h"

namespace animwrite {

struct Frame {
  tsl::TAnimFrameRecord Record;
  std::vector<uint8_t> Picture;  // packed DIB ("ABP" files)
};

// "ABP": header (its frame count and type set here), then each record and
// its picture block.
inline bool WriteAbp(tsl::ByteStream& f, tsl::TAnimHeader h, const std::vector<Frame>& frames) {
  std::memcpy(h.Signature, "ABP", 4);
  h.Type = tsl::kAnimTypePictures;
  h.FrameCount = int16_t(frames.size());
  if (!tsl::WriteAnimHeader(h, f)) return false;
  for (const Frame& fr : frames) {
    if (!tsl::WriteAnimFrameRecord(fr.Record, f)) return false;
    const uint32_t length = uint32_t(4 + 14 + fr.Picture.size());
    const uint8_t lb[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    if (f.Write(lb, 4) != 4) return false;
    if (tsl::WriteEmbeddedDibImage(f, fr.Picture.data(), fr.Picture.size()) != tsl::kDibWriteOk) return false;
  }
  return true;
}

// "FLX": header, the records, then the FLC file's bytes.
inline bool WriteFlx(tsl::ByteStream& f, tsl::TAnimHeader h, const std::vector<tsl::TAnimFrameRecord>& records,
                     const std::vector<uint8_t>& flc) {
  std::memcpy(h.Signature, "FLX", 4);
  h.Type = tsl::kAnimTypeFlc;
  h.FrameCount = int16_t(records.size());
  if (!tsl::WriteAnimHeader(h, f)) return false;
  for (const auto& r : records)
    if (!tsl::WriteAnimFrameRecord(r, f)) return false;
  return f.Write(flc.data(), uint32_t(flc.size())) == flc.size();
}

}  // namespace animwrite
