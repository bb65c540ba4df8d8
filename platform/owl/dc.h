// Device contexts. A TDC remembers what was selected into it before the
// first SelectObject of each kind and puts it back in RestoreObjects (also on
// destruction), so the wrapped GDI objects can be deleted safely afterwards.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/color.h"
#include "platform/owl/defs.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"

class TDib;

class TDC {
public:
  // Wraps a DC it does not own.
  explicit TDC(HDC handle);
  virtual ~TDC();
  TDC(const TDC&) = delete;
  TDC& operator=(const TDC&) = delete;

  HDC GetHDC() const { return Handle; }
  operator HDC() const { return Handle; }
  // The DC that answers attribute questions (the same DC here).
  HDC GetAttributeHDC() const { return Handle; }
  bool IsOK() const { return Handle != nullptr; }

  // ---- state ----
  int SaveDC() const { return ::SaveDC(Handle); }
  bool RestoreDC(int savedDC = -1) { return ::RestoreDC(Handle, savedDC) != 0; }
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(Handle, index); }

  // ---- selection ----
  void SelectObject(const TPen& pen);
  void SelectObject(const TBrush& brush);
  void SelectObject(const TFont& font);
  void SelectObject(const TPalette& palette, bool forceBackground = false);
  void SelectObject(const TBitmap& bitmap);
  void SelectObject(const TRegion& region) { SelectClipRgn(region); }
  void SelectStockObject(int index);
  void RestorePen();
  void RestoreBrush();
  void RestoreFont();
  void RestorePalette();
  void RestoreBitmap();
  void RestoreObjects();
  uint RealizePalette() { return ::RealizePalette(Handle); }

  // ---- attributes ----
  TColor GetTextColor() const { return ::GetTextColor(Handle); }
  TColor SetTextColor(TColor color) { return ::SetTextColor(Handle, color); }
  TColor GetBkColor() const { return ::GetBkColor(Handle); }
  TColor SetBkColor(TColor color) { return ::SetBkColor(Handle, color); }
  int GetBkMode() const { return ::GetBkMode(Handle); }
  int SetBkMode(int mode) { return ::SetBkMode(Handle, mode); }
  int GetROP2() const { return ::GetROP2(Handle); }
  int SetROP2(int mode) { return ::SetROP2(Handle, mode); }
  int GetStretchBltMode() const { return ::GetStretchBltMode(Handle); }
  int SetStretchBltMode(int mode) { return ::SetStretchBltMode(Handle, mode); }
  int GetPolyFillMode() const { return ::GetPolyFillMode(Handle); }
  int SetPolyFillMode(int mode) { return ::SetPolyFillMode(Handle, mode); }
  int GetMapMode() const { return ::GetMapMode(Handle); }
  int SetMapMode(int mode) { return ::SetMapMode(Handle, mode); }
  uint GetTextAlign() const { return ::GetTextAlign(Handle); }
  uint SetTextAlign(uint flags) { return ::SetTextAlign(Handle, flags); }
  TColor GetNearestColor(TColor color) const { return ::GetNearestColor(Handle, color); }

  // ---- coordinates ----
  bool SetViewportOrg(const TPoint& origin, TPoint* oldOrg = nullptr);
  bool GetViewportOrg(TPoint& origin) const { return ::GetViewportOrgEx(Handle, &origin) != 0; }
  bool OffsetViewportOrg(const TPoint& delta, TPoint* oldOrg = nullptr);
  bool SetWindowOrg(const TPoint& origin, TPoint* oldOrg = nullptr);
  bool GetWindowOrg(TPoint& origin) const { return ::GetWindowOrgEx(Handle, &origin) != 0; }
  bool SetBrushOrg(const TPoint& origin, TPoint* oldOrg = nullptr);
  bool DPtoLP(POINT* points, int count = 1) const { return ::DPtoLP(Handle, points, count) != 0; }
  bool LPtoDP(POINT* points, int count = 1) const { return ::LPtoDP(Handle, points, count) != 0; }

  // ---- clipping ----
  int SelectClipRgn(const TRegion& region) { return ::SelectClipRgn(Handle, region); }
  int RemoveClip() { return ::SelectClipRgn(Handle, nullptr); }
  int IntersectClipRect(const TRect& rect) {
    return ::IntersectClipRect(Handle, rect.left, rect.top, rect.right, rect.bottom);
  }
  int ExcludeClipRect(const TRect& rect) {
    return ::ExcludeClipRect(Handle, rect.left, rect.top, rect.right, rect.bottom);
  }
  int GetClipBox(TRect& rect) const { return ::GetClipBox(Handle, &rect); }

  // ---- drawing ----
  bool MoveTo(int x, int y) { return ::MoveToEx(Handle, x, y, nullptr) != 0; }
  bool MoveTo(const TPoint& p) { return MoveTo(p.x, p.y); }
  bool MoveTo(const TPoint& p, TPoint& old) { return ::MoveToEx(Handle, p.x, p.y, &old) != 0; }
  TPoint GetCurrentPosition() const;
  bool LineTo(int x, int y) { return ::LineTo(Handle, x, y) != 0; }
  bool LineTo(const TPoint& p) { return LineTo(p.x, p.y); }
  bool Rectangle(int l, int t, int r, int b) { return ::Rectangle(Handle, l, t, r, b) != 0; }
  bool Rectangle(const TRect& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
  bool Ellipse(int l, int t, int r, int b) { return ::Ellipse(Handle, l, t, r, b) != 0; }
  bool Ellipse(const TRect& r) { return Ellipse(r.left, r.top, r.right, r.bottom); }
  bool RoundRect(const TRect& r, const TPoint& corner) {
    return ::RoundRect(Handle, r.left, r.top, r.right, r.bottom, corner.x, corner.y) != 0;
  }
  bool Polygon(const POINT* points, int count) { return ::Polygon(Handle, points, count) != 0; }
  bool Polyline(const POINT* points, int count) { return ::Polyline(Handle, points, count) != 0; }
  bool FillRect(const TRect& rect, const TBrush& brush) { return ::FillRect(Handle, &rect, brush) != 0; }
  bool FillRect(int l, int t, int r, int b, const TBrush& brush) { return FillRect(TRect(l, t, r, b), brush); }
  bool FrameRect(const TRect& rect, const TBrush& brush) { return ::FrameRect(Handle, &rect, brush) != 0; }
  bool InvertRect(const TRect& rect) { return ::InvertRect(Handle, &rect) != 0; }
  bool DrawFocusRect(const TRect& rect) { return ::DrawFocusRect(Handle, &rect) != 0; }
  bool FillRgn(const TRegion& region, const TBrush& brush) { return ::FillRgn(Handle, region, brush) != 0; }
  bool FrameRgn(const TRegion& region, const TBrush& brush, const TSize& size) {
    return ::FrameRgn(Handle, region, brush, size.cx, size.cy) != 0;
  }
  bool PaintRgn(const TRegion& region) { return ::PaintRgn(Handle, region) != 0; }
  bool PatBlt(int x, int y, int w, int h, uint32_t rop = PATCOPY) { return ::PatBlt(Handle, x, y, w, h, rop) != 0; }
  bool PatBlt(const TRect& r, uint32_t rop = PATCOPY) { return PatBlt(r.left, r.top, r.Width(), r.Height(), rop); }
  TColor GetPixel(int x, int y) const { return ::GetPixel(Handle, x, y); }
  TColor GetPixel(const TPoint& p) const { return GetPixel(p.x, p.y); }
  TColor SetPixel(int x, int y, TColor color) { return ::SetPixel(Handle, x, y, color); }
  TColor SetPixel(const TPoint& p, TColor color) { return SetPixel(p.x, p.y, color); }
  bool DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(Handle, x, y, icon) != 0; }

  // ---- bit transfers ----
  bool BitBlt(int dstX, int dstY, int w, int h, const TDC& src, int srcX, int srcY, uint32_t rop = SRCCOPY) {
    return ::BitBlt(Handle, dstX, dstY, w, h, src, srcX, srcY, rop) != 0;
  }
  bool BitBlt(const TRect& dst, const TDC& src, const TPoint& srcPos, uint32_t rop = SRCCOPY) {
    return BitBlt(dst.left, dst.top, dst.Width(), dst.Height(), src, srcPos.x, srcPos.y, rop);
  }
  bool StretchBlt(int dstX, int dstY, int dstW, int dstH, const TDC& src, int srcX, int srcY, int srcW, int srcH,
                  uint32_t rop = SRCCOPY) {
    return ::StretchBlt(Handle, dstX, dstY, dstW, dstH, src, srcX, srcY, srcW, srcH, rop) != 0;
  }
  bool StretchBlt(const TRect& dst, const TDC& src, const TRect& srcRect, uint32_t rop = SRCCOPY) {
    return StretchBlt(dst.left, dst.top, dst.Width(), dst.Height(), src, srcRect.left, srcRect.top, srcRect.Width(),
                      srcRect.Height(), rop);
  }
  // Picture bits to the device: the source rectangle of the picture (top-down
  // coordinates) to the destination.
  int SetDIBitsToDevice(const TRect& dst, const TPoint& src, const TDib& dib);
  int StretchDIBits(const TRect& dst, const TRect& src, const TDib& dib, uint32_t rop = SRCCOPY);

  // ---- text ----
  bool TextOut(int x, int y, const char* text, int count = -1);
  bool TextOut(const TPoint& p, const char* text, int count = -1) { return TextOut(p.x, p.y, text, count); }
  bool ExtTextOut(int x, int y, uint options, const TRect* rect, const char* text, int count = -1,
                  const int* dx = nullptr);
  int DrawText(const char* text, int count, TRect& rect, uint format = 0);
  TSize GetTextExtent(const char* text, int count = -1) const;
  bool GetTextMetrics(TEXTMETRICA& metrics) const { return ::GetTextMetricsA(Handle, &metrics) != 0; }
  int GetTextFace(int count, char* facename) const { return ::GetTextFaceA(Handle, count, facename); }

