// The "STANDARD.DAT" reader: read over the defaults, write, read the written
// file again: it must give the same bytes once more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/format/standarddata.h"
#include "engine/core/pages/standindata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 256 * 1024) return 0;
  tsl::MemoryStream in(data, size);
  TKindDefaults t;
  MakeKindDefaults(t, CreateStandInData);
  ReadKindDefaults(in, t, CreateStandInData);
  tsl::MemoryStream first;
  WriteKindDefaults(first, t, CreateStandInData);
  TKindDefaults back;
  MakeKindDefaults(back, CreateStandInData);
  first.Seek(0);
  if (ReadKindDefaults(first, back, CreateStandInData) != kObjectKinds) std::abort();
  tsl::MemoryStream second;
  WriteKindDefaults(second, back, CreateStandInData);
  if (second.Data() != first.Data()) std::abort();
  return 0;
}
