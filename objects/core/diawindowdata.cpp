#include "objects/core/diawindowdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

SizeL TDiaWindowData::ThumbnailSize{kDiaDefaultThumbnail, kDiaDefaultThumbnail};

namespace {

// Stored names through the open project; with none open (tools, tests) they
// stay as stored. An empty name stays empty, so that no folder is listed.
void Resolve(string& name) {
  const TRecordContext* project = GetOpenProject();
  if (project && !name.is_null()) name = project->ResolvePath(name);
}

void ReadFolder(string& folder, ByteStream& f) {
  ReadShortString(folder, f);
  if (folder.str() == "\\") folder = string();
}

int32_t UsableSide(int32_t side) {
  return side >= kDiaSmallestThumbnail && side <= kDiaLargestThumbnail ? side : kDiaDefaultThumbnail;
}

}  // namespace

TDiaWindowData::TDiaWindowData() { Init(); }

SizeL TDiaWindowData::CellSize() { return {UsableSide(ThumbnailSize.cx), UsableSide(ThumbnailSize.cy)}; }

void TDiaWindowData::Init() {
  TData::Init();
  Flags = kDiaDefaultFlags;
  ThumbnailFolder = string();
  PictureFolder = string();
  ThumbnailExtension = "bmp";
  ListColor = 0xC0C0C0;
  SelectionColor = 0x0000FF;
  ViewerColor = 0x000000;
  std::memset(Reserved, 0, sizeof Reserved);
}

void TDiaWindowData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  Init();
  const auto* o = dynamic_cast<const TDiaWindowData*>(other);
  if (!o) return;
  TData::Assign(o);
  Option.Assign(o->Option);
  ListColor = o->ListColor;
  ThumbnailFolder = o->ThumbnailFolder;
  PictureFolder = o->PictureFolder;
  SelectionColor = o->SelectionColor;
  ThumbnailExtension = o->ThumbnailExtension;
  ViewerColor = o->ViewerColor;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
}

bool TDiaWindowData::Read(ByteStream& f) {
  Clear();
  const int64_t start = f.Position();
  TData::Read(f);
  Option.Read(f);
  ReadFolder(PictureFolder, f);
  ReadFolder(ThumbnailFolder, f);
  Resolve(PictureFolder);
  Resolve(ThumbnailFolder);
  Resolve(Option.BackgroundSoundFile);
  for (int i = 0; i < Option.Pictures.Count(); ++i) {
    Resolve(Option.Pictures[i].PictureFile);
    Resolve(Option.Pictures[i].SoundFile);
  }
  ReadShortString(ThumbnailExtension, f);
  int32_t size[2];
  if (f.Remaining() < 0 || f.Remaining() >= static_cast<int64_t>(sizeof size)) {
    if (ReadFixed(size, sizeof size, f)) ThumbnailSize = {size[0], size[1]};
  }
  ReadU32(ListColor, f);
  ReadU32(SelectionColor, f);
  ReadU32(ViewerColor, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  return ContinueAtRecordEnd(f, start);
}

bool TDiaWindowData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = Option.Write(f) && ok;
  ok = WriteShortString(PictureFolder, f) && ok;
  ok = WriteShortString(ThumbnailFolder, f) && ok;
  ok = WriteShortString(ThumbnailExtension, f) && ok;
  ok = WriteSize(ThumbnailSize, f) && ok;
  ok = WriteU32(ListColor, f) && ok;
  ok = WriteU32(SelectionColor, f) && ok;
  ok = WriteU32(ViewerColor, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
