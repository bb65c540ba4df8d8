#include "objects/core/treelistdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "imaging/core/dibfile.h"
#include "platform/core/bytestream.h"

using namespace tsl;

namespace {

const char* const kSet1[4] = {"TREELIST_FOLDER_CLOSED1", "TREELIST_FOLDER_OPEN1", "TREELIST_FOLDER_CLOSED1",
                              "TREELIST_FOLDER_OPEN1"};
const char* const kSet2[4] = {"TREELIST_FOLDER_CLOSED2", "TREELIST_FOLDER_OPEN2", "TREELIST_DATAITEM1",
                              "TREELIST_DATAITEM1"};

}  // namespace

TTreeListItemDataCore::TTreeListItemDataCore() { TTreeListItemDataCore::Init(); }

void TTreeListItemDataCore::Init() {
  TData::Init();
  Flags = kTreeDefaultFlags;
  BackgroundColour = 0xFFFFFF;
  LineColour = 0xC0C0C0;
  FontData = MakeFontRecord(8, false, "MS Sans Serif");
  for (uint32_t& c : ExtraColours) c = 0;
  for (int i = 0; i < 4; ++i) {
    Pictures[i].clear();
    TransparentFlags[i] = 0;
    TransparentColours[i] = 0xFFFFFF;
    PictureNames[i] = "";
  }
  Transparent = 0;
  UnnamedByte = 1;
  ExpanderNoFill = 0;
  ExpanderColour = 0;
  ExpanderFillColour = 0xFFFFFF;
  FixedPictureWidth = 4;
  LineSpacing = 4;
  FifthName = "";
  std::memset(Reserved, 0, sizeof Reserved);
  ExtraCellWidth = 0;
  ExpanderWidth = ExpanderHeight = 9;
  PictureGap = 6;
}

void TTreeListItemDataCore::Assign(const TData* other) {
  if (other == this) return;
  Init();
  const auto* o = dynamic_cast<const TTreeListItemDataCore*>(other);
  if (!o) return;
  *this = *o;
}

int TTreeListItemDataCore::StandardSet() const {
  if (Flags & kTreeStandardSet2) return 2;
  if (Flags & kTreeStandardSet1) return 1;
  return 0;
}

const char* const* TTreeListItemDataCore::StandardSetNames(int set) {
  return set == 2 ? kSet2 : set == 1 ? kSet1 : nullptr;
}

bool TTreeListItemDataCore::StoresPictures() const {
  return StandardSet() == 0 && !(Flags & kTreeLinkedPictures);
}

void TTreeListItemDataCore::LoadLinkedPictures() {
  const TRecordContext* project = GetOpenProject();
  for (int i = 0; i < 4; ++i) {
    Pictures[i].clear();
    // The stored name stays as it is, so that saving keeps it relative.
    if (project && !PictureNames[i].is_null() &&
        !project->LoadPictureFile(project->ResolvePath(PictureNames[i]), Pictures[i]))
      Pictures[i].clear();
  }
}

