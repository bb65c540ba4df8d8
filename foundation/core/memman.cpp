#include "foundation/core/memman.h"

#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>

#include "foundation/core/check.h"

void* MemBaseManager::AllocBlock(uint32_t size) {
  if (size == 0) {
    tsl::ReportCheckViolation("size > 0", "memman", __LINE__);
    return nullptr;
  }
  if (size > UINT32_MAX - kMemBlockHead || usedMem_ > UINT32_MAX - kMemBlockHead - size) return nullptr;
  void* raw = std::calloc(1, kHead + size);
  if (!raw) return nullptr;
  Block* b = static_cast<Block*>(raw);
  b->next = blocks_;
  b->size = size + kMemBlockHead;
  blocks_ = b;
  usedMem_ += b->size;
  return static_cast<char*>(raw) + kHead;
}

void MemBaseManager::FreeAll() {
  while (blocks_) {
    Block* b = blocks_;
    blocks_ = b->next;
    std::memset(b, 0, kHead + (b->size - kMemBlockHead));
    std::free(b);
  }
  usedMem_ = 0;
}

uint32_t MemBaseManager::BlockCount() const {
  uint32_t n = 0;
  for (const Block* b = blocks_; b; b = b->next) ++n;
  return n;
}

void MemBaseManager::Dump(std::ostream& os) const {
  os << "segmentlist:\n";
  uint64_t total = 0;
  uint32_t count = 0;
  for (const Block* b = blocks_; b; b = b->next) {
    const uintptr_t start = reinterpret_cast<uintptr_t>(b);
    os << ". [ " << std::hex << std::setw(8) << start << " - " << std::setw(8) << start + b->size
       << std::dec << " ], size " << std::setw(5) << b->size << "\n";
    total += b->size;
    ++count;
  }
  os << "- " << total << " bytes in " << count << " blocks\n";
  if (total != usedMem_) tsl::ReportCheckViolation("siz == this_usedMem", "memman", __LINE__);
}

void MemBaseManager::Dump() const { Dump(std::cout); }
