// Media player panes over the shared quartz player. The pane window holds
// the picture above an optional controller bar: a play/pause button at its
// left, then a track whose thumb shows the position; a click on the track
// goes to that place.
#include "platform/mppane/mppane.h"

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "platform/qtml/quartzplayer.h"

namespace {

constexpr UINT kGraphEvent = WM_APP + 1;
constexpr UINT_PTR kBarTimer = 1;
constexpr int kButtonWidth = MPPANE_BAR_HEIGHT;
const char kPaneClass[] = "TslMppane";

struct TPane {
  HWND window = nullptr;
  qtml::TQuartzPlayer player;
  bool autoSize = false;
  bool bar = false;
  bool transparent = false;
  bool atEnd = false;
  HWND msgWindow = nullptr;
  UINT msg = 0;

  int BarHeight() const { return bar ? MPPANE_BAR_HEIGHT : 0; }
  RECT Client() const {
    RECT r{};
    ::GetClientRect(window, &r);
    return r;
  }
  RECT BarRect() const {
    RECT r = Client();
    r.top = std::max(r.top, r.bottom - BarHeight());
    return r;
  }
  void Layout() {
    RECT r = Client();
    r.bottom = std::max(r.top, r.bottom - BarHeight());
    player.PlaceVideo(r);
    ::InvalidateRect(window, nullptr, FALSE);
  }
  // With auto size the pane takes the media's natural size, plus the bar.
  void FitToMedia() {
    if (!autoSize || !player.IsOpen()) return;
    const SIZE s = player.NaturalSize();
    ::SetWindowPos(window, nullptr, 0, 0, s.cx, s.cy + BarHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Start() {
    if (atEnd) player.Seek(0);
    atEnd = false;
    player.Run();
    ::SetTimer(window, kBarTimer, 200, nullptr);
    ::InvalidateRect(window, nullptr, FALSE);
  }
  void Hold() {
    player.Pause();
    ::KillTimer(window, kBarTimer);
    ::InvalidateRect(window, nullptr, FALSE);
  }
  void SeekSeconds(double s) {
    const double length = player.DurationSeconds();
    if (!(s > 0)) s = 0;
    if (s > length) s = length;
    atEnd = false;
    player.SeekSeconds(s);
    ::InvalidateRect(window, nullptr, FALSE);
  }
  void PaintBar(HDC dc) const {
    const RECT b = BarRect();
    if (b.bottom <= b.top) return;
    HBRUSH face = ::CreateSolidBrush(RGB(0xD4, 0xD0, 0xC8));
    ::FillRect(dc, &b, face);
    ::DeleteObject(face);
    HBRUSH ink = ::CreateSolidBrush(RGB(0x20, 0x20, 0x20));
    const int cy = (b.top + b.bottom) / 2;
    if (player.Running()) {
      const RECT l{b.left + 5, b.top + 5, b.left + 9, b.bottom - 5};
      const RECT r{b.left + 11, b.top + 5, b.left + 15, b.bottom - 5};
      ::FillRect(dc, &l, ink);
      ::FillRect(dc, &r, ink);
    } else {
      const POINT tri[3] = {{b.left + 6, b.top + 4}, {b.left + 15, cy}, {b.left + 6, b.bottom - 4}};
      HGDIOBJ old = ::SelectObject(dc, ink);
      HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
      ::Polygon(dc, tri, 3);
      ::SelectObject(dc, oldPen);
      ::SelectObject(dc, old);
    }
    RECT track{b.left + kButtonWidth + 4, cy - 2, b.right - 6, cy + 2};
    if (track.right > track.left) {
      HBRUSH groove = ::CreateSolidBrush(RGB(0x80, 0x80, 0x80));
      ::FillRect(dc, &track, groove);
      ::DeleteObject(groove);
      const double length = player.DurationSeconds();
      const double f = length > 0 ? std::min(1.0, player.PositionSeconds() / length) : 0.0;
      const int x = track.left + static_cast<int>(f * (track.right - track.left));
      const RECT thumb{x - 3, b.top + 3, x + 3, b.bottom - 3};
      ::FillRect(dc, &thumb, ink);
    }
    ::DeleteObject(ink);
  }
  void Click(int x, int y) {
    const RECT b = BarRect();
    if (y < b.top || b.bottom <= b.top || !player.IsOpen()) return;
    if (x < b.left + kButtonWidth) {
      if (player.Running()) {
        Hold();
      } else {
        Start();
      }
      return;
    }
    const int left = b.left + kButtonWidth + 4, right = b.right - 6;
    if (right <= left) return;
    const double f = std::min(1.0, std::max(0.0, double(x - left) / (right - left)));
    SeekSeconds(f * player.DurationSeconds());
  }
};

std::set<TPane*>& Panes() {
  static std::set<TPane*> panes;
  return panes;
}

TPane* Find(HMPPANE h) {
  auto* p = static_cast<TPane*>(h);
  return Panes().count(p) ? p : nullptr;
}

LRESULT CALLBACK PaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* p = reinterpret_cast<TPane*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  if (!p) return ::DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case kGraphEvent:
      if (p->player.TakeEvents()) {
        p->Hold();
        p->atEnd = true;
        if (p->msgWindow) ::PostMessageA(p->msgWindow, p->msg, 1, 0);
      }
      return 0;
    case WM_TIMER:
      if (wp == kBarTimer) {
        const RECT b = p->BarRect();
        ::InvalidateRect(w, &b, FALSE);
      }
      return 0;
    case WM_SIZE:
      p->Layout();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(w, &ps);
      RECT pic = p->Client();
      pic.bottom = std::max(pic.top, pic.bottom - p->BarHeight());
      // Black where no picture covers the pane (sound only, not yet open).
      if (!p->player.HasVideo()) ::FillRect(dc, &pic, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      p->PaintBar(dc);
      ::EndPaint(w, &ps);
      if (p->player.HasVideo()) p->player.Repaint();
      return 0;
    }
    case WM_LBUTTONDOWN:
      p->Click(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_NCHITTEST:
      if (p->transparent) return HTTRANSPARENT;
      break;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

bool EnsureSetup() {
  static bool done = false;
  if (done) return true;
  // COM on the caller's thread, on the first call and never in DllMain.
  const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return false;
  WNDCLASSA wc{};
  wc.lpfnWndProc = PaneProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kPaneClass;
  if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  done = true;
  return true;
}

std::vector<WCHAR> Wide(const char* path) {
  const int n = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  std::vector<WCHAR> wide(n > 0 ? n : 1, 0);
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), n);
  return wide;
}

void Destroy(TPane* p) {
  Panes().erase(p);
  p->player.Close();
  if (::IsWindow(p->window)) {
    ::SetWindowLongPtrA(p->window, GWLP_USERDATA, 0);
    ::DestroyWindow(p->window);
  }
  delete p;
}

}  // namespace

BOOL PANEAPI InitMP(void) { return EnsureSetup() ? TRUE : FALSE; }

void PANEAPI ExitMP(void) {
  while (!Panes().empty()) Destroy(*Panes().begin());
}

HMPPANE PANEAPI CreateMppane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id) {
  try {
    if (!parent || !EnsureSetup()) return nullptr;
    auto p = std::make_unique<TPane>();
    p->window = ::CreateWindowExA(0, kPaneClass, "", style | WS_CHILD | WS_CLIPCHILDREN, left, top,
                                  std::max(0, right - left), std::max(0, bottom - top), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                  nullptr);
    if (!p->window) return nullptr;
    ::SetWindowLongPtrA(p->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(p.get()));
    Panes().insert(p.get());
    return p.release();
  } catch (...) {
    return nullptr;
  }
}

