#include "slideshow/overview.h"

#include <algorithm>
#include <cstring>

#include "engine/deskframe.h"
#include "engine/objectwindow.h"
#include "foundation/drawtools.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "imaging/dibdraw.h"
#include "objects/bmpcont.h"
#include "platform/owl/applicat.h"
#include "platform/owl/dc.h"
#include "platform/owl/decframe.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"
#include "slideshow/newscroller.h"
#include "slideshow/picdlg.h"

DEFINE_RESPONSE_TABLE1(TOverViewWindow, TWindow)
  EV_WM_SIZE,
  EV_WM_PAINT,
  EV_WM_LBUTTONDOWN,
  EV_WM_LBUTTONDBLCLK,
  EV_WM_KEYDOWN,
  EV_COMMAND(IDOK, CmOk),
  EV_COMMAND(IDCANCEL, CmCancel),
END_RESPONSE_TABLE;

namespace {

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
constexpr COLORREF kNumberColour = 0x000000;
constexpr COLORREF kLabelFace = RGB(192, 192, 192);
constexpr int kNumberFontHeight = 14;
constexpr int kLabelPoints = 7;

// A packed DIB copied into a block the picture owns.
std::unique_ptr<TDib> DibFromBlock(const std::vector<uint8_t>& block) {
  if (block.empty()) return nullptr;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
  if (!h) return nullptr;
  void* p = ::GlobalLock(h);
  std::memcpy(p, block.data(), block.size());
  ::GlobalUnlock(h);
  auto dib = std::make_unique<TDib>(h, AutoDelete);
  if (!dib->IsOK()) return nullptr;
  return dib;
}

// The module with the program's resources; the program itself when start-up
// named none (a test program).
HINSTANCE ResourceModule() {
  HINSTANCE m = GetResourceModule();
  return m ? m : ::GetModuleHandleA(nullptr);
}

HFONT MakeFont(int height, int escapement) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfEscapement = escapement;
  lf.lfOrientation = escapement;
  std::strcpy(lf.lfFaceName, "Arial");
  return ::CreateFontIndirectA(&lf);
}

// The mount bitmaps of one frame style, for one paint.
struct TDiaBitmap {
  explicit TDiaBitmap(unsigned style)
      : Landscape(::LoadBitmapA(ResourceModule(), OverviewLandscapeFrame(style))),
        Portrait(::LoadBitmapA(ResourceModule(), OverviewPortraitFrame(style))) {}
  ~TDiaBitmap() {
    if (Landscape) ::DeleteObject(Landscape);
    if (Portrait) ::DeleteObject(Portrait);
  }
  TDiaBitmap(const TDiaBitmap&) = delete;
  TDiaBitmap& operator=(const TDiaBitmap&) = delete;
  HBITMAP Landscape;
  HBITMAP Portrait;
};

}  // namespace

TOverViewWindow::TOverViewWindow(TWindow* parent, std::unique_ptr<TOverviewContents> contents)
    : TWindow(parent, "DIA_OVERVIEWWINDOW"), Contents(std::move(contents)) {
  if (!Contents) Contents = std::make_unique<TOverviewContents>();
  Attr.Style |= WS_CHILD | WS_VSCROLL | WS_HSCROLL;
  Scroller = new TNewScroller(this, kOverviewCell, kOverviewCell, 1, 1);
  Scroller->SetUnits(kOverviewCell, kOverviewCell);
  for (const TOverviewContents::Item& item : Contents->Items) Thumbnails.push_back(DibFromBlock(item.Thumbnail));
}

TOverViewWindow::~TOverViewWindow() = default;

void TOverViewWindow::CleanupWindow() {
  TWindow::CleanupWindow();
  // The player comes back to the top: the desk frame when there is one.
  HWND top = nullptr;
  if (DeskFrame && DeskFrame->HWindow) top = DeskFrame->HWindow;
  else if (TApplication* app = TApplication::GetApplicationObject(); app && app->GetMainWindow())
    top = app->GetMainWindow()->HWindow;
  if (top) ::BringWindowToTop(top);
}