protected:
  TDC() = default;
  // Takes a DC to release or delete in the subclass's destructor.
  void Init(HDC handle) { Handle = handle; }

  HDC Handle = nullptr;
  HPEN OrgPen = nullptr;
  HBRUSH OrgBrush = nullptr;
  HFONT OrgFont = nullptr;
  HPALETTE OrgPalette = nullptr;
  HBITMAP OrgBitmap = nullptr;
};

// GetWindowDC / ReleaseDC: the whole window, frame included.
class TWindowDC : public TDC {
public:
  explicit TWindowDC(HWND wnd);
  ~TWindowDC() override;

protected:
  HWND Wnd;
};

// GetDC / ReleaseDC: the client area.
class TClientDC : public TDC {
public:
  explicit TClientDC(HWND wnd);
  ~TClientDC() override;

private:
  HWND Wnd;
};

// The whole screen.
class TScreenDC : public TDC {
public:
  TScreenDC();
  ~TScreenDC() override;
};

// BeginPaint / EndPaint.
class TPaintDC : public TDC {
public:
  explicit TPaintDC(HWND wnd);
  ~TPaintDC() override;
  PAINTSTRUCT Ps;

private:
  HWND Wnd;
};

// CreateDC / DeleteDC.
class TCreatedDC : public TDC {
public:
  TCreatedDC(const char* driver, const char* device, const char* output = nullptr, const DEVMODEA* init = nullptr);
  ~TCreatedDC() override;

protected:
  TCreatedDC() = default;
};

// A memory DC compatible with the screen or with a DC; bitmaps are selected
// into it to draw off screen.
class TMemoryDC : public TCreatedDC {
public:
  TMemoryDC();
  explicit TMemoryDC(const TDC& dc);
  explicit TMemoryDC(HDC dc);
};
