#include "engine/core/format/background.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "imaging/core/dibfile.h"

using namespace tsl;

TBackground::TBackground(const TBackground& o) { *this = o; }

TBackground& TBackground::operator=(const TBackground& o) {
  if (this == &o) return *this;
  Mode = o.Mode;
  Length = o.Length;
  Flags = o.Flags;
  Colour1 = o.Colour1;
  Colour2 = o.Colour2;
  PictureFile = o.PictureFile;
  Pattern = o.Pattern;
  Picture = o.Picture;
  return *this;
}

void TBackground::Read(ByteStream& f) {
  Picture.clear();
  const int64_t start = f.Position();
  ReadU32(Length, f);
  ReadU32(Flags, f);
  ReadU16(Mode, f);
  ReadU16(Pattern, f);
  ReadU32(Colour1, f);
  ReadU32(Colour2, f);
  ReadShortString(PictureFile, f);
  ReadFixed(Reserved16, sizeof Reserved16, f);
  if (UsesPicture() && !(Flags & kBackgroundLinked)) {
    bool has;
    if (Flags & kBackgroundHasByte) {
      uint8_t b = 0;
      ReadU8(b, f);
      has = b != 0;
    } else {
      has = PeekBitmapHeader(f);
    }
    if (has) ReadEmbeddedDib(Picture, f);
  }
  if (UsesPicture() && (Flags & kBackgroundLinked)) LoadPicture();
  ContinueAtRecordEnd(f, start, Length);
}

void TBackground::Write(ByteStream& f) {
  const int64_t start = f.Position();
  Flags |= kBackgroundHasByte;
  WriteU32(Length, f);
  WriteU32(Flags, f);
  WriteU16(Mode, f);
  WriteU16(Pattern, f);
  WriteU32(Colour1, f);
  WriteU32(Colour2, f);
  WriteShortString(PictureFile, f);
  WriteFixed(Reserved16, sizeof Reserved16, f);
  if (UsesPicture() && !(Flags & kBackgroundLinked)) {
    WriteU8(Picture.empty() ? 0 : 1, f);
    if (!Picture.empty()) WriteEmbeddedDibImage(f, Picture.data(), Picture.size());
  }
  Length = PatchRecordLength(f, start);
}

bool TBackground::LoadPicture() {
  Picture.clear();
  const TRecordContext* project = GetOpenProject();
  if (PictureFile.is_null() || !project) return false;
  std::vector<uint8_t> dib;
  int32_t w, h;
  if (!project->LoadPictureFile(project->ResolvePath(PictureFile), dib) || !PackedDibSize(dib, w, h))
    return false;
  Picture = std::move(dib);
  return true;
}

void TBackground::FreeGdiObjects() {
  if (!UsesPicture()) Picture.clear();
}

bool TBackground::GetPictureSize(int32_t& width, int32_t& height) const {
  return PackedDibSize(Picture, width, height);
}
