#include "platform/owl/dib.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/owl/file.h"

namespace {

std::atomic<TDib::TFileLoader> FileLoader{nullptr};

int BitsForColors(uint32_t nColors) {
  if (nColors <= 2) return 1;
  if (nColors <= 16) return 4;
  if (nColors <= 256) return 8;
  if (nColors <= 65536) return 16;
  return 24;
}

uint32_t RowBytes(int width, int bpp) {
  return static_cast<uint32_t>(((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4);
}

// A BMP file read whole; its file header dropped.
HGLOBAL LoadBmpFile(const char* fileName) {
  TFile f;
  if (!fileName || !f.Open(fileName)) return nullptr;
  const int64_t len = f.Length();
  char magic[2] = {0, 0};
  if (len <= 14 + 40 || len > 0x7FFFFFFF || f.Read(magic, 2) != 2 || magic[0] != 'B' || magic[1] != 'M')
    return nullptr;
  const uint32_t size = static_cast<uint32_t>(len - 14);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  void* p = GlobalLock(h);
  const bool ok = p && f.Seek(14) == 14 && f.Read(p, size) == size;
  GlobalUnlock(h);
  if (!ok) {
    GlobalFree(h);
    return nullptr;
  }
  return h;
}

HGLOBAL CopyBlock(const void* data, SIZE_T size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  if (void* p = GlobalLock(h)) {
    std::memcpy(p, data, size);
    GlobalUnlock(h);
    return h;
  }
  GlobalFree(h);
  return nullptr;
}

// The picture's layout inside a block: false when the block is not a whole
// picture (a header, colour table or rows running past its end).
struct TLayout {
  uint32_t ColorOffset = 0;
  uint32_t Colors = 0;
  uint32_t BitsOffset = 0;
  uint32_t ImageSize = 0;
};

bool Measure(const uint8_t* p, SIZE_T size, TLayout& out) {
  if (size < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof h);
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size) return false;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  uint64_t colors = 0;
  if (bpp <= 8)
    colors = h.biClrUsed && h.biClrUsed < (1u << bpp) ? h.biClrUsed : (1u << bpp);
  else
    colors = h.biClrUsed;
  uint64_t masks = (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
  const uint64_t colorOffset = h.biSize + masks;
  const uint64_t bitsOffset = colorOffset + colors * 4;
  uint64_t image;
  if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS)
    image = static_cast<uint64_t>(RowBytes(h.biWidth, bpp)) * static_cast<uint64_t>(std::llabs(h.biHeight));
  else
    image = h.biSizeImage;
  if (bitsOffset + image > size) return false;
  out.ColorOffset = static_cast<uint32_t>(colorOffset);
  out.Colors = static_cast<uint32_t>(colors);
  out.BitsOffset = static_cast<uint32_t>(bitsOffset);
  out.ImageSize = static_cast<uint32_t>(image);
  return true;
}

}  // namespace

TDib::TFileLoader TDib::SetFileLoader(TFileLoader loader) { return FileLoader.exchange(loader); }

TDib::TDib(HGLOBAL handle, TAutoDelete autoDelete) { InitFromHandle(handle, autoDelete == AutoDelete); }

TDib::TDib(int width, int height, uint32_t nColors, uint16_t mode) { Allocate(width, height, nColors, mode); }

void TDib::Allocate(int width, int height, uint32_t nColors, uint16_t mode) {
  if (width <= 0 || height <= 0) return;
  const int bpp = BitsForColors(nColors);
  const uint32_t colors = bpp <= 8 ? (1u << bpp) : 0;
  const uint64_t image = static_cast<uint64_t>(RowBytes(width, bpp)) * static_cast<uint64_t>(height);
  const uint64_t size = sizeof(BITMAPINFOHEADER) + colors * 4 + image;
  if (size > 0x7FFFFFFF) return;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
  if (!h) return;
  auto* p = static_cast<BITMAPINFOHEADER*>(GlobalLock(h));
  if (!p) {
    GlobalFree(h);
    return;
  }
  p->biSize = sizeof(BITMAPINFOHEADER);
  p->biWidth = width;
  p->biHeight = height;
  p->biPlanes = 1;
  p->biBitCount = static_cast<WORD>(bpp);
  p->biCompression = BI_RGB;
  p->biSizeImage = static_cast<DWORD>(image);
  p->biXPelsPerMeter = p->biYPelsPerMeter = 2953;
  GlobalUnlock(h);
  InitFromHandle(h, true);
  if (mode == DIB_PAL_COLORS && IsOK()) {
    // Palette-relative: the colour table holds indices into the DC's palette.
    Mode = DIB_PAL_COLORS;
    for (uint32_t i = 0; i < colors; ++i) GetIndices()[i] = static_cast<uint16_t>(i);
  }
}

TDib::TDib(const TBitmap& bitmap, const TPalette* palette) {
  BITMAP bm;
  if (!bitmap.GetObject(bm)) return;
  const int depth = bm.bmBitsPixel * bm.bmPlanes;
  Allocate(bm.bmWidth, bm.bmHeight, depth <= 8 ? (1u << depth) : 16700000u, DIB_RGB_COLORS);
  if (!IsOK()) return;
  HDC dc = ::GetDC(nullptr);
  HPALETTE old = nullptr;
  if (palette && palette->IsOK()) {
    old = ::SelectPalette(dc, *palette, FALSE);
    ::RealizePalette(dc);
  }
  const int lines = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), Bits, Info, DIB_RGB_COLORS);
  if (old) ::SelectPalette(dc, old, FALSE);
  ::ReleaseDC(nullptr, dc);
  if (lines <= 0) Free();
}

