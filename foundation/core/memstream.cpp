#include "foundation/core/memstream.h"

#include <cstring>

void (*TMemStream::OnFallbackToFile)() = nullptr;

TMemStream::TMemStream(uint32_t capacity, uint32_t growth, uint32_t maxSize, tsl::ByteStream* file,
                       bool flushToStart)
    : fileBacked_(file != nullptr),
      growth_(growth),
      maxSize_(maxSize),
      file_(file),
      flushToStart_(flushToStart) {
  if (capacity) {
    block_ = static_cast<uint8_t*>(std::calloc(capacity, 1));
    if (block_) capacity_ = capacity;
  }
}

TMemStream::TMemStream(const void* image, uint32_t size) {
  if (size) {
    block_ = static_cast<uint8_t*>(std::malloc(size));
    if (block_) {
      std::memcpy(block_, image, size);
      capacity_ = used_ = size;
    }
  }
}

TMemStream::TMemStream(tsl::ByteStream* file) : inMemory_(false), fileBacked_(file != nullptr), file_(file) {}

TMemStream::~TMemStream() { std::free(block_); }

bool TMemStream::Grow(uint32_t needed) {
  uint64_t want = static_cast<uint64_t>(capacity_) + growth_;
  if (want < needed) want = needed;
  if (want > UINT32_MAX) return false;
  auto* p = static_cast<uint8_t*>(std::realloc(block_, static_cast<size_t>(want)));
  if (!p) return false;
  std::memset(p + capacity_, 0, static_cast<size_t>(want - capacity_));
  block_ = p;
  capacity_ = static_cast<uint32_t>(want);
  return true;
}

bool TMemStream::FlushToFile() {
  if (!file_) return false;
  if (flushToStart_)
    file_->Seek(0, beg);
  else
    file_->Seek(0, end);
  const bool ok = used_ == 0 || file_->Write(block_, used_) == used_;
  used_ = position_ = 0;
  return ok;
}

int32_t TMemStream::Write(const void* buffer, int32_t count) {
  if (count < 0 || !open_) return -1;
  if (count == 0) return 0;
  const uint32_t n = static_cast<uint32_t>(count);
  if (!inMemory_) return fileBacked_ && file_ ? static_cast<int32_t>(file_->Write(buffer, n)) : -1;

  uint64_t end = static_cast<uint64_t>(position_) + n;
  if (end > capacity_) {
    bool grown = false;
    if (maxSize_ == 0 || end <= maxSize_) {
      grown = end <= UINT32_MAX && Grow(static_cast<uint32_t>(end));
    } else if (fileBacked_) {
      FlushToFile();
      end = n;
      grown = end <= capacity_ || Grow(n);
    } else {
      // At the maximum with nowhere to spill: refuse rather than overrun.
      return -1;
    }
    if (!grown) {
      if (!fileBacked_) return -1;
      FlushToFile();
      inMemory_ = false;
      if (OnFallbackToFile) OnFallbackToFile();
      file_->Seek(0, ByteStream::end);
      return Write(buffer, count);
    }
  }
  std::memcpy(block_ + position_, buffer, n);
  position_ += n;
  if (position_ > used_) used_ = position_;
  return count;
}

uint32_t TMemStream::Write(const void* buffer, uint32_t count) {
  if (count > INT32_MAX) return 0;
  const int32_t r = Write(buffer, static_cast<int32_t>(count));
  return r < 0 ? 0 : static_cast<uint32_t>(r);
}

uint32_t TMemStream::Read(void* buffer, uint32_t count) {
  if (!open_) return 0;
  if (!inMemory_) return file_ ? file_->Read(buffer, count) : 0;
  if (static_cast<uint64_t>(position_) + count > used_) return 0;
  if (count) std::memcpy(buffer, block_ + position_, count);
  position_ += count;
  return count;
}

int64_t TMemStream::Position() const {
  if (!inMemory_) return file_ ? file_->Position() : -1;
  return position_;
}

int64_t TMemStream::Length() const {
  if (!inMemory_) return file_ ? file_->Length() : -1;
  return used_;
}

int64_t TMemStream::Seek(int64_t offset, seek_dir origin) {
  if (!inMemory_) return file_ ? file_->Seek(offset, origin) : -1;
  const int64_t base = origin == beg ? 0 : origin == cur ? position_ : used_;
  const int64_t p = base + offset;
  if (p < 0 || p > capacity_) return -1;
  position_ = static_cast<uint32_t>(p);
  return p;
}
