// MTREE: the program's ordered index, a B-tree of order 64 whose child links
// carry the number of entries below them, so that besides search by key it
// offers access by ordinal (the n-th entry in key order), the ordinal of a
// found entry, and removal or replacement by ordinal. Equal keys are allowed.
//
// Entries are fixed-size records whose key is a NUL-terminated string at
// their start; `Entry` describes one (see TKeyEntry, TPackEntry):
//   kBytes, kKeyBytes       bytes of the stored record and of its key field;
//   kCompanionBytes         in-memory bytes kept beside it (0 for none);
//   Encode/Decode           the record, field by field, to and from a page;
//   EncodeCompanion/DecodeCompanion  the in-memory companion.
// The tree reaches its pages only through the page-store operations of its
// base, `Store`: BT_MBASE (memory) or BT_FBASE (index file).
//
// Page: i16 n (entries in use), entries[64], then children[65] of 8 bytes
// (u32 page handle, u32 entries in that subtree). Entry i lies between child
// i and child i + 1; a page whose child 0 handle is 0 is a leaf. In a memory
// tree the companions follow the page, one per entry slot; a tree in a file
// keeps none (they read back empty).
//
// Positions are kept on an explicit path stack of 64 frames (page, index):
// the bottom frame is the root, each further frame the child reached, the top
// frame the current entry. Every public operation leaves the path empty.
// Portable: no Windows headers.
#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "foundation/core/index/indexerr.h"
#include "foundation/core/index/keycompare.h"
#include "foundation/core/index/mbase.h"

template <class Entry, class Store = BT_MBASE>
class MTREE : public Store {
public:
  static constexpr int kOrder = 64;     // entries per page at most
  static constexpr int kHalf = 32;      // entries per page at least, root aside
  static constexpr int kMaxDepth = 64;  // frames of the path stack
  static constexpr uint32_t kEntryBytes = Entry::kBytes;
  static constexpr uint32_t kKeyBytes = Entry::kKeyBytes;
  // Companions are pointers of this run: a tree in a file has none.
  static constexpr uint32_t kCompanionBytes = Store::kPagesFromFile ? 0 : Entry::kCompanionBytes;
  static constexpr uint32_t kChildrenOffset = 2 + kOrder * kEntryBytes;
  static constexpr uint32_t kPageBytes = kChildrenOffset + (kOrder + 1) * 8;
  static_assert(kPageBytes <= 32767, "page size must fit the store's i16");
  static_assert(kKeyBytes >= 1 && kKeyBytes <= kEntryBytes, "key inside the entry");

  MTREE() : MTREE(nullptr) {}
  // The comparison orders the keys (null: the default key order); the rest
  // goes to the store after the page size.
  template <class... A>
  explicit MTREE(tsl::KeyCompareFn cmp, A&&... storeArgs)
      : Store(static_cast<int16_t>(kPageBytes), std::forward<A>(storeArgs)...),
        cmp_(cmp ? cmp : tsl::DefaultKeyCompare()) {
    this->SetPageExtra(kOrder * kCompanionBytes);
  }
  ~MTREE() { ResetPath(); }
  MTREE(const MTREE&) = delete;
  MTREE& operator=(const MTREE&) = delete;

  // Inserts an entry. Mode < 0 (and 0) places it before the entries with an
  // equal key, mode > 0 after them. Out: the new entry's ordinal.
  bool Insert(const Entry& e, int mode = 0, int32_t* ordinal = nullptr) {
    Sync();
    Record r;
    Encode(e, r);
    if (root_ != 0) {
      if (!Search(r.key(), true, mode)) return Fail();
      if (ordinal) *ordinal = static_cast<int32_t>(CurrentOrdinal());
    } else if (ordinal) {
      *ordinal = 0;
    }
    if (!InsertAtPath(r)) return Fail();
    return true;
  }

