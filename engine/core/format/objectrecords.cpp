#include "engine/core/format/objectrecords.h"

#include <cstdio>
#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

namespace tsl {
FontRecord MakeFontRecord(int32_t size, bool trueTypeOnly, const char* face) {
  FontRecord r;
  r.Flags = trueTypeOnly ? 0x50103 : 0x10103;
  r.lfHeight = size;
  if (trueTypeOnly) r.lfOutPrecision = 7;
  SetFixedFieldText(r.lfFaceName, sizeof r.lfFaceName, face ? face : "Arial");
  r.PointSize = size * 10;
  r.Color = 0;
  r.FontType = 0x6000;
  return r;
}
}  // namespace tsl

// LinkTarget

LinkTarget::LinkTarget(int16_t kind, uint32_t number, int32_t reference, const char* name)
    : Kind(kind), Number(number), Reference(reference) {
  if (name)
    SetName(name);
  else
    MakeName();
}

string LinkTarget::MakeName() {
  if (Name[0] == '\0') {
    char buf[64];
    const char* stem = Kind == kKindPage ? "Seite#" : ObjectKindName(Kind);
    std::snprintf(buf, sizeof buf, "%s%u", stem, static_cast<unsigned>(Number + 1));
    SetFixedFieldText(Name, sizeof Name, buf);
  }
  return GetName();
}

string LinkTarget::GetName() const { return FixedFieldText(Name, sizeof Name); }

void LinkTarget::SetName(const char* name) { SetFixedFieldText(Name, sizeof Name, name); }

void LinkTarget::Read(ByteStream& f) {
  uint8_t b[74];
  if (!ReadFixed(b, sizeof b, f)) return;
  std::memcpy(&Kind, b, 2);
  std::memcpy(&Number, b + 2, 4);
  std::memcpy(&Reference, b + 6, 4);
  std::memcpy(Name, b + 10, 32);
  std::memcpy(Name2, b + 42, 32);
}

void LinkTarget::Write(ByteStream& f) const {
  uint8_t b[74];
  std::memcpy(b, &Kind, 2);
  std::memcpy(b + 2, &Number, 4);
  std::memcpy(b + 6, &Reference, 4);
  std::memcpy(b + 10, Name, 32);
  std::memcpy(b + 42, Name2, 32);
  WriteFixed(b, sizeof b, f);
}

// TObjectRect

void TObjectRect::Read(ByteStream& f) {
  ReadU16(Layer, f);
  struct { int32_t left, top, right, bottom; } r{Left, Top, Right, Bottom};
  ReadRect(r, f);
  Left = r.left; Top = r.top; Right = r.right; Bottom = r.bottom;
}

void TObjectRect::Write(ByteStream& f) const {
  WriteU16(Layer, f);
  const struct { int32_t left, top, right, bottom; } r{Left, Top, Right, Bottom};
  WriteRect(r, f);
}

// TToolTipInfo

TToolTipInfo::TToolTipInfo() : Font(MakeFontRecord(17, true, "Arial")) {}

void TToolTipInfo::Read(ByteStream& f) {
  Picture.clear();
  ReadU16(Mode, f);
  ReadU32(Background, f);
  ReadShortString(Text, f);
  ReadFontRecord(Font, f);
  ReadU32(Value, f);
  if (Mode == 1) ReadShortString(PictureFile, f);
  ReadFixed(Reserved20, sizeof Reserved20, f);
  if (Mode == 1 && GetOpenProject()) LoadPicture();
}

void TToolTipInfo::Write(ByteStream& f) const {
  WriteU16(Mode, f);
  WriteU32(Background, f);
  WriteShortString(Text, f);
  WriteFontRecord(Font, f);
  WriteU32(Value, f);
  if (Mode == 1) WriteShortString(PictureFile, f);
  WriteFixed(Reserved20, sizeof Reserved20, f);
}

