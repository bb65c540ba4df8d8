// GDI object wrappers: each owns its handle (unless made with NoAutoDelete
// from a handle it was given) and deletes it when destroyed. A DC that has
// one selected puts it back first (TDC::RestoreObjects).
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/color.h"
#include "platform/owl/defs.h"
#include "platform/owl/geometry.h"

class TDC;
class TDib;

class TGdiObject {
public:
  virtual ~TGdiObject();
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  HGDIOBJ GetHandle() const { return Handle; }
  operator HGDIOBJ() const { return Handle; }
  bool IsOK() const { return Handle != nullptr; }
  int GetObject(int count, void* object) const { return ::GetObjectA(Handle, count, object); }
  // Takes another handle (the old one is deleted when owned).
  void Attach(HGDIOBJ handle, TAutoDelete autoDelete = AutoDelete);
  // Gives the handle up; the object no longer deletes it.
  HGDIOBJ Release();

protected:
  TGdiObject() = default;
  TGdiObject(HGDIOBJ handle, TAutoDelete autoDelete) : Handle(handle), ShouldDelete(autoDelete == AutoDelete) {}

  HGDIOBJ Handle = nullptr;
  bool ShouldDelete = true;
};

class TPen : public TGdiObject {
public:
  TPen(HPEN handle, TAutoDelete autoDelete = NoAutoDelete) : TGdiObject(handle, autoDelete) {}
  explicit TPen(TColor color, int width = 1, int style = PS_SOLID);
  explicit TPen(const LOGPEN& logPen);
  operator HPEN() const { return static_cast<HPEN>(Handle); }
};

class TBrush : public TGdiObject {
public:
  TBrush(HBRUSH handle, TAutoDelete autoDelete = NoAutoDelete) : TGdiObject(handle, autoDelete) {}
  // Solid, or hatched with a HS_* style.
  explicit TBrush(TColor color);
  TBrush(TColor color, int hatchStyle);
  // A pattern from a bitmap.
  explicit TBrush(HBITMAP pattern);
  explicit TBrush(const LOGBRUSH& logBrush);
  operator HBRUSH() const { return static_cast<HBRUSH>(Handle); }
  bool UnrealizeObject() { return ::UnrealizeObject(Handle) != 0; }
};

class TFont : public TGdiObject {
public:
  TFont(HFONT handle, TAutoDelete autoDelete = NoAutoDelete) : TGdiObject(handle, autoDelete) {}
  explicit TFont(const LOGFONTA& logFont);
  explicit TFont(const char* facename, int height = 0, int width = 0, int escapement = 0, int orientation = 0,
                 int weight = FW_NORMAL, uint8_t pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE, uint8_t italic = false,
                 uint8_t underline = false, uint8_t strikeout = false, uint8_t charSet = DEFAULT_CHARSET,
                 uint8_t outputPrecision = OUT_DEFAULT_PRECIS, uint8_t clipPrecision = CLIP_DEFAULT_PRECIS,
                 uint8_t quality = DEFAULT_QUALITY);
  operator HFONT() const { return static_cast<HFONT>(Handle); }
  bool GetObject(LOGFONTA& logFont) const { return TGdiObject::GetObject(sizeof logFont, &logFont) != 0; }
  int GetHeight() const;
  TSize GetTextExtent(const char* text) const;
};

class TPalette : public TGdiObject {
public:
  // An empty palette object; Attach gives it a palette.
  TPalette() = default;
  TPalette(HPALETTE handle, TAutoDelete autoDelete = NoAutoDelete) : TGdiObject(handle, autoDelete) {}
  explicit TPalette(const LOGPALETTE* logPalette);
  TPalette(const PALETTEENTRY* entries, int count);
  // From the colour table of a picture (none for pictures without one).
  explicit TPalette(const TDib& dib);
  // From a BITMAPINFO's colour table of `count` entries.
  TPalette(const BITMAPINFO* info, int count);
  operator HPALETTE() const { return static_cast<HPALETTE>(Handle); }
  int GetNumEntries() const;
  uint GetPaletteEntries(uint start, uint count, PALETTEENTRY* entries) const;
  uint SetPaletteEntries(uint start, uint count, const PALETTEENTRY* entries);
  uint GetNearestPaletteIndex(TColor color) const;
  bool ResizePalette(uint count);
  void AnimatePalette(uint start, uint count, const PALETTEENTRY* entries);
  bool UnrealizeObject() { return ::UnrealizeObject(Handle) != 0; }
};

