// GDI object wrappers and device contexts.
#include <cstring>
#include <vector>

#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"

const TColor TColor::Black(0, 0, 0);
const TColor TColor::LtGray(192, 192, 192);
const TColor TColor::Gray(128, 128, 128);
const TColor TColor::White(255, 255, 255);
const TColor TColor::LtRed(255, 0, 0);
const TColor TColor::LtGreen(0, 255, 0);
const TColor TColor::LtYellow(255, 255, 0);
const TColor TColor::LtBlue(0, 0, 255);
const TColor TColor::LtMagenta(255, 0, 255);
const TColor TColor::LtCyan(0, 255, 255);
const TColor TColor::SysWindow(TColor::SysColorFlag | COLOR_WINDOW);
const TColor TColor::SysWindowText(TColor::SysColorFlag | COLOR_WINDOWTEXT);
const TColor TColor::Sys3dFace(TColor::SysColorFlag | COLOR_BTNFACE);
const TColor TColor::Sys3dShadow(TColor::SysColorFlag | COLOR_BTNSHADOW);
const TColor TColor::Sys3dHilight(TColor::SysColorFlag | COLOR_BTNHIGHLIGHT);
const TColor TColor::SysBtnText(TColor::SysColorFlag | COLOR_BTNTEXT);

// ---- TGdiObject ----

TGdiObject::~TGdiObject() {
  if (Handle && ShouldDelete) ::DeleteObject(Handle);
}

void TGdiObject::Attach(HGDIOBJ handle, TAutoDelete autoDelete) {
  if (Handle && ShouldDelete && Handle != handle) ::DeleteObject(Handle);
  Handle = handle;
  ShouldDelete = autoDelete == AutoDelete;
}

HGDIOBJ TGdiObject::Release() {
  HGDIOBJ h = Handle;
  Handle = nullptr;
  ShouldDelete = false;
  return h;
}

TPen::TPen(TColor color, int width, int style) : TGdiObject(::CreatePen(style, width, color), AutoDelete) {}
TPen::TPen(const LOGPEN& logPen) : TGdiObject(::CreatePenIndirect(&logPen), AutoDelete) {}

TBrush::TBrush(TColor color) : TGdiObject(::CreateSolidBrush(color), AutoDelete) {}
TBrush::TBrush(TColor color, int hatchStyle) : TGdiObject(::CreateHatchBrush(hatchStyle, color), AutoDelete) {}
TBrush::TBrush(HBITMAP pattern) : TGdiObject(::CreatePatternBrush(pattern), AutoDelete) {}
TBrush::TBrush(const LOGBRUSH& logBrush) : TGdiObject(::CreateBrushIndirect(&logBrush), AutoDelete) {}

TFont::TFont(const LOGFONTA& logFont) : TGdiObject(::CreateFontIndirectA(&logFont), AutoDelete) {}

TFont::TFont(const char* facename, int height, int width, int escapement, int orientation, int weight,
             uint8_t pitchAndFamily, uint8_t italic, uint8_t underline, uint8_t strikeout, uint8_t charSet,
             uint8_t outputPrecision, uint8_t clipPrecision, uint8_t quality)
    : TGdiObject(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeout, charSet,
                               outputPrecision, clipPrecision, quality, pitchAndFamily, facename),
                 AutoDelete) {}

int TFont::GetHeight() const {
  LOGFONTA lf;
  return GetObject(lf) ? lf.lfHeight : 0;
}

TSize TFont::GetTextExtent(const char* text) const {
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, Handle);
  SIZE s{0, 0};
  ::GetTextExtentPoint32A(dc, text, text ? static_cast<int>(std::strlen(text)) : 0, &s);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return s;
}

// ---- TPalette ----

