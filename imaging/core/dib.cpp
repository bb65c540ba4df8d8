#include "imaging/core/dib.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace tsl {

namespace {
// A heap block: its size, then the bytes, aligned like malloc's.
struct alignas(16) HeapBlockHead {
  size_t size;
};

bool ValidBits(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}
}  // namespace

DibHandle HeapDibPlatform::Alloc(size_t bytes, bool zero) const {
  if (bytes > limit_ || bytes > kMaxDibBytes) return nullptr;
  void* p = zero ? std::calloc(1, sizeof(HeapBlockHead) + bytes) : std::malloc(sizeof(HeapBlockHead) + bytes);
  if (!p) return nullptr;
  static_cast<HeapBlockHead*>(p)->size = bytes;
  return p;
}

uint8_t* HeapDibPlatform::Lock(DibHandle h) const {
  return h ? reinterpret_cast<uint8_t*>(static_cast<HeapBlockHead*>(h) + 1) : nullptr;
}

void HeapDibPlatform::Unlock(DibHandle) const {}

void HeapDibPlatform::Free(DibHandle h) const { std::free(h); }

size_t HeapDibPlatform::Size(DibHandle h) const { return h ? static_cast<HeapBlockHead*>(h)->size : 0; }

std::unique_ptr<ByteStream> HeapDibPlatform::OpenRead(const char* name) const {
  if (!name || !*name) return nullptr;
  auto f = std::make_unique<PosixFileStream>(name, PosixFileStream::ReadOnly);
  if (!f->IsOpen()) return nullptr;
  return f;
}

const DibPlatform& DefaultDibPlatform() {
  static const HeapDibPlatform platform;
  return platform;
}

uint64_t RowBytesFor(int64_t width, uint32_t bits) {
  if (width < 0 || width > 0x7FFFFFFF || bits > 64) return 0;
  return ((uint64_t(width) * bits + 31) / 32) * 4;
}

uint32_t DibNumColors(const DibInfoHeader* h) {
  if (!h) return 0;
  if (h->biClrUsed != 0) return h->biClrUsed;
  return h->biBitCount <= 8 ? 1u << h->biBitCount : 0;
}

uint8_t* DibBitsPtr(DibInfoHeader* h) {
  if (!h || h->biSize < kInfoHeaderBytes) return nullptr;
  size_t off = h->biSize + size_t(4) * DibNumColors(h);
  // Only the 40-byte header keeps its masks outside; the later ones hold them.
  if (h->biCompression == kBiBitfields && h->biSize == kInfoHeaderBytes) off += kMaskBytes;
  return reinterpret_cast<uint8_t*>(h) + off;
}

uint32_t DibRowBytes(const DibInfoHeader* h) {
  return h ? uint32_t(RowBytesFor(h->biWidth, h->biBitCount)) : 0;
}

uint32_t DibColumnBytes(const DibInfoHeader* h) {
  return h ? uint32_t(RowBytesFor(h->biHeight, h->biBitCount)) : 0;
}

uint64_t DibImageBytes(const DibInfoHeader* h) {
  if (!h || h->biHeight < 0) return 0;
  return uint64_t(DibRowBytes(h)) * uint64_t(h->biHeight);
}

bool ParseDib(uint8_t* block, size_t size, DibView& v) {
  v = DibView();
  if (!block || size < kInfoHeaderBytes) return false;
  auto* h = reinterpret_cast<DibInfoHeader*>(block);
  if (h->biSize < kInfoHeaderBytes || h->biSize > size) return false;
  if (h->biWidth <= 0 || h->biHeight <= 0 || !ValidBits(h->biBitCount)) return false;
  const uint32_t comp = h->biCompression;
  if (comp > kBiBitfields) return false;
  if (comp == kBiRle8 && h->biBitCount != 8) return false;
  if (comp == kBiRle4 && h->biBitCount != 4) return false;
  if (comp == kBiBitfields && h->biBitCount != 16 && h->biBitCount != 32) return false;
  const uint64_t row = RowBytesFor(h->biWidth, h->biBitCount);
  const uint64_t colours = DibNumColors(h);
  uint64_t off = h->biSize + 4 * colours;
  if (comp == kBiBitfields) {
    // The masks follow a 40-byte header and lie inside the later ones.
    if (h->biSize == kInfoHeaderBytes) off += kMaskBytes;
    if (h->biSize < kInfoHeaderBytes + kMaskBytes && h->biSize != kInfoHeaderBytes) return false;
  }
  if (off > size) return false;
  const uint64_t image = row * uint64_t(h->biHeight);
  const size_t left = size - size_t(off);
  if (comp == kBiRle8 || comp == kBiRle4) {
    v.imageBytes = h->biSizeImage != 0 && h->biSizeImage < left ? h->biSizeImage : left;
  } else {
    if (image > left) return false;
    v.imageBytes = size_t(image);
  }
  v.header = h;
  if (comp == kBiBitfields) v.masks = reinterpret_cast<uint32_t*>(block + kInfoHeaderBytes);
  v.colours = reinterpret_cast<DibRgbQuad*>(block + off - 4 * colours);
  v.numColours = uint32_t(colours);
  v.bits = block + off;
  v.rowBytes = uint32_t(row);
  v.width = h->biWidth;
  v.height = h->biHeight;
  v.bitCount = h->biBitCount;
  v.compression = comp;
  return true;
}

