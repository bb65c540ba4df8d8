#include "database/core/dbtable.h"

#include <algorithm>
#include <cstring>

#include "foundation/core/pathstr.h"

using tsl::ByteStream;

namespace {

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// The common head of both files; what the file does not hold keeps its
// preset (field count 0, version 1).
struct TableHeader {
  int16_t FieldCount = 0;
  int16_t Version = 1;
  uint32_t Value = 0;

  bool Read(ByteStream* f) {
    uint8_t h[12];
    if (!f || f->Read(h, sizeof h) != sizeof h) return false;
    FieldCount = static_cast<int16_t>(h[4] | h[5] << 8);
    Version = static_cast<int16_t>(h[6] | h[7] << 8);
    Value = U32(h + 8);
    return true;
  }
};

// Reads rows of the record store into one reused row; an offset the file
// cannot hold reads as an empty row.
class RowReader {
public:
  explicit RowReader(ByteStream* store) : store_(store), length_(store ? store->Length() : 0) {}

  const TdbfMemoryKey* Load(uint32_t offset) {
    if (!offset || !store_ || static_cast<int64_t>(offset) + 4 > length_ || store_->Seek(offset) != offset)
      return nullptr;
    row_.Read(*store_, kTableColumns);
    return &row_;
  }

private:
  ByteStream* store_;
  int64_t length_;
  TdbfMemoryKey row_;
};

class Converter {
public:
  Converter(TDBNodeManager& m, RowReader& rows, int fields) : m_(m), rows_(rows), fields_(fields) {}

  // A category (or subcategory) with its empty-named data record and its
  // category entry; the category's id.
  int32_t AddCategory(const TKeyEntry& header, int32_t parent) {
    auto c = std::make_unique<TDBCategory>();
    c->Id = static_cast<int32_t>(m_.NextCategoryId++);
    c->ParentId = parent;
    c->Name = string(header.Key);
    c->SearchText = c->Name;
    const int32_t id = c->Id;
    m_.AddCategory(std::move(c));
    const int32_t data = AddData(string(), header.Value);
    AddEntry(id, data, true);
    return id;
  }

  void AddKey(const TKeyEntry& key, int32_t category) { AddEntry(category, AddData(string(key.Key), key.Value), false); }

  std::vector<TDBCategoryData*>& Pending() { return pending_; }

private:
  int32_t AddData(string name, uint32_t row) {
    auto d = std::make_unique<TDBData>();
    d->Id = static_cast<int32_t>(m_.NextDataId++);
    d->Name = std::move(name);
    if (const TdbfMemoryKey* r = rows_.Load(row))
      for (int n = 0; n < fields_; ++n) d->Values.Add(r->Columns[n + 3]);
    const int32_t id = d->Id;
    m_.AddData(std::move(d));  // pads the values to the field count
    return id;
  }

  void AddEntry(int32_t category, int32_t data, bool isCategory) {
    auto e = std::make_unique<TDBCategoryData>();
    e->EntryId = static_cast<int32_t>(m_.NextEntryId++);
    e->CategoryId = category;
    e->DataId = data;
    e->IsCategory = isCategory ? 1 : 0;
    pending_.push_back(e.get());
    m_.AddEntry(std::move(e));
  }

  TDBNodeManager& m_;
  RowReader& rows_;
  int fields_;
  std::vector<TDBCategoryData*> pending_;
};

void ReleaseTableRow(void* row) { delete static_cast<TdbfMemoryKey*>(row); }

// Rows kept in memory: every key entry gets its own copy of its row, owned
// by the entry, so the export can take the row without the store.
void KeepRows(TKeyEntryArrayManager& catalogue, RowReader& rows) {
  catalogue.ReleaseRow = ReleaseTableRow;
  for (int32_t i = 0; i < catalogue.CategoryCount(); ++i) {
    TKeyEntryArrayArray* cat = catalogue.Category(i);
    for (int32_t j = 0; j < cat->ChildCount(); ++j) {
      MTREE<TKeyEntry>& tree = cat->Child(j)->Tree();
      TKeyEntry key;
      for (int32_t k = 0; k < static_cast<int32_t>(tree.Count()); ++k) {
        if (!tree.GetAt(k, key)) continue;
        const TdbfMemoryKey* row = rows.Load(key.Value);
        if (!row) continue;
        key.Row = new TdbfMemoryKey(*row);
        key.RowOwned = 1;
        if (!tree.SetAt(k, key)) ReleaseTableRow(key.Row);
      }
    }
  }
}

}  // namespace

