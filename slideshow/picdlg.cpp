#include "slideshow/picdlg.h"

#include <algorithm>

#include "imaging/dibdraw.h"
#include "foundation/sysinfo.h"
#include "imaging/picload.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "slideshow/newscroller.h"

DEFINE_RESPONSE_TABLE1(TPicDlg, TDialog)
  EV_WM_PAINT,
  EV_WM_LBUTTONDOWN,
  EV_WM_TIMER,
  EV_WM_CTLCOLOR,
END_RESPONSE_TABLE;

namespace {
constexpr uint kDelayTimer = 1;
constexpr uint kDelayTick = 50;  // ms
constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

long ScrollSteps(int excess) { return (std::max(0, excess) + kPicDlgScrollUnit - 1) / kPicDlgScrollUnit; }
}  // namespace

TPicDlg::TPicDlg(TWindow* parent, TDib* picture, bool fullScreen, TColor background)
    : TDialog(parent, IDD_PICDLG), Picture(picture), FullScreen(fullScreen ? 1 : 0), Background(background) {
  if (!Picture) return;
  CreateScroller();
  BackgroundBrush = std::make_unique<TBrush>(Background);
}

TPicDlg::TPicDlg(TWindow* parent, const char* fileName, uint32_t delay)
    : TDialog(parent, IDD_PICDLG), OwnsPicture(1), Delay(delay), Background(TColor(0)) {
  const string path = SystemInfo().ProgramDirectory + string(fileName ? fileName : "");
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (HGLOBAL block = LoadPictureFile(path.c_str())) {
    Picture = new TDib(block, AutoDelete);
    if (!Picture->IsOK()) {
      delete Picture;
      Picture = nullptr;
      return;
    }
    CreateScroller();
  }
}

TPicDlg::~TPicDlg() {
  if (DrawDib) ::DrawDibClose(DrawDib);
  if (OwnsPicture) delete Picture;
}

void TPicDlg::CreateScroller() {
  delete Scroller;
  Scroller = new TNewScroller(this, kPicDlgScrollUnit, kPicDlgScrollUnit, Picture->Width(), Picture->Height());
  Scroller->HasHSBar = true;
  Scroller->HasVSBar = true;
}

void TPicDlg::SetupWindow() {
  TDialog::SetupWindow();
  if (!Picture || !Picture->GetInfo()) {
    PostMessage(WM_CLOSE);
    return;
  }
  DrawDib = ::DrawDibOpen();
  const int screenW = SystemInfo().ScreenWidth, screenH = SystemInfo().ScreenHeight;
  const int w = std::min(screenW, Picture->Width()), h = std::min(screenH, Picture->Height());
  int excessX, excessY;
  if (Delay || !FullScreen) {
    SetWindowPos(nullptr, (screenW - w) / 2, (screenH - h) / 2, w, h, kPlaceFlags);
    excessX = Picture->Width() - w;
    excessY = Picture->Height() - h;
  } else {
    SetWindowPos(nullptr, 0, 0, screenW, screenH, kPlaceFlags);
    excessX = Picture->Width() - screenW;
    excessY = Picture->Height() - screenH;
  }
  const long rangeX = ScrollSteps(excessX), rangeY = ScrollSteps(excessY);
  if (Scroller) Scroller->SetRange(rangeX, rangeY);
  ShowScrollBar(SB_HORZ, rangeX != 0);
  ShowScrollBar(SB_VERT, rangeY != 0);
  if (Delay) {
    StartTime = ::GetTickCount();
    SetTimer(kDelayTimer, kDelayTick);
  }
  Show(SW_SHOW);
  UpdateWindow();
}

TPoint TPicDlg::PictureOrigin() const {
  if (!Picture || Delay || !FullScreen) return TPoint(0, 0);
  const int screenW = SystemInfo().ScreenWidth, screenH = SystemInfo().ScreenHeight;
  return TPoint(screenW > Picture->Width() ? (screenW - Picture->Width()) / 2 : 0,
                screenH > Picture->Height() ? (screenH - Picture->Height()) / 2 : 0);
}

void TPicDlg::EvPaint() {
  TPaintDC dc(HWindow);
  if (!Picture) return;
  TRect client = GetClientRect();
  if (Scroller) Scroller->BeginView(dc, client);
  const TPoint at = PictureOrigin();
  DrawDibArea(dc, Picture, 0, 0, Picture->Width(), Picture->Height(), at.x, at.y, at.x + Picture->Width(),
              at.y + Picture->Height(), false, DrawDib);
  if (Scroller) Scroller->EndView();
}

void TPicDlg::EvLButtonDown(uint, TPoint&) { PostMessage(WM_CLOSE); }

void TPicDlg::EvTimer(uint) {
  if (::GetTickCount() - StartTime < Delay) return;
  KillTimer(kDelayTimer);
  PostMessage(WM_CLOSE);
}

HBRUSH TPicDlg::EvCtlColor(HDC dc, HWND child, uint ctlType) {
  if (ctlType == CTLCOLOR_DLG && BackgroundBrush && FullScreen) return *BackgroundBrush;
  return TWindow::EvCtlColor(dc, child, ctlType);
}
