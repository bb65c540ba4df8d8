#include "engine/pageinput.h"

#include "actions/presentation.h"
#include "engine/actionqueue.h"
#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pagepaint.h"
#include "foundation/winutil.h"

TWindowDrag WindowDrag;

namespace {

constexpr uint32_t kOptionDragWindow = 0x80000;

bool Ready(const TObjectManager* m) { return m && m->PageLoaded; }

HWND PageHandle(const TObjectManager* m) { return m && m->PageWindow ? m->PageWindow->HWindow : nullptr; }

// A quit key ends the page's objects and the presentation.
bool HandleQuitKey(TObjectManager* m, uint key) {
  TBookStruct* book = GetOpenBook();
  if (!book || !book->IsQuitKey(key)) return false;
  TObjectManager::EndPageObjects(m);
  QuitPresentation(book);
  return true;
}

void DrawScreenFrame(const TRect& r) {
  TScreenDC dc;
  dc.DrawFocusRect(r);
}

}  // namespace

// ---- PaintDevice ----

TPageInput::PaintDevice::PaintDevice(TObjectManager* m) : Wnd(PageHandle(m)) {
  Init(::GetDC(Wnd));
  TPoint offset;
  if (m) m->GetScrollOffset(offset);
  SetViewportOrg(TPoint(-offset.x, -offset.y), &OldOrigin);
}

TPageInput::PaintDevice::~PaintDevice() {
  SetViewportOrg(OldOrigin);
  RestoreObjects();
  ::ReleaseDC(Wnd, Handle);
  Handle = nullptr;
}

// ---- mouse ----

HWND TPageInput::DragTarget(TObjectManager* m) {
  HWND page = PageHandle(m);
  HWND frame = page ? ::GetParent(page) : nullptr;
  return frame ? frame : page;
}

bool TPageInput::MayDragWindow(TObjectManager* m, const TObjectElement* hit) {
  if (hit && !ObjectKindHas(hit->GetKind(), kDragsWindow)) return false;
  return (TPagePainter::OptionsInForce(m).Flags & kOptionDragWindow) != 0;
}

void TPageInput::EvMouseMove(TObjectManager* m, uint32_t modKeys, const TPoint& point) {
  if (!Ready(m)) return;
  if (WindowDrag.Active) {
    RECT frame;
    if (!::GetWindowRect(DragTarget(m), &frame)) return;
    const TPoint offset = WindowDrag.Start - point;
    const TRect next = TRect(frame).OffsetBy(-offset.x, -offset.y);
    DrawScreenFrame(WindowDrag.Last);
    DrawScreenFrame(next);
    WindowDrag.Last = next;
    return;
  }
  TObjectElement* o = nullptr;
  if (m->FindObjectAtPoint(point, o, true)) {
    o->MouseMove(modKeys, point);
    m->LastHovered = o->GetNumber();
  } else if (m->PageWindow) {
    m->PageWindow->SetCursor(nullptr, IDC_ARROW);
  }
}

void TPageInput::EvLButtonDown(TObjectManager* m, uint32_t modKeys, const TPoint& point) {
  if (!Ready(m)) return;
  PressedObject = nullptr;
  TObjectElement* hit = nullptr;
  m->FindObjectAtPoint(point, hit, false);
  if (hit) {
    TObjectElement* old = FocusedObject;
    FocusedObject = PressedObject = hit;
    PaintDevice dc(m);
    if (old) old->DrawFocusFrame(dc, false);
    hit->DrawFocusFrame(dc, false);
  }
  if (MayDragWindow(m, hit)) {
    RECT frame;
    if (::GetWindowRect(DragTarget(m), &frame)) {
      WindowDrag.Active = true;
      WindowDrag.Start = point;
      if (m->PageWindow) m->PageWindow->SetCapture();
      WindowDrag.Last = TRect(frame);
      DrawScreenFrame(WindowDrag.Last);
      return;
    }
  }
  if (hit) {
    hit->LButtonDown(modKeys, point);
    if (!hit->GetHandle() && m->PageWindow) m->PageWindow->SetFocus();
  }
}

