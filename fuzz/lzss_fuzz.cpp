// The LZSS decoder on any member: output bounded by the member's unpacked
// length and never above 64 MiB; the input is never read past the member.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "actions/core/lzss.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr uint32_t kMaxOut = 64u << 20;
  if (size >= 32) {
    const uint32_t unpacked = data[28] | (data[29] << 8) | (data[30] << 16) | (uint32_t(data[31]) << 24);
    if (unpacked > kMaxOut) return 0;
  }
  TLzssCore z;
  tsl::MemoryStream in(data, size), out;
  const bool ok = z.Decode(&in, &out);
  if (out.Data().size() > z.UnpackedLength()) std::abort();
  if (ok && out.Data().size() != z.UnpackedLength()) std::abort();
  if (in.Position() > int64_t(size)) std::abort();
  if (size >= kLzssHeaderSize && in.Position() > int64_t(kLzssHeaderSize) + z.PackedLength() && z.UnpackedLength())
    std::abort();
  // What our coder packs, it unpacks to the same bytes.
  if (size <= 4096) {
    tsl::MemoryStream src(data, size), member;
    TLzssCore enc;
    if (enc.Encode(&src, &member) != 1) std::abort();
    member.Seek(0);
    tsl::MemoryStream back;
    if (!enc.Decode(&member, &back) || back.Data().size() != size) std::abort();
    for (size_t i = 0; i < size; ++i)
      if (back.Data()[i] != data[i]) std::abort();
  }
  return 0;
}
