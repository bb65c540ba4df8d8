#include "actions/core/copyinstall.h"

#include "actions/core/zipextract.h"
#include "resources/ids_actions.h"

int UnpackResultTextId(int32_t result) {
  switch (result) {
    case kZipOk: return IDS_UNPACK_DONE;
    case kZipEscape: return IDS_UNPACK_CANCELLED;
    case kZipBadMethod: return IDS_UNPACK_BAD_METHOD;
    default: return IDS_UNPACK_FAILED;
  }
}

std::string MirrorTargetFolder(const std::string& source, const std::string& target) {
  std::string folder = source;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  folder += '\\';
  size_t skip = 0;
  if (folder.size() >= 2 && folder[0] == '\\' && folder[1] == '\\') {
    // "\\server\share" is no folder to repeat.
    int seps = 0;
    for (skip = 2; skip < folder.size(); ++skip)
      if (folder[skip] == '\\' && ++seps == 2) break;
  } else if (folder.size() >= 2 && folder[1] == ':') {
    skip = 2;
  }
  std::string out = target;
  while (!out.empty() && out.back() == '\\') out.pop_back();
  std::string rest = folder.substr(skip);
  if (rest.empty() || rest[0] != '\\') rest.insert(rest.begin(), '\\');
  return out + rest;
}

int TZipProgressCount::Step(int64_t total, int64_t bytes) {
  if (total == 0) total = 1;
  if (total == -1) count_ = 0;
  count_ += bytes;
  if (total == -2) return 100;
  return int(double(count_) * 100.0 / double(total));
}
