#include "objects/mcibar.h"

#include <memory>

#include "actions/dispatcher.h"
#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "platform/owl/celarray.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "resources/ids_objects.h"

namespace {

// The two button strips, shared by every bar while one lives.
struct TBarImages {
  std::unique_ptr<TCelArray> Small, Large;
};
int LiveBars = 0;
TBarImages* Images = nullptr;

std::unique_ptr<TCelArray> LoadStrip(int id) {
  const HBITMAP h = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  if (!h) return nullptr;
  return std::make_unique<TCelArray>(std::make_unique<TBitmap>(h, AutoDelete), kMciBarButtonCount);
}

void TakeImages() {
  if (LiveBars++ == 0) {
    Images = new TBarImages;
    Images->Small = LoadStrip(IDB_MCIBAR_SMALL);
    Images->Large = LoadStrip(IDB_MCIBAR_LARGE);
  }
}

void DropImages() {
  if (--LiveBars == 0) {
    delete Images;
    Images = nullptr;
  }
}

const TCelArray* ImagesFor(TMciBarImages set) {
  if (!Images) return nullptr;
  const TCelArray* a = set == TMciBarImages::Small ? Images->Small.get()
                       : set == TMciBarImages::Large ? Images->Large.get()
                                                     : nullptr;
  return a && a->IsValid() ? a : nullptr;
}

TObjectManager* CurrentPage() {
  TBookStruct* book = GetOpenBook();
  return book ? book->ObjectManager.get() : nullptr;
}

}  // namespace

TMCIBar::TMCIBar(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TMCIBarData()) {
  TakeImages();
  if (!EditMode && Owner && Owner->HWindow) {
    Owner->KillTimer(GetNumber());
    Owner->SetTimer(GetNumber(), kTrackInterval);
  }
  SetUp();
  Bar.BackgroundToSave = 0;
}

TMCIBar::~TMCIBar() {
  if (Owner && Owner->HWindow) {
    Owner->KillTimer(GetNumber());
    Owner->KillTimer(TKVR_Scroller::kRepeatTimer);
  }
  Bar.DeleteBuffers();
  DropImages();
}

int TMCIBar::BarHeight() const { return Bar.GetBarRect().Height(); }

void TMCIBar::SetUp() {
  TMCIBarData* d = GetBarData();
  if (!d) return;
  Bar.DeleteBuffers();
  const int32_t maximum = Bar.Maximum;
  Bar.Reset();
  Bar.SetSettings(d->BarSettings);
  Bar.Maximum = maximum;
  Bar.Owner = Owner;
  Bar.Target = this;
  Bar.Shown = d->ShowBar;
  // Always horizontal, whatever the record says.
  Bar.Settings.Vertical = 0;
  Bar.PageByTrackLength = 0;
  Bar.LineStep = 1;
  Bar.PageStep = 1;
  const TRect r = GetStoredRect();
  Bar.Area = r;
  if (!d->ShowBar) {
    Info.Rect.Right = Info.Rect.Left + d->PanelWidth;
    Info.Rect.Bottom = Info.Rect.Top + d->PanelHeight;
    return;
  }
  Bar.Layout();
  TScreenDC screen;
  Bar.CreateBuffers(screen);
  Info.Rect.Bottom = Info.Rect.Top + d->PanelHeight + BarHeight() + kMciBarGap;
}

void TMCIBar::SetData(TData* data) {
  TObjectElement::SetData(data);
  SetUp();
}

void TMCIBar::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  SetUp();
}

void TMCIBar::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  TObjectElement::Paint(paint);
  TMCIBarData* d = GetBarData();
  if (!Visible || !d || !paint.MemDC.GetHDC()) return;
  TRect r = GetStoredRect();
  r.Offset(-paint.OriginX, -paint.OriginY);
  int y = r.top;
  if (d->ShowBar) {
    Bar.BackgroundToSave = 1;
    Bar.Paint(paint.MemDC, TPoint(r.right - Bar.BarRect.Width(), r.top), true, false);
    y += BarHeight() + kMciBarGap;
  }
  const TCelArray* cels = ImagesFor(d->ImageSet());
  if (!cels || !d->HasButtons()) return;
  const bool row = d->Layout() == TMciBarLayout::Row;
  int x = r.left;
  for (int i = 0; i < kMciBarButtonCount; ++i) {
    if (d->ButtonStates[i] < 0) continue;
    const int state = EditMode ? 2 : d->ButtonStates[i];
    const TRect cel = cels->CelRect(i);
    const int w = cel.Width() / 3;
    cels->Draw(paint.MemDC, x, y, TRect(cel.left + state * w, cel.top, cel.left + (state + 1) * w, cel.bottom));
    if (row)
      x += w;
    else
      y += cel.Height();
  }
}

