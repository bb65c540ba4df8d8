#include "engine/pagepaint.h"

#include <algorithm>

#include "engine/bookstruct.h"
#include "engine/editoptions.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "foundation/sysinfo.h"
#include "platform/owl/dib.h"
#include "platform/owl/module.h"
#include "resources/ids_engine.h"

TRect PaintRect;
uint8_t PaintEnabled = 1;

namespace {

// Above this many pixels a device-compatible bitmap may not be had: a
// 24-bit section is used instead.
constexpr int64_t kCompatiblePixels = 0x180000;

std::unique_ptr<TBitmap> CachedBitmap;

bool IsExcluded(const TObjectElement* o, const TPaintExclusions* exclude) {
  if (!exclude) return false;
  for (const TObjectElement* e : *exclude)
    if (e && e->GetNumber() == o->GetNumber()) return true;
  return false;
}

// The filters both object passes share.
bool Paints(TObjectManager* m, TObjectElement* o, const TPaintInfo& info, const TPaintExclusions* exclude) {
  if (TObjectManager::IsObjectSuppressed(m, o)) return false;
  if ((info.PaintFlags & 0x1) && !o->IntersectsRect(info.Area)) return false;
  return !IsExcluded(o, exclude);
}

std::unique_ptr<TBitmap> MakeBitmap(const TDC& dest, int w, int h) {
  std::unique_ptr<TBitmap> b;
  if (static_cast<int64_t>(w) * h < kCompatiblePixels)
    b = std::make_unique<TBitmap>(dest, w, h);
  else
    b = std::make_unique<TDiBitmap>(w, h, 16700000u);
  if (!b->IsOK()) b.reset();
  return b;
}

}  // namespace

TBitmap* GetPaintBitmap() { return CachedBitmap.get(); }
void ReleasePaintBitmap() { CachedBitmap.reset(); }

const TBookStructOptions& TPagePainter::OptionsInForce(const TObjectManager* m) {
  static const TBookStructOptions defaults;
  if (m && m->OwnOptions) return m->PageOptions;
  if (TBookStruct* book = GetOpenBook()) return book->Info;
  return m ? m->PageOptions : defaults;
}

TRect TPagePainter::PageRectOf(const TObjectManager* m) {
  const TObjectRect& r = OptionsInForce(m).WindowRect;
  return TRect(r.Left, r.Top, r.Right, r.Bottom);
}

void TPagePainter::PaintArea(TObjectManager* m, TDC& dest, HDRAWDIB drawDib, const TRect& area, const TRect& client,
                             bool forTransparent, TBitmap* ownBitmap, bool toOrigin, const TPaintExclusions* exclude) {
  PaintRect = area;
  if (!m || area.IsEmpty()) return;
  const TRect page = PageRectOf(m);
  int needW = std::max(page.Width(), client.Width());
  int needH = std::max(page.Height(), client.Height());
  // The area itself must fit, whatever the page says.
  needW = std::max(needW, area.Width());
  needH = std::max(needH, area.Height());

  TBitmap* bitmap = ownBitmap;
  if (!bitmap) {
    if (!CachedBitmap) {
      const TInfoStruct& sys = SystemInfo();
      CachedBitmap = MakeBitmap(dest, std::max(needW, static_cast<int>(sys.ScreenWidth)),
                                std::max(needH, static_cast<int>(sys.ScreenHeight)));
    } else if (CachedBitmap->Width() < needW || CachedBitmap->Height() < needH) {
      CachedBitmap.reset();
      CachedBitmap = MakeBitmap(dest, needW, needH);
    }
    bitmap = CachedBitmap.get();
  }
  // A page too large for any bitmap paints nothing rather than failing.
  if (!bitmap) return;

  TMemoryDC mem(dest);
  mem.SelectObject(*bitmap);
  TPaintInfo info(mem, dest);
  info.DrawDib = drawDib;
  info.Area = area;
  info.OriginX = area.left;
  info.OriginY = area.top;
  info.PageRect = page;
  info.PaintFlags = forTransparent ? 7 : 3;

  m->Background.PaintPart(mem, area, TPoint(info.OriginX, info.OriginY), page, drawDib);
  PaintObjects(m, info, exclude);
  if (EditMode && EditOptions().GridOn) {
    TPoint old;
    mem.SetViewportOrg(TPoint(-area.left, -area.top), &old);
    m->DrawGrid(mem, area);
    mem.SetViewportOrg(old);
  }

  const TPoint target = toOrigin ? TPoint(0, 0) : area.TopLeft();
  dest.BitBlt(target.x, target.y, area.Width(), area.Height(), mem, 0, 0, SRCCOPY);
  mem.RestoreObjects();
  PaintOverlays(m, info, exclude);
}

void TPagePainter::PaintObjects(TObjectManager* m, TPaintInfo& info, const TPaintExclusions* exclude) {
  if (!PaintEnabled || !m) return;
  // Later objects cover earlier ones.
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !Paints(m, o, info, exclude)) continue;
    o->Paint(info);
  }
}

void TPagePainter::PaintOverlays(TObjectManager* m, TPaintInfo& info, const TPaintExclusions* exclude) {
  if (!m) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !Paints(m, o, info, exclude)) continue;
    if (o->Selected) o->DrawSelectionHandles(info.DestDC);
    if (o != FocusedObject || !o->IsVisible() || !(o->Info.Property.Flags & kPropFocusFrame)) continue;
    const TRect r = o->GetStoredRect();
    const int l = r.left - 2, t = r.top - 2, rt = r.right + 1, b = r.bottom + 1;
    TDC& dc = info.DestDC;
    TPen pen(TColor(0, 0, 0), 1, PS_SOLID);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    const int rop = dc.SetROP2(R2_NOT);
    const int bk = dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(l, t);
    dc.LineTo(rt, t);
    dc.LineTo(rt, b);
    dc.LineTo(l, b);
    dc.LineTo(l, t);
    dc.SetROP2(rop);
    dc.SetBkMode(bk);
    ::SelectObject(dc, oldPen);
  }
}

void TPagePainter::DrawFocusFrame(TObjectManager* m, const TRect& rect) {
  if (!m || !m->PageWindow || !m->PageWindow->HWindow) return;
  TPoint offset;
  m->GetScrollOffset(offset);
  TClientDC dc(m->PageWindow->HWindow);
  dc.DrawFocusRect(rect.OffsetBy(-offset.x, -offset.y));
}

void TPagePainter::UpdateCursor(TObjectManager* m, const TPoint&) {
  if (m && m->PageWindow) m->PageWindow->SetCursor(nullptr, IDC_ARROW);
}

int TPagePainter::SetSizingCursor(TObjectManager* m, int code) {
  TObjectWindow* w = m ? m->PageWindow : nullptr;
  if (!w) return 0;
  switch (code) {
    case -1:
    case -2:
      w->SetCursor(nullptr, IDC_ARROW);
      return 0;
    case 4: {
      // The page window has no module of its own: the cursor is the program's.
      TModule program(nullptr, ::GetModuleHandleA(nullptr));
      w->SetCursor(w->GetModule() ? w->GetModule() : &program, IDC_PROGRAM_CURSOR);
      return 1;
    }
    case 0:
    case 8:
      w->SetCursor(nullptr, IDC_SIZENWSE);
      return 2;
    case 1:
    case 7:
      w->SetCursor(nullptr, IDC_SIZENS);
      return 2;
    case 2:
    case 6:
      w->SetCursor(nullptr, IDC_SIZENESW);
      return 2;
    case 3:
    case 5:
      w->SetCursor(nullptr, IDC_SIZEWE);
      return 2;
    default:
      return 0;
  }
}