void TPageInput::EvLButtonUp(TObjectManager* m, uint32_t modKeys, const TPoint& point) {
  if (!Ready(m)) return;
  if (WindowDrag.Active) {
    HWND target = DragTarget(m);
    RECT frame;
    ::GetWindowRect(target, &frame);
    const TPoint offset = WindowDrag.Start - point;
    const TRect moved = TRect(frame).OffsetBy(-offset.x, -offset.y);
    // The inverted frame goes before the window moves under it.
    DrawScreenFrame(WindowDrag.Last);
    WindowDrag.Last = TRect();
    ::SetWindowPos(target, nullptr, moved.left, moved.top, moved.Width(), moved.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ::ReleaseCapture();
    WindowDrag.Active = false;
    WindowDrag.Start = point;
    return;
  }
  if (PressedObject) PressedObject->LButtonUp(modKeys, point);
}

void TPageInput::EvLButtonDblClk(TObjectManager* m, uint32_t modKeys, const TPoint& point) {
  if (!Ready(m)) return;
  TObjectElement* hit = nullptr;
  if (!m->FindObjectAtPoint(point, hit, false)) return;
  FocusedObject = PressedObject = hit;
  hit->LButtonDblClk(modKeys, point);
}

// ---- keys ----

TObjectElement* TPageInput::NextFocusObject(TObjectManager* m) {
  if (!m) return nullptr;
  const int count = m->KeyList.Count();
  if (count < 2) return nullptr;
  const int step = IsShiftKeyDown() ? -1 : 1;
  int pos = (m->KeyIndex < 0 ? 0 : m->KeyIndex) + step;
  for (int tries = 0; tries < count; ++tries, pos += step) {
    if (pos < 0) pos = count - 1;
    if (pos >= count) pos = 0;
    m->KeyIndex = pos;
    uint32_t number = 0;
    m->KeyList.Get(pos, number);
    TObjectElement* o = m->FindObjectById(number);
    if (!o) return nullptr;
    if (o->IsVisible()) return o;
  }
  return nullptr;
}

void TPageInput::EvKeyDown(TObjectManager* m, uint key, uint repeatCount, uint flags) {
  if (!Ready(m)) return;
  // The editing mode: no quit key ends anything and no key reaches an
  // object; the arrows move the selection's frame.
  if (EditMode) {
    m->EditKeyDown(key);
    return;
  }
  if (HandleQuitKey(m, key)) return;
  if (FocusedObject) FocusedObject->KeyDown(key, repeatCount, flags);
  if (key != VK_TAB) return;
  if (FocusedObject) {
    int at = -1;
    if (m->KeyList.Find(FocusedObject->GetNumber(), at)) m->KeyIndex = at;
  }
  if (m->KeyList.Count() < 2) return;
  TObjectElement* next = NextFocusObject(m);
  TObjectElement* old = FocusedObject;
  PaintDevice dc(m);
  if (old) old->DrawFocusFrame(dc, false);
  if (!next) return;
  if (old && old->GetHandle() && m->PageWindow) m->PageWindow->SetFocus();
  FocusedObject = next;
  next->DrawFocusFrame(dc, false);
  if (HWND h = next->GetHandle()) ::SetFocus(h);
}

void TPageInput::EvSysKeyDown(TObjectManager* m, uint key, uint repeatCount, uint flags) {
  if (!Ready(m) || EditMode) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (m->GetObjectAt(i, o) && o && o->SysKeyDown(key, repeatCount, flags)) {
      FocusedObject = o;
      return;
    }
  }
}

void TPageInput::EvKeyUp(TObjectManager* m, uint key, uint repeatCount, uint flags) {
  if (!Ready(m)) return;
  if (EditMode) {
    m->EditKeyUp();
    return;
  }
  if (FocusedObject) FocusedObject->KeyUp(key, repeatCount, flags);
}

