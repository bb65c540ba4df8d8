// Export of the current database entry: the data fields that hold a value,
// written as a one-record dBase table (through the table writer) or as an
// RTF document with a two-row table (names above, values below). The
// entry and the table come through interfaces: the player's over the key
// catalogue, the entry record and TDBASE; the tests' fakes.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDBASE;
class TKeyEntryArrayManager;
class TdBaseInfo;

constexpr int kEntryKeyFields = 3;    // the key fields before the data fields
constexpr int kEntryDataFields = 30;  // record fields 4 to 33
constexpr int kEntryFieldCount = kEntryKeyFields + kEntryDataFields;
constexpr size_t kExportMemoFrom = 250;  // values this long become memo fields
constexpr int kExportColumnTwips = 1120;  // 20 mm: 56 points of 20 twips

using TEntryRecord = std::array<std::string, kEntryFieldCount>;

class TExportEntrySource {
public:
  virtual ~TExportEntrySource() = default;
  // The record of the key catalogue's current entry; false when there is
  // no catalogue, a selection ordinal is out of range, the entry cannot be
  // fetched or it has no record.
  virtual bool LoadCurrentRecord(TEntryRecord& record) = 0;
  // The descriptor's name of record field `index` (0 to 32).
  virtual std::string FieldName(int index) = 0;
};

// What the dBase writer needs of the table class.
class TExportTableWriter {
public:
  enum TFieldType { Character = 0, Memo = 4 };
  virtual ~TExportTableWriter() = default;
  virtual bool Begin(const std::string& file, int fieldCount) = 0;
  virtual void SetField(int index, const std::string& name, TFieldType type, int length, int decimals) = 0;
  virtual bool CreateFiles() = 0;
  virtual void PutField(int index, const std::string& value) = 0;
  // Closes the table files (also after a failed CreateFiles).
  virtual void End() = 0;
};

// The player's entry: the catalogue's current selection (category,
// subcategory and entry ordinals), the entry fetched from its subcategory's
// key tree, its row from LoadEntryRecord, the names from the descriptor.
class TCatalogueEntrySource : public TExportEntrySource {
public:
  TCatalogueEntrySource(TKeyEntryArrayManager* catalogue, const TdBaseInfo& info, bool editMode)
      : catalogue_(catalogue), info_(info), editMode_(editMode) {}
  bool LoadCurrentRecord(TEntryRecord& record) override;
  std::string FieldName(int index) override;

private:
  TKeyEntryArrayManager* catalogue_;
  const TdBaseInfo& info_;
  bool editMode_;
};

// The table writer over TDBASE: a one-record table.
class TDBaseExportTable : public TExportTableWriter {
public:
  TDBaseExportTable();
  ~TDBaseExportTable() override;
  bool Begin(const std::string& file, int fieldCount) override;
  void SetField(int index, const std::string& name, TFieldType type, int length, int decimals) override;
  bool CreateFiles() override;
  void PutField(int index, const std::string& value) override;
  void End() override;

private:
  std::unique_ptr<TDBASE> table_;
};

struct TExportField {
  std::string Name;  // blanks removed
  std::string Value;
};

// The data fields with a value, in field order.
std::vector<TExportField> ExportedFields(const TEntryRecord& record, TExportEntrySource& source);

// True when a table was written.
bool ExportEntryToDbf(const std::string& file, TExportEntrySource& source, TExportTableWriter& table);

// The whole RTF document for the fields (an empty list gives two rows
// without cells).
std::string EntryRtf(const std::vector<TExportField>& fields, const std::string& title);
// Tab, line feed, backslash and the braces made RTF.
std::string RtfEscape(const std::string& value);

// Which writers a chosen name asks for (case ignored, anywhere in the name).
bool ExportWantsRtf(const std::string& name);
bool ExportWantsDbf(const std::string& name);