namespace {
HPALETTE PaletteFromEntries(const PALETTEENTRY* entries, int count) {
  if (count <= 0) return nullptr;
  std::vector<uint8_t> buf(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(count);
  std::memcpy(lp->palPalEntry, entries, sizeof(PALETTEENTRY) * static_cast<size_t>(count));
  return ::CreatePalette(lp);
}

HPALETTE PaletteFromColors(const RGBQUAD* colors, int count) {
  if (!colors || count <= 0) return nullptr;
  std::vector<PALETTEENTRY> e(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    e[i].peRed = colors[i].rgbRed;
    e[i].peGreen = colors[i].rgbGreen;
    e[i].peBlue = colors[i].rgbBlue;
    e[i].peFlags = 0;
  }
  return PaletteFromEntries(e.data(), count);
}
}  // namespace

TPalette::TPalette(const LOGPALETTE* logPalette) : TGdiObject(::CreatePalette(logPalette), AutoDelete) {}
TPalette::TPalette(const PALETTEENTRY* entries, int count) : TGdiObject(PaletteFromEntries(entries, count), AutoDelete) {}
TPalette::TPalette(const TDib& dib)
    : TGdiObject(dib.Usage() == DIB_RGB_COLORS ? PaletteFromColors(dib.GetColors(), dib.NumColors()) : nullptr,
                 AutoDelete) {}
TPalette::TPalette(const BITMAPINFO* info, int count)
    : TGdiObject(info ? PaletteFromColors(reinterpret_cast<const RGBQUAD*>(
                                              reinterpret_cast<const uint8_t*>(info) + info->bmiHeader.biSize),
                                          count)
                      : nullptr,
                 AutoDelete) {}

int TPalette::GetNumEntries() const {
  WORD n = 0;
  return ::GetObjectA(Handle, sizeof n, &n) ? n : 0;
}
uint TPalette::GetPaletteEntries(uint start, uint count, PALETTEENTRY* entries) const {
  return ::GetPaletteEntries(*this, start, count, entries);
}
uint TPalette::SetPaletteEntries(uint start, uint count, const PALETTEENTRY* entries) {
  return ::SetPaletteEntries(*this, start, count, entries);
}
uint TPalette::GetNearestPaletteIndex(TColor color) const { return ::GetNearestPaletteIndex(*this, color); }
bool TPalette::ResizePalette(uint count) { return ::ResizePalette(*this, count) != 0; }
void TPalette::AnimatePalette(uint start, uint count, const PALETTEENTRY* entries) {
  ::AnimatePalette(*this, start, count, entries);
}

// ---- TBitmap ----

TBitmap::TBitmap(int width, int height, uint8_t planes, uint8_t bitCount, const void* bits)
    : TGdiObject(::CreateBitmap(width, height, planes, bitCount, bits), AutoDelete) {}

TBitmap::TBitmap(const TDC& dc, int width, int height, bool discardable)
    : TGdiObject(discardable ? ::CreateDiscardableBitmap(dc, width, height) : ::CreateCompatibleBitmap(dc, width, height),
                 AutoDelete) {}

TBitmap::TBitmap(const TDib& dib, const TPalette* palette) {
  ShouldDelete = true;
  if (!dib.IsOK()) return;
  HDC dc = ::GetDC(nullptr);
  HPALETTE oldPal = nullptr;
  TPalette own(dib);
  const TPalette* pal = palette ? palette : (own.IsOK() ? &own : nullptr);
  if (pal) {
    oldPal = ::SelectPalette(dc, *pal, FALSE);
    ::RealizePalette(dc);
  }
  Handle = ::CreateDIBitmap(dc, dib.GetInfoHeader(), CBM_INIT, dib.GetBits(), dib.GetInfo(), dib.Usage());
  if (pal) ::SelectPalette(dc, oldPal, FALSE);
  ::ReleaseDC(nullptr, dc);
}

TBitmap::TBitmap(HINSTANCE instance, TResId resId) : TGdiObject(::LoadBitmapA(instance, resId), AutoDelete) {}

int TBitmap::Width() const {
  BITMAP bm;
  return GetObject(bm) ? bm.bmWidth : 0;
}
int TBitmap::Height() const {
  BITMAP bm;
  return GetObject(bm) ? bm.bmHeight : 0;
}
int TBitmap::Planes() const {
  BITMAP bm;
  return GetObject(bm) ? bm.bmPlanes : 0;
}
int TBitmap::BitsPixel() const {
  BITMAP bm;
  return GetObject(bm) ? bm.bmBitsPixel : 0;
}

// ---- TRegion ----

TRegion::TRegion() : TGdiObject(::CreateRectRgn(0, 0, 0, 0), AutoDelete) {}
TRegion::TRegion(const TRect& r) : TGdiObject(::CreateRectRgn(r.left, r.top, r.right, r.bottom), AutoDelete) {}
TRegion::TRegion(const TRect& r, const TSize& corner)
    : TGdiObject(::CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, corner.cx, corner.cy), AutoDelete) {}
