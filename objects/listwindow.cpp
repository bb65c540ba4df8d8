#include "objects/listwindow.h"

#include <algorithm>
#include <cstring>

#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pagepaint.h"
#include "platform/owl/dc.h"

namespace {

RECT ToRect(const TListRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

TObjectManager* PageManager() {
  TBookStruct* book = GetOpenBook();
  return book ? book->ObjectManager.get() : nullptr;
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH b = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, b);
  ::DeleteObject(b);
}

// The header's and footer's frame: the DC's pen along the bottom and right,
// the highlight colour along the top and left.
void TwoColourFrame(HDC dc, const RECT& r) {
  ::MoveToEx(dc, r.left + 1, r.bottom - 1, nullptr);
  ::LineTo(dc, r.right - 1, r.bottom - 1);
  ::LineTo(dc, r.right - 1, r.top + 1);
  HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ old = ::SelectObject(dc, pen);
  ::LineTo(dc, r.left + 1, r.top + 1);
  ::LineTo(dc, r.left + 1, r.bottom - 1);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

}  // namespace

// ---------------------------------------------------------------- the style record

TListWindowInfo::TListWindowInfo() {
  FontChoice.Flags = 0x12103;
  FontChoice.LogFont.lfHeight = -10;
  std::strcpy(FontChoice.LogFont.lfFaceName, "Arial");
  FontChoice.PointSize = 80;
  FontChoice.Color = 0;
  FontChoice.FontType = 0x6000;
  FontChoice.SizeMin = 1;
  FontChoice.SizeMax = 24;
  WindowColour = ::GetSysColor(COLOR_WINDOW);
  HighlightColour = ::GetSysColor(COLOR_HIGHLIGHT);
  HighlightTextColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  ShadowColour = ::GetSysColor(COLOR_BTNSHADOW);
  RecreateGdiObjects();
}

TListWindowInfo::TListWindowInfo(const TListWindowInfo& other) : TListWindowInfoCore(other), FontChoice(other.FontChoice) {
  RecreateGdiObjects();
}

TListWindowInfo::~TListWindowInfo() { ReleaseGdiObjects(); }

void TListWindowInfo::RecreateGdiObjects() {
  RecreateFont();
  RecreateBrush();
}

void TListWindowInfo::ReleaseGdiObjects() {
  Font.reset();
  WindowBrush.reset();
}

void TListWindowInfo::RecreateFont() {
  Font.reset();
  HDC screen = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  LOGFONTA lf = FontChoice.LogFont;
  lf.lfHeight = ListFontHeight(FontChoice.PointSize, screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96);
  lf.lfOutPrecision = OUT_STROKE_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  Font = std::make_unique<TFont>(lf);
  if (!screen) return;
  HGDIOBJ old = ::SelectObject(screen, static_cast<HFONT>(*Font));
  static const char kSample[] = "MgGy\xD6";
  SIZE s{0, 0};
  ::GetTextExtentPoint32A(screen, kSample, static_cast<int>(std::strlen(kSample)), &s);
  ::SelectObject(screen, old);
  ::DeleteDC(screen);
  RowHeight = static_cast<int16_t>(2 * VerticalMargin + s.cy);
}

void TListWindowInfo::RecreateBrush() { WindowBrush = std::make_unique<TBrush>(TColor(WindowColour)); }

// ---------------------------------------------------------------- cells

TListTextCell::TListTextCell(const TListWindowInfo* style, const char* text, uint16_t alignment)
    : TListCell(style), text_(text ? text : ""), alignment_(alignment) {}

void TListTextCell::Draw(HDC dc, const RECT& r, bool selected) {
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = Style->Font ? ::SelectObject(dc, static_cast<HFONT>(*Style->Font)) : nullptr;
  ::SetTextColor(dc, selected ? Style->HighlightTextColour : Style->FontChoice.Color);
  RECT at = r;
  ::DrawTextA(dc, text_.c_str(), -1, &at, (alignment_ % 3) | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  ::SetBkMode(dc, oldMode);
  if (oldFont) ::SelectObject(dc, oldFont);
}

// ---------------------------------------------------------------- the window

class TListWindow::TPort : public TListWindowPort {
public:
  explicit TPort(TListWindow& w) : w_(w) {}
  TListRect ClientRect() override {
    RECT r{0, 0, 0, 0};
    if (w_.HWindow) ::GetClientRect(w_.HWindow, &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  uint32_t Style() override {
    return w_.HWindow ? static_cast<uint32_t>(::GetWindowLongA(w_.HWindow, GWL_STYLE)) : w_.Attr.Style;
  }
  void SetScrollRange(TListBar bar, int32_t min, int32_t max, bool redraw) override {
    if (w_.HWindow) ::SetScrollRange(w_.HWindow, Bar(bar), min, max, redraw);
  }
  int32_t ScrollPos(TListBar bar) override { return w_.HWindow ? ::GetScrollPos(w_.HWindow, Bar(bar)) : 0; }
  void SetScrollPos(TListBar bar, int32_t pos) override {
    if (w_.HWindow) ::SetScrollPos(w_.HWindow, Bar(bar), pos, TRUE);
  }
  void Invalidate(const TListRect* r, bool erase) override {
    if (!w_.HWindow) return;
    if (!r) {
      ::InvalidateRect(w_.HWindow, nullptr, erase);
      return;
    }
    const RECT at = ToRect(*r);
    ::InvalidateRect(w_.HWindow, &at, erase);
  }
  void Update() override {
    if (w_.HWindow) ::UpdateWindow(w_.HWindow);
  }
  void Notify(uint32_t msg, int32_t lParam) override {
    if (w_.HWindow) ::SendMessageA(w_.HWindow, msg, 0, static_cast<LPARAM>(lParam));
  }
  void SetCursor(TListCursor c) override {
    const char* id = c == TListCursor::SizeWE ? IDC_SIZEWE : c == TListCursor::Cross ? IDC_CROSS : IDC_ARROW;
    ::SetCursor(::LoadCursorA(nullptr, id));
  }
  void Capture(bool on) override {
    if (on && w_.HWindow) ::SetCapture(w_.HWindow);
    else if (!on && ::GetCapture() == w_.HWindow) ::ReleaseCapture();
  }
  void DrawDragLine(int32_t x, int32_t height) override {
    if (!w_.HWindow) return;
    HDC dc = ::GetDC(w_.HWindow);
    const int oldRop = ::SetROP2(dc, R2_NOT);
    HPEN pen = ::CreatePen(PS_SOLID, 1, w_.style_->ShadowColour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x, 0, nullptr);
    ::LineTo(dc, x, height);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
    ::SetROP2(dc, oldRop);
    ::ReleaseDC(w_.HWindow, dc);
  }
  bool KeyHeld(TListModifier key) override {
    return ::GetKeyState(key == kListControl ? VK_CONTROL : VK_SHIFT) < 0;
  }

private:
  static int Bar(TListBar bar) { return bar == kListHorzBar ? SB_HORZ : SB_VERT; }
  TListWindow& w_;
};

TListWindow::TListWindow(TWindow* parent, int left, int top, int right, int bottom, int id, TListWindowData* data,
                         TListWindowInfo* style, TModule* module)
    : TWindow(parent, nullptr, module), style_(style), data_(data), port_(std::make_unique<TPort>(*this)) {
  Attr.X = left;
  Attr.Y = top;
  Attr.W = right - left;
  Attr.H = bottom - top;
  Attr.Id = id;
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
}

TListWindow::~TListWindow() {
  manager_.reset();
  DropBackground();
}

void TListWindow::DropBackground() {
  if (background_) ::DeleteObject(background_);
  background_ = nullptr;
  backgroundSize_ = SIZE{0, 0};
}

void TListWindow::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  wc.style |= CS_DBLCLKS;
  // The page beneath shows through: nothing is erased first.
  wc.hbrBackground = nullptr;
}

void TListWindow::SetupWindow() {
  TWindow::SetupWindow();
  manager_ = std::make_unique<TListWindowManager>(data_, style_, port_.get(), false);
}

void TListWindow::ListButtonDown(TParam1 p1, TParam2 p2) {
  ::SetFocus(HWindow);
  if (manager_)
    manager_->ButtonDown(static_cast<uint32_t>(p1), static_cast<short>(LOWORD(p2)), static_cast<short>(HIWORD(p2)));
}

TResult TListWindow::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  const auto x = [&] { return static_cast<int32_t>(static_cast<short>(LOWORD(p2))); };
  const auto y = [&] { return static_cast<int32_t>(static_cast<short>(HIWORD(p2))); };
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_ERASEBKGND:
      return TRUE;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(HWindow, &ps);
      if (manager_) PaintList(dc, ps.rcPaint);
      ::EndPaint(HWindow, &ps);
      return 0;
    }
    case WM_HSCROLL:
      if (manager_) manager_->HorizontalScroll(LOWORD(p1), HIWORD(p1));
      return 0;
    case WM_VSCROLL:
      if (manager_) manager_->VerticalScroll(LOWORD(p1), HIWORD(p1));
      return 0;
    case WM_SIZE: {
      const TResult r = TWindow::WindowProc(msg, p1, p2);
      if (manager_) {
        manager_->Relayout();
        ::InvalidateRect(HWindow, nullptr, TRUE);
      }
      return r;
    }
    case WM_KEYDOWN:
      if (manager_) manager_->KeyDown(static_cast<uint32_t>(p1));
      return 0;
    case WM_CHAR:
      return 0;
    case WM_LBUTTONDOWN: {
      const TResult r = TWindow::WindowProc(msg, p1, p2);
      ListButtonDown(p1, p2);
      return r;
    }
    case WM_MOUSEMOVE:
      if (manager_) manager_->MouseMove(static_cast<uint32_t>(p1), x(), y());
      return 0;
    case WM_LBUTTONUP:
      if (manager_) manager_->ButtonUp(x(), y());
      return 0;
    case WM_LBUTTONDBLCLK:
      if (manager_) ::SendMessageA(HWindow, kListDoubleClick, 0, 0);
      return 0;
    case WM_RBUTTONDBLCLK:
      if (manager_) manager_->HeaderDoubleClick(x(), y());
      return 0;
    case WM_KILLFOCUS:
      if (manager_) manager_->CancelDrag();
      if (::GetCapture() == HWindow) ::ReleaseCapture();
      break;
    default:
      break;
  }
  return TWindow::WindowProc(msg, p1, p2);
}

