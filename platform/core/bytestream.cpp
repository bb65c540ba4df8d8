#include "platform/core/bytestream.h"

#include <cstring>

namespace tsl {

uint32_t MemoryStream::Read(void* buffer, uint32_t count) {
  if (pos_ >= data_.size()) return 0;
  const size_t n = std::min<size_t>(count, data_.size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return static_cast<uint32_t>(n);
}

uint32_t MemoryStream::Write(const void* buffer, uint32_t count) {
  if (count == 0) return 0;
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  std::memcpy(data_.data() + pos_, buffer, count);
  pos_ += count;
  return count;
}

int64_t MemoryStream::Seek(int64_t offset, seek_dir origin) {
  int64_t base = origin == beg ? 0 : origin == cur ? static_cast<int64_t>(pos_) : Length();
  const int64_t p = base + offset;
  if (p < 0) return -1;
  pos_ = static_cast<size_t>(p);
  return p;
}

bool PosixFileStream::Open(const std::string& path, Mode mode) {
  Close();
  const char* m = mode == ReadOnly ? "rb" : mode == ReadWrite ? "r+b" : "w+b";
  f_ = std::fopen(path.c_str(), m);
  return f_ != nullptr;
}

void PosixFileStream::Close() {
  if (f_) std::fclose(f_);
  f_ = nullptr;
}

uint32_t PosixFileStream::Read(void* buffer, uint32_t count) {
  return f_ ? static_cast<uint32_t>(std::fread(buffer, 1, count, f_)) : 0;
}

uint32_t PosixFileStream::Write(const void* buffer, uint32_t count) {
  return f_ ? static_cast<uint32_t>(std::fwrite(buffer, 1, count, f_)) : 0;
}

int64_t PosixFileStream::Position() const { return f_ ? static_cast<int64_t>(std::ftell(f_)) : -1; }

int64_t PosixFileStream::Length() const {
  if (!f_) return -1;
  const long here = std::ftell(f_);
  if (std::fseek(f_, 0, SEEK_END) != 0) return -1;
  const long len = std::ftell(f_);
  std::fseek(f_, here, SEEK_SET);
  return len;
}

int64_t PosixFileStream::Seek(int64_t offset, seek_dir origin) {
  if (!f_) return -1;
  const int w = origin == beg ? SEEK_SET : origin == cur ? SEEK_CUR : SEEK_END;
  if (std::fseek(f_, static_cast<long>(offset), w) != 0) return -1;
  return std::ftell(f_);
}

}  // namespace tsl
