#include "actions/core/lzss.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int N = kLzssRingSize;
constexpr int F = kLzssLookAhead;
constexpr int kThreshold = 2;  // matches of 2 bytes or less go as literals
constexpr int kNil = N;
constexpr uint8_t kBlank = 0x20;

// Reads ahead through a buffer and, when done, puts the stream just behind
// the last byte taken, so the caller's next read (the installer's next file
// name) starts there.
class TReadBuffer {
public:
  explicit TReadBuffer(tsl::ByteStream& s) : s_(s), buf_(kLzssStreamBuffer), start_(s.Position()) {}
  int Get() {
    if (pos_ == end_ && !Fill()) return -1;
    ++taken_;
    return buf_[pos_++];
  }
  uint64_t Taken() const { return taken_; }
  void Release() {
    if (start_ >= 0 && pos_ != end_) s_.Seek(start_ + static_cast<int64_t>(taken_));
    pos_ = end_ = 0;
  }

private:
  bool Fill() {
    if (eof_) return false;
    end_ = s_.Read(buf_.data(), static_cast<uint32_t>(buf_.size()));
    pos_ = 0;
    if (end_ == 0) eof_ = true;
    return end_ != 0;
  }
  tsl::ByteStream& s_;
  std::vector<uint8_t> buf_;
  uint32_t pos_ = 0, end_ = 0;
  uint64_t taken_ = 0;
  int64_t start_;
  bool eof_ = false;
};

class TWriteBuffer {
public:
  explicit TWriteBuffer(tsl::ByteStream& s) : s_(s) { buf_.reserve(kLzssStreamBuffer); }
  void Put(uint8_t c) {
    buf_.push_back(c);
    if (buf_.size() == kLzssStreamBuffer) Flush();
  }
  void Put(const void* p, size_t n) {
    for (size_t i = 0; i < n; ++i) Put(static_cast<const uint8_t*>(p)[i]);
  }
  void Put32(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Put(b, 4);
  }
  bool Flush() {
    if (!buf_.empty() && s_.Write(buf_.data(), static_cast<uint32_t>(buf_.size())) != buf_.size()) failed_ = true;
    buf_.clear();
    return !failed_;
  }
  bool Failed() const { return failed_; }

private:
  tsl::ByteStream& s_;
  std::vector<uint8_t> buf_;
  bool failed_ = false;
};

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

}  // namespace

void LzssSplitDateTime(const TDosDateTime& dt, uint32_t f[6]) {
  f[0] = dt.Time & 0x1F;
  f[1] = (dt.Time >> 5) & 0x3F;
  f[2] = (dt.Time >> 11) & 0x1F;
  f[3] = dt.Date & 0x1F;
  f[4] = (dt.Date >> 5) & 0x0F;
  f[5] = (dt.Date >> 9) & 0x7F;
}

TDosDateTime LzssJoinDateTime(const uint32_t f[6]) {
  TDosDateTime dt;
  dt.Time = uint16_t((f[0] & 0x1F) | ((f[1] & 0x3F) << 5) | ((f[2] & 0x1F) << 11));
  dt.Date = uint16_t((f[3] & 0x1F) | ((f[4] & 0x0F) << 5) | ((f[5] & 0x7F) << 9));
  return dt;
}

TLzssCore::TLzssCore(int progressOn)
    : text_(N + F - 1), left_(N + 1), right_(N + 257), parent_(N + 1), progressOn_(progressOn) {}

void TLzssCore::InitTree() {
  for (int i = N + 1; i <= N + 256; ++i) right_[i] = kNil;
  for (int i = 0; i < N; ++i) parent_[i] = kNil;
}

