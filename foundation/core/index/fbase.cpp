#include "foundation/core/index/fbase.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "foundation/core/index/indexerr.h"
#include "foundation/core/index/mbase.h"

using tsl::IndexError;

namespace {

void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

const char kDamaged[] = "damaged index-data in indexfile";

}  // namespace

BT_FBASE::BT_FBASE(int16_t nodeSize, uint32_t cacheLimit, int16_t growth, bool writeThrough,
                   tsl::TIndexFiles& files)
    : nodeSize_(nodeSize > 0 ? nodeSize : 1),
      cacheLimit_(cacheLimit),
      growth_(growth),
      writeThrough_(writeThrough),
      files_(files) {
  static_assert(offsetof(Node, magic) + 4 == sizeof(Node), "magic must precede the data");
}

BT_FBASE::~BT_FBASE() { Close(); }

// ---- file ------------------------------------------------------------------

bool BT_FBASE::FlushFile() { return !writeThrough_ || files_.Flush(*file_); }

bool BT_FBASE::SeekTo(int64_t offset) {
  if (file_ && file_->Seek(offset, tsl::ByteStream::beg) == offset) return true;
  IndexError("#ERR> SEEK_ERR: ", "fseek failed", ", ", files_.ErrorText());
  return false;
}

bool BT_FBASE::ReadHeader() {
  uint8_t h[kHeaderBytes];
  if (!SeekTo(0)) return false;
  if (file_->Read(h, kHeaderBytes) != kHeaderBytes) {
    IndexError("#ERR> READ_ERR: ", "fread failed", ", ", files_.ErrorText());
    return false;
  }
  fileNodeSize_ = static_cast<int16_t>(h[0] | h[1] << 8);
  firstFree_ = GetU32(h + 2);
  root_ = GetU32(h + 6);
  count_ = GetU32(h + 10);
  return true;
}

bool BT_FBASE::WriteHeader() {
  uint8_t h[kHeaderBytes];
  h[0] = static_cast<uint8_t>(nodeSize_);
  h[1] = static_cast<uint8_t>(static_cast<uint16_t>(nodeSize_) >> 8);
  PutU32(h + 2, firstFree_);
  PutU32(h + 6, root_);
  PutU32(h + 10, count_);
  if (!SeekTo(0)) return false;
  if (file_->Write(h, kHeaderBytes) != kHeaderBytes) {
    IndexError("#ERR> WRITE_ERR: ", "fwrite failed", ", ", files_.ErrorText());
    return false;
  }
  FlushFile();
  headerChanged_ = false;
  return true;
}

bool BT_FBASE::ReadNode(uint32_t number, uint8_t* data) {
  if (!SeekTo(kHeaderBytes + static_cast<int64_t>(number - 1) * nodeSize_)) return false;
  if (file_->Read(data, static_cast<uint32_t>(nodeSize_)) != static_cast<uint32_t>(nodeSize_)) {
    IndexError("#ERR> READ_ERR: ", "fread failed", ", ", files_.ErrorText());
    return false;
  }
  return true;
}

bool BT_FBASE::WriteNodeData(uint32_t number, const uint8_t* data) {
  if (!SeekTo(kHeaderBytes + static_cast<int64_t>(number - 1) * nodeSize_)) return false;
  if (file_->Write(data, static_cast<uint32_t>(nodeSize_)) != static_cast<uint32_t>(nodeSize_)) {
    IndexError("#ERR> WRITE_ERR: ", "fwrite failed", ", ", files_.ErrorText());
    return false;
  }
  FlushFile();
  return true;
}

bool BT_FBASE::WriteNode(Node* n) {
  if (!WriteNodeData(n->number, DataOf(n))) return false;
  n->changed = 0;
  return true;
}

