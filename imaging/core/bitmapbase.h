// The picture codec base: a codec reads one picture file into a packed DIB
// that it holds locked and owns until its owns-memory flag is cleared.
// Files are byte streams (a TFile on Win32); blocks come from the codec's
// DibPlatform. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "imaging/core/dib.h"

// Load and write results; 0 is success.
enum TBitmapError : int {
  kBitmapOk = 0,
  kBitmapNoMemory = 1,
  kBitmapUnsupportedTiff = 2,
  kBitmapBadSignature = 5,
  kBitmapBadSize = 6,
  kBitmapShortRead = 7,
  kBitmapNoFile = 8,
  kBitmapShortWrite = 9,
  kBitmapNothingToWrite = 10,
  kBitmapBadVersion = 12,
  kBitmapBadDepth = 13,
  kBitmapBadCombination = 14,
  kBitmapBadCompression = 15,
  kBitmapNoSuccessor = 16,
  kBitmapCorruptData = 17,
  kBitmapOutsideScreen = 18,
  kBitmapNoSuchFrame = 19,
};
// A load or write result for traces and test messages: "7 ShortRead",
// "3 (no such error)".
std::string BitmapErrorName(int error);

// Buffered byte reader of the run-length decoders. `Left` bounds what may
// still be read (the picture's end); -1 means no bound.
struct ByteReader {
  static constexpr int32_t kBufferBytes = 16384;
  std::unique_ptr<uint8_t[]> Buffer{new uint8_t[kBufferBytes]};
  int32_t Position = 0;
  int32_t Count = 0;
  int64_t Left = -1;
};
// The next byte (0..255), or -1 at the end.
int ReadBufferedByte(ByteReader& r, tsl::ByteStream* f);

class TBitmap_Base {
public:
  explicit TBitmap_Base(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());
  virtual ~TBitmap_Base();
  TBitmap_Base(const TBitmap_Base&) = delete;
  TBitmap_Base& operator=(const TBitmap_Base&) = delete;

  virtual int ReadHeader(tsl::ByteStream* f, const char* options) = 0;
  virtual int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) = 0;
  virtual int ReadData(tsl::ByteStream* f, uint8_t* bits) = 0;
  virtual int Write(tsl::ByteStream* f, tsl::DibHandle dib) = 0;
  // Opens the file through the platform and loads it.
  virtual int LoadFile(const char* fileName);
  // Loads from the caller's stream at StartOffset; keeps StartOffset and
  // Length as the caller set them.
  virtual int LoadStream(tsl::ByteStream* f, const char* options);

  void Reset();
  void FreeDib();
  void FillInfoHeader(tsl::DibInfoHeader* h) const;
  // False when the picture would not fit a block (sizes then saturate).
  bool ComputeSizes();
  static uint32_t ColoursForBits(uint32_t bits);
  static uint32_t BitsForColours(uint32_t count);
  int32_t RowBytes() const;
  int32_t ColumnBytes() const;

  const tsl::DibPlatform& Platform() const { return *platform_; }

  uint32_t OwnsMemory;
  uint32_t Colours;
  int32_t Width;
  int32_t Height;
  uint32_t BitsPerPixel;
  uint32_t InfoHeaderSize;
  uint32_t FileSize;
  uint32_t ImageBytes;
  uint32_t ColourTableBytes;
  uint32_t TotalBytes;
  int32_t XResolution;
  int32_t YResolution;
  uint32_t ImportantColours;
  uint32_t Reserved;
  char FormatDescription[64];
  uint32_t FormatFlags;
  char ExtensionList[64];
  uint32_t* ColourMasks;
  uint32_t HasColourMasks;
  int32_t StartOffset;
  int32_t Length;
  tsl::DibInfoHeader* Header;
  uint8_t* Bits;
  tsl::DibRgbQuad* ColourTable;
  tsl::DibHandle Dib;
  uint8_t* LockedBase;

protected:
  // True when ReadData, on success, has written every byte of the pixel
  // rows (padding included): the rows are then not zero-filled first.
  virtual bool WritesEveryPixelByte() const { return false; }
  // Where the picture ends in the stream: StartOffset + Length, or the end
  // of the stream; -1 when the stream cannot tell.
  int64_t PictureEnd(tsl::ByteStream* f) const;

private:
  int Load(tsl::ByteStream* f, const char* options);

  const tsl::DibPlatform* platform_;
};
