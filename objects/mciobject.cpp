#include "objects/mciobject.h"

#include <cstring>

#include "actions/core/navcodes.h"
#include "engine/bookstruct.h"
#include "engine/core/timedkinds.h"
#include "engine/objectkinds.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pageinput.h"
#include "engine/paintinfo.h"
#include "objects/mcisender.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "resources/ids_objects.h"

namespace {

constexpr uint32_t kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr uint32_t kQueryReply = 128;
constexpr COLORREF kClosedVideoGrey = 0xC0C0C0;

void ResolveProjectPath(string& path) {
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
}

std::unique_ptr<TBitmap> LoadSymbol(int id) {
  const HBITMAP h = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  return h ? std::make_unique<TBitmap>(h, AutoDelete) : nullptr;
}

// Copies the whole bitmap to the object's top-left corner on the page's DC.
void DrawSymbol(TPaintInfo& paint, const TBitmap& symbol, const TRect& rect) {
  TMemoryDC mem(paint.MemDC);
  mem.SelectObject(symbol);
  paint.MemDC.BitBlt(rect.left - paint.OriginX, rect.top - paint.OriginY, symbol.Width(), symbol.Height(), mem, 0, 0,
                     SRCCOPY);
  mem.RestoreBitmap();
}

// The extension of a file name with its dot; empty without one.
std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  const size_t slash = name.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return {};
  return name.substr(dot);
}

}  // namespace

// ---- the window ----

TMCIWindow::TMCIWindow(TWindow* parent, TMCIObject& object) : TWindow(parent), Object(object) {
  Attr.Style = kMciWindowStyle;
  Attr.Id = static_cast<int>(object.GetNumber());
}

void TMCIWindow::SetupWindow() {
  TWindow::SetupWindow();
  Object.OpenDevice();
}

void TMCIWindow::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  wc.hCursor = nullptr;
  wc.hbrBackground = nullptr;
}

void TMCIWindow::Paint(TDC& dc, bool, TRect& rect) { Object.WindowPaint(dc, rect); }

TResult TMCIWindow::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  switch (msg) {
    case WM_NCHITTEST:
      // Clicks over the video belong to the page beneath.
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case MM_MCINOTIFY:
      return Object.Notify(static_cast<uint32_t>(p1), static_cast<uint32_t>(p2));
    case WM_KEYDOWN:
    case WM_KEYUP: {
      if (!EditMode) TWindow::WindowProc(msg, p1, p2);
      TBookStruct* book = GetOpenBook();
      TObjectManager* page = book ? book->ObjectManager.get() : nullptr;
      const uint key = static_cast<uint>(p1), repeat = LOWORD(p2), flags = HIWORD(p2);
      if (msg == WM_KEYDOWN)
        TPageInput::EvKeyDown(page, key, repeat, flags);
      else
        TPageInput::EvKeyUp(page, key, repeat, flags);
      return 0;
    }
    default:
      return TWindow::WindowProc(msg, p1, p2);
  }
}

// ---- the object ----

TMCIObject::TMCIObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TMCIData()) {
  EnsureMciSender();
}

TMCIObject::~TMCIObject() {
  Device.reset();
  Window.reset();
}

HWND TMCIObject::GetWindow() const { return Window ? Window->HWindow : nullptr; }

void TMCIObject::CreateWindowNow() {
  if (!Owner || !Owner->HWindow) return;
  Window = std::make_unique<TMCIWindow>(Owner, *this);
  const TRect r = PlacedRect();
  Window->Attr.X = r.left;
  Window->Attr.Y = r.top;
  Window->Attr.W = r.Width();
  Window->Attr.H = r.Height();
  if (!Window->Create()) Window.reset();
}

TRect TMCIObject::PlacedRect() const {
  TPoint offset;
  GetScrollOffset(offset);
  TRect r = GetStoredRect();
  r.Offset(-offset.x, -offset.y);
  return r;
}

void TMCIObject::PlaceWindow(bool repaint) { SetWindowRect(PlacedRect(), repaint); }

void TMCIObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  OpenDevice();
}

void TMCIObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  OpenDevice();
}

bool TMCIObject::CreateDevice() {
  Device.reset();
  TMCIData* d = GetMciData();
  if (!d) return false;
  if (d->DeviceKind == kMediaUndecided && !d->FileName.is_null()) {
    int16_t kind;
    if (MediaKindFromExtension(ExtensionOf(d->FileName.str()).c_str(), kind)) d->DeviceKind = kind;
  }
  const uintptr_t w = reinterpret_cast<uintptr_t>(GetWindow());
  switch (d->DeviceKind) {
    case kMediaAnimation: Device = std::make_unique<TMCIAnimation>(w); break;
    case kMediaAvi: Device = std::make_unique<TMCIAviVideo>(w); break;
    case kMediaQuickTime: Device = std::make_unique<TMCIQtwVideo>(w); break;
    case kMediaMpeg: Device = std::make_unique<TMCIMpegVideo>(w); break;
    case kMediaWave: Device = std::make_unique<TMCIWaveAudio>(w); break;
    case kMediaMidi: Device = std::make_unique<TMCISequencer>(w); break;
    default: break;
  }
  return Device != nullptr;
}

