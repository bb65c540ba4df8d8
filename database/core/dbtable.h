// The table-format database: a record store (.dbd starting with the tag
// "DBD") of 33-column rows and a key catalogue (.dbx) naming categories,
// subcategories and keys with each one's row offset. The player converts it
// into a tree database at load and then lets the catalogue go.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "database/core/dbload.h"
#include "foundation/core/index/keycat.h"
#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

const int kTableColumns = 33;       // CAT, SUBCAT, DATA and 30 fields
const int kTableFieldColumns = 30;  // field n is column n + 3
const uint32_t kReadCacheInitial = 64000;

// The one read buffer of all row reads: it grows to the longest row read and
// never shrinks, so a load does not allocate per row.
class TReadCache {
public:
  static TReadCache& Instance();
  // Room for `n` bytes; the buffer grows only.
  uint8_t* Reserve(uint32_t n);
  uint32_t Capacity() const { return static_cast<uint32_t>(buffer_.size()); }

private:
  TReadCache() : buffer_(kReadCacheInitial) {}
  std::vector<uint8_t> buffer_;
};

// One row of the record store in memory, its columns in order.
struct TdbfMemoryKey {
  string Columns[kTableColumns];

  // Reads the row at the stream's position into the first `count` columns
  // and empties the others. A row length below 0 or beyond the file is
  // refused (all columns empty); a column running past the row ends the
  // row there, leaving it and the rest empty. False for either fault.
  bool Read(tsl::ByteStream& f, int count);
};

// Builds the tree database from the table-format pair `path` names (.dbd
// and .dbx of the same name): a category per catalogue category, a
// subcategory per subcategory, a data entry per key, fields named by the
// descriptor's column names (defaults without one). The extras stay; the
// catalogue ends empty. False, with nothing changed, when `path` is no
// table-format database.
bool LoadIndexedDatabase(TDbSlot slot, const string& path, tsl::TPackHost& host);
// Appends empty values until the record holds `count`.
void PadDataValues(TDBData& data, int count);
// The text without every trailing `c`; empty for a null text.
string TrimTrailingChar(const char* text, char c);

// The conversion itself, into `m` (emptied and its counters reset first),
// from the open record store and catalogue (either may be null). When the
// descriptor keeps rows in memory and `keep` is given, the catalogue goes
// there with every key's row loaded and owned by its entry (the export
// reads them); otherwise it is let go.
void ConvertTable(TDBNodeManager& m, tsl::ByteStream* store, tsl::ByteStream* catalogue, const TdBaseInfo& info,
                  std::unique_ptr<TKeyEntryArrayManager>* keep = nullptr);

// A catalogue entry's row: the entry's own (kept in memory) or one read
// from the record store for the caller.
struct TEntryRow {
  const TdbfMemoryKey* Row = nullptr;
  std::unique_ptr<TdbfMemoryKey> Owned;  // set when read from the store
};
// The row of `entry`: none without the in-use flag; with rows in memory (or
// in edit mode) the entry's own row when it owns one; otherwise read from
// the descriptor's record store (a tsl::ByteStream, which the player never
// opens) at the entry's offset.
bool LoadEntryRecord(const TdBaseInfo& info, bool editMode, const TKeyEntry& entry, TEntryRow& out);

// Writes a table-format pair: rows appended to the record store, keys filed
// in the catalogue with their rows' offsets. For tools, tests and seeds.
class TTableWriter {
public:
  explicit TTableWriter(int16_t fieldCount);
  // Files a key under (category, subcategory) with the row's offset (no row:
  // offset 0). An empty key gives the subcategory's own row, an empty
  // subcategory too the category's.
  void Add(const char* category, const char* subcategory, const char* key, const TdbfMemoryKey* row);
  // The record store and the catalogue file.
  std::vector<uint8_t> Store() const { return store_.Data(); }
  std::vector<uint8_t> Catalogue();

private:
  uint32_t WriteRow(const TdbfMemoryKey& row);
  int16_t fields_;
  tsl::MemoryStream store_;
  TKeyEntryArrayManager catalogue_;
};
