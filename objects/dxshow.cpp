#include "objects/dxshow.h"

#include "engine/bookstruct.h"
#include "engine/core/timedkinds.h"
#include "engine/objectkinds.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "objects/pageinputforward.h"
#include "panes/mvpane/mvpane.h"
#include "platform/dspane/dspane.h"
#include "platform/mppane/mppane.h"

namespace {

const char kWindowClass[] = "TslDXShowObject";
constexpr DWORD kPaneStyle = 0x54000000;  // WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
constexpr uint32_t kEndActionsLifeTime = 600000;

class TPaneLibraries : public TMediaLibraries {
public:
  static HWND W(Window w) { return reinterpret_cast<HWND>(w); }
  static RECT Rc(const TMediaRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
  static TMediaRect Mr(const RECT& r) { return TMediaRect{r.left, r.top, r.right, r.bottom}; }

  Handle CreateMvpane(Window p, const TMediaRect& r) override {
    return ::CreateMvpane(W(p), r.Left, r.Top, r.Right, r.Bottom, kPaneStyle, -1);
  }
  void DeleteMvpane(Handle h) override { ::DeleteMvpane(h); }
  void ShowMvpane(Handle h, bool s) override { ::ShowMvpane(h, s); }
  void SizeMvpane(Handle h, const TMediaRect& r, bool bar) override {
    ::SizeMvpane(h, r.Left, r.Top, r.Right, r.Bottom, bar);
  }
  void SetMvpaneTransparency(Handle h, bool on) override { ::SetMvpaneTransparency(h, on); }
  void OpenQTMovie(Handle h, const char* p) override { ::OpenQTMovie(h, p); }
  void PlayBackQTMovie(Handle h, int mode) override { ::PlayBackQTMovie(h, mode); }
  void SetQTMsgWindow(Handle h, Window w, uint32_t m) override { ::SetQTMsgWindow(h, W(w), m); }
  bool GetQTMovieRect(Handle h, TMediaRect& out) override {
    RECT r{};
    const bool ok = ::GetQTMovieRect(h, &r);
    out = Mr(r);
    return ok;
  }
  int16_t GetQTControllerBarHeight(Handle h) override { return ::GetQTControllerBarHeight(h); }
  int32_t GetQTMovieDuration(Handle h) override { return ::GetQTMovieDuration(h, FALSE); }
  int32_t GetQTMovieCurTimePos(Handle h) override { return ::GetQTMovieCurTimePos(h); }
  void SetQTMovieCurTimePos(Handle h, int32_t t) override { ::SetQTMovieCurTimePos(h, t); }
  void RefreshQTWindow(Handle h) override { ::RefreshQTWindow(h); }

  Handle CreateMppane(Window p, const TMediaRect& r) override {
    return ::CreateMppane(W(p), r.Left, r.Top, r.Right, r.Bottom, kPaneStyle, -1);
  }
  void DeleteMppane(Handle h) override { ::DeleteMppane(h); }
  void ShowMppane(Handle h, bool s) override { ::ShowMppane(h, s); }
  void SetMppaneTransparency(Handle h, bool on) override { ::SetMppaneTransparency(h, on); }
  void SetMPAutoSize(Handle h, bool on) override { ::SetMPAutoSize(h, on); }
  void OpenMPMovie(Handle h, const char* p) override { ::OpenMPMovie(h, p); }
  void SetMPMsgWindow(Handle h, Window w, uint32_t m) override { ::SetMPMsgWindow(h, W(w), m); }
  void ShowMPControllerBar(Handle h, bool s) override { ::ShowMPControllerBar(h, s); }
  TMediaRect MppaneWindowRect(Handle h) override {
    RECT r{};
    if (HWND w = ::GetMppane(h)) ::GetWindowRect(w, &r);
    return Mr(r);
  }
  void PlayBackMPMovie(Handle h, int mode) override { ::PlayBackMPMovie(h, mode); }
  void SetMPMovieCurTimePos(Handle h, double p) override { ::SetMPMovieCurTimePos(h, p); }
  double GetMPMovieDuration(Handle h) override { return ::GetMPMovieDuration(h); }
  double GetMPMovieCurTimePos(Handle h) override { return ::GetMPMovieCurTimePos(h); }
  bool GetMPMovieRect(Handle h, TMediaRect& out) override {
    RECT r{};
    const bool ok = ::GetMPMovieRect(h, &r);
    out = Mr(r);
    return ok;
  }

  int DSP_AddEle(Window w) override { return ::DSP_AddEle(W(w)); }
  void DSP_DeleteEle(int id) override { ::DSP_DeleteEle(id); }
  void DSP_Load(int id, const char* p, Window w, bool show) override { ::DSP_Load(id, p, W(w), show); }
  bool DSP_GetVideoSize(int id, int& w, int& h) override { return ::DSP_GetVideoSize(id, &w, &h) != FALSE; }
  void DSP_ShowEle(int id, bool s) override { ::DSP_ShowEle(id, s); }
  void DSP_SetEleRect(int id, const TMediaRect& r) override {
    const RECT rc = Rc(r);
    ::DSP_SetEleRect(id, &rc);
  }
  void DSP_StartEle(int id) override { ::DSP_StartEle(id); }
  void DSP_StopEle(int id) override { ::DSP_StopEle(id); }
  void DSP_PauseEle(int id) override { ::DSP_PauseEle(id); }
  void DSP_Seek(int id, double p) override { ::DSP_Seek(id, p); }
  void DSP_SeekToBegin(int id) override { ::DSP_SeekToBegin(id); }
  void DSP_SeekToEnd(int id) override { ::DSP_SeekToEnd(id); }
  double DSP_GetPlayTime(int id) override { return ::DSP_GetPlayTime(id); }
  double DSP_GetCurPos(int id) override { return ::DSP_GetCurPos(id); }
};

bool RegisterWindowClass() {
  static bool done = false;
  if (done) return true;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kWindowClass;
  done = ::RegisterClassA(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return done;
}

// Our sound-only picture: a speaker on grey.
void PaintSpeaker(HDC dc, const RECT& r) {
  HBRUSH back = ::CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0));
  ::FillRect(dc, &r, back);
  ::DeleteObject(back);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w < 4 || h < 4) return;
  const POINT cone[6] = {{r.left + w * 2 / 10, r.top + h * 4 / 10}, {r.left + w * 4 / 10, r.top + h * 4 / 10},
                         {r.left + w * 6 / 10, r.top + h * 2 / 10}, {r.left + w * 6 / 10, r.top + h * 8 / 10},
                         {r.left + w * 4 / 10, r.top + h * 6 / 10}, {r.left + w * 2 / 10, r.top + h * 6 / 10}};
  HBRUSH ink = ::CreateSolidBrush(RGB(0x30, 0x30, 0x30));
  HGDIOBJ oldBrush = ::SelectObject(dc, ink);
  HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  ::Polygon(dc, cone, 6);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(ink);
}

}  // namespace

