#include "imaging/core/bitmapbase.h"

#include <cstring>

using tsl::ByteStream;
using tsl::DibInfoHeader;

std::string BitmapErrorName(int error) {
  const char* name = nullptr;
  switch (static_cast<TBitmapError>(error)) {
    case kBitmapOk: name = "Ok"; break;
    case kBitmapNoMemory: name = "NoMemory"; break;
    case kBitmapUnsupportedTiff: name = "UnsupportedTiff"; break;
    case kBitmapBadSignature: name = "BadSignature"; break;
    case kBitmapBadSize: name = "BadSize"; break;
    case kBitmapShortRead: name = "ShortRead"; break;
    case kBitmapNoFile: name = "NoFile"; break;
    case kBitmapShortWrite: name = "ShortWrite"; break;
    case kBitmapNothingToWrite: name = "NothingToWrite"; break;
    case kBitmapBadVersion: name = "BadVersion"; break;
    case kBitmapBadDepth: name = "BadDepth"; break;
    case kBitmapBadCombination: name = "BadCombination"; break;
    case kBitmapBadCompression: name = "BadCompression"; break;
    case kBitmapNoSuccessor: name = "NoSuccessor"; break;
    case kBitmapCorruptData: name = "CorruptData"; break;
    case kBitmapOutsideScreen: name = "OutsideScreen"; break;
    case kBitmapNoSuchFrame: name = "NoSuchFrame"; break;
  }
  return std::to_string(error) + (name ? std::string(" ") + name : std::string(" (no such error)"));
}

int ReadBufferedByte(ByteReader& r, ByteStream* f) {
  if (r.Position >= r.Count) {
    if (!f || r.Left == 0) return -1;
    uint32_t want = ByteReader::kBufferBytes;
    if (r.Left > 0 && r.Left < want) want = uint32_t(r.Left);
    const uint32_t got = f->Read(r.Buffer.get(), want);
    if (got < 1) return -1;
    if (r.Left > 0) r.Left -= got;
    r.Position = 0;
    r.Count = int32_t(got);
  }
  return r.Buffer[r.Position++];
}

TBitmap_Base::TBitmap_Base(const tsl::DibPlatform& platform) : Dib(nullptr), platform_(&platform) { Reset(); }

TBitmap_Base::~TBitmap_Base() { FreeDib(); }

void TBitmap_Base::Reset() {
  OwnsMemory = 1;
  Colours = 0;
  Width = 0;
  Height = 0;
  BitsPerPixel = 0;
  InfoHeaderSize = 40;
  FileSize = 0;
  ImageBytes = 0;
  ColourTableBytes = 0;
  TotalBytes = 0;
  XResolution = 0;
  YResolution = 0;
  ImportantColours = 0;
  Reserved = 0;
  std::memset(FormatDescription, 0, sizeof FormatDescription);
  FormatFlags = 0;
  std::memset(ExtensionList, 0, sizeof ExtensionList);
  ColourMasks = nullptr;
  HasColourMasks = 0;
  StartOffset = 0;
  Length = -1;
  Header = nullptr;
  Bits = nullptr;
  ColourTable = nullptr;
  Dib = nullptr;
  LockedBase = nullptr;
}

void TBitmap_Base::FreeDib() {
  if (!Dib) return;
  if (LockedBase) platform_->Unlock(Dib);
  if (OwnsMemory) platform_->Free(Dib);
  Dib = nullptr;
  LockedBase = nullptr;
  Header = nullptr;
  Bits = nullptr;
  ColourTable = nullptr;
  ColourMasks = nullptr;
}

void TBitmap_Base::FillInfoHeader(DibInfoHeader* h) const {
  h->biSize = tsl::kInfoHeaderBytes;
  h->biWidth = Width;
  h->biHeight = Height;
  h->biPlanes = 1;
  h->biBitCount = uint16_t(BitsPerPixel);
  h->biCompression = HasColourMasks ? tsl::kBiBitfields : tsl::kBiRgb;
  h->biSizeImage = ImageBytes;
  h->biXPelsPerMeter = XResolution ? XResolution : tsl::kDefaultPelsPerMeter;
  h->biYPelsPerMeter = YResolution ? YResolution : tsl::kDefaultPelsPerMeter;
  h->biClrUsed = Colours;
  h->biClrImportant = ImportantColours;
}

