// dBase tables: a ".DBF" of fixed-length records and, with memo fields, a
// ".DBT" memo file beside it. The player writes one-record tables (the
// database export); opening a table and reading single fields belong to the
// same class. Files are reached through an installed opener: POSIX files by
// default, the Win32 file layer in the player (Windows paths).
//
// ".DBF" (little-endian):
//   0   u8      version: written 0x03 (no memo) or 0x83 (memo); read also 0x8B
//               (dBase IV memo file)
//   1   3 x u8  date of the last update: year modulo 100, month, day
//   4   u32     number of records
//   8   u16     header length = 32 x fields + 33
//   10  u16     record length = 1 + sum of the field lengths
//   12  20      zero
//   32  32 each field descriptors (TDBASE_FELD_DESCR), then 0x0D
//   header length: the records (deletion flag, then the fields), then 0x1A
// ".DBT": blocks of 512 bytes; block 0 holds the u32 next free block. A memo
// is its text, 0x1A and zeros to the end of its block; the field holds the
// first block number as decimal text. A dBase IV memo file gives its block
// size as the u16 at offset 20 and begins each memo with 8 bytes whose u32
// at 4 is the length (the 8 bytes included).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/bytestream.h"

#pragma pack(push, 1)
struct TDBASE_FELD_DESCR {
  char name[11];  // NUL-terminated, at most 10 characters
  char type;      // C D N L M B (F is read as N)
  uint8_t reserved1[4];
  uint8_t length;
  uint8_t decimals;
  uint8_t reserved2[14];
};
#pragma pack(pop)
static_assert(sizeof(TDBASE_FELD_DESCR) == 32, "descriptor layout");

// Opens `name` for reading (create false) or creates/truncates it for reading
// and writing; null on failure.
using TDBaseFileOpener = std::unique_ptr<tsl::ByteStream> (*)(const std::string& name, bool create);
// Null restores the POSIX default.
void SetDBaseFileOpener(TDBaseFileOpener opener);

class TDBASE {
public:
  enum Status : uint32_t { Usable = 0, UnknownVersion = 4, FileError = 6 };
  static constexpr int kBlockSize = 512;

  // A table to be created; nothing touches the disk before CreateFiles.
  TDBASE(const char* dbfName, uint32_t recordCount, int16_t fieldCount);
  // An existing table, opened for reading.
  explicit TDBASE(const char* dbfName);
  virtual ~TDBASE();
  TDBASE(const TDBASE&) = delete;
  TDBASE& operator=(const TDBASE&) = delete;

  // typeIndex 0..5 picks C D N L M B.
  bool SetField(int i, const char* name, int typeIndex, int length, int decimals);
  bool CreateFiles();
  void PutField(uint32_t record, int field, const char* text, int length);
  // The raw field bytes, or a memo's text. False (and `text` empty) for a
  // writable table, an invalid position, a missing memo.
  bool GetField(uint32_t record, int field, std::string& text, uint16_t* ok = nullptr);

  bool GetFieldDescr(int i, TDBASE_FELD_DESCR& out) const;
  bool HasMemo() const;
  int32_t FieldPosition(uint32_t record, int field) const;
  void WriteSpace(tsl::ByteStream& file);

  uint32_t Status() const { return status_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  uint32_t RecordCount() const;
  uint16_t HeaderLength() const;
  uint16_t RecordLength() const;
  uint8_t Version() const { return header_[0]; }
  bool DBaseIVMemo() const { return dBase4_ != 0; }
  int BlockSize() const { return blockSize_; }
  const std::string& DbtName() const { return dbtName_; }

protected:
  virtual void Init();

private:
  void SetUpdateDate();
  void ComputeFieldOffsets();
  void WriteHeader();
  void WriteBlankRecords();
  void WriteEofMarker();
  void SetU16(int at, uint16_t v);
  void SetU32(int at, uint32_t v);
  bool CheckOpenedLayout();
  bool ReadMemo(int64_t offset, bool binary, std::string& text);

  uint32_t status_ = Usable;
  uint8_t header_[32] = {};
  std::vector<TDBASE_FELD_DESCR> fields_;
  uint8_t memoBuffer_[kBlockSize] = {};
  std::vector<uint16_t> offsets_;
  uint32_t writable_ = 0;
  std::string dbfName_;
  std::string dbtName_;
  std::unique_ptr<tsl::ByteStream> dbf_;
  std::unique_ptr<tsl::ByteStream> dbt_;
  uint8_t dBase4_ = 0;
  int16_t blockSize_ = kBlockSize;
};

// Field names paired with numbers, optionally with a second column.
class TDBaseFieldMap {
public:
  TDBaseFieldMap(int16_t count, bool secondColumn);
  const char* GetName(int i) const;
  bool SetEntry(int i, const char* name, int32_t number);
  bool GetNumber(int i, int32_t& out) const;
  bool GetSecond(int i, int32_t& out) const;
  int FindByNumber(int32_t n) const;
  // Case-insensitive.
  int FindByName(const char* name) const;
  // For each name of `other`, the number of this map's first equal name
  // (case-insensitive) goes into other's second column.
  void MatchNames(TDBaseFieldMap& other) const;
  int Count() const { return count_; }

private:
  bool second_;
  int16_t count_;
  std::vector<std::string> names_;
  std::vector<int32_t> numbers_;
  std::vector<int32_t> seconds_;
};
