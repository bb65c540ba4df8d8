#include "imaging/dibutil.h"

#include <cstddef>
#include <vector>

#include "imaging/core/dibutil.h"
#include "imaging/core/rowconv.h"
#include "imaging/dibglobal.h"

// The portable core reads the Windows header through its own twin.
static_assert(sizeof(BITMAPINFOHEADER) == sizeof(tsl::DibInfoHeader), "header layout");
static_assert(offsetof(BITMAPINFOHEADER, biClrImportant) == offsetof(tsl::DibInfoHeader, biClrImportant), "header layout");
static_assert(sizeof(RGBQUAD) == sizeof(tsl::DibRgbQuad), "colour entry layout");

namespace {
const tsl::DibPlatform& G() { return GlobalDibPlatform(); }

HGLOBAL H(tsl::DibHandle h) { return static_cast<HGLOBAL>(h); }

// A whole operation under the wait cursor.
template <class Op>
HGLOBAL Waiting(Op op) {
  TWaitCursor wait;
  return H(op());
}

std::vector<tsl::DibRgbQuad> TableOf(HPALETTE palette) {
  std::vector<tsl::DibRgbQuad> table;
  WORD count = 0;
  if (!palette || !GetObjectA(palette, sizeof count, &count) || count == 0) return table;
  std::vector<PALETTEENTRY> e(count);
  const UINT n = GetPaletteEntries(palette, 0, count, e.data());
  for (UINT i = 0; i < n; ++i) table.push_back({e[i].peBlue, e[i].peGreen, e[i].peRed, 0});
  return table;
}

// Selects and realises a palette in a DC for the scope (nothing for null).
class PaletteSelection {
public:
  PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc), old_(nullptr) {
    if (!palette) return;
    old_ = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  ~PaletteSelection() {
    if (old_) SelectPalette(dc_, old_, FALSE);
  }
  PaletteSelection(const PaletteSelection&) = delete;
  PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
  HDC dc_;
  HPALETTE old_;
};

class ScreenDC {
public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() { ReleaseDC(nullptr, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  operator HDC() const { return dc_; }

private:
  HDC dc_;
};

HPALETTE PaletteOf(const std::vector<tsl::DibRgbQuad>& colours) {
  if (colours.empty() || colours.size() > 256) return nullptr;
  std::vector<uint8_t> buf(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = WORD(colours.size());
  for (size_t i = 0; i < colours.size(); ++i)
    lp->palPalEntry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
  return CreatePalette(lp);
}
}  // namespace

uint8_t* DibBitsPtr(LPBITMAPINFOHEADER header) {
  return tsl::DibBitsPtr(reinterpret_cast<tsl::DibInfoHeader*>(header));
}

WORD DibBitCount(HGLOBAL dib) { return tsl::DibBitCount(G(), dib); }
int DibWidth(HGLOBAL dib) { return tsl::DibWidth(G(), dib); }
int DibHeight(HGLOBAL dib) { return tsl::DibHeight(G(), dib); }

uint32_t DibNumColors(const BITMAPINFOHEADER* header) {
  return tsl::DibNumColors(reinterpret_cast<const tsl::DibInfoHeader*>(header));
}

namespace {
const tsl::DibInfoHeader* Core(const BITMAPINFOHEADER* h) { return reinterpret_cast<const tsl::DibInfoHeader*>(h); }
}  // namespace

uint32_t DibRowBytes(const BITMAPINFOHEADER* header) { return tsl::DibRowBytes(Core(header)); }
uint32_t DibColumnBytes(const BITMAPINFOHEADER* header) { return tsl::DibColumnBytes(Core(header)); }
uint64_t DibImageBytes(const BITMAPINFOHEADER* header) { return tsl::DibImageBytes(Core(header)); }

HPALETTE CreateDibPalette(HGLOBAL dib) {
  std::vector<tsl::DibRgbQuad> colours;
  if (!tsl::DibPaletteColours(G(), dib, colours)) return nullptr;
  return PaletteOf(colours);
}

HPALETTE CopyPalette(HPALETTE palette) { return PaletteOf(TableOf(palette)); }

HBITMAP DibToBitmap(HGLOBAL dib, HPALETTE palette) {
  tsl::DibLock lock(G(), dib);
  tsl::DibView v;
  if (!lock || !tsl::ParseDib(lock.get(), lock.size(), v)) return nullptr;
  ScreenDC dc;
  PaletteSelection sel(dc, palette);
  auto* info = reinterpret_cast<BITMAPINFO*>(v.header);
  return CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, v.bits, info, DIB_RGB_COLORS);
}

HGLOBAL BitmapToDib(HBITMAP bitmap, HPALETTE palette, uint16_t bitsPerPixel, uint32_t compression) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  uint32_t bits = bitsPerPixel ? bitsPerPixel : uint32_t(bm.bmPlanes) * bm.bmBitsPixel;
  bits = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : bits <= 16 ? 16 : bits <= 24 ? 24 : 32;
  const uint32_t colours = bits <= 8 ? 1u << bits : 0;
  const size_t head = sizeof(BITMAPINFOHEADER) + (compression == BI_BITFIELDS ? 12 : 0) + 4 * colours;
  tsl::DibHolder block(G(), G().Alloc(head, true));
  if (!block) return nullptr;
  ScreenDC dc;
  PaletteSelection sel(dc, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  uint64_t image = 0;
  {
    tsl::DibLock l(G(), block.get());
    if (!l) return nullptr;
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(l.get());
    *h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), bm.bmWidth, bm.bmHeight, 1, WORD(bits), compression, 0, 0, 0, 0, 0};
    if (!GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), nullptr, reinterpret_cast<BITMAPINFO*>(h), DIB_RGB_COLORS))
      return nullptr;
    image = h->biSizeImage;
    if (image == 0) {
      if (compression != BI_RGB) return nullptr;
      image = tsl::RowBytesFor(bm.bmWidth, bits) * uint64_t(bm.bmHeight);
      h->biSizeImage = DWORD(image);
    }
  }
  if (head + image > tsl::kMaxDibBytes) return nullptr;
  HGLOBAL grown = GlobalReAlloc(H(block.get()), head + size_t(image), GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (!grown) return nullptr;
  block.release();
  block.reset(grown);
  tsl::DibLock l(G(), block.get());
  if (!l) return nullptr;
  auto* info = reinterpret_cast<BITMAPINFO*>(l.get());
  if (!GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), l.get() + head, info, DIB_RGB_COLORS)) return nullptr;
  return H(block.release());
}