std::unique_ptr<TMediaLibraries> MakePaneLibraries() { return std::make_unique<TPaneLibraries>(); }

TDXShowObject::TDXShowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data,
                             std::unique_ptr<TMediaLibraries> libraries)
    : TObjectElement(owner, info, data ? data : new TDXShowData()),
      Libraries(libraries ? std::move(libraries) : MakePaneLibraries()),
      Play(std::make_unique<TDXShowPlayer>(*Libraries, static_cast<TDXShowHost&>(*this))) {
  if (!owner || !owner->HWindow || !RegisterWindowClass()) return;
  TPoint offset;
  GetScrollOffset(offset);
  const TObjectRect& r = Info.Rect;
  Window = ::CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, r.Left - offset.x,
                             r.Top - offset.y, r.Right - r.Left, r.Bottom - r.Top, owner->HWindow, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  if (!Window) return;
  ::SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TDXShowObject::WindowProc));
  Play->Setup(Record(), KeepsFrame());
}

TDXShowObject::~TDXShowObject() {
  Play->Cleanup();
  if (Window) Hide(false, false);
  Play->Release();
  if (Window) {
    ::SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
    ::DestroyWindow(Window);
    Window = nullptr;
  }
}

const TDXShowData& TDXShowObject::Record() const {
  const auto* d = dynamic_cast<const TDXShowData*>(Data.get());
  return d ? *d : Fallback;
}

