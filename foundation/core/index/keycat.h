// The key catalogue: a three-level, name-addressed store of TKeyEntry
// records. The manager holds categories, a category holds subcategories, a
// subcategory holds its records in a counted B-tree ordered by key text.
// Every record and node carries a unique number from one process-wide
// counter. Both name arrays are kept sorted by the key order.
//
// File form (little-endian, no padding), written in name order, records in
// key order:
//   manager:     u32 categories;    74-byte header; the categories
//   category:    u32 subcategories; 74-byte header (its name); the subcategories
//   subcategory: u32 records;       74-byte header (its name); the records
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>

#include "foundation/core/index/keycompare.h"
#include "foundation/core/index/keyentry.h"
#include "foundation/core/index/mtree.h"
#include "platform/core/bytestream.h"
#include "platform/core/containers.h"

// The process-wide unique-number counter (initially 1). The database module
// saves and restores it with its files.
uint32_t GetKeyEntryUniqueCounter();
void SetKeyEntryUniqueCounter(uint32_t next);

// A catalogue node: its header (whose key is the node's name), read and
// written through the virtual operations.
class TKeyNode {
public:
  explicit TKeyNode(tsl::KeyCompareFn cmp) : cmp_(cmp ? cmp : tsl::DefaultKeyCompare()) {}
  virtual ~TKeyNode() = default;
  TKeyNode(const TKeyNode&) = delete;
  TKeyNode& operator=(const TKeyNode&) = delete;
  // False as soon as a header or record transfers fewer than 74 bytes or a
  // child fails; what was read before stays.
  virtual bool Read(tsl::ByteStream& f) = 0;
  virtual bool Write(tsl::ByteStream& f) = 0;

  const char* Name() const { return Header.Key; }
  void SetName(const char* name) { Header.SetKey(name); }

  TKeyEntry Header;

protected:
  tsl::KeyCompareFn cmp_;
};

// A subcategory: its records in a key tree.
class TKeyEntryArray : public TKeyNode {
public:
  explicit TKeyEntryArray(tsl::KeyCompareFn cmp = nullptr);
  ~TKeyEntryArray() override;
  // Numbers the record when it has no number yet and files it after any
  // records with an equal key; its ordinal, or -1.
  int32_t Add(const TKeyEntry& record);
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  MTREE<TKeyEntry>& Tree() { return *tree_; }
  uint32_t Count() const { return tree_->Count(); }

private:
  std::unique_ptr<MTREE<TKeyEntry>> tree_;
};

// A category: its subcategories, sorted by name, owned.
class TKeyEntryArrayArray : public TKeyNode {
public:
  explicit TKeyEntryArrayArray(tsl::KeyCompareFn cmp = nullptr);
  ~TKeyEntryArrayArray() override;
  // Index of the subcategory with that name, -1 when none.
  int32_t FindChild(const char* name) const;
  // Files a subcategory by its name, numbering it when it has no number.
  // Its index (the array then owns it and `child` is empty), -1 when the
  // name is taken (`child` stays with the caller), 0x7FFFFFFF when it
  // cannot be found again.
  int32_t InsertSorted(std::unique_ptr<TKeyEntryArray>& child);
  bool GetChildHeader(int32_t index, TKeyEntry& out) const;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  int32_t ChildCount() const { return children_.GetItemsInContainer(); }
  TKeyEntryArray* Child(int32_t index) const;

private:
  TIArrayAsVector<TKeyEntryArray> children_{11, 0, 10};
};

// The catalogue root, held by the database module.
class TKeyEntryArrayManager : public TKeyNode {
public:
  explicit TKeyEntryArrayManager(tsl::KeyCompareFn cmp = nullptr);
  ~TKeyEntryArrayManager() override;
  int32_t FindCategory(const char* name) const;
  // -1 when the category index is out of range or the name not found.
  int32_t FindSubcategory(int32_t category, const char* name) const;
  bool GetCategoryHeader(int32_t index, TKeyEntry& out) const;
  // As TKeyEntryArrayArray::InsertSorted, one level up.
  int32_t InsertSorted(std::unique_ptr<TKeyEntryArrayArray>& category);
  // Files a record under (category, subcategory), creating either node
  // when missing: the record's ordinal; -1 when the category could not be
  // filed, 0 when the subcategory could not.
  int32_t AddEntry(const char* category, const char* subcategory, const TKeyEntry& record);
  // The default record "DATA1" under "CAT", "SUBCAT".
  void AddDefaultEntry();
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;
  // Records in all subcategories of all categories.
  int32_t TotalCount() const;

  int32_t CategoryCount() const { return categories_.GetItemsInContainer(); }
  TKeyEntryArrayArray* Category(int32_t index) const;

  // Rows the entries own (row-owned flag set) are given to this when the
  // catalogue goes; the catalogue does not know their type. Null: rows are
  // not the catalogue's to free.
  using TRowRelease = void (*)(void* row);
  TRowRelease ReleaseRow = nullptr;

  // The current selection of the page showing the catalogue (in memory only).
  int32_t CurrentCategory = 0;
  int32_t CurrentSubcategory = 0;
  int32_t CurrentEntry = 0;

private:
  TIArrayAsVector<TKeyEntryArrayArray> categories_{11, 0, 10};
};
