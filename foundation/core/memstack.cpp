#include "foundation/core/memstack.h"

#include "foundation/core/check.h"

MemStack::MemStack(uint32_t segmentSize, uint32_t maxWaste)
    : segmentSize_(0), maxWaste_(maxWaste > UINT32_MAX - kMemAlign ? 0 : MEM_ALLIGN(maxWaste)) {
  const uint32_t rounded = segmentSize > UINT32_MAX - kMemAlign ? 0 : MEM_ALLIGN(segmentSize);
  if (rounded > MEM_ALLIGN(kMemBlockHead))
    segmentSize_ = rounded - MEM_ALLIGN(kMemBlockHead);
  else
    tsl::ReportCheckViolation("segmentSiz > MEM_ALLIGN(sizeof(Segment))", "memstack", __LINE__);
}

MemStack::~MemStack() {
  segmentSize_ = maxWaste_ = 0;
  nextFree_ = nullptr;
  room_ = 0;
  FreeAll();
}

void* MemStack::AllocSlow(uint32_t size) {
  if (size > segmentSize_) return AllocBlock(size);
  if (maxWaste_ != 0 && room_ > maxWaste_) return AllocBlock(size);
  char* segment = static_cast<char*>(AllocBlock(segmentSize_));
  if (!segment) {
    room_ = 0;
    nextFree_ = nullptr;
    return nullptr;
  }
  nextFree_ = segment + size;
  room_ = segmentSize_ - size;
  return segment;
}