bool BT_FBASE::Open(const char* path, int16_t mode) {
  if (file_) {
    IndexError("#ERR> STATUS_ERR: ", "indexfile already open");
    return false;
  }
  fileNodeSize_ = nodeSize_;
  firstFree_ = root_ = count_ = 0;
  headerChanged_ = false;
  fileNodes_ = 0;
  bool existing = false;
  switch (mode) {
    case 0:
    case 3:
      file_ = files_.Open(path, mode == 0 ? tsl::TIndexFiles::ReadWrite : tsl::TIndexFiles::ReadOnly);
      existing = true;
      break;
    case 1:
      file_ = files_.Open(path, tsl::TIndexFiles::ReadWrite);
      existing = file_ != nullptr;
      if (!file_) file_ = files_.Open(path, tsl::TIndexFiles::Create);
      break;
    case 2:
      file_ = files_.Open(path, tsl::TIndexFiles::Create);
      break;
    default:
      break;
  }
  if (!file_) {
    IndexError("#ERR> OPEN_ERR: ", "open('", path ? path : "", "',", mode, ") failed");
    return false;
  }
  name_ = path ? path : "";
  if (existing) {
    if (!ReadHeader()) {
      file_.reset();
      name_.clear();
      return false;
    }
    if (fileNodeSize_ != nodeSize_) {
      IndexError("#ERR> SIZEINFO_ERR: ", "mismatched size-information in indexfile");
      file_.reset();
      name_.clear();
      firstFree_ = root_ = count_ = 0;
      return false;
    }
    const int64_t len = file_->Length();
    const int64_t nodes = len > kHeaderBytes ? (len - kHeaderBytes) / nodeSize_ : 0;
    fileNodes_ = static_cast<uint32_t>(std::min<int64_t>(nodes, UINT32_MAX));
    return true;
  }
  return WriteHeader();
}

bool BT_FBASE::Close() {
  if (!file_) return true;
  const bool flushed = FlushAll();
  const bool trimmed = TrimCache(-1);
  file_.reset();
  name_.clear();
  return flushed && trimmed;
}

// ---- header ----------------------------------------------------------------

void BT_FBASE::GetHeader(uint32_t& root, uint32_t& count) const {
  root = root_;
  count = count_;
}

bool BT_FBASE::SetHeader(uint32_t root, uint32_t count) {
  if (root == root_ && count == count_) return true;
  root_ = root;
  count_ = count;
  headerChanged_ = true;
  if (writeThrough_ && file_) return WriteHeader();
  return true;
}

// ---- buckets and ring ------------------------------------------------------

void BT_FBASE::RingAddTail(Node* n) {
  if (!ringHead_) {
    n->ringNext = n->ringPrev = n;
    ringHead_ = n;
    return;
  }
  n->ringNext = ringHead_;
  n->ringPrev = ringHead_->ringPrev;
  ringHead_->ringPrev->ringNext = n;
  ringHead_->ringPrev = n;
}

void BT_FBASE::RingAddHead(Node* n) {
  RingAddTail(n);
  ringHead_ = n;
}

void BT_FBASE::RingRemove(Node* n) {
  if (InUse(n)) return;
  if (n->ringNext == n) {
    ringHead_ = nullptr;
  } else {
    if (n == ringHead_) ringHead_ = n->ringNext;
    n->ringNext->ringPrev = n->ringPrev;
    n->ringPrev->ringNext = n->ringNext;
  }
  n->ringNext = n->ringPrev = nullptr;
}

void BT_FBASE::BucketAdd(Node* n) {
  Node*& head = buckets_[n->number & 0xFF];
  n->bucketNext = head;
  head = n;
}

void BT_FBASE::BucketRemove(Node* n) {
  for (Node** p = &buckets_[n->number & 0xFF]; *p; p = &(*p)->bucketNext)
    if (*p == n) {
      *p = n->bucketNext;
      n->bucketNext = nullptr;
      return;
    }
}

BT_FBASE::Node* BT_FBASE::BucketFind(uint32_t number) const {
  for (Node* n = buckets_[number & 0xFF]; n; n = n->bucketNext)
    if (n->number == number) return n;
  return nullptr;
}

template <class F>
void BT_FBASE::ForEachCached(F f) {
  for (Node* head : buckets_)
    for (Node* n = head; n;) {
      Node* next = n->bucketNext;
      f(n);
      n = next;
    }
}

// ---- buffers ---------------------------------------------------------------