class TBitmap : public TGdiObject {
public:
  TBitmap(HBITMAP handle, TAutoDelete autoDelete = NoAutoDelete) : TGdiObject(handle, autoDelete) {}
  // A monochrome or given-depth bitmap, optionally with initial bits.
  TBitmap(int width, int height, uint8_t planes = 1, uint8_t bitCount = 1, const void* bits = nullptr);
  // Compatible with a device context.
  TBitmap(const TDC& dc, int width, int height, bool discardable = false);
  // A device-dependent copy of a picture, for the screen, with its palette
  // (or the given one) selected while converting.
  explicit TBitmap(const TDib& dib, const TPalette* palette = nullptr);
  // A bitmap resource.
  TBitmap(HINSTANCE instance, TResId resId);
  operator HBITMAP() const { return static_cast<HBITMAP>(Handle); }
  bool GetObject(BITMAP& bm) const { return TGdiObject::GetObject(sizeof bm, &bm) != 0; }
  int Width() const;
  int Height() const;
  TSize Size() const { return TSize(Width(), Height()); }
  int Planes() const;
  int BitsPixel() const;

protected:
  TBitmap() = default;
};

class TRegion : public TGdiObject {
public:
  TRegion();  // empty
  TRegion(HRGN handle, TAutoDelete autoDelete = NoAutoDelete) : TGdiObject(handle, autoDelete) {}
  explicit TRegion(const TRect& rect);
  TRegion(const TRect& rect, const TSize& corner);  // rounded
  TRegion(const POINT* points, int count, int fillMode);  // polygon
  operator HRGN() const { return static_cast<HRGN>(Handle); }
  void SetRectRgn(const TRect& rect) { ::SetRectRgn(*this, rect.left, rect.top, rect.right, rect.bottom); }
  bool Contains(const TPoint& p) const { return ::PtInRegion(*this, p.x, p.y) != 0; }
  bool Touches(const TRect& r) const { return ::RectInRegion(*this, &r) != 0; }
  TRect GetRgnBox() const;
  TRegion& operator|=(const TRegion& o) { ::CombineRgn(*this, *this, o, RGN_OR); return *this; }
  TRegion& operator&=(const TRegion& o) { ::CombineRgn(*this, *this, o, RGN_AND); return *this; }
  TRegion& operator^=(const TRegion& o) { ::CombineRgn(*this, *this, o, RGN_XOR); return *this; }
  TRegion& operator-=(const TRegion& o) { ::CombineRgn(*this, *this, o, RGN_DIFF); return *this; }
  bool operator==(const TRegion& o) const { return ::EqualRgn(*this, o) != 0; }
};

// Icons and cursors are USER objects, not GDI ones.
class TIcon {
public:
  TIcon(HICON handle, TAutoDelete autoDelete = NoAutoDelete) : Handle(handle), ShouldDelete(autoDelete == AutoDelete) {}
  // A resource icon of a module, or a system icon (IDI_*) with a null instance.
  TIcon(HINSTANCE instance, TResId resId);
  ~TIcon();
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;
  HICON GetHandle() const { return Handle; }
  operator HICON() const { return Handle; }

private:
  HICON Handle;
  bool ShouldDelete;
};

class TCursor {
public:
  TCursor(HCURSOR handle, TAutoDelete autoDelete = NoAutoDelete) : Handle(handle), ShouldDelete(autoDelete == AutoDelete) {}
  // A resource cursor of a module, or a system cursor (IDC_*) with a null instance.
  TCursor(HINSTANCE instance, TResId resId);
  ~TCursor();
  TCursor(const TCursor&) = delete;
  TCursor& operator=(const TCursor&) = delete;
  HCURSOR GetHandle() const { return Handle; }
  operator HCURSOR() const { return Handle; }

private:
  HCURSOR Handle;
  bool ShouldDelete;
};