TDib::TDib(const char* fileName) {
  TFileLoader loader = FileLoader.load();
  HGLOBAL h = loader ? loader(fileName) : LoadBmpFile(fileName);
  InitFromHandle(h, true);
}

TDib::TDib(HINSTANCE instance, TResId resId) {
  HRSRC res = ::FindResourceA(instance, resId, reinterpret_cast<LPCSTR>(RT_BITMAP));
  if (!res) return;
  HGLOBAL data = ::LoadResource(instance, res);
  const void* p = data ? ::LockResource(data) : nullptr;
  const DWORD size = ::SizeofResource(instance, res);
  if (!p || !size) return;
  InitFromHandle(CopyBlock(p, size), true);
}

TDib::TDib(const TDib& other) {
  if (!other.Handle) return;
  const SIZE_T size = GlobalSize(other.Handle);
  const void* src = GlobalLock(other.Handle);
  HGLOBAL h = src ? CopyBlock(src, size) : nullptr;
  if (src) GlobalUnlock(other.Handle);
  InitFromHandle(h, true);
  Mode = other.Mode;
}

TDib::~TDib() { Free(); }

void TDib::InitFromHandle(HGLOBAL handle, bool owned) {
  Handle = handle;
  ShouldDelete = owned;
  if (!handle) return;
  auto* p = static_cast<uint8_t*>(GlobalLock(handle));
  if (!p) return;
  TLayout layout;
  if (!Measure(p, GlobalSize(handle), layout)) {
    GlobalUnlock(handle);
    return;
  }
  Info = reinterpret_cast<BITMAPINFO*>(p);
  Colors = reinterpret_cast<RGBQUAD*>(p + layout.ColorOffset);
  Bits = p + layout.BitsOffset;
  W = Info->bmiHeader.biWidth;
  H = std::abs(Info->bmiHeader.biHeight);
  NumClrs = static_cast<int>(layout.Colors);
  Mode = DIB_RGB_COLORS;
}

void TDib::Free() {
  if (Handle) {
    if (Info) GlobalUnlock(Handle);
    if (ShouldDelete) GlobalFree(Handle);
  }
  Handle = nullptr;
  Info = nullptr;
  Colors = nullptr;
  Bits = nullptr;
  W = H = NumClrs = 0;
}

int TDib::BitsPixel() const { return Info ? Info->bmiHeader.biBitCount : 0; }
uint32_t TDib::Compression() const { return Info ? Info->bmiHeader.biCompression : 0; }
int TDib::Pitch() const { return Info ? static_cast<int>(RowBytes(W, BitsPixel())) : 0; }

