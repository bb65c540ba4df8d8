#include "foundation/core/index/mbase.h"

#include <cstring>
#include <new>

#include "foundation/core/index/indexerr.h"

namespace tsl {
namespace index_testing {
namespace {
int g_failures = 0;
int g_skip = 0;
}  // namespace
void FailAllocations(int n, int skip) {
  g_failures = n > 0 ? n : 0;
  g_skip = g_failures && skip > 0 ? skip : 0;
}
bool TakeAllocationFailure() {
  if (g_failures == 0) return false;
  if (g_skip > 0) {
    --g_skip;
    return false;
  }
  --g_failures;
  return true;
}
}  // namespace index_testing
}  // namespace tsl


BT_MBASE::BT_MBASE(int16_t pageSize) : pageSize_(pageSize > 0 ? pageSize : 0) {}

BT_MBASE::~BT_MBASE() { FreeAllPages(); }

void BT_MBASE::GetHeader(uint32_t& root, uint32_t& count) const {
  root = root_;
  count = count_;
}

bool BT_MBASE::SetHeader(uint32_t root, uint32_t count) {
  root_ = root;
  count_ = count;
  return true;
}

uint8_t* BT_MBASE::AllocPage(uint32_t& handle) {
  handle = 0;
  const size_t bytes = sizeof(Block) + static_cast<size_t>(pageSize_) + extra_;
  void* mem = tsl::index_testing::TakeAllocationFailure() ? nullptr
                                                          : ::operator new(bytes, std::nothrow);
  if (!mem) {
    tsl::IndexError("#ERR> NOMEM_ERR: ", "new char[",
                    static_cast<uint32_t>(pageSize_) + kBlockHeaderBytes, "] failed");
    return nullptr;
  }
  std::memset(mem, 0, bytes);
  Block* b = static_cast<Block*>(mem);
  b->magic = kMagic;
  bytesInUse_ += static_cast<uint32_t>(pageSize_);
  if (!ringHead_) {
    b->next = b->prev = b;
  } else {
    b->next = ringHead_;
    b->prev = ringHead_->prev;
    ringHead_->prev->next = b;
    ringHead_->prev = b;
  }
  ringHead_ = b;
  if (!freeSlots_.empty()) {
    b->handle = freeSlots_.back();
    freeSlots_.pop_back();
    handles_[b->handle - 1] = b;
  } else {
    handles_.push_back(b);
    b->handle = static_cast<uint32_t>(handles_.size());
  }
  handle = b->handle;
  return PageOf(b);
}

void BT_MBASE::Unlink(Block* b) {
  if (b->next == b) {
    ringHead_ = nullptr;
  } else {
    if (b == ringHead_) ringHead_ = b->next;
    b->next->prev = b->prev;
    b->prev->next = b->next;
  }
  b->next = b->prev = nullptr;
}

void BT_MBASE::Delete(Block* b) {
  bytesInUse_ -= static_cast<uint32_t>(pageSize_);
  b->magic = 0;
  if (b->handle != 0 && b->handle <= handles_.size()) {
    handles_[b->handle - 1] = nullptr;
    freeSlots_.push_back(b->handle);
  }
  ::operator delete(b);
}

bool BT_MBASE::FreePage(uint8_t* page) {
  if (!IsValidPage(page)) return false;
  Block* b = BlockOf(page);
  Unlink(b);
  Delete(b);
  return true;
}

uint8_t* BT_MBASE::FetchPage(uint32_t handle) {
  if (handle == 0 || handle > handles_.size() || !handles_[handle - 1]) return nullptr;
  return PageOf(handles_[handle - 1]);
}

bool BT_MBASE::ReleasePage(uint8_t*, bool) { return true; }

uint32_t BT_MBASE::HandleOfPage(const uint8_t* page) const {
  return page ? BlockOf(page)->handle : 0;
}

void BT_MBASE::MarkPageChanged(uint8_t*) {}

bool BT_MBASE::IsValidPage(const uint8_t* page) const {
  if (!page) return false;
  uint32_t magic;
  std::memcpy(&magic, page - sizeof magic, sizeof magic);
  return magic == kMagic;
}

bool BT_MBASE::FlushPages() { return true; }

void BT_MBASE::FreeAllPages() {
  while (ringHead_) {
    Block* b = ringHead_;
    Unlink(b);
    Delete(b);
  }
  handles_.clear();
  freeSlots_.clear();
  bytesInUse_ = 0;
  root_ = 0;
  count_ = 0;
}