void TOverViewWindow::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  wc.hIcon = nullptr;
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
  wc.style |= CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TOverViewWindow::SetupWindow() {
  TWindow::SetupWindow();
  const int screenW = SystemInfo().ScreenWidth, screenH = SystemInfo().ScreenHeight;
  SetWindowPos(nullptr, 0, 0, screenW, screenH, kPlaceFlags);
  Grid = OverviewGrid(Count(), screenW, screenW, screenH);
  Scroller->SetRange(Grid.RangeX, Grid.RangeY);
  TRect client;
  GetClientRect(client);
  Scroller->XPage = std::max(1, client.Width() / kOverviewCell);
  Scroller->YPage = std::max(1, client.Height() / kOverviewCell);
  ::ShowScrollBar(HWindow, SB_HORZ, Grid.RangeX > 0);
  ::ShowScrollBar(HWindow, SB_VERT, Grid.RangeY > 0);
  ::ShowWindow(HWindow, SW_SHOW);
}

void TOverViewWindow::EvSize(uint, TSize&) {
  DefaultProcessing();
  ::InvalidateRect(HWindow, nullptr, FALSE);
}

void TOverViewWindow::EvPaint() {
  TPaintDC dc(HWindow);
  TRect client;
  GetClientRect(client);
  Scroller->BeginView(dc, client);
  if (::IsIconic(HWindow)) {
    if (HICON icon = ::LoadIconA(ResourceModule(), "PHOTO_APP_ICO")) ::DrawIcon(dc.GetHDC(), 0, 0, icon);
  } else {
    PaintGrid(dc);
  }
  Scroller->EndView();
}

