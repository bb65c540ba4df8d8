#include "objects/flashplayer.h"

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "objects/pageinputforward.h"
#include "platform/swfpane/swfpane.h"

namespace {

const char kWindowClass[] = "TslFlashPlayer";
constexpr DWORD kPaneStyle = 0x54000000;  // WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS

class TSwfpaneLibrary : public TFlashLibrary {
public:
  Handle CreateSwfpane(Window p, const TMediaRect& r) override {
    return ::CreateSwfpane(reinterpret_cast<HWND>(p), r.Left, r.Top, r.Right, r.Bottom, kPaneStyle, -1);
  }
  void DeleteSwfpane(Handle h) override { ::DeleteSwfpane(h); }
  void SetSwfpaneTransparency(Handle h, bool on) override { ::SetSwfpaneTransparency(h, on); }
  void OpenFlashMovie(Handle h, const char* path) override { ::OpenFlashMovie(h, path); }
  void SetFlashLoop(Handle h, bool on) override { ::SetFlashLoop(h, on); }
  void SetFlashQuality(Handle h, uint16_t q) override { ::SetFlashQuality(h, q); }
  void SetFlashScaleMode(Handle h, uint16_t m) override { ::SetFlashScaleMode(h, m); }
  void SetFlashPlayStatus(Handle h, int s) override { ::SetFlashPlayStatus(h, s); }
  void SetFlashMovieCurFrame(Handle h, int f) override { ::SetFlashMovieCurFrame(h, f); }
  int GetFlashMovieNumFrames(Handle h) override { return ::GetFlashMovieNumFrames(h); }
  int GetFlashMovieCurFrame(Handle h) override { return ::GetFlashMovieCurFrame(h); }
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

}  // namespace

std::unique_ptr<TFlashLibrary> MakeSwfpaneLibrary() { return std::make_unique<TSwfpaneLibrary>(); }

TFlashPlayer::TFlashPlayer(TObjectWindow* owner, const TObjectInfo& info, TData* data,
                           std::unique_ptr<TFlashLibrary> library)
    : TObjectElement(owner, info, data ? data : new TFlashPlayerData()),
      Library(library ? std::move(library) : MakeSwfpaneLibrary()),
      Movie(std::make_unique<TFlashPlay>(*Library, static_cast<TFlashHost&>(*this))) {
  if (!owner || !owner->HWindow || !RegisterWindowClass()) return;
  TPoint offset;
  GetScrollOffset(offset);
  const TObjectRect& r = Info.Rect;
  Window = ::CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, r.Left - offset.x,
                             r.Top - offset.y, r.Right - r.Left, r.Bottom - r.Top, owner->HWindow, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  if (!Window) return;
  ::SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFlashPlayer::WindowProc));
  CreateMovieWindow();
}

TFlashPlayer::~TFlashPlayer() {
  if (Window) Hide(false, false);
  Movie->Release();
  if (Window) {
    ::SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
    ::DestroyWindow(Window);
    Window = nullptr;
  }
}

const TFlashPlayerData& TFlashPlayer::Record() const {
  const auto* d = dynamic_cast<const TFlashPlayerData*>(Data.get());
  return d ? *d : Fallback;
}

bool TFlashPlayer::IsAudioFile() const { return ::IsAudioFile(Record().FileName.c_str()); }

void TFlashPlayer::CreateMovieWindow() {
  if (Window) Movie->CreateMovieWindow(Record());
}

void TFlashPlayer::SetData(TData* data) {
  TObjectElement::SetData(data);
  CreateMovieWindow();
  if (TBookStruct* book = GetOpenBook()) book->UpdateMediaBars();
}

void TFlashPlayer::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TBookStruct* book = GetOpenBook();
  string resolved = name;
  if (book) book->ResolvePath(resolved);
  if (auto* d = dynamic_cast<TFlashPlayerData*>(Data.get())) d->FileName = resolved;
  CreateMovieWindow();
  if (book) book->UpdateMediaBars();
  if (Info.Property.Flags & kPropMediaStart) {
    MediaControl(kMediaStop, 0);
    MediaControl(kMediaPlay, 0);
  }
}

bool TFlashPlayer::GetFile(int, bool& flag, string& path) {
  flag = Record().Has(kFlashFileFlag);
  path = Record().FileName;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  return true;
}

bool TFlashPlayer::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(text);
  return true;
}

void TFlashPlayer::MediaControl(int command, uint32_t argument) {
  if (!GetOpenBook()) return;
  Movie->Command(command, argument);
}

uint32_t TFlashPlayer::GetMediaLength() { return static_cast<uint32_t>(Movie->Length()); }
uint32_t TFlashPlayer::GetMediaPosition() { return static_cast<uint32_t>(Movie->Position()); }

TMediaRect TFlashPlayer::ClientRect() {
  RECT r{};
  if (Window) ::GetClientRect(Window, &r);
  return TMediaRect{r.left, r.top, r.right, r.bottom};
}

TMediaRect TFlashPlayer::ObjectRect() {
  return TMediaRect{Info.Rect.Left, Info.Rect.Top, Info.Rect.Right, Info.Rect.Bottom};
}

void TFlashPlayer::SetObjectRect(const TMediaRect& r) {
  Info.Rect.Left = r.Left;
  Info.Rect.Top = r.Top;
  Info.Rect.Right = r.Right;
  Info.Rect.Bottom = r.Bottom;
}

LRESULT CALLBACK TFlashPlayer::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* o = reinterpret_cast<TFlashPlayer*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  return o ? o->Message(msg, wp, lp) : ::DefWindowProcA(w, msg, wp, lp);
}

LRESULT TFlashPlayer::Message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      // The movie window covers the object; nothing of its own to draw.
      ::ValidateRect(Window, nullptr);
      return 0;
  }
  LRESULT forwarded = 0;
  if (ForwardInputToPage(*this, Window, msg, wp, lp, forwarded)) return forwarded;
  return ::DefWindowProcA(Window, msg, wp, lp);
}

TObjectElement* CreateFlashPlayer(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TFlashPlayer(owner, info, data);
}

TData* CreateFlashPlayerData() { return new TFlashPlayerData(); }
