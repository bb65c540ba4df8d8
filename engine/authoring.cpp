// The editing mode's operations of the open project, the page manager, the
// page objects and the page window. The player never switches the mode on
// (EditMode stays 0), so where one of these sits on a presentation path it
// does nothing there.
#include <algorithm>
#include <utility>

#include "engine/bookstruct.h"
#include "engine/core/format/standarddata.h"
#include "engine/editoptions.h"
#include "engine/objectelement.h"
#include "engine/objectfactory.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pagepaint.h"
#include "engine/paintinfo.h"
#include "imaging/dibdraw.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/file.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/scroller.h"
#include "platform/owl/uihandle.h"

namespace {

// Inverts one pixel every `grid` pixels over `size` from `start`; the mix
// mode is R2_NOT meanwhile.
void DrawDotGrid(TDC& dc, const TPoint& start, const TSize& size) {
  const int g = std::max<int32_t>(1, EditOptions().GridWidth);
  const int rop = dc.SetROP2(R2_NOT);
  for (int x = start.x; x < start.x + size.cx; x += g)
    for (int y = start.y; y < start.y + size.cy; y += g) dc.PatBlt(x, y, 1, 1, DSTINVERT);
  dc.SetROP2(rop);
}

bool IsArrowKey(uint key) { return key >= VK_LEFT && key <= VK_DOWN; }

}  // namespace

// ---- the open project ----

void TBookStruct::RemoveCurrentPage() {
  const int count = GetPageCount();
  if (count == 0 || !ObjectManager) return;
  TObjectManager::EndPageObjects(ObjectManager.get());
  if (count >= 2 && CurrentPage >= 0 && CurrentPage < count) {
    const int next = CurrentPage == count - 1 ? CurrentPage - 1 : CurrentPage;
    Pages.Pages.Detach(CurrentPage);
    CurrentPage = -1;
    GotoPage(next, 0, -1, 1);
  } else if (PageWindow && PageWindow->HWindow) {
    ::InvalidateRect(PageWindow->HWindow, nullptr, TRUE);
  }
  ProjectModified = 1;
}

bool TBookStruct::MoveCurrentPage(int32_t index) {
  const int count = GetPageCount();
  if (index < 0 || index >= count || index == CurrentPage || CurrentPage < 0 || CurrentPage >= count) return false;
  std::swap(Pages.Pages[CurrentPage], Pages.Pages[index]);
  CurrentPage = index;
  ProjectModified = 1;
  return true;
}

bool TBookStruct::AnyObjectRepaintsThroughPage() {
  TObjectManager* m = ObjectManager.get();
  if (!m) return false;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (m->GetObjectAt(i, o) && o && o->RepaintsThroughPage()) return true;
  }
  return false;
}

void TBookStruct::ApplyEditVisibility() {
  TObjectManager* m = ObjectManager.get();
  if (!EditMode || !m) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !o) continue;
    const bool windowed = o->GetHandle() != nullptr;
    if (TObjectManager::IsObjectSuppressed(m, o)) {
      if (windowed) o->Hide(true, true);
      o->SetVisible(false);
    } else if (!o->IsVisible()) {
      if (!windowed) {
        o->SetVisible(true);
      } else if (!(o->Info.Property.Flags & kPropEditStaysHidden)) {
        o->Show(true, false);
        o->SetVisible(true);
      }
    }
  }
}

// ---- the page manager ----

void TObjectManager::SetEditMode(TObjectManager* m, uint8_t on) {
  EditMode = on;
  if (m && m->PageWindow && m->PageWindow->HWindow) ::InvalidateRect(m->PageWindow->HWindow, nullptr, TRUE);
}

void TObjectManager::RebuildKeyList() {
  KeyList.Clear();
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (!GetObjectAt(i, o) || !o) continue;
    int at = 0;
    if (HiddenList.Find(o->GetNumber(), at)) continue;
    if (o->Info.Property.Flags & kPropKeyMember) KeyList.Add(o->GetNumber());
  }
}

void TObjectManager::DrawGrid(TDC& dc, const TRect& area) {
  if (!EditMode || !EditOptions().GridOn) return;
  TPoint offset;
  GetScrollOffset(offset);
  DrawDotGrid(dc, offset, TSize(area.Width(), area.Height()));
}

void TObjectManager::SnapToGrid(TPoint& p) const {
  if (!EditOptions().AdjustItems) return;
  const int g = std::max<int32_t>(1, EditOptions().GridWidth);
  auto snap = [g](int c) {
    const int r = ((c % g) + g) % g;
    return r < g / 2 ? c - r : c + (g - r);
  };
  // A multiple of the grid has no remainder; with g 1 every value is one.
  if (g > 1) {
    p.x = snap(p.x);
    p.y = snap(p.y);
  }
}

TBitmap* TObjectManager::MakeScaledBitmap(TDib& dib, const TSize& size) {
  TScreenDC screen;
  auto* bitmap = new TBitmap(screen, size.cx, size.cy);
  TMemoryDC mem(screen);
  mem.SelectObject(*bitmap);
  DrawDibArea(mem, &dib, 0, 0, dib.Width(), dib.Height(), 0, 0, size.cx, size.cy, true, nullptr);
  mem.RestoreObjects();
  return bitmap;
}

