// ZIP extraction through minizip over an in-memory archive, and the entry
// name check on the same bytes: whatever the archive holds, nothing is
// written outside the target folder, and no refused name passes the check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/core/zipextract.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), std::min<size_t>(size, 300));
  if (CheckZipEntryName(name) == TZipNameFault::None) {
    if (name.size() > kZipMaxName || name.find(':') != std::string::npos) std::abort();
    if (!name.empty() && (name[0] == '/' || name[0] == '\\')) std::abort();
    if (name == ".." || name.rfind("../", 0) == 0 || name.rfind("..\\", 0) == 0) std::abort();
  }
  const std::string archive = "C:\\in\\a.zip", target = "C:\\out";
  for (int keep = 0; keep < 2; ++keep) {
    TMemoryZipHost host;
    host.Files[archive].assign(data, data + size);
    ExtractZipArchive(host, archive.c_str(), target.c_str(), keep, 1);
    for (const std::string& f : host.Created) {
      if (f.compare(0, target.size() + 1, target + "\\") != 0) std::abort();
      if (f.size() > kZipMaxOutputPath) std::abort();
      const std::string rest = f.substr(target.size());
      if (rest.find("\\..\\") != std::string::npos || rest.find(':') != std::string::npos) std::abort();
    }
  }
  return 0;
}