uint32_t TDib::SizeImage() const {
  if (!Info) return 0;
  if (Compression() == BI_RGB || Compression() == BI_BITFIELDS) return static_cast<uint32_t>(Pitch()) * H;
  return Info->bmiHeader.biSizeImage;
}

TColor TDib::GetColor(int entry) const {
  if (!Colors || Mode != DIB_RGB_COLORS || entry < 0 || entry >= NumClrs) return TColor(0);
  const RGBQUAD& q = Colors[entry];
  return TColor(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

void TDib::SetColor(int entry, TColor color) {
  if (!Colors || Mode != DIB_RGB_COLORS || entry < 0 || entry >= NumClrs) return;
  const COLORREF c = color;
  Colors[entry].rgbRed = GetRValue(c);
  Colors[entry].rgbGreen = GetGValue(c);
  Colors[entry].rgbBlue = GetBValue(c);
  Colors[entry].rgbReserved = 0;
}

int TDib::FindColor(TColor color) const {
  const COLORREF c = color;
  for (int i = 0; i < NumClrs && Mode == DIB_RGB_COLORS; ++i) {
    if (RGB(Colors[i].rgbRed, Colors[i].rgbGreen, Colors[i].rgbBlue) == c) return i;
  }
  return -1;
}

bool TDib::WriteFile(const char* fileName) const {
  if (!IsOK() || !fileName) return false;
  const uint32_t bitsOffset = static_cast<uint32_t>(static_cast<uint8_t*>(Bits) - reinterpret_cast<uint8_t*>(Info));
  const uint32_t body = bitsOffset + SizeImage();
  uint8_t header[14] = {'B', 'M'};
  const uint32_t fileSize = 14 + body;
  const uint32_t offBits = 14 + bitsOffset;
  for (int i = 0; i < 4; ++i) {
    header[2 + i] = static_cast<uint8_t>(fileSize >> (8 * i));
    header[10 + i] = static_cast<uint8_t>(offBits >> (8 * i));
  }
  TFile f;
  if (!f.Open(fileName, TFile::WriteOnly | TFile::PermExclusive | TFile::CreateAlways)) return false;
  return f.Write(header, sizeof header) == sizeof header && f.Write(Info, body) == body;
}

bool TDib::ToClipboard(TClipboard& clipboard) {
  if (!IsOK() || !clipboard.IsOpen()) return false;
  if (!ShouldDelete) {
    // Someone else's memory: the clipboard gets a copy.
    TDib copy(*this);
    return copy.ToClipboard(clipboard);
  }
  HGLOBAL h = Handle;
  GlobalUnlock(h);
  if (!clipboard.SetClipboardData(CF_DIB, h)) {
    InitFromHandle(h, true);
    return false;
  }
  Info = nullptr;
  Handle = nullptr;
  Free();
  return true;
}

// ---- TDiBitmap ----

TDiBitmap::TDiBitmap(int width, int height, uint32_t nColors) {
  TDib layout(width, height, nColors);
  if (layout.IsOK()) Create(layout.GetInfo());
}

TDiBitmap::TDiBitmap(const TDib& dib) {
  if (!dib.IsOK() || dib.Usage() != DIB_RGB_COLORS) return;
  Create(dib.GetInfo());
  if (Bits) std::memcpy(Bits, dib.GetBits(), dib.SizeImage());
}

void TDiBitmap::Create(const BITMAPINFO* info) {
  HDC dc = ::GetDC(nullptr);
  HBITMAP h = ::CreateDIBSection(dc, info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  ::ReleaseDC(nullptr, dc);
  if (!h) {
    Bits = nullptr;
    return;
  }
  Attach(h, AutoDelete);
  W = info->bmiHeader.biWidth;
  H = std::abs(info->bmiHeader.biHeight);
  Bpp = info->bmiHeader.biBitCount;
}

// ---- TClipboard ----

TClipboard::TClipboard(HWND owner) : Open(::OpenClipboard(owner) != 0) {}
TClipboard::~TClipboard() {
  if (Open) ::CloseClipboard();
}