BOOL PANEAPI DeleteMppane(HMPPANE h) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  Destroy(p);
  return TRUE;
}

HWND PANEAPI GetMppane(HMPPANE h) {
  TPane* p = Find(h);
  return p ? p->window : nullptr;
}

BOOL PANEAPI ShowMppane(HMPPANE h, BOOL show) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  ::ShowWindow(p->window, show ? SW_SHOWNA : SW_HIDE);
  return TRUE;
}

BOOL PANEAPI SetMppaneTransparency(HMPPANE h, BOOL on) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  p->transparent = on != FALSE;
  return TRUE;
}

BOOL PANEAPI SetMPAutoSize(HMPPANE h, BOOL on) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  p->autoSize = on != FALSE;
  p->FitToMedia();
  return TRUE;
}

BOOL PANEAPI OpenMPMovie(HMPPANE h, const char* path) {
  TPane* p = Find(h);
  if (!p || !path) return FALSE;
  try {
    ::KillTimer(p->window, kBarTimer);
    p->atEnd = false;
    const HRESULT hr = p->player.Open(Wide(path).data(), p->window);
    if (!qtml::IsLoadedResult(hr)) {
      ::InvalidateRect(p->window, nullptr, FALSE);
      return FALSE;
    }
    p->player.NotifyTo(p->window, kGraphEvent);
    p->FitToMedia();
    p->Layout();
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL PANEAPI SetMPMsgWindow(HMPPANE h, HWND window, UINT message) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  p->msgWindow = window;
  p->msg = message;
  return TRUE;
}

BOOL PANEAPI ShowMPControllerBar(HMPPANE h, BOOL show) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  p->bar = show != FALSE;
  p->FitToMedia();
  p->Layout();
  return TRUE;
}

BOOL PANEAPI PlayBackMPMovie(HMPPANE h, int mode) {
  TPane* p = Find(h);
  if (!p || !p->player.IsOpen()) return FALSE;
  switch (mode) {
    case 0: p->Start(); return TRUE;
    case 1:
    case 4: p->Hold(); return TRUE;
    case 2: p->SeekSeconds(0); return TRUE;
    case 3: p->SeekSeconds(p->player.DurationSeconds()); return TRUE;
  }
  return FALSE;
}

BOOL PANEAPI SetMPMovieCurTimePos(HMPPANE h, double seconds) {
  TPane* p = Find(h);
  if (!p || !p->player.IsOpen()) return FALSE;
  p->SeekSeconds(seconds);
  return TRUE;
}

double PANEAPI GetMPMovieDuration(HMPPANE h) {
  TPane* p = Find(h);
  return p && p->player.IsOpen() ? p->player.DurationSeconds() : 0.0;
}

double PANEAPI GetMPMovieCurTimePos(HMPPANE h) {
  TPane* p = Find(h);
  return p && p->player.IsOpen() ? p->player.PositionSeconds() : 0.0;
}

BOOL PANEAPI GetMPMovieRect(HMPPANE h, RECT* out) {
  TPane* p = Find(h);
  if (!p || !out || !p->player.IsOpen()) return FALSE;
  const SIZE s = p->player.NaturalSize();
  *out = RECT{0, 0, s.cx, s.cy};
  return TRUE;
}