BT_FBASE::Node* BT_FBASE::NewBuffer() {
  const size_t bytes = sizeof(Node) + static_cast<size_t>(nodeSize_) + extra_;
  void* mem = tsl::index_testing::TakeAllocationFailure() ? nullptr
                                                          : ::operator new(bytes, std::nothrow);
  if (!mem) {
    IndexError("#ERR> NOMEM_ERR: ", "new char[",
               static_cast<uint32_t>(nodeSize_) + kBufferHeadBytes, "] failed");
    return nullptr;
  }
  std::memset(mem, 0, bytes);
  Node* n = static_cast<Node*>(mem);
  n->magic = kMagic;
  cacheBytes_ += static_cast<uint32_t>(nodeSize_);
  return n;
}

void BT_FBASE::DeleteBuffer(Node* n) {
  cacheBytes_ -= static_cast<uint32_t>(nodeSize_);
  n->magic = 0;
  ::operator delete(n);
}

BT_FBASE::Node* BT_FBASE::GetBuffer() {
  Node* n = nullptr;
  auto fromRing = [this]() -> Node* {
    Node* r = ringHead_;
    if (!r || (r->changed && !WriteNode(r))) return nullptr;
    RingRemove(r);
    if (r->number) BucketRemove(r);
    return r;
  };
  if (static_cast<uint64_t>(cacheBytes_) + nodeSize_ + kBufferHeadBytes > cacheLimit_)
    n = fromRing();
  if (!n) n = NewBuffer();
  if (!n) n = fromRing();
  if (!n) return nullptr;
  n->number = 0;
  n->changed = 0;
  n->bucketNext = nullptr;
  std::memset(DataOf(n), 0, static_cast<size_t>(nodeSize_) + extra_);
  return n;
}

bool BT_FBASE::ReleaseBuffer(Node* n) {
  if (cacheLimit_ <= cacheBytes_) {
    if (n->changed && !WriteNode(n)) {
      RingAddTail(n);  // kept, so that a later flush can write it
      return false;
    }
    if (n->number) BucketRemove(n);
    DeleteBuffer(n);
    return true;
  }
  bool ok = true;
  if (n->changed && writeThrough_) ok = WriteNode(n);
  if (n->number == 0)
    RingAddHead(n);
  else
    RingAddTail(n);
  return ok;
}

uint32_t BT_FBASE::NewNodeNumber(Node* n) {
  uint8_t* data = DataOf(n);
  uint32_t number = 0;
  if (firstFree_ == 0) {
    const uint32_t have = fileNodes_;
    const uint32_t grow = growth_ > 1 ? static_cast<uint32_t>(growth_) : 1;
    for (uint32_t k = 1; k < grow; ++k) {
      std::memset(data, 0, static_cast<size_t>(nodeSize_));
      PutU32(data, firstFree_);
      if (!WriteNodeData(have + k, data)) return 0;
      firstFree_ = have + k;
      fileNodes_ = have + k;
      headerChanged_ = true;
    }
    std::memset(data, 0, static_cast<size_t>(nodeSize_));
    if (!WriteNodeData(have + grow, data)) return 0;
    fileNodes_ = have + grow;
    number = have + grow;
    headerChanged_ = true;
  } else {
    number = firstFree_;
    // A free node that the cache holds is part of the tree: the list is damaged.
    if (number > fileNodes_ || BucketFind(number)) {
      IndexError("#ERR> INTERNAL_ERR: ", kDamaged);
      return 0;
    }
    if (!ReadNode(number, data)) return 0;
    firstFree_ = GetU32(data);
    headerChanged_ = true;
  }
  if (writeThrough_ && headerChanged_) WriteHeader();
  std::memset(data, 0, static_cast<size_t>(nodeSize_));
  return number;
}

// ---- page-store operations -------------------------------------------------

uint8_t* BT_FBASE::AllocPage(uint32_t& number) {
  number = 0;
  if (!file_) return nullptr;
  Node* n = GetBuffer();
  if (!n) return nullptr;
  const uint32_t k = NewNodeNumber(n);
  if (k == 0) {
    ReleaseBuffer(n);
    return nullptr;
  }
  n->number = k;
  BucketAdd(n);
  number = k;
  return DataOf(n);
}