  // Looks a key up. Mode 0: any equal entry; -1 / +1: the first / last
  // equal one; -2 / +2: as -1 / +1, else the nearest entry below / above;
  // -3 / +3: the nearest entry strictly below / above. False when nothing
  // qualifies or on failure.
  bool Find(const char* key, int mode = 0, Entry* out = nullptr, int32_t* ordinal = nullptr) {
    if (!Locate(key, mode)) return false;
    TakeCurrent(out, ordinal);
    ResetPath();
    return true;
  }

  bool FindAndRemove(const char* key, int mode = 0, Entry* out = nullptr,
                     int32_t* ordinal = nullptr) {
    if (!Locate(key, mode)) return false;
    TakeCurrent(out, ordinal);
    if (!DeleteCurrent()) return Fail();
    return true;
  }

  bool GetAt(int32_t ordinal, Entry& out) {
    Sync();
    if (ordinal < 0 || static_cast<uint32_t>(ordinal) >= count_) return false;
    if (!SeekOrdinal(ordinal)) return Fail();
    const Frame& t = path_[depth_ - 1];
    Decode(t.page, t.index, out);
    ResetPath();
    return true;
  }

  // Overwrites an entry in place; its key must keep its place in the order.
  bool SetAt(int32_t ordinal, const Entry& e) {
    Sync();
    if (ordinal < 0 || static_cast<uint32_t>(ordinal) >= count_) return false;
    if (!SeekOrdinal(ordinal)) return Fail();
    const Frame& t = path_[depth_ - 1];
    Record r;
    Encode(e, r);
    Put(t.page, t.index, r);
    this->MarkPageChanged(t.page);
    ResetPath();
    return true;
  }

  // Ordinal -1 removes the last entry.
  bool RemoveAt(int32_t ordinal, Entry* out = nullptr) {
    Sync();
    if (ordinal == -1) ordinal = static_cast<int32_t>(count_ - 1);
    if (ordinal < 0 || static_cast<uint32_t>(ordinal) >= count_) return false;
    if (!SeekOrdinal(ordinal)) return Fail();
    TakeCurrent(out, nullptr);
    if (!DeleteCurrent()) return Fail();
    return true;
  }

  // Frees every page (memory trees).
  void Clear() {
    ResetPath();
    this->FreeAllPages();
    root_ = count_ = 0;
  }

  uint32_t Count() const {
    uint32_t root, count;
    this->GetHeader(root, count);
    return count;
  }
  tsl::KeyCompareFn KeyCompare() const { return cmp_; }

protected:
  struct Frame {
    uint8_t* page;
    int16_t index;
  };

  // One entry as it lies in a page, with its companion.
  struct Record {
    std::array<uint8_t, kEntryBytes> bytes;
    std::array<uint8_t, kCompanionBytes ? kCompanionBytes : 1> companion;
    const char* key() const { return reinterpret_cast<const char*>(bytes.data()); }
  };

  // ---- page layout --------------------------------------------------------
  static int N(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }
  static void SetN(uint8_t* p, int n) {
    p[0] = static_cast<uint8_t>(n);
    p[1] = static_cast<uint8_t>(static_cast<uint16_t>(n) >> 8);
  }
  static uint8_t* At(uint8_t* p, int i) { return p + 2 + i * kEntryBytes; }
  static const char* Key(const uint8_t* p, int i) {
    return reinterpret_cast<const char*>(p + 2 + i * kEntryBytes);
  }
  static uint8_t* CompanionAt(uint8_t* p, int i) { return p + kPageBytes + i * kCompanionBytes; }
  static uint32_t U32(const uint8_t* q) {
    return static_cast<uint32_t>(q[0]) | static_cast<uint32_t>(q[1]) << 8 |
           static_cast<uint32_t>(q[2]) << 16 | static_cast<uint32_t>(q[3]) << 24;
  }
  static void PutU32(uint8_t* q, uint32_t v) {
    q[0] = static_cast<uint8_t>(v);
    q[1] = static_cast<uint8_t>(v >> 8);
    q[2] = static_cast<uint8_t>(v >> 16);
    q[3] = static_cast<uint8_t>(v >> 24);
  }
  static uint8_t* ChildAt(uint8_t* p, int j) { return p + kChildrenOffset + j * 8; }
  static const uint8_t* ChildAt(const uint8_t* p, int j) { return p + kChildrenOffset + j * 8; }
  static uint32_t ChildHandle(const uint8_t* p, int j) { return U32(ChildAt(p, j)); }
  static uint32_t ChildCount(const uint8_t* p, int j) { return U32(ChildAt(p, j) + 4); }
  static void SetChild(uint8_t* p, int j, uint32_t handle, uint32_t count) {
    PutU32(ChildAt(p, j), handle);
    PutU32(ChildAt(p, j) + 4, count);
  }
  static void SetChildCount(uint8_t* p, int j, uint32_t count) { PutU32(ChildAt(p, j) + 4, count); }
  static bool IsLeaf(const uint8_t* p) { return ChildHandle(p, 0) == 0; }

