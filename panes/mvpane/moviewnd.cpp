#include "panes/mvpane/moviewnd.h"

#include <cstring>
#include <new>
#include <set>

using namespace qtml;

// ---------------------------------------------------------------- CQTMovie

CQTMovie::~CQTMovie() {
  if (open_) CloseMovie();
}

int CQTMovie::OpenMovie(const char* path) {
  if (!path || !*path) return 0;
  CloseMovie();
  // The name is kept length-prefixed in its 256 bytes: a longer path cannot
  // be named and does not open.
  const size_t length = std::strlen(path);
  if (length >= kNameSize - 1) {
    name_[0] = 0;
    MovieChanged();
    return 0;
  }
  std::memcpy(name_, path, length + 1);
  CToPString(name_);
  FSSpec spec;
  FSMakeFSSpec(0, 0, reinterpret_cast<const unsigned char*>(name_), &spec);
  SetGWorld(GetNativeWindowPort(window_), nullptr);
  short file = 0;
  Movie movie = nullptr;
  OSErr err = OpenMovieFile(&spec, &file, fsRdPerm);
  if (err == noErr) {
    err = NewMovieFromFile(&movie, file, nullptr, nullptr, newMovieActive, nullptr);
    CloseMovieFile(file);
  }
  if (err == noErr && movie) {
    movie_ = movie;
    CreateController(movie);
    open_ = true;
    PToCString(name_);
    MovieChanged();
    return 1;
  }
  name_[0] = 0;
  MovieChanged();
  return 0;
}

void CQTMovie::CloseMovie() {
  if (open_) {
    open_ = false;
    if (controller_) DisposeMovieController(controller_);
    if (movie_) DisposeMovie(movie_);
    controller_ = nullptr;
    movie_ = nullptr;
    box_ = Rect{};
  }
  name_[0] = 0;
  MovieChanged();
}

void CQTMovie::NewMovie() {
  CloseMovie();
  SetGWorld(GetNativeWindowPort(window_), nullptr);
  movie_ = qtml::NewMovie(newMovieActive);
  if (!movie_) return;
  std::strcpy(name_, "Untitled");
  CreateController(movie_);
  open_ = true;
  MovieChanged();
}

void CQTMovie::PlayerEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!controller_) return;
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  const DWORD pos = ::GetMessagePos();
  msg.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  EventRecord event;
  WinEventToMacEvent(&msg, &event);
  MCIsPlayerEvent(controller_, &event);
}

void CQTMovie::AttachWindow(HWND window) {
  window_ = window;
  parent_ = ::GetParent(window);
  CreatePortAssociation(window, nullptr, 0);
  MovieChanged();
}

void CQTMovie::DetachWindow() {
  CloseMovie();
  DestroyPortAssociation(GetNativeWindowPort(window_));
}

void CQTMovie::CreateController(Movie movie) {
  GetMovieBox(movie, &box_);
  qtml::OffsetRect(&box_, static_cast<short>(-box_.left), static_cast<short>(-box_.top));
  controller_ = NewMovieController(movie, &box_, mcTopLeftMovie);
  if (!controller_) return;
  MCEnableEditing(controller_, false);
  long flags = 0;
  MCDoAction(controller_, mcActionGetFlags, &flags);
  MCDoAction(controller_, mcActionSetFlags, reinterpret_cast<void*>(static_cast<intptr_t>(flags | mcFlagsUseWindowPalette)));
  MCDoAction(controller_, mcActionSetKeysEnabled, nullptr);
  MCSetActionFilterWithRefCon(controller_, &CQTMovie::ActionFilter, reinterpret_cast<intptr_t>(this));
  Rect none;
  MCDoAction(controller_, mcActionSetGrowBoxBounds, &none);
}

bool CQTMovie::ActionFilter(MovieController mc, short action, void* params, intptr_t refCon) {
  try {
    CQTMovie* self = reinterpret_cast<CQTMovie*>(refCon);
    switch (action) {
      case mcActionMovieClick:
        return true;
      case mcActionControllerSizeChanged: {
        Rect bounds;
        MCGetControllerBoundsRect(mc, &bounds);
        SizeWindow(GetNativeWindowPort(self->window_), bounds.right, bounds.bottom, true);
        return false;
      }
      case mcActionIdle:
      case mcActionPlay:
        if (self->movie_ && GetMovieTime(self->movie_, nullptr) == GetMovieDuration(self->movie_) &&
            ::IsWindow(self->messageWindow_)) {
          const WPARAM stopped = action == mcActionPlay && params == nullptr ? 1 : 0;
          ::PostMessageA(self->messageWindow_, self->message_, stopped, 0);
        }
        return false;
      default:
        return false;
    }
  } catch (...) {
    return false;
  }
}