TReadCache& TReadCache::Instance() {
  static TReadCache cache;
  return cache;
}

uint8_t* TReadCache::Reserve(uint32_t n) {
  if (n > buffer_.size()) {
    buffer_.clear();
    buffer_.shrink_to_fit();
    buffer_.resize(n);
  }
  return buffer_.data();
}

bool TdbfMemoryKey::Read(ByteStream& f, int count) {
  for (string& c : Columns) c = string();
  count = std::max(0, std::min(count, kTableColumns));
  uint8_t head[4];
  if (f.Read(head, sizeof head) != sizeof head) return false;
  const int32_t length = static_cast<int32_t>(U32(head));
  // The length decides the buffer: only a row the file can hold may grow it.
  const int64_t left = f.Remaining();
  if (length < 0 || (left >= 0 && length > left)) return false;
  const uint32_t size = static_cast<uint32_t>(length);
  uint8_t* buf = TReadCache::Instance().Reserve(size);
  const uint32_t got = size ? f.Read(buf, size) : 0;
  uint32_t pos = 0;
  for (int i = 0; i < count; ++i) {
    if (got - pos < 4) return false;
    const uint32_t n = U32(buf + pos);
    pos += 4;
    if (n > got - pos) return false;
    Columns[i] = string(reinterpret_cast<const char*>(buf + pos), n);
    pos += n;
  }
  return got == size;
}

void PadDataValues(TDBData& data, int count) {
  while (data.Values.Count() < count) data.Values.Add(string());
}

string TrimTrailingChar(const char* text, char c) {
  if (!text) return string();
  size_t n = std::strlen(text);
  while (n && text[n - 1] == c) --n;
  return string(text, n);
}

void ConvertTable(TDBNodeManager& m, ByteStream* store, ByteStream* index, const TdBaseInfo& info,
                  std::unique_ptr<TKeyEntryArrayManager>* keep) {
  m.Clear();
  m.NextCategoryId = m.NextDataId = m.NextEntryId = 0;
  m.CurrentEntryId = m.CurrentDataEntryId = kNoDbId;
  TableHeader header;
  header.Read(store);
  // The catalogue's count of field columns replaces the store's; neither
  // may name more columns than a row has fields.
  auto owned = std::make_unique<TKeyEntryArrayManager>();
  TKeyEntryArrayManager& catalogue = *owned;
  if (header.Read(index)) {
    uint8_t next[4];
    if (index->Read(next, sizeof next) == sizeof next) {
      SetKeyEntryUniqueCounter(U32(next));
      catalogue.Read(*index);
    }
  }
  const int fields = std::max(0, std::min<int>(header.FieldCount, kTableFieldColumns));
  for (int n = 0; n < fields; ++n) {
    // Names are stored as they lie: one may fill all its bytes.
    const char* name = info.FieldNames[n + 3];
    TDBFieldInfo f;
    f.Name = string(name, strnlen(name, kDbColumnNameSize));
    f.FieldNumber = static_cast<uint16_t>(n);
    f.Flag = 0;
    m.AddField(f);
  }

  RowReader rows(store);
  Converter c(m, rows, fields);
  c.Pending().reserve(static_cast<size_t>(std::max(0, catalogue.TotalCount())) + 101);
  for (int32_t i = 0; i < catalogue.CategoryCount(); ++i) {
    TKeyEntryArrayArray* cat = catalogue.Category(i);
    const int32_t catId = c.AddCategory(cat->Header, kNoDbId);
    for (int32_t j = 0; j < cat->ChildCount(); ++j) {
      TKeyEntryArray* sub = cat->Child(j);
      const int32_t subId = c.AddCategory(sub->Header, catId);
      const uint32_t keys = sub->Count();
      TKeyEntry key;
      for (uint32_t k = 0; k < keys; ++k)
        if (sub->Tree().GetAt(static_cast<int32_t>(k), key)) c.AddKey(key, subId);
    }
  }
  m.BuildTree(c.Pending());
  if (keep && (info.Flags & kDbRowsInMemory)) {
    KeepRows(catalogue, rows);
    *keep = std::move(owned);
  }
}

