#include "foundation/core/index/keycat.h"

#include "foundation/core/streamenc.h"

namespace {

uint32_t g_uniqueCounter = 1;

void Number(TKeyEntry& e) {
  if (e.UniqueNumber == 0) e.UniqueNumber = g_uniqueCounter++;
}

constexpr int32_t kNotFiled = 0x7FFFFFFF;

// Binary search of a name-sorted node array (lo = mid + 1 / hi = mid - 1);
// the index of the node with that name, or -1.
template <class T>
int32_t SortedFind(const TIArrayAsVector<T>& a, const char* name, tsl::KeyCompareFn cmp) {
  int32_t lo = 0, hi = a.GetItemsInContainer() - 1;
  if (hi < 0) return -1;
  while (lo < hi) {
    const int32_t mid = (lo + hi) / 2;
    const int c = cmp(a[mid]->Name(), name);
    if (c == 0) return mid;
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return lo == hi && cmp(a[lo]->Name(), name) == 0 ? lo : -1;
}

template <class T>
int32_t SortedInsert(TIArrayAsVector<T>& a, std::unique_ptr<T>& node, tsl::KeyCompareFn cmp) {
  if (!node || SortedFind(a, node->Name(), cmp) >= 0) return -1;
  Number(node->Header);
  int32_t pos = a.GetItemsInContainer();
  while (pos > 0 && cmp(a[pos - 1]->Name(), node->Name()) > 0) --pos;
  T* raw = node.release();
  a.AddAt(raw, pos);
  const int32_t at = SortedFind(a, raw->Name(), cmp);
  return at >= 0 ? at : kNotFiled;
}

template <class T>
int32_t LinearFind(const TIArrayAsVector<T>& a, const char* name, tsl::KeyCompareFn cmp) {
  if (!name) return -1;
  for (int32_t i = 0; i < a.GetItemsInContainer(); ++i)
    if (cmp(a[i]->Name(), name) == 0) return i;
  return -1;
}

uint32_t ReadCount(tsl::ByteStream& f) {
  uint32_t n = 0;
  ReadLong(n, f);
  return n;
}

}  // namespace

uint32_t GetKeyEntryUniqueCounter() { return g_uniqueCounter; }
void SetKeyEntryUniqueCounter(uint32_t next) { g_uniqueCounter = next; }

// ---- subcategory -------------------------------------------------------------

TKeyEntryArray::TKeyEntryArray(tsl::KeyCompareFn cmp)
    : TKeyNode(cmp), tree_(std::make_unique<MTREE<TKeyEntry>>(cmp_)) {}

TKeyEntryArray::~TKeyEntryArray() = default;

int32_t TKeyEntryArray::Add(const TKeyEntry& record) {
  TKeyEntry e = record;
  Number(e);
  int32_t ordinal = -1;
  return tree_->Insert(e, 1, &ordinal) ? ordinal : -1;
}

bool TKeyEntryArray::Read(tsl::ByteStream& f) {
  tree_->Clear();
  const uint32_t count = ReadCount(f);
  if (!Header.Read(f)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    TKeyEntry e;
    if (!e.Read(f) || Add(e) < 0) return false;
  }
  return true;
}

bool TKeyEntryArray::Write(tsl::ByteStream& f) {
  const uint32_t count = tree_->Count();
  WriteLong(count, f);
  if (!Header.Write(f)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    TKeyEntry e;
    if (!tree_->GetAt(static_cast<int32_t>(i), e) || !e.Write(f)) return false;
  }
  return true;
}

// ---- category ----------------------------------------------------------------

TKeyEntryArrayArray::TKeyEntryArrayArray(tsl::KeyCompareFn cmp) : TKeyNode(cmp) {}

TKeyEntryArrayArray::~TKeyEntryArrayArray() = default;

int32_t TKeyEntryArrayArray::FindChild(const char* name) const { return LinearFind(children_, name, cmp_); }

int32_t TKeyEntryArrayArray::InsertSorted(std::unique_ptr<TKeyEntryArray>& child) {
  return SortedInsert(children_, child, cmp_);
}

bool TKeyEntryArrayArray::GetChildHeader(int32_t index, TKeyEntry& out) const {
  if (index < 0 || index >= ChildCount()) return false;
  out = children_[index]->Header;
  return true;
}

TKeyEntryArray* TKeyEntryArrayArray::Child(int32_t index) const {
  return index >= 0 && index < ChildCount() ? children_[index] : nullptr;
}

bool TKeyEntryArrayArray::Read(tsl::ByteStream& f) {
  children_.Flush(tsl::DeleteType::Delete);
  const uint32_t count = ReadCount(f);
  if (!Header.Read(f)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    auto child = std::make_unique<TKeyEntryArray>(cmp_);
    const bool ok = child->Read(f);
    // A subcategory cut short keeps the records it got; one without any is
    // dropped. A name that is already filed is not filed twice.
    if (ok || child->Count() > 0) InsertSorted(child);
    if (!ok) return false;
  }
  return true;
}

bool TKeyEntryArrayArray::Write(tsl::ByteStream& f) {
  WriteLong(static_cast<uint32_t>(ChildCount()), f);
  if (!Header.Write(f)) return false;
  for (TKeyEntryArray* c : children_)
    if (!c->Write(f)) return false;
  return true;
}

// ---- manager -----------------------------------------------------------------

TKeyEntryArrayManager::TKeyEntryArrayManager(tsl::KeyCompareFn cmp) : TKeyNode(cmp) {}

TKeyEntryArrayManager::~TKeyEntryArrayManager() {
  if (!ReleaseRow) return;
  auto release = [this](const TKeyEntry& e) {
    if (e.RowOwned && e.Row) ReleaseRow(e.Row);
  };
  release(Header);
  for (TKeyEntryArrayArray* c : categories_) {
    release(c->Header);
    for (int32_t j = 0; j < c->ChildCount(); ++j) {
      TKeyEntryArray* sub = c->Child(j);
      release(sub->Header);
      TKeyEntry e;
      for (uint32_t k = 0; k < sub->Count(); ++k)
        if (sub->Tree().GetAt(static_cast<int32_t>(k), e)) release(e);
    }
  }
}

int32_t TKeyEntryArrayManager::FindCategory(const char* name) const {
  return LinearFind(categories_, name, cmp_);
}

int32_t TKeyEntryArrayManager::FindSubcategory(int32_t category, const char* name) const {
  const TKeyEntryArrayArray* c = Category(category);
  return c ? c->FindChild(name) : -1;
}

bool TKeyEntryArrayManager::GetCategoryHeader(int32_t index, TKeyEntry& out) const {
  const TKeyEntryArrayArray* c = Category(index);
  if (!c) return false;
  out = c->Header;
  return true;
}

TKeyEntryArrayArray* TKeyEntryArrayManager::Category(int32_t index) const {
  return index >= 0 && index < CategoryCount() ? categories_[index] : nullptr;
}

int32_t TKeyEntryArrayManager::InsertSorted(std::unique_ptr<TKeyEntryArrayArray>& category) {
  return SortedInsert(categories_, category, cmp_);
}

int32_t TKeyEntryArrayManager::AddEntry(const char* category, const char* subcategory,
                                        const TKeyEntry& record) {
  int32_t cat = FindCategory(category);
  if (cat < 0) {
    auto node = std::make_unique<TKeyEntryArrayArray>(cmp_);
    node->SetName(category);
    cat = InsertSorted(node);
  }
  TKeyEntryArrayArray* c = Category(cat);
  int32_t sub = c ? c->FindChild(subcategory) : -1;
  if (sub < 0) {
    auto node = std::make_unique<TKeyEntryArray>(cmp_);
    node->SetName(subcategory);
    sub = c ? c->InsertSorted(node) : -1;
  }
  if (!c) return -1;
  TKeyEntryArray* s = c->Child(sub);
  return s ? s->Add(record) : 0;
}

void TKeyEntryArrayManager::AddDefaultEntry() { AddEntry("CAT", "SUBCAT", TKeyEntry("DATA1")); }

bool TKeyEntryArrayManager::Read(tsl::ByteStream& f) {
  categories_.Flush(tsl::DeleteType::Delete);
  const uint32_t count = ReadCount(f);
  if (!Header.Read(f)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    auto category = std::make_unique<TKeyEntryArrayArray>(cmp_);
    const bool ok = category->Read(f);
    if (ok || category->ChildCount() > 0) InsertSorted(category);
    if (!ok) return false;
  }
  return true;
}

bool TKeyEntryArrayManager::Write(tsl::ByteStream& f) {
  WriteLong(static_cast<uint32_t>(CategoryCount()), f);
  if (!Header.Write(f)) return false;
  for (TKeyEntryArrayArray* c : categories_)
    if (!c->Write(f)) return false;
  return true;
}

int32_t TKeyEntryArrayManager::TotalCount() const {
  uint32_t total = 0;
  for (const TKeyEntryArrayArray* c : categories_)
    for (int32_t i = 0; i < c->ChildCount(); ++i) total += c->Child(i)->Count();
  return static_cast<int32_t>(total);
}