void TListWindow::PaintBackground(HDC dc, const TListRect& data) {
  if (data.IsEmpty()) return;
  TObjectManager* m = PageManager();
  HWND parent = ::GetParent(HWindow);
  // The data area in page coordinates: its place in the page window plus
  // the page's scroll offset.
  POINT origin{data.Left, data.Top};
  if (parent) ::MapWindowPoints(HWindow, parent, &origin, 1);
  TPoint offset(0, 0);
  if (m && m->PageWindow) offset = m->PageWindow->GetScrollOffset();
  pageRect_ = RECT{origin.x + offset.x, origin.y + offset.y, origin.x + offset.x + data.Width(),
                   origin.y + offset.y + data.Height()};
  if (!background_ || backgroundSize_.cx != data.Width() || backgroundSize_.cy != data.Height()) {
    DropBackground();
    background_ = ::CreateCompatibleBitmap(dc, data.Width(), data.Height());
    backgroundSize_ = SIZE{data.Width(), data.Height()};
  }
  if (!background_) return;
  HDC memory = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(memory, background_);
  const RECT whole{0, 0, data.Width(), data.Height()};
  if (m && parent) {
    // Objects under the list may change: the page is rendered on every paint.
    TDC target(memory);
    TPaintExclusions exclude;
    if (auto* self = dynamic_cast<TObjectElement*>(this)) exclude.push_back(self);
    TPagePainter::PaintArea(m, target, nullptr, TRect(pageRect_.left, pageRect_.top, pageRect_.right, pageRect_.bottom),
                            TRect(0, 0, data.Width(), data.Height()), true, nullptr, true, &exclude);
  } else {
    ::FillRect(memory, &whole, style_->WindowBrush ? static_cast<HBRUSH>(*style_->WindowBrush)
                                                   : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ::BitBlt(dc, data.Left, data.Top, data.Width(), data.Height(), memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

void TListWindow::PaintList(HDC dc, const RECT& update) {
  const TListPaintPlan plan = manager_->PlanPaint({update.left, update.top, update.right, update.bottom});
  PaintBackground(dc, plan.DataRect);
  if (plan.Header && !plan.HeaderRect.IsEmpty()) {
    const RECT h = ToRect(plan.HeaderRect);
    ::FillRect(dc, &h, ::GetSysColorBrush(COLOR_BTNFACE));
    HPEN pen = ::CreatePen(PS_SOLID, 1, style_->ShadowColour);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    for (const TListRect& o : plan.HeaderOutlines) ::Rectangle(dc, o.Left, o.Top, o.Right, o.Bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    for (const TListPaintCell& c : plan.HeaderCells)
      TListTextCell(style_, c.Text.c_str(), static_cast<uint16_t>(c.Alignment)).Draw(dc, ToRect(c.Rect), false);
    TwoColourFrame(dc, h);
  }
  for (const TListPaintRow& row : plan.Rows) {
    if (row.Selected) FillSolid(dc, ToRect(row.Rect), style_->HighlightColour);
    for (const TListPaintCell& c : row.Cells)
      TListTextCell(style_, c.Text.c_str(), static_cast<uint16_t>(c.Alignment)).Draw(dc, ToRect(c.Rect), row.Selected);
    if (row.Current) {
      const int oldRop = ::SetROP2(dc, R2_NOT);
      HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
      HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
      ::Rectangle(dc, row.Rect.Left + 1, row.Rect.Top + 1, row.Rect.Right - 1, row.Rect.Bottom - 1);
      ::SelectObject(dc, oldPen);
      ::SelectObject(dc, oldBrush);
      ::SetROP2(dc, oldRop);
    }
  }
  if (plan.Footer && !plan.FooterRect.IsEmpty()) {
    const RECT f = ToRect(plan.FooterRect);
    ::FillRect(dc, &f, ::GetSysColorBrush(COLOR_BTNFACE));
    TwoColourFrame(dc, f);
    if (plan.HasFooterText) TListTextCell(style_, plan.FooterText.Text.c_str(), 0).Draw(dc, ToRect(plan.FooterText.Rect), false);
  }
  if (plan.FooterBox && !plan.FooterBoxRect.IsEmpty()) {
    const TListRect& b = plan.FooterBoxRect;
    const RECT box{b.Left, b.Top, b.Right + 1, b.Bottom + 1};
    FillSolid(dc, box, 0xC0C0C0);
    ::MoveToEx(dc, box.left, box.top, nullptr);
    ::LineTo(dc, box.right, box.top);
    ::MoveToEx(dc, box.left, box.top, nullptr);
    ::LineTo(dc, box.left, box.bottom);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, box.left, box.bottom - 1, nullptr);
    ::LineTo(dc, box.right - 1, box.bottom - 1);
    ::LineTo(dc, box.right - 1, box.top - 1);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
  }
}