DibHandle NewDib(const DibPlatform& p, int32_t width, int32_t height, uint16_t bits, uint32_t colours) {
  if (width <= 0 || height <= 0 || !ValidBits(bits) || colours > 256) return nullptr;
  const uint64_t row = RowBytesFor(width, bits);
  const uint64_t image = row * uint64_t(height);
  const uint64_t total = kInfoHeaderBytes + 4ull * colours + image;
  if (total > kMaxDibBytes) return nullptr;
  DibHandle d = p.Alloc(size_t(total), true);
  if (!d) return nullptr;
  DibLock lock(p, d);
  if (!lock) {
    p.Free(d);
    return nullptr;
  }
  auto* h = reinterpret_cast<DibInfoHeader*>(lock.get());
  h->biSize = kInfoHeaderBytes;
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = bits;
  h->biCompression = kBiRgb;
  h->biSizeImage = uint32_t(image);
  h->biXPelsPerMeter = kDefaultPelsPerMeter;
  h->biYPelsPerMeter = kDefaultPelsPerMeter;
  h->biClrUsed = colours;
  h->biClrImportant = 0;
  return d;
}

DibHandle DuplicateGlobal(const DibPlatform& p, DibHandle h) {
  if (!h) return nullptr;
  DibLock src(p, h);
  if (!src) return nullptr;
  const size_t n = src.size();
  DibHandle d = p.Alloc(n, true);
  if (!d) return nullptr;
  DibLock dst(p, d);
  if (!dst) {
    p.Free(d);
    return nullptr;
  }
  std::memcpy(dst.get(), src.get(), n);
  return d;
}

void InvertBytes(uint8_t* p, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) p[i] ^= 0xFF;
}

uint32_t WriteInverted(ByteStream* f, const uint8_t* p, uint32_t n) {
  if (!f) return 0;
  uint8_t buf[1024];
  uint32_t done = 0;
  while (done < n) {
    const uint32_t k = n - done < sizeof buf ? n - done : uint32_t(sizeof buf);
    for (uint32_t i = 0; i < k; ++i) buf[i] = p[done + i] ^ 0xFF;
    const uint32_t w = f->Write(buf, k);
    done += w;
    if (w != k) break;
  }
  return done;
}

void FillBytes(uint8_t* p, uint8_t value, int n) {
  if (n > 0) std::memset(p, value, size_t(n));
}

bool CompareNoCaseN(const char* a, const char* b, int n) {
  if (!a || !b) return false;
  for (int i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return false;
    if (ca == 0) break;
  }
  return true;
}

namespace {
bool IsOptionSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

// Calls match(token, length) for each token until it returns true.
template <class Match>
const char* FindToken(const char* options, Match match) {
  if (!options) return nullptr;
  const char* p = options;
  while (*p) {
    while (*p && IsOptionSeparator(*p)) ++p;
    const char* start = p;
    while (*p && !IsOptionSeparator(*p)) ++p;
    if (p > start && match(start, int(p - start))) return start;
  }
  return nullptr;
}
}  // namespace

const char* FindOptionWord(const char* options, const char* word) {
  if (!word) return nullptr;
  const int n = int(std::strlen(word));
  return FindToken(options, [&](const char* t, int len) { return len == n && CompareNoCaseN(t, word, n); });
}

const char* FindOptionPrefix(const char* options, const char* prefix) {
  if (!prefix) return nullptr;
  const int n = int(std::strlen(prefix));
  return FindToken(options, [&](const char* t, int len) { return len >= n && CompareNoCaseN(t, prefix, n); });
}

}  // namespace tsl
