// TDib: a device-independent bitmap in one block of global memory (a packed
// DIB: BITMAPINFOHEADER, colour table, bits). The block stays locked while
// the TDib lives; an owning TDib frees it.
//
// TDiBitmap: a DIB section, a bitmap that can be selected into a memory DC
// and whose bits are addressable.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/color.h"
#include "platform/owl/defs.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"

class TClipboard;

class TDib {
public:
  // Loads a picture file into a packed DIB (null on failure); installed by
  // the picture codecs. Without one, only BMP files are read.
  using TFileLoader = HGLOBAL (*)(const char* fileName);
  static TFileLoader SetFileLoader(TFileLoader loader);

  // Wraps a packed DIB; with AutoDelete (the default) the TDib owns and
  // frees the block. A block that does not hold a whole picture gives a TDib
  // that is not IsOK (it still frees an owned block).
  explicit TDib(HGLOBAL handle, TAutoDelete autoDelete = AutoDelete);
  // A new picture of the size and colour count (2, 16, 256; more gives 24
  // bits per pixel), bits and colour table zeroed.
  TDib(int width, int height, uint32_t nColors, uint16_t mode = DIB_RGB_COLORS);
  // A copy of a device-dependent bitmap, with the palette's colours for
  // depths of 8 bits or fewer.
  explicit TDib(const TBitmap& bitmap, const TPalette* palette = nullptr);
  // A picture file, through the file loader.
  explicit TDib(const char* fileName);
  // A bitmap resource.
  TDib(HINSTANCE instance, TResId resId);
  // A deep copy.
  TDib(const TDib& other);
  TDib& operator=(const TDib&) = delete;
  virtual ~TDib();

  bool IsOK() const { return Info != nullptr; }
  HGLOBAL GetHandle() const { return Handle; }
  operator HGLOBAL() const { return Handle; }
  const BITMAPINFO* GetInfo() const { return Info; }
  BITMAPINFO* GetInfo() { return Info; }
  const BITMAPINFOHEADER* GetInfoHeader() const { return Info ? &Info->bmiHeader : nullptr; }
  BITMAPINFOHEADER* GetInfoHeader() { return Info ? &Info->bmiHeader : nullptr; }
  RGBQUAD* GetColors() const { return Colors; }
  uint16_t* GetIndices() const { return reinterpret_cast<uint16_t*>(Colors); }
  void* GetBits() const { return Bits; }

  int Width() const { return W; }
  int Height() const { return H; }
  TSize Size() const { return TSize(W, H); }
  int BitsPixel() const;
  uint32_t Compression() const;
  // Entries of the colour table (0 above 8 bits per pixel unless the header
  // says otherwise).
  int NumColors() const { return NumClrs; }
  int NumScans() const { return H; }
  int StartScan() const { return 0; }
  // DIB_RGB_COLORS or DIB_PAL_COLORS.
  uint16_t Usage() const { return Mode; }
  // Bytes per row, padded to four.
  int Pitch() const;
  // Size of the pixel rows.
  uint32_t SizeImage() const;

  TColor GetColor(int entry) const;
  void SetColor(int entry, TColor color);
  // The first colour-table entry equal to the colour, or -1.
  int FindColor(TColor color) const;

  // Writes a BMP file; false when it cannot be written.
  bool WriteFile(const char* fileName) const;
  // Hands the block to the clipboard as CF_DIB; the TDib is empty afterwards.
  bool ToClipboard(TClipboard& clipboard);

protected:
  TDib() = default;
  // Locks and checks the block; on failure the TDib is not IsOK.
  void InitFromHandle(HGLOBAL handle, bool owned);
  void Free();
  void Allocate(int width, int height, uint32_t nColors, uint16_t mode);

  HGLOBAL Handle = nullptr;
  BITMAPINFO* Info = nullptr;
  RGBQUAD* Colors = nullptr;
  void* Bits = nullptr;
  int W = 0;
  int H = 0;
  int NumClrs = 0;
  uint16_t Mode = DIB_RGB_COLORS;
  bool ShouldDelete = true;
};

class TDiBitmap : public TBitmap {
public:
  // A section of the size and colour count (as TDib's), for the screen.
  TDiBitmap(int width, int height, uint32_t nColors);
  // A section holding a copy of the picture.
  explicit TDiBitmap(const TDib& dib);

  void* GetBits() const { return Bits; }
  int Width() const { return W; }
  int Height() const { return H; }
  int BitsPixel() const { return Bpp; }

private:
  void Create(const BITMAPINFO* info);
  void* Bits = nullptr;
  int W = 0;
  int H = 0;
  int Bpp = 0;
};

// The clipboard, open while the object lives.
class TClipboard {
public:
  explicit TClipboard(HWND owner);
  ~TClipboard();
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;
  bool IsOpen() const { return Open; }
  bool EmptyClipboard() { return Open && ::EmptyClipboard(); }
  // The clipboard owns the data afterwards.
  HANDLE SetClipboardData(uint format, HANDLE data) { return Open ? ::SetClipboardData(format, data) : nullptr; }
  HANDLE GetClipboardData(uint format) const { return Open ? ::GetClipboardData(format) : nullptr; }
  bool IsClipboardFormatAvailable(uint format) const { return ::IsClipboardFormatAvailable(format) != 0; }

private:
  bool Open;
};
