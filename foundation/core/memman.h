// MemBaseManager: hands out zero-filled heap blocks, keeps them on one list
// (most recent first) and counts the bytes in use; everything is released at
// once. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <iosfwd>

// Rounds a size up to the allocation unit. The unit is the alignment of a
// pointer, at least 4, so that records with pointers may be carved from
// blocks on 64-bit builds too.
constexpr uint32_t kMemAlign = alignof(void*) > 4 ? static_cast<uint32_t>(alignof(void*)) : 4u;
constexpr uint32_t MEM_ALLIGN(uint32_t size) { return (size + kMemAlign - 1) & ~(kMemAlign - 1); }
// Bytes a block's head counts for in the sizes and totals.
constexpr uint32_t kMemBlockHead = 8;

class MemBaseManager {
public:
  MemBaseManager() = default;
  ~MemBaseManager() { FreeAll(); }
  MemBaseManager(const MemBaseManager&) = delete;
  MemBaseManager& operator=(const MemBaseManager&) = delete;

  // A zero-filled payload of `size` bytes in a new block of size + 8 counted
  // bytes; null when the heap is exhausted. A size of 0 is a programming
  // error: it is reported and gives null.
  void* AllocBlock(uint32_t size);
  // Zero-fills and frees every block.
  void FreeAll();
  // "segmentlist:", one line per block, then the total, on `os`.
  void Dump(std::ostream& os) const;
  void Dump() const;

  uint32_t BytesInUse() const { return usedMem_; }
  uint32_t BlockCount() const;

private:
  struct Block {
    Block* next;
    uint32_t size;  // counted size: payload + kMemBlockHead
  };
  static constexpr size_t kHead = (sizeof(Block) + 15) & ~size_t{15};

  Block* blocks_ = nullptr;
  uint32_t usedMem_ = 0;
};