bool TToolTipInfo::LoadPicture() {
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

// TProperty

TProperty::TProperty() : Actions(std::make_unique<TSActionStructArrayManager>()) {}

TProperty::TProperty(const TProperty& o) : TProperty() { *this = o; }

void TProperty::AssignFixedFields(const TProperty& o) {
  Flags = o.Flags;
  BorderStyle = o.BorderStyle;
  Point = o.Point;
  Extent = o.Extent;
  Colour = o.Colour;
  Byte1 = o.Byte1;
  Transition = o.Transition;
  std::memcpy(ShortName, o.ShortName, sizeof ShortName);
  Byte3 = o.Byte3;
  std::memcpy(Reserved4, o.Reserved4, sizeof Reserved4);
}

TProperty& TProperty::operator=(const TProperty& o) {
  if (this == &o) return *this;
  AssignFixedFields(o);
  ToolTip = o.ToolTip;
  CopyActionList(*Actions, *o.Actions);
  Value32 = o.Value32;
  Text = o.Text;
  return *this;
}

TProperty::TProperty(TProperty&& o) noexcept : TProperty() { *this = std::move(o); }

TProperty& TProperty::operator=(TProperty&& o) noexcept {
  if (this == &o) return *this;
  AssignFixedFields(o);
  ToolTip = std::move(o.ToolTip);
  Actions.swap(o.Actions);
  Value32 = o.Value32;
  Text = std::move(o.Text);
  return *this;
}

bool TProperty::operator==(const TProperty& o) const {
  return Flags == o.Flags && BorderStyle == o.BorderStyle && Point.x == o.Point.x &&
         Point.y == o.Point.y && Extent.cx == o.Extent.cx && Extent.cy == o.Extent.cy &&
         Colour == o.Colour && Byte1 == o.Byte1 && Transition == o.Transition;
}

string TProperty::GetShortName() const { return FixedFieldText(ShortName, sizeof ShortName); }

void TProperty::Read(ByteStream& f) {
  ReadU32(Flags, f);
  ReadU16(BorderStyle, f);
  ReadPoint(Point, f);
  ReadSize(Extent, f);
  ReadU32(Colour, f);
  ReadU8(Byte1, f);
  ReadU8(Transition, f);
  ReadU8(Byte3, f);
  ReadFixed(ShortName, sizeof ShortName, f);
  ReadFixed(Reserved4, sizeof Reserved4, f);
  if (RecordVersionAbove(3, 1)) ToolTip.Read(f);
  // A record without actions has none, also when this property held some.
  if (Flags & kPropHasActions)
    ReadActionList(*Actions, f);
  else
    Actions->Flush(true);
  if (Flags & kPropHasText) {
    ReadU32(Value32, f);
    ReadShortString(Text, f);
  } else {
    Text = GetShortName();
  }
}

void TProperty::Write(ByteStream& f) {
  Flags |= kPropHasActions | kPropHasText;
  WriteU32(Flags, f);
  WriteU16(BorderStyle, f);
  WritePoint(Point, f);
  WriteSize(Extent, f);
  WriteU32(Colour, f);
  WriteU8(Byte1, f);
  WriteU8(Transition, f);
  WriteU8(Byte3, f);
  WriteFixed(ShortName, sizeof ShortName, f);
  WriteFixed(Reserved4, sizeof Reserved4, f);
  ToolTip.Write(f);
  WriteActionList(*Actions, f);
  WriteU32(Value32, f);
  WriteShortString(Text, f);
}

// TObjectInfoTail

void TObjectInfoTail::Init(uint32_t span0, uint32_t span1, uint32_t span2, uint32_t span3,
                           uint32_t flags) {
  Flags = flags;
  Unit = 125;
  Spans[0] = span0;
  Spans[1] = span1;
  Spans[2] = span2;
  Spans[3] = span3;
}

bool TObjectInfoTail::operator==(const TObjectInfoTail& o) const {
  return Flags == o.Flags && Unit == o.Unit && std::memcmp(Spans, o.Spans, sizeof Spans) == 0;
}

void TObjectInfoTail::Read(ByteStream& f) {
  uint32_t v[6] = {Flags, Unit, Spans[0], Spans[1], Spans[2], Spans[3]};
  if (!ReadFixed(v, sizeof v, f)) return;
  Flags = v[0];
  Unit = v[1];
  std::memcpy(Spans, v + 2, sizeof Spans);
}

void TObjectInfoTail::Write(ByteStream& f) const {
  const uint32_t v[6] = {Flags, Unit, Spans[0], Spans[1], Spans[2], Spans[3]};
  WriteFixed(v, sizeof v, f);
}

uint32_t TObjectInfoTail::Total() const { return Spans[0] + Spans[1] + Spans[2] + Spans[3]; }

uint32_t TObjectInfoTail::Duration(int first, int count) const {
  uint64_t spans = 0;
  for (int i = first; i < first + count && i < 4; ++i)
    if (i >= 0) spans += Spans[i];
  if (Unit != 0 && spans > kLongestDuration / Unit) return kLongestDuration;
  return static_cast<uint32_t>(spans * Unit);
}

bool TObjectInfoTail::Rescale(uint32_t unit) {
  if (unit < 125) return false;
  for (uint32_t& s : Spans)
    s = static_cast<uint32_t>(static_cast<uint64_t>(Unit) * s / unit);
  Unit = unit;
  return true;
}

bool TObjectInfoTail::IsValid(int32_t limit) const {
  if (static_cast<int32_t>(Spans[0]) < 0) return false;
  // Running sums as the 32-bit values they are stored in.
  int32_t sum = 0;
  for (uint32_t s : Spans) {
    const int32_t next = static_cast<int32_t>(static_cast<uint32_t>(sum) + s);
    if (next < sum) return false;
    sum = next;
  }
  if (sum == 0x7FFFFFFF) return false;
  return limit < 1 || sum <= limit;
}

// TObjectInfo

bool TObjectInfo::operator==(const TObjectInfo& o) const {
  return Target == o.Target && Rect == o.Rect && Property == o.Property && Tail == o.Tail;
}

void TObjectInfo::Read(ByteStream& f) {
  Target.Read(f);
  Rect.Read(f);
  Property.Read(f);
  Tail.Read(f);
}

void TObjectInfo::Write(ByteStream& f) {
  Target.Write(f);
  Rect.Write(f);
  Property.Write(f);
  Tail.Write(f);
}

// TLongArray

bool TLongArray::Get(int i, uint32_t& value) const {
  if (!IsValidIndex(i)) return false;
  value = Values[static_cast<size_t>(i)];
  return true;
}

bool TLongArray::Swap(int i, int j) {
  if (!IsValidIndex(i) || !IsValidIndex(j)) return false;
  std::swap(Values[static_cast<size_t>(i)], Values[static_cast<size_t>(j)]);
  return true;
}

bool TLongArray::Find(uint32_t value, int& index) const {
  for (size_t i = 0; i < Values.size(); ++i)
    if (Values[i] == value) {
      index = static_cast<int>(i);
      return true;
    }
  return false;
}

bool TLongArray::Add(uint32_t value) {
  int at;
  if (Find(value, at) || Values.size() >= 0xFFFF) return false;
  Values.push_back(value);
  return true;
}

bool TLongArray::Remove(uint32_t value) {
  int at;
  if (!Find(value, at)) return false;
  Values.erase(Values.begin() + at);
  return true;
}

void TLongArray::Read(ByteStream& f) {
  uint16_t count = 0;
  if (!ReadFixed(&count, 2, f)) return;
  Values.clear();
  if (count == 0) return;
  const int64_t left = f.Remaining();
  if (left >= 0 && static_cast<int64_t>(count) * 4 > left) {
    f.Seek(0, ByteStream::end);
    return;
  }
  Values.assign(count, 0);
  ReadFixed(Values.data(), static_cast<uint32_t>(count) * 4, f);
}

void TLongArray::Write(ByteStream& f) const {
  const size_t n = std::min<size_t>(Values.size(), 0xFFFF);
  WriteU16(static_cast<uint16_t>(n), f);
  if (n) WriteFixed(Values.data(), static_cast<uint32_t>(n * 4), f);
}

// TData

void TData::Init() {
  RecordLength = 0;
  Flags = 0x1000;
  Value3 = 0xFFFFFFFF;
  Value4 = 0xFFFFFFFF;
}

void TData::Assign(const TData* other) {
  if (!other || other == this) return;
  RecordLength = other->RecordLength;
  Flags = other->Flags;
  Value3 = other->Value3;
  Value4 = other->Value4;
}

bool TData::Read(ByteStream& f) {
  uint32_t v[4] = {RecordLength, Flags, Value3, Value4};
  if (ReadFixed(v, sizeof v, f)) {
    RecordLength = v[0];
    Flags = v[1];
    Value3 = v[2];
    Value4 = v[3];
  }
  return true;
}

bool TData::Write(ByteStream& f) {
  const uint32_t v[4] = {RecordLength, Flags, Value3, Value4};
  return WriteFixed(v, sizeof v, f);
}

bool TData::ContinueAtRecordEnd(ByteStream& f, int64_t start) const {
  return tsl::ContinueAtRecordEnd(f, start, RecordLength) == RecordEnd::Continued;
}

void TData::StoreRecordLength(ByteStream& f, int64_t start) {
  RecordLength = PatchRecordLength(f, start);
}

// TRawData

void TRawData::Init() {
  TData::Init();
  Bytes.clear();
}

void TRawData::Assign(const TData* other) {
  if (!other || other == this) return;
  TData::Assign(other);
  const auto* raw = dynamic_cast<const TRawData*>(other);
  Bytes = raw ? raw->Bytes : std::vector<uint8_t>();
}

bool TRawData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  Bytes.clear();
  TData::Read(f);
  const int64_t len = f.Length();
  if (RecordLength && len >= 0 && start + static_cast<int64_t>(RecordLength) > len) return false;
  const int64_t here = f.Position();
  const int64_t end = start + static_cast<int64_t>(RecordLength);
  if (end > here) {
    Bytes.resize(static_cast<size_t>(end - here));
    if (f.Read(Bytes.data(), static_cast<uint32_t>(Bytes.size())) != Bytes.size()) Bytes.clear();
  }
  return ContinueAtRecordEnd(f, start);
}

bool TRawData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  if (!Bytes.empty()) ok = WriteFixed(Bytes.data(), static_cast<uint32_t>(Bytes.size()), f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
