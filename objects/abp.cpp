#include "objects/abp.h"

#include <cstring>

#include "engine/animregistry.h"
#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "foundation/fileutil.h"
#include "imaging/core/gifanim.h"
#include "platform/owl/dc.h"
#include "platform/owl/file.h"

namespace {

void ResolveProjectPath(string& path) {
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
}

bool EndsWithGif(const char* name) {
  const size_t n = std::strlen(name);
  return n >= 4 && ::lstrcmpiA(name + n - 4, ".gif") == 0;
}

}  // namespace

TABPObject::TABPObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TABPData()), Playback(*this, *this) {
  Register();
  LoadAnimation();
}

// The first page is built before the project's clock and its registries
// exist: its objects enter when they are first commanded.
void TABPObject::Register() {
  TAnimationRegistry* r = AnimatedBitmaps();
  if (!r) return;
  for (const TAnimationEntry& e : *r)
    if (e.Object == this) return;
  r->push_back({this, 1});
}

void TABPObject::MediaControl(int command, uint32_t argument) {
  Register();
  Playback.Control(command, argument);
}

TABPObject::~TABPObject() {
  if (TAnimationRegistry* r = AnimatedBitmaps())
    for (auto it = r->begin(); it != r->end(); ++it)
      if (it->Object == this) {
        r->erase(it);
        break;
      }
}

TSysTimeManager* TABPObject::Queue() {
  TBookStruct* book = GetOpenBook();
  return book ? book->GetTimeManager() : nullptr;
}

TTimersFriend* TABPObject::Project() { return GetOpenBook(); }

void TABPObject::LoadAnimation() {
  const TABPData* d = GetABPData();
  if (!d || d->FileName.is_null() || !*d->FileName.c_str() || !FileExists(d->FileName.c_str())) return;
  const char* name = d->FileName.c_str();
  if (EndsWithGif(name)) {
    Animation = std::make_unique<TAnimatedBmpList>();
    TFile file;
    if (file.Open(name)) tsl::LoadGifFrames(file, *Animation);
  } else {
    Animation = std::make_unique<TAnimatedBmpList>(name, (d->Flags & kAbpLoadIntoMemory) != 0);
  }
  Playback.Reset(Animation.get());
}

void TABPObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  if (data) LoadAnimation();
}

void TABPObject::Paint(TPaintInfo& paint) {
  TObjectElement::Paint(paint);
  if (!Visible || !Animation || !paint.MemDC.GetHDC()) return;
  Animation->DrawFrame(paint.MemDC.GetHDC(), Playback.ShownFrame(), int(Info.Rect.Left - paint.OriginX),
                       int(Info.Rect.Top - paint.OriginY));
}

void TABPObject::DrawFrame(int frame) {
  if (!Animation || !Owner || !Owner->HWindow) return;
  TPoint offset;
  GetScrollOffset(offset);
  if (Animation->AnyTransparent()) {
    // What the earlier frame covered comes back from the page.
    TRect r = GetStoredRect();
    r.Offset(-offset.x, -offset.y);
    Owner->InvalidateRect(r, false);
    Owner->UpdateWindow();
    return;
  }
  HDC dc = ::GetDC(Owner->HWindow);
  if (!dc) return;
  Animation->DrawFrame(dc, frame, int(Info.Rect.Left - offset.x), int(Info.Rect.Top - offset.y));
  ::ReleaseDC(Owner->HWindow, dc);
}

void TABPObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TABPData* d = GetABPData();
  if (!d) return;
  string path = name;
  ResolveProjectPath(path);
  d->FileName = path;
  if (Visible && Owner && Owner->HWindow) {
    TPoint offset;
    GetScrollOffset(offset);
    TRect old = GetStoredRect();
    old.Offset(-offset.x, -offset.y);
    Owner->InvalidateRect(old, false);
  }
  if (FileExists(path.c_str())) {
    Playback.Control(kMediaStop, 0);
    LoadAnimation();
    if (Animation) {
      Info.Rect.Right = Info.Rect.Left + Animation->Header.Width;
      Info.Rect.Bottom = Info.Rect.Top + Animation->Header.Height;
    }
  }
  Refresh(false);
  if (Info.Property.Flags & kPropMediaStart) MediaControl(kMediaPlay, 0);
}

bool TABPObject::GetFile(int, bool& flag, string& path) {
  const TABPData* d = GetABPData();
  flag = d && (d->Flags & 0x1000);
  path = d ? d->FileName : string();
  ResolveProjectPath(path);
  return true;
}

bool TABPObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  ResolveProjectPath(text);
  return true;
}

TObjectElement* CreateABPObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TABPObject(owner, info, data);
}

TData* CreateABPData() { return new TABPData(); }
