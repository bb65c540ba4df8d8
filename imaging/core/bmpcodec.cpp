#include "imaging/core/bmpcodec.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/rle.h"

using tsl::ByteStream;
using tsl::GetLe16;
using tsl::GetLe32;

namespace {
bool ReadExact(ByteStream* f, void* p, uint32_t n) { return f->Read(p, n) == n; }

// The ByteReader as a run-length source.
class StreamSource {
public:
  StreamSource(ByteReader& r, ByteStream* f) : r_(r), f_(f) {}
  int Next() { return r_.Position < r_.Count ? r_.Buffer[r_.Position++] : ReadBufferedByte(r_, f_); }

private:
  ByteReader& r_;
  ByteStream* f_;
};

// The number after "index=", 0 when absent or not a number.
int32_t OptionIndex(const char* options) {
  const char* p = tsl::FindOptionPrefix(options, "index=");
  if (!p) return 0;
  p += 6;
  int64_t n = 0;
  while (*p >= '0' && *p <= '9' && n < 0x7FFFFFFF) n = n * 10 + (*p++ - '0');
  return n > 0x7FFFFFFF ? 0x7FFFFFFF : int32_t(n);
}

bool IsInfoHeaderSize(uint32_t size) {
  // Windows 3.0 and later (40, 52, 56, 108, 124) and OS/2 2.0, whose header
  // may end after any of its fields.
  return size >= 16 && size <= 124 && (size % 4 == 0 || size == 42 || size == 46);
}

bool IsOs2InfoHeader(uint32_t size) { return size != 40 && size != 52 && size != 56 && size != 108 && size != 124; }

// Turns rows stored top row first into the DIB's bottom-up order.
void ReverseRows(uint8_t* bits, uint32_t rowBytes, int32_t height) {
  for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(bits + size_t(top) * rowBytes, bits + size_t(top + 1) * rowBytes, bits + size_t(bottom) * rowBytes);
}
}  // namespace

namespace tsl {
uint32_t PackedDibColorEntries(const uint8_t* block, size_t size) {
  if (!block || size < kInfoHeaderBytes) return 0;
  const uint16_t bits = GetLe16(block + 14);
  uint32_t colors = GetLe32(block + 32);
  if (colors == 0 && bits <= 8) colors = 1u << bits;
  const size_t masks = GetLe32(block + 16) == kBiBitfields ? kMaskBytes : 0;
  const size_t room = size >= kInfoHeaderBytes + masks ? (size - kInfoHeaderBytes - masks) / 4 : 0;
  return colors > room ? uint32_t(room) : colors;
}

uint32_t PackedDibBitsOffset(const uint8_t* block, size_t size) {
  if (!block || size < kInfoHeaderBytes) return 14 + kInfoHeaderBytes;
  const uint32_t masks = GetLe32(block + 16) == kBiBitfields ? kMaskBytes : 0;
  return 14 + kInfoHeaderBytes + masks + 4 * PackedDibColorEntries(block, size);
}
}  // namespace tsl

_TDIB::_TDIB(const tsl::DibPlatform& platform) : TBitmap_Base(platform) { ResetBmpFields(); }

_TDIB::_TDIB(int32_t width, int32_t height, uint32_t bitsPerPixel, const tsl::DibPlatform& platform)
    : TBitmap_Base(platform) {
  ResetBmpFields();
  Width = width;
  Height = height;
  BitsPerPixel = bitsPerPixel;
  MakeBlank();
}

void _TDIB::ResetBmpFields() {
  FileHeaderPosition = 0;
  Windows30Header = 0;
  Compression = 0;
  ColoursUsed = 0;
  BitsOffset = 0;
  InvertPalette = 0;
  InvertBits = 0;
  HeaderKind = 0;
  TopDown = 0;
}

void _TDIB::MakeBlank() {
  const uint32_t b = BitsPerPixel;
  if (Width <= 0 || Height <= 0 || !(b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32)) return;
  Colours = ColoursForBits(b);
  if (!ComputeSizes()) return;
  Dib = Platform().Alloc(TotalBytes, true);
  if (!Dib) return;
  LockedBase = Platform().Lock(Dib);
  if (!LockedBase) {
    Platform().Free(Dib);
    Dib = nullptr;
    return;
  }
  Header = reinterpret_cast<tsl::DibInfoHeader*>(LockedBase);
  FillInfoHeader(Header);
  ColourTable = reinterpret_cast<tsl::DibRgbQuad*>(LockedBase + tsl::kInfoHeaderBytes);
  Bits = LockedBase + tsl::kInfoHeaderBytes + ColourTableBytes;
}