  // Moves n entries (with their companions) from slot s of page src to slot
  // d of page dst; the ranges may overlap.
  static void MoveEntries(uint8_t* dst, int d, uint8_t* src, int s, int n) {
    if (n <= 0) return;
    std::memmove(At(dst, d), At(src, s), static_cast<size_t>(n) * kEntryBytes);
    if (kCompanionBytes)
      std::memmove(CompanionAt(dst, d), CompanionAt(src, s), static_cast<size_t>(n) * kCompanionBytes);
  }
  static void MoveChildren(uint8_t* dst, int d, uint8_t* src, int s, int n) {
    if (n > 0) std::memmove(ChildAt(dst, d), ChildAt(src, s), static_cast<size_t>(n) * 8);
  }
  static void ZeroEntries(uint8_t* p, int from, int to) {
    if (from >= to) return;
    std::memset(At(p, from), 0, static_cast<size_t>(to - from) * kEntryBytes);
    if (kCompanionBytes)
      std::memset(CompanionAt(p, from), 0, static_cast<size_t>(to - from) * kCompanionBytes);
  }
  static void ZeroChildren(uint8_t* p, int from, int to) {
    if (from < to) std::memset(ChildAt(p, from), 0, static_cast<size_t>(to - from) * 8);
  }
  static void Put(uint8_t* p, int i, const Record& r) {
    std::memcpy(At(p, i), r.bytes.data(), kEntryBytes);
    if (kCompanionBytes) std::memcpy(CompanionAt(p, i), r.companion.data(), kCompanionBytes);
  }
  static void Get(uint8_t* p, int i, Record& r) {
    std::memcpy(r.bytes.data(), At(p, i), kEntryBytes);
    if (kCompanionBytes) std::memcpy(r.companion.data(), CompanionAt(p, i), kCompanionBytes);
  }
  static void Encode(const Entry& e, Record& r) {
    r.bytes.fill(0);
    r.companion.fill(0);
    e.Encode(r.bytes.data());
    r.bytes[kKeyBytes - 1] = 0;
    if (kCompanionBytes) e.EncodeCompanion(r.companion.data());
  }
  static void Decode(uint8_t* p, int i, Entry& e) {
    e = Entry();
    e.Decode(At(p, i));
    if (kCompanionBytes) e.DecodeCompanion(CompanionAt(p, i));
  }

  // ---- store access -------------------------------------------------------
  void Sync() { this->GetHeader(root_, count_); }

  static void Damaged() { tsl::IndexError("#ERR> INTERNAL_ERR: ", "damaged index-data in indexfile"); }

  // Fetches a page and checks what a damaged file could make unsafe: an
  // entry count outside 1..64 (no stored page is empty) and keys without
  // their terminating zero.
  uint8_t* Fetch(uint32_t handle) {
    uint8_t* p = this->FetchPage(handle);
    if (!p) {
      if (!Store::kPagesFromFile) Damaged();
      return nullptr;
    }
    const int n = N(p);
    if (n < 1 || n > kOrder) {
      Damaged();
      this->ReleasePage(p, false);
      return nullptr;
    }
    if (Store::kPagesFromFile)
      for (int i = 0; i < n; ++i) At(p, i)[kKeyBytes - 1] = 0;
    return p;
  }