bool BT_FBASE::FreePage(uint8_t* data) {
  if (!IsValidPage(data)) return false;
  Node* n = NodeOf(data);
  if (!InUse(n)) {
    IndexError("#ERR> INTERNAL_ERR: ", "node ", n->number, " already cached");
    return false;
  }
  std::memset(data, 0, static_cast<size_t>(nodeSize_) + extra_);
  PutU32(data, firstFree_);
  const bool ok = WriteNodeData(n->number, data);
  if (ok) {
    firstFree_ = n->number;
    headerChanged_ = true;
    if (writeThrough_) WriteHeader();
  }
  BucketRemove(n);
  n->number = 0;
  n->changed = 0;
  ReleaseBuffer(n);
  return ok;
}

uint8_t* BT_FBASE::FetchPage(uint32_t number) {
  if (!file_) return nullptr;
  if (number == 0 || number > fileNodes_) {
    IndexError("#ERR> INTERNAL_ERR: ", kDamaged);
    return nullptr;
  }
  if (Node* n = BucketFind(number)) {
    // A node reached twice on one path means that the links form a cycle.
    if (InUse(n)) {
      IndexError("#ERR> INTERNAL_ERR: ", kDamaged);
      return nullptr;
    }
    RingRemove(n);
    return DataOf(n);
  }
  Node* n = GetBuffer();
  if (!n) return nullptr;
  if (!ReadNode(number, DataOf(n))) {
    ReleaseBuffer(n);
    return nullptr;
  }
  n->number = number;
  BucketAdd(n);
  return DataOf(n);
}

bool BT_FBASE::ReleasePage(uint8_t* data, bool changed) {
  if (!IsValidPage(data)) return false;
  Node* n = NodeOf(data);
  if (!InUse(n)) {
    IndexError("#ERR> INTERNAL_ERR: ", "node ", n->number, " already cached");
    return false;
  }
  if (changed) n->changed = 1;
  return ReleaseBuffer(n);
}

uint32_t BT_FBASE::HandleOfPage(const uint8_t* data) const { return data ? NodeOf(data)->number : 0; }

void BT_FBASE::MarkPageChanged(uint8_t* data) {
  if (IsValidPage(data)) NodeOf(data)->changed = 1;
}

bool BT_FBASE::IsValidPage(const uint8_t* data) const {
  if (!data) return false;
  uint32_t magic;
  std::memcpy(&magic, data - sizeof magic, sizeof magic);
  return magic == kMagic;
}

bool BT_FBASE::FlushPages() {
  bool ok = !file_ || !headerChanged_ || WriteHeader();
  ForEachCached([&](Node* n) {
    if (!InUse(n)) return;
    IndexError("#ERR> INTERNAL_ERR: ", "unreturned node ", n->number);
    RingAddTail(n);
    ok = false;
  });
  return ok;
}

bool BT_FBASE::FlushAll() {
  if (!file_) return true;
  bool ok = !headerChanged_ || WriteHeader();
  ForEachCached([&](Node* n) {
    if (n->changed && !WriteNode(n)) ok = false;
  });
  return ok;
}

bool BT_FBASE::TrimCache(int32_t limit) {
  const bool all = limit == -1;
  if (all)
    ForEachCached([&](Node* n) {
      if (InUse(n)) RingAddTail(n);
    });
  const uint32_t floor = limit > 0 ? static_cast<uint32_t>(limit) : 0;
  bool ok = true;
  while (ringHead_ && cacheBytes_ >= floor) {
    Node* n = ringHead_;
    if (n->changed && !(file_ && WriteNode(n))) {
      ok = false;
      if (!all) break;
    }
    RingRemove(n);
    if (n->number) BucketRemove(n);
    DeleteBuffer(n);
  }
  return ok;
}

bool BT_FBASE::SetCacheLimit(int32_t limit) {
  if (limit < 0) limit = 0;
  if (!TrimCache(limit)) return false;
  cacheLimit_ = static_cast<uint32_t>(limit);
  return true;
}
