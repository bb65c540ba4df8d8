#include "database/core/dbnodes.h"

#include <algorithm>
#include <cstring>
#include <queue>
#include <string>

#include "foundation/core/streamenc.h"

using tsl::ByteStream;

namespace {

// Reads the .dbd layout and notes the first read the file could not serve,
// so every loop can stop there; a value the file ends inside reads as zero,
// one with no byte left keeps its preset.
struct DbdReader {
  ByteStream& f;
  bool ok = true;

  // Values of up to 8 bytes.
  void Fixed(void* dst, uint32_t n) {
    if (!ok) return;
    uint8_t tmp[8];
    const uint32_t got = f.Read(tmp, n);
    if (got == n) {
      std::memcpy(dst, tmp, n);
      return;
    }
    if (got > 0) std::memset(dst, 0, n);
    ok = false;
  }
  template <class T> void Value(T& v) { Fixed(&v, sizeof v); }
  void String(string& s) {
    if (!ok) return;
    uint16_t len = 0;
    Value(len);
    if (!ok) return;
    const int64_t left = f.Remaining();
    if (left >= 0 && left < len) {
      f.Seek(0, ByteStream::end);
      s = string();
      ok = false;
      return;
    }
    std::string text(len, '\0');
    if (len && f.Read(&text[0], len) != len) {
      s = string();
      ok = false;
      return;
    }
    s = string(std::move(text));
  }
};

template <class T> bool Put(ByteStream& f, T v) { return WriteFixed(&v, sizeof v, f); }

// Decimal text of an id into `buf` (room for 12), without allocating.
size_t DecimalId(int32_t id, char* buf) {
  char tmp[12];
  size_t n = 0;
  int64_t v = id;
  const bool neg = v < 0;
  if (neg) v = -v;
  do {
    tmp[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  size_t k = 0;
  if (neg) buf[k++] = '-';
  while (n) buf[k++] = tmp[--n];
  return k;
}

template <class R>
R* FindIn(const TDBNodeManager::Table& t, int32_t id) {
  char buf[12];
  const size_t n = DecimalId(id, buf);
  HashClass* h = t.FindIf(tsl::HashKeyChars(buf, n), [id](const HashClass& k) {
    return reinterpret_cast<const R*>(k.Value())->Id == id;
  });
  return h ? reinterpret_cast<R*>(h->Value()) : nullptr;
}

}  // namespace

// ---- nodes ----

TDBNode& TDBNode::operator=(const TDBNode& other) {
  if (this == &other) return *this;
  EntryId = other.EntryId;
  CategoryId = other.CategoryId;
  Parent = other.Parent;
  Entry = other.Entry;
  if (!Children) Children = std::make_unique<std::vector<TDBNode*>>();
  Children->clear();
  if (other.Children) {
    Children->reserve(other.Children->size());
    for (TDBNode* c : *other.Children) {
      Children->push_back(c);
      if (c) c->Parent = this;
    }
  }
  return *this;
}

TDBNode* TDBNode::FindChild(int32_t entryId, int* slot) const {
  if (!Children) return nullptr;
  for (size_t i = 0; i < Children->size(); ++i) {
    TDBNode* c = (*Children)[i];
    if (c && c->EntryId == entryId) {
      if (slot) *slot = static_cast<int>(i);
      return c;
    }
  }
  return nullptr;
}

// ---- manager ----

TDBNodeManager::TDBNodeManager()
    : categories_(std::make_unique<Table>(kDbTableBuckets)),
      data_(std::make_unique<Table>(kDbTableBuckets)),
      entries_(std::make_unique<Table>(kDbTableBuckets)) {
  // The keys live in keys_.
  categories_->OwnsElements(false);
  data_->OwnsElements(false);
  entries_->OwnsElements(false);
  root_.IsCategory = 1;
  root_.Children = std::make_unique<std::vector<TDBNode*>>();
}

TDBNodeManager::~TDBNodeManager() { Clear(); }

void TDBNodeManager::File(Table& t, int32_t id, const void* record) {
  char buf[12];
  keys_.emplace_back(string(buf, DecimalId(id, buf)));
  HashClass* h = &keys_.back();
  h->SetValue(reinterpret_cast<uintptr_t>(record));
  t.Add(h);
}

void TDBNodeManager::AddCategory(std::unique_ptr<TDBCategory> c) {
  File(*categories_, c->Id, c.get());
  ownedCategories_.push_back(std::move(c));
}

void TDBNodeManager::AddData(std::unique_ptr<TDBData> d) {
  const int n = static_cast<int>(Fields.size());
  while (d->Values.Count() > n) d->Values.RemoveLast();
  while (d->Values.Count() < n) d->Values.Add(string());
  File(*data_, d->Id, d.get());
  // The first record filed under an id is the one the table answers.
  const int32_t id = d->Id;
  if (id >= 0 && static_cast<size_t>(id) < kDenseDataIds) {
    if (static_cast<size_t>(id) >= dataById_.size()) dataById_.resize(static_cast<size_t>(id) + 1, nullptr);
    if (!dataById_[id]) dataById_[id] = d.get();
  }
  ownedData_.push_back(std::move(d));
}

void TDBNodeManager::AddEntry(std::unique_ptr<TDBCategoryData> e) {
  const int32_t id = e->EntryId;
  if (!duplicateEntryIds_ && id >= 0 && id < (1 << 24)) {
    const size_t word = static_cast<size_t>(id) >> 6;
    const uint64_t bit = uint64_t(1) << (id & 63);
    if (word >= entryIdsSeen_.size()) entryIdsSeen_.resize(std::max(word + 1, entryIdsSeen_.size() * 2));
    duplicateEntryIds_ = (entryIdsSeen_[word] & bit) != 0;
    entryIdsSeen_[word] |= bit;
  } else if (!duplicateEntryIds_) {
    // Ids far out are rare: their bucket tells a repeat by the keys' texts.
    char buf[12];
    const size_t n = DecimalId(e->EntryId, buf);
    duplicateEntryIds_ = entries_->FindIf(tsl::HashKeyChars(buf, n), [&](const HashClass& k) {
      return k.Key().length() == n && std::memcmp(k.Key().c_str(), buf, n) == 0;
    }) != nullptr;
  }
  File(*entries_, e->EntryId, e.get());
  ownedEntries_.push_back(std::move(e));
}

TDBCategory* TDBNodeManager::FindCategory(int32_t id) const { return FindIn<TDBCategory>(*categories_, id); }
TDBData* TDBNodeManager::FindData(int32_t id) const {
  if (id >= 0 && static_cast<size_t>(id) < dataById_.size()) return dataById_[id];
  return id >= 0 && static_cast<size_t>(id) < kDenseDataIds ? nullptr : FindIn<TDBData>(*data_, id);
}

void TDBNodeManager::PrefetchEntryFields(const TDBCategoryData* e, int stage, int16_t fieldCount,
                                         const int32_t* fieldIndexes) const {
  if (!e || e->DataId < 0 || static_cast<size_t>(e->DataId) >= dataById_.size()) return;
  const TDBData* d = dataById_[e->DataId];
  if (!d) return;
  if (stage == 0) {
    __builtin_prefetch(d);
    return;
  }
  if (fieldCount <= 0 || !fieldIndexes) return;
  const int32_t k = fieldIndexes[0];
  if (k < 0 || k >= d->Values.Count()) return;
  const string& first = d->Values.ItemAt(k);
  if (stage == 1) {
    __builtin_prefetch(&first);
    return;
  }
  __builtin_prefetch(first.c_str());
  for (int i = 1; i < fieldCount; ++i) {
    const int32_t j = fieldIndexes[i];
    if (j >= 0 && j < d->Values.Count()) __builtin_prefetch(d->Values.ItemAt(j).c_str());
  }
}

TDBCategoryData* TDBNodeManager::FindEntry(int32_t id) const {
  char buf[12];
  const size_t n = DecimalId(id, buf);
  HashClass* h = entries_->FindIf(tsl::HashKeyChars(buf, n), [id](const HashClass& k) {
    return reinterpret_cast<const TDBCategoryData*>(k.Value())->EntryId == id;
  });
  return h ? reinterpret_cast<TDBCategoryData*>(h->Value()) : nullptr;
}

TDBNode* TDBNodeManager::FindCategoryNode(int32_t categoryId) const {
  auto it = categoryNodes_.find(categoryId);
  return it == categoryNodes_.end() ? nullptr : it->second;
}

TDBNode* TDBNodeManager::FindTreeNode(const TDBCategoryData* entry) const {
  if (!entry) return nullptr;
  TDBNode* node = FindCategoryNode(entry->CategoryId);
  if (!node) return nullptr;
  if (entry->IsCategory) return node;
  return FindChildOf(node, entry->EntryId);
}

int32_t TDBNodeManager::GetFirstTopLevelId() const {
  if (!root_.Children || root_.Children->empty() || !(*root_.Children)[0]) return kNoDbId;
  return (*root_.Children)[0]->EntryId;
}

const char* TDBNodeManager::GetEntryName(const TDBCategoryData* e) const {
  if (!e) return nullptr;
  if (e->IsCategory) {
    const TDBCategory* c = FindCategory(e->CategoryId);
    return c ? c->Name.c_str() : nullptr;
  }
  const TDBData* d = FindData(e->DataId);
  return d ? d->Name.c_str() : nullptr;
}

const char* TDBNodeManager::GetEntrySearchName(const TDBCategoryData* e) const {
  if (!e) return nullptr;
  if (e->IsCategory) {
    const TDBCategory* c = FindCategory(e->CategoryId);
    return c ? c->SearchText.c_str() : nullptr;
  }
  const TDBData* d = FindData(e->DataId);
  return d ? d->Name.c_str() : nullptr;
}

const char* TDBNodeManager::GetCategoryName(const TDBCategoryData* e) const {
  if (!e) return nullptr;
  const TDBCategory* c = FindCategory(e->CategoryId);
  return c ? c->Name.c_str() : nullptr;
}

// ---- clearing ----

void TDBNodeManager::DiscardTree() {
  TDBNode fresh;
  fresh.IsCategory = 1;
  fresh.Children = std::make_unique<std::vector<TDBNode*>>();
  root_ = fresh;
  categoryNodes_.clear();
  entryNodes_.clear();
  nodes_.clear();  // each node once; a node frees only its own slot array
}

void TDBNodeManager::Clear() {
  Fields.clear();
  DiscardTree();
  categories_->Flush();
  data_->Flush();
  entries_->Flush();
  ownedCategories_.clear();
  ownedData_.clear();
  dataById_.clear();
  ownedEntries_.clear();
  keys_.clear();
  duplicateEntryIds_ = false;
  entryIdsSeen_.clear();
}

// ---- loading and saving ----

void TDBNodeManager::Load(ByteStream& f) {
  Clear();
  DbdReader r{f};
  uint32_t magic = 0;
  r.Value(magic);
  if (!r.ok || magic != kDbdMagic) return;
  r.Value(HeaderWord);
  r.Value(HeaderValue);

  int16_t fieldCount = 0;
  r.Value(fieldCount);
  for (int i = 0; i < fieldCount && r.ok; ++i) {
    TDBFieldInfo fi;
    r.String(fi.Name);
    r.Value(fi.FieldNumber);
    r.Value(fi.Flag);
    if (r.ok) Fields.push_back(fi);
  }
  int16_t legacy = 0;
  r.Value(legacy);
  for (int i = 0; i < legacy && r.ok; ++i) {
    uint8_t skip[8];
    r.Fixed(skip, sizeof skip);
  }
  r.Value(NextCategoryId);
  r.Value(NextDataId);
  r.Value(NextEntryId);

  int32_t n = 0;
  r.Value(n);
  for (int32_t i = 0; i < n && r.ok; ++i) {
    auto c = std::make_unique<TDBCategory>();
    r.Value(c->Id);
    r.Value(c->ParentId);
    r.Value(c->Value);
    r.Value(c->Open);
    r.String(c->Name);
    r.String(c->SearchText);
    if (r.ok) AddCategory(std::move(c));
  }
  n = 0;
  r.Value(n);
  for (int32_t i = 0; i < n && r.ok; ++i) {
    auto d = std::make_unique<TDBData>();
    r.Value(d->Id);
    r.Value(d->Value);
    r.String(d->Name);
    int16_t values = 0;
    r.Value(values);
    for (int v = 0; v < values && r.ok; ++v) {
      string s;
      r.String(s);
      if (r.ok) d->Values.Add(std::move(s));
    }
    // A record cut short keeps the values it got; the next read stops the loop.
    if (r.ok || d->Id != kNoDbId) AddData(std::move(d));
  }
  std::vector<TDBCategoryData*> pending;
  n = 0;
  r.Value(n);
  for (int32_t i = 0; i < n && r.ok; ++i) {
    auto e = std::make_unique<TDBCategoryData>();
    uint16_t version = 0;
    r.Value(e->EntryId);
    r.Value(e->CategoryId);
    r.Value(e->DataId);
    r.Value(e->IsCategory);
    r.Value(e->Position);
    r.Value(version);
    r.Value(e->PictureExtrasId);
    r.Value(e->SecondExtrasId);
    r.Value(e->ActionExtrasId);
    if (!r.ok) break;
    pending.push_back(e.get());
    AddEntry(std::move(e));
  }

  // A parent that names no category makes the category top-level.
  for (auto& c : ownedCategories_)
    if (c->ParentId != kNoDbId && !FindCategory(c->ParentId)) c->ParentId = kNoDbId;

  BuildTree(pending);
  CurrentEntryId = GetFirstTopLevelId();
}

bool TDBNodeManager::Save(ByteStream& f) const {
  bool ok = Put(f, kDbdMagic) && Put(f, HeaderWord) && Put(f, HeaderValue);
  const size_t fields = std::min<size_t>(Fields.size(), kMaxStringArrayCount);
  ok = ok && Put(f, static_cast<int16_t>(fields));
  for (size_t i = 0; ok && i < fields; ++i)
    ok = WriteShortString(Fields[i].Name, f) && Put(f, Fields[i].FieldNumber) && Put(f, Fields[i].Flag);
  ok = ok && Put(f, int16_t(0)) && Put(f, NextCategoryId) && Put(f, NextDataId) && Put(f, NextEntryId);

  ok = ok && Put(f, static_cast<int32_t>(CategoryCount()));
  ForEachCategory([&](const TDBCategory& c) {
    ok = ok && Put(f, c.Id) && Put(f, c.ParentId) && Put(f, c.Value) && Put(f, c.Open) &&
         WriteShortString(c.Name, f) && WriteShortString(c.SearchText, f);
  });
  ok = ok && Put(f, static_cast<int32_t>(DataCount()));
  ForEachData([&](const TDBData& d) {
    ok = ok && Put(f, d.Id) && Put(f, d.Value) && WriteShortString(d.Name, f) &&
         WriteStringArray(d.Values, f);
  });
  ok = ok && Put(f, static_cast<int32_t>(EntryCount()));
  ForEachEntry([&](const TDBCategoryData& e) {
    ok = ok && Put(f, e.EntryId) && Put(f, e.CategoryId) && Put(f, e.DataId) && Put(f, e.IsCategory) &&
         Put(f, e.Position) && Put(f, uint16_t(3)) && Put(f, e.PictureExtrasId) &&
         Put(f, e.SecondExtrasId) && Put(f, e.ActionExtrasId);
  });
  return ok;
}

// ---- the tree build ----

TDBNode* TDBNodeManager::NewNode(TDBCategoryData* entry, int32_t categoryId, bool isCategory) {
  nodes_.emplace_back();
  TDBNode* node = &nodes_.back();
  node->EntryId = entry->EntryId;
  node->Entry = duplicateEntryIds_ ? FindEntry(entry->EntryId) : entry;
  node->CategoryId = categoryId;
  node->IsCategory = isCategory ? 1 : 0;
  if (isCategory) {
    node->Children = std::make_unique<std::vector<TDBNode*>>();
    node->Children->reserve(6);
  }
  auto known = entryNodes_.emplace(node->EntryId, node);
  if (!known.second) known.first->second = nullptr;
  return node;
}

void TDBNodeManager::RegisterCategoryNode(TDBNode* node) {
  categoryNodes_.emplace(node->CategoryId, node);  // the first node of an id stays
}

void TDBNodeManager::InsertChild(TDBNode* parent, TDBNode* node, int32_t position) {
  if (!parent || !parent->Children || !node || node == parent) return;
  node->Parent = parent;
  std::vector<TDBNode*>& slots = *parent->Children;
  if (position < 0) {
    slots.push_back(node);
    return;
  }
  const size_t pos = static_cast<size_t>(position);
  if (pos >= slots.size()) {
    // A position beyond the slots in use plus the entries being built
    // appends, and all empty slots of one build come out of a budget, so
    // stored positions cannot inflate the arrays.
    const int64_t pads = static_cast<int64_t>(pos - slots.size());
    if (pads > buildSize_ || pads > padBudget_) {
      slots.push_back(node);
      return;
    }
    padBudget_ -= pads;
    slots.resize(pos, nullptr);
    slots.push_back(node);
    return;
  }
  if (!slots[pos]) slots[pos] = node;
  else slots.insert(slots.begin() + static_cast<std::ptrdiff_t>(pos), node);
}

// The placement follows repeated passes over the pending list, each pass in
// list order, an entry placed as soon as what it waits for has a node. Rather
// than rescanning, an entry that must wait is parked on the category it waits
// for; when that category's node appears, it comes back in the pass it would
// have been seen again in (this pass when it stands after the entry that made
// the node, else the next), so the placement order, which decides the order
// of siblings at equal positions, is that of the passes.
void TDBNodeManager::BuildTree(std::vector<TDBCategoryData*>& pending) {
  const size_t n = pending.size();
  buildSize_ = static_cast<int64_t>(n);
  padBudget_ = buildSize_ + 65536;
  std::vector<uint8_t> done(n, 0), counts(n, 0);
  // Pending category entries that can still make the node of a category.
  std::unordered_map<int32_t, int> makers;
  for (size_t i = 0; i < n; ++i) {
    const TDBCategoryData* e = pending[i];
    if (e->IsCategory && FindCategory(e->CategoryId)) {
      counts[i] = 1;
      ++makers[e->CategoryId];
    }
  }
  std::unordered_map<int32_t, std::vector<size_t>> waiting;
  using Visit = std::pair<int64_t, size_t>;  // pass, list index
  std::priority_queue<Visit, std::vector<Visit>, std::greater<Visit>> visits;
  for (size_t i = 0; i < n; ++i) visits.push({0, i});
  int64_t pass = 0;

  auto leave = [&](size_t i) {
    done[i] = 1;
    if (counts[i]) --makers[pending[i]->CategoryId];
  };
  auto makeCategory = [&](size_t i, TDBNode* parent) {
    TDBCategoryData* e = pending[i];
    const TDBCategory* rec = FindCategory(e->CategoryId);
    leave(i);
    TDBNode* node = NewNode(e, rec ? rec->Id : kNoDbId, true);
    InsertChild(parent, node, e->Position);
    const bool first = !FindCategoryNode(node->CategoryId);
    RegisterCategoryNode(node);
    if (!first) return;
    auto w = waiting.find(node->CategoryId);
    if (w == waiting.end()) return;
    for (size_t j : w->second)
      if (!done[j]) visits.push({j > i ? pass : pass + 1, j});
    waiting.erase(w);
  };
  auto placeData = [&](size_t i, TDBNode* parent) {
    TDBCategoryData* e = pending[i];
    // Below the node of its own category the answer of a lookup is known:
    // that node was made for the record (or, with id -1, for none).
    int32_t categoryId = e->CategoryId;
    if (parent == &root_ || parent->CategoryId != e->CategoryId) {
      const TDBCategory* rec = FindCategory(e->CategoryId);
      categoryId = rec ? rec->Id : kNoDbId;
    }
    leave(i);
    InsertChild(parent, NewNode(e, categoryId, false), e->Position);
  };
  auto visit = [&](size_t i) {
    const TDBCategoryData* e = pending[i];
    TDBNode* node = FindCategoryNode(e->CategoryId);
    if (!e->IsCategory) {
      if (node) placeData(i, node);
      else if (makers[e->CategoryId] <= 0) placeData(i, &root_);
      else waiting[e->CategoryId].push_back(i);
      return;
    }
    if (node) {  // a second entry of a category that has its node
      leave(i);
      return;
    }
    const TDBCategory* rec = FindCategory(e->CategoryId);
    const int32_t parentId = rec ? rec->ParentId : kNoDbId;
    if (parentId == kNoDbId) return makeCategory(i, &root_);
    if (TDBNode* parent = FindCategoryNode(parentId)) return makeCategory(i, parent);
    const int others = makers[parentId] - ((counts[i] && e->CategoryId == parentId) ? 1 : 0);
    if (others <= 0) return makeCategory(i, &root_);
    waiting[parentId].push_back(i);
  };

  size_t left = n;
  while (left) {
    while (!visits.empty()) {
      const Visit v = visits.top();
      visits.pop();
      if (done[v.second]) continue;
      pass = v.first;
      visit(v.second);
    }
    left = static_cast<size_t>(std::count(done.begin(), done.end(), 0));
    if (!left) break;
    // A whole pass would place nothing: the categories still waiting wait
    // on each other. They go to the top level in list order, and whatever
    // waited on them follows in the next pass.
    pass += 1;
    bool moved = false;
    for (size_t i = 0; i < n; ++i) {
      if (done[i] || !pending[i]->IsCategory) continue;
      moved = true;
      if (FindCategoryNode(pending[i]->CategoryId)) leave(i);
      else makeCategory(i, &root_);
    }
    if (!moved)
      for (size_t i = 0; i < n; ++i)
        if (!done[i]) placeData(i, &root_);
  }
  waiting.clear();
  pending.clear();
}

void TDBNodeManager::RebuildTree() {
  DiscardTree();
  std::vector<TDBCategoryData*> pending;
  pending.reserve(static_cast<size_t>(EntryCount()));
  ForEachEntry([&](TDBCategoryData& e) { pending.push_back(&e); });
  BuildTree(pending);
}

// ---- walks ----

void TDBNodeManager::CollectEntries(std::vector<TDBCategoryData*>& out) const {
  std::vector<std::pair<const TDBNode*, size_t>> stack{{&root_, 0}};
  while (!stack.empty()) {
    const TDBNode* node = stack.back().first;
    const size_t i = stack.back().second;
    if (!node->Children || i >= node->Children->size()) {
      stack.pop_back();
      continue;
    }
    ++stack.back().second;
    const TDBNode* child = (*node->Children)[i];
    if (!child) continue;
    TDBCategoryData* e = child->Entry && child->Entry->EntryId == child->EntryId ? child->Entry : FindEntry(child->EntryId);
    if (e) out.push_back(e);
    if (child->Children) stack.push_back({child, 0});
  }
}

void TDBNodeManager::RenumberPositions(TDBNode* node) {
  std::vector<TDBNode*> stack{node};
  while (!stack.empty()) {
    TDBNode* n = stack.back();
    stack.pop_back();
    if (!n || !n->Children) continue;
    auto& slots = *n->Children;
    slots.erase(std::remove(slots.begin(), slots.end(), nullptr), slots.end());
    for (size_t i = 0; i < slots.size(); ++i) {
      if (TDBCategoryData* e = FindEntry(slots[i]->EntryId)) e->Position = static_cast<int32_t>(i);
      if (slots[i]->Children) stack.push_back(slots[i]);
    }
  }
}

bool TDBNodeManager::MatchEntry(const TDBCategoryData* entry, void* context, uint8_t testNames,
                                uint8_t optA, uint8_t optB, int16_t fieldCount,
                                const int32_t* fieldIndexes, const int32_t* transformArgs,
                                std::vector<int32_t>& results, const MatchFn& match,
                                const TransformFn& transform, uint8_t transformFlag,
                                std::vector<string>* collect) const {
  const bool testing = collect == nullptr;
  if (entry && testNames) {
    const char* name = GetEntrySearchName(entry);
    if (testing && (!name || !*name)) name = GetEntryName(entry);
    if (testing) {
      if (name && match && match(name, context, optB, optA)) return true;
    } else if (name && *name) {
      collect->push_back(string(name));
      results.push_back(entry->EntryId);
    }
  }
  if (!entry || fieldCount <= 0 || !fieldIndexes || (testing && !context)) return false;
  const TDBData* d = FindData(entry->DataId);
  if (!d) return false;
  std::string trimmed;
  for (int i = 0; i < fieldCount; ++i) {
    const int32_t k = fieldIndexes[i];
    if (k < 0 || k >= d->Values.Count()) continue;
    const std::string& value = d->Values.ItemAt(k).str();
    if (transform) {
      // A copy: the transform may make the text longer than the stored value.
      string text = d->Values.ItemAt(k).strip(string::Both);
      transform(transformFlag, text, transformArgs ? transformArgs[i] : 0);
      if (testing) {
        if (match && match(text.c_str(), context, optB, optA)) return true;
      } else if (text.length()) {
        collect->push_back(text);
        results.push_back(entry->EntryId);
      }
      continue;
    }
    // Most stored texts carry no blanks at their ends: they are tested in
    // place, the others through one buffer reused for the whole entry.
    size_t b = 0, e = value.size();
    while (b < e && value[b] == ' ') ++b;
    while (e > b && value[e - 1] == ' ') --e;
    const char* text = value.c_str();
    if (b != 0 || e != value.size()) {
      trimmed.assign(value, b, e - b);
      text = trimmed.c_str();
    }
    if (testing) {
      if (match && match(text, context, optB, optA)) return true;
    } else if (e > b) {
      collect->push_back(string(text, e - b));
      results.push_back(entry->EntryId);
    }
  }
  return false;
}
