// The class library's containers the player is written against: value and
// indirect (pointer) vectors, a sorted indirect vector with stable insert,
// and an indirect hash table. Indirect containers compare their elements by
// value (operator== / operator< of the pointee) and, while they own their
// elements (the default), delete them on Destroy, Flush and destruction.
// Portable: no Windows headers.
#pragma once
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tsl {

// Index returned by Find when nothing matches.
constexpr int kNotFound = INT_MAX;

enum class DeleteType { NoDelete, DefDelete, Delete };

// Value array. Initial capacity and growth are kept for fidelity; the vector
// grows as needed.
template <class T>
class TArrayAsVector {
public:
  explicit TArrayAsVector(int upper = 10, int lower = 0, int delta = 10) : delta_(delta) {
    (void)lower;
    items_.reserve(upper > 0 ? static_cast<size_t>(upper) : 0);
  }
  int Add(const T& t) { items_.push_back(t); return 1; }
  int AddAt(const T& t, int loc) {
    if (loc < 0) return 0;
    if (static_cast<size_t>(loc) > items_.size()) items_.resize(loc);
    items_.insert(items_.begin() + loc, t);
    return 1;
  }
  int Detach(int loc) {
    if (loc < 0 || static_cast<size_t>(loc) >= items_.size()) return 0;
    items_.erase(items_.begin() + loc);
    return 1;
  }
  int Destroy(int loc) { return Detach(loc); }
  int Find(const T& t) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == t) return static_cast<int>(i);
    return kNotFound;
  }
  bool HasMember(const T& t) const { return Find(t) != kNotFound; }
  T& operator[](int loc) {
    if (loc >= 0 && static_cast<size_t>(loc) >= items_.size()) items_.resize(loc + 1);
    return items_[loc];
  }
  const T& operator[](int loc) const { return items_[loc]; }
  int GetItemsInContainer() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  void Flush() { items_.clear(); }
  int ArraySize() const { return static_cast<int>((std::max)(items_.capacity(), items_.size())); }
  int Delta() const { return delta_; }
  template <class F>
  void ForEach(F f) { for (auto& t : items_) f(t); }
  typename std::vector<T>::iterator begin() { return items_.begin(); }
  typename std::vector<T>::iterator end() { return items_.end(); }
  typename std::vector<T>::const_iterator begin() const { return items_.begin(); }
  typename std::vector<T>::const_iterator end() const { return items_.end(); }

private:
  std::vector<T> items_;
  int delta_;
};

// Array of owned pointers.
template <class T>
class TIArrayAsVector {
public:
  explicit TIArrayAsVector(int upper = 10, int lower = 0, int delta = 10) : delta_(delta) {
    (void)lower;
    items_.reserve(upper > 0 ? static_cast<size_t>(upper) : 0);
  }
  virtual ~TIArrayAsVector() { Flush(DeleteType::DefDelete); }
  TIArrayAsVector(const TIArrayAsVector&) = delete;
  TIArrayAsVector& operator=(const TIArrayAsVector&) = delete;

  void OwnsElements(bool own) { owns_ = own; }
  bool OwnsElements() const { return owns_; }

  virtual int Add(T* t) { items_.push_back(t); return 1; }
  int AddAt(T* t, int loc) {
    if (loc < 0) return 0;
    if (static_cast<size_t>(loc) > items_.size()) items_.resize(loc, nullptr);
    items_.insert(items_.begin() + loc, t);
    return 1;
  }
  // Removes the element at `loc`; deletes it when asked to (or, for
  // DefDelete, when the array owns its elements).
  int Detach(int loc, DeleteType dt = DeleteType::NoDelete) {
    if (loc < 0 || static_cast<size_t>(loc) >= items_.size()) return 0;
    T* t = items_[loc];
    items_.erase(items_.begin() + loc);
    if (ShouldDelete(dt)) delete t;
    return 1;
  }
  // Removes this very pointer (identity, not value).
  int Detach(T* t, DeleteType dt = DeleteType::NoDelete) {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == t) return Detach(static_cast<int>(i), dt);
    return 0;
  }
  int Destroy(int loc) { return Detach(loc, DeleteType::Delete); }
  int Destroy(T* t) { return Detach(t, DeleteType::Delete); }
  // Index of the first element equal in value to *t.
  int Find(const T* t) const {
    if (!t) return kNotFound;
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] && *items_[i] == *t) return static_cast<int>(i);
    return kNotFound;
  }
  bool HasMember(const T* t) const { return Find(t) != kNotFound; }
  T*& operator[](int loc) {
    if (loc >= 0 && static_cast<size_t>(loc) >= items_.size()) items_.resize(loc + 1, nullptr);
    return items_[loc];
  }
  T* operator[](int loc) const { return items_[loc]; }
  int GetItemsInContainer() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  void Flush(DeleteType dt = DeleteType::DefDelete) {
    if (ShouldDelete(dt))
      for (T* t : items_) delete t;
    items_.clear();
  }
  int ArraySize() const { return static_cast<int>((std::max)(items_.capacity(), items_.size())); }
  template <class F>
  void ForEach(F f) { for (T* t : items_) if (t) f(*t); }
  template <class P>
  T* FirstThat(P p) const { for (T* t : items_) if (t && p(*t)) return t; return nullptr; }
  template <class P>
  T* LastThat(P p) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
      if (*it && p(**it)) return *it;
    return nullptr;
  }
  typename std::vector<T*>::iterator begin() { return items_.begin(); }
  typename std::vector<T*>::iterator end() { return items_.end(); }
  typename std::vector<T*>::const_iterator begin() const { return items_.begin(); }
  typename std::vector<T*>::const_iterator end() const { return items_.end(); }

