#include "engine/objectelement.h"

#include <vector>

#include "engine/actionqueue.h"
#include "engine/bookstruct.h"
#include "engine/objectborder.h"
#include "engine/objectfactory.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "foundation/resstring.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/scroller.h"
#include "platform/owl/tooltip.h"
#include "resources/ids_engine.h"

TObjectElement* PressedObject = nullptr;
TObjectElement* FocusedObject = nullptr;
uint8_t EditMode = 0;
uint8_t PageBuilt = 0;

namespace {

// Longest tooltip text handed to the tooltip control.
constexpr size_t kToolTipChars = 80;

TRect ToRect(const TObjectRect& r) { return TRect(r.Left, r.Top, r.Right, r.Bottom); }

}  // namespace

TObjectElement::TObjectElement(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : Owner(owner), Data(data), Info(info), DesignRect(info.Rect) {
  KindName(Info.Target.Kind, KindLabel);
}

TObjectElement::~TObjectElement() { DestroyElement(); }

void TObjectElement::KindName(int kind, string& out) {
  const TObjectKindRow* row = FindKindRow(kind);
  if (!row) {
    out = "Unbekannt";
    return;
  }
  out = LoadResString(row->KindNameId);
}

void TObjectElement::DestroyElement() {
  const HWND h = GetHandle();
  if (h && ::IsWindow(h)) ::SendMessageA(h, WM_DESTROY, 0, 0);
  Picture.reset();
  if (PressedObject == this) PressedObject = nullptr;
  if (FocusedObject == this) FocusedObject = nullptr;
  Data.reset();
}

// ---- virtual operations ----

HWND TObjectElement::GetHandle() { return nullptr; }

const char* TObjectElement::GetKindName() { return KindLabel.c_str(); }

void TObjectElement::SetData(TData* data) {
  if (!data) {
    if (Data) Data->Reset();
    return;
  }
  if (data != Data.get()) Data.reset(data);
}

void TObjectElement::AssignData(TData* data) {
  if (Data) Data->Assign(data);
}

void TObjectElement::Show(bool update, bool force) {
  if (Visible && !force) return;
  TPoint offset;
  GetScrollOffset(offset);
  TRect bordered;
  GetRect(bordered);
  bordered.Offset(-offset.x, -offset.y);
  const HWND h = GetHandle();
  SetVisible(true);
  if (!Owner || !Owner->HWindow) return;
  if (!h) {
    if (RepaintsThroughPage()) {
      Owner->InvalidateRect(bordered, false);
      Owner->UpdateWindow();
      return;
    }
    TClientDC dc(Owner->HWindow);
    TPaintInfo paint(dc, dc);
    paint.Area = GetStoredRect();
    paint.OriginX = offset.x;
    paint.OriginY = offset.y;
    paint.PageRect = TRect(0, 0, 0, 0);
    paint.PaintFlags = 3;
    Paint(paint);
    TPoint old;
    dc.SetViewportOrg(TPoint(-offset.x, -offset.y), &old);
    DrawFocusFrame(dc, true);
    if (Selected) DrawSelectionHandles(dc);
    dc.SetViewportOrg(old);
    return;
  }
  TRect placed = GetStoredRect();
  placed.Offset(-offset.x, -offset.y);
  RECT now;
  ::GetWindowRect(h, &now);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(h), reinterpret_cast<POINT*>(&now), 2);
  if (now.left != placed.left || now.top != placed.top || now.right != placed.right || now.bottom != placed.bottom)
    ::SetWindowPos(h, nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
                   SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  ::ShowWindow(h, SW_SHOW);
  Owner->InvalidateRect(bordered, false);
  ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  if (update) Owner->UpdateWindow();
}

void TObjectElement::Hide(bool erase, bool update) {
  if (!Visible) return;
  const HWND h = GetHandle();
  if (h) ::ShowWindow(h, SW_HIDE);
  TPoint offset;
  GetScrollOffset(offset);
  TRect bordered;
  GetRect(bordered);
  bordered.Offset(-offset.x, -offset.y);
  SetVisible(false);
  if (!Owner || !Owner->HWindow) return;
  Owner->InvalidateRect(bordered, h && erase);
  if (update) Owner->UpdateWindow();
}

void TObjectElement::Refresh(bool erase) {
  if (!Visible) return;
  Hide(erase, true);
  Show(true, false);
}

HBRUSH TObjectElement::GetBackgroundBrush(HDC, HWND, uint) { return nullptr; }
void TObjectElement::LButtonDown(uint32_t, const TPoint&) {}
void TObjectElement::LButtonUp(uint32_t, const TPoint&) {}
void TObjectElement::LButtonDblClk(uint32_t, const TPoint&) {}

void TObjectElement::MouseMove(uint32_t, const TPoint&) {
  if (Owner) Owner->SetCursor(nullptr, IDC_ARROW);
}

void TObjectElement::MouseLeave(uint32_t, const TPoint&) {}
void TObjectElement::KeyDown(uint, uint, uint) {}
bool TObjectElement::SysKeyDown(uint, uint, uint) { return false; }
void TObjectElement::KeyUp(uint, uint, uint) {}
void TObjectElement::Char(uint, uint, uint) {}

void TObjectElement::Paint(TPaintInfo& paint) {
  if (!Visible || !paint.MemDC.GetHDC()) return;
  TDC& dc = paint.MemDC;
  TPoint old;
  dc.SetViewportOrg(TPoint(-paint.OriginX, -paint.OriginY), &old);
  const TProperty& p = Info.Property;
  if (p.BorderStyle != 0) {
    const TRect r = GetStoredRect();
    if (p.Flags & kPropFill) {
      TBrush fill(TColor(p.Colour));
      dc.FillRect(r, fill);
    }
    DrawObjectBorder(dc, r, p.BorderStyle);
  }
  dc.SetViewportOrg(old);
}

void TObjectElement::Timer(uint) {}
void TObjectElement::KillFocus() {}
void TObjectElement::MediaControl(int, uint32_t) {}
uint32_t TObjectElement::GetMediaLength() { return 0; }
uint32_t TObjectElement::GetMediaPosition() { return 0; }
void TObjectElement::AnimationStep(const TSysTimeManagerMsg&) {}

void TObjectElement::SetFileName(string& name) {
  if (!(Info.Property.Flags & kPropFileShows)) return;
  if (name.is_null()) {
    Hide(false, true);
  } else if (PageBuilt || GetHandle()) {
    Show(true, false);
  } else {
    SetVisible(true);  // the page build paints it
  }
}

void TObjectElement::SelectEntry(int32_t entry) { SelectedEntry = entry; }

bool TObjectElement::RunActions(const TActionTrigger& event, bool all) {
  if (EditMode) return false;
  const TSActionStructArrayManager& list = *Info.Property.Actions;
  if (list.IsEmpty()) return false;
  TBookStruct* book = GetOpenBook();
  if (!book || !book->GetTimeManager()) return false;
  // The list is ordered by delay, so the chain is too.
  std::vector<const TActionStruct*> chosen;
  for (int i = 0; i < list.GetItemsInContainer(); ++i) {
    const TActionStruct* a = list[i];
    if (!a || !(a->Flags & kActionEnabled)) continue;
    if (!all && (a->TriggerEvent != event.Message || a->Ext2 != event.Ext2 || a->Ext3 != event.Ext3)) continue;
    chosen.push_back(a);
  }
  if (chosen.empty()) return false;
  // Each entry's successor is the next action this call queues; the last
  // has none.
  QueueActionChain(*book->GetTimeManager(), book, chosen, GetNumber());
  return true;
}

int32_t TObjectElement::GetFileCount() { return 0; }
bool TObjectElement::GetFile(int, bool&, string&) { return false; }
bool TObjectElement::ExchangeText(string&, int32_t&, int32_t&) { return false; }
bool TObjectElement::RepaintsThroughPage() { return false; }
void TObjectElement::SpareOperation() {}

// ---- shared operations ----

bool TObjectElement::GetScrollOffset(TPoint& out) const {
  out = TPoint(0, 0);
  if (!Owner || !Owner->Scroller) return false;
  const TScroller& s = *Owner->Scroller;
  out = TPoint(static_cast<int>(s.XPos * s.XUnit), static_cast<int>(s.YPos * s.YUnit));
  return true;
}

TRect TObjectElement::GetStoredRect() const { return ToRect(Info.Rect); }

void TObjectElement::GetRect(TRect& out) const {
  out = GetStoredRect();
  if (Info.Property.BorderStyle == 0) return;
  const TSize e = BorderExtent(Info.Property.BorderStyle);
  out.left -= e.cx;
  out.top -= e.cy;
  out.right += e.cx;
  out.bottom += e.cy;
}

bool TObjectElement::ContainsPoint(const TPoint& p) const {
  const TObjectRect& r = Info.Rect;
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

bool TObjectElement::IntersectsRect(const TRect& o) const {
  const TObjectRect& r = Info.Rect;
  const bool inside = r.Left >= o.left && r.Top >= o.top && r.Right <= o.right && r.Bottom <= o.bottom;
  const bool overlaps = r.Left < o.right && r.Right > o.left && r.Top < o.bottom && r.Bottom > o.top;
  return inside || overlaps;
}

void TObjectElement::ClientToPage(TPoint& point) const {
  point.x += Info.Rect.Left;
  point.y += Info.Rect.Top;
}

void TObjectElement::SetVisible(bool visible) {
  const uint8_t v = visible ? 1 : 0;
  const bool changed = Visible != v;
  Visible = v;
  if (!changed || !(Info.Property.Flags & kPropToolTip) || Info.Property.ToolTip.Text.is_null()) return;
  if (!Owner || !Owner->HWindow || !Owner->Tooltip || !Owner->Tooltip->HWindow) return;
  const std::string text = Info.Property.ToolTip.Text.str().substr(0, kToolTipChars);
  const HWND h = GetHandle();
  const TToolInfo tool = h ? TToolInfo(Owner->HWindow, h, text.c_str())
                           : TToolInfo(Owner->HWindow, GetStoredRect(), GetNumber(), text.c_str());
  if (visible) {
    Owner->Tooltip->AddTool(tool);
    Owner->Tooltip->NewToolRect(tool);
  } else {
    Owner->Tooltip->DeleteTool(tool);
  }
}

void TObjectElement::DrawFocusFrame(TDC& dc, bool onlyWhenFocused) {
  if (EditMode || !Visible || !(Info.Property.Flags & kPropFocusFrame)) return;
  if (onlyWhenFocused && FocusedObject != this) return;
  // The frame's pixels lie one outside the object's on every side.
  const TRect o = GetStoredRect();
  const TRect r(o.left - 1, o.top - 1, o.right, o.bottom);
  TPen pen(TColor(0xC0C0C0), 1, PS_SOLID);
  dc.SelectObject(pen);
  const int rop = dc.SetROP2(R2_NOT);
  const int bk = dc.SetBkMode(TRANSPARENT);
  const POINT frame[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
  dc.Polyline(frame, 5);
  dc.SetROP2(rop);
  dc.SetBkMode(bk);
  dc.RestorePen();
}
