#include "objects/core/picturedata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "imaging/core/dibfile.h"

using namespace tsl;

namespace {

class TPackedPicture : public TPictureImage {
public:
  explicit TPackedPicture(std::vector<uint8_t>& block) { Bytes.swap(block); }
  const uint8_t* Block() const override { return Bytes.data(); }
  size_t BlockSize() const override { return Bytes.size(); }

private:
  std::vector<uint8_t> Bytes;
};

const TPictureMaker PortableMaker;
const TPictureMaker* Maker = &PortableMaker;

string ResolveStoredName(const string& name) {
  const TRecordContext* project = GetOpenProject();
  return project ? project->ResolvePath(name) : name;
}

}  // namespace

std::unique_ptr<TPictureImage> TPictureMaker::FromBlock(std::vector<uint8_t>& block) const {
  int32_t w, h;
  if (!PackedDibSize(block, w, h)) return nullptr;
  return std::make_unique<TPackedPicture>(block);
}

std::unique_ptr<TPictureImage> TPictureMaker::FromFile(const string& path, uint8_t, uint8_t) const {
  const TRecordContext* project = GetOpenProject();
  std::vector<uint8_t> block;
  if (path.is_null() || !project || !project->LoadPictureFile(path, block)) return nullptr;
  return FromBlock(block);
}

const TPictureMaker* SetPictureMaker(const TPictureMaker* maker) {
  const TPictureMaker* old = Maker;
  Maker = maker ? maker : &PortableMaker;
  return old == &PortableMaker ? nullptr : old;
}

const TPictureMaker& PictureMaker() { return *Maker; }

TPictureData::TPictureData() {
  TData::Init();
  Init();
}

TPictureData::~TPictureData() { Clear(); }

void TPictureData::Init() {
  FileName = "";
  Transparent = 0;
  TransparentColor = 0;
  ViewerColor = 0;
  PcdResolution = 3;
  PcdFormat = 2;
  std::memset(Reserved, 0, sizeof Reserved);
}

void TPictureData::Clear() { Picture.reset(); }

void TPictureData::Reload() {
  if (IsLinked()) LoadPicture();
}

bool TPictureData::LoadPicture() {
  Clear();
  Picture = PictureMaker().FromFile(FileName, PcdResolution, PcdFormat);
  return Picture != nullptr;
}

void TPictureData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  Init();
  const auto* o = dynamic_cast<const TPictureData*>(other);
  if (!o) return;
  RecordLength = o->RecordLength;
  Flags = o->Flags;
  Value3 = o->Value3;
  Value4 = o->Value4;
  FileName = o->FileName;
  ViewerColor = o->ViewerColor;
  if (o->Picture) {
    std::vector<uint8_t> copy(o->Picture->Block(), o->Picture->Block() + o->Picture->BlockSize());
    Picture = PictureMaker().FromBlock(copy);
  }
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
  Transparent = o->Transparent;
  TransparentColor = o->TransparentColor;
  PcdResolution = o->PcdResolution;
  PcdFormat = o->PcdFormat;
}

bool TPictureData::Read(ByteStream& f) {
  Clear();
  const int64_t start = f.Position();
  TData::Read(f);
  ReadShortString(FileName, f);
  ReadU8(Transparent, f);
  ReadU32(TransparentColor, f);
  ReadU32(ViewerColor, f);
  ReadU8(PcdResolution, f);
  ReadU8(PcdFormat, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  FileName = ResolveStoredName(FileName);
  if (IsLinked()) {
    LoadPicture();
  } else {
    bool present;
    if (Flags & kPicturePresenceByte) {
      uint8_t presence = 0;
      ReadU8(presence, f);
      present = presence != 0;
    } else {
      present = PeekBitmapHeader(f);
    }
    // A picture that reads short or not as "BM" leaves the record without one.
    std::vector<uint8_t> block;
    if (present && ReadEmbeddedDib(block, f)) Picture = PictureMaker().FromBlock(block);
  }
  return ContinueAtRecordEnd(f, start);
}

bool TPictureData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  Flags |= kPicturePresenceByte;
  bool ok = TData::Write(f);
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteU8(Transparent, f) && ok;
  ok = WriteU32(TransparentColor, f) && ok;
  ok = WriteU32(ViewerColor, f) && ok;
  ok = WriteU8(PcdResolution, f) && ok;
  ok = WriteU8(PcdFormat, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  if (!IsLinked()) {
    ok = WriteU8(Picture ? 1 : 0, f) && ok;
    if (Picture) ok = WriteEmbeddedDibImage(f, Picture->Block(), Picture->BlockSize()) == kDibWriteOk && ok;
  }
  StoreRecordLength(f, start);
  return ok;
}
