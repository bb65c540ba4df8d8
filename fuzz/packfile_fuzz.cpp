// The archive reader: a packed project archive that may be damaged or
// hostile (directory offset, counts, entry offsets and sizes, names without
// their zero, record kinds) opened, listed, read entry by entry and
// unpacked into an in-memory file system. Nothing may crash, hang, leak,
// read out of bounds or allocate what the file merely claims.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/core/index/memhost.h"
#include "foundation/core/index/packfile.h"

namespace {
const char kPath[] = "C:\\PAK\\FUZZ.PAK";

void Count(tsl::ByteStream& f, uint32_t size, void* arg) {
  uint8_t b[64];
  const uint32_t n = size < sizeof b ? size : static_cast<uint32_t>(sizeof b);
  *static_cast<uint32_t*>(arg) += f.Read(b, n);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::TMemPackHost host;
  host.PutFile(kPath, std::vector<uint8_t>(data, data + size));
  {
    TPackFile pack(host, false);
    if (pack.Open(false, kPath)) {
      std::vector<std::string> names;
      const uint32_t count = pack.Index().Count();
      for (int32_t i = 0; i < static_cast<int32_t>(count); ++i) {
        TPackEntry e;
        if (pack.Index().GetAt(i, e)) names.emplace_back(e.Name);
      }
      for (const std::string& name : names) {
        std::unique_ptr<char[]> buffer;
        uint32_t n = 0, kind = 0, seen = 0;
        if (pack.GetEntry(name.c_str(), &buffer, &n, &kind, true, Count, &seen) && buffer) {
          volatile char last = buffer[n];  // the buffer holds size + 1 bytes
          (void)last;
        }
        pack.Contains(name.c_str());
      }
    }
  }
  {
    // Unpacking writes kind-1 entries into the (in-memory) program folder.
    TPackFile pack(host, true);
    pack.Open(true, kPath);
  }
  return 0;
}