int _TDIB::ReadHeader(ByteStream* f, const char* options) {
  ResetBmpFields();
  InvertPalette = tsl::FindOptionWord(options, "inv") != nullptr;
  InvertBits = tsl::FindOptionWord(options, "invb") != nullptr;
  if (!f || f->Seek(StartOffset) < 0) return kBitmapShortRead;
  uint8_t sig[2];
  if (!ReadExact(f, sig, 2)) return kBitmapShortRead;

  if (sig[0] == 'B' && sig[1] == 'A') {
    // Bitmap array: follow the chain to the wanted entry. Entries only ever
    // lie further on, so a chain that turns back is broken.
    int64_t entry = StartOffset;
    for (int32_t n = OptionIndex(options); n > 0; --n) {
      uint8_t e[8];
      if (!ReadExact(f, e, 8)) return kBitmapShortRead;
      const uint32_t next = GetLe32(e + 4);
      if (next == 0) return kBitmapNoSuccessor;
      const int64_t at = int64_t(StartOffset) + next;
      if (at <= entry) return kBitmapNoSuccessor;
      if (f->Seek(at) < 0 || !ReadExact(f, sig, 2)) return kBitmapShortRead;
      if (sig[0] != 'B' || sig[1] != 'A') return kBitmapBadSignature;
      entry = at;
    }
    if (f->Seek(12, ByteStream::cur) < 0 || !ReadExact(f, sig, 2)) return kBitmapShortRead;
  }
  if (sig[0] != 'B' || sig[1] != 'M') return kBitmapBadSignature;

  const int64_t bmAt = f->Position() - 2;
  if (bmAt < 0 || bmAt > 0x7FFFFFFF) return kBitmapShortRead;
  FileHeaderPosition = int32_t(bmAt);
  uint8_t fh[16];  // rest of the file header and the info-header size
  if (!ReadExact(f, fh, 16)) return kBitmapShortRead;
  FileSize = GetLe32(fh);
  const int64_t bitsAt = int64_t(StartOffset) + GetLe32(fh + 8);
  if (bitsAt > 0x7FFFFFFF) return kBitmapShortRead;
  BitsOffset = int32_t(bitsAt);
  InfoHeaderSize = GetLe32(fh + 12);

  if (InfoHeaderSize == 12) {
    uint8_t c[8];
    if (!ReadExact(f, c, 8)) return kBitmapShortRead;
    Width = GetLe16(c);
    Height = GetLe16(c + 2);
    const uint16_t planes = GetLe16(c + 4);
    BitsPerPixel = GetLe16(c + 6);
    if (Width == 0 || Height == 0) return kBitmapBadSize;
    if (planes != 1) return kBitmapBadVersion;
    if (BitsPerPixel != 1 && BitsPerPixel != 4 && BitsPerPixel != 8 && BitsPerPixel != 24) return kBitmapBadDepth;
    HeaderKind = kCoreHeader;
    Compression = tsl::kBiRgb;
    Colours = ColoursUsed = ColoursForBits(BitsPerPixel);
  } else if (IsInfoHeaderSize(InfoHeaderSize)) {
    // Every header from 16 bytes on starts like the Windows 3.0 one; fields
    // past the end of a short header keep their defaults.
    uint8_t h[60] = {};
    const uint32_t n = (InfoHeaderSize < 64 ? InfoHeaderSize : 64) - 4;
    if (!ReadExact(f, h, n)) return kBitmapShortRead;
    const uint32_t size = InfoHeaderSize;
    Width = int32_t(GetLe32(h));
    Height = int32_t(GetLe32(h + 4));
    // Today's tools write top-down files; a negative height says so.
    if (Height < 0 && Height != INT32_MIN) {
      Height = -Height;
      TopDown = 1;
    }
    const uint16_t planes = GetLe16(h + 8);
    BitsPerPixel = GetLe16(h + 10);
    Compression = size > 16 ? GetLe32(h + 12) : tsl::kBiRgb;
    if (size > 24) XResolution = int32_t(GetLe32(h + 20));
    if (size > 28) YResolution = int32_t(GetLe32(h + 24));
    ColoursUsed = size > 32 ? GetLe32(h + 28) : ColoursForBits(BitsPerPixel);
    if (size > 36) ImportantColours = GetLe32(h + 32);
    if (Width <= 0 || Height <= 0) return kBitmapBadSize;
    if (planes != 1) return kBitmapBadVersion;
    const uint32_t b = BitsPerPixel;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return kBitmapBadDepth;
    if (b < 16 && ColoursUsed == 0) ColoursUsed = 1u << b;
    // Compression 3 means bit fields for Windows headers and Huffman coding
    // for OS/2 2.0 ones; a run-length code fits one depth only.
    switch (Compression) {
      case tsl::kBiRgb: break;
      case tsl::kBiRle8: if (b != 8) return kBitmapBadCompression; break;
      case tsl::kBiRle4: if (b != 4) return kBitmapBadCompression; break;
      case tsl::kBiBitfields:
        if ((b != 16 && b != 32) || IsOs2InfoHeader(size)) return kBitmapBadCompression;
        break;
      default: return kBitmapBadCompression;
    }
    Windows30Header = size == 40;
    HeaderKind = kInfoHeader;
    // A table longer than the depth can index is never used; a true-colour
    // picture's optional table is not read.
    const uint32_t most = b <= 8 ? 1u << b : 256;
    Colours = ColoursUsed < most ? ColoursUsed : most;
    HasColourMasks = Compression == tsl::kBiBitfields;
  } else {
    return kBitmapBadVersion;
  }

  if (!ComputeSizes()) return kBitmapNoMemory;
  // Uncompressed rows must all be in the file before memory is spent on them.
  const int64_t end = PictureEnd(f);
  if (end >= 0 && (Compression == tsl::kBiRgb || Compression == tsl::kBiBitfields) &&
      int64_t(BitsOffset) + int64_t(ImageBytes) > end)
    return kBitmapShortRead;
  // The masks lie right after the 40-byte header, inside the later ones.
  if (HasColourMasks && f->Seek(int64_t(FileHeaderPosition) + 14 + tsl::kInfoHeaderBytes) < 0) return kBitmapShortRead;
  return kBitmapOk;
}

