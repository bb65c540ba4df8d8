#include "imaging/core/tiffcodec.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

using tsl::ByteStream;

namespace {

enum : uint32_t { kShort = 3, kLong = 4 };

// A code's string always lies in the output already: the string of a new
// code is the previous code's string and the byte after it. So a code is
// its string's place in the output and its length, and decoding it is a copy.
struct LzwTables {
  size_t offset[4096];
  uint32_t length[4096];
};

// Copies n bytes that end at or before `to`; with room for 16 bytes past
// the end, short strings go in one or two unaligned 8-byte moves.
inline void CopyString(uint8_t* to, const uint8_t* from, size_t n, bool slack) {
  if (slack && n <= 16) {
    uint64_t a, b;
    std::memcpy(&a, from, 8);
    std::memcpy(&b, from + 8, 8);
    std::memcpy(to, &a, 8);
    std::memcpy(to + 8, &b, 8);
  } else {
    std::memmove(to, from, n);
  }
}

}  // namespace

namespace tsl {

size_t TiffLzwDecode(const uint8_t* src, size_t n, uint8_t* out, size_t capacity) {
  auto t = std::make_unique<LzwTables>();
  constexpr uint32_t kClear = 256, kEnd = 257, kNone = 4096;
  uint32_t width = 9, next = 258, prev = kNone;
  size_t prevAt = 0;  // where the previous code's string starts in the output
  size_t ip = 0, pos = 0;
  uint64_t acc = 0;  // bits at the top
  uint32_t have = 0;
  for (;;) {
    if (have < width) {
      if (ip + 8 <= n) {
        // Eight bytes at once; the bits below the whole bytes counted are
        // the stream's next bits and come again with the next load.
        uint64_t word = 0;
        for (int i = 0; i < 8; ++i) word = word << 8 | src[ip + size_t(i)];
        acc |= word >> have;
        const uint32_t take = (64 - have) >> 3;
        ip += take;
        have += take * 8;
      } else {
        while (have < width && ip < n) {
          acc |= uint64_t(src[ip++]) << (56 - have);
          have += 8;
        }
        if (have < width) break;
      }
    }
    const uint32_t code = uint32_t(acc >> (64 - width));
    acc <<= width;
    have -= width;
    if (code == kClear) {
      width = 9;
      next = 258;
      prev = kNone;
      continue;
    }
    if (code == kEnd) break;
    if (prev == kNone) {
      if (code > 255 || pos >= capacity) break;
      prevAt = pos;
      out[pos++] = uint8_t(code);
      prev = code;
      continue;
    }
    const uint32_t prevLen = prev < 256 ? 1 : t->length[prev];
    uint32_t len;
    if (code < 256) {
      len = 1;
      if (pos >= capacity) break;
      out[pos] = uint8_t(code);
    } else if (code < next) {
      len = t->length[code];
      if (pos + len > capacity) break;
      CopyString(out + pos, out + t->offset[code], len, pos + 16 <= capacity);
    } else if (code == next) {
      // The previous string and its own first byte.
      len = prevLen + 1;
      if (pos + len > capacity) break;
      CopyString(out + pos, out + prevAt, prevLen, pos + 16 <= capacity);
      out[pos + prevLen] = out[prevAt];
    } else {
      break;  // a code not yet in the table ends the strip
    }
    if (next < 4096) {
      t->offset[next] = prevAt;
      t->length[next] = prevLen + 1;
      ++next;
      if (next == (1u << width) - 1 && width < 12) ++width;
    }
    prevAt = pos;
    pos += len;
    prev = code;
  }
  return pos;
}

size_t PackBitsDecode(const uint8_t* src, size_t n, uint8_t* out, size_t capacity) {
  size_t ip = 0, pos = 0;
  while (ip < n && pos < capacity) {
    const int c = int8_t(src[ip++]);
    if (c == -128) continue;
    if (c < 0) {
      if (ip >= n) break;
      size_t count = size_t(1 - c);
      if (count > capacity - pos) count = capacity - pos;
      std::memset(out + pos, src[ip++], count);
      pos += count;
    } else {
      size_t count = size_t(c) + 1;
      if (count > n - ip) count = n - ip;
      if (count > capacity - pos) count = capacity - pos;
      std::memcpy(out + pos, src + ip, count);
      ip += size_t(c) + 1;
      pos += count;
    }
  }
  return pos;
}

}  // namespace tsl

TTIF::TTIF(const tsl::DibPlatform& platform) : TBitmap_Base(platform) {
  SetDefaults();
  ByteOrder = 1;
}

