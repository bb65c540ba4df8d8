// BT_FBASE: keeps the pages (nodes) of a B-tree in an index file behind a
// cache of node buffers. It offers the page-store operations of BT_MBASE,
// with real work behind fetching, releasing, marking changed and flushing,
// so that a tree can live on disk. Nodes are numbered from 1; a node's
// number is its handle.
//
// Index file: i16 node size, u32 first free node, u32 root node, u32 entry
// count (14 bytes), then node k at 14 + (k - 1) x node size. Free nodes form
// a stack linked through their first u32.
//
// Cached buffers are found through 256 buckets keyed by the low byte of the
// node number; released buffers wait on a ring, least recently released at
// its head, until they are reused or trimmed.
// Portable: no Windows headers; the file comes from a TIndexFiles host.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/core/index/indexhost.h"

class BT_FBASE {
public:
  static constexpr uint32_t kMagic = 0x1F2E3C4B;
  static constexpr uint32_t kHeaderBytes = 14;
  // Bytes of a node buffer's head on the original layout; an allocation
  // message counts them with the node.
  static constexpr uint32_t kBufferHeadBytes = 21;

  BT_FBASE(int16_t nodeSize, uint32_t cacheLimit, int16_t growth, bool writeThrough,
           tsl::TIndexFiles& files);
  ~BT_FBASE();
  BT_FBASE(const BT_FBASE&) = delete;
  BT_FBASE& operator=(const BT_FBASE&) = delete;

  // Modes: 0 existing file read and write; 1 the same, else a new file;
  // 2 a new (truncated) file; 3 existing file read only.
  bool Open(const char* path, int16_t mode);
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }

  void GetHeader(uint32_t& root, uint32_t& count) const;
  bool SetHeader(uint32_t root, uint32_t count);
  uint8_t* AllocPage(uint32_t& number);
  bool FreePage(uint8_t* data);
  uint8_t* FetchPage(uint32_t number);
  bool ReleasePage(uint8_t* data, bool changed);
  uint32_t HandleOfPage(const uint8_t* data) const;
  void MarkPageChanged(uint8_t* data);
  bool IsValidPage(const uint8_t* data) const;
  bool FlushPages();
  bool FlushAll();
  bool TrimCache(int32_t limit);
  bool SetCacheLimit(int32_t limit);

  int16_t NodeSize() const { return nodeSize_; }
  uint32_t FirstFreeNode() const { return firstFree_; }
  uint32_t CacheBytes() const { return cacheBytes_; }
  uint32_t CacheLimit() const { return cacheLimit_; }
  // Nodes the file holds.
  uint32_t FileNodes() const { return fileNodes_; }

protected:
  // Bytes that every buffer carries after the node for the tree's in-memory
  // companions; never written to the file.
  void SetPageExtra(uint32_t bytes) { extra_ = bytes; }
  // Pages come from a file and may be damaged: the tree checks them.
  static constexpr bool kPagesFromFile = true;

private:
  struct Node {
    Node* bucketNext;
    Node* ringNext;  // both null while the tree uses the node
    Node* ringPrev;
    uint32_t number;  // 0 = none yet
    uint8_t changed;
    uint8_t pad_[3];
    uint32_t spare_;
    uint32_t magic;  // last: the word just before the data
  };
  static uint8_t* DataOf(Node* n) { return reinterpret_cast<uint8_t*>(n + 1); }
  static Node* NodeOf(const uint8_t* data) {
    return reinterpret_cast<Node*>(const_cast<uint8_t*>(data)) - 1;
  }
  static bool InUse(const Node* n) { return n->ringNext == nullptr; }

  Node* NewBuffer();
  void DeleteBuffer(Node* n);
  Node* GetBuffer();
  bool ReleaseBuffer(Node* n);
  uint32_t NewNodeNumber(Node* n);
  bool ReadNode(uint32_t number, uint8_t* data);
  bool WriteNodeData(uint32_t number, const uint8_t* data);
  bool WriteNode(Node* n);
  bool WriteHeader();
  bool ReadHeader();
  bool SeekTo(int64_t offset);
  bool FlushFile();

  void RingAddHead(Node* n);
  void RingAddTail(Node* n);
  void RingRemove(Node* n);
  void BucketAdd(Node* n);
  void BucketRemove(Node* n);
  Node* BucketFind(uint32_t number) const;
  template <class F>
  void ForEachCached(F f);

  int16_t nodeSize_;
  uint32_t cacheLimit_;
  uint32_t cacheBytes_ = 0;
  int16_t growth_;
  bool writeThrough_;
  std::string name_;
  std::unique_ptr<tsl::ByteStream> file_;
  bool headerChanged_ = false;
  int16_t fileNodeSize_ = 0;
  uint32_t firstFree_ = 0;
  uint32_t root_ = 0;
  uint32_t count_ = 0;
  Node* buckets_[256] = {};
  Node* ringHead_ = nullptr;
  uint32_t extra_ = 0;
  uint32_t fileNodes_ = 0;
  tsl::TIndexFiles& files_;
};