bool LoadIndexedDatabase(TDbSlot slot, const string& path, tsl::TPackHost& host) {
  if (path.is_null() || !IsDbdTableFile(host, path)) return false;
  if (slot.Catalogue) slot.Catalogue->reset();
  string storeName, catalogueName;
  ReplaceExtension(path, storeName, ".dbd");
  ReplaceExtension(path, catalogueName, ".dbx");
  auto open = [&](const string& name) -> std::unique_ptr<ByteStream> {
    if (!host.FileExists(name.c_str())) return nullptr;
    return host.Open(name.c_str(), tsl::TIndexFiles::ReadOnly);
  };
  std::unique_ptr<ByteStream> store = open(storeName), index = open(catalogueName);
  slot.Nodes.reset();
  slot.Nodes = std::make_unique<TDBNodeManager>();
  if (!slot.Specials) slot.Specials = std::make_unique<TDBSpecialManager>();
  const TdBaseInfo defaults;
  ConvertTable(*slot.Nodes, store.get(), index.get(), slot.Info ? *slot.Info : defaults, slot.Catalogue);
  if (slot.Catalogue && !*slot.Catalogue) *slot.Catalogue = std::make_unique<TKeyEntryArrayManager>();
  return true;
}

bool LoadEntryRecord(const TdBaseInfo& info, bool editMode, const TKeyEntry& entry, TEntryRow& out) {
  out.Row = nullptr;
  out.Owned.reset();
  if (!(info.Flags & kDbInUse)) return false;
  if (!editMode && !(info.Flags & kDbRowsInMemory)) {
    auto* store = static_cast<ByteStream*>(info.RecordStore);
    if (!store || !entry.Value || store->Seek(entry.Value) != entry.Value) return false;
    out.Owned = std::make_unique<TdbfMemoryKey>();
    out.Owned->Read(*store, kTableColumns);
    out.Row = out.Owned.get();
    return true;
  }
  if (!entry.Row || !entry.RowOwned) return false;
  out.Row = static_cast<const TdbfMemoryKey*>(entry.Row);
  return true;
}

// ---- writing ----

namespace {

void PutHeader(tsl::MemoryStream& f, int16_t fields) {
  const uint8_t h[12] = {'D', 'B', 'D', 0, static_cast<uint8_t>(fields), static_cast<uint8_t>(fields >> 8), 1, 0, 0, 0, 0, 0};
  f.Write(h, sizeof h);
}

}  // namespace

TTableWriter::TTableWriter(int16_t fieldCount) : fields_(fieldCount) { PutHeader(store_, fields_); }

uint32_t TTableWriter::WriteRow(const TdbfMemoryKey& row) {
  const uint32_t at = static_cast<uint32_t>(store_.Length());
  store_.Seek(0, ByteStream::end);
  int32_t length = 0;
  for (const string& c : row.Columns) length += 4 + static_cast<int32_t>(c.length());
  WriteLong(length, store_);
  for (const string& c : row.Columns) {
    WriteLong(static_cast<uint32_t>(c.length()), store_);
    if (c.length()) store_.Write(c.c_str(), static_cast<uint32_t>(c.length()));
  }
  return at;
}

void TTableWriter::Add(const char* category, const char* subcategory, const char* key, const TdbfMemoryKey* row) {
  const uint32_t offset = row ? WriteRow(*row) : 0;
  int32_t c = catalogue_.FindCategory(category);
  if (c < 0) {
    auto node = std::make_unique<TKeyEntryArrayArray>();
    node->SetName(category);
    catalogue_.InsertSorted(node);
    c = catalogue_.FindCategory(category);
  }
  TKeyEntryArrayArray* cat = catalogue_.Category(c);
  if (!cat) return;
  if (!*subcategory) {
    cat->Header.Value = offset;
    return;
  }
  int32_t s = cat->FindChild(subcategory);
  if (s < 0) {
    auto node = std::make_unique<TKeyEntryArray>();
    node->SetName(subcategory);
    cat->InsertSorted(node);
    s = cat->FindChild(subcategory);
  }
  TKeyEntryArray* sub = cat->Child(s);
  if (!sub) return;
  if (!*key) {
    sub->Header.Value = offset;
    return;
  }
  TKeyEntry e(key);
  e.Value = offset;
  sub->Add(e);
}

std::vector<uint8_t> TTableWriter::Catalogue() {
  tsl::MemoryStream f;
  PutHeader(f, fields_);
  WriteLong(GetKeyEntryUniqueCounter(), f);
  catalogue_.Write(f);
  return f.Data();
}