bool TBitmap_Base::ComputeSizes() {
  const uint64_t row = tsl::RowBytesFor(Width, BitsPerPixel);
  const uint64_t image = Height > 0 ? row * uint64_t(Height) : 0;
  const uint64_t table = 4ull * Colours;
  const uint64_t total = tsl::kInfoHeaderBytes + table + image + (HasColourMasks ? tsl::kMaskBytes : 0);
  if (total > tsl::kMaxDibBytes) {
    ImageBytes = ColourTableBytes = TotalBytes = 0xFFFFFFFFu;
    return false;
  }
  ImageBytes = uint32_t(image);
  ColourTableBytes = uint32_t(table);
  TotalBytes = uint32_t(total);
  return true;
}

uint32_t TBitmap_Base::ColoursForBits(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 ? 1u << bits : 0;
}

uint32_t TBitmap_Base::BitsForColours(uint32_t count) {
  if (count < 3) return 1;
  if (count < 17) return 4;
  if (count < 257) return 8;
  if (count < 65537) return 16;
  return 24;
}

int32_t TBitmap_Base::RowBytes() const {
  const int64_t v = ((int64_t(Width) * int64_t(BitsPerPixel) + 31) / 32) * 4;
  return int32_t(v);
}

int32_t TBitmap_Base::ColumnBytes() const {
  const int64_t v = ((int64_t(Height) * int64_t(BitsPerPixel) + 31) / 32) * 4;
  return int32_t(v);
}

int64_t TBitmap_Base::PictureEnd(ByteStream* f) const {
  const int64_t len = f ? f->Length() : -1;
  if (Length >= 0) {
    const int64_t end = int64_t(StartOffset) + Length;
    return len >= 0 && len < end ? len : end;
  }
  return len;
}

int TBitmap_Base::LoadFile(const char* fileName) {
  FreeDib();
  Reset();
  std::unique_ptr<ByteStream> f = platform_->OpenRead(fileName);
  if (!f) return kBitmapNoFile;
  return Load(f.get(), nullptr);
}

int TBitmap_Base::LoadStream(ByteStream* f, const char* options) {
  FreeDib();
  // The caller's position and length of the picture stay; the rest of the
  // last picture goes.
  const int32_t start = StartOffset, length = Length;
  char description[sizeof FormatDescription], extensions[sizeof ExtensionList];
  std::memcpy(description, FormatDescription, sizeof description);
  std::memcpy(extensions, ExtensionList, sizeof extensions);
  const uint32_t flags = FormatFlags;
  Reset();
  StartOffset = start;
  Length = length;
  std::memcpy(FormatDescription, description, sizeof description);
  std::memcpy(ExtensionList, extensions, sizeof extensions);
  FormatFlags = flags;
  if (!f) return kBitmapNoFile;
  return Load(f, options);
}

int TBitmap_Base::Load(ByteStream* f, const char* options) {
  int r = ReadHeader(f, options);
  if (r != kBitmapOk) return r;
  if (TotalBytes < tsl::kInfoHeaderBytes || TotalBytes > tsl::kMaxDibBytes) return kBitmapNoMemory;
  // Zero-filled: whatever a decoder leaves unwritten shows as black, never
  // as old memory. Rows that the decoder writes whole are spared the fill.
  const bool whole = WritesEveryPixelByte() && ImageBytes <= TotalBytes;
  Dib = platform_->Alloc(TotalBytes, !whole);
  if (!Dib) return kBitmapNoMemory;
  LockedBase = platform_->Lock(Dib);
  if (!LockedBase) return kBitmapNoMemory;
  if (whole) std::memset(LockedBase, 0, TotalBytes - ImageBytes);
  Header = reinterpret_cast<DibInfoHeader*>(LockedBase);
  FillInfoHeader(Header);
  uint32_t tableAt = tsl::kInfoHeaderBytes;
  if (HasColourMasks) {
    ColourMasks = reinterpret_cast<uint32_t*>(LockedBase + tsl::kInfoHeaderBytes);
    if (f->Read(ColourMasks, tsl::kMaskBytes) != tsl::kMaskBytes) return kBitmapShortRead;
    tableAt += tsl::kMaskBytes;
  } else {
    ColourMasks = nullptr;
  }
  ColourTable = reinterpret_cast<tsl::DibRgbQuad*>(LockedBase + tableAt);
  Bits = LockedBase + tableAt + ColourTableBytes;
  if (ColoursForBits(BitsPerPixel) != 0) {
    r = ReadPalette(f, ColourTable);
    if (r != kBitmapOk) return r;
  }
  return ReadData(f, Bits);
}
