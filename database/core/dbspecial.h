// Extras of tree-database entries: pictures for the tree item, a font, and
// actions run when navigation reaches the entry, kept in the .dbi file and
// found by id. Portable: pictures stay packed-DIB bytes here.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/format/actionstruct.h"
#include "foundation/core/streamenc.h"
#include "platform/core/cstring.h"

const uint32_t kDbiMagic = 0x0059B844;

enum TDBSpecialKind : uint16_t { kSpecialActions = 0, kSpecialPictures = 1, kSpecialFont = 2 };
const uint32_t kSpecialTransparent1 = 0x02;
const uint32_t kSpecialTransparent2 = 0x04;

struct TDBSpecial {
  TDBSpecial();
  int32_t Id = -1;
  uint32_t Flags = 0;
  uint16_t Kind = 0xFFFF;
  string Text1, Text2;
  std::vector<uint8_t> Picture1, Picture2;  // packed DIBs; empty: none
  uint32_t Color1 = 0, Color2 = 0;
  TActionStruct Actions[4];
  tsl::FontRecord Font;

  // The record in the file's order: colours before texts, then the actions,
  // the font, the two present bytes and the present pictures. False when
  // the stream ended inside the record.
  bool Read(tsl::ByteStream& f);
  bool Write(tsl::ByteStream& f);
};

class TDBSpecialManager {
public:
  // Empties the manager, then reads a .dbi file; a wrong magic leaves it
  // empty. Reading stops at the first record the file cannot hold.
  void Load(tsl::ByteStream& f);
  bool Save(tsl::ByteStream& f);
  // Inserts by id, after records with the same id.
  void Add(std::unique_ptr<TDBSpecial> r);
  // Index of a record with that id, -1 when there is none.
  int Find(int32_t id) const;
  // The record with that id and kind, or null.
  const TDBSpecial* FindRecord(int32_t id, uint16_t kind) const;
  int Count() const { return static_cast<int>(records_.size()); }
  const TDBSpecial& At(int i) const { return *records_[static_cast<size_t>(i)]; }

  uint32_t HeaderValue = 0;

private:
  std::vector<std::unique_ptr<TDBSpecial>> records_;
};
