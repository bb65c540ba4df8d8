// The object description records of the project file: who an object is
// (LinkTarget), where it lies (TObjectRect), how it looks and what it does
// (TProperty with its TToolTipInfo and action list), its timing
// (TObjectInfoTail), all four together (TObjectInfo); sets of identifiers
// (TLongArray); and TData, the base of every object kind's data record.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/format/actionstruct.h"
#include "engine/core/format/objectkinds.h"
#include "foundation/core/streamenc.h"

namespace tsl {
struct PointL { int32_t x, y; };
struct SizeL { int32_t cx, cy; };

// The font choice that InitChooseFontData makes: size as the cell height,
// optionally TrueType only, the face (Arial by default), black.
FontRecord MakeFontRecord(int32_t size, bool trueTypeOnly, const char* face = nullptr);
}  // namespace tsl


// The identity of an object or page (74 bytes stored raw).
struct LinkTarget {
  LinkTarget() = default;
  // Given no name, the default name is composed.
  LinkTarget(int16_t kind, uint32_t number, int32_t reference, const char* name = nullptr);

  // The name, composed and stored first when the field is empty: the kind's
  // name ("Seite#" for a page) and number + 1, at most 31 characters.
  string MakeName();
  // The name field as text (never past its 32 bytes).
  string GetName() const;
  void SetName(const char* name);
  // Two targets are the same object when their numbers are equal.
  bool operator==(const LinkTarget& o) const { return Number == o.Number; }

  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;

  int16_t Kind = kKindNone;
  uint32_t Number = 0;
  int32_t Reference = -1;
  char Name[32] = {};
  char Name2[32] = {};
};

// An object's rectangle in page pixels and its layer (18 bytes stored).
struct TObjectRect {
  bool operator==(const TObjectRect& o) const {
    return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom && Layer == o.Layer;
  }
  bool operator!=(const TObjectRect& o) const { return !(*this == o); }
  // The layer first, then left, top, right, bottom.
  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;

  int32_t Left = 0, Top = 0, Right = 100, Bottom = 100;
  uint16_t Layer = 0;
};

// An object's tooltip.
class TToolTipInfo {
public:
  TToolTipInfo();
  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;
  // Loads the picture file (resolved through the open project); true when a
  // picture resulted.
  bool LoadPicture();

  uint16_t Mode = 0;  // 1: the tooltip shows the picture file
  uint32_t Background = 0xC0C0C0;
  string Text = "ToolTip";
  tsl::FontRecord Font;
  uint32_t Value = 0;
  string PictureFile;
  uint8_t Reserved20[20] = {};
  std::vector<uint8_t> Picture;  // packed DIB; never stored
};

// Property flag bits (TProperty::Flags), the one table of them. A bit that
// means something else to some readers has a line for each meaning.
constexpr uint32_t kPropShared = 0x01;          // on every page, stored with data in the first shared list
constexpr uint32_t kPropOwnCache = 0x01;        // page build: its cached picture is dropped
constexpr uint32_t kPropStartsOnce = 0x01;      // media kinds: started once, then resumed
constexpr uint32_t kPropSharedDataless = 0x02;  // on every page, data per page
constexpr uint32_t kPropPageObject = 0x04;      // stored in its page's object list
constexpr uint32_t kPropPlacement = kPropShared | kPropSharedDataless | kPropPageObject;
constexpr uint32_t kPropNoEditCross = 0x20;     // editing mode: no cross over it
constexpr uint32_t kPropFill = 0x40;            // the rectangle is filled with the property colour
constexpr uint32_t kPropScaleSize = 0x80;       // a page scale scales the size too; the button keeps its size
constexpr uint32_t kPropStretch = 0x80;         // pictures: the picture fills the rectangle
constexpr uint32_t kPropMayResize = 0x80;       // editing mode: its size may change
constexpr uint32_t kPropMayMove = 0x100;        // editing mode: its position may change
constexpr uint32_t kPropShowAtOnce = 0x1000;    // page build: shown at once, its medium started later
constexpr uint32_t kPropMediaStart = 0x1000;    // media kinds: StartMediaObject starts the medium
constexpr uint32_t kPropEditStaysHidden = 0x1000;  // editing mode: a windowed object stays hidden
constexpr uint32_t kPropHScroll = 0x4000;       // documents, the tree: a horizontal scroll bar
constexpr uint32_t kPropVScroll = 0x8000;       // documents, the tree: a vertical scroll bar
constexpr uint32_t kPropKeyMember = 0x20000;    // a member of the page's key (focus) order
constexpr uint32_t kPropFocusFrame = 0x40000;   // a focus frame is drawn while it has the focus
constexpr uint32_t kPropKeepAspect = 0x80000;   // pictures: with kPropStretch, fitted and centred
constexpr uint32_t kPropFileShows = 0x200000;   // an empty file name hides it, another shows it
constexpr uint32_t kPropToolTip = 0x400000;
constexpr uint32_t kPropEditHidden = 0x800000;  // hidden in edit mode
constexpr uint32_t kPropHasActions = 0x1000000;
constexpr uint32_t kPropHasText = 0x2000000;

class TProperty {
public:
  TProperty();
  TProperty(const TProperty& o);
  TProperty& operator=(const TProperty& o);
  // A moved-from property keeps an (empty) action list.
  TProperty(TProperty&& o) noexcept;
  TProperty& operator=(TProperty&& o) noexcept;
  ~TProperty() = default;

