// MemStack: a bump allocator for the many small records of one owner (the
// query language's symbols, names and parse nodes). Requests are carved one
// after the other out of large segments and never freed singly; the stack's
// destruction releases everything. Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "foundation/core/memman.h"

class MemStack : public MemBaseManager {
public:
  // `segmentSize` counts the segment's head too and must exceed it (a
  // programming error otherwise, reported; every request then gets a block
  // of its own). `maxWaste` 0 means no limit: see AllocSlow.
  MemStack(uint32_t segmentSize, uint32_t maxWaste);
  ~MemStack();

  // `size` bytes, rounded up to the allocation unit, zero-filled; null for 0
  // or when the heap is exhausted. Valid until the stack is destroyed.
  void* Alloc(uint32_t size) {
    if (size == 0) return nullptr;
    if (size > UINT32_MAX - kMemAlign) return nullptr;
    size = MEM_ALLIGN(size);
    if (room_ >= size) {
      void* p = nextFree_;
      nextFree_ += size;
      room_ -= size;
      return p;
    }
    return AllocSlow(size);
  }
  // A request that the current segment cannot take; `size` is rounded.
  void* AllocSlow(uint32_t size);

  uint32_t SegmentSize() const { return segmentSize_; }
  uint32_t MaxWaste() const { return maxWaste_; }
  uint32_t Room() const { return room_; }

private:
  uint32_t segmentSize_;
  uint32_t maxWaste_;
  char* nextFree_ = nullptr;
  uint32_t room_ = 0;
};
