// The .dbi reader: records with actions, fonts and embedded pictures.
#include <cstddef>
#include <cstdint>

#include "database/core/dbspecial.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::MemoryStream in(data, size);
  TDBSpecialManager m;
  m.Load(in);
  for (int i = 0; i < m.Count(); ++i) m.FindRecord(m.At(i).Id, m.At(i).Kind);
  tsl::MemoryStream out;
  m.Save(out);
  return 0;
}
