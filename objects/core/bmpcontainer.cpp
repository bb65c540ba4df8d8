#include "objects/core/bmpcontainer.h"

#include "engine/core/format/rawio.h"
#include "foundation/core/streamenc.h"
#include "imaging/core/dibfile.h"

using namespace tsl;

bool TBmpItem::Read(ByteStream& f, const std::function<string(const string&)>& resolve) {
  Picture.clear();
  ReadShortString(Name, f);
  if (resolve) Name = resolve(Name);
  uint8_t b[4];
  if (f.Read(b, 4) != 4 || GetLe32(b) != kBmpItemMagic) return false;
  uint16_t flag = 0;
  ReadU16(flag, f);
  // An unreadable picture leaves the item without one.
  if (flag) ReadEmbeddedDib(Picture, f);
  return true;
}

bool TBmpItem::Write(ByteStream& f) const {
  WriteShortString(Name, f);
  WriteU32(kBmpItemMagic, f);
  WriteU16(Picture.empty() ? 0 : 1, f);
  if (Picture.empty()) return true;
  return WriteEmbeddedDibImage(f, Picture.data(), Picture.size()) == kDibWriteOk;
}

bool TBmpContainer::ReadHeader(ByteStream& f) {
  uint16_t version = 0;
  ReadU16(version, f);
  if (version != kBmpContainerVersion) return false;
  ReadU32(FirstLong, f);
  ReadU32(SecondLong, f);
  ReadU16(HeaderWord, f);
  return true;
}

bool TBmpContainer::WriteHeader(ByteStream& f) const {
  bool ok = WriteU16(kBmpContainerVersion, f);
  ok = WriteU32(FirstLong, f) && ok;
  ok = WriteU32(SecondLong, f) && ok;
  return WriteU16(HeaderWord, f) && ok;
}

bool TBmpContainer::Read(ByteStream& f, const std::function<string(const string&)>& resolve) {
  Items.clear();
  if (!ReadHeader(f)) return false;
  uint16_t count = 0;
  ReadU16(count, f);
  for (uint16_t i = 0; i < count; ++i) {
    auto item = std::make_unique<TBmpItem>();
    if (!item->Read(f, resolve)) break;
    Items.push_back(std::move(item));
  }
  return true;
}

bool TBmpContainer::Write(ByteStream& f) const {
  bool ok = WriteHeader(f);
  ok = WriteU16(uint16_t(Items.size()), f) && ok;
  for (const auto& item : Items) ok = item->Write(f) && ok;
  return ok;
}

void TBmpContainer::AddItem(const string& name, std::vector<uint8_t> picture) {
  auto item = std::make_unique<TBmpItem>();
  item->Name = name;
  item->Picture = std::move(picture);
  Items.push_back(std::move(item));
}

void ConvertRgb555Palette(uint8_t* info, const uint32_t colours[256]) {
  uint8_t* q = info + kInfoHeaderBytes;
  for (int i = 0; i < 256; ++i, q += 4) {
    const uint32_t c = colours[i];
    q[0] = uint8_t((c & 0x1F) * 8);
    q[1] = uint8_t(((c >> 5) & 0x1F) * 8);
    q[2] = uint8_t(((c >> 10) & 0x1F) * 8);
  }
}