TRegion::TRegion(const POINT* points, int count, int fillMode)
    : TGdiObject(::CreatePolygonRgn(points, count, fillMode), AutoDelete) {}

TRect TRegion::GetRgnBox() const {
  TRect r;
  ::GetRgnBox(*this, &r);
  return r;
}

// ---- icons and cursors ----

TIcon::TIcon(HINSTANCE instance, TResId resId) : Handle(::LoadIconA(instance, resId)), ShouldDelete(false) {}
TIcon::~TIcon() {
  if (Handle && ShouldDelete) ::DestroyIcon(Handle);
}
TCursor::TCursor(HINSTANCE instance, TResId resId) : Handle(::LoadCursorA(instance, resId)), ShouldDelete(false) {}
TCursor::~TCursor() {
  if (Handle && ShouldDelete) ::DestroyCursor(Handle);
}

// ---- TDC ----

TDC::TDC(HDC handle) : Handle(handle) {}

TDC::~TDC() { RestoreObjects(); }

void TDC::SelectObject(const TPen& pen) {
  HGDIOBJ old = ::SelectObject(Handle, pen);
  if (old && !OrgPen) OrgPen = static_cast<HPEN>(old);
}

void TDC::SelectObject(const TBrush& brush) {
  HGDIOBJ old = ::SelectObject(Handle, brush);
  if (old && !OrgBrush) OrgBrush = static_cast<HBRUSH>(old);
}

void TDC::SelectObject(const TFont& font) {
  HGDIOBJ old = ::SelectObject(Handle, font);
  if (old && !OrgFont) OrgFont = static_cast<HFONT>(old);
}

void TDC::SelectObject(const TPalette& palette, bool forceBackground) {
  HPALETTE old = ::SelectPalette(Handle, palette, forceBackground);
  if (old && !OrgPalette) OrgPalette = old;
}

void TDC::SelectObject(const TBitmap& bitmap) {
  HGDIOBJ old = ::SelectObject(Handle, bitmap);
  if (old && !OrgBitmap) OrgBitmap = static_cast<HBITMAP>(old);
}

void TDC::SelectStockObject(int index) {
  HGDIOBJ stock = ::GetStockObject(index);
  const DWORD type = ::GetObjectType(stock);
  HGDIOBJ old = ::SelectObject(Handle, stock);
  if (!old) return;
  if (type == OBJ_PEN && !OrgPen) OrgPen = static_cast<HPEN>(old);
  if (type == OBJ_BRUSH && !OrgBrush) OrgBrush = static_cast<HBRUSH>(old);
  if (type == OBJ_FONT && !OrgFont) OrgFont = static_cast<HFONT>(old);
}

void TDC::RestorePen() {
  if (OrgPen) ::SelectObject(Handle, OrgPen);
  OrgPen = nullptr;
}
void TDC::RestoreBrush() {
  if (OrgBrush) ::SelectObject(Handle, OrgBrush);
  OrgBrush = nullptr;
}
void TDC::RestoreFont() {
  if (OrgFont) ::SelectObject(Handle, OrgFont);
  OrgFont = nullptr;
}
void TDC::RestorePalette() {
  if (OrgPalette) ::SelectPalette(Handle, OrgPalette, FALSE);
  OrgPalette = nullptr;
}
void TDC::RestoreBitmap() {
  if (OrgBitmap) ::SelectObject(Handle, OrgBitmap);
  OrgBitmap = nullptr;
}
void TDC::RestoreObjects() {
  if (!Handle) return;
  RestorePen();
  RestoreBrush();
  RestoreFont();
  RestorePalette();
  RestoreBitmap();
}

bool TDC::SetViewportOrg(const TPoint& origin, TPoint* oldOrg) {
  return ::SetViewportOrgEx(Handle, origin.x, origin.y, oldOrg) != 0;
}
bool TDC::OffsetViewportOrg(const TPoint& delta, TPoint* oldOrg) {
  return ::OffsetViewportOrgEx(Handle, delta.x, delta.y, oldOrg) != 0;
}
bool TDC::SetWindowOrg(const TPoint& origin, TPoint* oldOrg) {
  return ::SetWindowOrgEx(Handle, origin.x, origin.y, oldOrg) != 0;
}
bool TDC::SetBrushOrg(const TPoint& origin, TPoint* oldOrg) {
  return ::SetBrushOrgEx(Handle, origin.x, origin.y, oldOrg) != 0;
}

