// TFile: the player's file, over a Win32 file handle so that project paths
// ("C:\...", "\\server\share\...") work under Wine. It is the ByteStream that
// every stream encoding takes.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/core/bytestream.h"

class TFile : public tsl::ByteStream {
public:
  // Open modes; combine one access with one creation mode.
  enum : uint32_t {
    ReadOnly = 0x0001,
    WriteOnly = 0x0002,
    ReadWrite = 0x0003,
    PermExclusive = 0x0000,  // no sharing
    PermWrite = 0x0010,      // others may write
    PermRead = 0x0020,       // others may read
    PermReadWrite = 0x0030,
    CreateNew = 0x0100,      // fail when the file exists
    CreateAlways = 0x0200,   // create or truncate
    OpenExisting = 0x0400,
    OpenAlways = 0x0800,     // open or create
    TruncateExisting = 0x1000,
  };
  TFile() = default;
  TFile(const char* name, uint32_t mode = ReadOnly | PermRead | OpenExisting) { Open(name, mode); }
  ~TFile() override { Close(); }
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  bool Open(const char* name, uint32_t mode = ReadOnly | PermRead | OpenExisting);
  bool Close();
  bool IsOpen() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE GetHandle() const { return h_; }

  uint32_t Read(void* buffer, uint32_t count) override;
  uint32_t Write(const void* buffer, uint32_t count) override;
  int64_t Position() const override;
  int64_t Length() const override;
  int64_t Seek(int64_t offset, seek_dir origin = beg) override;
  int64_t SeekToBegin() { return Seek(0, beg); }
  int64_t SeekToEnd() { return Seek(0, end); }
  bool Flush();
  // Sets the length to the current position.
  bool Truncate();

private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};
