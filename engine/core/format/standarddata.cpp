#include "engine/core/format/standarddata.h"

#include "engine/core/format/recordctx.h"
#include "engine/core/format/rawio.h"

namespace {

// Reads through to the file and remembers whether any read fell short: the
// records' own readers keep their defaults then, which would take half a
// record for a whole one.
class TShortReadWatch : public tsl::ByteStream {
public:
  explicit TShortReadWatch(tsl::ByteStream& f) : F(f) {}
  uint32_t Read(void* buffer, uint32_t count) override {
    const uint32_t n = F.Read(buffer, count);
    if (n < count) Short = true;
    return n;
  }
  uint32_t Write(const void* buffer, uint32_t count) override { return F.Write(buffer, count); }
  int64_t Position() const override { return F.Position(); }
  int64_t Length() const override { return F.Length(); }
  int64_t Seek(int64_t offset, seek_dir origin) override { return F.Seek(offset, origin); }
  bool Short = false;

private:
  tsl::ByteStream& F;
};

// The newest layout while the file is read or written, whatever project is
// open; the open project still resolves names and pictures.
class TNewestLayout : public tsl::TRecordContext {
public:
  TNewestLayout() : Previous(tsl::SetOpenProject(this)) {}
  ~TNewestLayout() override { tsl::SetOpenProject(Previous); }
  TNewestLayout(const TNewestLayout&) = delete;
  TNewestLayout& operator=(const TNewestLayout&) = delete;
  uint8_t FileVersionMajor() const override { return tsl::kFileVersionMajor; }
  uint8_t FileVersionMinor() const override { return tsl::kFileVersionMinor; }
  string ResolvePath(const string& name) const override { return Previous ? Previous->ResolvePath(name) : name; }
  bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const override {
    return Previous && Previous->LoadPictureFile(path, dib);
  }

private:
  tsl::TRecordContext* Previous;
};

}  // namespace

TObjectInfo DefaultKindInfo() {
  TObjectInfo info;
  info.Tail.Init(0, 0, 0, 0, 1);
  return info;
}

void MakeKindDefaults(TKindDefaults& tables, const TDataCreator& creator) {
  for (int kind = 0; kind < kObjectKinds; ++kind) {
    tables.Data[kind].reset();
    tables.Infos[kind] = std::make_unique<TObjectInfo>(DefaultKindInfo());
    if (creator) tables.Data[kind] = creator(static_cast<int16_t>(kind));
  }
  tables.Filled = true;
}

int ReadKindDefaults(tsl::ByteStream& file, TKindDefaults& tables, const TDataCreator& creator) {
  TNewestLayout layout;
  TShortReadWatch f(file);
  int kind = 0;
  for (; kind < kObjectKinds; ++kind) {
    uint32_t magic = 0;
    if (f.Read(&magic, 4) != 4 || magic != kStandardDataMagic) break;
    auto info = std::make_unique<TObjectInfo>();
    info->Read(f);
    std::unique_ptr<TData> data = creator ? creator(static_cast<int16_t>(kind)) : nullptr;
    if (f.Short || !data || !data->Read(f) || f.Short) break;
    tables.Infos[kind] = std::move(info);
    tables.Data[kind] = std::move(data);
  }
  return kind;
}

bool WriteKindDefaults(tsl::ByteStream& f, TKindDefaults& tables, const TDataCreator& creator) {
  TNewestLayout layout;
  bool ok = true;
  for (int kind = 0; kind < kObjectKinds; ++kind) {
    ok = tsl::WriteU32(kStandardDataMagic, f) && ok;
    TObjectInfo fallback = DefaultKindInfo();
    TObjectInfo& info = tables.Infos[kind] ? *tables.Infos[kind] : fallback;
    info.Write(f);
    std::unique_ptr<TData> made;
    TData* data = tables.Data[kind].get();
    if (!data && creator) {
      made = creator(static_cast<int16_t>(kind));
      data = made.get();
    }
    if (!data) return false;
    ok = data->Write(f) && ok;
  }
  return ok;
}