void TMCIObject::OpenDevice() {
  TMCIData* d = GetMciData();
  if (d && CreateDevice()) {
    Device->Open(d->FileName.c_str(), (d->Flags & kMciOpenOption) ? 1 : 0);
    Device->SetAudio((d->PlayOptions & kMciSoundOn) ? 1 : 0);
    Device->SetWindowHandle(reinterpret_cast<uintptr_t>(GetWindow()));
  }
  PlaceWindow(false);
}

void TMCIObject::SetWindowRect(const TRect& rect, bool repaint) {
  if (!Window || !Window->HWindow) return;
  Window->SetWindowPos(nullptr, rect, kPlaceFlags | (repaint ? 0 : SWP_NOREDRAW));
  if (Device) {
    const TRect client = Window->GetClientRect();
    Device->Put(client.left, client.top, client.right, client.bottom, kMciDestination);
  }
}

void TMCIObject::MoveWindow(int x, int y, int width, int height, bool repaint) {
  SetWindowRect(TRect(x, y, x + width, y + height), repaint);
}

void TMCIObject::PostEndOfMedia() {
  TBookStruct* book = GetOpenBook();
  TSysTimeManager* m = book ? book->GetTimeManager() : nullptr;
  if (!m) return;
  TSysTimeManagerMsg msg;
  msg.Receiver = book;
  msg.Delay = 0;
  msg.LifeTime = kEndOfMediaLifeTime;
  msg.Sender = GetNumber();
  msg.Kind = kEndOfMediaMsg;
  m->PostMsg(msg);
}

void TMCIObject::MediaControl(int command, uint32_t argument) {
  TMCIData* d = GetMciData();
  const bool play = command == kMediaPlay || command == kMediaResume;
  // Without a device nothing plays; a play action waiting for the end
  // would otherwise hold its chain until the page changes.
  if (!Device || !d) {
    if (play) PostEndOfMedia();
    return;
  }
  switch (command) {
    case kMediaPlay:
    case kMediaResume: {
      // Sound switched off: nothing plays, and whoever waits for the end
      // hears of it at once.
      if (GlobalSoundOff) {
        PostEndOfMedia();
        return;
      }
      const int repeat = (d->PlayOptions & kMciRepeat) ? 1 : 0;
      int ok;
      if (Device->State == kMciPaused) {
        ok = Device->Resume();
      } else if (d->DeviceKind == kMediaCdTracks) {
        ok = Device->PlayTracks(d->Tracks, static_cast<uint8_t>(d->TrackCount), repeat);
      } else {
        ok = Device->Play(-1, -1, repeat, 1);
      }
      if (!ok) PostEndOfMedia();
      break;
    }
    case kMediaStop: Device->Stop(); break;
    case kMediaPause: Device->Pause(); break;
    case kMediaToStart: Device->SeekToStart(); break;
    case kMediaToEnd: Device->SeekToEnd(); break;
    case kMediaEject: Device->ToggleDoor(); break;
    case kMediaGoTo: {
      const std::string& alias = Device->Alias;
      const std::string seek = "seek " + alias + " to " + std::to_string(argument) + " wait";
      if (Device->State == kMciPlaying) {
        Device->SendMciString("stop " + alias);
        Device->SendMciString(seek);
        Device->SendMciString("play " + alias + " notify");
      } else {
        Device->SendMciString(seek);
      }
      break;
    }
    default: break;
  }
}

int TMCIObject::Notify(uint32_t code, uint32_t deviceId) {
  if (!Device) return 0;
  // Every end reaches the waiting play action, except the one after which
  // the device starts again by itself.
  const bool restarts = code == kMciNotifySuccessful && Device->RepeatFlag && !Device->StopRequested;
  if (!restarts) PostEndOfMedia();
  return Device->Notify(code, deviceId);
}

uint32_t TMCIObject::GetMediaLength() {
  if (!Device) return 0;
  MCI_INFO_STRUCT info;
  Device->GetInfo(info);
  return LengthFrom(info);
}

uint32_t TMCIObject::GetMediaPosition() {
  if (!Device || Device->State == kMciClosed) return 0;
  std::string reply;
  if (!Device->SendMciString("status" + Device->Alias + "position" + " wait", &reply, kQueryReply)) return 0;
  const int32_t n = MciNumber(reply);
  return n < 0 ? 0 : static_cast<uint32_t>(n);
}

void TMCIObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TMCIData* d = GetMciData();
  if (!d) return;
  string path = name;
  ResolveProjectPath(path);
  d->FileName = path;
  if (!CreateDevice()) return;
  Device->Open(d->FileName.c_str(), (d->Flags & kMciOpenOption) ? 1 : 0);
  Device->SetAudio((d->PlayOptions & kMciSoundOn) ? 1 : 0);
  Device->SetWindowHandle(reinterpret_cast<uintptr_t>(GetWindow()));
  if (Visible && Owner && Owner->HWindow) Owner->InvalidateRect(PlacedRect(), false);
  if (!(Info.Property.Flags & kPropMediaKeepsSize)) {
    int32_t r[4];
    if (Device->Where(r, kMciSource)) {
      Info.Rect.Right = Info.Rect.Left + (r[2] - r[0]);
      Info.Rect.Bottom = Info.Rect.Top + (r[3] - r[1]);
    }
  }
  PlaceWindow(false);
  if (TBookStruct* book = GetOpenBook()) book->UpdateMediaBars();
  if (Info.Property.Flags & kPropMediaStart) MediaControl(kMediaPlay, 0);
}

