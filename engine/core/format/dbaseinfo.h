// TdBaseInfo: a page's database descriptor, stored behind the page's own
// object description: the database file relative to the project's folder, a
// flag byte and the names of the 33 columns.
#pragma once
#include <cstdint>

#include "foundation/core/streamenc.h"

class TObjectManager;

constexpr uint8_t kDbInUse = 0x01;          // the page uses the database
constexpr uint8_t kDbRowsInMemory = 0x02;   // table rows from the entries in memory
constexpr uint8_t kDbCategoriesCurrent = 0x04;
constexpr int kDbColumns = 33;
constexpr int kDbColumnNameSize = 11;

class TdBaseInfo {
public:
  TdBaseInfo();

  // Reads the descriptor; nothing more.
  void Read(tsl::ByteStream& f);
  // With the in-use flag, asks the open project to load the database into
  // `target` (null: its current page manager). The page loading asks once
  // the page was read, not while it reads.
  void RequestLoad(TObjectManager* target = nullptr) const;
  void Write(tsl::ByteStream& f) const;

  // Column name `column` (0 category, 1 subcategory, 2 data, 3.. fields) as
  // text, never past its 11 bytes; empty outside 0..32.
  string GetFieldName(int column) const;
  bool operator==(const TdBaseInfo& o) const;

  string Path;
  uint8_t Flags = 0;
  char FieldNames[kDbColumns][kDbColumnNameSize] = {};
  void* RecordStore = nullptr;  // open record store of a table database; never stored
};