int StretchDibToDC(HDC dc, HGLOBAL dib, HPALETTE palette, int x, int y, int width, int height) {
  tsl::DibLock lock(G(), dib);
  tsl::DibView v;
  if (!lock || !tsl::ParseDib(lock.get(), lock.size(), v)) return 0;
  PaletteSelection sel(dc, palette);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, 0, 0, v.width, v.height, v.bits, reinterpret_cast<BITMAPINFO*>(v.header),
                DIB_RGB_COLORS, SRCCOPY);
  return 1;
}

HGLOBAL CopyGlobalBlock(HGLOBAL block) { return H(tsl::CopyGlobalBlock(G(), block)); }

bool IsBmpFile(const char* path) {
  if (!path) return false;
  TFile f(path);
  return f.IsOpen() && tsl::IsBmpFile(f);
}

HGLOBAL ReadBmpFile(const char* path) {
  if (!path) return nullptr;
  TFile f(path);
  if (!f.IsOpen()) return nullptr;
  return Waiting([&] { return tsl::ReadBmpFile(G(), f); });
}

HGLOBAL ReadBmpHeader(TFile& file) { return H(tsl::ReadBmpHeader(G(), file)); }

bool WriteBmpFile(const char* path, HGLOBAL dib) {
  if (!path || !dib) return false;
  TFile f(path, TFile::ReadWrite | TFile::CreateAlways);
  if (!f.IsOpen()) return false;
  TWaitCursor wait;
  return tsl::WriteBmpFile(G(), f, dib);
}