void TPageInput::EvChar(TObjectManager* m, uint key, uint repeatCount, uint flags) {
  if (!Ready(m) || EditMode) return;
  if (HandleQuitKey(m, key)) return;
  if (FocusedObject) FocusedObject->Char(key, repeatCount, flags);
}

void TPageInput::EvTimer(TObjectManager* m, uint timerId) {
  if (!Ready(m)) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (m->GetObjectAt(i, o) && o) o->Timer(timerId);
  }
}

void TPageInput::EvKillFocus(TObjectManager* m) {
  if (!Ready(m)) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (m->GetObjectAt(i, o) && o) o->KillFocus();
  }
}

// ---- menu commands ----

void TPageInput::RunMenuCommand(TObjectManager* m, int commandId) {
  if (!m || !m->MenuItems) return;
  TTSLMenuData* item = nullptr;
  for (int i = 0; i < m->MenuItems->GetItemsInContainer() && !item; ++i) {
    TTSLMenuData* candidate = (*m->MenuItems)[i];
    if (candidate && candidate->CommandId == commandId) item = candidate;
  }
  if (!item) return;
  TBookStruct* book = GetOpenBook();
  if (!(item->MenuFlags & kMenuRunsObject)) {
    // The item's own enabled actions, as one chain owned by the project; no
    // trigger test.
    std::vector<const TActionStruct*> chosen;
    const TSActionStructArrayManager& list = *item->Actions;
    for (int i = 0; i < list.GetItemsInContainer(); ++i)
      if (list[i] && (list[i]->Flags & kActionEnabled)) chosen.push_back(list[i]);
    if (book && book->GetTimeManager() && !chosen.empty())
      QueueActionChain(*book->GetTimeManager(), book, chosen, reinterpret_cast<uintptr_t>(book));
  } else if (TObjectElement* o = m->FindObjectById(item->ObjectNumber)) {
    TActionTrigger click;
    click.Message = WM_LBUTTONUP;
    o->RunActions(click, true);
  }
  if (!(item->MenuFlags & kMenuCheckGroup)) return;
  HWND frame = DragTarget(m);
  HMENU menu = frame ? ::GetMenu(frame) : nullptr;
  int top = 0, group = 0;
  item->GetPosition(top, group);
  for (int i = 0; i < m->MenuItems->GetItemsInContainer(); ++i) {
    TTSLMenuData* other = (*m->MenuItems)[i];
    if (!other || (other->MenuFlags & kMenuSeparator)) continue;
    int t = 0, g = 0;
    other->GetPosition(t, g);
    if (t != top || g != group) continue;
    ::CheckMenuItem(menu, static_cast<UINT>(other->CommandId), other == item ? MF_CHECKED : MF_UNCHECKED);
  }
}

// ---- the pump's routing ----

bool TPageInput::RouteMouseMessage(TObjectManager* m, const MSG& msg) {
  if (msg.message != WM_LBUTTONDOWN && msg.message != WM_LBUTTONUP && msg.message != WM_LBUTTONDBLCLK) return false;
  HWND page = PageHandle(m);
  if (!Ready(m) || !page) return false;
  TPoint point(msg.pt);
  ::ScreenToClient(page, &point);
  TPoint offset;
  m->GetScrollOffset(offset);
  point += offset;

  if (!msg.hwnd || msg.hwnd != ::GetFocus()) return false;
  bool qualifies = msg.hwnd == page;
  for (int i = 0; !qualifies && i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    qualifies = m->GetObjectAt(i, o) && o && o->IsVisible() && o->GetHandle() == msg.hwnd;
  }
  if (!qualifies) return false;

  TActionTrigger event;
  event.Message = static_cast<uint16_t>(msg.message);
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !o || !o->IsVisible() || !o->ContainsPoint(point)) continue;
    if (o->RunActions(event, false)) return true;
  }
  return false;
}