void CQTMovie::Cut() {
  if (!controller_) return;
  if (Movie m = MCCut(controller_)) {
    PutMovieOnScrap(m, 0);
    DisposeMovie(m);
  }
}

void CQTMovie::Copy() {
  if (!controller_) return;
  if (Movie m = MCCopy(controller_)) {
    PutMovieOnScrap(m, 0);
    DisposeMovie(m);
  }
}

void CQTMovie::Paste() {
  if (controller_) MCPaste(controller_, nullptr);
}

void CQTMovie::Clear() {
  if (controller_) MCClear(controller_);
}

void CQTMovie::Undo() {
  if (controller_) MCUndo(controller_);
}

void CQTMovie::SelectAll() {
  if (!controller_ || !movie_) return;
  TimeRecord begin;
  begin.value = 0;
  begin.scale = GetMovieTimeScale(movie_);
  MCDoAction(controller_, mcActionSetSelectionBegin, &begin);
  TimeRecord length;
  length.value = GetMovieDuration(movie_);
  length.scale = begin.scale;
  MCDoAction(controller_, mcActionSetSelectionDuration, &length);
}

void CQTMovie::CToPString(char* s) {
  const size_t n = std::strlen(s);
  const size_t length = n < 255 ? n : 255;
  std::memmove(s + 1, s, length);
  s[0] = static_cast<char>(length);
}

void CQTMovie::PToCString(char* s) {
  const size_t length = static_cast<unsigned char>(s[0]);
  std::memmove(s, s + 1, length);
  s[length] = 0;
}

RECT CQTMovie::GetScreenBounds() const {
  RECT r{};
  if (window_) ::GetWindowRect(window_, &r);
  return r;
}

// ---------------------------------------------------------------- CMovieWnd

