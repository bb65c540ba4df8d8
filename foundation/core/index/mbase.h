// BT_MBASE: the block pool in which the in-memory B-trees keep their pages.
// It hands out fixed-size, zero-filled pages, keeps every live block on one
// ring so that all can be freed at once, counts the bytes in use and holds
// the two tree header words (root page, entry count).
//
// Page handles are the 32-bit values stored in the pages' child links. On a
// 64-bit build an address does not fit, so a handle is a slot number in the
// pool's handle table (1-based; 0 = none); the page layout stays as on a
// 32-bit build. A block is a header (ring links, handle, magic) followed by
// the page; the magic is the 32-bit word just before the page.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

namespace tsl {
namespace index_testing {
// Lets `skip` page allocations of the index engine through and makes the
// `n` after them fail as if the heap were exhausted (pool and index-file
// store alike); n = 0 ends it.
void FailAllocations(int n, int skip = 0);
bool TakeAllocationFailure();
}  // namespace index_testing
}  // namespace tsl

class BT_MBASE {
public:
  static constexpr uint32_t kMagic = 0x1F2E3C5B;
  // Bytes of the block header on the original 32-bit layout (two links and
  // the magic); the allocation message counts them with the page.
  static constexpr uint32_t kBlockHeaderBytes = 12;

  explicit BT_MBASE(int16_t pageSize);
  ~BT_MBASE();
  BT_MBASE(const BT_MBASE&) = delete;
  BT_MBASE& operator=(const BT_MBASE&) = delete;

  void GetHeader(uint32_t& root, uint32_t& count) const;
  bool SetHeader(uint32_t root, uint32_t count);
  uint8_t* AllocPage(uint32_t& handle);
  bool FreePage(uint8_t* page);
  // Null for a handle that names no live page.
  uint8_t* FetchPage(uint32_t handle);
  bool ReleasePage(uint8_t* page, bool changed);
  uint32_t HandleOfPage(const uint8_t* page) const;
  void MarkPageChanged(uint8_t* page);
  bool IsValidPage(const uint8_t* page) const;
  bool FlushPages();
  void FreeAllPages();

  int16_t PageSize() const { return pageSize_; }
  uint32_t BytesInUse() const { return bytesInUse_; }

protected:
  // Bytes that every page carries after its `pageSize` payload for the
  // tree's in-memory companions (not counted, never stored). Set by the
  // tree before its first allocation.
  void SetPageExtra(uint32_t bytes) { extra_ = bytes; }
  // The store keeps its pages in memory only.
  static constexpr bool kPagesFromFile = false;

private:
  struct Block {
    Block* next;
    Block* prev;
    uint32_t handle;
    uint32_t magic;  // last: the word just before the page
  };
  static uint8_t* PageOf(Block* b) { return reinterpret_cast<uint8_t*>(b + 1); }
  static Block* BlockOf(const uint8_t* page) {
    return reinterpret_cast<Block*>(const_cast<uint8_t*>(page)) - 1;
  }
  void Unlink(Block* b);
  void Delete(Block* b);

  int16_t pageSize_;
  uint32_t bytesInUse_ = 0;
  uint32_t root_ = 0;
  uint32_t count_ = 0;
  Block* ringHead_ = nullptr;
  uint32_t extra_ = 0;
  std::vector<Block*> handles_;      // slot h - 1 holds the block of handle h
  std::vector<uint32_t> freeSlots_;  // handles to hand out again
};
