// The data records of the fast search field (kind 14, TFastSearchDataCore)
// and the help register (kind 20, THelpRegisterDataCore). Both store the
// same fields; they are two classes because a record assigned from the
// other kind's record takes nothing of it, and their background defaults
// differ. The Win32 side adds the font and brush made from the fields.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

// Stream layout after the TData base (offset 16):
//   4      background colour (RGB, or 0x80000000 + a system colour index)
//   82     font record; its colour is the text colour
//   2 + n  text (u16 length, n characters, no NUL): the field's initial text
//   2 + m  field name, the same way: the database field searched
//   32     reserved bytes, carried unread
// A record of this version is 138 + n + m bytes; a longer one is skipped to
// its stored end.
class TSearchFieldRecordCore : public TData {
public:
  static constexpr uint32_t kFixedSize = 138;

  void Init() override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  uint32_t BackgroundColour = 0xC0C0C0;
  tsl::FontRecord FontData;
  string Text;
  string FieldName;
  uint8_t Reserved[32] = {};

protected:
  // Copies the fields of `same` (a record of this class, or null: nothing
  // changes), then makes the run-time objects again.
  void AssignFrom(const TData* other, const TSearchFieldRecordCore* same);
};

class TFastSearchDataCore : public TSearchFieldRecordCore {
public:
  TFastSearchDataCore();
  void Assign(const TData* other) override;
};

// The button face (system colour 15).
constexpr uint32_t kHelpRegisterBackground = 0x8000000F;

class THelpRegisterDataCore : public TSearchFieldRecordCore {
public:
  THelpRegisterDataCore();
  void Init() override;
  void Assign(const TData* other) override;
};
