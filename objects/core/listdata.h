// The data records of the list kinds: TListItemDataCore for the list box
// (kind 9) and the transparent list (kind 19), TComboItemDataCore for the
// combo box (kind 11). Both store the same fields; they are two classes
// because a record assigned from the other kind's record takes nothing of
// it. The Win32 side adds the font and brush made from the fields.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/format/objectrecords.h"

// Flag bits of the records (the TData flags; default 5).
constexpr uint32_t kListVScroll = 0x001;
constexpr uint32_t kListHScroll = 0x002;
constexpr uint32_t kListPages = 0x004;         // page list; a choice goes to the page
constexpr uint32_t kListSecondNames = 0x008;   // pages show their second name
constexpr uint32_t kListFromEntry = 0x010;     // database entries from the start entry on
constexpr uint32_t kListCategory = 0x020;      // children of the category at the start depth
constexpr uint32_t kListPagesShown = 0x080;    // page list without going to a page
constexpr uint32_t kListWholeRows = 0x200;     // whole-row height
constexpr uint32_t kListDefaultFlags = kListVScroll | kListPages;

// Stream layout after the TData base (offset 16):
//   4      background colour
//   82     font record
//   2      page count n (i16)
//   4 × n  page numbers (i32)
//   4      start value: the start entry id (0x010) or the category depth (0x020)
//   12     reserved bytes, carried unread
// A record of this version is 120 + 4n bytes; a longer one is skipped to its
// stored end. A negative count reads as 0, and no more numbers are read than
// the stored length has room for.
class TListRecordCore : public TData {
public:
  static constexpr uint32_t kFixedSize = 120;

  void Init() override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  bool Has(uint32_t flag) const { return (Flags & flag) != 0; }
  int16_t PageCount() const { return static_cast<int16_t>(Pages.size()); }

  uint32_t BackgroundColour = 0xC0C0C0;
  tsl::FontRecord FontData;
  std::vector<int32_t> Pages;
  uint32_t StartValue = 0;
  uint8_t Reserved[12] = {};

protected:
  // Back to the defaults, then (when `other` is a record of the same class,
  // as `same` says) its fields; the run-time objects are made again.
  void AssignFrom(const TData* other, const TListRecordCore* same);
};

class TListItemDataCore : public TListRecordCore {
public:
  TListItemDataCore();
  void Assign(const TData* other) override;
};

class TComboItemDataCore : public TListRecordCore {
public:
  TComboItemDataCore();
  void Assign(const TData* other) override;
};