void TMCIBar::LButtonDown(uint32_t modKeys, const TPoint& point) {
  TMCIBarData* d = GetBarData();
  if (EditMode || !d) return;
  const TRect r = GetStoredRect();
  int panelTop = r.top;
  if (d->ShowBar) {
    Bar.OnLButtonDown(modKeys, point);
    panelTop += BarHeight() + kMciBarGap;
    if (point.y < panelTop) return;
  }
  // Measured from the panel, which starts below the bar.
  const int index = d->ButtonAt(point.x - r.left, point.y - panelTop);
  if (index < 0) return;
  PressedIndex = index;
  d->ButtonStates[index] = 1;
  Show(true, true);
}

void TMCIBar::LButtonUp(uint32_t, const TPoint&) {
  TMCIBarData* d = GetBarData();
  if (EditMode || !d) return;
  if (d->ShowBar) Bar.OnLButtonUp();
  const int index = PressedIndex;
  if (index < 0) return;
  PressedIndex = -1;
  if (d->ButtonStates[index] != 1) return;
  d->ButtonStates[index] = 0;
  Show(true, true);
  TBookStruct* book = GetOpenBook();
  if (!book) return;
  TActionStruct action;
  action.Code = static_cast<uint16_t>(kMciBarButtons[index].ActionCode);
  action.Target = static_cast<uint32_t>(d->MediaObjectId);
  action.Owner = GetNumber();
  ExecuteActionCode(book, action, -1);
}

void TMCIBar::LButtonDblClk(uint32_t modKeys, const TPoint& point) {
  const TMCIBarData* d = GetBarData();
  if (d && d->ShowBar && !EditMode) Bar.OnLButtonDown(modKeys, point);
  LButtonDown(modKeys, point);
}

void TMCIBar::MouseMove(uint32_t modKeys, const TPoint& point) { Bar.OnMouseMove(modKeys, point); }

TObjectElement* TMCIBar::FindMediaObject() const {
  const TMCIBarData* d = GetBarData();
  TObjectManager* page = CurrentPage();
  if (!d || d->MediaObjectId == -1 || !page) return nullptr;
  return page->FindObjectById(static_cast<uint32_t>(d->MediaObjectId));
}

void TMCIBar::Timer(uint timerId) {
  const TMCIBarData* d = GetBarData();
  if (EditMode || !d || !d->ShowBar) return;
  if (timerId != GetNumber()) {
    Bar.OnTimer(timerId);
    return;
  }
  TObjectElement* media = FindMediaObject();
  if (!media) return;
  int32_t position = static_cast<int32_t>(media->GetMediaPosition());
  if (position == Bar.Position) return;
  Bar.ClampPosition(position);
  // Part -1: the bar follows the medium, nothing goes back to it.
  Bar.SetPosition(position, TKVR_Scroller::NoPart);
}

void TMCIBar::UpdateMaximum() {
  const TMCIBarData* d = GetBarData();
  if (!d || !d->ShowBar || d->MediaObjectId == -1) return;
  TObjectElement* media = FindMediaObject();
  Bar.Maximum = media ? static_cast<int32_t>(media->GetMediaLength()) : 0;
}

bool TMCIBar::RepaintsThroughPage() { return Bar.Settings.Transparent != 0; }

void TMCIBar::PositionChanged(int part, int32_t, TKVR_Scroller& scroller) {
  if (part == TKVR_Scroller::NoPart) return;
  if (TObjectElement* media = FindMediaObject()) media->MediaControl(kMediaGoTo, static_cast<uint32_t>(scroller.Position));
}

bool TMCIBar::BeforePainting(TPoint& origin) {
  TPoint offset;
  GetScrollOffset(offset);
  const TRect r = GetStoredRect();
  origin = TPoint(r.right - offset.x - Bar.BarRect.Width(), r.top - offset.y);
  return true;
}

void UpdatePageMediaBars(TObjectManager* page) {
  if (!page) return;
  for (int i = 0; i < page->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (page->GetObjectAt(i, o))
      if (auto* bar = dynamic_cast<TMCIBar*>(o)) bar->UpdateMaximum();
  }
}

TObjectElement* CreateMCIBar(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TMCIBar(owner, info, data);
}
TData* CreateMCIBarData() { return new TMCIBarData(); }
