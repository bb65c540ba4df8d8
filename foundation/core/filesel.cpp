#include "foundation/core/filesel.h"

#include <cstring>

namespace {
const size_t kMaxPart = 260;

// The zero-terminated part at `pos`, or false when it runs into the end.
bool PartAt(const char* buffer, size_t size, size_t pos, const char*& part, size_t& length) {
  if (pos >= size) return false;
  const void* zero = std::memchr(buffer + pos, 0, size - pos);
  if (!zero) return false;
  part = buffer + pos;
  length = static_cast<size_t>(static_cast<const char*>(zero) - part);
  return true;
}
}  // namespace

void SplitMultiSelection(const char* buffer, size_t size, TUSStrings& out) {
  if (!buffer) return;
  const char* first = nullptr;
  size_t firstLen = 0;
  if (!PartAt(buffer, size, 0, first, firstLen) || firstLen == 0) return;
  size_t pos = firstLen + 1;
  const char* name = nullptr;
  size_t nameLen = 0;
  if (!PartAt(buffer, size, pos, name, nameLen) || nameLen == 0) {
    // One file: the buffer holds its full path.
    if (firstLen < kMaxPart) out.Add(string(first, firstLen));
    return;
  }
  if (firstLen >= kMaxPart) return;
  string folder(first, firstLen);
  if (folder.length() > 1 && folder[folder.length() - 1] == '\\') folder.resize(folder.length() - 1);
  for (;;) {
    if (nameLen < kMaxPart) {
      const char* n = name;
      size_t len = nameLen;
      if (*n == '\\') ++n, --len;
      string path(folder);
      path += '\\';
      path.append(n, len);
      out.Add(path);
    }
    pos += nameLen + 1;
    if (!PartAt(buffer, size, pos, name, nameLen) || nameLen == 0) break;
  }
}