TPoint TDC::GetCurrentPosition() const {
  TPoint p;
  ::GetCurrentPositionEx(Handle, &p);
  return p;
}

int TDC::SetDIBitsToDevice(const TRect& dst, const TPoint& src, const TDib& dib) {
  if (!dib.IsOK()) return 0;
  // The source point counts from the top; the bits are bottom-up.
  const int srcY = dib.Height() - src.y - dst.Height();
  return ::SetDIBitsToDevice(Handle, dst.left, dst.top, dst.Width(), dst.Height(), src.x, srcY, 0, dib.NumScans(),
                             dib.GetBits(), dib.GetInfo(), dib.Usage());
}

int TDC::StretchDIBits(const TRect& dst, const TRect& src, const TDib& dib, uint32_t rop) {
  if (!dib.IsOK()) return 0;
  const int srcY = dib.Height() - src.bottom;
  return ::StretchDIBits(Handle, dst.left, dst.top, dst.Width(), dst.Height(), src.left, srcY, src.Width(),
                         src.Height(), dib.GetBits(), dib.GetInfo(), dib.Usage(), rop);
}

bool TDC::TextOut(int x, int y, const char* text, int count) {
  if (!text) return false;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  return ::TextOutA(Handle, x, y, text, count) != 0;
}

bool TDC::ExtTextOut(int x, int y, uint options, const TRect* rect, const char* text, int count, const int* dx) {
  if (!text) text = "";
  if (count < 0) count = static_cast<int>(std::strlen(text));
  return ::ExtTextOutA(Handle, x, y, options, rect, text, static_cast<UINT>(count), dx) != 0;
}

int TDC::DrawText(const char* text, int count, TRect& rect, uint format) {
  return ::DrawTextA(Handle, text ? text : "", count, &rect, format);
}

TSize TDC::GetTextExtent(const char* text, int count) const {
  SIZE s{0, 0};
  if (!text) return s;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  ::GetTextExtentPoint32A(Handle, text, count, &s);
  return s;
}

TWindowDC::TWindowDC(HWND wnd) : Wnd(wnd) { Init(::GetWindowDC(wnd)); }
TWindowDC::~TWindowDC() {
  RestoreObjects();
  if (Handle) ::ReleaseDC(Wnd, Handle);
  Handle = nullptr;
}

TClientDC::TClientDC(HWND wnd) : Wnd(wnd) { Init(::GetDC(wnd)); }
TClientDC::~TClientDC() {
  RestoreObjects();
  if (Handle) ::ReleaseDC(Wnd, Handle);
  Handle = nullptr;
}

TScreenDC::TScreenDC() { Init(::GetDC(nullptr)); }
TScreenDC::~TScreenDC() {
  RestoreObjects();
  if (Handle) ::ReleaseDC(nullptr, Handle);
  Handle = nullptr;
}

TPaintDC::TPaintDC(HWND wnd) : Wnd(wnd) {
  std::memset(&Ps, 0, sizeof Ps);
  Init(::BeginPaint(wnd, &Ps));
}
TPaintDC::~TPaintDC() {
  RestoreObjects();
  if (Handle) ::EndPaint(Wnd, &Ps);
  Handle = nullptr;
}

TCreatedDC::TCreatedDC(const char* driver, const char* device, const char* output, const DEVMODEA* init) {
  Init(::CreateDCA(driver, device, output, init));
}
TCreatedDC::~TCreatedDC() {
  RestoreObjects();
  if (Handle) ::DeleteDC(Handle);
  Handle = nullptr;
}

TMemoryDC::TMemoryDC() { Init(::CreateCompatibleDC(nullptr)); }
TMemoryDC::TMemoryDC(const TDC& dc) { Init(::CreateCompatibleDC(dc)); }
TMemoryDC::TMemoryDC(HDC dc) { Init(::CreateCompatibleDC(dc)); }
