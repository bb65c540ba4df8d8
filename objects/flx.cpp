#include "objects/flx.h"

#include "engine/animregistry.h"
#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "platform/owl/file.h"
#include "imaging/animdraw.h"
#include "platform/owl/dc.h"

namespace {

void ResolveProjectPath(string& path) {
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
}

}  // namespace

TFLXObject::TFLXObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TFLXData()), Playback(*this) {
  Register();
  LoadAnimation();
}

// The first page is built before the project's clock and its registries
// exist: its objects enter when they are first commanded.
void TFLXObject::Register() {
  TAnimationRegistry* r = FrameAnimations();
  if (!r) return;
  for (const TAnimationEntry& e : *r)
    if (e.Object == this) return;
  r->push_back({this, 0});
}

TFLXObject::~TFLXObject() {
  if (TAnimationRegistry* r = FrameAnimations())
    for (auto it = r->begin(); it != r->end(); ++it)
      if (it->Object == this) {
        r->erase(it);
        break;
      }
}

TSysTimeManager* TFLXObject::Queue() {
  TBookStruct* book = GetOpenBook();
  return book ? book->GetTimeManager() : nullptr;
}

TTimersFriend* TFLXObject::Project() { return GetOpenBook(); }

bool TFLXObject::LoadAnimation() {
  Playback.Reader.reset();
  const TFLXData* d = GetFLXData();
  if (!d || d->FileName.is_null() || !*d->FileName.c_str()) return false;
  auto file = std::make_unique<TFile>();
  if (!file->Open(d->FileName.c_str())) return false;
  Playback.Reader = std::make_unique<tsl::TFLX>(std::move(file), (d->Options & kFlxLoadIntoMemory) != 0);
  Playback.Loop = (d->Options & kFlxLoop) != 0;
  return true;
}

void TFLXObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  LoadAnimation();
}

void TFLXObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  LoadAnimation();
}

template <class Fn>
void TFLXObject::OnPage(Fn draw) {
  if (!Owner || !Owner->HWindow) return;
  TPoint offset;
  GetScrollOffset(offset);
  HDC dc = ::GetDC(Owner->HWindow);
  if (!dc) return;
  draw(dc, int(Info.Rect.Left - offset.x), int(Info.Rect.Top - offset.y));
  ::ReleaseDC(Owner->HWindow, dc);
}

void TFLXObject::Paint(TPaintInfo& paint) {
  TObjectElement::Paint(paint);
  if (!Visible || !Playback.Reader || !paint.MemDC.GetHDC()) return;
  TDcCanvas canvas(paint.MemDC.GetHDC());
  Playback.Reader->Draw(canvas, int(Info.Rect.Left - paint.OriginX), int(Info.Rect.Top - paint.OriginY));
}

void TFLXObject::MediaControl(int command, uint32_t) {
  Register();
  OnPage([&](HDC dc, int x, int y) {
    TDcCanvas canvas(dc);
    Playback.MediaCommand(command, canvas, x, y);
  });
}

void TFLXObject::AnimationStep(const TSysTimeManagerMsg& msg) {
  OnPage([&](HDC dc, int x, int y) {
    TDcCanvas canvas(dc);
    Playback.StepMessage(msg, canvas, x, y);
  });
}

void TFLXObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TFLXData* d = GetFLXData();
  if (!d) return;
  string path = name;
  ResolveProjectPath(path);
  d->FileName = path;
  LoadAnimation();
  if (Visible && Owner && Owner->HWindow) {
    TPoint offset;
    GetScrollOffset(offset);
    TRect old = GetStoredRect();
    old.Offset(-offset.x, -offset.y);
    Owner->InvalidateRect(old, false);
  }
  if (Playback.Reader) {
    Info.Rect.Right = Info.Rect.Left + Playback.Reader->Width();
    Info.Rect.Bottom = Info.Rect.Top + Playback.Reader->Height();
    Refresh(false);
  }
  if (Info.Property.Flags & kPropMediaStart) MediaControl(kMediaPlay, 0);
}

bool TFLXObject::GetFile(int, bool& flag, string& path) {
  const TFLXData* d = GetFLXData();
  flag = d && (d->Flags & 0x1000);
  path = d ? d->FileName : string();
  ResolveProjectPath(path);
  return true;
}

bool TFLXObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  ResolveProjectPath(text);
  return true;
}

TObjectElement* CreateFLXObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TFLXObject(owner, info, data);
}

TData* CreateFLXData() { return new TFLXData(); }