TTIF::~TTIF() { FreeCopy(); }

void TTIF::SetDefaults() {
  ImageWidth = ImageLength = BitsPerSample = 0;
  SamplesPerPixel = 1;
  Compression = 1;
  Photometric = 0;
  RowsPerStrip = -1;
  StripOffsets = StripByteCounts = StripOffsetsCount = StripByteCountsCount = 0;
  StripOffsetsType = StripByteCountsType = kLong;
  Reserved2[0] = Reserved2[1] = 0;
  XResolutionValue = YResolutionValue = 0;
  ResolutionUnit = 2;
  ColourMapOffset = 0;
  FillOrder = 1;
  PlanarConfiguration = 1;
  ExtraSamples = 0;
  Predictor = 1;
  TileWidth = TileLength = 0;
  GreyPicture = 0;
}

void TTIF::FreeCopy() {
  if (copy_) {
    Platform().Unlock(copy_);
    Platform().Free(copy_);
  }
  copy_ = nullptr;
  file_ = nullptr;
  size_ = 0;
}

uint16_t TTIF::Get16(uint64_t at) const {
  if (at + 2 > size_) return 0;
  const uint8_t* p = file_ + at;
  return ByteOrder ? uint16_t(p[0] | p[1] << 8) : uint16_t(p[0] << 8 | p[1]);
}

