// TLZSS's coder: packs one file into an LZSS member and unpacks a member back
// into a file, carrying the file's DOS date and time. The installer reads
// the files of "SETUP.DAT" through it, one member each. Portable: the file
// streams and the file dates come from the Win32 side (actions/lzss.h).
//
// Member (little endian, no gaps):
//   offset size  content
//     0     4    magic 0x00137457 (57 74 13 00)
//     4     4    seconds / 2 (0-29)   the DOS time's fields
//     8     4    minutes (0-59)
//    12     4    hours (0-23)
//    16     4    day of month (1-31)  the DOS date's fields
//    20     4    month (1-12)
//    24     4    year - 1980 (0-127)
//    28     4    unpacked length
//    32     4    packed length
//    36     packed length  coded data
// Coded data: groups of a flag byte and up to eight items, described from
// the flag's least significant bit up: set = one literal byte, clear = a
// match of two bytes b1 b2, ring position b1 + ((b2 & 0xF0) << 4), length
// (b2 & 0x0F) + 3. The ring holds 4096 bytes; 0 to 4077 start as blanks,
// 4078 to 4095 as zeros, and writing starts at 4078.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/bytestream.h"

constexpr uint32_t kLzssMagic = 0x00137457;
constexpr uint32_t kLzssHeaderSize = 36;
constexpr int kLzssRingSize = 4096;
constexpr int kLzssLookAhead = 18;
constexpr int kLzssStart = kLzssRingSize - kLzssLookAhead;  // 4078
// The buffered streams' buffer: the bytes are taken one at a time from it.
constexpr uint32_t kLzssStreamBuffer = 32767;

// A DOS file date and time as FileTimeToDosDateTime gives them.
struct TDosDateTime {
  uint16_t Date = 0;
  uint16_t Time = 0;
};

class TLzssCore {
public:
  explicit TLzssCore(int progressOn = 0);
  virtual ~TLzssCore() = default;
  TLzssCore(const TLzssCore&) = delete;
  TLzssCore& operator=(const TLzssCore&) = delete;

  // Packs from the input's position to its end into one member at the
  // output's position, which is left behind the member. 1 on success (also
  // for an empty input); 0 for a null stream, a failed write or an input
  // longer than a member can describe (4 GiB).
  int Encode(tsl::ByteStream* in, tsl::ByteStream* out);
  // Unpacks the member at the input's position and leaves the input just
  // behind it (the packed length is skipped even where the output is
  // complete early). True when the bytes written equal the member's
  // unpacked length; false for a null stream, a wrong magic (nothing
  // written), a truncated or hostile member, or a failed write. Never
  // writes more than the unpacked length.
  bool Decode(tsl::ByteStream* in, tsl::ByteStream* out);

  // Called for every byte produced while unpacking when progress is on,
  // except the bytes an override asked to pass over (SetProgressQuiet).
  virtual void Progress(uint32_t produced, uint32_t unpackedLength) {}

  uint32_t UnpackedLength() const { return unpackedLength_; }
  uint32_t PackedLength() const { return packedLength_; }
  uint32_t BytesProduced() const { return bytesProduced_; }

protected:
  // From Progress: the next `bytes` bytes of this member produce no call,
  // for an override that knows they would change nothing. Each Decode
  // starts with every byte called.
  void SetProgressQuiet(uint32_t bytes) { progressQuiet_ = bytes; }

  // The file dates: the input's for packing, set on the output after
  // unpacking. The portable coder has none (a zero date is stored).
  virtual bool InputDateTime(tsl::ByteStream& in, TDosDateTime& dt) { return false; }
  virtual void SetOutputDateTime(tsl::ByteStream& out, const TDosDateTime& dt) {}

private:
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);

  // The ring plus a copy of its first 17 bytes behind it, so the match
  // search compares 18 bytes without wrapping.
  std::vector<uint8_t> text_;
  int32_t matchPosition_ = 0;
  int32_t matchLength_ = 0;
  std::vector<int32_t> left_;    // N + 1
  std::vector<int32_t> right_;   // N + 257: N + 1 .. N + 256 are the roots
  std::vector<int32_t> parent_;  // N + 1
  uint32_t unpackedLength_ = 0;
  uint32_t packedLength_ = 0;
  uint32_t packedConsumed_ = 0;
  uint32_t bytesProduced_ = 0;
  int progressOn_ = 0;
  uint32_t progressQuiet_ = 0;
};

// The six header fields of a DOS date and time, and back (each field
// masked to its width).
void LzssSplitDateTime(const TDosDateTime& dt, uint32_t fields[6]);
TDosDateTime LzssJoinDateTime(const uint32_t fields[6]);