bool TDXShowObject::KeepsFrame() const { return (Info.Property.Flags & kPropMayResize) != 0; }

bool TDXShowObject::IsAudioFile() const { return ::IsAudioFile(Record().FileName.c_str()); }

void TDXShowObject::LoadMedia() {
  if (Window) Play->LoadMedia(Record(), KeepsFrame());
}

void TDXShowObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  LoadMedia();
  if (TBookStruct* book = GetOpenBook()) book->UpdateMediaBars();
}

void TDXShowObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TBookStruct* book = GetOpenBook();
  string resolved = name;
  if (book) book->ResolvePath(resolved);
  if (auto* d = dynamic_cast<TDXShowData*>(Data.get())) d->FileName = resolved;
  LoadMedia();
  if (book) book->UpdateMediaBars();
  if (Info.Property.Flags & kPropMediaStart) {
    MediaControl(kMediaStop, 0);
    MediaControl(kMediaPlay, 0);
  }
}

bool TDXShowObject::GetFile(int, bool& flag, string& path) {
  flag = (Record().Flags & kDXShowFileFlag) != 0;
  path = Record().FileName;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  return true;
}

bool TDXShowObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(text);
  return true;
}

void TDXShowObject::Paint(TPaintInfo& paint) {
  TObjectElement::Paint(paint);
  if (IsVisible()) Play->Refresh();
}

void TDXShowObject::MediaControl(int command, uint32_t argument) {
  if (!GetOpenBook()) return;
  Play->Command(command, argument);
}

uint32_t TDXShowObject::GetMediaLength() { return static_cast<uint32_t>(Play->Length()); }
uint32_t TDXShowObject::GetMediaPosition() { return static_cast<uint32_t>(Play->Position()); }

TMediaRect TDXShowObject::ClientRect() {
  RECT r{};
  if (Window) ::GetClientRect(Window, &r);
  return TMediaRect{r.left, r.top, r.right, r.bottom};
}

TMediaRect TDXShowObject::ObjectRect() {
  return TMediaRect{Info.Rect.Left, Info.Rect.Top, Info.Rect.Right, Info.Rect.Bottom};
}

void TDXShowObject::SetObjectRect(const TMediaRect& r) {
  Info.Rect.Left = r.Left;
  Info.Rect.Top = r.Top;
  Info.Rect.Right = r.Right;
  Info.Rect.Bottom = r.Bottom;
}

void TDXShowObject::SizeWindow(int32_t width, int32_t height) {
  if (Window) ::SetWindowPos(Window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TDXShowObject::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* o = reinterpret_cast<TDXShowObject*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  return o ? o->Message(msg, wp, lp) : ::DefWindowProcA(w, msg, wp, lp);
}

LRESULT TDXShowObject::Message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMediaEndMessage: {
      TBookStruct* book = GetOpenBook();
      if (Play->MediaEnded(wp, Record()) && book) {
        if (TSysTimeManager* q = book->GetTimeManager()) {
          TSysTimeManagerMsg m;
          m.Receiver = book;
          m.LifeTime = kEndActionsLifeTime;
          m.Sender = GetNumber();
          m.Kind = kEndOfMediaMsg;
          m.OwnerId = GetNumber();
          q->PostMsg(m);
        }
      }
      return 0;
    }
    case WM_SIZE:
      Play->Resize(Record());
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Window, &ps);
      if (!Record().Has(kDXShowWindowVisible)) {
        RECT r;
        ::GetClientRect(Window, &r);
        PaintSpeaker(dc, r);
      }
      ::EndPaint(Window, &ps);
      return 0;
    }
    case WM_TIMER:
      if (wp == 10000) ::KillTimer(Window, 10000);
      return 0;
  }
  LRESULT forwarded = 0;
  if (ForwardInputToPage(*this, Window, msg, wp, lp, forwarded)) return forwarded;
  return ::DefWindowProcA(Window, msg, wp, lp);
}

TObjectElement* CreateDXShowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TDXShowObject(owner, info, data);
}

TData* CreateDXShowData() { return new TDXShowData(); }

bool IsDXShowAudioObject(const TObjectElement* o) {
  const auto* d = dynamic_cast<const TDXShowObject*>(o);
  return d && d->IsAudioFile();
}
