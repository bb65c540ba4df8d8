// "STANDARD.DAT": the per-kind defaults of new objects that the editing mode
// starts from. The file has no header, no count and no version: for every
// kind 0-21 in order a magic, the kind's default description in the stored
// object layout and the kind's data record. It is read in the newest layout
// this program writes. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>

#include "engine/core/format/objectkinds.h"
#include "engine/core/format/objectrecords.h"
#include "engine/core/format/pagerecord.h"

constexpr uint32_t kStandardDataMagic = 0x79EE3B68;
constexpr char kStandardDataFile[] = "STANDARD.DAT";

// A description and a data record for every kind; `Filled` once made.
struct TKindDefaults {
  std::unique_ptr<TObjectInfo> Infos[kObjectKinds];
  std::unique_ptr<TData> Data[kObjectKinds];
  bool Filled = false;
};

// The built-in default description of a new object (every kind has the
// same): default target, rectangle and property, visible from the start.
TObjectInfo DefaultKindInfo();

// Every kind's slots with the built-in defaults, the data records from
// `creator` (a kind it has no record for keeps an empty slot); sets Filled.
void MakeKindDefaults(TKindDefaults& tables, const TDataCreator& creator);

// Reads the records of `f` over the tables, kind after kind, until a magic
// is short or wrong, a record runs past the end of the file, or all kinds
// are read; a kind not read keeps what it had. Records are read into fresh
// objects from `creator` and take a slot only when whole. Returns the
// number of kinds read. Nothing is reported.
int ReadKindDefaults(tsl::ByteStream& f, TKindDefaults& tables, const TDataCreator& creator);

// The same sequence for every kind; a kind without a data record gets one
// from `creator` for the writing. False when a write fell short.
bool WriteKindDefaults(tsl::ByteStream& f, TKindDefaults& tables, const TDataCreator& creator);