namespace {

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

CMovieWnd::CMovieWnd() : movie_(new (std::nothrow) CQTMovie) {}

CMovieWnd::~CMovieWnd() {
  if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
  delete movie_;
}

bool CMovieWnd::Create(HWND parent, const RECT& r, DWORD style, int id) {
  const HINSTANCE module = ThisModule();
  WNDCLASSA wc{};
  if (!::GetClassInfoA(module, ClassName(), &wc)) {
    wc.lpfnWndProc = &CMovieWnd::WindowProc;
    wc.hInstance = module;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName();
    if (!::RegisterClassA(&wc)) return false;
  }
  return ::CreateWindowExA(0, ClassName(), "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, this) != nullptr;
}

LRESULT CALLBACK CMovieWnd::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<CMovieWnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    ::SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = w;
  }
  auto* self = reinterpret_cast<CMovieWnd*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  if (!self) return ::DefWindowProcA(w, msg, wp, lp);
  const LRESULT result = self->Handle(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(w, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return result;
}

LRESULT CMovieWnd::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND w = window_;
  if (msg != WM_ERASEBKGND && movie_) movie_->PlayerEvent(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE: {
      const LRESULT r = ::DefWindowProcA(w, msg, wp, lp);
      if (r == -1) return -1;
      if (movie_) movie_->AttachWindow(w);
      return r;
    }
    case WM_DESTROY: {
      const LRESULT r = ::DefWindowProcA(w, msg, wp, lp);
      if (movie_) movie_->DetachWindow();
      return r;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(w, &ps);
      if (movie_ && movie_->GetMovie()) {
        UpdateMovie(movie_->GetMovie());
      } else {
        RECT client;
        ::GetClientRect(w, &client);
        HBRUSH grey = ::CreateSolidBrush(mvpane::kEmptyPaneColour);
        ::FillRect(dc, &client, grey);
        ::DeleteObject(grey);
      }
      ::EndPaint(w, &ps);
      return 0;
    }
    case WM_NCHITTEST:
      if (transparent_) return HTTRANSPARENT;
      return ::DefWindowProcA(w, msg, wp, lp);
    case WM_ERASEBKGND: {
      const LRESULT r = ::DefWindowProcA(w, msg, wp, lp);
      if (movie_) movie_->PlayerEvent(w, msg, wp, lp);
      return r;
    }
    default:
      return ::DefWindowProcA(w, msg, wp, lp);
  }
}

// ---------------------------------------------------------------- exports

namespace mvpane {

namespace {

std::set<CMovieWnd*> g_panes;
int g_lastId = 0;

CQTMovie* MovieOf(void* h) {
  CMovieWnd* pane = FindPane(h);
  return pane ? pane->Movie() : nullptr;
}

Rect MakeRect(int left, int top, int right, int bottom) {
  Rect r;
  r.left = static_cast<int16_t>(left);
  r.top = static_cast<int16_t>(top);
  r.right = static_cast<int16_t>(right);
  r.bottom = static_cast<int16_t>(bottom);
  return r;
}

// The bar's height, measured with the controller detached: attached, its
// bounds take in the movie too.
short BarHeight(MovieController mc) {
  const bool attached = MCIsControllerAttached(mc) != 0;
  if (attached) MCSetControllerAttached(mc, false);
  Rect bounds;
  MCGetControllerBoundsRect(mc, &bounds);
  if (attached) MCSetControllerAttached(mc, true);
  return static_cast<short>(bounds.bottom - bounds.top);
}

void* FlagsParam(long flags) { return reinterpret_cast<void*>(static_cast<intptr_t>(flags)); }

}  // namespace

CMovieWnd* FindPane(void* h) {
  const auto it = g_panes.find(static_cast<CMovieWnd*>(h));
  return it == g_panes.end() ? nullptr : *it;
}

LONG InitQT() {
  try {
    InitializeQTML(0);
    return EnterMovies();
  } catch (...) {
    return -1;
  }
}

void ExitQT() {
  try {
    ExitMovies();
    TerminateQTML();
  } catch (...) {
  }
}

BOOL IsQTInstalled() {
  try {
    long version = 0;
    return Gestalt(gestaltQuickTime, &version) == noErr ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

void* CreateMvpane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id) {
  try {
    CMovieWnd* pane = new (std::nothrow) CMovieWnd;
    if (!pane || !pane->Movie()) {
      delete pane;
      return nullptr;
    }
    if (id == -1) id = ++g_lastId;
    // A pane without its window would be used by every later call as if
    // it had one: it is not given out.
    if (!pane->Create(parent, RECT{left, top, right, bottom}, style, id)) {
      delete pane;
      return nullptr;
    }
    g_panes.insert(pane);
    return pane;
  } catch (...) {
    return nullptr;
  }
}

BOOL DeleteMvpane(void* h) {
  try {
    CMovieWnd* pane = FindPane(h);
    if (!pane) return FALSE;
    g_panes.erase(pane);
    if (pane->Window()) ::DestroyWindow(pane->Window());
    delete pane;
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL ShowMvpane(void* h, BOOL show) {
  try {
    CMovieWnd* pane = FindPane(h);
    if (!pane) return FALSE;
    ::ShowWindow(pane->Window(), show ? SW_SHOW : SW_HIDE);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

HWND GetMvpane(void* h) {
  try {
    CMovieWnd* pane = FindPane(h);
    return pane && ::IsWindow(pane->Window()) ? pane->Window() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

BOOL SetMvpaneParent(void* h, HWND parent) {
  try {
    CMovieWnd* pane = FindPane(h);
    if (!pane) return FALSE;
    ::SetParent(pane->Window(), parent);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL SetMvpaneTransparency(void* h, BOOL on) {
  try {
    CMovieWnd* pane = FindPane(h);
    if (!pane) return FALSE;
    pane->SetTransparent(on != FALSE);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL OpenQTMovie(void* h, const char* path) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie) return FALSE;
    return movie->OpenMovie(path) ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

BOOL PlayBackQTMovie(void* h, int mode) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie) return FALSE;
    if (Movie m = movie->GetMovie()) {
      switch (mode) {
        case kPlayStart: StartMovie(m); break;
        case kPlayStop: StopMovie(m); break;
        case kPlayToBeginning: GoToBeginningOfMovie(m); break;
        case kPlayToEnd: GoToEndOfMovie(m); break;
        default: break;
      }
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL GetQTMovieRect(void* h, RECT* out) {
  try {
    if (out) *out = RECT{0, 0, 0, 0};
    CQTMovie* movie = MovieOf(h);
    if (!movie || !out) return FALSE;
    if (movie->GetMovie()) {
      const Rect& box = movie->MovieBox();
      *out = RECT{box.left, box.top, box.right, box.bottom};
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL SetQTMovieRect(void* h, const RECT* r) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !r) return FALSE;
    if (Movie m = movie->GetMovie()) {
      const Rect box = MakeRect(r->left, r->top, r->right, r->bottom);
      SetMovieBox(m, &box);
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

short GetQTControllerBarHeight(void* h) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !movie->GetController()) return 0;
    return BarHeight(movie->GetController());
  } catch (...) {
    return 0;
  }
}

BOOL ShowQTControllerBar(void* h, BOOL show) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie) return FALSE;
    if (MovieController mc = movie->GetController()) {
      MCSetVisible(mc, show != FALSE);
      ::InvalidateRect(movie->Window(), nullptr, TRUE);
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL SetQTControllerRect(void* h, int left, int top, int right, int bottom) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !movie->GetController()) return FALSE;
    const Rect bounds = MakeRect(left, top, right, bottom);
    MCSetControllerBoundsRect(movie->GetController(), &bounds);
    return TRUE;
  } catch (...) {
    return TRUE;
  }
}

BOOL ShowQTControllerButton(void* h, BOOL show, int flags) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !movie->GetController()) return FALSE;
    MovieController mc = movie->GetController();
    const long bits = static_cast<long>(static_cast<uint32_t>(flags));
    long current = mcFlagExplicit;
    MCDoAction(mc, mcActionGetFlags, &current);
    MCDoAction(mc, mcActionSetFlags, FlagsParam(current | bits | mcFlagExplicit));
    current = 0;
    MCDoAction(mc, mcActionGetFlags, &current);
    current = show ? (current & ~bits) : (current | bits);
    MCDoAction(mc, mcActionSetFlags, FlagsParam(current & ~mcFlagExplicit));
    return TRUE;
  } catch (...) {
    return TRUE;
  }
}

LONG GetQTMovieDuration(void* h, BOOL inSeconds) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !movie->GetMovie()) return 0;
    long duration = GetMovieDuration(movie->GetMovie());
    const long scale = GetMovieTimeScale(movie->GetMovie());
    if (inSeconds && scale > 0) duration /= scale;
    return static_cast<LONG>(duration);
  } catch (...) {
    return 0;
  }
}

LONG GetQTMovieCurTimePos(void* h) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !movie->GetMovie()) return 0;
    return static_cast<LONG>(GetMovieTime(movie->GetMovie(), nullptr));
  } catch (...) {
    return 0;
  }
}

