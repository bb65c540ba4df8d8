#include "objects/core/buttondata.h"

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "imaging/core/dibfile.h"

using namespace tsl;

const char* const TButtonDataCore::kDefaultCaption = "Schalter";

namespace {

bool OlderThan25() {
  const TRecordContext* project = GetOpenProject();
  return project && project->IsVersionBelow(2, 5);
}

// Files below 2.5 store a Windows identifier where later ones store the
// position in the table.
uint16_t TablePosition(uint16_t stored, const uint16_t* table, int count) {
  if (!OlderThan25()) return stored;
  for (int i = 0; i < count; ++i)
    if (table[i] == stored) return static_cast<uint16_t>(i);
  return stored;
}

bool StoresPicture(int16_t style, int n) {
  switch (n) {
    case 1: return style == kButtonPicture || style == kButtonTwoPictures || style == kButtonThreePictures;
    case 2: return style == kButtonTwoPictures || style == kButtonThreePictures;
    default: return style == kButtonThreePictures;
  }
}

}  // namespace

TButtonDataCore::TButtonDataCore() { TButtonDataCore::Init(); }

void TButtonDataCore::Init() {
  TData::Init();
  Flags = (kButtonLinkedPictures | kButtonActionsInList) & ~0x01u;
  Style = kButtonText;
  DisplayState = LatchedState = 0;
  FaceColor = 0xC0C0C0;
  for (TActionStruct& a : LegacyActions) a = TActionStruct();
  Transparent1 = Transparent2 = Transparent3 = 0;
  TransparentColor1 = TransparentColor2 = TransparentColor3 = 0;
  TextAlign = 0;
  StyleFlags = 0;
  FrameCount = FrameIndex = 1;
  Group = kButtonNoGroup;
  Caption = kDefaultCaption;
  Font = MakeFontRecord(17, true, "Arial");
  IconIndex = CursorIndex = 0;
  for (int n = 1; n <= 3; ++n) {
    PictureName(n) = "";
    PictureBlock(n).clear();
  }
}

std::vector<uint8_t>& TButtonDataCore::PictureBlock(int n) {
  return n == 1 ? PictureBlock1 : n == 2 ? PictureBlock2 : PictureBlock3;
}

string& TButtonDataCore::PictureName(int n) { return n == 1 ? PictureName1 : n == 2 ? PictureName2 : PictureName3; }

void TButtonDataCore::Assign(const TData* other) {
  if (other == this) return;
  Init();
  const auto* o = dynamic_cast<const TButtonDataCore*>(other);
  if (!o) return;
  *this = *o;
  LatchedState = DisplayState;
}

void TButtonDataCore::LoadLinkedPictures() {
  const TRecordContext* project = GetOpenProject();
  for (int n = 1; n <= 3; ++n) {
    std::vector<uint8_t>& block = PictureBlock(n);
    block.clear();
    const string& name = PictureName(n);
    if (!project || name.is_null()) continue;
    if (!project->LoadPictureFile(project->ResolvePath(name), block)) block.clear();
  }
}

void TButtonDataCore::ReadPicture(string& name, std::vector<uint8_t>& block, ByteStream& f) {
  ReadShortString(name, f);
  block.clear();
  if (Flags & kButtonLinkedPictures) {
    // The stored name stays as it is, so that saving keeps it relative.
    const TRecordContext* project = GetOpenProject();
    if (project && !name.is_null() && !project->LoadPictureFile(project->ResolvePath(name), block))
      block.clear();
    return;
  }
  bool present;
  if (Flags & kButtonPresenceBytes) {
    uint8_t byte = 0;
    ReadU8(byte, f);
    present = byte == 1;
  } else {
    present = PeekBitmapHeader(f);
  }
  if (present && !ReadEmbeddedDib(block, f)) block.clear();
}

void TButtonDataCore::WritePicture(const string& name, const std::vector<uint8_t>& block, ByteStream& f) const {
  WriteShortString(name, f);
  if (Flags & kButtonLinkedPictures) return;
  const bool present = !block.empty();
  WriteU8(present ? 1 : 0, f);
  if (present) WriteEmbeddedDibImage(f, block.data(), block.size());
}

