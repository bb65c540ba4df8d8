// Area-weighted resampling of 24-bit packed DIBs: ShrinkDib24 reduces and
// EnlargeDib24 enlarges the picture held by a scaler record into a new
// block. Every output pixel is the weighted sum of the source pixels its
// span covers, in single precision, stored as trunc(sum + 0.5). Portable.
#pragma once
#include <cstdint>

#include "imaging/core/dib.h"

namespace tsl {

// Holds the source picture and receives the result; owns both blocks.
class TDibScaler {
public:
  explicit TDibScaler(const DibPlatform& platform = DefaultDibPlatform()) : Platform(&platform) {}
  ~TDibScaler() { Clear(); }
  TDibScaler(const TDibScaler&) = delete;
  TDibScaler& operator=(const TDibScaler&) = delete;

  // Takes the block over. Only an uncompressed 24-bit picture is loaded;
  // anything else is freed and leaves the record empty (false).
  bool Load(DibHandle source);
  // Frees both blocks and empties the record.
  void Clear();
  // The result block, handed to the caller (null when none was made).
  DibHandle ReleaseResult();

  const DibPlatform* Platform;
  DibHandle Source = nullptr;
  DibHandle Result = nullptr;
  DibInfoHeader SourceHeader{};
  DibInfoHeader ResultHeader{};
  uint32_t Loaded = 0;
};

// Bytes of a 24-bit row of w pixels.
inline uint64_t Row24Bytes(int64_t w) { return uint64_t(3 * w + 3) & ~uint64_t(3); }

// 1 when the result was made; 0 when the request is refused (size out of
// the direction's range, record not loaded, result too large or no memory),
// and then the record is as it was.
int ShrinkDib24(TDibScaler& scaler, int32_t w, int32_t h);
int EnlargeDib24(TDibScaler& scaler, int32_t w, int32_t h);

}  // namespace tsl
