// TMemStream: a growable memory image with an optional file behind it. The
// memory variants of the stream encodings run on it (it is a ByteStream).
// Reading in memory mode copies a value only when it lies wholly inside the
// used part; otherwise nothing is read and the position stays.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "platform/core/bytestream.h"

class TMemStream : public tsl::ByteStream {
public:
  // An empty writable stream in memory. `maxSize` 0 means no maximum. With a
  // backing file, a write that would pass the maximum first flushes the used
  // bytes to the file (at its end, or at its start with `flushToStart`).
  TMemStream(uint32_t capacity, uint32_t growth, uint32_t maxSize = 0,
             tsl::ByteStream* file = nullptr, bool flushToStart = false);
  // A stream over a copy of an existing memory image, positioned at 0.
  TMemStream(const void* image, uint32_t size);
  // File mode: every read and write goes to `file`.
  explicit TMemStream(tsl::ByteStream* file);
  ~TMemStream() override;
  TMemStream(const TMemStream&) = delete;
  TMemStream& operator=(const TMemStream&) = delete;

  // Bytes written, 0 for a count of 0, -1 on failure.
  int32_t Write(const void* buffer, int32_t count);
  uint32_t Write(const void* buffer, uint32_t count) override;
  uint32_t Read(void* buffer, uint32_t count) override;
  int64_t Position() const override;
  int64_t Length() const override;
  int64_t Seek(int64_t offset, seek_dir origin = beg) override;

  bool InMemory() const { return inMemory_; }
  bool IsOpen() const { return open_; }
  void Close() { open_ = false; }
  const uint8_t* Image() const { return block_; }
  uint32_t Capacity() const { return capacity_; }
  uint32_t Used() const { return used_; }

  // Called when the stream gives up memory mode for its file (the player
  // beeps); may be null.
  static void (*OnFallbackToFile)();

private:
  bool Grow(uint32_t needed);
  bool FlushToFile();

  uint8_t* block_ = nullptr;
  bool inMemory_ = true;
  bool open_ = true;
  bool fileBacked_ = false;
  uint32_t capacity_ = 0;
  uint32_t used_ = 0;
  uint32_t position_ = 0;
  uint32_t growth_ = 0;
  uint32_t maxSize_ = 0;
  tsl::ByteStream* file_ = nullptr;
  bool flushToStart_ = false;
};