protected:
  bool ShouldDelete(DeleteType dt) const {
    return dt == DeleteType::Delete || (dt == DeleteType::DefDelete && owns_);
  }
  std::vector<T*> items_;

private:
  int delta_;
  bool owns_ = true;
};

// Sorted array of owned pointers, ascending by operator< of the pointees;
// an element equal to others goes after them.
template <class T>
class TISArrayAsVector : public TIArrayAsVector<T> {
public:
  using TIArrayAsVector<T>::TIArrayAsVector;
  int Add(T* t) override {
    auto& v = this->items_;
    auto pos = std::upper_bound(v.begin(), v.end(), t,
                                [](const T* a, const T* b) { return *a < *b; });
    v.insert(pos, t);
    return 1;
  }
  // Binary search for an element equal in value to *t (first of equals).
  int Find(const T* t) const {
    if (!t) return kNotFound;
    const auto& v = this->items_;
    auto pos = std::lower_bound(v.begin(), v.end(), t,
                                [](const T* a, const T* b) { return *a < *b; });
    for (; pos != v.end() && !(*t < **pos); ++pos)
      if (**pos == *t) return static_cast<int>(pos - v.begin());
    return kNotFound;
  }
};

// Hash table of owned pointers; T provides HashValue() and operator==.
template <class T>
class TIHashTableImp {
public:
  explicit TIHashTableImp(unsigned size = 111) : buckets_(size ? size : 1) {}
  ~TIHashTableImp() { Flush(DeleteType::DefDelete); }
  TIHashTableImp(const TIHashTableImp&) = delete;
  TIHashTableImp& operator=(const TIHashTableImp&) = delete;

  void OwnsElements(bool own) { owns_ = own; }
  int Add(T* t) {
    const size_t b = Bucket(*t);
    if (buckets_[b].empty()) used_.push_back(b);
    buckets_[b].push_back(t);
    ++count_;
    return 1;
  }
  // The stored element equal in value to `key`, or null.
  T* Find(const T* key) const {
    if (!key) return nullptr;
    for (T* t : buckets_[Bucket(*key)])
      if (*t == *key) return t;
    return nullptr;
  }
  // The first stored element in the bucket of `hash` that `match` accepts,
  // or null; lets a caller look up without building a key.
  template <class Match>
  T* FindIf(uint32_t hash, Match match) const {
    for (T* t : buckets_[hash % buckets_.size()])
      if (match(*t)) return t;
    return nullptr;
  }
  // Removes the stored element equal to `key`.
  int Detach(const T* key, DeleteType dt = DeleteType::NoDelete) {
    if (!key) return 0;
    auto& b = buckets_[Bucket(*key)];
    for (size_t i = 0; i < b.size(); ++i)
      if (*b[i] == *key) {
        T* t = b[i];
        b.erase(b.begin() + i);
        --count_;
        if (ShouldDelete(dt)) delete t;
        return 1;
      }
    return 0;
  }
  // Large tables hold few elements: only the buckets ever filled are visited.
  void Flush(DeleteType dt = DeleteType::DefDelete) {
    for (size_t i : used_) {
      auto& b = buckets_[i];
      if (ShouldDelete(dt))
        for (T* t : b) delete t;
      b.clear();
    }
    used_.clear();
    count_ = 0;
  }
  int GetItemsInContainer() const { return static_cast<int>(count_); }
  bool IsEmpty() const { return count_ == 0; }
  template <class F>
  void ForEach(F f) {
    if (count_ == 0) return;
    if (used_.size() * 8 < buckets_.size()) {  // in bucket order, as a full walk
      std::vector<size_t> order(used_);
      std::sort(order.begin(), order.end());
      order.erase(std::unique(order.begin(), order.end()), order.end());  // refilled after a detach
      for (size_t i : order)
        for (T* t : buckets_[i]) f(*t);
      return;
    }
    for (auto& b : buckets_) for (T* t : b) f(*t);
  }

private:
  size_t Bucket(const T& t) const { return static_cast<uint32_t>(t.HashValue()) % buckets_.size(); }
  bool ShouldDelete(DeleteType dt) const {
    return dt == DeleteType::Delete || (dt == DeleteType::DefDelete && owns_);
  }
  std::vector<std::vector<T*>> buckets_;
  std::vector<size_t> used_;  // buckets filled since the last flush
  size_t count_ = 0;
  bool owns_ = true;
};

}  // namespace tsl

using tsl::TArrayAsVector;
using tsl::TIArrayAsVector;
using tsl::TISArrayAsVector;
using tsl::TIHashTableImp;