uint32_t TTIF::Get32(uint64_t at) const {
  if (at + 4 > size_) return 0;
  const uint8_t* p = file_ + at;
  return ByteOrder ? tsl::GetLe32(p)
                   : uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool TTIF::StripEntry(uint32_t field, uint32_t count, uint32_t type, uint32_t i, uint32_t& value) const {
  const uint64_t size = type == kShort ? 2 : 4;
  const uint64_t base = uint64_t(count) * size <= 4 ? field : Get32(field);
  const uint64_t at = base + uint64_t(i) * size;
  if (at + size > size_) return false;
  value = type == kShort ? Get16(at) : Get32(at);
  return true;
}

int TTIF::ReadHeader(ByteStream* f, const char*) {
  FreeCopy();
  if (!f || f->Seek(StartOffset) < 0) return kBitmapShortRead;
  int64_t amount = Length;
  if (amount < 0) {
    const int64_t len = f->Length();
    if (len < 0 || len < StartOffset) return kBitmapShortRead;
    amount = len - StartOffset;
  }
  if (amount < 8) return kBitmapShortRead;
  if (uint64_t(amount) > tsl::kMaxDibBytes) return kBitmapNoMemory;
  copy_ = Platform().Alloc(size_t(amount), true);
  if (!copy_) return kBitmapNoMemory;
  uint8_t* p = Platform().Lock(copy_);
  if (!p) {
    Platform().Free(copy_);
    copy_ = nullptr;
    return kBitmapNoMemory;
  }
  file_ = p;
  size_ = size_t(amount);
  if (f->Read(p, uint32_t(amount)) != uint32_t(amount)) {
    FreeCopy();
    return kBitmapShortRead;
  }

  int r = kBitmapOk;
  if (p[0] == 'I' && p[1] == 'I')
    ByteOrder = 1;
  else if (p[0] == 'M' && p[1] == 'M')
    ByteOrder = 0;
  else
    r = kBitmapNoSuchFrame;
  const uint32_t ifd = r == kBitmapOk ? Get32(4) : 0;
  if (r == kBitmapOk && (Get16(2) != 42 || ifd == 0)) r = kBitmapBadSignature;
  if (r == kBitmapOk && uint64_t(ifd) + 2 > size_) r = kBitmapShortRead;
  if (r != kBitmapOk) {
    FreeCopy();
    return r;
  }

  SetDefaults();
  const uint32_t entries = Get16(ifd);
  for (uint32_t i = 0; i < entries; ++i) {
    const uint64_t e = uint64_t(ifd) + 2 + 12 * uint64_t(i);
    if (e + 12 > size_) break;  // a directory cut short ends at the file's end
    const uint32_t tag = Get16(e), type = Get16(e + 2), count = Get32(e + 4);
    const uint32_t value = type == kShort ? Get16(e + 8) : Get32(e + 8);
    auto rational = [&]() {
      const uint32_t at = Get32(e + 8);
      const uint32_t den = Get32(uint64_t(at) + 4);
      return den ? double(Get32(at)) / den : 0.0;
    };
    switch (tag) {
      case 256: ImageWidth = value; break;
      case 257: ImageLength = value; break;
      case 258:
        if (count <= 1) {
          BitsPerSample = value;
        } else {
          const uint64_t size = type == kShort ? 2 : 4;
          const uint64_t at = uint64_t(count) * size <= 4 ? e + 8 : Get32(e + 8);
          bool eights = true;
          for (uint32_t k = 0; k < count && k < 3; ++k)
            eights = eights && (type == kShort ? Get16(at + k * size) : Get32(at + k * size)) == 8;
          BitsPerSample = eights ? 8 : 0;
        }
        break;
      case 259: Compression = value; break;
      case 262: Photometric = value; break;
      case 266: FillOrder = value; break;
      case 273:
        StripOffsets = uint32_t(e + 8);
        StripOffsetsCount = count;
        StripOffsetsType = type == kShort ? kShort : kLong;
        break;
      case 277: SamplesPerPixel = value; break;
      case 278: RowsPerStrip = int32_t(value); break;
      case 279:
        StripByteCounts = uint32_t(e + 8);
        StripByteCountsCount = count;
        StripByteCountsType = type == kShort ? kShort : kLong;
        break;
      case 282: XResolutionValue = rational(); break;
      case 283: YResolutionValue = rational(); break;
      case 284: PlanarConfiguration = value; break;
      case 296: ResolutionUnit = value; break;
      case 317: Predictor = value; break;
      case 320: ColourMapOffset = Get32(e + 8); break;
      case 322: TileWidth = value; break;
      case 323: TileLength = value; break;
      case 338: ExtraSamples = count; break;
      default: break;
    }
  }

  r = kBitmapOk;
  if (Compression == 3 || Compression == 4 || Compression == 6 || FillOrder != 1 || PlanarConfiguration != 1 ||
      ExtraSamples || (Predictor != 1 && BitsPerSample != 8) || TileWidth || TileLength || StripOffsetsCount == 0)
    r = kBitmapUnsupportedTiff;
  if (r == kBitmapOk) {
    switch (Photometric) {
      case 0:
      case 1:
        if (SamplesPerPixel == 1 && (BitsPerSample == 1 || BitsPerSample == 4 || BitsPerSample == 8)) {
          BitsPerPixel = BitsPerSample;
          GreyPicture = 1;
        } else {
          r = kBitmapNoSuccessor;
        }
        break;
      case 2:
        if (SamplesPerPixel == 3 && BitsPerSample == 8)
          BitsPerPixel = 24;
        else
          r = kBitmapNoSuccessor;
        break;
      case 3:
        if (SamplesPerPixel == 1 && (BitsPerSample == 4 || BitsPerSample == 8))
          BitsPerPixel = BitsPerSample;
        else
          r = kBitmapNoSuccessor;
        break;
      case 4:
      case 5:
      case 6:
      case 8: r = kBitmapUnsupportedTiff; break;
      default: r = kBitmapNoSuccessor; break;
    }
  }
  if (r == kBitmapOk && (ImageWidth == 0 || ImageLength == 0 || ImageWidth > 0x7FFFFFFF || ImageLength > 0x7FFFFFFF))
    r = kBitmapBadSize;
  if (r != kBitmapOk) {
    FreeCopy();
    return r;
  }
  Width = int32_t(ImageWidth);
  Height = int32_t(ImageLength);
  auto perMetre = [&](double res) -> int32_t {
    double v;
    if (ResolutionUnit == 3)
      v = res * 100;
    else if (ResolutionUnit != 2 && res == 0)
      return tsl::kDefaultPelsPerMeter;
    else
      v = res * 0.3937007874 * 100;
    return v > 0 && v < 2147483647.0 ? int32_t(v) : 0;
  };
  XResolution = perMetre(XResolutionValue);
  YResolution = perMetre(YResolutionValue);
  Colours = ColoursForBits(BitsPerPixel);
  if (!ComputeSizes()) {
    FreeCopy();
    return kBitmapNoMemory;
  }
  return kBitmapOk;
}

int TTIF::ReadPalette(ByteStream*, tsl::DibRgbQuad* table) {
  if (BitsPerPixel == 24) return kBitmapOk;
  const uint32_t n = 1u << BitsPerPixel;
  if (GreyPicture) {
    const uint32_t step = BitsPerPixel == 8 ? 1 : BitsPerPixel == 4 ? 17 : 255;
    for (uint32_t i = 0; i < n; ++i) {
      const uint8_t v = uint8_t(Photometric == 1 ? i * step : 255 - i * step);
      table[i] = {v, v, v, 0};
    }
    return kBitmapOk;
  }
  if (!file_ || uint64_t(ColourMapOffset) + 6ull * n > size_) {
    FreeCopy();
    return kBitmapShortRead;
  }
  for (uint32_t i = 0; i < n; ++i) {
    const uint64_t at = ColourMapOffset + 2ull * i;
    table[i] = {uint8_t(Get16(at + 4ull * n) >> 8), uint8_t(Get16(at + 2ull * n) >> 8), uint8_t(Get16(at) >> 8), 0};
  }
  return kBitmapOk;
}

int TTIF::ReadData(ByteStream*, uint8_t* bits) {
  if (!file_) return kBitmapNoMemory;
  const uint32_t h = ImageLength, w = ImageWidth;
  // A rows-per-strip of 0 or beyond the picture means one strip.
  const uint32_t rps = RowsPerStrip <= 0 || uint32_t(RowsPerStrip) > h ? h : uint32_t(RowsPerStrip);
  const uint32_t strips = (h + rps - 1) / rps;
  uint64_t rowLen;
  switch (BitsPerPixel) {
    case 1: rowLen = (uint64_t(w) + 7) / 8; break;
    case 4: rowLen = (uint64_t(w) + 1) / 2; break;
    case 8: rowLen = w; break;
    default: rowLen = 3ull * w; break;
  }
  const uint64_t dibRow = uint64_t(RowBytes());
  int r = kBitmapOk;
  std::unique_ptr<uint8_t[]> work;
  const uint64_t capacity = rowLen * (uint64_t(rps) + 1);
  if (Compression == 5 || Compression == 32773) {
    if (capacity > tsl::kMaxDibBytes) r = kBitmapNoMemory;
    // Cleared once: the LZW copies may read a little past what a strip wrote.
    if (r == kBitmapOk) work.reset(new (std::nothrow) uint8_t[size_t(capacity)]());
    if (r == kBitmapOk && !work) r = kBitmapNoMemory;
  } else if (Compression != 1) {
    r = kBitmapUnsupportedTiff;
  }
  for (uint32_t s = 0; r == kBitmapOk && s < strips; ++s) {
    uint32_t offset = 0, count = 0;
    if (s >= StripOffsetsCount || !StripEntry(StripOffsets, StripOffsetsCount, StripOffsetsType, s, offset)) break;
    if (StripByteCountsCount == 0 ||
        !StripEntry(StripByteCounts, StripByteCountsCount, StripByteCountsType, s < StripByteCountsCount ? s : 0,
                    count))
      count = uint32_t(size_ > offset ? size_ - offset : 0);
    if (offset >= size_) break;
    if (uint64_t(offset) + count > size_) count = uint32_t(size_ - offset);
    const uint8_t* strip = file_ + offset;
    uint64_t got = count;
    if (Compression == 5 || Compression == 32773) {
      const size_t decoded = Compression == 5 ? tsl::TiffLzwDecode(strip, count, work.get(), size_t(capacity))
                                              : tsl::PackBitsDecode(strip, count, work.get(), size_t(capacity));
      std::memset(work.get() + decoded, 0, size_t(capacity) - decoded);
      strip = work.get();
      got = capacity;  // rows the strip did not fill stay zero
    }
    for (uint32_t i = 0; i < rps; ++i) {
      const uint64_t y = uint64_t(s) * rps + i;
      if (y >= h) break;
      const uint64_t at = uint64_t(i) * rowLen;
      uint8_t* d = bits + (h - 1 - y) * dibRow;
      if (at >= got) break;
      const uint64_t n = got - at < rowLen ? got - at : rowLen;
      const uint8_t* src = strip + at;
      if (BitsPerPixel == 24) {
        const uint64_t px = n / 3;
        for (uint64_t x = 0; x < px; ++x) {
          d[3 * x] = src[3 * x + 2];
          d[3 * x + 1] = src[3 * x + 1];
          d[3 * x + 2] = src[3 * x];
        }
        if (Predictor == 2)
          for (uint64_t x = 3; x < 3 * px; ++x) d[x] = uint8_t(d[x] + d[x - 3]);
      } else {
        std::memcpy(d, src, size_t(n));
        if (Predictor == 2 && BitsPerPixel == 8)
          for (uint64_t x = 1; x < n; ++x) d[x] = uint8_t(d[x] + d[x - 1]);
      }
    }
  }
  FreeCopy();
  return r;
}

int TTIF::Write(ByteStream*, tsl::DibHandle) { return kBitmapOk; }