int _TDIB::ReadPalette(ByteStream* f, tsl::DibRgbQuad* table) {
  if (BitsPerPixel >= 16) return kBitmapOk;
  if (HeaderKind == kCoreHeader) {
    if (f->Seek(int64_t(FileHeaderPosition) + 26) < 0) return kBitmapShortRead;
    uint8_t rgb[256 * 3];
    if (!ReadExact(f, rgb, Colours * 3)) return kBitmapShortRead;
    for (uint32_t i = 0; i < Colours; ++i) table[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 0};
  } else {
    if (f->Seek(int64_t(FileHeaderPosition) + 14 + InfoHeaderSize) < 0) return kBitmapShortRead;
    if (!ReadExact(f, table, ColourTableBytes)) return kBitmapShortRead;
  }
  if (BitsPerPixel == 1 && InvertPalette && Colours >= 2) {
    const tsl::DibRgbQuad t = table[0];
    table[0] = table[1];
    table[1] = t;
  }
  return kBitmapOk;
}

int _TDIB::ReadData(ByteStream* f, uint8_t* bits) {
  if (f->Seek(BitsOffset) < 0) return kBitmapShortRead;
  if (HeaderKind == kCoreHeader || Compression == tsl::kBiRgb || Compression == tsl::kBiBitfields) {
    if (!ReadExact(f, bits, ImageBytes)) return kBitmapShortRead;
  } else if (Compression == tsl::kBiRle8 || Compression == tsl::kBiRle4) {
    ByteReader reader;
    const int64_t end = PictureEnd(f);
    if (end >= 0) reader.Left = end > BitsOffset ? end - BitsOffset : 0;
    StreamSource src(reader, f);
    const uint32_t row = uint32_t(RowBytes());
    const tsl::RleResult r = Compression == tsl::kBiRle8 ? tsl::DecodeRle8(src, bits, row, Height)
                                                         : tsl::DecodeRle4(src, bits, row, Height);
    if (r != tsl::RleResult::Ok) return kBitmapShortRead;
  } else {
    return kBitmapBadCompression;
  }
  if (TopDown) ReverseRows(bits, uint32_t(RowBytes()), Height);
  if (InvertBits) tsl::InvertBytes(bits, ImageBytes);
  return kBitmapOk;
}

// Uncompressed rows come from the file in one read, or the load fails.
bool _TDIB::WritesEveryPixelByte() const {
  return HeaderKind == kCoreHeader || Compression == tsl::kBiRgb || Compression == tsl::kBiBitfields;
}

int _TDIB::Write(ByteStream* f, tsl::DibHandle dib) {
  if (!dib) return kBitmapNothingToWrite;
  tsl::DibLock lock(Platform(), dib);
  if (!lock) return kBitmapNothingToWrite;
  return Write(f, lock.get(), lock.size());
}

int _TDIB::Write(ByteStream* f, const uint8_t* block, size_t size) {
  if (!block || size == 0) return kBitmapNothingToWrite;
  if (!f || size > tsl::kMaxDibBytes) return kBitmapShortWrite;
  uint8_t h[14] = {'B', 'M'};
  // The size field counts 40 over the block, not 14: the embedded-picture
  // reader takes the block's length as size field - 40.
  tsl::PutLe32(h + 2, uint32_t(size + 40));
  tsl::PutLe32(h + 10, tsl::PackedDibBitsOffset(block, size));
  if (f->Write(h, 14) != 14) return kBitmapShortWrite;
  if (f->Write(block, uint32_t(size)) != size) return kBitmapShortWrite;
  return kBitmapOk;
}