  // Compares the head: flags, border style, point, extent, colour, byte1
  // and transition.
  bool operator==(const TProperty& o) const;
  void Read(tsl::ByteStream& f);
  // Sets the flags of the action list and the text first.
  void Write(tsl::ByteStream& f);
  string GetShortName() const;

  uint32_t Flags = 0x184;
  uint16_t BorderStyle = 0;
  tsl::PointL Point{1, 1};
  tsl::SizeL Extent{-1, -1};
  uint32_t Colour = 0;
  uint8_t Byte1 = 0;
  uint8_t Transition = 0;  // a page's transition effect when it is left
  char ShortName[11] = {};
  uint8_t Byte3 = 0;
  uint8_t Reserved4[4] = {};
  TToolTipInfo ToolTip;
  std::unique_ptr<TSActionStructArrayManager> Actions;  // never null
  uint32_t Value32 = 0;
  string Text;

private:
  // The fields that copying and moving take alike.
  void AssignFixedFields(const TProperty& o);
};

// Timing flag bits (TObjectInfoTail::Flags).
constexpr uint32_t kTailVisible = 0x1;  // shown from the page start
constexpr uint32_t kTailStays = 0x2;    // stays visible once shown

// Timing of an object (or, for a page, of its transition and automatic
// advance): flags, the time unit in ms and four spans counted in units.
struct TObjectInfoTail {
  TObjectInfoTail() = default;
  TObjectInfoTail(const TObjectInfoTail&) = default;
  TObjectInfoTail& operator=(const TObjectInfoTail&) = default;

  void Init(uint32_t span0, uint32_t span1, uint32_t span2, uint32_t span3, uint32_t flags);
  void Assign(const TObjectInfoTail& o) { *this = o; }
  bool operator==(const TObjectInfoTail& o) const;
  bool operator!=(const TObjectInfoTail& o) const { return !(*this == o); }
  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;
  // Sum of the four spans.
  uint32_t Total() const;
  // Milliseconds of `count` spans from `first`: the unit times their sum,
  // counted in 64 bits since both come from the file, and capped at
  // kLongestDuration.
  uint32_t Duration(int first, int count) const;
  static constexpr uint32_t kLongestDuration = 0x7FFFFFFF;
  // A new time unit (at least 125): the spans are converted to it.
  bool Rescale(uint32_t unit);
  // False for a sum of 0x7FFFFFFF, a negative first span or a running sum
  // that decreases; otherwise true when limit < 1 or the sum is within it.
  bool IsValid(int32_t limit) const;

  uint32_t Flags = kTailVisible;
  uint32_t Unit = 125;
  uint32_t Spans[4] = {};
};

// The description read before every object's data, and a page's own.
struct TObjectInfo {
  // Numbers, rectangles, property heads and tails.
  bool operator==(const TObjectInfo& o) const;
  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f);

  LinkTarget Target;
  TObjectRect Rect;
  TProperty Property;
  TObjectInfoTail Tail;
};

// A set of 32-bit identifiers: u16 count, then the values.
class TLongArray {
public:
  int Count() const { return static_cast<int>(Values.size()); }
  void Clear() { Values.clear(); }
  bool IsValidIndex(int i) const { return i >= 0 && i < Count(); }
  bool Get(int i, uint32_t& value) const;
  bool Swap(int i, int j);
  bool Find(uint32_t value, int& index) const;
  // False when the value is present already.
  bool Add(uint32_t value);
  bool Remove(uint32_t value);
  bool operator==(const TLongArray& o) const { return Values == o.Values; }
  // A count the file cannot hold gives an empty array.
  void Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;

  std::vector<uint32_t> Values;
};

// Base of the data record of every object kind: four u32 (the first is the
// record length in the kinds' records).
class TData {
public:
  TData() = default;
  TData(const TData&) = default;
  TData& operator=(const TData&) = default;
  virtual void Init();
  virtual ~TData() = default;
  // Releases the record's run-time objects.
  virtual void Clear() {}
  // Makes the run-time objects again from the stored fields.
  virtual void Reload() {}
  // Back to a complete default record, run-time objects included: what a
  // shared object becomes on a page that gives it no record.
  void Reset() {
    Clear();
    TData::Init();
    Init();
  }
  // Copies the base fields, unless `other` is null or this record.
  virtual void Assign(const TData* other);
  // False: the record runs past the end of the file; the object is dropped
  // and that part of the page ends.
  virtual bool Read(tsl::ByteStream& f);
  virtual bool Write(tsl::ByteStream& f);

  // The record end of every kind's record, after its fields were read from
  // `start` on: continues at start + RecordLength when that lies at or after
  // the current position and inside the file; a length of zero or one
  // shorter than what was read continues at the current position; false when
  // the length runs past the end of the file.
  bool ContinueAtRecordEnd(tsl::ByteStream& f, int64_t start) const;
  // After a kind's Write from `start`: stores the bytes written as the record
  // length, in the record and over its first four bytes.
  void StoreRecordLength(tsl::ByteStream& f, int64_t start);

  uint32_t RecordLength = 0;
  uint32_t Flags = 0x1000;
  uint32_t Value3 = 0xFFFFFFFF;
  uint32_t Value4 = 0xFFFFFFFF;
};

// A data record of a kind without its own class: the base and the bytes the
// stored record length covers behind it, kept as they are.
class TRawData : public TData {
public:
  void Init() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  std::vector<uint8_t> Bytes;
};
