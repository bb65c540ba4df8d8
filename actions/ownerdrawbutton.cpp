#include "actions/ownerdrawbutton.h"

#include <algorithm>

#include "platform/owl/applicat.h"
#include "platform/owl/module.h"

DEFINE_RESPONSE_TABLE1(TOwnerDrawPushbutton, TButton)
  EV_WM_LBUTTONDBLCLK,
END_RESPONSE_TABLE;

namespace {
constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr int kEdge = 2;  // the raised edge's width on each side
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The bitmap's pixels through a memory context, one at a time: the picture
// is 20 x 20 and painted seldom.
class TPixels {
public:
  TPixels(HDC like, HBITMAP bmp) : dc_(::CreateCompatibleDC(like)), old_(::SelectObject(dc_, bmp)) {
    BITMAP bm = {};
    ::GetObjectA(bmp, sizeof bm, &bm);
    Width = bm.bmWidth;
    Height = bm.bmHeight;
  }
  ~TPixels() {
    ::SelectObject(dc_, old_);
    ::DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }
  int Width = 0, Height = 0;

private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

void DrawDottedHLine(HDC dc, int x1, int x2, int y, COLORREF colour) {
  for (int x = std::min(x1, x2); x <= std::max(x1, x2); x += 2) ::SetPixel(dc, x, y, colour);
}

void DrawDottedVLine(HDC dc, int y1, int y2, int x, COLORREF colour) {
  for (int y = std::min(y1, y2); y <= std::max(y1, y2); y += 2) ::SetPixel(dc, x, y, colour);
}

void DrawDottedRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  DrawDottedHLine(dc, left, right, top, colour);
  DrawDottedHLine(dc, left, right, bottom, colour);
  DrawDottedVLine(dc, top, bottom, left, colour);
  DrawDottedVLine(dc, top, bottom, right, colour);
}

TOwnerDrawPushbutton::TOwnerDrawPushbutton(TWindow* parent, int id, int bitmapId)
    : TButton(parent, id), BitmapId(static_cast<uint32_t>(bitmapId)) {
  Attr.Style |= BS_OWNERDRAW;
}

HBITMAP TOwnerDrawPushbutton::LoadPicture() const {
  TApplication* app = TApplication::GetApplicationObject();
  const HINSTANCE module = app ? app->GetInstance() : ::GetModuleHandleA(nullptr);
  return static_cast<HBITMAP>(
      ::LoadImageA(module, MAKEINTRESOURCEA(BitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

void TOwnerDrawPushbutton::SetupWindow() {
  TButton::SetupWindow();
  // A template's button becomes owner-drawn here: its window exists before
  // this object takes it over.
  SetStyle((::GetWindowLongA(GetHandle(), GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW, false);
  const HBITMAP bmp = LoadPicture();
  if (!bmp) return;
  BITMAP bm = {};
  ::GetObjectA(bmp, sizeof bm, &bm);
  ::DeleteObject(bmp);
  RECT r;
  ::GetWindowRect(GetHandle(), &r);
  ::MapWindowPoints(nullptr, ::GetParent(GetHandle()), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(nullptr, r.left, r.top, bm.bmWidth + 2 * kEdge, bm.bmHeight + 2 * kEdge, kPlaceFlags);
}

void TOwnerDrawPushbutton::ODADrawEntire(DRAWITEMSTRUCT& info) { DrawUp(info); }

void TOwnerDrawPushbutton::ODAFocus(DRAWITEMSTRUCT& info) {
  if (info.itemState & ODS_FOCUS)
    DrawFocus(info);
  else
    DrawUp(info);
}

void TOwnerDrawPushbutton::ODASelect(DRAWITEMSTRUCT& info) {
  if (info.itemState & ODS_SELECTED) {
    Pressed = 1;
    DrawDown(info);
  } else {
    Pressed = 0;
    DrawFocus(info);
  }
}

void TOwnerDrawPushbutton::Press() { SendMessage(WM_LBUTTONDOWN, 0, 0); }

void TOwnerDrawPushbutton::EvLButtonDblClk(uint, TPoint&) { Press(); }

void TOwnerDrawPushbutton::PaintButton(DRAWITEMSTRUCT& info) {
  const HDC dc = info.hDC;
  RECT r;
  ::GetClientRect(GetHandle(), &r);
  const HBITMAP bmp = LoadPicture();
  ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT);
  const RECT f = {r.left + kEdge, r.top + kEdge, r.right - kEdge, r.bottom - kEdge};
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT),
                 shadow = ::GetSysColor(COLOR_BTNSHADOW);
  const HBRUSH faceBrush = ::CreateSolidBrush(face);
  ::FillRect(dc, &f, faceBrush);
  ::DeleteObject(faceBrush);
  if (bmp) {
    TPixels pixels(dc, bmp);
    const bool disabled = !::IsWindowEnabled(GetHandle());
    auto put = [&](int x, int y, COLORREF c) {
      if (x >= f.left && y >= f.top && x < f.right && y < f.bottom) ::SetPixel(dc, x, y, c);
    };
    for (int y = 0; y < pixels.Height; ++y)
      for (int x = 0; x < pixels.Width; ++x) {
        const COLORREF c = pixels.At(x, y);
        const int px = f.left + x, py = f.top + y;
        if (disabled) {
          if (c != kWhite && c != light) {
            put(px + 1, py + 1, light);
          }
        } else if (Pressed) {
          put(px + 1, py + 1, c == kWhite ? ((px + py) & 1 ? light : face) : c);
        } else {
          put(px, py, c == kWhite ? face : c);
        }
      }
    // The embossed shape's dark half goes over the light one.
    if (disabled)
      for (int y = 0; y < pixels.Height; ++y)
        for (int x = 0; x < pixels.Width; ++x) {
          const COLORREF c = pixels.At(x, y);
          if (c != kWhite && c != light) put(f.left + x, f.top + y, shadow);
        }
  }
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  if (::GetFocus() == GetHandle()) DrawDottedRect(dc, r.left + 3, r.top + 3, r.right - 4, r.bottom - 4, kBlack);
  ::SetBkMode(dc, oldMode);
  if (bmp) ::DeleteObject(bmp);
}
