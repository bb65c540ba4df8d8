#include "actions/core/entryexport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "database/core/dbtable.h"
#include "database/core/tdbase.h"
#include "engine/core/format/dbaseinfo.h"
#include "foundation/core/index/keycat.h"

namespace {

std::string WithoutBlanks(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

bool ContainsNoCase(const std::string& s, const char* part) {
  std::string l = s;
  for (char& c : l) c = char(std::tolower(static_cast<unsigned char>(c)));
  return l.find(part) != std::string::npos;
}

std::string Printf(const char* format, int value) {
  char buf[256];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

}  // namespace

std::vector<TExportField> ExportedFields(const TEntryRecord& record, TExportEntrySource& source) {
  std::vector<TExportField> out;
  for (int k = 0; k < kEntryDataFields; ++k) {
    const std::string& v = record[size_t(kEntryKeyFields + k)];
    if (!v.empty()) out.push_back({WithoutBlanks(source.FieldName(kEntryKeyFields + k)), v});
  }
  return out;
}

bool ExportEntryToDbf(const std::string& file, TExportEntrySource& source, TExportTableWriter& table) {
  TEntryRecord record;
  if (!source.LoadCurrentRecord(record)) return false;
  const std::vector<TExportField> fields = ExportedFields(record, source);
  if (fields.empty()) return false;
  if (!table.Begin(file, int(fields.size()))) return false;
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t len = fields[i].Value.size();
    const bool memo = len >= kExportMemoFrom;
    // A character field's decimal count is the high byte of its length to
    // the readers that allow longer character fields: anything but 0 there
    // makes them read across the whole record.
    table.SetField(int(i), fields[i].Name, memo ? TExportTableWriter::Memo : TExportTableWriter::Character,
                   int(std::max<size_t>(len, 1)), memo ? 2 : 0);
  }
  if (!table.CreateFiles()) {
    table.End();
    return false;
  }
  for (size_t i = 0; i < fields.size(); ++i) table.PutField(int(i), fields[i].Value);
  table.End();
  return true;
}

std::string RtfEscape(const std::string& value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\t': out += "\\tab "; break;
      case '\n': out += "\\par "; break;
      case '\\': out += "\\\\"; break;
      // Unescaped braces would end or open groups of the document.
      case '{': out += "\\{"; break;
      case '}': out += "\\}"; break;
      default: out += c;
    }
  }
  return out;
}

std::string EntryRtf(const std::vector<TExportField>& fields, const std::string& title) {
  std::string s = "{\\rtf1\\ansi\\deff0\\deflang1024{\\fonttbl{\\f0\\froman Courier New; }}\r\n \r\n"
                  "{\\stylesheet{\\fs10 \\lang1031 \\snext0 Normal;}}\r\n{\\info{\\author " +
                  title + " }}";
  s += " \r\n\\margt0\r\n\\margb0\r\n\\margl0\r\n\\margr0\r\n\\deftab240\r\n";
  std::string rowDef;
  for (size_t k = 1; k <= fields.size(); ++k)
    rowDef += Printf("\\clbrdrt\\brdrs\\brdrw15 \\clbrdrl\\brdrs\\brdrw15\\clbrdrb\\brdrs\\brdrw15 "
                     "\\clbrdrr\\brdrs\\brdrw15\\cellx%d\r\n",
                     int(k) * kExportColumnTwips);
  s += rowDef + "\\pard\\plain\\intbl\\fs10\\lang31\r\n";
  for (const TExportField& f : fields) s += "\\ql\\b \\f0\\fs20 " + f.Name + "\\cell \\pard \\intbl\r\n";
  s += "\r\n\\row \\trowd\r\n";
  s += rowDef + "\\pard\\plain\\intbl\\fs10\\lang31\r\n";
  for (const TExportField& f : fields) s += "\\ql\\f0\\fs\\f0\\fs20 " + RtfEscape(f.Value) + "\\cell \\pard \\intbl\r\n";
  s += "\r\n\\row \\trowd\r\n";
  s += "}";
  return s;
}

bool ExportWantsRtf(const std::string& name) { return ContainsNoCase(name, ".rtf"); }
bool ExportWantsDbf(const std::string& name) { return ContainsNoCase(name, ".dbf"); }

bool TCatalogueEntrySource::LoadCurrentRecord(TEntryRecord& record) {
  if (!catalogue_) return false;
  TKeyEntryArrayArray* category = catalogue_->Category(catalogue_->CurrentCategory);
  TKeyEntryArray* sub = category ? category->Child(catalogue_->CurrentSubcategory) : nullptr;
  TKeyEntry entry;
  if (!sub || !sub->Tree().GetAt(catalogue_->CurrentEntry, entry)) return false;
  TEntryRow row;
  if (!LoadEntryRecord(info_, editMode_, entry, row) || !row.Row) return false;
  for (int i = 0; i < kEntryFieldCount; ++i) record[size_t(i)] = row.Row->Columns[i].str();
  return true;
}

std::string TCatalogueEntrySource::FieldName(int index) { return info_.GetFieldName(index).str(); }

TDBaseExportTable::TDBaseExportTable() = default;
TDBaseExportTable::~TDBaseExportTable() = default;

bool TDBaseExportTable::Begin(const std::string& file, int fieldCount) {
  table_ = std::make_unique<TDBASE>(file.c_str(), 1, static_cast<int16_t>(fieldCount));
  return true;
}

void TDBaseExportTable::SetField(int index, const std::string& name, TFieldType type, int length, int decimals) {
  if (table_) table_->SetField(index, name.c_str(), int(type), length, decimals);
}

bool TDBaseExportTable::CreateFiles() { return table_ && table_->CreateFiles(); }

void TDBaseExportTable::PutField(int index, const std::string& value) {
  if (table_) table_->PutField(0, index, value.c_str(), int(value.size()));
}

// Destroying the table closes its files.
void TDBaseExportTable::End() { table_.reset(); }
