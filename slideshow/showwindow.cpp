#include "slideshow/showwindow.h"

#include <mmsystem.h>

#include <cstring>

#include "foundation/fileutil.h"
#include "foundation/winutil.h"
#include "imaging/dibdraw.h"
#include "imaging/transition.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "resources/ids_slideshow.h"
#include "slideshow/playsender.h"

DEFINE_RESPONSE_TABLE1(TDiaShowWindow, TDialog)
  EV_WM_TIMER,
  EV_WM_PAINT,
  EV_WM_LBUTTONDOWN,
  EV_WM_RBUTTONDOWN,
  EV_WM_KEYDOWN,
  EV_WM_GETDLGCODE,
  EV_WM_CLOSE,
  EV_COMMAND(IDCANCEL, CmCancel),
  EV_COMMAND(IDOK, CmOk),
  EV_MESSAGE(MM_MCINOTIFY, EvMciNotify),
END_RESPONSE_TABLE;

namespace {

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

bool SoundExists(const string& file) { return !file.is_null() && FileExists(file.c_str()); }

// A caption font: the record's face and style at -|PointSize / 10|.
HFONT MakeCaptionFont(const tsl::FontRecord& r) {
  LOGFONTA lf{};
  lf.lfHeight = DiaCaptionHeight(r);
  lf.lfWidth = r.lfWidth;
  lf.lfEscapement = r.lfEscapement;
  lf.lfOrientation = r.lfOrientation;
  lf.lfWeight = r.lfWeight;
  lf.lfItalic = r.lfItalic;
  lf.lfUnderline = r.lfUnderline;
  lf.lfStrikeOut = r.lfStrikeOut;
  lf.lfCharSet = r.lfCharSet;
  lf.lfOutPrecision = r.lfOutPrecision;
  lf.lfClipPrecision = r.lfClipPrecision;
  lf.lfQuality = r.lfQuality;
  lf.lfPitchAndFamily = r.lfPitchAndFamily;
  std::memcpy(lf.lfFaceName, r.lfFaceName, sizeof lf.lfFaceName);
  lf.lfFaceName[sizeof lf.lfFaceName - 1] = 0;
  return ::CreateFontIndirectA(&lf);
}

}  // namespace

TDiaShowWindow::TDiaShowWindow(TWindow* parent, TDiaOption* options)
    : TDialog(parent, IDD_DIASHOW), Options(options), Navigator(*options, *this) {}

TDiaShowWindow::~TDiaShowWindow() {
  // The player stops and closes its device, so no sound outlives the show.
  Player.reset();
  Picture.reset();
}

bool TDiaShowWindow::MusicOn() const { return Options->BackgroundSoundEnabled != 0; }

void TDiaShowWindow::SetupWindow() {
  Player = std::make_unique<TPlay>(ShowPlaySender(), reinterpret_cast<uintptr_t>(HWindow));
  TDialog::SetupWindow();
  if (MusicOn() && SoundExists(Options->BackgroundSoundFile)) Player->Play(Options->BackgroundSoundFile);
  const bool any = Navigator.Start();
  SetWindowPos(nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), kPlaceFlags);
  ::ShowWindow(HWindow, SW_SHOW);
  if (any) SetTimer(kShowTimer, kShowTimerPeriod);
}

void TDiaShowWindow::LoadPicture(int index) {
  if (index < 0 || index >= Options->Pictures.Count()) return;
  // Without music a picture's sound ends with its picture.
  if (!MusicOn() && Player && Player->DeviceId) Player->Stop();
  const TDiaFileInfo& entry = Options->Pictures[index];
  Picture.reset();
  Picture.reset(LoadPictureDibPcd(entry.PictureFile.c_str(), static_cast<int16_t>(Options->PcdResolution),
                                  static_cast<int16_t>(Options->PcdColourDepth)));
  if (!MusicOn() && entry.SoundEnabled && SoundExists(entry.SoundFile) && Player) Player->Play(entry.SoundFile);
}

void TDiaShowWindow::Transition() {
  if (Options->TransitionKind == 0) return;
  TRect client;
  GetClientRect(client);
  POINT corner{client.left, client.top};
  ::ClientToScreen(HWindow, &corner);
  const TRect area(corner.x, corner.y, corner.x + client.Width(), corner.y + client.Height());
  {
    // Paced on the tick count in this thread; input waits in the queue.
    TTransition effect(this, area, true);
    effect.StartBlackout(static_cast<uint32_t>(Options->TransitionKind), Options->TransitionDuration);
    const uint32_t interval = effect.GetInterval();
    uint32_t last = GetTickCountMs();
    while (effect.IsRunning()) {
      if (GetTickCountMs() - last >= interval) {
        effect.OnTimer(0);
        last = GetTickCountMs();
      }
    }
    const uint32_t ended = GetTickCountMs();
    while (GetTickCountMs() - ended < kShowAfterTransition) {
    }
  }
}