void TLzssCore::InsertNode(int r) {
  int cmp = 1;
  const uint8_t* key = &text_[r];
  int p = N + 1 + key[0];
  right_[r] = left_[r] = kNil;
  matchLength_ = 0;
  for (;;) {
    if (cmp >= 0) {
      if (right_[p] != kNil) {
        p = right_[p];
      } else {
        right_[p] = r;
        parent_[r] = p;
        return;
      }
    } else {
      if (left_[p] != kNil) {
        p = left_[p];
      } else {
        left_[p] = r;
        parent_[r] = p;
        return;
      }
    }
    int i = 1;
    const uint8_t* q = &text_[p];
    for (; i < F; ++i)
      if ((cmp = key[i] - q[i]) != 0) break;
    if (i > matchLength_) {
      matchPosition_ = p;
      if ((matchLength_ = i) >= F) break;
    }
  }
  // A full match: r takes p's place, p leaves the tree.
  parent_[r] = parent_[p];
  left_[r] = left_[p];
  right_[r] = right_[p];
  parent_[left_[p]] = r;
  parent_[right_[p]] = r;
  if (right_[parent_[p]] == p)
    right_[parent_[p]] = r;
  else
    left_[parent_[p]] = r;
  parent_[p] = kNil;
}

void TLzssCore::DeleteNode(int p) {
  if (parent_[p] == kNil) return;
  int q;
  if (right_[p] == kNil) {
    q = left_[p];
  } else if (left_[p] == kNil) {
    q = right_[p];
  } else {
    q = left_[p];
    if (right_[q] != kNil) {
      do q = right_[q];
      while (right_[q] != kNil);
      right_[parent_[q]] = left_[q];
      parent_[left_[q]] = parent_[q];
      left_[q] = left_[p];
      parent_[left_[p]] = q;
    }
    right_[q] = right_[p];
    parent_[right_[p]] = q;
  }
  parent_[q] = parent_[p];
  if (right_[parent_[p]] == p)
    right_[parent_[p]] = q;
  else
    left_[parent_[p]] = q;
  parent_[p] = kNil;
}

int TLzssCore::Encode(tsl::ByteStream* inStream, tsl::ByteStream* outStream) {
  if (!inStream || !outStream) return 0;
  unpackedLength_ = packedLength_ = 0;
  TDosDateTime dt;
  InputDateTime(*inStream, dt);
  uint32_t fields[6];
  LzssSplitDateTime(dt, fields);

  TReadBuffer in(*inStream);
  TWriteBuffer out(*outStream);
  const int64_t memberStart = outStream->Position();
  out.Put32(kLzssMagic);
  for (uint32_t f : fields) out.Put32(f);
  out.Put32(0);  // the lengths, written when known
  out.Put32(0);

  uint64_t unpacked = 0, packed = 0;
  InitTree();
  std::fill(text_.begin(), text_.end(), 0);
  std::fill(text_.begin(), text_.begin() + kLzssStart, kBlank);
  int s = 0, r = kLzssStart, len = 0, c;
  for (; len < F && (c = in.Get()) >= 0; ++len) text_[r + len] = uint8_t(c);
  unpacked = len;
  uint8_t group[1 + 8 * 2];
  int groupLen = 1;
  uint8_t mask = 1;
  group[0] = 0;
  if (len > 0) {
    for (int i = 1; i <= F; ++i) InsertNode(r - i);
    InsertNode(r);
    do {
      if (matchLength_ > len) matchLength_ = len;
      if (matchLength_ <= kThreshold) {
        matchLength_ = 1;
        group[0] |= mask;
        group[groupLen++] = text_[r];
      } else {
        group[groupLen++] = uint8_t(matchPosition_);
        group[groupLen++] = uint8_t(((matchPosition_ >> 4) & 0xF0) | (matchLength_ - (kThreshold + 1)));
      }
      if ((mask = uint8_t(mask << 1)) == 0) {
        out.Put(group, groupLen);
        packed += groupLen;
        group[0] = 0;
        groupLen = 1;
        mask = 1;
      }
      const int last = matchLength_;
      int i = 0;
      for (; i < last && (c = in.Get()) >= 0; ++i) {
        DeleteNode(s);
        text_[s] = uint8_t(c);
        if (s < F - 1) text_[s + N] = uint8_t(c);
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        InsertNode(r);
      }
      unpacked += i;
      while (i++ < last) {
        DeleteNode(s);
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        if (--len) InsertNode(r);
      }
    } while (len > 0);
  }
  if (groupLen > 1) {
    out.Put(group, groupLen);
    packed += groupLen;
  }
  if (!out.Flush()) return 0;
  in.Release();
  if (unpacked > UINT32_MAX || packed > UINT32_MAX) return 0;
  unpackedLength_ = uint32_t(unpacked);
  packedLength_ = uint32_t(packed);
  const int64_t end = outStream->Position();
  if (memberStart < 0 || end < 0 || outStream->Seek(memberStart + 28) < 0) return 0;
  TWriteBuffer lengths(*outStream);
  lengths.Put32(unpackedLength_);
  lengths.Put32(packedLength_);
  if (!lengths.Flush() || outStream->Seek(end) != end) return 0;
  return 1;
}

