#include "engine/menubar.h"

#include "engine/objectmanager.h"
#include "engine/objectwindow.h"

void BuildProjectMenuBar(TObjectManager* m) {
  if (!m || !m->PageWindow || !m->PageWindow->HWindow) return;
  HWND frame = ::GetParent(m->PageWindow->HWindow);
  if (!frame) return;
  const bool hadMenu = ::GetMenu(frame) != nullptr;
  // The bars stay with the frame's history: a page replaces, never destroys.
  if (hadMenu) ::SetMenu(frame, nullptr);
  if (m->MenuFlag && m->MenuItems) {
    HMENU bar = ::CreateMenu();
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