bool TMCIObject::GetFile(int, bool& flag, string& path) {
  const TMCIData* d = GetMciData();
  flag = d && (d->Flags & kMciFileFlag);
  path = d ? d->FileName : string();
  ResolveProjectPath(path);
  return true;
}

bool TMCIObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  ResolveProjectPath(text);
  return true;
}

// ---- video ----

TMCIVideoObject::TMCIVideoObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TMCIObject(owner, info, data) {
  CreateWindowNow();
}

uint32_t TMCIVideoObject::LengthFrom(const MCI_INFO_STRUCT& info) {
  Device->SetTimeFormat("frames");
  const int32_t n = MciNumber(info.Strings[4]);
  return n < 0 ? 0 : static_cast<uint32_t>(n);
}

void TMCIVideoObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  if (!Visible) return;
  TObjectElement::Paint(paint);
  if (!(paint.PaintFlags & 0x5) || !Device || !paint.MemDC.GetHDC()) return;
  TPoint old;
  const TRect r = GetStoredRect();
  paint.MemDC.SetViewportOrg(TPoint(r.left - paint.OriginX, r.top - paint.OriginY), &old);
  if (Device->State != kMciClosed) Device->Update(reinterpret_cast<uintptr_t>(paint.MemDC.GetHDC()));
  paint.MemDC.SetViewportOrg(old);
}

void TMCIVideoObject::WindowPaint(TDC& dc, const TRect& rect) {
  if (!Visible || !Device) return;
  if (Device->State == kMciClosed) {
    TBrush grey{TColor(kClosedVideoGrey)};
    dc.FillRect(rect, grey);
  } else {
    Device->Update(reinterpret_cast<uintptr_t>(dc.GetHDC()));
  }
}

// ---- sound ----

TMCISoundObject::TMCISoundObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TMCIObject(owner, info, data) {
  CreateWindowNow();
}

uint32_t TMCISoundObject::LengthFrom(const MCI_INFO_STRUCT& info) {
  const int32_t n = MciNumber(info.Strings[2]);
  return n < 0 ? 0 : static_cast<uint32_t>(n);
}

void TMCISoundObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  TObjectElement::Paint(paint);
  const TMCIData* d = GetMciData();
  if (!d || !(d->Flags & kMciShowSymbol)) return;
  // The symbol follows the device kind, which a new file may change.
  const int id = d->DeviceKind == kMediaWave ? IDB_MCI_WAVE : d->DeviceKind == kMediaMidi ? IDB_MCI_MIDI : 0;
  Symbol = id ? LoadSymbol(id) : nullptr;
  if (Visible && Symbol && paint.MemDC.GetHDC()) DrawSymbol(paint, *Symbol, GetStoredRect());
}

// ---- CD audio ----

TMCICDAudioObject::TMCICDAudioObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TMCIObject(owner, info, data), Symbol(LoadSymbol(IDB_MCI_CD)) {
  CreateWindowNow();
}

bool TMCICDAudioObject::CreateDevice() {
  Device.reset();
  TMCIData* d = GetMciData();
  if (!d) return false;
  if (d->DeviceKind == kMediaUndecided) d->DeviceKind = kMediaCdTracks;
  if (d->DeviceKind == kMediaCdTracks) Device = std::make_unique<TMCICDAudio>(reinterpret_cast<uintptr_t>(GetWindow()));
  return Device != nullptr;
}

uint32_t TMCICDAudioObject::LengthFrom(const MCI_INFO_STRUCT&) {
  Device->SetTimeFormat("tmsf");
  auto* cd = dynamic_cast<TMCICDAudio*>(Device.get());
  const int32_t n = cd ? cd->GetNumberOfTracks() : 0;
  return n < 0 ? 0 : static_cast<uint32_t>(n);
}

void TMCICDAudioObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  TObjectElement::Paint(paint);
  const TMCIData* d = GetMciData();
  if (d && (d->Flags & kMciShowSymbol) && Visible && Symbol && paint.MemDC.GetHDC())
    DrawSymbol(paint, *Symbol, GetStoredRect());
}

// ---- the kinds' creators ----

TObjectElement* CreateMCIObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TMCIObject(owner, info, data);
}
TObjectElement* CreateMCIVideoObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TMCIVideoObject(owner, info, data);
}
TObjectElement* CreateMCISoundObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TMCISoundObject(owner, info, data);
}
TObjectElement* CreateMCICDAudioObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TMCICDAudioObject(owner, info, data);
}
TData* CreateMCIData() { return new TMCIData(); }