BOOL SetQTMovieCurTimePos(void* h, LONG time) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie || !movie->GetMovie()) return FALSE;
    SetMovieTimeValue(movie->GetMovie(), time);
    return TRUE;
  } catch (...) {
    return TRUE;
  }
}

BOOL SetQTMsgWindow(void* h, HWND window, UINT message) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (!movie) return FALSE;
    movie->SetMessageWindow(window, message);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

void RefreshQTWindow(void* h) {
  try {
    CQTMovie* movie = MovieOf(h);
    if (movie && movie->GetMovie()) UpdateMovie(movie->GetMovie());
  } catch (...) {
  }
}

BOOL SizeMvpane(void* h, int left, int top, int right, int bottom, BOOL withBar) {
  try {
    CMovieWnd* pane = FindPane(h);
    if (!pane) return FALSE;
    CQTMovie* movie = pane->Movie();
    MovieController mc = movie->GetController();
    if (!movie->GetMovie() || !mc) {
      ::MoveWindow(pane->Window(), left, top, right - left, bottom - top, FALSE);
      return FALSE;
    }
    short bar = BarHeight(mc);
    if (withBar) {
      if (!MCGetVisible(mc)) MCSetVisible(mc, true);
    } else {
      if (MCGetVisible(mc)) MCSetVisible(mc, false);
      bar = 0;
    }
    ::MoveWindow(pane->Window(), left, top, right - left, bottom - top, TRUE);
    if (withBar) {
      const Rect bounds = MakeRect(left, bottom - bar, right, bottom);
      MCSetControllerBoundsRect(mc, &bounds);
    }
    const Rect box = MakeRect(left, top, right, bottom - bar);
    SetMovieBox(movie->GetMovie(), &box);
    return TRUE;
  } catch (...) {
    return TRUE;
  }
}

}  // namespace mvpane
