#include "database/core/dbspecial.h"

#include <algorithm>
#include <cstring>

using tsl::ByteStream;

TDBSpecial::TDBSpecial() {
  // The font dialog's defaults: 8 point "MS Sans Serif", black, no style.
  Font.PointSize = 80;
  Font.lfHeight = -11;
  Font.lfWeight = 400;
  std::strncpy(Font.lfFaceName, "MS Sans Serif", sizeof Font.lfFaceName - 1);
}

bool TDBSpecial::Read(ByteStream& f) {
  if (!ReadFixed(&Id, 4, f)) return false;
  ReadFixed(&Flags, 4, f);
  ReadFixed(&Kind, 2, f);
  ReadFixed(&Color1, 4, f);
  ReadFixed(&Color2, 4, f);
  ReadShortString(Text1, f);
  ReadShortString(Text2, f);
  for (TActionStruct& a : Actions) {
    if (f.Remaining() == 0) return false;
    a.Read(f);
  }
  tsl::ReadFontRecord(Font, f);
  Picture1.clear();
  Picture2.clear();
  uint8_t has1 = 0, has2 = 0;
  if (!ReadFixed(&has1, 1, f) || !ReadFixed(&has2, 1, f)) return false;
  // A picture without "BM" leaves the record without it; reading goes on
  // from wherever the stream stands.
  if (has1) tsl::ReadEmbeddedDib(Picture1, f);
  if (has2) tsl::ReadEmbeddedDib(Picture2, f);
  return true;
}

namespace {
bool WriteDib(const std::vector<uint8_t>& dib, ByteStream& f) {
  const uint16_t type = tsl::kBitmapFileType;
  const uint32_t size = static_cast<uint32_t>(dib.size()) + 40, zero = 0, bits = 0;
  return WriteFixed(&type, 2, f) && WriteFixed(&size, 4, f) && WriteFixed(&zero, 4, f) &&
         WriteFixed(&bits, 4, f) && WriteFixed(dib.data(), static_cast<uint32_t>(dib.size()), f);
}
}  // namespace

bool TDBSpecial::Write(ByteStream& f) {
  bool ok = WriteFixed(&Id, 4, f) && WriteFixed(&Flags, 4, f) && WriteFixed(&Kind, 2, f) &&
            WriteFixed(&Color1, 4, f) && WriteFixed(&Color2, 4, f) && WriteShortString(Text1, f) &&
            WriteShortString(Text2, f);
  for (TActionStruct& a : Actions) a.Write(f);
  ok = ok && tsl::WriteFontRecord(Font, f);
  const uint8_t has1 = Picture1.empty() ? 0 : 1, has2 = Picture2.empty() ? 0 : 1;
  ok = ok && WriteFixed(&has1, 1, f) && WriteFixed(&has2, 1, f);
  if (has1) ok = ok && WriteDib(Picture1, f);
  if (has2) ok = ok && WriteDib(Picture2, f);
  return ok;
}

void TDBSpecialManager::Add(std::unique_ptr<TDBSpecial> r) {
  auto at = std::upper_bound(records_.begin(), records_.end(), r->Id,
                             [](int32_t id, const std::unique_ptr<TDBSpecial>& x) { return id < x->Id; });
  records_.insert(at, std::move(r));
}

void TDBSpecialManager::Load(ByteStream& f) {
  records_.clear();
  uint32_t magic = 0;
  if (!ReadFixed(&magic, 4, f) || magic != kDbiMagic) return;
  ReadFixed(&HeaderValue, 4, f);
  int32_t count = 0;
  ReadFixed(&count, 4, f);
  for (int32_t i = 0; i < count; ++i) {
    auto r = std::make_unique<TDBSpecial>();
    if (!r->Read(f)) break;
    Add(std::move(r));
  }
}

bool TDBSpecialManager::Save(ByteStream& f) {
  const int32_t count = static_cast<int32_t>(records_.size());
  bool ok = WriteFixed(&kDbiMagic, 4, f) && WriteFixed(&HeaderValue, 4, f) && WriteFixed(&count, 4, f);
  for (auto& r : records_) ok = r->Write(f) && ok;
  return ok;
}

int TDBSpecialManager::Find(int32_t id) const {
  auto it = std::lower_bound(records_.begin(), records_.end(), id,
                             [](const std::unique_ptr<TDBSpecial>& x, int32_t v) { return x->Id < v; });
  if (it == records_.end() || (*it)->Id != id) return -1;
  return static_cast<int>(it - records_.begin());
}

const TDBSpecial* TDBSpecialManager::FindRecord(int32_t id, uint16_t kind) const {
  const int i = Find(id);
  if (i < 0 || records_[static_cast<size_t>(i)]->Kind != kind) return nullptr;
  return records_[static_cast<size_t>(i)].get();
}
