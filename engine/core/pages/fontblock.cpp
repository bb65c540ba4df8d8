#include "engine/core/pages/fontblock.h"

#include "engine/core/format/rawio.h"
#include "foundation/core/streamenc.h"

using namespace tsl;

namespace {
// Three empty short strings and the size: the least an entry takes.
constexpr int64_t kSmallestEntry = 2 + 2 + 2 + 4;
}  // namespace

bool ReadFontBlock(ByteStream& f, const std::function<void(TFontBlockEntry&)>& take) {
  uint32_t magic = 0xFFFFFFFF, count = 0;
  ReadU32(magic, f);
  if (magic != kFontBlockMagic) return false;
  ReadU32(count, f);
  for (uint32_t i = 0; i < count; ++i) {
    const int64_t left = f.Remaining();
    if (left >= 0 && left < kSmallestEntry) break;
    TFontBlockEntry e;
    ReadShortString(e.Entry.SourceName, f);
    ReadShortString(e.Entry.TempFile, f);
    ReadShortString(e.Entry.FaceName, f);
    uint32_t size = 0;
    if (!ReadFixed(&size, 4, f)) break;
    if (size) {
      const int64_t rest = f.Remaining();
      if (rest >= 0 && static_cast<int64_t>(size) > rest) break;  // the image is not all there
      e.Image.resize(size);
      if (f.Read(e.Image.data(), size) != size) break;
    }
    take(e);
  }
  return true;
}

bool WriteFontBlock(ByteStream& f, const std::vector<TFontBlockEntry>& fonts) {
  bool ok = WriteU32(kFontBlockMagic, f);
  ok = WriteU32(static_cast<uint32_t>(fonts.size()), f) && ok;
  for (const TFontBlockEntry& e : fonts) {
    ok = WriteShortString(e.Entry.SourceName, f) && ok;
    ok = WriteShortString(e.Entry.TempFile, f) && ok;
    ok = WriteShortString(e.Entry.FaceName, f) && ok;
    ok = WriteU32(static_cast<uint32_t>(e.Image.size()), f) && ok;
    if (!e.Image.empty()) ok = WriteFixed(e.Image.data(), static_cast<uint32_t>(e.Image.size()), f) && ok;
  }
  return ok;
}