bool TLzssCore::Decode(tsl::ByteStream* inStream, tsl::ByteStream* outStream) {
  if (!inStream || !outStream) return false;
  packedConsumed_ = bytesProduced_ = 0;
  progressQuiet_ = 0;
  TReadBuffer in(*inStream);
  uint8_t head[kLzssHeaderSize] = {};
  for (uint32_t i = 0; i < 4; ++i) {
    const int c = in.Get();
    if (c < 0) break;
    head[i] = uint8_t(c);
  }
  if (Le32(head) != kLzssMagic) {
    in.Release();
    return false;
  }
  // A short header leaves zeros.
  for (uint32_t i = 4; i < kLzssHeaderSize; ++i) {
    const int c = in.Get();
    if (c < 0) break;
    head[i] = uint8_t(c);
  }
  uint32_t fields[6];
  for (int i = 0; i < 6; ++i) fields[i] = Le32(head + 4 + 4 * i);
  const TDosDateTime dt = LzssJoinDateTime(fields);
  unpackedLength_ = Le32(head + 28);
  packedLength_ = Le32(head + 32);

  // Takes the next coded byte, or -1 at the packed length or the input's end.
  auto next = [&]() -> int {
    if (packedConsumed_ >= packedLength_) return -1;
    const int c = in.Get();
    if (c >= 0) ++packedConsumed_;
    return c;
  };
  // An empty file's member still has its packed bytes skipped, or the rest
  // of SETUP.DAT is misread; the output stays untouched.
  if (unpackedLength_ == 0) {
    while (next() >= 0) {
    }
    in.Release();
    return true;
  }

  TWriteBuffer out(*outStream);
  std::fill(text_.begin(), text_.end(), 0);
  std::fill(text_.begin(), text_.begin() + kLzssStart, kBlank);
  uint8_t* ring = text_.data();
  int r = kLzssStart;
  uint32_t produced = 0;
  const uint32_t limit = unpackedLength_;
  auto emit = [&](uint8_t c) {
    if (progressOn_) {
      if (progressQuiet_)
        --progressQuiet_;
      else
        Progress(produced, limit);
      ++bytesProduced_;
    }
    out.Put(c);
    ring[r] = c;
    r = (r + 1) & (N - 1);
    ++produced;
  };
  unsigned flags = 0;
  while (produced < limit) {
    flags >>= 1;
    if ((flags & 0x100) == 0) {
      const int c = next();
      if (c < 0) break;
      flags = unsigned(c) | 0xFF00;
    }
    if (flags & 1) {
      const int c = next();
      if (c < 0) break;
      emit(uint8_t(c));
    } else {
      const int b1 = next();
      if (b1 < 0) break;
      const int b2 = next();
      if (b2 < 0) break;
      const int pos = b1 | ((b2 & 0xF0) << 4);
      const int n = (b2 & 0x0F) + kThreshold + 1;
      for (int k = 0; k < n && produced < limit; ++k) emit(ring[(pos + k) & (N - 1)]);
    }
  }
  // Output complete before the coded data ends: the rest is skipped so the
  // input stands at the next member.
  while (next() >= 0) {
  }
  in.Release();
  const bool written = out.Flush();
  SetOutputDateTime(*outStream, dt);
  return written && produced == unpackedLength_;
}
