// The packed DIB as the portable core sees it: the 40-byte info header, the
// three bit-field masks (compression 3), the colour table and the bottom-up
// rows padded to 32 bits, in one block. Blocks come from a DibPlatform: plain
// heap blocks in the portable core and its tests, movable global memory on
// Win32 (imaging/dibglobal.h), so a codec hands out a real HGLOBAL without a
// copy. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/core/bytestream.h"

namespace tsl {

// Field for field the Windows BITMAPINFOHEADER and RGBQUAD (no padding, so
// a locked block can be read through them on every target).
struct DibInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
static_assert(sizeof(DibInfoHeader) == 40, "info header is 40 bytes");

struct DibRgbQuad {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};
static_assert(sizeof(DibRgbQuad) == 4, "RGBQUAD is 4 bytes");

constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kMaskBytes = 12;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
// Pixels per metre written when the source gives none (75 dpi).
constexpr int32_t kDefaultPelsPerMeter = 2953;
// No picture block is ever larger: the player is a 32-bit program and the
// header's size fields are 32 bits.
constexpr uint64_t kMaxDibBytes = 0x7FFFFFFFu;

// An opaque block handle: an HGLOBAL on Win32.
using DibHandle = void*;

// Where picture blocks live and how named files are opened.
class DibPlatform {
public:
  virtual ~DibPlatform() = default;
  // Null when the block cannot be had.
  virtual DibHandle Alloc(size_t bytes, bool zero) const = 0;
  virtual uint8_t* Lock(DibHandle h) const = 0;
  virtual void Unlock(DibHandle h) const = 0;
  virtual void Free(DibHandle h) const = 0;
  virtual size_t Size(DibHandle h) const = 0;
  // Null when the file does not open.
  virtual std::unique_ptr<ByteStream> OpenRead(const char* name) const = 0;
};

// Heap blocks and host files. The limit refuses larger blocks the way a
// full global heap would.
class HeapDibPlatform : public DibPlatform {
public:
  explicit HeapDibPlatform(size_t limit = size_t(1) << 30) : limit_(limit) {}
  DibHandle Alloc(size_t bytes, bool zero) const override;
  uint8_t* Lock(DibHandle h) const override;
  void Unlock(DibHandle h) const override;
  void Free(DibHandle h) const override;
  size_t Size(DibHandle h) const override;
  std::unique_ptr<ByteStream> OpenRead(const char* name) const override;

private:
  size_t limit_;
};
const DibPlatform& DefaultDibPlatform();

// Locks a block for the scope.
class DibLock {
public:
  DibLock(const DibPlatform& p, DibHandle h) : p_(p), h_(h), ptr_(h ? p.Lock(h) : nullptr) {}
  ~DibLock() {
    if (ptr_) p_.Unlock(h_);
  }
  DibLock(const DibLock&) = delete;
  DibLock& operator=(const DibLock&) = delete;
  uint8_t* get() const { return ptr_; }
  size_t size() const { return ptr_ ? p_.Size(h_) : 0; }
  explicit operator bool() const { return ptr_ != nullptr; }

private:
  const DibPlatform& p_;
  DibHandle h_;
  uint8_t* ptr_;
};

// Owns a block until released; frees it otherwise.
class DibHolder {
public:
  DibHolder(const DibPlatform& p, DibHandle h = nullptr) : p_(&p), h_(h) {}
  ~DibHolder() { reset(); }
  DibHolder(DibHolder&& o) noexcept : p_(o.p_), h_(o.release()) {}
  DibHolder(const DibHolder&) = delete;
  DibHolder& operator=(const DibHolder&) = delete;
  DibHandle get() const { return h_; }
  DibHandle release() {
    DibHandle h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(DibHandle h = nullptr) {
    if (h_) p_->Free(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ != nullptr; }

private:
  const DibPlatform* p_;
  DibHandle h_;
};

// A packed DIB checked against its block: every pointer and size lies
// inside it. Depths 1, 4, 8, 16, 24, 32; positive width and height.
struct DibView {
  DibInfoHeader* header = nullptr;
  uint32_t* masks = nullptr;  // compression 3 with a 40-byte header only
  DibRgbQuad* colours = nullptr;
  uint32_t numColours = 0;
  uint8_t* bits = nullptr;
  uint32_t rowBytes = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  // Uncompressed: rowBytes × height; run-length data: the bytes stored.
  size_t imageBytes = 0;

  bool Compressed() const { return compression == kBiRle8 || compression == kBiRle4; }
  uint8_t* Row(int32_t storedRow) const { return bits + size_t(storedRow) * rowBytes; }
};
// False when the block is not a well-formed packed DIB.
bool ParseDib(uint8_t* block, size_t size, DibView& v);

// Colour count of a DIB: the used-colours field, else 2^bits up to 8 bits,
// else 0 (bit-field and true-colour pictures carry no table).
uint32_t DibNumColors(const DibInfoHeader* h);
// Pixel rows of a locked DIB: after the header, the masks of a bit-field
// picture and the colour table. Null for null.
uint8_t* DibBitsPtr(DibInfoHeader* h);

// Row sizes of a header; 64-bit image size.
uint32_t DibRowBytes(const DibInfoHeader* h);
uint32_t DibColumnBytes(const DibInfoHeader* h);
uint64_t DibImageBytes(const DibInfoHeader* h);
// ((width × bits + 31) / 32) × 4 without overflow; 0 for nonsense.
uint64_t RowBytesFor(int64_t width, uint32_t bits);

// Allocates a block and fills a 40-byte header (compression 0, 2953 pixels
// per metre, image size computed) with room for `colours` table entries.
// Null when the sizes are out of range or memory is short.
DibHandle NewDib(const DibPlatform& p, int32_t width, int32_t height, uint16_t bits, uint32_t colours);

// A new block of the same size and bytes; null for null or no memory.
DibHandle DuplicateGlobal(const DibPlatform& p, DibHandle h);

// Byte helpers shared by the codecs.
void InvertBytes(uint8_t* p, uint32_t n);
// Writes n bytes inverted; returns the bytes written (stops at a short write).
uint32_t WriteInverted(ByteStream* f, const uint8_t* p, uint32_t n);
void FillBytes(uint8_t* p, uint8_t value, int n);
bool CompareNoCaseN(const char* a, const char* b, int n);
// The first blank-, tab- or comma-separated token equal to `word` (or
// starting with `prefix`) without regard to case; null when there is none.
const char* FindOptionWord(const char* options, const char* word);
const char* FindOptionPrefix(const char* options, const char* prefix);

// Little-endian field access.
inline uint16_t GetLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t GetLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace tsl