  bool Push(uint8_t* page, int index) {
    if (depth_ >= kMaxDepth) {
      this->ReleasePage(page, false);
      tsl::IndexError("#ERR> DEEP_ERR: ", "tree too deep");
      return false;
    }
    path_[depth_++] = Frame{page, static_cast<int16_t>(index)};
    return true;
  }

  // Pops every frame, releasing its page unchanged.
  bool ResetPath() {
    bool ok = true;
    while (depth_ > 0)
      if (!this->ReleasePage(path_[--depth_].page, false)) ok = false;
    return ok;
  }

  bool Fail() {
    ResetPath();
    this->FlushPages();
    return false;
  }

  // Search in look-up form; true with the path at the entry found.
  bool Locate(const char* key, int mode) {
    Sync();
    if (root_ == 0 || !key) return false;
    if (!Search(key, false, mode)) return Fail();
    return depth_ > 0;
  }

  void TakeCurrent(Entry* out, int32_t* ordinal) {
    const Frame& t = path_[depth_ - 1];
    if (out) Decode(t.page, t.index, *out);
    if (ordinal) *ordinal = static_cast<int32_t>(CurrentOrdinal());
  }

  // ---- search -------------------------------------------------------------

  // A position 0..n in one page: the first entry not less than the key,
  // for mode > 0 moved up to the last entry of the page equal to it. Out:
  // whether the entry at the position equals the key.
  int SearchPage(const char* key, int mode, const uint8_t* page, bool& equal) const {
    const int n = N(page);
    int lo = 0, hi = n;  // entries below lo are less than the key, from hi on not
    equal = false;
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      const int c = cmp_(key, Key(page, mid));
      if (c <= 0) {
        hi = mid;
        equal = c == 0;
      } else {
        lo = mid + 1;
      }
    }
    int pos = hi;
    if (mode > 0 && equal)
      while (pos < n - 1 && cmp_(key, Key(page, pos + 1)) == 0) ++pos;
    return pos;
  }

  // Placing form: the path ends at the leaf position for a new entry.
  // Look-up form: the path ends at the entry found, or is empty.
  bool Search(const char* key, bool placing, int mode) {
    if (placing && mode == 0) mode = -1;
    uint8_t* page = Fetch(root_);
    if (!page) return false;
    uint8_t* match = nullptr;
    int matchIndex = 0;
    int i = 0;
    for (;;) {
      bool equal = false;
      i = SearchPage(key, mode, page, equal);
      if (equal) {
        match = page;
        matchIndex = i;
        if (mode == 0) break;
        if (mode > 0) ++i;
      }
      if (IsLeaf(page)) break;
      if (!Push(page, i)) return false;
      page = Fetch(ChildHandle(page, i));
      if (!page) return false;
    }
    if (placing) return Push(page, i);
    const int am = mode < 0 ? -mode : mode;
    if (am == 3 || (am == 2 && !match)) {
      if (mode < 0) return Push(page, i) && Prev();
      return Push(page, i - 1) && Next();
    }
    if (match) {
      if (page != match) {
        this->ReleasePage(page, false);
        while (depth_ > 0 && path_[depth_ - 1].page != match) this->ReleasePage(path_[--depth_].page, false);
        if (depth_ > 0) --depth_;  // the matched page, held on
      }
      return Push(match, matchIndex);
    }
    this->ReleasePage(page, false);
    ResetPath();
    return true;
  }

  // Successor of the top frame; an empty path when the end was passed.
  bool Next() {
    Frame f = path_[--depth_];
    uint8_t* p = f.page;
    int j = f.index + 1;
    if (IsLeaf(p)) {
      while (j >= N(p)) {
        this->ReleasePage(p, false);
        if (depth_ == 0) return true;
        f = path_[--depth_];
        p = f.page;
        j = f.index;
      }
      return Push(p, j);
    }
    if (!Push(p, j)) return false;
    uint8_t* c = Fetch(ChildHandle(p, j));
    while (c && !IsLeaf(c)) {
      if (!Push(c, 0)) return false;
      c = Fetch(ChildHandle(c, 0));
    }
    return c && Push(c, 0);
  }

  // Predecessor of the top frame; an empty path when the start was passed.
  bool Prev() {
    Frame f = path_[--depth_];
    uint8_t* p = f.page;
    int i = f.index;
    if (IsLeaf(p)) {
      while (i <= 0) {
        this->ReleasePage(p, false);
        if (depth_ == 0) return true;
        f = path_[--depth_];
        p = f.page;
        i = f.index;
      }
      return Push(p, i - 1);
    }
    if (!Push(p, i)) return false;
    uint8_t* c = Fetch(ChildHandle(p, i));
    while (c && !IsLeaf(c)) {
      const int n = N(c);
      if (!Push(c, n)) return false;
      c = Fetch(ChildHandle(c, n));
    }
    return c && Push(c, N(c) - 1);
  }

  // Sets the path to the entry with ordinal k.
  bool SeekOrdinal(int32_t k) {
    if (k < 0 || static_cast<uint32_t>(k) >= count_) {
      tsl::IndexError("#ERR> PARA_ERR: ", "index-parameter '", k, "' out of range");
      return false;
    }
    int64_t rest = k;
    uint8_t* p = Fetch(root_);
    while (p) {
      const int n = N(p);
      if (IsLeaf(p)) {
        if (rest >= n) break;
        return Push(p, static_cast<int>(rest));
      }
      int j = 0;
      bool inside = false;
      for (; j <= n; ++j) {
        const int64_t c = ChildCount(p, j);
        if (rest < c) {
          inside = true;
          break;
        }
        rest -= c;
        if (j == n) break;  // no entry after the last child: the counts do not add up
        if (rest == 0) return Push(p, j);
        --rest;
      }
      if (!inside) break;
      if (!Push(p, j)) return false;
      p = Fetch(ChildHandle(p, j));
      if (!p) return false;
    }
    if (p) {
      Damaged();
      this->ReleasePage(p, false);
    }
    return false;
  }

  // Number of entries before the current one.
  uint32_t CurrentOrdinal() const {
    uint32_t sum = 0;
    for (int d = 0; d < depth_; ++d) {
      const uint8_t* p = path_[d].page;
      const int i = path_[d].index;
      sum += static_cast<uint32_t>(i);
      if (IsLeaf(p)) continue;
      const int last = d == depth_ - 1 ? i : i - 1;
      for (int j = 0; j <= last; ++j) sum += ChildCount(p, j);
    }
    return sum;
  }

  static uint32_t SubtreeCount(const uint8_t* p) {
    const int n = N(p);
    uint32_t sum = static_cast<uint32_t>(n);
    if (!IsLeaf(p))
      for (int j = 0; j <= n; ++j) sum += ChildCount(p, j);
    return sum;
  }

  // ---- insertion ----------------------------------------------------------

  // Puts the record at the leaf position the path ends at, splitting full
  // pages on the way up. The pages the splits need are allocated before
  // anything changes, so that a failed allocation leaves the tree intact.
  bool InsertAtPath(const Record& entry) {
    int need = 0;
    int d = depth_ - 1;
    while (d >= 0 && N(path_[d].page) >= kOrder) {
      ++need;
      --d;
    }
    if (d < 0) ++need;  // a new root
    std::array<uint8_t*, kMaxDepth + 1> pages{};
    std::array<uint32_t, kMaxDepth + 1> handles{};
    for (int r = 0; r < need; ++r) {
      pages[r] = this->AllocPage(handles[r]);
      if (!pages[r]) {
        while (r > 0) this->FreePage(pages[--r]);
        return false;
      }
    }
    int next = 0;
    Record carried = entry;
    uint32_t linkHandle = 0, linkCount = 0;
    bool firstLevel = true;
    for (;;) {
      if (depth_ == 0) {
        uint8_t* r = pages[next];
        const uint32_t h = handles[next];
        SetN(r, 1);
        Put(r, 0, carried);
        SetChild(r, 1, linkHandle, linkCount);
        SetChild(r, 0, root_, firstLevel ? count_ : count_ - linkCount);
        root_ = h;
        ++count_;
        this->ReleasePage(r, true);
        this->SetHeader(root_, count_);
        return true;
      }
      const Frame f = path_[--depth_];
      uint8_t* p = f.page;
      const int i = f.index;
      if (!firstLevel) SetChildCount(p, i, ChildCount(p, i) - linkCount);
      const int n = N(p);
      if (n < kOrder) {
        MoveEntries(p, i + 1, p, i, n - i);
        MoveChildren(p, i + 2, p, i + 1, n - i);
        Put(p, i, carried);
        SetChild(p, i + 1, linkHandle, linkCount);
        SetN(p, n + 1);
        this->ReleasePage(p, true);
        while (depth_ > 0) {
          const Frame a = path_[--depth_];
          SetChildCount(a.page, a.index, ChildCount(a.page, a.index) + 1);
          this->ReleasePage(a.page, true);
        }
        ++count_;
        this->SetHeader(root_, count_);
        return true;
      }
      uint8_t* q = pages[next];
      const uint32_t qh = handles[next];
      ++next;
      Split(p, i, q, carried, linkHandle, linkCount);
      linkHandle = qh;
      linkCount = SubtreeCount(q);
      this->ReleasePage(p, true);
      this->ReleasePage(q, true);
      firstLevel = false;
    }
  }

  // Of the 65 entries (p's 64 with `carried` at i, its link at child i + 1)
  // the first 32 stay in p, the 33rd goes up (into `carried`), the last 32
  // go to the fresh page q, each with its child links.
  void Split(uint8_t* p, int i, uint8_t* q, Record& carried, uint32_t linkHandle,
             uint32_t linkCount) {
    if (scratch_.empty()) scratch_.resize(static_cast<size_t>(kOrder) + 1);
    std::array<uint8_t, (kOrder + 2) * 8> links;
    for (int k = 0, s = 0; k <= kOrder; ++k) {
      if (k == i)
        scratch_[k] = carried;
      else
        Get(p, s++, scratch_[k]);
    }
    for (int k = 0, s = 0; k <= kOrder + 1; ++k) {
      if (k == i + 1) {
        PutU32(&links[k * 8], linkHandle);
        PutU32(&links[k * 8 + 4], linkCount);
      } else {
        std::memcpy(&links[k * 8], ChildAt(p, s++), 8);
      }
    }
    for (int k = 0; k < kHalf; ++k) Put(p, k, scratch_[k]);
    std::memcpy(ChildAt(p, 0), &links[0], (kHalf + 1) * 8);
    ZeroEntries(p, kHalf, kOrder);
    ZeroChildren(p, kHalf + 1, kOrder + 1);
    SetN(p, kHalf);
    for (int k = 0; k < kHalf; ++k) Put(q, k, scratch_[kHalf + 1 + k]);
    std::memcpy(ChildAt(q, 0), &links[(kHalf + 1) * 8], (kHalf + 1) * 8);
    SetN(q, kHalf);
    carried = scratch_[kHalf];
  }

  // ---- removal ------------------------------------------------------------

  // Removes the entry of the top frame, borrowing from or merging with a
  // sibling on the way up where a page falls below 32 entries.
  bool DeleteCurrent() {
    Frame f = path_[--depth_];
    uint8_t* p = f.page;
    int i = f.index;
    if (!IsLeaf(p)) {
      // Replace it by its predecessor, which lies in a leaf.
      path_[depth_++] = f;
      if (!Prev() || depth_ == 0) return false;
      const Frame l = path_[--depth_];
      MoveEntries(p, i, l.page, l.index, 1);
      p = l.page;
      i = l.index;
    }
    int n = N(p);
    MoveEntries(p, i, p, i + 1, n - 1 - i);
    ZeroEntries(p, n - 1, n);
    SetN(p, n - 1);
    for (;;) {
      n = N(p);
      if (n >= kHalf) {
        this->ReleasePage(p, true);
        return Shrunk();
      }
      if (depth_ == 0) {
        if (n == 0) {
          root_ = ChildHandle(p, 0);
          count_ = ChildCount(p, 0);
          this->FreePage(p);
        } else {
          this->ReleasePage(p, true);
          --count_;
        }
        this->SetHeader(root_, count_);
        return true;
      }
      const Frame qf = path_[--depth_];
      uint8_t* q = qf.page;
      int k = qf.index;
      const int qn = N(q);
      const bool rightSibling = k < qn;
      if (!rightSibling) --k;
      uint8_t* s = Fetch(ChildHandle(q, rightSibling ? k + 1 : k));
      if (!s) {
        this->ReleasePage(p, true);
        path_[depth_++] = qf;
        return false;
      }
      const int sn = N(s);
      if (sn > kHalf) {
        Borrow(q, k, p, s, rightSibling);
        this->ReleasePage(p, true);
        this->ReleasePage(s, true);
        this->ReleasePage(q, true);
        return Shrunk();
      }
      uint8_t* left = rightSibling ? p : s;
      uint8_t* right = rightSibling ? s : p;
      const int ln = N(left), rn = N(right);
      MoveEntries(left, ln, q, k, 1);
      MoveEntries(left, ln + 1, right, 0, rn);
      MoveChildren(left, ln + 1, right, 0, rn + 1);
      SetN(left, ln + 1 + rn);
      SetChildCount(q, k, ChildCount(q, k) + ChildCount(q, k + 1));
      MoveEntries(q, k, q, k + 1, qn - 1 - k);
      MoveChildren(q, k + 1, q, k + 2, qn - 1 - k);
      ZeroEntries(q, qn - 1, qn);
      ZeroChildren(q, qn, qn + 1);
      SetN(q, qn - 1);
      this->FreePage(right);
      this->ReleasePage(left, true);
      p = q;
    }
  }

  // Moves one entry through the separator k of q into p from its sibling s.
  void Borrow(uint8_t* q, int k, uint8_t* p, uint8_t* s, bool fromRight) {
    const int pn = N(p), sn = N(s);
    if (fromRight) {
      const uint32_t moved = ChildCount(s, 0);
      MoveEntries(p, pn, q, k, 1);
      MoveChildren(p, pn + 1, s, 0, 1);
      SetN(p, pn + 1);
      MoveEntries(q, k, s, 0, 1);
      MoveEntries(s, 0, s, 1, sn - 1);
      MoveChildren(s, 0, s, 1, sn);
      ZeroEntries(s, sn - 1, sn);
      ZeroChildren(s, sn, sn + 1);
      SetN(s, sn - 1);
      SetChildCount(q, k, ChildCount(q, k) + moved);
      SetChildCount(q, k + 1, ChildCount(q, k + 1) - moved - 1);
    } else {
      const uint32_t moved = ChildCount(s, sn);
      MoveEntries(p, 1, p, 0, pn);
      MoveChildren(p, 1, p, 0, pn + 1);
      MoveEntries(p, 0, q, k, 1);
      MoveChildren(p, 0, s, sn, 1);
      SetN(p, pn + 1);
      MoveEntries(q, k, s, sn - 1, 1);
      ZeroEntries(s, sn - 1, sn);
      ZeroChildren(s, sn, sn + 1);
      SetN(s, sn - 1);
      SetChildCount(q, k, ChildCount(q, k) - moved - 1);
      SetChildCount(q, k + 1, ChildCount(q, k + 1) + moved);
    }
  }

  // After a removal: one entry less along the rest of the path.
  bool Shrunk() {
    while (depth_ > 0) {
      const Frame a = path_[--depth_];
      SetChildCount(a.page, a.index, ChildCount(a.page, a.index) - 1);
      this->ReleasePage(a.page, true);
    }
    --count_;
    this->SetHeader(root_, count_);
    return true;
  }

  uint32_t root_ = 0;
  uint32_t count_ = 0;
  Frame path_[kMaxDepth] = {};
  int depth_ = 0;
  tsl::KeyCompareFn cmp_;
  std::vector<Record> scratch_;
};
