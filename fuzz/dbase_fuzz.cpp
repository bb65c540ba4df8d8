// The dBase reader on hostile tables: one input split into the table and its
// memo file (the first two bytes give the table's length). Nothing may read
// out of bounds or allocate what the header merely claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "database/core/tdbase.h"

namespace {

std::string g_dbf, g_dbt;

std::unique_ptr<tsl::ByteStream> OpenMemory(const std::string& name, bool create) {
  if (create) return nullptr;
  const std::string& bytes = name == "t.DBF" ? g_dbf : g_dbt;
  return std::make_unique<tsl::MemoryStream>(bytes.data(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t n = data[0] | data[1] << 8;
  const size_t rest = size - 2;
  const size_t cut = n < rest ? n : rest;
  g_dbf.assign(reinterpret_cast<const char*>(data) + 2, cut);
  g_dbt.assign(reinterpret_cast<const char*>(data) + 2 + cut, rest - cut);
  SetDBaseFileOpener(OpenMemory);
  TDBASE t("t.DBF");
  if (t.Status() != 0) return 0;
  if (static_cast<size_t>(t.HeaderLength()) > g_dbf.size()) std::abort();
  const uint32_t records = t.RecordCount() < 64 ? t.RecordCount() : 64;
  for (uint32_t r = 0; r <= records; ++r) {
    for (int f = 0; f < t.FieldCount() && f < 64; ++f) {
      std::string text;
      uint16_t ok = 0;
      if (t.GetField(r, f, text, &ok) != (ok == 1)) std::abort();
      if (text.size() > g_dbf.size() + g_dbt.size()) std::abort();
    }
  }
  return 0;
}
