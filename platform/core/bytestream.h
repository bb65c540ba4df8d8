// The byte stream every stream encoding reads and writes. The player's file
// class (TFile, Win32) implements it; so do the in-memory streams and, for
// native tools and tests, a POSIX file. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tsl {

class ByteStream {
public:
  enum seek_dir { beg = 0, cur = 1, end = 2 };
  virtual ~ByteStream() = default;
  // Bytes actually transferred; 0 at the end or on failure.
  virtual uint32_t Read(void* buffer, uint32_t count) = 0;
  virtual uint32_t Write(const void* buffer, uint32_t count) = 0;
  // Current position and total length; -1 when the stream cannot tell.
  virtual int64_t Position() const = 0;
  virtual int64_t Length() const = 0;
  // New position, or -1 when the seek failed.
  virtual int64_t Seek(int64_t offset, seek_dir origin = beg) = 0;
  // Bytes left to read, or -1 when unknown.
  int64_t Remaining() const {
    const int64_t len = Length(), pos = Position();
    if (len < 0 || pos < 0) return -1;
    return len > pos ? len - pos : 0;
  }
};

// A growable in-memory byte stream; writes past the end extend it.
class MemoryStream : public ByteStream {
public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  MemoryStream(const void* bytes, size_t n)
      : data_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + n) {}
  uint32_t Read(void* buffer, uint32_t count) override;
  uint32_t Write(const void* buffer, uint32_t count) override;
  int64_t Position() const override { return static_cast<int64_t>(pos_); }
  int64_t Length() const override { return static_cast<int64_t>(data_.size()); }
  int64_t Seek(int64_t offset, seek_dir origin = beg) override;
  const std::vector<uint8_t>& Data() const { return data_; }
  std::vector<uint8_t>& Data() { return data_; }

private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

// A file on the host file system, for native tools and tests. Project paths
// in the player are Windows paths and go through TFile instead.
class PosixFileStream : public ByteStream {
public:
  enum Mode { ReadOnly, ReadWrite, Create };
  PosixFileStream() = default;
  PosixFileStream(const std::string& path, Mode mode) { Open(path, mode); }
  ~PosixFileStream() override { Close(); }
  PosixFileStream(const PosixFileStream&) = delete;
  PosixFileStream& operator=(const PosixFileStream&) = delete;
  bool Open(const std::string& path, Mode mode);
  void Close();
  bool IsOpen() const { return f_ != nullptr; }
  uint32_t Read(void* buffer, uint32_t count) override;
  uint32_t Write(const void* buffer, uint32_t count) override;
  int64_t Position() const override;
  int64_t Length() const override;
  int64_t Seek(int64_t offset, seek_dir origin = beg) override;

private:
  std::FILE* f_ = nullptr;
};

}  // namespace tsl
