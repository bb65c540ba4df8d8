#include "objects/core/textdata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

namespace {
TTextFontMaker FontMaker = nullptr;

// Project files before 2.5 stored the shadow offsets in 16 bits.
bool ShortShadowOffsets() {
  const tsl::TRecordContext* project = tsl::GetOpenProject();
  return project && project->IsVersionBelow(2, 5);
}
}  // namespace

TTextFontMaker SetTextFontMaker(TTextFontMaker maker) {
  TTextFontMaker old = FontMaker;
  FontMaker = maker;
  return old;
}

TTextData::TTextData() {
  TData::Init();
  Init();
}

TTextData::~TTextData() { Clear(); }

void TTextData::Init() {
  SetDefaults();
  MakeFont();
}

void TTextData::SetDefaults() {
  Flags = kTextWrap;
  Angle = 0;
  ShadowOffsetY = 2;
  ShadowOffsetX = 2;
  Text = "Text";
  Alignment = kTextLeft;
  ShadowColour = 0x808080;
  FontChoice = tsl::MakeFontRecord(17, true, "Arial");
  std::memset(Reserved, 0, sizeof Reserved);
}

void TTextData::Clear() { Font.reset(); }

void TTextData::MakeFont() {
  Font.reset();
  if (FontMaker) Font = FontMaker(FontChoice);
}

void TTextData::Reload() {
  Clear();
  MakeFont();
}

void TTextData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  SetDefaults();
  const auto* o = dynamic_cast<const TTextData*>(other);
  if (!o) {
    MakeFont();
    return;
  }
  RecordLength = o->RecordLength;
  Flags = o->Flags;
  Value3 = o->Value3;
  Value4 = o->Value4;
  Text = o->Text;
  ShadowColour = o->ShadowColour;
  ShadowOffsetY = o->ShadowOffsetY;
  ShadowOffsetX = o->ShadowOffsetX;
  Angle = o->Angle;
  Alignment = o->Alignment;
  FontChoice = o->FontChoice;
  MakeFont();
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
}

bool TTextData::Read(tsl::ByteStream& f) {
  Clear();
  const int64_t start = f.Position();
  TData::Read(f);
  ReadU32(ShadowColour, f);
  if (ShortShadowOffsets()) {
    int16_t y = static_cast<int16_t>(ShadowOffsetY), x = static_cast<int16_t>(ShadowOffsetX);
    ReadI16(y, f);
    ReadI16(x, f);
    ShadowOffsetY = y;
    ShadowOffsetX = x;
  } else {
    ReadI32(ShadowOffsetY, f);
    ReadI32(ShadowOffsetX, f);
  }
  ReadI16(Angle, f);
  ReadU32(Alignment, f);
  Alignment &= 3;
  tsl::ReadFontRecord(FontChoice, f);
  MakeFont();
  ReadShortString(Text, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  return ContinueAtRecordEnd(f, start);
}

bool TTextData::Write(tsl::ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteU32(ShadowColour, f) && ok;
  ok = WriteI32(ShadowOffsetY, f) && ok;
  ok = WriteI32(ShadowOffsetX, f) && ok;
  ok = WriteI16(Angle, f) && ok;
  ok = WriteU32(Alignment, f) && ok;
  ok = tsl::WriteFontRecord(FontChoice, f) && ok;
  ok = WriteShortString(Text, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