void TOverViewWindow::PaintGrid(TDC& dc) {
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  HDC h = dc.GetHDC();
  POINT org{};
  ::GetViewportOrgEx(h, &org);
  TRect client;
  GetClientRect(client);
  RECT area = {client.left - org.x, client.top - org.y, client.right - org.x, client.bottom - org.y};
  ::FillRect(h, &area, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
  const TOverviewGrid grid = OverviewGrid(Count(), client.Width(), SystemInfo().ScreenWidth, SystemInfo().ScreenHeight);
  const TDiaBitmap frames(Contents->FrameStyle);
  HDC memory = ::CreateCompatibleDC(h);
  BITMAP frameInfo{};
  if (frames.Landscape) ::GetObjectA(frames.Landscape, sizeof frameInfo, &frameInfo);
  const int frameW = frameInfo.bmWidth ? frameInfo.bmWidth : kOverviewFrameSize;
  const int frameH = frameInfo.bmHeight ? frameInfo.bmHeight : kOverviewFrameSize;
  ::SetStretchBltMode(h, COLORONCOLOR);
  HFONT numberFont = MakeFont(kNumberFontHeight, 0);
  const int labelHeight = -::MulDiv(kLabelPoints, ::GetDeviceCaps(h, LOGPIXELSY), 72);
  for (int i = 0; i < Count(); ++i) {
    const int x = (i % grid.Columns) * kOverviewCell, y = (i / grid.Columns) * kOverviewCell;
    if (y > area.bottom) break;
    const TDib* thumb = Thumbnails[static_cast<size_t>(i)].get();
    const bool landscape = thumb && OverviewIsLandscape(thumb->Width(), thumb->Height());
    const std::string number = std::to_string(i + 1);
    HGDIOBJ oldFont = ::SelectObject(h, numberFont);
    SIZE extent{};
    ::GetTextExtentPoint32A(h, number.c_str(), static_cast<int>(number.size()), &extent);
    const TOverviewCellLayout l = OverviewCellLayout(i, grid.Columns, landscape, extent.cx, extent.cy);
    if (HBITMAP frame = landscape ? frames.Landscape : frames.Portrait) {
      HGDIOBJ old = ::SelectObject(memory, frame);
      ::BitBlt(h, x, y, frameW, frameH, memory, 0, 0, SRCCOPY);
      ::SelectObject(memory, old);
    }
    const int oldMode = ::SetBkMode(h, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(h, kNumberColour);
    ::TextOutA(h, l.NumberLeft, l.NumberTop, number.c_str(), static_cast<int>(number.size()));
    ::SetBkMode(h, oldMode);
    ::SetTextColor(h, oldColour);
    ::SelectObject(h, oldFont);
    if (i == Selection) {
      HBRUSH b = ::CreateSolidBrush(Contents->Highlight);
      RECT r = {x, y, x + frameW, y + frameH};
      ::FrameRect(h, &r, b);
      ::InflateRect(&r, -1, -1);
      ::FrameRect(h, &r, b);
      ::DeleteObject(b);
    }
    if (Contents->Flags & kOverviewLabels) {
      string name;
      string label;
      const string& full = Contents->Items[static_cast<size_t>(i)].Name;
      const size_t slash = full.str().find_last_of("\\/:");
      label = slash == std::string::npos ? full : full.substr(slash + 1);
      label.to_upper();
      HFONT labelFont = MakeFont(labelHeight, landscape ? 0 : 900);
      HGDIOBJ old = ::SelectObject(h, labelFont);
      SIZE t{};
      ::GetTextExtentPoint32A(h, label.c_str(), static_cast<int>(label.length()), &t);
      ::SetTextColor(h, 0);
      ::SetBkMode(h, TRANSPARENT);
      if (landscape) {
        const int xc = x + (kOverviewCell - 5) / 2, ty = y + (kOverviewCell - 5) - 12 - t.cy / 2;
        Draw3DEdgeFramed(dc, TRect(xc - 37, ty - 2, xc + 37, ty + t.cy + 2), 1, 1, TColor(kLabelFace), true, true);
        RECT r = {xc - 35, ty, xc + 35, ty + t.cy};
        ::DrawTextA(h, label.c_str(), static_cast<int>(label.length()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      } else {
        const int yc = y + (kOverviewCell - 5) / 2, tx = x + 12 - t.cy / 2;
        Draw3DEdgeFramed(dc, TRect(tx - 2, yc - 37, tx + t.cy + 2, yc + 37), 1, 1, TColor(kLabelFace), true, true);
        ::TextOutA(h, tx, yc - 35 + 70 - (70 - t.cx) / 2, label.c_str(), static_cast<int>(label.length()));
      }
      ::SelectObject(h, old);
      ::DeleteObject(labelFont);
    }
    if (thumb)
      DrawDibArea(dc, thumb, 0, 0, thumb->Width(), thumb->Height(), l.PictureLeft, l.PictureTop,
                  l.PictureLeft + l.PictureWidth, l.PictureTop + l.PictureHeight, true, nullptr);
  }
  ::DeleteObject(numberFont);
  ::DeleteDC(memory);
  ::SetCursor(previous);
}

int TOverViewWindow::HitAt(const TPoint& point) const {
  TRect client;
  GetClientRect(client);
  const TOverviewGrid grid = OverviewGrid(Count(), client.Width(), SystemInfo().ScreenWidth, SystemInfo().ScreenHeight);
  return OverviewHit(point.x, point.y, static_cast<int>(Scroller->XPos * Scroller->XUnit),
                     static_cast<int>(Scroller->YPos * Scroller->YUnit), grid.Columns, Count());
}

void TOverViewWindow::RepaintCell(int index) {
  if (index < 0) return;
  TRect client;
  GetClientRect(client);
  const TOverviewGrid grid = OverviewGrid(Count(), client.Width(), SystemInfo().ScreenWidth, SystemInfo().ScreenHeight);
  const int x = (index % grid.Columns) * kOverviewCell - static_cast<int>(Scroller->XPos * Scroller->XUnit);
  const int y = (index / grid.Columns) * kOverviewCell - static_cast<int>(Scroller->YPos * Scroller->YUnit);
  RECT r = {x, y, x + kOverviewCell, y + kOverviewCell};
  ::InvalidateRect(HWindow, &r, FALSE);
  ::UpdateWindow(HWindow);
}

void TOverViewWindow::EvLButtonDown(uint, TPoint& point) {
  const int before = Selection;
  Selection = HitAt(point);
  if (before >= 0) RepaintCell(before);
  RepaintCell(Selection);
}

void TOverViewWindow::EvLButtonDblClk(uint, TPoint& point) {
  Selection = HitAt(point);
  if (Selection < 0 || !(Contents->Flags & kOverviewOpensPicture)) return;
  std::unique_ptr<TDib> picture(LoadPictureDib(Contents->Items[static_cast<size_t>(Selection)].Name.c_str()));
  if (!picture) return;
  {
    TPicDlg viewer(this, picture.get(), false, TColor(0));
    viewer.Execute();
  }
  ::SetFocus(HWindow);
}

void TOverViewWindow::EvKeyDown(uint key, uint, uint) {
  TRect client;
  GetClientRect(client);
  const long page = client.Height() / kOverviewCell;
  switch (key) {
    case VK_RETURN:
    case VK_ESCAPE: PostMessage(WM_CLOSE); break;
    case VK_NEXT: Scroller->ScrollTo(Scroller->XPos, Scroller->YPos + page); break;
    case VK_PRIOR: Scroller->ScrollTo(Scroller->XPos, Scroller->YPos - page); break;
    case VK_DOWN: Scroller->ScrollBy(0, 1); break;
    case VK_UP: Scroller->ScrollBy(0, -1); break;
    case VK_RIGHT: Scroller->ScrollBy(1, 0); break;
    case VK_LEFT: Scroller->ScrollBy(-1, 0); break;
    default: break;
  }
}

namespace {
// The frame around the overview: when its client closes, the frame goes too.
class TOverviewFrame : public TDecoratedFrame {
public:
  TOverviewFrame(TWindow* parent, TWindow* client) : TDecoratedFrame(parent, "", client) {}
  const char* GetClassName() override { return "TSLOVERVIEWFRAME"; }
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override {
    if (msg == WM_PARENTNOTIFY && LOWORD(p1) == WM_DESTROY && ClientWnd &&
        reinterpret_cast<HWND>(p2) == ClientWnd->HWindow)
      PostMessage(WM_CLOSE);
    return TDecoratedFrame::WindowProc(msg, p1, p2);
  }
};
}  // namespace

bool OpenOverviewWindow(TWindow* page, std::unique_ptr<TOverviewContents> contents) {
  if (!contents || contents->Items.empty()) return false;
  // One overview at a time. The frame is a child of the page window, which
  // deletes it at the end; an earlier one goes here, with its window.
  static TOverviewFrame* last = nullptr;
  if (last && last->GetParentO() == page) delete last;
  last = nullptr;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  auto* overview = new TOverViewWindow(nullptr, std::move(contents));
  auto* frame = new TOverviewFrame(page, overview);
  bool opened = frame->Create();
  if (opened) {
    ::SetWindowLongA(frame->HWindow, GWL_STYLE, ::GetWindowLongA(frame->HWindow, GWL_STYLE) & ~WS_CAPTION);
    ::ShowWindow(frame->HWindow, SW_SHOWMAXIMIZED);
    ::ShowWindow(frame->HWindow, SW_SHOW);
    last = frame;
  } else {
    delete frame;
  }
  ::SetCursor(previous);
  return opened;
}

namespace {

// The picture container object's opener: a copy of the shared container's
// pictures, shown with the overview's own defaults.
void OpenContainerOverview(TObjectWindow* page, TBmpContainer& container) {
  auto contents = std::make_unique<TOverviewContents>();
  for (const auto& item : container.Items) {
    if (!item) continue;
    contents->Items.push_back({item->Name, item->Picture});
  }
  OpenOverviewWindow(page, std::move(contents));
}

}  // namespace

void InstallContainerOverview() { SetOverviewOpener(&OpenContainerOverview); }
