#include "platform/qtml/qtml.h"

#include <objbase.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/qtml/core/controllerbar.h"
#include "platform/qtml/movielayer.h"

namespace qtml {

struct PortRecord {
  HWND window = nullptr;
};

struct MovieRecord {
  std::unique_ptr<TMovieSource> source;
  HWND window = nullptr;  // the port's window when the movie was made
  Rect box;
  ControllerRecord* controller = nullptr;
};

struct ControllerRecord {
  Movie movie = nullptr;
  HWND window = nullptr;
  Rect bar;  // the bar's own strip
  bool attached = true;
  bool visible = true;
  bool editing = true;
  bool keys = true;
  long flags = 0;
  long explicitFlags = 0;
  MCActionFilterWithRefConProc filter = nullptr;
  intptr_t refCon = 0;
  Rect growBox;
  TimeRecord selectionBegin, selectionDuration;
  // What the bar showed last, so idle ticks redraw only on a change.
  long shownTime = -1;
  bool shownRunning = false;
};

namespace {

bool g_comStarted = false;
std::map<HWND, std::unique_ptr<PortRecord>> g_ports;
CGrafPtr g_currentPort = nullptr;
std::map<short, std::string> g_files;
// What the presence test reports as the version of the movie calls.
constexpr long kLayerVersion = 0x07000000;
short g_nextFile = 1;

// A movie without media: what NewMovie makes.
class TEmptyMovie : public TMovieSource {
 public:
  SIZE NaturalSize() const override { return SIZE{0, 0}; }
  long Duration() const override { return 0; }
  long Time() override { return 0; }
  void SetTime(long) override {}
  void Start() override {}
  void Stop() override {}
  bool Running() const override { return false; }
  void Place(const RECT&) override {}
  void Update() override {}
  void Idle() override {}
};

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
TBarRect ToBar(const Rect& r) { return TBarRect{r.left, r.top, r.right, r.bottom}; }
Rect MakeRect(int left, int top, int right, int bottom) {
  Rect r;
  r.left = static_cast<int16_t>(left);
  r.top = static_cast<int16_t>(top);
  r.right = static_cast<int16_t>(right);
  r.bottom = static_cast<int16_t>(bottom);
  return r;
}

int BarHeight(const ControllerRecord* mc) { return mc->bar.bottom - mc->bar.top; }

void InvalidateBar(ControllerRecord* mc) {
  if (!mc->window) return;
  RECT r = ToRECT(mc->bar);
  ::InvalidateRect(mc->window, &r, FALSE);
}

bool Filter(ControllerRecord* mc, short action, void* params) {
  return mc->filter && mc->filter(mc, action, params, mc->refCon);
}

// The bar below the movie, as wide as the movie, while the controller is attached.
void FollowMovie(ControllerRecord* mc) {
  if (!mc->attached || !mc->movie) return;
  const Rect& b = mc->movie->box;
  const int h = BarHeight(mc) > 0 ? BarHeight(mc) : kControllerBarHeight;
  mc->bar = MakeRect(b.left, b.bottom, b.right, b.bottom + h);
}

void PlaceMovie(Movie movie) {
  if (movie->source) movie->source->Place(ToRECT(movie->box));
}

const COLORREF kBarFace = RGB(0xC8, 0xC8, 0xC8);
const COLORREF kBarShadow = RGB(0x60, 0x60, 0x60);
const COLORREF kBarMark = RGB(0x20, 0x20, 0x20);

void FillSolid(HDC dc, int l, int t, int r, int b, COLORREF c) {
  RECT rc{l, t, r, b};
  HBRUSH brush = ::CreateSolidBrush(c);
  ::FillRect(dc, &rc, brush);
  ::DeleteObject(brush);
}

void DrawBar(ControllerRecord* mc, HDC dc) {
  if (!mc->visible || !mc->movie) return;
  const TBarRect bar = ToBar(mc->bar);
  if (bar.Empty()) return;
  const bool running = mc->movie->source && mc->movie->source->Running();
  const long time = GetMovieTime(mc->movie, nullptr);
  const long duration = GetMovieDuration(mc->movie);
  const TControllerBarLayout l = LayoutControllerBar(bar, !(mc->flags & mcFlagSuppressPlayButton),
                                                     !(mc->flags & mcFlagSuppressPositionBar));
  FillSolid(dc, bar.left, bar.top, bar.right, bar.bottom, kBarFace);
  FillSolid(dc, bar.left, bar.top, bar.right, bar.top + 1, kBarShadow);
  if (!l.play.Empty()) {
    const int cx = (l.play.left + l.play.right) / 2, cy = (l.play.top + l.play.bottom) / 2;
    if (running) {
      FillSolid(dc, cx - 4, cy - 4, cx - 1, cy + 4, kBarMark);
      FillSolid(dc, cx + 1, cy - 4, cx + 4, cy + 4, kBarMark);
    } else {
      POINT tri[3] = {{cx - 3, cy - 5}, {cx - 3, cy + 5}, {cx + 4, cy}};
      HBRUSH brush = ::CreateSolidBrush(kBarMark);
      HGDIOBJ oldBrush = ::SelectObject(dc, brush);
      HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
      ::Polygon(dc, tri, 3);
      ::SelectObject(dc, oldPen);
      ::SelectObject(dc, oldBrush);
      ::DeleteObject(brush);
    }
    FillSolid(dc, l.play.right - 1, l.play.top + 2, l.play.right, l.play.bottom - 2, kBarShadow);
  }
  if (!l.track.Empty()) {
    const int cy = (l.track.top + l.track.bottom) / 2;
    FillSolid(dc, l.track.left, cy - 1, l.track.right, cy + 2, kBarShadow);
    const int x = TrackX(l.track, time, duration);
    FillSolid(dc, x - 2, l.track.top + 3, x + 3, l.track.bottom - 2, kBarMark);
  }
  mc->shownTime = time;
  mc->shownRunning = running;
}

void DrawBarNow(ControllerRecord* mc) {
  if (!mc->window) return;
  HDC dc = ::GetDC(mc->window);
  DrawBar(mc, dc);
  ::ReleaseDC(mc->window, dc);
}

// The play rate 1.0, as a 16.16 fixed-point number.
constexpr intptr_t kFixedOne = 0x10000;

void TogglePlay(ControllerRecord* mc) {
  Movie m = mc->movie;
  const bool running = m->source && m->source->Running();
  if (!running && GetMovieDuration(m) > 0 && GetMovieTime(m, nullptr) >= GetMovieDuration(m)) {
    GoToBeginningOfMovie(m);
  }
  MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(running ? 0 : kFixedOne));
}

bool Click(ControllerRecord* mc, const EventRecord* e) {
  POINT p = e->where;
  ::ScreenToClient(mc->window, &p);
  if (mc->visible && ToBar(mc->bar).Contains(p.x, p.y)) {
    const TControllerBarLayout l = LayoutControllerBar(ToBar(mc->bar), !(mc->flags & mcFlagSuppressPlayButton),
                                                       !(mc->flags & mcFlagSuppressPositionBar));
    if (l.play.Contains(p.x, p.y)) {
      TogglePlay(mc);
    } else if (l.track.Contains(p.x, p.y)) {
      TimeRecord t;
      t.value = TimeAtX(l.track, p.x, GetMovieDuration(mc->movie));
      t.scale = kMovieTimeScale;
      MCDoAction(mc, mcActionGoToTime, &t);
    }
    DrawBarNow(mc);
    return true;
  }
  const Rect& b = mc->movie->box;
  if (p.x >= b.left && p.x < b.right && p.y >= b.top && p.y < b.bottom) {
    if (!Filter(mc, mcActionMovieClick, const_cast<EventRecord*>(e))) TogglePlay(mc);
    DrawBarNow(mc);
    return true;
  }
  return false;
}

void IdleTick(ControllerRecord* mc) {
  if (mc->movie->source) mc->movie->source->Idle();
  Filter(mc, mcActionIdle, nullptr);
  const bool running = mc->movie->source && mc->movie->source->Running();
  if (mc->visible && (GetMovieTime(mc->movie, nullptr) != mc->shownTime || running != mc->shownRunning)) {
    DrawBarNow(mc);
  }
}

}  // namespace

