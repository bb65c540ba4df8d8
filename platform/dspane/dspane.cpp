// Elements over the shared quartz player. Each element has a message-only
// window that takes the graph's events and tells the caller's window about
// the end of the media, so the caller never sees the graph's own message.
#include "platform/dspane/dspane.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/qtml/quartzplayer.h"

namespace {

constexpr UINT kGraphEvent = WM_APP + 1;
const char kEventClass[] = "TslDspaneEvents";

struct TElement {
  HWND events = nullptr;  // message-only, receives the graph's events
  HWND window = nullptr;  // the caller's window: picture owner, end message
  qtml::TQuartzPlayer player;
  bool shown = true;
  bool hasRect = false;
  RECT rect{};
  // Played to the end: a start plays again from the beginning.
  bool atEnd = false;

  ~TElement() {
    player.Close();
    if (events) ::DestroyWindow(events);
  }
  void Place() {
    if (!player.IsOpen()) return;
    RECT r{};
    if (shown) {
      if (hasRect) {
        r = rect;
      } else if (window) {
        ::GetClientRect(window, &r);
      }
    }
    player.PlaceVideo(r);
    // A paused renderer does not draw its frame again at the new place.
    if (shown) player.Repaint();
  }
};

// Ids count up and are never given twice: a stale id finds nothing.
std::map<int, std::unique_ptr<TElement>>& Elements() {
  static std::map<int, std::unique_ptr<TElement>> elements;
  return elements;
}
int g_nextId = 0;

TElement* Find(int id) {
  auto it = Elements().find(id);
  return it == Elements().end() ? nullptr : it->second.get();
}

LRESULT CALLBACK EventProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kGraphEvent) {
    auto* e = reinterpret_cast<TElement*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
    if (e && e->player.TakeEvents()) {
      // Hold still on the last frame; the caller decides to rewind or loop.
      e->player.Pause();
      e->atEnd = true;
      if (e->window) ::PostMessageA(e->window, DSP_END_MESSAGE, 1, 0);
    }
    return 0;
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
  wc.lpfnWndProc = EventProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = kEventClass;
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

void Start(TElement& e) {
  if (e.atEnd) e.player.Seek(0);
  e.atEnd = false;
  e.player.Run();
}

void SeekTo(TElement& e, LONGLONG position) {
  e.atEnd = false;
  e.player.Seek(position);
}

}  // namespace

int PANEAPI DSP_AddEle(HWND window) {
  try {
    if (!EnsureSetup()) return -1;
    auto e = std::make_unique<TElement>();
    e->window = window;
    e->events = ::CreateWindowExA(0, kEventClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!e->events) return -1;
    ::SetWindowLongPtrA(e->events, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(e.get()));
    const int id = g_nextId++;
    Elements()[id] = std::move(e);
    return id;
  } catch (...) {
    return -1;
  }
}

BOOL PANEAPI DSP_DeleteEle(int id) {
  return Elements().erase(id) ? TRUE : FALSE;
}

BOOL PANEAPI DSP_Load(int id, const char* path, HWND window, BOOL showWindow) {
  TElement* e = Find(id);
  if (!e || !path) return FALSE;
  try {
    e->player.Close();
    e->atEnd = false;
    if (window) e->window = window;
    e->shown = showWindow != FALSE;
    const HRESULT hr = e->player.Open(Wide(path).data(), e->window);
    if (!qtml::IsLoadedResult(hr)) return FALSE;
    e->player.NotifyTo(e->events, kGraphEvent);
    e->Place();
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL PANEAPI DSP_GetVideoSize(int id, int* width, int* height) {
  TElement* e = Find(id);
  if (!e || !e->player.IsOpen() || !e->player.HasVideo()) return FALSE;
  const SIZE s = e->player.NaturalSize();
  if (s.cx <= 0 || s.cy <= 0) return FALSE;
  if (width) *width = s.cx;
  if (height) *height = s.cy;
  return TRUE;
}

BOOL PANEAPI DSP_ShowEle(int id, BOOL show) {
  TElement* e = Find(id);
  if (!e) return FALSE;
  e->shown = show != FALSE;
  e->Place();
  return TRUE;
}

BOOL PANEAPI DSP_SetEleRect(int id, const RECT* r) {
  TElement* e = Find(id);
  if (!e || !r) return FALSE;
  e->rect = *r;
  e->hasRect = true;
  e->Place();
  return TRUE;
}

BOOL PANEAPI DSP_StartEle(int id) {
  TElement* e = Find(id);
  if (!e || !e->player.IsOpen()) return FALSE;
  Start(*e);
  return TRUE;
}

BOOL PANEAPI DSP_StopEle(int id) {
  TElement* e = Find(id);
  if (!e || !e->player.IsOpen()) return FALSE;
  e->player.Pause();
  return TRUE;
}

BOOL PANEAPI DSP_PauseEle(int id) { return DSP_StopEle(id); }

BOOL PANEAPI DSP_Seek(int id, double position) {
  TElement* e = Find(id);
  if (!e || !e->player.IsOpen()) return FALSE;
  // A position outside the media (or not a number) is held to its ends.
  const double length = e->player.DurationSeconds();
  if (!(position > 0)) position = 0;
  if (position > length) position = length;
  SeekTo(*e, static_cast<LONGLONG>(position * 1e7 + 0.5));
  return TRUE;
}

BOOL PANEAPI DSP_SeekToBegin(int id) { return DSP_Seek(id, 0.0); }

BOOL PANEAPI DSP_SeekToEnd(int id) {
  TElement* e = Find(id);
  if (!e || !e->player.IsOpen()) return FALSE;
  SeekTo(*e, e->player.Duration());
  return TRUE;
}

double PANEAPI DSP_GetPlayTime(int id) {
  TElement* e = Find(id);
  return e && e->player.IsOpen() ? e->player.DurationSeconds() : 0.0;
}

double PANEAPI DSP_GetCurPos(int id) {
  TElement* e = Find(id);
  return e && e->player.IsOpen() ? e->player.PositionSeconds() : 0.0;
}