void TDiaShowWindow::Invalidate() { ::InvalidateRect(HWindow, nullptr, FALSE); }
void TDiaShowWindow::PostClose() { PostMessage(WM_CLOSE); }
void TDiaShowWindow::CloseNow() { TDialog::CloseWindow(1); }
uint32_t TDiaShowWindow::Now() { return GetTickCountMs(); }

void TDiaShowWindow::EvTimer(uint) { Navigator.Tick(); }

void TDiaShowWindow::EvLButtonDown(uint, TPoint&) {
  DefaultProcessing();
  Navigator.DispatchShowKey(kShowKeyLeftButton);
}

void TDiaShowWindow::EvRButtonDown(uint, TPoint&) {
  DefaultProcessing();
  Navigator.DispatchShowKey(kShowKeyRightButton);
}

void TDiaShowWindow::EvKeyDown(uint key, uint, uint) { Navigator.DispatchShowKey(ShowKeyOfVirtualKey(key)); }

uint TDiaShowWindow::EvGetDlgCode(MSG*) { return DLGC_WANTALLKEYS; }

void TDiaShowWindow::EvClose() { TDialog::CloseWindow(1); }
void TDiaShowWindow::CmOk() { Navigator.DispatchShowKey(kShowKeyEnter, true); }
void TDiaShowWindow::CmCancel() { Navigator.DispatchShowKey(kShowKeyEscape, true); }

TResult TDiaShowWindow::EvMciNotify(TParam1 flag, TParam2) {
  if (flag != MCI_NOTIFY_SUCCESSFUL) return 0;
  if (Player) Player->Stop();
  if (MusicOn() && SoundExists(Options->BackgroundSoundFile) && !Options->BackgroundSoundOnce && Player)
    Player->Play(Options->BackgroundSoundFile);
  return 0;
}

void TDiaShowWindow::DrawCaption(TDC& dc, bool header, int width, int height) {
  const TDiaOption& o = *Options;
  const TDiaFileInfo* entry =
      Navigator.Current >= 0 && Navigator.Current < o.Pictures.Count() ? &o.Pictures[Navigator.Current] : nullptr;
  const string& local = header ? (entry ? entry->HeaderText : string()) : (entry ? entry->FooterText : string());
  const bool own = entry && !local.is_null();
  const string& text = own ? local : (header ? o.HeaderText : o.FooterText);
  if (text.is_null()) return;
  const tsl::FontRecord& font =
      own ? (header ? entry->HeaderFont : entry->FooterFont) : (header ? o.HeaderFont : o.FooterFont);
  const uint16_t align = own ? (header ? entry->HeaderAlign : entry->FooterAlign) : (header ? o.HeaderAlign : o.FooterAlign);
  // The fonts are made for every paint from their records, so they always
  // follow the records.
  HFONT f = MakeCaptionFont(font);
  HGDIOBJ old = f ? ::SelectObject(dc.GetHDC(), f) : nullptr;
  SIZE extent{};
  ::GetTextExtentPoint32A(dc.GetHDC(), text.c_str(), static_cast<int>(text.length()), &extent);
  ::SetTextColor(dc.GetHDC(), font.Color);
  int x = 0;
  if (align == kDiaAlignCentre) x = width / 2 - extent.cx / 2;
  else if (align == kDiaAlignRight) x = width - extent.cx;
  const int y = header ? 0 : height - extent.cy;
  ::TextOutA(dc.GetHDC(), x, y, text.c_str(), static_cast<int>(text.length()));
  if (old) ::SelectObject(dc.GetHDC(), old);
  if (f) ::DeleteObject(f);
}

void TDiaShowWindow::EvPaint() {
  TPaintDC dc(HWindow);
  TRect client;
  GetClientRect(client);
  const int W = client.Width(), H = client.Height();
  Options->Background.Paint(dc, client, TPoint(0, 0), nullptr);
  if (Picture && Picture->IsOK()) {
    const int w = Picture->Width(), h = Picture->Height();
    TRect target;
    if (w > W || h > H) {
      // Never enlarged: only a picture larger than the window is fitted.
      TSize fitted;
      if (FitSizeIntoBox(w, h, W, H, fitted))
        target = TRect(W / 2 - fitted.cx / 2, H / 2 - fitted.cy / 2, W / 2 - fitted.cx / 2 + fitted.cx,
                       H / 2 - fitted.cy / 2 + fitted.cy);
      else
        target = client;
    } else {
      target = TRect(W / 2 - w / 2, H / 2 - h / 2, W / 2 - w / 2 + w, H / 2 - h / 2 + h);
    }
    DrawDibArea(dc, Picture.get(), 0, 0, w, h, target.left, target.top, target.right, target.bottom, true, nullptr);
  }
  ::SetBkMode(dc.GetHDC(), TRANSPARENT);
  DrawCaption(dc, true, W, H);
  DrawCaption(dc, false, W, H);
}
