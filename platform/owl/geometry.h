// Points, sizes and rectangles over the Win32 structures, so that they pass
// straight to API calls (&rect is a RECT*). Rectangles exclude their right
// and bottom edges, as Windows does.
#pragma once
#include "platform/owl/defs.h"

#include <algorithm>

class TSize;

class TPoint : public POINT {
public:
  TPoint() { x = y = 0; }
  TPoint(int _x, int _y) { x = _x; y = _y; }
  TPoint(const POINT& p) { x = p.x; y = p.y; }
  explicit TPoint(const SIZE& s) { x = s.cx; y = s.cy; }
  explicit TPoint(DWORD packed) { x = static_cast<short>(LOWORD(packed)); y = static_cast<short>(HIWORD(packed)); }

  int X() const { return x; }
  int Y() const { return y; }
  TPoint& Offset(int dx, int dy) { x += dx; y += dy; return *this; }
  TPoint OffsetBy(int dx, int dy) const { return TPoint(x + dx, y + dy); }

  TPoint operator+(const TPoint& p) const { return TPoint(x + p.x, y + p.y); }
  TPoint operator-(const TPoint& p) const { return TPoint(x - p.x, y - p.y); }
  TPoint operator+(const SIZE& s) const { return TPoint(x + s.cx, y + s.cy); }
  TPoint operator-(const SIZE& s) const { return TPoint(x - s.cx, y - s.cy); }
  TPoint operator-() const { return TPoint(-x, -y); }
  TPoint& operator+=(const TPoint& p) { x += p.x; y += p.y; return *this; }
  TPoint& operator-=(const TPoint& p) { x -= p.x; y -= p.y; return *this; }
  TPoint& operator+=(const SIZE& s) { x += s.cx; y += s.cy; return *this; }
  TPoint& operator-=(const SIZE& s) { x -= s.cx; y -= s.cy; return *this; }
  bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
  bool operator!=(const POINT& p) const { return !(*this == p); }
};

class TSize : public SIZE {
public:
  TSize() { cx = cy = 0; }
  TSize(int dx, int dy) { cx = dx; cy = dy; }
  TSize(const SIZE& s) { cx = s.cx; cy = s.cy; }
  explicit TSize(const POINT& p) { cx = p.x; cy = p.y; }

  int X() const { return cx; }
  int Y() const { return cy; }

  TSize operator+(const SIZE& s) const { return TSize(cx + s.cx, cy + s.cy); }
  TSize operator-(const SIZE& s) const { return TSize(cx - s.cx, cy - s.cy); }
  TSize operator-() const { return TSize(-cx, -cy); }
  TSize& operator+=(const SIZE& s) { cx += s.cx; cy += s.cy; return *this; }
  TSize& operator-=(const SIZE& s) { cx -= s.cx; cy -= s.cy; return *this; }
  bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const SIZE& s) const { return !(*this == s); }
};

class TRect : public RECT {
public:
  TRect() { SetNull(); }
  TRect(int l, int t, int r, int b) { Set(l, t, r, b); }
  TRect(const RECT& r) { Set(r.left, r.top, r.right, r.bottom); }
  TRect(const POINT& topLeft, const POINT& bottomRight) { Set(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  TRect(const POINT& origin, const SIZE& extent) { Set(origin.x, origin.y, origin.x + extent.cx, origin.y + extent.cy); }

  void Set(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetNull() { Set(0, 0, 0, 0); }
  void SetEmpty() { SetNull(); }
  void SetWH(int l, int t, int w, int h) { Set(l, t, l + w, t + h); }

  // Null: all four are zero. Empty: no area (a not normalized one included).
  bool IsNull() const { return !left && !top && !right && !bottom; }
  bool IsEmpty() const { return right <= left || bottom <= top; }

  int Left() const { return left; }
  int Top() const { return top; }
  int Right() const { return right; }
  int Bottom() const { return bottom; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  TSize Size() const { return TSize(Width(), Height()); }
  long Area() const { return static_cast<long>(Width()) * Height(); }
  TPoint TopLeft() const { return TPoint(left, top); }
  TPoint TopRight() const { return TPoint(right, top); }
  TPoint BottomLeft() const { return TPoint(left, bottom); }
  TPoint BottomRight() const { return TPoint(right, bottom); }
  TPoint Center() const { return TPoint((left + right) / 2, (top + bottom) / 2); }

  // left <= x < right and top <= y < bottom.
  bool Contains(const POINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  // The other rectangle lies inside this one; edges may coincide.
  bool Contains(const RECT& r) const {
    return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
  }
  // The two share area (rectangles that only touch do not).
  bool Touches(const RECT& r) const {
    return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
  }

  TRect& Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return *this;
  }
  TRect Normalized() const { return TRect(*this).Normalize(); }
  TRect& Offset(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; return *this; }
  TRect OffsetBy(int dx, int dy) const { return TRect(*this).Offset(dx, dy); }
  TRect& Inflate(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; return *this; }
  TRect& Inflate(const SIZE& s) { return Inflate(s.cx, s.cy); }
  TRect InflatedBy(int dx, int dy) const { return TRect(*this).Inflate(dx, dy); }
  TRect& MoveTo(int x, int y) { return Offset(x - left, y - top); }
  TRect MovedTo(int x, int y) const { return TRect(*this).MoveTo(x, y); }

  // Intersection (a null rectangle when they do not overlap) and union
  // (the smallest rectangle holding both; an empty operand is ignored).
  TRect operator&(const RECT& r) const;
  TRect operator|(const RECT& r) const;
  TRect& operator&=(const RECT& r) { return *this = *this & r; }
  TRect& operator|=(const RECT& r) { return *this = *this | r; }
  TRect operator+(const SIZE& s) const { return OffsetBy(s.cx, s.cy); }
  TRect operator-(const SIZE& s) const { return OffsetBy(-s.cx, -s.cy); }
  TRect& operator+=(const SIZE& s) { return Offset(s.cx, s.cy); }
  TRect& operator-=(const SIZE& s) { return Offset(-s.cx, -s.cy); }
  bool operator==(const RECT& r) const {
    return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
  }
  bool operator!=(const RECT& r) const { return !(*this == r); }
};

inline TRect TRect::operator&(const RECT& r) const {
  TRect i((std::max)(left, r.left), (std::max)(top, r.top), (std::min)(right, r.right), (std::min)(bottom, r.bottom));
  if (i.IsEmpty()) i.SetNull();
  return i;
}

inline TRect TRect::operator|(const RECT& r) const {
  const TRect o(r);
  if (o.IsEmpty()) return *this;
  if (IsEmpty()) return o;
  return TRect((std::min)(left, o.left), (std::min)(top, o.top), (std::max)(right, o.right), (std::max)(bottom, o.bottom));
}
