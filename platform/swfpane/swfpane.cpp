// Flash panes over the frame counter of core/swfmovie. Each pane runs a
// window timer at its movie's frame interval while the movie runs.
#include "platform/swfpane/swfpane.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/swfpane/core/swfmovie.h"

namespace {

constexpr UINT_PTR kFrameTimer = 1;
// Enough of the file for any header, compressed or not.
constexpr DWORD kHeaderBytes = 4096;

struct TPane {
  HWND window = nullptr;
  TSwfMovie movie;
  std::string name;  // the file's name without its folder
  bool transparent = false;
  WORD quality = 1;
  WORD scaleMode = 0;

  // The timer follows the movie's running state; the label the frame.
  void Update() {
    if (movie.Running() && movie.FrameInterval() > 0) {
      ::SetTimer(window, kFrameTimer, movie.FrameInterval(), nullptr);
    } else {
      ::KillTimer(window, kFrameTimer);
    }
    ::SetWindowTextA(window, movie.Label().c_str());
    ::InvalidateRect(window, nullptr, FALSE);
  }

  void Paint(HDC dc) const {
    RECT r{};
    ::GetClientRect(window, &r);
    HBRUSH grey = ::CreateSolidBrush(RGB(0x80, 0x80, 0x80));
    ::FillRect(dc, &r, grey);
    ::DeleteObject(grey);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const std::string label = movie.Label();
    RECT top = r, bottom = r;
    top.bottom = (r.top + r.bottom) / 2;
    bottom.top = top.bottom;
    ::DrawTextA(dc, name.c_str(), -1, &top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::DrawTextA(dc, label.c_str(), -1, &bottom, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
  }
};

std::set<TPane*>& Panes() {
  static std::set<TPane*> panes;
  return panes;
}

TPane* Find(HSWFPANE h) {
  auto* p = static_cast<TPane*>(h);
  return Panes().count(p) ? p : nullptr;
}

LRESULT CALLBACK PaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* p = reinterpret_cast<TPane*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  if (!p) return ::DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_TIMER:
      if (wp == kFrameTimer) {
        const bool moved = p->movie.Step();
        if (moved || !p->movie.Running()) p->Update();
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(w, &ps);
      p->Paint(dc);
      ::EndPaint(w, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      p->Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_NCHITTEST:
      if (p->transparent) return HTTRANSPARENT;
      break;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

bool RegisterPaneClass() {
  static bool done = false;
  if (done) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = PaneProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = SWFPANE_CLASS;
  done = ::RegisterClassA(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return done;
}

// The file's first bytes through Win32, so that "C:\..." paths work.
bool ReadStart(const char* path, std::vector<uint8_t>& out) {
  HANDLE f = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  out.assign(kHeaderBytes, 0);
  DWORD got = 0;
  const BOOL ok = ::ReadFile(f, out.data(), kHeaderBytes, &got, nullptr);
  ::CloseHandle(f);
  out.resize(ok ? got : 0);
  return ok != FALSE;
}

std::string BaseName(const char* path) {
  const std::string s = path;
  const size_t slash = s.find_last_of("\\/:");
  return slash == std::string::npos ? s : s.substr(slash + 1);
}

void Destroy(TPane* p) {
  Panes().erase(p);
  if (::IsWindow(p->window)) {
    ::KillTimer(p->window, kFrameTimer);
    ::SetWindowLongPtrA(p->window, GWLP_USERDATA, 0);
    ::DestroyWindow(p->window);
  }
  delete p;
}

// Runs `f` on a known pane; false for an unknown handle or a failure.
template <class F>
BOOL OnPane(HSWFPANE h, F f) {
  try {
    TPane* p = Find(h);
    if (!p) return FALSE;
    f(*p);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

HSWFPANE PANEAPI CreateSwfpane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id) {
  try {
    if (!parent || !RegisterPaneClass()) return nullptr;
    auto p = std::make_unique<TPane>();
    p->window = ::CreateWindowExA(0, SWFPANE_CLASS, "0 / 0", style | WS_CHILD, left, top, std::max(0, right - left),
                                  std::max(0, bottom - top), parent,
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

BOOL PANEAPI DeleteSwfpane(HSWFPANE h) {
  TPane* p = Find(h);
  if (!p) return FALSE;
  Destroy(p);
  return TRUE;
}

BOOL PANEAPI SetSwfpaneTransparency(HSWFPANE h, BOOL on) {
  return OnPane(h, [on](TPane& p) { p.transparent = on != FALSE; });
}

BOOL PANEAPI OpenFlashMovie(HSWFPANE h, const char* path) {
  bool read = false;
  const BOOL known = OnPane(h, [&](TPane& p) {
    std::vector<uint8_t> start;
    read = path && ReadStart(path, start);
    p.name = path ? BaseName(path) : std::string();
    if (read) {
      p.movie.Open(start.data(), start.size());
    } else {
      p.movie.Close();
    }
    p.Update();
  });
  return known && read;
}

BOOL PANEAPI SetFlashLoop(HSWFPANE h, BOOL on) {
  return OnPane(h, [on](TPane& p) { p.movie.SetLoop(on != FALSE); });
}

// Quality and scale mode have no meaning for a pane that draws no movie:
// they are kept, nothing more.
BOOL PANEAPI SetFlashQuality(HSWFPANE h, WORD quality) {
  return OnPane(h, [quality](TPane& p) { p.quality = quality; });
}

BOOL PANEAPI SetFlashScaleMode(HSWFPANE h, WORD mode) {
  return OnPane(h, [mode](TPane& p) { p.scaleMode = mode; });
}

BOOL PANEAPI SetFlashPlayStatus(HSWFPANE h, int status) {
  return OnPane(h, [status](TPane& p) {
    p.movie.SetStatus(status);
    p.Update();
  });
}

BOOL PANEAPI SetFlashMovieCurFrame(HSWFPANE h, int frame) {
  return OnPane(h, [frame](TPane& p) {
    p.movie.SetFrame(frame);
    p.Update();
  });
}

int PANEAPI GetFlashMovieNumFrames(HSWFPANE h) {
  TPane* p = Find(h);
  return p ? p->movie.FrameCount() : 0;
}

int PANEAPI GetFlashMovieCurFrame(HSWFPANE h) {
  TPane* p = Find(h);
  return p ? p->movie.Frame() : 0;
}