OSErr InitializeQTML(long) {
  const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE: already initialised by the caller, but it still counts.
  g_comStarted = SUCCEEDED(hr);
  return noErr;
}

void TerminateQTML() {
  if (g_comStarted) ::CoUninitialize();
  g_comStarted = false;
}

OSErr EnterMovies() { return static_cast<OSErr>(CurrentMovieLayer().Start()); }
void ExitMovies() { CurrentMovieLayer().Stop(); }

OSErr Gestalt(uint32_t selector, long* response) {
  if (selector != gestaltQuickTime || !CurrentMovieLayer().Present()) return paramErr;
  if (response) *response = kLayerVersion;
  return noErr;
}

GrafPtr CreatePortAssociation(HWND window, void*, long) {
  if (!window) return nullptr;
  auto& port = g_ports[window];
  if (!port) port = std::make_unique<PortRecord>();
  port->window = window;
  return port.get();
}

void DestroyPortAssociation(CGrafPtr port) {
  if (!port) return;
  if (g_currentPort == port) g_currentPort = nullptr;
  g_ports.erase(port->window);
}

CGrafPtr GetNativeWindowPort(HWND window) {
  const auto it = g_ports.find(window);
  return it == g_ports.end() ? nullptr : it->second.get();
}

void SetGWorld(CGrafPtr port, void*) { g_currentPort = port; }