void TObjectManager::EditKeyDown(uint key) {
  if (MouseMode != 0) return;
  RECT selection;
  if (!SelectionBounds(selection, 0)) return;
  if (!KeyboardMove && IsArrowKey(key)) {
    KeyboardMove = 1;
    StartRect = selection;
    DragRect = selection;
    TPagePainter::DrawFocusFrame(this, DragRect);
  }
  const int step = EditOptions().ArrowStep;
  switch (key) {
    case VK_LEFT: MoveDragRect(TPoint(-step, 0)); break;
    case VK_RIGHT: MoveDragRect(TPoint(step, 0)); break;
    case VK_UP: MoveDragRect(TPoint(0, -step)); break;
    case VK_DOWN: MoveDragRect(TPoint(0, step)); break;
    default: break;
  }
}

bool TObjectManager::EditKeyUp(TPoint* handed) {
  if (!KeyboardMove) return false;
  TPagePainter::DrawFocusFrame(this, DragRect);
  KeyboardMove = 0;
  if (DragRect.left == StartRect.left && DragRect.top == StartRect.top) return false;
  const TPoint offset(DragRect.left - StartRect.left, DragRect.top - StartRect.top);
  MoveSelection(offset);
  if (handed) *handed = offset;
  return true;
}

void LoadStandardData(TObjectManager*) {
  TKindDefaults& tables = KindDefaults();
  if (tables.Filled) return;
  const TDataCreator creator = [](int16_t kind) { return std::unique_ptr<TData>(CreateKindRecord(kind)); };
  MakeKindDefaults(tables, creator);
  // The data path ends with its separator; none is added.
  const std::string path = std::string(EditOptions().DataPath.c_str()) + kStandardDataFile;
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  TFile f(path.c_str(), TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
  if (!f.IsOpen()) return;
  ReadKindDefaults(f, tables, creator);
}

// ---- page objects ----

void TObjectElement::SetSelected(bool selected) {
  Selected = selected ? 1 : 0;
  if (!EditMode || !Owner || !Owner->HWindow) return;
  TClientDC dc(Owner->HWindow);
  TPoint offset;
  GetScrollOffset(offset);
  dc.SetViewportOrg(TPoint(-offset.x, -offset.y));
  DrawSelectionHandles(dc);
}

void TObjectElement::DrawSelectionHandles(TDC& dc) {
  if (!EditMode || !Visible) return;
  TRect outer;
  GetRect(outer);
  outer = outer | GetStoredRect();
  const TEditOptions& o = EditOptions();
  TUIHandle(outer, static_cast<uint32_t>(o.HandleStyle), TSize(o.HandleThickness, o.HandleThickness)).Paint(dc);
}

void TObjectElement::DrawFrame(TPaintInfo& paint) {
  if (!EditMode || !Visible) return;
  const TRect r = GetStoredRect().OffsetBy(-paint.OriginX, -paint.OriginY);
  TDC& dc = paint.MemDC;
  const int rop = dc.SetROP2(R2_NOT);
  if (!(Info.Property.Flags & kPropNoEditCross)) {
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right, r.bottom);
    dc.MoveTo(r.left, r.bottom);
    dc.LineTo(r.right, r.top);
  }
  dc.SetROP2(rop);
}

bool TObjectElement::MoveTo(const TRect& rect, bool check) {
  const TRect now = GetStoredRect();
  if (check) {
    if ((rect.Width() != now.Width() || rect.Height() != now.Height()) && !(Info.Property.Flags & kPropMayResize))
      return false;
    if ((rect.left != now.left || rect.top != now.top) && !(Info.Property.Flags & kPropMayMove)) return false;
  }
  Hide(false, true);
  Info.Rect.Left = rect.left;
  Info.Rect.Top = rect.top;
  Info.Rect.Right = rect.right;
  Info.Rect.Bottom = rect.bottom;
  Show(true, false);
  return true;
}

// ---- the page window ----

void TObjectWindow::DrawGrid(TDC& dc) {
  if (!EditMode || !EditOptions().GridOn) return;
  const TRect client = GetClientRect();
  DrawDotGrid(dc, GetScrollOffset(), TSize(client.Width(), client.Height()));
}

void TObjectWindow::SetupEditScroller() {
  if (!HWindow) return;
  if (!Scroller) Scroller = new TScroller(this, 1, 1, 0, 0);
  if (EditOptions().Scroller) {
    ShowScrollBar(SB_HORZ, true);
    ShowScrollBar(SB_VERT, true);
    const TRect client = GetClientRect();
    Scroller->XLine = client.Width() / 10;
    Scroller->YLine = client.Height() / 10;
    Scroller->XPage = client.Width();
    Scroller->YPage = client.Height();
    Scroller->SetRange(10000 - client.Width(), 10000 - client.Height());
  } else {
    Scroller->SetRange(0, 0);
    ShowScrollBar(SB_HORZ, false);
    ShowScrollBar(SB_VERT, false);
  }
}