bool TTreeListItemDataCore::Read(ByteStream& f) {
  const int64_t start = f.Position();
  Init();
  TData::Read(f);
  ReadU32(BackgroundColour, f);
  ReadFontRecord(FontData, f);
  ReadU32(LineColour, f);
  ReadU8(TransparentFlags[kFolderClosed], f);
  ReadU8(TransparentFlags[kFolderOpen], f);
  ReadU32(TransparentColours[kFolderClosed], f);
  ReadU32(TransparentColours[kFolderOpen], f);
  ReadU8(Transparent, f);
  ReadU8(UnnamedByte, f);
  ReadU32(ExpanderColour, f);
  ReadU8(ExpanderNoFill, f);
  ReadU32(ExpanderFillColour, f);
  ReadI16(FixedPictureWidth, f);
  ReadI16(LineSpacing, f);
  ReadShortString(PictureNames[kFolderClosed], f);
  ReadShortString(PictureNames[kFolderOpen], f);
  if (Flags & kTreeDataBlock) {
    ReadU8(TransparentFlags[kEntryPicture], f);
    ReadU8(TransparentFlags[kEntrySelected], f);
    ReadU32(TransparentColours[kEntryPicture], f);
    ReadU32(TransparentColours[kEntrySelected], f);
    ReadShortString(PictureNames[kEntryPicture], f);
    ReadShortString(PictureNames[kEntrySelected], f);
  }
  if (Flags & kTreeThirdBlock) {
    ReadShortString(FifthName, f);
    for (uint32_t& c : ExtraColours) ReadU32(c, f);
  }
  if (StandardSet() == 0) {
    if (Flags & kTreeLinkedPictures) {
      LoadLinkedPictures();
    } else {
      for (std::vector<uint8_t>& p : Pictures) {
        bool present;
        if (Flags & kTreePresenceBytes) {
          uint8_t byte = 0;
          ReadU8(byte, f);
          present = byte != 0;
        } else {
          present = PeekBitmapHeader(f);
        }
        if (present && !ReadEmbeddedDib(p, f)) p.clear();
      }
    }
  }
  ReadI16(ExtraCellWidth, f);
  if (!(Flags & kTreeCellWidthValid)) ExtraCellWidth = 4;
  ReadFixed(Reserved, sizeof Reserved, f);
  return ContinueAtRecordEnd(f, start);
}

bool TTreeListItemDataCore::Write(ByteStream& f) {
  Flags |= kTreePresenceBytes | kTreeCellWidthValid | kTreeDataBlock | kTreeThirdBlock;
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteU32(BackgroundColour, f) && ok;
  ok = WriteFontRecord(FontData, f) && ok;
  ok = WriteU32(LineColour, f) && ok;
  ok = WriteU8(TransparentFlags[kFolderClosed], f) && ok;
  ok = WriteU8(TransparentFlags[kFolderOpen], f) && ok;
  ok = WriteU32(TransparentColours[kFolderClosed], f) && ok;
  ok = WriteU32(TransparentColours[kFolderOpen], f) && ok;
  ok = WriteU8(Transparent, f) && ok;
  ok = WriteU8(UnnamedByte, f) && ok;
  ok = WriteU32(ExpanderColour, f) && ok;
  ok = WriteU8(ExpanderNoFill, f) && ok;
  ok = WriteU32(ExpanderFillColour, f) && ok;
  ok = WriteI16(FixedPictureWidth, f) && ok;
  ok = WriteI16(LineSpacing, f) && ok;
  ok = WriteShortString(PictureNames[kFolderClosed], f) && ok;
  ok = WriteShortString(PictureNames[kFolderOpen], f) && ok;
  ok = WriteU8(TransparentFlags[kEntryPicture], f) && ok;
  ok = WriteU8(TransparentFlags[kEntrySelected], f) && ok;
  ok = WriteU32(TransparentColours[kEntryPicture], f) && ok;
  ok = WriteU32(TransparentColours[kEntrySelected], f) && ok;
  ok = WriteShortString(PictureNames[kEntryPicture], f) && ok;
  ok = WriteShortString(PictureNames[kEntrySelected], f) && ok;
  ok = WriteShortString(FifthName, f) && ok;
  for (uint32_t c : ExtraColours) ok = WriteU32(c, f) && ok;
  if (StoresPictures())
    for (const std::vector<uint8_t>& p : Pictures) {
      // A picture that cannot be written is stored as absent, so the
      // presence byte never promises bytes that are not there.
      MemoryStream picture;
      const bool present = !p.empty() && WriteEmbeddedDibImage(picture, p.data(), p.size()) == kDibWriteOk;
      ok = WriteU8(present ? 1 : 0, f) && ok;
      if (present) ok = f.Write(picture.Data().data(), static_cast<uint32_t>(picture.Data().size())) ==
                            picture.Data().size() && ok;
    }
  ok = WriteI16(ExtraCellWidth, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