void SizeWindow(CGrafPtr port, short width, short height, bool update) {
  if (!port || !::IsWindow(port->window)) return;
  ::SetWindowPos(port->window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (update ? 0 : SWP_NOREDRAW));
}

void WinEventToMacEvent(const MSG* msg, EventRecord* event) {
  event->window = msg->hwnd;
  event->message = msg->message;
  event->wParam = msg->wParam;
  event->lParam = msg->lParam;
  event->when = msg->time;
  event->where = msg->pt;
}

OSErr FSMakeFSSpec(short vRefNum, long dirID, const unsigned char* name, FSSpec* spec) {
  if (!spec || !name) return paramErr;
  spec->vRefNum = vRefNum;
  spec->parID = dirID;
  std::memcpy(spec->name, name, name[0] + 1u);
  std::string path(reinterpret_cast<const char*>(name + 1), name[0]);
  const DWORD attr = ::GetFileAttributesA(path.c_str());
  return attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY) ? fnfErr : noErr;
}

OSErr OpenMovieFile(const FSSpec* spec, short* refNum, signed char) {
  if (!spec || !refNum) return paramErr;
  std::string path(reinterpret_cast<const char*>(spec->name + 1), spec->name[0]);
  const DWORD attr = ::GetFileAttributesA(path.c_str());
  if (path.empty() || attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return fnfErr;
  if (g_files.size() >= 0x7000) return tmfoErr;
  while (g_nextFile <= 0 || g_files.count(g_nextFile)) g_nextFile = g_nextFile <= 0 ? 1 : g_nextFile + 1;
  const short ref = g_nextFile++;
  g_files[ref] = path;
  *refNum = ref;
  return noErr;
}

OSErr NewMovieFromFile(Movie* movie, short refNum, short*, unsigned char*, short, bool* dataRefWasChanged) {
  if (dataRefWasChanged) *dataRefWasChanged = false;
  if (!movie) return paramErr;
  *movie = nullptr;
  const auto file = g_files.find(refNum);
  if (file == g_files.end()) return paramErr;
  const HWND window = g_currentPort ? g_currentPort->window : nullptr;
  long error = 0;
  std::unique_ptr<TMovieSource> source = CurrentMovieLayer().Open(file->second, window, &error);
  if (!source) return invalidMovie;
  auto m = std::make_unique<MovieRecord>();
  m->window = window;
  const SIZE size = source->NaturalSize();
  m->box = MakeRect(0, 0, size.cx, size.cy);
  m->source = std::move(source);
  PlaceMovie(m.get());
  *movie = m.release();
  return noErr;
}

OSErr CloseMovieFile(short refNum) { return g_files.erase(refNum) ? noErr : paramErr; }

Movie NewMovie(long) {
  auto m = std::make_unique<MovieRecord>();
  m->window = g_currentPort ? g_currentPort->window : nullptr;
  m->source = std::make_unique<TEmptyMovie>();
  return m.release();
}

void DisposeMovie(Movie movie) {
  if (movie && movie->controller) movie->controller->movie = nullptr;
  delete movie;
}

void GetMovieBox(Movie movie, Rect* box) {
  if (movie && box) *box = movie->box;
}

void SetMovieBox(Movie movie, const Rect* box) {
  if (!movie || !box) return;
  movie->box = *box;
  PlaceMovie(movie);
  if (movie->controller) {
    FollowMovie(movie->controller);
    if (movie->window) ::InvalidateRect(movie->window, nullptr, FALSE);
  }
}

void OffsetRect(Rect* r, short dh, short dv) {
  if (!r) return;
  r->left = static_cast<int16_t>(r->left + dh);
  r->right = static_cast<int16_t>(r->right + dh);
  r->top = static_cast<int16_t>(r->top + dv);
  r->bottom = static_cast<int16_t>(r->bottom + dv);
}

void UpdateMovie(Movie movie) {
  if (movie && movie->source) movie->source->Update();
}

void StartMovie(Movie movie) {
  if (movie && movie->source) movie->source->Start();
}

void StopMovie(Movie movie) {
  if (movie && movie->source) movie->source->Stop();
}

void GoToBeginningOfMovie(Movie movie) {
  if (movie && movie->source) movie->source->SetTime(0);
}

void GoToEndOfMovie(Movie movie) {
  if (movie && movie->source) movie->source->SetTime(movie->source->Duration());
}

TimeValue GetMovieDuration(Movie movie) { return movie && movie->source ? movie->source->Duration() : 0; }
TimeScale GetMovieTimeScale(Movie movie) { return movie ? kMovieTimeScale : 0; }

TimeValue GetMovieTime(Movie movie, TimeRecord* now) {
  const TimeValue t = movie && movie->source ? movie->source->Time() : 0;
  if (now) {
    now->value = t;
    now->scale = kMovieTimeScale;
  }
  return t;
}

void SetMovieTimeValue(Movie movie, TimeValue time) {
  if (movie && movie->source) movie->source->SetTime(time);
}

// Movies are not put on the clipboard on this platform: editing is off in
// every controller mvpane makes.
OSErr PutMovieOnScrap(Movie movie, long) { return movie ? noErr : paramErr; }

MovieController NewMovieController(Movie movie, const Rect* box, long) {
  if (!movie) return nullptr;
  auto mc = std::make_unique<ControllerRecord>();
  mc->movie = movie;
  mc->window = movie->window;
  if (box) {
    movie->box = *box;
    PlaceMovie(movie);
  }
  FollowMovie(mc.get());
  movie->controller = mc.get();
  if (mc->window) ::SetTimer(mc->window, kControllerIdleTimer, kControllerIdleMs, nullptr);
  return mc.release();
}

void DisposeMovieController(MovieController mc) {
  if (!mc) return;
  if (mc->window && ::IsWindow(mc->window)) {
    ::KillTimer(mc->window, kControllerIdleTimer);
    InvalidateBar(mc);
  }
  if (mc->movie && mc->movie->controller == mc) mc->movie->controller = nullptr;
  delete mc;
}

ComponentResult MCSetActionFilterWithRefCon(MovieController mc, MCActionFilterWithRefConProc filter, intptr_t refCon) {
  if (!mc) return paramErr;
  mc->filter = filter;
  mc->refCon = refCon;
  return noErr;
}

ComponentResult MCDoAction(MovieController mc, short action, void* params) {
  if (!mc || !mc->movie) return paramErr;
  switch (action) {
    case mcActionGetFlags: {
      long* f = static_cast<long*>(params);
      if (!f) return paramErr;
      *f = (*f & mcFlagExplicit) ? mc->explicitFlags : mc->flags;
      return noErr;
    }
    case mcActionSetFlags: {
      const long f = static_cast<long>(reinterpret_cast<intptr_t>(params));
      if (f & mcFlagExplicit) {
        mc->explicitFlags = f & ~mcFlagExplicit;
      } else {
        mc->flags = f;
        InvalidateBar(mc);
      }
      return noErr;
    }
    case mcActionSetKeysEnabled:
      mc->keys = params != nullptr;
      return noErr;
    case mcActionSetGrowBoxBounds:
      if (params) mc->growBox = *static_cast<const Rect*>(params);
      return noErr;
    case mcActionSetSelectionBegin:
      if (params) mc->selectionBegin = *static_cast<const TimeRecord*>(params);
      return noErr;
    case mcActionSetSelectionDuration:
      if (params) mc->selectionDuration = *static_cast<const TimeRecord*>(params);
      return noErr;
    case mcActionPlay:
      if (!Filter(mc, action, params)) {
        if (params) {
          StartMovie(mc->movie);
        } else {
          StopMovie(mc->movie);
        }
      }
      return noErr;
    case mcActionGoToTime:
      if (!Filter(mc, action, params) && params) {
        const TimeRecord* t = static_cast<const TimeRecord*>(params);
        SetMovieTimeValue(mc->movie, static_cast<TimeValue>(t->value));
      }
      return noErr;
    case mcActionIdle:
      IdleTick(mc);
      return noErr;
    case mcActionDraw:
      DrawBarNow(mc);
      return noErr;
    default:
      return badComponentSelector;
  }
}

bool MCIsPlayerEvent(MovieController mc, const EventRecord* event) {
  if (!mc || !event || !mc->movie) return false;
  switch (event->message) {
    case WM_TIMER:
      if (event->wParam != kControllerIdleTimer) return false;
      IdleTick(mc);
      return true;
    case WM_PAINT:
      DrawBarNow(mc);
      return false;
    case WM_ERASEBKGND:
      if (event->wParam) DrawBar(mc, reinterpret_cast<HDC>(event->wParam));
      return false;
    case WM_LBUTTONDOWN:
      return Click(mc, event);
    case WM_KEYDOWN:
    case WM_CHAR:
      // The keyboard only reaches a controller that has keys enabled, and
      // this controller has no key commands.
      return false;
    default:
      return false;
  }
}

ComponentResult MCGetControllerBoundsRect(MovieController mc, Rect* bounds) {
  if (!mc || !mc->movie || !bounds) return paramErr;
  if (!mc->attached) {
    *bounds = mc->bar;
  } else if (!mc->visible) {
    *bounds = mc->movie->box;
  } else {
    const Rect& b = mc->movie->box;
    *bounds = MakeRect(b.left, b.top, b.right, mc->bar.bottom);
  }
  return noErr;
}

ComponentResult MCSetControllerBoundsRect(MovieController mc, const Rect* bounds) {
  if (!mc || !mc->movie || !bounds) return paramErr;
  if (mc->attached) {
    // The movie takes the rectangle above the bar.
    const int h = mc->visible ? (BarHeight(mc) > 0 ? BarHeight(mc) : kControllerBarHeight) : 0;
    mc->movie->box = MakeRect(bounds->left, bounds->top, bounds->right, bounds->bottom - h);
    mc->bar = MakeRect(bounds->left, bounds->bottom - (h ? h : kControllerBarHeight), bounds->right, bounds->bottom);
    PlaceMovie(mc->movie);
  } else {
    mc->bar = *bounds;
  }
  if (mc->window) ::InvalidateRect(mc->window, nullptr, FALSE);
  Filter(mc, mcActionControllerSizeChanged, nullptr);
  return noErr;
}

ComponentResult MCGetVisible(MovieController mc) { return mc && mc->visible ? 1 : 0; }

ComponentResult MCSetVisible(MovieController mc, bool visible) {
  if (!mc) return paramErr;
  if (mc->visible != visible) {
    mc->visible = visible;
    InvalidateBar(mc);
  }
  return noErr;
}

ComponentResult MCIsControllerAttached(MovieController mc) { return mc && mc->attached ? 1 : 0; }

ComponentResult MCSetControllerAttached(MovieController mc, bool attached) {
  if (!mc) return paramErr;
  mc->attached = attached;
  FollowMovie(mc);
  return noErr;
}

ComponentResult MCEnableEditing(MovieController mc, bool enabled) {
  if (!mc) return paramErr;
  mc->editing = enabled;
  return noErr;
}

// Editing is never enabled by mvpane: the edit commands have no movie to
// take from or give to.
Movie MCCut(MovieController) { return nullptr; }
Movie MCCopy(MovieController) { return nullptr; }
ComponentResult MCPaste(MovieController mc, Movie) { return mc ? noErr : paramErr; }
ComponentResult MCClear(MovieController mc) { return mc ? noErr : paramErr; }
ComponentResult MCUndo(MovieController mc) { return mc ? noErr : paramErr; }

}  // namespace qtml