bool TButtonDataCore::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadI16(Style, f);
  ReadU32(FaceColor, f);
  if (!(Flags & kButtonActionsInList))
    for (TActionStruct& a : LegacyActions) a.Read(f);
  ReadU8(Transparent1, f);
  ReadU8(Transparent2, f);
  ReadU32(TransparentColor1, f);
  ReadU32(TransparentColor2, f);
  ReadU16(TextAlign, f);
  ReadU32(StyleFlags, f);
  if (Style == kButtonText || Style == kButtonTwoPictures || Style == kButtonThreePictures ||
      (StyleFlags & kButtonHasCaptionFields)) {
    ReadShortString(Caption, f);
    ReadFontRecord(Font, f);
  }
  if (StoresPicture(Style, 1)) ReadPicture(PictureName1, PictureBlock1, f);
  if (Style == kButtonSystemIcon) {
    uint16_t v = 0;
    ReadU16(v, f);
    v = TablePosition(v, kButtonSystemIcons, 5);
    IconIndex = static_cast<int16_t>(v > 4 ? 0 : v);
  }
  if (Style == kButtonHotSpot) {
    uint16_t v = 0;
    ReadU16(v, f);
    v = TablePosition(v, kButtonCursors, 6);
    CursorIndex = static_cast<int16_t>(v > 6 ? 0 : v);
  }
  if (StoresPicture(Style, 2)) ReadPicture(PictureName2, PictureBlock2, f);
  if (Style == kButtonThreePictures) {
    ReadU8(Transparent3, f);
    ReadU32(TransparentColor3, f);
    ReadPicture(PictureName3, PictureBlock3, f);
  }
  if (Style == kButtonFileIcon) {
    ReadShortString(PictureName1, f);
    uint16_t v = 0;
    ReadU16(v, f);
    IconIndex = static_cast<int16_t>(v);
  }
  if (StyleFlags & kButtonHasCaptionFields) {
    ReadI16(FrameCount, f);
    ReadI16(FrameIndex, f);
    if (FrameCount < 1 || FrameCount > 99 || FrameIndex < 1 || FrameIndex > 99 || FrameIndex > FrameCount)
      FrameCount = FrameIndex = 1;
  } else {
    FrameCount = FrameIndex = 1;
  }
  if (StyleFlags & kButtonHasGroup) ReadI16(Group, f);
  return ContinueAtRecordEnd(f, start);
}

bool TButtonDataCore::Write(ByteStream& f) {
  Flags |= kButtonPresenceBytes | kButtonActionsInList;
  StyleFlags |= kButtonHasCaptionFields | kButtonHasGroup;
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteI16(Style, f) && ok;
  ok = WriteU32(FaceColor, f) && ok;
  ok = WriteU8(Transparent1, f) && ok;
  ok = WriteU8(Transparent2, f) && ok;
  ok = WriteU32(TransparentColor1, f) && ok;
  ok = WriteU32(TransparentColor2, f) && ok;
  ok = WriteU16(TextAlign, f) && ok;
  ok = WriteU32(StyleFlags, f) && ok;
  ok = WriteShortString(Caption, f) && ok;
  ok = WriteFontRecord(Font, f) && ok;
  if (StoresPicture(Style, 1)) WritePicture(PictureName1, PictureBlock1, f);
  if (Style == kButtonSystemIcon) ok = WriteU16(static_cast<uint16_t>(IconIndex), f) && ok;
  if (Style == kButtonHotSpot) ok = WriteU16(static_cast<uint16_t>(CursorIndex), f) && ok;
  if (StoresPicture(Style, 2)) WritePicture(PictureName2, PictureBlock2, f);
  if (Style == kButtonThreePictures) {
    ok = WriteU8(Transparent3, f) && ok;
    ok = WriteU32(TransparentColor3, f) && ok;
    WritePicture(PictureName3, PictureBlock3, f);
  }
  if (Style == kButtonFileIcon) {
    ok = WriteShortString(PictureName1, f) && ok;
    ok = WriteU16(static_cast<uint16_t>(IconIndex), f) && ok;
  }
  ok = WriteI16(FrameCount, f) && ok;
  ok = WriteI16(FrameIndex, f) && ok;
  ok = WriteI16(Group, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}

void ButtonFrameColumns(int width, int16_t frameCount, int16_t frameIndex, int& left, int& right) {
  const int count = frameCount < 1 ? 1 : frameCount;
  const int index = frameIndex < 1 ? 1 : frameIndex;
  const int w = width / count;
  left = (index - 1) * w;
  right = left + w;
}