HGLOBAL CopyDibRect(HGLOBAL dib, int x, int y, int width, int height) {
  return H(tsl::CopyDibRect(G(), dib, x, y, width, height));
}
HGLOBAL ExpandRleDib(HGLOBAL dib) { return H(tsl::ExpandRleDib(G(), dib)); }
HGLOBAL MakeGreyDib(HGLOBAL dib) { return H(tsl::MakeGreyDib(G(), dib)); }

HGLOBAL GreyDibInPlace(HGLOBAL dib, WORD mode, double red, double green, double blue, DWORD invert) {
  if (!dib) return nullptr;
  TWaitCursor wait;
  switch (tsl::GreyDibInPlace(G(), dib, mode, red, green, blue, invert)) {
    case tsl::GreyResult::Changed: return dib;
    case tsl::GreyResult::UnknownMode: MessageBeep(0); return dib;
    default: return nullptr;
  }
}

HGLOBAL Dib1To4(HGLOBAL dib) { return Waiting([&] { return tsl::Dib1To4(G(), dib); }); }
HGLOBAL Dib4To8(HGLOBAL dib) { return Waiting([&] { return tsl::Dib4To8(G(), dib); }); }
HGLOBAL Dib8To24(HGLOBAL dib) { return Waiting([&] { return tsl::Dib8To24(G(), dib); }); }
HGLOBAL Dib1To8(HGLOBAL dib) { return Waiting([&] { return tsl::Dib1To8(G(), dib); }); }
HGLOBAL Dib1To24(HGLOBAL dib) { return Waiting([&] { return tsl::Dib1To24(G(), dib); }); }
HGLOBAL Dib4To24(HGLOBAL dib) { return Waiting([&] { return tsl::Dib4To24(G(), dib); }); }
HGLOBAL Dib24To1(HGLOBAL dib) { return Waiting([&] { return tsl::Dib24To1(G(), dib); }); }
HGLOBAL Dib8To1(HGLOBAL dib) { return Waiting([&] { return tsl::Dib8To1(G(), dib); }); }
HGLOBAL Dib4To1(HGLOBAL dib) { return Waiting([&] { return tsl::Dib4To1(G(), dib); }); }
HGLOBAL Dib24To4(HGLOBAL dib) { return Waiting([&] { return tsl::Dib24To4(G(), dib); }); }
HGLOBAL Dib8To4(HGLOBAL dib) { return Waiting([&] { return tsl::Dib8To4(G(), dib); }); }
HGLOBAL ReduceDib24(HGLOBAL dib, DWORD grey) { return Waiting([&] { return tsl::ReduceDib24(G(), dib, grey); }); }
HGLOBAL Dib24To1Dithered(HGLOBAL dib) { return Waiting([&] { return tsl::Dib24To1Dithered(G(), dib); }); }
HGLOBAL Dib24To4Dithered(HGLOBAL dib) { return Waiting([&] { return tsl::Dib24To4Dithered(G(), dib); }); }
HGLOBAL QuantizeDib24(HGLOBAL dib, DWORD bits, DWORD flags) {
  return Waiting([&] { return tsl::QuantizeDib24(G(), dib, bits, flags); });
}
HGLOBAL QuantizeDibTo8Bit(HGLOBAL dib24, int colours, int bits, int sampleFactor) {
  return Waiting([&] { return tsl::QuantizeDibTo8Bit(G(), dib24, colours, bits, sampleFactor); });
}

void Row24To8(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette) {
  const auto t = TableOf(palette);
  tsl::Row24To8(dst, src, n, t.data(), uint32_t(t.size()));
}
void Row24To4(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette) {
  const auto t = TableOf(palette);
  tsl::Row24To4(dst, src, n, t.data(), uint32_t(t.size()));
}
void Row8To24(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette) {
  const auto t = TableOf(palette);
  tsl::Row8To24(dst, src, n, t.data(), uint32_t(t.size()));
}
void Row4To24(uint8_t* dst, const uint8_t* src, int n, HPALETTE palette) {
  const auto t = TableOf(palette);
  tsl::Row4To24(dst, src, n, t.data(), uint32_t(t.size()));
}
