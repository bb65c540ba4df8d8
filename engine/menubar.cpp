#include "engine/menubar.h"

#include "engine/objectmanager.h"
#include "engine/objectwindow.h"

namespace {
// The bar the last page built; nothing else holds it.
HMENU BuiltBar = nullptr;
}  // namespace

void BuildProjectMenuBar(TObjectManager* m) {
  if (!m || !m->PageWindow || !m->PageWindow->HWindow) return;
  HWND frame = ::GetParent(m->PageWindow->HWindow);
  if (!frame) return;
  const HMENU old = ::GetMenu(frame);
  const bool hadMenu = old != nullptr;
  if (hadMenu) ::SetMenu(frame, nullptr);
  // A bar left behind at every page change would keep its menus for the
  // rest of the run; one the frame was given by others stays theirs.
  if (old && old == BuiltBar) {
    ::DestroyMenu(old);
    BuiltBar = nullptr;
  }
  if (m->MenuFlag && m->MenuItems) {
    HMENU bar = ::CreateMenu();
    BuiltBar = bar;
    ::SetMenu(frame, bar);
    int nextId = kFirstMenuCommand;
    int currentTop = -2000, currentGroup = -2000;
    UINT insertAt = 0;
    HMENU popup = nullptr;
    for (int i = 0; i < m->MenuItems->GetItemsInContainer(); ++i) {
      TTSLMenuData* item = (*m->MenuItems)[i];
      if (!item) continue;
      int top = 0, group = 0;
      item->GetPosition(top, group);
      if (top != currentTop) {
        popup = ::CreateMenu();
        ::InsertMenuA(bar, insertAt++, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), item->Text.c_str());
        currentTop = top;
        continue;
      }
      UINT flags = (item->MenuFlags & kMenuSeparator) ? MF_SEPARATOR : MF_STRING;
      if (group != currentGroup) {
        if (item->MenuFlags & kMenuCheckGroup) flags |= MF_CHECKED;
        currentGroup = group;
      }
      ::AppendMenuA(popup, flags, static_cast<UINT_PTR>(nextId), item->Text.c_str());
      item->CommandId = nextId++;
    }
  }
  if (hadMenu || m->MenuFlag) ::DrawMenuBar(frame);
}
